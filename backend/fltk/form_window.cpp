#include "backend/fltk/form_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "backend/fltk/host.h"
#include "backend/fltk/paint.h"

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

std::string escape_label(const std::string& s) {
    std::string out;
    for (char ch : s) {
        if (ch == '&' || ch == '@') out += ch;  // taken as they stand: doubled
        out += ch;
    }
    return out;
}

void folder_glyph(int x, int y, bool open) {
    const Fl_Color edge = fl_rgb_color(150, 110, 20);
    fl_color(fl_rgb_color(230, 186, 70));
    fl_rectf(x, y, 6, 2);
    fl_rectf(x, y + 2, 16, 9);
    fl_color(edge);
    fl_rect(x, y + 2, 16, 9);
    if (open) {
        fl_color(fl_rgb_color(252, 224, 130));
        fl_polygon(x + 4, y + 5, x + 18, y + 5, x + 15, y + 10, x + 1, y + 10);
        fl_color(edge);
        fl_loop(x + 4, y + 5, x + 18, y + 5, x + 15, y + 10, x + 1, y + 10);
    }
}

}  // namespace

// ---------------------------------------------------------------- ControlWidget

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

namespace {

// Colours and font of a widget that shows text, from its control.
template <class Widget>
void style_text(Widget& w, const forms::Control& c) {
    w.color(color_of(c.BackColor));
    w.textcolor(color_of(c.ForeColor));
    w.textfont(font_of(c.font));
    w.textsize(font_pixels(c.font));
}

void show_and_enable(Fl_Widget& w, bool visible, bool active) {
    if (visible && !w.visible()) w.show();
    if (!visible && w.visible()) w.hide();
    if (active && !w.active()) w.activate();
    if (!active && w.active()) w.deactivate();
}

}  // namespace

// ---------------------------------------------------------------- TextWidget

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

// ---------------------------------------------------------------- ChoiceWidget

void MenuItems::set(const std::vector<std::string>& labels) {
    labels_ = labels;
    escaped_.clear();
    for (const std::string& l : labels) escaped_.push_back(escape_label(l));
    items_.assign(labels.size() + 1, Fl_Menu_Item{});
    for (std::size_t i = 0; i < labels.size(); ++i) items_[i].text = escaped_[i].c_str();
}

ChoiceWidget::ChoiceWidget(FormWindow& owner, const forms::Control& c)
    : Fl_Choice(0, 0, 1, 1), ControlWidget(owner, c) {
    callback(picked_cb);
    down_box(FL_FLAT_BOX);
    selection_color(fl_rgb_color(0, 0, 128));
}

void ChoiceWidget::set_items(const std::vector<std::string>& labels) {
    menu_.set(labels);
    menu(menu_.items());
    redraw();
}

void ChoiceWidget::sync(forms::Control& c, bool visible, bool active) {
    place(c);
    style_text(*this, c);
    // The list must not change under an open menu: the next update will do.
    if (!open_) {
        if (c.kind() == forms::Kind::ComboBox) {
            auto& combo = static_cast<forms::ComboBox&>(c);
            if (combo.items != menu_.labels() || menu() == nullptr) set_items(combo.items);
            if (value() != combo.ListIndex()) value(combo.ListIndex());
        } else {
            auto& drives = static_cast<forms::DriveListBox&>(c);
            if (menu() == nullptr || drives.Drive() != drive_) {
                set_items(drives.drives());
                drive_ = drives.Drive();
            }
            const auto& list = menu_.labels();
            const auto it = std::find(list.begin(), list.end(), drive_);
            const int index = it == list.end() ? -1 : static_cast<int>(it - list.begin());
            if (value() != index) value(index);
        }
    }
    show_and_enable(*this, visible, active);
}

