// Sniper rifle files known byte for byte, addressed by place: file number 24
// serves two places.

#include <gtest/gtest.h>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

constexpr const char* kSniper = "sniper_rifle";

std::string at(std::size_t place, const std::string& name, const std::string& map = "Blood Gulch") {
    return place_bytes(kSniper, place, name, map);
}

const std::string kJpt = tri("!tpj", 8), kAntr = tri("rtna", 8), kMod2 = tri("2dom", 8);

TEST(SniperRifleExamples, RootFiles) {
    EXPECT_EQ(at(1, "longbow"), crlf({head(tri("hgil", 8), "weapons\\longbow\\muzzle flash"), kEnd}));
    EXPECT_EQ(at(7, "long rifle", "Hang 'Em High"),
              crlf({head(kJpt, "weapons\\long rifle\\sniper bullet", "Hang 'Em High"), kEnd}));
    EXPECT_EQ(at(3, "longbow"),
              crlf({head(kJpt, "weapons\\longbow\\melee"),
                    dep("0x120", kSnd, "sound\\sfx\\impulse\\melee\\assault_impact"), kEnd}));
    EXPECT_EQ(at(5, "longbow"),
              crlf({head(kCont, "weapons\\longbow\\sniper"),
                    dep("0x3C", kBitm, "weapons\\longbow\\bitmaps\\sniper contrail"), refl("0x13C", "0x144", "3"),
                    dep("0x160", kPphy, "effects\\point physics\\cold smoke cloud"),
                    dep("0x1C8", kPphy, "effects\\point physics\\hot smoke cloud"),
                    dep("0x230", kPphy, "effects\\point physics\\lightweight particle"), kEnd}));
    EXPECT_EQ(at(8, "longbow"),
              crlf({head(kAntr, "weapons\\longbow\\longbow"), refl("0x1C", "0x80", "1"), refl("0x6C", "0xB0", "4"),
                    refl("0x78", "0x1B0", "1"), refl("0x94", "0x9C", "10"), refl("0x204", "0x264", "612"),
                    refl("0x248", "0x28C", "652"), refl("0x25C", "0x2E0", "736"), kEnd}));
}

TEST(SniperRifleExamples, WeaponAndModelCarryTheNewNameOnlyInOwnTags) {
    const std::string own = "weapons\\longbow\\";
    const std::string weap = at(11, "longbow");
    EXPECT_TRUE(weap.starts_with(crlf({head("paewmetiejbo", own + "longbow"), dep("0x34", kMod2, own + "longbow"),
                                       dep("0x44", kAntr, own + "longbow"),
                                       dep("0x7C", tri("lloc", 8), own + "longbow")})));
    EXPECT_NE(weap.find(crlf({dep("0x824", kBitm, own + "bitmaps\\longbow", "LoneID"),
                              dep("0x82C", kBitm, own + "bitmaps\\longbow multipurpose", "LoneID"),
                              dep("0x834", kBitm, "vehicles\\warthog\\bitmaps\\reflection diffuse metal", "LoneID")})),
              std::string::npos);
    EXPECT_TRUE(weap.ends_with(crlf({dep("0x918", "piqemetiejbo", "powerups\\sniper rifle ammo\\sniper rifle ammo"),
                                     dep("0x9BC", "jorpejbo" + tri("", 4), own + "sniper bullet"),
                                     refl("0xA28", "0xA30", "1"), dep("0xA60", kEffe, own + "effects\\fire bullet"),
                                     dep("0xA80", kSnd, "sound\\sfx\\weapons\\assault rifle\\dryfire"),
                                     dep("0xA90", kJpt, own + "trigger"), kEnd})));

    const std::string soso = tri("ososrdhs", 4), scex = tri("xecsrdhs", 4);
    const std::string model = at(10, "longbow");
    EXPECT_TRUE(model.starts_with(crlf({head(kMod2, own + "longbow"), refl("0xB0", "0xE8", "5")})));
    EXPECT_NE(model.find(crlf({dep("0x101C", scex, own + "shaders\\longbow subscreen"),
                               dep("0x103C", scex, own + "shaders\\longbow screen"),
                               {"<!--Attached Binary File Structure-->", "<Asset>", "<Type>VertexBlock</Type>",
                                "<Filename>longbow.mod2.vertices</Filename>"}})),
              std::string::npos);
    EXPECT_TRUE(model.ends_with(crlf({asset("IndexBlock", "longbow.mod2.indices",
                                            "0x718 0x2A84 0x71C 0x2A84 0x79C 0x2A78 0x7A0 0x2A78 0x820 0x273C "
                                            "0x824 0x273C 0x8A4 0x26F8 0x8A8 0x26F8 0x928 0x26EC 0x92C 0x26EC "
                                            "0x9AC 0x26D8 0x9B0 0x26D8 0xA30 0x1A40 0xA34 0x1A40 0xAB4 0x1A34 "
                                            "0xAB8 0x1A34 0xB38 0x17A0 0xB3C 0x17A0 0xBBC 0x1770 0xBC0 0x1770 "
                                            "0xC40 0x1764 0xC44 0x1764 0xCC4 0x1750 0xCC8 0x1750 0xD48 0xCC4 "
                                            "0xD4C 0xCC4 0xDCC 0xA94 0xDD0 0xA94 0xE50 0x578 0xE54 0x578 "
                                            "0xED4 0x384 0xED8 0x384 0xF58 0x0 0xF5C 0x0"),
                                      kEnd})));
}

