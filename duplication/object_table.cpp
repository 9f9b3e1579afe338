#include "duplication/object_table.h"

#include <charconv>
#include <optional>

#include "duplication/effe_layout.h"
#include "duplication/msf_writer.h"
#include "duplication/paths.h"

namespace duplication {

TableError::TableError(int line_no, const std::string& what)
    : std::runtime_error(line_no > 0 ? "object table line " + std::to_string(line_no) + ": " + what
                                     : what),
      line(line_no) {}

std::string FileEntry::subfolder() const {
    const auto cut = rel_path.rfind('\\');
    return cut == std::string::npos ? std::string() : rel_path.substr(0, cut);
}

std::string FileEntry::tag_name() const { return name_of(rel_path); }

std::string with_name(std::string_view text, std::string_view new_name) {
    static constexpr std::string_view kMark = "{name}";
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t pos = 0;;) {
        const auto hit = text.find(kMark, pos);
        if (hit == std::string_view::npos) {
            out.append(text.substr(pos));
            return out;
        }
        out.append(text.substr(pos, hit - pos));
        out.append(new_name);
        pos = hit + kMark.size();
    }
}

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// Reads statements word by word; rest() yields the remaining text.
class Statement {
public:
    Statement(std::string_view text, int line) : text_(text), line_(line) {}

    std::string_view word(const char* what) {
        const auto end = text_.find(' ');
        const std::string_view w = text_.substr(0, end);
        if (w.empty()) fail(std::string("missing ") + what);
        text_ = end == std::string_view::npos ? std::string_view() : text_.substr(end + 1);
        return w;
    }

    std::string rest(const char* what) {
        if (text_.empty()) fail(std::string("missing ") + what);
        std::string r(text_);
        text_ = {};
        return r;
    }

    void end() {
        if (!text_.empty()) fail("unexpected text \"" + std::string(text_) + "\"");
    }

    std::uint32_t offset(const char* what) {
        const std::string_view w = word(what);
        if (w.size() < 3 || w.substr(0, 2) != "0x") fail(std::string(what) + " must be written 0x...");
        return number(w.substr(2), 16, what);
    }

    std::uint32_t count(const char* what) { return number(word(what), 10, what); }

    std::string tag_class() {
        std::string code(word("class code"));
        if (!is_known_class(code)) fail("unknown class code \"" + code + "\"");
        return code;
    }

    [[noreturn]] void fail(const std::string& what) const { throw TableError(line_, what); }
    int line() const { return line_; }

private:
    std::uint32_t number(std::string_view digits, int base, const char* what) {
        std::uint32_t value = 0;
        const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
        if (ec != std::errc() || ptr != digits.data() + digits.size())
            fail(std::string("bad ") + what + " \"" + std::string(digits) + "\"");
        return value;
    }

    std::string_view text_;
    int line_;
};

// Splits "part*3" into ("part", 3).
std::pair<std::string_view, std::uint32_t> repeated(std::string_view keyword, const Statement& st) {
    const auto star = keyword.find('*');
    if (star == std::string_view::npos) return {keyword, 1};
    std::uint32_t n = 0;
    const auto digits = keyword.substr(star + 1);
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || ptr != digits.data() + digits.size() || n == 0)
        st.fail("bad repeat count in \"" + std::string(keyword) + "\"");
    return {keyword.substr(0, star), n};
}

struct PendingEffect {
    std::uint32_t head = 0;
    std::vector<EffectGroup> groups;
};

class Parser {
public:
    ObjectTable run(std::string_view text) {
        int line_no = 0;
        while (!text.empty()) {
            ++line_no;
            const auto nl = text.find('\n');
            const std::string_view raw = text.substr(0, nl);
            text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
            const std::string_view line = trim(raw);
            if (line.empty() || line.front() == '#') continue;
            Statement st(line, line_no);
            statement(st, st.word("keyword"));
        }
        finish_entry();
        return std::move(table_);
    }

private:
    void statement(Statement& st, std::string_view keyword) {
        if (keyword == "tagfolder") table_.tag_folder = st.rest("tag folder");
        else if (keyword == "stock") table_.stock_name = st.rest("stock name");
        else if (keyword == "xml-confirmation") table_.xml_confirmation = st.rest("text");
        else if (keyword == "interim-notice") { st.end(); table_.interim_notice = true; }
        else if (keyword == "unload-on-error") { st.end(); table_.unload_on_error = true; }
        else if (keyword == "purge") table_.purge.push_back(st.rest("folder"));
        else if (keyword == "rename") rename(st);
        else if (keyword == "file" || keyword == "effe") open_entry(st, keyword == "effe");
        else body(st, keyword);
    }