int ChoiceWidget::handle(int event) {
    FormWindow::Busy busy(owner_);
    if (event == FL_DRAG || event == FL_RELEASE) pass_mouse(event);
    if (event == FL_KEYBOARD && (Fl::event_key() == FL_Up || Fl::event_key() == FL_Down) && kind_is_drive()) {
        // The arrows step through the drives, as a pick would.
        const int step = Fl::event_key() == FL_Up ? -1 : 1;
        const int index = value() + step;
        if (index >= 0 && index < static_cast<int>(menu_.labels().size())) {
            value(index);
            picked();
        }
        return 1;
    }
    const bool opens = event == FL_PUSH || (event == FL_KEYBOARD && Fl::event_key() == ' ');
    if (opens && kind_is_drive()) {
        // Drives come and go: offer the ones mounted now.
        if (forms::Control* c = control()) {
            auto& drives = static_cast<forms::DriveListBox&>(*c);
            set_items(drives.drives());
            const auto& list = menu_.labels();
            const auto it = std::find(list.begin(), list.end(), drive_);
            value(it == list.end() ? -1 : static_cast<int>(it - list.begin()));
        }
    }
    if (!opens) {
        const int used = Fl_Choice::handle(event);
        if (event == FL_FOCUS) focused();
        return used;
    }
    open_ = true;
    const int used = Fl_Choice::handle(event);
    open_ = false;
    owner_.host().update();
    return used;
}

void ChoiceWidget::draw() {
    const int dx = Fl::box_dx(FL_DOWN_BOX), dy = Fl::box_dy(FL_DOWN_BOX);
    const int inner_h = h() - 2 * dy;
    const int bw = std::min(17, inner_h);
    const int bx = x() + w() - dx - bw, by = y() + dy;
    draw_box(FL_DOWN_BOX, color());
    draw_box(FL_UP_BOX, bx, by, bw, inner_h, FL_BACKGROUND_COLOR);
    fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
    const int ax = bx + bw / 2, ay = by + inner_h / 2;
    fl_polygon(ax - 4, ay - 2, ax + 4, ay - 2, ax, ay + 2);
    const int index = value();
    const auto& list = menu_.labels();
    if (index < 0 || index >= static_cast<int>(list.size())) return;
    const int tx = x() + dx, tw = bx - tx;
    fl_push_clip(tx, by, tw, inner_h);
    Fl_Color ink = textcolor();
    if (Fl::focus() == this) {
        // The picked item is highlighted while the list has the focus.
        fl_color(selection_color());
        fl_rectf(tx + 1, by + 1, tw - 2, inner_h - 2);
        ink = fl_contrast(textcolor(), selection_color());
    }
    fl_font(textfont(), textsize());
    fl_color(active_r() ? ink : fl_inactive(ink));
    const std::string& text = list[static_cast<std::size_t>(index)];
    fl_draw(text.c_str(), static_cast<int>(text.size()), tx + 3, by + (inner_h + fl_height()) / 2 - fl_descent());
    fl_pop_clip();
}

bool ChoiceWidget::kind_is_drive() const {
    const forms::Control* c = control();
    return c != nullptr && c->kind() == forms::Kind::DriveListBox;
}

void ChoiceWidget::picked_cb(Fl_Widget* w, void*) { static_cast<ChoiceWidget*>(w)->picked(); }

void ChoiceWidget::picked() {
    forms::Control* c = control();
    if (c == nullptr) return;
    const int index = value();
    if (c->kind() == forms::Kind::ComboBox) {
        auto* combo = static_cast<forms::ComboBox*>(c);
        if (index != combo->ListIndex()) app().dispatch([&] { combo->SetListIndex(index); });
        return;
    }
    auto* drives = static_cast<forms::DriveListBox*>(c);
    const auto& list = menu_.labels();
    if (index < 0 || index >= static_cast<int>(list.size())) return;
    const std::string drive = list[static_cast<std::size_t>(index)];
    if (drive != drives->Drive()) app().dispatch([&] { drives->SetDrive(drive); });
}

// ---------------------------------------------------------------- FolderWidget

FolderWidget::FolderWidget(FormWindow& owner, const forms::DirListBox& box)
    : Fl_Hold_Browser(0, 0, 1, 1), ControlWidget(owner, box) {
    when(FL_WHEN_NEVER);
    this->box(FL_DOWN_BOX);
    selection_color(fl_rgb_color(0, 0, 128));
}

