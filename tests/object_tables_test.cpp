// Every built-in object table checked against facts typed independently of
// the .table files: tests/expected/<object>.facts, one fact a line, blank
// lines and lines starting with "#" ignored; a key not listed fails the test.
//
//   kind | caption | tagfolder | stock | xml-confirmation | success <text>
//   flags <interim notice 0|1> <unload on error 0|1>
//   ids number|place                   what <no> means in the facts below the
//                                      file lines: the file number (default,
//                                      numbers must then be unique) or the place
//                                      in writing order (from 1)
//   reused <n> ...                     file numbers that serve more than one file
//   purge <folder>                     the purge list, in order
//   rename <from> => <to>              the rename list, in order
//   file <number> <class> D=<n> R=<n> L=<n> V=<n> I=<n> lines=<n> <path> [=> <tag>]
//                                      every file in writing order: its file number,
//                                      Dependency, Reflexive and LoneID blocks,
//                                      VertexBlock and IndexBlock Corrections and
//                                      lines; the path relative to the output folder,
//                                      with {name}; <tag>, the own tag path below the
//                                      object tag folder, where it is not the path
//                                      without ".<class>.xml"
//   effect <no> <H> <r>+<p>,...        the Reflexives' ChunkCounts in order: H at 0x2C, the groups
//                                      at 0x38, then per group reference + particle chunks but 0s
//   deps <no> <class> <path>; ...      every Dependency of the file, in order
//   blocks <no> <view> <item>; ...     every block of the view, in order
//   bag <no> <view> <item>; ...        the same in any order
//   rule <no> <i> <k>                  ChunkCount = Translation + k (k may be negative)
//                                      exactly for the Reflexives from the i-th
//                                      (counted from 0) on
//   total <scope> <key>=<n> ...        sums over the scope's files: D, R, L, V, I, lines,
//                                      joins (places where the new name is joined into
//                                      the lines) and Dependencies per class (part=233)
//   order stated                       the writing order within a folder is not the
//                                      byte order of the stock file names
//   unwritten <class> <path>           an own tag that blocks name but no file of the
//                                      table writes; all such tags are listed
//   names <scope> <kinds> <class|*> <key>=<value> ... [<paths>]
//                                      the blocks naming tags (matching <paths>): tags=
//                                      distinct tags, times= blocks, files= files holding
//                                      one, in= those files' file numbers (- for none),
//                                      spread= 1x2,2x4 for two tags named once, four twice
//
// scope: all, effects (files in the effects folder), other, or files: <no> or
// <no>-<no>, several joined by "," (1-10,46); <no>: a file number or a place, as
// "ids" says.
// view: letters of R D L V I (V, I: asset Corrections), optionally @<from>-<to>
// to keep Locations in that range; kinds: letters of D L.
// item: "R <Location> <Translation> <ChunkCount>", "D|L <Location> <class> <path>",
// "V|I <Location> <Translation>"; "?" matches any value, values left out at the
// end match anything, "*<n>" at the end repeats the item n times.
// paths: alternatives separated by "; "; one ending in "..." matches by prefix,
// one without "\" matches the last path component, any other must be equal.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "duplication/msf_writer.h"
#include "duplication/object_table.h"
#include "objects/kinds.h"
#include "objects/objects.h"
#include "tests/stock_folder.h"

