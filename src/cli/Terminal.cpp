#include "cli/Terminal.h"

#ifdef _WIN32
#include <io.h>
#include <stdio.h>
bool StdoutIsTerminal() {
    return _isatty(_fileno(stdout)) != 0;
}
#else
#include <unistd.h>
bool StdoutIsTerminal() {
    return isatty(STDOUT_FILENO) != 0;
}
#endif
