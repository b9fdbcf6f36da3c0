#include "conversion/SongFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "conversion/CFile.h"

namespace {

constexpr size_t kReadBlock = size_t{64} * 1024;

struct tCloseFile {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

const char* SpecialKindOf(std::filesystem::file_type eType) {
    switch (eType) {
        case std::filesystem::file_type::fifo:
            return "a FIFO";
        case std::filesystem::file_type::block:
        case std::filesystem::file_type::character:
            return "a device";
        case std::filesystem::file_type::socket:
            return "a socket";
        default:
            return nullptr;
    }
}

tSongFileRead Refuse(tConversionFailure eWhy, std::string Reason) {
    tSongFileRead Result;
    Result.eFailure = eWhy;
    Result.Reason = std::move(Reason);
    return Result;
}

// Reads the file up to qwWanted bytes or its end; false on a read error.
bool ReadUpTo(std::FILE* pFile, uint64_t qwWanted, std::vector<uint8_t>& Bytes) {
    while (Bytes.size() < qwWanted) {
        const size_t uiOld = Bytes.size();
        const auto uiBlock = static_cast<size_t>(std::min<uint64_t>(kReadBlock, qwWanted - uiOld));
        Bytes.resize(uiOld + uiBlock);
        const size_t uiGot = std::fread(Bytes.data() + uiOld, 1, uiBlock, pFile);
        Bytes.resize(uiOld + uiGot);
        if (uiGot < uiBlock) {
            return std::ferror(pFile) == 0;
        }
    }
    return true;
}

// Reads up to qwMaxBytes, and one byte more to tell whether the file goes on.
tSongFileRead ReadSong(const std::filesystem::path& SongPath, uint64_t qwMaxBytes,
                       bool& bMoreInFile) {
    std::error_code Error;
    const std::filesystem::file_type eType = std::filesystem::status(SongPath, Error).type();
    if (const char* szKind = SpecialKindOf(eType)) {
        return Refuse(CONV_NOT_REGULAR_FILE, szKind);
    }
    if (eType == std::filesystem::file_type::directory) {
        return Refuse(CONV_OPEN_FAILED, std::make_error_code(std::errc::is_a_directory).message());
    }
    errno = 0;
    const std::unique_ptr<std::FILE, tCloseFile> pFile(OpenFileForReading(SongPath));
    if (!pFile) {
        return Refuse(CONV_OPEN_FAILED, SystemErrorText(errno));
    }
    tSongFileRead Result;
    const uint64_t qwWanted = qwMaxBytes + 1;
    const uint64_t qwSize = std::filesystem::file_size(SongPath, Error);
    Result.Bytes.reserve(static_cast<size_t>(Error ? 0 : std::min(qwSize, qwWanted)));
    if (!ReadUpTo(pFile.get(), qwWanted, Result.Bytes)) {
        return Refuse(CONV_READ_FAILED, SystemErrorText(errno));
    }
    bMoreInFile = Result.Bytes.size() > qwMaxBytes;
    if (bMoreInFile) {
        Result.Bytes.resize(static_cast<size_t>(qwMaxBytes));
    }
    return Result;
}

}  // namespace

const char* SpecialFileKind(const std::filesystem::path& FilePath) {
    std::error_code Error;
    return SpecialKindOf(std::filesystem::status(FilePath, Error).type());
}

tSongFileRead ReadSongFile(const std::filesystem::path& SongPath) {
    bool bMoreInFile = false;
    tSongFileRead Result = ReadSong(SongPath, kMaxSongBytes, bMoreInFile);
    if (bMoreInFile) {
        std::error_code Error;
        const uint64_t qwSize = std::filesystem::file_size(SongPath, Error);
        Result = Refuse(CONV_SONG_TOO_LARGE, {});
        Result.qwFileBytes = Error ? kMaxSongBytes + 1 : qwSize;
    }
    return Result;
}

tSongFileRead ReadSongStart(const std::filesystem::path& SongPath, size_t uiCount) {
    bool bMoreInFile = false;
    return ReadSong(SongPath, uiCount, bMoreInFile);
}

std::string SongTooLargeText(uint64_t qwSongBytes) {
    return "the song is " + std::to_string(qwSongBytes) + " bytes, more than the " +
           std::to_string(kMaxSongBytes) + " a song may have";
}

std::string ReadFailureText(const tSongFileRead& Read) {
    switch (Read.eFailure) {
        case CONV_NOT_REGULAR_FILE:
            return "the file is " + Read.Reason + ", not a regular file";
        case CONV_SONG_TOO_LARGE:
            return SongTooLargeText(Read.qwFileBytes);
        case CONV_READ_FAILED:
            return "cannot read the file: " + Read.Reason;
        default:
            return "cannot open the file: " + Read.Reason;
    }
}
