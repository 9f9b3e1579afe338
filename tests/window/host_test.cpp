// The FLTK host against a small form of its own: windows, painting,
// widgets and input.
#include "window_support.h"

#include <FL/Fl_Choice.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>

#include <algorithm>
#include <filesystem>

namespace {

using namespace window_test;
using forms::Kind;
using forms::rgb;

constexpr forms::Color kPaper = rgb(238, 245, 255);
constexpr forms::Color kFrame = rgb(200, 220, 240);
constexpr forms::Color kPink = rgb(255, 192, 192);
constexpr forms::Color kGreen = rgb(192, 255, 192);
constexpr forms::Color kYellow = rgb(255, 255, 0);
constexpr forms::Color kCover = rgb(90, 60, 30);

// 400 x 300 pixels at 100, 100; every handler writes its name to the log.
class Demo : public forms::Form {
public:
    explicit Demo(forms::Application& app)
        : forms::Form(app, "Demo"),
          Frame1(add("Frame1", Kind::Frame, {150, 300, 3000, 2400})),
          Text1(add<forms::TextBox>("Text1", {150, 450, 2250, 300}, &Frame1)),
          Combo1(add<forms::ComboBox>("Combo1", {150, 1050, 2250, 330}, &Frame1)),
          Check1(add<forms::CheckBox>("Check1", {150, 1650, 1500, 255}, &Frame1)),
          Label1(add("Label1", Kind::Label, {3300, 300, 2400, 450})),
          Strip(add("Strip", Kind::Image, {3300, 1800, 2400, 585})),
          Line1(add<forms::Line>("Line1", {})),
          Command1(add<forms::CommandButton>("Command1", {3300, 3000, 1500, 450})),
          Cover(add("Cover", Kind::Frame, {0, 0, 3300, 4500})) {
        Caption = "Window Demo";
        BorderStyle = forms::Border::FixedToolWindow;
        ClientWidth = 6000;
        ClientHeight = 4500;
        Left = 1500;
        Top = 1500;
        BackColor = kPaper;
        Frame1.Caption = "Fields";
        Frame1.BackColor = kFrame;
        Text1.BackColor = kPink;
        Text1.ForeColor = rgb(0, 0, 128);
        Combo1.items = {"alpha", "b&w", "@home"};
        Combo1.BackColor = rgb(255, 128, 128);
        Check1.Caption = "Ready";
        Check1.BackColor = kFrame;
        Label1.Caption = "Hello";
        Label1.BackColor = kYellow;
        Strip.Picture = "strip";
        Strip.Stretch = true;
        Line1.X1 = 3300;
        Line1.Y1 = 2700;
        Line1.X2 = 5700;
        Line1.Y2 = 2700;
        Line1.BorderWidth = 3;
        Line1.BorderColor = rgb(255, 0, 0);
        Command1.Caption = "Go";
        Command1.BackColor = rgb(212, 208, 200);
        Cover.BackColor = kCover;
        Cover.Visible = false;
        for (const char* h : {"Form_MouseMove", "Form_MouseDown", "Form_MouseUp", "Form_QueryUnload",
                              "Form_Resize", "Label1_MouseMove", "Label1_MouseDown", "Label1_MouseUp",
                              "Label1_Click", "Command1_MouseDown", "Command1_MouseUp", "Command1_Click",
                              "Combo1_Click", "Check1_Click", "Text1_MouseMove"})
            bind(h, [this, h] { log.push_back(h); });
        bind("Text1_Change", [this] {
            log.push_back("Text1_Change");
            Text1.BackColor = Text1.Text() == "Blood Gulch" ? kGreen : kPink;
        });
    }

    forms::Frame& Frame1;
    forms::TextBox& Text1;
    forms::ComboBox& Combo1;
    forms::CheckBox& Check1;
    forms::Label& Label1;
    forms::Image& Strip;
    forms::Line& Line1;
    forms::CommandButton& Command1;
    forms::Frame& Cover;
    std::vector<std::string> log;

    int count(const std::string& event) const { return static_cast<int>(std::count(log.begin(), log.end(), event)); }
};

class WindowHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_DISPLAY();
        app = std::make_unique<forms::Application>();
        host = std::make_unique<backend::FltkHost>(*app);
        demo = &app->get<Demo>();
        demo->Show();
        win = host->window(*demo);
        ASSERT_NE(win, nullptr);
        settle();
        demo->log.clear();
    }
    void TearDown() override {
        host.reset();
        app.reset();
        settle(0.02);
    }
    // Work done through the loop, as user input would be.
    void run(const std::function<void()>& work) { app->dispatch(work); }

    std::unique_ptr<forms::Application> app;
    std::unique_ptr<backend::FltkHost> host;
    Demo* demo = nullptr;
    Fl_Window* win = nullptr;
};

