#pragma once

#include <QListWidget>

class QDragEnterEvent;
class QDropEvent;

// The song list: a check box on every row that one click anywhere on the row toggles (the
// space bar toggles the current row), and a drop target whose decisions belong to the window
// that owns it: it is told of every drag that enters and every drop.
class SongListWidget : public QListWidget {
    Q_OBJECT

  public:
    explicit SongListWidget(QWidget* pParent = nullptr);

    // Appends a checked row showing Text.
    void AddCheckedRow(const QString& Text);
    bool IsChecked(int iRow) const;
    void SetChecked(int iRow, bool bChecked);

  signals:
    // Accept the event (as a copy) to let the drop happen; ignore it to refuse.
    void DragEntered(QDragEnterEvent* pEvent);
    void Dropped(QDropEvent* pEvent);

  protected:
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dragMoveEvent(QDragMoveEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

  private slots:
    void ToggleRow(QListWidgetItem* pItem);

  private:
    bool bDragAccepted = false;
};
