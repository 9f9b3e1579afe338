// The pistol's object table checked against independently typed facts:
// per-file paths, block counts and line counts, the totals, the purge and
// rename lists, and the whole files that are known byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "duplication/msf_writer.h"
#include "duplication/object_table.h"
#include "objects/objects.h"

namespace {

using duplication::Block;
using duplication::BlockKind;
using duplication::FileEntry;
using duplication::ObjectTable;

const std::string F = "\xC3\xBF";  // one filler pair

std::string fill(int pairs) {
    std::string s;
    for (int i = 0; i < pairs; ++i) s += F;
    return s;
}

const ObjectTable& pistol() { return objects::table("pistol"); }

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
    for (const auto& f : pistol().files)
        if (f.number == n) return f;
    throw std::runtime_error("no file " + std::to_string(n));
}

// ---------------------------------------------------------------------------
// Per-file facts: path, class, Dependency / Reflexive / LoneID counts,
// VertexBlock / IndexBlock Corrections, lines.

struct Expect {
    int no;
    const char* path;
    const char* cls;
    int dep, refl, lone, vtx, idx, lines;
};

const Expect kFiles[] = {
    {1, "bullet.jpt!.xml", "jpt!", 0, 0, 0, 0, 0, 7},
    {2, "bullet.proj.xml", "proj", 35, 1, 0, 0, 0, 187},
    {3, "melee.jpt!.xml", "jpt!", 1, 0, 0, 0, 0, 12},
    {4, "melee_response.jpt!.xml", "jpt!", 0, 0, 0, 0, 0, 7},
    {5, "{name}.antr.xml", "antr", 0, 7, 0, 0, 0, 42},
    {6, "{name}.coll.xml", "coll", 0, 13, 0, 0, 0, 72},
    {7, "{name}.mod2.xml", "mod2", 3, 15, 0, 4, 8, 154},
    {8, "{name}.weap.xml", "weap", 21, 8, 12, 0, 0, 212},
    {9, "{name}.wphi.xml", "wphi", 8, 7, 0, 0, 0, 82},
    {10, "trigger.jpt!.xml", "jpt!", 0, 0, 0, 0, 0, 7},
    {11, "bitmaps\\casings.bitm.xml", "bitm", 0, 6, 1, 0, 0, 42},
    {12, "bitmaps\\{name} cubemap.bitm.xml", "bitm", 0, 2, 1, 0, 0, 22},
    {13, "bitmaps\\{name}_card multipurpose.bitm.xml", "bitm", 0, 2, 1, 0, 0, 22},
    {14, "bitmaps\\{name}_card.bitm.xml", "bitm", 0, 2, 1, 0, 0, 22},
    {15, "effects\\empty.effe.xml", "effe", 1, 3, 0, 0, 0, 27},
    {16, "effects\\fire bullet.effe.xml", "effe", 15, 6, 0, 0, 0, 112},
    {17, "effects\\impact armored skin.effe.xml", "effe", 13, 5, 0, 0, 0, 97},
    {18, "effects\\impact cyborg armor.effe.xml", "effe", 10, 5, 0, 0, 0, 82},
    {19, "effects\\impact cyborg shield.effe.xml", "effe", 27, 4, 0, 0, 0, 162},
    {20, "effects\\impact dirt.effe.xml", "effe", 9, 6, 0, 0, 0, 82},
    {21, "effects\\impact elite armored skin.effe.xml", "effe", 12, 5, 0, 0, 0, 92},
    {22, "effects\\impact engineer force field.effe.xml", "effe", 14, 4, 0, 0, 0, 97},
    {23, "effects\\impact engineer sack.effe.xml", "effe", 10, 4, 0, 0, 0, 77},
    {24, "effects\\impact floodcarrier.effe.xml", "effe", 11, 6, 0, 0, 0, 92},
    {25, "effects\\impact floodcombat elite.effe.xml", "effe", 9, 4, 0, 0, 0, 72},
    {26, "effects\\impact grunt.effe.xml", "effe", 16, 6, 0, 0, 0, 117},
    {27, "effects\\impact h skin.effe.xml", "effe", 12, 6, 0, 0, 0, 97},
    {28, "effects\\impact hunter shield.effe.xml", "effe", 10, 5, 0, 0, 0, 82},
    {29, "effects\\impact hunter skin.effe.xml", "effe", 11, 6, 0, 0, 0, 92},
    {30, "effects\\impact ice.effe.xml", "effe", 4, 4, 0, 0, 0, 47},
    {31, "effects\\impact jackal shield.effe.xml", "effe", 6, 5, 0, 0, 0, 62},
    {32, "effects\\impact metal hollow reflect.effe.xml", "effe", 9, 5, 0, 0, 0, 77},
    {33, "effects\\impact metal hunter.effe.xml", "effe", 8, 5, 0, 0, 0, 72},
    {34, "effects\\impact metal thick reflect.effe.xml", "effe", 10, 5, 0, 0, 0, 82},
    {35, "effects\\impact metal thin reflect.effe.xml", "effe", 9, 5, 0, 0, 0, 77},
    {36, "effects\\impact monitor.effe.xml", "effe", 6, 4, 0, 0, 0, 57},
    {37, "effects\\impact plastic.effe.xml", "effe", 5, 4, 0, 0, 0, 52},
    {38, "effects\\impact rubber pen.effe.xml", "effe", 5, 3, 0, 0, 0, 47},
    {39, "effects\\impact sentinel.effe.xml", "effe", 7, 5, 0, 0, 0, 67},
    {40, "effects\\impact snow.effe.xml", "effe", 6, 5, 0, 0, 0, 62},
    {41, "effects\\impact stone.effe.xml", "effe", 10, 6, 0, 0, 0, 87},
    {42, "effects\\impact wood.effe.xml", "effe", 8, 5, 0, 0, 0, 72},
    {43, "effects\\ready.effe.xml", "effe", 0, 2, 0, 0, 0, 17},
    {44, "effects\\reload.effe.xml", "effe", 0, 2, 0, 0, 0, 17},
    {45, "fp\\fp.antr.xml", "antr", 4, 25, 0, 0, 0, 152},
    {46, "fp\\fp.mod2.xml", "mod2", 3, 13, 0, 3, 6, 132},
    {47, "fp\\bitmaps\\bullet.bitm.xml", "bitm", 0, 2, 1, 0, 0, 22},
    {48, "fp\\bitmaps\\{name} multipurpose.bitm.xml", "bitm", 0, 2, 1, 0, 0, 22},
    {49, "fp\\bitmaps\\{name}.bitm.xml", "bitm", 0, 2, 1, 0, 0, 22},
    {50, "fp\\shaders\\black.soso.xml", "soso", 1, 0, 0, 0, 0, 12},
    {51, "fp\\shaders\\bullet.soso.xml", "soso", 1, 0, 0, 0, 0, 12},
    {52, "fp\\shaders\\silver.soso.xml", "soso", 3, 0, 0, 0, 0, 22},
    {53, "shaders\\p lod.soso.xml", "soso", 3, 0, 0, 0, 0, 22},
};

