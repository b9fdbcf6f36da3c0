#include "cli/SendCommand.h"

#include <chrono>
#include <thread>

#include "app/TransferOptions.h"
#include "app/TransferRun.h"
#include "cli/DeviceChoice.h"
#include "cli/Interrupt.h"
#include "cli/MidiSystem.h"
#include "cli/SongPreparation.h"
#include "cli/TransferProgress.h"
#include "commandline/CommandLine.h"
#include "transfer/X10FileTransfer.h"

namespace {

constexpr const char* kCommand = "send";
constexpr int kInterruptedStatus = 130;  // as a shell reports a program ended by Ctrl-C

struct tSendOptions {
    std::string OutDevice;
    std::string InDevice;
    bool bBlind = true;
    int32_t iPacketMs = TransferOptions::kDefaultPacketInterval;
    int32_t iSongMs = TransferOptions::kDefaultSongInterval;
    int32_t iTimeOut = TransferOptions::kDefaultTimeOut;
    bool bDebug = false;
    std::vector<std::string> Files;
};

void PrintSendHelp(std::ostream& Out) {
    Out << "Usage: " << kProgramName << " send --out DEV --in DEV [OPTION]... FILE...\n"
        << "Converts each format-0 Standard MIDI File and sends the songs, one after another,\n"
        << "to the device on MIDI output DEV, reading its replies from MIDI input DEV. DEV is an\n"
        << "index from '" << kProgramName << " devices' or a part of one device's name.\n\n"
        << "  --out DEV          the MIDI output device the songs go to\n"
        << "  --in DEV           the MIDI input device the device answers on\n"
        << "  --blind            send without waiting for the device's replies (the default)\n"
        << "  --handshake        wait for the device's reply to each packet\n"
        << "  --packet-ms MS     time between transfer steps, 5 to 150 (at least 25 when\n"
        << "                     blind); default 25\n"
        << "  --song-ms MS       pause before each further song; default 300\n"
        << "  --timeout STEPS    silent steps before a reply counts as missing; default 1000\n"
        << "  --debug            write the conversion dump mididebug.txt\n"
        << "  -h, --help         show this help and exit\n\n"
        << "The converted x10 files are deleted at the end, whatever the outcome. Ctrl-C ends\n"
        << "the send as Abort does. Exit status: 0 when every song was sent, 1 otherwise,\n"
        << "2 for bad usage, 130 after Ctrl-C.\n";
}

std::string ParseSendOptions(const tParsedArgs& Parsed, tSendOptions& Options) {
    if (Parsed.Has("--blind") && Parsed.Has("--handshake")) {
        return "choose one of '--blind' and '--handshake'";
    }
    Options.bBlind = !Parsed.Has("--handshake");
    Options.bDebug = Parsed.Has("--debug");
    const std::pair<const char*, int32_t*> aNumbers[] = {
        {"--packet-ms", &Options.iPacketMs},
        {"--song-ms", &Options.iSongMs},
        {"--timeout", &Options.iTimeOut},
    };
    for (const auto& [szName, piValue] : aNumbers) {
        if (Parsed.Has(szName) && !ParseInt32(Parsed.Options.at(szName), *piValue)) {
            return "option '" + std::string(szName) + "' needs a whole number, not '" +
                   Parsed.Options.at(szName) + "'";
        }
    }
    if (Options.iTimeOut < 0) {
        return "option '--timeout' needs a number of steps of 0 or more";
    }
    if (!Parsed.Has("--out") || !Parsed.Has("--in")) {
        return "both '--out DEV' and '--in DEV' are needed";
    }
    Options.OutDevice = Parsed.Options.at("--out");
    Options.InDevice = Parsed.Options.at("--in");
    Options.Files = Parsed.Operands;
    return Options.Files.empty() ? "no FILE given" : "";
}

void ReportStop(const tTransferTick& Tick, tCliContext& Context) {
    if (Tick.szMessage == nullptr) {
        return;
    }
    Context.Err << kProgramName << " " << kCommand << ": " << Tick.szMessage << "\n";
    if (Tick.eState == X10_CANCELLED) {
        Context.Err << "  the device's reason: " << Tick.HandShakeText << "\n";
    }
}

// Steps the run with the host's own timer: sleep the interval it asks for, then tick.
int SendSongs(const tSendOptions& Options, const tPreparedSongs& Songs, int32_t iOut, int32_t iIn,
              tCliContext& Context) {
    x10fer.SetMidiInPort(iIn);
    x10fer.SetMidiOutPort(iOut);
    x10fer.SetTimeout(Options.iTimeOut);
    tTransferPlan Plan;
    Plan.SongPaths = Songs.SongPaths;
    Plan.X10Paths = Songs.X10Paths;
    Plan.iTimeBetweenPackets = Options.iPacketMs;
    Plan.iTimeBetweenSongs = Options.iSongMs;
    Plan.bBlindTransfer = Options.bBlind;
    cTransferRun Run(x10fer, Plan);
    cTransferProgress Progress(Context.Out, Context.bOutIsTerminal, Songs.SongPaths,
                               Run.OverallMaximum());
    const cInterruptGuard Guard;
    int32_t iInterval = Run.Start();
    while (iInterval >= 0 && !InterruptRequested()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(iInterval));
        const tTransferTick Tick = Run.Tick();
        Progress.Show(Tick);
        ReportStop(Tick, Context);
        iInterval = Tick.iNextIntervalMs;
    }
    Run.End();
    Progress.Finish();
    if (InterruptRequested()) {
        Context.Err << kProgramName << " " << kCommand << ": interrupted; the send was ended\n";
        return kInterruptedStatus;
    }
    return Run.AllSongsDone() ? kExitSuccess : kExitFailure;
}

