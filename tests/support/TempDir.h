#pragma once

#include <filesystem>
#include <string>

// A fresh folder inside the process's scratch folder, removed when it goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Writes bytes to a file, creating its parent folders.
void writeFile(const std::filesystem::path& path, const std::string& bytes);
// Reads a whole file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);
