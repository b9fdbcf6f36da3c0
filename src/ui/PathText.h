#pragma once

#include <QString>
#include <filesystem>

// Paths as the windows hold them (QString) and as the logic takes them.
inline std::filesystem::path ToPath(const QString& Path) {
    return std::filesystem::path(Path.toStdU16String());
}

inline QString FromPath(const std::filesystem::path& Path) {
    return QString::fromStdU16String(Path.u16string());
}