void FolderWidget::sync(forms::Control& c, bool visible, bool active) {
    auto& dirs = static_cast<forms::DirListBox&>(c);
    place(c);
    style_text(*this, c);
    bool refilled = false;
    if (!filled_ || dirs.Path() != path_) {
        entries_ = dirs.entries();
        path_ = dirs.Path();
        clear();
        for (std::size_t i = 0; i < entries_.size(); ++i) add(" ");
        filled_ = true;
        refilled = true;
    }
    // No pick yet: the current folder is the one highlighted.
    int want = dirs.ListIndex;
    if (want < 0) {
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (entries_[i].open) want = static_cast<int>(i);
    }
    if (want >= static_cast<int>(entries_.size())) want = -1;
    if (value() != want + 1) {
        if (want >= 0) select(want + 1);
        else deselect();
    }
    if (refilled && want >= 0 && !displayed(want + 1)) middleline(want + 1);
    show_and_enable(*this, visible, active);
}

void FolderWidget::open_selected() {
    forms::Control* c = control();
    const int index = value() - 1;
    if (c == nullptr || index < 0) return;
    auto* dirs = static_cast<forms::DirListBox*>(c);
    app().dispatch([&] { dirs->open(index); });
}

int FolderWidget::handle(int event) {
    FormWindow::Busy busy(owner_);
    if (event == FL_DRAG || event == FL_RELEASE) pass_mouse(event);
    if (event == FL_KEYBOARD && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
        open_selected();
        return 1;
    }
    const int before = value();
    const int used = Fl_Hold_Browser::handle(event);
    if (event == FL_FOCUS) focused();
    if (event == FL_PUSH && Fl::event_clicks() > 0 && value() > 0) {
        Fl::event_clicks(0);  // a third click is a new single click
        open_selected();
        return used;
    }
    if (value() != before && (event == FL_PUSH || event == FL_DRAG || event == FL_KEYBOARD)) {
        if (forms::Control* c = control()) {
            auto* dirs = static_cast<forms::DirListBox*>(c);
            const int index = value() - 1;
            app().dispatch([&] { dirs->ListIndex = index; });
        }
    }
    return used;
}

void FolderWidget::item_draw(void* item, int x, int y, int w, int h) const {
    const int line = lineno(item);
    if (line < 1 || line > static_cast<int>(entries_.size())) return;
    const auto& entry = entries_[static_cast<std::size_t>(line - 1)];
    const int left = x + 3 + entry.depth * 10;
    fl_push_clip(x, y, w, h);
    folder_glyph(left, y + (h - 11) / 2, entry.open);
    fl_font(textfont(), textsize());
    Fl_Color ink = item_selected(item) ? fl_contrast(textcolor(), selection_color()) : textcolor();
    if (!active_r()) ink = fl_inactive(ink);
    fl_color(ink);
    fl_draw(entry.label.c_str(), left + 21, y + (h + fl_height()) / 2 - fl_descent());
    fl_pop_clip();
}

int FolderWidget::item_width(void* item) const {
    const int line = lineno(item);
    if (line < 1 || line > static_cast<int>(entries_.size())) return 0;
    const auto& entry = entries_[static_cast<std::size_t>(line - 1)];
    fl_font(textfont(), textsize());
    return 3 + entry.depth * 10 + 21 + static_cast<int>(fl_width(entry.label.c_str())) + 4;
}

// ---------------------------------------------------------------- FormWindow

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
    if (!shown()) show_first(f);
    else apply_state(f);
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
    } else {
        size_range(cw, ch, cw, ch);
    }
    // A fixed size range is all FLTK offers for a tool window: the window
    // manager then leaves out the resize border and the maximise box.
    show();
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
        const int x0 = px(f.Left), y0 = px(f.Top);
        if (w() != cw || h() != ch) size_range(cw, ch, cw, ch);
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
    if (f == nullptr || f->WindowState() != 0) return;
    if (x != px(f->Left) || y != px(f->Top)) {
        f->Left = x * forms::kTwipsPerPixel;
        f->Top = y * forms::kTwipsPerPixel;
    }
}

void FormWindow::draw() {
    forms::Form* f = form();
    fl_color(f != nullptr ? color_of(f->BackColor) : FL_BACKGROUND_COLOR);
    fl_rectf(0, 0, w(), h());
    if (f == nullptr) return;
    const forms::Control* focus = host_.app().focus();
    for (const auto& up : f->controls()) {
        const forms::Control& c = *up;
        if (c.kind() == forms::Kind::Timer || !c.shown()) continue;
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
