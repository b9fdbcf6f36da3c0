#include "cli/DevicesCommand.h"

#include <cstdint>

#include "cli/MidiSystem.h"
#include "commandline/CommandLine.h"
#include "midi/DeviceName.h"
#include "transfer/MIDIPort.h"

namespace {

constexpr const char* kCommand = "devices";

// The main window's warnings when a kind of device is missing.
constexpr const char* kNoOutDevices =
    "Note: You have no available Midi Out devices. This program is useless without a Midi Out "
    "Device";
constexpr const char* kNoInDevices =
    "You have no available Midi In devices. This program is useless without a Midi In Device";

void PrintDevicesHelp(std::ostream& Out) {
    Out << "Usage: " << kProgramName << " devices\n"
        << "Lists the MIDI output and input devices, each with the index that chooses it,\n"
        << "in the order the main window lists them.\n\n"
        << "  -h, --help   show this help and exit\n\n"
        << "The exit status is 1 when the MIDI system does not answer.\n";
}

template <typename tNameOf>
void PrintDeviceList(std::ostream& Out, const char* szTitle, uint32_t uiCount, tNameOf NameOf) {
    Out << szTitle << ":\n";
    if (uiCount == 0) {
        Out << "  none\n";
    }
    for (uint32_t i = 0; i < uiCount; ++i) {
        Out << "  " << i << "  " << DeviceNameToUtf8(NameOf(i)) << "\n";
    }
}

int ListDevices(tCliContext& Context) {
    cMIDIPort Ports;
    const uint32_t uiOutCount = Ports.NumOutPorts();
    const uint32_t uiInCount = Ports.NumInPorts();
    PrintDeviceList(Context.Out, "MIDI output devices", uiOutCount,
                    [&](uint32_t i) { return Ports.GetOutPortNames(i); });
    PrintDeviceList(Context.Out, "MIDI input devices", uiInCount,
                    [&](uint32_t i) { return Ports.GetInPortNames(i); });
    if (uiOutCount == 0) {
        Context.Err << kNoOutDevices << "\n";
    }
    if (uiInCount == 0) {
        Context.Err << kNoInDevices << "\n";
    }
    return kExitSuccess;
}

}  // namespace

int RunDevicesCommand(tCliContext& Context) {
    const tParsedArgs Parsed = ParseCommandLine(Context.Args, {{"--help", "-h", false}});
    if (!Parsed.Error.empty()) {
        return UsageError(Context.Err, kCommand, Parsed.Error);
    }
    if (Parsed.Has("--help")) {
        PrintDevicesHelp(Context.Out);
        return kExitSuccess;
    }
    if (!Parsed.Operands.empty()) {
        return UsageError(Context.Err, kCommand,
                          "unexpected argument '" + Parsed.Operands[0] + "'");
    }
    return WithMidiSystem(Context, kCommand, [&] { return ListDevices(Context); });
}
