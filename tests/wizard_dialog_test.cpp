// The greyed compile button's advice and the message dialog that shows it,
// and the map picker with its two views of the 58 map labels.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/driver.h"
#include "wizard/colors.h"

namespace {

using namespace testing_driver;
using namespace wizard;

const std::string kMap = "The name of your map must be a valid Halo map";
const std::string kName = "You must enter a name for the new weapon";
const std::string kFolder = "The name of your weapon must match the name of the new folder";
const std::string kHint = "Label6 Line3 Line4 Line5";

// The main window on its Options step.
class WizardDialog : public ::testing::Test {
protected:
    void SetUp() override { d.to_options("pistol"); }
    frmError& advise() {
        d.click(m.contdis);
        return d.app.get<frmError>();
    }
    bool dialog_loaded() { return d.app.loaded<frmError>(); }
    static forms::Label& label(frm_select& s, int number) {
        return *static_cast<forms::Label*>(s.find("Label" + std::to_string(number)));
    }

    Driver d;
    Form1& m = d.main();
};

TEST_F(WizardDialog, AdviceFollowsTheMapColourThenAnEmptyNameInOneDialogPlacedEachTime) {
    const std::tuple<const char*, const char*, std::string> cases[] = {  // map, name (null: never edited)
        {nullptr, nullptr, kMap}, {"Halo!", "", kMap},         {"Halo!", "magnum", kMap},
        {"Halo", "", kName},      {"Halo", "magnum", kFolder}, {"Halo", "  ", kFolder},  // pink, but not empty
        {"Halo!", "", kMap}};
    const auto serial = d.app.get<frmError>().serial();
    bool hint = false;
    for (const auto& [map, name, advice] : cases) {
        if (map) d.retype(m.txtmap, map);
        if (name) d.retype(m.txtfile, name);
        d.app.get<frmError>().Left = d.app.get<frmError>().Top = 0;
        frmError& e = advise();
        EXPECT_EQ(e.Label1.Caption, advice) << (map ? map : "-") << "/" << (name ? name : "-");
        EXPECT_EQ(e.serial(), serial);  // the open dialog is reused
        EXPECT_TRUE(e.Visible());
        EXPECT_EQ(e.Top, m.Top + 1900);
        EXPECT_EQ(e.Left, m.Left + 1600);
        hint = hint || advice == kFolder;  // once shown, the folder hint stays
        EXPECT_EQ(shown(m, kHint), hint ? kHint : "");
    }
}

TEST_F(WizardDialog, ClosingSelectsTheMapTextAtPumpOrFocusesTheName) {
    d.type(m.txtmap, "Halo!");
    d.type(m.txtfile, "magnum");
    advise();
    d.close_dialog();
    EXPECT_FALSE(dialog_loaded());
    EXPECT_EQ(d.app.focus(), &m.txtmap);
    EXPECT_EQ(m.txtmap.SelLength(), 0);  // Home and Shift+End are posted
    d.pump();
    EXPECT_EQ(m.txtmap.SelText(), "Halo!");

    d.retype(m.txtmap, "Halo");
    d.retype(m.txtfile, "");
    advise();
    d.click(m.Dir1);
    d.close_dialog();
    EXPECT_EQ(d.app.focus(), &m.txtfile);
    EXPECT_FALSE(d.app.pending());
    EXPECT_EQ(m.txtfile.SelLength(), 0);
}

TEST_F(WizardDialog, OtherTextsOrAFieldThatCannotTakeTheFocusLeaveTheFocusAlone) {
    const std::pair<std::string, bool> cases[] = {  // text, whether the Options step is hidden
        {kMap, true},         {kName, true},      {kFolder, false},
        {"", false},          {kMap + " ", false}, {"the name of your map must be a valid Halo map", false},
        {" " + kName, false}, {"You must enter a name for the new Weapon", false},
        {"The pistol has successfully been duplicated to \"magnum\"", false}};
    for (const auto& [text, hidden] : cases) {
        d.retype(m.txtmap, "Halo!");  // the field the map advice would pick
        advise().say(text);
        if (hidden) d.begin();
        ASSERT_EQ(m.Frame2.Visible, !hidden);
        d.app.set_focus(m.Combo1);
        d.close_dialog();
        EXPECT_FALSE(dialog_loaded()) << text;
        EXPECT_EQ(d.app.focus(), &m.Combo1) << text;
        EXPECT_FALSE(d.app.pending()) << text;
        if (hidden) d.options();
    }
    EXPECT_TRUE(d.boxes.shown.empty());
}

TEST_F(WizardDialog, OkClosesOnMoveOrReleaseAndTheNextDialogIsFresh) {
    for (bool release : {false, true}) {
        auto& e = advise();
        const auto serial = e.serial();
        d.move(e.Image1);
        d.app.mouse_move(e, 60, 1300);  // the background resets the button
        EXPECT_FALSE(e.Image2.Visible);
        d.move(e.Image1);
        d.down(e.Image2);
        EXPECT_EQ(shown(e, "Image2 Image3"), "Image2 Image3");
        d.move(e.Label1);  // so does the label
        EXPECT_EQ(shown(e, "Image2 Image3"), "");
        d.press(e.Image1, e.Image2, e.Image3, !release);
        EXPECT_FALSE(dialog_loaded()) << release;
        d.pump();
        // Pressed, then a move over OK: the pressed picture lies on top, and
        // the first move of the next press closes the dialog.
        advise();
        d.move(d.app.get<frmError>().Image1);
        d.down(d.app.get<frmError>().Image2);
        d.close_dialog();
        EXPECT_FALSE(dialog_loaded());
        auto& next = d.app.get<frmError>();
        EXPECT_NE(next.serial(), serial);
        EXPECT_EQ(next.Label1.Caption + "|" + std::to_string(next.Left) + "|" + std::to_string(next.Top), "|3135|1740");
    }
}

class WizardPicker : public WizardDialog {};

TEST_F(WizardPicker, EveryLabelOfBothViewsWritesTheDisplayNameOfItsRowAndCancelNothing) {
    for (bool by_display : {false, true}) {
        // File names on Label1 to Label30 but Label21, display names on 61 - n.
        for (int n = 1, row = 0; n <= 30; ++n) {
            if (n == 21) continue;
            const auto& [file, display] = kMaps[row++];
            d.retype(m.txtmap, "x");
            frm_select& s = d.open_picker();
            EXPECT_EQ(shown(s, "Frame1 Frame2 cont Command1 Image2 Image3"), "Frame1") << n;  // opens on file names
            EXPECT_EQ(label(s, n).Caption + "|" + label(s, 61 - n).Caption,
                      std::string(1, ' ') + file + "|" + display);
            if (by_display) d.press(s.Image1, s.Image2, s.Image3, true);
            d.click(label(s, by_display ? 61 - n : n));
            EXPECT_EQ(m.txtmap.Text(), display) << n;
            EXPECT_EQ(m.txtmap.BackColor, kValid) << n;
            EXPECT_FALSE(d.app.loaded<frm_select>()) << n;
        }
        d.retype(m.txtmap, "Blood gulch");
        frm_select& s = d.open_picker();
        EXPECT_TRUE(!s.find("Label21") && !s.find("Label40"));  // no such labels
        if (by_display) d.press(s.Image1, s.Image2, s.Image3, true);
        d.click(by_display ? s.Labelfucko : s.Labeshit);
        EXPECT_FALSE(d.app.loaded<frm_select>());
        EXPECT_EQ(m.txtmap.Text(), "Blood gulch");
    }
}

TEST_F(WizardPicker, NextTogglesOnPressAndRestsOnMoveAndAPickNeedsNoOptionsStep) {
    frm_select& s = d.open_picker();
    EXPECT_FALSE(m.select1.Visible);
    d.move(s.Image1);
    d.down(s.Image2);
    EXPECT_EQ(shown(s, "Image2 Image3 Frame1 Frame2") + "|" + s.cont.Caption, "Image2 Image3 Frame1 Frame2|File");
    d.up(s.Image3);  // only back to rest
    EXPECT_EQ(shown(s, "Image2 Image3 Frame2"), "Frame2");
    d.open_picker();  // shown again while open: only brought forward
    EXPECT_TRUE(s.Frame2.Visible);

    // Hover resets: both frames and the background; a map label has none.
    for (int label_number : {54, 7}) {
        d.move(s.Image1);
        d.app.mouse_move(s, 180, 4260);  // the frame's bottom edge
        EXPECT_FALSE(s.Image2.Visible);
        d.move(s.Image1);
        d.move(label(s, label_number));
        EXPECT_TRUE(s.Image2.Visible);
        d.press(s.Image1, s.Image2, s.Image3, true);
        EXPECT_EQ(shown(s, "Image2 Image3 Frame2") + "|" + s.cont.Caption, label_number == 54 ? "|Map" : "Frame2|File");
    }
    d.move(s.Image1);
    d.app.mouse_move(s, 6400, 4500);
    EXPECT_FALSE(s.Image2.Visible);

    d.type(m.txtmap, "Hal");
    d.begin();
    ASSERT_FALSE(m.Frame2.Visible);
    d.click(label(s, 54));
    EXPECT_FALSE(d.app.loaded<frm_select>());
    EXPECT_EQ(m.txtmap.Text(), "Blood Gulch");
    EXPECT_EQ(m.txtmap.BackColor, kValid);
}

}  // namespace
