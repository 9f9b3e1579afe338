// The main window's steps: start, Begin, the "Ready" box and its timer, the
// Options tab and its kind echo, and the reset after a finished run.
#include <gtest/gtest.h>

#include "tests/driver.h"
#include "tests/stock_folder.h"
#include "wizard/colors.h"

namespace {

using namespace testing_driver;

// The Begin and Options tabs through their MouseMove bindings.
void begin_by_move(Driver& d) {
    auto& m = d.main();
    d.move(m.Image1);
    d.down(m.Image2);
    d.move(m.Image3);
}

void options_by_move(Driver& d) {
    auto& m = d.main();
    d.move(m.Image8);
    d.down(m.Image9);
    d.move(m.Image10);
}

TEST(WizardSteps, StartShowsOnlyTheWelcomeLineTabsAndTitleBar) {
    Driver d;
    auto& m = d.main();
    EXPECT_TRUE(m.Visible());
    EXPECT_EQ(m.Caption, "Vorlix Tools");
    EXPECT_EQ(m.Left, (d.app.ScreenWidth - 5925) / 2);
    EXPECT_EQ(m.Top, (d.app.ScreenHeight - 5085) / 2);
    for (forms::Control* c : {&m.Welcome, &m.Image1, &m.Image7, &m.Done1, &m.min1, &m.mx1, &m.Xit1})
        EXPECT_TRUE(c->Visible) << c->name();
    for (forms::Control* c : {&m.Image2, &m.Image3, &m.Image4, &m.Image8, &m.Image9, &m.Image10, &m.Image11,
                              &m.Done, &m.Frame1, &m.Frame2, &m.Donefraim, &m.reg1})
        EXPECT_FALSE(c->Visible) << c->name();
    EXPECT_FALSE(m.Check1.Enabled);
    EXPECT_EQ(m.Check1.Value(), 0);
    EXPECT_FALSE(m.Timer1.Enabled);
    EXPECT_EQ(m.Combo1.Text(), "");
    EXPECT_EQ(m.Combo1.BackColor, wizard::kNotReady);
    EXPECT_EQ(m.txtmap.BackColor, wizard::kInvalid);
    EXPECT_EQ(m.txtfile.BackColor, wizard::kInvalid);
    EXPECT_EQ(m.Dir1.BackColor, wizard::kNeutral);
    EXPECT_EQ(m.Drive1.BackColor, wizard::kNeutral);
    EXPECT_TRUE(m.contdis.Visible);
    EXPECT_FALSE(m.conten.Visible);
    const std::vector<std::string> kinds{"assault rifle", "flamethrower", "needler",  "pistol",      "plasma pistol",
                                         "plasma rifle",  "rocket launcher", "shotgun", "sniper rifle"};
    EXPECT_EQ(m.Combo1.items, kinds);
    EXPECT_FALSE(d.app.pending());
}

TEST(WizardSteps, TimerEnablesReadyOnlyAfterBegin) {
    Driver d;
    auto& m = d.main();
    d.tick(1000);
    EXPECT_FALSE(m.Check1.Enabled);

    d.begin();
    EXPECT_TRUE(m.Image4.Visible);
    EXPECT_FALSE(m.Welcome.Visible);
    EXPECT_TRUE(m.Frame1.Visible);
    EXPECT_TRUE(m.Image7.Visible);
    EXPECT_TRUE(m.Timer1.Enabled);

    // Still disabled: a click on the box changes nothing.
    d.click(m.Check1);
    EXPECT_EQ(m.Check1.Value(), 0);
    d.tick(99);
    EXPECT_FALSE(m.Check1.Enabled);
    d.tick(1);
    EXPECT_TRUE(m.Check1.Enabled);
    d.click(m.Check1);
    EXPECT_EQ(m.Check1.Value(), 1);
}

TEST(WizardSteps, ReadyRuleColoursTheKindListEvenWithoutAKind) {
    Driver d;
    auto& m = d.main();
    d.begin();
    d.ready();
    EXPECT_EQ(m.Combo1.Text(), "");
    EXPECT_TRUE(m.Image8.Visible);
    EXPECT_EQ(m.Combo1.BackColor, wizard::kReady);

    d.click(m.Check1);
    EXPECT_EQ(m.Check1.Value(), 0);
    EXPECT_FALSE(m.Image8.Visible);
    EXPECT_EQ(m.Combo1.BackColor, wizard::kNotReady);

    // Set by code, the rule runs all the same.
    d.app.dispatch([&] { m.Check1.SetValue(1); });
    EXPECT_TRUE(m.Image8.Visible);
    EXPECT_EQ(m.Combo1.BackColor, wizard::kReady);
}

TEST(WizardSteps, OptionsEchoesTheKindOnMouseMoveOnly) {
    struct Case {
        bool by_move;
        const char* echo;
    };
    for (const Case c : {Case{false, ""}, Case{true, "needler"}}) {
        Driver d;
        auto& m = d.main();
        d.begin();
        d.pick(m.Combo1, "needler");
        d.ready();
        if (c.by_move)
            options_by_move(d);
        else
            d.options();
        EXPECT_EQ(m.Label3.Caption, c.echo) << c.by_move;
        EXPECT_TRUE(m.Image11.Visible);
        EXPECT_TRUE(m.Frame2.Visible);
        EXPECT_TRUE(m.Frame1.Visible);  // beneath the Options frame
        for (forms::Control* p : {&m.Image2, &m.Image3, &m.Image4}) EXPECT_FALSE(p->Visible) << p->name();
    }
}

TEST(WizardSteps, OptionsTabReactsOnlyWhileReady) {
    Driver d;
    auto& m = d.main();
    d.begin();
    d.tick(100);
    d.options();  // only the inactive picture is there
    EXPECT_FALSE(m.Frame2.Visible);
    EXPECT_FALSE(m.Image11.Visible);
    EXPECT_FALSE(m.Image9.Visible);
}

TEST(WizardSteps, BeginWhileOptionsOpenGoesBackWithoutKeystroke) {
    Driver d;
    auto& m = d.main();
    d.begin();
    d.pump();
    d.pick(m.Combo1, "needler");
    d.ready();
    d.options();
    ASSERT_FALSE(d.app.pending());

    d.begin();
    EXPECT_FALSE(d.app.pending());
    EXPECT_FALSE(m.Frame2.Visible);
    for (forms::Control* p : {&m.Image9, &m.Image10, &m.Image11}) EXPECT_FALSE(p->Visible) << p->name();
    EXPECT_TRUE(m.Frame1.Visible);
    EXPECT_TRUE(m.Image4.Visible);
    EXPECT_TRUE(m.Image8.Visible);  // still ready
    EXPECT_EQ(m.Combo1.Text(), "needler");
}

TEST(WizardSteps, BeginPostsDownThatMovesTheFocusedKindListAtPumpOnly) {
    Driver d;
    auto& m = d.main();
    d.app.set_focus(m.Combo1);  // the first control in tab order
    d.begin();
    EXPECT_TRUE(d.app.pending());
    EXPECT_EQ(m.Combo1.ListIndex(), -1);
    d.pump();
    EXPECT_EQ(m.Combo1.Text(), "assault rifle");
    EXPECT_FALSE(d.app.pending());

    // While the Begin tab shows its active picture it cannot be pressed.
    d.pick(m.Combo1, "needler");
    d.begin();
    EXPECT_FALSE(d.app.pending());
    d.pump();
    EXPECT_EQ(m.Combo1.Text(), "needler");
}

// A finished run, as a completion report leaves the window, with the
// "Ready" box left ticked so that a change to it shows.
class WizardFinishedRun : public ::testing::Test {
protected:
    void SetUp() override {
        auto& m = d.main();
        d.prepare("pistol", "Halo", "magnum", utf8(folder));
        ASSERT_TRUE(m.conten.Visible);
        ASSERT_EQ(m.txtmap.BackColor, wizard::kValid);
        ASSERT_EQ(m.txtfile.BackColor, wizard::kValid);
        ASSERT_EQ(m.Check1.Value(), 1);
        d.pump();
        m.Done.Visible = true;
        m.Donefraim.Visible = true;
        m.Label3.Caption = "pistol";
    }
    void expect_reset() {
        auto& m = d.main();
        EXPECT_FALSE(m.Donefraim.Visible);
        EXPECT_FALSE(m.Done.Visible);
        EXPECT_FALSE(m.Frame2.Visible);
        for (forms::Control* p : {&m.Image9, &m.Image10, &m.Image11}) EXPECT_FALSE(p->Visible) << p->name();
        EXPECT_TRUE(m.Frame1.Visible);
        EXPECT_TRUE(m.Image4.Visible);
        EXPECT_EQ(m.txtmap.Text(), "");
        EXPECT_EQ(m.txtfile.Text(), "");
        EXPECT_EQ(m.txtmap.BackColor, wizard::kInvalid);
        EXPECT_EQ(m.txtfile.BackColor, wizard::kInvalid);
        EXPECT_EQ(m.Label3.Caption, " ");
        // Untouched by the reset.
        EXPECT_EQ(m.Combo1.Text(), "pistol");
        EXPECT_EQ(m.Dir1.BackColor, wizard::kValid);
        EXPECT_EQ(m.Drive1.BackColor, wizard::kValid);
        EXPECT_EQ(m.Dir1.Path(), utf8(folder));
        EXPECT_TRUE(m.conten.Visible);
        // The Options tab was open, yet the reset closed it: DOWN is posted.
        EXPECT_TRUE(d.app.pending());
    }

