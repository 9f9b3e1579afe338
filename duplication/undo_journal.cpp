#include "duplication/undo_journal.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "duplication/sha256.h"
#include "duplication/undo_files.h"
#include "platform/file_system.h"
#include "platform/forms.h"

namespace duplication {
namespace {

using forms::Entry;
using namespace undo_files;

constexpr std::string_view kHeader = "vorlix-tools undo record 2";
constexpr std::string_view kRun = "for";  // the line naming the run: its kind text and new name
// A record is small; a larger file is none of the program's.
constexpr std::uint64_t kLargestRecord = 4 << 20;
constexpr std::string_view kEnd = "end";

// The number a file of the record is named after ("12.journal" -> 12), or 0.
int number_of(const std::string& name, std::string_view suffix) {
    if (!name.ends_with(suffix)) return 0;
    const std::string digits = name.substr(0, name.size() - suffix.size());
    if (digits.empty() || digits.size() > 9 || digits[0] == '0') return 0;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return 0;
    return std::stoi(digits);
}

std::string numbered(int n, std::string_view suffix) { return std::to_string(n) + std::string(suffix); }

std::string in_undo_folder(int n, std::string_view suffix) {
    return std::string(kUndoFolder) + "\\" + numbered(n, suffix);
}

// A file this program puts in its own folders.
bool own_file(const forms::Listed& e) {
    return e.type == Entry::File && (number_of(e.name, kJournal) || number_of(e.name, kPart) ||
                                     number_of(e.name, kAside) || number_of(e.name, kNew));
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

// A size as the record writes it: decimal digits, no leading zero.
std::optional<std::size_t> size_of(const std::string& s) {
    if (s.empty() || s.size() > 12 || (s.size() > 1 && s[0] == '0')) return std::nullopt;
    if (!std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
    return static_cast<std::size_t>(std::stoull(s));
}

bool is_hash(const std::string& s) {
    return s.size() == 64 && std::all_of(s.begin(), s.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
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
        if (is_device_name(c)) return "is a name that Windows keeps for a device";
#endif
    }
    if (is_own_folder_name(parts.front())) return "lies in the program's own folders";
    return std::nullopt;
}

// Whether a recorded rename is the run's rename from -> to: the same new
// name, from its old one as the folder listed it (in any case).
bool is_rename(const auto& step, const std::pair<std::string, std::string>& rename) {
    const auto& [from, to] = rename;
    return step.to == to && folder_of(step.from) == folder_of(from) &&
           forms::same_in_any_case(name_of(step.from), name_of(from));
}

}  // namespace

PutBackError::PutBackError(Kind kind, std::string detail, std::exception_ptr cause)
    : std::runtime_error("The folder could not be put back."),
      kind(kind),
      detail(std::move(detail)),
      cause(std::move(cause)) {}

std::string UndoJournal::untrusted(const std::string& path, const std::string& why) {
    return "The record of an earlier run on this folder cannot be used: " + quoted(path) + " " + why +
           ". This program did not write it, or it was changed since. Check it, keep what you need of it, remove "
           "it and try again.";
}

UndoJournal::UndoJournal(forms::FileSystem& files, std::string folder, ScopeOf scope_of)
    : files_(files), folder_(std::move(folder)), scope_of_(std::move(scope_of)) {}

std::string UndoJournal::at(const std::string& relative) const { return forms::join_local(folder_, relative); }

std::string UndoJournal::undo_folder() const { return at(kUndoFolder); }

std::optional<std::string> UndoJournal::inspect() {
    cut_short_ = false;
    record_.clear();
    parts_.clear();
    done_.clear();
    run_.clear();
    scope_.reset();
    std::optional<forms::Listed> live;
    for (const forms::Listed& e : files_.list(folder_)) {
        // The program's folders are what the file system finds under its own names.
        const auto own = own_folder(files_, folder_, e.name);
        if (!own) continue;
        if (*own == kUndoFolder) live = e;
        else if (e.type != Entry::Folder) return untrusted(at(e.name), "is not a folder");
        else done_.push_back(e.name);
    }
    if (!live) return std::nullopt;
    if (live->type != Entry::Folder) return untrusted(at(live->name), "is not a folder");
    std::map<int, std::string> journals;
    int asides = 0, news = 0;  // the highest numbers there
    for (const forms::Listed& e : files_.list(undo_folder())) {
        const std::string path = forms::join_local(undo_folder(), e.name);
        if (!own_file(e)) return untrusted(path, "is none of its files");
        if (const int n = number_of(e.name, kJournal)) journals[n] = path;
        if (number_of(e.name, kPart)) parts_.push_back(path);
        if (const int n = number_of(e.name, kAside); n > asides) asides = n;
        if (const int n = number_of(e.name, kNew); n > news) news = n;
    }
    std::vector<std::string> ordered;
    for (const auto& [n, path] : journals) {
        if (n != static_cast<int>(ordered.size()) + 1)
            return untrusted(at(in_undo_folder(static_cast<int>(ordered.size()) + 1, kJournal)),
                             "is missing");
        ordered.push_back(path);
    }
    if (auto why = read_record(ordered, asides, news)) return why;
    cut_short_ = true;
    return std::nullopt;
}

// asides, news: the highest numbers of such files in the undo folder, each
// of which the record must name.
std::optional<std::string> UndoJournal::read_record(const std::vector<std::string>& names, int asides, int news) {
    int named_asides = 0, named_news = 0;
    for (const std::string& journal : names) {
        if (files_.stat(journal).size > kLargestRecord) return untrusted(journal, "is too large to be a record");
        const std::vector<std::string> lines = split(files_.read_file(journal), '\n');
        // The header, the run, the steps, the end and the empty rest after the last newline.
        if (lines.size() < 4 || lines.front() != kHeader || lines[lines.size() - 2] != kEnd || !lines.back().empty())
            return untrusted(journal, "is not a complete record of this version of the program");
        if (auto why = read_run(journal, lines[1])) return why;
        record_.push_back({journal, {}});
        for (std::size_t i = 2; i + 2 < lines.size(); ++i) {
            const std::vector<std::string> fields = split(lines[i], '\t');
            const std::string& kind = fields[0];
            const std::size_t expected = kind == "w" ? 4 : 3;
            std::optional<std::string> from, to;
            std::optional<std::size_t> size = 0;
            const bool step = (kind == "a" || kind == "w" || kind == "r") && fields.size() == expected &&
                              (from = unescaped(fields[1])) &&
                              (kind == "w" ? (size = size_of(fields[2])) && is_hash(fields[3])
                                           : static_cast<bool>(to = unescaped(fields[2])));
            if (!step) return untrusted(journal, "holds a line that is not a step: " + quoted(escaped(lines[i])));
            Step read{kind[0], *from, to.value_or(""), *size, kind == "w" ? fields[3] : ""};
            if (read.kind == 'w') read.to = in_undo_folder(++named_news, kNew);
            if (read.kind == 'a' && read.from != in_undo_folder(++named_asides, kAside))
                return untrusted(journal, "names " + quoted(escaped(read.from)) +
                                              ", which is not the next of its set-aside files");
            if (auto why = check_step(read, journal)) return why;
            record_.back().steps.push_back(std::move(read));
        }
    }
    if (asides > named_asides)
        return untrusted(at(in_undo_folder(asides, kAside)), "is none of its files");
    if (news > named_news) return untrusted(at(in_undo_folder(news, kNew)), "is none of its files");
    return check_journals();
}

// A run writes three journals, each whole before its steps are taken: the
// old files it sets aside, then every file it writes, then every rename, each
// in the order of its object's table. A record that holds less has lost a
// part of it.
std::optional<std::string> UndoJournal::check_journals() {
    if (record_.empty()) return std::nullopt;
    const RunScope& scope = *scope_;
    for (std::size_t j = 0; j < record_.size(); ++j) {
        const Journal& journal = record_[j];
        if (j == 3) return untrusted(journal.path, "is one journal more than its run writes");
        const char kind = "awr"[j];
        if (!std::all_of(journal.steps.begin(), journal.steps.end(), [&](const Step& s) { return s.kind == kind; }))
            return untrusted(journal.path, j == 0   ? "holds a step other than an old file set aside"
                                           : j == 1 ? "holds a step other than a file written"
                                                    : "holds a step other than a rename");
        const std::vector<Step>& steps = journal.steps;
        if (j == 1 && !std::equal(steps.begin(), steps.end(), scope.writes.begin(), scope.writes.end(),
                                  [](const Step& s, const std::string& rel) { return s.from == rel; }))
            return untrusted(journal.path, "does not name every file its run writes, in the order it writes them");
        if (j == 2 && !std::equal(steps.begin(), steps.end(), scope.renames.begin(), scope.renames.end(),
                                  [](const Step& s, const auto& r) { return is_rename(s, r); }))
            return untrusted(journal.path, "does not name every rename of its run, in the order it makes them");
    }
    return std::nullopt;
}

// The run a journal is for: every journal of a record names the same one, and
// it must be a run this program would make.
std::optional<std::string> UndoJournal::read_run(const std::string& journal, const std::string& line) {
    if (!run_.empty()) {
        if (line != run_) return untrusted(journal, "is for another run than the rest of the record");
        return std::nullopt;
    }
    const std::vector<std::string> fields = split(line, '\t');
    std::optional<std::string> kind, name;
    if (fields.size() != 3 || fields[0] != kRun || !(kind = unescaped(fields[1])) || !(name = unescaped(fields[2])))
        return untrusted(journal, "does not say which run it is for");
    auto scope = scope_of_(*kind, *name);
    if (const std::string* why = std::get_if<std::string>(&scope))
        return untrusted(journal, "is for a run of the " + quoted(escaped(*kind)) + " with the new name " + quoted(escaped(*name)) +
                                      ", which this program would not make (" + *why + ")");
    run_ = line;
    scope_ = std::move(std::get<RunScope>(scope));
    return std::nullopt;
}

// A step names what its run leaves there: an old .xml file of the folders it
// sets aside, one of the files it writes, one of its renames; no path twice,
// none through a link.
std::optional<std::string> UndoJournal::check_step(const Step& step, const std::string& journal) {
    const auto names = [&](const std::string& rel, const std::string& why) {
        return untrusted(journal, "names " + quoted(escaped(rel)) + ", which " + why);
    };
    const RunScope& scope = *scope_;
    const std::string& place = step.kind == 'a' ? step.to : step.from;
    std::vector<std::string> paths{place};
    if (step.kind == 'r') paths.push_back(step.to);
    const std::string suffix = step.kind == 'r' ? ".meta" : ".xml";
    for (const std::string& rel : paths) {
        if (auto why = bad_components(rel)) return names(rel, *why);
        if (!ends_with_nocase(name_of(rel), suffix)) return names(rel, "is no " + suffix + " file");
    }
    const auto in = [](const auto& list, const auto& item) {
        return std::find(list.begin(), list.end(), item) != list.end();
    };
    if (step.kind == 'a' && !in(scope.folders, folder_of(place)))
        return names(place, "lies in no folder that its run sets aside old files of");
    if (step.kind == 'w' && !in(scope.writes, place)) return names(place, "is no file that its run writes");
    if (step.kind == 'r' && std::none_of(scope.renames.begin(), scope.renames.end(),
                                         [&](const auto& r) { return is_rename(step, r); }))
        return names(step.to, "is no rename of its run");
    for (const std::string& rel : paths)
        if (forms::length_of(name_of(rel)) > forms::max_name_length() ||
            forms::length_of(at(rel)) > forms::max_path_length())
            return names(rel, "is longer than the system allows");
    for (const std::string& rel : paths)
        if (first_link(files_, folder_, folder_of(rel))) return names(rel, "passes through a link");
    // A run names each path once; names that differ only in case are two
    // places wherever the folder held both.
    for (const Journal& j : record_)
        for (const Step& other : j.steps)
            if (other.kind == step.kind && (other.kind == 'a' ? other.to : other.from) == place)
                return names(place, "is named twice");
    return std::nullopt;
}

void UndoJournal::record(std::vector<Step> steps) {
    const int n = static_cast<int>(record_.size()) + 1;
    std::string text = std::string(kHeader) + "\n" + run_ + "\n";
    for (const Step& s : steps) {
        text += s.kind;
        text += '\t';
        text += escaped(s.from);
        text += '\t';
        if (s.kind == 'w') {
            text += std::to_string(s.size);
            text += '\t';
            text += s.hash;
        } else {
            text += escaped(s.to);
        }
        text += '\n';
    }
    text += std::string(kEnd) + "\n";
    const std::string part = at(in_undo_folder(n, kPart));
    record_.push_back({at(in_undo_folder(n, kJournal)), std::move(steps)});
    // Written whole under another name first: a journal is there complete or not at all.
    files_.write_file(part, text);
    files_.rename(part, record_.back().path);
}

void UndoJournal::begin(const std::string& kind, const std::string& name, RunScope scope) {
    run_ = std::string(kRun) + "\t" + escaped(kind) + "\t" + escaped(name);
    scope_ = std::move(scope);
    files_.make_folder(undo_folder());
}

void UndoJournal::set_aside(const std::vector<std::string>& paths) {
    std::vector<Step> steps;
    for (std::size_t i = 0; i < paths.size(); ++i)
        steps.push_back({'a', in_undo_folder(static_cast<int>(i) + 1, kAside), paths[i], 0, ""});
    record(steps);
    for (const Step& s : steps) files_.rename(at(s.to), at(s.from));
}

void UndoJournal::write(const std::vector<std::pair<std::string, std::string>>& written) {
    std::vector<Step> steps;
    for (std::size_t i = 0; i < written.size(); ++i) {
        const std::string& bytes = written[i].second;
        steps.push_back({'w', written[i].first, in_undo_folder(static_cast<int>(i) + 1, kNew), bytes.size(),
                         sha256_hex(bytes)});
    }
    record(steps);
    for (std::size_t i = 0; i < written.size(); ++i) {
        files_.write_file(at(steps[i].to), written[i].second);
        files_.rename(at(steps[i].to), at(steps[i].from));
    }
}

void UndoJournal::will_rename(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::vector<Step> steps;
    for (const auto& [from, to] : pairs) steps.push_back({'r', from, to, 0, ""});
    record(std::move(steps));
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
