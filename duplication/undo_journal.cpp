#include "duplication/undo_journal.h"

#include <algorithm>
#include <map>

#include "duplication/sha256.h"
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
constexpr std::string_view kNew = ".new";    // a written file before it is moved into place

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
#endif
    }
    if (is_own_folder_name(parts.front())) return "lies in the program's own folders";
    return std::nullopt;
}

std::string untrusted(const std::string& path, const std::string& why) {
    return "The record of an earlier run on this folder cannot be used: " + quoted(path) + " " + why +
           ". This program did not write it, or it was changed since. Check it, keep what you need of it, remove "
           "it and try again.";
}

}  // namespace

PutBackError::PutBackError(Kind kind, std::string in_the_way, std::exception_ptr cause)
    : std::runtime_error("The folder could not be put back."),
      kind(kind),
      in_the_way(std::move(in_the_way)),
      cause(std::move(cause)) {}

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
        if (!is_own_folder_name(e.name)) continue;
        if (forms::same_name(e.name, kUndoFolder)) live = e;
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
        const std::vector<std::string> lines = split(files_.read_file(journal), '\n');
        // The header, the steps, the end and the empty rest after the last newline.
        if (lines.size() < 3 || lines.front() != kHeader || lines[lines.size() - 2] != kEnd || !lines.back().empty())
            return untrusted(journal, "is not a complete record");
        record_.push_back({journal, {}});
        for (std::size_t i = 1; i + 2 < lines.size(); ++i) {
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
    return std::nullopt;
}

