#include "RecordingUserDialogs.h"

#include <QDialog>
#include <QFileDialog>

void cRecordingUserDialogs::ShowMessage(QWidget*, const QString& Text, const QString& Caption,
                                        tMessageIcon eIcon) {
    Shown.push_back({Text, Caption, eIcon, false});
}

bool cRecordingUserDialogs::AskYesNo(QWidget*, const QString& Text, const QString& Caption,
                                     tMessageIcon eIcon) {
    Shown.push_back({Text, Caption, eIcon, true});
    return !Answers.isEmpty() && Answers.takeFirst();
}

QStringList cRecordingUserDialogs::ChooseFiles(QFileDialog& Dialog) {
    FileDialogTitles << Dialog.windowTitle();
    FileDialogFilters << Dialog.nameFilters().join(";;");
    return FileChoices.isEmpty() ? QStringList{} : FileChoices.takeFirst();
}

int cRecordingUserDialogs::ShowModal(QDialog& Dialog) {
    ModalDialogs << Dialog.objectName();
    return OnModal ? OnModal(Dialog) : QDialog::Rejected;
}

QStringList cRecordingUserDialogs::Texts() const {
    QStringList Result;
    for (const tShownMessage& Message : Shown) {
        Result << Message.Text;
    }
    return Result;
}
