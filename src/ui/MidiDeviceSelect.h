#pragma once

#include <QDialog>
#include <QStringList>
#include <cstdint>

#include "ui/LoadsWhenFirstShown.h"

class QComboBox;
class QLabel;
class QPushButton;

// The device selection dialog: one input and one output device, picked by name. The choice is
// a pair of device indices; -1 leaves a list without a selection. Its OK button ends it with OK.
class MidiDeviceSelect : public tLoadsWhenFirstShown<QDialog> {
    Q_OBJECT

  public:
    explicit MidiDeviceSelect(QWidget* pParent = nullptr);

    void FillOutDeviceList(const QString& Name);
    void FillInDeviceList(const QString& Name);
    // Every output device name, then every input device name, index 0 first.
    void FillDeviceLists(const QStringList& asOutNames, const QStringList& asInNames);
    void SetDevices(int32_t iSelectedInport, int32_t iSelectedOutport);
    int32_t OutDeviceChosen() const { return iOutDeviceChosen; }
    int32_t InDeviceChosen() const { return iInDeviceChosen; }

  protected:
    void LoadWhenFirstShown() override { MidiDeviceSelect_Load(); }

  private slots:
    void MIDIInCB_SelectionChangeCommitted(int iIndex);
    void MIDIDeviceCB_SelectionChangeCommitted(int iIndex);

  private:
    void MidiDeviceSelect_Load();

    int32_t iInDeviceChosen = -1;
    int32_t iOutDeviceChosen = -1;

    QLabel* MIDI_INPUT_DEVICE;
    QComboBox* MIDIInCB;
    QLabel* label1;
    QComboBox* MIDIDeviceCB;
    QPushButton* OKButton;
};
