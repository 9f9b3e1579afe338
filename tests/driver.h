// Headless driver: the whole wizard in the forms runtime, with the mouse,
// the keyboard, the clock and message boxes under the test's control.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "duplication/duplicator_form.h"
#include "platform/forms.h"
#include "wizard/form1.h"
#include "wizard/frm_error.h"
#include "wizard/frm_select.h"
#include "wizard/launch.h"
#include "wizard/wizard.h"

namespace testing_driver {

struct Box {
    std::string text;
    int style = 0;
    std::string title;
    std::string dialog;  // the message dialog's text while the box showed, "-" when it was not shown
};

// Records every message box and answers OK.
class ScriptedBoxes : public forms::MessageBoxes {
public:
    int show(const std::string& text, int style, const std::string& title) override {
        const auto* dialog = app ? static_cast<wizard::frmError*>(app->loaded(typeid(wizard::frmError).name())) : nullptr;
        shown.push_back({text, style, title, dialog && dialog->Visible() ? dialog->Label1.Caption : "-"});
        return 1;
    }
    std::vector<Box> shown;
    forms::Application* app = nullptr;
};

// The 29 maps, file name and display name, in the map picker's order.
inline const std::pair<const char*, const char*> kMaps[29] = {
    {"a10", "Pillar of Autum"}, {"a30", "Halo"}, {"a50", "Truth and Reconciliation"}, {"b30", "Silent Cartographer"},
    {"b40", "Assault on the Control Room"}, {"beavercreek", "Battle Creek"}, {"bloodgulch", "Blood Gulch"},
    {"boardingaction", "Boarding Action"}, {"c10", "Guilty Spark"}, {"c20", "Library"}, {"c40", "Two Betrayals"},
    {"carousel", "Derelict"}, {"chillout", "Chill Out"}, {"d20", "Keyes"}, {"d40", "The Maw"},
    {"damnation", "Damnation"}, {"dangercanyon", "Danger Canyon"}, {"deathisland", "Death Island"},
    {"gephyrophobia", "Gephyrophobia"}, {"hangemhigh", "Hang 'em High"}, {"icefields", "Ice Fields"},
    {"infinity", "Infinity"}, {"longest", "Longest"}, {"prisoner", "Prisoner"}, {"putput", "Chiron TL34"},
    {"ratrace", "Rat Race"}, {"sidewinder", "Sidewinder"}, {"timberland", "Timberland"}, {"wizard", "Wizard"}};

// Those of the space-separated names whose controls are visible, in order.
inline std::string shown(const forms::Form& f, const std::string& names) {
    std::istringstream in(names);
    std::string out;
    for (std::string n; in >> n;)
        if (const forms::Control* c = f.find(n); c == nullptr || c->Visible) out += (out.empty() ? "" : " ") + n;
    return out;
}

class Driver {
public:
    // drives: what the drive lists offer from the start instead of the system's drives.
    explicit Driver(const objects::KindList& kinds = objects::built_in(),
                    std::function<std::vector<std::string>()> drives = nullptr) {
        app.drive_provider = std::move(drives);
        boxes.app = &app;
        app.set_message_boxes(&boxes);
        wizard::start(app, kinds);
    }

    forms::Application app;
    ScriptedBoxes boxes;

    wizard::Form1& main() { return app.get<wizard::Form1>(); }
    // The default instance of a kind's duplicator form, loaded if it is not.
    duplication::DuplicatorForm& duplicator(const std::string& kind) { return *wizard::duplicator_for(main(), kind); }
    bool loaded(const std::string& form_name) const { return app.loaded(form_name) != nullptr; }

    // Mouse over the centre of a control (whatever lies topmost there gets it).
    void move(forms::Control& c) { app.mouse_move(c.form(), cx(c), cy(c)); }
    void down(forms::Control& c) { app.mouse_down(c.form(), cx(c), cy(c)); }
    void up(forms::Control& c) { app.mouse_up(c.form(), cx(c), cy(c)); }
    void click(forms::Control& c) {
        down(c);
        up(c);
    }
    // An image button: hover, press, then a release over the pressed picture
    // or, by_move, the slightest move over it. Once a step has closed the
    // form, the rest are not made: the controls are gone with it.
    void press(forms::Control& hover, forms::Control& pressed, forms::Control& last, bool by_move = false) {
        forms::Form* form = &hover.form();
        const std::uint64_t serial = form->serial();
        const auto still_open = [&] {
            const auto open = app.forms();
            return std::find(open.begin(), open.end(), form) != open.end() && form->serial() == serial;
        };
        move(hover);
        if (!still_open()) return;
        down(pressed);
        if (!still_open()) return;
        if (by_move)
            move(last);
        else
            up(last);
    }

    // Typing into a text box, as the user does: click into it, then keys.
    void type(forms::TextBox& box, const std::string& text) {
        click(box);
        app.dispatch([&] { box.type(text); });
    }
    // Replaces the whole text as one user's edit.
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
            if (list[i].path != path) continue;
            app.dispatch([&] { dir.open(static_cast<int>(i)); });
            return true;
        }
        return false;
    }
    void pick_drive(forms::DriveListBox& drive, const std::string& name) {
        app.dispatch([&] { drive.SetDrive(name); });
    }
    void set_folder(const std::string& path) {
        app.dispatch([&] { main().Dir1.SetPath(path); });
    }

    void pump() { app.pump(); }
    void tick(int ms) { app.tick(ms); }

    // The Begin and Options tabs; Options by release leaves the kind echo alone.
    void begin(bool by_move = false) { press(main().Image1, main().Image2, main().Image3, by_move); }
    void options(bool by_move = false) { press(main().Image8, main().Image9, main().Image10, by_move); }
    // Ticks "Ready" once the timer has enabled it.
    void ready() {
        tick(100);
        click(main().Check1);
    }
    // The compile button launches on the slightest move over its pressed picture.
    void compile() { press(main().conten, main().cont1, main().cont2, true); }

    // Begin, a kind, "Ready", then Options.
    void to_options(const std::string& kind) {
        begin();
        pump();
        pick(main().Combo1, kind);
        ready();
        options();
    }
    // The message dialog's OK button, and the map picker from the select button.
    void close_dialog() {
        auto& e = app.get<wizard::frmError>();
        press(e.Image1, e.Image2, e.Image3);
    }
    wizard::frm_select& open_picker() {
        move(main().select);
        down(main().select1);
        return app.get<wizard::frm_select>();
    }
    // Walks the wizard up to the compile press: kind, map, name, then the
    // folder by its full path.
    void prepare(const std::string& kind, const std::string& map, const std::string& name,
                 const std::string& folder) {
        to_options(kind);
        type(main().txtmap, map);
        type(main().txtfile, name);
        set_folder(folder);
    }

private:
    static int cx(const forms::Control& c) { return c.abs_left() + c.Width / 2; }
    static int cy(const forms::Control& c) { return c.abs_top() + c.Height / 2; }
};

}  // namespace testing_driver
