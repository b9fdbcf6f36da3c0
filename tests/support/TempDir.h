#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

// A fresh folder for one test, removed with everything in it when the test ends.
class TempDir {
  public:
    TempDir() {
        std::random_device Random;
        Path = std::filesystem::temp_directory_path() /
               ("songloader-test-" + std::to_string(Random()) + std::to_string(Random()));
        std::filesystem::create_directories(Path);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code Error;
        std::filesystem::remove_all(Path, Error);
    }

    const std::filesystem::path& path() const { return Path; }
    std::filesystem::path operator/(const std::string& Name) const { return Path / Name; }

  private:
    std::filesystem::path Path;
};

// Runs the test body with the working directory moved into a folder, and moves it back.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::filesystem::path& Folder)
        : Previous(std::filesystem::current_path()) {
        std::filesystem::current_path(Folder);
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    ~WorkingDirectory() { std::filesystem::current_path(Previous); }

  private:
    std::filesystem::path Previous;
};

// How many entries Folder holds.
inline size_t EntriesIn(const std::filesystem::path& Folder) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(Folder), {}));
}

inline std::vector<uint8_t> ReadAll(const std::filesystem::path& File) {
    std::ifstream In(File, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

inline std::string ReadText(const std::filesystem::path& File) {
    std::ifstream In(File, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::filesystem::path& File, const std::vector<uint8_t>& Bytes) {
    std::ofstream Out(File, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(Bytes.data()),
              static_cast<std::streamsize>(Bytes.size()));
}

inline std::vector<uint8_t> Concat(std::vector<uint8_t> First, const std::vector<uint8_t>& Second) {
    First.insert(First.end(), Second.begin(), Second.end());
    return First;
}
