// The put-back of a record: every step reversed, latest first, once it is
// clear that each can be; a place counts as free when the file the system
// finds there is one the put-back takes away.
#include <algorithm>

#include "duplication/sha256.h"
#include "duplication/undo_files.h"
#include "duplication/undo_journal.h"
#include "platform/file_system.h"
#include "platform/forms.h"

namespace duplication {

using forms::Entry;
using namespace undo_files;

// Whether the file found at a written path holds what the run wrote there:
// its size first, then its digest, read in pieces.
bool UndoJournal::holds_written(const Step& step, const forms::Found& found) {
    if (found.type != Entry::File || found.size != step.size) return false;
    Sha256 digest;
    files_.read_pieces(at(step.from), [&](std::string_view piece) { digest.add(piece); });
    return digest.hex() == step.hash;
}

// Why a file could not go back into the folder rel: the first folder on the
// way down that is not there, with what stands in its place.
std::optional<std::string> UndoJournal::folder_in_the_way(const std::string& rel, std::string& what) {
    if (rel == ".") return std::nullopt;
    for (std::size_t cut = rel.find('\\');; cut = rel.find('\\', cut + 1)) {
        const std::string part = rel.substr(0, cut);
        switch (files_.entry(at(part))) {
            case Entry::Folder: break;
            case Entry::None:
                what = "a folder that is gone: make it again";
                return part;
            default:
                what = "where a folder of the run must be";
                return part;
        }
        if (cut == std::string::npos) return std::nullopt;
    }
}

namespace {

// What the put-back plans so far: the files it takes from where they stand
// now, by identity, and the places it moves files to.
struct Planned {
    std::vector<forms::FileId> leaving;
    std::vector<std::string> arriving;

    bool leaves(const forms::Found& f) const {
        return std::find(leaving.begin(), leaving.end(), f.id) != leaving.end();
    }
};

}  // namespace

// The changes that reverse the record, latest first, a list per journal;
// in_the_way gets a line for each path that keeps a step from being
// reversed. Changes nothing.
std::vector<std::vector<UndoJournal::Action>> UndoJournal::plan_undo(std::string& in_the_way) {
    Planned planned;
    // Whether a place is free once the changes planned so far are made: the
    // file system says which file answers to its name now.
    const auto free = [&](const std::string& rel) {
        if (std::find(planned.arriving.begin(), planned.arriving.end(), rel) != planned.arriving.end()) return false;
        const forms::Found there = files_.stat(at(rel));
        return there.type == Entry::None || planned.leaves(there);
    };
    std::vector<std::string> blocked_paths;
    const auto blocked = [&](const std::string& rel, const std::string& what) {
        if (std::find(blocked_paths.begin(), blocked_paths.end(), rel) != blocked_paths.end()) return;
        blocked_paths.push_back(rel);
        // Appended piece by piece: g++ 12 at -O3 warns falsely of an overlap
        // on "\n" + a temporary string.
        in_the_way += '\n';
        in_the_way += quoted(at(rel)) + " (" + what + ")";
    };
    std::vector<std::vector<Action>> plan;
    for (auto journal = record_.rbegin(); journal != record_.rend(); ++journal) {
        std::vector<Action>& actions = plan.emplace_back();
        const std::vector<Step>& steps = journal->steps;
        // What each write left: its file begun in the undo folder, what stands
        // at its place and whether that holds what it wrote. Writes go one
        // after the other, and a later journal is written only once every
        // step of this one is taken: so a write is known taken when a later
        // one is begun or done, and known not taken from the first one begun
        // and not moved into place.
        std::vector<char> begun(steps.size()), done(steps.size()), taken(steps.size()), untaken(steps.size());
        std::vector<forms::Found> there(steps.size());
        for (std::size_t i = 0; i < steps.size(); ++i) {
            if (steps[i].kind != 'w') continue;
            begun[i] = files_.exists(at(steps[i].to));
            there[i] = files_.stat(at(steps[i].from));
            done[i] = there[i].type != Entry::None && holds_written(steps[i], there[i]);
            untaken[i] = begun[i] || (i > 0 && untaken[i - 1]);
        }
        bool later = journal != record_.rbegin();
        for (std::size_t i = steps.size(); i-- > 0;) {
            taken[i] = later;
            later = later || begun[i] || done[i];
        }
        for (std::size_t i = steps.size(); i-- > 0;) {
            const Step& s = steps[i];
            if (s.kind == 'w') {
                if (begun[i]) actions.push_back({s.to, ""});
                if (there[i].type == Entry::None) continue;
                if (done[i]) {
                    actions.push_back({s.from, ""});
                    planned.leaving.push_back(there[i].id);
                } else {
                    blocked(s.from, untaken[i] ? "not written by the run"
                                    : taken[i] ? "changed since the run wrote it"
                                               : "not what the run wrote there");
                }
                continue;
            }
            // A file moved back: a rename from its new name, a set-aside file
            // from the undo folder. Not there: the step was not taken.
            const std::string& now = s.kind == 'r' ? s.to : s.from;
            const std::string& back = s.kind == 'r' ? s.from : s.to;
            const forms::Found moved = files_.stat(at(now));
            if (moved.type == Entry::None) continue;
            if (moved.type != Entry::File) {
                blocked(now, s.kind == 'r' ? "not the file the run renamed" : "not the file the run set aside");
                continue;
            }
            std::string what;
            if (const auto folder = folder_in_the_way(folder_of(back), what)) {
                blocked(*folder, what);
                continue;
            }
            if (!free(back)) {
                blocked(back, s.kind == 'r' ? "where a file the run renamed goes back"
                                            : "where a file the run set aside goes back");
                continue;
            }
            actions.push_back({now, back});
            planned.leaving.push_back(moved.id);
            planned.arriving.push_back(back);
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

}  // namespace duplication
