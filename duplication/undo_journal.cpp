#include "duplication/undo_journal.h"

#include <algorithm>
#include <map>

#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/forms.h"

namespace duplication {
namespace {

using forms::Entry;

constexpr std::string_view kHeader = "vorlix-tools undo record";
constexpr std::string_view kEnd = "end";
constexpr std::string_view kJournal = ".journal";
constexpr std::string_view kPart = ".part";  // a journal while it is written
constexpr std::string_view kAside = ".aside";

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// The number a file of the record is named after ("12.journal" -> 12), or 0.
int number_of(const std::string& name, std::string_view suffix) {
    if (!name.ends_with(suffix)) return 0;
    const std::string digits = name.substr(0, name.size() - suffix.size());
    if (digits.empty() || digits.size() > 9 || digits[0] == '0') return 0;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return 0;
    return std::stoi(digits);
}

std::string numbered(int n, std::string_view suffix) { return std::to_string(n) + std::string(suffix); }

// A file this program puts in its own folders.
bool own_file(const forms::Listed& e) {
    if (e.type == Entry::File && (number_of(e.name, kJournal) || number_of(e.name, kPart))) return true;
    return (e.type == Entry::File || e.type == Entry::Link) && number_of(e.name, kAside);
}

bool is_done_name(const std::string& name) {
    const std::string prefix = std::string(kDoneFolder) + "-";
    if (forms::same_name(name, kDoneFolder)) return true;
    return name.size() > prefix.size() && forms::same_name(name.substr(0, prefix.size()), prefix) &&
           number_of(name.substr(prefix.size()), "") > 0;
}

// Names are kept byte for byte: control characters and the escape itself as
// %XX, so that no name can break a line or a field of the record.
std::string escaped(const std::string& s) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '%') {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view s) {
    const auto hex = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1; };
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto u = static_cast<unsigned char>(s[i]);
        if (u < 0x20 || u == 0x7F) return std::nullopt;
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size()) return std::nullopt;
        const int hi = hex(s[i + 1]), lo = hex(s[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::vector<std::string> split(std::string_view s, char by) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const auto cut = s.find(by, start);
        parts.emplace_back(s.substr(start, cut == std::string_view::npos ? std::string_view::npos : cut - start));
        if (cut == std::string_view::npos) return parts;
        start = cut + 1;
    }
}

// Why a relative path of the record is not one the run could have written.
std::optional<std::string> bad_components(const std::string& rel) {
    const std::vector<std::string> parts = split(rel, '\\');
    for (const std::string& c : parts) {
        if (c.empty() || c == "." || c == "..") return "leads out of the output folder";
        if (c.find_first_of(std::string_view("/\0", 2)) != std::string::npos) return "is no plain relative path";
#ifdef _WIN32
        if (c.find(':') != std::string::npos) return "names a drive or a stream";
        // Windows drops a trailing point or blank: ".. " would be "..".
        if (c.back() == '.' || c.back() == ' ') return "leads out of the output folder";
#endif
    }
    if (forms::same_name(parts.front().substr(0, std::string_view(kUndoFolder).size()), kUndoFolder))
        return "lies in the program's own folders";
    return std::nullopt;
}

std::string untrusted(const std::string& path, const std::string& why) {
    return "The record of an earlier run on this folder cannot be used: " + quoted(path) + " " + why +
           ". This program did not write it, or it was changed since. Check it, keep what you need of it, remove "
           "it and try again.";
}

}  // namespace

UndoJournal::UndoJournal(forms::FileSystem& files, std::string folder) : files_(files), folder_(std::move(folder)) {}

std::string UndoJournal::at(const std::string& relative) const { return forms::join_local(folder_, relative); }

std::string UndoJournal::undo_folder() const { return at(kUndoFolder); }

