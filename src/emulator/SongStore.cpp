#include "emulator/SongStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#include "emulator/HexText.h"

namespace {

constexpr const char* kSongExtension = ".x10";
constexpr const char* kPartialExtension = ".x10.part";
constexpr const char* kWriteProbe = ".tav-emulator-write-test";

bool IsAllowedNameChar(char cChar) {
    const auto ucChar = static_cast<uint8_t>(cChar);
    return ucChar >= 0x20 && ucChar < 0x7F && cChar != '/' && cChar != '\\';
}

bool WriteWhole(const std::filesystem::path& File, std::span<const uint8_t> Bytes) {
    std::ofstream Out(File, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(Bytes.data()),
              static_cast<std::streamsize>(Bytes.size()));
    Out.close();
    return !Out.fail();
}

}  // namespace

std::string cSongStore::CheckFolder() const {
    std::error_code Error;
    const std::filesystem::file_status Status = std::filesystem::status(StoreFolder, Error);
    if (!std::filesystem::exists(Status)) {
        return "no such folder";
    }
    if (!std::filesystem::is_directory(Status)) {
        return "it is a file, not a folder";
    }
    const std::filesystem::path Probe = StoreFolder / kWriteProbe;
    errno = 0;
    std::FILE* pProbe = std::fopen(Probe.string().c_str(), "wb");
    if (pProbe == nullptr) {
        return std::string("it cannot be written: ") + std::strerror(errno);
    }
    std::fclose(pProbe);
    std::filesystem::remove(Probe, Error);
    return {};
}

std::filesystem::path cSongStore::PathFor(const std::string& Name) const {
    return StoreFolder / (Name + kSongExtension);
}

tStoreResult cSongStore::Store(const std::string& Name, std::span<const uint8_t> Bytes) const {
    tStoreResult Result;
    Result.Path = PathFor(Name);
    const std::filesystem::path Partial = StoreFolder / (Name + kPartialExtension);
    std::error_code Error;
    if (!WriteWhole(Partial, Bytes)) {
        std::filesystem::remove(Partial, Error);
        Result.Error = "cannot write " + Partial.string();
        return Result;
    }
    std::filesystem::rename(Partial, Result.Path, Error);
    if (Error) {
        std::error_code Ignored;
        std::filesystem::remove(Partial, Ignored);
        Result.Error = "cannot rename " + Partial.string() + " to " + Result.Path.string() + ": " +
                       Error.message();
        return Result;
    }
    Result.Stored = true;
    return Result;
}

std::string cSongStore::NameFault(const std::string& Name) {
    if (Name.empty()) {
        return "the song name is empty";
    }
    if (Name.size() > kMaxNameLength) {
        return "the song name has " + std::to_string(Name.size()) + " characters (at most 12)";
    }
    for (const char cChar : Name) {
        if (!IsAllowedNameChar(cChar)) {
            return "the song name holds the byte 0x" + Hex2(static_cast<uint8_t>(cChar)) +
                   ", which cannot be part of a file name";
        }
    }
    return {};
}
