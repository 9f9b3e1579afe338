// The plasma rifle's object table checked against independently typed facts:
// per-file paths, block counts and line counts, the effects' head lists and
// chunks, the stated totals and arrangements, the purge and rename lists, and
// the whole files that are known byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "duplication/msf_writer.h"
#include "duplication/object_table.h"
#include "objects/objects.h"

namespace {

using duplication::Block;
using duplication::BlockKind;
using duplication::FileEntry;
using duplication::ObjectTable;

const ObjectTable& rifle() { return objects::table("plasma_rifle"); }

std::string fill(int pairs) {
    std::string s;
    for (int i = 0; i < pairs; ++i) s += "\xC3\xBF";
    return s;
}

duplication::RunText run(const std::string& name, const std::string& map = "Blood Gulch") {
    duplication::RunText r;
    r.map = map;
    r.new_name = name;
    return r;
}

std::string subst(std::string s, const std::string& name) {
    for (std::size_t p; (p = s.find("{name}")) != std::string::npos;) s.replace(p, 6, name);
    return s;
}

int count(const FileEntry& f, BlockKind k) {
    return static_cast<int>(std::count_if(f.blocks.begin(), f.blocks.end(),
                                          [k](const Block& b) { return b.kind == k; }));
}

const FileEntry& file_no(int n) {
    for (const auto& f : rifle().files)
        if (f.number == n) return f;
    throw std::runtime_error("no file " + std::to_string(n));
}

std::vector<const Block*> deps(const FileEntry& f) {
    std::vector<const Block*> out;
    for (const auto& b : f.blocks)
        if (b.kind == BlockKind::Dependency) out.push_back(&b);
    return out;
}

std::vector<std::string> split(const std::string& s, const std::string& sep) {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t p; (p = s.find(sep, at)) != std::string::npos; at = p + sep.size())
        out.push_back(s.substr(at, p - at));
    out.push_back(s.substr(at));
    return out;
}

