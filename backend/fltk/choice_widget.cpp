#include "backend/fltk/choice_widget.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "backend/fltk/form_window.h"
#include "backend/fltk/host.h"

namespace backend {

namespace {

std::string escape_label(const std::string& s) {
    std::string out;
    for (char ch : s) {
        if (ch == '&' || ch == '@') out += ch;  // taken as they stand: doubled
        out += ch;
    }
    return out;
}

}  // namespace

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
    if (open_) {
        // The drop-down shows in the menu's colours: keep the list's for later.
        field_ = color_of(c.BackColor);
        ink_ = color_of(c.ForeColor);
    } else {
        style_text(*this, c);
    }
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
    // The drop-down takes the menu's own colours, also where a row is
    // redrawn; the field under it keeps the list's.
    field_ = color();
    ink_ = textcolor();
    color(FL_BACKGROUND2_COLOR);
    textcolor(FL_FOREGROUND_COLOR);
    open_ = true;
    const int used = Fl_Choice::handle(event);
    open_ = false;
    color(field_);
    textcolor(ink_);
    owner_.host().update();
    return used;
}

void ChoiceWidget::draw() {
    const int dx = Fl::box_dx(FL_DOWN_BOX), dy = Fl::box_dy(FL_DOWN_BOX);
    const int inner_h = h() - 2 * dy;
    const int bw = std::min(17, inner_h);
    const int bx = x() + w() - dx - bw, by = y() + dy;
    const Fl_Color back = open_ ? field_ : color();
    draw_box(FL_DOWN_BOX, back);
    draw_box(FL_UP_BOX, bx, by, bw, inner_h, FL_BACKGROUND_COLOR);
    fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
    const int ax = bx + bw / 2, ay = by + inner_h / 2;
    fl_polygon(ax - 4, ay - 2, ax + 4, ay - 2, ax, ay + 2);
    const int index = value();
    const auto& list = menu_.labels();
    if (index < 0 || index >= static_cast<int>(list.size())) return;
    const int tx = x() + dx, tw = bx - tx;
    fl_push_clip(tx, by, tw, inner_h);
    Fl_Color ink = open_ ? ink_ : textcolor();
    if (Fl::focus() == this) {
        // The picked item is highlighted while the list has the focus.
        fl_color(selection_color());
        fl_rectf(tx + 1, by + 1, tw - 2, inner_h - 2);
        ink = fl_contrast(ink, selection_color());
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

}  // namespace backend
