#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

struct tStoreResult {
    bool Stored = false;
    std::filesystem::path Path;
    std::string Error;  // why the song could not be stored, naming the file
};

// The device's song memory: a folder holding each received song as NAME.x10. A song is
// written under a temporary name first and then renamed over the old one, so that a failed
// write never destroys a song of the same name that was stored before.
class cSongStore {
  public:
    static constexpr size_t kMaxNameLength = 12;

    explicit cSongStore(std::filesystem::path Folder) : StoreFolder(std::move(Folder)) {}

    // Why songs cannot be stored in the folder (it is missing, a file, or not writable, which a
    // file written and removed again finds out); empty when they can.
    std::string CheckFolder() const;

    std::filesystem::path PathFor(const std::string& Name) const;
    tStoreResult Store(const std::string& Name, std::span<const uint8_t> Bytes) const;

    // Why a header's song name cannot be a file name here; empty when it can. Allowed: 1 to 12
    // printable 7-bit characters other than the path separators '/' and '\'.
    static std::string NameFault(const std::string& Name);

  private:
    std::filesystem::path StoreFolder;
};
