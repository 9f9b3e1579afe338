// Relative paths of a run (backslash-separated, below the output folder) and
// the rules that both the checks before a run and the check of a record
// left on disk apply to them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace duplication {

inline constexpr const char* kUndoFolder = ".vorlix-undo";
inline constexpr const char* kDoneFolder = ".vorlix-undo-done";

// "fp\\bitmaps\\x.bitm.xml" -> "fp\\bitmaps"; "x.xml" -> ".".
std::string folder_of(const std::string& rel);
// "fp\\bitmaps\\x.bitm.xml" -> "x.bitm.xml".
std::string name_of(const std::string& rel);
std::vector<std::string> split(std::string_view s, char by);

// A path or name in double quotes, as messages show it, cut short where long.
using forms::quoted;

// Whether the name ends in the suffix, its ASCII letters in any case.
bool ends_with_nocase(std::string_view name, std::string_view suffix);

// A name as Windows compares file names: its letters in one case
// (Windows-1252).
std::string folded(const std::string& name);

// Whether Windows keeps the name for a device ("nul", "con.xml", "COM1 .x"):
// the part before its first point, without trailing blanks, names one.
bool is_device_name(const std::string& name);

// Whether a name is one of the program's own folder names, its letters in
// any case: ".vorlix-undo", ".vorlix-undo-done", or ".vorlix-undo-done-N" as
// the program numbers them (from 2, no leading zero). Names are compared
// whole. Such a name is never one a run writes into.
bool is_own_folder_name(std::string_view name);

// The program's own spelling of the name when the entry of that name in the
// output folder is one of its folders: its name is one of theirs, and the
// file system finds the same entry under that spelling; else nothing.
std::optional<std::string> own_folder(forms::FileSystem& files, const std::string& folder, const std::string& name);

// The first folder on the way from the output folder down to the folder
// rel (itself included) that is a link, as a relative path; nothing when
// there is none. A run changes nothing through a link.
std::optional<std::string> first_link(forms::FileSystem& files, const std::string& folder, const std::string& rel);

}  // namespace duplication
