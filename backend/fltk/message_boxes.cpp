#include "backend/fltk/message_boxes.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <vector>

#include "backend/fltk/paint.h"

#ifdef _WIN32
// FLTK exports it on Windows too but declares it for its own sources only.
void fl_open_display();
#endif

namespace backend {

namespace {

constexpr int kFontSize = 12;
constexpr int kMargin = 12;
constexpr int kIcon = 32;

// The critical icon: a red disc with a white cross.
class StopIcon : public Fl_Widget {
public:
    StopIcon(int x, int y) : Fl_Widget(x, y, kIcon, kIcon) {}
    void draw() override {
        fl_color(fl_rgb_color(220, 32, 32));
        fl_pie(x(), y(), w(), h(), 0, 360);
        fl_color(fl_rgb_color(150, 0, 0));
        fl_arc(x(), y(), w(), h(), 0, 360);
        fl_color(FL_WHITE);
        fl_line_style(FL_SOLID | FL_CAP_ROUND, 4);
        const int a = w() * 3 / 10, b = w() - a;
        fl_line(x() + a, y() + a, x() + b, y() + b);
        fl_line(x() + a, y() + b, x() + b, y() + a);
        fl_line_style(0);
    }
};

// The message, wrapped; taken as it stands (no label symbols).
class MessageText : public Fl_Widget {
public:
    MessageText(int x, int y, int w, int h, std::string text) : Fl_Widget(x, y, w, h), text_(std::move(text)) {}
    void draw() override {
        fl_font(sans_font(false), kFontSize);
        fl_color(FL_FOREGROUND_COLOR);
        draw_text(text_, {x(), y(), w(), h()}, forms::Align::Left, false, true);
    }

private:
    std::string text_;
};

void close_cb(Fl_Widget* w, void*) {
    if (Fl_Window* win = w->window()) win->hide();
}

}  // namespace

int FltkMessageBoxes::show(const std::string& text, int style, const std::string& title) {
    fl_open_display();
    const bool critical = (style & 0x70) == forms::kCritical;
    fl_font(sans_font(false), kFontSize);
    int widest = 0;
    for (const std::string& line : wrap_text(text, 1 << 20))
        widest = std::max(widest, static_cast<int>(fl_width(line.c_str())) + 2);
    const int text_w = std::clamp(widest, kMinTextWidth, kMaxTextWidth);
    const int text_h = std::max(fl_height(), text_height(text, text_w, true));
    const int icon_w = critical ? kIcon + kMargin : 0;
    const int body_h = std::max(text_h, critical ? kIcon : 0);
    const int w = kMargin + icon_w + text_w + kMargin;
    const int h = kMargin + body_h + kMargin + 25 + kMargin;

    Fl_Double_Window dialog(w, h);
    dialog.copy_label(title.c_str());
    if (critical) new StopIcon(kMargin, kMargin);
    new MessageText(kMargin + icon_w, kMargin + (body_h - text_h) / 2, text_w, text_h, text);
    auto* ok = new Fl_Return_Button((w - 80) / 2, h - kMargin - 25, 80, 25, "OK");
    ok->labelfont(sans_font(false));
    ok->callback(close_cb);
    dialog.end();
    dialog.set_modal();
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_xywh(sx, sy, sw, sh, 0);
    dialog.position(sx + (sw - w) / 2, sy + (sh - h) / 2);
    dialog.show();
    while (dialog.shown()) Fl::wait();
    return 1;
}

}  // namespace backend