namespace {

using duplication::Block;
using duplication::BlockKind;
using duplication::FileEntry;
using Strings = std::vector<std::string>;
constexpr auto npos = std::string::npos;

// The first n - 1 blank-separated words, then the rest of s.
Strings words(const std::string& s, std::size_t n) {
    Strings v;
    std::size_t at = 0;
    for (std::size_t blank; v.size() + 1 < n && (blank = s.find(' ', at)) != npos; at = blank + 1)
        v.push_back(s.substr(at, blank - at));
    v.push_back(s.substr(at));
    return v;
}

Strings split(const std::string& s, const std::string& sep) {
    Strings v;
    for (std::size_t at = 0, p = 0; !s.empty() && p != npos; at = p + sep.size()) {
        p = s.find(sep, at);
        v.push_back(s.substr(at, p - at));
    }
    return v;
}

// "a; b*3" -> a, b, b, b
Strings items(const std::string& list) {
    static const std::regex repeated(R"((.*)\*(\d+))");
    Strings out;
    for (const auto& item : split(list, "; ")) {
        std::smatch m;
        const bool times = std::regex_match(item, m, repeated);
        out.insert(out.end(), times ? std::stoul(m[2]) : 1, times ? m[1].str() : item);
    }
    return out;
}

// "<head words> k=v k=v <rest>"
struct Keyed {
    Strings head;
    std::map<std::string, std::string> keys;
    std::string rest;
};

Keyed keyed(const std::string& s, std::size_t heads) {
    Keyed k{words(s, heads + 1), {}, ""};
    k.rest = k.head.back();
    k.head.pop_back();
    for (Strings kv; (kv = words(k.rest, 2))[0].find('=') != npos; k.rest = kv.size() > 1 ? kv[1] : "")
        k.keys[kv[0].substr(0, kv[0].find('='))] = kv[0].substr(kv[0].find('=') + 1);
    return k;
}

bool path_matches(const std::string& paths, const std::string& path) {
    const Strings any = split(paths, "; ");
    return std::any_of(any.begin(), any.end(), [&](const std::string& want) {
        if (want.ends_with("...")) return path.starts_with(want.substr(0, want.size() - 3));
        return want == (want.find('\\') == npos ? path.substr(path.rfind('\\') + 1) : path);
    });
}

bool matches(const std::string& want, const std::string& item) {
    const Strings w = words(want, 4), a = words(item, 4);
    for (std::size_t i = 0; i < w.size(); ++i)
        if (i >= a.size() || (w[i] != "?" && !(i == 3 ? path_matches(w[i], a[i]) : w[i] == a[i]))) return false;
    return true;
}

std::string hex(std::uint32_t v) { return duplication::hex_offset(v); }

// The blocks of a file as items, the asset Corrections last.
Strings view(const FileEntry& f, const std::string& selection) {
    const auto at = selection.find('@');
    const std::string kinds = selection.substr(0, at);
    const std::string range = at == npos ? "0-0xFFFFFFFF" : selection.substr(at + 1);
    const std::uint32_t lo = std::stoul(range, nullptr, 16);
    const std::uint32_t hi = std::stoul(range.substr(range.find('-') + 1), nullptr, 16);
    Strings out;
    const auto add = [&](char kind, std::uint32_t loc, const std::string& rest) {
        if (kinds.find(kind) != npos && loc >= lo && loc <= hi)
            out.push_back(std::string(1, kind) + " " + hex(loc) + " " + rest);
    };
    for (const Block& b : f.blocks) {
        if (b.kind == BlockKind::Reflexive)
            add('R', b.location, hex(b.translation) + " " + std::to_string(b.count));
        else
            add(b.kind == BlockKind::Dependency ? 'D' : 'L', b.location, b.tag_class + " " + b.path);
    }
    for (const auto& c : f.vertex_corrections) add('V', c.location, hex(c.translation));
    for (const auto& c : f.index_corrections) add('I', c.location, hex(c.translation));
    return out;
}

void expect_items(const Strings& actual, const Strings& want, bool any_order) {
    std::vector<bool> used(actual.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        std::size_t j = any_order ? 0 : i;
        while (any_order && j < actual.size() && (used[j] || !matches(want[i], actual[j]))) ++j;
        if (j >= actual.size() || !matches(want[i], actual[j])) {
            ADD_FAILURE() << "item " << i << ": expected " << want[i] << ", got "
                          << (j < actual.size() ? actual[j] : "nothing");
            return;
        }
        used[j] = true;
    }
    EXPECT_EQ(actual.size(), want.size());
}

bool in_scope(const FileEntry& f, int id, const std::string& scope) {
    if (scope == "all") return true;
    if (scope == "effects" || scope == "other") return (f.subfolder() == "effects") == (scope == "effects");
    const Strings ranges = split(scope, ",");
    return std::any_of(ranges.begin(), ranges.end(), [&](const std::string& range) {
        const auto dash = range.find('-');
        return id >= std::stoi(range) && id <= std::stoi(range.substr(dash == npos ? 0 : dash + 1));
    });
}

// How often the new name is joined into the lines of a file.
std::size_t joins(const std::vector<std::string>& lines) {
    std::size_t n = 0;
    for (const auto& line : lines)
        for (auto at = line.find("{name}"); at != npos; at = line.find("{name}", at + 1)) ++n;
    return n;
}

duplication::RunText run(const std::string& name, const std::string& map = "Blood Gulch") {
    duplication::RunText r;
    r.map = map;
    r.new_name = name;
    return r;
}

class ObjectTableFacts : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        static const std::set<std::string> keys = {
            "kind", "caption", "tagfolder", "stock", "xml-confirmation", "success", "flags", "ids", "reused", "purge",
            "rename", "file", "effect", "deps", "blocks", "bag", "rule", "total", "order", "unwritten", "names"};
        std::ifstream in(std::string(VORLIX_EXPECTED_DIR) + "/" + GetParam() + ".facts");
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line[0] == '#') continue;
            const Strings w = words(line, 2);
            EXPECT_TRUE(keys.count(w[0])) << "unknown key in: " << line;
            facts.push_back({w[0], w.size() > 1 ? w[1] : ""});
            if (w[0] == "ids") by_place = w.at(1) == "place";
        }
        ASSERT_FALSE(facts.empty());
    }
    // The facts' name of the i-th file of the writing order.
    int id(std::size_t i) const { return by_place ? static_cast<int>(i) + 1 : t.files[i].number; }
    const FileEntry& file(const std::string& no) const {
        const FileEntry* found = nullptr;
        for (std::size_t i = 0; i < t.files.size(); ++i) {
            if (id(i) != std::stoi(no)) continue;
            if (found != nullptr) throw std::runtime_error("file number " + no + " is not unique: use places");
            found = &t.files[i];
        }
        if (found == nullptr) throw std::runtime_error("no file " + no);
        return *found;
    }
    std::string fact(const std::string& key) const {
        for (const auto& [k, rest] : facts)
            if (k == key) return rest;
        return "";
    }
    std::size_t lines(const FileEntry& f) const { return duplication::file_lines(t, f, run("x")).size(); }

    // The object's row in the kinds list.
    static const objects::ObjectKind& row() {
        for (const auto& k : objects::built_in().all())
            if (k.table == GetParam()) return k;
        throw std::runtime_error("no kind uses the table " + GetParam());
    }

    const duplication::ObjectTable& t = objects::table(GetParam());
    std::vector<std::pair<std::string, std::string>> facts;  // key, rest of the line
    bool by_place = false;
};

