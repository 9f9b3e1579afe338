// The assault rifle's object table checked against independently typed facts:
// per-file paths, block and line counts, the effect shapes and references,
// the block values and targets, the totals, the purge and rename lists, and
// the files that are known byte for byte.

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

const ObjectTable& rifle() { return objects::table("assault_rifle"); }

duplication::RunText run(const std::string& name, const std::string& map = "Blood Gulch") {
    duplication::RunText r;
    r.map = map;
    r.new_name = name;
    return r;
}

std::string join_crlf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
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

std::string hex(std::uint32_t v) { return duplication::hex_offset(v); }

const std::string kOwn = "weapons\\{name}\\";

// ---------------------------------------------------------------- expected data

struct ExpectedFile {
    int no;
    const char* path;  // relative .xml path with {name}
    const char* cls;
    int d, l, r, vertex, index, lines;
};

// Every file but the effects, in writing order.
const ExpectedFile kFiles[] = {
    {1, R"({name}.coll.xml)", "coll", 0, 0, 13, 0, 0, 72},
    {2, R"({name}.mod2.xml)", "mod2", 9, 0, 18, 10, 20, 271},
    {3, R"({name}.weap.xml)", "weap", 20, 14, 9, 0, 0, 222},
    {4, R"({name}.wphi.xml)", "wphi", 4, 0, 4, 0, 0, 47},
    {5, R"(bullet.cont.xml)", "cont", 2, 0, 1, 0, 0, 22},
    {6, R"(bullet.jpt!.xml)", "jpt!", 0, 0, 0, 0, 0, 7},
    {7, R"(bullet.proj.xml)", "proj", 36, 0, 2, 0, 0, 197},
    {8, R"(flashlight_{name}.lens.xml)", "lens", 1, 0, 1, 0, 0, 17},
    {9, R"(melee.jpt!.xml)", "jpt!", 1, 0, 0, 0, 0, 12},
    {10, R"(melee_response.jpt!.xml)", "jpt!", 0, 0, 0, 0, 0, 7},
    {11, R"(muzzle flash.ligh.xml)", "ligh", 0, 0, 0, 0, 0, 7},
    {12, R"(trigger.jpt!.xml)", "jpt!", 0, 0, 0, 0, 0, 7},
    {13, R"(bitmaps\{name}_card.bitm.xml)", "bitm", 0, 1, 2, 0, 0, 22},
    {14, R"(bitmaps\{name}_card_multipurpose.bitm.xml)", "bitm", 0, 1, 2, 0, 0, 22},
    {15, R"(bitmaps\bolt.bitm.xml)", "bitm", 0, 1, 2, 0, 0, 22},
    {16, R"(bitmaps\tracer contrail.bitm.xml)", "bitm", 0, 1, 2, 0, 0, 22},
    {52, R"(fp\fp.antr.xml)", "antr", 3, 0, 31, 0, 0, 177},
    {53, R"(fp\fp.mod2.xml)", "mod2", 8, 0, 13, 8, 16, 217},
    {54, R"(fp\bitmaps\{name} multipurpose.bitm.xml)", "bitm", 0, 1, 2, 0, 0, 22},
    {55, R"(fp\bitmaps\{name}_fp.bitm.xml)", "bitm", 0, 1, 2, 0, 0, 22},
    {56, R"(fp\bitmaps\compass_plate.bitm.xml)", "bitm", 0, 8, 2, 0, 0, 57},
    {57, R"(fp\bitmaps\diffuse gunmetal.bitm.xml)", "bitm", 0, 1, 2, 0, 0, 22},
    {58, R"(fp\bitmaps\display multipurpose.bitm.xml)", "bitm", 0, 1, 2, 0, 0, 22},
    {59, R"(fp\bitmaps\display_fp.bitm.xml)", "bitm", 0, 1, 2, 0, 0, 22},
    {60, R"(fp\bitmaps\numbers_plate.bitm.xml)", "bitm", 0, 10, 2, 0, 0, 67},
    {61, R"(fp\shaders\ar data.schi.xml)", "schi", 1, 0, 1, 0, 0, 17},
    {62, R"(fp\shaders\compass.schi.xml)", "schi", 1, 0, 1, 0, 0, 17},
    {63, R"(fp\shaders\display.soso.xml)", "soso", 2, 0, 0, 0, 0, 17},
    {64, R"(fp\shaders\grip.soso.xml)", "soso", 3, 0, 0, 0, 0, 22},
    {65, R"(fp\shaders\gun.soso.xml)", "soso", 3, 0, 0, 0, 0, 22},
    {66, R"(fp\shaders\icons.schi.xml)", "schi", 1, 0, 1, 0, 0, 17},
    {67, R"(fp\shaders\numbers.schi.xml)", "schi", 1, 0, 1, 0, 0, 17},
    {68, R"(shaders\ar lod.soso.xml)", "soso", 3, 0, 0, 0, 0, 22},
    {69, R"(shaders\bolt.schi.xml)", "schi", 2, 0, 1, 0, 0, 22},
};

struct ExpectedEffect {
    int no;
    const char* name;
    unsigned h;
    const char* groups;  // "refs+particles" per group
    int r, d, lines;
    const char* refs;    // reference chunks in order, "" for none
};

