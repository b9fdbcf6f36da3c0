#include "ui/QtUserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon ToolkitIcon(tMessageIcon eIcon) {
    switch (eIcon) {
        case MESSAGE_ICON_WARNING:
            return QMessageBox::Warning;
        case MESSAGE_ICON_QUESTION:
            return QMessageBox::Question;
        case MESSAGE_ICON_NONE:
            break;
    }
    return QMessageBox::NoIcon;
}

int RunMessageBox(QWidget* pParent, const QString& Text, const QString& Caption, tMessageIcon eIcon,
                  QMessageBox::StandardButtons eButtons) {
    QMessageBox Box(ToolkitIcon(eIcon), Caption, Text, eButtons, pParent);
    return Box.exec();
}

}  // namespace

void cQtUserDialogs::ShowMessage(QWidget* pParent, const QString& Text, const QString& Caption,
                                 tMessageIcon eIcon) {
    RunMessageBox(pParent, Text, Caption, eIcon, QMessageBox::Ok);
}

bool cQtUserDialogs::AskYesNo(QWidget* pParent, const QString& Text, const QString& Caption,
                              tMessageIcon eIcon) {
    return RunMessageBox(pParent, Text, Caption, eIcon, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

QStringList cQtUserDialogs::ChooseFiles(QFileDialog& Dialog) {
    if (Dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return Dialog.selectedFiles();
}

int cQtUserDialogs::ShowModal(QDialog& Dialog) {
    return Dialog.exec();
}
