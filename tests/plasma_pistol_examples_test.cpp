// Plasma pistol files that are known byte for byte.

#include <gtest/gtest.h>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

const char* const kObject = "plasma_pistol";
const std::string kLigh = tri("hgil", 8), kLens = tri("snel", 8), kJpt = tri("!tpj", 8);

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

}  // namespace
