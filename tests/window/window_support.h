// Helpers of the window tests: an X display, settling FLTK, reading pixels
// and feeding synthetic input to a window.
#pragma once

#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

// FLTK's drawing header brings X11's, whose macros clash with GoogleTest's
// and the forms model's names.
#ifdef None
#undef None
#endif
#ifdef Bool
#undef Bool
#endif

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "backend/fltk/host.h"
#include "platform/forms.h"

namespace window_test {

inline bool have_display() {
    const char* d = std::getenv("DISPLAY");
    return d != nullptr && *d != '\0';
}

#define REQUIRE_DISPLAY()                                        \
    do {                                                         \
        if (!::window_test::have_display()) GTEST_SKIP() << "no X display (DISPLAY unset)"; \
    } while (0)

// Runs FLTK's loop for a while: windows get mapped, drawn and moved.
inline void settle(double seconds = 0.15) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) Fl::wait(0.01);
    Fl::flush();
}

// Runs FLTK's loop until done() or the time is up; returns done().
inline bool settle_until(const std::function<bool()>& done, double seconds = 3.0) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done() && std::chrono::steady_clock::now() < end) Fl::wait(0.01);
    Fl::flush();
    return done();
}

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "RGB(" << c.r << "," << c.g << "," << c.b << ")";
}

inline Rgb rgb_of(forms::Color c) {
    return {static_cast<int>(forms::red_of(c)), static_cast<int>(forms::green_of(c)),
            static_cast<int>(forms::blue_of(c))};
}

// The colour of one pixel of a window's client area, as it is on screen.
inline Rgb pixel(Fl_Window* w, int x, int y) {
    Fl::flush();
    w->make_current();
    unsigned char p[3] = {0, 0, 0};
    fl_read_image(p, x, y, 1, 1);
    return {p[0], p[1], p[2]};
}

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

inline void click(Fl_Window* w, int x, int y) {
    mouse(w, FL_PUSH, x, y);
    mouse(w, FL_RELEASE, x, y);
}

// A key press to the window's focused widget; text for printable keys.
inline void key(Fl_Window* w, int keysym, const char* text = "", int state = 0) {
    static char buffer[8];
    std::strncpy(buffer, text, sizeof buffer - 1);
    Fl::e_keysym = keysym;
    Fl::e_text = buffer;
    Fl::e_length = static_cast<int>(std::strlen(buffer));
    Fl::e_state = state;
    Fl::handle(FL_KEYBOARD, w);
}

inline void type(Fl_Window* w, const std::string& text) {
    for (char ch : text) {
        const char s[2] = {ch, '\0'};
        key(w, static_cast<unsigned char>(ch), s);
    }
}

}  // namespace window_test
