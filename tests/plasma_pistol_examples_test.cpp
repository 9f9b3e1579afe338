// Plasma pistol files that are known byte for byte.

#include <gtest/gtest.h>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

const char* const kObject = "plasma_pistol";
const std::string kLigh = tri("hgil", 8), kLens = tri("snel", 8), kJpt = tri("!tpj", 8);
const std::string kSoso = tri("ososrdhs", 4), kSmet = tri("temsrdhs", 4);
const std::string kPlasmahit = "sound\\sfx\\weapons\\plasma rifle\\plasmahit";

TEST(PlasmaPistolExamples, RootFiles) {
    const std::string own = "weapons\\ion pistol\\";
    EXPECT_EQ(bytes(kObject, 8, "ion pistol"),
              crlf({head(kLigh, own + "ion pistol flare"), dep("0xB8", kLens, own + "ion pistol lens flare"), kEnd}));
    // The other light with a body names an outside lens at the same Location.
    EXPECT_EQ(bytes(kObject, 14, "ion pistol", "Sidewinder"),
              crlf({head(kLigh, own + "plasma", "Sidewinder"),
                    dep("0xB8", kLens, "weapons\\assault rifle\\flashlight_assault rifle"), kEnd}));
    EXPECT_EQ(bytes(kObject, 9, "ion pistol"),
              crlf({head(kLens, own + "ion pistol lens flare"),
                    dep("0x2C", kBitm, "effects\\particles\\lens flare\\bitmaps\\soft flares"),
                    refl("0xC8", "0xF0", "1"), kEnd}));
    EXPECT_EQ(bytes(kObject, 13, "ion pistol"),
              crlf({head(tri("ihpw", 8), own + "ion pistol"), dep("0xC", tri("ihpw", 8), "ui\\hud\\master plasma"),
                    refl("0x88", "0x17C", "2"), dep("0x1AC", kBitm, "ui\\hud\\bitmaps\\combined\\hud_reticles"),
                    refl("0x1B4", "0x24C", "1"),
                    dep("0x214", kBitm, "ui\\hud\\bitmaps\\combined\\hud_reticle_warnings"),
                    refl("0x21C", "0x2B8", "1"), kEnd}));
    // Empty bodies: seven lines, whatever the map and the name.
    for (const auto& [no, name] : {std::pair{1, "bolt"}, std::pair{5, "melee_response"}, std::pair{6, "misfire"},
                                   std::pair{15, "trigger overcharge"}, std::pair{16, "trigger"}})
        EXPECT_EQ(bytes(kObject, no, "ion pistol", ""), crlf({head(kJpt, own + name, ""), kEnd}));
    EXPECT_EQ(bytes(kObject, 7, "ion pistol"), crlf({head(kLigh, own + "muzzle flash"), kEnd}));
}

TEST(PlasmaPistolExamples, WeaponAndProjectile) {
    const std::string own = "weapons\\ion pistol\\";
    const std::string weap = bytes(kObject, 12, "ion pistol");
    EXPECT_TRUE(weap.starts_with(crlf({head("paewmetiejbo", own + "ion pistol"),
                                       dep("0x34", tri("2dom", 8), own + "ion pistol"),
                                       dep("0x7C", tri("lloc", 8), own + "ion pistol"),
                                       refl("0x144", "0x508", "5")})));
    EXPECT_TRUE(weap.ends_with(crlf({dep("0xFB4", kEffe, "weapons\\plasma rifle\\effects\\charged bolt fire"),
                                     dep("0xFE4", kJpt, own + "trigger overcharge"), kEnd})));
    EXPECT_NE(weap.find(crlf({dep("0xC44", kBitm, own + "bitmaps\\ion pistol", "LoneID"),
                              dep("0xC4C", kBitm, own + "bitmaps\\ion pistol multipurpose", "LoneID"),
                              dep("0xC54", kBitm, "weapons\\plasma rifle\\bitmaps\\cubemap plasma rifle", "LoneID")})),
              std::string::npos);
    const std::string proj = bytes(kObject, 3, "ion pistol");
    EXPECT_TRUE(proj.starts_with(crlf({head(tri("jorpejbo", 4), own + "bolt"),
                                       refl("0x144", "0x24C", "1"), refl("0x150", "0x294", "1"),
                                       refl("0x168", "0x2B4", "1"),
                                       dep("0x210", kSnd, "sound\\sfx\\impulse\\impacts\\plasrif_projectile"),
                                       dep("0x230", kJpt, own + "bolt"), refl("0x244", "0x2E0", "33"),
                                       dep("0x258", kLigh, own + "plasma"), dep("0x2A0", tri("2sgm", 8), own + "bolt"),
                                       dep("0x2F0", kEffe, own + "effects\\impact dirt"),
                                       dep("0x390", kEffe, "weapons\\plasma rifle\\effects\\impact sand")})));
    EXPECT_TRUE(proj.ends_with(crlf({dep("0x1650", kEffe, own + "effects\\impact ice"),
                                     dep("0x16F0", kEffe, own + "effects\\impact hunter shield"), kEnd})));
}

