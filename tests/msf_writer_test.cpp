#include <gtest/gtest.h>

#include "duplication/effe_layout.h"
#include "duplication/msf_writer.h"
#include "duplication/object_table.h"

namespace {

const std::string F = "\xC3\xBF";  // one filler pair

std::string fill(int pairs) {
    std::string s;
    for (int i = 0; i < pairs; ++i) s += F;
    return s;
}

TEST(ClassTriple, ParentsAndFillers) {
    EXPECT_EQ(duplication::class_triple("weap"), "paewmetiejbo");
    EXPECT_EQ(duplication::class_triple("vehi"), "ihevtinuejbo");
    EXPECT_EQ(duplication::class_triple("eqip"), "piqemetiejbo");
    EXPECT_EQ(duplication::class_triple("proj"), "jorpejbo" + fill(4));
    EXPECT_EQ(duplication::class_triple("soso"), "ososrdhs" + fill(4));
    EXPECT_EQ(duplication::class_triple("effe"), "effe" + fill(8));
    EXPECT_EQ(duplication::class_triple("snd!"), "!dns" + fill(8));
    EXPECT_EQ(duplication::class_triple("bitm").size(), 20u);
    EXPECT_FALSE(duplication::is_known_class("obje"));  // parent slot only
    EXPECT_FALSE(duplication::is_known_class("xxxx"));
}

TEST(HexOffset, UpperCaseWithoutLeadingZeros) {
    EXPECT_EQ(duplication::hex_offset(0), "0x0");
    EXPECT_EQ(duplication::hex_offset(0xAC), "0xAC");
    EXPECT_EQ(duplication::hex_offset(0x6930), "0x6930");
    EXPECT_EQ(duplication::hex_offset(0x1E43C), "0x1E43C");
    EXPECT_EQ(duplication::hex_offset(0xFFFFFFFFu), "0xFFFFFFFF");
}

constexpr const char* kTable = R"(tagfolder weapons
stock pistol
xml-confirmation All XML files created successfully
purge .
file 7 mod2 {name}
  dep 0xABC soso weapons\{name}\shaders\p lod
  vertex 0x904 0x6930
  vertex 0xA90 0x0
  index 0x8EC 0x500
  index 0x8F0 0x500
)";

TEST(MsfWriter, AssetSectionNamesTheBareTagName) {
    const duplication::ObjectTable t = duplication::parse_table(kTable);
    duplication::RunText run;
    run.new_name = "a&b";  // inserted as typed
    run.map = "{name}";    // a map is never a place for the new name
    const auto lines = duplication::file_lines(t, t.files[0], run);
    ASSERT_EQ(lines.size(), 7u + 5u + 9u + 4u * 4u);
    EXPECT_EQ(lines[3], "<Map>{name}</Map>");
    EXPECT_EQ(lines[5], "<Filename>weapons\\a&b\\a&b</Filename>");
    EXPECT_EQ(lines[11], "<!--Attached Binary File Structure-->");
    EXPECT_EQ(lines[14], "<Filename>a&b.mod2.vertices</Filename>");
    EXPECT_EQ(lines[21], "<Translation>0x0</Translation>");
    EXPECT_EQ(lines[26], "<Filename>a&b.mod2.indices</Filename>");
    EXPECT_EQ(lines.back(), "</Results>");
}

TEST(EffectLayout, SublistsRunOnAcrossGroups) {
    // Two groups: 2 references + 3 particles, then 6 particles.
    std::vector<duplication::EffectGroup> groups(2);
    groups[0].references.assign(2, {"snd!", "a"});
    groups[0].particles.assign(3, {"part", "b"});
    groups[1].particles.assign(6, {"part", "c"});
    const auto b = duplication::effect_blocks(3, groups);
    ASSERT_EQ(b.size(), 5u + 11u);
    EXPECT_EQ(b[2].location, 0xD0u);
    EXPECT_EQ(b[2].translation, 0x128u);
    EXPECT_EQ(b[3].translation, 0x1F8u);
    EXPECT_EQ(b[4].location, 0x120u);
    EXPECT_EQ(b[4].translation, 0x4B0u);
    EXPECT_EQ(b[5].location, 0x14Cu);
    EXPECT_EQ(b[7].location, 0x258u);
    EXPECT_EQ(b[15].location, 0x998u);
}