TEST(PistolTable, HeaderWordsAndTexts) {
    const auto& t = pistol();
    EXPECT_EQ(t.kind, "pistol");
    EXPECT_EQ(t.caption, "Pistol");
    EXPECT_EQ(t.tag_folder, "weapons");
    EXPECT_EQ(t.stock_name, "pistol");
    EXPECT_EQ(t.xml_confirmation, "All XML files created successfully");
    EXPECT_FALSE(t.interim_notice);
    EXPECT_FALSE(t.unload_on_error);
    EXPECT_EQ(t.success_text(), "The pistol has successfully been duplicated to");
    EXPECT_EQ(t.success_message("my gun"),
              "The pistol has successfully been duplicated to \"my gun\"");
}

TEST(PistolTable, PurgeList) {
    const std::vector<std::string> expected = {".",          "bitmaps",    "effects", "fp",
                                               "fp\\bitmaps", "fp\\shaders", "shaders"};
    EXPECT_EQ(pistol().purge, expected);
    // Exactly the folders the file table writes into.
    std::set<std::string> written;
    for (const auto& f : pistol().files) written.insert(f.subfolder().empty() ? "." : f.subfolder());
    EXPECT_EQ(written, std::set<std::string>(expected.begin(), expected.end()));
}

TEST(PistolTable, RenameListInOrder) {
    const std::pair<const char*, const char*> expected[] = {
        {"pistol.coll.meta", "{name}.coll.meta"},
        {"pistol.mod2.meta", "{name}.mod2.meta"},
        {"pistol.weap.meta", "{name}.weap.meta"},
        {"pistol.wphi.meta", "{name}.wphi.meta"},
        {"pistol.antr.meta", "{name}.antr.meta"},
        {"bitmaps\\pistol cubemap.bitm.meta", "bitmaps\\{name} cubemap.bitm.meta"},
        {"bitmaps\\pistol_card multipurpose.bitm.meta",
         "bitmaps\\{name}_card multipurpose.bitm.meta"},
        {"bitmaps\\pistol_card.bitm.meta", "bitmaps\\{name}_card.bitm.meta"},
        {"fp\\bitmaps\\pistol.bitm.meta", "fp\\bitmaps\\{name}.bitm.meta"},
        {"fp\\bitmaps\\pistol multipurpose.bitm.meta",
         "fp\\bitmaps\\{name} multipurpose.bitm.meta"},
    };
    const auto& r = pistol().renames;
    ASSERT_EQ(r.size(), std::size(expected));
    for (std::size_t i = 0; i < r.size(); ++i) {
        EXPECT_EQ(r[i].from, expected[i].first) << i;
        EXPECT_EQ(r[i].to, expected[i].second) << i;
    }
    // The renamed set is exactly the files whose names carry the new name.
    std::set<std::string> renamed, named;
    for (const auto& x : r) renamed.insert(subst(x.to, "magnum"));
    for (const auto& f : pistol().files) {
        std::string p = duplication::xml_rel_path(f, "magnum");
        if (p != duplication::xml_rel_path(f, "other")) named.insert(p.substr(0, p.size() - 4) + ".meta");
    }
    EXPECT_EQ(renamed, named);
    EXPECT_EQ(named.size(), 10u);
}

TEST(PistolTable, EveryFileInWritingOrder) {
    const auto& files = pistol().files;
    ASSERT_EQ(files.size(), std::size(kFiles));
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileEntry& f = files[i];
        const Expect& e = kFiles[i];
        SCOPED_TRACE("file " + std::to_string(e.no));
        EXPECT_EQ(f.number, e.no);
        EXPECT_EQ(f.tag_class, e.cls);
        EXPECT_EQ(count(f, BlockKind::Dependency), e.dep);
        EXPECT_EQ(count(f, BlockKind::Reflexive), e.refl);
        EXPECT_EQ(count(f, BlockKind::LoneID), e.lone);
        EXPECT_EQ(static_cast<int>(f.vertex_corrections.size()), e.vtx);
        EXPECT_EQ(static_cast<int>(f.index_corrections.size()), e.idx);
        for (const std::string name : {"magnum", "my gun"}) {
            EXPECT_EQ(duplication::xml_rel_path(f, name), subst(e.path, name));
            const auto lines = duplication::file_lines(pistol(), f, run(name));
            EXPECT_EQ(static_cast<int>(lines.size()), e.lines);
            // Filename: weapons\<name>\ + relative path without ".<class>.xml".
            std::string rel = subst(e.path, name);
            rel.resize(rel.size() - 4 - 1 - std::string(e.cls).size());
            ASSERT_GE(lines.size(), 7u);
            EXPECT_EQ(lines[5], "<Filename>weapons\\" + name + "\\" + rel + "</Filename>");
        }
    }
}

TEST(PistolTable, StatedTotals) {
    int dep = 0, refl = 0, lone = 0, assets = 0;
    int effe_lines = 0, effe_refl = 0, effe_files = 0;
    std::map<std::string, int> effe_dep;
    for (const auto& f : pistol().files) {
        dep += count(f, BlockKind::Dependency);
        refl += count(f, BlockKind::Reflexive);
        lone += count(f, BlockKind::LoneID);
        if (f.has_assets()) ++assets;
        if (f.tag_class != "effe") continue;
        ++effe_files;
        effe_lines += static_cast<int>(duplication::file_lines(pistol(), f, run("x")).size());
        effe_refl += count(f, BlockKind::Reflexive);
        for (const auto& b : f.blocks)
            if (b.kind == BlockKind::Dependency) ++effe_dep[b.tag_class];
    }
    EXPECT_EQ(dep, 356);
    EXPECT_EQ(refl, 247);
    EXPECT_EQ(lone, 19);
    EXPECT_EQ(assets, 2);
    EXPECT_EQ(effe_files, 30);
    EXPECT_EQ(effe_lines, 2275);
    EXPECT_EQ(effe_refl, 140);
    EXPECT_EQ(effe_dep, (std::map<std::string, int>{{"part", 233}, {"snd!", 21}, {"deca", 19}}));
}

// ---------------------------------------------------------------------------
// Invariants that hold for every file.

