#include "cli/DevicesCommand.h"

#include <string>
#include <vector>

#include "app/AppTexts.h"
#include "cli/MidiSystem.h"
#include "midi/DeviceList.h"

namespace {

constexpr const char* kCommand = "devices";

void PrintDeviceList(std::ostream& Out, const char* szTitle,
                     const std::vector<std::string>& Names) {
    Out << szTitle << ":\n";
    if (Names.empty()) {
        Out << "  none\n";
    }
    for (size_t i = 0; i < Names.size(); ++i) {
        Out << "  " << i << "  " << Names[i] << "\n";
    }
}

int ListDevices(tCliContext& Context) {
    const std::vector<std::string> OutNames = MidiOutDeviceNames();
    const std::vector<std::string> InNames = MidiInDeviceNames();
    PrintDeviceList(Context.Out, "MIDI output devices", OutNames);
    PrintDeviceList(Context.Out, "MIDI input devices", InNames);
    if (OutNames.empty()) {
        Context.Err << AppTexts::kNoOutDevices << "\n";
    }
    if (InNames.empty()) {
        Context.Err << AppTexts::kNoInDevices << "\n";
    }
    return kExitSuccess;
}

int RunDevices(const tParsedArgs& Parsed, tCliContext& Context) {
    if (!Parsed.Operands.empty()) {
        return UsageError(Context.Err, kCommand,
                          "unexpected argument '" + Parsed.Operands[0] + "'");
    }
    return WithMidiSystem(Context, kCommand, [&] { return ListDevices(Context); });
}

}  // namespace

const tCliCommand& DevicesCommand() {
    static const tCliCommand Command{
        kCommand,
        "devices",
        "list the MIDI output and input devices with their indices",
        "Lists the MIDI output and input devices, each with the index that chooses it,\n"
        "in the order the main window lists them.\n",
        {},
        "The exit status is 1 when the MIDI system does not answer.\n",
        RunDevices};
    return Command;
}
