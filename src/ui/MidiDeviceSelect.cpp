#include "ui/MidiDeviceSelect.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/AppIcon.h"
#include "ui/WidgetFactory.h"

MidiDeviceSelect::MidiDeviceSelect(QWidget* pParent) : tLoadsWhenFirstShown(pParent) {
    setObjectName("MidiDeviceSelect");
    setWindowTitle("Midi Device Select");
    setWindowIcon(AppIcon());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    MIDI_INPUT_DEVICE = MakeLabel(this, "MIDI_INPUT_DEVICE", "MIDI Input Device");
    MIDIInCB = new QComboBox(this);
    MIDIInCB->setObjectName("MIDIInCB");
    label1 = MakeLabel(this, "label1", "MIDI Output Device");
    MIDIDeviceCB = new QComboBox(this);
    MIDIDeviceCB->setObjectName("MIDIDeviceCB");
    OKButton = MakeButton(this, "OKButton", "OK");

    QVBoxLayout* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(MIDI_INPUT_DEVICE);
    pLayout->addWidget(MIDIInCB);
    pLayout->addSpacing(8);
    pLayout->addWidget(label1);
    pLayout->addWidget(MIDIDeviceCB);
    pLayout->addSpacing(8);
    pLayout->addWidget(OKButton, 0, Qt::AlignHCenter);
    setMinimumWidth(320);

    // Only a pick by the user changes the choice, never filling or selecting from code.
    connect(MIDIInCB, &QComboBox::activated, this,
            &MidiDeviceSelect::MIDIInCB_SelectionChangeCommitted);
    connect(MIDIDeviceCB, &QComboBox::activated, this,
            &MidiDeviceSelect::MIDIDeviceCB_SelectionChangeCommitted);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void MidiDeviceSelect::FillOutDeviceList(const QString& Name) {
    MIDIDeviceCB->addItem(Name);
}

void MidiDeviceSelect::FillInDeviceList(const QString& Name) {
    MIDIInCB->addItem(Name);
}

void MidiDeviceSelect::FillDeviceLists(const QStringList& asOutNames,
                                       const QStringList& asInNames) {
    for (const QString& Name : asOutNames) {
        FillOutDeviceList(Name);
    }
    for (const QString& Name : asInNames) {
        FillInDeviceList(Name);
    }
}

void MidiDeviceSelect::SetDevices(int32_t iSelectedInport, int32_t iSelectedOutport) {
    iInDeviceChosen = iSelectedInport;
    iOutDeviceChosen = iSelectedOutport;
}

void MidiDeviceSelect::MidiDeviceSelect_Load() {
    MIDIInCB->setCurrentIndex(iInDeviceChosen);
    MIDIDeviceCB->setCurrentIndex(iOutDeviceChosen);
}

void MidiDeviceSelect::MIDIInCB_SelectionChangeCommitted(int iIndex) {
    iInDeviceChosen = iIndex;
}

void MidiDeviceSelect::MIDIDeviceCB_SelectionChangeCommitted(int iIndex) {
    iOutDeviceChosen = iIndex;
}