TEST(PistolTableInvariants, BlocksOrderedAlignedAndClassed) {
    std::set<int> numbers;
    for (const auto& f : pistol().files) {
        SCOPED_TRACE("file " + std::to_string(f.number));
        EXPECT_TRUE(numbers.insert(f.number).second);
        EXPECT_TRUE(duplication::is_known_class(f.tag_class));
        std::uint32_t last = 0;
        bool first = true;
        for (const auto& b : f.blocks) {
            EXPECT_TRUE(first || b.location > last) << std::hex << b.location;
            EXPECT_EQ(b.location % 4, 0u) << std::hex << b.location;
            first = false;
            last = b.location;
            if (b.kind == BlockKind::Reflexive) {
                EXPECT_GT(b.translation, b.location);
                EXPECT_EQ(b.translation % 4, 0u);
                EXPECT_GE(b.count, 1u);
                EXPECT_LE(b.count, 124140u);
                continue;
            }
            EXPECT_TRUE(duplication::is_known_class(b.tag_class)) << b.tag_class;
            // No reference names the stock pistol's own folder.
            EXPECT_NE(b.path.rfind("weapons\\pistol", 0), 0u) << b.path;
            if (b.kind == BlockKind::LoneID) {
                EXPECT_TRUE(b.tag_class == "bitm" || b.tag_class == "snd!" || b.tag_class == "senv");
                if (f.tag_class == "bitm") {
                    EXPECT_EQ(b.tag_class, "bitm");
                    EXPECT_EQ(b.path, "weapons\\{name}\\" + f.rel_path);
                }
            }
        }
        // mod2 assets: two IndexBlock Corrections per VertexBlock one, pairs
        // 4 apart with equal Translations, each list ending on Translation 0.
        if (f.has_assets()) {
            const auto& v = f.vertex_corrections;
            const auto& x = f.index_corrections;
            ASSERT_EQ(x.size(), 2 * v.size());
            EXPECT_EQ(v.back().translation, 0u);
            EXPECT_EQ(x.back().translation, 0u);
            for (std::size_t i = 0; i + 1 < v.size(); ++i) EXPECT_LT(v[i].location, v[i + 1].location);
            for (std::size_t i = 0; i < v.size(); ++i) {
                EXPECT_EQ(x[2 * i + 1].location, x[2 * i].location + 4);
                EXPECT_EQ(x[2 * i + 1].translation, x[2 * i].translation);
                if (i + 1 < v.size()) {
                    EXPECT_LT(x[2 * i + 1].location, x[2 * i + 2].location);
                }
            }
        } else {
            EXPECT_TRUE(f.vertex_corrections.empty() && f.index_corrections.empty());
        }
    }
    // File numbers 1 to 53, equal to the writing position.
    for (std::size_t i = 0; i < pistol().files.size(); ++i)
        EXPECT_EQ(pistol().files[i].number, static_cast<int>(i + 1));
}

// ---------------------------------------------------------------------------
// Whole files.

std::string head(const std::string& triple, const std::string& filename,
                 const std::string& map = "Blood Gulch") {
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
    return duplication::file_bytes(pistol(), file_no(no), run(name, map));
}

TEST(PistolTableFiles, CardBitmap) {
    EXPECT_EQ(bytes(14, "magnum"),
              head("mtib" + fill(8), "weapons\\magnum\\bitmaps\\magnum_card") +
                  refl("0x58", "0x6C", "1") + refl("0x64", "0xAC", "1") +
                  ref("LoneID", "0xCC", "mtib" + fill(8), "weapons\\magnum\\bitmaps\\magnum_card") +
                  "</Results>\r\n");
}

TEST(PistolTableFiles, BulletDamageHasNoBlocks) {
    EXPECT_EQ(bytes(1, "my gun", ""),
              head("!tpj" + fill(8), "weapons\\my gun\\bullet", "") + "</Results>\r\n");
}

TEST(PistolTableFiles, MeleeNamesAnOutsideSound) {
    EXPECT_EQ(bytes(3, "magnum"),
              head("!tpj" + fill(8), "weapons\\magnum\\melee") +
                  ref("Dependency", "0x120", "!dns" + fill(8),
                      "sound\\sfx\\impulse\\melee\\pistol_impact") +
                  "</Results>\r\n");
}

TEST(PistolTableFiles, MultipurposeCardUnderNewName) {
    EXPECT_EQ(duplication::xml_rel_path(file_no(13), "magnum"),
              "bitmaps\\magnum_card multipurpose.bitm.xml");
    const auto lines = duplication::file_lines(pistol(), file_no(13), run("magnum"));
    EXPECT_EQ(lines[5], "<Filename>weapons\\magnum\\bitmaps\\magnum_card multipurpose</Filename>");
}

TEST(PistolTableFiles, ModelAssetSections) {
    const auto section = [](const std::string& name, std::vector<const char*> v,
                            std::vector<const char*> x) {
        std::string s = "<!--Attached Binary File Structure-->\r\n<Asset>\r\n<Type>VertexBlock</Type>\r\n"
                        "<Filename>" + name + ".mod2.vertices</Filename>\r\n";
        const auto corr = [&s](const std::vector<const char*>& c) {
            for (std::size_t i = 0; i < c.size(); i += 2)
                s += std::string("<Correction>\r\n<Location>") + c[i] + "</Location>\r\n<Translation>" +
                     c[i + 1] + "</Translation>\r\n</Correction>\r\n";
        };
        corr(v);
        s += "</Asset>\r\n<Asset>\r\n<Type>IndexBlock</Type>\r\n<Filename>" + name + ".mod2.indices</Filename>\r\n";
        corr(x);
        return s + "</Asset>\r\n</Results>\r\n";
    };
    const std::string m7 = section("my gun", {"0x904", "0x6930", "0x988", "0x3388", "0xA0C", "0x1078", "0xA90", "0x0"},
                                   {"0x8EC", "0x500", "0x8F0", "0x500", "0x970", "0x26C", "0x974", "0x26C",
                                    "0x9F4", "0xC0", "0x9F8", "0xC0", "0xA78", "0x0", "0xA7C", "0x0"});
    const std::string m46 = section("fp", {"0x8A4", "0x7634", "0x928", "0x2200", "0x9AC", "0x0"},
                                    {"0x88C", "0x508", "0x890", "0x508", "0x910", "0x14C", "0x914", "0x14C",
                                     "0x994", "0x0", "0x998", "0x0"});
    const std::string soso = "ososrdhs" + fill(4);
    const std::string f7 = bytes(7, "my gun");
    const std::string deps7 = ref("Dependency", "0xABC", soso, "weapons\\my gun\\shaders\\p lod") +
                              ref("Dependency", "0xADC", soso, "weapons\\my gun\\fp\\shaders\\silver") +
                              ref("Dependency", "0xAFC", soso, "weapons\\my gun\\fp\\shaders\\black");
    ASSERT_GE(f7.size(), deps7.size() + m7.size());
    EXPECT_EQ(f7.substr(f7.size() - m7.size() - deps7.size()), deps7 + m7);
    const std::string f46 = bytes(46, "my gun");
    const std::string deps46 = ref("Dependency", "0x9D8", soso, "weapons\\my gun\\fp\\shaders\\silver") +
                               ref("Dependency", "0x9F8", soso, "weapons\\my gun\\fp\\shaders\\black") +
                               ref("Dependency", "0xA18", soso, "weapons\\my gun\\fp\\shaders\\bullet");
    ASSERT_GE(f46.size(), deps46.size() + m46.size());
    EXPECT_EQ(f46.substr(f46.size() - m46.size() - deps46.size()), deps46 + m46);
    const std::string h7 = head("2dom" + fill(8), "weapons\\my gun\\my gun");
    EXPECT_EQ(f7.substr(0, h7.size()), h7);
}

