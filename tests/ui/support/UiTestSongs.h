#pragma once

#include <QString>
#include <QtGlobal>
#include <filesystem>
#include <string>
#include <system_error>

#include "TestSongs.h"

// The test songs as the windows take them: full paths as text.
namespace UiTestSongs {

inline QString Text(const std::filesystem::path& Path) {
    return QString::fromStdString(Path.string());
}

inline QString Format0(const TempDir& Folder, const std::string& Name, int iNotes = 8) {
    return Text(TestSongs::Format0(Folder, Name, iNotes));
}
// A song of a kind named in a test: "good" (format 0), "format1", "notmidi", "big" (one byte
// over 100 KB), "crowded" (events removed at an instant) or "cutoff" (fails to convert).
inline QString OfKind(const TempDir& Folder, const QString& Kind, const std::string& Name) {
    if (Kind == "good") {
        return Format0(Folder, Name);
    }
    if (Kind == "format1") {
        return Text(TestSongs::Format1(Folder, Name));
    }
    if (Kind == "notmidi") {
        return Text(TestSongs::NotMidi(Folder, Name));
    }
    if (Kind == "big") {
        return Text(TestSongs::OfSize(Folder, Name, 100001));
    }
    if (Kind == "crowded") {
        return Text(TestSongs::CrowdedInstant(Folder, Name));
    }
    if (Kind == "cutoff") {
        return Text(TestSongs::CutOffNote(Folder, Name));
    }
    qFatal("no song of the kind %s", qPrintable(Kind));
}

inline std::filesystem::path X10PathOf(const QString& Song) {
    return TestSongs::X10PathOf(Song.toStdString());
}

// The system's words for a file that is not there.
inline QString NoSuchFile() {
    return QString::fromStdString(
        std::make_error_code(std::errc::no_such_file_or_directory).message());
}

}  // namespace UiTestSongs
