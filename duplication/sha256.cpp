#include "duplication/sha256.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define VORLIX_SHA_X86 1
#endif

namespace duplication {
namespace {

alignas(16) constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::array<std::uint32_t, 8> kInitial{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr std::uint32_t rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

// Compilers turn this into one load and a byte swap.
inline std::uint32_t load_big_endian(const unsigned char* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | std::uint32_t{p[3]};
}

// One round. The caller passes the eight working words rotated by one from
// round to round instead of moving them.
inline void one_round(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t& d, std::uint32_t e,
                      std::uint32_t f, std::uint32_t g, std::uint32_t& h, std::uint32_t k_plus_w) {
    h += (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + (g ^ (e & (f ^ g))) + k_plus_w;
    d += h;
    h += (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) | (c & (a | b)));
}

#ifdef VORLIX_SHA_X86

#define VORLIX_SHA_TARGET __attribute__((target("sha,sse4.1")))

// Four rounds on the state halves ABEF and CDGH; w holds the four message words.
VORLIX_SHA_TARGET inline void four_rounds(__m128i& abef, __m128i& cdgh, __m128i w, int first) {
    const __m128i wk = _mm_add_epi32(w, _mm_load_si128(reinterpret_cast<const __m128i*>(kRound + first)));
    cdgh = _mm_sha256rnds2_epu32(cdgh, abef, wk);
    abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(wk, 0x0e));
}

// The next four message words from the last sixteen, w0 the oldest four.
VORLIX_SHA_TARGET inline __m128i schedule(__m128i w0, __m128i w1, __m128i w2, __m128i w3) {
    const __m128i sum = _mm_add_epi32(_mm_sha256msg1_epu32(w0, w1), _mm_alignr_epi8(w3, w2, 4));
    return _mm_sha256msg2_epu32(sum, w3);
}

VORLIX_SHA_TARGET void sha256_x86(std::uint32_t* state, const unsigned char* blocks, std::size_t count) {
    // The instructions keep the state as ABEF and CDGH; names read from the top
    // lane down.
    const __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
    const __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
    const __m128i cdab = _mm_shuffle_epi32(dcba, 0xb1);
    const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1b);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xf0);
    // Each word's bytes reversed: the message is big-endian.
    const __m128i swap = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);

    for (; count > 0; --count, blocks += 64) {
        const __m128i abef_start = abef, cdgh_start = cdgh;
        __m128i w[4];
        for (int i = 0; i < 4; ++i) {
            w[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)), swap);
            four_rounds(abef, cdgh, w[i], 4 * i);
        }
        for (int i = 4; i < 16; ++i) {
            w[i % 4] = schedule(w[i % 4], w[(i + 1) % 4], w[(i + 2) % 4], w[(i + 3) % 4]);
            four_rounds(abef, cdgh, w[i % 4], 4 * i);
        }
        abef = _mm_add_epi32(abef, abef_start);
        cdgh = _mm_add_epi32(cdgh, cdgh_start);
    }

    const __m128i feba = _mm_shuffle_epi32(abef, 0x1b);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xb1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xf0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

#endif

detail::Sha256Blocks fastest() {
    static const detail::Sha256Blocks chosen = [] {
        const detail::Sha256Blocks instructions = detail::sha256_instructions();
        return instructions ? instructions : detail::sha256_portable;
    }();
    return chosen;
}

}  // namespace

namespace detail {

void sha256_portable(std::uint32_t* state, const unsigned char* blocks, std::size_t count) {
    for (; count > 0; --count, blocks += 64) {
        std::uint32_t w[16];
        for (int i = 0; i < 16; ++i) w[i] = load_big_endian(blocks + 4 * i);
        std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
        // The message schedule lives in sixteen words, each replaced as it is used.
        const auto word = [&w](int i) {
            if (i >= 16) {
                const std::uint32_t x = w[(i - 15) & 15], y = w[(i - 2) & 15];
                w[i & 15] += (rotr(x, 7) ^ rotr(x, 18) ^ (x >> 3)) + w[(i - 7) & 15] +
                             (rotr(y, 17) ^ rotr(y, 19) ^ (y >> 10));
            }
            return kRound[i] + w[i & 15];
        };
        // Unrolled whole, the schedule's indices are constants: about a fifth faster.
#if defined(__GNUC__)
#pragma GCC unroll 8
#endif
        for (int i = 0; i < 64; i += 8) {
            one_round(a, b, c, d, e, f, g, h, word(i));
            one_round(h, a, b, c, d, e, f, g, word(i + 1));
            one_round(g, h, a, b, c, d, e, f, word(i + 2));
            one_round(f, g, h, a, b, c, d, e, word(i + 3));
            one_round(e, f, g, h, a, b, c, d, word(i + 4));
            one_round(d, e, f, g, h, a, b, c, word(i + 5));
            one_round(c, d, e, f, g, h, a, b, word(i + 6));
            one_round(b, c, d, e, f, g, h, a, word(i + 7));
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

Sha256Blocks sha256_instructions() {
#ifdef VORLIX_SHA_X86
    // Asked of the processor itself: __builtin_cpu_supports of clang 14 knows
    // no "sha".
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    const bool shuffles = __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (ecx & bit_SSSE3) && (ecx & bit_SSE4_1);
    if (shuffles && __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) && (ebx & bit_SHA)) return sha256_x86;
#endif
    return nullptr;
}

}  // namespace detail

Sha256::Sha256() : Sha256(fastest()) {}

Sha256::Sha256(detail::Sha256Blocks blocks) : blocks_(blocks), state_(kInitial) {}

void Sha256::add(std::string_view bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t size = bytes.size();
    length_ += size;
    if (pending_size_ > 0) {
        const std::size_t taken = std::min(size, pending_.size() - pending_size_);
        std::copy_n(data, taken, pending_.data() + pending_size_);
        pending_size_ += taken;
        data += taken;
        size -= taken;
        if (pending_size_ < pending_.size()) return;
        blocks_(state_.data(), pending_.data(), 1);
        pending_size_ = 0;
    }
    // Whole blocks straight from the caller's bytes, without a copy.
    if (size >= 64) blocks_(state_.data(), data, size / 64);
    pending_size_ = size % 64;
    std::copy_n(data + size / 64 * 64, pending_size_, pending_.data());
}

std::string Sha256::hex() const {
    // The rest, a one bit, zeros and the length in bits, in one or two blocks.
    unsigned char tail[128] = {};
    std::copy_n(pending_.data(), pending_size_, tail);
    tail[pending_size_] = 0x80;
    const std::size_t blocks = pending_size_ + 9 > 64 ? 2 : 1;
    const std::uint64_t bits = length_ * 8;
    for (int i = 0; i < 8; ++i) tail[blocks * 64 - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
    std::array<std::uint32_t, 8> h = state_;
    blocks_(h.data(), tail, blocks);

    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(64);
    for (std::uint32_t word : h)
        for (int shift = 28; shift >= 0; shift -= 4) out += kHex[(word >> shift) & 15];
    return out;
}

std::string sha256_hex(std::string_view bytes) {
    Sha256 hash;
    hash.add(bytes);
    return hash.hex();
}

}  // namespace duplication
