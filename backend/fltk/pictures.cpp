#include "backend/fltk/pictures.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

namespace backend {

namespace {

struct Rgb {
    int r, g, b;
};

// The window colour the pictures were made on.
constexpr Rgb kPaper{238, 245, 255};

Fl_Color fl(Rgb c) {
    return fl_rgb_color(static_cast<uchar>(c.r), static_cast<uchar>(c.g), static_cast<uchar>(c.b));
}

Rgb mix(Rgb a, Rgb b, double t) {
    auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

void fill(Box b, Rgb c) {
    fl_color(fl(c));
    fl_rectf(b.x, b.y, b.w, b.h);
}

// Top to bottom gradient, one line per row.
void vgradient(Box b, Rgb top, Rgb bottom) {
    for (int i = 0; i < b.h; ++i) {
        fl_color(fl(mix(top, bottom, b.h > 1 ? static_cast<double>(i) / (b.h - 1) : 0.0)));
        fl_xyline(b.x, b.y + i, b.x + b.w - 1);
    }
}

// A bar leaning right: its top edge is shifted by slant pixels.
void slanted_gradient(Box b, int slant, Rgb top, Rgb bottom) {
    for (int i = 0; i < b.h; ++i) {
        const double t = b.h > 1 ? static_cast<double>(i) / (b.h - 1) : 0.0;
        const int shift = static_cast<int>(std::lround(slant * (1.0 - t)));
        fl_color(fl(mix(top, bottom, t)));
        fl_xyline(b.x + shift, b.y + i, b.x + b.w - 1 - (slant - shift));
    }
}

void slanted_outline(Box b, int slant, Rgb c) {
    fl_color(fl(c));
    fl_loop(b.x + slant, b.y, b.x + b.w - 1, b.y, b.x + b.w - 1 - slant, b.y + b.h - 1, b.x, b.y + b.h - 1);
}

// Largest bold font size up to max_size at which text fits width.
int fit(std::string_view text, int max_size, int width) {
    int size = std::max(6, max_size);
    for (; size > 6; --size) {
        fl_font(sans_font(true), size);
        if (fl_width(std::string(text).c_str()) <= width) break;
    }
    fl_font(sans_font(true), size);
    return size;
}

// Centres text in a box in the current font.
void centre_text(std::string_view text, Box b, Rgb c, int dx = 0) {
    const std::string s(text);
    const int tw = static_cast<int>(fl_width(s.c_str()));
    const int x = b.x + (b.w - tw) / 2 + dx;
    const int y = b.y + (b.h + fl_height()) / 2 - fl_descent();
    fl_color(fl(c));
    fl_draw(s.c_str(), x, y);
}

int scaled(int value, int natural, int actual) {
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(value) * actual / natural)));
}

// ---------------------------------------------------------------- tabs

struct TabLook {
    Rgb top, bottom, border, text;
};

TabLook tab_look(std::string_view state) {
    if (state == "hover") return {{242, 249, 255}, {200, 226, 252}, {120, 160, 215}, {20, 40, 90}};
    if (state == "pressed") return {{125, 165, 220}, {82, 126, 196}, {40, 80, 150}, {10, 25, 60}};
    if (state == "active") return {{62, 122, 216}, {24, 74, 168}, {14, 48, 118}, {255, 255, 255}};
    if (state == "inactive") return {{226, 226, 226}, {188, 188, 188}, {150, 150, 150}, {80, 80, 80}};
    return {{226, 239, 255}, {168, 200, 240}, {100, 140, 200}, {20, 40, 90}};  // normal
}

void draw_tab(std::string_view word, std::string_view state, Box b) {
    const TabLook look = tab_look(state);
    vgradient(b, look.top, look.bottom);
    fl_color(fl(mix(look.top, {255, 255, 255}, 0.6)));
    fl_xyline(b.x + 1, b.y + 1, b.x + b.w - 2);
    fl_color(fl(look.border));
    fl_rect(b.x, b.y, b.w, b.h);
    std::string text(word);
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    fit(text, scaled(12, 38, b.h), b.w - scaled(8, 65, b.w));
    centre_text(text, b, look.text);
}

// ---------------------------------------------------------------- compile