TEST(SniperRifleExamples, BitmapsFpAndShaders) {
    const auto& files = objects::table(kSniper).files;
    // Place 16 is written under its own name; its tag keeps the tag file name.
    EXPECT_EQ(duplication::xml_rel_path(files.at(15), "longbow"), "bitmaps\\angle_ticks_mask.bitm.wphi.xml");
    const std::string mask = "weapons\\longbow\\bitmaps\\angle_ticks_mask";
    EXPECT_EQ(at(16, "longbow"), crlf({head(kBitm, mask), refl("0x58", "0x6C", "1"), refl("0x64", "0xAC", "1"),
                                       dep("0xCC", kBitm, mask, "LoneID"), kEnd}));
    EXPECT_EQ(duplication::xml_rel_path(files.at(17), "long rifle"), "bitmaps\\long rifle multipurpose.bitm.xml");
    const std::string multi = "weapons\\long rifle\\bitmaps\\long rifle multipurpose";
    EXPECT_EQ(at(18, "long rifle", "Danger Canyon"),
              crlf({head(kBitm, multi, "Danger Canyon"), refl("0x58", "0x6C", "1"), refl("0x64", "0xAC", "1"),
                    dep("0xCC", kBitm, multi, "LoneID"), kEnd}));

    // Places 25 and 26 share one tag path; place 26 reuses file number 24.
    const std::string fp = "weapons\\longbow\\fp\\fp", scex = tri("xecsrdhs", 4);
    EXPECT_TRUE(at(25, "longbow").ends_with(
        crlf({dep("0x9B0", scex, "weapons\\longbow\\shaders\\longbow subscreen"),
              dep("0x9D0", scex, "weapons\\longbow\\shaders\\longbow screen"),
              {"<!--Attached Binary File Structure-->"},
              asset("VertexBlock", "fp.mod2.vertices", "0x670 0x5588 0x6F4 0x53F0 0x778 0x660 0x7FC 0x2A8 0x880 0x198 0x904 0x0"),
              asset("IndexBlock", "fp.mod2.indices",
                    "0x658 0x3EC 0x65C 0x3EC 0x6DC 0x3E0 0x6E0 0x3E0 0x760 0x44 0x764 0x44 0x7E4 0x20 0x7E8 0x20 "
                    "0x868 0x14 0x86C 0x14 0x8EC 0x0 0x8F0 0x0"),
              kEnd})));
    const std::string anims = at(26, "longbow");
    EXPECT_TRUE(anims.starts_with(crlf({head(kAntr, fp), refl("0x4C", "0x80", "1")})));
    EXPECT_TRUE(anims.ends_with(crlf({refl("0x1250", "0x16038", "90400"), refl("0x1264", "0x16388", "91248"), kEnd})));

    const std::string own = "weapons\\longbow\\bitmaps\\";
    EXPECT_EQ(at(30, "longbow"), crlf({head(tri("ihcsrdhs", 4), "weapons\\longbow\\shaders\\longbow primary"),
                                       refl("0x58", "0x6C", "2"), dep("0xE4", kBitm, own + "sr bolt"),
                                       dep("0x1C0", kBitm, own + "sr bolt"), kEnd}));
    EXPECT_EQ(at(27, "pistol"),
              crlf({head(tri("ososrdhs", 4), "weapons\\pistol\\shaders\\pistol decal"),
                    dep("0xB0", kBitm, "weapons\\pistol\\bitmaps\\sr decal"),
                    dep("0xC8", kBitm, "weapons\\pistol\\bitmaps\\sr decal multipurpose"),
                    dep("0x170", kBitm, "weapons\\pistol\\bitmaps\\pistol cubemap"), kEnd}));
}

