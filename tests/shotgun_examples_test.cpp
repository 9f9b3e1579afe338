// Shotgun files known byte for byte: whole effects, the small root, bitmap
// and shader files, and the beginnings and ends of the long ones.

#include <gtest/gtest.h>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

const std::string kJpt = tri("!tpj", 8), kAntr = tri("rtna", 8), kMod2 = tri("2dom", 8);
const std::string kSoso = tri("ososrdhs", 4), kSchi = tri("ihcsrdhs", 4);
const Lines kAssets = {"<!--Attached Binary File Structure-->"};

std::string shotgun(int no, const std::string& name, const std::string& map = "Blood Gulch") {
    return bytes("shotgun", no, name, map);
}

Lines particle(const std::string& loc, const std::string& path) { return dep(loc, kPart, path); }

TEST(ShotgunExamples, ImpactArmoredSkin) {
    const std::string p = "effects\\particles\\";
    EXPECT_EQ(shotgun(21, "auto"),
              crlf({head(kEffe, "weapons\\auto\\effects\\impact armored skin"), refl("0x2C", "0x40", "2"),
                    refl("0x38", "0x80", "2"), refl("0xB0", "0x108", "2"), refl("0xBC", "0x1D8", "3"),
                    refl("0x100", "0x490", "5"), dep("0x12C", kSnd, "sound\\sfx\\impulse\\impacts\\fleshhit"),
                    dep("0x194", kDeca, "effects\\decals\\blood splats\\blood splat"),
                    particle("0x238", p + "flash\\sparks trail"), particle("0x320", p + "air\\smoke impact"),
                    particle("0x408", p + "flash\\flash h shield impact"),
                    particle("0x4F0", p + "solid\\blood h impact burst"), particle("0x5D8", p + "solid\\metal chips"),
                    particle("0x6C0", p + "solid\\blood h impact mist"),
                    particle("0x7A8", p + "solid\\blood h impact mist med"),
                    particle("0x890", p + "solid\\blood h impact mist small"), kEnd}));
}

TEST(ShotgunExamples, OwnEffectsKeepStockOutsidePaths) {
    EXPECT_EQ(shotgun(51, "auto"),
              crlf({head(kEffe, "weapons\\auto\\effects\\auto empty"), refl("0x2C", "0x40", "1"),
                    refl("0x38", "0x60", "1"), refl("0x90", "0xA4", "1"),
                    dep("0xC8", kSnd, "sound\\sfx\\weapons\\pistol\\dryfire"), kEnd}));

    // A new name holding the stock name leaves the stock shotgun's sound and
    // casing as they are.
    const std::string fire = "sound\\sfx\\weapons\\shotgun\\fire", sparks = "effects\\particles\\flash\\sparks trail";
    const std::string flash = "effects\\particles\\flash\\flash h generic", smoke = "effects\\particles\\air\\smoke h fp";
    const std::string med = "effects\\particles\\flash\\flash h generic med";
    EXPECT_EQ(shotgun(52, "shotgun mk2"),
              crlf({head(kEffe, "weapons\\shotgun mk2\\effects\\shotgun mk2 firing"), refl("0x2C", "0x40", "2"),
                    refl("0x38", "0x80", "3"), refl("0xB0", "0x14C", "1"), refl("0xBC", "0x1B4", "5"),
                    refl("0xF4", "0x63C", "1"), refl("0x100", "0x6A4", "5"), refl("0x144", "0xB2C", "1"),
                    dep("0x170", kSnd, fire), particle("0x214", sparks), particle("0x2FC", flash),
                    particle("0x3E4", flash), particle("0x4CC", smoke), particle("0x5B4", med),
                    dep("0x660", kSnd, fire), particle("0x704", sparks), particle("0x7EC", flash),
                    particle("0x8D4", flash), particle("0x9BC", smoke), particle("0xAA4", med),
                    particle("0xB8C", "effects\\particles\\solid\\casing h shotgun"), kEnd}));
}

