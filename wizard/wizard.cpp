#include "wizard/wizard.h"

#include <memory>

#include "wizard/form1.h"

namespace wizard {

void start(forms::Application& app, const objects::KindList& kinds) {
    app.get<Form1>([&kinds](forms::Application& a) { return std::make_unique<Form1>(a, kinds); }).Show();
}

}  // namespace wizard
