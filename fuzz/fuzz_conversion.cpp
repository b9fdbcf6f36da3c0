// Any bytes as a song file: vetting and the whole conversion, with the debug dump on, must
// neither crash, nor leak, nor read out of bounds, and a failure must leave no x10 file.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "conversion/SongConversion.h"
#include "conversion/VantorMidiFile.h"

namespace {

std::filesystem::path gSongPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::filesystem::path Folder =
        std::filesystem::temp_directory_path() / ("songloader-fuzz-" + std::to_string(std::rand()));
    std::filesystem::create_directories(Folder);
    std::filesystem::current_path(Folder);  // the debug dump lands here
    gSongPath = Folder / "song.mid";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pucData, size_t uiSize) {
    const std::filesystem::path X10Path = VantorMidiFile::MakeX10FilePath(gSongPath);
    std::filesystem::remove(X10Path);  // the last input's song file
    {
        std::ofstream Out(gSongPath, std::ios::binary | std::ios::trunc);
        Out.write(reinterpret_cast<const char*>(pucData), static_cast<std::streamsize>(uiSize));
    }
    VetSong(gSongPath);
    const tSongConversion Result = ConvertSong(gSongPath, true);
    const bool bX10Left = std::filesystem::exists(X10Path);
    if (Result.bConverted != bX10Left) {
        std::abort();
    }
    return 0;
}
