// Drawing of the controls that have no widget of their own: labels, frames,
// pictures, lines, check boxes and buttons, straight from the forms model.
#pragma once

#include <FL/Enumerations.H>

#include <string>
#include <string_view>
#include <vector>

#include "platform/forms.h"

namespace backend {

// A rectangle in pixels of a window's client area.
struct Box {
    int x = 0, y = 0, w = 0, h = 0;
};

// Twips to the nearest pixel.
constexpr int px(int twips) {
    const int t = twips + forms::kTwipsPerPixel / 2;
    return t >= 0 ? t / forms::kTwipsPerPixel : -((-t + forms::kTwipsPerPixel - 1) / forms::kTwipsPerPixel);
}

Fl_Color color_of(forms::Color c);
// The program's sans serif and fixed fonts: Arial and Courier New by name,
// or what the system's font matching offers for them.
Fl_Font sans_font(bool bold);
Fl_Font fixed_font(bool bold);
// The nearest FLTK font of a form font and its size in pixels at 96 dpi.
Fl_Font font_of(const forms::Font& f);
int font_pixels(const forms::Font& f);

// The control's rectangle in pixels of its form's client area.
Box box_of(const forms::Control& c);
// The part of the client area that a control may paint: its containers clip it.
Box clip_of(const forms::Control& c);

// Breaks text into lines no wider than width in the current font: at line
// breaks, and between words where a line would get too wide. A word wider
// than a line runs past it, unless break_words cuts it (after a path's
// separator where one fits), as message boxes do.
std::vector<std::string> wrap_text(std::string_view text, int width, bool break_words = false);

// Draws wrapped text from the top of a box in the current font and colour.
void draw_text(std::string_view text, Box b, forms::Align align, bool underline, bool break_words = false);
// Height of wrapped text in the current font.
int text_height(std::string_view text, int width, bool break_words = false);

// Paints one control. focused draws the focus mark, pressed a button held down.
void paint_control(const forms::Control& c, bool focused, bool pressed);

}  // namespace backend
