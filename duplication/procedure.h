// The duplication procedure that every duplicator form runs.
#pragma once

#include <optional>
#include <string>

#include "duplication/object_table.h"

namespace forms {
class FileSystem;
}

namespace duplication {

class DuplicatorForm;

inline constexpr const char* kRenameConfirmation = "All META files renamed sucessfully";
inline constexpr const char* kErrorTitle = "Error while compiling...";

// Inputs of one run as the form holds them (UTF-8).
struct RunInputs {
    std::string map;
    std::string new_name;
    std::string folder;  // output folder, local path
};

// What can be known before anything is changed; returns the reason the run
// must not start, or nothing when it may.
std::optional<std::string> check_run(const ObjectTable& table, const std::string& kind, const RunInputs& in,
                                     forms::FileSystem& files);

// Purge, generation, confirmation, rename and confirmation, then the form's
// report is told and the form unloads; the error report on any failure.
void run_duplication(DuplicatorForm& form);

}  // namespace duplication