void draw_compile(std::string_view state, Box b) {
    Rgb top{200, 245, 200}, bottom{158, 224, 158}, border{30, 80, 30}, text{0, 0, 0};
    if (state == "greyed") {
        top = {255, 208, 218};
        bottom = {244, 184, 196};
        border = {196, 150, 160};
        text = {150, 150, 150};
    } else if (state == "hover") {
        top = {228, 255, 228};
        bottom = {190, 246, 190};
    } else if (state == "pressed") {
        top = {150, 210, 150};
        bottom = {112, 184, 112};
        border = {20, 60, 20};
    }
    fill(b, kPaper);
    const int r = scaled(4, 38, b.h);
    const Box face{b.x, b.y, b.w, b.h};
    vgradient({face.x + r, face.y, face.w - 2 * r, face.h}, top, bottom);
    vgradient({face.x, face.y + r, face.w, face.h - 2 * r}, mix(top, bottom, static_cast<double>(r) / face.h),
              mix(top, bottom, 1.0 - static_cast<double>(r) / face.h));
    fl_color(fl(border));
    const int lw = std::max(1, scaled(2, 38, b.h));
    fl_line_style(FL_SOLID, lw);
    fl_rect(b.x + lw / 2, b.y + lw / 2, b.w - lw + 1, b.h - lw + 1);
    fl_line_style(0);
    fit("COMPILE", scaled(17, 38, b.h), b.w - scaled(16, 128, b.w));
    centre_text("COMPILE", b, text);
}

// ---------------------------------------------------------------- select, next

void draw_bar_button(std::string_view word, std::string_view state, Box b) {
    Rgb top{72, 122, 212}, bottom{24, 58, 150}, text{255, 150, 40};
    if (state == "hover") {
        top = {112, 162, 236};
        bottom = {50, 96, 192};
        text = {255, 190, 90};
    } else if (state == "pressed") {
        top = {36, 70, 150};
        bottom = {10, 34, 100};
        text = {232, 120, 20};
    }
    fill(b, kPaper);
    const int slant = scaled(6, 21, b.h);
    slanted_gradient(b, slant, top, bottom);
    slanted_outline(b, slant, mix(bottom, {0, 0, 0}, 0.3));
    fit(word, scaled(12, 21, b.h), b.w - 2 * slant - 4);
    centre_text(word, b, text);
}

// ---------------------------------------------------------------- title bar

// The glyph of a title bar tile; fill is the tile's colour, which the front
// square of the restore glyph is filled with.
void draw_glyph(std::string_view glyph, Box t, Rgb c, Rgb fill, int extra) {
    const int cx = t.x + t.w / 2, cy = t.y + t.h / 2;
    const int g = std::max(4, t.h * 9 / 20);
    const int lw = std::max(1, t.h / 14) + extra;
    fl_color(fl(c));
    if (glyph == "min") {
        fl_rectf(cx - g / 2 - extra, cy + g / 2 - 2 - extra, g + 2 * extra, 3 + 2 * extra);
    } else if (glyph == "max") {
        fl_line_style(FL_SOLID, lw);
        fl_rect(cx - g / 2, cy - g / 2, g, g);
        fl_line_style(0);
        fl_rectf(cx - g / 2 - extra, cy - g / 2 - extra, g + 2 * extra, 2 + 2 * extra);
    } else if (glyph == "restore") {
        const int s = g * 2 / 3 + 1, d = g - s;
        fl_line_style(FL_SOLID, lw);
        fl_rect(cx - g / 2 + d, cy - g / 2, s, s);
        fl_line_style(0);
        fl_rectf(cx - g / 2 + d - extra, cy - g / 2 - extra, s + 2 * extra, 2 + extra);
        const int fx = cx - g / 2, fy = cy - g / 2 + d;
        fl_color(fl(fill));
        fl_rectf(fx, fy, s, s);
        fl_color(fl(c));
        fl_line_style(FL_SOLID, lw);
        fl_rect(fx, fy, s, s);
        fl_line_style(0);
        fl_rectf(fx - extra, fy - extra, s + 2 * extra, 2 + extra);
    } else if (glyph == "exit") {
        fl_line_style(FL_SOLID | FL_CAP_ROUND, lw + 1);
        fl_line(cx - g / 2, cy - g / 2, cx + g / 2, cy + g / 2);
        fl_line(cx - g / 2, cy + g / 2, cx + g / 2, cy - g / 2);
    }
    fl_line_style(0);
}

