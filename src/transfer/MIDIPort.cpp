#include "transfer/MIDIPort.h"

#include "transfer/SongName.h"

void cMIDIPort::SetFileName(const std::filesystem::path& FilePath) {
    const std::u8string Utf8 = FilePath.u8string();
    pFileName = SongNameFromPath(std::string(Utf8.begin(), Utf8.end()));
}

// Past the counter bound only extra acknowledgements can have pushed the counter.
bool cMIDIPort::SendSysexPkt() {
    if (Sender.GetCurrentPacket() > Sender.GetPacketTotal() + 2) {
        eX10State = X10_ERROR;
        return false;
    }
    const std::vector<uint8_t>& Message = Sender.GetSysexPacket();
    eSendResult = SendSysexPacket(static_cast<int32_t>(Message.size()), Message.data());
    if (eSendResult != MMSYSERR_NOERROR) {
        eX10State = X10_ERROR;
        return false;
    }
    return true;
}

tX10State cMIDIPort::GetX10State(int32_t* PacketsSent, int32_t* TotalPackets) const {
    *PacketsSent = Sender.GetCurrentPacket();
    *TotalPackets = Sender.GetPacketTotal();
    return eX10State;
}
