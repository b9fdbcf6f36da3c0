#pragma once

#include "cli/CliCommand.h"

// songloader-cli devices: lists the MIDI output and input devices with the indices that choose
// them, in the order the main window lists them. Uses the installed MIDI backend, or the real
// devices when none is installed; exit status 1 when the MIDI system does not answer.
const tCliCommand& DevicesCommand();