TEST_P(ObjectTableFacts, HeaderPurgeAndRenames) {
    forms::Application app;
    const auto& form = objects::built_in().duplicator(app, row());
    const std::map<std::string, std::string> header = {
        {"kind", row().kind}, {"caption", form.Caption}, {"tagfolder", t.tag_folder}, {"stock", t.stock_name},
        {"xml-confirmation", t.xml_confirmation}, {"success", form.success_text()},
        {"flags", std::to_string(t.interim_notice) + " " + std::to_string(t.unload_on_error)}};
    std::map<std::string, std::string> seen;
    Strings purge, renames, actual;
    for (const auto& [key, rest] : facts) {
        if (header.count(key)) seen[key] = rest;
        if (key == "purge") purge.push_back(rest);
        if (key == "rename") renames.push_back(rest);
    }
    EXPECT_EQ(header, seen);
    EXPECT_EQ(t.purge, purge);
    for (const auto& r : t.renames) actual.push_back(r.from + " => " + r.to);
    EXPECT_EQ(actual, renames);
    // The purge list covers exactly the folders written into; the renames
    // exactly the files whose names carry the new name, from their stock names.
    std::set<std::string> folders, named, renamed;
    for (const auto& f : t.files) {
        folders.insert(f.subfolder().empty() ? "." : f.subfolder());
        if (f.rel_path.find("{name}") != npos) named.insert(f.rel_path + "." + f.tag_class + ".meta");
    }
    for (const auto& r : t.renames) {
        renamed.insert(r.to);
        EXPECT_EQ(testing_driver::replaced(r.to, "{name}", t.stock_name), r.from);
    }
    EXPECT_EQ(std::set<std::string>(t.purge.begin(), t.purge.end()), folders);
    EXPECT_EQ(renamed, named);
}

