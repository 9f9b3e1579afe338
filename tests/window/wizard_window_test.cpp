// The wizard in the FLTK host, in process: its windows sit at twips / 15 in
// the model's colours, and mouse and keyboard input reaches the model.
#include "wizard_in_windows.h"

#include <FL/Fl_Choice.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>

#include <filesystem>
#include <memory>
#include <tuple>
#include <vector>

#include "backend/fltk/host.h"
#include "backend/fltk/message_boxes.h"
#include "backend/fltk/paint.h"
#include "backend/fltk/window_frame.h"
#include "tests/stock_folder.h"
#include "wizard/colors.h"
#include "wizard/form1.h"
#include "wizard/frm_error.h"
#include "wizard/wizard.h"

namespace {

using namespace window_test;

class WindowWizardTest : public WizardInWindows {
protected:
    backend::FltkMessageBoxes boxes;
};

// The outer corner, where Left and Top place the window, and the client size:
// a system's frame (Wine draws its own) lies between corner and client area.
Box outer(Fl_Window* w) {
    const backend::FrameExtents f = backend::frame_extents(*w);
    return {w->x() - f.left, w->y() - f.top, w->w(), w->h()};
}

// On the test display's screen of 1280 x 1024 pixels (19200 x 15360 twips).
TEST_F(WindowWizardTest, StartsCentredAndMaximisedFillsTheScreen) {
    int sx, sy, sw, sh;
    Fl::screen_xywh(sx, sy, sw, sh, 0);
    if (Box{sx, sy, sw, sh} != Box{0, 0, 1280, 1024}) GTEST_SKIP() << "the screen is not 1280 x 1024 pixels";
    // 5925 x 5085 twips, 395 x 339 pixels, centred: from 6637.5, 5137.5
    // twips; a frame may shift it by up to its own width.
    const backend::FrameExtents f = backend::frame_extents(*win);
    const double slack = 0.5 + f.left + f.top;
    EXPECT_NEAR(win->x(), 442.5, slack);
    EXPECT_NEAR(win->y(), 342.5, slack);
    EXPECT_NEAR(main->Left, 6637.5, 15 * slack);
    EXPECT_NEAR(main->Top, 5137.5, 15 * slack);
    run([&] { main->SetWindowState(2); });
    EXPECT_EQ(xywh(win), (Box{0, 0, 1280, 1024}));
    EXPECT_EQ(std::pair(main->Frame1.Width, main->Frame1.Height), std::pair(18960, 13560));  // less 240 and 1800
}

TEST_F(WindowWizardTest, MainWindowFollowsTheModelAndItsCloseBoxEndsTheProgram) {
    run([&] { main->Left = 1500; main->Top = 3000; });
    EXPECT_EQ(outer(win), (Box{100, 200, 395, 339}));
    // FLTK reports a move by the user or the window manager through resize.
    const backend::FrameExtents f = backend::frame_extents(*win);
    win->resize(250 + f.left, 180 + f.top, win->w(), win->h());
    EXPECT_EQ(std::pair(main->Left, main->Top), std::pair(3750, 2700));
    // Maximised, the normal place is kept.
    run([&] { main->SetWindowState(2); });
    settle(0.05);
    EXPECT_EQ(main->Left, 3750);
    // The window manager maps a minimised window again: FLTK reports FL_SHOW.
    run([&] { main->SetWindowState(0); main->SetWindowState(1); });
    win->handle(FL_SHOW);
    EXPECT_EQ(main->WindowState(), 0);
    EXPECT_EQ(outer(win), (Box{250, 180, 395, 339}));
    key(win, FL_Escape);
    EXPECT_FALSE(app->ended());
    Fl::handle(FL_CLOSE, win);
    EXPECT_TRUE(app->ended());
    settle(0.05);
    EXPECT_EQ(Fl::first_window(), nullptr);
}

TEST_F(WindowWizardTest, MouseInTwipsAndTypingReachTheModelAndItsColoursShow) {
    EXPECT_EQ(pixel(win, 200, 330), wizard::kWindow);
    // The strip is stretched far past its natural 78 pixels.
    EXPECT_NE(pixel(win, 390, 50), wizard::kWindow);
    // The Begin tab starts at 120 twips: pixel 8.
    const unsigned before = brightness(pixel(win, 12, 67));
    mouse(win, FL_MOVE, 7, 67);
    EXPECT_FALSE(main->Image2.Visible);
    mouse(win, FL_MOVE, 8, 67);
    EXPECT_TRUE(main->Image2.Visible);
    EXPECT_GT(brightness(pixel(win, 12, 67)), before);
    // Begin, a kind picked from the open list, Ready and Options.
    press(win, 40, 67);
    ASSERT_TRUE(settle_until([&] { return main->Frame1.Visible && main->Check1.Enabled; }));
    auto* kinds = static_cast<Fl_Choice*>(host->widget(main->Combo1));
    kinds->value(3);
    kinds->do_callback();
    click(win, 22, 280);
    press(win, 112, 67);
    EXPECT_EQ(main->Combo1.Text(), "pistol");
    EXPECT_EQ(main->Check1.Value(), 1);
    EXPECT_EQ(main->Label3.Caption, "pistol");
    // The kind list, at Frame1 + (1080, 360) twips, is hidden under the
    // Options frame; with that frame hidden it shows, green as Ready is ticked.
    EXPECT_FALSE(kinds->visible());
    run([&] { main->Frame2.Visible = false; });
    EXPECT_EQ(xywh(kinds), (Box{80, 112, 161, 22}));
    EXPECT_EQ(pixel(win, 200, 116), wizard::kReady);
    run([&] { main->Frame2.Visible = true; });
    // The map field at Frame2 (120, 1320) + (1320, 720) twips; the frame's
    // rule 600 twips down.
    auto* field = static_cast<Fl_Input*>(host->widget(main->txtmap));
    EXPECT_EQ(xywh(field), (Box{96, 136, 217, 19}));
    EXPECT_EQ(pixel(win, 296, 145), wizard::kInvalid);
    EXPECT_EQ(pixel(win, 200, 128), wizard::kCaption);
    click(win, 150, 145);
    EXPECT_EQ(Fl::focus(), field);
    type(win, "Blood Gulch");
    EXPECT_EQ(pixel(win, 296, 145), wizard::kValid);
    key(win, FL_Home);  // then Shift+End, natively: the model learns the selection
    key(win, FL_End, "", FL_SHIFT);
    EXPECT_EQ(main->txtmap.SelStart(), 0);
    EXPECT_EQ(main->txtmap.SelLength(), 11);
    key(win, FL_BackSpace, "\b");
    EXPECT_EQ(main->txtmap.Text(), "");
    // List items show as they stand: no menu shortcuts or symbols.
    run([&] { main->Combo1.items = {"b&w", "@home"}; });
    EXPECT_STREQ(kinds->menu()[0].label(), "b&&w");
    EXPECT_STREQ(kinds->menu()[1].label(), "@@home");
}

TEST_F(WindowWizardTest, AdviceDialogHandsTheFocusBackWithTheFieldSelected) {
    run([&] { main->Left = 1500; main->Top = 3000; main->Frame2.Visible = true; main->txtmap.SetText("Nowhere"); });
    click(win, 300, 268);  // the greyed compile button
    ASSERT_TRUE(app->loaded<wizard::frmError>());
    Fl_Window* box = host->window(app->get<wizard::frmError>());
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->border());
    EXPECT_EQ(xywh(box), (Box{207, 327, 251, 99}));  // 3765 x 1485 twips at 1500 + 1600, 3000 + 1900
    settle();
    EXPECT_EQ(pixel(box, 0, 50), forms::rgb(255, 0, 0));  // the red outline, the yellow band inside
    EXPECT_EQ(pixel(box, 3, 50), forms::rgb(255, 255, 192));
    press(box, 120, 75);  // OK
    EXPECT_FALSE(app->loaded<wizard::frmError>());
    auto* field = static_cast<Fl_Input*>(host->widget(main->txtmap));
    EXPECT_TRUE(settle_until([&] { return Fl::focus() == field && main->txtmap.SelLength() == 7; }));
    EXPECT_EQ(field->position(), 7);
    EXPECT_EQ(field->mark(), 0);
}