bool starts(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// ---------------------------------------------------------------------------
// Files outside the effects folder: path, class, Dependency / LoneID /
// Reflexive counts, VertexBlock / IndexBlock Corrections, lines.

struct Expect {
    int no;
    const char* path;
    const char* cls;
    int dep, lone, refl, vtx, idx, lines;
};

const Expect kFiles[] = {
    {1, "bolt.jpt!.xml", "jpt!", 0, 0, 0, 0, 0, 7},
    {2, "bolt.lens.xml", "lens", 1, 0, 1, 0, 0, 17},
    {3, "bolt.ligh.xml", "ligh", 1, 0, 0, 0, 0, 12},
    {4, "bolt.mgs2.xml", "mgs2", 0, 0, 1, 0, 0, 12},
    {5, "bolt.proj.xml", "proj", 38, 0, 4, 0, 0, 217},
    {6, "charged bolt.jpt!.xml", "jpt!", 0, 0, 0, 0, 0, 7},
    {7, "charged bolt.lens.xml", "lens", 1, 0, 1, 0, 0, 17},
    {8, "charged bolt.ligh.xml", "ligh", 1, 0, 0, 0, 0, 12},
    {9, "charged bolt.mgs2.xml", "mgs2", 0, 0, 1, 0, 0, 12},
    {10, "charged bolt.proj.xml", "proj", 40, 0, 4, 0, 0, 227},
    {11, "melee.jpt!.xml", "jpt!", 1, 0, 0, 0, 0, 12},
    {12, "melee_response.jpt!.xml", "jpt!", 0, 0, 0, 0, 0, 7},
    {13, "misfire.jpt!.xml", "jpt!", 0, 0, 0, 0, 0, 7},
    {14, "muzzle flash.ligh.xml", "ligh", 0, 0, 0, 0, 0, 7},
    {15, "overcharge.lens.xml", "lens", 1, 0, 1, 0, 0, 17},
    {16, "overcharge.ligh.xml", "ligh", 1, 0, 0, 0, 0, 12},
    {17, "plasma charged bolt.cont.xml", "cont", 1, 0, 1, 0, 0, 17},
    {18, "{name} charge.part.xml", "part", 2, 0, 0, 0, 0, 17},
    {19, "{name} flare.ligh.xml", "ligh", 1, 0, 0, 0, 0, 12},
    {20, "{name} lens flare.lens.xml", "lens", 1, 0, 1, 0, 0, 17},
    {21, "{name}.coll.xml", "coll", 0, 0, 13, 0, 0, 72},
    {22, "{name}.mod2.xml", "mod2", 6, 0, 19, 9, 18, 249},
    {23, "{name}.weap.xml", "weap", 22, 17, 8, 0, 0, 242},
    {24, "{name}.wphi.xml", "wphi", 3, 0, 3, 0, 0, 37},
    {25, "plasma.cont.xml", "cont", 2, 0, 1, 0, 0, 22},
    {26, "trigger.jpt!.xml", "jpt!", 0, 0, 0, 0, 0, 7},
    {27, "bitmaps\\cubemap {name}.bitm.xml", "bitm", 0, 1, 2, 0, 0, 22},
    {28, "bitmaps\\{name} contrail.bitm.xml", "bitm", 0, 1, 2, 0, 0, 22},
    {30, "bitmaps\\{name}_card.bitm.xml", "bitm", 0, 1, 2, 0, 0, 22},
    {81, "fp\\fp.antr.xml", "antr", 5, 0, 33, 0, 0, 197},
    {82, "fp\\fp.mod2.xml", "mod2", 5, 0, 16, 5, 10, 181},
    {83, "fp\\bitmaps\\heat gauge.bitm.xml", "bitm", 0, 1, 2, 0, 0, 22},
    {84, "fp\\bitmaps\\{name} multipurpose.bitm.xml", "bitm", 0, 1, 2, 0, 0, 22},
    {85, "fp\\bitmaps\\{name}_fp.bitm.xml", "bitm", 0, 1, 2, 0, 0, 22},
    {86, "fp\\shaders\\amber.soso.xml", "soso", 3, 0, 0, 0, 0, 22},
    {87, "fp\\shaders\\dull.soso.xml", "soso", 3, 0, 0, 0, 0, 22},
    {88, "fp\\shaders\\gauge.smet.xml", "smet", 1, 0, 0, 0, 0, 12},
    {89, "fp\\shaders\\gun.soso.xml", "soso", 3, 0, 0, 0, 0, 22},
    {90, "fp\\shaders\\luminous.soso.xml", "soso", 2, 0, 0, 0, 0, 17},
    {91, "shaders\\pr lod.soso.xml", "soso", 3, 0, 0, 0, 0, 22},
    {92, "bitmaps\\{name}_card multipurpose.bitm.xml", "bitm", 0, 1, 2, 0, 0, 22},
};

// The effects folder: tag name, class, H, groups (reference + particle
// chunks per group), Dependencies, Reflexives and the file naming it
// (0: none).
struct EffeExpect {
    int no;
    const char* name;
    const char* cls;
    std::uint32_t h;
    std::vector<std::pair<int, int>> groups;
    int dep, refl, named_by;
};

const std::vector<EffeExpect>& effects() {
    static const std::vector<EffeExpect> e = {
        {31, "charged bolt explosion", "pctl", 0, {}, 7, 5, 48},
        {32, "charged bolt fire", "effe", 1, {{1, 0}}, 1, 3, 0},
        {33, "charged bolt impact dirt", "effe", 5, {{4, 7}, {0, 2}}, 13, 5, 10},
        {34, "charged bolt impact elite", "effe", 5, {{4, 7}, {0, 2}}, 13, 5, 10},
        {35, "charged bolt impact engineer", "effe", 3, {{3, 5}, {0, 2}}, 10, 5, 10},
        {36, "charged bolt impact flood", "effe", 3, {{3, 4}, {0, 2}}, 9, 5, 10},
        {37, "charged bolt impact grunt", "effe", 4, {{4, 5}, {0, 2}}, 11, 5, 10},
        {38, "charged bolt impact human armor", "effe", 4, {{4, 5}, {0, 2}}, 11, 5, 10},
        {39, "charged bolt impact hunter", "effe", 4, {{4, 4}, {0, 2}}, 10, 5, 10},
        {40, "charged bolt impact leaves", "effe", 3, {{2, 4}, {0, 2}}, 8, 5, 10},
        {41, "charged bolt impact metal", "effe", 3, {{3, 5}, {0, 2}}, 10, 5, 10},
        {42, "charged bolt impact rubber", "effe", 2, {{3, 5}, {0, 1}}, 9, 5, 10},
        {43, "charged bolt impact sand", "effe", 3, {{3, 5}, {0, 2}}, 10, 5, 10},
        {44, "charged bolt impact snow", "effe", 3, {{3, 4}, {0, 2}}, 9, 5, 10},
        {45, "charged bolt impact stone", "effe", 3, {{3, 5}, {0, 2}}, 10, 5, 10},
        {46, "charged bolt impact wood", "effe", 3, {{3, 5}, {0, 2}}, 10, 5, 10},
        {47, "charged bolt sparks", "effe", 1, {{0, 13}, {0, 11}}, 24, 4, 10},
        {48, "detonate", "effe", 1, {{1, 0}}, 1, 3, 10},
        {49, "impact armored skin", "effe", 3, {{4, 3}, {0, 5}}, 12, 5, 5},
        {50, "impact c shield", "effe", 1, {{1, 14}, {0, 11}, {0, 11}}, 37, 6, 5},
        {51, "impact cyborg armor", "effe", 3, {{4, 4}, {0, 1}}, 9, 5, 5},
        {52, "impact cyborg shield", "effe", 1, {{1, 14}, {0, 11}}, 26, 5, 5},
        {53, "impact dirt", "effe", 1, {{2, 4}, {0, 2}}, 8, 5, 5},
        {54, "impact elite armored skin", "effe", 3, {{4, 3}, {0, 7}}, 14, 5, 5},
        {55, "impact engineer force field", "effe", 1, {{0, 11}}, 11, 3, 5},
        {56, "impact engineer sack", "effe", 4, {{2, 3}, {0, 4}}, 9, 5, 5},
        {57, "impact floodcarrier", "effe", 2, {{1, 1}, {0, 4}, {0, 1}}, 7, 6, 5},
        {58, "impact floodcombat elite", "effe", 2, {{0, 5}, {0, 2}}, 7, 4, 5},
        {59, "impact glass", "effe", 2, {{2, 3}, {0, 1}}, 6, 5, 5},
        {60, "impact grass", "effe", 2, {{1, 2}}, 3, 4, 5},
        {61, "impact grunt", "effe", 4, {{4, 3}, {0, 2}}, 9, 5, 5},
        {62, "impact h skin", "effe", 3, {{4, 3}, {0, 5}, {0, 2}}, 14, 6, 5},
        {63, "impact hunter shield", "effe", 2, {{2, 4}, {0, 1}}, 7, 5, 5},
        {64, "impact hunter skin", "effe", 3, {{4, 2}, {0, 4}, {0, 1}}, 11, 6, 5},
        {65, "impact ice", "effe", 1, {{3, 3}, {0, 2}}, 8, 5, 5},
        {66, "impact metal hunter", "effe", 1, {{1, 4}}, 5, 4, 5},
        {67, "impact metal reflect", "effe", 2, {{2, 4}, {0, 1}}, 7, 5, 5},
        {68, "impact monitor", "effe", 2, {{0, 3}, {0, 1}}, 4, 4, 5},
        {69, "impact plastic", "effe", 2, {{1, 3}, {0, 1}}, 5, 5, 5},
        {70, "impact rubber pen", "effe", 2, {{1, 2}}, 3, 4, 5},
        {71, "impact sand", "effe", 2, {{2, 2}}, 4, 4, 5},
        {72, "impact sentinel", "effe", 3, {{1, 3}, {0, 2}}, 6, 5, 5},
        {73, "impact snow", "effe", 3, {{2, 3}}, 5, 4, 5},
        {74, "impact stone", "effe", 2, {{2, 4}, {0, 2}}, 8, 5, 5},
        {75, "impact water pen", "effe", 1, {{0, 3}}, 3, 3, 5},
        {76, "impact wood", "effe", 2, {{2, 4}, {0, 1}}, 7, 5, 5},
        {77, "misfire", "effe", 1, {{1, 3}}, 4, 4, 23},
        {78, "overheated", "effe", 1, {{1, 3}}, 3, 4, 23},
        {79, "{name} lower fire", "effe", 1, {{1, 7}, {0, 1}, {1, 7}}, 17, 7, 23},
        {80, "{name} upper fire", "effe", 1, {{1, 7}, {0, 1}, {1, 7}}, 17, 7, 23},
    };
    return e;
}

TEST(PlasmaRifleTable, HeaderWordsAndTexts) {
    const auto& t = rifle();
    EXPECT_EQ(t.kind, "plasma rifle");
    EXPECT_EQ(t.caption, "Form2");
    EXPECT_EQ(t.tag_folder, "weapons");
    EXPECT_EQ(t.stock_name, "plasma rifle");
    EXPECT_EQ(t.xml_confirmation, "All XML files created successfully");
    EXPECT_FALSE(t.interim_notice);
    EXPECT_TRUE(t.unload_on_error);
    EXPECT_EQ(t.success_text(), "The plasma rifle has successfully been duplicated to");
    EXPECT_EQ(t.success_message("ion lance"),
              "The plasma rifle has successfully been duplicated to \"ion lance\"");
}

TEST(PlasmaRifleTable, PurgeListIsTheWrittenFolders) {
    const std::vector<std::string> expected = {".",          "bitmaps",     "effects", "fp",
                                               "fp\\bitmaps", "fp\\shaders", "shaders"};
    EXPECT_EQ(rifle().purge, expected);
    std::map<std::string, int> per_folder;
    for (const auto& f : rifle().files) ++per_folder[f.subfolder().empty() ? "." : f.subfolder()];
    EXPECT_EQ(per_folder, (std::map<std::string, int>{{".", 26},
                                                      {"bitmaps", 4},
                                                      {"effects", 50},
                                                      {"fp", 2},
                                                      {"fp\\bitmaps", 3},
                                                      {"fp\\shaders", 5},
                                                      {"shaders", 1}}));
}

TEST(PlasmaRifleTable, RenameListInOrder) {
    const std::pair<const char*, const char*> expected[] = {
        {"plasma rifle charge.part.meta", "{name} charge.part.meta"},
        {"plasma rifle flare.ligh.meta", "{name} flare.ligh.meta"},
        {"plasma rifle lens flare.lens.meta", "{name} lens flare.lens.meta"},
        {"plasma rifle.coll.meta", "{name}.coll.meta"},
        {"plasma rifle.mod2.meta", "{name}.mod2.meta"},
        {"plasma rifle.weap.meta", "{name}.weap.meta"},
        {"plasma rifle.wphi.meta", "{name}.wphi.meta"},
        {"bitmaps\\plasma rifle contrail.bitm.meta", "bitmaps\\{name} contrail.bitm.meta"},
        {"bitmaps\\plasma rifle_card multipurpose.bitm.meta", "bitmaps\\{name}_card multipurpose.bitm.meta"},
        {"bitmaps\\plasma rifle_card.bitm.meta", "bitmaps\\{name}_card.bitm.meta"},
        {"effects\\plasma rifle lower fire.effe.meta", "effects\\{name} lower fire.effe.meta"},
        {"effects\\plasma rifle upper fire.effe.meta", "effects\\{name} upper fire.effe.meta"},
        {"fp\\bitmaps\\plasma rifle multipurpose.bitm.meta", "fp\\bitmaps\\{name} multipurpose.bitm.meta"},
        {"fp\\bitmaps\\plasma rifle_fp.bitm.meta", "fp\\bitmaps\\{name}_fp.bitm.meta"},
        {"bitmaps\\cubemap plasma rifle.bitm.meta", "bitmaps\\cubemap {name}.bitm.meta"},
    };
    const auto& r = rifle().renames;
    ASSERT_EQ(r.size(), std::size(expected));
    for (std::size_t i = 0; i < r.size(); ++i) {
        EXPECT_EQ(r[i].from, expected[i].first) << i;
        EXPECT_EQ(r[i].to, expected[i].second) << i;
        // The new name takes the place of the stock name, nothing else changes.
        EXPECT_EQ(subst(r[i].to, "plasma rifle"), r[i].from) << i;
    }
    // Exactly the files whose names carry the new name: 18 to 24, 27, 28, 30,
    // 79, 80, 84, 85 and 92.
    std::set<std::string> renamed, named;
    for (const auto& x : r) renamed.insert(subst(x.to, "ion lance"));
    std::set<int> numbers;
    for (const auto& f : rifle().files) {
        const std::string p = duplication::xml_rel_path(f, "ion lance");
        if (p == duplication::xml_rel_path(f, "other")) continue;
        named.insert(p.substr(0, p.size() - 4) + ".meta");
        numbers.insert(f.number);
    }
    EXPECT_EQ(renamed, named);
    EXPECT_EQ(numbers, (std::set<int>{18, 19, 20, 21, 22, 23, 24, 27, 28, 30, 79, 80, 84, 85, 92}));
}

TEST(PlasmaRifleTable, WritingOrderAndFileNumbers) {
    std::vector<int> expected;
    for (int n = 1; n <= 92; ++n)
        if (n != 29) expected.push_back(n);
    std::vector<int> actual;
    for (const auto& f : rifle().files) actual.push_back(f.number);
    EXPECT_EQ(actual, expected);
}

void check_paths(const FileEntry& f, const std::string& rel_xml, int lines_expected) {
    for (const std::string name : {"ion lance", "pr2"}) {
        const std::string rel = subst(rel_xml, name);
        EXPECT_EQ(duplication::xml_rel_path(f, name), rel);
        const auto lines = duplication::file_lines(rifle(), f, run(name));
        EXPECT_EQ(static_cast<int>(lines.size()), lines_expected);
        ASSERT_GE(lines.size(), 7u);
        // Filename: weapons\<name>\ + path less ".<class>.xml".
        const std::string tag = rel.substr(0, rel.size() - f.tag_class.size() - 5);
        EXPECT_EQ(lines[5], "<Filename>weapons\\" + name + "\\" + tag + "</Filename>");
        EXPECT_EQ(lines[4], "<Tag>" + duplication::class_triple(f.tag_class) + "</Tag>");
        EXPECT_EQ(lines[3], "<Map>Blood Gulch</Map>");
        EXPECT_EQ(lines.back(), "</Results>");
    }
}

TEST(PlasmaRifleTable, FilesOutsideEffects) {
    for (const auto& e : kFiles) {
        SCOPED_TRACE("file " + std::to_string(e.no));
        const FileEntry& f = file_no(e.no);
        EXPECT_EQ(f.tag_class, e.cls);
        EXPECT_EQ(count(f, BlockKind::Dependency), e.dep);
        EXPECT_EQ(count(f, BlockKind::LoneID), e.lone);
        EXPECT_EQ(count(f, BlockKind::Reflexive), e.refl);
        EXPECT_EQ(static_cast<int>(f.vertex_corrections.size()), e.vtx);
        EXPECT_EQ(static_cast<int>(f.index_corrections.size()), e.idx);
        check_paths(f, e.path, e.lines);
    }
}

TEST(PlasmaRifleTable, EffectsFolder) {
    ASSERT_EQ(effects().size(), 50u);
    for (const auto& e : effects()) {
        SCOPED_TRACE("file " + std::to_string(e.no));
        const FileEntry& f = file_no(e.no);
        EXPECT_EQ(f.tag_class, e.cls);
        EXPECT_EQ(count(f, BlockKind::Dependency), e.dep);
        EXPECT_EQ(count(f, BlockKind::Reflexive), e.refl);
        EXPECT_EQ(count(f, BlockKind::LoneID), 0);
        check_paths(f, std::string("effects\\") + e.name + "." + e.cls + ".xml", 7 + 5 * (e.dep + e.refl));
        if (e.groups.empty()) continue;
        // Head list, group list and the sublists of the effect layout.
        std::map<std::uint32_t, const Block*> refl_at;
        for (const auto& b : f.blocks)
            if (b.kind == BlockKind::Reflexive) refl_at[b.location] = &b;
        ASSERT_TRUE(refl_at.count(0x2C) && refl_at.count(0x38));
        EXPECT_EQ(refl_at[0x2C]->count, e.h);
        EXPECT_EQ(refl_at[0x2C]->translation, 0x40u);
        EXPECT_EQ(refl_at[0x38]->count, e.groups.size());
        int refs = 0, parts = 0;
        for (std::size_t k = 0; k < e.groups.size(); ++k) {
            const std::uint32_t start = 0x40 + 32 * e.h + 68 * static_cast<std::uint32_t>(k);
            const auto sub = [&](std::uint32_t at) {
                auto it = refl_at.find(at);
                return it == refl_at.end() ? 0 : static_cast<int>(it->second->count);
            };
            EXPECT_EQ(sub(start + 0x30), e.groups[k].first) << "group " << k;
            EXPECT_EQ(sub(start + 0x3C), e.groups[k].second) << "group " << k;
            refs += e.groups[k].first;
            parts += e.groups[k].second;
        }
        int part_deps = 0;
        for (const auto* b : deps(f)) part_deps += b->tag_class == "part";
        EXPECT_EQ(part_deps, parts);
        // Every reference chunk names a tag, but for "overheated".
        EXPECT_EQ(e.dep, refs + parts - (e.no == 78 ? 1 : 0));
    }
}

TEST(PlasmaRifleTable, EffectsNamedBy) {
    // Which files name each effect.
    std::map<std::string, std::set<int>> named_by;
    for (const auto& f : rifle().files)
        for (const auto* b : deps(f)) named_by[b->path].insert(f.number);
    for (const auto& e : effects()) {
        const std::set<int> by = named_by["weapons\\{name}\\effects\\" + std::string(e.name)];
        EXPECT_EQ(by, e.named_by == 0 ? std::set<int>{} : std::set<int>{e.named_by}) << e.name;
    }
}

TEST(PlasmaRifleTable, StatedTotals) {
    int dep = 0, refl = 0, lines = 0, own = 0;
    std::map<std::string, int> classes;
    std::set<std::string> outside;
    for (const auto& f : rifle().files) {
        if (f.subfolder() != "effects") continue;
        dep += count(f, BlockKind::Dependency);
        refl += count(f, BlockKind::Reflexive);
        lines += static_cast<int>(duplication::file_lines(rifle(), f, run("x")).size());
        for (const auto* b : deps(f)) {
            ++classes[b->tag_class];
            if (starts(b->path, "weapons\\{name}\\")) ++own;
            else outside.insert(b->path);
        }
    }
    EXPECT_EQ(dep, 472);
    EXPECT_EQ(refl, 240);
    EXPECT_EQ(lines, 3910);
    EXPECT_EQ(own, 1);
    EXPECT_EQ(outside.size(), 76u);
    EXPECT_EQ(classes, (std::map<std::string, int>{
                           {"part", 359}, {"snd!", 55}, {"deca", 50}, {"pphy", 4}, {"bitm", 3}, {"pctl", 1}}));
}

// ---------------------------------------------------------------------------
// Invariants that hold for every file.

TEST(PlasmaRifleTableInvariants, BlocksOrderedAlignedAndClassed) {
    std::set<int> numbers;
    for (const auto& f : rifle().files) {
        SCOPED_TRACE("file " + std::to_string(f.number));
        EXPECT_TRUE(numbers.insert(f.number).second);
        std::uint32_t last = 0;
        for (std::size_t i = 0; i < f.blocks.size(); ++i) {
            const Block& b = f.blocks[i];
            EXPECT_TRUE(i == 0 || b.location > last) << std::hex << b.location;
            EXPECT_EQ(b.location % 4, 0u) << std::hex << b.location;
            last = b.location;
            if (b.kind == BlockKind::Reflexive) {
                EXPECT_GT(b.translation, b.location);
                EXPECT_EQ(b.translation % 4, 0u);
                EXPECT_GE(b.count, 1u);
                EXPECT_LE(b.count, 124140u);
                continue;
            }
            EXPECT_TRUE(duplication::is_known_class(b.tag_class)) << b.tag_class;
            // Outside paths keep the stock words; own ones carry {name}.
            EXPECT_FALSE(starts(b.path, "weapons\\plasma rifle")) << b.path;
            if (b.kind == BlockKind::LoneID) {
                EXPECT_TRUE(b.tag_class == "bitm" || b.tag_class == "snd!" || b.tag_class == "senv");
                if (f.tag_class == "bitm") {
                    EXPECT_EQ(b.path, "weapons\\{name}\\" + f.rel_path);
                }
            }
        }
        if (f.has_assets()) {
            const auto& v = f.vertex_corrections;
            const auto& x = f.index_corrections;
            ASSERT_EQ(x.size(), 2 * v.size());
            ASSERT_FALSE(v.empty());
            EXPECT_EQ(v.back().translation, 0u);
            EXPECT_EQ(x.back().translation, 0u);
            for (std::size_t i = 0; i < v.size(); ++i) {
                EXPECT_EQ(x[2 * i + 1].location, x[2 * i].location + 4);
                EXPECT_EQ(x[2 * i + 1].translation, x[2 * i].translation);
            }
        } else {
            EXPECT_TRUE(f.vertex_corrections.empty() && f.index_corrections.empty());
        }
    }
}

// ---------------------------------------------------------------------------
// Whole files.

std::string head(const std::string& triple, const std::string& filename, const std::string& map = "Blood Gulch") {
    return "<?xml version=\"1.0\"?>\r\n<!--Vavo Dod Ediza: Metadata Structure File-->\r\n"
           "<Results>\r\n<Map>" + map + "</Map>\r\n<Tag>" + triple + "</Tag>\r\n<Filename>" +
           filename + "</Filename>\r\n";
}

std::string refl(const char* loc, const char* tr, const char* n) {
    return std::string("<Reflexive>\r\n<Location>") + loc + "</Location>\r\n<Translation>" + tr +
           "</Translation>\r\n<ChunkCount>" + n + "</ChunkCount>\r\n</Reflexive>\r\n";
}

std::string ref(const char* elem, const char* loc, const std::string& triple, const std::string& path) {
    return std::string("<") + elem + ">\r\n<Location>" + loc + "</Location>\r\n<Tagclass>" + triple +
           "</Tagclass>\r\n<Filename>" + path + "</Filename>\r\n</" + elem + ">\r\n";
}

std::string bytes(int no, const std::string& name, const std::string& map = "Blood Gulch") {
    return duplication::file_bytes(rifle(), file_no(no), run(name, map));
}

const std::string kCont = "tnoc" + fill(8);
const std::string kBitm = "mtib" + fill(8);
const std::string kEffe = "effe" + fill(8);

TEST(PlasmaRifleTableFiles, PlasmaContrail) {
    EXPECT_EQ(bytes(25, "ion lance", "Hang 'Em High"),
              head(kCont, "weapons\\ion lance\\plasma", "Hang 'Em High") +
                  ref("Dependency", "0x3C", kBitm, "weapons\\ion lance\\bitmaps\\ion lance contrail") +
                  refl("0x13C", "0x144", "3") +
                  ref("Dependency", "0x160", "yhpp" + fill(8), "effects\\point physics\\cold smoke cloud") +
                  "</Results>\r\n");
}

TEST(PlasmaRifleTableFiles, ChargedBoltContrailNamesThePlasmaPistol) {
    EXPECT_EQ(bytes(17, "ion lance"),
              head(kCont, "weapons\\ion lance\\plasma charged bolt") +
                  ref("Dependency", "0x3C", kBitm, "weapons\\plasma pistol\\bitmaps\\pistol charged contrail") +
                  refl("0x13C", "0x144", "3") + "</Results>\r\n");
}

TEST(PlasmaRifleTableFiles, DetonateAndChargedBoltFire) {
    const std::string body = refl("0x2C", "0x40", "1") + refl("0x38", "0x60", "1") + refl("0x90", "0xA4", "1");
    EXPECT_EQ(bytes(48, "ion lance"),
              head(kEffe, "weapons\\ion lance\\effects\\detonate") + body +
                  ref("Dependency", "0xC8", "ltcp" + fill(8),
                      "weapons\\ion lance\\effects\\charged bolt explosion") +
                  "</Results>\r\n");
    EXPECT_EQ(bytes(32, "ion lance"),
              head(kEffe, "weapons\\ion lance\\effects\\charged bolt fire") + body +
                  ref("Dependency", "0xC8", "!dns" + fill(8), "sound\\sfx\\weapons\\plasma rifle\\chargefire") +
                  "</Results>\r\n");
}

TEST(PlasmaRifleTableFiles, CubemapUnderANameWithBlanks) {
    EXPECT_EQ(duplication::xml_rel_path(file_no(27), "ion lance"), "bitmaps\\cubemap ion lance.bitm.xml");
    const std::string path = "weapons\\ion lance\\bitmaps\\cubemap ion lance";
    EXPECT_EQ(bytes(27, "ion lance"), head(kBitm, path) + refl("0x58", "0x6C", "1") + refl("0x64", "0xAC", "1") +
                                          ref("LoneID", "0xCC", kBitm, path) + "</Results>\r\n");
    // The stock words stay in outside paths.
    const auto lines = duplication::file_lines(rifle(), file_no(23), run("ion lance"));
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "<Filename>sound\\sfx\\weapons\\plasma rifle\\overheat</Filename>"),
              lines.end());
    EXPECT_EQ(lines[5], "<Filename>weapons\\ion lance\\ion lance</Filename>");
    EXPECT_EQ(duplication::file_lines(rifle(), file_no(92), run("ion lance"))[5],
              "<Filename>weapons\\ion lance\\bitmaps\\ion lance_card multipurpose</Filename>");
}

