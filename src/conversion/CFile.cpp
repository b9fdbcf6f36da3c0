#include "conversion/CFile.h"

#include <system_error>

namespace {

// "x" is the C library's exclusive mode: the file is created only if nothing has the name.
#ifdef _WIN32
constexpr const wchar_t* kRead = L"rb";
constexpr const wchar_t* kCreateNew = L"wbx";
std::FILE* Open(const std::filesystem::path& FilePath, const wchar_t* szMode) {
    return _wfopen(FilePath.c_str(), szMode);
}
#else
constexpr const char* kRead = "rb";
constexpr const char* kCreateNew = "wbx";
std::FILE* Open(const std::filesystem::path& FilePath, const char* szMode) {
    return std::fopen(FilePath.c_str(), szMode);
}
#endif

}  // namespace

std::FILE* OpenFileForReading(const std::filesystem::path& FilePath) {
    return Open(FilePath, kRead);
}

std::FILE* CreateNewFile(const std::filesystem::path& FilePath) {
    return Open(FilePath, kCreateNew);
}

std::string SystemErrorText(int iErrno) {
    return std::generic_category().message(iErrno);
}
