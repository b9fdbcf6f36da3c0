#include "app/TransferRun.h"

#include <cmath>
#include <utility>

#include "app/AppTexts.h"
#include "app/DeviceMatch.h"
#include "app/TransferEstimate.h"
#include "app/TransferWaker.h"
#include "midi/DeviceList.h"
#include "midi/MidiErrorText.h"
#include "transfer/StatusTexts.h"
#include "transfer/X10FileTransfer.h"

namespace {

int32_t TimerInterval(int32_t iMilliseconds) {
    return iMilliseconds < 1 ? 1 : iMilliseconds;
}

// The source path from its last separator on, the separator included: "/song.mid".
std::string FileLabel(const std::filesystem::path& SongPath) {
    const std::u8string Utf8 = SongPath.u8string();
    const std::string Path(Utf8.begin(), Utf8.end());
    const size_t uiSeparator = Path.find_last_of("/\\");
    return uiSeparator == std::string::npos ? Path : Path.substr(uiSeparator);
}

struct tFoundDevice {
    int32_t iIndex = -1;
    std::string Problem;  // empty when found
};

// Where the device chosen as iChosen under Name is now; with no name the number stands.
tFoundDevice FindAgain(const std::string& Kind, const std::string& Name, int32_t iChosen,
                       const std::vector<std::string>& Names) {
    if (Name.empty()) {
        return {iChosen, {}};
    }
    const tDeviceLookup Lookup = FindDeviceByName(Names, Name);
    if (Lookup.iIndex < 0 || Lookup.bShared) {
        return {-1, "The MIDI " + Kind + " device \"" + Name + "\" " +
                        (Lookup.bShared ? AppTexts::kDeviceShared : AppTexts::kDeviceGone)};
    }
    return {Lookup.iIndex, {}};
}

// What each stop state says, and under which caption.
struct tStopMessage {
    tX10State eState;
    const char* szMessage;
    const char* szCaption;
};
constexpr tStopMessage kStopMessages[] = {
    {X10_CANCELLED, AppTexts::kCancelled, AppTexts::kErrorCaption},
    {X10_ERROR, AppTexts::kSendError, AppTexts::kErrorCaption},
    {X10_MISMATCH, AppTexts::kMismatch, AppTexts::kNoCaption},
    {X10_TIMED_OUT, AppTexts::kTimedOut, AppTexts::kErrorCaption},
};

// The device's EOF came before it had the whole song.
std::string EndedEarlyText(const tX10Failure& Failure) {
    const std::string Total = std::to_string(Failure.iDataPackets);
    if (Failure.iEndedAfterPacket == 0) {
        return std::string(AppTexts::kDeviceEndedFile) + " at its header, before any of its " +
               Total + " data packets";
    }
    return std::string(AppTexts::kDeviceEndedFile) + " after packet " +
           std::to_string(Failure.iEndedAfterPacket) + " of " + Total;
}

}  // namespace

cTransferRun::cTransferRun(X10FileTransfer& Transfer, tTransferPlan Plan)
    : Transfer(Transfer), Plan(std::move(Plan)) {
    this->Plan.SongPaths.resize(this->Plan.X10Paths.size());
}

int32_t cTransferRun::OverallMaximum() const {
    return SongCount() * 100;
}

int32_t cTransferRun::NextSongFrom(int32_t iSong) const {
    while (iSong < SongCount() && Plan.X10Paths[static_cast<size_t>(iSong)].empty()) {
        ++iSong;  // a song that did not convert
    }
    return iSong;
}

int32_t cTransferRun::Start() {
    const tTransferSettings& Settings = Plan.Settings;
    iPacketsSent = 0;
    Transfer.SetMidiInPort(Settings.iSelectedInPort);
    Transfer.SetMidiOutPort(Settings.iSelectedOutPort);
    Transfer.SetTimeout(Settings.iTimeOut);
    Transfer.SetListenSteps(BlindListenSteps(Settings));
    Transfer.ResetStateMachine();
    Transfer.bBlindTransfer = Settings.bBlindTransfer;
    Transfer.AckPaced = PacedOnAcknowledgement(Settings);
    WakeTransferOnInput(Transfer.AckPaced);
    Transfer.uiMidiInBlockSize = Settings.uiMidiInBlockSize;
    Transfer.uiMidiInNumberOfBuffers = Settings.uiMidiInNumberOfBuffers;
    iCurrentSong = NextSongFrom(0);
    Running = iCurrentSong < SongCount();
    return Running ? TimerInterval(Settings.iTimeBetweenPackets) : -1;
}

