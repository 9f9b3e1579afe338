// Needler files known byte for byte, and the files that differ from one
// another in a line or two only.

#include <gtest/gtest.h>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

const std::string kLens = tri("snel", 8), kLigh = tri("hgil", 8), kSchi = tri("ihcsrdhs", 4);
const std::string kSoso = tri("ososrdhs", 4);

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

}  // namespace
