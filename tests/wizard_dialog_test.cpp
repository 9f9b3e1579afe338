// The greyed compile button's advice and the message dialog that shows it:
// texts, placement, the folder hint, and the refocus when the dialog closes.
#include <gtest/gtest.h>

#include "tests/driver.h"
#include "tests/stock_folder.h"
#include "wizard/colors.h"

namespace {

using namespace testing_driver;
using wizard::frmError;

class WizardDialog : public ::testing::Test {
protected:
    void SetUp() override {
        d.begin();
        d.pump();
        d.pick(m.Combo1, "pistol");
        d.ready();
        d.options();
    }
    frmError& advise() {
        d.click(m.contdis);
        return d.app.get<frmError>();
    }
    frmError& dialog() { return d.app.get<frmError>(); }
    bool dialog_loaded() { return d.app.loaded<frmError>(); }

    Driver d;
    wizard::Form1& m = d.main();
};

TEST_F(WizardDialog, AdviceDependsOnMapColourThenEmptyName) {
    struct Case {
        const char* map;
        const char* name;
        const char* advice;
        bool hint;
    };
    const Case cases[] = {
        {nullptr, nullptr, wizard::kMapAdvice, false},  // fields never edited
        {"Halo!", "", wizard::kMapAdvice, false},
        {"Halo!", "magnum", wizard::kMapAdvice, false},
        {"Halo", "", wizard::kNameAdvice, false},
        {"Halo", "magnum", wizard::kFolderAdvice, true},
        {"Halo", "  ", wizard::kFolderAdvice, true},  // pink, but not empty
    };
    for (const Case& c : cases) {
        Driver local;
        auto& w = local.main();
        local.begin();
        local.pick(w.Combo1, "pistol");
        local.ready();
        local.options();
        if (c.map) local.retype(w.txtmap, c.map);
        if (c.name) local.retype(w.txtfile, c.name);
        local.click(w.contdis);
        auto& e = local.app.get<frmError>();
        EXPECT_TRUE(e.Visible());
        EXPECT_EQ(e.Label1.Caption, c.advice) << (c.map ? c.map : "-") << "/" << (c.name ? c.name : "-");
        EXPECT_EQ(e.Top, w.Top + 1900);
        EXPECT_EQ(e.Left, w.Left + 1600);
        for (forms::Control* h : {static_cast<forms::Control*>(&w.Label6), static_cast<forms::Control*>(&w.Line3),
                                  static_cast<forms::Control*>(&w.Line4), static_cast<forms::Control*>(&w.Line5)})
            EXPECT_EQ(h->Visible, c.hint) << h->name();
        EXPECT_TRUE(local.boxes.shown.empty());
    }
    EXPECT_EQ(std::string(wizard::kMapAdvice), "The name of your map must be a valid Halo map");
    EXPECT_EQ(std::string(wizard::kNameAdvice), "You must enter a name for the new weapon");
    EXPECT_EQ(std::string(wizard::kFolderAdvice), "The name of your weapon must match the name of the new folder");
}

TEST_F(WizardDialog, HintStaysAfterTheFieldsAreFixed) {
    d.retype(m.txtmap, "Halo");
    d.retype(m.txtfile, "magnum");
    advise();
    d.close_dialog();
    d.retype(m.txtmap, "Halo!");
    advise();
    EXPECT_EQ(dialog().Label1.Caption, wizard::kMapAdvice);
    EXPECT_TRUE(m.Label6.Visible);
    EXPECT_TRUE(m.Line3.Visible);
}

TEST_F(WizardDialog, AdviceTwiceReusesTheDialogAndPlacesItAgain) {
    frmError& first = advise();
    const auto serial = first.serial();
    first.Left = 0;
    first.Top = 0;
    d.retype(m.txtmap, "Halo");
    frmError& second = advise();
    EXPECT_EQ(second.serial(), serial);
    EXPECT_EQ(second.Label1.Caption, wizard::kNameAdvice);
    EXPECT_EQ(second.Top, m.Top + 1900);
    EXPECT_EQ(second.Left, m.Left + 1600);
    int dialogs = 0;
    for (forms::Form* f : d.app.forms()) dialogs += f->name() == "frmError";
    EXPECT_EQ(dialogs, 1);
    // The refocus follows the last text only.
    d.close_dialog();
    EXPECT_EQ(d.app.focus(), &m.txtfile);
    EXPECT_FALSE(d.app.pending());
}

TEST_F(WizardDialog, ClosingMapAdviceSelectsTheWholeMapTextAfterPump) {
    d.type(m.txtmap, "Halo!");
    ASSERT_EQ(m.txtmap.SelStart(), 5);
    d.type(m.txtfile, "magnum");
    advise();
    d.close_dialog();
    EXPECT_FALSE(dialog_loaded());
    EXPECT_EQ(d.app.focus(), &m.txtmap);
    // Home and Shift+End are posted, not run at once.
    EXPECT_TRUE(d.app.pending());
    EXPECT_EQ(m.txtmap.SelLength(), 0);
    d.pump();
    EXPECT_EQ(m.txtmap.SelStart(), 0);
    EXPECT_EQ(m.txtmap.SelLength(), 5);
    EXPECT_EQ(m.txtmap.SelText(), "Halo!");
    EXPECT_EQ(m.txtmap.Text(), "Halo!");
}

TEST_F(WizardDialog, ClosingNameAdviceFocusesTheNameWithoutSelection) {
    d.type(m.txtmap, "Halo");
    advise();
    d.click(m.Dir1);
    ASSERT_EQ(d.app.focus(), &m.Dir1);
    d.close_dialog();
    EXPECT_FALSE(dialog_loaded());
    EXPECT_EQ(d.app.focus(), &m.txtfile);
    EXPECT_FALSE(d.app.pending());
    EXPECT_EQ(m.txtfile.SelLength(), 0);
}

TEST_F(WizardDialog, OtherTextsLeaveTheFocusAlone) {
    const std::string others[] = {
        wizard::kFolderAdvice,
        "The pistol has successfully been duplicated to \"magnum\"",
        "All XML files created successfully",
        "",
        "the name of your map must be a valid Halo map",
        "The name of your map must be a valid Halo map ",
        " You must enter a name for the new weapon",
        "You must enter a name for the new Weapon",
    };
    for (const std::string& text : others) {
        d.retype(m.txtmap, "Halo!");  // the field the map advice would pick
        advise();
        dialog().Label1.Caption = text;
        d.app.set_focus(m.Drive1);
        d.close_dialog();
        EXPECT_FALSE(dialog_loaded()) << text;
        EXPECT_EQ(d.app.focus(), &m.Drive1) << text;
        EXPECT_FALSE(d.app.pending()) << text;
    }
}

TEST_F(WizardDialog, OkClosesOnMoveOrReleaseOverThePressedPicture) {
    for (bool release : {false, true}) {
        advise();
        auto& e = dialog();
        d.move(e.Image1);
        EXPECT_TRUE(e.Image2.Visible);
        // Hover resets of the dialog: background and label.
        d.move_form(e, 60, 1300);
        EXPECT_FALSE(e.Image2.Visible);
        d.move(e.Image1);
        d.down(e.Image2);
        EXPECT_TRUE(e.Image3.Visible);
        d.move(e.Label1);
        EXPECT_FALSE(e.Image2.Visible);
        EXPECT_FALSE(e.Image3.Visible);
        EXPECT_TRUE(dialog_loaded());
        d.move(e.Image1);
        d.down(e.Image2);
        if (release)
            d.up(e.Image3);
        else
            d.move(e.Image3);
        EXPECT_FALSE(dialog_loaded()) << release;
        d.pump();
    }
}

TEST_F(WizardDialog, FieldThatCannotTakeTheFocusStillClosesTheDialog) {
    for (bool map_advice : {true, false}) {
        if (map_advice)
            d.retype(m.txtmap, "Halo!");
        else
            d.retype(m.txtmap, "Halo");
        d.retype(m.txtfile, "");
        d.pump();
        advise();
        d.begin();  // hides the Options frame and its fields
        d.pump();
        ASSERT_FALSE(m.Frame2.Visible);
        d.boxes.shown.clear();
        d.app.set_focus(m.Combo1);
        d.close_dialog();
        EXPECT_FALSE(dialog_loaded()) << map_advice;
        EXPECT_TRUE(d.boxes.shown.empty()) << map_advice;
        EXPECT_EQ(d.app.focus(), &m.Combo1) << map_advice;
        EXPECT_FALSE(d.app.pending()) << map_advice;
        d.options();
    }
}

TEST_F(WizardDialog, FreshDialogStandsAtItsDesignPlace) {
    auto& e = dialog();
    e.Show();
    EXPECT_EQ(e.Left, 3135);
    EXPECT_EQ(e.Top, 1740);
    EXPECT_EQ(e.Label1.Caption, "");
    EXPECT_EQ(e.ClientWidth, 3765);
    EXPECT_EQ(e.ClientHeight, 1485);

    // After an advice and a close, the next one is loaded afresh.
    advise();
    const auto serial = dialog().serial();
    d.close_dialog();
    d.pump();
    EXPECT_NE(dialog().serial(), serial);
    EXPECT_EQ(dialog().Label1.Caption, "");
    EXPECT_EQ(dialog().Left, 3135);
}

}  // namespace
