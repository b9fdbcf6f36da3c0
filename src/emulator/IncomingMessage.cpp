#include "emulator/IncomingMessage.h"

#include "emulator/HexText.h"
#include "midi/SysexBytes.h"

namespace {

constexpr uint8_t kCommandMaker = 0x08;
constexpr uint8_t kCommandCode = 0x53;

constexpr size_t kHeaderFixedSize = 15;  // everything but the name
constexpr size_t kDataPacketMinSize = 11;
constexpr size_t kDataPacketMaxSize = 137;
constexpr size_t kEndOfFileSize = 6;
constexpr size_t kCommandSize = 6;

tIncomingMessage Foreign(std::string Why) {
    tIncomingMessage In;
    In.Kind = MSG_FOREIGN;
    In.Fault = std::move(Why);
    return In;
}

// Between F0 and F7 every byte of a SysEx message has bit 7 clear.
std::string FindHighBitByte(std::span<const uint8_t> Message) {
    for (size_t i = 1; i + 1 < Message.size(); ++i) {
        if ((Message[i] & 0x80) != 0) {
            return "byte 0x" + Hex2(Message[i]) + " at offset " + std::to_string(i) +
                   " has bit 7 set";
        }
    }
    return {};
}

tIncomingMessage ParseHeader(std::span<const uint8_t> Message) {
    tIncomingMessage In;
    In.Kind = MSG_FILE_HEADER;
    if (Message.size() < kHeaderFixedSize) {
        In.Fault = "header of " + std::to_string(Message.size()) + " bytes is too short";
        return In;
    }
    In.Fault = FindHighBitByte(Message);
    In.Header.Type.assign(Message.begin() + 6, Message.begin() + 10);
    In.Header.Length = uint32_t{Message[10]} | (uint32_t{Message[11]} << 7) |
                       (uint32_t{Message[12]} << 14) | (uint32_t{Message[13]} << 21);
    In.Header.Name.assign(Message.begin() + 14, Message.end() - 1);
    return In;
}

tIncomingMessage ParseDataPacket(std::span<const uint8_t> Message) {
    tIncomingMessage In;
    In.Kind = MSG_DATA_PACKET;
    In.Packet.Number = Message[5];
    if (Message.size() < kDataPacketMinSize || Message.size() > kDataPacketMaxSize) {
        In.Fault =
            "data packet of " + std::to_string(Message.size()) + " bytes (11 to 137 allowed)";
        return In;
    }
    In.Fault = FindHighBitByte(Message);
    In.Packet.CountByte = Message[6];
    In.Packet.Checksum = Message[Message.size() - 2];
    In.Packet.Encoded = Message.subspan(7, Message.size() - 9);
    In.Packet.Summed = Message.subspan(1, Message.size() - 3);
    return In;
}

tIncomingMessage ParseEndOfFile(std::span<const uint8_t> Message) {
    tIncomingMessage In;
    In.Kind = MSG_END_OF_FILE;
    if (Message.size() != kEndOfFileSize) {
        In.Fault =
            "end-of-file message of " + std::to_string(Message.size()) + " bytes (6 expected)";
        return In;
    }
    In.Fault = FindHighBitByte(Message);
    In.EofNumber = Message[4];
    return In;
}

tIncomingMessage ParseUniversal(std::span<const uint8_t> Message) {
    const uint8_t ucDevice = Message[2];
    const uint8_t ucSubId = Message[3];
    const bool bFileDump = ucSubId == kFileDump && Message.size() >= 6 &&
                           (Message[4] == kFileDumpHeader || Message[4] == kFileDumpDataPacket);
    if (!bFileDump && ucSubId != HANDSHAKE_EOF) {
        return Foreign("universal message not handled by this device: " + HexExcerpt(Message));
    }
    if (ucDevice != kTavDeviceId) {
        return Foreign("message for device 0x" + Hex2(ucDevice) + ", not 0x" + Hex2(kTavDeviceId) +
                       ": " + HexExcerpt(Message));
    }
    if (ucSubId == HANDSHAKE_EOF) {
        return ParseEndOfFile(Message);
    }
    return Message[4] == kFileDumpHeader ? ParseHeader(Message) : ParseDataPacket(Message);
}

tIncomingMessage ParseCommand(std::span<const uint8_t> Message) {
    const bool bShape = Message.size() == kCommandSize && Message[3] == kCommandCode &&
                        (Message[2] == 0x42 || Message[2] == 0x43) &&
                        (Message[4] == 0x00 || Message[4] == 0x01);
    if (!bShape) {
        return Foreign("unknown device command: " + HexExcerpt(Message));
    }
    tIncomingMessage In;
    In.Kind = MSG_DEVICE_COMMAND;
    In.Command.SecondHalf = Message[2] == 0x43;
    In.Command.Unlock = Message[4] == 0x01;
    return In;
}

// A File Dump message for this device whose end byte F7 never came (a cable or interface lost
// bytes): the device knows what it was meant to be and refuses it as such, so that a broken data
// packet ends the file with a CANCEL instead of passing unheeded. Any other kind stays unknown.
tIncomingMessage CutShort(std::span<const uint8_t> Message) {
    const std::string Fault =
        "cut short: the end byte F7 never came after " + std::to_string(Message.size()) + " bytes";
    const bool bOurs =
        Message.size() >= 5 && Message[1] == kNonRealTime && Message[2] == kTavDeviceId;
    tIncomingMessage In;
    if (bOurs && Message[3] == HANDSHAKE_EOF) {
        In.Kind = MSG_END_OF_FILE;
    } else if (bOurs && Message[3] == kFileDump && Message[4] == kFileDumpHeader) {
        In.Kind = MSG_FILE_HEADER;
    } else if (bOurs && Message[3] == kFileDump && Message[4] == kFileDumpDataPacket) {
        In.Kind = MSG_DATA_PACKET;
        In.Packet.Number = Message.size() > 5 ? Message[5] : 0;
    } else {
        return Foreign("System Exclusive message without its end byte F7: " + HexExcerpt(Message));
    }
    In.Fault = Fault;
    return In;
}

}  // namespace

tIncomingMessage ParseIncomingMessage(std::span<const uint8_t> Message) {
    if (Message.empty()) {
        return Foreign("empty message");
    }
    if (Message.front() != kSysexStart) {
        return Foreign("not a System Exclusive message: " + HexExcerpt(Message));
    }
    if (Message.size() < 4 || Message.back() != kSysexEnd) {
        return CutShort(Message);
    }
    if (Message[1] == kNonRealTime) {
        return ParseUniversal(Message);
    }
    if (Message[1] == kCommandMaker) {
        return ParseCommand(Message);
    }
    return Foreign("System Exclusive message not for this device: " + HexExcerpt(Message));
}
