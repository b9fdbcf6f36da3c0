#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "emulator/FileReport.h"

// The file that the device is reassembling, from its header to its end-of-file message.
class cReceivedFile {
  public:
    cReceivedFile(std::string Name, uint32_t dwDeclaredBytes);

    const std::string& GetName() const { return Name; }
    const std::vector<uint8_t>& GetBytes() const { return FileBytes; }
    uint32_t GetDeclaredBytes() const { return DeclaredSize; }
    // The data packets that the announced length takes, at 112 file bytes a packet.
    uint32_t AnnouncedPackets() const { return (DeclaredSize + 111) / 112; }
    bool IsComplete() const { return FileBytes.size() == DeclaredSize; }

    // Data packets count from 1 within the file; on the wire their number wraps at 128.
    uint32_t NextPacketIndex() const { return DataPacketCount + 1; }
    uint8_t NextPacketNumber() const { return static_cast<uint8_t>(NextPacketIndex() & 0x7F); }

    // A NAK asks the sender for the same packet again: its next arrival is a resend.
    void ExpectResendOf(uint8_t ucNumber);
    // True, and counted, when this is the packet that was NAKed, arriving again.
    bool TakeResend(uint8_t ucNumber);
    // True, and counted, when the message repeats the data packet taken last, byte for byte.
    bool TakeDuplicate(std::span<const uint8_t> Message);

    // The header was NAKed: the same header arriving next is its resend, not a new file.
    void ExpectHeaderAgain(std::span<const uint8_t> Header);
    bool AwaitsHeaderAgain() const { return !NakedHeader.empty(); }
    // True, and counted, when this is the NAKed header arriving again.
    bool TakeHeaderAgain(std::span<const uint8_t> Header);

    void AddFault(tFaultKind eKind) { Faults.Add(eKind); }
    void AddWireLoss(uint32_t uiBytes) { WireLostByteCount += uiBytes; }

    // Adds a data packet's decoded bytes; false when they would pass the announced length.
    bool Append(std::span<const uint8_t> Decoded, std::span<const uint8_t> Message);

    tFileReport Report(bool bOk, std::string Verdict) const;

  private:
    std::string Name;
    uint32_t DeclaredSize;
    std::vector<uint8_t> FileBytes;
    std::vector<uint8_t> LastPacket;
    uint32_t DataPacketCount = 0;
    uint32_t ResendCount = 0;
    bool AwaitingResend = false;
    uint8_t NakedNumber = 0;
    std::vector<uint8_t> NakedHeader;
    cFaultTally Faults;
    uint32_t WireLostByteCount = 0;
};
