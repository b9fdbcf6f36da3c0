#include "conversion/SongFile.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <system_error>
#include <utility>

#include "conversion/RiffMidi.h"
#include "files/FileAccess.h"

namespace {

constexpr size_t kReadBlock = size_t{64} * 1024;

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
    const cReadFile File = OpenRegularFile(SongPath);
    if (!File) {
        return File.Kind() != nullptr ? Refuse(CONV_NOT_REGULAR_FILE, File.Kind())
                                      : Refuse(CONV_OPEN_FAILED, File.FailureText());
    }
    tSongFileRead Result;
    const uint64_t qwWanted = qwMaxBytes + 1;
    Result.Bytes.reserve(static_cast<size_t>(std::min(File.Size(), qwWanted)));
    errno = 0;
    if (!ReadUpTo(File.File(), qwWanted, Result.Bytes)) {
        return Refuse(CONV_READ_FAILED, SystemErrorText(errno != 0 ? errno : EIO));
    }
    bMoreInFile = Result.Bytes.size() > qwMaxBytes;
    if (bMoreInFile) {
        Result.Bytes.resize(static_cast<size_t>(qwMaxBytes));
        // The size the file had when opened; unknown (0) if it has grown past the limit since.
        Result.FileBytes = File.Size() > qwMaxBytes ? File.Size() : 0;
    }
    return Result;
}

// The song a RIFF MIDI file wraps, in place of the file's bytes; other files as they are.
tSongFileRead Unwrapped(tSongFileRead Read) {
    if (Read.eFailure != CONV_NONE || !IsRiffMidi(Read.Bytes)) {
        return Read;
    }
    const tWrappedSong Song = FindWrappedSong(Read.Bytes);
    if (!Song.Fault.empty()) {
        return Refuse(CONV_BAD_RIFF_WRAPPER, Song.Fault);
    }
    const auto Start = Read.Bytes.begin() + static_cast<std::ptrdiff_t>(Song.uiOffset);
    Read.Bytes.erase(Start + static_cast<std::ptrdiff_t>(Song.uiLength), Read.Bytes.end());
    Read.Bytes.erase(Read.Bytes.begin(), Start);
    return Read;
}

}  // namespace

tSongFileRead ReadSongFile(const std::filesystem::path& SongPath) {
    bool bMoreInFile = false;
    tSongFileRead Result = ReadSong(SongPath, kMaxSongBytes, bMoreInFile);
    if (bMoreInFile) {
        const uint64_t qwFileBytes = Result.FileBytes;
        Result = Refuse(CONV_SONG_TOO_LARGE, {});
        Result.FileBytes = qwFileBytes;
    }
    return Unwrapped(std::move(Result));
}

// The start of a RIFF MIDI file is its wrapper: the song it wraps is read to find its start.
tSongFileRead ReadSongStart(const std::filesystem::path& SongPath, size_t uiCount) {
    constexpr size_t kRiffFormBytes = 12;
    bool bMoreInFile = false;
    tSongFileRead Start = ReadSong(SongPath, std::max(uiCount, kRiffFormBytes), bMoreInFile);
    if (Start.eFailure == CONV_NONE && IsRiffMidi(Start.Bytes)) {
        Start = ReadSongFile(SongPath);
    }
    if (Start.Bytes.size() > uiCount) {
        Start.Bytes.resize(uiCount);
    }
    return Start;
}

std::string SongTooLargeText(uint64_t qwSongBytes) {
    const std::string Limit = std::to_string(kMaxSongBytes) + " a song may have";
    if (qwSongBytes == 0) {
        return "the song is more than the " + Limit;
    }
    return "the song is " + std::to_string(qwSongBytes) + " bytes, more than the " + Limit;
}

std::string ReadFailureText(const tSongFileRead& Read) {
    switch (Read.eFailure) {
        case CONV_NOT_REGULAR_FILE:
            return "the file is " + Read.Reason + ", not a regular file";
        case CONV_SONG_TOO_LARGE:
            return SongTooLargeText(Read.FileBytes);
        case CONV_READ_FAILED:
            return "cannot read the file: " + Read.Reason;
        case CONV_BAD_RIFF_WRAPPER:
            return Read.Reason;
        default:
            return "cannot open the file: " + Read.Reason;
    }
}
