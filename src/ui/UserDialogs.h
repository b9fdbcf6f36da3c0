#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QFileDialog;
class QWidget;

enum tMessageIcon {
    MESSAGE_ICON_NONE,
    MESSAGE_ICON_WARNING,
    MESSAGE_ICON_QUESTION,
};

// Everything the windows ask of the user goes through here: message boxes with OK, Yes/No
// questions, the open-file dialog and every modal dialog. The program uses the real toolkit;
// tests use a recording stand-in and drive the flows without anyone at the screen.
class iUserDialogs {
  public:
    virtual ~iUserDialogs() = default;

    // A modal message box with an OK button. An empty caption gives a box without a title.
    virtual void ShowMessage(QWidget* pParent, const QString& Text, const QString& Caption,
                             tMessageIcon eIcon) = 0;
    // A modal Yes/No question; true for Yes.
    virtual bool AskYesNo(QWidget* pParent, const QString& Text, const QString& Caption,
                          tMessageIcon eIcon) = 0;
    // Runs the open-file dialog; the chosen paths, or none when the user cancelled.
    virtual QStringList ChooseFiles(QFileDialog& Dialog) = 0;
    // Shows a dialog modally and returns its result code.
    virtual int ShowModal(QDialog& Dialog) = 0;
};
