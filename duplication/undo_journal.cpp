#include "duplication/undo_journal.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/forms.h"

namespace duplication {
namespace {

constexpr std::string_view kJournal = ".journal";

std::string number_name(int n, std::string_view suffix) { return std::to_string(n) + std::string(suffix); }

// The number a journal or set-aside file is named after.
int number_of(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    return std::atoi(name.c_str());
}

}  // namespace

UndoJournal::UndoJournal(forms::FileSystem& files, std::string folder) : files_(files), folder_(std::move(folder)) {}

std::string UndoJournal::at(const std::string& relative) const { return forms::join_local(folder_, relative); }

std::string UndoJournal::undo_folder() const { return at(kUndoFolder); }
std::string UndoJournal::done_folder() const { return at(std::string(kUndoFolder) + "-done"); }

void UndoJournal::record(const std::vector<Step>& steps) {
    std::string text;
    for (const Step& s : steps) text += std::string(1, s.kind) + "\t" + s.from + "\t" + s.to + "\n";
    files_.write_file(forms::join_local(undo_folder(), number_name(++journals_, kJournal)), text);
}

std::vector<UndoJournal::Step> UndoJournal::read_record(const std::string& journal) {
    const std::string text = files_.read_file(journal);
    std::vector<Step> steps;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto end = text.find('\n', pos);
        // A line cut short by a kill was never acted on.
        if (end == std::string::npos) break;
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        const auto tab = line.find('\t', 2);
        if (line.size() < 2 || line[1] != '\t' || tab == std::string::npos) continue;
        steps.push_back({line[0], line.substr(2, tab - 2), line.substr(tab + 1)});
    }
    return steps;
}

std::vector<std::string> UndoJournal::journals() {
    std::vector<std::string> list;
    for (const forms::Listed& e : files_.list(undo_folder()))
        if (e.name.ends_with(kJournal)) list.push_back(forms::join_local(undo_folder(), e.name));
    std::sort(list.begin(), list.end(),
              [](const std::string& a, const std::string& b) { return number_of(a) < number_of(b); });
    return list;
}

void UndoJournal::begin() { files_.make_folder(undo_folder()); }

void UndoJournal::set_aside(const std::vector<std::string>& paths) {
    std::vector<Step> steps;
    for (std::size_t i = 0; i < paths.size(); ++i)
        steps.push_back({'a', std::string(kUndoFolder) + "\\" + number_name(static_cast<int>(i) + 1, ".aside"),
                         paths[i]});
    record(steps);
    for (const Step& s : steps) files_.rename(at(s.to), at(s.from));
}

void UndoJournal::will_write(const std::vector<std::string>& paths) {
    std::vector<Step> steps;
    for (const std::string& p : paths) steps.push_back({'w', p, ""});
    record(steps);
}

void UndoJournal::will_rename(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::vector<Step> steps;
    for (const auto& [from, to] : pairs) steps.push_back({'r', from, to});
    record(steps);
}

void UndoJournal::undo() {
    // Latest step first; a journal goes once all its steps are reversed, so
    // that an undo cut short can be taken up again where it stopped.
    if (!files_.is_directory(undo_folder())) return;  // nothing begun
    std::vector<std::string> record = journals();
    for (auto journal = record.rbegin(); journal != record.rend(); ++journal) {
        const std::vector<Step> steps = read_record(*journal);
        for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
            const std::string from = at(it->from), to = at(it->to);
            if (it->kind == 'r' && files_.exists(to) && !files_.exists(from)) files_.rename(to, from);
            // Whatever stands at a written path, the run wrote it: what stood
            // there before was set aside first.
            if (it->kind == 'w' && files_.exists(from)) files_.remove(from);
            if (it->kind == 'a' && files_.exists(from) && !files_.exists(to)) files_.rename(from, to);
        }
        files_.remove(*journal);
    }
    drop(undo_folder());
    journals_ = 0;
}

void UndoJournal::commit() {
    // One rename marks the run done; what is left is then only leftovers,
    // which the next run clears if they cannot go now, whatever stops them.
    files_.rename(undo_folder(), done_folder());
    journals_ = 0;
    try {
        drop(done_folder());
    } catch (...) {
    }
}

void UndoJournal::drop(const std::string& folder) {
    for (const forms::Listed& left : files_.list(folder)) files_.remove(forms::join_local(folder, left.name));
    files_.remove_folder(folder);
}

bool UndoJournal::recover() {
    if (files_.is_directory(done_folder())) drop(done_folder());
    if (!files_.is_directory(undo_folder())) return false;
    undo();
    return true;
}

}  // namespace duplication
