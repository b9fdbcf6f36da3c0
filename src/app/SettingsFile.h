#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The saved device choice: a device index per direction, -1 for no valid device.
struct tSavedDevices {
    int32_t iSelectedInPort = -1;
    int32_t iSelectedOutPort = -1;
};

// SongLoader.ini, beside the executable: the line "MIDIINPORT=" with the input index, then
// "MIDIOUTPORT=" with the output index, each ended by CR LF. A line's position gives its
// meaning, not its key.
namespace SettingsFile {

inline constexpr const char* kFileName = "SongLoader.ini";
// The file is two short lines; anything past this is not read.
inline constexpr std::size_t kMaxBytesRead = 4096;
// A software synthesizer is never accepted as a saved output device.
inline constexpr const char* kSoftwareSynthName = "Wavetable SW Synth";

// The value of one line: the text after its first "=" (the whole line when it has none) as a
// signed base-10 integer, blanks around it allowed; nothing when it holds no such integer.
std::optional<int32_t> ParseIndexLine(const std::string& Line);

// Reads the saved choice and checks it against the devices present now. With no device of
// either kind the file is not read and there is no choice. A missing file, a
// missing line, a value that is no integer and an index that names no device each give -1; a
// saved output whose name holds kSoftwareSynthName clears both indices.
tSavedDevices ReadDeviceChoice(const std::filesystem::path& File,
                               const std::vector<std::string>& asInPortNames,
                               const std::vector<std::string>& asOutPortNames);

std::string FormatSavedDevices(const tSavedDevices& Choice);
// Creates or overwrites the file; false when it could not be written whole.
bool WriteDeviceChoice(const std::filesystem::path& File, const tSavedDevices& Choice);

}  // namespace SettingsFile
