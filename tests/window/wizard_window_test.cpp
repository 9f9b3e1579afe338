// The wizard's own windows in the FLTK host, in process.
#include "window_support.h"

#include "wizard/colors.h"
#include "wizard/form1.h"
#include "wizard/frm_error.h"
#include "wizard/wizard.h"

namespace {

using namespace window_test;

class WindowWizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        app = std::make_unique<forms::Application>();
        host = std::make_unique<backend::FltkHost>(*app);
        wizard::start(*app);
        main = &app->get<wizard::Form1>();
        win = host->window(*main);
        ASSERT_NE(win, nullptr);
        settle();
    }
    void TearDown() override {
        host.reset();
        app.reset();
        settle(0.02);
    }
    void run(const std::function<void()>& work) { app->dispatch(work); }

    std::unique_ptr<forms::Application> app;
    std::unique_ptr<backend::FltkHost> host;
    wizard::Form1* main = nullptr;
    Fl_Window* win = nullptr;
};

TEST_F(WindowWizardTest, MainWindowIsACentredFixedToolWindow) {
    int sx, sy, sw, sh;
    Fl::screen_xywh(sx, sy, sw, sh, 0);
    EXPECT_STREQ(win->label(), "Vorlix Tools");
    EXPECT_TRUE(win->border());
    EXPECT_EQ(win->w(), 395);  // 5925 x 5085 twips
    EXPECT_EQ(win->h(), 339);
    EXPECT_EQ(win->x(), sx + (sw - 395) / 2);
    EXPECT_EQ(win->y(), sy + (sh - 339) / 2);
    EXPECT_EQ(main->Left, win->x() * 15);
    EXPECT_EQ(main->Top, win->y() * 15);
    EXPECT_EQ(pixel(win, 200, 330), rgb_of(wizard::kWindow));
}

TEST_F(WindowWizardTest, MapFieldIsPinkAtStartAndGreenForAKnownMap) {
    // The Options frame at 120, 1320; the map field in it at 1320, 720.
    run([&] { main->Frame2.Visible = true; });
    Fl_Widget* field = host->widget(main->txtmap);
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->visible());
    EXPECT_EQ(field->x(), 96);
    EXPECT_EQ(field->y(), 136);
    EXPECT_EQ(field->w(), 217);
    EXPECT_EQ(field->h(), 19);
    EXPECT_EQ(pixel(win, 96 + 200, 136 + 9), Rgb({255, 192, 192}));
    run([&] { main->txtmap.SetText("Blood Gulch"); });
    EXPECT_EQ(pixel(win, 96 + 200, 136 + 9), Rgb({192, 255, 192}));
    // The kind list, under the Options frame, is hidden with the Begin frame
    // still visible beneath.
    EXPECT_FALSE(host->widget(main->Combo1)->visible());
}

TEST_F(WindowWizardTest, HoveringTheBeginTabReachesTheWizardAndShowsItsHoverPicture) {
    const Rgb before = pixel(win, 12, 67);
    mouse(win, FL_MOVE, 40, 67);
    EXPECT_TRUE(main->Image2.Visible);
    const Rgb after = pixel(win, 12, 67);
    EXPECT_GT(after.r + after.g + after.b, before.r + before.g + before.b);
    mouse(win, FL_MOVE, 200, 320);  // the window's background resets it
    EXPECT_FALSE(main->Image2.Visible);
}

TEST_F(WindowWizardTest, AdviceDialogOpensBorderlessBesideTheMainWindow) {
    run([&] { main->Frame2.Visible = true; });
    click(win, 300, 268);  // the greyed compile button
    ASSERT_TRUE(app->loaded<wizard::frmError>());
    auto& dialog = app->get<wizard::frmError>();
    Fl_Window* box = host->window(dialog);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->border());
    EXPECT_EQ(box->x(), win->x() + 107);  // Left + 1600 twips
    EXPECT_EQ(box->y(), win->y() + 127);  // Top + 1900 twips
    EXPECT_EQ(box->w(), 251);
    EXPECT_EQ(box->h(), 99);
    settle();
    // The red outline on the left, the light yellow band inside it.
    EXPECT_EQ(pixel(box, 0, 50), Rgb({255, 0, 0}));
    EXPECT_EQ(pixel(box, 3, 50), Rgb({255, 255, 192}));
    // The OK button: hover, press, release closes it and the map field gets
    // the focus back with its text selected.
    mouse(box, FL_MOVE, 120, 75);
    mouse(box, FL_PUSH, 121, 75);
    mouse(box, FL_RELEASE, 121, 75);
    EXPECT_FALSE(app->loaded<wizard::frmError>());
    EXPECT_EQ(app->focus(), &main->txtmap);
    EXPECT_TRUE(settle_until([&] { return Fl::focus() == host->widget(main->txtmap); }));
}

}  // namespace
