#pragma once

#include "cli/CliCommand.h"

// songloader-cli send --out DEV --in DEV [--handshake | --blind] [--packet-ms MS]
// [--song-ms MS] [--timeout STEPS] [--debug] FILE...: converts the songs as the main window does,
// sends them one after another with the transfer run, and deletes the x10 files at the end,
// whatever the outcome. Exit status 0 only when every song was sent.
const tCliCommand& SendCommand();