TEST_P(ObjectTableFacts, EveryFileInWritingOrder) {
    std::size_t i = 0;
    for (const auto& [key, rest] : facts) {
        if (key != "file") continue;
        SCOPED_TRACE(rest);
        ASSERT_LT(i, t.files.size());
        const FileEntry& f = t.files[i++];
        const Keyed k = keyed(rest, 2);
        EXPECT_EQ(Strings({std::to_string(f.number), f.tag_class}), k.head);
        std::map<std::string, std::string> counts = {{"lines", std::to_string(lines(f))}};
        for (const std::string kind : {"D", "R", "L", "V", "I"}) counts[kind] = std::to_string(view(f, kind).size());
        EXPECT_EQ(counts, k.keys);
        const Strings xml_and_tag = split(k.rest, " => ");
        const std::string tag = xml_and_tag.size() > 1 ? xml_and_tag[1] + "." + f.tag_class + ".xml" : k.rest;
        for (const std::string name : {"magnum", "my gun"}) {
            const std::string path = testing_driver::replaced(tag, "{name}", name);
            EXPECT_EQ(duplication::xml_rel_path(f, name), testing_driver::replaced(xml_and_tag[0], "{name}", name));
            const auto text = duplication::file_lines(t, f, run(name));
            ASSERT_GE(text.size(), 7u);
            EXPECT_EQ(text[3], "<Map>Blood Gulch</Map>");
            EXPECT_EQ(text[5], "<Filename>" + fact("tagfolder") + "\\" + name + "\\" +
                                   path.substr(0, path.size() - f.tag_class.size() - 5) + "</Filename>");
            EXPECT_EQ(text.back(), "</Results>");
        }
        // Only the new name and the map vary: "{name}" as new name gives the model.
        const auto model = duplication::file_lines(t, f, run("{name}"));
        const auto other = duplication::file_lines(t, f, run("my gun", "Hang 'Em High"));
        ASSERT_EQ(model.size(), other.size());
        for (std::size_t n = 4; n < model.size(); ++n)
            EXPECT_EQ(testing_driver::replaced(model[n], "{name}", "my gun"), other[n]) << "line " << n;
    }
    EXPECT_EQ(i, t.files.size());
}