const ExpectedEffect kEffects[] = {
    {17, "empty", 1, "1+0", 3, 1, 27, "sound dryfire"},
    {18, "fire bullet", 3, "0+6, 2+8, 0+6, 0+4", 7, 26, 172, "sound fire, sound eject"},
    {19, "flashlight", 1, "1+0", 3, 1, 27, "sound flashlight"},
    {20, "impact armored skin", 3, "2+3, 0+6", 5, 11, 87, "sound fleshhit, decal blood splat"},
    {21, "impact c shield", 1, "0+1, 0+1", 4, 2, 37, ""},
    {22, "impact cyborg armor", 4, "3+4, 0+1", 5, 8, 72,
     "decal blood splat small, sound metalhit, decal blood splat"},
    {23, "impact cyborg shield", 1, "0+14, 0+11", 4, 25, 152, ""},
    {24, "impact dirt", 2, "2+2, 0+1", 5, 5, 57, "sound dirthits, decal dirt pistol"},
    {25, "impact elite armored skin", 4, "3+2, 0+5, 0+5", 6, 15, 112,
     "sound fleshhit, decal blood elite splat, decal blood elite splat"},
    {26, "impact engineer force field", 1, "0+11, 0+11", 4, 22, 137, ""},
    {27, "impact engineer sack", 2, "0+3, 0+4", 4, 7, 62, ""},
    {28, "impact floodcarrier", 3, "2+1, 0+4, 0+1", 6, 8, 77, "sound fleshhit, decal blood hunter splat"},
    {29, "impact floodcombat elite", 2, "0+5, 0+2", 4, 7, 62, ""},
    {30, "impact glass", 2, "2+3, 0+1", 5, 6, 62, "sound glass_hits, decal unbreakable glass"},
    {31, "impact grass", 1, "0+1", 3, 1, 27, ""},
    {32, "impact grunt", 3, "2+2, 0+5, 0+5", 6, 14, 107, "sound fleshhit, decal blood grunt splat"},
    {33, "impact h skin", 3, "3+1, 0+5, 0+1", 6, 10, 87,
     "sound fleshhit, decal blood splat, decal blood splat"},
    {34, "impact hunter shield", 3, "3+4, 0+1", 5, 8, 72,
     "decal blood splat small, decal metal, sound bullet_ricc"},
    {35, "impact hunter skin", 3, "3+2, 0+3, 0+1", 6, 9, 82,
     "sound fleshhit, decal blood hunter glow splat, decal blood hunter splat"},
    {36, "impact ice", 2, "2+2", 4, 4, 47, "decal impact ice, sound ice_hits"},
    {37, "impact jackal shield", 1, "2+1, 0+1", 5, 4, 52, "sound bullet_ricc, sound hits"},
    {38, "impact metal hollow reflect", 2, "2+4, 0+1", 5, 7, 67, "decal metal, sound metalhit"},
    {39, "impact metal hunter", 1, "1+4, 0+1", 5, 6, 62, "sound metalhit"},
    {40, "impact metal reflect", 2, "2+4, 0+1", 5, 7, 67, "decal metal, sound metalhit"},
    {41, "impact metal thick reflect", 3, "3+4, 0+1", 5, 8, 72,
     "decal blood splat small, decal metal, sound metalhit"},
    {42, "impact metal thin reflect", 2, "2+4, 0+1", 5, 7, 67, "decal metal, sound metalhit"},
    {43, "impact monitor", 2, "0+3, 0+1", 4, 4, 47, ""},
    {44, "impact plastic", 1, "0+3, 0+1", 4, 4, 47, ""},
    {45, "impact rubber pen", 1, "0+2", 3, 2, 32, ""},
    {46, "impact sand", 2, "2+2", 4, 4, 47, "sound dirthits, decal dirt pistol"},
    {47, "impact sentinel", 2, "0+4, 0+1", 4, 5, 52, ""},
    {48, "impact snow", 2, "2+3", 4, 5, 52, "sound snow_hits, decal snow"},
    {49, "impact stone", 2, "2+5, 0+1", 5, 8, 72, "decal stone, sound granhit"},
    {50, "impact water pen", 3, "1+3", 4, 4, 47, "sound ar_water"},
    {51, "impact wood", 1, "1+4, 0+1", 5, 6, 62, "sound woodhit"},
};

// "sound fleshhit" / "decal metal" -> class and full tag path.
std::pair<std::string, std::string> reference(const std::string& item) {
    const auto blank = item.find(' ');
    const std::string what = item.substr(0, blank), name = item.substr(blank + 1);
    if (what == "decal")
        return {"deca", (name.rfind("blood", 0) == 0 ? R"(effects\decals\blood splats\)"
                                                     : R"(effects\decals\bullet holes\)") + name};
    if (name == "dryfire" || name == "fire" || name == "flashlight")
        return {"snd!", R"(sound\sfx\weapons\assault rifle\)" + name};
    if (name == "eject") return {"snd!", R"(sound\sfx\weapons\pistol\eject)"};
    if (name == "hits") return {"snd!", R"(sound\sfx\weapons\shield fx\hits)"};
    return {"snd!", R"(sound\sfx\impulse\impacts\)" + name};
}

std::vector<std::string> split(const std::string& s, const std::string& sep) {
    std::vector<std::string> out;
    if (s.empty()) return out;
    for (std::size_t from = 0;;) {
        const auto at = s.find(sep, from);
        out.push_back(s.substr(from, at - from));
        if (at == std::string::npos) return out;
        from = at + sep.size();
    }
}

// Block values in the form "R a/b/c D a L a; VertexBlock: l/t ...; IndexBlock: l/t ...".
std::string values(const FileEntry& f) {
    std::string s;
    for (const auto& b : f.blocks) {
        if (!s.empty()) s += ' ';
        if (b.kind == BlockKind::Reflexive)
            s += "R " + hex(b.location) + "/" + hex(b.translation) + "/" + std::to_string(b.count);
        else
            s += (b.kind == BlockKind::Dependency ? "D " : "L ") + hex(b.location);
    }
    if (f.has_assets()) {
        s += "; VertexBlock:";
        for (const auto& c : f.vertex_corrections) s += " " + hex(c.location) + "/" + hex(c.translation);
        s += "; IndexBlock:";
        for (const auto& c : f.index_corrections) s += " " + hex(c.location) + "/" + hex(c.translation);
    }
    return s;
}

// Targets of the Dependency and LoneID blocks, "own " standing for the own tag folder.
std::vector<std::string> targets(const FileEntry& f) {
    std::vector<std::string> out;
    for (const auto& b : f.blocks) {
        if (b.kind == BlockKind::Reflexive) continue;
        std::string p = b.path;
        if (p.rfind(kOwn, 0) == 0) p = "own " + p.substr(kOwn.size());
        out.push_back(p + " (" + b.tag_class + ")");
    }
    return out;
}

// ---------------------------------------------------------------- header, lists

TEST(AssaultRifleTable, HeaderAndTexts) {
    const ObjectTable& t = rifle();
    EXPECT_EQ(t.kind, "assault rifle");
    EXPECT_EQ(t.caption, "Assault Rifle");
    EXPECT_EQ(t.tag_folder, "weapons");
    EXPECT_EQ(t.stock_name, "assault rifle");
    EXPECT_EQ(t.xml_confirmation, "All XML files created successfully");
    EXPECT_FALSE(t.interim_notice);
    EXPECT_FALSE(t.unload_on_error);
    EXPECT_EQ(t.success_text(), "The assault rifle has successfully been duplicated to");
    EXPECT_EQ(t.success_message("m 4"), "The assault rifle has successfully been duplicated to \"m 4\"");
}

TEST(AssaultRifleTable, PurgeList) {
    const std::vector<std::string> purge = {".", "bitmaps", "effects", "fp",
                                            R"(fp\bitmaps)", R"(fp\shaders)", "shaders"};
    EXPECT_EQ(rifle().purge, purge);
}

TEST(AssaultRifleTable, RenameListInItsOwnOrder) {
    const std::pair<const char*, const char*> expected[] = {
        {R"(fp\bitmaps\assault rifle multipurpose.bitm.meta)", R"(fp\bitmaps\{name} multipurpose.bitm.meta)"},
        {R"(fp\bitmaps\assault rifle_fp.bitm.meta)", R"(fp\bitmaps\{name}_fp.bitm.meta)"},
        {R"(bitmaps\assault rifle_card.bitm.meta)", R"(bitmaps\{name}_card.bitm.meta)"},
        {R"(bitmaps\assault rifle_card_multipurpose.bitm.meta)", R"(bitmaps\{name}_card_multipurpose.bitm.meta)"},
        {"assault rifle.coll.meta", "{name}.coll.meta"},
        {"assault rifle.mod2.meta", "{name}.mod2.meta"},
        {"assault rifle.weap.meta", "{name}.weap.meta"},
        {"assault rifle.wphi.meta", "{name}.wphi.meta"},
        {"flashlight_assault rifle.lens.meta", "flashlight_{name}.lens.meta"},
    };
    const auto& r = rifle().renames;
    ASSERT_EQ(r.size(), std::size(expected));
    for (std::size_t i = 0; i < r.size(); ++i) {
        EXPECT_EQ(r[i].from, expected[i].first) << i;
        EXPECT_EQ(r[i].to, expected[i].second) << i;
    }
    EXPECT_EQ(duplication::with_name(r[8].to, "ar2"), "flashlight_ar2.lens.meta");
    // Exactly the own tags whose file names carry the new name.
    std::set<std::string> renamed, named;
    for (const auto& p : r) renamed.insert(p.to.substr(0, p.to.size() - 5));  // less ".meta"
    for (const auto& f : rifle().files)
        if (f.rel_path.find("{name}") != std::string::npos) named.insert(f.rel_path + "." + f.tag_class);
    EXPECT_EQ(renamed, named);
}

