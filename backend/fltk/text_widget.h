// The widget of a text box: what the user types or selects goes to the model.
#pragma once

#include <FL/Fl_Input.H>

#include <string>

#include "backend/fltk/control_widget.h"
#include "platform/forms.h"

namespace backend {

// A text box.
class TextWidget : public Fl_Input, public ControlWidget {
public:
    TextWidget(FormWindow& owner, const forms::TextBox& box);
    Fl_Widget& widget() override { return *this; }
    void sync(forms::Control& c, bool visible, bool active) override;
    int handle(int event) override;

private:
    static void changed_cb(Fl_Widget* w, void*);
    void edited();
    void selection_to_model();
    // What the widget showed of the model when last in line with it.
    std::string text_;
    int start_ = 0, length_ = 0;
};

}  // namespace backend