// ------------------------------------------------------------ windows

TEST_F(WindowHostTest, ShowsTheFormAtItsPlaceAndSize) {
    EXPECT_TRUE(win->shown());
    EXPECT_EQ(win->x(), 100);
    EXPECT_EQ(win->y(), 100);
    EXPECT_EQ(win->w(), 400);
    EXPECT_EQ(win->h(), 300);
    EXPECT_STREQ(win->label(), "Window Demo");
    EXPECT_TRUE(win->border());
    run([&] { demo->Caption = "Renamed"; });
    EXPECT_STREQ(win->label(), "Renamed");
}

TEST_F(WindowHostTest, UnloadingTheLastFormHidesEveryWindowSoTheLoopEnds) {
    run([&] { demo->Unload(); });
    EXPECT_TRUE(app->ended());
    EXPECT_FALSE(win->shown());
    settle(0.05);
    EXPECT_EQ(Fl::first_window(), nullptr);
}

TEST_F(WindowHostTest, CloseBoxUnloadsTheFormButEscapeDoesNot) {
    key(win, FL_Escape);
    settle(0.05);
    EXPECT_FALSE(app->ended());
    Fl::handle(FL_CLOSE, win);
    EXPECT_TRUE(app->ended());
}

TEST_F(WindowHostTest, ModelMovesTheWindowAndUserMovesWriteBack) {
    run([&] { demo->Left = 4500; demo->Top = 3000; });
    EXPECT_EQ(win->x(), 300);
    EXPECT_EQ(win->y(), 200);
    // FLTK reports a move by the user or the window manager through resize.
    win->resize(250, 180, win->w(), win->h());
    EXPECT_EQ(demo->Left, 250 * 15);
    EXPECT_EQ(demo->Top, 180 * 15);
}

TEST_F(WindowHostTest, MaximiseFillsTheScreenAndRestoreReturnsToThePlace) {
    int sx, sy, sw, sh;
    Fl::screen_xywh(sx, sy, sw, sh, 0);
    EXPECT_EQ(app->ScreenWidth, sw * 15);
    EXPECT_EQ(app->ScreenHeight, sh * 15);
    run([&] { demo->SetWindowState(2); });
    EXPECT_EQ(win->x(), sx);
    EXPECT_EQ(win->y(), sy);
    EXPECT_EQ(win->w(), sw);
    EXPECT_EQ(win->h(), sh);
    EXPECT_EQ(demo->ScaleWidth(), sw * 15);
    settle(0.05);
    EXPECT_EQ(demo->Left, 1500);  // the normal place is kept while maximised
    run([&] { demo->SetWindowState(0); });
    EXPECT_EQ(win->x(), 100);
    EXPECT_EQ(win->y(), 100);
    EXPECT_EQ(win->w(), 400);
    EXPECT_EQ(win->h(), 300);
}

TEST_F(WindowHostTest, RestoringAMinimisedWindowFromOutsideTellsTheModel) {
    run([&] { demo->SetWindowState(1); });
    demo->log.clear();
    // The window manager maps the window again: FLTK reports FL_SHOW.
    win->handle(FL_SHOW);
    EXPECT_EQ(demo->WindowState(), 0);
    EXPECT_EQ(demo->log, (std::vector<std::string>{"Form_Resize"}));
    // A window the model shows normally reports nothing more.
    win->handle(FL_SHOW);
    EXPECT_EQ(demo->log.size(), 1u);
}

TEST_F(WindowHostTest, CentredAndAutoPlacedFormsWriteTheirPlaceBack) {
    class Centred : public forms::Form {
    public:
        explicit Centred(forms::Application& a) : forms::Form(a, "Centred") {
            ClientWidth = 3000;
            ClientHeight = 1500;
            CenterOnScreen = true;
        }
    };
    class Placed : public forms::Form {
    public:
        explicit Placed(forms::Application& a) : forms::Form(a, "Placed") {
            ClientWidth = 1500;
            ClientHeight = 1500;
            AutoPlace = true;
            Left = 99999;
        }
    };
    int sx, sy, sw, sh;
    Fl::screen_xywh(sx, sy, sw, sh, 0);
    auto& centred = app->get<Centred>();
    centred.Show();
    Fl_Window* cw = host->window(centred);
    ASSERT_NE(cw, nullptr);
    EXPECT_FALSE(cw->border());
    EXPECT_EQ(cw->x(), sx + (sw - 200) / 2);
    EXPECT_EQ(cw->y(), sy + (sh - 100) / 2);
    EXPECT_EQ(centred.Left, cw->x() * 15);
    EXPECT_EQ(centred.Top, cw->y() * 15);

    auto& placed = app->get<Placed>();
    placed.Show();
    Fl_Window* pw = host->window(placed);
    ASSERT_NE(pw, nullptr);
    settle(0.1);
    EXPECT_EQ(placed.Left, pw->x() * 15);
    EXPECT_EQ(placed.Top, pw->y() * 15);
}

