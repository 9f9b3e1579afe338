// File operations of a duplication, behind an interface so that tests can
// make them fail. Paths are local paths; every failure throws forms::Error
// whose description names the operation, the path and the system's reason.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace forms {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool is_directory(const std::string& path) = 0;
    virtual bool exists(const std::string& path) = 0;
    // Full paths of the files of one folder whose names end in suffix
    // (compared without regard to ASCII case), not recursive.
    virtual std::vector<std::string> files_with_suffix(const std::string& folder, std::string_view suffix) = 0;
    virtual void remove(const std::string& path) = 0;
    // Creates or truncates the file, writes the bytes and closes it.
    virtual void write_file(const std::string& path, std::string_view bytes) = 0;
    // Fails when from is missing or to exists.
    virtual void rename(const std::string& from, const std::string& to) = 0;
};

// The local file system.
FileSystem& local_file_system();

// Joins a folder and a backslash-separated relative path with the local
// separator ("." stands for the folder itself).
std::string join_local(const std::string& folder, std::string_view relative);

}  // namespace forms
