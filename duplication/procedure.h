// The duplication procedure that every duplicator form runs.
#pragma once

#include "duplication/run_checks.h"

namespace duplication {

class DuplicatorForm;

inline constexpr const char* kRenameConfirmation = "All META files renamed sucessfully";
inline constexpr const char* kErrorTitle = "Error while compiling...";
inline constexpr const char* kPutBack = "An earlier run on this folder was cut short; it has been put back.";

// Purge, generation, confirmation, rename and confirmation, then the form's
// report is told and the form unloads; on any failure the folder is put back
// as it was and the error report follows.
void run_duplication(DuplicatorForm& form);

}  // namespace duplication
