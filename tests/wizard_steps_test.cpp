// The main window: Begin, the "Ready" box and its timer, Options, the colour
// checks of the fields, the launch hand-over, the reset after a finished run,
// the title bar, the hover resets and the closing cascade.
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "objects/objects.h"
#include "tests/driver.h"
#include "tests/stock_folder.h"
#include "wizard/colors.h"
#include "wizard/launch.h"

namespace {

using namespace testing_driver;
using namespace wizard;
using Colors = std::vector<forms::Color>;

// The kind list, map, name, folder list and drive list colours.
Colors colours(Form1& m) {
    return {m.Combo1.BackColor, m.txtmap.BackColor, m.txtfile.BackColor, m.Dir1.BackColor, m.Drive1.BackColor};
}

// A screen of 1065 x 819 pixels, in twips.
void small_screen(forms::Application& app) { std::tie(app.ScreenWidth, app.ScreenHeight) = std::pair(15975, 12285); }

TEST(WizardSteps, StartsCentredOnTheScreen) {
    forms::Application app;
    small_screen(app);
    wizard::start(app);
    EXPECT_EQ(std::pair(app.get<Form1>().Left, app.get<Form1>().Top), std::pair(5025, 3600));
}

TEST(WizardSteps, StartThenBeginThenTheTimerEnablesReady) {
    Driver d;
    auto& m = d.main();
    EXPECT_EQ(shown(m, "Welcome Image1 Image2 Image3 Image4 Image7 Image8 Image11 Done1 Done Frame1 Frame2 "
                       "Donefraim min1 mx1 reg1 Xit1 contdis conten"),
              "Welcome Image1 Image7 Done1 min1 mx1 Xit1 contdis");
    EXPECT_EQ(colours(m), (Colors{kNotReady, kInvalid, kInvalid, kNeutral, kNeutral}));
    EXPECT_EQ(m.Combo1.items, (std::vector<std::string>{"assault rifle", "flamethrower", "needler", "pistol",
                               "plasma pistol", "plasma rifle", "rocket launcher", "shotgun", "sniper rifle"}));
    d.tick(1000);  // the timer runs only after Begin
    d.begin();
    EXPECT_EQ(shown(m, "Welcome Image4 Image7 Frame1 Frame2"), "Image4 Image7 Frame1");
    d.options();  // not ready: only the inactive picture is there
    d.click(m.Check1);  // still disabled
    d.tick(99);
    EXPECT_FALSE(m.Check1.Enabled);
    d.tick(1);
    EXPECT_TRUE(m.Check1.Enabled);
    EXPECT_EQ(shown(m, "Frame2 Image8 Image11"), "");

    // The ready rule needs no kind; set by code, it runs all the same.
    d.click(m.Check1);
    EXPECT_EQ(m.Check1.Value(), 1);
    EXPECT_TRUE(m.Image8.Visible);
    EXPECT_EQ(m.Combo1.BackColor, kReady);
    d.app.dispatch([&] { m.Check1.SetValue(0); });
    EXPECT_FALSE(m.Image8.Visible);
    EXPECT_EQ(m.Combo1.BackColor, kNotReady);
}

// Tab and Shift+Tab go round the controls that can take the focus, in their
// order, passing over hidden and disabled ones.
TEST(WizardSteps, TabGoesRoundTheFieldsOfTheStepShown) {
    Driver d;
    auto& m = d.main();
    d.begin();
    d.pump();
    d.click(m.Combo1);
    const auto tab = [&](const char* key) {
        d.app.key(key);
        return d.app.focus() ? d.app.focus()->name() : std::string("-");
    };
    EXPECT_EQ(tab("TAB"), "Combo1");  // "Ready" is not enabled yet
    d.tick(100);
    EXPECT_EQ(tab("TAB"), "Check1");
    EXPECT_EQ(tab("TAB"), "Combo1");
    EXPECT_EQ(tab("+TAB"), "Check1");
    d.app.key(" ");
    EXPECT_EQ(m.Check1.Value(), 1);
    d.options();
    d.click(m.txtmap);
    for (const char* next : {"txtfile", "Drive1", "Dir1", "txtmap"}) EXPECT_EQ(tab("TAB"), next);
    for (const char* previous : {"Dir1", "Drive1"}) EXPECT_EQ(tab("+TAB"), previous);
}

TEST(WizardSteps, BeginPostsDownAndOptionsEchoesTheKindOnMoveOnly) {
    for (bool by_move : {false, true}) {
        Driver d;
        auto& m = d.main();
        d.app.set_focus(m.Combo1);
        d.begin(by_move);
        EXPECT_EQ(m.Combo1.ListIndex(), -1);  // posted: moves the kind list at pump
        d.pump();
        EXPECT_EQ(m.Combo1.Text(), "assault rifle");
        d.pick(m.Combo1, "needler");
        d.begin();  // its active picture cannot be pressed
        EXPECT_FALSE(d.app.pending());
        d.ready();
        d.options(by_move);
        EXPECT_EQ(m.Label3.Caption, by_move ? "needler" : "") << by_move;
        EXPECT_EQ(shown(m, "Image2 Image3 Image4 Image11 Frame1 Frame2"), "Image11 Frame1 Frame2");

        // Back from Options: no keystroke, and without a finished run no reset.
        d.type(m.txtmap, "Halo");
        d.begin(by_move);
        EXPECT_FALSE(d.app.pending());
        EXPECT_EQ(shown(m, "Image4 Image8 Image9 Image10 Image11 Frame1 Frame2"), "Image4 Image8 Frame1");
        EXPECT_EQ(m.Combo1.Text() + "|" + m.txtmap.Text(), "needler|Halo");
    }
}

TEST(WizardSteps, BeginAfterAFinishedRunResetsAndOnlyAReleaseClearsReady) {
    for (bool by_move : {false, true}) {
        TempDir temp;
        const fs::path root = make_stock_copy(temp.path(), objects::table("pistol"), "magnum");
        Driver d;
        auto& m = d.main();
        d.prepare("pistol", "Halo", "magnum", utf8(root));
        d.compile();
        d.pump();
        ASSERT_TRUE(m.Donefraim.Visible);
        d.app.dispatch([&] { m.Check1.SetValue(1); });  // ticked again, so that the reset shows
        d.app.set_focus(m.Combo1);
        d.begin(by_move);
        EXPECT_EQ(shown(m, "Donefraim Done Frame2 Image11 Frame1 Image4 conten"), "Frame1 Image4 conten");
        EXPECT_EQ(m.txtmap.Text() + "|" + m.txtfile.Text() + "|" + m.Label3.Caption, "|| ");
        EXPECT_EQ(m.Check1.Value(), by_move ? 1 : 0) << by_move;
        EXPECT_EQ(colours(m), (Colors{by_move ? kReady : kNotReady, kInvalid, kInvalid, kValid, kValid}));
        d.pump();  // the Options step was not open: Down is posted
        EXPECT_EQ(m.Combo1.Text(), "plasma pistol");
    }
}

// The main window on its Options step, no kind chosen yet.
class WizardOptions : public ::testing::Test {
protected:
    void SetUp() override { d.to_options(""); }
    std::string make(const std::string& rel) {
        fs::create_directories(temp.path() / fs_path(rel));
        return utf8(temp.path() / fs_path(rel));
    }
    // A kind and an accepted folder; the kind's create button then only counts its runs.
    duplication::DuplicatorForm* accept(const std::string& kind) {
        d.pick(m.Combo1, kind);
        d.retype(m.txtfile, "magnum");
        d.set_folder(make("magnum"));
        auto* form = duplicator_for(d.main(), kind);
        if (form) form->bind("create_Click", [this] { ++runs; });
        return form;
    }