TEST(PistolTableFiles, ImpactIce) {
    const std::string effe = "effe" + fill(8);
    const std::string part = "trap" + fill(8);
    EXPECT_EQ(bytes(30, "magnum"),
              head(effe, "weapons\\magnum\\effects\\impact ice") + refl("0x2C", "0x40", "3") +
                  refl("0x38", "0xA0", "1") + refl("0xD0", "0xE4", "1") + refl("0xDC", "0x14C", "3") +
                  ref("Dependency", "0x108", "aced" + fill(8), "effects\\decals\\bullet holes\\impact ice") +
                  ref("Dependency", "0x1AC", part, "effects\\particles\\solid\\ice") +
                  ref("Dependency", "0x294", part, "effects\\particles\\flash\\flash h shield impact") +
                  ref("Dependency", "0x37C", part, "effects\\particles\\flash\\flash h ar") +
                  "</Results>\r\n");
}

TEST(PistolTableFiles, EmptyReadyAndReload) {
    const std::string effe = "effe" + fill(8);
    EXPECT_EQ(bytes(15, "magnum"),
              head(effe, "weapons\\magnum\\effects\\empty") + refl("0x2C", "0x40", "1") +
                  refl("0x38", "0x60", "1") + refl("0x90", "0xA4", "1") +
                  ref("Dependency", "0xC8", "!dns" + fill(8), "sound\\sfx\\weapons\\pistol\\dryfire") +
                  "</Results>\r\n");
    const std::string body = refl("0x2C", "0x40", "1") + refl("0x38", "0x60", "1") + "</Results>\r\n";
    EXPECT_EQ(bytes(43, "magnum"), head(effe, "weapons\\magnum\\effects\\ready") + body);
    EXPECT_EQ(bytes(44, "magnum"), head(effe, "weapons\\magnum\\effects\\reload") + body);
}

TEST(PistolTableFiles, FireBulletParticleSublists) {
    std::map<std::uint32_t, std::uint32_t> refl_at;
    for (const auto& b : file_no(16).blocks)
        if (b.kind == BlockKind::Reflexive) refl_at[b.location] = b.translation;
    EXPECT_EQ(refl_at[0xBC], 0x21Cu);
    EXPECT_EQ(refl_at[0x100], 0x874u);
    EXPECT_EQ(refl_at[0x144], 0xCFCu);
}

TEST(PistolTableFiles, EffectsVaryOnlyInMapAndFilename) {
    for (const auto& f : pistol().files) {
        if (f.tag_class != "effe") continue;
        auto a = duplication::file_lines(pistol(), f, run("magnum", "Blood Gulch"));
        auto b = duplication::file_lines(pistol(), f, run("a b", "Hang 'Em High"));
        ASSERT_EQ(a.size(), b.size());
        EXPECT_NE(a[3], b[3]);
        EXPECT_NE(a[5], b[5]);
        a[3] = b[3];
        a[5] = b[5];
        EXPECT_EQ(a, b) << f.rel_path;
    }
}

// ---------------------------------------------------------------------------
// Effects: head list, groups and reference chunks per file.

struct EffeExpect {
    int no;
    std::uint32_t h;
    std::vector<std::pair<int, int>> groups;  // reference chunks + particle chunks
    std::vector<std::string> refs;            // class + last path component, in chunk order
};

const std::vector<EffeExpect>& effe_expect() {
    static const std::vector<EffeExpect> e = {
        {15, 1, {{1, 0}}, {"snd! dryfire"}},
        {16, 2, {{2, 7}, {0, 5}, {0, 1}}, {"snd! fire", "snd! eject"}},
        {17, 3, {{2, 6}, {0, 5}}, {"snd! fleshhit", "deca blood splat small"}},
        {18, 5, {{3, 5}, {0, 2}}, {"deca blood splat small", "snd! metalhit", "deca blood splat"}},
        {19, 2, {{0, 15}, {0, 12}}, {}},
        {20, 4, {{1, 3}, {1, 4}}, {"snd! dirthits", "deca dirt pistol"}},
        {21, 3, {{1, 4}, {0, 7}}, {"snd! fleshhit"}},
        {22, 3, {{0, 3}, {0, 11}}, {}},
        {23, 3, {{0, 4}, {0, 6}}, {}},
        {24, 3, {{2, 1}, {0, 7}, {0, 1}}, {"snd! fleshhit", "deca blood hunter splat"}},
        {25, 3, {{0, 7}, {0, 2}}, {}},
        {26, 4, {{2, 3}, {0, 6}, {0, 5}}, {"snd! fleshhit", "deca blood grunt splat"}},
        {27, 4, {{2, 3}, {0, 6}, {0, 1}}, {"snd! fleshhit", "deca blood splat small"}},
        {28, 4, {{3, 5}, {0, 2}}, {"deca blood splat small", "deca metal", "snd! bullet_ricc"}},
        {29, 4, {{3, 3}, {0, 4}, {0, 1}},
         {"snd! fleshhit", "deca blood hunter glow splat", "deca blood hunter glow splat"}},
        {30, 3, {{1, 3}}, {"deca impact ice"}},
        {31, 3, {{2, 2}, {0, 2}}, {"snd! bullet_ricc", "snd! hits"}},
        {32, 3, {{2, 6}, {0, 1}}, {"deca metal", "snd! metalhit"}},
        {33, 2, {{1, 6}, {0, 1}}, {"snd! metalhit"}},
        {34, 4, {{3, 6}, {0, 1}}, {"deca blood splat small", "deca metal", "snd! metalhit"}},
        {35, 3, {{2, 6}, {0, 1}}, {"deca metal", "snd! metalhit"}},
        {36, 3, {{0, 5}, {0, 1}}, {}},
        {37, 3, {{0, 4}, {0, 1}}, {}},
        {38, 3, {{0, 5}}, {}},
        {39, 3, {{1, 5}, {0, 1}}, {"deca metal"}},
        {40, 3, {{1, 3}, {0, 2}}, {"snd! snow_hits"}},
        {41, 3, {{2, 3}, {1, 4}}, {"deca stone", "snd! granhit", "deca stone med"}},
        {42, 3, {{1, 6}, {0, 1}}, {"snd! woodhit"}},
        {43, 1, {{0, 0}}, {}},
        {44, 1, {{0, 0}}, {}},
    };
    return e;
}

