#include "app/FileDumpStream.h"

#include <utility>

#include "app/Utf8Path.h"
#include "transfer/FileDumpSender.h"
#include "transfer/SongName.h"

bool WriteFileDumpStream(std::vector<uint8_t> SongFile, const std::filesystem::path& SongPath,
                         std::FILE* pFile) {
    cFileDumpSender Sender;
    Sender.Begin(std::move(SongFile), SongNameFromPath(PathToUtf8(SongPath)), {.Blind = true});
    Sender.BuildSysexHeader(HEADER_TYPE_MIDI);
    while (true) {
        const std::vector<uint8_t>& Message = Sender.GetSysexPacket();
        if (std::fwrite(Message.data(), 1, Message.size(), pFile) != Message.size()) {
            return false;
        }
        Sender.Sent();
        if (Sender.GetState() == X10_FINISH) {
            return true;
        }
        Sender.BlindStep();
        Sender.PrepareX10Packet();
    }
}