TEST(PlasmaRifleTableFiles, EveryBitmapHasTheSameThreeBlocks) {
    for (const int no : {27, 28, 30, 83, 84, 85, 92}) {
        const auto& b = file_no(no).blocks;
        ASSERT_EQ(b.size(), 3u) << no;
        EXPECT_EQ(b[0].location, 0x58u);
        EXPECT_EQ(b[0].translation, 0x6Cu);
        EXPECT_EQ(b[0].count, 1u);
        EXPECT_EQ(b[1].location, 0x64u);
        EXPECT_EQ(b[1].translation, 0xACu);
        EXPECT_EQ(b[1].count, 1u);
        EXPECT_EQ(b[2].kind, BlockKind::LoneID);
        EXPECT_EQ(b[2].location, 0xCCu);
    }
}

TEST(PlasmaRifleTableFiles, LensLightAndLightVolumeFiles) {
    const std::map<int, std::string> lens = {
        {2, "effects\\particles\\lens flare\\bitmaps\\flares weapon lens"},
        {7, "effects\\particles\\lens flare\\bitmaps\\flares weapon lens"},
        {15, "effects\\particles\\lens flare\\bitmaps\\soft flares"},
        {20, "effects\\particles\\lens flare\\bitmaps\\soft flares"}};
    for (const auto& [no, path] : lens) {
        const auto& b = file_no(no).blocks;
        ASSERT_EQ(b.size(), 2u) << no;
        EXPECT_EQ(b[0].location, 0x2Cu);
        EXPECT_EQ(b[0].tag_class, "bitm");
        EXPECT_EQ(b[0].path, path);
        EXPECT_EQ(b[1].location, 0xC8u);
        EXPECT_EQ(b[1].translation, 0xF0u);
        EXPECT_EQ(b[1].count, 1u);
    }
    const std::map<int, std::string> ligh = {{3, "bolt"}, {8, "charged bolt"}, {16, "overcharge"},
                                             {19, "{name} lens flare"}};
    for (const auto& [no, target] : ligh) {
        const auto& b = file_no(no).blocks;
        ASSERT_EQ(b.size(), 1u) << no;
        EXPECT_EQ(b[0].location, 0xB8u);
        EXPECT_EQ(b[0].tag_class, "lens");
        EXPECT_EQ(b[0].path, "weapons\\{name}\\" + target);
    }
    for (const int no : {4, 9}) {
        const auto& b = file_no(no).blocks;
        ASSERT_EQ(b.size(), 1u);
        EXPECT_EQ(b[0].location, 0x124u);
        EXPECT_EQ(b[0].translation, 0x14Cu);
        EXPECT_EQ(b[0].count, 1u);
    }
    const auto& melee = file_no(11).blocks;
    ASSERT_EQ(melee.size(), 1u);
    EXPECT_EQ(melee[0].location, 0x120u);
    EXPECT_EQ(melee[0].path, "sound\\sfx\\impulse\\melee\\plasma_impact");
    const auto& charge = file_no(18).blocks;
    ASSERT_EQ(charge.size(), 2u);
    EXPECT_EQ(charge[0].location, 0x10u);
    EXPECT_EQ(charge[0].path, "effects\\particles\\energy\\bitmaps\\charge c energy");
    EXPECT_EQ(charge[1].location, 0x20u);
    EXPECT_EQ(charge[1].path, "effects\\point physics\\cold smoke puff");
}

