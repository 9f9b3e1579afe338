// The files a run keeps in its undo folder, named alike by the record and by
// its put-back.
#pragma once

#include <string>
#include <string_view>

namespace duplication::undo_files {

inline constexpr std::string_view kJournal = ".journal";
inline constexpr std::string_view kPart = ".part";  // a journal while it is written
inline constexpr std::string_view kAside = ".aside";
inline constexpr std::string_view kNew = ".new";    // a written file before it is moved into place

}  // namespace duplication::undo_files
