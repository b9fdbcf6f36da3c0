#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The program's text as the system hands it over and shows it, in UTF-8 throughout.

// The arguments after the program's name. On Windows they are read from the wide (UTF-16)
// command line, so that names outside the ANSI code page arrive whole; elsewhere they are argv.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// While this lives, the console shows the program's output as UTF-8 (a Windows console would
// read it in its own code page); it gets its own code page back afterwards. Nothing to do
// elsewhere.
class cUtf8Console {
  public:
    cUtf8Console();
    cUtf8Console(const cUtf8Console&) = delete;
    cUtf8Console& operator=(const cUtf8Console&) = delete;
    ~cUtf8Console();

  private:
    [[maybe_unused]] uint32_t PreviousCodePage = 0;  // used on Windows only
};
