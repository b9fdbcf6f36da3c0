#include "files/UniqueFile.h"

#include <cerrno>
#include <cstdint>
#include <random>

#include "files/FileAccess.h"

namespace {

// Enough draws that only a folder that refuses every name (not one that happens to hold a few
// of them) ends the search.
constexpr int kDraws = 100;

std::string RandomTag() {
    thread_local std::mt19937_64 Generator{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdef";
    uint64_t qwValue = Generator();
    std::string Tag(16, '0');
    for (char& cDigit : Tag) {
        cDigit = kDigits[qwValue & 0xF];
        qwValue >>= 4;
    }
    return Tag;
}

}  // namespace

std::FILE* CreateUniqueFile(const std::filesystem::path& Folder, const std::filesystem::path& Start,
                            const std::string& End, std::filesystem::path& Created) {
    for (int i = 0; i < kDraws; ++i) {
        std::filesystem::path Name = Start;
        Name += RandomTag() + End;
        errno = 0;
        std::FILE* pFile = CreateNewFile(Folder / Name);
        if (pFile != nullptr) {
            Created = Folder / Name;
            return pFile;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}
