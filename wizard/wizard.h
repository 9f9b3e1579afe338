// Start-up of the wizard.
#pragma once

#include "platform/forms.h"

namespace wizard {

// Loads and shows the main window, the start-up form.
void start(forms::Application& app);

}  // namespace wizard
