#include "backend/fltk/paint.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cctype>
#include <cmath>

#ifdef _WIN32
#include <windows.h>
#endif

#include "backend/fltk/pictures.h"

namespace backend {

namespace {

Box intersect(Box a, Box b) {
    const int x1 = std::max(a.x, b.x), y1 = std::max(a.y, b.y);
    const int x2 = std::min(a.x + a.w, b.x + b.w), y2 = std::min(a.y + a.h, b.y + b.h);
    return {x1, y1, std::max(0, x2 - x1), std::max(0, y2 - y1)};
}

void set_font(const forms::Font& f) { fl_font(font_of(f), font_pixels(f)); }

const Fl_Color kGreyText = fl_rgb_color(128, 128, 128);

// Disabled text: grey with a white shadow, as the system draws it.
void draw_disabled_text(std::string_view text, Box b, forms::Align align, bool underline) {
    fl_color(FL_WHITE);
    draw_text(text, {b.x + 1, b.y + 1, b.w, b.h}, align, underline);
    fl_color(kGreyText);
    draw_text(text, b, align, underline);
}

void focus_rect(int x, int y, int w, int h) {
    fl_color(FL_BLACK);
    fl_line_style(FL_DOT);
    fl_rect(x, y, w, h);
    fl_line_style(0);
}

void paint_label(const forms::Control& c, Box b) {
    if (!c.Transparent) {
        fl_color(color_of(c.BackColor));
        fl_rectf(b.x, b.y, b.w, b.h);
    }
    set_font(c.font);
    if (c.enabled_chain()) {
        fl_color(color_of(c.ForeColor));
        draw_text(c.Caption, b, c.Alignment, c.font.underline);
    } else {
        draw_disabled_text(c.Caption, b, c.Alignment, c.font.underline);
    }
}

void paint_frame(const forms::Control& c, Box b) {
    fl_color(color_of(c.BackColor));
    fl_rectf(b.x, b.y, b.w, b.h);
    set_font(c.font);
    const int th = fl_height();
    const int top = b.y + th / 2;
    fl_draw_box(FL_ENGRAVED_FRAME, b.x, top, b.w, b.h - (top - b.y), color_of(c.BackColor));
    if (c.Caption.empty()) return;
    const int tw = static_cast<int>(fl_width(c.Caption.c_str()));
    fl_color(color_of(c.BackColor));
    fl_rectf(b.x + 6, b.y, tw + 4, th);
    fl_color(c.enabled_chain() ? color_of(c.ForeColor) : kGreyText);
    fl_draw(c.Caption.c_str(), b.x + 8, b.y + th - fl_descent());
    if (c.font.underline) fl_xyline(b.x + 8, b.y + th - fl_descent() + 1, b.x + 8 + tw - 1);
}

void paint_check_box(const forms::Control& c, Box b, bool focused) {
    const auto& box = static_cast<const forms::CheckBox&>(c);
    const bool on = c.enabled_chain();
    if (!c.Transparent) {
        fl_color(color_of(c.BackColor));
        fl_rectf(b.x, b.y, b.w, b.h);
    }
    const int s = 13;
    const int bx = b.x, by = b.y + (b.h - s) / 2;
    fl_draw_box(FL_DOWN_BOX, bx, by, s, s, on && box.Value() != 2 ? FL_WHITE : fl_rgb_color(212, 208, 200));
    if (box.Value() != 0) {
        fl_color(on && box.Value() == 1 ? FL_BLACK : kGreyText);
        fl_line_style(FL_SOLID | FL_CAP_SQUARE, 2);
        fl_begin_line();
        fl_vertex(bx + 3, by + 6);
        fl_vertex(bx + 5, by + 9);
        fl_vertex(bx + 10, by + 3);
        fl_end_line();
        fl_line_style(0);
    }
    set_font(c.font);
    const Box text{bx + s + 4, b.y, std::max(0, b.w - s - 4), b.h};
    const int th = text_height(c.Caption, text.w);
    const Box centred{text.x, b.y + (b.h - th) / 2, text.w, th};
    if (on) {
        fl_color(color_of(c.ForeColor));
        draw_text(c.Caption, centred, forms::Align::Left, c.font.underline);
    } else {
        draw_disabled_text(c.Caption, centred, forms::Align::Left, c.font.underline);
    }
    if (focused && !c.Caption.empty()) {
        const int tw = std::min(text.w, static_cast<int>(fl_width(c.Caption.c_str())) + 3);
        focus_rect(text.x - 2, centred.y - 1, tw + 2, std::min(th, b.h) + 2);
    }
}

void paint_button(const forms::Control& c, Box b, bool focused, bool pressed) {
    fl_draw_box(pressed ? FL_DOWN_BOX : FL_UP_BOX, b.x, b.y, b.w, b.h, color_of(c.BackColor));
    set_font(c.font);
    const int shift = pressed ? 1 : 0;
    const Box inner{b.x + 3 + shift, b.y + shift, std::max(0, b.w - 6), b.h};
    const int th = text_height(c.Caption, inner.w);
    const Box centred{inner.x, b.y + shift + (b.h - th) / 2, inner.w, th};
    if (c.enabled_chain()) {
        fl_color(color_of(c.ForeColor));
        draw_text(c.Caption, centred, forms::Align::Center, c.font.underline);
    } else {
        draw_disabled_text(c.Caption, centred, forms::Align::Center, c.font.underline);
    }
    if (focused && b.w > 8 && b.h > 8) focus_rect(b.x + 4, b.y + 4, b.w - 8, b.h - 8);
}

void paint_image(const forms::Control& c, Box b) {
    if (c.Picture.empty()) return;  // an empty picture control shows what lies beneath
    Box area = b;
    if (!c.Stretch) {
        if (auto size = picture_size(c.Picture)) {
            area.w = size->w;
            area.h = size->h;
        }
    }
    draw_picture(c.Picture, area);
}

void paint_line(const forms::Line& l) {
    const forms::Control* box = l.container();
    const int ox = box ? box->abs_left() : 0, oy = box ? box->abs_top() : 0;
    fl_color(color_of(l.BorderColor));
    const int width = std::max(1, l.BorderWidth);
    if (width > 1) fl_line_style(FL_SOLID | FL_CAP_ROUND | FL_JOIN_ROUND, width);
    fl_line(px(ox + l.X1), px(oy + l.Y1), px(ox + l.X2), px(oy + l.Y2));
    fl_line_style(0);
}

// The longest head of a word that fits the width: cut after its last
// separator of a path that fits, else after its last character that fits.
std::size_t fitting_head(std::string_view word, int width) {
    std::size_t fits = 0, separator = 0;
    for (std::size_t i = 1; i <= word.size(); ++i) {
        if (i < word.size() && (static_cast<unsigned char>(word[i]) & 0xC0) == 0x80) continue;  // inside a character
        if (fl_width(word.data(), static_cast<int>(i)) > width) break;
        fits = i;
        if (word[i - 1] == '\\' || word[i - 1] == '/') separator = i;
    }
    if (fits == 0) {  // not even one character: take it all the same
        fits = 1;
        while (fits < word.size() && (static_cast<unsigned char>(word[fits]) & 0xC0) == 0x80) ++fits;
    }
    return separator > 0 && fits < word.size() ? separator : fits;
}

void wrap_paragraph(std::string_view para, int width, bool break_words, std::vector<std::string>& lines) {
    std::string line;
    std::size_t i = 0;
    const std::size_t n = para.size();
    while (i < n) {
        std::size_t j = i;
        while (j < n && para[j] == ' ') ++j;
        while (j < n && para[j] != ' ') ++j;
        std::string_view piece = para.substr(i, j - i);
        std::string candidate = line;
        candidate.append(piece);
        if (!line.empty() && fl_width(candidate.c_str()) > width) {
            lines.push_back(line);
            const auto first = piece.find_first_not_of(' ');
            piece = first == std::string_view::npos ? std::string_view() : piece.substr(first);
            line = std::string(piece);
        } else {
            line = std::move(candidate);
        }
        // A word wider than the whole line is cut where it must be.
        while (break_words && fl_width(line.c_str()) > width) {
            const std::size_t head = fitting_head(line, width);
            if (head >= line.size()) break;
            lines.push_back(line.substr(0, head));
            line.erase(0, head);
        }
        i = j;
    }
    lines.push_back(line);
}

}  // namespace

Fl_Color color_of(forms::Color c) {
    return fl_rgb_color(static_cast<uchar>(forms::red_of(c)), static_cast<uchar>(forms::green_of(c)),
                        static_cast<uchar>(forms::blue_of(c)));
}

namespace {

// The faces the forms name and, where they are not installed, faces whose
// text fits the forms' labels: Arial's and Times New Roman's metric twins,
// and for Franklin Gothic Medium a condensed sans serif.
struct Face {
    std::string_view name;  // lower case
    const char* family;
    const char* stand_in;
};

#ifdef _WIN32
// Windows draws a line of text taller than X11 does: a condensed face whose
// lines fit the labels there (where Franklin Gothic Medium is missing: Wine).
constexpr const char* kCondensed = "DejaVu Sans Condensed";
#else
constexpr const char* kCondensed = "Roboto Condensed";
#endif

constexpr Face kFaces[] = {{"arial", "Arial", "Liberation Sans"},
                           {"franklin gothic medium", "Franklin Gothic Medium", kCondensed},
                           {"ms sans serif", "MS Sans Serif", "Liberation Sans"},
                           {"times new roman", "Times New Roman", "Liberation Serif"},
                           {"courier new", "Courier New", "Liberation Mono"}};

#ifdef _WIN32
int CALLBACK found_face(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Windows has the faces the forms name; a system without one (Wine) gets
// its stand-in.
const char* family_of(const Face& face) {
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, face.family, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, found_face, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found ? face.family : face.stand_in;
}
#else
const char* family_of(const Face& face) { return face.stand_in; }
#endif

// Two FLTK fonts per face, regular and bold, from FL_FREE_FONT on.
Fl_Font face_font(std::size_t face, bool bold) {
    static bool named = false;
    if (!named) {
        named = true;
        for (std::size_t i = 0; i < std::size(kFaces); ++i) {
            static std::vector<std::string> names;  // FLTK keeps the pointers
            names.push_back(std::string(" ") + family_of(kFaces[i]));
            names.push_back(std::string("B") + family_of(kFaces[i]));
            const auto slot = static_cast<Fl_Font>(FL_FREE_FONT + 2 * i);
            Fl::set_font(slot, names[names.size() - 2].c_str());
            Fl::set_font(static_cast<Fl_Font>(slot + 1), names.back().c_str());
        }
    }
    return static_cast<Fl_Font>(FL_FREE_FONT + 2 * face + (bold ? 1 : 0));
}

}  // namespace

Fl_Font font_of(const forms::Font& f) {
    std::string name;
    for (char ch : f.name) name += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (std::size_t i = 0; i < std::size(kFaces); ++i)
        if (name == kFaces[i].name) return face_font(i, f.bold);
    const bool fixed = name.find("courier") != std::string::npos || name.find("mono") != std::string::npos;
    return fixed ? fixed_font(f.bold) : sans_font(f.bold);
}

Fl_Font sans_font(bool bold) { return face_font(0, bold); }

Fl_Font fixed_font(bool bold) { return face_font(std::size(kFaces) - 1, bold); }

int font_pixels(const forms::Font& f) { return std::max(1, static_cast<int>(std::lround(f.size * 96.0 / 72.0))); }

Box box_of(const forms::Control& c) {
    return {px(c.abs_left()), px(c.abs_top()), px(c.Width), px(c.Height)};
}

Box clip_of(const forms::Control& c) {
    Box clip{-100000, -100000, 200000, 200000};
    if (c.kind() != forms::Kind::Line) clip = box_of(c);
    for (const forms::Control* p = c.container(); p != nullptr; p = p->container()) clip = intersect(clip, box_of(*p));
    return clip;
}

std::vector<std::string> wrap_text(std::string_view text, int width, bool break_words) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const auto nl = text.find('\n', start);
        std::string_view para = text.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start);
        if (!para.empty() && para.back() == '\r') para.remove_suffix(1);
        wrap_paragraph(para, width, break_words, lines);
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
    return lines;
}