TEST(PlasmaPistolExamples, Models) {
    const std::string own = "weapons\\ion pistol\\";
    const Lines comment = {"<!--Attached Binary File Structure-->"};
    const std::string root = bytes(kObject, 11, "ion pistol");
    EXPECT_TRUE(root.starts_with(crlf({head(tri("2dom", 8), own + "ion pistol"), refl("0xB0", "0xE8", "10")})));
    EXPECT_TRUE(root.ends_with(crlf(
        {refl("0x844", "0xAE0", "1"), dep("0xB70", kSoso, own + "shaders\\pp lod"),
         dep("0xB90", kSoso, own + "shaders\\pp dull"), dep("0xBB0", kSoso, own + "shaders\\pp shiney"),
         dep("0xBD0", kSoso, own + "shaders\\pp luminous"), dep("0xBF0", kSmet, own + "shaders\\pp gauge"), comment,
         asset("VertexBlock", "ion pistol.mod2.vertices",
               "0x8B0 0xA604 0x934 0x41E0 0x9B8 0x24A8 0xA3C 0x2398 0xAC0 0xBB0 0xB44 0x0"),
         asset("IndexBlock", "ion pistol.mod2.indices",
               "0x898 0x858 0x89C 0x858 0x91C 0x340 0x920 0x340 0x9A0 0x20C 0x9A4 0x20C "
               "0xA24 0x200 0xA28 0x200 0xAA8 0x98 0xAAC 0x98 0xB2C 0x0 0xB30 0x0"),
         kEnd})));
    const std::string fp = bytes(kObject, 38, "ion pistol");
    EXPECT_TRUE(fp.starts_with(crlf({head(tri("2dom", 8), own + "fp\\fp"), refl("0xB0", "0xE8", "10")})));
    EXPECT_TRUE(fp.ends_with(crlf(
        {refl("0x7E4", "0x7EC", "4"), dep("0xA08", kSoso, own + "shaders\\pp shiney"),
         dep("0xA28", kSoso, own + "shaders\\pp dull"), dep("0xA48", kSoso, own + "shaders\\pp luminous"),
         dep("0xA68", kSmet, own + "shaders\\pp gauge"), comment,
         asset("VertexBlock", "fp.mod2.vertices", "0x850 0x8404 0x8D4 0x1CB0 0x958 0x110 0x9DC 0x0"),
         asset("IndexBlock", "fp.mod2.indices",
               "0x838 0x5C8 0x83C 0x5C8 0x8BC 0x128 0x8C0 0x128 0x940 0xC 0x944 0xC 0x9C4 0x0 0x9C8 0x0"),
         kEnd})));
    // The animations' large counts are written in decimal as they stand.
    const std::string antr = bytes(kObject, 37, "ion pistol");
    EXPECT_TRUE(antr.starts_with(crlf({head(tri("rtna", 8), own + "fp\\fp"), refl("0x4C", "0x80", "1")})));
    EXPECT_TRUE(antr.ends_with(crlf({refl("0x1804", "0x18114", "98832"), refl("0x1818", "0x18450", "99660"), kEnd})));
    EXPECT_NE(antr.find(crlf({dep("0x130", kSnd, "sound\\sfx\\weapons\\weapon_anims\\plaspistol_overheat_exit"),
                              refl("0xC10", "0x1820", "6428")})),
              std::string::npos);
}

TEST(PlasmaPistolExamples, BitmapsAndShaders) {
    // A bitmap's LoneID repeats its own Filename, new name included or not.
    for (const auto& [no, tag] : {std::pair{21, "bitmaps\\pp9_card"}, std::pair{22, "bitmaps\\pp display"},
                                  std::pair{17, "bitmaps\\pistol charged contrail"}}) {
        const std::string path = std::string("weapons\\pp9\\") + tag;
        EXPECT_EQ(bytes(kObject, no, "pp9", "Danger Canyon"),
                  crlf({head(kBitm, path, "Danger Canyon"), refl("0x58", "0x6C", "1"), refl("0x64", "0xAC", "1"),
                        dep("0xCC", kBitm, path, "LoneID"), kEnd}));
    }
    const std::string own = "weapons\\pp9\\";
    EXPECT_EQ(bytes(kObject, 40, "pp9"),
              crlf({head(kSmet, own + "shaders\\pp gauge"), dep("0x58", kBitm, own + "bitmaps\\pp display"), kEnd}));
    const auto shader = [&](const std::string& name, bool cubemap, const std::string& bitmap) {
        std::vector<Lines> pieces = {head(kSoso, own + "shaders\\" + name),
                                     dep("0xB0", kBitm, own + "bitmaps\\" + bitmap),
                                     dep("0xC8", kBitm, own + "bitmaps\\" + bitmap + " multipurpose")};
        if (cubemap) pieces.push_back(dep("0x170", kBitm, "weapons\\plasma rifle\\bitmaps\\cubemap plasma rifle"));
        pieces.push_back(kEnd);
        return crlf(pieces);
    };
    EXPECT_EQ(bytes(kObject, 39, "pp9"), shader("pp dull", true, "pp9"));
    EXPECT_EQ(bytes(kObject, 41, "pp9"), shader("pp lod", true, "pp9_card"));
    EXPECT_EQ(bytes(kObject, 42, "pp9"), shader("pp luminous", false, "pp9"));
    EXPECT_EQ(bytes(kObject, 43, "pp9"), shader("pp shiney", true, "pp9"));
}