std::string last_component(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

TEST(PistolTableEffects, HeadGroupsAndReferences) {
    ASSERT_EQ(effe_expect().size(), 30u);
    for (const auto& e : effe_expect()) {
        SCOPED_TRACE("file " + std::to_string(e.no));
        const FileEntry& f = file_no(e.no);
        ASSERT_EQ(f.tag_class, "effe");
        std::map<std::uint32_t, const Block*> refl_at;
        std::vector<std::string> refs;
        for (const auto& b : f.blocks) {
            if (b.kind == BlockKind::Reflexive) refl_at[b.location] = &b;
            else if (b.tag_class != "part") refs.push_back(b.tag_class + " " + last_component(b.path));
        }
        ASSERT_TRUE(refl_at.count(0x2C) && refl_at.count(0x38));
        EXPECT_EQ(refl_at[0x2C]->count, e.h);
        EXPECT_EQ(refl_at[0x38]->count, e.groups.size());
        for (std::size_t k = 0; k < e.groups.size(); ++k) {
            const std::uint32_t start = 0x40 + 32 * e.h + 68 * static_cast<std::uint32_t>(k);
            const auto sub = [&](std::uint32_t at) {
                auto it = refl_at.find(at);
                return it == refl_at.end() ? 0 : static_cast<int>(it->second->count);
            };
            EXPECT_EQ(sub(start + 0x30), e.groups[k].first) << "group " << k;
            EXPECT_EQ(sub(start + 0x3C), e.groups[k].second) << "group " << k;
        }
        EXPECT_EQ(refs, e.refs);
    }
}

// Particle chunks per file, "name*n" for n chunks naming one tag; each name
// stands for effects\particles\ + name.
const std::pair<int, const char*> kParticles[] = {
        {16, "group 0: flash\\flash h pistol, flash\\flash h pistol side*2, air\\smoke h fp, flash\\flash h pistol muzzle, air\\bubbles*2"
         "; group 1: flash\\flash h pistol side*2, flash\\flash h pistol center, air\\smoke h fp*2"
         "; group 2: solid\\casing h pistol"},
        {17, "group 0: flash\\sparks trail, air\\smoke impact, flash\\flash h shield impact, lens flare\\flare h stealth cannon, flash\\flash h pistol detonate, flash\\flash h ar"
         "; group 1: solid\\blood h impact burst, solid\\metal chips, solid\\blood h impact mist, solid\\blood h impact mist med, solid\\blood h impact mist small"},
        {18, "group 0: flash\\sparks impact, flash\\sparks trail, air\\smoke impact, flash\\flash h shield impact, flash\\flash h ar"
         "; group 1: air\\smoke impact, lens flare\\flare h stealth cannon"},
        {19, "group 0: energy\\shield jackal sparks, energy\\flash c generic, energy\\shield jackal sparks*12, flash\\flash h ar"
         "; group 1: energy\\shield jackal sparks*11, lens flare\\flare h stealth cannon"},
        {20, "group 0: air\\dirt animated kick, air\\dirt animated dust, flash\\flash h ar"
         "; group 1: air\\bubbles, lens flare\\flare h stealth cannon, flash\\flash h pistol detonate, air\\smoke h generic still"},
        {21, "group 0: flash\\sparks trail, air\\smoke impact, flash\\flash h shield impact, flash\\flash h ar"
         "; group 1: solid\\blood elite impact burst, solid\\blood elite impact mist, solid\\blood elite impact mist med, solid\\blood elite impact mist small, solid\\snow impact, lens flare\\flare h stealth cannon, flash\\flash h pistol detonate"},
        {22, "group 0: lens flare\\flare h stealth cannon, flash\\flash h pistol detonate, flash\\flash h ar"
         "; group 1: energy\\shield jackal bolt*11"},
        {23, "group 0: solid\\blood engineer trails, air\\smoke impact, flash\\flash h shield impact, flash\\flash h ar"
         "; group 1: air\\smoke impact, solid\\snow impact, flash\\flash h generic med, air\\bubbles fizz floodcombat, lens flare\\flare h stealth cannon, flash\\flash h pistol detonate"},
        {24, "group 0: air\\smoke impact"
         "; group 1: flash\\flash h shield impact, solid\\blood engineer trails, solid\\blood bits hunter, solid\\blood generic impact burst, flash\\flash h pistol detonate, flash\\flash h ar, lens flare\\flare h stealth cannon"
         "; group 2: air\\smoke h generic still"},
        {25, "group 0: air\\smoke impact, flash\\flash h shield impact, solid\\blood bits floodcombat elite, solid\\debris floodcombat scabs, lens flare\\flare h stealth cannon, flash\\flash h pistol detonate, flash\\flash h ar"
         "; group 1: air\\smoke h generic animated, flash\\flash h shield impact"},
        {26, "group 0: air\\smoke impact, flash\\flash h shield impact, flash\\flash h ar"
         "; group 1: solid\\blood generic impact burst, solid\\blood generic impact mist, solid\\blood generic impact mist med, solid\\blood generic impact mist small, solid\\blood engineer trails, lens flare\\flare h stealth cannon"
         "; group 2: solid\\blood generic impact burst, solid\\blood generic impact mist, solid\\blood generic impact mist med, solid\\blood generic impact mist small, solid\\snow burst"},
        {27, "group 0: air\\smoke impact, flash\\flash h shield impact, flash\\flash h ar"
         "; group 1: solid\\blood h impact burst, solid\\blood h impact mist, solid\\blood h impact mist med, solid\\blood h impact mist small, solid\\blood engineer trails, lens flare\\flare h stealth cannon"
         "; group 2: air\\smoke residual"},
        {28, "group 0: flash\\sparks impact, flash\\sparks trail, air\\smoke impact, flash\\flash h shield impact, flash\\flash h ar"
         "; group 1: air\\smoke impact, lens flare\\flare h stealth cannon"},
        {29, "group 0: air\\smoke impact, solid\\blood bits hunter, flash\\flash h ar"
         "; group 1: flash\\flash h shield impact, solid\\blood engineer trails, solid\\blood generic impact burst, lens flare\\flare h stealth cannon"
         "; group 2: air\\smoke h generic still"},
        {30, "group 0: solid\\ice, flash\\flash h shield impact, flash\\flash h ar"},
        {31, "group 0: energy\\shield c generic, flash\\flash h ar"
         "; group 1: flash\\flash h shield impact, lens flare\\flare h stealth cannon"},
        {32, "group 0: flash\\sparks impact, flash\\sparks trail, air\\smoke impact, flash\\flash h shield impact*2, flash\\flash h ar"
         "; group 1: air\\smoke impact"},
        {33, "group 0: flash\\sparks impact, flash\\sparks trail, air\\smoke impact, flash\\flash h shield impact, lens flare\\flare h stealth cannon, flash\\flash h ar"
         "; group 1: air\\smoke impact"},
        {34, "group 0: flash\\sparks impact, flash\\sparks trail, air\\smoke impact, flash\\flash h shield impact, lens flare\\flare h stealth cannon, flash\\flash h ar"
         "; group 1: air\\smoke impact"},
        {35, "group 0: flash\\sparks impact, flash\\sparks trail, air\\smoke impact, flash\\flash h shield impact, lens flare\\flare h stealth cannon, flash\\flash h ar"
         "; group 1: air\\smoke impact"},
        {36, "group 0: flash\\sparks impact, air\\smoke impact, flash\\flash h shield impact, lens flare\\flare h stealth cannon, flash\\flash h ar"
         "; group 1: air\\smoke impact"},
        {37, "group 0: flash\\flash h shield impact, solid\\metal chips, lens flare\\flare h stealth cannon, flash\\flash h ar"
         "; group 1: air\\smoke impact"},
        {38, "group 0: air\\smoke h generic animated, solid\\rubber impact, flash\\flash h pistol detonate, lens flare\\flare h stealth cannon, flash\\flash h ar"},
        {39, "group 0: flash\\sparks impact, air\\smoke impact, flash\\flash h pistol detonate, lens flare\\flare h stealth cannon, flash\\flash h ar"
         "; group 1: air\\smoke impact"},
        {40, "group 0: solid\\snow impact, solid\\snow burst, flash\\flash h ar"
         "; group 1: lens flare\\flare h stealth cannon, flash\\flash h pistol detonate"},
        {41, "group 0: flash\\sparks trail, solid\\gravel small, flash\\flash h ar"
         "; group 1: air\\smoke impact, flash\\flash h pistol detonate, solid\\gravel small, lens flare\\flare h stealth cannon"},
        {42, "group 0: flash\\flash h shield impact, solid\\gravel small, solid\\wood impact, lens flare\\flare h stealth cannon, flash\\flash h pistol detonate, flash\\flash h ar"
         "; group 1: air\\smoke impact"},
};

std::vector<std::string> split(const std::string& s, const std::string& sep) {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t p; (p = s.find(sep, at)) != std::string::npos; at = p + sep.size())
        out.push_back(s.substr(at, p - at));
    out.push_back(s.substr(at));
    return out;
}

