#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Writes a command's output file (a .syx stream, a merged song) so that nothing is lost: an
// existing target that is not a regular file (a folder, a device, a FIFO, a symbolic link loop)
// is refused and left untouched, and so is the song the output is made from, however the target
// names it (the same path, a symbolic link, another hard link); a symbolic link to a regular
// file is followed and the file it names is replaced; the bytes go to a work file beside the
// target, renamed over it once complete. Only that work file is ever removed, so a failure never
// harms what was there before.
// Returns an empty text on success, else why nothing was written, naming the file. Source is the
// file the output is made from; empty when there is none.
std::string WriteOutputFile(const std::filesystem::path& Target, const std::vector<uint8_t>& Bytes,
                            const std::filesystem::path& Source = {});
// The same, with the bytes written as they are made: Write puts them into the work file and
// says whether it could (errno holds why not).
using tOutputWriter = std::function<bool(std::FILE*)>;
std::string WriteOutputFile(const std::filesystem::path& Target, const tOutputWriter& Write,
                            const std::filesystem::path& Source = {});
// The writer of bytes made beforehand; they must outlive it.
tOutputWriter WriterOf(const std::vector<uint8_t>& Bytes);
