#include "cli/CliSendFrontEnd.h"

#include "app/TickWait.h"
#include "app/TransferRun.h"
#include "app/Utf8Path.h"
#include "cli/Interrupt.h"
#include "cli/SongReport.h"
#include "cli/TransferProgress.h"

namespace {

constexpr const char* kCommand = "send";

// The song that stopped the run, the stop's message and why (for a cancel the device's reason),
// then the songs never started.
void ReportStop(const tTransferTick& Tick, const cTransferRun& Run, cTransferProgress& Progress,
                tCliContext& Context) {
    if (Tick.szMessage == nullptr) {
        return;
    }
    Progress.EndLine();
    const std::filesystem::path& Song =
        Run.GetPlan().SongPaths[static_cast<size_t>(Tick.iCurrentSong)];
    Context.Err << kProgramName << " " << kCommand << ": " << PathToUtf8(Song) << ": "
                << Tick.szMessage << "\n";
    for (const std::string& Line : {Tick.Detail, Tick.NotSent}) {
        if (!Line.empty()) {
            Context.Err << "  " << Line << "\n";
        }
    }
}

}  // namespace

bool cCliSendFrontEnd::SendClashingSongs(const std::vector<tNameClash>& Clashes) {
    if (!AllowSameName) {
        UsageError(Context.Err, kCommand,
                   DescribeNameClashes(Clashes) +
                       "and would overwrite each other there; rename them, or give "
                       "'--allow-same-name' to send them anyway");
    }
    return AllowSameName;
}

bool cCliSendFrontEnd::StopRequested() {
    return InterruptRequested();
}

void cCliSendFrontEnd::ShowPreparedSongs(const tPreparedSongs& Songs) {
    ReportPreparedSongs(Songs, Context.Err);
}

// Ticks the run with a timer of its own: wait the interval it asks for, then tick.
tRunEnding cCliSendFrontEnd::RunTransfer(cTransferRun& Run) {
    cTransferProgress Progress(Context.Out, Context.bOutIsTerminal, Run.GetPlan());
    Progress.Announce();
    int32_t iInterval = Run.Start();
    bool WakeOnInput = false;
    while (iInterval >= 0) {
        WaitForNextTick(iInterval, WakeOnInput, Run, InterruptRequested);
        if (InterruptRequested()) {
            break;
        }
        const tTransferTick Tick = Run.Tick();
        Progress.Show(Tick);
        ReportStop(Tick, Run, Progress, Context);
        iInterval = Tick.iNextIntervalMs;
        WakeOnInput = Tick.WakeOnInput;
    }
    Run.End();
    Progress.EndLine();
    if (!InterruptRequested()) {
        return RUN_ENDED;
    }
    Context.Err << kProgramName << " " << kCommand << ": interrupted; the send was ended\n";
    const std::string NotSent = NotSentText(Run.UnsentSongs(true));
    if (!NotSent.empty()) {
        Context.Err << "  " << NotSent << "\n";
    }
    return RUN_ABORTED;
}

void cCliSendFrontEnd::ShowUndeleted(const std::vector<tUndeletedFile>& Files) {
    ReportUndeleted(Files, Context.Err);
}