TEST(PistolTableEffects, ParticleChunksInOrder) {
    std::set<int> seen;
    for (const auto& [no, text] : kParticles) {
        SCOPED_TRACE("file " + std::to_string(no));
        seen.insert(no);
        std::vector<std::string> expected;
        for (const auto& group : split(text, "; ")) {
            for (auto name : split(group.substr(group.find(": ") + 2), ", ")) {
                int n = 1;
                if (const auto star = name.find('*'); star != std::string::npos) {
                    n = std::stoi(name.substr(star + 1));
                    name.resize(star);
                }
                for (int i = 0; i < n; ++i) expected.push_back("effects\\particles\\" + name);
            }
        }
        std::vector<std::string> actual;
        for (const auto& b : file_no(no).blocks)
            if (b.kind == BlockKind::Dependency && b.tag_class == "part") actual.push_back(b.path);
        EXPECT_EQ(actual, expected);
    }
    // The other three effects have no particle chunk.
    for (const int no : {15, 43, 44})
        for (const auto& b : file_no(no).blocks) EXPECT_NE(b.tag_class, "part") << no;
    EXPECT_EQ(seen.size(), 27u);
}

TEST(PistolTableEffects, OutsideTagsAndParticleFacts) {
    std::set<std::string> parts, outside;
    std::map<std::string, int> files_with, times;
    for (const auto& f : pistol().files) {
        if (f.tag_class != "effe") continue;
        std::set<std::string> here;
        for (const auto& b : f.blocks) {
            if (b.kind != BlockKind::Dependency) continue;
            outside.insert(b.path);
            if (b.tag_class == "part") {
                EXPECT_EQ(b.path.rfind("effects\\particles\\", 0), 0u) << b.path;
                parts.insert(b.path);
            } else {
                const bool known = b.path.rfind("sound\\sfx\\impulse\\impacts\\", 0) == 0 ||
                                   b.path.rfind("sound\\sfx\\weapons\\pistol\\", 0) == 0 ||
                                   b.path.rfind("sound\\sfx\\weapons\\shield fx\\", 0) == 0 ||
                                   b.path.rfind("effects\\decals\\blood splats\\", 0) == 0 ||
                                   b.path.rfind("effects\\decals\\bullet holes\\", 0) == 0;
                EXPECT_TRUE(known) << b.path;
            }
            here.insert(b.path);
            ++times[b.path];
        }
        for (const auto& p : here) ++files_with[p];
    }
    EXPECT_EQ(parts.size(), 48u);
    EXPECT_EQ(outside.size(), 69u);
    EXPECT_EQ(files_with["effects\\particles\\flash\\flash h ar"], 26);
    EXPECT_EQ(files_with["effects\\particles\\lens flare\\flare h stealth cannon"], 24);
    EXPECT_EQ(times["effects\\particles\\air\\smoke impact"], 28);
    EXPECT_EQ(files_with["effects\\particles\\air\\smoke impact"], 19);
}

TEST(PistolTableEffects, LikeEntries) {
    const auto& a = file_no(32).blocks;  // hollow reflect
    const auto& b = file_no(35).blocks;  // thin reflect
    ASSERT_EQ(a.size(), b.size());
    int differ = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].location, b[i].location);
        if (a[i].path == b[i].path) continue;
        ++differ;
        // fifth particle chunk of group 0: blocks 0-4 are reflexives, 5-6 references
        EXPECT_EQ(i, 5u + 2u + 4u);
        EXPECT_EQ(a[i].path, "effects\\particles\\flash\\flash h shield impact");
        EXPECT_EQ(b[i].path, "effects\\particles\\lens flare\\flare h stealth cannon");
    }
    EXPECT_EQ(differ, 1);
    // Nineteen: 24 particle chunks of one tag, each a block of its own.
    EXPECT_EQ(std::count_if(file_no(19).blocks.begin(), file_no(19).blocks.end(),
                            [](const Block& x) { return x.path == "effects\\particles\\energy\\shield jackal sparks"; }),
              24);
}

// ---------------------------------------------------------------------------
// Files naming other files.

// Targets of the projectile's impact chunks, in the own effects folder
// unless a full path is given.
const char* const kImpactTargets =
        "impact dirt, impact dirt, impact stone, impact snow, impact wood, "
        "impact metal hollow reflect, impact metal thin reflect, "
        "impact metal thick reflect, impact rubber pen, "
        "weapons\\assault rifle\\effects\\impact glass, impact engineer force field, "
        "impact grunt, impact metal hunter, impact hunter skin, impact elite armored skin, "
        "impact elite armored skin, impact jackal shield, impact engineer sack, "
        "impact engineer force field, impact floodcombat elite, impact floodcarrier, "
        "impact cyborg armor, impact cyborg shield, impact armored skin, impact h skin, "
        "impact sentinel, impact monitor, impact plastic, "
        "weapons\\assault rifle\\effects\\impact water pen, "
        "weapons\\assault rifle\\effects\\impact grass, impact jackal shield, impact ice, "
        "impact hunter shield";

TEST(PistolTableReferences, ProjectileImpactChunks) {
    const FileEntry& p = file_no(2);
    std::map<std::string, int> named;
    std::vector<std::string> targets;
    int k = 0;
    for (const auto& b : p.blocks) {
        if (b.kind != BlockKind::Dependency || b.tag_class != "effe") continue;
        EXPECT_EQ(b.location, 0x25Cu + 0xA0u * static_cast<std::uint32_t>(k++));
        ++named[b.path];
        targets.push_back(b.path);
    }
    EXPECT_EQ(k, 33);
    std::vector<std::string> expected;
    for (const auto& t : split(kImpactTargets, ", "))
        expected.push_back(t.find('\\') == std::string::npos ? "weapons\\{name}\\effects\\" + t : t);
    EXPECT_EQ(targets, expected);
    std::set<std::string> impacts;
    for (const auto& f : pistol().files)
        if (f.tag_class == "effe" && f.rel_path.rfind("effects\\impact ", 0) == 0)
            impacts.insert("weapons\\{name}\\" + f.rel_path);
    EXPECT_EQ(impacts.size(), 26u);
    std::set<std::string> twice, ar;
    for (const auto& [path, n] : named) {
        if (path.rfind("weapons\\assault rifle\\effects\\", 0) == 0) {
            ar.insert(last_component(path));
        } else {
            EXPECT_TRUE(impacts.erase(path)) << path;
        }
        if (n == 2) twice.insert(last_component(path));
        EXPECT_LE(n, 2);
    }
    EXPECT_TRUE(impacts.empty());
    EXPECT_EQ(ar, (std::set<std::string>{"impact glass", "impact grass", "impact water pen"}));
    EXPECT_EQ(twice, (std::set<std::string>{"impact dirt", "impact engineer force field",
                                             "impact elite armored skin", "impact jackal shield"}));
    // The reflexive whose chunks hold them.
    const Block& r = p.blocks[2];
    EXPECT_EQ(r.kind, BlockKind::Reflexive);
    EXPECT_EQ(r.location, 0x244u);
    EXPECT_EQ(r.translation, 0x24Cu);
    EXPECT_EQ(r.count, 33u);
}

