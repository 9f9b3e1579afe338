// What a run checks before it changes anything, and the plan of its changes.
#pragma once

#include <optional>
#include <string>
#include <utility>
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

// What can be known before anything is changed; returns the reason the run
// must not start, or nothing when it may.
std::optional<std::string> check_run(const ObjectTable& table, const std::string& kind, const RunInputs& in,
                                     forms::FileSystem& files);

// The changes of a run that check_run let start.
RunPlan plan_run(const ObjectTable& table, const RunInputs& in, forms::FileSystem& files);

}  // namespace duplication
