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

const std::string kJpt = tri("!tpj", 8), kAntr = tri("rtna", 8);

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

}  // namespace
