#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/TransferPlan.h"
#include "transfer/X10State.h"

class X10FileTransfer;

// "not sent: c.mid, d.mid" for the songs given, as the plan names them; empty for none.
std::string NotSentText(const std::vector<std::filesystem::path>& Songs);

// What one tick asks of the window (or terminal) that shows the transfer. Texts are UTF-8.
struct tTransferTick {
    tX10State eState = X10_PORT_CLOSED;  // the state the step left
    int32_t iCurrentSong = 0;            // index into the plan
    std::string CurrentFileLabel;        // the source path from its last separator on
    std::string StateText;               // kept from the tick before where a state has none
    std::string HandShakeText;           // the cancel reason after a cancel
    bool bPortTextChanged = false;       // the monitor's text is to be replaced by PortText
    std::string PortText;
    bool bFileBarRangeChanged = false;  // the file bar runs 0 .. iFileBarMaximum
    int32_t iFileBarMaximum = 100;
    bool bFileBarValueChanged = false;
    int32_t iFileBarValue = 0;
    bool bOverallValueChanged = false;  // the overall bar runs 0 .. 100 x songs
    int32_t iOverallValue = 0;
    const char* szMessage = nullptr;  // a stop state's message box, or null
    const char* szCaption = nullptr;  // its caption ("" for none)
    std::string Detail;   // after a send error's message: why, in words; after a cancel, the
                          // device's reason ("the device's reason: ...")
    std::string NotSent;  // after a stop: the songs never started ("not sent: ...")
    int32_t iNextIntervalMs = -1;  // when to tick again; -1: the run has stopped
    // Paced on acknowledgement, a reply is awaited: tick at once when InputWaiting() turns true.
    bool WakeOnInput = false;
};

// The pacing of a transfer, toolkit-free: which song, when to reset for the next one, the two
// intervals, file and overall progress, which states stop the run and what each stop says.
// With handshakes the time between songs is a pause before each further song; blind, it is
// spent after each song's end-of-file message (the last song's too), stepping at the packet
// interval while the device may still cancel, and the next song follows at once.
// Before each song the chosen devices are found again by name (their numbers change when
// devices come and go); a device that is gone, or whose name is now shared, stops the run.
// The host owns the timer: it calls Start, then Tick each time the interval it was given has
// passed (never two at once), and End when the user ends the send (OK, Abort, close). Paced on
// acknowledgement, the MIDI input wakes TransferWaker() between Start and End; a host that is
// woken while the tick asks for it ticks at once if input is waiting, and otherwise waits on:
// the silent steps that count toward the time-out still come one interval apart.
class cTransferRun {
  public:
    cTransferRun(X10FileTransfer& Transfer, tTransferPlan Plan);

    // Hands the transfer object the devices, the time-out and the options and resets it;
    // returns the first interval in ms.
    int32_t Start();
    tTransferTick Tick();
    // Ends the send: closes the ports and the file. No step runs afterwards.
    void End();
    bool InputWaiting() const;

    int32_t OverallMaximum() const;
    const tTransferPlan& GetPlan() const { return Plan; }
    const tTransferSettings& Settings() const { return Plan.Settings; }
    bool IsRunning() const { return Running; }
    // Every song sent to the end (the last state was X10_DONE for the last song).
    bool AllSongsDone() const { return AllDone; }
    int32_t SongCount() const { return static_cast<int32_t>(Plan.X10Paths.size()); }
    // The songs of the plan that did not reach the device: those after the current song, and
    // with bWithCurrent the current one too unless it was sent whole.
    std::vector<std::filesystem::path> UnsentSongs(bool bWithCurrent) const;

  private:
    int32_t NextSongFrom(int32_t iSong) const;
    void ShowProgress(tTransferTick& Tick);
    void ReportStop(tTransferTick& Tick);
    std::string SendErrorDetail() const;
    bool FindDevicesAgain(tTransferTick& Tick);
    tTransferTick WithLastTexts(tTransferTick Tick) const;
    void ScheduleNext(tTransferTick& Tick);

    X10FileTransfer& Transfer;
    tTransferPlan Plan;
    int32_t iCurrentSong = 0;
    int32_t iTotalPackets = 0;
    int32_t iPacketsSent = 0;
    int32_t FileBarMaximum = 100;
    bool Running = false;
    bool AllDone = false;
    char StateTextBuffer[128] = {};
    char HandShakeTextBuffer[64] = {};
    char PortTextBuffer[1024] = {};
};