std::optional<std::string> UndoJournal::inspect() {
    cut_short_ = false;
    record_.clear();
    parts_.clear();
    done_.clear();
    std::optional<forms::Listed> live;
    for (const forms::Listed& e : files_.list(folder_)) {
        if (forms::same_name(e.name, kUndoFolder)) live = e;
        else if (is_done_name(e.name) && e.type != Entry::Folder) return untrusted(at(e.name), "is not a folder");
        else if (is_done_name(e.name)) done_.push_back(e.name);
    }
    if (!live) return std::nullopt;
    if (live->type != Entry::Folder) return untrusted(at(live->name), "is not a folder");
    std::map<int, std::string> journals;
    for (const forms::Listed& e : files_.list(undo_folder())) {
        const std::string path = forms::join_local(undo_folder(), e.name);
        if (!own_file(e)) return untrusted(path, "is none of its files");
        if (const int n = number_of(e.name, kJournal)) journals[n] = path;
        if (number_of(e.name, kPart)) parts_.push_back(path);
    }
    std::vector<std::string> ordered;
    for (const auto& [n, path] : journals) {
        if (n != static_cast<int>(ordered.size()) + 1)
            return untrusted(forms::join_local(undo_folder(), numbered(static_cast<int>(ordered.size()) + 1, kJournal)),
                             "is missing");
        ordered.push_back(path);
    }
    if (auto why = read_record(ordered)) return why;
    cut_short_ = true;
    return std::nullopt;
}

std::optional<std::string> UndoJournal::read_record(const std::vector<std::string>& names) {
    const std::string root = files_.resolved(folder_);
    int asides = 0;
    for (const std::string& journal : names) {
        const std::vector<std::string> lines = split(files_.read_file(journal), '\n');
        // The header, the steps, the end and the empty rest after the last newline.
        if (lines.size() < 3 || lines.front() != kHeader || lines[lines.size() - 2] != kEnd || !lines.back().empty())
            return untrusted(journal, "is not a complete record");
        Journal read{journal, {}};
        for (std::size_t i = 1; i + 2 < lines.size(); ++i) {
            const std::vector<std::string> fields = split(lines[i], '\t');
            const std::string& kind = fields[0];
            const std::size_t expected = kind == "w" ? 2 : 3;
            std::optional<std::string> from, to = std::string();
            if ((kind != "a" && kind != "w" && kind != "r") || fields.size() != expected ||
                !(from = unescaped(fields[1])) || (expected == 3 && !(to = unescaped(fields[2]))))
                return untrusted(journal, "holds a line that is not a step: " + quoted(escaped(lines[i])));
            read.steps.push_back({kind[0], *from, *to});
            if (auto why = check_step(read.steps.back(), journal, root, asides)) return why;
        }
        record_.push_back(std::move(read));
    }
    return std::nullopt;
}

std::optional<std::string> UndoJournal::check_step(const Step& step, const std::string& journal,
                                                   const std::string& root, int& asides) {
    const auto names = [&](const std::string& rel, const std::string& why) {
        return untrusted(journal, "names " + quoted(escaped(rel)) + ", which " + why);
    };
    std::vector<std::string> paths;
    if (step.kind == 'a') {
        const std::string aside = std::string(kUndoFolder) + "\\" + numbered(++asides, kAside);
        if (step.from != aside) return names(step.from, "is not the next of its set-aside files");
        paths = {step.to};
    } else {
        paths = {step.from};
        if (step.kind == 'r') paths.push_back(step.to);
    }
    for (const std::string& rel : paths) {
        if (auto why = bad_components(rel)) return names(rel, *why);
        // Every folder on the way is a real folder inside the output folder.
        const std::vector<std::string> parts = split(rel, '\\');
        std::string folder;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            folder = folder.empty() ? parts[i] : folder + "\\" + parts[i];
            const Entry e = files_.entry(at(folder));
            if (e == Entry::Link) return names(rel, "passes through a link");
            if (e != Entry::Folder) return names(rel, "passes through a folder that is not there");
        }
        if (!folder.empty() && !forms::is_under(files_.resolved(at(folder)), root))
            return names(rel, "leads out of the output folder");
        // A rename moves a link itself; a written file is never a link.
        const Entry last = files_.entry(at(rel));
        if (last == Entry::Folder || last == Entry::Other) return names(rel, "is not a file");
        if (step.kind == 'w' && last == Entry::Link) return names(rel, "is a link");
    }
    return std::nullopt;
}

