#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "emulator/FaultStorm.h"
#include "emulator/FaultTally.h"
#include "emulator/FileReport.h"
#include "emulator/Handshake.h"
#include "emulator/IncomingMessage.h"
#include "emulator/ReceivedFile.h"
#include "emulator/SongStore.h"
#include "emulator/TavDeviceOptions.h"

// What the device does about one incoming message: the replies to send, each after its delay,
// and the report lines (one per file ended, device command or ignored message).
struct tDeviceResponse {
    std::vector<tDeviceReply> Replies;
    std::vector<std::string> ReportLines;
};

// A TAV device as seen from its MIDI ports: it receives songs sent as File Dump messages,
// answers each with a generic handshake, stores every song received whole, and recognises the
// default-song commands. It has no clock and no threads: the host delivers each whole incoming
// message from one thread and sends the replies when their delays have passed.
//
// A fault storm, when the options ask for one, strikes only messages that the device answers,
// and never one that a fault option acts on or the resend that follows a storm's NAK. It never
// makes the device store a song that it did not receive whole.
class cTavDevice {
  public:
    explicit cTavDevice(tTavDeviceOptions Options);
    // With the given storm in place of the one the options describe.
    cTavDevice(tTavDeviceOptions Options, cFaultStorm Storm);

    tDeviceResponse ReceiveMessage(const uint8_t* pucMessage, size_t uiLength);
    // Bytes of the messages sent to the device that the wire in front of it lost: they count on
    // the file being received, if any, and in all.
    void NoteWireLoss(uint32_t uiBytes);
    // Ends a file still being received, as when the device is switched off mid-transfer; with a
    // fault storm, a last line tells the faults it acted out, and one the bytes the wire lost.
    tDeviceResponse SwitchOff();

    bool IsReceivingFile() const { return CurrentFile.has_value(); }
    // Every file ended so far, in order, including refused and cut-short ones.
    const std::vector<tFileReport>& GetFileReports() const { return FileReports; }
    // Every fault the storm acted out so far, whether or not on a file.
    const cFaultTally& GetFaultTotals() const { return FaultTotals; }
    std::filesystem::path StoredPathFor(const std::string& Name) const {
        return Store.PathFor(Name);
    }

  private:
    void Dispatch(const tIncomingMessage& In, std::span<const uint8_t> Message,
                  tDeviceResponse& Response);
    std::optional<tStormFault> StormFaultFor(const tIncomingMessage& In);
    bool IsAnswered(const tIncomingMessage& In) const;
    bool OptionsActOn(const tIncomingMessage& In) const;
    bool StormActs(tFaultKind eKind);
    void NoteStormFault(tMessageKind eMessage, tDeviceResponse& Response);

    void OnHeader(const tIncomingMessage& In, std::span<const uint8_t> Message,
                  tDeviceResponse& Response);
    void TakeHeader(std::span<const uint8_t> Message, tDeviceResponse& Response);
    void OnDataPacket(const tIncomingMessage& In, std::span<const uint8_t> Message,
                      tDeviceResponse& Response);
    void TakeDataPacket(std::span<const uint8_t> Decoded, std::span<const uint8_t> Message,
                        uint8_t ucNumber, bool bResent, tDeviceResponse& Response);
    void OnEndOfFile(const tIncomingMessage& In, tDeviceResponse& Response);
    void OnDeviceCommand(const tIncomingMessage& In, tDeviceResponse& Response);

    void IgnoreOutsideFile(const std::string& What, tDeviceResponse& Response);
    void RefuseHeader(const std::string& Name, tCancelReason eReason, const std::string& Why,
                      tDeviceResponse& Response);
    bool EofTakesLastPacket(uint32_t uiIndex);
    void TakeLastPacketWithEof(std::span<const uint8_t> Decoded, std::span<const uint8_t> Message,
                               uint8_t ucNumber, tDeviceResponse& Response);
    bool EndsEarly(uint32_t uiIndex, uint8_t ucNumber, tDeviceResponse& Response);
    bool StormEndsFile(const std::string& Where, bool bDataPacket, uint8_t ucNumber,
                       tDeviceResponse& Response);
    std::string EofVerdict(const std::string& Where, bool bDataPacket) const;
    void CancelFile(uint8_t ucReason, const std::string& Verdict, tDeviceResponse& Response);
    void EndFileEarly(tHandshake eHandshake, uint8_t ucByte, const std::string& Verdict,
                      tDeviceResponse& Response);
    void FinishFile(tDeviceResponse& Response);
    void EndFile(bool bOk, const std::string& Verdict, tDeviceResponse& Response);
    void ReportFile(tFileReport Report, tDeviceResponse& Response);
    void Acknowledge(int32_t iPacketIndex, uint8_t ucNumber, tDeviceResponse& Response);
    void Reply(tHandshake eHandshake, uint8_t ucNumber, uint32_t uiLaterMs,
               tDeviceResponse& Response);

    tTavDeviceOptions Options;
    cSongStore Store;
    std::optional<cReceivedFile> CurrentFile;
    // After a file refused, cancelled or ended with EOF the sender may go on (a blind sender does):
    // its data packets and end-of-file message are dropped without a word until the next header.
    bool Discarding = false;
    uint64_t RepliesDecided = 0;
    std::vector<tFileReport> FileReports;

    uint64_t WireLostBytes = 0;
    cFaultStorm Storm;
    cFaultTally FaultTotals;
    // The storm's fault for the message in hand, and whether it has been acted out yet.
    std::optional<tStormFault> StormFault;
    bool StormActed = false;
    bool SpareNext = false;  // the message after a storm's NAK is its resend, and is taken
    // The line of the file that the message in hand ended, so that its fault can join it.
    std::optional<size_t> EndedLine;
};
