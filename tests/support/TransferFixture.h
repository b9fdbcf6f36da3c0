#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "midi/MidiBackend.h"
#include "midi/SysexBytes.h"
#include "midi/virtual/VirtualMidiBackend.h"
#include "transfer/X10FileTransfer.h"

using Bytes = std::vector<uint8_t>;

// The bytes of a song of n bytes, each different from its neighbours.
inline Bytes SongData(size_t n) {
    Bytes Data(n);
    for (size_t i = 0; i < n; ++i) {
        Data[i] = static_cast<uint8_t>(i * 131 + 7);
    }
    return Data;
}

// A transfer object over the in-process virtual backend, with one device pair, stepped by hand.
class TransferFixture : public ::testing::Test {
  protected:
    static constexpr uint8_t ACK = HANDSHAKE_ACK, NAK = HANDSHAKE_NAK, CANCEL = HANDSHAKE_CANCEL,
                             WAIT = HANDSHAKE_WAIT, ENDFILE = HANDSHAKE_EOF;

    void TearDown() override { Transfer.EndX10Send(); }

    // An x10 song file of n bytes of SongData.
    std::filesystem::path SongFile(size_t n, const std::string& Name = "song.midx10") {
        WriteAll(Folder / Name, SongData(n));
        return Folder / Name;
    }

    void Begin(const std::filesystem::path& X10File, bool bBlind, int32_t iTimeOut = 1000) {
        Transfer.SetMidiInPort(static_cast<int32_t>(uiIn));
        Transfer.SetMidiOutPort(static_cast<int32_t>(uiOut));
        Transfer.SetTimeout(iTimeOut);
        Transfer.ResetStateMachine();
        Transfer.bBlindTransfer = bBlind;
        Transfer.uiMidiInBlockSize = 32;
        Transfer.uiMidiInNumberOfBuffers = 32;
        Transfer.SetX10FilePath(X10File);
        Transfer.SetFileName("/songs/My Song.mid");
    }

    tX10State State() {
        int32_t iSent = 0;
        int32_t iTotal = 0;
        return Transfer.GetX10State(&iSent, &iTotal);
    }
    int32_t PacketsSent() {
        int32_t iSent = 0;
        int32_t iTotal = 0;
        Transfer.GetX10State(&iSent, &iTotal);
        return iSent;
    }
    tX10State Step() {
        Transfer.X10StateMachine();
        return State();
    }
    // The states after each of n steps.
    std::vector<tX10State> Steps(int n) {
        std::vector<tX10State> States;
        for (int i = 0; i < n; ++i) {
            States.push_back(Step());
        }
        return States;
    }
    // The four steps that open the ports and send the header; a handshaking send then waits for
    // the header's reply.
    void SendHeader() { Steps(4); }
    // Steps until a stop state; returns the number of steps taken.
    int StepToStop(int iLimit = 100000) {
        int iSteps = 0;
        while (!IsStopState(State()) && iSteps < iLimit) {
            Step();
            ++iSteps;
        }
        return iSteps;
    }

    void Deliver(const Bytes& Message) {
        Backend.DeliverInput(uiIn, Message);
        Backend.WaitForInput();
    }
    void Reply(uint8_t ucHandShake, uint8_t ucNumber, uint8_t ucDevice = 0x42) {
        Deliver({0xF0, 0x7E, ucDevice, ucHandShake, ucNumber, 0xF7});
    }

    // Every message sent to the device, whole, in order.
    std::vector<Bytes> Sent() const {
        std::vector<Bytes> Messages;
        Bytes Current;
        for (const Bytes& Chunk : Backend.SentChunks(uiOut)) {
            for (const uint8_t ucByte : Chunk) {
                Current.push_back(ucByte);
                if (ucByte == 0xF7) {
                    Messages.push_back(std::move(Current));
                    Current.clear();
                }
            }
        }
        return Messages;
    }
    std::string StateText() const {
        char acText[128] = "";
        Transfer.GetStateText(acText, sizeof acText);
        return acText;
    }
    std::string HandShakeText() const {
        char acText[64] = "";
        Transfer.GetHandShakeText(acText, sizeof acText);
        return acText;
    }

    cVirtualMidiBackend Backend;
    cScopedMidiBackend Installed{Backend};
    uint32_t uiOut = Backend.AddOutDevice("TAV out");
    uint32_t uiIn = Backend.AddInDevice("TAV in");
    TempDir Folder;
    X10FileTransfer Transfer;
};
