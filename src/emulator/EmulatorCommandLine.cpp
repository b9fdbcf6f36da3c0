#include "emulator/EmulatorCommandLine.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "emulator/FaultStorm.h"
#include "options/CommandLine.h"

namespace {

constexpr uint32_t kMaxPacketIndex = 1u << 28;  // more than any file's packet count
constexpr uint32_t kMaxEvery = 1000000;
constexpr uint32_t kMaxDelayMs = 60000;
constexpr uint32_t kMinBaud = 300;
constexpr uint32_t kMaxBaud = 3000000;
constexpr uint32_t kMaxWireBuffer = 1u << 20;
constexpr uint32_t kDefaultStormRate = cFaultStorm::kRateScale / 20;  // 0.05

struct tNumberRange {
    uint32_t Min;
    uint32_t Max;
};

// Decimal, or hex after "0x"; nothing else in the text.
template <typename tNumber>
bool ParseNumber(const std::string& Text, tNumber& uiValue) {
    const bool bHex = Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X');
    const char* pFirst = Text.data() + (bHex ? 2 : 0);
    const char* pLast = Text.data() + Text.size();
    const auto [pEnd, eError] = std::from_chars(pFirst, pLast, uiValue, bHex ? 16 : 10);
    return eError == std::errc() && pEnd == pLast && pFirst != pLast;
}

tNumberRange RangeOf(const std::string& Name) {
    if (Name == "--nak-every" || Name == "--drop-reply-every") {
        return {1, kMaxEvery};
    }
    if (Name == "--cancel-at" || Name == "--wait-at" || Name == "--eof-at") {
        return {0, kMaxPacketIndex};
    }
    if (Name == "--reply-delay-ms") {
        return {0, kMaxDelayMs};
    }
    if (Name == "--wire-baud") {
        return {kMinBaud, kMaxBaud};
    }
    if (Name == "--wire-buffer") {
        return {0, kMaxWireBuffer};
    }
    return {0, 0x7F};  // --reason, --device-byte: one 7-bit data byte
}

// A fraction above 0 and at most 1, with up to six decimals, in millionths: "0.05" is 50000.
bool ParseRate(const std::string& Text, uint32_t& uiRate) {
    constexpr size_t kMaxDecimals = 6;
    const size_t uiPoint = std::min(Text.find('.'), Text.size());
    const std::string Whole = Text.substr(0, uiPoint);
    std::string Decimals = uiPoint < Text.size() ? Text.substr(uiPoint + 1) : std::string();
    const auto IsDigits = [](const std::string& Part) {
        return std::ranges::all_of(Part, [](char cChar) { return cChar >= '0' && cChar <= '9'; });
    };
    if ((Whole.empty() && Decimals.empty()) || !IsDigits(Whole) || !IsDigits(Decimals) ||
        Decimals.size() > kMaxDecimals || Whole.size() > 1) {
        return false;
    }
    Decimals.resize(kMaxDecimals, '0');
    uiRate = static_cast<uint32_t>((Whole.empty() ? 0 : Whole[0] - '0') * cFaultStorm::kRateScale +
                                   std::stoul(Decimals));
    return uiRate > 0 && uiRate <= cFaultStorm::kRateScale;
}

std::string NumberError(const std::string& Name, const std::string& Value, tNumberRange Range) {
    return "option '" + Name + "' needs a number from " + std::to_string(Range.Min) + " to " +
           std::to_string(Range.Max) + ", not '" + Value + "'";
}

bool IsFlag(const std::string& Name) {
    return Name == "--blind" || Name == "--ack-eof" || Name == "--wrong-number" ||
           Name == "--help" || Name == "--version";
}

void SetFlag(const std::string& Name, tEmulatorCommandLine& Parsed) {
    tTavDeviceOptions& Options = Parsed.Options;
    if (Name == "--blind") {
        Options.bBlind = true;
    } else if (Name == "--ack-eof") {
        Options.bAckEof = true;
    } else if (Name == "--wrong-number") {
        Options.bWrongNumber = true;
    } else if (Name == "--help") {
        Parsed.Help = true;
    } else {
        Parsed.Version = true;
    }
}

void SetNumber(const std::string& Name, uint32_t uiValue, tEmulatorCommandLine& Parsed) {
    tTavDeviceOptions& Options = Parsed.Options;
    if (Name == "--wire-baud") {
        Parsed.Wire.BaudRate = uiValue;
    } else if (Name == "--wire-buffer") {
        Parsed.Wire.BufferSize = uiValue;
    } else if (Name == "--nak-every") {
        Options.uiNakEvery = uiValue;
    } else if (Name == "--cancel-at") {
        Options.iCancelAt = static_cast<int32_t>(uiValue);
    } else if (Name == "--reason") {
        Options.ucCancelReason = static_cast<uint8_t>(uiValue);
    } else if (Name == "--wait-at") {
        Options.iWaitAt = static_cast<int32_t>(uiValue);
    } else if (Name == "--eof-at") {
        Options.EofAt = static_cast<int32_t>(uiValue);
    } else if (Name == "--drop-reply-every") {
        Options.DropReplyEvery = uiValue;
    } else if (Name == "--reply-delay-ms") {
        Options.uiReplyDelayMs = uiValue;
    } else {
        Options.DeviceByte = static_cast<uint8_t>(uiValue);
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
    if (Name == "--chaos") {
        if (!ParseNumber(Value, Parsed.Options.StormSeed)) {
            return "option '--chaos' needs an unsigned number as its seed, not '" + Value + "'";
        }
        if (Parsed.Options.StormRate == 0) {
            Parsed.Options.StormRate = kDefaultStormRate;
        }
        return {};
    }
    if (Name == "--chaos-rate") {
        if (!ParseRate(Value, Parsed.Options.StormRate)) {
            return "option '--chaos-rate' needs a fraction above 0 and at most 1 (six decimals at "
                   "most), not '" +
                   Value + "'";
        }
        return {};
    }
    const tNumberRange Range = RangeOf(Name);
    uint32_t uiValue = 0;
    if (!ParseNumber(Value, uiValue) || uiValue < Range.Min || uiValue > Range.Max) {
        return NumberError(Name, Value, Range);
    }
    SetNumber(Name, uiValue, Parsed);
    return {};
}

// --cancel-at and --reason only make sense together; --chaos-rate only with --chaos, and
// --wire-buffer only with --wire-baud.
std::string CheckCombination(const tParsedArgs& Args) {
    const bool bCancelAt = Args.Has("--cancel-at");
    const bool bReason = Args.Has("--reason");
    if (bCancelAt != bReason) {
        return bCancelAt ? "option '--cancel-at' needs '--reason R'"
                         : "option '--reason' needs '--cancel-at K'";
    }
    if (Args.Has("--chaos-rate") && !Args.Has("--chaos")) {
        return "option '--chaos-rate' needs '--chaos SEED'";
    }
    if (Args.Has("--wire-buffer") && !Args.Has("--wire-baud")) {
        return "option '--wire-buffer' needs '--wire-baud B'";
    }
    return {};
}

}  // namespace

tEmulatorCommandLine ParseEmulatorCommandLine(const std::vector<std::string>& Args) {
    tEmulatorCommandLine Parsed;
    const tParsedArgs Arguments =
        ParseCommandLine(Args, {{"--store", nullptr, true, nullptr, {}},
                                {"--device-byte", nullptr, true, nullptr, {}},
                                {"--blind", nullptr, false, nullptr, {}},
                                {"--nak-every", nullptr, true, nullptr, {}},
                                {"--cancel-at", nullptr, true, nullptr, {}},
                                {"--reason", nullptr, true, nullptr, {}},
                                {"--wait-at", nullptr, true, nullptr, {}},
                                {"--eof-at", nullptr, true, nullptr, {}},
                                {"--drop-reply-every", nullptr, true, nullptr, {}},
                                {"--reply-delay-ms", nullptr, true, nullptr, {}},
                                {"--ack-eof", nullptr, false, nullptr, {}},
                                {"--wrong-number", nullptr, false, nullptr, {}},
                                {"--chaos", nullptr, true, nullptr, {}},
                                {"--chaos-rate", nullptr, true, nullptr, {}},
                                {"--wire-baud", nullptr, true, nullptr, {}},
                                {"--wire-buffer", nullptr, true, nullptr, {}},
                                {"--help", "-h", false, nullptr, {}},
                                {"--version", "-V", false, nullptr, {}}});
    if (!Arguments.Error.empty()) {
        Parsed.Error = Arguments.Error;
        return Parsed;
    }
    if (!Arguments.Operands.empty()) {
        Parsed.Error = "unexpected argument '" + Arguments.Operands.front() + "'";
        return Parsed;
    }
    for (const auto& [Name, Value] : Arguments.Options) {
        if (IsFlag(Name)) {
            SetFlag(Name, Parsed);
            continue;
        }
        Parsed.Error = SetValue(Name, Value, Parsed);
        if (!Parsed.Error.empty()) {
            return Parsed;
        }
    }
    Parsed.Error = CheckCombination(Arguments);
    return Parsed;
}

void PrintEmulatorHelp(std::ostream& Out) {
    Out << "Usage: " << kEmulatorName << " [OPTION]...\n"
        << "A software TAV device: opens the virtual MIDI ports \"TAV Emulator\" (on JACK\n"
        << "\"TAV Emulator in\" and \"TAV Emulator out\"), receives songs sent as File Dump\n"
        << "messages, answers them with handshakes and stores each song received whole as\n"
        << "DIR/NAME.x10. Prints a line once it can take a song, one line per received file\n"
        << "and per device command, and ends on SIGINT or SIGTERM.\n\n"
        << "  --store DIR             store songs in DIR (default: the working directory)\n"
        << "  --device-byte B         device byte of the replies (default 0x42)\n"
        << "Faults, each deterministic; K counts the data packets of a file from 1, and\n"
        << "0 stands for the header:\n"
        << "  --blind                 never reply\n"
        << "  --nak-every N           NAK the first arrival of every Nth data packet\n"
        << "  --cancel-at K --reason R  answer packet K with CANCEL carrying reason R\n"
        << "  --wait-at K             answer packet K with WAIT, then ACK it 200 ms later\n"
        << "  --eof-at K              answer packet K with EOF: the file ends there, unstored\n"
        << "                          (at the last data packet, taken: the file is whole)\n"
        << "  --drop-reply-every N    stay silent instead of sending every Nth reply\n"
        << "  --reply-delay-ms D      send every reply D ms after its message arrived\n"
        << "  --ack-eof               acknowledge the end-of-file message\n"
        << "  --wrong-number          acknowledge with the number after the right one\n"
        << "A fault storm, seeded: the same SEED gives the same faults for the same\n"
        << "messages. It strikes only messages that the device answers: headers, data\n"
        << "packets, and end-of-file messages under --ack-eof. A message that a fault\n"
        << "option above acts on, and the resend after a NAK of the storm, meet none.\n"
        << "A file's line ends with the faults acted out on it (\"; faults: 2 NAK, 1 lost\"),\n"
        << "and a last line on stopping counts them all (\"faults acted out: ...\").\n"
        << "  --chaos SEED            with chance P a message meets one fault: its first\n"
        << "                          arrival NAKed, no reply, WAIT and the reply\n"
        << "                          100-400 ms later, the reply 0-300 ms late, the\n"
        << "                          reply twice, the reply with the number before,\n"
        << "                          1-4 bytes of noise before the reply, or the message\n"
        << "                          lost; one fault in twenty is a CANCEL (reason 1-6)\n"
        << "                          or an EOF in place of the reply, ending the file\n"
        << "  --chaos-rate P          the chance P, above 0 and at most 1 (default 0.05)\n"
        << "An emulated MIDI wire, off unless --wire-baud is given; each direction of\n"
        << "the cable carries its bytes on its own.\n"
        << "  --wire-baud B           bytes cross to and from the device no faster than\n"
        << "                          a wire of B baud carries them, 10 bits a byte\n"
        << "                          (31250 for a MIDI cable: 320 us a byte); B from\n"
        << "                          300 to 3000000\n"
        << "  --wire-buffer N         hold at most N bytes waiting for the wire toward\n"
        << "                          the device, as a cheap interface does, and lose\n"
        << "                          the bytes that come while it is full; the file\n"
        << "                          line tells how many (\"; wire lost 412 bytes\");\n"
        << "                          with --wire-baud only (default 0: no limit)\n"
        << "  -h, --help              show this help and exit\n"
        << "  -V, --version           show the version and exit\n\n"
        << "Numbers are decimal or hex (0x7F). Exit status: 0 after SIGINT or SIGTERM,\n"
        << "1 when the ports or the store folder cannot be used, 2 for bad usage.\n";
}
