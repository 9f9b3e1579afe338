// Rocket launcher files that are known byte for byte.

#include <gtest/gtest.h>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

const char* const kObject = "rocket_launcher";
const std::string kSoso = tri("ososrdhs", 4);
const Lines kAssets = {"<!--Attached Binary File Structure-->"};

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

TEST(RocketLauncherExamples, ProjectileModelShadersAndBitmaps) {
    const std::string own = "weapons\\bazooka\\";
    EXPECT_EQ(bytes(kObject, 18, "bazooka"),
              crlf({head(tri("2dom", 8), own + "projectile\\projectile"), refl("0xB0", "0xE8", "1"),
                    refl("0xBC", "0x148", "1"), refl("0xC8", "0x1E4", "1"), refl("0xD4", "0x288", "1"),
                    refl("0xE0", "0x33C", "1"), refl("0x120", "0x128", "1"), refl("0x228", "0x230", "1"),
                    refl("0x2B0", "0x2B8", "1"), dep("0x348", kSoso, own + "projectile\\shaders\\bazooka hull"),
                    kAssets, asset("VertexBlock", "projectile.mod2.vertices", "0x31C 0x0"),
                    asset("IndexBlock", "projectile.mod2.indices", "0x304 0x0 0x308 0x0"), kEnd}));
    // The misspelt projectile bitmap keeps its stored name.
    EXPECT_EQ(bytes(kObject, 21, "bazooka"),
              crlf({head(kSoso, own + "projectile\\shaders\\bazooka hull"),
                    dep("0xB0", kBitm, own + "projectile\\bitmaps\\rocket"),
                    dep("0xC8", kBitm, own + "projectile\\bitmaps\\rocket multipuropse"),
                    dep("0x170", kBitm, "weapons\\assault rifle\\fp\\bitmaps\\diffuse gunmetal"), kEnd}));
    EXPECT_EQ(bytes(kObject, 23, "bazooka"),
              crlf({head(kSoso, own + "shaders\\bazooka decal"), dep("0xB0", kBitm, own + "bitmaps\\bazooka decal"),
                    dep("0x170", kBitm, "weapons\\pistol\\bitmaps\\pistol cubemap"), kEnd}));
    EXPECT_EQ(bytes(kObject, 24, "bazooka"),
              crlf({head(kSoso, own + "shaders\\bazooka ends"), dep("0xB0", kBitm, own + "bitmaps\\bazooka ends"),
                    kEnd}));
    const std::string rocket = own + "projectile\\bitmaps\\rocket multipuropse";
    EXPECT_EQ(bytes(kObject, 19, "bazooka"),
              crlf({head(kBitm, rocket), refl("0x58", "0x6C", "1"), refl("0x64", "0xAC", "1"),
                    dep("0xCC", kBitm, rocket, "LoneID"), kEnd}));
}

TEST(RocketLauncherExamples, ModelAssetsAndDoubleJoins) {
    const std::string own = "weapons\\Bazooka X\\";
    const std::string model = bytes(kObject, 6, "Bazooka X");
    EXPECT_TRUE(model.starts_with(crlf({head(tri("2dom", 8), own + "Bazooka X")})));
    EXPECT_TRUE(model.ends_with(crlf(
        {dep("0x9A8", kSoso, own + "shaders\\Bazooka X ends"), dep("0x9C8", kSoso, own + "shaders\\Bazooka X decal"),
         kAssets,
         asset("VertexBlock", "Bazooka X.mod2.vertices", "0x70C 0x17F90 0x790 0x8448 0x814 0x15C8 0x898 0x908 0x91C 0x0"),
         asset("IndexBlock", "Bazooka X.mod2.indices",
               "0x6F4 0xFA0 0x6F8 0xFA0 0x778 0x5D8 0x77C 0x5D8 0x7FC 0x108 0x800 0x108 0x880 0x60 0x884 0x60 "
               "0x904 0x0 0x908 0x0"),
         kEnd})));
    EXPECT_TRUE(bytes(kObject, 5, "Bazooka X").starts_with(crlf({head(tri("lloc", 8), own + "Bazooka X")})));
    // The first-person model's assets never carry the new name.
    EXPECT_TRUE(bytes(kObject, 17, "Bazooka X").ends_with(crlf(
        {dep("0x924", kSoso, own + "shaders\\Bazooka X decal"), kAssets,
         asset("VertexBlock", "fp.mod2.vertices", "0x70C 0x2CF50 0x790 0x192B0 0x814 0x908 0x898 0x0"),
         asset("IndexBlock", "fp.mod2.indices",
               "0x6F4 0x1F3C 0x6F8 0x1F3C 0x778 0x1274 0x77C 0x1274 0x7FC 0x60 0x800 0x60 0x880 0x0 0x884 0x0"),
         kEnd})));
}

TEST(RocketLauncherExamples, NamesAndEmptyFields) {
    // Files without blocks are seven lines; an empty map and new name are
    // written as they are.
    for (const auto& [no, tag] : {std::pair{2, "explosion"}, std::pair{4, "melee_response"}, std::pair{10, "trigger"}})
        EXPECT_EQ(bytes(kObject, no, "", ""), crlf({head(tri("!tpj", 8), "weapons\\\\" + std::string(tag), ""), kEnd}));
    // The wphi tag keeps its underscore name; the weapon names it under the
    // new folder.
    EXPECT_TRUE(bytes(kObject, 9, "bazooka")
                    .starts_with(crlf({head(tri("ihpw", 8), "weapons\\bazooka\\rocket_launcher"),
                                       dep("0xC", tri("ihpw", 8), "ui\\hud\\master rounds")})));
    const std::string weapon = bytes(kObject, 46, "bazooka");
    EXPECT_TRUE(weapon.starts_with(crlf({head("paewmetiejbo", "weapons\\bazooka\\bazooka"),
                                         dep("0x34", tri("2dom", 8), "weapons\\bazooka\\bazooka")})));
    EXPECT_NE(weapon.find(crlf({dep("0x48C", tri("ihpw", 8), "weapons\\bazooka\\rocket_launcher")})),
              std::string::npos);
    EXPECT_NE(weapon.find(crlf({dep("0x7B8", "piqemetiejbo", "powerups\\rocket launcher ammo\\rocket launcher ammo")})),
              std::string::npos);
    EXPECT_TRUE(weapon.ends_with(crlf({refl("0x8C8", "0x8D0", "1"),
                                       dep("0x900", kEffe, "weapons\\bazooka\\effects\\fire rocket"),
                                       dep("0x920", kSnd, "sound\\sfx\\weapons\\assault rifle\\dryfire"),
                                       dep("0x930", tri("!tpj", 8), "weapons\\bazooka\\trigger"), kEnd})));
    // The stock name as new name gives the stock paths back.
    EXPECT_TRUE(bytes(kObject, 25, "rocket launcher")
                    .starts_with(crlf({head(kSoso, "weapons\\rocket launcher\\shaders\\rocket launcher grip")})));
}

}  // namespace
