#include "ui/SongListWidget.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <vector>

#include "app/DuplicateSongs.h"
#include "app/SongDetails.h"
#include "app/SongFiles.h"
#include "app/SongListStatus.h"
#include "app/TransferEstimate.h"
#include "ui/PathText.h"
#include "ui/WindowTexts.h"

namespace {

enum tSongColumn {
    COLUMN_FILE,
    COLUMN_DEVICE_NAME,
    COLUMN_SIZE,
    COLUMN_PACKETS,
    COLUMN_SEND_TIME,
    COLUMN_NOTE,
    COLUMN_COUNT
};

constexpr int kSortRole = Qt::UserRole;

}  // namespace

// A cell sorted by its key: numbers by value, texts as a folder's songs are ordered.
class SortedCell : public QTableWidgetItem {
  public:
    SortedCell() {
        // The row's click toggles the check (ToggleRow); letting the view toggle it as well on
        // a click on the box itself would undo that.
        setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }

    void Show(const QString& Text, const QVariant& SortKey) {
        setText(Text);
        setData(kSortRole, SortKey);
    }

    bool operator<(const QTableWidgetItem& Other) const override {
        const QVariant Mine = data(kSortRole);
        const QVariant Theirs = Other.data(kSortRole);
        if (Mine.typeId() == QMetaType::LongLong && Theirs.typeId() == QMetaType::LongLong) {
            return Mine.toLongLong() < Theirs.toLongLong();
        }
        return SongNameBefore(Mine.toString().toStdString(), Theirs.toString().toStdString());
    }
};

// The first cell of a row: the check, the file name, and the song it stands for.
class SongFileCell : public SortedCell {
  public:
    SongFileCell(const QString& SongPath, const tSongDetails& SongDetails)
        : Path(SongPath), Details(SongDetails) {
        const QString Name = QFileInfo(Path).fileName();
        Show(Name, Name);
        setCheckState(Qt::Checked);
    }

    const QString Path;
    tSongDetails Details;
};

SongListWidget::SongListWidget(QWidget* pParent) : QTableWidget(0, COLUMN_COUNT, pParent) {
    setObjectName("MIDI_SONG_LIST");
    setFont(QFont("Times New Roman", 10));
    setFocusPolicy(Qt::StrongFocus);  // in the Tab order, so the keyboard reaches the rows
    setTabKeyNavigation(false);       // Tab leaves the list for the buttons
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setHorizontalHeaderLabels({WindowTexts::kFileColumn, WindowTexts::kDeviceNameColumn,
                               WindowTexts::kSizeColumn, WindowTexts::kPacketsColumn,
                               WindowTexts::kSendTimeColumn, WindowTexts::kNoteColumn});
    QHeaderView* pHeader = horizontalHeader();
    pHeader->setStretchLastSection(true);
    pHeader->setSectionsClickable(true);
    pHeader->setSortIndicatorShown(true);
    pHeader->setSortIndicator(-1, Qt::AscendingOrder);  // the order the songs were added in
    // Sorted once per click, not kept sorted: new rows still come after the others.
    connect(pHeader, &QHeaderView::sortIndicatorChanged, this, &SongListWidget::SortRows);
    connect(this, &QTableWidget::cellClicked, this, [this](int iRow) { ToggleRow(iRow); });
}

SongFileCell* SongListWidget::SongAt(int iRow) const {
    return static_cast<SongFileCell*>(item(iRow, COLUMN_FILE));
}

void SongListWidget::AddSongs(const QStringList& asPaths, bool bMergeTracks) {
    for (const QString& Path : asPaths) {
        const int iRow = rowCount();
        insertRow(iRow);
        setItem(iRow, COLUMN_FILE,
                new SongFileCell(Path, ReadSongDetails(ToPath(Path), bMergeTracks)));
        for (int iColumn = COLUMN_FILE + 1; iColumn < COLUMN_COUNT; ++iColumn) {
            setItem(iRow, iColumn, new SortedCell);
        }
        for (int iColumn = 0; iColumn < COLUMN_COUNT; ++iColumn) {
            item(iRow, iColumn)->setToolTip(Path);
        }
    }
    ShowRows();
    resizeColumnsToContents();
    emit SongsChanged();
}

void SongListWidget::ShowRows() {
    const std::vector<std::string> Duplicates = DuplicateNotes(ToPaths(SongPaths()));
    for (int iRow = 0; iRow < rowCount(); ++iRow) {
        const tSongDetails& Details = SongAt(iRow)->Details;
        const int64_t SendMs = SongSendMs(Details, Settings);
        const auto Cell = [this, iRow](int iColumn) {
            return static_cast<SortedCell*>(item(iRow, iColumn));
        };
        Cell(COLUMN_DEVICE_NAME)
            ->Show(QString::fromStdString(Details.DeviceName),
                   QString::fromStdString(Details.DeviceName));
        const bool bSent = Details.Converted;
        Cell(COLUMN_SIZE)
            ->Show(bSent ? QString::fromStdString(DescribeBytes(Details.X10Bytes)) : "",
                   qlonglong(Details.X10Bytes));
        Cell(COLUMN_PACKETS)
            ->Show(bSent ? QString::number(Details.Packets) : "", qlonglong(Details.Packets));
        Cell(COLUMN_SEND_TIME)
            ->Show(bSent ? QString::fromStdString(DescribeDuration(SendMs)) : "",
                   qlonglong(SendMs));
        const QString Note = QString::fromStdString(SongNote(Details, Duplicates[size_t(iRow)]));
        Cell(COLUMN_NOTE)->Show(Note, Note);
    }
}