void UndoJournal::record(std::vector<Step> steps) {
    const int n = static_cast<int>(record_.size()) + 1;
    std::string text = std::string(kHeader) + "\n";
    for (const Step& s : steps) {
        text += s.kind;
        text += '\t';
        text += escaped(s.from);
        if (s.kind != 'w') {
            text += '\t';
            text += escaped(s.to);
        }
        text += '\n';
    }
    text += std::string(kEnd) + "\n";
    const std::string part = forms::join_local(undo_folder(), numbered(n, kPart));
    record_.push_back({forms::join_local(undo_folder(), numbered(n, kJournal)), std::move(steps)});
    // Written whole under another name first: a journal is there complete or not at all.
    files_.write_file(part, text);
    files_.rename(part, record_.back().path);
}

void UndoJournal::begin() { files_.make_folder(undo_folder()); }

void UndoJournal::set_aside(const std::vector<std::string>& paths) {
    std::vector<Step> steps;
    for (std::size_t i = 0; i < paths.size(); ++i)
        steps.push_back({'a', std::string(kUndoFolder) + "\\" + numbered(static_cast<int>(i) + 1, kAside), paths[i]});
    record(steps);
    for (const Step& s : steps) files_.rename(at(s.to), at(s.from));
}

void UndoJournal::will_write(const std::vector<std::string>& paths) {
    std::vector<Step> steps;
    for (const std::string& p : paths) steps.push_back({'w', p, ""});
    record(std::move(steps));
}

void UndoJournal::will_rename(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::vector<Step> steps;
    for (const auto& [from, to] : pairs) steps.push_back({'r', from, to});
    record(std::move(steps));
}

void UndoJournal::undo() {
    const Entry folder = files_.entry(undo_folder());
    if (folder == Entry::None && record_.empty()) return;  // nothing begun
    if (folder != Entry::Folder)
        throw forms::Error(forms::kPathNotFound, "The record of the run, " + quoted(undo_folder()) + ", is gone.");
    // Latest step first; a journal goes once all its steps are reversed, so
    // that an undo cut short can be taken up again where it stopped.
    for (auto journal = record_.rbegin(); journal != record_.rend(); ++journal) {
        for (auto it = journal->steps.rbegin(); it != journal->steps.rend(); ++it) {
            const std::string from = at(it->from), to = at(it->to);
            if (it->kind == 'r' && files_.exists(to) && !files_.exists(from)) files_.rename(to, from);
            // Whatever stands at a written path, the run wrote it: what stood
            // there before was set aside first.
            if (it->kind == 'w' && files_.exists(from)) files_.remove(from);
            if (it->kind == 'a' && files_.exists(from) && !files_.exists(to)) files_.rename(from, to);
        }
        const std::string part = journal->path.substr(0, journal->path.size() - kJournal.size()) + std::string(kPart);
        for (const std::string& file : {journal->path, part})
            if (files_.exists(file)) files_.remove(file);
    }
    for (const std::string& part : parts_)
        if (files_.exists(part)) files_.remove(part);
    files_.remove_folder(undo_folder());
    record_.clear();
    parts_.clear();
    cut_short_ = false;
}

void UndoJournal::commit() {
    std::string done = kDoneFolder;
    for (int n = 2; files_.exists(at(done)); ++n) done = std::string(kDoneFolder) + "-" + std::to_string(n);
    try {
        files_.rename(undo_folder(), at(done));
    } catch (...) {
        // Decided by what is there: a rename may take effect and still fail.
        if (files_.entry(undo_folder()) != Entry::None || files_.entry(at(done)) != Entry::Folder) throw;
    }
    record_.clear();
    parts_.clear();
    done_.push_back(done);
}

std::vector<std::string> UndoJournal::clear_leftovers() {
    std::vector<std::string> foreign;
    for (const std::string& name : done_) {
        const std::string folder = at(name);
        try {
            if (files_.entry(folder) != Entry::Folder) continue;
            bool emptied = true;
            for (const forms::Listed& e : files_.list(folder)) {
                const std::string path = forms::join_local(folder, e.name);
                if (!own_file(e)) {
                    foreign.push_back(path);
                    emptied = false;
                    continue;
                }
                try {
                    files_.remove(path);
                } catch (...) {
                    emptied = false;  // in use, say: a later run clears it
                }
            }
            if (emptied) files_.remove_folder(folder);
        } catch (...) {
        }
    }
    done_.clear();
    return foreign;
}

}  // namespace duplication