// ------------------------------------------------------------ painting

TEST_F(WindowHostTest, PaintsControlsAtTwipsOverFifteenInTheModelsColours) {
    EXPECT_EQ(pixel(win, 5, 5), rgb_of(kPaper));
    // Label1 starts at 3300 twips, pixel 220.
    EXPECT_EQ(pixel(win, 219, 40), rgb_of(kPaper));
    EXPECT_EQ(pixel(win, 220, 40), rgb_of(kYellow));
    EXPECT_EQ(pixel(win, 379, 49), rgb_of(kYellow));
    EXPECT_EQ(pixel(win, 380, 49), rgb_of(kPaper));
    // The frame's background, inside its groove.
    EXPECT_EQ(pixel(win, 100, 150), rgb_of(kFrame));
    // The text box: a widget at Frame1 + (150, 450) twips = pixel (20, 50).
    Fl_Widget* text = host->widget(demo->Text1);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->x(), 20);
    EXPECT_EQ(text->y(), 50);
    EXPECT_EQ(text->w(), 150);
    EXPECT_EQ(text->h(), 20);
    EXPECT_EQ(pixel(win, 160, 60), rgb_of(kPink));
    // The drop-down list's text field in its own colour.
    EXPECT_EQ(pixel(win, 60, 100), Rgb({255, 128, 128}));
    // The line: 3 pixels wide at y 180, red.
    EXPECT_EQ(pixel(win, 300, 180), Rgb({255, 0, 0}));
    EXPECT_EQ(pixel(win, 300, 184), rgb_of(kPaper));
    // The stretched strip reaches the control's right end (380), far past
    // its natural 78 pixels.
    const Rgb strip_end = pixel(win, 377, 135);
    EXPECT_NE(strip_end, rgb_of(kPaper));
    EXPECT_GT(strip_end.b, strip_end.r);
}

TEST_F(WindowHostTest, RepaintsWhatTheModelChanges) {
    run([&] { demo->Text1.SetText("Blood Gulch"); });
    EXPECT_EQ(pixel(win, 160, 60), rgb_of(kGreen));
    run([&] { demo->Label1.Visible = false; });
    EXPECT_EQ(pixel(win, 230, 40), rgb_of(kPaper));
    run([&] { demo->Label1.Visible = true; demo->Label1.Transparent = true; });
    EXPECT_EQ(pixel(win, 378, 48), rgb_of(kPaper));
}

TEST_F(WindowHostTest, WidgetsFollowTheirContainersAndHideUnderLaterFrames) {
    Fl_Widget* text = host->widget(demo->Text1);
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->visible());
    run([&] { demo->Cover.Visible = true; });
    EXPECT_FALSE(text->visible());
    EXPECT_EQ(pixel(win, 160, 60), rgb_of(kCover));
    run([&] { demo->Cover.Visible = false; demo->Frame1.Visible = false; });
    EXPECT_FALSE(text->visible());
    EXPECT_EQ(pixel(win, 160, 60), rgb_of(kPaper));
    run([&] { demo->Frame1.Visible = true; demo->Frame1.Left = 600; });
    EXPECT_TRUE(text->visible());
    EXPECT_EQ(text->x(), 50);
    run([&] { demo->Frame1.Enabled = false; });
    EXPECT_FALSE(text->active_r());
}

// ------------------------------------------------------------ input

TEST_F(WindowHostTest, MouseInputReachesTheModelInTwips) {
    mouse(win, FL_MOVE, 219, 40);
    mouse(win, FL_MOVE, 220, 40);
    EXPECT_EQ(demo->log, (std::vector<std::string>{"Form_MouseMove", "Label1_MouseMove"}));
    demo->log.clear();
    click(win, 230, 210);  // Command1 at 3300, 3000 twips
    EXPECT_EQ(demo->log, (std::vector<std::string>{"Command1_MouseDown", "Command1_MouseUp", "Command1_Click"}));
    EXPECT_EQ(app->focus(), &demo->Command1);
    // Moves over a widget reach the model too, for hover resets.
    demo->log.clear();
    mouse(win, FL_MOVE, 100, 60);
    EXPECT_EQ(demo->log, (std::vector<std::string>{"Text1_MouseMove"}));
}

