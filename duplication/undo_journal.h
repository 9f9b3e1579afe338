// The record of one run's changes to an output folder, kept in a folder of its
// own inside the output folder while the run lasts, so that a run that fails,
// or is killed, can be put back. Old files are set aside there rather than
// deleted; each step is recorded before it is taken. Nothing is ever deleted
// but the new files the run itself wrote and, once a run is done, what it
// set aside and its own records.
//
// What is found on disk is checked before anything is done with it: a record
// is obeyed only when every path in it stays inside the output folder, passes
// no link and names what the run could have left there.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace forms {
class FileSystem;
}

namespace duplication {

inline constexpr const char* kUndoFolder = ".vorlix-undo";
inline constexpr const char* kDoneFolder = ".vorlix-undo-done";

class UndoJournal {
public:
    // folder: the output folder.
    UndoJournal(forms::FileSystem& files, std::string folder);

    // Reads and checks the records of earlier runs, changing nothing: why
    // they cannot be trusted, naming the path, or nothing when they can.
    std::optional<std::string> inspect();
    // After inspect(): whether an earlier run was cut short.
    bool cut_short() const { return cut_short_; }
    // Puts back the run that was cut short.
    void recover() { undo(); }

    // Each step, with relative paths (backslash-separated).
    void begin();
    void set_aside(const std::vector<std::string>& paths);
    void will_write(const std::vector<std::string>& paths);
    void will_rename(const std::vector<std::pair<std::string, std::string>>& pairs);

    // Reverses every recorded step that took place, latest first. Throws when
    // a step cannot be reversed; the record then stays for the next run.
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
        std::string to;
    };
    struct Journal {
        std::string path;
        std::vector<Step> steps;
    };
    std::string at(const std::string& relative) const;
    std::string undo_folder() const;
    void record(std::vector<Step> steps);
    std::optional<std::string> read_record(const std::vector<std::string>& names);
    // root: the output folder's real path.
    std::optional<std::string> check_step(const Step& step, const std::string& journal, const std::string& root,
                                          int& asides);

    forms::FileSystem& files_;
    std::string folder_;
    bool cut_short_ = false;
    std::vector<Journal> record_;          // the run's own, or the one cut short
    std::vector<std::string> parts_;       // records cut short while written
    std::vector<std::string> done_;        // folders of completed runs
};

}  // namespace duplication
