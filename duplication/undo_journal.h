// The record of one run's changes to an output folder, kept in a folder of its
// own inside the output folder while the run lasts, so that a run that fails,
// or is killed, can be put back. Old files are set aside there rather than
// deleted; each step is recorded before it is taken; nothing is ever deleted
// but the new files the run itself wrote and, once the run is done, what it
// set aside.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace forms {
class FileSystem;
}

namespace duplication {

inline constexpr const char* kUndoFolder = ".vorlix-undo";

class UndoJournal {
public:
    // folder: the output folder.
    UndoJournal(forms::FileSystem& files, std::string folder);

    // Puts back what an earlier run left half done; false when there was
    // nothing to put back.
    bool recover();

    // Each step, with relative paths (backslash-separated).
    void begin();
    void set_aside(const std::vector<std::string>& paths);
    void will_write(const std::vector<std::string>& paths);
    void will_rename(const std::vector<std::pair<std::string, std::string>>& pairs);

    // Reverses every recorded step that took place, latest first. Throws when
    // a step cannot be reversed; the record then stays for recover().
    void undo();
    // The run is done: drops the record and what was set aside.
    void commit();

private:
    struct Step {
        char kind;         // 'a' set aside, 'w' written, 'r' renamed
        std::string from;  // relative path (for 'a' the place in the undo folder)
        std::string to;
    };
    std::string at(const std::string& relative) const;
    std::string undo_folder() const;
    std::string done_folder() const;
    void record(const std::vector<Step>& steps);
    std::vector<std::string> journals();  // in the order they were written
    std::vector<Step> read_record(const std::string& journal);
    void drop(const std::string& folder);

    forms::FileSystem& files_;
    std::string folder_;
    int journals_ = 0;
};

}  // namespace duplication
