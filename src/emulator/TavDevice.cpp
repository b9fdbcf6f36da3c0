#include "emulator/TavDevice.h"

#include "emulator/HexText.h"
#include "emulator/SevenBitGroups.h"

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
    if (Packet.ucCountByte != ((uiEncoded - 1) & 0x7F)) {
        tDecodedBytes Result;
        Result.Fault = "count byte 0x" + Hex2(Packet.ucCountByte) + " does not match " +
                       std::to_string(uiEncoded) + " encoded bytes";
        return Result;
    }
    return DecodeSevenBitGroups(Packet.Encoded);
}

std::string CommandLine(const tDeviceCommand& Command) {
    return std::string("command: ") + (Command.bUnlock ? "unlock" : "lock") + " default songs (" +
           (Command.bSecondHalf ? "2" : "1") + " of 2)";
}

}  // namespace

cTavDevice::cTavDevice(tTavDeviceOptions Options)
    : Options(std::move(Options)), Store(this->Options.StoreFolder) {}

tDeviceResponse cTavDevice::ReceiveMessage(const uint8_t* pucMessage, size_t uiLength) {
    tDeviceResponse Response;
    const std::span<const uint8_t> Message(pucMessage, pucMessage == nullptr ? 0 : uiLength);
    const tIncomingMessage In = ParseIncomingMessage(Message);
    switch (In.eKind) {
        case MSG_FILE_HEADER:
            OnHeader(In, Response);
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
    return Response;
}

tDeviceResponse cTavDevice::SwitchOff() {
    tDeviceResponse Response;
    if (CurrentFile) {
        EndFile(false, "cut short when the emulator stopped, after " + BytesSoFar(*CurrentFile),
                Response);
    }
    bDiscarding = false;
    return Response;
}

void cTavDevice::OnHeader(const tIncomingMessage& In, tDeviceResponse& Response) {
    if (CurrentFile) {
        EndFile(false, "cut short by a new header after " + BytesSoFar(*CurrentFile), Response);
    }
    bDiscarding = false;
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
    if (Header.dwLength == 0) {
        RefuseHeader(Header.Name, CANCEL_NO_MIDI_HEADER, "the header announces a file of 0 bytes",
                     Response);
        return;
    }
    const std::string NameFault = cSongStore::NameFault(Header.Name);
    if (!NameFault.empty()) {
        RefuseHeader(Header.Name, CANCEL_FILE_OPEN_FAILED, NameFault, Response);
        return;
    }
    CurrentFile.emplace(Header.Name, Header.dwLength);
    if (EndsEarly(0, 0, Response)) {
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
    if (!In.Fault.empty()) {
        CancelFile(CANCEL_DATA_ERROR, "bad " + PacketName + ": " + In.Fault, Response);
        return;
    }
    const tDataPacketFields& Packet = In.Packet;
    const bool bResent = File.TakeResend(Packet.ucNumber);
    if (XorChecksum(Packet.Summed) != Packet.ucChecksum) {
        File.ExpectResendOf(Packet.ucNumber);
        Reply(HANDSHAKE_NAK, Packet.ucNumber, 0, Response);
        return;
    }
    if (File.TakeDuplicate(Message)) {
        Reply(HANDSHAKE_ACK, Packet.ucNumber, 0, Response);
        return;
    }
    if (Packet.ucNumber != File.NextPacketNumber()) {
        CancelFile(CANCEL_DATA_ERROR,
                   "out of sequence: packet number " + std::to_string(Packet.ucNumber) + " where " +
                       std::to_string(File.NextPacketNumber()) + " was expected",
                   Response);
        return;
    }
    const tDecodedBytes Decoded = DecodePacket(Packet);
    if (!Decoded.bDecoded) {
        CancelFile(CANCEL_DATA_ERROR, "bad " + PacketName + ": " + Decoded.Fault, Response);
        return;
    }
    TakeDataPacket(Decoded.aucBytes, Message, Packet.ucNumber, bResent, Response);
}

// A well-formed packet in sequence: the injected faults decide how it is answered. A packet
// that is NAKed on its first arrival is taken when it comes again.
void cTavDevice::TakeDataPacket(std::span<const uint8_t> Decoded, std::span<const uint8_t> Message,
                                uint8_t ucNumber, bool bResent, tDeviceResponse& Response) {
    cReceivedFile& File = *CurrentFile;
    const uint32_t uiIndex = File.NextPacketIndex();
    if (EndsEarly(uiIndex, ucNumber, Response)) {
        return;
    }
    if (Options.uiNakEvery != 0 && uiIndex % Options.uiNakEvery == 0 && !bResent) {
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
        bDiscarding = false;
        return;
    }
    if (!In.Fault.empty()) {
        EndFile(false, "bad end-of-file message: " + In.Fault, Response);
        return;
    }
    if (Options.bAckEof) {
        Reply(HANDSHAKE_ACK, In.ucEofNumber, 0, Response);
    }
    const uint8_t ucExpected = CurrentFile->NextPacketNumber();
    if (In.ucEofNumber != ucExpected) {
        EndFile(false,
                "end-of-file message numbered " + std::to_string(In.ucEofNumber) + " where " +
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
    if (!bDiscarding) {
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
    if (static_cast<int64_t>(uiIndex) == Options.iEofAt) {
        const std::string Of = std::to_string(CurrentFile->AnnouncedPackets());
        EndFileEarly(HANDSHAKE_EOF, ucNumber,
                     "ended with EOF at " + Where +
                         (uiIndex == 0 ? " of a file of " + Of + " data packets" : " of " + Of),
                     Response);
        return true;
    }
    return false;
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
    bDiscarding = true;
}

void cTavDevice::FinishFile(tDeviceResponse& Response) {
    const tStoreResult Stored = Store.Store(CurrentFile->GetName(), CurrentFile->GetBytes());
    if (!Stored.bStored) {
        EndFile(false, "received whole, but not stored: " + Stored.Error, Response);
        return;
    }
    tFileReport Report = CurrentFile->Report(true, kVerdictOk);
    Report.StoredPath = Stored.Path;
    Response.ReportLines.push_back(FormatFileReport(Report));
    FileReports.push_back(std::move(Report));
    CurrentFile.reset();
}

void cTavDevice::EndFile(bool bOk, const std::string& Verdict, tDeviceResponse& Response) {
    const tFileReport Report = CurrentFile->Report(bOk, Verdict);
    Response.ReportLines.push_back(FormatFileReport(Report));
    FileReports.push_back(Report);
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
    ++uiRepliesDecided;
    if (Options.bBlind) {
        return;
    }
    if (Options.uiDropReplyEvery != 0 && uiRepliesDecided % Options.uiDropReplyEvery == 0) {
        return;
    }
    if (eHandshake == HANDSHAKE_ACK && Options.bWrongNumber) {
        ++ucNumber;
    }
    Response.Replies.push_back({MakeHandshake(Options.ucDeviceByte, eHandshake, ucNumber),
                                Options.uiReplyDelayMs + uiLaterMs});
}