void cTransferRun::End() {
    Running = false;
    WakeTransferOnInput(false);
    Transfer.EndX10Send();
}

bool cTransferRun::InputWaiting() const {
    return Transfer.InputWaiting();
}

void cTransferRun::ShowProgress(tTransferTick& Tick) {
    if (iPacketsSent == 0 && iTotalPackets > 0) {
        FileBarMaximum = iTotalPackets;
        Tick.bFileBarRangeChanged = true;
        Tick.iFileBarMaximum = FileBarMaximum;
    }
    if (iPacketsSent >= iTotalPackets) {
        return;
    }
    if (iPacketsSent <= FileBarMaximum) {
        Tick.bFileBarValueChanged = true;
        Tick.iFileBarValue = iPacketsSent;
    }
    // Rounded to nearest, halves to the even neighbour (the default rounding mode).
    const double dOverall = iCurrentSong * 100.0 + static_cast<double>(iPacketsSent) /
                                                       static_cast<double>(iTotalPackets) * 100.0;
    const auto iOverall = static_cast<int32_t>(std::nearbyint(dOverall));
    if (iOverall <= OverallMaximum()) {
        Tick.bOverallValueChanged = true;
        Tick.iOverallValue = iOverall;
    }
}

void cTransferRun::ReportStop(tTransferTick& Tick) {
    for (const tStopMessage& Stop : kStopMessages) {
        if (Stop.eState == Tick.eState) {
            Tick.szMessage = Stop.szMessage;
            Tick.szCaption = Stop.szCaption;
        }
    }
    if (Tick.eState == X10_CANCELLED) {
        Transfer.GetCancelReason(HandShakeTextBuffer, sizeof HandShakeTextBuffer);
        Tick.Detail = AppTexts::kDeviceReason + StatusTexts::ToUtf8(HandShakeTextBuffer);
    } else if (Tick.eState == X10_ERROR) {
        Tick.Detail = SendErrorDetail();
    }
    if (Tick.szMessage != nullptr) {
        Tick.NotSent = NotSentText(UnsentSongs(false));
    }
}

std::vector<std::filesystem::path> cTransferRun::UnsentSongs(bool bWithCurrent) const {
    std::vector<std::filesystem::path> Songs;
    int32_t iSent = 0;
    int32_t iTotal = 0;
    const bool bCurrentSent = Transfer.GetX10State(&iSent, &iTotal) == X10_DONE;
    const int32_t iFirst = bWithCurrent && !bCurrentSent ? iCurrentSong : iCurrentSong + 1;
    for (int32_t iSong = NextSongFrom(iFirst); iSong < SongCount();
         iSong = NextSongFrom(iSong + 1)) {
        Songs.push_back(Plan.SongPaths[static_cast<size_t>(iSong)]);
    }
    return Songs;
}

std::string NotSentText(const std::vector<std::filesystem::path>& Songs) {
    std::string Text;
    for (const std::filesystem::path& Song : Songs) {
        const std::u8string Utf8 = Song.u8string();
        Text += (Text.empty() ? AppTexts::kNotSent : ", ") + std::string(Utf8.begin(), Utf8.end());
    }
    return Text;
}

std::string cTransferRun::SendErrorDetail() const {
    const tX10Failure& Failure = Transfer.GetFailure();
    if (Failure.bEndedEarly) {
        return EndedEarlyText(Failure);
    }
    if (Failure.eResult == MMSYSERR_NOERROR) {
        const std::u8string Path = Plan.X10Paths[static_cast<size_t>(iCurrentSong)].u8string();
        const std::string& Problem = Failure.FileProblem;
        return std::string(AppTexts::kSongFileUnreadable) + ": " +
               std::string(Path.begin(), Path.end()) +
               (Problem.empty() ? "" : " (" + Problem + ")");
    }
    return DescribeMidiFailure(
        Failure.bOutputPort ? AppTexts::kOutputDeviceFailed : AppTexts::kInputDeviceFailed,
        Failure.eResult, Failure.bOutputPort);
}