// Devices first: a wrong device name should not cost a conversion.
int ChooseDevicesAndSend(const tSendOptions& Options, tCliContext& Context) {
    cMIDIPort Ports;
    const tDeviceChoice Out = ChooseOutDevice(Ports, Options.OutDevice);
    const tDeviceChoice In = ChooseInDevice(Ports, Options.InDevice);
    if (!Out.Error.empty() || !In.Error.empty()) {
        return UsageError(Context.Err, kCommand, Out.Error.empty() ? In.Error : Out.Error);
    }
    const tPreparedSongs Songs = PrepareSongs(Options.Files, Options.bDebug, Context.Err);
    if (Songs.X10Paths.empty()) {
        return kExitFailure;
    }
    const int iStatus = SendSongs(Options, Songs, Out.iIndex, In.iIndex, Context);
    const bool bDeleted = DeleteX10Files(Songs.X10Paths, Context.Err);
    if (iStatus != kExitSuccess) {
        return iStatus;
    }
    return Songs.bAllPrepared && bDeleted ? kExitSuccess : kExitFailure;
}

}  // namespace

int RunSendCommand(tCliContext& Context) {
    const tParsedArgs Parsed = ParseCommandLine(Context.Args, {{"--out", nullptr, true},
                                                               {"--in", nullptr, true},
                                                               {"--blind", nullptr, false},
                                                               {"--handshake", nullptr, false},
                                                               {"--packet-ms", nullptr, true},
                                                               {"--song-ms", nullptr, true},
                                                               {"--timeout", nullptr, true},
                                                               {"--debug", nullptr, false},
                                                               {"--help", "-h", false}});
    if (!Parsed.Error.empty()) {
        return UsageError(Context.Err, kCommand, Parsed.Error);
    }
    if (Parsed.Has("--help")) {
        PrintSendHelp(Context.Out);
        return kExitSuccess;
    }
    tSendOptions Options;
    const std::string Error = ParseSendOptions(Parsed, Options);
    if (!Error.empty()) {
        return UsageError(Context.Err, kCommand, Error);
    }
    const TransferOptions::tIntervalCheck Interval =
        TransferOptions::CheckPacketInterval(Options.iPacketMs, Options.bBlind);
    if (Interval.szMessage != nullptr) {
        Context.Err << Interval.szMessage << "\n";
        Options.iPacketMs = Interval.iInterval;
    }
    return WithMidiSystem(Context, kCommand,
                          [&] { return ChooseDevicesAndSend(Options, Context); });
}
