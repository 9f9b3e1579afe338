// What every widget adapter shares: the control it stands for, and the small
// helpers that bring a widget in line with its control.
#pragma once

#include "backend/fltk/paint.h"
#include "platform/forms.h"

class Fl_Widget;

namespace backend {

class FormWindow;

// The part a widget shares with its window: which control it stands for.
// The control is looked up afresh each time, so a widget never reaches a
// control of a form that is gone.
class ControlWidget {
public:
    ControlWidget(FormWindow& owner, const forms::Control& control) : owner_(owner), key_(&control) {}
    virtual ~ControlWidget() = default;
    ControlWidget(const ControlWidget&) = delete;
    ControlWidget& operator=(const ControlWidget&) = delete;

    virtual Fl_Widget& widget() = 0;
    // Brings the widget in line with the model.
    virtual void sync(forms::Control& c, bool visible, bool active) = 0;
    const forms::Control* key() const { return key_; }

protected:
    forms::Control* control() const;
    forms::Application& app() const;
    // Mouse drags and releases go straight to the pressed widget: pass them on.
    void pass_mouse(int event);
    void focused();
    void place(const forms::Control& c);
    FormWindow& owner_;

private:
    const forms::Control* key_;
};

// Colours and font of a widget that shows text, from its control.
template <class Widget>
void style_text(Widget& w, const forms::Control& c) {
    w.color(color_of(c.BackColor));
    w.textcolor(color_of(c.ForeColor));
    w.textfont(font_of(c.font));
    w.textsize(font_pixels(c.font));
}

// Shows or hides, enables or disables, only where the widget differs.
void show_and_enable(Fl_Widget& w, bool visible, bool active);

}  // namespace backend
