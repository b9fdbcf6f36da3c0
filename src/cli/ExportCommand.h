#pragma once

#include "cli/CliCommand.h"

// songloader-cli export [--debug] FILE.mid -o OUT.syx: converts the song and writes the whole
// File Dump stream (header, data packets, end-of-file message) as a .syx file, for other SysEx
// tools. A song that does not convert gets the same message and status as convert, and no .syx.
const tCliCommand& ExportCommand();
