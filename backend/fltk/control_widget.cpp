#include "backend/fltk/control_widget.h"

#include <FL/Fl.H>
#include <FL/Fl_Widget.H>

#include <algorithm>

#include "backend/fltk/form_window.h"
#include "backend/fltk/host.h"

namespace backend {

forms::Control* ControlWidget::control() const { return owner_.control(key_); }

forms::Application& ControlWidget::app() const { return owner_.host().app(); }

void ControlWidget::pass_mouse(int event) { owner_.report_mouse(event); }

void ControlWidget::focused() {
    // Only the user's own moves count: a click, or Tab and the arrows.
    // FLTK also hands the focus round by itself when a window is activated
    // or a focused widget hides; the model's focus stays as it is then.
    if (Fl::event() != FL_PUSH && Fl::event() != FL_KEYBOARD) return;
    if (forms::Control* c = control()) owner_.host().focused(*c);
}

void ControlWidget::place(const forms::Control& c) {
    const Box b = box_of(c);
    Fl_Widget& w = widget();
    const int bw = std::max(1, b.w), bh = std::max(1, b.h);
    if (w.x() != b.x || w.y() != b.y || w.w() != bw || w.h() != bh) w.resize(b.x, b.y, bw, bh);
}

void show_and_enable(Fl_Widget& w, bool visible, bool active) {
    if (visible && !w.visible()) w.show();
    if (!visible && w.visible()) w.hide();
    if (active && !w.active()) w.activate();
    if (!active && w.active()) w.deactivate();
}

}  // namespace backend
