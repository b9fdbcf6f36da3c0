#pragma once

#include <cstdint>
#include <type_traits>

#include "midi/MidiBackend.h"
#include "midi/driver/HandleTable.h"
#include "midi/driver/OpenArguments.h"

// The side of the services a call is about.
enum tMidiSide : uint8_t {
    MIDI_SIDE_OUT,
    MIDI_SIDE_IN,
};

template <typename tHandle>
inline constexpr tMidiSide kSideOf =
    std::is_same_v<tHandle, HMIDIIN> ? MIDI_SIDE_IN : MIDI_SIDE_OUT;

// The platform interface written once for the backends, which keep their open devices in
// handle tables: a call on an open device looks its handle up and hands the call to the device
// (MMSYSERR_INVALHANDLE when none is open under it), and an open has its arguments checked
// before the backend sees it. The backend, tBackend, derives from this and provides for either
// side (befriending this class if they are private):
//   uint32_t CountDevices(tMidiSide eSide);
//   MMRESULT GetCaps(tMidiSide eSide, uint32_t uDeviceID, tCaps* pCaps, uint32_t cbCaps);
//   MMRESULT OpenDevice(tHandle* phDevice, uint32_t uDeviceID, tCallback pCallback,
//                       uintptr_t dwInstance);
//   MMRESULT GetErrorText(tMidiSide eSide, MMRESULT mmrError, char* pszText, uint32_t cchText);
// Its devices have Prepare, Queue (an output's long message, an input's receive block),
// Unprepare and Close, an input device also Start and Reset. A CountCall of the backend's runs
// first in every call.
//
// The operations are defined below the class but not inline: a backend's source file, where
// its own parts are defined, instantiates them (template class cHandleBackend<...>), and its
// header declares that (extern template class cHandleBackend<...>) for every other file.
template <typename tBackend, typename tOutDevice, typename tInDevice>
class cHandleBackend : public iMidiBackend {
  public:
    uint32_t midiOutGetNumDevs() final;
    uint32_t midiInGetNumDevs() final;
    MMRESULT midiOutGetDevCapsW(uint32_t uDeviceID, MIDIOUTCAPSW* pCaps, uint32_t cbCaps) final;
    MMRESULT midiInGetDevCapsW(uint32_t uDeviceID, MIDIINCAPSW* pCaps, uint32_t cbCaps) final;
    MMRESULT midiOutOpen(HMIDIOUT* phMidiOut, uint32_t uDeviceID, tMidiOutProc pCallback,
                         uintptr_t dwInstance, uint32_t fdwOpen) final;
    MMRESULT midiInOpen(HMIDIIN* phMidiIn, uint32_t uDeviceID, tMidiInProc pCallback,
                        uintptr_t dwInstance, uint32_t fdwOpen) final;

    MMRESULT midiOutPrepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) final;
    MMRESULT midiInPrepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) final;
    MMRESULT midiOutLongMsg(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) final;
    MMRESULT midiInAddBuffer(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) final;
    MMRESULT midiInStart(HMIDIIN hMidiIn) final;
    MMRESULT midiInReset(HMIDIIN hMidiIn) final;
    MMRESULT midiOutUnprepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) final;
    MMRESULT midiInUnprepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) final;
    MMRESULT midiOutClose(HMIDIOUT hMidiOut) final;
    MMRESULT midiInClose(HMIDIIN hMidiIn) final;

    MMRESULT midiOutGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) final;
    MMRESULT midiInGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) final;

  protected:
    // Counts nothing, unless the backend has a CountCall of its own.
    void CountCall() {}

    // The table of the open devices of one side.
    template <typename tHandle>
    auto& Table() {
        if constexpr (kSideOf<tHandle> == MIDI_SIDE_IN) {
            return OpenIns;
        } else {
            return OpenOuts;
        }
    }

    cHandleTable<HMIDIOUT, tOutDevice> OpenOuts;
    cHandleTable<HMIDIIN, tInDevice> OpenIns;

  private:
    tBackend& Backend() { return static_cast<tBackend&>(*this); }
    // Counts the call, then calls Call(device, Args...) with the open device of hDevice.
    template <typename tHandle, typename tCall, typename... tArgs>
    MMRESULT WithDevice(tHandle hDevice, tCall Call, tArgs... Args);
    template <typename tHandle, typename tCallback>
    MMRESULT Open(tHandle* phDevice, uint32_t uDeviceID, tCallback pCallback, uintptr_t dwInstance,
                  uint32_t fdwOpen);
};

