// The program's pictures and message boxes, on screen.
#include "window_support.h"

#include "backend/fltk/message_boxes.h"
#include "backend/fltk/pictures.h"

namespace {

using namespace window_test;
using backend::picture_size;
using backend::Size;

TEST(WindowPictures, KnownNamesHaveTheirNaturalSizes) {
    const std::vector<std::pair<const char*, std::pair<int, int>>> sizes = {
        {"tab.begin.normal", {65, 38}},     {"tab.begin.active", {65, 38}},   {"tab.options.inactive", {65, 38}},
        {"tab.options.pressed", {65, 38}},  {"tab.done.inactive", {65, 38}},  {"tab.done.active", {65, 38}},
        {"compile.greyed", {128, 38}},      {"compile.pressed", {128, 38}},   {"select.normal", {64, 21}},
        {"select.hover", {64, 21}},         {"next.pressed", {64, 21}},       {"title.min.normal", {32, 28}},
        {"title.restore.pressed", {32, 28}}, {"title.exit.hover", {32, 28}},  {"ok.normal", {82, 25}},
        {"ok.pressed", {82, 25}},           {"strip", {78, 39}},              {"logo", {335, 200}},
    };
    for (const auto& [id, size] : sizes) {
        const auto s = picture_size(id);
        ASSERT_TRUE(s.has_value()) << id;
        EXPECT_EQ(s->w, size.first) << id;
        EXPECT_EQ(s->h, size.second) << id;
    }
    // States a button does not have, and names that are not pictures.
    for (const char* id : {"tab.begin.inactive", "tab.done.hover", "select.pressed", "title.min", "compile",
                           "ok.normal.extra", "", "logo.normal", "title.close.normal"})
        EXPECT_FALSE(picture_size(id).has_value()) << id;
}

// One picture per cell of 140 x 60 pixels, four to a row: cell i at
// (10 + 140 * (i % 4), 10 + 60 * (i / 4)), each control 130 x 40.
class Gallery : public forms::Form {
public:
    static constexpr const char* kPictures[] = {
        "tab.begin.normal", "tab.begin.hover", "tab.begin.pressed", "tab.begin.active",
        "tab.options.inactive", "compile.greyed", "compile.normal", "select.normal",
        "title.exit.normal", "title.exit.hover", "title.exit.pressed", "ok.normal",
        "ok.hover", "strip", "no.such.picture", "",
    };
    explicit Gallery(forms::Application& app) : forms::Form(app, "Gallery") {
        ClientWidth = 600 * 15;
        ClientHeight = 260 * 15;
        Left = 20 * 15;
        Top = 20 * 15;
        BackColor = forms::rgb(10, 20, 30);
        for (int i = 0; i < 16; ++i) {
            auto& image = add("Image" + std::to_string(i), forms::Kind::Image,
                              {(10 + 140 * (i % 4)) * 15, (10 + 60 * (i / 4)) * 15, 130 * 15, 40 * 15});
            image.Picture = kPictures[i];
        }
    }
};

class WindowPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        app = std::make_unique<forms::Application>();
        host = std::make_unique<backend::FltkHost>(*app);
        app->get<Gallery>().Show();
        win = host->window(app->get<Gallery>());
        ASSERT_NE(win, nullptr);
        settle();
    }
    void TearDown() override {
        host.reset();
        app.reset();
        settle(0.02);
    }
    // A pixel of picture i, at (x, y) inside it.
    Rgb at(int i, int x, int y) { return pixel(win, 10 + 140 * (i % 4) + x, 10 + 60 * (i / 4) + y); }
    int brightness(Rgb c) { return c.r + c.g + c.b; }

    std::unique_ptr<forms::Application> app;
    std::unique_ptr<backend::FltkHost> host;
    Fl_Window* win = nullptr;
};

TEST_F(WindowPicturesTest, TabsAreLightBlueLighterOnHoverDarkerPressedBlueWhenActiveGreyWhenInactive) {
    const Rgb normal = at(0, 4, 19), hover = at(1, 4, 19), pressed = at(2, 4, 19), active = at(3, 4, 19);
    const Rgb inactive = at(4, 4, 19);
    EXPECT_GT(normal.b, 220);
    EXPECT_GT(normal.b, normal.r + 20);
    EXPECT_GT(brightness(hover), brightness(normal));
    EXPECT_LT(brightness(pressed), brightness(normal));
    EXPECT_GT(pressed.b, pressed.r + 40);
    EXPECT_LT(active.r, 100);
    EXPECT_GT(active.b, 150);
    EXPECT_LT(std::abs(inactive.r - inactive.b), 8);
    EXPECT_GT(inactive.r, 160);
    // Pictures keep their natural size: the cell past 65 pixels is the form's.
    EXPECT_EQ(at(0, 66, 19), Rgb({10, 20, 30}));
    EXPECT_EQ(at(0, 10, 39), Rgb({10, 20, 30}));
}

