#include "app/SettingsLocation.h"

#include <fstream>
#include <random>
#include <system_error>

#include "app/SettingsFile.h"

namespace {

bool IsUnderUsr(const std::filesystem::path& Folder) {
    std::error_code Error;
    const std::filesystem::path Real = std::filesystem::weakly_canonical(Folder, Error);
    const std::filesystem::path Relative = (Error ? Folder : Real).lexically_relative("/usr");
    return !Relative.empty() && *Relative.begin() != "..";
}

// Opening for appending writes nothing; it only succeeds where writing would.
bool CanWriteFile(const std::filesystem::path& File) {
    std::ofstream Probe(File, std::ios::binary | std::ios::app);
    return Probe.is_open();
}

bool CanWriteFolder(const std::filesystem::path& Folder) {
    std::random_device Random;
    const std::filesystem::path Probe = Folder / (".songloader-probe-" + std::to_string(Random()));
    const bool bWritten = CanWriteFile(Probe);
    std::error_code Error;
    std::filesystem::remove(Probe, Error);
    return bWritten;
}

}  // namespace

std::filesystem::path ChooseSettingsFile(const std::filesystem::path& ProgramFolder,
                                         const std::filesystem::path& UserConfigFolder) {
    const std::filesystem::path Beside = ProgramFolder / SettingsFile::kFileName;
    std::error_code Error;
    const std::filesystem::file_status Status = std::filesystem::status(Beside, Error);
    const bool bUseBeside =
        std::filesystem::exists(Status)
            ? std::filesystem::is_regular_file(Status) && CanWriteFile(Beside)
            : !IsUnderUsr(ProgramFolder) && CanWriteFolder(ProgramFolder);  // never probe /usr
    return bUseBeside ? Beside : UserConfigFolder / SettingsFile::kFileName;
}
