#pragma once

// Whether the program's standard output is a terminal (and not a pipe or a file).
bool StdoutIsTerminal();
