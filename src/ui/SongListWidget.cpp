#include "ui/SongListWidget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>

SongListWidget::SongListWidget(QWidget* pParent) : QListWidget(pParent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    connect(this, &QListWidget::itemClicked, this, &SongListWidget::ToggleRow);
}

void SongListWidget::AddCheckedRow(const QString& Text) {
    QListWidgetItem* pItem = new QListWidgetItem(Text, this);
    // The row's click toggles the check (ToggleRow); letting the view toggle it as well on a
    // click on the box itself would undo that.
    pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    pItem->setCheckState(Qt::Checked);
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

void SongListWidget::dragEnterEvent(QDragEnterEvent* pEvent) {
    pEvent->ignore();
    emit DragEntered(pEvent);
    bDragAccepted = pEvent->isAccepted();
}

void SongListWidget::dragMoveEvent(QDragMoveEvent* pEvent) {
    if (bDragAccepted) {
        pEvent->setDropAction(Qt::CopyAction);
        pEvent->accept();
    } else {
        pEvent->ignore();
    }
}

void SongListWidget::dropEvent(QDropEvent* pEvent) {
    bDragAccepted = false;
    emit Dropped(pEvent);
}
