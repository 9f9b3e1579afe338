// Drives and folders as the drive and folder lists offer them.
#pragma once

#include <string>
#include <vector>

namespace forms {

// Mount points a user would pick from; on Windows the drives as "c: [label]"
// (letter, colon, and the volume label where there is one).
std::vector<std::string> mounted_drives();
// The program's current folder.
std::string current_folder();
// The folder a drive of the list stands for: "c:" for "c: [label]" on
// Windows, else the drive itself.
std::string drive_root(const std::string& drive);
// Whether path is root or lies below it (compared as the file system
// compares names); never for an empty root.
bool is_under(const std::string& path, const std::string& root);
// The drive of drives that holds path (longest match), or "" for none.
std::string drive_of(const std::string& path, const std::vector<std::string>& drives);
// Absolute, lexically normal, without a trailing separator but for a root.
std::string normal_folder(const std::string& path);
// Full paths of the subfolders of a folder, sorted by name.
std::vector<std::string> subfolders(const std::string& folder);

}  // namespace forms