TEST_F(WindowWizardTest, FolderListOpensOnDoubleClickOrEnterAndPicksOnSingleClick) {
    namespace fs = std::filesystem;
    const testing_driver::TempDir temp;
    const fs::path& root = temp.path();
    fs::create_directories(root / "alpha" / "newgun");
    fs::create_directories(root / "beta");
    run([&] { main->Frame2.Visible = true; main->txtfile.SetText("newgun"); main->Dir1.SetPath(root.string()); });
    auto* list = static_cast<Fl_Hold_Browser*>(host->widget(main->Dir1));
    const int here = list->size() - 3;  // the root, then alpha and beta
    EXPECT_EQ(list->value(), here + 1);  // the current folder is highlighted
    Fl::focus(list);
    key(win, FL_Down);
    key(win, FL_Enter, "\r");
    EXPECT_EQ(main->Dir1.Path(), (root / "alpha").string());
    EXPECT_EQ(list->size(), here + 3);  // ..., the root, alpha, newgun
    // A single click on the last line picks it, a double-click opens it. A
    // deep temporary folder may need the list scrolled to show that line.
    list->bottomline(here + 3);
    fl_font(list->textfont(), list->textsize());
    const int x = list->x() + 30,
              y = list->y() + Fl::box_dy(list->box()) + (here + 2) * fl_height() - list->position() + fl_height() / 2;
    click(win, x, y);
    EXPECT_EQ(main->Dir1.ListIndex, here + 2);
    EXPECT_EQ(main->Dir1.Path(), (root / "alpha").string());
    click(win, x, y, 1);
    EXPECT_EQ(main->Dir1.Path(), (root / "alpha" / "newgun").string());
    EXPECT_EQ(main->Dir1.BackColor, wizard::kValid);  // the folder matches the new name
}

