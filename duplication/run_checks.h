// What a run checks before it changes anything, and the plan of its changes.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "duplication/object_table.h"
#include "duplication/undo_journal.h"

namespace forms {
class FileSystem;
}

namespace duplication {

// Inputs of one run as the form holds them (UTF-8).
struct RunInputs {
    std::string map;
    std::string new_name;
    std::string folder;  // output folder, local path
};

// Everything a run changes, as paths relative to the output folder.
struct RunPlan {
    std::vector<std::string> set_aside;  // old files of the purge folders and the written paths
    std::vector<std::string> writes;     // in writing order
    std::vector<std::pair<std::string, std::string>> renames;
};

// A run that passed every check: the texts its files carry and the changes it
// makes.
struct CheckedRun {
    std::string map;       // Windows-1252
    std::string new_name;  // Windows-1252
    RunPlan plan;
};

// What can be known from the inputs alone: the reason the run must not start,
// or the run with its writes and renames planned.
std::variant<std::string, CheckedRun> check_inputs(const ObjectTable& table, const std::string& kind,
                                                   const RunInputs& in);
// What a run of the object with that new name may leave, or why no run has
// that name.
std::variant<std::string, RunScope> run_scope(const ObjectTable& table, const std::string& kind,
                                              const std::string& new_name);
// What a run of the object with that plan may leave.
RunScope run_scope(const ObjectTable& table, const RunPlan& plan);
// What the output folder must be for the run to start, looked at before
// anything is changed: the reason it must not, or nothing, the files to be
// set aside then added to the run's plan.
std::optional<std::string> check_folder(const ObjectTable& table, const std::string& kind, const RunInputs& in,
                                        forms::FileSystem& files, CheckedRun& run);

}  // namespace duplication
