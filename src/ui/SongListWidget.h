#pragma once

#include <QStringList>
#include <QTableWidget>

#include "app/TransferSettings.h"

class QDragEnterEvent;
class QDropEvent;
class SongFileCell;

// The song list, the one record of the songs the user collected: one row a song, its check box
// and file name first, then what the song becomes on the device (its name there, x10 size,
// packets, send time at the current settings, notes); its full path is the row's tooltip. One
// click anywhere on a row toggles its check (the space bar the current row's). Clicking a
// column's header sorts the rows by it; the rows are kept in the order shown, which is the order
// of sending. Local files dragged onto it are taken as a copy; what becomes of them is for the
// window that owns the list to decide.
class SongListWidget : public QTableWidget {
    Q_OBJECT

  public:
    explicit SongListWidget(QWidget* pParent = nullptr);

    // Appends a checked row for each song, read as the merge option says.
    void AddSongs(const QStringList& asPaths, bool bMergeTracks);
    QStringList SongPaths() const;
    QStringList CheckedSongPaths() const;
    bool IsChecked(int iRow) const;
    void SetChecked(int iRow, bool bChecked);
    void SetAllChecked(bool bChecked);
    // Removes the checked rows; false (and nothing changes) when no row is checked.
    bool RemoveCheckedRows();
    // The send times and the status follow these settings.
    void SetTransferSettings(const tTransferSettings& NewSettings);
    // Reads the multi-track songs again, as the merge option now says.
    void RereadMultiTrackSongs(bool bMergeTracks);
    // What the status bar says of the rows as they are.
    QString StatusText() const;

  signals:
    // Files were dropped on the list: their full paths, in the order of the drag.
    void FilesDropped(const QStringList& asPaths);
    // Rows were added, removed, sorted, ticked or unticked, or the settings changed.
    void SongsChanged();

  protected:
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dragMoveEvent(QDragMoveEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

  private slots:
    void ToggleRow(int iRow);
    void SortRows(int iColumn, Qt::SortOrder eOrder);

  private:
    SongFileCell* SongAt(int iRow) const;
    void Check(int iRow, bool bChecked);
    // Writes every row's columns from its details; the notes name other rows by number.
    void ShowRows();
    static QStringList TakeFiles(QDropEvent* pEvent);

    tTransferSettings Settings;
};