template <typename tBackend, typename tOutDevice, typename tInDevice>
template <typename tHandle, typename tCall, typename... tArgs>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::WithDevice(tHandle hDevice, tCall Call,
                                                                     tArgs... Args) {
    Backend().CountCall();
    return Table<tHandle>().With(hDevice, Call, Args...);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
template <typename tHandle, typename tCallback>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::Open(tHandle* phDevice,
                                                               uint32_t uDeviceID,
                                                               tCallback pCallback,
                                                               uintptr_t dwInstance,
                                                               uint32_t fdwOpen) {
    Backend().CountCall();
    const MMRESULT eArguments = CheckOpenArguments(phDevice, fdwOpen);
    if (eArguments != MMSYSERR_NOERROR) {
        return eArguments;
    }
    return Backend().OpenDevice(phDevice, uDeviceID, pCallback, dwInstance);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
uint32_t cHandleBackend<tBackend, tOutDevice, tInDevice>::midiOutGetNumDevs() {
    Backend().CountCall();
    return Backend().CountDevices(MIDI_SIDE_OUT);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
uint32_t cHandleBackend<tBackend, tOutDevice, tInDevice>::midiInGetNumDevs() {
    Backend().CountCall();
    return Backend().CountDevices(MIDI_SIDE_IN);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiOutGetDevCapsW(uint32_t uDeviceID,
                                                                             MIDIOUTCAPSW* pCaps,
                                                                             uint32_t cbCaps) {
    Backend().CountCall();
    return Backend().GetCaps(MIDI_SIDE_OUT, uDeviceID, pCaps, cbCaps);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiInGetDevCapsW(uint32_t uDeviceID,
                                                                            MIDIINCAPSW* pCaps,
                                                                            uint32_t cbCaps) {
    Backend().CountCall();
    return Backend().GetCaps(MIDI_SIDE_IN, uDeviceID, pCaps, cbCaps);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiOutOpen(HMIDIOUT* phMidiOut,
                                                                      uint32_t uDeviceID,
                                                                      tMidiOutProc pCallback,
                                                                      uintptr_t dwInstance,
                                                                      uint32_t fdwOpen) {
    return Open(phMidiOut, uDeviceID, pCallback, dwInstance, fdwOpen);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiInOpen(HMIDIIN* phMidiIn,
                                                                     uint32_t uDeviceID,
                                                                     tMidiInProc pCallback,
                                                                     uintptr_t dwInstance,
                                                                     uint32_t fdwOpen) {
    return Open(phMidiIn, uDeviceID, pCallback, dwInstance, fdwOpen);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiOutPrepareHeader(HMIDIOUT hMidiOut,
                                                                               MIDIHDR* pHeader,
                                                                               uint32_t cbHeader) {
    return WithDevice(hMidiOut, &tOutDevice::Prepare, pHeader, cbHeader);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiInPrepareHeader(HMIDIIN hMidiIn,
                                                                              MIDIHDR* pHeader,
                                                                              uint32_t cbHeader) {
    return WithDevice(hMidiIn, &tInDevice::Prepare, pHeader, cbHeader);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiOutLongMsg(HMIDIOUT hMidiOut,
                                                                         MIDIHDR* pHeader,
                                                                         uint32_t cbHeader) {
    return WithDevice(hMidiOut, &tOutDevice::Queue, pHeader, cbHeader);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiInAddBuffer(HMIDIIN hMidiIn,
                                                                          MIDIHDR* pHeader,
                                                                          uint32_t cbHeader) {
    return WithDevice(hMidiIn, &tInDevice::Queue, pHeader, cbHeader);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiInStart(HMIDIIN hMidiIn) {
    return WithDevice(hMidiIn, &tInDevice::Start);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiInReset(HMIDIIN hMidiIn) {
    return WithDevice(hMidiIn, &tInDevice::Reset);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiOutUnprepareHeader(
    HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) {
    return WithDevice(hMidiOut, &tOutDevice::Unprepare, pHeader, cbHeader);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiInUnprepareHeader(HMIDIIN hMidiIn,
                                                                                MIDIHDR* pHeader,
                                                                                uint32_t cbHeader) {
    return WithDevice(hMidiIn, &tInDevice::Unprepare, pHeader, cbHeader);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiOutClose(HMIDIOUT hMidiOut) {
    Backend().CountCall();
    return OpenOuts.Close(hMidiOut);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiInClose(HMIDIIN hMidiIn) {
    Backend().CountCall();
    return OpenIns.Close(hMidiIn);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiOutGetErrorText(MMRESULT mmrError,
                                                                              char* pszText,
                                                                              uint32_t cchText) {
    Backend().CountCall();
    return Backend().GetErrorText(MIDI_SIDE_OUT, mmrError, pszText, cchText);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiInGetErrorText(MMRESULT mmrError,
                                                                             char* pszText,
                                                                             uint32_t cchText) {
    Backend().CountCall();
    return Backend().GetErrorText(MIDI_SIDE_IN, mmrError, pszText, cchText);
}
