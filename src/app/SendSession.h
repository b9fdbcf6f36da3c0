#pragma once

#include <filesystem>
#include <vector>

#include "app/ConvertedFiles.h"
#include "app/SongNameClash.h"
#include "app/SongPreparation.h"
#include "app/TransferPlan.h"

class cTransferRun;
class X10FileTransfer;

// How a front end's run of the transfer ended.
enum tRunEnding {
    RUN_ENDED,    // it ran to its end (every song sent, or a stop state), or the user ended
                  // it with OK: the converted files go
    RUN_ABORTED,  // the user aborted it (Abort, Ctrl-C)
    RUN_CLOSED,   // the user closed it another way (the progress dialog's close box)
};

// What a front end does for a send session: it asks the user, shows what happened and runs the
// transfer with a timer of its own. The session decides the rest.
class iSendFrontEnd {
  public:
    virtual ~iSendFrontEnd() = default;

    // Songs that would overwrite each other on the device: send them anyway?
    virtual bool SendClashingSongs(const std::vector<tNameClash>& Clashes) = 0;
    // Asked before each song is prepared: the user wants the send ended now.
    virtual bool StopRequested() = 0;
    // What became of the songs on their way (refused, not converted, converted with a warning).
    virtual void ShowPreparedSongs(const tPreparedSongs& Songs) = 0;
    // Runs the transfer to its end, ticking Run as it asks (Start, Tick at the intervals it
    // gives, End), and says how it ended.
    virtual tRunEnding RunTransfer(cTransferRun& Run) = 0;
    // Converted files that stayed on disk, with the system's reason.
    virtual void ShowUndeleted(const std::vector<tUndeletedFile>& Files) = 0;
};

// What to send: the songs in order, how to prepare them, the settings, and the devices as the
// user saw them when choosing.
struct tSendRequest {
    std::vector<std::filesystem::path> Songs;
    tTransferSettings Settings;
    bool bMergeTracks = false;
    tDeviceLists Devices;
    // With debug on, a run the user ended by Abort or closing keeps its converted files for
    // inspection (the window's rule); false: they go whatever the ending.
    bool bKeepFilesUnlessEnded = false;
};

// How far a session came.
enum tSendStage {
    SEND_CLASH_REFUSED,  // songs would overwrite each other, and the user said no
    SEND_STOPPED,        // the user ended it while the songs were prepared: nothing was sent
    SEND_NOTHING_TO_SEND,
    SEND_RAN,
};

struct tSendOutcome {
    tSendStage eStage = SEND_RAN;
    tRunEnding eEnding = RUN_ENDED;
    bool bAllSent = false;       // every song was sent whole
    bool bAllConverted = false;  // every song reached the transfer
    bool bAllDeleted = true;     // no converted file stayed behind against the rules
};

// One send, as both front ends run it: name clashes, preparing the songs, reporting them, the
// plan, the run, and deleting the converted files.
tSendOutcome RunSendSession(const tSendRequest& Request, iSendFrontEnd& FrontEnd);
// The same on another transfer object than the program's (tests).
tSendOutcome RunSendSession(const tSendRequest& Request, iSendFrontEnd& FrontEnd,
                            X10FileTransfer& Transfer);

// The program's one transfer object, for the front ends that show its runs.
X10FileTransfer& ProgramTransfer();
// Closes what the program's transfer object still holds open (ports, song file), before the
// MIDI system goes away at the program's end.
void EndProgramTransfer();