TEST(ShotgunExamples, RootFiles) {
    EXPECT_EQ(shotgun(1, "auto"), crlf({head(kJpt, "weapons\\auto\\melee"),
                                        dep("0x120", kSnd, "sound\\sfx\\impulse\\melee\\shotgun_impact"), kEnd}));
    // Seven lines, an empty map name written as it is.
    for (const auto& [no, tag] : {std::pair{2, "melee_response"}, std::pair{3, "pellet"}, std::pair{10, "trigger"}})
        EXPECT_EQ(shotgun(no, "auto", ""), crlf({head(kJpt, std::string("weapons\\auto\\") + tag, ""), kEnd}));

    EXPECT_EQ(shotgun(5, "auto"),
              crlf({head(kAntr, "weapons\\auto\\auto"), refl("0x1C", "0x80", "1"), refl("0x6C", "0xA8", "2"),
                    refl("0x78", "0x128", "2"), refl("0x94", "0x9C", "6"), refl("0x17C", "0x290", "656"),
                    refl("0x1C0", "0x340", "832"), refl("0x1D4", "0x364", "868"), refl("0x230", "0x46C", "1132"),
                    refl("0x274", "0x544", "1348"), refl("0x288", "0x568", "1384"), kEnd}));

    const std::string combined = "ui\\hud\\bitmaps\\combined\\";
    EXPECT_EQ(shotgun(9, "auto"),
              crlf({head(tri("ihpw", 8), "weapons\\auto\\auto"), dep("0xC", tri("ihpw", 8), "ui\\hud\\master rounds"),
                    refl("0x64", "0x17C", "1"), refl("0x70", "0x230", "1"), refl("0x88", "0x2E4", "1"),
                    dep("0x1D0", kBitm, combined + "hud_ammo_alphas"), dep("0x284", kBitm, combined + "hud_ammo_meters"),
                    dep("0x314", kBitm, combined + "hud_reticles"), refl("0x31C", "0x34C", "1"), kEnd}));
}

TEST(ShotgunExamples, PelletNamesEveryImpactEffect) {
    const std::string pellet = shotgun(4, "auto"), fx = "weapons\\auto\\effects\\";
    EXPECT_TRUE(pellet.starts_with(crlf({head(tri("jorpejbo", 4), "weapons\\auto\\pellet"),
                                         dep("0x230", kJpt, "weapons\\auto\\pellet"), refl("0x244", "0x24C", "33"),
                                         dep("0x25C", kEffe, fx + "impact dirt")})));
    EXPECT_TRUE(pellet.ends_with(crlf({dep("0x151C", kEffe, fx + "impact jackal shield"),
                                       dep("0x15BC", kEffe, "weapons\\assault rifle\\effects\\impact ice"),
                                       dep("0x165C", kEffe, fx + "impact hunter shield"), kEnd})));
}

TEST(ShotgunExamples, WeaponFile) {
    const std::string weap = shotgun(8, "auto"), own = "weapons\\auto\\";
    EXPECT_TRUE(weap.starts_with(crlf({head(tri("paewmetiejbo", 0), own + "auto"), dep("0x34", kMod2, own + "auto"),
                                       dep("0x44", kAntr, own + "auto")})));
    EXPECT_NE(weap.find(crlf({dep("0x514", tri("hgil", 8), "weapons\\assault rifle\\muzzle flash"),
                              dep("0x98C", kBitm, own + "bitmaps\\auto_card", "LoneID"),
                              dep("0x994", kBitm, own + "bitmaps\\auto_card multipurpose", "LoneID"),
                              dep("0x99C", kBitm, "weapons\\pistol\\bitmaps\\pistol cubemap", "LoneID")})),
              std::string::npos);
    EXPECT_TRUE(weap.ends_with(
        crlf({refl("0xA60", "0xA68", "1"), dep("0xA80", tri("piqemetiejbo", 0), "powerups\\shotgun ammo\\shotgun ammo"),
              dep("0xB24", tri("jorpejbo", 4), own + "pellet"), refl("0xB90", "0xB98", "1"),
              dep("0xBC8", kEffe, own + "effects\\auto firing"), dep("0xBD8", kEffe, own + "effects\\auto empty"),
              dep("0xBE8", kSnd, "sound\\sfx\\weapons\\assault rifle\\dryfire"), dep("0xBF8", kJpt, own + "trigger"),
              kEnd})));
}

