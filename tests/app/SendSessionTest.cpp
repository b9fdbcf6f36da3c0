#include <gtest/gtest.h>

#include "ScopedWorkFolder.h"
#include "TestSongs.h"
#include "app/SendSession.h"
#include "app/TransferRun.h"
#include "transfer/X10FileTransfer.h"

namespace {

// A front end that answers as told and records what it was shown; its run ends at once with the
// ending given, sending nothing.
class cScriptedFrontEnd final : public iSendFrontEnd {
  public:
    bool SendClashing = true;
    bool Stop = false;
    tRunEnding Ending = RUN_ENDED;
    std::vector<std::string> Seen;

    bool SendClashingSongs(const std::vector<tNameClash>&) override {
        Seen.push_back("clash");
        return SendClashing;
    }
    bool StopRequested() override { return Stop; }
    void ShowPreparedSongs(const tPreparedSongs& Songs) override {
        Seen.push_back("prepared " + std::to_string(Songs.Songs.size()));
    }
    tRunEnding RunTransfer(cTransferRun& Run) override {
        Seen.push_back("run " + std::to_string(Run.SongCount()));
        return Ending;
    }
    void ShowUndeleted(const std::vector<tUndeletedFile>& Files) override {
        Seen.push_back("undeleted " + std::to_string(Files.size()));
    }
};

}  // namespace

// The session's order and its clean-up: the converted files go unless the request keeps them
// after a run the user did not end with OK.
TEST(SendSession,
     runs_clash_preparation_run_and_clean_up_in_order_and_keeps_files_only_when_asked) {
    struct tCase {
        const char* szWhat;
        bool bClash, bSendClashing, bStop, bNotMidi, bKeep;
        tRunEnding eEnding;
        tSendStage eStage;
        std::vector<std::string> Seen;
        size_t uiFilesLeft;
    };
    // clang-format off
    const tCase aCases[] = {
        // what; clash, send clashing, stop, not MIDI, keep; ending, stage, seen, files left
        {"a plain run",
         false, true, false, false, false, RUN_ENDED, SEND_RAN, {"prepared 2", "run 2"}, 0},
        {"clashing songs sent anyway",
         true, true, false, false, false, RUN_ENDED, SEND_RAN, {"clash", "prepared 2", "run 2"}, 0},
        {"clashing songs refused",
         true, false, false, false, false, RUN_ENDED, SEND_CLASH_REFUSED, {"clash"}, 0},
        {"stopped while preparing",
         false, true, true, false, false, RUN_ENDED, SEND_STOPPED, {}, 0},
        {"nothing converts",
         false, true, false, true, false, RUN_ENDED, SEND_NOTHING_TO_SEND, {"prepared 2"}, 0},
        {"aborted, files kept for inspection",
         false, true, false, false, true, RUN_ABORTED, SEND_RAN, {"prepared 2", "run 2"}, 2},
        {"ended with OK, though kept otherwise",
         false, true, false, false, true, RUN_ENDED, SEND_RAN, {"prepared 2", "run 2"}, 0},
        {"closed, files not kept",
         false, true, false, false, false, RUN_CLOSED, SEND_RAN, {"prepared 2", "run 2"}, 0},
    };
    // clang-format on
    for (const tCase& Case : aCases) {
        SCOPED_TRACE(Case.szWhat);
        TempDir Folder;
        cScopedWorkFolder Work;
        const auto Make =
            Case.bNotMidi ? TestSongs::NotMidi : [](const TempDir& F, const std::string& Name) {
                return TestSongs::Format0(F, Name);
            };
        tSendRequest Request;
        Request.Songs = {Make(Folder, "a.mid"),
                         Make(Folder, Case.bClash ? "a.take2.mid" : "b.mid")};
        Request.bKeepFilesUnlessEnded = Case.bKeep;
        cScriptedFrontEnd FrontEnd;
        FrontEnd.SendClashing = Case.bSendClashing;
        FrontEnd.Stop = Case.bStop;
        FrontEnd.Ending = Case.eEnding;
        X10FileTransfer Transfer;
        const tSendOutcome Outcome = RunSendSession(Request, FrontEnd, Transfer);
        EXPECT_EQ(Outcome.eStage, Case.eStage);
        EXPECT_EQ(FrontEnd.Seen, Case.Seen);
        EXPECT_EQ(Work.Files(), Case.uiFilesLeft);
        EXPECT_FALSE(Outcome.bAllSent);  // this front end sends nothing
    }
}
