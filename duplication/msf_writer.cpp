#include "duplication/msf_writer.h"

#include <array>

namespace duplication {
namespace {

struct ClassCode {
    std::string_view code;
    std::string_view parent;
    std::string_view grandparent;
};

// The classes that may head a triple, with their fixed parents.
constexpr std::array<ClassCode, 33> kClasses{{
    {"actv", "", ""}, {"ant!", "", ""}, {"antr", "", ""}, {"bitm", "", ""},
    {"coll", "", ""}, {"cont", "", ""}, {"deca", "", ""}, {"effe", "", ""},
    {"eqip", "item", "obje"}, {"foot", "", ""}, {"jpt!", "", ""}, {"lens", "", ""},
    {"ligh", "", ""}, {"lsnd", "", ""}, {"mgs2", "", ""}, {"mod2", "", ""},
    {"part", "", ""}, {"pctl", "", ""}, {"phys", "", ""}, {"pphy", "", ""},
    {"proj", "obje", ""}, {"scex", "shdr", ""}, {"schi", "shdr", ""}, {"senv", "shdr", ""},
    {"sgla", "shdr", ""}, {"smet", "shdr", ""}, {"snd!", "", ""}, {"soso", "shdr", ""},
    {"trak", "", ""}, {"unhi", "", ""}, {"vehi", "unit", "obje"}, {"weap", "item", "obje"},
    {"wphi", "", ""},
}};

const ClassCode* find_class(std::string_view code) {
    for (const ClassCode& c : kClasses)
        if (c.code == code) return &c;
    return nullptr;
}

constexpr std::string_view kFiller = "\xC3\xBF\xC3\xBF\xC3\xBF\xC3\xBF";  // one empty slot

void append_slot(std::string& out, std::string_view code) {
    if (code.empty()) {
        out.append(kFiller);
        return;
    }
    out.append(code.rbegin(), code.rend());
}

void element(std::vector<std::string>& lines, std::string_view tag, std::string_view value) {
    std::string line;
    line.reserve(tag.size() * 2 + value.size() + 5);
    line.append("<").append(tag).append(">").append(value).append("</").append(tag).append(">");
    lines.push_back(std::move(line));
}

void corrections(std::vector<std::string>& lines, std::string_view type, const std::string& file,
                 const std::vector<Correction>& list) {
    lines.emplace_back("<Asset>");
    element(lines, "Type", type);
    element(lines, "Filename", file);
    for (const Correction& c : list) {
        lines.emplace_back("<Correction>");
        element(lines, "Location", hex_offset(c.location));
        element(lines, "Translation", hex_offset(c.translation));
        lines.emplace_back("</Correction>");
    }
    lines.emplace_back("</Asset>");
}

}  // namespace

bool is_known_class(std::string_view code) { return find_class(code) != nullptr; }

std::string class_triple(std::string_view code) {
    const ClassCode* c = find_class(code);
    if (c == nullptr) return {};
    std::string out;
    out.reserve(20);
    append_slot(out, c->code);
    append_slot(out, c->parent);
    append_slot(out, c->grandparent);
    return out;
}

std::string hex_offset(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char buf[8];
    int n = 0;
    do {
        buf[n++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    std::string out = "0x";
    while (n > 0) out += buf[--n];
    return out;
}

std::string xml_rel_path(const FileEntry& entry, std::string_view new_name) {
    return with_name(entry.rel_path, new_name) + "." + entry.tag_class + ".xml";
}

std::string own_tag_path(const ObjectTable& table, const FileEntry& entry, std::string_view new_name) {
    // Joined as typed: an empty new name leaves two backslashes in a row.
    return table.tag_folder + "\\" + std::string(new_name) + "\\" + with_name(entry.rel_path, new_name);
}

std::vector<std::string> file_lines(const ObjectTable& table, const FileEntry& entry, const RunText& run) {
    std::vector<std::string> lines;
    lines.reserve(8 + entry.blocks.size() * 5);
    lines.push_back(run.header1);
    lines.push_back(run.header2);
    lines.emplace_back("<Results>");
    element(lines, "Map", run.map);
    element(lines, "Tag", class_triple(entry.tag_class));
    element(lines, "Filename", own_tag_path(table, entry, run.new_name));
    for (const Block& b : entry.blocks) {
        switch (b.kind) {
        case BlockKind::Reflexive:
            lines.emplace_back("<Reflexive>");
            element(lines, "Location", hex_offset(b.location));
            element(lines, "Translation", hex_offset(b.translation));
            element(lines, "ChunkCount", std::to_string(b.count));
            lines.emplace_back("</Reflexive>");
            break;
        case BlockKind::Dependency:
        case BlockKind::LoneID: {
            const std::string_view tag = b.kind == BlockKind::Dependency ? "Dependency" : "LoneID";
            lines.push_back("<" + std::string(tag) + ">");
            element(lines, "Location", hex_offset(b.location));
            element(lines, "Tagclass", class_triple(b.tag_class));
            element(lines, "Filename", with_name(b.path, run.new_name));
            lines.push_back("</" + std::string(tag) + ">");
            break;
        }
        }
    }
    if (entry.has_assets()) {
        const std::string name = with_name(entry.tag_name(), run.new_name);
        lines.emplace_back("<!--Attached Binary File Structure-->");
        corrections(lines, "VertexBlock", name + ".mod2.vertices", entry.vertex_corrections);
        corrections(lines, "IndexBlock", name + ".mod2.indices", entry.index_corrections);
    }
    lines.emplace_back("</Results>");
    return lines;
}

std::string file_bytes(const ObjectTable& table, const FileEntry& entry, const RunText& run) {
    std::string out;
    for (const std::string& line : file_lines(table, entry, run)) {
        out.append(line);
        out.append("\r\n");
    }
    return out;
}

}  // namespace duplication
