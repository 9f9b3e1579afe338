// SHA-256 of a byte string, for telling the files a run wrote from any other.
#pragma once

#include <string>
#include <string_view>

namespace duplication {

// A digest of bytes added in pieces.
class Sha256 {
public:
    void add(std::string_view bytes) { bytes_ += bytes; }
    std::string hex() const;

private:
    std::string bytes_;
};

// The digest as 64 lower-case hexadecimal digits.
std::string sha256_hex(std::string_view bytes);

}  // namespace duplication
