// Vorlix Tools: the wizard in FLTK windows.
#include <FL/Fl.H>

#include "backend/fltk/host.h"
#include "backend/fltk/message_boxes.h"
#include "platform/forms.h"
#include "wizard/wizard.h"

int main() {
    forms::Application app;
    backend::FltkHost host(app);
    backend::FltkMessageBoxes boxes;
    app.set_message_boxes(&boxes);
    wizard::start(app);
    Fl::run();
    app.set_message_boxes(nullptr);
    return 0;
}
