// Shotgun files known byte for byte: whole effects, the small root, bitmap
// and shader files, and the beginnings and ends of the long ones.

#include <gtest/gtest.h>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;


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

}  // namespace