TEST(PlasmaRifleTableFiles, Shaders) {
    const std::string fp = "weapons\\{name}\\fp\\bitmaps\\";
    const std::map<int, std::vector<std::string>> soso = {
        {86, {fp + "{name}_fp", fp + "{name} multipurpose", "characters\\grunt\\bitmaps\\reflection grunt diffuse"}},
        {87, {fp + "{name}_fp", fp + "{name} multipurpose", "weapons\\assault rifle\\fp\\bitmaps\\diffuse gunmetal"}},
        {89, {fp + "{name}_fp", fp + "{name} multipurpose", "weapons\\{name}\\bitmaps\\cubemap {name}"}},
        {90, {fp + "{name}_fp", fp + "{name} multipurpose"}},
        {91,
         {"weapons\\{name}\\bitmaps\\{name}_card", "weapons\\{name}\\bitmaps\\{name}_card multipurpose",
          "weapons\\{name}\\bitmaps\\cubemap {name}"}},
    };
    const std::uint32_t at[] = {0xB0, 0xC8, 0x170};
    for (const auto& [no, paths] : soso) {
        const auto& b = file_no(no).blocks;
        ASSERT_EQ(b.size(), paths.size()) << no;
        for (std::size_t i = 0; i < b.size(); ++i) {
            EXPECT_EQ(b[i].location, at[i]) << no;
            EXPECT_EQ(b[i].tag_class, "bitm") << no;
            EXPECT_EQ(b[i].path, paths[i]) << no;
        }
    }
    const auto& gauge = file_no(88).blocks;
    ASSERT_EQ(gauge.size(), 1u);
    EXPECT_EQ(gauge[0].location, 0x58u);
    EXPECT_EQ(gauge[0].path, fp + "heat gauge");
    // The first-person model names the five first-person shaders.
    std::multiset<std::string> named;
    for (const auto* b : deps(file_no(82))) named.insert(b->tag_class + " " + b->path);
    const std::string sh = "weapons\\{name}\\fp\\shaders\\";
    EXPECT_EQ(named, (std::multiset<std::string>{"soso " + sh + "amber", "soso " + sh + "dull",
                                                 "smet " + sh + "gauge", "soso " + sh + "gun",
                                                 "soso " + sh + "luminous"}));
}