TEST(PistolTableReferences, OwnTagsNamedAreFilesOfTheTable) {
    const FileEntry& w = file_no(8);
    std::set<std::string> effects;
    for (const auto& b : w.blocks)
        if (b.tag_class == "effe") effects.insert(last_component(b.path));
    EXPECT_EQ(effects, (std::set<std::string>{"empty", "fire bullet", "ready", "reload"}));
    // Every own tag named anywhere is a file of the table.
    std::set<std::string> own;
    for (const auto& f : pistol().files) own.insert(f.tag_class + " weapons\\{name}\\" + f.rel_path);
    for (const auto& f : pistol().files)
        for (const auto& b : f.blocks)
            if (b.kind != BlockKind::Reflexive && b.path.find("{name}") != std::string::npos) {
                EXPECT_TRUE(own.count(b.tag_class + " " + b.path)) << f.number << ": " << b.path;
            }
}

// Reflexives as "Location / Translation / ChunkCount", in file order.
const std::pair<int, const char*> kReflexives[] = {
        {5, "0x1C / 0x80 / 1; 0x6C / 0xB0 / 7; 0x78 / 0x270 / 1; 0x94 / 0x9C / 10; "
             "0x2C4 / 0x324 / 804; 0x308 / 0x34C / 844; 0x31C / 0x3E8 / 1000"},
        {6, "0x238 / 0x298 / 1; 0x244 / 0x2E0 / 1; 0x290 / 0x354 / 7; 0x32C / 0x334 / 1; "
             "0x38C / 0x514 / 1; 0x518 / 0x574 / 15; 0x524 / 0x628 / 12; 0x530 / 0x6E8 / 13; "
             "0x53C / 0x750 / 15; 0x548 / 0x7C8 / 4; 0x554 / 0x818 / 18; 0x560 / 0x8F0 / 36; "
             "0x56C / 0xC50 / 20"},
        {7, "0xB0 / 0xE8 / 6; 0xBC / 0x328 / 7; 0xC8 / 0x76C / 1; 0xD4 / 0x810 / 3; "
             "0xE0 / 0xAB0 / 3; 0x120 / 0x268 / 1; 0x160 / 0x288 / 1; 0x1A0 / 0x2A8 / 1; "
             "0x1E0 / 0x2C8 / 1; 0x220 / 0x2E8 / 1; 0x260 / 0x308 / 1; 0x7B0 / 0x7B8 / 1; "
             "0x838 / 0x8A0 / 2; 0x868 / 0x9A8 / 1; 0x898 / 0xA2C / 1"},
        {8, "0x144 / 0x508 / 1; 0x15C / 0x550 / 1; 0x174 / 0x6B8 / 6; 0x4E8 / 0x6E8 / 6; "
             "0x4F4 / 0x718 / 1; 0x500 / 0x7A4 / 1; 0x780 / 0x788 / 1; 0x8B0 / 0x8B8 / 1"},
        {9, "0x64 / 0x17C / 1; 0x70 / 0x230 / 1; 0x88 / 0x2E4 / 3; 0xB0 / 0x560 / 1; "
             "0x31C / 0x41C / 1; 0x384 / 0x488 / 1; 0x3EC / 0x4F4 / 1"},
        {45, "0x4C / 0x80 / 1; 0x58 / 0xC0 / 4; 0x6C / 0x110 / 44; 0x78 / 0xC10 / 10; "
             "0x94 / 0x9C / 17; 0xCA8 / 0x1318 / 5064; 0xCBC / 0x16E0 / 6032; "
             "0xD5C / 0x1C08 / 7352; 0xD70 / 0x1FD0 / 8320; 0xE10 / 0x3470 / 13600; "
             "0xE24 / 0x3720 / 14288; 0xEC4 / 0x77D0 / 30848; 0xED8 / 0x7BC8 / 31864; "
             "0xF78 / 0x7FB0 / 32864; 0xF8C / 0x8394 / 33860; 0x102C / 0x85B0 / 34400; "
             "0x1040 / 0x88D8 / 35208; 0x10E0 / 0x109B0 / 68192; 0x10F4 / 0x10CB8 / 68968; "
             "0x1194 / 0x13300 / 78768; 0x11A8 / 0x135C4 / 79476; 0x1248 / 0x190D8 / 102792; "
             "0x125C / 0x193C8 / 103544; 0x12FC / 0x1E0F8 / 123304; "
             "0x1310 / 0x1E43C / 124140"},
        {46, "0xB0 / 0xE8 / 6; 0xBC / 0x328 / 7; 0xC8 / 0x76C / 1; 0xD4 / 0x810 / 1; "
             "0xE0 / 0x9CC / 3; 0x120 / 0x268 / 1; 0x160 / 0x288 / 1; 0x1A0 / 0x2A8 / 1; "
             "0x1E0 / 0x2C8 / 1; 0x220 / 0x2E8 / 1; 0x260 / 0x308 / 1; 0x7B0 / 0x7B8 / 1; "
             "0x838 / 0x840 / 3"},
};

// Shader Dependencies (all bitm) as "Location path".
const std::pair<int, const char*> kShaderDeps[] = {
        {50, "0xB0 weapons\\{name}\\fp\\bitmaps\\{name}"},
        {51, "0xB0 weapons\\{name}\\fp\\bitmaps\\bullet"},
        {52, "0xB0 weapons\\{name}\\fp\\bitmaps\\{name}; "
             "0xC8 weapons\\{name}\\fp\\bitmaps\\{name} multipurpose; "
             "0x170 weapons\\{name}\\bitmaps\\{name} cubemap"},
        {53, "0xB0 weapons\\{name}\\bitmaps\\{name}_card; "
             "0xC8 weapons\\{name}\\bitmaps\\{name}_card multipurpose; "
             "0x170 vehicles\\warthog\\bitmaps\\reflection diffuse metal"},
};

std::uint32_t number(const std::string& s) {
    return static_cast<std::uint32_t>(std::stoul(s, nullptr, s.rfind("0x", 0) == 0 ? 16 : 10));
}

