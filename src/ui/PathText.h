#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <string>
#include <vector>

// Paths and texts as the windows hold them (QString) and as the logic takes them.
inline std::filesystem::path ToPath(const QString& Path) {
    return std::filesystem::path(Path.toStdU16String());
}

inline QString FromPath(const std::filesystem::path& Path) {
    return QString::fromStdU16String(Path.u16string());
}

inline std::vector<std::filesystem::path> ToPaths(const QStringList& asPaths) {
    std::vector<std::filesystem::path> Paths;
    for (const QString& Path : asPaths) {
        Paths.push_back(ToPath(Path));
    }
    return Paths;
}

inline QStringList ToQStringList(const std::vector<std::string>& Texts) {
    QStringList Result;
    for (const std::string& Text : Texts) {
        Result << QString::fromStdString(Text);
    }
    return Result;
}
