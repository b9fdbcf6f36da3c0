#pragma once

#include <QDialog>
#include <QPushButton>
#include <QTest>

#include "ui/LoadFileDialog.h"

// Shows a progress dialog, lets the transfer run until it stops and ends it with a button;
// the dialog's result, or -1 when the transfer never stopped.
inline int RunTransferAndPress(QDialog& Dialog, const char* szButton, int iTimeoutMs = 30000) {
    LoadFileDialog* pProgress = qobject_cast<LoadFileDialog*>(&Dialog);
    if (pProgress == nullptr) {
        return -1;
    }
    pProgress->show();
    if (!QTest::qWaitFor([pProgress] { return !pProgress->IsTransferRunning(); }, iTimeoutMs)) {
        return -1;
    }
    QTest::mouseClick(pProgress->findChild<QPushButton*>(szButton), Qt::LeftButton);
    return pProgress->result();
}

// Ends a dialog with a button as soon as it is shown (a progress dialog before any step has
// run); the dialog's result.
inline int PressAtOnce(QDialog& Dialog, QPushButton* pButton) {
    Dialog.show();
    QTest::mouseClick(pButton, Qt::LeftButton);
    return Dialog.result();
}

inline int PressAtOnce(QDialog& Dialog, const char* szButton) {
    return PressAtOnce(Dialog, Dialog.findChild<QPushButton*>(szButton));
}
