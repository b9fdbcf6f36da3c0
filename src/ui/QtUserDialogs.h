#pragma once

#include "ui/UserDialogs.h"

// The real message boxes and dialogs of the toolkit.
class cQtUserDialogs : public iUserDialogs {
  public:
    void ShowMessage(QWidget* pParent, const QString& Text, const QString& Caption,
                     tMessageIcon eIcon) override;
    bool AskYesNo(QWidget* pParent, const QString& Text, const QString& Caption,
                  tMessageIcon eIcon) override;
    QStringList ChooseFiles(QFileDialog& Dialog) override;
    int ShowModal(QDialog& Dialog) override;
};
