// Helpers of the window tests: an X display, settling FLTK, reading pixels,
// feeding synthetic input to a window and the user's way through the program.
#pragma once

#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/fl_draw.H>
// fl_draw.H brings X11's headers, whose macros clash with GoogleTest's and
// the forms model's names.
#undef None
#undef Bool

#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/forms.h"

namespace window_test {

inline bool have_display() {
#ifdef _WIN32
    // Windows has its desktop; Wine shows its windows on the X display.
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr) return true;
#endif
    return std::getenv("DISPLAY") != nullptr && *std::getenv("DISPLAY") != '\0';
}

// Runs FLTK's loop until done() or the time is up; returns done().
inline bool settle_until(const std::function<bool()>& done, double seconds = 3.0) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    bool ok = false;
    while (!(ok = done()) && std::chrono::steady_clock::now() < end) Fl::wait(0.01);
    Fl::flush();
    return ok;
}

// Lets windows get mapped, drawn and moved.
inline void settle(double seconds = 0.15) { settle_until([] { return false; }, seconds); }

using Box = std::array<int, 4>;
inline Box xywh(const Fl_Widget* w) { return {w->x(), w->y(), w->w(), w->h()}; }

// The colour of one pixel of a window's client area as it is on screen, in
// the model's colour format.
inline forms::Color pixel(Fl_Window* w, int x, int y) {
    Fl::flush();
    w->make_current();
    unsigned char p[3] = {0, 0, 0};
    fl_read_image(p, x, y, 1, 1);
    return forms::rgb(p[0], p[1], p[2]);
}

inline unsigned brightness(forms::Color c) { return forms::red_of(c) + forms::green_of(c) + forms::blue_of(c); }

// Synthetic mouse input, as the X event loop would hand it to FLTK.
// clicks is 1 for the second press of a double-click.
inline void mouse(Fl_Window* w, int event, int x, int y, int clicks = 0) {
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_x_root = w->x() + x;
    Fl::e_y_root = w->y() + y;
    Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
    Fl::e_state = (event == FL_PUSH || event == FL_DRAG) ? FL_BUTTON1 : 0;
    Fl::e_is_click = 0;
    if (event == FL_PUSH) Fl::e_clicks = clicks;
    Fl::handle(event, w);
}

inline void click(Fl_Window* w, int x, int y, int clicks = 0) {
    mouse(w, FL_PUSH, x, y, clicks);
    mouse(w, FL_RELEASE, x, y);
}

// A picture button: hovered, pressed, moved over while pressed, released.
inline void press(Fl_Window* w, int x, int y) {
    mouse(w, FL_MOVE, x, y);
    mouse(w, FL_MOVE, x + 1, y + 1);
    mouse(w, FL_PUSH, x + 1, y + 1);
    mouse(w, FL_DRAG, x + 2, y + 1);
    mouse(w, FL_RELEASE, x + 2, y + 1);
}

// A key press to the window's focused widget; text for printable keys.
inline void key(Fl_Window* w, int keysym, const char* text = "", int state = 0) {
    Fl::e_keysym = keysym;
    Fl::e_text = const_cast<char*>(text);
    Fl::e_length = static_cast<int>(std::strlen(text));
    Fl::e_state = state;
    Fl::handle(FL_KEYBOARD, w);
}

inline void type(Fl_Window* w, const std::string& text) {
    for (char ch : text) key(w, static_cast<unsigned char>(ch), std::string(1, ch).c_str());
}

enum class Key { Escape, Up, Down, Return };

// The user's way through the program's main window to the compile press, in
// client pixels, through the test's own input: press(x, y) a picture button,
// click(x, y), keys(key, times), type(text). downs: Downs into the kind list;
// start: the program's starting folder, which holds the stock folder alone.
template <class User>
void walk_to_compile(User& user, int downs, const std::string& name, const std::filesystem::path& start) {
    user.press(40, 67);         // Begin
    user.click(160, 123);       // the kind list drops down...
    user.keys(Key::Escape, 1);  // ...and closes; it has the focus
    user.keys(Key::Down, downs);
    user.click(22, 280);        // Ready
    user.press(112, 67);        // Options
    user.click(150, 145);       // map name
    user.type("Blood Gulch");
    user.click(200, 176);       // new name
    user.type(name);
    // The folder list: the drive, the starting folder's ancestors, the folder,
    // then the stock folder. A click gives it the focus, Up goes to the top,
    // Down to the stock folder, and Enter opens it.
    int ancestors = 0;
    for (auto p = std::filesystem::absolute(start); p != p.parent_path(); p = p.parent_path()) ++ancestors;
    user.click(100, 200);
    user.keys(Key::Up, 30);
    user.keys(Key::Down, ancestors + 1);
    user.keys(Key::Return, 1);
    user.press(300, 268);  // compile
}

// The main window's own exit button.
template <class User> void press_exit(User& user) { user.press(366, 20); }

}  // namespace window_test