// ---------------------------------------------------------------- files

TEST(AssaultRifleTable, FileNumbersFollowTheWritingOrder) {
    const auto& files = rifle().files;
    ASSERT_EQ(files.size(), 69u);
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(files[i].number, static_cast<int>(i) + 1);
}

TEST(AssaultRifleTable, PathsBlockCountsAndLinesPerFile) {
    for (const std::string name : {"magnum", "m 4"}) {
        for (const auto& e : kFiles) {
            SCOPED_TRACE("file " + std::to_string(e.no) + " as " + name);
            const FileEntry& f = file_no(e.no);
            EXPECT_EQ(f.tag_class, e.cls);
            EXPECT_EQ(duplication::xml_rel_path(f, name), subst(e.path, name));
            EXPECT_EQ(count(f, BlockKind::Dependency), e.d);
            EXPECT_EQ(count(f, BlockKind::LoneID), e.l);
            EXPECT_EQ(count(f, BlockKind::Reflexive), e.r);
            EXPECT_EQ(static_cast<int>(f.vertex_corrections.size()), e.vertex);
            EXPECT_EQ(static_cast<int>(f.index_corrections.size()), e.index);
            EXPECT_EQ(static_cast<int>(duplication::file_lines(rifle(), f, run(name)).size()), e.lines);
        }
        for (const auto& e : kEffects) {
            SCOPED_TRACE("effect " + std::to_string(e.no) + " as " + name);
            const FileEntry& f = file_no(e.no);
            EXPECT_EQ(f.tag_class, "effe");
            EXPECT_EQ(duplication::xml_rel_path(f, name), std::string("effects\\") + e.name + ".effe.xml");
            EXPECT_EQ(duplication::own_tag_path(rifle(), f, name),
                      "weapons\\" + name + "\\effects\\" + e.name);
            EXPECT_EQ(static_cast<int>(duplication::file_lines(rifle(), f, run(name)).size()), e.lines);
        }
    }
}

TEST(AssaultRifleTable, EffectShapesAndReferences) {
    for (const auto& e : kEffects) {
        SCOPED_TRACE(e.name);
        const FileEntry& f = file_no(e.no);
        EXPECT_EQ(count(f, BlockKind::Reflexive), e.r);
        EXPECT_EQ(count(f, BlockKind::Dependency), e.d);
        EXPECT_EQ(count(f, BlockKind::LoneID), 0);
        ASSERT_GE(f.blocks.size(), 2u);
        // Head list and group list, then one sublist per non-empty part of a group.
        EXPECT_EQ(f.blocks[0].location, 0x2Cu);
        EXPECT_EQ(f.blocks[0].count, e.h);
        EXPECT_EQ(f.blocks[1].location, 0x38u);
        const auto groups = split(e.groups, ", ");
        EXPECT_EQ(f.blocks[1].count, groups.size());
        std::map<std::uint32_t, std::uint32_t> sublists;  // Location -> ChunkCount
        for (std::size_t i = 2; i < f.blocks.size(); ++i)
            if (f.blocks[i].kind == BlockKind::Reflexive) sublists[f.blocks[i].location] = f.blocks[i].count;
        std::string shape;
        for (std::size_t k = 0; k < groups.size(); ++k) {
            const std::uint32_t start = 0x40 + 32 * e.h + 68 * static_cast<std::uint32_t>(k);
            shape += (k ? ", " : "") + std::to_string(sublists[start + 0x30]) + "+" +
                     std::to_string(sublists[start + 0x3C]);
        }
        EXPECT_EQ(shape, e.groups);
        // Reference chunks in chunk order; every other Dependency is a particle.
        std::vector<std::pair<std::string, std::string>> refs;
        for (const auto& b : f.blocks) {
            if (b.kind != BlockKind::Dependency) continue;
            if (b.tag_class == "part") {
                EXPECT_EQ(b.path.rfind(R"(effects\particles\)", 0), 0u) << b.path;
            } else {
                refs.emplace_back(b.tag_class, b.path);
            }
        }
        std::vector<std::pair<std::string, std::string>> want;
        for (const auto& item : split(e.refs, ", ")) want.push_back(reference(item));
        EXPECT_EQ(refs, want);
    }
}

TEST(AssaultRifleTable, Totals) {
    int lines = 0, effect_lines = 0, d = 0, l = 0, r = 0, effect_d = 0, effect_r = 0;
    std::map<std::string, int> effect_classes;
    std::set<std::string> outside;
    for (const auto& f : rifle().files) {
        const int n = static_cast<int>(duplication::file_lines(rifle(), f, run("magnum")).size());
        lines += n;
        if (f.tag_class == "effe") {
            effect_lines += n;
            effect_d += count(f, BlockKind::Dependency);
            effect_r += count(f, BlockKind::Reflexive);
            for (const auto& b : f.blocks)
                if (b.kind == BlockKind::Dependency) {
                    ++effect_classes[b.tag_class];
                    outside.insert(b.path);
                }
        } else {
            d += count(f, BlockKind::Dependency);
            l += count(f, BlockKind::LoneID);
            r += count(f, BlockKind::Reflexive);
        }
    }
    EXPECT_EQ(lines, 4187);
    EXPECT_EQ(lines - effect_lines, 1777);
    EXPECT_EQ(d, 101);
    EXPECT_EQ(l, 41);
    EXPECT_EQ(r, 119);
    EXPECT_EQ(effect_r, 162);
    EXPECT_EQ(effect_d, 271);
    EXPECT_EQ(effect_classes, (std::map<std::string, int>{{"deca", 24}, {"part", 220}, {"snd!", 27}}));
    EXPECT_EQ(outside.size(), 78u);
    for (const auto& p : outside) EXPECT_NE(p.rfind("weapons\\", 0), 0u) << p;
}

