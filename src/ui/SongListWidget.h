#pragma once

#include <QListWidget>
#include <QStringList>

class QDragEnterEvent;
class QDropEvent;

// The song list, the one record of the songs the user collected: each row shows a song's file
// name and keeps its full path and its check. One click anywhere on a row toggles the check
// (the space bar toggles the current row). Local files dragged onto it are taken as a copy; what
// becomes of them is for the window that owns the list to decide.
class SongListWidget : public QListWidget {
    Q_OBJECT

  public:
    explicit SongListWidget(QWidget* pParent = nullptr);

    // Appends a checked row for each song, showing its file name.
    void AddSongs(const QStringList& asPaths);
    QStringList SongPaths() const;
    QStringList CheckedSongPaths() const;
    bool IsChecked(int iRow) const;
    void SetChecked(int iRow, bool bChecked);
    void SetAllChecked(bool bChecked);
    // Removes the checked rows; false (and nothing changes) when no row is checked.
    bool RemoveCheckedRows();

  signals:
    // Files were dropped on the list: their full paths, in the order of the drag.
    void FilesDropped(const QStringList& asPaths);

  protected:
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dragMoveEvent(QDragMoveEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

  private slots:
    void ToggleRow(QListWidgetItem* pItem);

  private:
    static QStringList TakeFiles(QDropEvent* pEvent);
};
