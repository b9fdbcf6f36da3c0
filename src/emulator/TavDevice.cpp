#include "emulator/TavDevice.h"

#include <utility>

#include "emulator/HexText.h"
#include "emulator/SevenBitGroups.h"
#include "emulator/StormReplies.h"

namespace {

constexpr const char* kMidiType = "MIDI";

std::string BytesSoFar(const cReceivedFile& File) {
    return std::to_string(File.GetBytes().size()) + " of " +
           std::to_string(File.GetDeclaredBytes()) + " bytes";
}

// The encoded bytes as file bytes, or the fault that keeps them from being that: the count
// byte must match their number, and they must form whole groups.
tDecodedBytes DecodePacket(const tDataPacketFields& Packet) {
    const size_t uiEncoded = Packet.Encoded.size();
    if (Packet.CountByte != ((uiEncoded - 1) & 0x7F)) {
        tDecodedBytes Result;
        Result.Fault = "count byte 0x" + Hex2(Packet.CountByte) + " does not match " +
                       std::to_string(uiEncoded) + " encoded bytes";
        return Result;
    }
    return DecodeSevenBitGroups(Packet.Encoded);
}

// The packet number that the message carries: 0 for a header.
uint8_t MessageNumber(const tIncomingMessage& In) {
    if (In.Kind == MSG_DATA_PACKET) {
        return In.Packet.Number;
    }
    return In.Kind == MSG_END_OF_FILE ? In.EofNumber : 0;
}

cFaultStorm StormOf(const tTavDeviceOptions& Options) {
    return Options.StormRate == 0 ? cFaultStorm()
                                  : cFaultStorm(Options.StormSeed, Options.StormRate);
}

std::string CommandLine(const tDeviceCommand& Command) {
    return std::string("command: ") + (Command.Unlock ? "unlock" : "lock") + " default songs (" +
           (Command.SecondHalf ? "2" : "1") + " of 2)";
}

}  // namespace

cTavDevice::cTavDevice(tTavDeviceOptions Options) : cTavDevice(Options, StormOf(Options)) {}

cTavDevice::cTavDevice(tTavDeviceOptions Options, cFaultStorm Storm)
    : Options(std::move(Options)), Store(this->Options.StoreFolder), Storm(std::move(Storm)) {}

tDeviceResponse cTavDevice::ReceiveMessage(const uint8_t* pucMessage, size_t uiLength) {
    tDeviceResponse Response;
    const std::span<const uint8_t> Message(pucMessage, pucMessage == nullptr ? 0 : uiLength);
    const tIncomingMessage In = ParseIncomingMessage(Message);
    StormFault = StormFaultFor(In);
    StormActed = false;
    EndedLine.reset();
    if (StormFault && StormFault->Kind == FAULT_LOST) {
        StormActed = true;  // as if the cable dropped it: the device never sees it
    } else {
        Dispatch(In, Message, Response);
        if (StormFault && !StormActed) {
            StormActed =
                ShapeReplies(*StormFault, MessageNumber(In), Options.DeviceByte, Response.Replies);
        }
    }
    if (StormActed) {
        NoteStormFault(In.Kind, Response);
    }
    StormFault.reset();
    return Response;
}

void cTavDevice::Dispatch(const tIncomingMessage& In, std::span<const uint8_t> Message,
                          tDeviceResponse& Response) {
    switch (In.Kind) {
        case MSG_FILE_HEADER:
            OnHeader(In, Message, Response);
            break;
        case MSG_DATA_PACKET:
            OnDataPacket(In, Message, Response);
            break;
        case MSG_END_OF_FILE:
            OnEndOfFile(In, Response);
            break;
        case MSG_DEVICE_COMMAND:
            OnDeviceCommand(In, Response);
            break;
        case MSG_FOREIGN:
            Response.ReportLines.push_back("ignored: " + In.Fault);
            break;
    }
}

std::optional<tStormFault> cTavDevice::StormFaultFor(const tIncomingMessage& In) {
    const bool bSpared = std::exchange(SpareNext, false);
    if (bSpared || !Storm.IsOn() || !IsAnswered(In) || OptionsActOn(In)) {
        return std::nullopt;
    }
    return Storm.Next();
}

