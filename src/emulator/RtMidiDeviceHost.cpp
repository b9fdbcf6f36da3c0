#include "emulator/RtMidiDeviceHost.h"

#include <iostream>

#include "emulator/DeviceRunner.h"

cRtMidiDeviceHost::cRtMidiDeviceHost(std::string PortName, RtMidi::Api eApi)
    : PortName(std::move(PortName)), MidiApi(eApi) {}

std::string cRtMidiDeviceHost::Open() {
    // The output first: a message can arrive as soon as the input exists, and its reply needs
    // the output.
    try {
        Output = std::make_unique<RtMidiOut>(MidiApi, PortName);
        Output->openVirtualPort(PortName);
        OpenedApiName = RtMidi::getApiDisplayName(Output->getCurrentApi());
        Input = std::make_unique<RtMidiIn>(MidiApi, PortName);
        Input->ignoreTypes(false, true, true);  // keep SysEx; drop timing and active sensing
        Input->setCallback(&cRtMidiDeviceHost::OnInput, this);
        Input->openVirtualPort(PortName);
    } catch (const RtMidiError& Error) {
        Close();
        return "cannot open the MIDI ports \"" + PortName + "\" on " +
               RtMidi::getApiDisplayName(MidiApi) + ": " + Error.getMessage();
    }
    return {};
}

void cRtMidiDeviceHost::Send(const std::vector<uint8_t>& aucMessage) {
    try {
        if (Output) {
            Output->sendMessage(aucMessage.data(), aucMessage.size());
        }
    } catch (const RtMidiError& Error) {
        std::cerr << "tav-emulator: cannot send a reply: " << Error.getMessage() << std::endl;
    }
}

void cRtMidiDeviceHost::CloseInput() {
    DetachRunner();
    try {
        if (Input) {
            Input->cancelCallback();
            Input->closePort();
        }
    } catch (const RtMidiError& Error) {
        std::cerr << "tav-emulator: closing the MIDI input: " << Error.getMessage() << std::endl;
    }
    Input.reset();  // its client ends, and with it any callback in progress
}

void cRtMidiDeviceHost::Close() {
    CloseInput();
    try {
        if (Output) {
            Output->closePort();
        }
    } catch (const RtMidiError& Error) {
        std::cerr << "tav-emulator: closing the MIDI output: " << Error.getMessage() << std::endl;
    }
    Output.reset();
}

std::string cRtMidiDeviceHost::Description() const {
    return "ports \"" + PortName + "\" (in and out) on " + OpenedApiName;
}

void cRtMidiDeviceHost::OnInput(double, std::vector<unsigned char>* pMessage, void* pUserData) {
    if (pMessage != nullptr) {
        static_cast<cRtMidiDeviceHost*>(pUserData)->PassOn(pMessage->data(), pMessage->size());
    }
}
