// The main window's own title bar, the resize rule, and the hover resets
// that bring image buttons back to rest.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/driver.h"

namespace {

using namespace testing_driver;

using Names = std::set<std::string>;

Names visible_of(wizard::Form1& m, const Names& names) {
    Names out;
    for (const std::string& n : names)
        if (m.find(n)->Visible) out.insert(n);
    return out;
}

void show_all(wizard::Form1& m, const Names& names) {
    for (const std::string& n : names) m.find(n)->Visible = true;
}

Names minus(Names all, const Names& gone) {
    for (const std::string& n : gone) all.erase(n);
    return all;
}

const Names kTitleHovers{"min2", "min3", "mx2", "mx3", "reg2", "reg3", "Xit2", "Xit3"};

TEST(WizardTitleBar, HoversShowTheirPictureAndHideTheirNeighbours) {
    struct Case {
        const char* handler;
        const char* shows;
        Names hides;
    };
    const Case cases[] = {
        {"min1_MouseMove", "min2", {"Xit2", "Xit3", "mx2", "mx3", "reg2", "reg3"}},
        {"mx1_MouseMove", "mx2", {"Xit2", "Xit3", "min2", "min3"}},
        {"reg1_MouseMove", "reg2", {"min2", "min3", "Xit2", "Xit3"}},
        {"Xit1_MouseMove", "Xit2", {"mx2", "mx3", "min2", "min3", "reg2", "reg3"}},
        {"min2_MouseDown", "min3", {}},
        {"mx2_MouseDown", "mx3", {}},
        {"reg2_MouseDown", "reg3", {}},
        {"Xit2_MouseDown", "Xit3", {}},
    };
    for (const Case& c : cases) {
        Driver d;
        auto& m = d.main();
        show_all(m, kTitleHovers);
        m.find(c.shows)->Visible = false;
        ASSERT_TRUE(m.raise(c.handler)) << c.handler;
        EXPECT_EQ(visible_of(m, kTitleHovers), minus(kTitleHovers, c.hides)) << c.handler;
    }
}

TEST(WizardTitleBar, MaximiseMovesTheBarAndStretchesTheStepFrames) {
    Driver d;
    auto& m = d.main();
    EXPECT_EQ(m.Frame1.Width, 5925 - 240);
    EXPECT_EQ(m.Frame1.Height, 5085 - 1800);
    EXPECT_EQ(m.Frame2.Width, 5925 - 240);
    EXPECT_EQ(m.Frame2.Height, 5085 - 1800);

    // Released over the pressed picture: the maximise binds MouseMove only.
    d.move(m.mx1);
    d.down(m.mx2);
    d.up(m.mx3);
    EXPECT_EQ(m.WindowState(), 0);

    d.maximise();
    EXPECT_EQ(m.WindowState(), 2);
    EXPECT_TRUE(m.reg1.Visible);
    EXPECT_TRUE(m.mx2.Visible);  // covered by reg1, not hidden
    EXPECT_TRUE(m.mx3.Visible);
    const std::map<int, Names> maximised{{13560, {"min1", "min2", "min3"}},
                                         {14040, {"reg1", "reg2", "reg3", "mx1", "mx2", "mx3"}},
                                         {14520, {"Xit1", "Xit2", "Xit3"}}};
    for (const auto& [left, names] : maximised)
        for (const std::string& n : names) EXPECT_EQ(m.find(n)->Left, left) << n;
    EXPECT_EQ(m.Frame1.Width, d.app.ScreenWidth - 240);
    EXPECT_EQ(m.Frame1.Height, d.app.ScreenHeight - 1800);
    EXPECT_EQ(m.Frame2.Width, d.app.ScreenWidth - 240);
    EXPECT_EQ(m.Frame2.Height, d.app.ScreenHeight - 1800);
    EXPECT_EQ(m.Donefraim.Width, 5655);
    EXPECT_EQ(m.Donefraim.Height, 3375);

    // The restore binds MouseDown and MouseMove, not MouseUp.
    d.move(m.reg1);
    d.down(m.reg2);
    d.up(m.reg3);
    EXPECT_EQ(m.WindowState(), 2);
    d.down(m.reg3);
    EXPECT_EQ(m.WindowState(), 0);
    for (const char* n : {"reg1", "reg2", "reg3"}) EXPECT_FALSE(m.find(n)->Visible) << n;
    const std::map<int, Names> restored{{4320, {"min1", "min2", "min3"}},
                                        {4800, {"reg1", "reg2", "reg3", "mx1", "mx2", "mx3"}},
                                        {5280, {"Xit1", "Xit2", "Xit3"}}};
    for (const auto& [left, names] : restored)
        for (const std::string& n : names) EXPECT_EQ(m.find(n)->Left, left) << n;
    EXPECT_EQ(m.Frame1.Width, 5685);
    EXPECT_EQ(m.Frame2.Height, 3285);
    // The maximise button's hover and pressed pictures show until a reset.
    EXPECT_TRUE(m.mx3.Visible);
    d.move_form(m, 30, 4950);
    EXPECT_FALSE(m.mx2.Visible);
    EXPECT_FALSE(m.mx3.Visible);

    // Restore by MouseMove over the pressed picture, on a wider screen.
    d.app.ScreenWidth = 2560 * forms::kTwipsPerPixel;
    d.maximise();
    EXPECT_EQ(m.Frame1.Width, d.app.ScreenWidth - 240);
    EXPECT_EQ(m.min1.Left, 13560);
    d.move(m.reg1);
    d.down(m.reg2);
    d.move(m.reg3);
    EXPECT_EQ(m.WindowState(), 0);
    EXPECT_EQ(m.Xit3.Left, 5280);
}

TEST(WizardTitleBar, MinimiseMovesNothingAndRestsTheButton) {
    for (bool from_maximised : {false, true}) {
        Driver d;
        auto& m = d.main();
        if (from_maximised) d.maximise();
        const int width = m.Frame1.Width, height = m.Frame2.Height, min_left = m.min1.Left;
        d.minimise();
        EXPECT_EQ(m.WindowState(), 1) << from_maximised;
        EXPECT_FALSE(m.min2.Visible);
        EXPECT_FALSE(m.min3.Visible);
        EXPECT_EQ(m.Frame1.Width, width);
        EXPECT_EQ(m.Frame2.Height, height);
        EXPECT_EQ(m.min1.Left, min_left);
        EXPECT_EQ(m.reg1.Visible, from_maximised);
    }
    // By MouseMove over the pressed picture as well.
    Driver d;
    auto& m = d.main();
    d.move(m.min1);
    d.down(m.min2);
    d.move(m.min3);
    EXPECT_EQ(m.WindowState(), 1);
}

// Every hover and pressed picture of the main window, and the pictures
// that a reset must never hide.
const Names kHovers{"Image2", "Image3", "Image9", "Image10", "Xit2", "Xit3", "reg2",   "reg3",
                    "min2",   "min3",   "mx2",    "mx3",     "cont2", "cont1", "select1"};
const Names kResting{"Image4", "Image11", "Done", "conten", "reg1", "Image1", "Image8"};

TEST(WizardTitleBar, HoverResetsHideWhatTheirSurfaceCovers) {
    const Names everything = [] {
        Names all = kHovers;
        all.insert(kResting.begin(), kResting.end());
        return all;
    }();
    const Names form_hides = kHovers;
    const Names options_hides{"cont2", "cont1", "select1"};
    const Names tabs_hides{"Image2", "Image3", "Image9", "Image10"};
    const std::map<std::string, Names> surfaces{
        {"Form_MouseMove", form_hides},       {"Frame2_MouseMove", options_hides},
        {"Dir1_MouseMove", options_hides},    {"txtfile_MouseMove", options_hides},
        {"txtmap_MouseMove", options_hides},  {"Label4_MouseMove", options_hides},
        {"Label5_MouseMove", options_hides},  {"Label6_MouseMove", options_hides},
        {"Image5_MouseMove", tabs_hides},     {"Image6_MouseMove", tabs_hides},
        {"Image15_MouseMove", tabs_hides},    {"Image12_MouseMove", tabs_hides},
    };
    for (const auto& [handler, hides] : surfaces) {
        Driver d;
        auto& m = d.main();
        show_all(m, everything);
        ASSERT_TRUE(m.raise(handler)) << handler;
        EXPECT_EQ(visible_of(m, everything), minus(everything, hides)) << handler;
    }
    // Surfaces without a reset.
    Driver d;
    for (const char* none : {"Frame1_MouseMove", "Donefraim_MouseMove", "Drive1_MouseMove", "Combo1_MouseMove",
                             "Label2_MouseMove", "Image11_MouseMove", "Done_MouseMove", "contdis_MouseMove"})
        EXPECT_FALSE(d.main().binds(none)) << none;
}

TEST(WizardTitleBar, PointerLeavingOverPlainSurfacesKeepsTheHover) {
    Driver d;
    auto& m = d.main();
    d.begin();
    d.pump();
    d.ready();
    d.options();
    d.move(m.select);
    ASSERT_TRUE(m.select1.Visible);
    d.move(m.Drive1);
    EXPECT_TRUE(m.select1.Visible);
    d.move(m.txtmap);
    EXPECT_FALSE(m.select1.Visible);

    d.move(m.Image1);
    ASSERT_TRUE(m.Image2.Visible);
    d.move(m.Frame2);  // resets the Options frame's buttons only
    EXPECT_TRUE(m.Image2.Visible);
    d.move_form(m, 4000, 1000);  // tab row background right of the tabs
    EXPECT_FALSE(m.Image2.Visible);

    d.move(m.Image1);
    d.move_form(m, 30, 4950);  // window background
    EXPECT_FALSE(m.Image2.Visible);
    EXPECT_TRUE(m.Image11.Visible);
}

}  // namespace