// The open kind list: the colour of each row beside its text; then Escape
// closes it.
void inspect_menu(void* seen) {
    Fl_Window* menu = Fl::first_window();
    if (menu == nullptr || !menu->menu_window()) return Fl::repeat_timeout(0.05, inspect_menu, seen);
    const int row = menu->h() / 9;  // nine kinds
    for (int i = 0; i < 9; ++i)
        static_cast<std::vector<forms::Color>*>(seen)->push_back(pixel(menu, menu->w() - 6, i * row + row / 2));
    key(menu, FL_Escape);
}

// The drop-down takes the menu's colours, every row alike (a row was redrawn
// in the list's pink once the pointer had left it); the field keeps its own.
TEST_F(WindowWizardTest, TheKindListDropsDownInTheMenusColours) {
    press(win, 40, 67);
    ASSERT_TRUE(settle_until([&] { return main->Frame1.Visible; }));
    Fl_Widget* kinds = host->widget(main->Combo1);
    std::vector<forms::Color> rows;
    Fl::add_timeout(0.2, inspect_menu, &rows);
    mouse(win, FL_PUSH, kinds->x() + 20, kinds->y() + kinds->h() / 2);
    Fl::remove_timeout(inspect_menu);
    ASSERT_EQ(rows.size(), 9u);
    for (forms::Color c : rows) EXPECT_EQ(c, rows[0]);
    EXPECT_NE(rows[0], wizard::kNotReady);
    EXPECT_EQ(pixel(win, kinds->x() + kinds->w() / 2, kinds->y() + 3), wizard::kNotReady);
}

// Whether the open message box is modal, its title and the colour where a
// critical box has its icon; then Enter closes it.
using BoxSeen = std::tuple<bool, std::string, forms::Color>;
void inspect_and_close(void* seen) {
    Fl_Window* w = Fl::first_window();
    if (w->label() == nullptr || std::string(w->label()).rfind("Box ", 0) != 0)
        return Fl::repeat_timeout(0.05, inspect_and_close, seen);
    *static_cast<BoxSeen*>(seen) = {Fl::modal() == w, w->label(), pixel(w, 16, 28)};
    key(w, FL_Enter, "\r");
}

TEST_F(WindowWizardTest, MessageBoxIsModalWithAStopSignOnlyWhenCritical) {
    app->set_message_boxes(&boxes);
    for (const int style : {forms::kCritical, forms::kOkOnly}) {
        BoxSeen seen;
        Fl::add_timeout(0.2, inspect_and_close, &seen);
        const std::string title = "Box " + std::to_string(style);
        EXPECT_EQ(app->MsgBox("The folder is missing. " + std::string(600, 'x'), style, title), 1);
        Fl::remove_timeout(inspect_and_close);
        const auto& [modal, shown_title, icon] = seen;
        EXPECT_TRUE(modal);
        EXPECT_EQ(shown_title, title);
        EXPECT_EQ(forms::red_of(icon) > 180 && forms::green_of(icon) < 80, style == forms::kCritical);
        EXPECT_FALSE(app->modal());
    }
}

// A message box's text: a long path is cut after one of its separators where
// a line is full, never cut off at the box's edge.
TEST_F(WindowWizardTest, MessageBoxTextBreaksLongPathsToTheWidth) {
    fl_font(backend::sans_font(false), 12);
    std::string path = "/home/user/halo/tags";
    while (path.size() < 400) path += "/a rather long folder name of the object";
    const std::string text = "The folder \"" + path + "\" leads outside the output folder.";
    const int width = backend::FltkMessageBoxes::kMaxTextWidth;
    const auto lines = backend::wrap_text(text, width, true);
    ASSERT_GT(lines.size(), 3u);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(fl_width(line.c_str()), width) << line;
        joined += line + (line.ends_with("/") ? "" : " ");
    }
    EXPECT_EQ(joined, text + " ");
    // Labels keep a long word whole, as the forms draw them.
    EXPECT_EQ(backend::wrap_text(std::string(200, 'x'), 50).size(), 1u);
}

}  // namespace
