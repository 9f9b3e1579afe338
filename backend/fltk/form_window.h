// One window per shown form: it paints the form's controls in their z-order,
// keeps real widgets for the controls a user types into or picks from, and
// feeds mouse and keyboard input into the model.
#pragma once

#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Item.H>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/forms.h"

namespace backend {

class FltkHost;
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
    std::string drive_;  // drive lists: the drive shown
};

// A folder list.
class FolderWidget : public Fl_Hold_Browser, public ControlWidget {
public:
    FolderWidget(FormWindow& owner, const forms::DirListBox& box);
    Fl_Widget& widget() override { return *this; }
    void sync(forms::Control& c, bool visible, bool active) override;
    int handle(int event) override;

protected:
    void item_draw(void* item, int x, int y, int w, int h) const override;
    int item_width(void* item) const override;

private:
    void open_selected();
    std::vector<forms::DirListBox::Entry> entries_;
    std::string path_;
    bool filled_ = false;
};

class FormWindow : public Fl_Double_Window {
public:
    FormWindow(FltkHost& host, forms::Form& form);
    ~FormWindow() override;

    FltkHost& host() const { return host_; }
    std::uint64_t serial() const { return serial_; }
    // The form, while it is loaded; nullptr after.
    forms::Form* form() const;
    // A control of the form by its address, while the form is loaded.
    forms::Control* control(const forms::Control* key) const;
    ControlWidget* widget_for(const forms::Control* key) const;

    // Shows, moves and sizes the window and its widgets after the model.
    void sync(forms::Form& form);
    // Gives the keyboard focus to a control of this form.
    void give_focus(const forms::Control& c);
    // The widget of the model's focus gets FLTK's, or the window itself.
    void follow_model_focus();
    // Hidden now, deleted once FLTK is done with it: not before the
    // window's and its widgets' event handlers have all returned, as a
    // message box's loop may run underneath them.
    void retire();
    bool retired() const { return retired_; }

    // Marks an event handler of the window or a widget as running.
    class Busy {
    public:
        explicit Busy(FormWindow& w) : w_(w) { ++w_.busy_; }
        ~Busy() {
            if (--w_.busy_ == 0 && w_.retired_) w_.release();
        }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        FormWindow& w_;
    };

    // Mouse input at the current event's position, in twips, to the model.
    void report_mouse(int event);

    int handle(int event) override;
    void draw() override;
    void resize(int x, int y, int w, int h) override;

private:
    static void close_cb(Fl_Widget* w, void*);
    void release();
    void show_first(forms::Form& f);
    void apply_state(forms::Form& f);
    void sync_widgets(forms::Form& f);
    bool key_to_model(int key);
    std::uint64_t signature(const forms::Form& f) const;

    FltkHost& host_;
    std::uint64_t serial_;
    // Owned by the window as its children.
    std::vector<ControlWidget*> widgets_;
    std::map<const forms::Control*, ControlWidget*> by_control_;
    const forms::Control* pressed_ = nullptr;  // a command button held down
    bool syncing_ = false;
    bool retired_ = false;
    bool released_ = false;
    int busy_ = 0;
    int state_ = -1;  // window state applied to the window
    std::uint64_t drawn_ = 0;
};

}  // namespace backend