int text_height(std::string_view text, int width, bool break_words) {
    return static_cast<int>(wrap_text(text, width, break_words).size()) * fl_height();
}

void draw_text(std::string_view text, Box b, forms::Align align, bool underline, bool break_words) {
    if (text.empty()) return;
    const int lh = fl_height();
    int y = b.y;
    for (const std::string& line : wrap_text(text, b.w, break_words)) {
        const int tw = static_cast<int>(fl_width(line.c_str()));
        int x = b.x;
        if (align == forms::Align::Center) x = b.x + (b.w - tw) / 2;
        else if (align == forms::Align::Right) x = b.x + b.w - tw;
        const int base = y + lh - fl_descent();
        fl_draw(line.c_str(), static_cast<int>(line.size()), x, base);
        if (underline && tw > 0) fl_xyline(x, base + 1, x + tw - 1);
        y += lh;
        if (y >= b.y + b.h) break;
    }
}

void paint_control(const forms::Control& c, bool focused, bool pressed) {
    const Box b = box_of(c);
    switch (c.kind()) {
    case forms::Kind::Label: paint_label(c, b); break;
    case forms::Kind::Frame: paint_frame(c, b); break;
    case forms::Kind::Image: paint_image(c, b); break;
    case forms::Kind::Line: paint_line(static_cast<const forms::Line&>(c)); break;
    case forms::Kind::CheckBox: paint_check_box(c, b, focused); break;
    case forms::Kind::CommandButton: paint_button(c, b, focused, pressed); break;
    default: break;  // widgets draw themselves; timers are never seen
    }
}

}  // namespace backend
