#pragma once

#include "cli/CliCommand.h"

// songloader-cli merge SONG.mid -o OUT.mid: writes the format-0 song of a multi-track song's
// tracks merged, for other devices and programs; a format-0 song is written unchanged.
const tCliCommand& MergeCommand();
