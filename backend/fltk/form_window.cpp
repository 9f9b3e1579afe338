#include "backend/fltk/form_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <string>

#include "backend/fltk/choice_widget.h"
#include "backend/fltk/control_widget.h"
#include "backend/fltk/folder_widget.h"
#include "backend/fltk/host.h"
#include "backend/fltk/paint.h"
#include "backend/fltk/text_widget.h"
#include "backend/fltk/window_frame.h"

// FLTK's drawing header brings X11's, whose None macro hides Border::None.
#ifdef None
#undef None
#endif

namespace backend {

namespace {

bool is_ancestor(const forms::Control& maybe, const forms::Control& c) {
    for (const forms::Control* p = c.container(); p != nullptr; p = p->container())
        if (p == &maybe) return true;
    return false;
}

bool opaque(const forms::Control& c) {
    switch (c.kind()) {
    case forms::Kind::Frame:
    case forms::Kind::CommandButton:
    case forms::Kind::TextBox:
    case forms::Kind::ComboBox:
    case forms::Kind::DriveListBox:
    case forms::Kind::DirListBox: return true;
    case forms::Kind::Label:
    case forms::Kind::CheckBox: return !c.Transparent;
    case forms::Kind::Image: return !c.Picture.empty();
    default: return false;
    }
}

// A widget lies under a later opaque control that covers its centre: it is
// hidden, so that it neither shows through nor takes input there.
bool covered(const std::vector<std::unique_ptr<forms::Control>>& list, std::size_t index) {
    const forms::Control& c = *list[index];
    const int cx = c.abs_left() + c.Width / 2, cy = c.abs_top() + c.Height / 2;
    for (std::size_t j = index + 1; j < list.size(); ++j) {
        const forms::Control& above = *list[j];
        if (opaque(above) && above.shown() && !is_ancestor(above, c) && above.contains(cx, cy)) return true;
    }
    return false;
}

// A frame that a later frame covers all but for a strip as thin as a border
// is left out: otherwise its border shows as a second one beside the upper
// frame's (the Options frame, widened on resize, under the Done frame).
bool buried_frame(const std::vector<std::unique_ptr<forms::Control>>& list, std::size_t index) {
    const forms::Control& c = *list[index];
    if (c.kind() != forms::Kind::Frame) return false;
    constexpr int kStrip = 3 * forms::kTwipsPerPixel;
    for (std::size_t j = index + 1; j < list.size(); ++j) {
        const forms::Control& above = *list[j];
        if (above.kind() != forms::Kind::Frame || !above.shown() || is_ancestor(above, c) || is_ancestor(c, above))
            continue;
        if (above.abs_left() <= c.abs_left() + kStrip && above.abs_top() <= c.abs_top() + kStrip &&
            above.abs_left() + above.Width >= c.abs_left() + c.Width - kStrip &&
            above.abs_top() + above.Height >= c.abs_top() + c.Height - kStrip)
            return true;
    }
    return false;
}

// FNV-1a over what a window shows, to skip redrawing an unchanged form.
class Fingerprint {
public:
    void add(std::uint64_t v) {
        for (int i = 0; i < 8; ++i) {
            hash_ ^= (v >> (8 * i)) & 0xFF;
            hash_ *= 1099511628211ULL;
        }
    }
    void add(const std::string& s) {
        add(s.size());
        for (unsigned char ch : s) {
            hash_ ^= ch;
            hash_ *= 1099511628211ULL;
        }
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 14695981039346656037ULL;
};

}  // namespace

FormWindow::FormWindow(FltkHost& host, forms::Form& form)
    : Fl_Double_Window(std::max(1, px(form.ClientWidth)), std::max(1, px(form.ClientHeight))),
      host_(host),
      serial_(form.serial()) {
    resizable(nullptr);
    callback(close_cb);
    xclass("vorlix-tools");
    begin();
    for (const auto& up : form.controls()) {
        forms::Control& c = *up;
        ControlWidget* w = nullptr;
        switch (c.kind()) {
        case forms::Kind::TextBox: w = new TextWidget(*this, static_cast<forms::TextBox&>(c)); break;
        case forms::Kind::ComboBox:
        case forms::Kind::DriveListBox: w = new ChoiceWidget(*this, c); break;
        case forms::Kind::DirListBox: w = new FolderWidget(*this, static_cast<forms::DirListBox&>(c)); break;
        default: break;
        }
        if (w == nullptr) continue;
        w->widget().hide();
        widgets_.push_back(w);
        by_control_[&c] = w;
    }
    end();
}

FormWindow::~FormWindow() = default;

forms::Form* FormWindow::form() const { return host_.find_form(serial_); }

forms::Control* FormWindow::control(const forms::Control* key) const {
    forms::Form* f = form();
    if (f == nullptr) return nullptr;
    for (const auto& up : f->controls())
        if (up.get() == key) return up.get();
    return nullptr;
}

ControlWidget* FormWindow::widget_for(const forms::Control* key) const {
    const auto it = by_control_.find(key);
    return it == by_control_.end() ? nullptr : it->second;
}

void FormWindow::sync(forms::Form& f) {
    syncing_ = true;
    if (label() == nullptr || f.Caption != label()) copy_label(f.Caption.c_str());
    if (!shown()) {
        show_first(f);
    } else {
        // The window manager frames a window some time after it is shown:
        // until then the corner is the client area's.
        if (border() && f.WindowState() == 0 && !minimised(*this)) {
            const FrameExtents frame = frame_extents(*this);
            if (frame.left != frame_.left || frame.top != frame_.top) {
                frame_ = frame;
                follow_frame(f);
            }
        }
        apply_state(f);
    }
    sync_widgets(f);
    const std::uint64_t now = signature(f);
    if (now != drawn_) {
        drawn_ = now;
        redraw();
    }
    syncing_ = false;
}

void FormWindow::show_first(forms::Form& f) {
    const int cw = std::max(1, px(f.ClientWidth)), ch = std::max(1, px(f.ClientHeight));
    if (f.BorderStyle == forms::Border::None) border(0);
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_xywh(sx, sy, sw, sh, 0);
    if (f.CenterOnScreen) {
        const int x = sx + (sw - cw) / 2, y = sy + (sh - ch) / 2;
        f.Left = x * forms::kTwipsPerPixel;
        f.Top = y * forms::kTwipsPerPixel;
        resize(x, y, cw, ch);
    } else if (!f.AutoPlace) {
        resize(px(f.Left), px(f.Top), cw, ch);
    }
    if (f.WindowState() == 2) {
        size_range(sw, sh, sw, sh);
        resize(sx, sy, sw, sh);
    } else if (f.BorderStyle == forms::Border::Sizable) {
        size_range(1, 1);
    } else {
        size_range(cw, ch, cw, ch);
    }
    show();
    if (f.BorderStyle == forms::Border::FixedToolWindow) close_box_only(*this);
    if (f.AutoPlace) {
        f.Left = x() * forms::kTwipsPerPixel;
        f.Top = y() * forms::kTwipsPerPixel;
    }
    if (f.WindowState() == 1) iconize();
    state_ = f.WindowState();
}

void FormWindow::apply_state(forms::Form& f) {
    const int state = f.WindowState();
    if (state == 1) {
        if (state_ != 1) iconize();
        state_ = 1;
        return;
    }
    if (state_ == 1) show();  // back from the task bar
    if (state == 2) {
        int sx = 0, sy = 0, sw = 0, sh = 0;
        Fl::screen_xywh(sx, sy, sw, sh, 0);
        if (x() != sx || y() != sy || w() != sw || h() != sh) {
            size_range(sw, sh, sw, sh);
            resize(sx, sy, sw, sh);
        }
    } else {
        const int cw = std::max(1, px(f.ClientWidth)), ch = std::max(1, px(f.ClientHeight));
        // Left and Top are the outer corner's, the frame included.
        const FrameExtents frame = frame_extents(*this);
        const int x0 = px(f.Left) + frame.left, y0 = px(f.Top) + frame.top;
        if (w() != cw || h() != ch) {
            size_range(cw, ch, cw, ch);
            if (f.BorderStyle == forms::Border::FixedToolWindow) close_box_only(*this);
        }
        if (x() != x0 || y() != y0 || w() != cw || h() != ch) resize(x0, y0, cw, ch);
    }
    state_ = state;
}

void FormWindow::sync_widgets(forms::Form& f) {
    const auto& list = f.controls();
    for (std::size_t i = 0; i < list.size(); ++i) {
        forms::Control& c = *list[i];
        ControlWidget* w = widget_for(&c);
        if (w == nullptr) continue;
        w->sync(c, c.shown() && !covered(list, i), c.enabled_chain());
    }
}

void FormWindow::give_focus(const forms::Control& c) {
    ControlWidget* w = widget_for(&c);
    if (w != nullptr && w->widget().visible_r() && w->widget().active_r()) {
        if (Fl::focus() != &w->widget()) w->widget().take_focus();
    } else {
        Fl::focus(this);
    }
}

void FormWindow::follow_model_focus() {
    forms::Control* focus = host_.app().focus();
    forms::Form* f = form();
    if (focus != nullptr && f != nullptr && &focus->form() == f) give_focus(*focus);
    else Fl::focus(this);
}

void FormWindow::retire() {
    retired_ = true;
    hide();
    if (busy_ == 0) release();
}

void FormWindow::release() {
    if (released_) return;
    released_ = true;
    Fl::delete_widget(this);
}

void FormWindow::report_mouse(int event) {
    forms::Form* f = form();
    if (f == nullptr || retired_) return;
    forms::Application& app = host_.app();
    const int x = Fl::event_x() * forms::kTwipsPerPixel, y = Fl::event_y() * forms::kTwipsPerPixel;
    switch (event) {
    case FL_MOVE:
    case FL_DRAG: app.mouse_move(*f, x, y); break;
    case FL_PUSH:
        if (Fl::event_button() != FL_LEFT_MOUSE) return;
        if (forms::Control* target = f->hit(x, y);
            target != nullptr && target->kind() == forms::Kind::CommandButton && target->enabled_chain())
            pressed_ = target;
        app.mouse_down(*f, x, y);
        break;
    case FL_RELEASE:
        if (Fl::event_button() != FL_LEFT_MOUSE) return;
        pressed_ = nullptr;
        app.mouse_up(*f, x, y);
        break;
    default: break;
    }
}

bool FormWindow::key_to_model(int key) {
    forms::Form* f = form();
    forms::Control* focus = host_.app().focus();
    if (f == nullptr || focus == nullptr || &focus->form() != f) return false;
    const char* name = nullptr;
    if (key == FL_Tab) {
        // The model keeps the tab order, painted controls included.
        host_.app().key(Fl::event_state(FL_SHIFT) ? "+TAB" : "TAB");
        follow_model_focus();
        return true;
    }
    switch (focus->kind()) {
    case forms::Kind::CommandButton:
        if (key == FL_Enter || key == FL_KP_Enter) name = "ENTER";
        else if (key == ' ') name = " ";
        break;
    case forms::Kind::CheckBox:
        if (key == ' ') name = " ";
        break;
    case forms::Kind::ComboBox:
        if (key == FL_Up) name = "UP";
        else if (key == FL_Down) name = "DOWN";
        break;
    default: break;
    }
    if (name == nullptr) return false;
    host_.app().key(name);
    return true;
}

int FormWindow::handle(int event) {
    if (retired_) return Fl_Double_Window::handle(event);
    Busy busy(*this);
    switch (event) {
    case FL_ENTER:
    case FL_MOVE:
        report_mouse(FL_MOVE);
        if (retired_) return 1;
        break;
    case FL_PUSH:
        report_mouse(FL_PUSH);
        if (retired_) return 1;
        Fl_Double_Window::handle(event);
        return 1;
    case FL_DRAG:
    case FL_RELEASE:
        // Only when no widget took the press: those pass their own on.
        report_mouse(event);
        if (retired_) return 1;
        break;
    case FL_KEYBOARD:
        if (key_to_model(Fl::event_key())) return 1;
        break;
    case FL_FOCUS:
        // The window was activated: the focus goes where the model has it,
        // not to whichever widget FLTK would pick.
        Fl_Double_Window::handle(event);
        follow_model_focus();
        return 1;
    case FL_SHOW:
        // Restored by the user from outside, the task bar for one.
        if (!syncing_ && state_ == 1) {
            if (forms::Form* f = form(); f != nullptr && f->WindowState() == 1)
                host_.app().dispatch([f] { f->SetWindowState(0); });
        }
        break;
    default: break;
    }
    return Fl_Double_Window::handle(event);
}

void FormWindow::close_cb(Fl_Widget* w, void*) {
    auto* self = static_cast<FormWindow*>(w);
    // Escape also lands here: a form closes only by its close box.
    if (Fl::event() != FL_CLOSE || self->retired_) return;
    Busy busy(*self);
    if (forms::Form* f = self->form()) self->host_.app().dispatch([f] { f->Unload(); });
}

void FormWindow::resize(int x, int y, int w, int h) {
    Fl_Double_Window::resize(x, y, w, h);
    if (syncing_ || retired_ || !shown()) return;
    // Moved by the user or the window manager: the form keeps its place, as
    // the wizard places its dialogs relative to the main window.
    forms::Form* f = form();
    if (f == nullptr || f->WindowState() != 0 || minimised(*this)) return;
    follow_frame(*f);
}

void FormWindow::follow_frame(forms::Form& f) {
    // The form's Left and Top are its outer corner, frame included.
    const FrameExtents frame = frame_extents(*this);
    const int left = x() - frame.left, top = y() - frame.top;
    if (left != px(f.Left) || top != px(f.Top)) {
        f.Left = left * forms::kTwipsPerPixel;
        f.Top = top * forms::kTwipsPerPixel;
    }
}

void FormWindow::draw() {
    forms::Form* f = form();
    fl_color(f != nullptr ? color_of(f->BackColor) : FL_BACKGROUND_COLOR);
    fl_rectf(0, 0, w(), h());
    if (f == nullptr) return;
    const forms::Control* focus = host_.app().focus();
    const auto& list = f->controls();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const forms::Control& c = *list[i];
        if (c.kind() == forms::Kind::Timer || !c.shown() || buried_frame(list, i)) continue;
        const Box clip = clip_of(c);
        if (clip.w <= 0 || clip.h <= 0) continue;
        fl_push_clip(clip.x, clip.y, clip.w, clip.h);
        if (ControlWidget* w = widget_for(&c)) draw_child(w->widget());
        else paint_control(c, &c == focus, &c == pressed_);
        fl_pop_clip();
    }
}

std::uint64_t FormWindow::signature(const forms::Form& f) const {
    Fingerprint p;
    p.add(f.BackColor);
    p.add(static_cast<std::uint64_t>(w()) << 32 | static_cast<std::uint32_t>(h()));
    const forms::Control* focus = host_.app().focus();
    for (const auto& up : f.controls()) {
        const forms::Control& c = *up;
        p.add(c.shown() ? 1 : 0);
        if (!c.shown()) continue;
        p.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(c.abs_left())) << 32 |
              static_cast<std::uint32_t>(c.abs_top()));
        p.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(c.Width)) << 32 |
              static_cast<std::uint32_t>(c.Height));
        p.add(static_cast<std::uint64_t>(c.BackColor) << 32 | c.ForeColor);
        p.add((c.Enabled ? 1u : 0u) | (c.Transparent ? 2u : 0u) | (c.Stretch ? 4u : 0u) |
              (c.font.bold ? 8u : 0u) | (c.font.underline ? 16u : 0u) |
              (static_cast<unsigned>(c.Alignment) << 5) | (&c == focus ? 128u : 0u) |
              (&c == pressed_ ? 256u : 0u));
        p.add(static_cast<std::uint64_t>(std::llround(c.font.size * 100)));
        p.add(c.font.name);
        p.add(c.Caption);
        p.add(c.Picture);
        if (c.kind() == forms::Kind::Line) {
            const auto& l = static_cast<const forms::Line&>(c);
            p.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(l.X1)) << 32 |
                  static_cast<std::uint32_t>(l.Y1));
            p.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(l.X2)) << 32 |
                  static_cast<std::uint32_t>(l.Y2));
            p.add(static_cast<std::uint64_t>(l.BorderColor) << 32 | static_cast<std::uint32_t>(l.BorderWidth));
        } else if (c.kind() == forms::Kind::CheckBox) {
            p.add(static_cast<std::uint64_t>(static_cast<const forms::CheckBox&>(c).Value()));
        }
    }
    return p.value();
}

}  // namespace backend
