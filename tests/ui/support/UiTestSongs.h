#pragma once

#include <QString>
#include <QtGlobal>
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
// A song of a kind named in a test table: "good" (format 0), "format1", "notmidi", "big" (one
// byte over 100 KB) or "crowded" (events removed at an instant).
inline QString OfKind(const TempDir& Folder, const QString& Kind, const std::string& Name) {
    if (Kind == "good") {
        return Format0(Folder, Name);
    }
    if (Kind == "format1") {
        return Format1(Folder, Name);
    }
    if (Kind == "notmidi") {
        return NotMidi(Folder, Name);
    }
    if (Kind == "big") {
        return OfSize(Folder, Name, 100001);
    }
    if (Kind == "crowded") {
        return CrowdedInstant(Folder, Name);
    }
    qFatal("no song of the kind %s", qPrintable(Kind));
}

inline std::filesystem::path X10PathOf(const QString& Song) {
    return TestSongs::X10PathOf(Song.toStdString());
}

}  // namespace UiTestSongs
