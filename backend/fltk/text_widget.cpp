#include "backend/fltk/text_widget.h"

#include <FL/Fl.H>

#include <algorithm>
#include <cstdlib>

#include "backend/fltk/form_window.h"

namespace backend {

TextWidget::TextWidget(FormWindow& owner, const forms::TextBox& box)
    : Fl_Input(0, 0, 1, 1), ControlWidget(owner, box) {
    this->box(FL_DOWN_BOX);
    when(FL_WHEN_CHANGED);
    callback(changed_cb);
    selection_color(fl_rgb_color(0, 0, 128));
}

void TextWidget::sync(forms::Control& c, bool visible, bool active) {
    auto& box = static_cast<forms::TextBox&>(c);
    place(c);
    style_text(*this, c);
    if (box.Text() != text_ || box.SelStart() != start_ || box.SelLength() != length_) {
        text_ = box.Text();
        start_ = box.SelStart();
        length_ = box.SelLength();
        if (std::string(value(), static_cast<std::size_t>(size())) != text_)
            value(text_.data(), static_cast<int>(text_.size()));
        position(start_ + length_, start_);
    }
    show_and_enable(*this, visible, active);
}

void TextWidget::changed_cb(Fl_Widget* w, void*) { static_cast<TextWidget*>(w)->edited(); }

void TextWidget::edited() {
    forms::Control* c = control();
    if (c == nullptr) return;
    auto* box = static_cast<forms::TextBox*>(c);
    std::string text(value(), static_cast<std::size_t>(size()));
    const int caret = std::clamp(position(), 0, static_cast<int>(text.size()));
    // What the model will hold: only a handler that changes it is sent back.
    text_ = text;
    start_ = caret;
    length_ = 0;
    app().dispatch([&] { box->edited(text, caret); });
}

void TextWidget::selection_to_model() {
    forms::Control* c = control();
    if (c == nullptr) return;
    auto* box = static_cast<forms::TextBox*>(c);
    if (std::string(value(), static_cast<std::size_t>(size())) != box->Text()) return;
    const int start = std::min(position(), mark()), length = std::abs(position() - mark());
    if (start == start_ && length == length_) return;
    box->SetSelStart(start);
    box->SetSelLength(length);
    start_ = box->SelStart();
    length_ = box->SelLength();
}

int TextWidget::handle(int event) {
    FormWindow::Busy busy(owner_);
    if (event == FL_DRAG || event == FL_RELEASE) pass_mouse(event);
    const int used = Fl_Input::handle(event);
    if (event == FL_FOCUS) focused();
    if (event == FL_KEYBOARD || event == FL_PUSH || event == FL_DRAG || event == FL_RELEASE) selection_to_model();
    return used;
}

}  // namespace backend
