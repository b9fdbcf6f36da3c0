#include "EmulatorCommandLine.h"

#include <charconv>
#include <cstdint>

namespace {

constexpr uint32_t kMaxPacketIndex = 1u << 28;  // more than any file's packet count
constexpr uint32_t kMaxEvery = 1000000;
constexpr uint32_t kMaxDelayMs = 60000;

struct tNumberRange {
    uint32_t uiMin;
    uint32_t uiMax;
};

// Decimal, or hex after "0x"; nothing else in the text.
bool ParseNumber(const std::string& Text, uint32_t& uiValue) {
    const bool bHex = Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X');
    const char* pFirst = Text.data() + (bHex ? 2 : 0);
    const char* pLast = Text.data() + Text.size();
    const auto [pEnd, eError] = std::from_chars(pFirst, pLast, uiValue, bHex ? 16 : 10);
    return eError == std::errc() && pEnd == pLast && pFirst != pLast;
}

bool SplitNameAndValue(const std::string& Arg, std::string& Name, std::string& Value,
                       bool& bHasValue) {
    const size_t uiEquals = Arg.find('=');
    bHasValue = uiEquals != std::string::npos;
    Name = Arg.substr(0, uiEquals);
    Value = bHasValue ? Arg.substr(uiEquals + 1) : std::string();
    return Name.size() > 1 && Name[0] == '-';
}

bool TakesValue(const std::string& Name) {
    return Name == "--store" || Name == "--nak-every" || Name == "--cancel-at" ||
           Name == "--reason" || Name == "--wait-at" || Name == "--drop-reply-every" ||
           Name == "--reply-delay-ms" || Name == "--device-byte";
}

bool IsFlag(const std::string& Name) {
    return Name == "--blind" || Name == "--ack-eof" || Name == "--wrong-number" ||
           Name == "--help" || Name == "-h" || Name == "--version" || Name == "-V";
}

tNumberRange RangeOf(const std::string& Name) {
    if (Name == "--nak-every" || Name == "--drop-reply-every") {
        return {1, kMaxEvery};
    }
    if (Name == "--cancel-at" || Name == "--wait-at") {
        return {0, kMaxPacketIndex};
    }
    if (Name == "--reply-delay-ms") {
        return {0, kMaxDelayMs};
    }
    return {0, 0x7F};  // --reason, --device-byte: one 7-bit data byte
}

std::string NumberError(const std::string& Name, const std::string& Value, tNumberRange Range) {
    return "option '" + Name + "' needs a number from " + std::to_string(Range.uiMin) + " to " +
           std::to_string(Range.uiMax) + ", not '" + Value + "'";
}

void SetFlag(const std::string& Name, tEmulatorCommandLine& Parsed) {
    tTavDeviceOptions& Options = Parsed.Options;
    if (Name == "--blind") {
        Options.bBlind = true;
    } else if (Name == "--ack-eof") {
        Options.bAckEof = true;
    } else if (Name == "--wrong-number") {
        Options.bWrongNumber = true;
    } else if (Name == "--help" || Name == "-h") {
        Parsed.bHelp = true;
    } else {
        Parsed.bVersion = true;
    }
}

void SetNumber(const std::string& Name, uint32_t uiValue, tTavDeviceOptions& Options) {
    if (Name == "--nak-every") {
        Options.uiNakEvery = uiValue;
    } else if (Name == "--cancel-at") {
        Options.iCancelAt = static_cast<int32_t>(uiValue);
    } else if (Name == "--reason") {
        Options.ucCancelReason = static_cast<uint8_t>(uiValue);
    } else if (Name == "--wait-at") {
        Options.iWaitAt = static_cast<int32_t>(uiValue);
    } else if (Name == "--drop-reply-every") {
        Options.uiDropReplyEvery = uiValue;
    } else if (Name == "--reply-delay-ms") {
        Options.uiReplyDelayMs = uiValue;
    } else {
        Options.ucDeviceByte = static_cast<uint8_t>(uiValue);
    }
}

std::string SetValue(const std::string& Name, const std::string& Value,
                     tEmulatorCommandLine& Parsed) {
    if (Name == "--store") {
        if (Value.empty()) {
            return "option '--store' needs a folder";
        }
        Parsed.Options.StoreFolder = Value;
        return {};
    }
    const tNumberRange Range = RangeOf(Name);
    uint32_t uiValue = 0;
    if (!ParseNumber(Value, uiValue) || uiValue < Range.uiMin || uiValue > Range.uiMax) {
        return NumberError(Name, Value, Range);
    }
    SetNumber(Name, uiValue, Parsed.Options);
    return {};
}

// --cancel-at and --reason only make sense together.
std::string CheckCombination(const std::vector<std::string>& Seen) {
    bool bCancelAt = false;
    bool bReason = false;
    for (const std::string& Name : Seen) {
        bCancelAt = bCancelAt || Name == "--cancel-at";
        bReason = bReason || Name == "--reason";
    }
    if (bCancelAt != bReason) {
        return bCancelAt ? "option '--cancel-at' needs '--reason R'"
                         : "option '--reason' needs '--cancel-at K'";
    }
    return {};
}

}  // namespace

