#include "cli/SendCommand.h"

#include <functional>

#include "app/AppTexts.h"
#include "app/SendSession.h"
#include "app/TransferOptions.h"
#include "app/TransferSettings.h"
#include "app/Utf8Path.h"
#include "cli/CliSendFrontEnd.h"
#include "cli/DeviceChoice.h"
#include "cli/Interrupt.h"
#include "cli/MergeOption.h"
#include "cli/MidiSystem.h"
#include "midi/DeviceList.h"

namespace {

constexpr const char* kCommand = "send";

struct tSendOptions {
    std::string OutDevice;
    std::string InDevice;
    tTransferSettings Settings;
    bool bAllowSameName = false;
    bool bMergeTracks = false;
    std::vector<std::string> Files;
};

// A number option of the send, with the rule that checks it.
struct tNumberOption {
    const char* szName;
    int32_t* piValue;
    std::string Needs;  // what the rule asks, for the usage error
    std::function<TransferOptions::tOptionCheck(int32_t)> Check;
};

std::vector<tNumberOption> NumberOptions(tTransferSettings& Settings) {
    using namespace TransferOptions;
    return {
        {"--packet-ms", &Settings.iTimeBetweenPackets,
         DescribeRange(kPacketIntervalRange) + ", at least " +
             std::to_string(kMinBlindPacketInterval) + " when blind",
         [&Settings](int32_t i) { return CheckPacketInterval(i, Settings.bBlindTransfer); }},
        {"--song-ms", &Settings.iTimeBetweenSongs, DescribeRange(kSongIntervalRange),
         CheckSongInterval},
        {"--timeout", &Settings.iTimeOut, DescribeRange(kTimeOutRange), CheckTimeOut},
    };
}

// The same checks as the advanced options dialog's; a value they would correct is bad usage.
std::string ReadNumbers(const tParsedArgs& Parsed, tTransferSettings& Settings) {
    for (const tNumberOption& Option : NumberOptions(Settings)) {
        if (!Parsed.Has(Option.szName)) {
            continue;
        }
        const std::string& Text = Parsed.Options.at(Option.szName);
        const bool bNumber = ParseInt32(Text, *Option.piValue);
        if (!bNumber || Option.Check(*Option.piValue).szMessage != nullptr) {
            return "option '" + std::string(Option.szName) + "' needs " +
                   (bNumber ? Option.Needs : "a whole number") + ", not '" + Text + "'";
        }
    }
    return {};
}

std::string ParseSendOptions(const tParsedArgs& Parsed, tSendOptions& Options) {
    if (Parsed.Has("--blind") && Parsed.Has("--handshake")) {
        return "choose one of '--blind' and '--handshake'";
    }
    if (Parsed.Has("--blind") && Parsed.Has("--ack-paced")) {
        return "'--ack-paced' needs the device's replies, which '--blind' does not wait for";
    }
    tTransferSettings& Settings = Options.Settings;
    Settings.AckPaced = Parsed.Has("--ack-paced");
    Settings.bBlindTransfer = !Parsed.Has("--handshake") && !Settings.AckPaced;
    Settings.bDebugEnabled = Parsed.Has("--debug");
    Options.bAllowSameName = Parsed.Has("--allow-same-name");
    Options.bMergeTracks = Parsed.Has("--merge-tracks");
    std::string Error = ReadNumbers(Parsed, Settings);
    if (!Error.empty()) {
        return Error;
    }
    if (!Parsed.Has("--out") || !Parsed.Has("--in")) {
        return "both '--out DEV' and '--in DEV' are needed";
    }
    Options.OutDevice = Parsed.Options.at("--out");
    Options.InDevice = Parsed.Options.at("--in");
    Options.Files = Parsed.Operands;
    return Options.Files.empty() ? "no FILE given" : "";
}

// The command's status for how the session went.
int SendStatus(const tSendOutcome& Outcome, tCliContext& Context) {
    switch (Outcome.eStage) {
        case SEND_CLASH_REFUSED:
            return kExitUsage;  // said as bad usage when the clash was found
        case SEND_STOPPED:
            Context.Err << kProgramName << " " << kCommand << ": interrupted; nothing was sent\n";
            return InterruptStatus();
        case SEND_NOTHING_TO_SEND:
            return kExitFailure;
        case SEND_RAN:
            break;
    }
    if (Outcome.eEnding == RUN_ABORTED) {
        return InterruptStatus();
    }
    const bool bWhole = Outcome.bAllSent && Outcome.bAllConverted && Outcome.bAllDeleted;
    return bWhole ? kExitSuccess : kExitFailure;
}

// Devices first: a wrong device name should not cost a conversion.
int ChooseDevicesAndSend(tSendOptions Options, tCliContext& Context) {
    tSendRequest Request;
    Request.Devices = {MidiInDeviceNames(), MidiOutDeviceNames()};
    const tDeviceChoice Out = ChooseDevice("output", Request.Devices.OutNames, Options.OutDevice);
    const tDeviceChoice In = ChooseDevice("input", Request.Devices.InNames, Options.InDevice);
    if (!Out.Error.empty() || !In.Error.empty()) {
        return UsageError(Context.Err, kCommand, Out.Error.empty() ? In.Error : Out.Error);
    }
    Options.Settings.iSelectedOutPort = Out.iIndex;
    Options.Settings.iSelectedInPort = In.iIndex;
    for (const std::string& File : Options.Files) {
        Request.Songs.push_back(PathFromUtf8(File));
    }
    Request.Settings = Options.Settings;
    Request.bMergeTracks = Options.bMergeTracks;
    cCliSendFrontEnd FrontEnd(Context, Options.bAllowSameName);
    return SendStatus(RunSendSession(Request, FrontEnd), Context);
}

int RunSend(const tParsedArgs& Parsed, tCliContext& Context) {
    tSendOptions Options;
    const std::string Error = ParseSendOptions(Parsed, Options);
    if (!Error.empty()) {
        return UsageError(Context.Err, kCommand, Error);
    }
    return WithMidiSystem(Context, kCommand,
                          [&] { return ChooseDevicesAndSend(Options, Context); });
}

std::string Range(TransferOptions::tRange Range) {
    return std::to_string(Range.iMin) + " to " + std::to_string(Range.iMax);
}

// The help gives the start values of the settings record and the options' ranges, so it cannot
// drift from them.
std::vector<tOptionDefinition> SendOptions() {
    const tTransferSettings& Default = kDefaultTransferSettings;
    const std::string DefaultMark = " (the default)";
    using std::to_string;
    return {
        {"--out", nullptr, true, "DEV", "the MIDI output device the songs go to"},
        {"--in", nullptr, true, "DEV", "the MIDI input device the device answers on"},
        {"--blind", nullptr, false, nullptr,
         "send without waiting for the device's replies" +
             (Default.bBlindTransfer ? DefaultMark : "")},
        {"--handshake", nullptr, false, nullptr,
         "wait for the device's reply to each packet" +
             (Default.bBlindTransfer ? "" : DefaultMark)},
        {"--ack-paced", nullptr, false, nullptr,
         "with handshakes, send each packet as soon as the device\nacknowledges the one "
         "before, not at the next step (implies\n'--handshake')"},
        {"--packet-ms", nullptr, true, "MS",
         "time between transfer steps, " + Range(TransferOptions::kPacketIntervalRange) +
             " (at least " + to_string(TransferOptions::kMinBlindPacketInterval) +
             " when\nblind); default " + to_string(Default.iTimeBetweenPackets)},
        {"--song-ms", nullptr, true, "MS",
         "pause before each further song, " + Range(TransferOptions::kSongIntervalRange) +
             "; default " + to_string(Default.iTimeBetweenSongs)},
        {"--timeout", nullptr, true, "STEPS",
         "silent steps before a reply counts as missing, " +
             to_string(TransferOptions::kTimeOutRange.iMin) + " or more;\ndefault " +
             to_string(Default.iTimeOut)},
        MergeTracksOption(),
        {"--allow-same-name", nullptr, false, nullptr,
         "send songs that get the same name on the device (each\noverwrites the one before)"},
        {"--debug", nullptr, false, nullptr, "write the conversion dump mididebug.txt"},
    };
}

}  // namespace

const tCliCommand& SendCommand() {
    static const tCliCommand Command{
        kCommand,
        "send --out DEV --in DEV [--handshake [--ack-paced] | --blind] [OPTION]... FILE...",
        "convert songs and send them to the device",
        "Converts each format-0 Standard MIDI File and sends the songs, one after another,\n"
        "to the device on MIDI output DEV, reading its replies from MIDI input DEV. DEV is an\n"
        "index from '" +
            std::string(kProgramName) + " devices' or a part of one device's name.\n",
        SendOptions(),
        std::string(AppTexts::kBlindUnconfirmed) +
            "\n\n"
            "The converted x10 files are deleted at the end, whatever the outcome. Ctrl-C ends\n"
            "the send as Abort does. Exit status: 0 when every song was sent, 1 otherwise,\n"
            "2 for bad usage, 130 after Ctrl-C.\n",
        RunSend,
        true};
    return Command;
}
