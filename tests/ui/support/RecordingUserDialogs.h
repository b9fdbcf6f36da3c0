#pragma once

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
    void ShowMessage(QWidget* pParent, const QString& Text, const QString& Caption,
                     tMessageIcon eIcon) override;
    bool AskYesNo(QWidget* pParent, const QString& Text, const QString& Caption,
                  tMessageIcon eIcon) override;
    QStringList ChooseFiles(QFileDialog& Dialog) override;
    int ShowModal(QDialog& Dialog) override;

    // The texts of every message and question so far, in order.
    QStringList Texts() const;

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
};
