#pragma once

#include <cstdint>
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
        std::lock_guard<std::mutex> Lock(mTable);
        const tHandle hNew{++uiLastHandle};
        Devices.emplace(uiLastHandle, Make(hNew));
        return hNew;
    }

    std::shared_ptr<tDevice> Find(tHandle hDevice) const {
        std::lock_guard<std::mutex> Lock(mTable);
        const auto Found = Devices.find(static_cast<uint32_t>(hDevice));
        return Found == Devices.end() ? nullptr : Found->second;
    }

    // Calls Call(device) with the device of hDevice; MMSYSERR_INVALHANDLE when none is open.
    template <typename tCall>
    MMRESULT With(tHandle hDevice, tCall Call) const {
        const std::shared_ptr<tDevice> pDevice = Find(hDevice);
        return pDevice != nullptr ? Call(*pDevice) : MMSYSERR_INVALHANDLE;
    }

    std::shared_ptr<tDevice> Remove(tHandle hDevice) {
        std::lock_guard<std::mutex> Lock(mTable);
        const auto Found = Devices.find(static_cast<uint32_t>(hDevice));
        if (Found == Devices.end()) {
            return nullptr;
        }
        std::shared_ptr<tDevice> pDevice = std::move(Found->second);
        Devices.erase(Found);
        return pDevice;
    }

    std::vector<std::shared_ptr<tDevice>> RemoveAll() {
        std::lock_guard<std::mutex> Lock(mTable);
        std::vector<std::shared_ptr<tDevice>> Removed;
        for (auto& Entry : Devices) {
            Removed.push_back(std::move(Entry.second));
        }
        Devices.clear();
        return Removed;
    }

  private:
    mutable std::mutex mTable;
    std::map<uint32_t, std::shared_ptr<tDevice>> Devices;
    uint32_t uiLastHandle = 0;
};
