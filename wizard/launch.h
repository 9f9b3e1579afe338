// The launch of a duplicator from the main window, its reports back to the
// wizard, and the closing cascade.
#pragma once

#include <string_view>

#include "platform/forms.h"

namespace duplication {
class DuplicatorForm;
}

namespace wizard {

class Form1;

inline constexpr const char* kInterimNotice = "All XML files created successfully";

// The duplicator form of an object kind of the main window's list; null when
// the text names no kind.
duplication::DuplicatorForm* duplicator_for(Form1& main, std::string_view kind);

// Hands the four inputs to the duplicator of the chosen kind, shows it,
// focuses its create button and posts Enter.
void launch_duplicator(Form1& main);

// Unloads every form but the main window, in the order of their names.
void unload_other_forms(Form1& main);

}  // namespace wizard
