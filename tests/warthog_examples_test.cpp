// Warthog files known byte for byte: whole files, and the beginnings and ends
// of the long ones.

#include <gtest/gtest.h>

#include <array>
#include <set>

#include "tests/msf_lines.h"

namespace {

using namespace msf_lines;

const std::string kVehi = "ihevtinuejbo", kWeap = "paewmetiejbo", kProj = tri("jorpejbo", 4);
const std::string kLigh = tri("hgil", 8), kLens = tri("snel", 8), kTrak = tri("kart", 8), kUnhi = tri("ihnu", 8);
const std::string kSoso = tri("ososrdhs", 4), kSchi = tri("ihcsrdhs", 4), kSgla = tri("algsrdhs", 4);
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

TEST(WarthogExamples, GunLightsAndEmptyTags) {
    EXPECT_EQ(bytes("warthog", 13, "hog"),
              crlf({head(kWeap, kHog + "hog gun"), refl("0x144", "0x508", "1"), refl("0x15C", "0x550", "2"),
                    dep("0x3C8", tri("vtca", 8), kHog + "hog gunner"), dep("0x48C", tri("ihpw", 8), kHog + "hog gun"),
                    refl("0x4F4", "0x820", "1"), refl("0x500", "0x890", "1"),
                    dep("0x514", kLigh, "weapons\\assault rifle\\muzzle flash"), dep("0x930", kProj, kHog + "bullet"),
                    refl("0x99C", "0x9A4", "1"), dep("0x9D4", kEffe, kHog + "effects\\hog gun fire"),
                    dep("0xA04", tri("!tpj", 8), kHog + "trigger"), kEnd}));
    EXPECT_EQ(bytes("warthog", 3, "hog"), crlf({head(kLigh, kHog + "headlights light"),
                                                dep("0x70", kBitm, kHog + "bitmaps\\headlights gel hog"), kEnd}));
    EXPECT_EQ(bytes("warthog", 7, "hog", "Sidewinder"),
              crlf({head(kLens, kHog + "tailights", "Sidewinder"),
                    dep("0x2C", kBitm, kHog + "bitmaps\\headlight flares"), refl("0xC8", "0xF0", "1"), kEnd}));
    EXPECT_EQ(bytes("warthog", 8, "hog"),
              crlf({head(kLigh, kHog + "taillights"), dep("0xB8", kLens, kHog + "tailights"), kEnd}));
    EXPECT_EQ(bytes("warthog", 15, "hog", ""), crlf({head(tri("vtca", 8), kHog + "hog gunner", ""), kEnd}));
    EXPECT_EQ(bytes("warthog", 10, "hog"), crlf({head(kPphy, kHog + "hog antenna steel"), kEnd}));
}

TEST(WarthogExamples, ProjectileBeginsAndEnds) {
    const std::string proj = bytes("warthog", 2, "hog");
    EXPECT_TRUE(proj.starts_with(crlf({head(kProj, kHog + "bullet"), refl("0x144", "0x24C", "1"),
                                       dep("0x230", tri("!tpj", 8), kHog + "bullet"), refl("0x244", "0x294", "33"),
                                       dep("0x258", kCont, "weapons\\assault rifle\\bullet"),
                                       dep("0x2A4", kEffe, kHog + "effects\\impact dirt")})));
    EXPECT_TRUE(proj.ends_with(crlf({dep("0x14C4", kEffe, "weapons\\assault rifle\\effects\\impact grass"),
                                     dep("0x1604", kEffe, "weapons\\assault rifle\\effects\\impact ice"),
                                     dep("0x16A4", kEffe, kHog + "effects\\impact hunter shield"), kEnd})));
    EXPECT_EQ(proj.find("0x1564"), std::string::npos);
}

TEST(WarthogExamples, AnimationCollisionPhysics) {
    const std::string senv = tri("vnesrdhs", 4), flag = "scenery\\flag_base\\shaders\\flag_base";
    const std::string antr = bytes("warthog", 16, "hog");
    EXPECT_TRUE(antr.starts_with(crlf({head(tri("rtna", 8), kHog + "hog"), refl("0x4", "0x80", "1")})));
    EXPECT_NE(antr.find(crlf({dep("0x648", senv, flag, "LoneID"), dep("0x68C", senv, flag, "LoneID"),
                              refl("0x694", "0x1270", "4716"), dep("0x6A0", senv, flag, "LoneID"),
                              refl("0x6A8", "0x1404", "5120")})),
              std::string::npos);
    EXPECT_TRUE(antr.ends_with(crlf({dep("0xAD8", senv, flag, "LoneID"), refl("0xAE0", "0x2020", "8220"), kEnd})));

    const std::string coll = bytes("warthog", 17, "hog");
    EXPECT_TRUE(coll.starts_with(crlf({head(tri("lloc", 8), kHog + "hog"), refl("0x238", "0x298", "3")})));
    EXPECT_TRUE(coll.ends_with(crlf({refl("0x63A0", "0x6FC0", "18"), refl("0x63AC", "0x7098", "40"), kEnd})));

    EXPECT_EQ(bytes("warthog", 19, "hog"), crlf({head(tri("syhp", 8), kHog + "hog"), refl("0x60", "0x80", "2"),
                                                 refl("0x6C", "0xC8", "2"), refl("0x78", "0x1C8", "15"), kEnd}));
}

TEST(WarthogExamples, ModelShadersAndAssets) {
    const std::string model = bytes("warthog", 18, "hog");
    EXPECT_TRUE(model.starts_with(crlf({head(tri("2dom", 8), kHog + "hog"), refl("0xB0", "0xE8", "22")})));
    EXPECT_NE(model.find(crlf({refl("0x1AF4", "0x3440", "2"), dep("0x3554", kSoso, kHog + "shaders\\hog tires")})),
              std::string::npos);
    EXPECT_NE(model.find(crlf({dep("0x36D4", kSchi, kHog + "shaders\\chain gun belt ammo"),
                               dep("0x36F4", kSchi, kHog + "shaders\\hog chain gun_blur"),
                               {"<!--Attached Binary File Structure-->", "<Asset>", "<Type>VertexBlock</Type>",
                                "<Filename>hog.mod2.vertices</Filename>", "<Correction>", "<Location>0x1B60</Location>",
                                "<Translation>0xA92FC</Translation>", "</Correction>"}})),
              std::string::npos);
    EXPECT_NE(model.find(crlf({{"<Location>0x3528</Location>", "<Translation>0x0</Translation>", "</Correction>",
                                "</Asset>", "<Asset>", "<Type>IndexBlock</Type>", "<Filename>hog.mod2.indices</Filename>",
                                "<Correction>", "<Location>0x1B48</Location>", "<Translation>0x7A30</Translation>",
                                "</Correction>", "<Correction>", "<Location>0x1B4C</Location>",
                                "<Translation>0x7A30</Translation>"}})),
              std::string::npos);
    EXPECT_TRUE(model.ends_with(crlf({{"<Location>0x3510</Location>", "<Translation>0x0</Translation>",
                                       "</Correction>", "<Correction>", "<Location>0x3514</Location>",
                                       "<Translation>0x0</Translation>", "</Correction>", "</Asset>"},
                                      kEnd})));
}

TEST(WarthogExamples, Bitmaps) {
    const std::string own = kHog + "bitmaps\\hog";
    EXPECT_EQ(bytes("warthog", 35, "hog"), crlf({head(kBitm, own), refl("0x58", "0x6C", "1"),
                                                 refl("0x64", "0xAC", "1"), dep("0xCC", kBitm, own, "LoneID"), kEnd}));
    const std::string antenna = kHog + "bitmaps\\antenna";
    EXPECT_EQ(bytes("warthog", 20, "hog"),
              crlf({head(kBitm, antenna), refl("0x58", "0x6C", "2"), refl("0x64", "0x12C", "1"),
                    refl("0xA4", "0xEC", "1"), refl("0xE4", "0x10C", "1"), dep("0x14C", kBitm, antenna, "LoneID"),
                    kEnd}));
    const std::string casings = kHog + "bitmaps\\casings";
    EXPECT_EQ(bytes("warthog", 21, "hog"),
              crlf({head(kBitm, casings), refl("0x58", "0x6C", "4"), refl("0x64", "0x8EC", "2"),
                    refl("0xA4", "0x16C", "15"), refl("0xE4", "0x34C", "15"), refl("0x124", "0x52C", "15"),
                    refl("0x164", "0x70C", "15"), dep("0x90C", kBitm, casings, "LoneID"),
                    dep("0x93C", kBitm, casings, "LoneID"), kEnd}));
    const std::string flares = kHog + "bitmaps\\headlight flares";
    EXPECT_EQ(bytes("warthog", 23, "hog"),
              crlf({head(kBitm, flares), refl("0x58", "0x6C", "5"), refl("0x64", "0x1AC", "5"),
                    deps({{{"0x1CC", kBitm, flares}},
                          {{"0x1FC", kBitm, flares}},
                          {{"0x22C", kBitm, flares}},
                          {{"0x25C", kBitm, flares}},
                          {{"0x28C", kBitm, flares}}},
                         "LoneID"),
                    kEnd}));
}

TEST(WarthogExamples, Effects) {
    const std::string fx = kHog + "effects\\";
    EXPECT_EQ(bytes("warthog", 58, "hog"),
              crlf({head(kEffe, fx + "impact rubber pen"), refl("0x2C", "0x40", "2"), refl("0x38", "0x80", "1"),
                    refl("0xBC", "0xC4", "3"), dep("0x124", kPart, "effects\\particles\\air\\smoke h generic animated"),
                    dep("0x20C", kPart, "effects\\particles\\solid\\rubber impact"),
                    dep("0x2F4", kPart, "effects\\particles\\flash\\flash h ar"), kEnd}));
    EXPECT_EQ(bytes("warthog", 60, "hog"),
              crlf({head(kEffe, fx + "impact sentinel"), refl("0x2C", "0x40", "3"), refl("0x38", "0xA0", "2"),
                    refl("0xDC", "0x128", "5"), refl("0x120", "0x5B0", "1"),
                    dep("0x188", kPart, "effects\\particles\\flash\\sparks impact"),
                    dep("0x270", kPart, "effects\\particles\\air\\smoke impact"),
                    dep("0x358", kPart, "effects\\particles\\flash\\flash h shield impact"),
                    dep("0x440", kPart, "effects\\particles\\lens flare\\flare h stealth cannon"),
                    dep("0x610", kPart, "effects\\particles\\air\\smoke impact"), kEnd}));
    const std::string flash = "effects\\particles\\flash\\flash h generic", smoke = "effects\\particles\\air\\smoke h fp";
    EXPECT_EQ(bytes("warthog", 64, "hog"),
              crlf({head(kEffe, fx + "hog gun fire"), refl("0x2C", "0x40", "2"), refl("0x38", "0x80", "1"),
                    refl("0xB0", "0xC4", "1"), refl("0xBC", "0x12C", "10"),
                    dep("0xE8", kSnd, "sound\\sfx\\weapons\\chaingun\\fire"),
                    deps({{{"0x18C", kPart, flash}},
                          {{"0x274", kPart, smoke}},
                          {{"0x35C", kPart, smoke}},
                          {{"0x444", kPart, kHog + "hog gun casing par"}},
                          {{"0x52C", kPart, smoke}},
                          {{"0x614", kPart, flash}},
                          {{"0x6FC", kPart, flash}},
                          {{"0x7E4", kPart, flash}},
                          {{"0x8CC", kPart, flash}},
                          {{"0x9B4", kPart, flash}}}),
                    kEnd}));
    // Same body, other Filename line.
    const std::string hollow = bytes("warthog", 52, "hog"), thin = bytes("warthog", 55, "hog");
    EXPECT_EQ(hollow.substr(hollow.find("</Filename>")), thin.substr(thin.find("</Filename>")));
    EXPECT_NE(hollow, thin);
}

TEST(WarthogExamples, Shaders) {
    const std::string bm = kHog + "bitmaps\\", sh = kHog + "shaders\\";
    EXPECT_EQ(bytes("warthog", 73, "hog"),
              crlf({head(kSoso, sh + "hog chain gun"), dep("0xB0", kBitm, bm + "hog chaingun"),
                    dep("0xC8", kBitm, bm + "hog chaingun multipurpose"),
                    dep("0xE8", kBitm, "characters\\cyborg\\bitmaps\\detail corroded metal light"),
                    dep("0x170", kBitm, bm + "reflection diffuse metal"), kEnd}));
    EXPECT_EQ(bytes("warthog", 69, "hog"),
              crlf({head(kSchi, sh + "decal velocity"), refl("0x58", "0x6C", "2"), dep("0xE4", kBitm, bm + "hog diplays"),
                    dep("0x1C0", kBitm, bm + "hog diplays"), kEnd}));
    EXPECT_EQ(bytes("warthog", 77, "hog"),
              crlf({head(kSoso, sh + "hog tires"), dep("0xB0", kBitm, bm + "hog tires"),
                    dep("0xC8", kBitm, bm + "hog tires multipurpose"),
                    dep("0x170", kBitm, bm + "reflection diffuse metal"), kEnd}));
    EXPECT_EQ(bytes("warthog", 78, "hog"),
              crlf({head(kSgla, sh + "hog windshield"), dep("0xB8", kBitm, "characters\\elite\\bitmaps\\cubemap dark gray"),
                    dep("0x164", kBitm, bm + "hog reflection mask"), kEnd}));
    EXPECT_EQ(bytes("warthog", 70, "hog"), crlf({head(tri("temsrdhs", 4), sh + "meter engine"),
                                                 dep("0x58", kBitm, bm + "meter speedometer"), kEnd}));
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

TEST(WarthogExamples, NewNameEqualToAStockBitmapNameWritesOnePathTwice) {
    const auto& t = objects::table("warthog");
    std::set<std::string> paths;
    for (const auto& f : t.files) paths.insert(duplication::xml_rel_path(f, "antenna"));
    EXPECT_EQ(paths.size(), t.files.size() - 1);
    // Position 35 comes later and leaves its common body in the shared path.
    EXPECT_EQ(duplication::xml_rel_path(t.files[19], "antenna"), "bitmaps\\antenna.bitm.xml");
    EXPECT_EQ(duplication::xml_rel_path(t.files[34], "antenna"), "bitmaps\\antenna.bitm.xml");
}

}  // namespace
