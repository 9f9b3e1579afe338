// Headless driver: the whole wizard in the forms runtime, with the mouse,
// the keyboard, the clock and message boxes under the test's control.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "wizard/form1.h"
#include "wizard/frm_error.h"
#include "wizard/frm_select.h"
#include "wizard/wizard.h"

namespace testing_driver {

struct Box {
    std::string text;
    int style = 0;
    std::string title;
};

// Records every message box; an optional hook runs while the box is open.
class ScriptedBoxes : public forms::MessageBoxes {
public:
    int show(const std::string& text, int style, const std::string& title) override {
        shown.push_back({text, style, title});
        if (on_show) on_show(shown.back());
        return 1;
    }
    std::vector<Box> shown;
    std::function<void(const Box&)> on_show;
};

class Driver {
public:
    explicit Driver(bool start = true) {
        app.set_message_boxes(&boxes);
        if (start) wizard::start(app);
    }

    forms::Application app;
    ScriptedBoxes boxes;

    wizard::Form1& main() { return app.get<wizard::Form1>(); }

    // Mouse over the centre of a control (whatever lies topmost there gets it).
    void move(forms::Control& c) { app.mouse_move(c.form(), cx(c), cy(c)); }
    void down(forms::Control& c) { app.mouse_down(c.form(), cx(c), cy(c)); }
    void up(forms::Control& c) { app.mouse_up(c.form(), cx(c), cy(c)); }
    void click(forms::Control& c) {
        down(c);
        up(c);
    }
    // Over a form's background at a point of its client area.
    void move_form(forms::Form& f, int x, int y) { app.mouse_move(f, x, y); }

    // Typing into a text box, as the user does: click into it, then keys.
    void type(forms::TextBox& box, const std::string& text) {
        click(box);
        app.dispatch([&] { box.type(text); });
    }
    // Replaces the whole text as a user's edit.
    void retype(forms::TextBox& box, const std::string& text) {
        click(box);
        app.dispatch([&] { box.edited(text, static_cast<int>(text.size())); });
    }
    void pick(forms::ComboBox& combo, const std::string& item) {
        click(combo);
        for (std::size_t i = 0; i < combo.items.size(); ++i)
            if (combo.items[i] == item) app.dispatch([&] { combo.SetListIndex(static_cast<int>(i)); });
    }
    // Double-click on a folder of the folder list, by full path.
    bool open_folder(forms::DirListBox& dir, const std::string& path) {
        const auto list = dir.entries();
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].path == path) {
                app.dispatch([&] { dir.open(static_cast<int>(i)); });
                return true;
            }
        }
        return false;
    }
    void pick_drive(forms::DriveListBox& drive, const std::string& name) {
        app.dispatch([&] { drive.SetDrive(name); });
    }

    void pump() { app.pump(); }
    void tick(int ms) { app.tick(ms); }

    // The Begin tab: hover, press, release.
    void begin() {
        auto& m = main();
        move(m.Image1);
        down(m.Image2);
        up(m.Image3);
    }
    // Ticks "Ready" once the timer has enabled it.
    void ready() {
        tick(100);
        click(main().Check1);
    }
    // The Options tab: hover, press, release (MouseUp: the kind echo stays).
    void options() {
        auto& m = main();
        move(m.Image8);
        down(m.Image9);
        up(m.Image10);
    }
    // Hover, press, and the slightest move over the pressed picture: launch.
    void compile() {
        auto& m = main();
        move(m.conten);
        down(m.cont1);
        move(m.cont2);
    }

    // Walks the wizard to a launched duplication of a folder: kind, map,
    // name, then the folder by its full path. Leaves the launch's Enter posted.
    void prepare(const std::string& kind, const std::string& map, const std::string& name,
                 const std::string& folder) {
        auto& m = main();
        begin();
        pump();
        pick(m.Combo1, kind);
        ready();
        options();
        type(m.txtmap, map);
        type(m.txtfile, name);
        app.dispatch([&] { m.Dir1.SetPath(folder); });
    }

    // The message dialog's OK button: hover, press, release.
    void close_dialog() {
        auto& e = app.get<wizard::frmError>();
        move(e.Image1);
        down(e.Image2);
        up(e.Image3);
    }
    // The select button: hover, press; returns the map picker it opened.
    wizard::frm_select& open_picker() {
        auto& m = main();
        move(m.select);
        down(m.select1);
        return app.get<wizard::frm_select>();
    }
    // The picker's NEXT button: hover, press (the press toggles), then a
    // move over the pressed picture puts the button back to rest.
    void next_view() {
        auto& s = app.get<wizard::frm_select>();
        move(s.Image1);
        down(s.Image2);
        move(s.Image3);
    }
    // Title bar buttons: hover, press, then the bound action event.
    void maximise() {
        auto& m = main();
        move(m.mx1);
        down(m.mx2);
        move(m.mx3);
    }
    void minimise() {
        auto& m = main();
        move(m.min1);
        down(m.min2);
        up(m.min3);
    }
    void press_exit() {
        auto& m = main();
        move(m.Xit1);
        down(m.Xit2);
        up(m.Xit3);
    }

private:
    static int cx(const forms::Control& c) { return c.abs_left() + c.Width / 2; }
    static int cy(const forms::Control& c) { return c.abs_top() + c.Height / 2; }
};

}  // namespace testing_driver
