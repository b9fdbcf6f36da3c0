#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What SongLoader.ini keeps from one run to the next: the device choice, by index and by name,
// whether multi-track songs are merged, whether sends are paced on acknowledgement, and the
// folder last used for Load Songs.
struct tSavedSettings {
    int32_t iInPort = -1;  // -1: no valid device
    int32_t iOutPort = -1;
    std::string InName;  // empty: no name saved
    std::string OutName;
    bool bMergeTracks = false;
    bool AckPaced = false;  // with handshakes, each packet goes once the one before is acknowledged
    std::filesystem::path LastFolder = {};  // empty: none
};

// The file: the line "MIDIINPORT=" with the input index, then "MIDIOUTPORT=" with the output
// index, whose positions (not their keys) give their meaning, so that a reader that takes only
// those two still reads it; then lines read by their key: "MIDIINNAME=", "MIDIOUTNAME=",
// "MERGETRACKS=" and "ACKPACED=" (1 or 0), "LASTFOLDER=" with the folder's name as UTF-8, as
// it is, up to the line's end (a name holding a line break is not kept). Every line ends in
// CR LF.
namespace SettingsFile {

inline constexpr const char* kFileName = "SongLoader.ini";
// The file is a few short lines, the longest a folder's name; anything past this is not read,
// nor the line it cuts.
inline constexpr std::size_t kMaxBytesRead = 16384;

// The value of an index line: the text after its first "=" (the whole line when it has none)
// as a signed base-10 integer, blanks around it allowed; nothing when it holds no such integer.
std::optional<int32_t> ParseIndexLine(const std::string& Line);

// The settings as the file holds them; a missing file, or one that is no regular file, gives
// none. A missing line or an index that is no integer gives -1; a 1/0 value other than 1, 0.
tSavedSettings Read(const std::filesystem::path& File);
std::string Format(const tSavedSettings& Settings);
// Replaces the file whole (see OutputFile.h), making its folder when needed; why it could not,
// or an empty text.
std::string Write(const std::filesystem::path& File, const tSavedSettings& Settings);

}  // namespace SettingsFile
