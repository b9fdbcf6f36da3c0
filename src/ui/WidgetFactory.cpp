#include "ui/WidgetFactory.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>

QPushButton* MakeButton(QWidget* pParent, const char* szName, const QString& Text) {
    QPushButton* pButton = new QPushButton(Text, pParent);
    pButton->setObjectName(szName);
    return pButton;
}

QPushButton* MakeDialogButton(QWidget* pParent, const char* szName, const QString& Text) {
    QPushButton* pButton = MakeButton(pParent, szName, Text);
    pButton->setAutoDefault(false);
    return pButton;
}

QLabel* MakeLabel(QWidget* pParent, const char* szName, const QString& Text) {
    QLabel* pLabel = new QLabel(Text, pParent);
    pLabel->setObjectName(szName);
    return pLabel;
}

QLabel* MakeUnderlinedLabel(QWidget* pParent, const char* szName, const QString& Text) {
    QLabel* pLabel = MakeLabel(pParent, szName, Text);
    QFont Font = pLabel->font();
    Font.setUnderline(true);
    pLabel->setFont(Font);
    return pLabel;
}

QLabel* MakePicture(QWidget* pParent, const char* szName, const QPixmap& Image, int iWidth,
                    int iHeight) {
    QLabel* pPicture = MakeLabel(pParent, szName, QString());
    pPicture->setPixmap(Image);
    pPicture->setScaledContents(true);
    pPicture->setFixedSize(iWidth, iHeight);
    return pPicture;
}

QAction* AddMenuAction(QMenu* pMenu, const char* szName, const QString& Text) {
    QAction* pAction = pMenu->addAction(Text);
    pAction->setObjectName(szName);
    return pAction;
}
