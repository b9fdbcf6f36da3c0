#pragma once

#include <QDialog>

// How a dialog was ended: OK, Abort, or closed from its title bar (Cancel).
enum tDialogResult {
    DIALOG_CANCEL = QDialog::Rejected,
    DIALOG_OK = QDialog::Accepted,
    DIALOG_ABORT = 3,
};
