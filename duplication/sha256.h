// SHA-256 of a byte string, for telling the files a run wrote from any other.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace duplication {

namespace detail {

// Compresses count 64-byte blocks into the eight state words.
using Sha256Blocks = void (*)(std::uint32_t* state, const unsigned char* blocks, std::size_t count);

// The routine in plain C++, for any processor.
void sha256_portable(std::uint32_t* state, const unsigned char* blocks, std::size_t count);

// The routine with the processor's SHA instructions, or null where it has none.
Sha256Blocks sha256_instructions();

}  // namespace detail

// A digest built up from pieces, so that a large file is hashed as it is read.
class Sha256 {
public:
    Sha256();  // the fastest routine this processor has
    explicit Sha256(detail::Sha256Blocks blocks);

    // Pieces of any size, any number of times.
    void add(std::string_view bytes);
    // The digest of everything added so far, as 64 lower-case hexadecimal digits.
    std::string hex() const;

private:
    detail::Sha256Blocks blocks_;
    std::array<std::uint32_t, 8> state_;
    std::array<unsigned char, 64> pending_{};  // the start of a block not yet full
    std::size_t pending_size_ = 0;
    std::uint64_t length_ = 0;
};

// The digest as 64 lower-case hexadecimal digits.
std::string sha256_hex(std::string_view bytes);

}  // namespace duplication
