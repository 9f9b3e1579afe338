// Needler files known byte for byte, and the files that differ from one
// another in a line or two only.

#include <gtest/gtest.h>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

const std::string kLens = tri("snel", 8), kLigh = tri("hgil", 8), kMod2 = tri("2dom", 8), kSchi = tri("ihcsrdhs", 4);
const std::string kSoso = tri("ososrdhs", 4), kPctl = tri("ltcp", 8);
const Lines kAssets = {"<!--Attached Binary File Structure-->"};

// The file's bytes with the first occurrence of each "from" replaced.
std::string replaced(std::string s, const std::vector<std::pair<std::string, std::string>>& edits) {
    for (const auto& [from, to] : edits) {
        const auto at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) s.replace(at, from.size(), to);
    }
    return s;
}

TEST(NeedlerExamples, RootFiles) {
    EXPECT_EQ(bytes("needler", 4, "spiker"), crlf({head(kLigh, "weapons\\spiker\\explosion"),
                                                   dep("0xB8", kLens, "weapons\\spiker\\explosion"), kEnd}));
    EXPECT_EQ(bytes("needler", 20, "spiker", ""),
              crlf({head(tri("!tpj", 8), "weapons\\spiker\\shock wave", ""), kEnd}));
    EXPECT_EQ(bytes("needler", 11, "spiker"), crlf({head(kLigh, "weapons\\spiker\\needle flare"),
                                                    dep("0xB8", kLens, "weapons\\spiker\\spiker lens flare"), kEnd}));
    EXPECT_EQ(bytes("needler", 16, "spiker", "Sidewinder"),
              crlf({head(tri("tnoc", 8), "weapons\\spiker\\spiker", "Sidewinder"),
                    dep("0x3C", kBitm, "weapons\\spiker\\bitmaps\\spiker contrail"), refl("0x13C", "0x144", "2"),
                    dep("0x160", kPphy, "effects\\point physics\\vacuum particle"), kEnd}));
    EXPECT_EQ(
        bytes("needler", 19, "spiker"),
        crlf({head(tri("ihpw", 8), "weapons\\spiker\\spiker"), dep("0xC", tri("ihpw", 8), "ui\\hud\\master rounds"),
              refl("0x64", "0x17C", "1"), refl("0x70", "0x230", "1"), refl("0x88", "0x2E4", "1"),
              dep("0x1D0", kBitm, "ui\\hud\\bitmaps\\combined\\hud_ammo_alphas"),
              dep("0x284", kBitm, "ui\\hud\\bitmaps\\combined\\hud_ammo_meters"),
              dep("0x314", kBitm, "ui\\hud\\bitmaps\\combined\\hud_reticles"), refl("0x31C", "0x34C", "1"), kEnd}));
    const std::string own = "weapons\\spiker\\";
    EXPECT_TRUE(
        bytes("needler", 17, "spiker")
            .ends_with(crlf({dep("0x7BC", kSchi, own + "shaders\\spiker luminous 3p"),
                             dep("0x7DC", kSoso, own + "shaders\\spiker lod"),
                             dep("0x7FC", kSoso, own + "shaders\\spiker gun"),
                             dep("0x81C", kSoso, own + "shaders\\spiker dull"), kAssets,
                             asset("VertexBlock", "spiker.mod2.vertices",
                                   "0x4FC 0x10CD0 0x580 0xAD74 0x604 0x64F0 0x688 0x42F0 0x70C 0x14FC 0x790 0x0"),
                             asset("IndexBlock", "spiker.mod2.indices",
                                   "0x4E4 0xD1C 0x4E8 0xD1C 0x568 0x84C 0x56C 0x84C 0x5EC 0x4CC 0x5F0 0x4CC "
                                   "0x670 0x34C 0x674 0x34C 0x6F4 0x11C 0x6F8 0x11C 0x778 0x0 0x77C 0x0"),
                             kEnd})));
}

