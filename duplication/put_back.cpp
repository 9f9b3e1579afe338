// The put-back of a record: every step reversed, latest first, once it is
// clear that each can be and that the record accounts for everything its run
// may have left; a place counts as free when no name stands there once the
// planned changes are made.
#include <algorithm>

#include "duplication/sha256.h"
#include "duplication/undo_files.h"
#include "duplication/undo_journal.h"
#include "platform/file_system.h"
#include "platform/forms.h"

namespace duplication {

using forms::Entry;
using namespace undo_files;

namespace {

template <typename List, typename Item>
bool in(const List& list, const Item& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

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

// Whether two relative paths of the record name one entry of a folder: the
// same path, or names that differ only in case where the folder does not
// list both (it found one under the other).
bool UndoJournal::same_entry(const std::string& a, const std::string& b) {
    if (a == b) return true;
    if (folder_of(a) != folder_of(b) || !forms::same_in_any_case(name_of(a), name_of(b))) return false;
    int listed = 0;
    for (const forms::Listed& e : files_.list(at(folder_of(a)))) listed += e.name == name_of(a) || e.name == name_of(b);
    return listed < 2;
}

namespace {

// What the put-back plans so far: the files it takes away, each by its
// identity and the name it leaves, and the places it moves files to.
struct Planned {
    struct Leaving {
        forms::FileId id;
        std::string rel;
    };
    std::vector<Leaving> leaving;
    std::vector<std::string> arriving;
};

}  // namespace

// What stands where each step of the record acts, with what is known of
// whether the step was taken. Steps go one after the other and a journal is
// written only once every step of the one before is taken: so a step is known
// taken when a later one is, and a write known not taken from the first one
// begun and not moved into place.
std::vector<std::vector<UndoJournal::Seen>> UndoJournal::look() {
    std::vector<std::vector<Seen>> seen;
    for (const Journal& journal : record_) {
        std::vector<Seen>& steps = seen.emplace_back(journal.steps.size());
        bool untaken = false;
        for (std::size_t i = 0; i < journal.steps.size(); ++i) {
            const Step& s = journal.steps[i];
            Seen& here = steps[i];
            // A set-aside file went from its place (to) into the undo folder
            // (from); a renamed one from its old name (from) to its new (to).
            here.went = files_.stat(at(s.kind == 'r' ? s.to : s.from));
            here.came = files_.stat(at(s.kind == 'r' ? s.from : s.to));
            if (s.kind != 'w') continue;
            untaken = untaken || here.came.type != Entry::None;
            here.untaken = untaken;
            // A file at the place of a write that never began is not the
            // run's, whatever it holds.
            here.done = !untaken && here.went.type != Entry::None && holds_written(s, here.went);
        }
    }
    bool later = false;
    for (std::size_t j = seen.size(); j-- > 0;) {
        later = later || j + 1 < seen.size();
        for (std::size_t i = seen[j].size(); i-- > 0;) {
            Seen& here = seen[j][i];
            here.taken = later;
            const char kind = record_[j].steps[i].kind;
            later = later || (kind == 'w' ? here.done || here.came.type != Entry::None : here.went.type != Entry::None);
        }
    }
    return seen;
}

// Why the record does not account for everything its run may have left in
// the folder, or nothing when it does: a renamed file, or a set-aside one
// while a later step was taken, that stands neither where it went nor where
// it came from; a stock file that is not where the record leaves it; a file
// under a new name or at a written place that no step explains.
std::optional<std::string> UndoJournal::unaccounted(const std::vector<std::vector<Seen>>& seen) {
    if (record_.empty() || !scope_) return std::nullopt;  // no journal: nothing was changed
    const auto says = [&](const std::string& what) {
        return untrusted(undo_folder(), "does not account for what stands in the folder: " + what);
    };
    for (std::size_t j = 0; j < record_.size(); ++j)
        for (std::size_t i = 0; i < record_[j].steps.size(); ++i) {
            const Step& s = record_[j].steps[i];
            const Seen& here = seen[j][i];
            if (here.went.type != Entry::None || here.came.type != Entry::None) continue;
            if (s.kind == 'r')
                return says("the stock file " + quoted(at(s.from)) + " is missing, and so is " + quoted(at(s.to)) +
                            ", the name its run gave it");
            // A written file that is gone may have been moved away, as a
            // put-back asks of one changed since.
            if (s.kind == 'a' && here.taken)
                return says("the old file " + quoted(at(s.to)) + " is missing, and so is " + quoted(at(s.from)) +
                            ", where its run set it aside");
        }
    const RunScope& scope = *scope_;
    // Without the journal of the renames, no stock file was renamed.
    if (record_.size() < 3)
        for (const auto& [from, to] : scope.renames) {
            if (files_.exists(at(to)))
                return says(quoted(at(to)) + " stands where its run renames a stock file, and no step renamed it");
            if (!files_.exists(at(from)))
                return says("the stock file " + quoted(at(from)) + " is missing, and no step renamed it");
        }
    // Without the journal of the writes nothing was written: what stands at
    // a written place can only be an old file not yet set aside.
    if (record_.size() == 1)
        for (const std::string& rel : scope.writes) {
            const forms::Found there = files_.stat(at(rel));
            if (there.type == Entry::None) continue;
            if (std::none_of(seen[0].begin(), seen[0].end(), [&](const Seen& aside) {
                    return aside.went.type == Entry::None && aside.came.id == there.id;
                }))
                return says(quoted(at(rel)) + " stands where its run writes a file, and no step explains it");
        }
    return std::nullopt;
}

// The changes that reverse the record, latest first, a list per journal;
// in_the_way gets a line for each path that keeps a step from being
// reversed. Changes nothing.
std::vector<std::vector<UndoJournal::Action>> UndoJournal::plan_undo(const std::vector<std::vector<Seen>>& seen,
                                                                     std::string& in_the_way) {
    Planned planned;
    // Whether a place is free once the changes planned so far are made: the
    // file there goes, and no other name of it stays there.
    const auto free = [&](const std::string& rel) {
        if (in(planned.arriving, rel)) return false;
        const forms::Found there = files_.stat(at(rel));
        if (there.type == Entry::None) return true;
        return std::any_of(planned.leaving.begin(), planned.leaving.end(), [&](const Planned::Leaving& l) {
            return l.id == there.id && (there.links <= 1 || same_entry(l.rel, rel));
        });
    };
    std::vector<std::string> blocked_paths;
    const auto blocked = [&](const std::string& rel, const std::string& what) {
        if (in(blocked_paths, rel)) return;
        blocked_paths.push_back(rel);
        // Appended piece by piece: g++ 12 at -O3 warns falsely of an overlap
        // on "\n" + a temporary string.
        in_the_way += '\n';
        in_the_way += quoted(at(rel)) + " (" + what + ")";
    };
    std::vector<std::vector<Action>> plan;
    for (std::size_t j = record_.size(); j-- > 0;) {
        std::vector<Action>& actions = plan.emplace_back();
        const std::vector<Step>& steps = record_[j].steps;
        for (std::size_t i = steps.size(); i-- > 0;) {
            const Step& s = steps[i];
            const Seen& here = seen[j][i];
            if (s.kind == 'w') {
                if (here.came.type != Entry::None) actions.push_back({s.to, ""});
                if (here.went.type == Entry::None) continue;
                if (here.done) {
                    actions.push_back({s.from, ""});
                    planned.leaving.push_back({here.went.id, s.from});
                } else {
                    blocked(s.from, here.untaken ? "not written by the run"
                                    : here.taken ? "changed since the run wrote it"
                                                 : "not what the run wrote there");
                }
                continue;
            }
            // A file moved back: a rename from its new name to the name the
            // folder listed, a set-aside file from the undo folder. Not
            // there: the step was not taken.
            const std::string& now = s.kind == 'r' ? s.to : s.from;
            const std::string& back = s.kind == 'r' ? s.from : s.to;
            if (here.went.type == Entry::None) continue;
            if (here.went.type != Entry::File) {
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
            planned.leaving.push_back({here.went.id, now});
            planned.arriving.push_back(back);
        }
    }
    return plan;
}

void UndoJournal::undo() {
    std::string in_the_way;
    std::vector<std::vector<Action>> plan;
    try {
        const Entry folder = files_.entry(undo_folder());
        if (folder == Entry::None && record_.empty()) return;  // nothing begun
        if (folder != Entry::Folder)
            throw forms::Error(forms::kPathNotFound, "The record of the run, " + quoted(undo_folder()) + ", is gone.");
        const std::vector<std::vector<Seen>> seen = look();
        if (auto why = unaccounted(seen)) throw PutBackError(PutBackError::NotWhole, *why, nullptr);
        plan = plan_undo(seen, in_the_way);
    } catch (const PutBackError&) {
        throw;
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
