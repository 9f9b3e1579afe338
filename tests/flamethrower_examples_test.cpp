// Flamethrower files known byte for byte, and what the new name and the map
// name do (and do not) change in them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

const char* const kObject = "flamethrower";
const std::string kJpt = tri("!tpj", 8);

std::string file(int no, const std::string& name, const std::string& map = "Blood Gulch") {
    return bytes(kObject, no, name, map);
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

}  // namespace