TEST_F(WindowHostTest, KeysOnAFocusedButtonOrCheckBoxGoToTheModel) {
    run([&] { demo->Command1.SetFocus(); });
    key(win, FL_Enter, "\r");
    key(win, ' ', " ");
    EXPECT_EQ(demo->count("Command1_Click"), 2);
    run([&] { demo->Check1.SetFocus(); });
    key(win, ' ', " ");
    EXPECT_EQ(demo->Check1.Value(), 1);
    key(win, FL_Enter, "\r");
    EXPECT_EQ(demo->Check1.Value(), 1);
    EXPECT_EQ(demo->count("Check1_Click"), 1);
}

TEST_F(WindowHostTest, TypingIntoATextBoxEditsTheModelOneChangeAtATime) {
    click(win, 100, 60);
    EXPECT_EQ(app->focus(), &demo->Text1);
    EXPECT_EQ(Fl::focus(), host->widget(demo->Text1));
    type(win, "Blood Gulch");
    EXPECT_EQ(demo->Text1.Text(), "Blood Gulch");
    EXPECT_EQ(demo->Text1.SelStart(), 11);
    EXPECT_EQ(demo->count("Text1_Change"), 11);
    EXPECT_EQ(pixel(win, 160, 60), rgb_of(kGreen));
    // Home, then Shift+End, natively: the model learns the selection.
    key(win, FL_Home);
    EXPECT_EQ(demo->Text1.SelStart(), 0);
    EXPECT_EQ(demo->Text1.SelLength(), 0);
    key(win, FL_End, "", FL_SHIFT);
    EXPECT_EQ(demo->Text1.SelStart(), 0);
    EXPECT_EQ(demo->Text1.SelLength(), 11);
    key(win, FL_BackSpace, "\b");
    EXPECT_EQ(demo->Text1.Text(), "");
    EXPECT_EQ(demo->count("Text1_Change"), 12);
}

TEST_F(WindowHostTest, ModelTextAndSelectionShowInTheWidget) {
    auto* input = static_cast<Fl_Input*>(host->widget(demo->Text1));
    ASSERT_NE(input, nullptr);
    run([&] { demo->Text1.SetText("Hang 'Em High"); });
    EXPECT_STREQ(input->value(), "Hang 'Em High");
    run([&] { demo->Text1.SetFocus(); });
    EXPECT_EQ(Fl::focus(), input);
    app->send_keys("{HOME}+{END}");
    EXPECT_TRUE(settle_until([&] { return demo->Text1.SelLength() == 13; }));
    EXPECT_EQ(input->position(), 13);
    EXPECT_EQ(input->mark(), 0);
    // A handler that rewrites the text is shown at once.
    demo->bind("Text1_Change", [this] { if (demo->Text1.Text() == "x") demo->Text1.SetText("xy"); });
    input->position(input->size(), 0);
    type(win, "x");
    EXPECT_EQ(demo->Text1.Text(), "xy");
    EXPECT_STREQ(input->value(), "xy");
}

TEST_F(WindowHostTest, DropDownListShowsItemsAsTheyStandAndPicksThroughTheModel) {
    auto* choice = static_cast<Fl_Choice*>(host->widget(demo->Combo1));
    ASSERT_NE(choice, nullptr);
    ASSERT_EQ(choice->size(), 4);  // three items and the end mark
    EXPECT_STREQ(choice->menu()[1].label(), "b&&w");
    EXPECT_STREQ(choice->menu()[2].label(), "@@home");
    EXPECT_EQ(choice->value(), -1);
    // A pick from the open list.
    choice->value(2);
    choice->do_callback();
    EXPECT_EQ(demo->Combo1.ListIndex(), 2);
    EXPECT_EQ(demo->Combo1.Text(), "@home");
    EXPECT_EQ(demo->count("Combo1_Click"), 1);
    // Arrows on the focused list move through the model.
    run([&] { demo->Combo1.SetFocus(); });
    key(win, FL_Up);
    EXPECT_EQ(demo->Combo1.ListIndex(), 1);
    EXPECT_EQ(choice->value(), 1);
    run([&] { demo->Combo1.SetListIndex(-1); });
    EXPECT_EQ(choice->value(), -1);
    // The list's colour follows the model's.
    run([&] { demo->Combo1.BackColor = rgb(128, 255, 128); });
    EXPECT_EQ(pixel(win, 60, 100), Rgb({128, 255, 128}));
}

// ------------------------------------------------------------ drive and folder lists