TEST(ShotgunExamples, ModelAssetsNamedAfterTheTag) {
    const std::string own = "weapons\\auto\\";
    const std::string m7 = shotgun(7, "auto");
    EXPECT_TRUE(m7.starts_with(crlf({head(kMod2, own + "auto"), refl("0xB0", "0xE8", "6")})));
    EXPECT_TRUE(m7.ends_with(crlf(
        {refl("0x58C", "0x930", "1"), dep("0x9C0", kSoso, own + "shaders\\auto_card"),
         dep("0x9E0", kSchi, own + "shaders\\auto primary"), dep("0xA00", kSoso, own + "shaders\\auto decal"),
         dep("0xA20", kSoso, own + "shaders\\auto gun"), dep("0xA40", kSoso, own + "shaders\\auto light"), kAssets,
         asset("VertexBlock", "auto.mod2.vertices",
               "0x5F8 0x16E08 0x67C 0x16CF8 0x700 0x5984 0x784 0x57EC 0x808 0x1CB0 0x88C 0x1BA0 0x910 0x1A90 0x994 0x0"),
         asset("IndexBlock", "auto.mod2.indices",
               "0x5E0 0x12D0 0x5E4 0x12D0 0x664 0x12C4 0x668 0x12C4 0x6E8 0x418 0x6EC 0x418 0x76C 0x404 0x770 0x404 "
               "0x7F0 0x14C 0x7F4 0x14C 0x874 0x140 0x878 0x140 0x8F8 0x134 0x8FC 0x134 0x97C 0x0 0x980 0x0"),
         kEnd})));

    // Both fp files name weapons\<new>\fp\fp and differ in their Tag line.
    const std::string m54 = shotgun(54, "auto"), a53 = shotgun(53, "auto");
    EXPECT_TRUE(a53.starts_with(crlf({head(kAntr, own + "fp\\fp"), refl("0x4C", "0x80", "1")})));
    EXPECT_TRUE(a53.ends_with(crlf({refl("0x1404", "0xBC24", "48536"), refl("0x1418", "0xBF70", "49380"), kEnd})));
    EXPECT_TRUE(m54.starts_with(crlf({head(kMod2, own + "fp\\fp"), refl("0xB0", "0xE8", "5")})));
    EXPECT_TRUE(m54.ends_with(crlf({refl("0x604", "0x60C", "3"), dep("0x7A4", kSoso, own + "shaders\\auto gun"),
                                    dep("0x7C4", kSchi, own + "shaders\\auto primary"),
                                    dep("0x7E4", kSoso, own + "shaders\\auto shell"), kAssets,
                                    asset("VertexBlock", "fp.mod2.vertices", "0x670 0x1ED0 0x6F4 0x1DC0 0x778 0x0"),
                                    asset("IndexBlock", "fp.mod2.indices",
                                          "0x658 0x14C 0x65C 0x14C 0x6DC 0x140 0x6E0 0x140 0x760 0x0 0x764 0x0"),
                                    kEnd})));
}

TEST(ShotgunExamples, BitmapsAndShaders) {
    const std::string bolt = "weapons\\my gun\\bitmaps\\my gun bolt";
    EXPECT_EQ(shotgun(14, "my gun"), crlf({head(kBitm, bolt), refl("0x58", "0x6C", "1"), refl("0x64", "0xAC", "1"),
                                           dep("0xCC", kBitm, bolt, "LoneID"), kEnd}));
    EXPECT_EQ(shotgun(58, "my gun"),
              crlf({head(kSchi, "weapons\\my gun\\shaders\\my gun primary"), refl("0x58", "0x6C", "2"),
                    dep("0xE4", kBitm, bolt), dep("0x1C0", kBitm, "weapons\\sniper rifle\\bitmaps\\sr bolt"), kEnd}));

    const std::string casings = "weapons\\auto\\bitmaps\\casings";
    EXPECT_EQ(shotgun(11, "auto"),
              crlf({head(kBitm, casings), refl("0x58", "0x6C", "4"), refl("0x64", "0x8EC", "2"),
                    refl("0xA4", "0x16C", "15"), refl("0xE4", "0x34C", "15"), refl("0x124", "0x52C", "15"),
                    refl("0x164", "0x70C", "15"), dep("0x90C", kBitm, casings, "LoneID"),
                    dep("0x93C", kBitm, casings, "LoneID"), kEnd}));

    // Neither the new name nor the map name is escaped.
    const std::string own = "weapons\\a&b\\", map = "Rat Race & <Co>";
    EXPECT_EQ(shotgun(55, "a&b", map),
              crlf({head(kSoso, own + "shaders\\a&b decal", map), dep("0xB0", kBitm, own + "bitmaps\\sg loading port"),
                    dep("0xC8", kBitm, own + "bitmaps\\sg loading port multipurpose"),
                    dep("0x170", kBitm, "weapons\\pistol\\bitmaps\\pistol cubemap"), kEnd}));
    // The gun and light shaders differ in their Filename line only.
    const std::string gun = shotgun(56, "auto"), light = shotgun(57, "auto");
    EXPECT_EQ(gun.substr(0, gun.find("<Filename>")), light.substr(0, light.find("<Filename>")));
    EXPECT_EQ(gun.substr(gun.find("</Filename>")), light.substr(light.find("</Filename>")));
    EXPECT_NE(gun, light);
}

}  // namespace
