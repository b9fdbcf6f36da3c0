#include "ui/MidiInPortView.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/AppIcon.h"

MidiInPortView::MidiInPortView(QWidget* pParent) : QWidget(pParent, Qt::Window) {
    setObjectName("MidiInPortView");
    setWindowTitle("MidiInPortView");
    setWindowIcon(AppIcon());
    // Closing the monitor ends it: whoever holds it through a QPointer sees that it is gone.
    setAttribute(Qt::WA_DeleteOnClose);

    MidiInText = new QPlainTextEdit(this);
    MidiInText->setObjectName("MidiInText");
    MidiInText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MidiInText->setFont(QFont("Monospace", 10));

    QVBoxLayout* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(4, 4, 4, 4);
    pLayout->addWidget(MidiInText);
    resize(460, 300);
}

MidiInPortView* MidiInPortView::Open(QWidget* pParent) {
    MidiInPortView* pView = new MidiInPortView(pParent);
    pView->show();
    pView->raise();
    pView->activateWindow();
    return pView;
}

void MidiInPortView::ReplaceText(const QString& Text) {
    MidiInText->setPlainText(Text);
}
