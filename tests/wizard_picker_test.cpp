// The map picker: its two views, the 58 map labels, CANCEL and NEXT.
#include <gtest/gtest.h>

#include "tests/driver.h"
#include "wizard/colors.h"
#include "wizard/map_names.h"

namespace {

using namespace testing_driver;
using wizard::frm_select;

class WizardPicker : public ::testing::Test {
protected:
    void SetUp() override {
        d.begin();
        d.pump();
        d.pick(m.Combo1, "pistol");
        d.ready();
        d.options();
    }
    bool picker_loaded() { return d.app.loaded<frm_select>(); }
    forms::Label& label(frm_select& s, int number) {
        return *static_cast<forms::Label*>(s.find("Label" + std::to_string(number)));
    }

    Driver d;
    wizard::Form1& m = d.main();
};

TEST_F(WizardPicker, OpensOnTheFileNameViewAndHidesTheSelectHover) {
    frm_select& s = d.open_picker();
    EXPECT_TRUE(s.Visible());
    EXPECT_FALSE(m.select1.Visible);
    EXPECT_TRUE(s.Frame1.Visible);
    EXPECT_FALSE(s.Frame2.Visible);
    EXPECT_EQ(s.cont.Caption, "Map");
    EXPECT_FALSE(s.cont.Visible);
    EXPECT_FALSE(s.Command1.Visible);
    EXPECT_FALSE(s.Image2.Visible);
    EXPECT_FALSE(s.Image3.Visible);
    // No label 21 or 40; file label N and display label 61 - N share a cell.
    EXPECT_EQ(s.find("Label21"), nullptr);
    EXPECT_EQ(s.find("Label40"), nullptr);
    for (int row = 0; row < 29; ++row) {
        const int n = wizard::file_label_number(row);
        const auto& map = wizard::kMapNames[static_cast<std::size_t>(row)];
        forms::Label& file = label(s, n);
        forms::Label& shown = label(s, 61 - n);
        EXPECT_EQ(file.Caption, " " + std::string(map.file)) << n;
        EXPECT_EQ(shown.Caption, map.display) << n;
        EXPECT_EQ(file.container(), &s.Frame1) << n;
        EXPECT_EQ(shown.container(), &s.Frame2) << n;
        EXPECT_EQ(file.Top, shown.Top) << n;
        EXPECT_EQ(file.Top, 240 + 360 * (row % 10)) << n;
    }
}

TEST_F(WizardPicker, EveryLabelWritesTheDisplayNameOfItsRow) {
    for (int row = 0; row < 29; ++row) {
        const int n = wizard::file_label_number(row);
        const std::string display(wizard::kMapNames[static_cast<std::size_t>(row)].display);
        for (bool by_display : {false, true}) {
            d.retype(m.txtmap, "x");
            frm_select& s = d.open_picker();
            if (by_display) d.next_view();
            d.click(label(s, by_display ? 61 - n : n));
            EXPECT_EQ(m.txtmap.Text(), display) << n << " " << by_display;
            EXPECT_EQ(m.txtmap.BackColor, wizard::kValid) << n << " " << by_display;
            EXPECT_FALSE(picker_loaded()) << n << " " << by_display;
        }
    }
}

TEST_F(WizardPicker, CancelInEitherViewWritesNothing) {
    for (bool map_view : {false, true}) {
        d.retype(m.txtmap, "Blood gulch");
        frm_select& s = d.open_picker();
        if (map_view) d.next_view();
        d.click(map_view ? s.Labelfucko : s.Labeshit);
        EXPECT_FALSE(picker_loaded()) << map_view;
        EXPECT_EQ(m.txtmap.Text(), "Blood gulch") << map_view;
        EXPECT_EQ(m.txtmap.BackColor, wizard::kInvalid) << map_view;
    }
}

TEST_F(WizardPicker, NextTogglesOnPressAndRestsOnMove) {
    frm_select& s = d.open_picker();
    d.move(s.Image1);
    EXPECT_TRUE(s.Image2.Visible);
    EXPECT_TRUE(s.Frame1.Visible);
    EXPECT_FALSE(s.Frame2.Visible);
    d.down(s.Image2);
    EXPECT_TRUE(s.Image3.Visible);
    EXPECT_TRUE(s.Frame2.Visible);
    EXPECT_EQ(s.cont.Caption, "File");
    d.up(s.Image3);  // only back to rest
    EXPECT_FALSE(s.Image3.Visible);
    EXPECT_FALSE(s.Image2.Visible);
    EXPECT_TRUE(s.Frame2.Visible);

    d.next_view();
    EXPECT_FALSE(s.Frame2.Visible);
    EXPECT_TRUE(s.Frame1.Visible);
    EXPECT_EQ(s.cont.Caption, "Map");
    d.next_view();
    EXPECT_TRUE(s.Frame2.Visible);

    // Hover resets: both frames and the window background; a map label
    // has no reset, so the hover picture stays over it.
    const auto hovered_after = [&](int x, int y) {
        d.move(s.Image1);
        d.move_form(s, x, y);
        return s.Image2.Visible;
    };
    EXPECT_FALSE(hovered_after(180, 4260));  // Frame2
    EXPECT_FALSE(hovered_after(6400, 4500));  // background
    d.move(s.Image1);
    d.move(label(s, 54));
    EXPECT_TRUE(s.Image2.Visible);
    d.next_view();
    EXPECT_FALSE(hovered_after(180, 4260));  // Frame1
    d.move(s.Image1);
    d.move(label(s, 7));
    EXPECT_TRUE(s.Image2.Visible);
    // A caption that is neither state toggles nothing.
    s.cont.Caption = "map";
    const bool before = s.Frame2.Visible;
    d.app.dispatch([&] { s.Command1.press(); });
    EXPECT_EQ(s.Frame2.Visible, before);
    EXPECT_EQ(s.cont.Caption, "map");
}

TEST_F(WizardPicker, ReopensOnTheFileNameView) {
    frm_select& s = d.open_picker();
    d.next_view();
    ASSERT_TRUE(s.Frame2.Visible);
    // Shown again while open: only brought forward.
    d.open_picker();
    EXPECT_TRUE(d.app.get<frm_select>().Frame2.Visible);
    d.click(d.app.get<frm_select>().Labelfucko);
    frm_select& again = d.open_picker();
    EXPECT_FALSE(again.Frame2.Visible);
    EXPECT_EQ(again.cont.Caption, "Map");
    d.next_view();
    d.click(label(again, 54));  // Blood Gulch
    EXPECT_EQ(d.open_picker().cont.Caption, "Map");
    EXPECT_FALSE(d.app.get<frm_select>().Frame2.Visible);
}

TEST_F(WizardPicker, PickWhileOptionsHiddenStillWritesTheField) {
    d.open_picker();
    d.begin();
    ASSERT_FALSE(m.Frame2.Visible);
    d.click(label(d.app.get<frm_select>(), 7));  // " bloodgulch"
    EXPECT_FALSE(picker_loaded());
    EXPECT_EQ(m.txtmap.Text(), "Blood Gulch");
    EXPECT_EQ(m.txtmap.BackColor, wizard::kValid);
    d.options();
    EXPECT_TRUE(m.Frame2.Visible);
    EXPECT_EQ(m.txtmap.Text(), "Blood Gulch");
}

TEST_F(WizardPicker, TypingWhileOpenIsOverwrittenByAPick) {
    frm_select& s = d.open_picker();
    d.type(m.txtmap, "Hal");
    EXPECT_TRUE(picker_loaded());
    d.click(label(s, 2));
    EXPECT_EQ(m.txtmap.Text(), "Halo");
}

}  // namespace
