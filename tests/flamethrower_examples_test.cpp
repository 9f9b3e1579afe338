// Flamethrower files known byte for byte, and what the new name and the map
// name do (and do not) change in them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

const char* const kObject = "flamethrower";
const std::string kJpt = tri("!tpj", 8), kLigh = tri("hgil", 8), kPctl = tri("ltcp", 8);
const std::string kSoso = tri("ososrdhs", 4), kSchi = tri("ihcsrdhs", 4);

std::string file(int no, const std::string& name, const std::string& map = "Blood Gulch") {
    return bytes(kObject, no, name, map);
}

// The lines after the Filename line.
std::string body(int no, const std::string& name, const std::string& map = "Blood Gulch") {
    const std::string text = file(no, name, map);
    std::size_t at = 0;
    for (int line = 0; line < 6; ++line) at = text.find("\r\n", at) + 2;
    return text.substr(at);
}

int line_count(const std::string& text) {
    int n = 0;
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++n;
    return n;
}

TEST(FlamethrowerExamples, RootDamageAndHud) {
    EXPECT_EQ(file(1, "scorcher"),
              crlf({head(kJpt, "weapons\\scorcher\\burning"),
                    dep("0x120", kSnd, "sound\\sfx\\weapons\\flamethrower\\impact"), kEnd}));
    // Same body as "burning", other Filename line.
    EXPECT_EQ(file(8, "scorcher"),
              crlf({head(kJpt, "weapons\\scorcher\\impact damage"),
                    dep("0x120", kSnd, "sound\\sfx\\weapons\\flamethrower\\impact"), kEnd}));
    EXPECT_EQ(file(9, "scorcher"),
              crlf({head(kJpt, "weapons\\scorcher\\melee"),
                    dep("0x120", kSnd, "sound\\sfx\\impulse\\melee\\flame_impact"), kEnd}));
    for (const auto& [no, tag] : {std::pair{2, "explosion"}, std::pair{10, "melee_response"}, std::pair{11, "trigger"}})
        EXPECT_EQ(file(no, "scorcher", "Danger Canyon"),
                  crlf({head(kJpt, "weapons\\scorcher\\" + std::string(tag), "Danger Canyon"), kEnd}));
    // "flame thrower" with a blank is a stock tag name, not the object name.
    EXPECT_EQ(file(3, "scorcher"),
              crlf({head(tri("ihpw", 8), "weapons\\scorcher\\flame thrower"),
                    dep("0xC", tri("ihpw", 8), "ui\\hud\\master fuel"), refl("0x88", "0x17C", "1"),
                    dep("0x1AC", kBitm, "ui\\hud\\bitmaps\\combined\\hud_reticles"), refl("0x1B4", "0x1E4", "1"),
                    kEnd}));
}

TEST(FlamethrowerExamples, WeaponKeepsTheUnwrittenEffect) {
    const std::string weap = file(7, "scorcher");
    EXPECT_TRUE(weap.starts_with(crlf({head("paewmetiejbo", "weapons\\scorcher\\scorcher"),
                                       dep("0x34", tri("2dom", 8), "weapons\\scorcher\\scorcher"),
                                       dep("0x7C", tri("lloc", 8), "weapons\\scorcher\\scorcher")})));
    const std::string own = "weapons\\scorcher\\effects\\";
    EXPECT_NE(weap.find(crlf({dep("0x5EC", kPctl, own + "defoliant"), dep("0x634", kPctl, own + "defoliant2"),
                              dep("0x67C", kEffe, own + "defoliant")})),
              std::string::npos);
    EXPECT_TRUE(weap.ends_with(crlf({dep("0xDD0", "piqemetiejbo", "powerups\\flamethrower ammo\\flamethrower ammo"),
                                     dep("0xE74", tri("jorpejbo", 4), "weapons\\scorcher\\flame"),
                                     refl("0xEE0", "0xEE8", "1"),
                                     dep("0xF18", kEffe, own + "flame thrower jet"),
                                     dep("0xF38", kEffe, own + "empty"),
                                     dep("0xF48", kJpt, "weapons\\scorcher\\trigger"), kEnd})));
    EXPECT_EQ(line_count(weap), 227);
}

