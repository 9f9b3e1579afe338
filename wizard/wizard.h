// Start-up of the wizard.
#pragma once

#include "objects/kinds.h"
#include "platform/forms.h"

namespace wizard {

// Loads and shows the main window, the start-up form, with the kinds it
// offers and starts.
void start(forms::Application& app, const objects::KindList& kinds = objects::built_in());

}  // namespace wizard