bool cTransferRun::FindDevicesAgain(tTransferTick& Tick) {
    const tTransferSettings& Settings = Plan.Settings;
    const tFoundDevice Out =
        FindAgain("output", Plan.OutDeviceName, Settings.iSelectedOutPort,
                  Plan.OutDeviceName.empty() ? std::vector<std::string>{} : MidiOutDeviceNames());
    const tFoundDevice In =
        FindAgain("input", Plan.InDeviceName, Settings.iSelectedInPort,
                  Plan.InDeviceName.empty() ? std::vector<std::string>{} : MidiInDeviceNames());
    if (Out.Problem.empty() && In.Problem.empty()) {
        Transfer.SetMidiOutPort(Out.iIndex);
        Transfer.SetMidiInPort(In.iIndex);
        return true;
    }
    Tick.eState = X10_ERROR;
    ReportStop(Tick);
    Tick.Detail = Out.Problem.empty() ? In.Problem : Out.Problem;
    Running = false;
    return false;
}

void cTransferRun::ScheduleNext(tTransferTick& Tick) {
    const int32_t iNextSong = NextSongFrom(iCurrentSong + 1);
    if (Tick.eState == X10_DONE && iNextSong < SongCount()) {
        Transfer.ResetStateMachine();
        iCurrentSong = iNextSong;
        Tick.bOverallValueChanged = true;
        Tick.iOverallValue = iCurrentSong * 100;
        Tick.iNextIntervalMs =
            TimerInterval(Plan.Settings.bBlindTransfer ? Plan.Settings.iTimeBetweenPackets
                                                       : Plan.Settings.iTimeBetweenSongs);
        return;
    }
    if (!IsStopState(Tick.eState)) {
        Tick.iNextIntervalMs = TimerInterval(Plan.Settings.iTimeBetweenPackets);
        Tick.WakeOnInput =
            Transfer.AckPaced && (Tick.eState == X10_WAIT_ACK || Tick.eState == X10_WAIT_TIMEOUT);
        return;
    }
    Running = false;
    if (Tick.eState == X10_DONE) {
        AllDone = true;
        Tick.bOverallValueChanged = true;
        Tick.iOverallValue = OverallMaximum();
    }
}

tTransferTick cTransferRun::WithLastTexts(tTransferTick Tick) const {
    Tick.StateText = StatusTexts::ToUtf8(StateTextBuffer);
    Tick.HandShakeText = StatusTexts::ToUtf8(HandShakeTextBuffer);
    return Tick;
}

tTransferTick cTransferRun::Tick() {
    tTransferTick Tick;
    Tick.iCurrentSong = iCurrentSong;
    int32_t iSent = 0;
    int32_t iTotal = 0;
    Tick.eState = Transfer.GetX10State(&iSent, &iTotal);
    if (!Running) {
        return WithLastTexts(Tick);
    }
    const auto uiSong = static_cast<size_t>(iCurrentSong);
    if (Plan.Settings.bMidiInMonitor && Transfer.GetIsDataToView()) {
        Transfer.GetPortText(PortTextBuffer, sizeof PortTextBuffer);
        Tick.bPortTextChanged = true;
        Tick.PortText = StatusTexts::ToUtf8(PortTextBuffer);
    }
    Tick.CurrentFileLabel = FileLabel(Plan.SongPaths[uiSong]);
    if (Tick.eState == X10_PORT_CLOSED) {
        if (!FindDevicesAgain(Tick)) {
            return WithLastTexts(Tick);
        }
        Transfer.SetX10FilePath(Plan.X10Paths[uiSong]);
        Transfer.SetFileName(Plan.SongPaths[uiSong]);
    }
    iTotalPackets = iTotal;
    iPacketsSent = iSent;
    ShowProgress(Tick);

    Transfer.X10StateMachine();
    Transfer.GetHandShakeText(HandShakeTextBuffer, sizeof HandShakeTextBuffer);
    Tick.eState = Transfer.GetX10State(&iSent, &iTotal);
    Transfer.GetStateText(StateTextBuffer, sizeof StateTextBuffer);
    ReportStop(Tick);
    Tick.StateText = StatusTexts::ToUtf8(StateTextBuffer);
    Tick.HandShakeText = StatusTexts::ToUtf8(HandShakeTextBuffer);
    ScheduleNext(Tick);
    return Tick;
}