// An end-of-file message is answered only under --ack-eof; nothing outside a file is answered
// but a header.
bool cTavDevice::IsAnswered(const tIncomingMessage& In) const {
    if (Options.bBlind) {
        return false;
    }
    switch (In.Kind) {
        case MSG_FILE_HEADER:
            return true;
        case MSG_DATA_PACKET:
            return CurrentFile.has_value();
        case MSG_END_OF_FILE:
            return Options.bAckEof && CurrentFile.has_value();
        default:
            return false;
    }
}

// Whether a fault option is about to act on the message: it then gets no storm fault.
bool cTavDevice::OptionsActOn(const tIncomingMessage& In) const {
    if (Options.DropReplyEvery != 0 && (RepliesDecided + 1) % Options.DropReplyEvery == 0) {
        return true;
    }
    if (In.Kind != MSG_FILE_HEADER && In.Kind != MSG_DATA_PACKET) {
        return false;
    }
    const uint32_t uiIndex = In.Kind == MSG_FILE_HEADER ? 0 : CurrentFile->NextPacketIndex();
    const auto iIndex = static_cast<int64_t>(uiIndex);
    return iIndex == Options.iCancelAt || iIndex == Options.EofAt || iIndex == Options.iWaitAt ||
           (Options.uiNakEvery != 0 && uiIndex != 0 && uiIndex % Options.uiNakEvery == 0);
}

// True, and marked acted out, when the storm's fault for the message in hand is of this kind.
bool cTavDevice::StormActs(tFaultKind eKind) {
    if (!StormFault || StormFault->Kind != eKind) {
        return false;
    }
    StormActed = true;
    return true;
}

// The fault counts in all, and on the message's own file: the one still open, or the one the
// message ended, whose line is then made again. A lost header has no file of its own.
void cTavDevice::NoteStormFault(tMessageKind eMessage, tDeviceResponse& Response) {
    const tFaultKind eKind = StormFault->Kind;
    FaultTotals.Add(eKind);
    SpareNext = eKind == FAULT_NAK;
    if (eKind == FAULT_LOST && eMessage == MSG_FILE_HEADER) {
        return;
    }
    if (CurrentFile) {
        CurrentFile->AddFault(eKind);
    } else if (EndedLine) {
        FileReports.back().Faults.Add(eKind);
        Response.ReportLines[*EndedLine] = FormatFileReport(FileReports.back());
    }
}

tDeviceResponse cTavDevice::SwitchOff() {
    tDeviceResponse Response;
    if (CurrentFile) {
        EndFile(false, "cut short when the emulator stopped, after " + BytesSoFar(*CurrentFile),
                Response);
    }
    Discarding = false;
    if (Storm.IsOn()) {
        const std::string Faults = FaultTotals.Text();
        Response.ReportLines.push_back("faults acted out: " + (Faults.empty() ? "none" : Faults));
    }
    if (WireLostBytes != 0) {
        Response.ReportLines.push_back("wire lost " + std::to_string(WireLostBytes) +
                                       " bytes in all");
    }
    return Response;
}

void cTavDevice::NoteWireLoss(uint32_t uiBytes) {
    WireLostBytes += uiBytes;
    if (CurrentFile) {
        CurrentFile->AddWireLoss(uiBytes);
    }
}

void cTavDevice::OnHeader(const tIncomingMessage& In, std::span<const uint8_t> Message,
                          tDeviceResponse& Response) {
    if (CurrentFile && CurrentFile->TakeHeaderAgain(Message)) {
        TakeHeader(Message, Response);
        return;
    }
    if (CurrentFile) {
        EndFile(false, "cut short by a new header after " + BytesSoFar(*CurrentFile), Response);
    }
    Discarding = false;
    const tHeaderFields& Header = In.Header;
    if (!In.Fault.empty()) {
        RefuseHeader(Header.Name, CANCEL_NO_MIDI_HEADER, In.Fault, Response);
        return;
    }
    if (Header.Type != kMidiType) {
        RefuseHeader(Header.Name, CANCEL_NO_MIDI_HEADER,
                     "type " + QuotedName(Header.Type) + " is not \"MIDI\"", Response);
        return;
    }
    if (Header.Length == 0) {
        RefuseHeader(Header.Name, CANCEL_NO_MIDI_HEADER, "the header announces a file of 0 bytes",
                     Response);
        return;
    }
    const std::string NameFault = cSongStore::NameFault(Header.Name);
    if (!NameFault.empty()) {
        RefuseHeader(Header.Name, CANCEL_FILE_OPEN_FAILED, NameFault, Response);
        return;
    }
    CurrentFile.emplace(Header.Name, Header.Length);
    TakeHeader(Message, Response);
}

