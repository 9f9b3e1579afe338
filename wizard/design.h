// Shorthands for declaring the wizard's controls with their design values.
#pragma once

#include <string>

#include "platform/forms.h"

namespace wizard {

inline forms::Font franklin(double size = 9.75, bool bold = true) {
    return forms::Font{"Franklin Gothic Medium", size, bold, false};
}

inline forms::Image& image(forms::Form& f, std::string name, forms::Rect r, std::string picture, bool visible,
                           forms::Control* container = nullptr) {
    auto& c = f.add(std::move(name), forms::Kind::Image, r, container);
    c.Picture = std::move(picture);
    c.Visible = visible;
    return c;
}

inline forms::Label& label(forms::Form& f, std::string name, forms::Rect r, std::string caption,
                           forms::Control* container = nullptr) {
    auto& c = f.add(std::move(name), forms::Kind::Label, r, container);
    c.Caption = std::move(caption);
    c.Transparent = true;
    c.font = franklin();
    return c;
}

inline forms::Frame& frame(forms::Form& f, std::string name, forms::Rect r, std::string caption,
                           forms::Color back, forms::Color caption_color) {
    auto& c = f.add(std::move(name), forms::Kind::Frame, r);
    c.Caption = std::move(caption);
    c.BackColor = back;
    c.ForeColor = caption_color;
    c.font = franklin();
    return c;
}

inline forms::Line& line(forms::Form& f, std::string name, int x1, int y1, int x2, int y2, int width,
                         forms::Color color, forms::Control* container = nullptr) {
    auto& c = f.add<forms::Line>(std::move(name), forms::Rect{}, container);
    c.X1 = x1;
    c.Y1 = y1;
    c.X2 = x2;
    c.Y2 = y2;
    c.BorderWidth = width;
    c.BorderColor = color;
    return c;
}

}  // namespace wizard
