// Windows-1252, the code page of the written files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace duplication {

// Converts UTF-8 text to Windows-1252 bytes; nullopt when the text is not
// valid UTF-8 or holds a character the code page lacks.
std::optional<std::string> to_cp1252(std::string_view utf8);

}  // namespace duplication