TEST(FlamethrowerExamples, RenderModelAssets) {
    const std::string own = "weapons\\scorcher\\shaders\\";
    const std::string model = file(6, "scorcher");
    EXPECT_TRUE(model.starts_with(crlf({head(tri("2dom", 8), "weapons\\scorcher\\scorcher"),
                                        refl("0xB0", "0xE8", "6")})));
    EXPECT_TRUE(model.ends_with(crlf(
        {refl("0x4F0", "0x894", "2"), dep("0x9A8", kSoso, own + "ft gun"), dep("0x9C8", kSoso, own + "ft ammo"),
         dep("0x9E8", kSchi, own + "ft_numbers"), dep("0xA08", kSchi, own + "ft_numbers"),
         dep("0xA28", kSchi, own + "ft_numbers"), {"<!--Attached Binary File Structure-->"},
         asset("VertexBlock", "scorcher.mod2.vertices",
               "0x55C 0xB528 0x5E0 0xA79C 0x664 0xA68C 0x6E8 0xA57C 0x76C 0xA46C 0x7F0 0x3058 0x874 0x270C "
               "0x8F8 0x264 0x97C 0x0"),
         asset("IndexBlock", "scorcher.mod2.indices",
               "0x544 0x894 0x548 0x894 0x5C8 0x7C8 0x5CC 0x7C8 0x64C 0x7BC 0x650 0x7BC 0x6D0 0x7B0 0x6D4 0x7B0 "
               "0x754 0x7A4 0x758 0x7A4 0x7D8 0x244 0x7DC 0x244 0x85C 0x1D8 0x860 0x1D8 0x8E0 0x20 0x8E4 0x20 "
               "0x964 0x0 0x968 0x0"),
         kEnd})));
    EXPECT_EQ(line_count(model), 224);
}

TEST(FlamethrowerExamples, Bitmaps) {
    const std::string own = "weapons\\scorcher\\bitmaps\\";
    EXPECT_EQ(file(14, "scorcher"), crlf({head(kBitm, own + "scorcher"), refl("0x58", "0x6C", "1"),
                                          refl("0x64", "0xAC", "1"), dep("0xCC", kBitm, own + "scorcher", "LoneID"),
                                          kEnd}));
    std::vector<Lines> numbers = {head(kBitm, own + "scorcher_numbers"), refl("0x58", "0x6C", "1"),
                                  refl("0x64", "0xAC", "10")};
    for (const char* at : {"0xCC", "0xFC", "0x12C", "0x15C", "0x18C", "0x1BC", "0x1EC", "0x21C", "0x24C", "0x27C"})
        numbers.push_back(dep(at, kBitm, own + "scorcher_numbers", "LoneID"));
    numbers.push_back(kEnd);
    const std::string text = file(16, "scorcher");
    EXPECT_EQ(text, crlf(numbers));
    EXPECT_EQ(line_count(text), 67);
    // The stock tag name "cloud fire" stays; only the tag folder carries the new name.
    EXPECT_EQ(file(12, "scorcher"),
              crlf({head(kBitm, own + "cloud fire"), refl("0x58", "0x6C", "2"), refl("0x64", "0x8EC", "2"),
                    refl("0xA4", "0xEC", "60"), refl("0xE4", "0x86C", "4"),
                    dep("0x90C", kBitm, own + "cloud fire", "LoneID"),
                    dep("0x93C", kBitm, own + "cloud fire", "LoneID"), kEnd}));
}

