#pragma once

#include <filesystem>

// Where the x10 work files of songs go when the songs' own folders cannot take them (a read-only
// stick or share): the user's cache folder, $XDG_CACHE_HOME/songloader ($HOME/.cache/songloader
// when that is unset; %LOCALAPPDATA%\songloader on Windows). Empty when none can be named.
std::filesystem::path UserWorkFolder();

// A work file there for one song: its name and a tag of its full path, so that songs of the
// same name from two folders never share one ("Song.mid.3f09a1c2d4e5b6a7.x10").
std::filesystem::path WorkFileFor(const std::filesystem::path& WorkFolder,
                                  const std::filesystem::path& SongPath);