TEST(AssaultRifleTable, ParticleUsage) {
    const std::string smoke = R"(effects\particles\air\smoke impact)";
    const std::string sparks = R"(effects\particles\energy\shield jackal sparks)";
    const std::string shield = R"(effects\particles\flash\flash h shield impact)";
    int smoke_blocks = 0, smoke_files = 0, shield_files = 0;
    std::map<int, int> sparks_by_file;
    std::set<std::string> particles, sounds, decals;
    for (const auto& f : rifle().files) {
        if (f.tag_class != "effe") continue;
        int s = 0, sh = 0;
        for (const auto& b : f.blocks) {
            if (b.kind != BlockKind::Dependency) continue;
            (b.tag_class == "part" ? particles : b.tag_class == "snd!" ? sounds : decals).insert(b.path);
            s += b.path == smoke;
            sh += b.path == shield;
            if (b.path == sparks) ++sparks_by_file[f.number];
        }
        smoke_blocks += s;
        smoke_files += s > 0;
        if (sh) {
            ++shield_files;
            EXPECT_EQ(sh, 1) << f.rel_path;
        }
    }
    EXPECT_EQ(particles.size(), 51u);
    EXPECT_EQ(sounds.size(), 15u);
    EXPECT_EQ(decals.size(), 12u);
    EXPECT_EQ(smoke_blocks, 32);
    EXPECT_EQ(smoke_files, 21);
    EXPECT_EQ(shield_files, 23);
    EXPECT_EQ(sparks_by_file, (std::map<int, int>{{23, 24}}));

    // The largest effect: 26 blocks on 8 tags, as counted per particle.
    std::map<std::string, int> fire;
    for (const auto& b : file_no(18).blocks)
        if (b.kind == BlockKind::Dependency) ++fire[b.path];
    EXPECT_EQ(fire.size(), 8u);
    EXPECT_EQ(fire[R"(effects\particles\flash\flash h ar)"], 14);
    EXPECT_EQ(fire[R"(effects\particles\flash\flash h ar center)"], 2);
    EXPECT_EQ(fire[R"(effects\particles\air\smoke rifle water)"], 2);
    EXPECT_EQ(fire[R"(effects\particles\air\bubbles)"], 4);
    EXPECT_EQ(fire[R"(effects\particles\solid\casing h ar bullet)"], 1);
    EXPECT_EQ(fire[R"(effects\particles\air\smoke h fp)"], 1);
    // Its particle sublists start where the chunks before them end.
    std::vector<std::uint32_t> starts;
    for (std::uint32_t k = 0; k < 4; ++k)
        for (const auto& b : file_no(18).blocks)
            if (b.kind == BlockKind::Reflexive && b.location == 0x40 + 3 * 32 + 68 * k + 0x3C)
                starts.push_back(b.translation);
    EXPECT_EQ(starts, (std::vector<std::uint32_t>{0x1B0, 0x7F0, 0xF30, 0x14A0}));
    std::map<std::string, int> cyborg;
    for (const auto& b : file_no(23).blocks)
        if (b.kind == BlockKind::Dependency) ++cyborg[b.path];
    EXPECT_EQ(cyborg.size(), 2u);
}

// Particle chunks per group, "x N" for N consecutive chunks naming one tag;
// names are below effects\particles\.
TEST(AssaultRifleTable, ParticleChunksPerGroup) {
    const std::pair<int, const char*> expected[] = {
        {18, R"(group 0: flash\flash h ar x 6; group 1: flash\flash h ar center, air\smoke rifle water, air\bubbles, solid\casing h ar bullet, air\bubbles, flash\flash h ar x 2, air\smoke h fp; group 2: flash\flash h ar x 6; group 3: flash\flash h ar center, air\smoke rifle water, air\bubbles x 2)"},
        {20, R"(group 0: flash\sparks trail, air\smoke impact, flash\flash h shield impact; group 1: solid\blood h impact burst, solid\metal chips, solid\blood h impact mist, solid\blood h impact mist med, solid\blood h impact mist small, solid\blood engineer trails)"},
        {21, R"(group 0: energy\shield c generic; group 1: flash\flash h shield impact)"},
        {22, R"(group 0: flash\sparks impact, flash\sparks trail, air\smoke impact, flash\flash h shield impact; group 1: air\smoke impact)"},
        {23, R"(group 0: energy\shield jackal sparks, energy\flash c generic, energy\shield jackal sparks x 12; group 1: energy\shield jackal sparks x 11)"},
        {24, R"(group 0: air\dirt animated kick, air\dirt animated dust; group 1: air\bubbles)"},
        {25, R"(group 0: air\smoke impact, flash\flash h shield impact; group 1: solid\blood elite impact burst, solid\blood elite impact mist, solid\blood elite impact mist med, solid\blood elite impact mist small, solid\blood engineer trails; group 2: solid\blood elite impact burst, solid\blood elite impact mist, solid\blood elite impact mist med, solid\blood elite impact mist small, solid\snow burst)"},
        {26, R"(group 0: flash\flash h generic med x 11; group 1: energy\shield jackal bolt x 11)"},
        {27, R"(group 0: solid\blood engineer trails, air\smoke impact, flash\flash h shield impact; group 1: air\smoke impact, solid\snow impact, flash\flash h generic med, air\bubbles fizz floodcombat)"},
        {28, R"(group 0: air\smoke impact; group 1: flash\flash h shield impact, solid\blood engineer trails, solid\blood bits hunter, solid\blood generic impact burst; group 2: air\smoke h generic still)"},
        {29, R"(group 0: air\smoke impact, flash\flash h shield impact, solid\blood bits floodcombat elite, solid\debris floodcombat scabs, flash\flash h generic med; group 1: air\smoke h generic animated, flash\flash h generic med)"},
        {30, R"(group 0: flash\flash h shield impact, solid\metal chips, lens flare\flare h stealth cannon; group 1: air\smoke impact)"},
        {31, R"(group 0: solid\grass impact)"},
        {32, R"(group 0: air\smoke impact, flash\flash h shield impact; group 1: solid\blood generic impact burst, solid\blood generic impact mist, solid\blood generic impact mist med, solid\blood generic impact mist small, solid\blood engineer trails; group 2: solid\blood generic impact burst, solid\blood generic impact mist, solid\blood generic impact mist med, solid\blood generic impact mist small, solid\snow burst)"},
        {33, R"(group 0: air\smoke impact; group 1: solid\blood h impact burst, solid\blood h impact mist, solid\blood h impact mist med, solid\blood h impact mist small, solid\blood engineer trails; group 2: air\smoke residual)"},
        {34, R"(group 0: flash\sparks impact, flash\sparks trail, air\smoke impact, flash\flash h shield impact; group 1: air\smoke impact)"},
        {35, R"(group 0: air\smoke impact, solid\blood bits hunter; group 1: flash\flash h shield impact, solid\blood engineer trails, solid\blood generic impact burst; group 2: air\smoke h generic still)"},
        {36, R"(group 0: solid\ice, flash\flash h shield impact)"},
        {37, R"(group 0: energy\shield c generic; group 1: flash\flash h shield impact)"},
        {38, R"(group 0: flash\sparks impact, flash\sparks trail, air\smoke impact, flash\flash h shield impact; group 1: air\smoke impact)"},
        {39, R"(group 0: flash\sparks impact, flash\sparks trail, air\smoke impact, flash\flash h shield impact; group 1: air\smoke impact)"},
        {40, R"(group 0: flash\sparks impact, flash\sparks trail, air\smoke impact, flash\flash h shield impact; group 1: air\smoke impact)"},
        {41, R"(group 0: flash\sparks impact, flash\sparks trail, air\smoke impact, flash\flash h shield impact; group 1: air\smoke impact)"},
        {42, R"(group 0: flash\sparks impact, flash\sparks trail, air\smoke impact, flash\flash h shield impact; group 1: air\smoke impact)"},
        {43, R"(group 0: flash\sparks impact, air\smoke impact, flash\flash h shield impact; group 1: air\smoke impact)"},
        {44, R"(group 0: flash\flash h shield impact, solid\metal chips, lens flare\flare h stealth cannon; group 1: air\smoke impact)"},
        {45, R"(group 0: air\smoke h generic animated, solid\rubber impact)"},
        {46, R"(group 0: air\sand impact burst, air\dirt animated dust)"},
        {47, R"(group 0: flash\sparks impact, air\smoke impact, flash\flash h shield impact, lens flare\flare h stealth cannon; group 1: air\smoke impact)"},
        {48, R"(group 0: solid\snow bunch, solid\snow burst, solid\snow impact)"},
        {49, R"(group 0: flash\sparks impact, flash\sparks trail, air\smoke impact, flash\flash h shield impact, solid\gravel small; group 1: air\smoke impact)"},
        {50, R"(group 0: solid\water ripple, solid\water burst small, solid\water burst)"},
        {51, R"(group 0: flash\flash h shield impact, solid\gravel small, solid\wood impact, lens flare\flare h stealth cannon; group 1: air\smoke impact)"},
    };
    const std::string prefix = R"(effects\particles\)";
    for (const auto& [no, want] : expected) {
        const FileEntry& f = file_no(no);
        std::map<std::uint32_t, const Block*> at;
        for (const auto& b : f.blocks) at[b.location] = &b;
        const std::uint32_t h = f.blocks[0].count, g = f.blocks[1].count;
        std::string text;
        for (std::uint32_t k = 0; k < g; ++k) {
            const auto sub = at.find(0x40 + 32 * h + 68 * k + 0x3C);
            if (sub == at.end()) continue;
            std::vector<std::string> names;
            for (std::uint32_t i = 0; i < sub->second->count; ++i) {
                const auto d = at.find(sub->second->translation + 232 * i + 0x60);
                ASSERT_NE(d, at.end()) << "file " << no << " group " << k << " chunk " << i;
                EXPECT_EQ(d->second->tag_class, "part");
                ASSERT_EQ(d->second->path.rfind(prefix, 0), 0u) << d->second->path;
                names.push_back(d->second->path.substr(prefix.size()));
            }
            text += (text.empty() ? "group " : "; group ") + std::to_string(k) + ": ";
            for (std::size_t i = 0; i < names.size();) {
                std::size_t j = i;
                while (j < names.size() && names[j] == names[i]) ++j;
                text += (i ? ", " : "") + names[i] + (j - i > 1 ? " x " + std::to_string(j - i) : "");
                i = j;
            }
        }
        EXPECT_EQ(text, want) << "file " << no;
    }
}