// A header accepted, or its resend after a NAK: the faults decide how it is answered.
void cTavDevice::TakeHeader(std::span<const uint8_t> Message, tDeviceResponse& Response) {
    if (EndsEarly(0, 0, Response)) {
        return;
    }
    if (StormActs(FAULT_NAK)) {
        CurrentFile->ExpectHeaderAgain(Message);
        Reply(HANDSHAKE_NAK, 0, 0, Response);
        return;
    }
    Acknowledge(0, 0, Response);
}

void cTavDevice::OnDataPacket(const tIncomingMessage& In, std::span<const uint8_t> Message,
                              tDeviceResponse& Response) {
    if (!CurrentFile) {
        IgnoreOutsideFile("data packet outside a file: " + HexExcerpt(Message), Response);
        return;
    }
    cReceivedFile& File = *CurrentFile;
    const std::string PacketName = "data packet " + std::to_string(File.NextPacketIndex());
    if (File.AwaitsHeaderAgain()) {
        CancelFile(CANCEL_DATA_ERROR,
                   "out of sequence: " + PacketName + " where the NAKed header was expected again",
                   Response);
        return;
    }
    if (!In.Fault.empty()) {
        CancelFile(CANCEL_DATA_ERROR, "bad " + PacketName + ": " + In.Fault, Response);
        return;
    }
    const tDataPacketFields& Packet = In.Packet;
    const bool bResent = File.TakeResend(Packet.Number);
    if (XorChecksum(Packet.Summed) != Packet.Checksum) {
        File.ExpectResendOf(Packet.Number);
        Reply(HANDSHAKE_NAK, Packet.Number, 0, Response);
        return;
    }
    if (File.TakeDuplicate(Message)) {
        Reply(HANDSHAKE_ACK, Packet.Number, 0, Response);
        return;
    }
    if (Packet.Number != File.NextPacketNumber()) {
        CancelFile(CANCEL_DATA_ERROR,
                   "out of sequence: packet number " + std::to_string(Packet.Number) + " where " +
                       std::to_string(File.NextPacketNumber()) + " was expected",
                   Response);
        return;
    }
    const tDecodedBytes Decoded = DecodePacket(Packet);
    if (!Decoded.Decoded) {
        CancelFile(CANCEL_DATA_ERROR, "bad " + PacketName + ": " + Decoded.Fault, Response);
        return;
    }
    TakeDataPacket(Decoded.Data, Message, Packet.Number, bResent, Response);
}

// A well-formed packet in sequence: the injected faults decide how it is answered. A packet
// that is NAKed on its first arrival is taken when it comes again.
void cTavDevice::TakeDataPacket(std::span<const uint8_t> Decoded, std::span<const uint8_t> Message,
                                uint8_t ucNumber, bool bResent, tDeviceResponse& Response) {
    cReceivedFile& File = *CurrentFile;
    const uint32_t uiIndex = File.NextPacketIndex();
    if (EofTakesLastPacket(uiIndex)) {
        TakeLastPacketWithEof(Decoded, Message, ucNumber, Response);
        return;
    }
    if (EndsEarly(uiIndex, ucNumber, Response)) {
        return;
    }
    if ((Options.uiNakEvery != 0 && uiIndex % Options.uiNakEvery == 0 && !bResent) ||
        StormActs(FAULT_NAK)) {
        File.ExpectResendOf(ucNumber);
        Reply(HANDSHAKE_NAK, ucNumber, 0, Response);
        return;
    }
    if (!File.Append(Decoded, Message)) {
        CancelFile(CANCEL_DATA_ERROR,
                   "too long: data packet " + std::to_string(uiIndex) + " brings " +
                       std::to_string(File.GetBytes().size() + Decoded.size()) +
                       " bytes, but the header announced " +
                       std::to_string(File.GetDeclaredBytes()),
                   Response);
        return;
    }
    Acknowledge(static_cast<int32_t>(uiIndex), ucNumber, Response);
}

