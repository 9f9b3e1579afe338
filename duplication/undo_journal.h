// The record of one run's changes to an output folder, kept in a folder of its
// own inside the output folder while the run lasts, so that a run that fails,
// or is killed, can be put back. Old files are set aside there rather than
// deleted; new files are written there under names of the program's own and
// then moved into place, so that a file at its place is always whole; each
// step is recorded before it is taken, a written file with its size and
// SHA-256.
//
// What is found on disk is checked before anything is done with it: a record
// says which object and which new name its run was for, and is obeyed only
// when every path in it is one that run writes, renames or sets aside, stays
// inside the output folder and passes no link. A put-back removes a written
// file only while it holds what the run wrote, and starts only once it is
// clear that every step can be reversed. Whether a file is the one moved or
// written, and whether a place is free, is asked of the file system (the
// file's identity), never decided by comparing names.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "duplication/paths.h"

#include "platform/file_system.h"

namespace duplication {

// A put-back that did not finish. The record keeps what is left of it.
class PutBackError : public std::runtime_error {
public:
    enum Kind {
        InTheWay,  // nothing was changed: files stand where the put-back must act
        NotWhole,  // nothing was changed: the record does not account for what stands in the folder
        Failed,    // nothing was changed: the first change failed
        InPart,    // stopped part-way
    };
    PutBackError(Kind kind, std::string detail, std::exception_ptr cause);
    Kind kind;
    // InTheWay: a line per path, with what stands there; NotWhole: why the
    // record cannot be used.
    std::string detail;
    std::exception_ptr cause; // Failed, InPart: what stopped it
};

// What one run of an object with a new name may leave in the output folder.
struct RunScope {
    std::vector<std::string> folders;  // where it sets aside old .xml files
    std::vector<std::string> writes;
    std::vector<std::pair<std::string, std::string>> renames;
};
// The scope of a run of the object of that kind text with that new name, or
// why no run has it.
using ScopeOf = std::function<std::variant<std::string, RunScope>(const std::string& kind, const std::string& name)>;

class UndoJournal {
public:
    // folder: the output folder.
    UndoJournal(forms::FileSystem& files, std::string folder, ScopeOf scope_of);

    // Reads and checks the records of earlier runs, changing nothing: why
    // they cannot be trusted, naming the path, or nothing when they can.
    std::optional<std::string> inspect();
    // After inspect(): whether an earlier run was cut short.
    bool cut_short() const { return cut_short_; }
    // Puts back the run that was cut short.
    void recover() { undo(); }

    // Each step, with relative paths (backslash-separated), for the run of
    // the object of that kind text with that new name, which may leave what
    // scope says.
    void begin(const std::string& kind, const std::string& name, RunScope scope);
    void set_aside(const std::vector<std::string>& paths);
    // Records the files (path, bytes), then writes each.
    void write(const std::vector<std::pair<std::string, std::string>>& files);
    void will_rename(const std::vector<std::pair<std::string, std::string>>& pairs);

    // Reverses every recorded step that took place, latest first, once it is
    // clear that each can be; throws PutBackError when it cannot, or stops.
    void undo();
    // The run is done: one rename marks it so. Returns normally when the
    // rename took effect, even if it reported a failure; throws when it did
    // not, and the run is still to be undone.
    void commit();
    // Drops what completed runs left: their records and set-aside files, and
    // their folders once empty. Whatever cannot go now stays for a later run.
    // Returns the paths found there that this program did not write; they are
    // left in place.
    std::vector<std::string> clear_leftovers();

private:
    struct Step {
        char kind;         // 'a' set aside, 'w' written, 'r' renamed
        std::string from;  // relative path (for 'a' the place in the undo folder)
        std::string to;    // for 'w' the place it is written first, in the undo folder
        std::size_t size = 0;  // 'w': what was written
        std::string hash;
    };
    struct Journal {
        std::string path;
        std::vector<Step> steps;
    };
    // One change of a put-back: a file removed, or moved back.
    struct Action {
        std::string from;
        std::string to;  // empty: from is removed
    };
    // What stands where a step's file went and where it came from: for a set
    // aside file its place in the undo folder and its own, for a written file
    // its place and its file begun in the undo folder, for a renamed one its
    // new name and its old.
    struct Seen {
        forms::Found went;
        forms::Found came;
        bool done = false;     // a write whose place holds what it wrote
        bool untaken = false;  // a write known never moved into place
        bool taken = false;    // a later step is known taken, so this one was
    };
    static std::string untrusted(const std::string& path, const std::string& why);
    std::string at(const std::string& relative) const;
    std::string undo_folder() const;
    void record(std::vector<Step> steps);
    std::optional<std::string> read_record(const std::vector<std::string>& names, int asides, int news);
    std::optional<std::string> read_run(const std::string& journal, const std::string& line);
    std::optional<std::string> check_step(const Step& step, const std::string& journal);
    std::optional<std::string> check_journals();
    bool holds_written(const Step& step, const forms::Found& found);
    std::optional<std::string> folder_in_the_way(const std::string& rel, std::string& what);
    bool same_entry(const std::string& a, const std::string& b);
    std::vector<std::vector<Seen>> look();
    std::optional<std::string> unaccounted(const std::vector<std::vector<Seen>>& seen);
    std::vector<std::vector<Action>> plan_undo(const std::vector<std::vector<Seen>>& seen, std::string& in_the_way);

    forms::FileSystem& files_;
    std::string folder_;
    ScopeOf scope_of_;
    std::string run_;                      // the record's line naming its run
    std::optional<RunScope> scope_;        // what a record read from disk may name
    bool cut_short_ = false;
    std::vector<Journal> record_;          // the run's own, or the one cut short
    std::vector<std::string> parts_;       // records cut short while written
    std::vector<std::string> done_;        // folders of completed runs
};

}  // namespace duplication
