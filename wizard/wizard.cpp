#include "wizard/wizard.h"

#include "wizard/form1.h"

namespace wizard {

void start(forms::Application& app) { app.get<Form1>().Show(); }

}  // namespace wizard