TEST(EffectLayout, ChunkNamingNothingKeepsItsRoom) {
    std::vector<duplication::EffectGroup> groups(2);
    groups[0].references.push_back({"", ""});
    groups[1].references.push_back({"snd!", "s"});
    const auto b = duplication::effect_blocks(1, groups);
    ASSERT_EQ(b.size(), 5u);  // head, groups, two sublists, one Dependency
    EXPECT_EQ(b[2].translation, 0xE8u);
    EXPECT_EQ(b[3].translation, 0x150u);
    EXPECT_EQ(b[4].location, 0x174u);
}

TEST(EffectLayout, ParticleChunkNamingNothingKeepsItsRoom) {
    const auto t = duplication::parse_table("effe 1 1 e\n group\n  part a\n  part none\n  part*2 b\n");
    const auto& b = t.files[0].blocks;
    ASSERT_EQ(b.size(), 3u + 3u);  // head, groups, one sublist of four chunks, three Dependencies
    EXPECT_EQ(b[2].count, 4u);
    EXPECT_EQ(b[3].location, 0x104u);
    EXPECT_EQ(b[4].location, 0x2D4u);
    EXPECT_EQ(b[4].tag_class, "part");
    EXPECT_EQ(b[4].path, "b");
}

TEST(EffectLayout, EmptyGroupWritesNoSublist) {
    const auto b = duplication::effect_blocks(1, std::vector<duplication::EffectGroup>(1));
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[1].translation, 0x60u);
}

TEST(TableParser, ExplicitXmlPathNamesOnlyTheWrittenFile) {
    const duplication::ObjectTable t = duplication::parse_table(
        "tagfolder weapons\n"
        "file 14 bitm bitmaps\\{name} mask\n"
        "  xml bitmaps\\{name} mask.bitm.wphi.xml\n"
        "  lone 0xCC bitm weapons\\{name}\\bitmaps\\{name} mask\n"
        "file 15 bitm bitmaps\\plain\n");
    ASSERT_EQ(t.files.size(), 2u);
    EXPECT_EQ(duplication::xml_rel_path(t.files[0], "x y"), "bitmaps\\x y mask.bitm.wphi.xml");
    EXPECT_EQ(duplication::xml_rel_path(t.files[1], "x y"), "bitmaps\\plain.bitm.xml");
    EXPECT_EQ(t.files[0].subfolder(), "bitmaps");
    duplication::RunText run;
    run.new_name = "x y";
    const auto lines = duplication::file_lines(t, t.files[0], run);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[4], "<Tag>mtib" + fill(8) + "</Tag>");
    EXPECT_EQ(lines[5], "<Filename>weapons\\x y\\bitmaps\\x y mask</Filename>");
    EXPECT_EQ(lines[9], "<Filename>weapons\\x y\\bitmaps\\x y mask</Filename>");
}

TEST(TableParser, RejectsMalformedStatements) {
    const std::pair<const char*, int> bad[] = {
        {"file 1 zzzz a\n", 1},                       // unknown class
        {"file 1 bitm a\n  refl 0x10 0x20 1\n  refl 0x10 0x30 1\n", 3},  // out of order
        {"refl 0x10 0x20 1\n", 1},                   // outside a file
        {"file 1 bitm a\n  refl 16 0x20 1\n", 2},     // decimal offset
        {"file 1 bitm a\n  vertex 0x4 0x0\n", 2},      // assets outside mod2
        {"effe 2 1 e\n  part x\n", 2},                // chunk before group
        {"rename a -> b\n", 1},
        {"file 1 bitm a\n  dep 0x4 bitm\n", 2},       // missing path
        {"file 1 bitm a\n  xml a.bitm\n", 2},         // written file not .xml
        {"file 1 bitm a\n  xml a.xml\n  xml b.xml\n", 3},  // two written files
        {"xml a.xml\n", 1},                          // outside a file
    };
    for (const auto& [text, line] : bad) {
        try {
            duplication::parse_table(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const duplication::TableError& e) {
            EXPECT_EQ(e.line, line) << text << e.what();
        }
    }
}

}  // namespace