TEST(NeedlerExamples, MultiplayerVariantsDifferOnlyInTheirNames) {
    const std::string own = "<Filename>weapons\\spiker\\";
    const std::string mp_weapon = bytes("needler", 9, "spiker"), mp_projectile = bytes("needler", 8, "spiker");
    EXPECT_TRUE(mp_weapon.starts_with(crlf({head("paewmetiejbo", "weapons\\spiker\\mp_spiker")})));
    EXPECT_TRUE(mp_projectile.starts_with(crlf({head(tri("jorpejbo", 4), "weapons\\spiker\\mp_needle")})));
    EXPECT_NE(mp_weapon.find(crlf({dep("0xB54", tri("jorpejbo", 4), "weapons\\spiker\\mp_needle")})),
              std::string::npos);
    EXPECT_EQ(replaced(mp_weapon, {{own + "mp_spiker<", own + "spiker<"}, {own + "mp_needle<", own + "needle<"}}),
              bytes("needler", 18, "spiker"));
    EXPECT_EQ(replaced(mp_projectile, {{own + "mp_needle<", own + "needle<"}}), bytes("needler", 13, "spiker"));
    // Outside paths keep the stock name, also under a new name that holds it.
    const std::string weapon = bytes("needler", 18, "needler mk2");
    EXPECT_NE(weapon.find(crlf({dep("0xAB0", "piqemetiejbo", "powerups\\needler ammo\\needler ammo")})),
              std::string::npos);
    EXPECT_NE(weapon.find("<Filename>weapons\\needler mk2\\needler mk2</Filename>"), std::string::npos);
}

TEST(NeedlerExamples, Bitmaps) {
    for (const std::string name : {"needle plasma mask", "spiker", "spiker_card"}) {
        const std::string path = "weapons\\spiker\\bitmaps\\" + name;
        const int no = name == "spiker" ? 28 : name == "spiker_card" ? 29 : 22;
        EXPECT_EQ(bytes("needler", no, "spiker", "Chiron TL-34"),
                  crlf({head(kBitm, path, "Chiron TL-34"), refl("0x58", "0x6C", "1"), refl("0x64", "0xAC", "1"),
                        dep("0xCC", kBitm, path, "LoneID"), kEnd}));
    }
}

TEST(NeedlerExamples, Effects) {
    const std::string own = "weapons\\spiker\\effects\\";
    EXPECT_EQ(bytes("needler", 30, "spiker"),
              crlf({head(kEffe, own + "empty"), refl("0x2C", "0x40", "1"), refl("0x38", "0x60", "1"),
                    refl("0x90", "0xA4", "1"), dep("0xC8", kSnd, "sound\\sfx\\weapons\\needler\\dryfire"), kEnd}));
    EXPECT_EQ(bytes("needler", 47, "spiker"),
              crlf({head(kEffe, own + "ready"), refl("0x2C", "0x40", "1"), refl("0x38", "0x60", "1"), kEnd}));
    EXPECT_EQ(bytes("needler", 46, "spiker"),
              crlf({head(kEffe, own + "needle reflect"), refl("0x2C", "0x40", "1"), refl("0x38", "0x60", "1"),
                    refl("0x90", "0xA4", "1"), refl("0x9C", "0x10C", "1"),
                    dep("0xC8", kSnd, "sound\\sfx\\impulse\\impacts\\needle_ricc"),
                    dep("0x16C", kPart, "effects\\particles\\energy\\plasma electric bolts"), kEnd}));
    const std::string fire = "weapons\\frag grenade\\effects\\fire explosion";
    const std::string cloud = "effects\\particles\\energy\\bitmaps\\cloud c fire";
    EXPECT_EQ(bytes("needler", 32, "spiker"),
              crlf({head(kPctl, own + "explosion"), dep("0x44", kPphy, fire), refl("0x54", "0x68", "1"),
                    refl("0x60", "0x6C", "1"), refl("0xCC", "0xEC", "3"), refl("0xD8", "0xF8", "2"),
                    refl("0xE4", "0x278", "3"), dep("0x2B4", kBitm, cloud), dep("0x308", kPphy, fire),
                    dep("0x42C", kBitm, cloud), dep("0x480", kPphy, fire), dep("0x5A4", kBitm, cloud),
                    dep("0x5F8", kPphy, "effects\\point physics\\hot smoke cloud"), kEnd}));
    // The fire effect's twenty particles, 0xE8 apart from 0x1D0 on.
    std::vector<Lines> fire_needle = {head(kEffe, own + "fire needle"),
                                      refl("0x2C", "0x40", "2"),
                                      refl("0x38", "0x80", "2"),
                                      refl("0xB0", "0x108", "1"),
                                      refl("0xBC", "0x170", "18"),
                                      refl("0x100", "0x11C0", "2"),
                                      dep("0x12C", kSnd, "sound\\sfx\\weapons\\needler\\fire")};
    const char* particles[] = {
        "energy\\flash c generic",       "energy\\tracer c generic",      "energy\\flash c generic med",
        "flash\\flash h shield impact",  "energy\\flash c generic small", "energy\\flash c generic med",
        "energy\\flash c generic small", "energy\\flash c generic med",   "energy\\flash c generic small"};
    const char* locations[] = {"0x1D0", "0x2B8", "0x3A0",  "0x488",  "0x570",  "0x658", "0x740",
                               "0x828", "0x910", "0x9F8",  "0xAE0",  "0xBC8",  "0xCB0", "0xD98",
                               "0xE80", "0xF68", "0x1050", "0x1138", "0x1220", "0x1308"};
    for (int i = 0; i < 20; ++i)
        fire_needle.push_back(
            dep(locations[i], kPart,
                std::string("effects\\particles\\") + (i < 18 ? particles[i % 9] : "energy\\smoke c generic")));
    fire_needle.push_back(kEnd);
    EXPECT_EQ(bytes("needler", 33, "spiker"), crlf(fire_needle));
    // Two impact effects with the same body.
    EXPECT_EQ(replaced(bytes("needler", 35, "spiker"), {{own + "impact elite and jackal<", own + "impact engineer<"}}),
              bytes("needler", 36, "spiker"));
}