// ---------------------------------------------------------------- block values

TEST(AssaultRifleTable, ValuesOfTheLargeFiles) {
    const std::pair<int, const char*> expected[] = {
        {1, "R 0x238/0x298/1 R 0x244/0x2E0/1 R 0x290/0x354/3 R 0x32C/0x334/1 R 0x38C/0x414/1 "
            "R 0x418/0x474/40 R 0x424/0x654/24 R 0x430/0x7D4/30 R 0x43C/0x8C4/41 R 0x448/0xA0C/3 "
            "R 0x454/0xA48/26 R 0x460/0xB80/46 R 0x46C/0xFD0/22"},
        {2, "R 0xB0/0xE8/9 R 0xBC/0x448/3 R 0xC8/0x61C/1 R 0xD4/0x6C0/3 R 0xE0/0xC78/9 "
            "R 0x120/0x328/1 R 0x160/0x348/1 R 0x1A0/0x368/1 R 0x1E0/0x388/1 R 0x220/0x3A8/1 "
            "R 0x260/0x3C8/1 R 0x2A0/0x3E8/1 R 0x2E0/0x408/1 R 0x320/0x428/1 R 0x660/0x668/1 "
            "R 0x6E8/0x750/8 R 0x718/0xB70/1 R 0x748/0xBF4/1 D 0xC84 D 0xCA4 D 0xCC4 D 0xCE4 "
            "D 0xD04 D 0xD24 D 0xD44 D 0xD64 D 0xD84; VertexBlock: 0x7B4/0xB9AC 0x838/0x4D4C "
            "0x8BC/0x4AE8 0x940/0x4950 0x9C4/0x4840 0xA48/0x46A8 0xACC/0x4598 0xB50/0x4400 "
            "0xBD4/0xF68 0xC58/0x0; IndexBlock: 0x79C/0x898 0x7A0/0x898 0x820/0x38C 0x824/0x38C "
            "0x8A4/0x36C 0x8A8/0x36C 0x928/0x358 0x92C/0x358 0x9AC/0x34C 0x9B0/0x34C 0xA30/0x340 "
            "0xA34/0x340 0xAB4/0x334 0xAB8/0x334 0xB38/0x328 0xB3C/0x328 0xBBC/0xBC 0xBC0/0xBC "
            "0xC40/0x0 0xC44/0x0"},
        {3, "D 0x34 D 0x7C R 0x144/0x508/2 R 0x150/0x598/1 R 0x15C/0x5B8/4 R 0x174/0xB58/8 "
            "D 0x254 D 0x264 D 0x3A0 D 0x3B0 D 0x42C D 0x43C D 0x468 D 0x478 D 0x48C D 0x49C "
            "R 0x4E8/0xB98/6 R 0x4F4/0xBC8/1 R 0x500/0xC54/1 D 0x514 D 0x55C D 0x5A4 L 0xB5C "
            "L 0xB64 L 0xB6C L 0xB74 L 0xB7C L 0xB84 L 0xB8C L 0xB94 L 0xB9C L 0xBA4 L 0xBAC "
            "L 0xBB4 L 0xBBC L 0xBC4 R 0xC30/0xC38/1 D 0xC50 D 0xCF4 R 0xD60/0xD68/1 D 0xD98 "
            "D 0xDB8 D 0xDC8"},
        {4, "D 0xC R 0x64/0x17C/1 R 0x70/0x230/1 R 0x88/0x2E4/1 D 0x1D0 D 0x284 D 0x314 "
            "R 0x31C/0x34C/1"},
        {5, "D 0x3C R 0x13C/0x144/2 D 0x160"},
        {8, "D 0x2C R 0xC8/0xF0/2"},
        {9, "D 0x120"},
        {52, "R 0x4C/0x80/1 R 0x58/0xC0/3 R 0x6C/0xFC/42 R 0x78/0xB7C/13 R 0x94/0x9C/17 D 0xCC "
             "D 0xE0 D 0xF4 R 0xC14/0x14A0/5404 R 0xC28/0x1818/6292 R 0xCC8/0x21F0/8812 "
             "R 0xCDC/0x25B0/9772 R 0xD7C/0x34B0/13612 R 0xD90/0x3818/14484 R 0xE30/0x4670/18156 "
             "R 0xE44/0x4950/18892 R 0xEE4/0x70A0/28956 R 0xEF8/0x746C/29928 R 0xF98/0x7814/30864 "
             "R 0xFAC/0x7BBC/31800 R 0x104C/0x7E44/32448 R 0x1060/0x81FC/33400 "
             "R 0x1100/0x9BCC/40008 R 0x1114/0x9F84/40960 R 0x11B4/0xA1EC/41576 "
             "R 0x11C8/0xA550/42444 R 0x1268/0xB52C/46504 R 0x127C/0xB838/47284 "
             "R 0x131C/0x105B4/67120 R 0x1330/0x108CC/67912 R 0x13D0/0x15234/86704 "
             "R 0x13E4/0x15528/87460 R 0x1484/0x19134/102832 R 0x1498/0x1948C/103688"},
        {53, "R 0xB0/0xE8/6 R 0xBC/0x328/5 R 0xC8/0x634/1 R 0xD4/0x6D8/1 R 0xE0/0xB28/8 "
             "R 0x120/0x268/1 R 0x160/0x288/1 R 0x1A0/0x2A8/1 R 0x1E0/0x2C8/1 R 0x220/0x2E8/1 "
             "R 0x260/0x308/1 R 0x678/0x680/1 R 0x700/0x708/8 D 0xB34 D 0xB54 D 0xB74 D 0xB94 "
             "D 0xBB4 D 0xBD4 D 0xBF4 D 0xC14; VertexBlock: 0x76C/0x1161C 0x7F0/0xF68 0x874/0xDD0 "
             "0x8F8/0xC38 0x97C/0xB28 0xA00/0xA18 0xA84/0x484 0xB08/0x0; IndexBlock: 0x754/0xDE8 "
             "0x758/0xDE8 0x7D8/0xBC 0x7DC/0xBC 0x85C/0xA8 0x860/0xA8 0x8E0/0x9C 0x8E4/0x9C "
             "0x964/0x90 0x968/0x90 0x9E8/0x84 0x9EC/0x84 0xA6C/0x3C 0xA70/0x3C 0xAF0/0x0 0xAF4/0x0"},
    };
    for (const auto& [no, text] : expected) EXPECT_EQ(values(file_no(no)), text) << "file " << no;

    // The animation's large chunk counts are its Translations plus 124.
    const auto& anim = file_no(52).blocks;
    for (std::size_t i = 8; i < anim.size(); ++i) EXPECT_EQ(anim[i].count, anim[i].translation + 124) << i;
}