TEST_F(WindowPicturesTest, CompileSelectAndTitleTilesHaveTheirColours) {
    const Rgb greyed = at(5, 6, 19), ready = at(6, 6, 19), select = at(7, 8, 18);
    EXPECT_GT(greyed.r, 230);
    EXPECT_GT(greyed.r, greyed.g + 25);
    EXPECT_GT(ready.g, ready.r + 30);
    EXPECT_GT(select.b, select.r + 60);
    const Rgb white = at(8, 4, 20), red = at(9, 4, 20), dark = at(10, 4, 20);
    EXPECT_GT(white.r, 230);
    EXPECT_GT(white.g, 230);
    EXPECT_GT(red.r, 180);
    EXPECT_LT(red.g, 90);
    EXPECT_LT(dark.r, 160);
    EXPECT_GT(dark.r, 80);
    EXPECT_LT(dark.g, 30);
}

TEST_F(WindowPicturesTest, OkButtonGlowsAndUnknownPicturesAreNeutral) {
    bool green_text = false;
    for (int x = 0; x < 82 && !green_text; ++x) {
        const Rgb c = at(11, x, 12);
        green_text = c.g > 100 && c.r < 80 && c.b < 80;
    }
    EXPECT_TRUE(green_text);
    const Rgb hover = at(12, 22, 12);
    EXPECT_GT(hover.b, hover.r + 40);
    EXPECT_LT(hover.r, 140);
    // The strip runs light at the top to deeper blue at the bottom.
    EXPECT_GT(brightness(at(13, 10, 1)), brightness(at(13, 10, 36)));
    // Unknown names: a neutral box of the control's size; no name: nothing.
    EXPECT_EQ(at(14, 60, 20), Rgb({212, 208, 200}));
    EXPECT_EQ(at(15, 60, 20), Rgb({10, 20, 30}));
}

// ------------------------------------------------------------ message boxes

struct BoxSeen {
    bool shown = false;
    bool modal = false;
    std::string title;
    Rgb icon;
};

// Looks at the open message box, then presses its OK button.
void inspect_and_close(void* data) {
    auto* seen = static_cast<BoxSeen*>(data);
    for (Fl_Window* w = Fl::first_window(); w != nullptr; w = Fl::next_window(w)) {
        if (w->label() == nullptr || std::string(w->label()).rfind("Box ", 0) != 0) continue;
        seen->shown = true;
        seen->modal = Fl::modal() == w;
        seen->title = w->label();
        seen->icon = pixel(w, 16, 28);
        for (int i = 0; i < w->children(); ++i) {
            Fl_Widget* child = w->child(i);
            if (child->label() != nullptr && std::string(child->label()) == "OK") child->do_callback();
        }
        return;
    }
    Fl::repeat_timeout(0.05, inspect_and_close, data);
}

class WindowMessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        app = std::make_unique<forms::Application>();
        host = std::make_unique<backend::FltkHost>(*app);
        app->set_message_boxes(&boxes);
    }
    void TearDown() override {
        Fl::remove_timeout(inspect_and_close);
        host.reset();
        app.reset();
    }
    std::unique_ptr<forms::Application> app;
    std::unique_ptr<backend::FltkHost> host;
    backend::FltkMessageBoxes boxes;
};

TEST_F(WindowMessageBoxTest, CriticalBoxShowsTitleAndStopSignModallyAndReturnsOk) {
    BoxSeen seen;
    Fl::add_timeout(0.3, inspect_and_close, &seen);
    const int answer = app->MsgBox("The folder is missing.", forms::kCritical, std::string("Box critical"));
    EXPECT_EQ(answer, 1);
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.title, "Box critical");
    EXPECT_GT(seen.icon.r, 180);
    EXPECT_LT(seen.icon.g, 80);
    EXPECT_FALSE(app->modal());
}

TEST_F(WindowMessageBoxTest, PlainBoxHasNoIconAndLongTextWraps) {
    BoxSeen seen;
    Fl::add_timeout(0.3, inspect_and_close, &seen);
    const std::string text(600, 'x');
    EXPECT_EQ(app->MsgBox(text + " " + text, forms::kOkOnly, std::string("Box plain")), 1);
    ASSERT_TRUE(seen.shown);
    EXPECT_LT(seen.icon.r - seen.icon.g, 40);  // the dialog's own grey
}

}  // namespace