QStringList SongListWidget::SongPaths() const {
    QStringList asPaths;
    for (int iRow = 0; iRow < rowCount(); ++iRow) {
        asPaths << SongAt(iRow)->Path;
    }
    return asPaths;
}

QStringList SongListWidget::CheckedSongPaths() const {
    QStringList asPaths;
    for (int iRow = 0; iRow < rowCount(); ++iRow) {
        if (IsChecked(iRow)) {
            asPaths << SongAt(iRow)->Path;
        }
    }
    return asPaths;
}

bool SongListWidget::IsChecked(int iRow) const {
    return iRow >= 0 && iRow < rowCount() && SongAt(iRow)->checkState() == Qt::Checked;
}

void SongListWidget::Check(int iRow, bool bChecked) {
    if (iRow >= 0 && iRow < rowCount()) {
        SongAt(iRow)->setCheckState(bChecked ? Qt::Checked : Qt::Unchecked);
    }
}

void SongListWidget::SetChecked(int iRow, bool bChecked) {
    Check(iRow, bChecked);
    emit SongsChanged();
}

void SongListWidget::SetAllChecked(bool bChecked) {
    for (int iRow = 0; iRow < rowCount(); ++iRow) {
        Check(iRow, bChecked);
    }
    emit SongsChanged();
}

bool SongListWidget::RemoveCheckedRows() {
    bool bRemoved = false;
    for (int iRow = rowCount() - 1; iRow >= 0; --iRow) {
        if (IsChecked(iRow)) {
            removeRow(iRow);
            bRemoved = true;
        }
    }
    if (bRemoved) {
        ShowRows();
        emit SongsChanged();
    }
    return bRemoved;
}

void SongListWidget::SetTransferSettings(const tTransferSettings& NewSettings) {
    Settings = NewSettings;
    ShowRows();
    emit SongsChanged();
}

void SongListWidget::RereadMultiTrackSongs(bool bMergeTracks) {
    for (int iRow = 0; iRow < rowCount(); ++iRow) {
        SongFileCell* pSong = SongAt(iRow);
        if (pSong->Details.MultiTrack) {
            pSong->Details = ReadSongDetails(ToPath(pSong->Path), bMergeTracks);
        }
    }
    ShowRows();
    emit SongsChanged();
}

QString SongListWidget::StatusText() const {
    std::vector<tListedSong> Rows;
    for (int iRow = 0; iRow < rowCount(); ++iRow) {
        Rows.push_back({&SongAt(iRow)->Details, IsChecked(iRow)});
    }
    return QString::fromStdString(SongListStatus(Rows, Settings));
}

void SongListWidget::SortRows(int iColumn, Qt::SortOrder eOrder) {
    if (iColumn < 0) {
        return;
    }
    sortItems(iColumn, eOrder);
    ShowRows();
    emit SongsChanged();
}

void SongListWidget::ToggleRow(int iRow) {
    SetChecked(iRow, !IsChecked(iRow));
}

void SongListWidget::keyPressEvent(QKeyEvent* pEvent) {
    if (pEvent->key() == Qt::Key_Space && currentRow() >= 0) {
        ToggleRow(currentRow());
        return;
    }
    QTableWidget::keyPressEvent(pEvent);
}

// A drag is welcome, as a copy, when it carries at least one local file or folder; no name
// filter applies. The paths it carries, or none when it is refused.
QStringList SongListWidget::TakeFiles(QDropEvent* pEvent) {
    QStringList asPaths;
    for (const QUrl& Url : pEvent->mimeData()->urls()) {
        if (Url.isLocalFile()) {
            asPaths << QDir::toNativeSeparators(Url.toLocalFile());
        }
    }
    if (asPaths.isEmpty()) {
        pEvent->ignore();
    } else {
        pEvent->setDropAction(Qt::CopyAction);
        pEvent->accept();
    }
    return asPaths;
}

void SongListWidget::dragEnterEvent(QDragEnterEvent* pEvent) {
    TakeFiles(pEvent);
}

void SongListWidget::dragMoveEvent(QDragMoveEvent* pEvent) {
    TakeFiles(pEvent);
}

void SongListWidget::dropEvent(QDropEvent* pEvent) {
    const QStringList asPaths = TakeFiles(pEvent);
    if (!asPaths.isEmpty()) {
        emit FilesDropped(asPaths);
    }
}
