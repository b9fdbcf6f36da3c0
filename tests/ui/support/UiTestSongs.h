#pragma once

#include <QString>
#include <filesystem>
#include <string>

#include "TestSongs.h"

// The test songs as the windows take them: full paths as text.
namespace UiTestSongs {

inline QString Text(const std::filesystem::path& Path) {
    return QString::fromStdString(Path.string());
}

inline QString Write(const TempDir& Folder, const std::string& Name,
                     const std::vector<uint8_t>& Bytes) {
    return Text(TestSongs::Write(Folder, Name, Bytes));
}
inline QString Format0(const TempDir& Folder, const std::string& Name, int iNotes = 8) {
    return Text(TestSongs::Format0(Folder, Name, iNotes));
}
inline QString Format1(const TempDir& Folder, const std::string& Name) {
    return Text(TestSongs::Format1(Folder, Name));
}
inline QString NotMidi(const TempDir& Folder, const std::string& Name) {
    return Text(TestSongs::NotMidi(Folder, Name));
}
inline QString OfSize(const TempDir& Folder, const std::string& Name, size_t uiBytes) {
    return Text(TestSongs::OfSize(Folder, Name, uiBytes));
}
inline QString CrowdedInstant(const TempDir& Folder, const std::string& Name) {
    return Text(TestSongs::CrowdedInstant(Folder, Name));
}
inline QString CutOffNote(const TempDir& Folder, const std::string& Name) {
    return Text(TestSongs::CutOffNote(Folder, Name));
}
inline std::filesystem::path X10PathOf(const QString& Song) {
    return TestSongs::X10PathOf(Song.toStdString());
}

}  // namespace UiTestSongs