TEST(PistolTableReferences, ReflexivesAndShaderDependencies) {
    for (const auto& [no, text] : kReflexives) {
        SCOPED_TRACE("file " + std::to_string(no));
        std::vector<std::string> expected, actual;
        for (const auto& r : split(text, "; ")) {
            const auto v = split(r, " / ");
            ASSERT_EQ(v.size(), 3u);
            expected.push_back(std::to_string(number(v[0])) + " " + std::to_string(number(v[1])) + " " + v[2]);
        }
        for (const auto& b : file_no(no).blocks)
            if (b.kind == BlockKind::Reflexive)
                actual.push_back(std::to_string(b.location) + " " + std::to_string(b.translation) + " " +
                                 std::to_string(b.count));
        EXPECT_EQ(actual, expected);
    }
    for (const auto& [no, text] : kShaderDeps) {
        SCOPED_TRACE("file " + std::to_string(no));
        std::vector<std::string> expected, actual;
        for (const auto& d : split(text, "; ")) {
            const auto sp = d.find(' ');
            expected.push_back(std::to_string(number(d.substr(0, sp))) + " bitm " + d.substr(sp + 1));
        }
        for (const auto& b : file_no(no).blocks)
            actual.push_back(std::to_string(b.location) + " " + b.tag_class + " " + b.path);
        EXPECT_EQ(actual, expected);
    }
}

// Dependency (D) and LoneID (L) blocks as "kind Location class path", in
// file order, for the files whose references are mostly outside tags.
const std::pair<int, std::vector<const char*>> kReferences[] = {
    {2,
     {"D 0x210 snd! sound\\sfx\\impulse\\impacts\\bullets_projectile",
      "D 0x230 jpt! weapons\\{name}\\bullet"}},
    {8,
     {"D 0x34 mod2 weapons\\{name}\\{name}",
      "D 0x44 antr weapons\\{name}\\{name}",
      "D 0x7C coll weapons\\{name}\\{name}",
      "D 0x254 foot sound\\sfx\\impulse\\material_effects\\weapon",
      "D 0x264 snd! sound\\sfx\\impulse\\weapon_drops\\pistol_impact",
      "D 0x348 effe weapons\\{name}\\effects\\ready",
      "D 0x3A0 jpt! weapons\\{name}\\melee",
      "D 0x3B0 jpt! weapons\\{name}\\melee_response",
      "D 0x468 mod2 weapons\\{name}\\fp\\fp",
      "D 0x478 antr weapons\\{name}\\fp\\fp",
      "D 0x48C wphi weapons\\{name}\\{name}",
      "D 0x49C snd! sound\\sfx\\weapons\\weapon_pickup_ammo\\pistol_ammo",
      "D 0x4AC snd! sound\\sfx\\weapons\\sniper rifle\\sniper_2x_zoom",
      "D 0x4BC snd! sound\\sfx\\weapons\\sniper rifle\\sniper_10x_zoom",
      "D 0x514 ligh weapons\\assault rifle\\muzzle flash",
      "L 0x6BC bitm weapons\\{name}\\bitmaps\\{name}_card",
      "L 0x6C4 bitm weapons\\{name}\\bitmaps\\{name}_card multipurpose",
      "L 0x6CC bitm vehicles\\warthog\\bitmaps\\reflection diffuse metal",
      "L 0x6D4 bitm weapons\\{name}\\fp\\bitmaps\\{name}",
      "L 0x6DC bitm weapons\\{name}\\fp\\bitmaps\\{name} multipurpose",
      "L 0x6E4 bitm weapons\\{name}\\bitmaps\\{name} cubemap",
      "L 0x6EC snd! sound\\sfx\\weapons\\sniper rifle\\sniper_2x_zoom",
      "L 0x6F4 snd! sound\\sfx\\weapons\\sniper rifle\\sniper_10x_zoom",
      "L 0x6FC bitm weapons\\{name}\\fp\\bitmaps\\{name}",
      "L 0x704 bitm weapons\\{name}\\fp\\bitmaps\\{name} multipurpose",
      "L 0x70C bitm weapons\\{name}\\bitmaps\\{name} cubemap",
      "L 0x714 bitm weapons\\{name}\\fp\\bitmaps\\bullet",
      "D 0x75C effe weapons\\{name}\\effects\\reload",
      "D 0x7A0 eqip powerups\\pistol ammo\\pistol ammo",
      "D 0x844 proj weapons\\{name}\\bullet",
      "D 0x8E8 effe weapons\\{name}\\effects\\fire bullet",
      "D 0x908 effe weapons\\{name}\\effects\\empty",
      "D 0x918 jpt! weapons\\{name}\\trigger"}},
    {9,
     {"D 0xC wphi ui\\hud\\master rounds",
      "D 0x1D0 bitm ui\\hud\\bitmaps\\combined\\hud_ammo_alphas",
      "D 0x284 bitm ui\\hud\\bitmaps\\combined\\hud_ammo_meters",
      "D 0x314 bitm ui\\hud\\bitmaps\\combined\\hud_reticles",
      "D 0x37C bitm ui\\hud\\bitmaps\\sniper\\hud_reticles_scope",
      "D 0x3E4 bitm ui\\hud\\bitmaps\\sniper\\hud_reticles_scope",
      "D 0x584 bitm ui\\hud\\bitmaps\\pistol\\pistol_scope_mask",
      "D 0x594 bitm ui\\hud\\bitmaps\\pistol\\pistol_scope_mask split"}},
    {45,
     {"D 0xCC snd! sound\\sfx\\weapons\\weapon_anims\\pistol_melee",
      "D 0xE0 snd! sound\\sfx\\weapons\\weapon_anims\\pistol_posing",
      "D 0xF4 snd! sound\\sfx\\weapons\\weapon_anims\\pistol_ready",
      "D 0x108 snd! sound\\sfx\\weapons\\weapon_anims\\pistol_reload"}},
};

TEST(PistolTableReferences, DependenciesAndLoneIDs) {
    for (const auto& [no, expected] : kReferences) {
        SCOPED_TRACE("file " + std::to_string(no));
        std::vector<std::string> actual;
        for (const auto& b : file_no(no).blocks) {
            if (b.kind == BlockKind::Reflexive) continue;
            if (no == 2 && b.tag_class == "effe") continue;  // impact chunks, checked above
            actual.push_back(std::string(b.kind == BlockKind::LoneID ? "L " : "D ") +
                             duplication::hex_offset(b.location) + " " + b.tag_class + " " + b.path);
        }
        EXPECT_EQ(actual, std::vector<std::string>(expected.begin(), expected.end()));
    }
}

TEST(PistolTableReferences, StoredAnimationCounts) {
    // fp\fp.antr: the last 20 counts are Translation + 176.
    const auto& fp = file_no(45).blocks;
    int n = 0;
    for (const auto& b : fp)
        if (b.kind == BlockKind::Reflexive && b.location >= 0xCA8) {
            EXPECT_EQ(b.count, b.translation + 176) << std::hex << b.location;
            ++n;
        }
    EXPECT_EQ(n, 20);
    // {name}.antr: the last three counts equal their Translations.
    const auto& a = file_no(5).blocks;
    ASSERT_EQ(a.size(), 7u);
    for (std::size_t i = 4; i < 7; ++i) EXPECT_EQ(a[i].count, a[i].translation);
    EXPECT_EQ(a[6].count, 1000u);
}

}  // namespace
