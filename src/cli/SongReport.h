#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "app/ConvertedFiles.h"
#include "app/SongPreparation.h"

// "merged from 3 tracks", "merged from 1 track".
std::string MergedTracksText(uint32_t dwTracks);
// Reports on stderr what became of a song on its way to the device (refused, not converted and
// why, a missing conversion dump, its tracks merged, events left out); true when converted.
bool ReportPreparedSong(const tPreparedSong& Song, std::ostream& Err);
// Reports every song of a transfer's preparation.
void ReportPreparedSongs(const tPreparedSongs& Songs, std::ostream& Err);
// Reports the converted files that stayed on disk; true when there were none.
bool ReportUndeleted(const std::vector<tUndeletedFile>& Undeleted, std::ostream& Err);