// A step names what a run could have left there: an old .xml file set
// aside, an .xml file written, a .meta file renamed in its folder; no path
// twice, none through a link.
std::optional<std::string> UndoJournal::check_step(const Step& step, const std::string& journal) {
    const auto names = [&](const std::string& rel, const std::string& why) {
        return untrusted(journal, "names " + quoted(escaped(rel)) + ", which " + why);
    };
    const std::string& place = step.kind == 'a' ? step.to : step.from;
    std::vector<std::string> paths{place};
    if (step.kind == 'r') paths.push_back(step.to);
    const std::string suffix = step.kind == 'r' ? ".meta" : ".xml";
    for (const std::string& rel : paths) {
        if (auto why = bad_components(rel)) return names(rel, *why);
        if (!ends_with_nocase(name_of(rel), suffix)) return names(rel, "is no " + suffix + " file");
        if (first_link(files_, folder_, folder_of(rel))) return names(rel, "passes through a link");
    }
    if (step.kind == 'r' && (folder_of(step.from) != folder_of(step.to) || forms::same_name(step.from, step.to)))
        return names(step.to, "is not a new name in the same folder");
    // A run's paths are distinct, also as the file system compares names.
    for (const Journal& j : record_)
        for (const Step& other : j.steps) {
            if (other.kind != step.kind) continue;
            const std::string& other_place = other.kind == 'a' ? other.to : other.from;
            if (forms::same_name(other_place, place)) return names(place, "is named twice");
            if (step.kind == 'r' && forms::same_name(other.to, step.to)) return names(step.to, "is named twice");
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

void UndoJournal::begin() { files_.make_folder(undo_folder()); }

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

// Whether the file at a written path holds what the run wrote there.
bool UndoJournal::holds_written(const Step& step) {
    const std::string path = at(step.from);
    if (files_.entry(path) != Entry::File) return false;
    const std::string bytes = files_.read_file(path);
    return bytes.size() == step.size && sha256_hex(bytes) == step.hash;
}

// The changes that reverse the record, latest first, a list per journal;
// in_the_way gets a line for each path that keeps a step from being
// reversed. Changes nothing.
std::vector<std::vector<UndoJournal::Action>> UndoJournal::plan_undo(std::string& in_the_way) {
    // What stands at a path once the changes planned so far are made.
    std::vector<std::pair<std::string, bool>> planned;
    const auto there = [&](const std::string& rel) {
        for (auto it = planned.rbegin(); it != planned.rend(); ++it)
            if (forms::same_name(it->first, rel)) return it->second;
        return files_.exists(at(rel));
    };
    const auto blocked = [&](const std::string& rel, const std::string& what) {
        // Appended piece by piece: g++ 12 at -O3 warns falsely of an overlap
        // on "\n" + a temporary string.
        in_the_way += '\n';
        in_the_way += quoted(at(rel)) + " (" + what + ")";
    };
    std::vector<std::vector<Action>> plan;
    for (auto journal = record_.rbegin(); journal != record_.rend(); ++journal) {
        std::vector<Action>& actions = plan.emplace_back();
        for (auto it = journal->steps.rbegin(); it != journal->steps.rend(); ++it) {
            const Step& s = *it;
            if (s.kind == 'w') {
                if (files_.exists(at(s.to))) actions.push_back({s.to, ""});
                if (!there(s.from)) continue;
                if (!holds_written(s)) {
                    blocked(s.from, "changed since the run wrote it");
                    continue;
                }
                actions.push_back({s.from, ""});
                planned.emplace_back(s.from, false);
                continue;
            }
            // A file moved back: a rename from its new name, a set-aside file
            // from the undo folder. Not there: the step was not taken.
            const std::string& now = s.kind == 'r' ? s.to : s.from;
            const std::string& back = s.kind == 'r' ? s.from : s.to;
            if (!there(now)) continue;
            if (s.kind == 'r' && files_.entry(at(now)) != Entry::File) {
                blocked(now, "not the file the run renamed");
                continue;
            }
            if (folder_of(back) != "." && files_.entry(at(folder_of(back))) != Entry::Folder) {
                blocked(folder_of(back), "a folder that is gone: make it again");
                continue;
            }
            if (there(back)) {
                blocked(back, s.kind == 'r' ? "where a file the run renamed goes back"
                                            : "where a file the run set aside goes back");
                continue;
            }
            actions.push_back({now, back});
            planned.emplace_back(now, false);
            planned.emplace_back(back, true);
        }
    }
    return plan;
}

void UndoJournal::undo() {
    const Entry folder = files_.entry(undo_folder());
    if (folder == Entry::None && record_.empty()) return;  // nothing begun
    if (folder != Entry::Folder)
        throw PutBackError(PutBackError::Failed, "",
                           std::make_exception_ptr(forms::Error(
                               forms::kPathNotFound, "The record of the run, " + quoted(undo_folder()) + ", is gone.")));
    std::string in_the_way;
    std::vector<std::vector<Action>> plan;
    try {
        plan = plan_undo(in_the_way);
    } catch (...) {
        throw PutBackError(PutBackError::Failed, "", std::current_exception());
    }
    if (!in_the_way.empty()) throw PutBackError(PutBackError::InTheWay, in_the_way.substr(1), nullptr);
    // A journal goes once all its steps are reversed, so that a put-back cut
    // short can be taken up again where it stopped.
    bool changed = false;
    try {
        for (std::size_t j = 0; j < plan.size(); ++j) {
            for (const Action& a : plan[j]) {
                if (a.to.empty()) files_.remove(at(a.from));
                else files_.rename(at(a.from), at(a.to));
                changed = true;
            }
            const std::string& journal = record_[record_.size() - 1 - j].path;
            const std::string part = journal.substr(0, journal.size() - kJournal.size()) + std::string(kPart);
            for (const std::string& file : {journal, part})
                if (files_.exists(file)) {
                    files_.remove(file);
                    changed = true;
                }
        }
        for (const std::string& part : parts_)
            if (files_.exists(part)) files_.remove(part);
        files_.remove_folder(undo_folder());
    } catch (...) {
        throw PutBackError(changed ? PutBackError::InPart : PutBackError::Failed, "", std::current_exception());
    }
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