void draw_title_tile(std::string_view glyph, std::string_view state, Box b) {
    fill(b, kPaper);
    const int slant = scaled(5, 28, b.h);
    const Box tile{b.x + 1, b.y + 2, b.w - 2, b.h - 4};
    if (state == "hover") {
        slanted_gradient(tile, slant, {236, 70, 70}, {196, 24, 24});
        slanted_outline(tile, slant, {140, 0, 0});
        draw_glyph(glyph, tile, {255, 255, 255}, {216, 44, 44}, 0);
    } else if (state == "pressed") {
        slanted_gradient(tile, slant, {136, 8, 8}, {104, 0, 0});
        slanted_outline(tile, slant, {60, 0, 0});
        draw_glyph(glyph, tile, {80, 130, 255}, {120, 4, 4}, 1);
        draw_glyph(glyph, tile, {255, 255, 255}, {120, 4, 4}, 0);
    } else {
        slanted_gradient(tile, slant, {255, 255, 255}, {236, 236, 240});
        slanted_outline(tile, slant, {150, 150, 170});
        draw_glyph(glyph, tile, {140, 0, 0}, {246, 246, 248}, 0);
    }
}

// ---------------------------------------------------------------- OK

void glow(Box b, Rgb edge, Rgb centre) {
    fill(b, edge);
    const int steps = 12;
    for (int i = 0; i < steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const int w = static_cast<int>(b.w * (1.0 - 0.75 * t)), h = static_cast<int>(b.h * (1.0 - 0.6 * t));
        fl_color(fl(mix(edge, centre, static_cast<double>(i + 1) / steps)));
        fl_pie(b.x + (b.w - w) / 2, b.y + (b.h - h) / 2, w, h, 0, 360);
    }
}

void draw_ok(std::string_view state, Box b) {
    if (state == "hover") {
        glow(b, kPaper, {22, 34, 112});
        fit("OK", scaled(16, 25, b.h), b.w);
        centre_text("OK", b, {196, 196, 196});
    } else if (state == "pressed") {
        glow(b, kPaper, {8, 12, 56});
        fit("OK", scaled(16, 25, b.h), b.w);
        centre_text("OK", b, {140, 140, 140});
    } else {
        glow(b, kPaper, {186, 250, 186});
        fit("OK", scaled(16, 25, b.h), b.w);
        centre_text("OK", b, {0, 150, 0});
    }
}

// ---------------------------------------------------------------- strip, logo

void draw_strip(Box b) {
    vgradient(b, {234, 243, 255}, {184, 211, 245});
    fl_color(fl({150, 182, 226}));
    fl_xyline(b.x, b.y + b.h - 1, b.x + b.w - 1);
}

void draw_logo(Box b) {
    vgradient(b, {14, 22, 56}, {36, 68, 134});
    // Rings of light behind the name.
    const int cx = b.x + b.w * 3 / 4, cy = b.y + b.h / 2;
    for (int i = 6; i >= 1; --i) {
        const int r = b.h * i / 9;
        fl_color(fl(mix({36, 60, 120}, {70, 110, 190}, i / 6.0)));
        fl_line_style(FL_SOLID, std::max(1, b.h / 80));
        fl_arc(cx - r, cy - r, 2 * r, 2 * r, 0, 360);
    }
    fl_line_style(0);
    // Name band in the middle, where the frame's texts leave room.
    const Box band{b.x, b.y + b.h * 46 / 100, b.w, b.h * 28 / 100};
    vgradient({band.x, band.y, band.w, 1}, {90, 130, 210}, {90, 130, 210});
    vgradient({band.x, band.y + band.h - 1, band.w, 1}, {255, 150, 40}, {255, 150, 40});
    // A chevron mark before the name.
    const int mh = band.h * 3 / 5, mx = b.x + b.w / 10, my = band.y + (band.h - mh) / 2;
    fl_color(fl({255, 150, 40}));
    fl_polygon(mx, my, mx + mh / 3, my, mx + mh / 2, my + mh * 2 / 3, mx + mh / 4, my + mh);
    fl_color(fl({235, 240, 255}));
    fl_polygon(mx + mh * 2 / 3, my, mx + mh, my, mx + mh / 2, my + mh * 2 / 3, mx + mh / 3 + 1, my + mh / 2);
    const int size = std::max(8, band.h * 11 / 20);
    fl_font(sans_font(true), size);
    const int w1 = static_cast<int>(fl_width("VORLIX ")), w2 = static_cast<int>(fl_width("TOOLS"));
    const int left = mx + mh + (b.x + b.w - (mx + mh) - w1 - w2) / 2;
    const int base = band.y + (band.h + fl_height()) / 2 - fl_descent();
    fl_color(fl({235, 240, 255}));
    fl_draw("VORLIX ", left, base);
    fl_color(fl({255, 150, 40}));
    fl_draw("TOOLS", left + w1, base);
}