TEST(AssaultRifleTable, ValuesThatFollowARule) {
    for (const int no : {13, 14, 15, 16, 54, 55, 56, 57, 58, 59, 60}) {
        const std::uint32_t n = no == 56 ? 8 : no == 60 ? 10 : 1;
        std::string want = "R 0x58/0x6C/1 R 0x64/0xAC/" + std::to_string(n);
        for (std::uint32_t k = 0; k < n; ++k) want += " L " + hex(0xCC + 0x30 * k);
        EXPECT_EQ(values(file_no(no)), want) << "file " << no;
    }
    for (const int no : {61, 62, 66, 67}) EXPECT_EQ(values(file_no(no)), "R 0x58/0x6C/1 D 0xE4") << no;
    EXPECT_EQ(values(file_no(69)), "R 0x58/0x6C/2 D 0xE4 D 0x1C0");
    EXPECT_EQ(values(file_no(63)), "D 0xB0 D 0xC8");
    for (const int no : {64, 65, 68}) EXPECT_EQ(values(file_no(no)), "D 0xB0 D 0xC8 D 0x170") << no;
    for (const int no : {6, 10, 11, 12}) EXPECT_TRUE(file_no(no).blocks.empty()) << no;

    std::string bullet = "R 0x144/0x24C/1 D 0x210 D 0x230 R 0x244/0x294/33 D 0x258";
    for (std::uint32_t k = 0; k < 33; ++k) bullet += " D " + hex(0x2A4 + 0xA0 * k);
    EXPECT_EQ(values(file_no(7)), bullet);
}

TEST(AssaultRifleTable, ReferenceTargets) {
    using V = std::vector<std::string>;
    const std::pair<int, V> expected[] = {
        {2, {R"(own shaders\ar lod (soso))", R"(own fp\shaders\grip (soso))", R"(own fp\shaders\gun (soso))",
             R"(own fp\shaders\display (soso))", R"(own fp\shaders\compass (schi))",
             R"(own fp\shaders\numbers (schi))", R"(own fp\shaders\ar data (schi))",
             R"(own fp\shaders\numbers (schi))", R"(own shaders\bolt (schi))"}},
        {3, {R"(own fp\fp (mod2))", R"(own {name} (coll))",
             R"(sound\sfx\impulse\material_effects\weapon (foot))",
             R"(sound\sfx\impulse\weapon_drops\assault_impact (snd!))", R"(own melee (jpt!))",
             R"(own melee_response (jpt!))", R"(own effects\flashlight (effe))",
             R"(own effects\flashlight (effe))", R"(own fp\fp (mod2))", R"(own fp\fp (antr))",
             R"(own {name} (wphi))", R"(sound\sfx\weapons\weapon_pickup_ammo\ar_ammo (snd!))",
             R"(own muzzle flash (ligh))", R"(characters\marine_armored\flashlight_marine (ligh))",
             R"(characters\marine_armored\flashlight_marine (mgs2))",
             R"(own bitmaps\{name}_card (bitm))", R"(own bitmaps\{name}_card_multipurpose (bitm))",
             R"(vehicles\warthog\bitmaps\reflection diffuse metal (bitm))",
             R"(own fp\bitmaps\{name}_fp (bitm))", R"(own fp\bitmaps\{name} multipurpose (bitm))",
             R"(own fp\bitmaps\diffuse gunmetal (bitm))", R"(own fp\bitmaps\display_fp (bitm))",
             R"(own fp\bitmaps\display multipurpose (bitm))", R"(own fp\bitmaps\{name}_fp (bitm))",
             R"(own fp\bitmaps\{name} multipurpose (bitm))", R"(own fp\bitmaps\diffuse gunmetal (bitm))",
             R"(vehicles\warthog\bitmaps\reflection diffuse metal (bitm))",
             R"(own fp\bitmaps\display_fp (bitm))", R"(own fp\bitmaps\display multipurpose (bitm))",
             R"(powerups\assault rifle ammo\assault rifle ammo (eqip))", R"(own bullet (proj))",
             R"(own effects\fire bullet (effe))", R"(own effects\empty (effe))", R"(own trigger (jpt!))"}},
        {4, {R"(ui\hud\master rounds (wphi))", R"(ui\hud\bitmaps\combined\hud_ammo_alphas (bitm))",
             R"(ui\hud\bitmaps\combined\hud_ammo_meters (bitm))",
             R"(ui\hud\bitmaps\combined\hud_reticles (bitm))"}},
        {5, {R"(own bitmaps\tracer contrail (bitm))", R"(effects\point physics\cold smoke cloud (pphy))"}},
        {8, {R"(effects\particles\lens flare\bitmaps\flares_generic (bitm))"}},
        {9, {R"(sound\sfx\impulse\melee\assault_impact (snd!))"}},
        {52, {R"(sound\sfx\weapons\weapon_anims\ar_reload (snd!))",
              R"(sound\sfx\weapons\weapon_anims\ar_melee (snd!))",
              R"(sound\sfx\weapons\assault rifle\weapon ready (snd!))"}},
        {53, {R"(own fp\shaders\grip (soso))", R"(own fp\shaders\gun (soso))",
              R"(own fp\shaders\compass (schi))", R"(own fp\shaders\ar data (schi))",
              R"(own fp\shaders\numbers (schi))", R"(own fp\shaders\numbers (schi))",
              R"(own fp\shaders\icons (schi))", R"(own fp\shaders\display (soso))"}},
        {61, {R"(own fp\bitmaps\display_fp (bitm))"}},
        {62, {R"(own fp\bitmaps\compass_plate (bitm))"}},
        {63, {R"(own fp\bitmaps\display_fp (bitm))", R"(own fp\bitmaps\display multipurpose (bitm))"}},
        {64, {R"(own fp\bitmaps\{name}_fp (bitm))", R"(own fp\bitmaps\{name} multipurpose (bitm))",
              R"(own fp\bitmaps\diffuse gunmetal (bitm))"}},
        {65, {R"(own fp\bitmaps\{name}_fp (bitm))", R"(own fp\bitmaps\{name} multipurpose (bitm))",
              R"(vehicles\warthog\bitmaps\reflection diffuse metal (bitm))"}},
        {66, {R"(own fp\bitmaps\display_fp (bitm))"}},
        {67, {R"(own fp\bitmaps\numbers_plate (bitm))"}},
        {68, {R"(own bitmaps\{name}_card (bitm))", R"(own bitmaps\{name}_card_multipurpose (bitm))",
              R"(vehicles\warthog\bitmaps\reflection diffuse metal (bitm))"}},
        {69, {R"(own bitmaps\bolt (bitm))", R"(own bitmaps\bolt (bitm))"}},
    };
    for (const auto& [no, want] : expected) EXPECT_EQ(targets(file_no(no)), want) << "file " << no;

    V bullet = {R"(sound\sfx\impulse\impacts\bullets_projectile (snd!))", R"(own bullet (jpt!))",
                R"(own bullet (cont))"};
    for (const auto& n : split("dirt, sand, stone, snow, wood, metal hollow reflect, metal thin reflect, "
                               "metal thick reflect, rubber pen, glass, c shield, grunt, metal hunter, "
                               "hunter skin, elite armored skin, elite armored skin, jackal shield, "
                               "engineer sack, engineer force field, floodcombat elite, floodcarrier, "
                               "cyborg armor, cyborg shield, armored skin, h skin, sentinel, monitor, "
                               "plastic, water pen, grass, jackal shield, ice, metal reflect",
                               ", "))
        bullet.push_back("own effects\\impact " + n + " (effe)");
    EXPECT_EQ(targets(file_no(7)), bullet);
}