TEST(FlamethrowerExamples, EffectsAndLight) {
    const std::string own = "weapons\\scorcher\\effects\\";
    EXPECT_EQ(file(26, "scorcher"),
              crlf({head(kEffe, own + "flame thrower pilot"), refl("0x2C", "0x40", "1"), refl("0x38", "0x60", "1"),
                    refl("0x9C", "0xA4", "1"), dep("0x104", kPart, own + "flicker flame"), kEnd}));
    EXPECT_EQ(file(24, "scorcher"),
              crlf({head(kEffe, own + "flame detonation"), refl("0x2C", "0x40", "1"), refl("0x38", "0x60", "1"),
                    refl("0x90", "0xA4", "3"), dep("0xC8", kJpt, "weapons\\scorcher\\explosion"),
                    dep("0x130", kSnd, "sound\\sfx\\weapons\\flamethrower\\burnout"),
                    dep("0x198", kLigh, own + "burning"), kEnd}));
    EXPECT_EQ(file(39, "scorcher"),
              crlf({head(kEffe, own + "steam water flame"), refl("0x2C", "0x40", "1"), refl("0x38", "0x60", "2"),
                    refl("0x90", "0xE8", "1"), refl("0x9C", "0x150", "1"), refl("0xE0", "0x238", "1"),
                    dep("0x10C", kSnd, "sound\\sfx\\weapons\\weapon_anims\\plasrifle_overheat"),
                    dep("0x1B0", kPart, own + "steam"), dep("0x298", kPart, own + "steam"), kEnd}));
    // The effe and the ligh "burning" share one Filename line.
    EXPECT_EQ(file(19, "scorcher"), crlf({head(kLigh, own + "burning"),
                                          dep("0xB8", tri("snel", 8), "lens flares\\large explosion"), kEnd}));
    EXPECT_TRUE(file(18, "scorcher").starts_with(crlf({head(kEffe, own + "burning")})));
    const std::string smoke = crlf({dep("0x10", kBitm, "effects\\particles\\air\\bitmaps\\smoke warthog gun"),
                                    dep("0x20", kPphy, "effects\\point physics\\cold smoke cloud"),
                                    dep("0x108", kBitm, "effects\\zmaps\\zmap_noisy_small"), kEnd});
    EXPECT_EQ(file(38, "scorcher"), crlf({head(kPart, own + "smoke")}) + smoke);
    EXPECT_EQ(file(40, "scorcher"), crlf({head(kPart, own + "steam")}) + smoke);
}

TEST(FlamethrowerExamples, ParticleSystems) {
    const std::string own = "weapons\\scorcher\\", fire = own + "bitmaps\\cloud fire";
    const std::string hellish = own + "effects\\hellish burning defoliant", fuel = own + "effects\\liquid fuel";
    EXPECT_EQ(file(20, "scorcher"),
              crlf({head(kPctl, own + "effects\\defoliant"), dep("0x44", kPphy, hellish), refl("0x60", "0x68", "1"),
                    refl("0xC8", "0xE8", "3"), refl("0xD4", "0xF4", "1"), refl("0xE0", "0x1B4", "5"),
                    dep("0x1F0", kBitm, fire), dep("0x244", kPphy, fuel), dep("0x368", kBitm, fire),
                    dep("0x3BC", kPphy, fuel), dep("0x4E0", kBitm, fire), dep("0x534", kPphy, hellish),
                    dep("0x658", kBitm, fire), dep("0x6AC", kPphy, hellish), dep("0x7D0", kBitm, fire),
                    dep("0x824", kPphy, own + "effects\\hot smoke cloud"), kEnd}));
    EXPECT_EQ(body(21, "scorcher"), body(31, "scorcher"));
    EXPECT_EQ(line_count(file(21, "scorcher")), 92);
    // Point physics have no body whatever the map name.
    for (const auto& [no, tag] :
         {std::pair{33, "hellish burning defoliant"}, std::pair{34, "hot smoke cloud"}, std::pair{36, "liquid fuel"}})
        EXPECT_EQ(file(no, "scorcher", "Hang 'Em High"),
                  crlf({head(kPphy, own + "effects\\" + tag, "Hang 'Em High"), kEnd}));
}

