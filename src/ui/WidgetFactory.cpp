#include "ui/WidgetFactory.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>

namespace {

template <typename tWidget>
tWidget* Named(tWidget* pWidget, const char* szName) {
    pWidget->setObjectName(szName);
    return pWidget;
}

}  // namespace

QPushButton* MakeButton(QWidget* pParent, const char* szName, const QString& Text) {
    return Named(new QPushButton(Text, pParent), szName);
}

QPushButton* MakeDialogButton(QWidget* pParent, const char* szName, const QString& Text) {
    QPushButton* pButton = MakeButton(pParent, szName, Text);
    pButton->setAutoDefault(false);
    return pButton;
}

QLabel* MakeLabel(QWidget* pParent, const char* szName, const QString& Text) {
    return Named(new QLabel(Text, pParent), szName);
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
    return Named(pMenu->addAction(Text), szName);
}