TEST(NeedlerExamples, FirstPersonProjectileModelAndShaders) {
    const std::string own = "weapons\\spiker\\";
    EXPECT_TRUE(
        bytes("needler", 49, "spiker")
            .ends_with(crlf(
                {dep("0xF54", kSoso, own + "shaders\\spiker gun"), dep("0xF74", kSoso, own + "shaders\\spiker dull"),
                 dep("0xF94", tri("algsrdhs", 4), own + "shaders\\spiker luminous"),
                 dep("0xFB4", tri("xecsrdhs", 4), own + "shaders\\spiker core"), kAssets,
                 asset("VertexBlock", "fp.mod2.vertices", "0xD9C 0x12254 0xE20 0xC380 0xEA4 0x1100 0xF28 0x0"),
                 asset("IndexBlock", "fp.mod2.indices",
                       "0xD84 0xE28 0xD88 0xE28 0xE08 0x900 0xE0C 0x900 0xE8C 0xC0 0xE90 0xC0 "
                       "0xF10 0x0 0xF14 0x0"),
                 kEnd})));
    EXPECT_EQ(bytes("needler", 50, "spiker"),
              crlf({head(kMod2, own + "projectile\\projectile"), refl("0xB0", "0xE8", "1"), refl("0xBC", "0x148", "1"),
                    refl("0xC8", "0x1E4", "1"), refl("0xD4", "0x288", "1"), refl("0xE0", "0x33C", "1"),
                    refl("0x120", "0x128", "1"), refl("0x228", "0x230", "1"), refl("0x2B0", "0x2B8", "1"),
                    dep("0x348", kSchi, own + "shaders\\spiker luminous"), kAssets,
                    asset("VertexBlock", "projectile.mod2.vertices", "0x31C 0x0"),
                    asset("IndexBlock", "projectile.mod2.indices", "0x304 0x0 0x308 0x0"), kEnd}));
    EXPECT_TRUE(bytes("needler", 48, "spiker")
                    .ends_with(crlf({refl("0x157C", "0x11234", "70374"), refl("0x1590", "0x116A0", "71506"), kEnd})));
    EXPECT_EQ(bytes("needler", 54, "spiker"),
              crlf({head(kSoso, own + "shaders\\spiker lod"), dep("0xB0", kBitm, own + "bitmaps\\spiker_card"), kEnd}));
    EXPECT_EQ(bytes("needler", 57, "spiker"),
              crlf({head(tri("algsrdhs", 4), own + "shaders\\spiker luminous"),
                    dep("0xB8", kBitm, "levels\\b30\\bitmaps\\cube map forerunner interiors"),
                    dep("0x164", kBitm, "levels\\b30\\bitmaps\\glass"), kEnd}));
    EXPECT_EQ(bytes("needler", 56, "spiker"),
              crlf({head(kSchi, own + "shaders\\spiker luminous"), refl("0x58", "0x6C", "1"),
                    dep("0xE4", kBitm, own + "bitmaps\\spiker needles"), kEnd}));
    EXPECT_EQ(replaced(bytes("needler", 52, "spiker"), {{own + "shaders\\spiker dull<", own + "shaders\\spiker gun<"},
                                                        {"vehicles\\banshee\\bitmaps\\cubemap banshee",
                                                         "weapons\\plasma rifle\\bitmaps\\cubemap plasma rifle"}}),
              bytes("needler", 53, "spiker"));
}

}  // namespace