    TempDir temp;
    Driver d;
    Form1& m = d.main();
    int runs = 0;
};

TEST_F(WizardOptions, MapMustBeADisplayNameAndNameNotEmptyOrOneToFourBlanks) {
    const auto colour = [&](forms::TextBox& box, const std::string& text) {
        d.retype(box, text);
        return box.BackColor;
    };
    for (const auto& [file, display] : kMaps) {
        EXPECT_EQ(colour(m.txtmap, display), kValid) << display;
        EXPECT_EQ(colour(m.txtmap, file), kInvalid) << file;
    }
    for (const char* text : {"Blood gulch", "Blood Gulch ", " Blood Gulch", "BLOOD GULCH", "Blood  Gulch", "",
                             "Pillar of Autumn", "Hang \xE2\x80\x99" "em High", "Halo\n", " bloodgulch"})
        EXPECT_EQ(colour(m.txtmap, text), kInvalid) << text;
    for (const char* name : {" ", "", "  ", "   ", "    "}) EXPECT_EQ(colour(m.txtfile, name), kInvalid) << name;
    for (const char* name : {"     ", "a", " a", "a   ", "\t"}) EXPECT_EQ(colour(m.txtfile, name), kValid) << name;
    EXPECT_EQ(colours(m), (Colors{kReady, kInvalid, kValid, kNeutral, kNeutral}));
}

TEST_F(WizardOptions, FolderMustHoldTheNameCaseSensitivelyAfterItsFirstCharacter) {
    const std::tuple<const char*, const char*, bool> cases[] = {  // folder below the temporary one, name
        {"magnum", "magnum", true},  {"Magnum", "magnum", false},  {"magnum", "Magnum", false},
        {"magnum", "mag", true},     {"magnum", "gnu", true},      {"magnum/fp", "magnum", true},
        {"magnums", "magnum", true}, {"magnum", "magnum2", false}, {"magnum", "     ", false},
        {"magnum", "", false}};
    const std::string top = utf8(temp.path());
    ASSERT_EQ(top.find("mag"), std::string::npos);
    for (const auto& [folder, name, accepted] : cases) {
        d.retype(m.txtfile, name);
        d.set_folder(top);
        d.set_folder(make(folder));
        EXPECT_EQ(m.Dir1.BackColor, accepted ? kValid : kInvalid) << folder << " " << name;
        EXPECT_EQ(m.Drive1.BackColor, accepted ? kValid : kNeutral) << folder << " " << name;
    }
    ASSERT_EQ(top.find(top.substr(0, 3), 1), std::string::npos) << top;
    d.retype(m.txtfile, top.substr(0, 3));  // only at the first character
    d.set_folder(make("x"));
    EXPECT_EQ(m.Dir1.BackColor, kInvalid);
    d.retype(m.txtfile, top.substr(1, 3));
    d.set_folder(top);
    EXPECT_EQ(m.Dir1.BackColor, kValid);
}

TEST_F(WizardOptions, AcceptedFolderActivatesCompileForGoodAndDrivesMoveTheFolderList) {
    const std::string magnum = make("magnum"), drive = make("magnum drive");
    d.set_folder(utf8(temp.path()));  // before any name
    EXPECT_EQ(shown(m, "contdis conten"), "contdis");
    d.type(m.txtfile, "magnum");
    ASSERT_TRUE(d.open_folder(m.Dir1, magnum));  // a double-click runs the check
    EXPECT_EQ(colours(m), (Colors{kReady, kInvalid, kValid, kValid, kValid}));
    d.retype(m.txtfile, "other name");  // no new folder check
    EXPECT_EQ(m.Dir1.BackColor, kValid);
    d.set_folder(make("other"));  // refused: the lists change colour, the button stays
    EXPECT_EQ(colours(m), (Colors{kReady, kInvalid, kValid, kInvalid, kNeutral}));
    EXPECT_TRUE(m.conten.Visible);

    const std::string missing = utf8(temp.path() / "no drive here");
    d.app.drive_provider = [&] { return std::vector<std::string>{drive, missing}; };
    d.retype(m.txtfile, "magnum");
    for (const std::string& pick : {drive, missing}) {
        d.pick_drive(m.Drive1, pick);
        EXPECT_EQ(m.Drive1.Drive(), pick);
        EXPECT_EQ(m.Dir1.Path(), drive);  // a drive that cannot be opened changes nothing
        EXPECT_EQ(colours(m), (Colors{kReady, kInvalid, kValid, kValid, kValid}));
    }
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    const Box& box = d.boxes.shown[0];
    EXPECT_EQ(box.text + "|" + box.title + "|" + std::to_string(box.style),
              "Please select a valid drive|Drive not found|16");
}

TEST_F(WizardOptions, EachKindIsHandedToItsOwnDuplicatorAndRunAtPump) {
    const std::pair<std::string, std::string> kinds[] = {
        {"pistol", "Pistol_frm"},         {"rocket launcher", "Rocket_launcher"}, {"assault rifle", "Assault_rifle"},
        {"flamethrower", "Flamethrower"}, {"sniper rifle", "Sniper_rifle"},       {"warthog", "Warthog"},
        {"needler", "needler"},           {"plasma pistol", "plasma_pistol"},     {"plasma rifle", "plasma_rifle"},
        {"shotgun", "shotgun"}};
    d.retype(m.txtmap, "Halo!");  // pink: nothing is checked at launch
    for (const auto& [kind, form] : kinds) {
        duplication::DuplicatorForm* f = accept(kind);
        ASSERT_NE(f, nullptr) << kind;
        EXPECT_EQ(f->name(), form);
        if (kind == "warthog") continue;  // not on the kind list
        std::vector<std::string> seen;  // "+": the form was showing
        for (const char* event : {"txtmap_Change", "txtfile_Change", "Drive1_Change", "Dir1_Change", "Form_Resize",
                                  "create_Click"})
            f->bind(event, [&seen, f, event] { seen.push_back(event + std::string(f->Visible() ? "+" : "")); });
        d.compile();
        EXPECT_EQ(f->txtmap.Text() + "|" + f->txtfile.Text() + "|" + f->Dir1.Path(), "Halo!|magnum|" + make("magnum"));
        EXPECT_EQ(f->Drive1.Drive(), m.Drive1.Drive());
        EXPECT_EQ(d.app.focus(), &f->create) << kind;
        EXPECT_EQ(m.tfile.Caption, "magnum");
        EXPECT_EQ(seen.size(), 5u) << kind;  // Enter is posted: the run starts when the loop delivers it
        d.pump();
        EXPECT_EQ(seen, (std::vector<std::string>{"txtmap_Change", "txtfile_Change", "Drive1_Change",
                                                  "Dir1_Change", "Form_Resize+", "create_Click+"}))
            << kind;
    }
    for (const char* other : {"", "Pistol", "pistol ", "assault  rifle", "Warthog", "plasma"})
        EXPECT_EQ(duplicator_for(d.main(), other), nullptr) << other;
}

TEST_F(WizardOptions, OnePressLaunchesOnce) {
    accept("pistol");
    d.compile();
    EXPECT_EQ(shown(m, "cont1 cont2"), "");
    d.pump();
    d.move(m.conten);  // the hover comes back, the pressed picture does not
    d.move(m.cont1);
    d.pump();
    EXPECT_EQ(runs, 1);
    d.compile();  // a new press is a new launch
    d.pump();
    EXPECT_EQ(runs, 2);
}

TEST_F(WizardOptions, NoKindOrARemovedFolderLaunchesNothing) {
    accept("");
    const std::size_t loaded = d.app.forms().size();
    d.compile();
    EXPECT_EQ(d.app.forms().size(), loaded);
    EXPECT_FALSE(d.app.pending());

    auto* pistol = accept("pistol");
    fs::remove_all(temp.path() / "magnum");
    d.compile();
    d.pump();
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    EXPECT_EQ(d.boxes.shown[0].title + "|" + std::to_string(d.boxes.shown[0].style), "Folder not found|16");
    EXPECT_NE(d.boxes.shown[0].text.find(utf8(temp.path() / "magnum")), std::string::npos) << d.boxes.shown[0].text;
    EXPECT_FALSE(pistol->Visible());
    EXPECT_EQ(runs, 0);
}

void show_all(forms::Form& f, const std::string& names) {
    std::istringstream in(names);
    for (std::string n; in >> n;) f.find(n)->Visible = true;
}

// Left of every title bar picture: minimise, maximise, restore, exit.
std::string title_bar(Form1& m) {
    std::string out;
    for (auto* i : {&m.min1, &m.min2, &m.min3, &m.mx1, &m.mx2, &m.mx3, &m.reg1, &m.reg2, &m.reg3, &m.Xit1, &m.Xit2,
                    &m.Xit3})
        out += std::to_string(i->Left) + " ";
    return out;
}
const std::string kRestored = "4320 4320 4320 4800 4800 4800 4800 4800 4800 5280 5280 5280 ";
const std::string kMaximised = "13560 13560 13560 14040 14040 14040 14040 14040 14040 14520 14520 14520 ";

TEST(WizardTitleBar, HoversShowTheirPictureAndHideTheirNeighbours) {
    const std::string all = "min2 min3 mx2 mx3 reg2 reg3 Xit2 Xit3";
    const std::tuple<const char*, const char*, std::string> cases[] = {  // handler, picture it shows, visible after
        {"min1_MouseMove", "min2", "min2 min3"}, {"mx1_MouseMove", "mx2", "mx2 mx3 reg2 reg3"},
        {"reg1_MouseMove", "reg2", "mx2 mx3 reg2 reg3"}, {"Xit1_MouseMove", "Xit2", "Xit2 Xit3"},
        {"min2_MouseDown", "min3", all}, {"mx2_MouseDown", "mx3", all}, {"reg2_MouseDown", "reg3", all},
        {"Xit2_MouseDown", "Xit3", all}};
    for (const auto& [handler, shows, left] : cases) {
        Driver d;
        auto& m = d.main();
        show_all(m, all);
        m.find(shows)->Visible = false;
        ASSERT_TRUE(m.raise(handler)) << handler;
        EXPECT_EQ(shown(m, all), left) << handler;
    }
}

TEST(WizardTitleBar, MaximiseAndRestoreMoveTheBarAndResizeTheStepFrames) {
    Driver d;
    small_screen(d.app);
    auto& m = d.main();
    const auto frames = [&] { return std::vector{m.Frame1.Width, m.Frame1.Height, m.Frame2.Width, m.Frame2.Height}; };
    EXPECT_EQ(frames(), (std::vector{5685, 3285, 5685, 3285}));
    d.press(m.mx1, m.mx2, m.mx3);  // the maximise binds MouseMove only
    EXPECT_EQ(m.WindowState(), 0);
    d.press(m.mx1, m.mx2, m.mx3, true);
    EXPECT_EQ(m.WindowState(), 2);
    EXPECT_EQ(shown(m, "reg1 mx2 mx3"), "reg1 mx2 mx3");  // covered by the restore button, not hidden
    EXPECT_EQ(title_bar(m), kMaximised);
    EXPECT_EQ(frames(), (std::vector{15735, 10485, 15735, 10485}));  // the screen less 240 and 1800

    d.press(m.reg1, m.reg2, m.reg3);  // the restore binds MouseDown and MouseMove
    EXPECT_EQ(m.WindowState(), 2);
    d.down(m.reg3);
    EXPECT_EQ(m.WindowState(), 0);
    EXPECT_EQ(shown(m, "reg1 reg2 reg3 mx2 mx3"), "mx2 mx3");  // until a reset
    EXPECT_EQ(title_bar(m), kRestored);
    EXPECT_EQ(frames(), (std::vector{5685, 3285, 5685, 3285}));
    d.press(m.mx1, m.mx2, m.mx3, true);
    d.press(m.reg1, m.reg2, m.reg3, true);
    EXPECT_EQ(m.WindowState(), 0);
}

TEST(WizardTitleBar, MinimiseMovesNothingAndRestsTheButton) {
    for (int way = 0; way < 4; ++way) {  // from restored or maximised, by release or move
        Driver d;
        small_screen(d.app);
        auto& m = d.main();
        if (way >= 2) d.press(m.mx1, m.mx2, m.mx3, true);
        d.press(m.min1, m.min2, m.min3, way % 2);
        EXPECT_EQ(m.WindowState(), 1) << way;
        EXPECT_EQ(shown(m, "min2 min3 reg1"), way >= 2 ? "reg1" : "") << way;
        EXPECT_EQ(title_bar(m), way >= 2 ? kMaximised : kRestored) << way;
        EXPECT_EQ(m.Frame1.Width, way >= 2 ? 15735 : 5685) << way;
    }
}

TEST(WizardHover, ResetsHideWhatTheirSurfaceCovers) {
    const std::string hovers = "Image2 Image3 Image9 Image10 Xit2 Xit3 reg2 reg3 min2 min3 mx2 mx3 cont2 cont1 select1";
    const std::string resting = "Image4 Image11 Done conten reg1 Image1 Image8";
    const std::string options = "Image2 Image3 Image9 Image10 Xit2 Xit3 reg2 reg3 min2 min3 mx2 mx3";
    const std::string tabs = "Xit2 Xit3 reg2 reg3 min2 min3 mx2 mx3 cont2 cont1 select1";
    const std::pair<const char*, std::string> surfaces[] = {  // surface, hovers it leaves
        {"Form", ""},        {"Frame2", options}, {"Dir1", options},   {"txtfile", options},
        {"txtmap", options}, {"Label4", options}, {"Label5", options}, {"Label6", options},
        {"Image5", tabs},    {"Image6", tabs},    {"Image15", tabs},   {"Image12", tabs}};
    for (const auto& [surface, left] : surfaces) {
        Driver d;
        show_all(d.main(), hovers + " " + resting);
        ASSERT_TRUE(d.main().raise(std::string(surface) + "_MouseMove")) << surface;
        EXPECT_EQ(shown(d.main(), hovers + " " + resting), left.empty() ? resting : left + " " + resting) << surface;
    }
    Driver d;
    for (const char* none : {"Frame1", "Donefraim", "Drive1", "Combo1", "Label2", "Image11", "Done", "contdis"})
        EXPECT_FALSE(d.main().binds(std::string(none) + "_MouseMove")) << none;
}

TEST(WizardClosing, ExitUnloadsTheOtherFormsInOrderAndEndsQuietly) {
    const std::vector<std::string> cascade{"Assault_rifle", "Flamethrower",    "frm_select", "frmError",
                                           "needler",       "Pistol_frm",      "plasma_pistol", "plasma_rifle",
                                           "Rocket_launcher", "shotgun",       "Sniper_rifle",  "Warthog"};
    for (int way = 0; way < 3; ++way) {  // exit by release, exit by move, the system close
        Driver d;
        auto& app = d.app;
        std::vector<std::string> order;
        // Loaded in reverse, so that the load order cannot pass for the cascade's.
        for (forms::Form* f : std::initializer_list<forms::Form*>{
                 &d.duplicator("warthog"), &d.duplicator("sniper rifle"), &d.duplicator("shotgun"),
                 &d.duplicator("rocket launcher"), &d.duplicator("plasma rifle"),
                 &d.duplicator("plasma pistol"), &d.duplicator("pistol"), &d.duplicator("needler"),
                 &app.get<frmError>(), &app.get<frm_select>(), &d.duplicator("flamethrower"),
                 &d.duplicator("assault rifle")})
            f->bind("Form_QueryUnload", [&order, f] { order.push_back(f->name()); });
        auto& m = d.main();
        if (way == 2)
            app.dispatch([&] { m.Unload(); });
        else
            d.press(m.Xit1, m.Xit2, m.Xit3, way == 1);
        EXPECT_EQ(order, cascade) << way;
        EXPECT_TRUE(app.forms().empty());
    }
    // The map advice and the picker open: the advice's refocus runs in the cascade.
    Driver d;
    d.to_options("");
    d.click(d.main().contdis);
    d.open_picker();
    d.press(d.main().Xit1, d.main().Xit2, d.main().Xit3);
    EXPECT_TRUE(d.app.ended());
    d.pump();  // whatever the dialog posted goes nowhere
    EXPECT_TRUE(d.boxes.shown.empty());
}

}  // namespace
