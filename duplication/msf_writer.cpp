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
    if (!entry.xml_path.empty()) return with_name(entry.xml_path, new_name);
    return with_name(entry.rel_path, new_name) + "." + entry.tag_class + ".xml";
}

std::string own_tag_path(const ObjectTable& table, const FileEntry& entry, std::string_view new_name) {
    // Always both separators: an empty new name leaves two backslashes in a
    // row, as in every reference to an own tag.
    return table.tag_folder + "\\" + std::string(new_name) + "\\" + with_name(entry.rel_path, new_name);
}

namespace {

// Appends lines to one text, each ended by CR LF.
class Lines {
public:
    Lines(std::string& out, std::string_view new_name) : out_(out), new_name_(new_name) {}

    void line(std::string_view text) { out_.append(text).append("\r\n"); }

    void element(std::string_view tag, std::string_view value) {
        out_.append("<").append(tag).append(">").append(value).append("</").append(tag).append(">\r\n");
    }

    // A value of the table, "{name}" replaced by the new name.
    void named(std::string_view tag, std::string_view value) {
        out_.append("<").append(tag).append(">");
        for (std::size_t pos = 0;;) {
            const auto mark = value.find("{name}", pos);
            out_.append(value.substr(pos, mark - pos));
            if (mark == std::string_view::npos) break;
            out_.append(new_name_);
            pos = mark + 6;
        }
        out_.append("</").append(tag).append(">\r\n");
    }

    void element(std::string_view tag, std::uint32_t hex) { element(tag, hex_offset(hex)); }

    void corrections(std::string_view type, const std::string& file, const std::vector<Correction>& list) {
        line("<Asset>");
        element("Type", type);
        element("Filename", file);
        for (const Correction& c : list) {
            line("<Correction>");
            element("Location", c.location);
            element("Translation", c.translation);
            line("</Correction>");
        }
        line("</Asset>");
    }

private:
    std::string& out_;
    std::string_view new_name_;
};

}  // namespace

std::string file_bytes(const ObjectTable& table, const FileEntry& entry, const RunText& run) {
    std::string out;
    out.reserve(256 + entry.blocks.size() * 160);
    Lines lines(out, run.new_name);
    lines.line(run.header1);
    lines.line(run.header2);
    lines.line("<Results>");
    lines.element("Map", std::string_view(run.map));
    lines.element("Tag", std::string_view(class_triple(entry.tag_class)));
    lines.line("<Filename>" + own_tag_path(table, entry, run.new_name) + "</Filename>");
    for (const Block& b : entry.blocks) {
        if (b.kind == BlockKind::Reflexive) {
            lines.line("<Reflexive>");
            lines.element("Location", b.location);
            lines.element("Translation", b.translation);
            lines.element("ChunkCount", std::string_view(std::to_string(b.count)));
            lines.line("</Reflexive>");
            continue;
        }
        const bool lone = b.kind == BlockKind::LoneID;
        lines.line(lone ? "<LoneID>" : "<Dependency>");
        lines.element("Location", b.location);
        lines.element("Tagclass", std::string_view(class_triple(b.tag_class)));
        lines.named("Filename", b.path);
        lines.line(lone ? "</LoneID>" : "</Dependency>");
    }
    if (entry.has_assets()) {
        const std::string name = with_name(entry.tag_name(), run.new_name);
        lines.line("<!--Attached Binary File Structure-->");
        lines.corrections("VertexBlock", name + ".mod2.vertices", entry.vertex_corrections);
        lines.corrections("IndexBlock", name + ".mod2.indices", entry.index_corrections);
    }
    lines.line("</Results>");
    return out;
}

std::vector<std::string> file_lines(const ObjectTable& table, const FileEntry& entry, const RunText& run) {
    const std::string bytes = file_bytes(table, entry, run);
    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto end = bytes.find("\r\n", pos);
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

}  // namespace duplication
