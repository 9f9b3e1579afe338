// SHA-256 of a byte string, for telling the files a run wrote from any other.
#pragma once

#include <string>
#include <string_view>

namespace duplication {

// The digest as 64 lower-case hexadecimal digits.
std::string sha256_hex(std::string_view bytes);

}  // namespace duplication