tEmulatorCommandLine ParseEmulatorCommandLine(const std::vector<std::string>& Args) {
    tEmulatorCommandLine Parsed;
    std::vector<std::string> Seen;
    for (size_t i = 0; i < Args.size(); ++i) {
        std::string Name;
        std::string Value;
        bool bHasValue = false;
        if (!SplitNameAndValue(Args[i], Name, Value, bHasValue)) {
            Parsed.Error = "unexpected argument '" + Args[i] + "'";
            return Parsed;
        }
        if (IsFlag(Name) && !bHasValue) {
            SetFlag(Name, Parsed);
            continue;
        }
        if (!TakesValue(Name)) {
            Parsed.Error = IsFlag(Name) ? "option '" + Name + "' takes no value"
                                        : "unrecognized option '" + Name + "'";
            return Parsed;
        }
        if (!bHasValue) {
            if (i + 1 >= Args.size()) {
                Parsed.Error = "option '" + Name + "' requires a value";
                return Parsed;
            }
            Value = Args[++i];
        }
        Parsed.Error = SetValue(Name, Value, Parsed);
        if (!Parsed.Error.empty()) {
            return Parsed;
        }
        Seen.push_back(Name);
    }
    Parsed.Error = CheckCombination(Seen);
    return Parsed;
}

void PrintEmulatorHelp(std::ostream& Out) {
    Out << "Usage: " << kEmulatorName << " [OPTION]...\n"
        << "A software TAV device: opens the virtual MIDI ports \"TAV Emulator\", receives\n"
        << "songs sent as File Dump messages, answers them with handshakes and stores each\n"
        << "song received whole as DIR/NAME.x10. Prints a line when it is ready, one line per\n"
        << "received file and per device command, and ends on SIGINT or SIGTERM.\n\n"
        << "  --store DIR             store songs in DIR (default: the working directory)\n"
        << "  --device-byte B         device byte of the replies (default 0x42)\n"
        << "Faults, each deterministic; K counts the data packets of a file from 1, and\n"
        << "0 stands for the header:\n"
        << "  --blind                 never reply\n"
        << "  --nak-every N           NAK the first arrival of every Nth data packet\n"
        << "  --cancel-at K --reason R  answer packet K with CANCEL carrying reason R\n"
        << "  --wait-at K             answer packet K with WAIT, then ACK it 200 ms later\n"
        << "  --drop-reply-every N    stay silent instead of sending every Nth reply\n"
        << "  --reply-delay-ms D      send every reply D ms after its message arrived\n"
        << "  --ack-eof               acknowledge the end-of-file message\n"
        << "  --wrong-number          acknowledge with the number after the right one\n"
        << "  -h, --help              show this help and exit\n"
        << "  -V, --version           show the version and exit\n\n"
        << "Numbers are decimal or hex (0x7F). Exit status: 0 after SIGINT or SIGTERM,\n"
        << "1 when the ports or the store folder cannot be used, 2 for bad usage.\n";
}