TEST(AssaultRifleTable, WhoReferencesTheOwnTags) {
    std::map<std::string, int> refs;  // "class path" -> blocks naming it
    for (const auto& f : rifle().files)
        for (const auto& b : f.blocks)
            if (b.kind != BlockKind::Reflexive) ++refs[b.tag_class + " " + b.path];
    // The weapon names the first-person model; nothing names the third-person
    // model or the lens.
    EXPECT_EQ(refs["mod2 " + kOwn + "fp\\fp"], 2);
    EXPECT_EQ(refs["mod2 " + kOwn + "{name}"], 0);
    EXPECT_EQ(refs["lens " + kOwn + "flashlight_{name}"], 0);
    for (const auto& e : kEffects) {
        const std::string n = e.name;
        const int want = n == "flashlight" || n == "impact elite armored skin" || n == "impact jackal shield" ? 2
                         : n == "impact hunter shield"                                                      ? 0
                                                                                                            : 1;
        EXPECT_EQ(refs["effe " + kOwn + "effects\\" + n], want) << n;
    }
}

// ---------------------------------------------------------------- invariants

TEST(AssaultRifleTable, InvariantsOfEveryFile) {
    std::set<std::string> own;  // "class rel_path" of every entry
    for (const auto& f : rifle().files) own.insert(f.tag_class + " " + f.rel_path);
    for (const auto& f : rifle().files) {
        SCOPED_TRACE(f.rel_path + "." + f.tag_class);
        std::uint32_t last = 0;
        for (std::size_t i = 0; i < f.blocks.size(); ++i) {
            const Block& b = f.blocks[i];
            if (i) {
                EXPECT_GT(b.location, last);
            }
            last = b.location;
            EXPECT_EQ(b.location % 4, 0u);
            if (b.kind == BlockKind::Reflexive) {
                EXPECT_GT(b.translation, b.location);
                EXPECT_EQ(b.translation % 4, 0u);
                EXPECT_GE(b.count, 1u);
                EXPECT_LE(b.count, 124140u);
                continue;
            }
            EXPECT_TRUE(duplication::is_known_class(b.tag_class)) << b.tag_class;
            if (b.kind == BlockKind::LoneID) {
                const std::set<std::string> lone = {"bitm", "snd!", "senv"};
                EXPECT_TRUE(lone.count(b.tag_class)) << b.tag_class;
                if (f.tag_class == "bitm") {
                    EXPECT_EQ(b.path, kOwn + f.rel_path);
                }
            }
            // Own tags named by a block are tags of this table.
            if (b.path.rfind("weapons\\", 0) == 0) {
                ASSERT_EQ(b.path.rfind(kOwn, 0), 0u) << b.path;
                EXPECT_TRUE(own.count(b.tag_class + " " + b.path.substr(kOwn.size()))) << b.path;
            }
        }
        if (f.has_assets()) {
            const auto& v = f.vertex_corrections;
            const auto& x = f.index_corrections;
            ASSERT_EQ(x.size(), 2 * v.size());
            ASSERT_FALSE(v.empty());
            EXPECT_EQ(v.back().translation, 0u);
            EXPECT_EQ(x.back().translation, 0u);
            for (std::size_t i = 0; i < x.size(); i += 2) {
                EXPECT_EQ(x[i + 1].location, x[i].location + 4);
                EXPECT_EQ(x[i + 1].translation, x[i].translation);
            }
        }
    }
}

// ---------------------------------------------------------------- whole files

TEST(AssaultRifleTable, BulletContrailByteExact) {
    const std::string expected =
        "<?xml version=\"1.0\"?>\r\n"
        "<!--Vavo Dod Ediza: Metadata Structure File-->\r\n"
        "<Results>\r\n"
        "<Map>Blood Gulch</Map>\r\n"
        "<Tag>tnoc" + fill(8) + "</Tag>\r\n"
        "<Filename>weapons\\m 4\\bullet</Filename>\r\n"
        "<Dependency>\r\n"
        "<Location>0x3C</Location>\r\n"
        "<Tagclass>mtib" + fill(8) + "</Tagclass>\r\n"
        "<Filename>weapons\\m 4\\bitmaps\\tracer contrail</Filename>\r\n"
        "</Dependency>\r\n"
        "<Reflexive>\r\n"
        "<Location>0x13C</Location>\r\n"
        "<Translation>0x144</Translation>\r\n"
        "<ChunkCount>2</ChunkCount>\r\n"
        "</Reflexive>\r\n"
        "<Dependency>\r\n"
        "<Location>0x160</Location>\r\n"
        "<Tagclass>yhpp" + fill(8) + "</Tagclass>\r\n"
        "<Filename>effects\\point physics\\cold smoke cloud</Filename>\r\n"
        "</Dependency>\r\n"
        "</Results>\r\n";
    EXPECT_EQ(duplication::file_bytes(rifle(), file_no(5), run("m 4")), expected);
}

