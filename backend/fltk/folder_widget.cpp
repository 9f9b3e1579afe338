#include "backend/fltk/folder_widget.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "backend/fltk/form_window.h"

namespace backend {

namespace {

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
    if (!visible) {
        // Filled once it shows: the folder's listing and the font its lines
        // are measured in wait until then.
        show_and_enable(*this, visible, active);
        return;
    }
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

}  // namespace backend
