#pragma once

#include "cli/CliCommand.h"

// songloader-cli unlock --out DEV [--yes]: after the user confirms (or with --yes), sends the
// pair of commands that unlock the device's default songs, with the pauses the device needs.
const tCliCommand& UnlockCommand();
