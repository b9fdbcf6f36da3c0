#include "ui/AboutBox.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Version.h"
#include "ui/AppIcon.h"
#include "ui/WidgetFactory.h"

namespace {

QLabel* MakeAboutLabel(QWidget* pParent, const char* szName, const QString& Text, int iPointSize) {
    QLabel* pLabel = MakeLabel(pParent, szName, Text);
    pLabel->setFont(QFont("Microsoft Sans Serif", iPointSize));
    pLabel->setAlignment(Qt::AlignCenter);
    return pLabel;
}

}  // namespace

AboutBox::AboutBox(QWidget* pParent) : QDialog(pParent) {
    setObjectName("AboutBox");
    setWindowTitle("About  Songloader");
    setWindowIcon(AppIcon());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    label1 =
        MakeAboutLabel(this, "label1", QString::fromUtf8("Orvik®30 / Melko™30 Song Loader"), 12);
    label2 = MakeAboutLabel(this, "label2", QString("Version %1").arg(kSongLoaderVersion), 12);
    label3 = MakeAboutLabel(this, "label3", "Made by the SongLoader developers", 8);
    AboutOK = MakeButton(this, "AboutOK", "OK");
    connect(AboutOK, &QPushButton::clicked, this, &QDialog::accept);

    QVBoxLayout* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(24, 18, 24, 14);
    pLayout->setSpacing(10);
    pLayout->addWidget(label1);
    pLayout->addWidget(label2);
    pLayout->addWidget(label3);
    pLayout->addSpacing(6);
    pLayout->addWidget(AboutOK, 0, Qt::AlignHCenter);
    // A fixed single border: the box keeps the size its contents ask for.
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
}