TEST_P(ObjectTableFacts, BlocksAndEffectShapes) {
    for (const auto& [key, rest] : facts) {
        SCOPED_TRACE(key + " " + rest.substr(0, 80));
        const Strings w = words(rest, 3);
        if (key == "effect") {
            // Head list, group list, then a sublist for each count but 0.
            const Strings groups = split(w[2], ",");
            Strings want = {"R 0x2C ? " + w[1], "R 0x38 ? " + std::to_string(groups.size())};
            for (const auto& group : groups)
                for (const auto& n : split(group, "+"))
                    if (n != "0") want.push_back("R ? ? " + n);
            expect_items(view(file(w[0]), "R"), want, false);
        } else if (key == "deps") {
            Strings want = items(w.size() > 1 ? rest.substr(w[0].size() + 1) : "");
            for (auto& item : want) item = "D ? " + item;
            expect_items(view(file(w[0]), "D"), want, false);
        } else if (key == "blocks" || key == "bag") {
            expect_items(view(file(w[0]), w[1]), items(w.size() > 2 ? w[2] : ""), key == "bag");
        } else if (key == "rule") {
            std::size_t i = 0;
            for (const auto& b : file(w[0]).blocks) {
                if (b.kind != BlockKind::Reflexive) continue;
                const bool rule = std::int64_t{b.count} == std::int64_t{b.translation} + std::stoll(w[2]);
                EXPECT_EQ(rule, i++ >= std::stoul(w[1])) << hex(b.location);
            }
        }
    }
}

TEST_P(ObjectTableFacts, TotalsAndTagUse) {
    for (const auto& [key, rest] : facts) {
        SCOPED_TRACE(key + " " + rest);
        if (key == "total") {
            const Keyed k = keyed(rest, 1);
            std::map<std::string, std::size_t> sums;
            for (std::size_t i = 0; i < t.files.size(); ++i) {
                const FileEntry& f = t.files[i];
                if (!in_scope(f, id(i), k.head[0])) continue;
                for (const auto& b : f.blocks) {
                    ++sums[b.kind == BlockKind::Reflexive ? "R" : b.kind == BlockKind::LoneID ? "L" : "D"];
                    if (b.kind == BlockKind::Dependency) ++sums[b.tag_class];
                }
                sums["V"] += f.vertex_corrections.size();
                sums["I"] += f.index_corrections.size();
                const auto text = duplication::file_lines(t, f, run("{name}"));
                sums["lines"] += text.size();
                sums["joins"] += joins(text);
            }
            for (const auto& [what, n] : k.keys) EXPECT_EQ(std::to_string(sums[what]), n) << what;
        } else if (key == "names") {
            const Keyed k = keyed(rest, 3);
            std::map<std::string, std::size_t> times;  // path -> blocks naming it
            std::set<std::size_t> files;  // places
            std::string in, spread;
            for (std::size_t i = 0; i < t.files.size(); ++i)
                for (const auto& item : in_scope(t.files[i], id(i), k.head[0]) ? view(t.files[i], k.head[1]) : Strings{}) {
                    const Strings w = words(item, 4);  // kind, Location, class, path
                    if ((k.head[2] != "*" && k.head[2] != w[2]) || !(k.rest.empty() || path_matches(k.rest, w[3])))
                        continue;
                    ++times[w[3]];
                    if (files.insert(i).second) in.append(in.empty() ? "" : ",") += std::to_string(t.files[i].number);
                }
            std::map<std::size_t, std::size_t> tags;  // times named -> tags
            std::size_t blocks = 0;
            for (const auto& [path, n] : times) {
                blocks += n;
                ++tags[n];
            }
            for (const auto& [n, m] : tags)
                spread.append(spread.empty() ? "" : ",").append(std::to_string(n) + "x" + std::to_string(m));
            const std::map<std::string, std::string> got = {
                {"tags", std::to_string(times.size())}, {"times", std::to_string(blocks)},
                {"files", std::to_string(files.size())}, {"in", in.empty() ? "-" : in}, {"spread", spread}};
            for (const auto& [what, value] : k.keys) EXPECT_EQ(got.at(what), value) << what;
        }
    }
}

