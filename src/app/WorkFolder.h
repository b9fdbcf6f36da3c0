#pragma once

#include <filesystem>
#include <string>

// Where the x10 work files of the songs a transfer sends go: the user's cache folder,
// $XDG_CACHE_HOME/songloader ($HOME/.cache/songloader when that is unset;
// %LOCALAPPDATA%\songloader on Windows). Empty when none can be named.
std::filesystem::path UserWorkFolder();

// Creates a work file of the caller's own for a song's x10 file, new and empty, so that no
// other run, and no file the user has, is ever written or deleted through its name: in the
// work folder ("My Song.3f09a1c2d4e5b6a7.x10", the song's device name and a random tag), or,
// when that folder cannot be used, beside the song under a hidden name
// (".My Song.3f09a1c2d4e5b6a7.x10"). Returns its path; empty when it can be made in neither
// place, with Problem saying why ("cannot create a work file ...", the system's reasons).
std::filesystem::path CreateWorkFile(const std::filesystem::path& WorkFolder,
                                     const std::filesystem::path& SongPath, std::string& Problem);
