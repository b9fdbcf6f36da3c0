#include "app/ConvertedFiles.h"

#include <system_error>

std::vector<tUndeletedFile> DeleteConvertedFiles(
    const std::vector<std::filesystem::path>& X10Paths) {
    std::vector<tUndeletedFile> Undeleted;
    for (const std::filesystem::path& X10Path : X10Paths) {
        if (X10Path.empty()) {
            continue;  // a song that was not converted
        }
        std::error_code Error;
        std::filesystem::remove(X10Path, Error);
        if (Error) {
            Undeleted.push_back({X10Path, Error.message()});
        }
    }
    return Undeleted;
}