    TempDir temp;
    fs::path folder = [this] {
        fs::create_directories(temp.path() / "magnum");
        return temp.path() / "magnum";
    }();
    Driver d;
};

TEST_F(WizardFinishedRun, BeginByMouseUpResetsAndClearsReady) {
    auto& m = d.main();
    d.app.set_focus(m.Combo1);
    d.begin();
    expect_reset();
    EXPECT_EQ(m.Check1.Value(), 0);
    EXPECT_FALSE(m.Image8.Visible);
    EXPECT_EQ(m.Combo1.BackColor, wizard::kNotReady);
    d.pump();
    EXPECT_EQ(m.Combo1.Text(), "plasma pistol");
}

TEST_F(WizardFinishedRun, BeginByMouseMoveResetsAndLeavesReady) {
    auto& m = d.main();
    d.click(m.txtfile);  // hidden by the reset: the keystroke goes nowhere
    begin_by_move(d);
    expect_reset();
    EXPECT_EQ(m.Check1.Value(), 1);
    EXPECT_EQ(m.Combo1.BackColor, wizard::kReady);
    d.pump();
    EXPECT_EQ(m.Combo1.Text(), "pistol");
    EXPECT_EQ(m.txtfile.Text(), "");
}

TEST_F(WizardFinishedRun, BeginWithoutDoneFrameKeepsTheFields) {
    auto& m = d.main();
    m.Donefraim.Visible = false;
    d.begin();
    EXPECT_EQ(m.txtmap.Text(), "Halo");
    EXPECT_EQ(m.txtfile.Text(), "magnum");
    EXPECT_EQ(m.Label3.Caption, "pistol");
    EXPECT_EQ(m.Check1.Value(), 1);
    EXPECT_TRUE(m.Done.Visible);  // only the finished-run reset hides it
    EXPECT_FALSE(d.app.pending());  // the Options step was open
}

}  // namespace
