// Warthog files known byte for byte: whole files, and the beginnings and ends
// of the long ones.

#include <gtest/gtest.h>

#include <array>
#include <set>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

const std::string kVehi = "ihevtinuejbo", kWeap = "paewmetiejbo";
const std::string kLigh = tri("hgil", 8), kTrak = tri("kart", 8), kUnhi = tri("ihnu", 8);
const std::string kHog = "vehicles\\hog\\";

// The blocks at the end of every file: Dependencies given as Location, class triple, path.
Lines deps(const std::vector<std::array<std::string, 3>>& list, const std::string& elem = "Dependency") {
    Lines out;
    for (const auto& [loc, triple, path] : list) {
        const Lines one = dep(loc, triple, path, elem);
        out.insert(out.end(), one.begin(), one.end());
    }
    return out;
}

TEST(WarthogExamples, VehicleFileInFull) {
    const std::string loose = "camera\\warthog_driver_loose";
    EXPECT_EQ(
        bytes("warthog", 6, "hog"),
        crlf({head(kVehi, kHog + "mp_hog"),
              deps({{{"0x34", tri("2dom", 8), kHog + "hog"}},
                    {{"0x44", tri("rtna", 8), kHog + "hog"}},
                    {{"0x7C", tri("lloc", 8), kHog + "hog"}},
                    {{"0x8C", tri("syhp", 8), kHog + "hog"}}}),
              refl("0x144", "0x3F0", "4"), refl("0x150", "0x510", "1"), refl("0x15C", "0x530", "4"),
              refl("0x174", "0xAD0", "12"), refl("0x2D0", "0xB30", "1"), refl("0x2DC", "0xB74", "1"),
              refl("0x2E8", "0xB98", "3"),
              deps({{{"0x3BC", kSnd, "sound\\sfx\\impulse\\impacts\\warthog_suspension"}},
                    {{"0x3CC", kSnd, "sound\\sfx\\impulse\\impacts\\jeep_hit_solid"}},
                    {{"0x3DC", tri("toof", 8), "vehicles\\vehicle"}},
                    {{"0x3FC", kLigh, kHog + "headlights"}},
                    {{"0x444", kLigh, kHog + "headlights light"}},
                    {{"0x48C", kLigh, kHog + "taillights"}},
                    {{"0x4D4", tri("dnsl", 8), "sound\\sfx\\vehicles\\warthog_7_engine"}},
                    {{"0x51C", tri("!tna", 8), kHog + "hog antenna"}}}),
              deps({{{"0xAD4", kBitm, kHog + "bitmaps\\hog tires"}},
                    {{"0xADC", kBitm, kHog + "bitmaps\\hog tires multipurpose"}},
                    {{"0xAE4", kBitm, kHog + "bitmaps\\reflection diffuse metal"}},
                    {{"0xAEC", kBitm, kHog + "bitmaps\\hog"}},
                    {{"0xAF4", kBitm, kHog + "bitmaps\\hog multipurpose"}},
                    {{"0xAFC", kBitm, "characters\\cyborg\\bitmaps\\detail corroded metal light"}},
                    {{"0xB04", kBitm, kHog + "bitmaps\\hog chaingun"}},
                    {{"0xB0C", kBitm, kHog + "bitmaps\\hog chaingun multipurpose"}},
                    {{"0xB14", kBitm, "characters\\elite\\bitmaps\\cubemap dark gray"}},
                    {{"0xB1C", kBitm, kHog + "bitmaps\\hog reflection mask"}},
                    {{"0xB24", kBitm, kHog + "bitmaps\\hog diplays"}},
                    {{"0xB2C", kBitm, kHog + "bitmaps\\meter speedometer"}}},
                   "LoneID"),
              dep("0xB80", kWeap, kHog + "hog gun"), refl("0xC6C", "0xEEC", "2"), refl("0xC78", "0xF24", "1"),
              refl("0xD88", "0xF54", "1"), refl("0xD94", "0xF70", "1"), refl("0xEA4", "0xFA0", "1"),
              refl("0xEB0", "0xFBC", "1"),
              deps({{{"0xEF8", kTrak, loose}},
                    {{"0xF14", kTrak, "camera\\warthog_driver_tight"}},
                    {{"0xF30", kUnhi, "ui\\hud\\warthog driver"}},
                    {{"0xF60", kTrak, loose}},
                    {{"0xF7C", kUnhi, "ui\\hud\\passenger_2"}},
                    {{"0xFAC", kTrak, loose}},
                    {{"0xFC8", kUnhi, "ui\\hud\\gunner"}}}),
              kEnd}));
}

TEST(WarthogExamples, NewNameInsertedAsTyped) {
    const auto& t = objects::table("warthog");
    // Empty: file names begin with what followed the name, own tag paths hold
    // two backslashes in a row.
    EXPECT_EQ(duplication::xml_rel_path(t.files[17], ""), ".mod2.xml");
    EXPECT_EQ(duplication::xml_rel_path(t.files[12], ""), " gun.weap.xml");
    EXPECT_TRUE(bytes("warthog", 18, "").starts_with(crlf({head(tri("2dom", 8), "vehicles\\\\")})));
    EXPECT_TRUE(bytes("warthog", 6, "").starts_with(
        crlf({head(kVehi, "vehicles\\\\mp_"), dep("0x34", tri("2dom", 8), "vehicles\\\\")})));
    EXPECT_EQ(bytes("warthog", 35, ""), crlf({head(kBitm, "vehicles\\\\bitmaps\\"), refl("0x58", "0x6C", "1"),
                                              refl("0x64", "0xAC", "1"),
                                              dep("0xCC", kBitm, "vehicles\\\\bitmaps\\", "LoneID"), kEnd}));
    // No trimming, no escaping.
    EXPECT_NE(bytes("warthog", 64, " a&b<").find("<Filename>vehicles\\ a&b<\\ a&b< gun casing par</Filename>"),
              std::string::npos);
}

}  // namespace
