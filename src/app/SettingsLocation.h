#pragma once

#include <filesystem>

// Where SongLoader.ini lives. Beside the program when that copy is the user's to keep: the file
// there exists and can be written, or it does not and the folder can be written and is no
// system folder under /usr (a portable or build-folder copy of the program keeps working).
// Otherwise, as for an installed program, in the user's own configuration folder.
std::filesystem::path ChooseSettingsFile(const std::filesystem::path& ProgramFolder,
                                         const std::filesystem::path& UserConfigFolder);
