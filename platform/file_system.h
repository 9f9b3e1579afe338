// File operations of a duplication, behind an interface so that tests can
// make them fail. Paths are local paths; every failure throws forms::Error
// whose description names the operation, the path and the system's reason.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Follows links.
    virtual bool is_directory(const std::string& path) = 0;
    // The path itself, a link included.
    virtual bool exists(const std::string& path) = 0;
    virtual bool is_link(const std::string& path) = 0;
    // The absolute path with every link resolved; throws when it cannot be
    // resolved.
    virtual std::string resolved(const std::string& path) = 0;
    // Whether files can be created in the folder.
    virtual bool writable(const std::string& folder) = 0;
    // Full paths of the files of one folder whose names end in suffix
    // (compared without regard to ASCII case), not recursive.
    virtual std::vector<std::string> files_with_suffix(const std::string& folder, std::string_view suffix) = 0;
    virtual void remove(const std::string& path) = 0;
    // Creates or truncates the file, writes the bytes and closes it.
    virtual void write_file(const std::string& path, std::string_view bytes) = 0;
    virtual std::string read_file(const std::string& path) = 0;
    // Fails when from is missing or to exists.
    virtual void rename(const std::string& from, const std::string& to) = 0;
    virtual void make_folder(const std::string& path) = 0;
    // Removes an empty folder.
    virtual void remove_folder(const std::string& path) = 0;
};

// The local file system.
FileSystem& local_file_system();

// A UTF-8 path as the file system takes it (UTF-16 on Windows), and back.
std::filesystem::path local_path(std::string_view utf8);
std::string utf8_path(const std::filesystem::path& path);

// Joins a folder and a backslash-separated relative path with the local
// separator ("." stands for the folder itself).
std::string join_local(const std::string& folder, std::string_view relative);

// What the local file system allows: the longest file name and the longest
// path, both counted as length_of() counts.
std::size_t max_name_length();
std::size_t max_path_length();
// The length of a UTF-8 name or path as the local file system counts it.
std::size_t length_of(std::string_view utf8);

}  // namespace forms
