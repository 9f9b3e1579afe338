// The widget of a combo box or a drive list: a drop-down list whose pick
// goes to the model.
#pragma once

#include <FL/Fl_Choice.H>
#include <FL/Fl_Menu_Item.H>

#include <string>
#include <vector>

#include "backend/fltk/control_widget.h"
#include "platform/forms.h"

namespace backend {

// Menu items of a drop-down list, owned here so that labels are taken as
// they stand (no submenus, shortcuts or symbols).
class MenuItems {
public:
    void set(const std::vector<std::string>& labels);
    const Fl_Menu_Item* items() const { return items_.data(); }
    const std::vector<std::string>& labels() const { return labels_; }

private:
    std::vector<std::string> labels_;
    std::vector<std::string> escaped_;
    std::vector<Fl_Menu_Item> items_;
};

// A drop-down list of a combo box or a drive list.
class ChoiceWidget : public Fl_Choice, public ControlWidget {
public:
    ChoiceWidget(FormWindow& owner, const forms::Control& c);
    Fl_Widget& widget() override { return *this; }
    void sync(forms::Control& c, bool visible, bool active) override;
    int handle(int event) override;
    // The text field in the list's own colour, as the system's lists do.
    void draw() override;

private:
    static void picked_cb(Fl_Widget* w, void*);
    void picked();
    void set_items(const std::vector<std::string>& labels);
    bool kind_is_drive() const;
    MenuItems menu_;
    bool open_ = false;  // the list is dropped down
    Fl_Color field_ = 0;  // the field's colours while it is
    Fl_Color ink_ = 0;
    std::string drive_;  // drive lists: the drive shown
};

}  // namespace backend
