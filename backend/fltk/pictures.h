// The program's pictures, drawn in code: tabs, image buttons, title bar
// tiles, the tab row strip and the logo.
#pragma once

#include <optional>
#include <string_view>

#include "backend/fltk/paint.h"

namespace backend {

struct Size {
    int w = 0, h = 0;
};

// Natural size of a picture in pixels; none for an unknown name.
std::optional<Size> picture_size(std::string_view id);
// Draws a picture filling the box; an unknown name draws a neutral box.
void draw_picture(std::string_view id, Box b);

}  // namespace backend