TEST(AssaultRifleTable, CardBitmapByteExact) {
    const std::string expected =
        "<?xml version=\"1.0\"?>\r\n"
        "<!--Vavo Dod Ediza: Metadata Structure File-->\r\n"
        "<Results>\r\n"
        "<Map>Danger Canyon</Map>\r\n"
        "<Tag>mtib" + fill(8) + "</Tag>\r\n"
        "<Filename>weapons\\magnum\\bitmaps\\magnum_card</Filename>\r\n"
        "<Reflexive>\r\n<Location>0x58</Location>\r\n<Translation>0x6C</Translation>\r\n"
        "<ChunkCount>1</ChunkCount>\r\n</Reflexive>\r\n"
        "<Reflexive>\r\n<Location>0x64</Location>\r\n<Translation>0xAC</Translation>\r\n"
        "<ChunkCount>1</ChunkCount>\r\n</Reflexive>\r\n"
        "<LoneID>\r\n<Location>0xCC</Location>\r\n<Tagclass>mtib" + fill(8) + "</Tagclass>\r\n"
        "<Filename>weapons\\magnum\\bitmaps\\magnum_card</Filename>\r\n</LoneID>\r\n"
        "</Results>\r\n";
    EXPECT_EQ(duplication::file_bytes(rifle(), file_no(13), run("magnum", "Danger Canyon")), expected);
    EXPECT_EQ(duplication::xml_rel_path(file_no(13), "magnum"), "bitmaps\\magnum_card.bitm.xml");
}

TEST(AssaultRifleTable, ImpactGlassByteExact) {
    auto refl = [](const char* loc, const char* tr, const char* n) {
        return std::vector<std::string>{"<Reflexive>", std::string("<Location>") + loc + "</Location>",
                                        std::string("<Translation>") + tr + "</Translation>",
                                        std::string("<ChunkCount>") + n + "</ChunkCount>", "</Reflexive>"};
    };
    auto dep = [](const char* loc, const std::string& triple, const char* path) {
        return std::vector<std::string>{"<Dependency>", std::string("<Location>") + loc + "</Location>",
                                        "<Tagclass>" + triple + "</Tagclass>",
                                        std::string("<Filename>") + path + "</Filename>", "</Dependency>"};
    };
    std::vector<std::string> lines = {"<?xml version=\"1.0\"?>", "<!--Vavo Dod Ediza: Metadata Structure File-->",
                                      "<Results>", "<Map>Blood Gulch</Map>", "<Tag>effe" + fill(8) + "</Tag>",
                                      "<Filename>weapons\\magnum\\effects\\impact glass</Filename>"};
    for (const auto& block : {refl("0x2C", "0x40", "2"), refl("0x38", "0x80", "2"), refl("0xB0", "0x108", "2"),
                              refl("0xBC", "0x1D8", "3"), refl("0x100", "0x490", "1"),
                              dep("0x12C", "!dns" + fill(8), R"(sound\sfx\impulse\impacts\glass_hits)"),
                              dep("0x194", "aced" + fill(8), R"(effects\decals\bullet holes\unbreakable glass)"),
                              dep("0x238", "trap" + fill(8), R"(effects\particles\flash\flash h shield impact)"),
                              dep("0x320", "trap" + fill(8), R"(effects\particles\solid\metal chips)"),
                              dep("0x408", "trap" + fill(8), R"(effects\particles\lens flare\flare h stealth cannon)"),
                              dep("0x4F0", "trap" + fill(8), R"(effects\particles\air\smoke impact)")})
        lines.insert(lines.end(), block.begin(), block.end());
    lines.push_back("</Results>");
    ASSERT_EQ(lines.size(), 62u);
    EXPECT_EQ(duplication::file_bytes(rifle(), file_no(30), run("magnum")), join_crlf(lines));
}

TEST(AssaultRifleTable, NamedLinesForAnyNewName) {
    const auto coll = duplication::file_lines(rifle(), file_no(1), run("ar2"));
    EXPECT_EQ(duplication::xml_rel_path(file_no(1), "ar2"), "ar2.coll.xml");
    EXPECT_EQ(coll[5], "<Filename>weapons\\ar2\\ar2</Filename>");
    EXPECT_EQ(duplication::xml_rel_path(file_no(8), "ar2"), "flashlight_ar2.lens.xml");
    EXPECT_EQ(duplication::own_tag_path(rifle(), file_no(8), "ar2"), "weapons\\ar2\\flashlight_ar2");
    EXPECT_EQ(duplication::own_tag_path(rifle(), file_no(52), "ar2"), "weapons\\ar2\\fp\\fp");

    const auto weap = duplication::file_lines(rifle(), file_no(3), run("ar2"));
    EXPECT_EQ(weap[4], "<Tag>paewmetiejbo</Tag>");
    EXPECT_EQ(weap[7], "<Location>0x34</Location>");
    EXPECT_EQ(weap[8], "<Tagclass>2dom" + fill(8) + "</Tagclass>");
    EXPECT_EQ(weap[9], "<Filename>weapons\\ar2\\fp\\fp</Filename>");
    const std::string ammo = "<Filename>powerups\\assault rifle ammo\\assault rifle ammo</Filename>";
    EXPECT_NE(std::find(weap.begin(), weap.end(), ammo), weap.end());
    const auto anim = duplication::file_lines(rifle(), file_no(52), run("ar2"));
    const std::string ready = "<Filename>sound\\sfx\\weapons\\assault rifle\\weapon ready</Filename>";
    EXPECT_NE(std::find(anim.begin(), anim.end(), ready), anim.end());

    // Asset files are named after the bare tag name.
    const auto model = duplication::file_lines(rifle(), file_no(2), run("ar2"));
    EXPECT_NE(std::find(model.begin(), model.end(), "<Filename>ar2.mod2.vertices</Filename>"), model.end());
    EXPECT_NE(std::find(model.begin(), model.end(), "<Filename>ar2.mod2.indices</Filename>"), model.end());
    const auto fp = duplication::file_lines(rifle(), file_no(53), run("ar2"));
    EXPECT_NE(std::find(fp.begin(), fp.end(), "<Filename>fp.mod2.vertices</Filename>"), fp.end());

    // Effects differ between runs only in the Map and Filename lines.
    const auto a = duplication::file_lines(rifle(), file_no(17), run("ar2", "Blood Gulch"));
    const auto b = duplication::file_lines(rifle(), file_no(17), run("m 4", "Hang 'Em High"));
    ASSERT_EQ(a.size(), 27u);
    ASSERT_EQ(b.size(), 27u);
    for (std::size_t i = 0; i < a.size(); ++i)
        if (i != 3 && i != 5) {
            EXPECT_EQ(a[i], b[i]) << i;
        }
    EXPECT_EQ(b[5], "<Filename>weapons\\m 4\\effects\\empty</Filename>");
    EXPECT_EQ(a[24], "<Filename>sound\\sfx\\weapons\\assault rifle\\dryfire</Filename>");
    EXPECT_EQ(duplication::xml_rel_path(file_no(17), "m 4"), "effects\\empty.effe.xml");
}

}  // namespace
