#pragma once

#include "cli/CliCommand.h"

// songloader-cli convert [--debug] FILE...: vets and converts each song, writing FILE + "x10"
// beside it and printing that path. A song that fails leaves no x10 file; the others go on.
const tCliCommand& ConvertCommand();