TEST(PlasmaRifleTableFiles, ModelAssetNames) {
    const auto assets = [](int no) {
        std::vector<std::string> out;
        for (const auto& l : duplication::file_lines(rifle(), file_no(no), run("ion lance")))
            if (l.find(".mod2.") != std::string::npos) out.push_back(l);
        return out;
    };
    EXPECT_EQ(assets(22), (std::vector<std::string>{"<Filename>ion lance.mod2.vertices</Filename>",
                                                    "<Filename>ion lance.mod2.indices</Filename>"}));
    EXPECT_EQ(assets(82), (std::vector<std::string>{"<Filename>fp.mod2.vertices</Filename>",
                                                    "<Filename>fp.mod2.indices</Filename>"}));
}

// ---------------------------------------------------------------------------
// References of the projectiles, the weapon, its HUD and its animations.

TEST(PlasmaRifleTableReferences, ProjectileMaterialChunks) {
    for (const auto& [no, first, own_impact] :
         {std::tuple{5, 0x474u, std::string("weapons\\{name}\\effects\\impact ")},
          std::tuple{10, 0x4F4u, std::string("weapons\\{name}\\effects\\charged bolt impact ")}}) {
        SCOPED_TRACE("file " + std::to_string(no));
        const FileEntry& f = file_no(no);
        std::vector<const Block*> head, chunks;
        const Block* materials = nullptr;
        for (const auto& b : f.blocks) {
            if (b.kind == BlockKind::Reflexive && b.location == 0x244) materials = &b;
            else if (b.kind == BlockKind::Dependency) (materials ? chunks : head).push_back(&b);
        }
        ASSERT_NE(materials, nullptr);
        EXPECT_EQ(materials->count, 33u);
        ASSERT_EQ(chunks.size(), 33u);
        std::set<std::string> impacts;
        for (std::size_t k = 0; k < chunks.size(); ++k) {
            EXPECT_EQ(chunks[k]->location, first + 0xA0u * static_cast<std::uint32_t>(k));
            EXPECT_EQ(chunks[k]->tag_class, "effe");
            if (no == 10 && chunks[k]->location == 0x1674) {
                EXPECT_EQ(chunks[k]->path, "weapons\\rocket launcher\\effects\\impact water");
                continue;
            }
            EXPECT_TRUE(starts(chunks[k]->path, own_impact)) << chunks[k]->path;
            impacts.insert(chunks[k]->path);
        }
        EXPECT_EQ(impacts.size(), no == 5 ? 28u : 14u);
        // The head references, the sound at 0x210 among them.
        std::multiset<std::string> named;
        for (const auto* b : head) named.insert(b->tag_class + " " + b->path);
        const std::string own = "weapons\\{name}\\";
        const std::string self = no == 5 ? "bolt" : "charged bolt";
        std::multiset<std::string> expected = {"snd! sound\\sfx\\impulse\\impacts\\plasrif_projectile",
                                               "jpt! " + own + self, "ligh " + own + self, "mgs2 " + own + self,
                                               no == 5 ? "cont " + own + "plasma" : "cont " + own + "plasma charged bolt"};
        if (no == 10) {
            expected.insert("effe " + own + "effects\\detonate");
            expected.insert("effe " + own + "effects\\charged bolt sparks");
        }
        EXPECT_EQ(named, expected);
        const auto sound = std::find_if(head.begin(), head.end(), [](const Block* b) { return b->tag_class == "snd!"; });
        ASSERT_NE(sound, head.end());
        EXPECT_EQ((*sound)->location, 0x210u);
    }
}