TEST(FlamethrowerExamples, FirstPersonAndShaders) {
    const std::string own = "weapons\\scorcher\\";
    // Tag "fp\fp" under two classes.
    EXPECT_TRUE(file(41, "scorcher").starts_with(crlf({head(tri("rtna", 8), own + "fp\\fp")})));
    const std::string fp = file(42, "scorcher");
    EXPECT_TRUE(fp.starts_with(crlf({head(tri("2dom", 8), own + "fp\\fp")})));
    EXPECT_TRUE(fp.ends_with(crlf(
        {dep("0x9B8", kSchi, own + "shaders\\ft numbers"), dep("0x9D8", kSchi, own + "shaders\\ft heat_display"),
         {"<!--Attached Binary File Structure-->"},
         asset("VertexBlock", "fp.mod2.vertices",
               "0x5D4 0x2068 0x658 0x660 0x6DC 0x440 0x760 0x330 0x7E4 0x220 0x868 0x110 0x8EC 0x0"),
         asset("IndexBlock", "fp.mod2.indices",
               "0x5BC 0x1C4 0x5C0 0x1C4 0x640 0x44 0x644 0x44 0x6C4 0x30 0x6C8 0x30 0x748 0x24 0x74C 0x24 "
               "0x7CC 0x18 0x7D0 0x18 0x850 0xC 0x854 0xC 0x8D4 0x0 0x8D8 0x0"),
         kEnd})));
    EXPECT_EQ(line_count(fp), 195);
    const std::string bitmaps = own + "bitmaps\\";
    EXPECT_EQ(file(44, "scorcher"),
              crlf({head(kSoso, own + "shaders\\ft gun"), dep("0xB0", kBitm, bitmaps + "scorcher"),
                    dep("0xC8", kBitm, bitmaps + "scorcher multipurpose"),
                    dep("0xE8", kBitm, "vehicles\\rwarthog\\bitmaps\\rwarthog_detail_metal"),
                    dep("0x170", kBitm, "weapons\\assault rifle\\fp\\bitmaps\\diffuse gunmetal"), kEnd}));
    EXPECT_EQ(file(45, "scorcher"), crlf({head(kSchi, own + "shaders\\ft heat_display"), refl("0x58", "0x6C", "1"),
                                          dep("0xE4", kBitm, bitmaps + "scorcher_heat_display"), kEnd}));
    EXPECT_EQ(file(47, "scorcher"),
              crlf({head(kSoso, own + "shaders\\ft screen"), dep("0xB0", kBitm, bitmaps + "scorcher_screen"),
                    dep("0xC8", kBitm, bitmaps + "scorcher_screen"), kEnd}));
    // "ft numbers" names an own bitmap, "ft_numbers" an outside one.
    EXPECT_EQ(body(46, "scorcher"),
              crlf({refl("0x58", "0x6C", "1"), dep("0xE4", kBitm, bitmaps + "scorcher_numbers"), kEnd}));
    EXPECT_EQ(body(48, "scorcher"),
              crlf({refl("0x58", "0x6C", "1"),
                    dep("0xE4", kBitm, "weapons\\assault rifle\\fp\\bitmaps\\numbers_plate"), kEnd}));
}

TEST(FlamethrowerExamples, NewNameAsTyped) {
    // Bodies naming no own tag do not change with the new name.
    for (int no : {41, 48})
        EXPECT_EQ(body(no, "scorcher"), body(no, "x & y"));
    // Outside paths that hold "flamethrower" stay as stored.
    EXPECT_NE(body(22, "flamethrower2").find("<Filename>sound\\sfx\\weapons\\flamethrower\\empty</Filename>"),
              std::string::npos);
    EXPECT_NE(body(41, "flamethrower2")
                  .find("<Filename>sound\\sfx\\weapons\\weapon_anims\\flamethrower_ready</Filename>"),
              std::string::npos);
    // No trimming, no escaping.
    EXPECT_EQ(file(43, " a&b<c "),
              crlf({head(kSoso, "weapons\\ a&b<c \\shaders\\ft ammo"),
                    dep("0xB0", kBitm, "weapons\\ a&b<c \\bitmaps\\ a&b<c "),
                    dep("0xC8", kBitm, "weapons\\ a&b<c \\bitmaps\\ a&b<c  multipurpose"), kEnd}));
    // An empty new name leaves two backslashes in a row, in the file's own
    // Filename line as in the references to it.
    EXPECT_EQ(file(2, ""), crlf({head(kJpt, "weapons\\\\explosion"), kEnd}));
    EXPECT_TRUE(file(5, "").starts_with(crlf({head(tri("lloc", 8), "weapons\\\\")})));
    EXPECT_EQ(file(24, "").substr(file(24, "").find("<Dependency>")),
              crlf({dep("0xC8", kJpt, "weapons\\\\explosion"),
                    dep("0x130", kSnd, "sound\\sfx\\weapons\\flamethrower\\burnout"),
                    dep("0x198", kLigh, "weapons\\\\effects\\burning"), kEnd}));
}

}  // namespace