TEST(SniperRifleExamples, EffectsInFull) {
    EXPECT_EQ(at(34, "longbow"),
              crlf({head(kEffe, "weapons\\longbow\\effects\\impact armored skin"), refl("0x2C", "0x40", "3"),
                    refl("0x38", "0xA0", "2"), refl("0xD0", "0x128", "2"), refl("0xDC", "0x1F8", "3"),
                    refl("0x120", "0x4B0", "6"), dep("0x14C", kSnd, "sound\\sfx\\impulse\\impacts\\fleshhit"),
                    dep("0x1B4", kDeca, "effects\\decals\\blood splats\\blood splat"),
                    dep("0x258", kPart, "effects\\particles\\flash\\sparks trail"),
                    dep("0x340", kPart, "effects\\particles\\air\\smoke impact"),
                    dep("0x428", kPart, "effects\\particles\\flash\\flash h shield impact"),
                    dep("0x510", kPart, "effects\\particles\\solid\\blood h impact burst"),
                    dep("0x5F8", kPart, "effects\\particles\\solid\\metal chips"),
                    dep("0x6E0", kPart, "effects\\particles\\solid\\blood h impact mist"),
                    dep("0x7C8", kPart, "effects\\particles\\solid\\blood h impact mist med"),
                    dep("0x8B0", kPart, "effects\\particles\\solid\\blood h impact mist small"),
                    dep("0x998", kPart, "effects\\particles\\solid\\blood engineer trails"), kEnd}));
    // A new name holding the stock name changes the Filename line only.
    const std::string muzzle = "effects\\particles\\flash\\flash h sniper muzzle break";
    const std::string smoke = "effects\\particles\\air\\smoke h fp";
    EXPECT_EQ(at(33, "sniper rifle mk2"),
              crlf({head(kEffe, "weapons\\sniper rifle mk2\\effects\\fire bullet"), refl("0x2C", "0x40", "2"),
                    refl("0x38", "0x80", "2"), refl("0xB0", "0x108", "1"), refl("0x100", "0x170", "7"),
                    dep("0x12C", kSnd, "sound\\sfx\\weapons\\sniper rifle\\fire"),
                    dep("0x1D0", kPart, "vehicles\\warthog\\warthog gun casing par"), dep("0x2B8", kPart, muzzle),
                    dep("0x3A0", kPart, muzzle), dep("0x488", kPart, smoke), dep("0x570", kPart, smoke),
                    dep("0x658", kPart, smoke), dep("0x740", kPart, muzzle), kEnd}));
}

TEST(SniperRifleExamples, TwinEffectsDifferOnlyWhereTheyShould) {
    const auto lines = [](std::size_t place) {
        Lines out;
        std::string s = at(place, "longbow");
        for (std::size_t p; (p = s.find("\r\n")) != std::string::npos; s.erase(0, p + 2)) out.push_back(s.substr(0, p));
        return out;
    };
    const auto differing = [](const Lines& a, const Lines& b) {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
            if (a[i] != b[i]) at.push_back(i);
        return at;
    };
    // impact metal hollow reflect and impact metal thin reflect: the Filename line.
    const Lines hollow = lines(52), thin = lines(55);
    ASSERT_EQ(hollow.size(), 67u);
    ASSERT_EQ(thin.size(), 67u);
    EXPECT_EQ(differing(hollow, thin), std::vector<std::size_t>{5});
    // impact hunter shield and impact metal thick reflect: also the third
    // Dependency's tag (bullet_ricc against metalhit).
    const Lines shield = lines(47), thick = lines(54);
    ASSERT_EQ(shield.size(), 72u);
    ASSERT_EQ(thick.size(), 72u);
    const auto diff = differing(shield, thick);
    ASSERT_EQ(diff.size(), 2u);
    EXPECT_EQ(diff[0], 5u);
    EXPECT_EQ(shield[diff[1]], "<Filename>sound\\sfx\\impulse\\impacts\\bullet_ricc</Filename>");
    EXPECT_EQ(thick[diff[1]], "<Filename>sound\\sfx\\impulse\\impacts\\metalhit</Filename>");
}

}  // namespace
