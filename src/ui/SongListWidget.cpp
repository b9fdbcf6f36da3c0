#include "ui/SongListWidget.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

SongListWidget::SongListWidget(QWidget* pParent) : QListWidget(pParent) {
    setObjectName("MIDI_SONG_LIST");
    setFont(QFont("Times New Roman", 10));
    setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    connect(this, &QListWidget::itemClicked, this, &SongListWidget::ToggleRow);
}

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

void SongListWidget::AddSongs(const QStringList& asPaths) {
    for (const QString& Path : asPaths) {
        QListWidgetItem* pItem = new QListWidgetItem(QFileInfo(Path).fileName(), this);
        pItem->setData(kPathRole, Path);
        // The row's click toggles the check (ToggleRow); letting the view toggle it as well on
        // a click on the box itself would undo that.
        pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        pItem->setCheckState(Qt::Checked);
    }
}

QStringList SongListWidget::SongPaths() const {
    QStringList asPaths;
    for (int iRow = 0; iRow < count(); ++iRow) {
        asPaths << item(iRow)->data(kPathRole).toString();
    }
    return asPaths;
}

QStringList SongListWidget::CheckedSongPaths() const {
    QStringList asPaths;
    for (int iRow = 0; iRow < count(); ++iRow) {
        if (IsChecked(iRow)) {
            asPaths << item(iRow)->data(kPathRole).toString();
        }
    }
    return asPaths;
}

void SongListWidget::SetAllChecked(bool bChecked) {
    for (int iRow = 0; iRow < count(); ++iRow) {
        SetChecked(iRow, bChecked);
    }
}

bool SongListWidget::RemoveCheckedRows() {
    bool bRemoved = false;
    for (int iRow = count() - 1; iRow >= 0; --iRow) {
        if (IsChecked(iRow)) {
            delete takeItem(iRow);
            bRemoved = true;
        }
    }
    return bRemoved;
}

bool SongListWidget::IsChecked(int iRow) const {
    const QListWidgetItem* pItem = item(iRow);
    return pItem != nullptr && pItem->checkState() == Qt::Checked;
}

void SongListWidget::SetChecked(int iRow, bool bChecked) {
    if (QListWidgetItem* pItem = item(iRow)) {
        pItem->setCheckState(bChecked ? Qt::Checked : Qt::Unchecked);
    }
}

void SongListWidget::ToggleRow(QListWidgetItem* pItem) {
    pItem->setCheckState(pItem->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void SongListWidget::keyPressEvent(QKeyEvent* pEvent) {
    if (pEvent->key() == Qt::Key_Space && currentItem() != nullptr) {
        ToggleRow(currentItem());
        return;
    }
    QListWidget::keyPressEvent(pEvent);
}

// A drag is welcome, as a copy, when it carries at least one local file; no name filter
// applies. The files it carries, or none when it is refused.
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
