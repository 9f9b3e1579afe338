// One window per shown form: it paints the form's controls in their z-order,
// keeps real widgets for the controls a user types into or picks from, and
// feeds mouse and keyboard input into the model.
#pragma once

#include <FL/Fl_Double_Window.H>

#include <cstdint>
#include <map>
#include <vector>

#include "backend/fltk/window_frame.h"
#include "platform/forms.h"

namespace backend {

class ControlWidget;
class FltkHost;

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
    void follow_frame(forms::Form& f);
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
    FrameExtents frame_;  // as last seen
};

}  // namespace backend