void cTavDevice::OnEndOfFile(const tIncomingMessage& In, tDeviceResponse& Response) {
    if (!CurrentFile) {
        IgnoreOutsideFile("end-of-file message outside a file", Response);
        Discarding = false;
        return;
    }
    if (!In.Fault.empty()) {
        EndFile(false, "bad end-of-file message: " + In.Fault, Response);
        return;
    }
    if (Options.bAckEof) {
        if (StormEndsFile("the end-of-file message", false, In.EofNumber, Response)) {
            return;
        }
        if (StormActs(FAULT_NAK)) {  // the file stays open for the message's resend
            Reply(HANDSHAKE_NAK, In.EofNumber, 0, Response);
            return;
        }
        Reply(HANDSHAKE_ACK, In.EofNumber, 0, Response);
    }
    const uint8_t ucExpected = CurrentFile->NextPacketNumber();
    if (In.EofNumber != ucExpected) {
        EndFile(false,
                "end-of-file message numbered " + std::to_string(In.EofNumber) + " where " +
                    std::to_string(ucExpected) + " was expected",
                Response);
        return;
    }
    if (!CurrentFile->IsComplete()) {
        EndFile(false, "short: " + BytesSoFar(*CurrentFile) + " when the end-of-file message came",
                Response);
        return;
    }
    FinishFile(Response);
}

void cTavDevice::OnDeviceCommand(const tIncomingMessage& In, tDeviceResponse& Response) {
    Response.ReportLines.push_back(CommandLine(In.Command));
}

// The rest of a song refused, cancelled or ended early passes without a word; anything else is
// reported.
void cTavDevice::IgnoreOutsideFile(const std::string& What, tDeviceResponse& Response) {
    if (!Discarding) {
        Response.ReportLines.push_back("ignored: " + What);
    }
}

void cTavDevice::RefuseHeader(const std::string& Name, tCancelReason eReason,
                              const std::string& Why, tDeviceResponse& Response) {
    CurrentFile.emplace(Name, 0);
    CancelFile(eReason, "refused: " + Why, Response);
}

// --cancel-at and --eof-at: packet uiIndex (0: the header) ends the file instead of being taken.
bool cTavDevice::EndsEarly(uint32_t uiIndex, uint8_t ucNumber, tDeviceResponse& Response) {
    const std::string Where =
        uiIndex == 0 ? std::string("the header") : "data packet " + std::to_string(uiIndex);
    if (static_cast<int64_t>(uiIndex) == Options.iCancelAt) {
        CancelFile(
            Options.ucCancelReason,
            "cancelled at " + Where + " with reason " + std::to_string(Options.ucCancelReason),
            Response);
        return true;
    }
    if (static_cast<int64_t>(uiIndex) == Options.EofAt) {
        EndFileEarly(HANDSHAKE_EOF, ucNumber, EofVerdict(Where, uiIndex != 0), Response);
        return true;
    }
    return StormEndsFile(Where, uiIndex != 0, ucNumber, Response);
}

// --eof-at or the storm's EOF at the last data packet: with it the device has the whole file, so
// its EOF in place of the ACK says the file is complete (as the sender takes it), and it is
// stored.
bool cTavDevice::EofTakesLastPacket(uint32_t uiIndex) {
    if (uiIndex == 0 || uiIndex != CurrentFile->AnnouncedPackets() ||
        static_cast<int64_t>(uiIndex) == Options.iCancelAt) {
        return false;
    }
    return static_cast<int64_t>(uiIndex) == Options.EofAt || StormActs(FAULT_EOF);
}

void cTavDevice::TakeLastPacketWithEof(std::span<const uint8_t> Decoded,
                                       std::span<const uint8_t> Message, uint8_t ucNumber,
                                       tDeviceResponse& Response) {
    if (!CurrentFile->Append(Decoded, Message) || !CurrentFile->IsComplete()) {
        CancelFile(CANCEL_DATA_ERROR, "the last data packet leaves " + BytesSoFar(*CurrentFile),
                   Response);
        return;
    }
    Reply(HANDSHAKE_EOF, ucNumber, 0, Response);
    FinishFile(Response);
    Discarding = true;  // the sender's own end-of-file message may still come
}