    void rename(Statement& st) {
        const std::string both = st.rest("rename pair");
        const auto arrow = both.find(" => ");
        if (arrow == std::string::npos) st.fail("rename needs \"old => new\"");
        table_.renames.push_back({both.substr(0, arrow), both.substr(arrow + 4)});
    }

    void open_entry(Statement& st, bool effect) {
        finish_entry();
        FileEntry e;
        e.number = static_cast<int>(st.count("file number"));
        if (effect) {
            e.tag_class = "effe";
            effect_.emplace();
            effect_->head = st.count("head count");
        } else {
            e.tag_class = st.tag_class();
        }
        e.rel_path = st.rest("path");
        entry_ = std::move(e);
    }

    void body(Statement& st, std::string_view keyword) {
        if (!entry_) st.fail("\"" + std::string(keyword) + "\" outside a file entry");
        if (keyword == "xml") return xml_path(st);
        if (effect_) return effect_body(st, keyword);
        Block b;
        if (keyword == "dep" || keyword == "lone") {
            b.kind = keyword == "dep" ? BlockKind::Dependency : BlockKind::LoneID;
            b.location = st.offset("Location");
            b.tag_class = st.tag_class();
            b.path = st.rest("tag path");
        } else if (keyword == "refl") {
            b.kind = BlockKind::Reflexive;
            b.location = st.offset("Location");
            b.translation = st.offset("Translation");
            b.count = st.count("ChunkCount");
            st.end();
        } else if (keyword == "vertex" || keyword == "index") {
            if (!entry_->has_assets()) st.fail("asset corrections outside a mod2 file");
            Correction c;
            c.location = st.offset("Location");
            c.translation = st.offset("Translation");
            st.end();
            auto& list = keyword == "vertex" ? entry_->vertex_corrections : entry_->index_corrections;
            if (!list.empty() && list.back().location >= c.location) st.fail("Corrections out of Location order");
            list.push_back(c);
            return;
        } else {
            st.fail("unknown statement \"" + std::string(keyword) + "\"");
        }
        if (!entry_->blocks.empty() && entry_->blocks.back().location >= b.location)
            st.fail("block out of Location order");
        entry_->blocks.push_back(std::move(b));
    }

    // A written file name that does not follow the tag file name.
    void xml_path(Statement& st) {
        if (!entry_->xml_path.empty()) st.fail("second xml path for one file");
        entry_->xml_path = st.rest("xml path");
        if (!entry_->xml_path.ends_with(".xml")) st.fail("xml path must end in .xml");
    }

    void effect_body(Statement& st, std::string_view keyword) {
        if (keyword == "group") {
            st.end();
            effect_->groups.emplace_back();
            return;
        }
        const auto [kind, times] = repeated(keyword, st);
        if (kind != "ref" && kind != "part") st.fail("unknown effect statement \"" + std::string(keyword) + "\"");
        if (effect_->groups.empty()) st.fail("chunk before the first group");
        EffectChunk chunk;
        if (kind == "part") {
            chunk.path = st.rest("particle path");
            if (chunk.path == "none") chunk.path.clear();  // keeps its room, names nothing
            else chunk.tag_class = "part";
        } else {
            const std::string_view first = st.word("class code");
            if (first == "none") {
                st.end();
            } else {
                chunk.tag_class = std::string(first);
                if (!is_known_class(chunk.tag_class)) st.fail("unknown class code \"" + chunk.tag_class + "\"");
                chunk.path = st.rest("tag path");
            }
        }
        auto& list = kind == "part" ? effect_->groups.back().particles : effect_->groups.back().references;
        list.insert(list.end(), times, chunk);
    }

    void finish_entry() {
        if (!entry_) return;
        if (effect_) entry_->blocks = effect_blocks(effect_->head, effect_->groups);
        table_.files.push_back(std::move(*entry_));
        entry_.reset();
        effect_.reset();
    }

    ObjectTable table_;
    std::optional<FileEntry> entry_;
    std::optional<PendingEffect> effect_;
};

}  // namespace

ObjectTable parse_table(std::string_view text) { return Parser().run(text); }

}  // namespace duplication