class Folders : public forms::Form {
public:
    explicit Folders(forms::Application& app)
        : forms::Form(app, "Folders"),
          Drive1(add<forms::DriveListBox>("Drive1", {150, 150, 2000, 315})),
          Dir1(add<forms::DirListBox>("Dir1", {150, 600, 3000, 2400})) {
        ClientWidth = 3600;
        ClientHeight = 3300;
        Left = 6750;
        Top = 1500;
        bind("Dir1_Change", [this] { changes.push_back(Dir1.Path()); });
        bind("Drive1_Change", [this] { drives.push_back(Drive1.Drive()); });
    }
    forms::DriveListBox& Drive1;
    forms::DirListBox& Dir1;
    std::vector<std::string> changes, drives;
};

TEST_F(WindowHostTest, FolderListOpensOnDoubleClickOrEnterAndPicksOnSingleClick) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() /
                          ("vorlix-window-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::remove_all(root);
    fs::create_directories(root / "alpha" / "inner");
    fs::create_directories(root / "beta");
    auto& form = app->get<Folders>();
    form.Dir1.SetPath(root.string());
    form.Show();
    form.changes.clear();
    Fl_Window* fw = host->window(form);
    ASSERT_NE(fw, nullptr);
    auto* list = static_cast<Fl_Hold_Browser*>(host->widget(form.Dir1));
    ASSERT_NE(list, nullptr);
    const auto entries = form.Dir1.entries();
    ASSERT_EQ(list->size(), static_cast<int>(entries.size()));
    const int here = static_cast<int>(entries.size()) - 3;  // root, then alpha and beta
    EXPECT_EQ(list->value(), here + 1);  // the current folder is highlighted
    settle();

    // Keyboard: down to alpha, Enter opens it.
    Fl::focus(list);
    key(fw, FL_Down);
    EXPECT_EQ(form.Dir1.ListIndex, here + 1);
    key(fw, FL_Enter, "\r");
    ASSERT_EQ(form.changes, (std::vector<std::string>{(root / "alpha").string()}));
    EXPECT_EQ(list->size(), here + 3);  // ..., root, alpha, inner

    // Mouse: a single click picks the last line, a double-click opens it.
    fl_font(list->textfont(), list->textsize());
    const int line_h = fl_height();
    const int last_y = list->y() + Fl::box_dy(list->box()) + (list->size() - 1) * line_h + line_h / 2;
    ASSERT_LT(last_y, list->y() + list->h() - 4);
    mouse(fw, FL_PUSH, list->x() + 30, last_y);
    mouse(fw, FL_RELEASE, list->x() + 30, last_y);
    EXPECT_EQ(form.Dir1.ListIndex, list->size() - 1);
    EXPECT_EQ(form.changes.size(), 1u);
    mouse(fw, FL_PUSH, list->x() + 30, last_y, 1);
    mouse(fw, FL_RELEASE, list->x() + 30, last_y);
    ASSERT_EQ(form.changes.size(), 2u);
    EXPECT_EQ(form.changes.back(), (root / "alpha" / "inner").string());
    EXPECT_EQ(form.Dir1.ListIndex, -1);
    fs::remove_all(root);
}

TEST_F(WindowHostTest, DriveListOffersTheDrivesAndPicksThroughTheModel) {
    app->drive_provider = [] { return std::vector<std::string>{"/", "/mnt/usb"}; };
    auto& form = app->get<Folders>();
    form.Drive1.SetDrive("/");
    form.Show();
    auto* choice = static_cast<Fl_Choice*>(host->widget(form.Drive1));
    ASSERT_NE(choice, nullptr);
    ASSERT_EQ(choice->size(), 3);
    EXPECT_EQ(choice->value(), 0);
    choice->value(1);
    choice->do_callback();
    EXPECT_EQ(form.Drive1.Drive(), "/mnt/usb");
    EXPECT_EQ(form.drives, (std::vector<std::string>{"/", "/mnt/usb"}));
    // Picking the drive that is already shown changes nothing.
    choice->do_callback();
    EXPECT_EQ(form.drives.size(), 2u);
    // The arrows step through the drives, and stop at the ends.
    Fl_Window* fw = host->window(form);
    run([&] { form.Drive1.SetFocus(); });
    EXPECT_EQ(Fl::focus(), choice);
    key(fw, FL_Down);
    EXPECT_EQ(form.drives.size(), 2u);
    key(fw, FL_Up);
    EXPECT_EQ(form.Drive1.Drive(), "/");
    EXPECT_EQ(choice->value(), 0);
    EXPECT_EQ(app->focus(), &form.Drive1);
}

}  // namespace