TEST(PlasmaRifleTableReferences, WeaponNamesItsTags) {
    const FileEntry& w = file_no(23);
    const std::string own = "weapons\\{name}\\";
    std::multiset<std::string> named;
    for (const auto* b : deps(w)) named.insert(b->tag_class + " " + b->path);
    EXPECT_EQ(named, (std::multiset<std::string>{
                         "mod2 " + own + "{name}", "coll " + own + "{name}", "wphi " + own + "{name}",
                         "mod2 " + own + "fp\\fp", "antr " + own + "fp\\fp", "proj " + own + "bolt",
                         "jpt! " + own + "melee", "jpt! " + own + "melee_response", "jpt! " + own + "trigger",
                         "jpt! " + own + "trigger", "jpt! " + own + "misfire", "jpt! " + own + "misfire",
                         "ligh " + own + "muzzle flash", "ligh " + own + "{name} flare",
                         "ligh " + own + "{name} flare", "effe " + own + "effects\\overheated",
                         "effe " + own + "effects\\misfire", "effe " + own + "effects\\{name} upper fire",
                         "effe " + own + "effects\\{name} lower fire",
                         "foot sound\\sfx\\impulse\\material_effects\\weapon",
                         "snd! sound\\sfx\\impulse\\weapon_drops\\plasma_impact",
                         "snd! sound\\sfx\\weapons\\plasma rifle\\overheat"}));
    // 17 bitmaps, 0xBB0 to 0xC30, 8 apart.
    std::map<std::string, int> lone;
    std::uint32_t at = 0xBB0;
    for (const auto& b : w.blocks) {
        if (b.kind != BlockKind::LoneID) continue;
        EXPECT_EQ(b.location, at);
        EXPECT_EQ(b.tag_class, "bitm");
        at += 8;
        ++lone[b.path];
    }
    EXPECT_EQ(at, 0xC38u);
    int own_tags = 0, own_twice = 0;
    for (const auto& [path, n] : lone) {
        if (!starts(path, own)) continue;
        ++own_tags;
        own_twice += n == 2;
        EXPECT_LE(n, 2) << path;
    }
    EXPECT_EQ(own_tags, 6);
    EXPECT_EQ(own_twice, 4);
    EXPECT_EQ(lone["weapons\\assault rifle\\fp\\bitmaps\\diffuse gunmetal"], 2);
    EXPECT_EQ(lone["characters\\grunt\\bitmaps\\reflection grunt diffuse"], 2);
    EXPECT_EQ(lone["effects\\particles\\energy\\bitmaps\\smoke c generic"], 2);
    EXPECT_EQ(lone["effects\\particles\\energy\\bitmaps\\smoke white c generic"], 1);
    EXPECT_EQ(lone.size(), 10u);
}

TEST(PlasmaRifleTableReferences, HudAndAnimations) {
    std::vector<std::string> hud;
    for (const auto* b : deps(file_no(24))) hud.push_back(b->tag_class + " " + b->path);
    EXPECT_EQ(hud, (std::vector<std::string>{"wphi ui\\hud\\master plasma",
                                             "bitm ui\\hud\\bitmaps\\combined\\hud_reticles",
                                             "bitm ui\\hud\\bitmaps\\combined\\hud_reticle_warnings"}));
    const FileEntry& a = file_no(81);
    const auto sounds = deps(a);
    ASSERT_EQ(sounds.size(), 5u);
    std::set<std::string> distinct;
    for (const auto* b : sounds) {
        EXPECT_EQ(b->tag_class, "snd!");
        EXPECT_TRUE(starts(b->path, "sound\\sfx\\weapons\\weapon_anims\\")) << b->path;
        distinct.insert(b->path);
    }
    EXPECT_EQ(distinct.size(), 5u);
    EXPECT_EQ(sounds.front()->path, "sound\\sfx\\weapons\\weapon_anims\\plasrifle_overheat");
    EXPECT_EQ(sounds.back()->path, "sound\\sfx\\weapons\\weapon_anims\\plasrifle_melee");
    // The last 28 Reflexives carry Translation + 239 as their ChunkCount.
    std::vector<const Block*> r;
    for (const auto& b : a.blocks)
        if (b.kind == BlockKind::Reflexive) r.push_back(&b);
    ASSERT_EQ(r.size(), 33u);
    bool example = false;
    for (std::size_t i = 5; i < r.size(); ++i) {
        EXPECT_EQ(r[i]->count, r[i]->translation + 239) << i;
        example |= r[i]->translation == 0x1590 && r[i]->count == 5759;
    }
    EXPECT_TRUE(example);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_NE(r[i]->count, r[i]->translation + 239) << i;
}

// ---------------------------------------------------------------------------
// Effects: what the chunks name.

TEST(PlasmaRifleTableEffects, ChargedBoltImpactDirtLayout) {
    std::vector<std::string> blocks;
    for (const auto& b : file_no(33).blocks)
        blocks.push_back(b.kind == BlockKind::Reflexive
                             ? "R " + duplication::hex_offset(b.location) + " " + duplication::hex_offset(b.translation) +
                                   " " + std::to_string(b.count)
                             : "D " + duplication::hex_offset(b.location));
    EXPECT_EQ(blocks, (std::vector<std::string>{
                          "R 0x2C 0x40 5", "R 0x38 0xE0 2", "R 0x110 0x168 4", "R 0x11C 0x308 7",
                          "R 0x160 0x960 2", "D 0x18C", "D 0x1F4", "D 0x25C", "D 0x2C4", "D 0x368", "D 0x450",
                          "D 0x538", "D 0x620", "D 0x708", "D 0x7F0", "D 0x8D8", "D 0x9C0", "D 0xAA8"}));
}

TEST(PlasmaRifleTableEffects, ParticleSystemKeepsItsOwnLayout) {
    const std::string fire = "pphy weapons\\frag grenade\\effects\\fire explosion";
    const std::string cloud = "bitm effects\\particles\\energy\\bitmaps\\cloud c fire";
    std::vector<std::string> blocks;
    for (const auto& b : file_no(31).blocks)
        blocks.push_back(duplication::hex_offset(b.location) + " " +
                         (b.kind == BlockKind::Reflexive
                              ? duplication::hex_offset(b.translation) + " " + std::to_string(b.count)
                              : b.tag_class + " " + b.path));
    EXPECT_EQ(blocks, (std::vector<std::string>{
                          "0x44 " + fire, "0x54 0x68 1", "0x60 0x6C 1", "0xCC 0xEC 3", "0xD8 0xF8 2",
                          "0xE4 0x278 3", "0x2B4 " + cloud, "0x308 " + fire, "0x42C " + cloud, "0x480 " + fire,
                          "0x5A4 " + cloud, "0x5F8 pphy effects\\point physics\\hot smoke cloud"}));
}

