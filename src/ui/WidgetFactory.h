#pragma once

#include <QString>

class QAction;
class QLabel;
class QMenu;
class QPixmap;
class QPushButton;
class QWidget;

// The windows' controls carry the object names the program's tests and screenshots find them
// by; these make a control with its name in one step.
QPushButton* MakeButton(QWidget* pParent, const char* szName, const QString& Text);
// A button of a dialog that Enter must not press (OK and Abort of a transfer, for instance).
QPushButton* MakeDialogButton(QWidget* pParent, const char* szName, const QString& Text);
QLabel* MakeLabel(QWidget* pParent, const char* szName, const QString& Text);
QLabel* MakeUnderlinedLabel(QWidget* pParent, const char* szName, const QString& Text);
// A picture stretched to fit its fixed box.
QLabel* MakePicture(QWidget* pParent, const char* szName, const QPixmap& Image, int iWidth,
                    int iHeight);
QAction* AddMenuAction(QMenu* pMenu, const char* szName, const QString& Text);
