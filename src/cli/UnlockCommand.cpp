#include "cli/UnlockCommand.h"

#include <string>

#include "app/AppTexts.h"
#include "app/DeviceCommands.h"
#include "cli/DeviceChoice.h"
#include "cli/MidiSystem.h"
#include "midi/DeviceList.h"

namespace {

constexpr const char* kCommand = "unlock";

bool Confirmed(tCliContext& Context) {
    Context.Out << AppTexts::kUnlockQuestion << "\n[y/N] " << std::flush;
    std::string Answer;
    std::getline(Context.In, Answer);
    return Answer == "y" || Answer == "Y" || Answer == "yes" || Answer == "Yes";
}

int SendUnlock(int32_t iOut, tCliContext& Context) {
    const tDeviceCommandResult Result = UnlockDefaultSongs(iOut);
    if (!Result.Sent()) {
        Context.Err << kProgramName << " " << kCommand << ": " << Result.FailureText
                    << "; the default songs may still be locked\n";
        return kExitFailure;
    }
    Context.Out << "The unlock commands were sent.\n";
    return kExitSuccess;
}

int ChooseDeviceAndUnlock(const std::string& Device, bool bAsk, tCliContext& Context) {
    const tDeviceChoice Out = ChooseDevice("output", MidiOutDeviceNames(), Device);
    if (!Out.Error.empty()) {
        return UsageError(Context.Err, kCommand, Out.Error);
    }
    if (bAsk && !Confirmed(Context)) {
        Context.Err << kProgramName << " " << kCommand << ": not confirmed; nothing was sent\n";
        return kExitFailure;
    }
    return SendUnlock(Out.iIndex, Context);
}

int RunUnlock(const tParsedArgs& Parsed, tCliContext& Context) {
    if (!Parsed.Operands.empty()) {
        return UsageError(Context.Err, kCommand,
                          "unexpected argument '" + Parsed.Operands[0] + "'");
    }
    if (!Parsed.Has("--out")) {
        return UsageError(Context.Err, kCommand, "no output device given (--out DEV)");
    }
    return WithMidiSystem(Context, kCommand, [&] {
        return ChooseDeviceAndUnlock(Parsed.Options.at("--out"), !Parsed.Has("--yes"), Context);
    });
}

}  // namespace

const tCliCommand& UnlockCommand() {
    static const tCliCommand Command{
        kCommand,
        "unlock --out DEV [--yes]",
        "unlock the device's default songs so that they can be deleted",
        "Unlocks the device's default songs so that they can be deleted: sends the two\n"
        "unlock commands to MIDI output DEV, 500 ms apart, and waits a second before\n"
        "closing the device.\n",
        {{"--out", nullptr, true, "DEV", "the MIDI output device (an index or a part of its name)"},
         {"--yes", "-y", false, nullptr, "do not ask for confirmation"}},
        "",
        RunUnlock};
    return Command;
}