void draw_neutral(Box b) {
    fill(b, {212, 208, 200});
    fl_color(fl({128, 128, 128}));
    fl_rect(b.x, b.y, b.w, b.h);
}

std::vector<std::string_view> split(std::string_view id) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const auto dot = id.find('.', start);
        parts.push_back(id.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    return parts;
}

bool one_of(std::string_view s, std::initializer_list<std::string_view> list) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

// Which family a picture belongs to, when the name is a known one.
enum class Family { Unknown, Tab, Compile, Select, Next, Title, Ok, Strip, Logo };

Family family_of(const std::vector<std::string_view>& p) {
    if (p.size() == 3 && p[0] == "tab") {
        if (p[1] == "begin" && one_of(p[2], {"normal", "hover", "pressed", "active"})) return Family::Tab;
        if (p[1] == "options" && one_of(p[2], {"inactive", "normal", "hover", "pressed", "active"}))
            return Family::Tab;
        if (p[1] == "done" && one_of(p[2], {"inactive", "active"})) return Family::Tab;
        return Family::Unknown;
    }
    if (p.size() == 2 && p[0] == "compile" && one_of(p[1], {"greyed", "normal", "hover", "pressed"}))
        return Family::Compile;
    if (p.size() == 2 && p[0] == "select" && one_of(p[1], {"normal", "hover"})) return Family::Select;
    if (p.size() == 2 && p[0] == "next" && one_of(p[1], {"normal", "hover", "pressed"})) return Family::Next;
    if (p.size() == 3 && p[0] == "title" && one_of(p[1], {"min", "max", "restore", "exit"}) &&
        one_of(p[2], {"normal", "hover", "pressed"}))
        return Family::Title;
    if (p.size() == 2 && p[0] == "ok" && one_of(p[1], {"normal", "hover", "pressed"})) return Family::Ok;
    if (p.size() == 1 && p[0] == "strip") return Family::Strip;
    if (p.size() == 1 && p[0] == "logo") return Family::Logo;
    return Family::Unknown;
}

}  // namespace

std::optional<Size> picture_size(std::string_view id) {
    switch (family_of(split(id))) {
    case Family::Tab: return Size{65, 38};
    case Family::Compile: return Size{128, 38};
    case Family::Select:
    case Family::Next: return Size{64, 21};
    case Family::Title: return Size{32, 28};
    case Family::Ok: return Size{82, 25};
    case Family::Strip: return Size{78, 39};
    case Family::Logo: return Size{335, 200};
    case Family::Unknown: break;
    }
    return std::nullopt;
}

void draw_picture(std::string_view id, Box b) {
    if (b.w <= 0 || b.h <= 0) return;
    const auto p = split(id);
    fl_push_clip(b.x, b.y, b.w, b.h);
    switch (family_of(p)) {
    case Family::Tab: draw_tab(p[1], p[2], b); break;
    case Family::Compile: draw_compile(p[1], b); break;
    case Family::Select: draw_bar_button("SELECT", p[1], b); break;
    case Family::Next: draw_bar_button("NEXT", p[1], b); break;
    case Family::Title: draw_title_tile(p[1], p[2], b); break;
    case Family::Ok: draw_ok(p[1], b); break;
    case Family::Strip: draw_strip(b); break;
    case Family::Logo: draw_logo(b); break;
    case Family::Unknown: draw_neutral(b); break;
    }
    fl_pop_clip();
}

}  // namespace backend