// The storm's CANCEL or EOF in place of the reply: the file ends as with --cancel-at or --eof-at.
bool cTavDevice::StormEndsFile(const std::string& Where, bool bDataPacket, uint8_t ucNumber,
                               tDeviceResponse& Response) {
    if (StormActs(FAULT_CANCEL)) {
        const uint8_t ucReason = StormFault->CancelReason;
        CancelFile(ucReason, "cancelled at " + Where + " with reason " + std::to_string(ucReason),
                   Response);
        return true;
    }
    if (StormActs(FAULT_EOF)) {
        EndFileEarly(HANDSHAKE_EOF, ucNumber, EofVerdict(Where, bDataPacket), Response);
        return true;
    }
    return false;
}

// "ended with EOF at data packet 3 of 22": of the data packets the header's length takes.
std::string cTavDevice::EofVerdict(const std::string& Where, bool bDataPacket) const {
    const std::string Of = std::to_string(CurrentFile->AnnouncedPackets());
    return "ended with EOF at " + Where +
           (bDataPacket ? " of " + Of : " of a file of " + Of + " data packets");
}

void cTavDevice::CancelFile(uint8_t ucReason, const std::string& Verdict,
                            tDeviceResponse& Response) {
    EndFileEarly(HANDSHAKE_CANCEL, ucReason, Verdict, Response);
}

// The file ends unstored with this handshake; the rest of the song passes without a word.
void cTavDevice::EndFileEarly(tHandshake eHandshake, uint8_t ucByte, const std::string& Verdict,
                              tDeviceResponse& Response) {
    Reply(eHandshake, ucByte, 0, Response);
    EndFile(false, Verdict, Response);
    Discarding = true;
}

void cTavDevice::FinishFile(tDeviceResponse& Response) {
    const tStoreResult Stored = Store.Store(CurrentFile->GetName(), CurrentFile->GetBytes());
    if (!Stored.Stored) {
        EndFile(false, "received whole, but not stored: " + Stored.Error, Response);
        return;
    }
    tFileReport Report = CurrentFile->Report(true, kVerdictOk);
    Report.StoredPath = Stored.Path;
    ReportFile(std::move(Report), Response);
}

void cTavDevice::EndFile(bool bOk, const std::string& Verdict, tDeviceResponse& Response) {
    ReportFile(CurrentFile->Report(bOk, Verdict), Response);
}

void cTavDevice::ReportFile(tFileReport Report, tDeviceResponse& Response) {
    EndedLine = Response.ReportLines.size();
    Response.ReportLines.push_back(FormatFileReport(Report));
    FileReports.push_back(std::move(Report));
    CurrentFile.reset();
}

// The header is packet 0 and acknowledged with number 0; data packet k with k AND 0x7F.
void cTavDevice::Acknowledge(int32_t iPacketIndex, uint8_t ucNumber, tDeviceResponse& Response) {
    if (iPacketIndex == Options.iWaitAt) {
        Reply(HANDSHAKE_WAIT, ucNumber, 0, Response);
        Reply(HANDSHAKE_ACK, ucNumber, Options.uiWaitMs, Response);
        return;
    }
    Reply(HANDSHAKE_ACK, ucNumber, 0, Response);
}

void cTavDevice::Reply(tHandshake eHandshake, uint8_t ucNumber, uint32_t uiLaterMs,
                       tDeviceResponse& Response) {
    ++RepliesDecided;
    if (Options.bBlind) {
        return;
    }
    if (Options.DropReplyEvery != 0 && RepliesDecided % Options.DropReplyEvery == 0) {
        return;
    }
    if (eHandshake == HANDSHAKE_ACK && Options.bWrongNumber) {
        ++ucNumber;
    }
    Response.Replies.push_back({MakeHandshake(Options.DeviceByte, eHandshake, ucNumber),
                                Options.uiReplyDelayMs + uiLaterMs});
}
