// The faces that stand in for the forms' fonts are installed, and every label
// a user can see shows its whole text inside its own box.
#include "window_support.h"

#include <FL/Fl_Window.H>

#include <cstdlib>
#include <vector>

#include "backend/fltk/paint.h"
#include "objects/kinds.h"
#include "wizard/form1.h"
#include "wizard/frm_error.h"
#include "wizard/frm_select.h"

namespace {

using namespace window_test;

class FontFit : public ::testing::Test {
protected:
    void SetUp() override {
        if (!have_display()) GTEST_SKIP() << "no X display (DISPLAY unset)";
        window.show();
        window.make_current();
    }
    // The lines of a label's text as drawn in its box, in its font.
    std::vector<std::string> lines(const forms::Control& c) {
        fl_font(backend::font_of(c.font), backend::font_pixels(c.font));
        return backend::wrap_text(c.Caption, c.Width / forms::kTwipsPerPixel);
    }
    Fl_Window window{10, 10};
};

#ifndef _WIN32
TEST_F(FontFit, TheStandInFacesAreInstalled) {
    for (const char* family : {"Liberation Sans", "Liberation Serif", "Roboto Condensed"})
        EXPECT_EQ(std::system(("fc-list : family | grep -qx '" + std::string(family) + "'").c_str()), 0) << family;
}
#endif

TEST_F(FontFit, EveryLabelInViewHoldsItsText) {
    forms::Application app;
    std::vector<forms::Form*> forms{&app.get<wizard::Form1>(), &app.get<wizard::frmError>(),
                                    &app.get<wizard::frm_select>()};
    for (const auto& k : objects::built_in().all()) forms.push_back(&objects::built_in().duplicator(app, k));
    int checked = 0;
    for (forms::Form* f : forms) {
        for (const auto& c : f->controls()) {
            // Labels outside the client area (the duplicators') are never seen.
            if (c->kind() != forms::Kind::Label || c->Caption.empty() ||
                c->abs_left() + c->Width > f->ClientWidth || c->abs_top() + c->Height > f->ClientHeight)
                continue;
            SCOPED_TRACE(f->name() + "." + c->name() + " \"" + c->Caption + "\"");
            const auto text = lines(*c);
            for (const std::string& line : text) EXPECT_LE(fl_width(line.c_str()), c->Width / forms::kTwipsPerPixel);
            EXPECT_LE(static_cast<int>(text.size()) * fl_height(), c->Height / forms::kTwipsPerPixel);
            ++checked;
        }
    }
    EXPECT_GT(checked, 60);  // the main window's, the dialog's and the picker's 58 map labels
}

// The yellow line of the Done frame stands on the logo, where it can be read.
TEST_F(FontFit, TheDoneFramesLastLineStaysOnTheLogo) {
    forms::Application app;
    auto& m = app.get<wizard::Form1>();
    const int centre = (m.Label7.abs_left() + m.Label7.Width / 2) / forms::kTwipsPerPixel;
    const int logo_left = m.Image12.abs_left() / forms::kTwipsPerPixel;
    const int logo_right = (m.Image12.abs_left() + m.Image12.Width) / forms::kTwipsPerPixel;
    for (const std::string& line : lines(m.Label7)) {
        const int half = static_cast<int>(fl_width(line.c_str()) + 1) / 2;
        EXPECT_GE(centre - half, logo_left) << line;
        EXPECT_LE(centre + half, logo_right) << line;
    }
}

}  // namespace
