// Rocket launcher files that are known byte for byte.

#include <gtest/gtest.h>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

const char* const kObject = "rocket_launcher";

TEST(RocketLauncherExamples, ImpactAndExplosionEffects) {
    EXPECT_EQ(bytes(kObject, 30, "bazooka"),
              crlf({head(kEffe, "weapons\\bazooka\\effects\\impact dirt"), refl("0x2C", "0x40", "3"),
                    refl("0x38", "0xA0", "1"), refl("0xD0", "0xE4", "1"), refl("0xDC", "0x14C", "4"),
                    dep("0x108", kSnd, "sound\\sfx\\impulse\\impacts\\dirt_burst"),
                    dep("0x1AC", kPart, "effects\\particles\\solid\\dirt burst"),
                    dep("0x294", kPart, "effects\\particles\\solid\\water burst"),
                    dep("0x37C", kPart, "effects\\particles\\solid\\water burst small"),
                    dep("0x464", kPart, "effects\\particles\\solid\\gravel small"), kEnd}));
    // The explosion names its own damage tag under the new name; the frag
    // grenade's tags stay as stored.
    EXPECT_EQ(bytes(kObject, 45, "bazooka", "Sidewinder"),
              crlf({head(kEffe, "weapons\\bazooka\\effects\\rocket explosion", "Sidewinder"),
                    refl("0x2C", "0x40", "3"), refl("0x38", "0xA0", "1"), refl("0xD0", "0xE4", "6"),
                    refl("0xDC", "0x354", "3"), dep("0x108", tri("!tpj", 8), "weapons\\bazooka\\explosion"),
                    dep("0x170", kSnd, "sound\\sfx\\weapons\\frag grenade\\expl"),
                    dep("0x1D8", tri("!tpj", 8), "weapons\\frag grenade\\shock wave"),
                    dep("0x240", tri("ltcp", 8), "weapons\\frag grenade\\effects\\explosion med"),
                    dep("0x2A8", kDeca, "effects\\decals\\bullet holes\\grenade char"),
                    dep("0x310", tri("hgil", 8), "weapons\\frag grenade\\explosion"),
                    dep("0x3B4", kPart, "effects\\particles\\lens flare\\grenade explosion flare"),
                    dep("0x49C", kPart, "effects\\particles\\solid\\gravel small"),
                    dep("0x584", kPart, "weapons\\frag grenade\\effects\\drifting smoke"), kEnd}));
    // One entry with one component chunk: four blocks. The sound keeps the
    // stock object's words whatever the new name.
    EXPECT_EQ(bytes(kObject, 29, "rocket launcher mk2"),
              crlf({head(kEffe, "weapons\\rocket launcher mk2\\effects\\fire"), refl("0x2C", "0x40", "1"),
                    refl("0x38", "0x60", "1"), refl("0x90", "0xA4", "1"),
                    dep("0xC8", kSnd, "sound\\sfx\\weapons\\rocket launcher\\fire"), kEnd}));
}

TEST(RocketLauncherExamples, ExhaustParticleSystem) {
    const std::string smoke = "effects\\point physics\\projectile smoke";
    const std::string cloud = "effects\\particles\\air\\bitmaps\\smoke cloud";
    EXPECT_EQ(bytes(kObject, 44, "bazooka"),
              crlf({head(tri("ltcp", 8), "weapons\\bazooka\\effects\\rocket exhaust"),
                    dep("0x44", kPphy, "effects\\point physics\\cold smoke cloud"), refl("0x54", "0x68", "1"),
                    refl("0x60", "0x6C", "1"), refl("0xCC", "0xEC", "3"), refl("0xD8", "0xF8", "1"),
                    refl("0xE4", "0x1B8", "3"), dep("0x1F4", kBitm, "effects\\particles\\flash\\bitmaps\\fire cloud"),
                    dep("0x248", kPphy, smoke), dep("0x36C", kBitm, cloud), dep("0x3C0", kPphy, smoke),
                    dep("0x4E4", kBitm, cloud), dep("0x538", kPphy, smoke), kEnd}));
}

}  // namespace
