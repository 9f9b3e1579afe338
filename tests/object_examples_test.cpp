// Whole files of the object tables that are known byte for byte.

#include <gtest/gtest.h>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

TEST(ObjectExamples, Pistol) {
    EXPECT_EQ(bytes("pistol", 14, "magnum"), card_bitmap("magnum"));
    EXPECT_EQ(bytes("pistol", 1, "my gun", ""), crlf({head(tri("!tpj", 8), "weapons\\my gun\\bullet", ""), kEnd}));
    EXPECT_EQ(bytes("pistol", 3, "magnum"),
              crlf({head(tri("!tpj", 8), "weapons\\magnum\\melee"),
                    dep("0x120", kSnd, "sound\\sfx\\impulse\\melee\\pistol_impact"), kEnd}));
    EXPECT_EQ(bytes("pistol", 30, "magnum"),
              crlf({head(kEffe, "weapons\\magnum\\effects\\impact ice"), refl("0x2C", "0x40", "3"),
                    refl("0x38", "0xA0", "1"), refl("0xD0", "0xE4", "1"), refl("0xDC", "0x14C", "3"),
                    dep("0x108", kDeca, "effects\\decals\\bullet holes\\impact ice"),
                    dep("0x1AC", kPart, "effects\\particles\\solid\\ice"),
                    dep("0x294", kPart, "effects\\particles\\flash\\flash h shield impact"),
                    dep("0x37C", kPart, "effects\\particles\\flash\\flash h ar"), kEnd}));
    EXPECT_EQ(bytes("pistol", 15, "magnum"),
              crlf({head(kEffe, "weapons\\magnum\\effects\\empty"), refl("0x2C", "0x40", "1"),
                    refl("0x38", "0x60", "1"), refl("0x90", "0xA4", "1"),
                    dep("0xC8", kSnd, "sound\\sfx\\weapons\\pistol\\dryfire"), kEnd}));
    for (const auto& [no, name] : {std::pair{43, "ready"}, std::pair{44, "reload"}})
        EXPECT_EQ(bytes("pistol", no, "magnum"),
                  crlf({head(kEffe, "weapons\\magnum\\effects\\" + std::string(name)), refl("0x2C", "0x40", "1"),
                        refl("0x38", "0x60", "1"), kEnd}));
}

TEST(ObjectExamples, PistolModelAssets) {
    const std::string own = "weapons\\my gun\\", soso = tri("ososrdhs", 4);
    const std::string m7 = bytes("pistol", 7, "my gun"), m46 = bytes("pistol", 46, "my gun");
    EXPECT_TRUE(m7.starts_with(crlf({head(tri("2dom", 8), own + "my gun")})));
    EXPECT_TRUE(m7.ends_with(
        crlf({dep("0xABC", soso, own + "shaders\\p lod"), dep("0xADC", soso, own + "fp\\shaders\\silver"),
              dep("0xAFC", soso, own + "fp\\shaders\\black"), kAssets,
              asset("VertexBlock", "my gun.mod2.vertices", "0x904 0x6930 0x988 0x3388 0xA0C 0x1078 0xA90 0x0"),
              asset("IndexBlock", "my gun.mod2.indices",
                    "0x8EC 0x500 0x8F0 0x500 0x970 0x26C 0x974 0x26C 0x9F4 0xC0 0x9F8 0xC0 0xA78 0x0 0xA7C 0x0"),
              kEnd})));
    EXPECT_TRUE(m46.ends_with(
        crlf({dep("0x9D8", soso, own + "fp\\shaders\\silver"), dep("0x9F8", soso, own + "fp\\shaders\\black"),
              dep("0xA18", soso, own + "fp\\shaders\\bullet"), kAssets,
              asset("VertexBlock", "fp.mod2.vertices", "0x8A4 0x7634 0x928 0x2200 0x9AC 0x0"),
              asset("IndexBlock", "fp.mod2.indices",
                    "0x88C 0x508 0x890 0x508 0x910 0x14C 0x914 0x14C 0x994 0x0 0x998 0x0"),
              kEnd})));
}

TEST(ObjectExamples, AssaultRifle) {
    EXPECT_EQ(bytes("assault_rifle", 5, "m 4"),
              crlf({head(kCont, "weapons\\m 4\\bullet"), dep("0x3C", kBitm, "weapons\\m 4\\bitmaps\\tracer contrail"),
                    refl("0x13C", "0x144", "2"), dep("0x160", kPphy, "effects\\point physics\\cold smoke cloud"),
                    kEnd}));
    EXPECT_EQ(bytes("assault_rifle", 13, "magnum", "Danger Canyon"), card_bitmap("magnum", "Danger Canyon"));
    EXPECT_EQ(bytes("assault_rifle", 30, "magnum"),
              crlf({head(kEffe, "weapons\\magnum\\effects\\impact glass"), refl("0x2C", "0x40", "2"),
                    refl("0x38", "0x80", "2"), refl("0xB0", "0x108", "2"), refl("0xBC", "0x1D8", "3"),
                    refl("0x100", "0x490", "1"), dep("0x12C", kSnd, "sound\\sfx\\impulse\\impacts\\glass_hits"),
                    dep("0x194", kDeca, "effects\\decals\\bullet holes\\unbreakable glass"),
                    dep("0x238", kPart, "effects\\particles\\flash\\flash h shield impact"),
                    dep("0x320", kPart, "effects\\particles\\solid\\metal chips"),
                    dep("0x408", kPart, "effects\\particles\\lens flare\\flare h stealth cannon"),
                    dep("0x4F0", kPart, "effects\\particles\\air\\smoke impact"), kEnd}));
}

TEST(ObjectExamples, PlasmaRifle) {
    const std::string own = "weapons\\ion lance\\";
    EXPECT_EQ(bytes("plasma_rifle", 25, "ion lance", "Hang 'Em High"),
              crlf({head(kCont, own + "plasma", "Hang 'Em High"),
                    dep("0x3C", kBitm, own + "bitmaps\\ion lance contrail"), refl("0x13C", "0x144", "3"),
                    dep("0x160", kPphy, "effects\\point physics\\cold smoke cloud"), kEnd}));
    EXPECT_EQ(bytes("plasma_rifle", 17, "ion lance"),
              crlf({head(kCont, own + "plasma charged bolt"),
                    dep("0x3C", kBitm, "weapons\\plasma pistol\\bitmaps\\pistol charged contrail"),
                    refl("0x13C", "0x144", "3"), kEnd}));
    EXPECT_EQ(bytes("plasma_rifle", 48, "ion lance"),
              crlf({head(kEffe, own + "effects\\detonate"), refl("0x2C", "0x40", "1"), refl("0x38", "0x60", "1"),
                    refl("0x90", "0xA4", "1"), dep("0xC8", tri("ltcp", 8), own + "effects\\charged bolt explosion"),
                    kEnd}));
}

}  // namespace