// Chunks per file in chunk order: "snd name" / "deca name" for reference
// chunks (folders below), particles as effects\particles\ + name; "*n" for
// n chunks naming one tag.
const std::pair<int, const char*> kChunks[] = {
    {33, "snd plasmahit, deca plasma green burn large, snd sparks_plasma, snd med_dirthits, energy\\smoke white c generic, flash\\flash h shield impact, air\\dirt animated dust, lens flare\\flare h stealth cannon, solid\\dirt burst, solid\\water burst small, solid\\gravel small; energy\\smoke white c generic, energy\\sparks energy trail"},
    {34, "snd plasmahit, deca plasma burn large, deca blood elite splat, snd sparks_plasma, energy\\smoke white c generic, flash\\flash h shield impact, air\\dirt animated dust, lens flare\\flare h stealth cannon, energy\\sparks energy trail, solid\\metal chips, solid\\blood elite burst; energy\\smoke white c generic, energy\\sparks energy trail"},
    {35, "snd plasmahit, deca plasma burn large, snd sparks_plasma, energy\\smoke white c generic, flash\\flash h shield impact, air\\dirt animated dust, lens flare\\flare h stealth cannon, solid\\blood engineer burst; energy\\smoke white c generic*2"},
    {36, "snd plasmahit, deca plasma burn large, snd sparks_plasma, energy\\smoke white c generic, flash\\flash h shield impact, air\\dirt animated dust, lens flare\\flare h stealth cannon; energy\\smoke white c generic, energy\\sparks energy trail"},
    {37, "snd plasmahit, deca plasma burn large, deca blood grunt splat, snd sparks_plasma, solid\\blood engineer trails, solid\\blood generic impact burst, solid\\blood generic impact mist, solid\\blood generic impact mist med, solid\\blood generic impact mist small; energy\\smoke white c generic, energy\\sparks energy trail"},
    {38, "snd plasmahit, deca plasma burn large, deca blood splat, snd sparks_plasma, energy\\smoke white c generic, flash\\flash h shield impact, air\\dirt animated dust, solid\\blood human burst, lens flare\\flare h stealth cannon; energy\\smoke white c generic*2"},
    {39, "snd plasmahit, deca plasma burn large, deca blood hunter glow splat, snd sparks_plasma, energy\\smoke white c generic, flash\\flash h shield impact, air\\dirt animated dust, lens flare\\flare h stealth cannon; energy\\smoke white c generic, energy\\sparks energy trail"},
    {40, "snd plasmahit, snd sparks_plasma, energy\\smoke white c generic, energy\\flash c generic med, flash\\flash h shield impact, solid\\grass impact; energy\\smoke white c generic*2"},
    {41, "snd plasmahit, deca plasma green burn large, snd sparks_plasma, energy\\smoke white c generic, flash\\flash h shield impact, air\\dirt animated dust, solid\\metal chips, lens flare\\flare h stealth cannon; energy\\sparks energy trail, energy\\smoke white c generic"},
    {42, "snd plasmahit, deca plasma burn large, snd sparks_plasma, energy\\smoke white c generic, flash\\flash h shield impact, air\\dirt animated dust, solid\\rubber impact, lens flare\\flare h stealth cannon; energy\\smoke white c generic"},
    {43, "snd plasmahit, deca plasma green burn large, snd sparks_plasma, energy\\smoke white c generic, flash\\flash h shield impact, air\\dirt animated dust, lens flare\\flare h stealth cannon, energy\\sparks energy trail; energy\\smoke white c generic, energy\\sparks energy trail"},
    {44, "snd plasmahit, deca plasma green burn large, snd sparks_plasma, energy\\smoke c generic, flash\\flash h shield impact, air\\dirt animated dust, lens flare\\flare h stealth cannon; energy\\smoke c generic, energy\\sparks energy trail"},
    {45, "snd plasmahit, deca plasma green burn large, snd sparks_plasma, energy\\smoke c generic, flash\\flash h shield impact, air\\dirt animated dust, lens flare\\flare h stealth cannon, solid\\stone bunch; energy\\smoke c generic, energy\\sparks energy trail"},
    {46, "snd plasmahit, deca plasma green burn large, snd sparks_plasma, energy\\smoke c generic, flash\\flash h shield impact, air\\dirt animated dust, lens flare\\flare h stealth cannon, solid\\wood impact; energy\\smoke c generic, energy\\sparks energy trail"},
    {47, "energy\\plasma overcharge spark*13; energy\\plasma overcharge spark*11"},
    {49, "snd plasmahit, deca blood splat, deca blood splat, deca plasma burn, flash\\sparks trail, air\\smoke impact, flash\\flash h shield impact; solid\\blood h impact burst, solid\\metal chips, solid\\blood h impact mist, solid\\blood h impact mist med, solid\\blood h impact mist small"},
    {50, "snd plasmahit, energy\\shield jackal sparks, energy\\flash c generic, energy\\shield jackal sparks*12; energy\\shield jackal sparks*11; energy\\shield jackal bolt*11"},
    {51, "snd plasmahit, deca plasma burn, deca blood splat small, deca blood splat, energy\\flash c generic med, flash\\flash h shield impact, solid\\metal chips, energy\\sparks energy trail; energy\\smoke c generic"},
    {52, "snd plasmahit, energy\\shield jackal sparks, energy\\flash c generic, energy\\shield jackal sparks*12; energy\\shield jackal sparks*11"},
    {53, "snd plasmahit, deca plasma burn, energy\\smoke c generic, energy\\flash c generic med, flash\\flash h shield impact, air\\dirt animated dust; energy\\smoke c generic*2"},
    {54, "snd plasmahit, deca blood elite splat, deca blood elite splat, deca plasma burn, air\\smoke impact, flash\\flash h shield impact, energy\\smoke c generic; solid\\blood elite impact burst, solid\\blood elite impact mist, solid\\blood elite impact mist med, solid\\blood elite impact mist small, solid\\blood engineer trails, air\\smoke h generic still, energy\\smoke c generic"},
    {55, "energy\\shield jackal bolt*11"},
    {56, "deca blood engineer splat, deca blood engineer splat, solid\\blood engineer trails, air\\smoke impact, flash\\flash h shield impact; air\\smoke impact, solid\\snow impact, flash\\flash h generic med, air\\bubbles fizz floodcombat"},
    {57, "snd fleshhit, air\\smoke impact; flash\\flash h shield impact, solid\\blood engineer trails, solid\\blood bits hunter, solid\\blood generic impact burst; air\\smoke h generic still"},
    {58, "air\\smoke impact, flash\\flash h shield impact, solid\\blood bits floodcombat elite, solid\\debris floodcombat scabs, flash\\flash h generic med; air\\smoke h generic animated, flash\\flash h generic med"},
    {59, "deca plasma burn, snd plasmahit, flash\\flash h shield impact, solid\\metal chips, lens flare\\flare h stealth cannon; air\\smoke impact"},
    {60, "deca plasma burn, solid\\grass impact, air\\dirt animated kick"},
    {61, "snd plasmahit, deca blood grunt splat, deca blood grunt splat, deca plasma burn, energy\\smoke c generic, energy\\flash c generic med, flash\\flash h shield impact; energy\\smoke c generic*2"},
    {62, "snd plasmahit, deca blood splat, deca blood splat, deca plasma burn, air\\smoke impact, energy\\smoke c generic, energy\\flash c generic; solid\\blood h impact burst, solid\\blood h impact mist, solid\\blood h impact mist med, solid\\blood h impact mist small, solid\\blood engineer trails; air\\smoke h generic still, energy\\smoke c generic"},
    {63, "snd bullet_ricc, deca plasma burn, energy\\flash c generic med, flash\\flash h shield impact, solid\\metal chips, energy\\sparks energy trail; energy\\smoke c generic"},
    {64, "snd plasmahit, deca blood hunter glow splat, deca blood hunter glow splat, deca plasma burn, air\\smoke impact, solid\\blood bits hunter; flash\\flash h shield impact, solid\\blood engineer trails, solid\\blood generic impact burst, energy\\smoke c generic; air\\smoke h generic still"},
    {65, "snd plasmahit, deca plasma burn, deca impact ice, energy\\smoke c generic, energy\\flash c generic med, flash\\flash h shield impact; energy\\smoke c generic*2"},
    {66, "snd plasmahit, solid\\metal chips, flash\\flash h shield impact, energy\\smoke c generic, solid\\blood engineer trails"},
    {67, "snd plasmahit, deca plasma burn, energy\\flash c generic med, flash\\flash h shield impact, solid\\metal chips, energy\\sparks energy trail; energy\\smoke c generic"},
    {68, "flash\\sparks impact, air\\smoke impact, flash\\flash h shield impact; air\\smoke impact"},
    {69, "deca plasma burn, flash\\flash h shield impact, solid\\metal chips, lens flare\\flare h stealth cannon; air\\smoke impact"},
    {70, "deca plasma burn, air\\smoke h generic animated, solid\\rubber impact"},
    {71, "snd plasmahit, deca plasma burn, air\\sand impact burst, air\\dirt animated dust"},
    {72, "snd plasmahit, energy\\sparks energy trail, energy\\smoke c generic, flash\\flash h shield impact; energy\\smoke c generic, energy\\sparks energy trail"},
    {73, "deca plasma blue snow burn, snd plasmahit, solid\\snow impact, solid\\snow burst, solid\\snow bunch"},
    {74, "deca plasma burn, snd plasmahit, energy\\smoke c generic, energy\\flash c generic med, flash\\flash h shield impact, solid\\gravel small; energy\\smoke c generic*2"},
    {75, "solid\\water ripple, flash\\sparks trail*2"},
    {76, "snd plasmahit, deca plasma burn, flash\\flash h shield impact, solid\\gravel small, solid\\wood impact, lens flare\\flare h stealth cannon; air\\smoke impact"},
    {77, "snd overheat, energy\\smoke c generic, energy\\plasma overheat*2"},
    {78, "energy\\smoke c generic, energy\\plasma overheat*2"},
    {79, "snd fire, energy\\flash c generic, energy\\flash c generic med*3, energy\\smoke c generic, energy\\flash c generic small, energy\\smoke c generic; energy\\tracer c generic; snd fire, energy\\flash c generic, energy\\flash c generic med*3, energy\\smoke c generic, energy\\flash c generic small, energy\\smoke c generic"},
};