TEST_P(ObjectTableFacts, InvariantsOfEveryFile) {
    std::set<std::string> own;  // "class path" of every file's own tag
    for (const auto& f : t.files) own.insert(f.tag_class + " " + t.tag_folder + "\\{name}\\" + f.rel_path);
    std::set<std::string> unwritten, named_without_file;
    for (const auto& [key, rest] : facts)
        if (key == "unwritten") unwritten.insert(rest);
    // A file number serves again only where the facts say so.
    std::map<int, int> uses;
    for (const auto& f : t.files) ++uses[f.number];
    std::set<int> reused, want;
    for (const auto& [n, times] : uses) {
        EXPECT_GE(n, 1);
        if (times > 1) reused.insert(n);
    }
    for (const auto& [key, rest] : facts)
        if (key == "reused")
            for (const auto& n : split(rest, " ")) want.insert(std::stoi(n));
    EXPECT_EQ(reused, want);
    const bool byte_order = fact("order") != "stated";
    const FileEntry* previous = nullptr;
    for (const auto& f : t.files) {
        SCOPED_TRACE("file " + std::to_string(f.number));
        // Within a folder, files follow the byte order of their stock file
        // names, unless the facts say the order is a stated one.
        const auto stock_name = [&](const FileEntry& e) {
            return testing_driver::replaced(e.tag_name(), "{name}", t.stock_name) + "." + e.tag_class;
        };
        if (byte_order && previous && previous->subfolder() == f.subfolder()) {
            EXPECT_LT(stock_name(*previous), stock_name(f));
        }
        previous = &f;
        EXPECT_TRUE(duplication::is_known_class(f.tag_class));
        for (std::size_t i = 0; i < f.blocks.size(); ++i) {
            const Block& b = f.blocks[i];
            EXPECT_TRUE(i == 0 || b.location > f.blocks[i - 1].location) << hex(b.location);
            EXPECT_EQ(b.location % 4, 0u) << hex(b.location);
            if (b.kind == BlockKind::Reflexive) {
                EXPECT_GT(b.translation, b.location);
                EXPECT_EQ(b.translation % 4, 0u);
                EXPECT_GE(b.count, 1u);
                continue;
            }
            EXPECT_TRUE(duplication::is_known_class(b.tag_class)) << b.tag_class;
            // Own tags are named under the new name only, and are files of the
            // table but for those the facts list as unwritten.
            EXPECT_FALSE(b.path.starts_with(t.tag_folder + "\\" + t.stock_name + "\\")) << b.path;
            if (b.path.find("{name}") != npos && !own.count(b.tag_class + " " + b.path))
                named_without_file.insert(b.tag_class + " " + b.path);
            if (b.kind != BlockKind::LoneID) continue;
            EXPECT_TRUE(b.tag_class == "bitm" || b.tag_class == "snd!" || b.tag_class == "senv") << b.tag_class;
            // A bitmap's LoneID names the bitmap itself.
            const std::string self = "bitm " + t.tag_folder + "\\{name}\\" + f.rel_path;
            EXPECT_TRUE(f.tag_class != "bitm" || b.tag_class + " " + b.path == self) << b.path;
        }
        // mod2 assets: two IndexBlock Corrections per VertexBlock one, pairs 4
        // apart with equal Translations, both lists ending on Translation 0.
        const auto& v = f.vertex_corrections;
        const auto& x = f.index_corrections;
        EXPECT_EQ(v.empty(), !f.has_assets());
        ASSERT_EQ(x.size(), 2 * v.size());
        EXPECT_TRUE(v.empty() || v.back().translation + x.back().translation == 0);
        for (std::size_t i = 0; i < v.size(); ++i) {
            EXPECT_TRUE(i == 0 || (v[i - 1].location < v[i].location && x[2 * i - 1].location < x[2 * i].location));
            EXPECT_EQ(x[2 * i + 1].location, x[2 * i].location + 4);
            EXPECT_EQ(x[2 * i + 1].translation, x[2 * i].translation);
        }
    }
    EXPECT_EQ(named_without_file, unwritten);
}

std::vector<std::string> built_in_tables() {
    std::vector<std::string> names;
    for (const auto& k : objects::built_in().all()) names.push_back(k.table);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Objects, ObjectTableFacts, testing::ValuesIn(built_in_tables()),
                         [](const auto& info) { return info.param; });

}  // namespace
