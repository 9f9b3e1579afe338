// What a run checks before it changes anything, and the plan of its changes.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "duplication/object_table.h"

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

// What can be known before anything is changed: the reason the run must not
// start, or the run as checked.
std::variant<std::string, CheckedRun> check_run(const ObjectTable& table, const std::string& kind,
                                                const RunInputs& in, forms::FileSystem& files);

}  // namespace duplication
