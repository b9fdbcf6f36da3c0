#pragma once

#include <cstdint>
#include <functional>
#include <type_traits>

#include "midi/MidiBackend.h"
#include "midi/driver/HandleTable.h"
#include "midi/driver/MidiHeaderChecks.h"
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
// Its devices have Prepare, Queue (an output's long message, an input's receive block) and
// Unprepare, which get a header already checked as the services check it, and Close, an input
// device also Start and Reset. A CountCall of the backend's runs first in every call.
//
// A backend's source file, where its own parts are defined, instantiates the class (template
// class cHandleBackend<...>), and its header declares that (extern template class
// cHandleBackend<...>) for every other file.
template <typename tBackend, typename tOutDevice, typename tInDevice>
class cHandleBackend : public iMidiBackend {
  public:
    uint32_t midiOutGetNumDevs() final { return Counted(&tBackend::CountDevices, MIDI_SIDE_OUT); }
    uint32_t midiInGetNumDevs() final { return Counted(&tBackend::CountDevices, MIDI_SIDE_IN); }
    // Defined below the class, so that only the backend's source file, which instantiates them,
    // needs the backend's own templates they call.
    MMRESULT midiOutGetDevCapsW(uint32_t uDeviceID, MIDIOUTCAPSW* pCaps, uint32_t cbCaps) final;
    MMRESULT midiInGetDevCapsW(uint32_t uDeviceID, MIDIINCAPSW* pCaps, uint32_t cbCaps) final;
    MMRESULT midiOutOpen(HMIDIOUT* phMidiOut, uint32_t uDeviceID, tMidiOutProc pCallback,
                         uintptr_t dwInstance, uint32_t fdwOpen) final;
    MMRESULT midiInOpen(HMIDIIN* phMidiIn, uint32_t uDeviceID, tMidiInProc pCallback,
                        uintptr_t dwInstance, uint32_t fdwOpen) final;

    MMRESULT midiOutPrepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) final {
        return WithHeader(hMidiOut, &tOutDevice::Prepare, CheckHeaderToPrepare, pHeader, cbHeader);
    }
    MMRESULT midiInPrepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) final {
        return WithHeader(hMidiIn, &tInDevice::Prepare, CheckHeaderToPrepare, pHeader, cbHeader);
    }
    MMRESULT midiOutLongMsg(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) final {
        return WithHeader(hMidiOut, &tOutDevice::Queue, CheckPreparedHeader, pHeader, cbHeader);
    }
    MMRESULT midiInAddBuffer(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) final {
        return WithHeader(hMidiIn, &tInDevice::Queue, CheckPreparedHeader, pHeader, cbHeader);
    }
    MMRESULT midiInStart(HMIDIIN hMidiIn) final { return WithDevice(hMidiIn, &tInDevice::Start); }
    MMRESULT midiInReset(HMIDIIN hMidiIn) final { return WithDevice(hMidiIn, &tInDevice::Reset); }
    MMRESULT midiOutUnprepareHeader(HMIDIOUT hMidiOut, MIDIHDR* pHeader, uint32_t cbHeader) final {
        return WithHeader(hMidiOut, &tOutDevice::Unprepare, CheckHeaderRecord, pHeader, cbHeader);
    }
    MMRESULT midiInUnprepareHeader(HMIDIIN hMidiIn, MIDIHDR* pHeader, uint32_t cbHeader) final {
        return WithHeader(hMidiIn, &tInDevice::Unprepare, CheckHeaderRecord, pHeader, cbHeader);
    }
    MMRESULT midiOutClose(HMIDIOUT hMidiOut) final { return Close(hMidiOut); }
    MMRESULT midiInClose(HMIDIIN hMidiIn) final { return Close(hMidiIn); }

    MMRESULT midiOutGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) final {
        return Counted(&tBackend::GetErrorText, MIDI_SIDE_OUT, mmrError, pszText, cchText);
    }
    MMRESULT midiInGetErrorText(MMRESULT mmrError, char* pszText, uint32_t cchText) final {
        return Counted(&tBackend::GetErrorText, MIDI_SIDE_IN, mmrError, pszText, cchText);
    }

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

    // Counts the call, then makes it on the backend.
    template <typename tCall, typename... tArgs>
    auto Counted(tCall Call, tArgs... Args) {
        Backend().CountCall();
        return (Backend().*Call)(Args...);
    }

    // Counts the call, then calls Call(device, Args...) with the open device of hDevice.
    template <typename tHandle, typename tCall, typename... tArgs>
    MMRESULT WithDevice(tHandle hDevice, tCall Call, tArgs... Args) {
        Backend().CountCall();
        return Table<tHandle>().With(hDevice, Call, Args...);
    }

    // As WithDevice, for a call with a header: the device gets it only once Check passes it.
    template <typename tHandle, typename tCall>
    MMRESULT WithHeader(tHandle hDevice, tCall Call,
                        MMRESULT (*Check)(const MIDIHDR* pHeader, uint32_t cbHeader),
                        MIDIHDR* pHeader, uint32_t cbHeader) {
        const auto CallChecked = [&](auto& Device) {
            const MMRESULT eCheck = Check(pHeader, cbHeader);
            return eCheck != MMSYSERR_NOERROR ? eCheck : std::invoke(Call, Device, pHeader);
        };
        return WithDevice(hDevice, CallChecked);
    }

    template <typename tHandle, typename tCallback>
    MMRESULT Open(tHandle* phDevice, uint32_t uDeviceID, tCallback pCallback, uintptr_t dwInstance,
                  uint32_t fdwOpen) {
        Backend().CountCall();
        const MMRESULT eArguments = CheckOpenArguments(phDevice, fdwOpen);
        if (eArguments != MMSYSERR_NOERROR) {
            return eArguments;
        }
        return Backend().OpenDevice(phDevice, uDeviceID, pCallback, dwInstance);
    }

    template <typename tHandle>
    MMRESULT Close(tHandle hDevice) {
        Backend().CountCall();
        return Table<tHandle>().Close(hDevice);
    }
};

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiOutGetDevCapsW(uint32_t uDeviceID,
                                                                             MIDIOUTCAPSW* pCaps,
                                                                             uint32_t cbCaps) {
    return Counted(&tBackend::template GetCaps<MIDIOUTCAPSW>, MIDI_SIDE_OUT, uDeviceID, pCaps,
                   cbCaps);
}

template <typename tBackend, typename tOutDevice, typename tInDevice>
MMRESULT cHandleBackend<tBackend, tOutDevice, tInDevice>::midiInGetDevCapsW(uint32_t uDeviceID,
                                                                            MIDIINCAPSW* pCaps,
                                                                            uint32_t cbCaps) {
    return Counted(&tBackend::template GetCaps<MIDIINCAPSW>, MIDI_SIDE_IN, uDeviceID, pCaps,
                   cbCaps);
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
