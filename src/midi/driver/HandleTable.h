#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "midi/MidiPlatform.h"

// The open devices of a backend by handle. Handles count up and are never reused, so a stale
// handle finds nothing instead of another device. Safe to use from any thread; a device found
// stays alive for as long as the caller holds it, even if it is removed meanwhile.
template <typename tHandle, typename tDevice>
class cHandleTable {
  public:
    // Issues a new handle and keeps the device that Make(handle) builds for it.
    template <typename tMake>
    tHandle Add(tMake Make) {
        std::lock_guard<std::mutex> Lock(TableMutex);
        const tHandle hNew{++LastHandle};
        Devices.emplace(LastHandle, Make(hNew));
        return hNew;
    }

    // Opens a new device under a new handle: builds it from its handle, pCallback and
    // dwInstance, then calls OpenDevice(device). It has its handle first, as the open message comes
    // during the open. Only a device that opened is kept and its handle written to phDevice.
    template <typename tCallback, typename tOpen>
    MMRESULT Open(tHandle* phDevice, tCallback pCallback, uintptr_t dwInstance, tOpen OpenDevice) {
        std::shared_ptr<tDevice> pDevice;
        const tHandle hNew = Add([&](tHandle hDevice) {
            pDevice = std::make_shared<tDevice>(hDevice, pCallback, dwInstance);
            return pDevice;
        });
        const MMRESULT eOpened = OpenDevice(*pDevice);
        if (eOpened != MMSYSERR_NOERROR) {
            Remove(hNew);
            return eOpened;
        }
        *phDevice = hNew;
        return MMSYSERR_NOERROR;
    }

    std::shared_ptr<tDevice> Find(tHandle hDevice) const {
        std::lock_guard<std::mutex> Lock(TableMutex);
        const auto Found = Devices.find(static_cast<uint32_t>(hDevice));
        return Found == Devices.end() ? nullptr : Found->second;
    }

    // Calls Call(device, Args...) (a function or a member function of the device) with the
    // device of hDevice; MMSYSERR_INVALHANDLE when none is open.
    template <typename tCall, typename... tArgs>
    MMRESULT With(tHandle hDevice, tCall Call, tArgs... Args) const {
        const std::shared_ptr<tDevice> pDevice = Find(hDevice);
        return pDevice != nullptr ? std::invoke(Call, *pDevice, Args...) : MMSYSERR_INVALHANDLE;
    }

    // Closes the device of hDevice (its Close()) and forgets it once that succeeds.
    MMRESULT Close(tHandle hDevice) {
        return With(hDevice, [&](tDevice& Device) {
            const MMRESULT eClosed = Device.Close();
            if (eClosed == MMSYSERR_NOERROR) {
                Remove(hDevice);
            }
            return eClosed;
        });
    }

    std::shared_ptr<tDevice> Remove(tHandle hDevice) {
        std::lock_guard<std::mutex> Lock(TableMutex);
        const auto Found = Devices.find(static_cast<uint32_t>(hDevice));
        if (Found == Devices.end()) {
            return nullptr;
        }
        std::shared_ptr<tDevice> pDevice = std::move(Found->second);
        Devices.erase(Found);
        return pDevice;
    }

    std::vector<std::shared_ptr<tDevice>> RemoveAll() {
        std::lock_guard<std::mutex> Lock(TableMutex);
        std::vector<std::shared_ptr<tDevice>> Removed;
        for (auto& Entry : Devices) {
            Removed.push_back(std::move(Entry.second));
        }
        Devices.clear();
        return Removed;
    }

  private:
    mutable std::mutex TableMutex;
    std::map<uint32_t, std::shared_ptr<tDevice>> Devices;
    uint32_t LastHandle = 0;
};
