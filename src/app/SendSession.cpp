#include "app/SendSession.h"

#include "app/TransferRun.h"
#include "app/WorkFolder.h"
#include "transfer/X10FileTransfer.h"

namespace {

// The converted files go however the run ended, unless the request keeps them for inspection
// after a run the user did not end with OK.
bool KeepsFiles(const tSendRequest& Request, tRunEnding eEnding) {
    return Request.bKeepFilesUnlessEnded && eEnding != RUN_ENDED;
}

bool DeleteAndShow(const tPreparedSongs& Songs, iSendFrontEnd& FrontEnd) {
    const std::vector<tUndeletedFile> Undeleted = DeleteConvertedFiles(Songs.X10Paths());
    if (!Undeleted.empty()) {
        FrontEnd.ShowUndeleted(Undeleted);
    }
    return Undeleted.empty();
}

}  // namespace

X10FileTransfer& ProgramTransfer() {
    return x10fer;
}

void EndProgramTransfer() {
    x10fer.EndX10Send();
}

tSendOutcome RunSendSession(const tSendRequest& Request, iSendFrontEnd& FrontEnd) {
    return RunSendSession(Request, FrontEnd, ProgramTransfer());
}

tSendOutcome RunSendSession(const tSendRequest& Request, iSendFrontEnd& FrontEnd,
                            X10FileTransfer& Transfer) {
    tSendOutcome Outcome;
    const std::vector<tNameClash> Clashes = FindNameClashes(Request.Songs);
    if (!Clashes.empty() && !FrontEnd.SendClashingSongs(Clashes)) {
        Outcome.eStage = SEND_CLASH_REFUSED;
        return Outcome;
    }
    const tPreparedSongs Songs = PrepareSongs(
        Request.Songs, {Request.Settings.bDebugEnabled, Request.bMergeTracks, UserWorkFolder()},
        [&FrontEnd] { return FrontEnd.StopRequested(); });
    if (Songs.bStopped) {
        Outcome.eStage = SEND_STOPPED;
        Outcome.bAllDeleted = DeleteAndShow(Songs, FrontEnd);
        return Outcome;
    }
    FrontEnd.ShowPreparedSongs(Songs);
    Outcome.bAllConverted = Songs.AllConverted();
    if (!Songs.AnyConverted()) {
        Outcome.eStage = SEND_NOTHING_TO_SEND;
        return Outcome;
    }
    cTransferRun Run(Transfer, MakeTransferPlan(Request.Settings, Songs, Request.Devices));
    Outcome.eEnding = FrontEnd.RunTransfer(Run);
    Outcome.bAllSent = Run.AllSongsDone();
    if (!KeepsFiles(Request, Outcome.eEnding)) {
        Outcome.bAllDeleted = DeleteAndShow(Songs, FrontEnd);
    }
    return Outcome;
}
