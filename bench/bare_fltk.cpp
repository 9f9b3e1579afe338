// The yardstick of the start-up memory script: a bare FLTK program that
// shows one window with one line of text.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>

int main() {
    Fl_Window window(400, 100, "Bare FLTK");
    Fl_Box text(0, 0, 400, 100, "One line of text");
    window.end();
    window.show();
    return Fl::run();
}
