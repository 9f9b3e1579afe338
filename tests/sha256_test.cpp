// SHA-256, what a run records of each file it writes to know it again: the
// published digests with each block routine, the routines against each other,
// and hashing in pieces against hashing at once.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "duplication/sha256.h"

namespace {

using duplication::Sha256;
namespace detail = duplication::detail;

struct Known {
    std::string bytes;
    const char* digest;
};

const std::vector<Known>& known() {
    static const std::vector<Known> cases{
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // the padding takes a second block
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstn"
         "opqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(55, 'a'),  // the padding just fits
         "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(64, 'a'),  // the padding a block of its own
         "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    return cases;
}

std::string random_bytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string out(size, '\0');
    for (char& c : out) c = static_cast<char>(random());
    return out;
}

std::string hash_with(detail::Sha256Blocks blocks, std::string_view bytes) {
    Sha256 hash(blocks);
    hash.add(bytes);
    return hash.hex();
}

// The bytes added in pieces of random sizes, now and then an empty one.
std::string hash_in_pieces(detail::Sha256Blocks blocks, std::string_view bytes, std::mt19937& random,
                           std::size_t largest) {
    Sha256 hash(blocks);
    while (!bytes.empty()) {
        const std::size_t size = std::min<std::size_t>(random() % (largest + 1), bytes.size());
        hash.add(bytes.substr(0, size));
        bytes.remove_prefix(size);
    }
    return hash.hex();
}

TEST(Sha256, KnownDigests) {
    for (const auto& [bytes, digest] : known()) EXPECT_EQ(duplication::sha256_hex(bytes), digest) << bytes.size();
}

// Each block routine on its own: the portable one, and the processor's SHA
// instructions where it has them.
class Sha256Routine : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        blocks_ = GetParam() ? detail::sha256_instructions() : detail::sha256_portable;
        if (!blocks_) GTEST_SKIP() << "this processor has no SHA instructions";
    }
    detail::Sha256Blocks blocks_ = nullptr;
};

TEST_P(Sha256Routine, KnownDigests) {
    for (const auto& [bytes, digest] : known()) EXPECT_EQ(hash_with(blocks_, bytes), digest) << bytes.size();
}

TEST_P(Sha256Routine, PiecesGiveTheDigestOfTheWhole) {
    std::mt19937 random(7);
    const std::string million(1000000, 'a');
    EXPECT_EQ(hash_in_pieces(blocks_, million, random, 5000),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    for (std::size_t size : {1u, 63u, 64u, 65u, 200u, 4099u}) {
        const std::string bytes = random_bytes(size, static_cast<unsigned>(size));
        const std::string whole = hash_with(blocks_, bytes);
        for (std::size_t largest : {1u, 3u, 64u, 130u})
            EXPECT_EQ(hash_in_pieces(blocks_, bytes, random, largest), whole) << size << " " << largest;
    }
}

TEST_P(Sha256Routine, DigestSoFarLeavesTheHashGoing) {
    Sha256 hash(blocks_);
    hash.add("ab");
    EXPECT_EQ(hash.hex(), "fb8e20fc2e4c3f248c60c39bd652f3c1347298bb977b8b4d5903b85055620603");
    hash.add("c");
    EXPECT_EQ(hash.hex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

INSTANTIATE_TEST_SUITE_P(Routines, Sha256Routine, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Instructions" : "Portable"; });

TEST(Sha256, InstructionsAgreeWithThePortableRoutine) {
    const detail::Sha256Blocks instructions = detail::sha256_instructions();
    if (!instructions) GTEST_SKIP() << "this processor has no SHA instructions";
    // Every tail length and block count near the padding's edges, at an odd
    // address, and a few megabytes.
    const std::string bytes = random_bytes(301, 1);
    for (std::size_t size = 0; size <= 300; ++size) {
        const std::string_view piece(bytes.data() + 1, size);
        EXPECT_EQ(hash_with(instructions, piece), hash_with(detail::sha256_portable, piece)) << size;
    }
    const std::string large = random_bytes((3 << 20) + 5, 2);
    EXPECT_EQ(hash_with(instructions, large), hash_with(detail::sha256_portable, large));
}

}  // namespace