TEST(PlasmaPistolExamples, Effects) {
    const std::string own = "weapons\\ion pistol\\effects\\";
    EXPECT_EQ(bytes(kObject, 30, "ion pistol"),
              crlf({head(kEffe, own + "impact metal hunter"), refl("0x2C", "0x40", "1"), refl("0x38", "0x60", "1"),
                    refl("0x90", "0xA4", "1"), refl("0x9C", "0x10C", "4"), dep("0xC8", kSnd, kPlasmahit),
                    dep("0x16C", kPart, "effects\\particles\\solid\\metal chips"),
                    dep("0x254", kPart, "effects\\particles\\flash\\flash h shield impact"),
                    dep("0x33C", kPart, "effects\\particles\\energy\\smoke c generic"),
                    dep("0x424", kPart, "effects\\particles\\solid\\blood engineer trails"), kEnd}));
    // Hunter shield and metal reflect: one sound line apart.
    const auto impact = [&](const std::string& name, const std::string& sound) {
        return crlf({head(kEffe, own + name), refl("0x2C", "0x40", "2"), refl("0x38", "0x80", "2"),
                     refl("0xB0", "0x108", "2"), refl("0xBC", "0x1D8", "4"), refl("0x100", "0x578", "1"),
                     dep("0x12C", kSnd, sound),
                     dep("0x194", kDeca, "effects\\decals\\bullet holes\\plasma green burn large"),
                     dep("0x238", kPart, "effects\\particles\\energy\\flash c generic med"),
                     dep("0x320", kPart, "effects\\particles\\flash\\flash h shield impact"),
                     dep("0x408", kPart, "effects\\particles\\solid\\metal chips"),
                     dep("0x4F0", kPart, "effects\\particles\\energy\\sparks energy trail"),
                     dep("0x5D8", kPart, "effects\\particles\\energy\\smoke c generic"), kEnd});
    };
    EXPECT_EQ(bytes(kObject, 28, "ion pistol"), impact("impact hunter shield", "sound\\sfx\\impulse\\impacts\\bullet_ricc"));
    EXPECT_EQ(bytes(kObject, 31, "ion pistol"), impact("impact metal reflect", kPlasmahit));
    // A reference chunk that names nothing keeps its room but writes no block.
    std::vector<Lines> overheated = {head(kEffe, own + "overheated"), refl("0x2C", "0x40", "3"),
                                     refl("0x38", "0xA0", "1"), refl("0xD0", "0xE4", "1"),
                                     refl("0xDC", "0x14C", "12")};
    for (const char* at : {"0x1AC", "0x294", "0x37C", "0x464", "0x54C", "0x634", "0x71C", "0x804", "0x8EC", "0x9D4",
                           "0xABC", "0xBA4"})
        overheated.push_back(dep(at, kPart, "effects\\particles\\energy\\plasma overheat"));
    overheated.push_back(kEnd);
    EXPECT_EQ(bytes(kObject, 36, "ion pistol"), crlf(overheated));
}

TEST(PlasmaPistolExamples, StockNameAsNewName) {
    // Nothing is special about a new name equal to the stock name: outside
    // tags of other weapons keep their paths, own tags take the name.
    const std::string own = "weapons\\plasma pistol\\";
    EXPECT_EQ(bytes(kObject, 8, "plasma pistol"),
              crlf({head(kLigh, own + "plasma pistol flare"), dep("0xB8", kLens, own + "plasma pistol lens flare"),
                    kEnd}));
    EXPECT_EQ(bytes(kObject, 42, "plasma pistol"),
              crlf({head(kSoso, own + "shaders\\pp luminous"), dep("0xB0", kBitm, own + "bitmaps\\plasma pistol"),
                    dep("0xC8", kBitm, own + "bitmaps\\plasma pistol multipurpose"), kEnd}));
}

}  // namespace
