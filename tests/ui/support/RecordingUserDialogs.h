#pragma once

#include <QDialog>
#include <QFileDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "ui/UserDialogs.h"

// One message box or question as the user would have seen it.
struct tShownMessage {
    QString Text;
    QString Caption;
    tMessageIcon eIcon = MESSAGE_ICON_NONE;
    bool bQuestion = false;
};

// Stands in for the user: records every message and question, answers questions from a queue,
// picks files from a queue and hands each modal dialog to a function the test gives.
class cRecordingUserDialogs : public iUserDialogs {
  public:
    void ShowMessage(QWidget*, const QString& Text, const QString& Caption,
                     tMessageIcon eIcon) override {
        Shown.push_back({Text, Caption, eIcon, false});
    }
    bool AskYesNo(QWidget*, const QString& Text, const QString& Caption,
                  tMessageIcon eIcon) override {
        Shown.push_back({Text, Caption, eIcon, true});
        return !Answers.isEmpty() && Answers.takeFirst();
    }
    QStringList ChooseFiles(QFileDialog& Dialog) override {
        FileDialogTitles << Dialog.windowTitle();
        FileDialogFilters << Dialog.nameFilters().join(";;");
        return FileChoices.isEmpty() ? QStringList{} : FileChoices.takeFirst();
    }
    int ShowModal(QDialog& Dialog) override {
        ModalDialogs << Dialog.objectName();
        return OnModal ? OnModal(Dialog) : QDialog::Rejected;
    }

    // The texts, or the captions, of every message and question so far, in order.
    QStringList Texts() const { return Each(&tShownMessage::Text); }
    QStringList Captions() const { return Each(&tShownMessage::Caption); }

    std::vector<tShownMessage> Shown;
    // Answers to the next questions, first one first; when empty a question is answered No.
    QList<bool> Answers;
    // Files for the next open-file dialogs; when empty the dialog is cancelled.
    QList<QStringList> FileChoices;
    // The titles and filters of the open-file dialogs run so far.
    QStringList FileDialogTitles;
    QStringList FileDialogFilters;
    // Runs each modal dialog; without it a dialog is closed at once with result 0 (Rejected).
    std::function<int(QDialog&)> OnModal;
    // The object names of the modal dialogs shown so far.
    QStringList ModalDialogs;

  private:
    QStringList Each(QString tShownMessage::*pField) const {
        QStringList Result;
        for (const tShownMessage& Message : Shown) {
            Result << Message.*pField;
        }
        return Result;
    }
};