std::string full_path(const std::string& item) {
    const std::map<std::string, std::string> sounds = {
        {"plasmahit", "sound\\sfx\\weapons\\plasma rifle\\"}, {"sparks_plasma", "sound\\sfx\\weapons\\plasma rifle\\"},
        {"fire", "sound\\sfx\\weapons\\plasma rifle\\"},      {"overheat", "sound\\sfx\\weapons\\plasma rifle\\"},
        {"med_dirthits", "sound\\sfx\\impulse\\impacts\\"},   {"fleshhit", "sound\\sfx\\impulse\\impacts\\"},
        {"bullet_ricc", "sound\\sfx\\impulse\\impacts\\"}};
    if (starts(item, "snd ")) return "snd! " + sounds.at(item.substr(4)) + item.substr(4);
    if (starts(item, "deca ")) {
        const std::string name = item.substr(5);
        return "deca effects\\decals\\" + std::string(starts(name, "blood") ? "blood splats\\" : "bullet holes\\") + name;
    }
    return "part effects\\particles\\" + item;
}

TEST(PlasmaRifleTableEffects, ChunksInOrder) {
    for (const auto& [no, text] : kChunks) {
        SCOPED_TRACE("file " + std::to_string(no));
        std::vector<std::string> expected;
        for (const auto& group : split(text, "; "))
            for (auto item : split(group, ", ")) {
                int n = 1;
                if (const auto star = item.find('*'); star != std::string::npos) {
                    n = std::stoi(item.substr(star + 1));
                    item.resize(star);
                }
                for (int i = 0; i < n; ++i) expected.push_back(full_path(item));
            }
        std::vector<std::string> actual;
        for (const auto* b : deps(file_no(no))) actual.push_back(b->tag_class + " " + b->path);
        EXPECT_EQ(actual, expected);
    }
}

TEST(PlasmaRifleTableEffects, FireEffectsAndOverheatDifferOnlyWhereStated) {
    auto lower = duplication::file_lines(rifle(), file_no(79), run("ion lance"));
    auto upper = duplication::file_lines(rifle(), file_no(80), run("ion lance"));
    ASSERT_EQ(lower.size(), 127u);
    ASSERT_EQ(upper.size(), 127u);
    EXPECT_EQ(lower[5], "<Filename>weapons\\ion lance\\effects\\ion lance lower fire</Filename>");
    EXPECT_EQ(upper[5], "<Filename>weapons\\ion lance\\effects\\ion lance upper fire</Filename>");
    EXPECT_EQ(duplication::xml_rel_path(file_no(79), "ion lance"), "effects\\ion lance lower fire.effe.xml");
    lower[5] = upper[5];
    EXPECT_EQ(lower, upper);
    // "overheated" keeps the reference sublist of its empty chunk; "misfire"
    // has the sound where that chunk stands.
    const auto& o = file_no(78).blocks;
    const auto& m = file_no(77).blocks;
    ASSERT_EQ(m.size(), o.size() + 1);
    EXPECT_EQ(m[4].location, 0xC8u);
    EXPECT_EQ(m[4].path, "sound\\sfx\\weapons\\plasma rifle\\overheat");
    for (std::size_t i = 0; i < o.size(); ++i) {
        const Block& mb = m[i < 4 ? i : i + 1];
        EXPECT_EQ(o[i].location, mb.location);
        EXPECT_EQ(o[i].translation, mb.translation);
        EXPECT_EQ(o[i].path, mb.path);
    }
    EXPECT_EQ(duplication::file_lines(rifle(), file_no(78), run("x")).size(), 42u);
    EXPECT_EQ(duplication::file_lines(rifle(), file_no(77), run("x")).size(), 47u);
}

TEST(PlasmaRifleTableEffects, OnlyMapAndFilenameVaryButForDetonate) {
    for (const auto& f : rifle().files) {
        if (f.subfolder() != "effects") continue;
        auto a = duplication::file_lines(rifle(), f, run("ion lance", "Blood Gulch"));
        auto b = duplication::file_lines(rifle(), f, run("pr2", "Hang 'Em High"));
        ASSERT_EQ(a.size(), b.size());
        a[3] = b[3];
        a[5] = b[5];
        if (f.number == 48) {
            EXPECT_NE(a[24], b[24]);
            a[24] = b[24];
        }
        EXPECT_EQ(a, b) << f.rel_path;
    }
}

TEST(PlasmaRifleTableEffects, StatedTagUse) {
    std::map<std::string, int> files_with, times;
    std::map<std::string, std::set<std::string>> part_folders;
    int bolt_plasmahit = 0, bolt_burn = 0;
    for (const auto& f : rifle().files) {
        if (f.subfolder() != "effects") continue;
        std::set<std::string> here;
        for (const auto* b : deps(f)) {
            here.insert(b->path);
            ++times[b->path];
            if (b->tag_class == "part") {
                const std::string rest = b->path.substr(std::string("effects\\particles\\").size());
                part_folders[rest.substr(0, rest.find('\\'))].insert(b->path);
            }
        }
        for (const auto& p : here) ++files_with[p];
        if (f.number >= 49 && f.number <= 76) {
            bolt_plasmahit += here.count("sound\\sfx\\weapons\\plasma rifle\\plasmahit") ? 1 : 0;
            bolt_burn += here.count("effects\\decals\\bullet holes\\plasma burn") ? 1 : 0;
        }
    }
    const std::string p = "effects\\particles\\";
    EXPECT_EQ(files_with["sound\\sfx\\weapons\\plasma rifle\\plasmahit"], 32);
    EXPECT_EQ(files_with["sound\\sfx\\weapons\\plasma rifle\\sparks_plasma"], 14);
    EXPECT_EQ(bolt_plasmahit, 18);
    EXPECT_EQ(bolt_burn, 17);
    EXPECT_EQ(files_with[p + "solid\\metal chips"], 9);
    EXPECT_EQ(files_with[p + "solid\\blood engineer trails"], 7);
    EXPECT_EQ(times[p + "energy\\smoke c generic"], 39);
    EXPECT_EQ(files_with[p + "energy\\smoke c generic"], 19);
    EXPECT_EQ(times[p + "energy\\shield jackal sparks"], 48);
    EXPECT_EQ(files_with[p + "air\\dirt animated dust"], 14);
    EXPECT_EQ(files_with[p + "air\\smoke impact"], 11);
    EXPECT_EQ(files_with[p + "flash\\flash h shield impact"], 32);
    EXPECT_EQ(files_with[p + "lens flare\\flare h stealth cannon"], 15);
    std::map<std::string, std::size_t> per_folder;
    for (const auto& [folder, tags] : part_folders) per_folder[folder] = tags.size();
    EXPECT_EQ(per_folder, (std::map<std::string, std::size_t>{
                              {"solid", 31}, {"energy", 11}, {"air", 7}, {"flash", 4}, {"lens flare", 1}}));
}

}  // namespace
