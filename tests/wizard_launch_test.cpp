// The active compile button's launch hand-over, the Done frame after a real
// run, and the closing cascade.
#include <gtest/gtest.h>

#include "objects/duplicator_forms.h"
#include "objects/objects.h"
#include "tests/driver.h"
#include "tests/stock_folder.h"
#include "wizard/colors.h"
#include "wizard/launch.h"

namespace {

using namespace testing_driver;
using duplication::DuplicatorForm;

struct KindForm {
    const char* kind;
    const char* form;
};

const KindForm kKinds[] = {
    {"pistol", "Pistol_frm"},         {"rocket launcher", "Rocket_launcher"}, {"assault rifle", "Assault_rifle"},
    {"flamethrower", "Flamethrower"}, {"sniper rifle", "Sniper_rifle"},       {"warthog", "Warthog"},
    {"needler", "needler"},           {"plasma pistol", "plasma_pistol"},     {"plasma rifle", "plasma_rifle"},
    {"shotgun", "shotgun"},
};

TEST(WizardLaunch, EachKindHasItsOwnDuplicatorForm) {
    forms::Application app;
    for (const KindForm& k : kKinds) {
        DuplicatorForm* f = wizard::duplicator_for(app, k.kind);
        ASSERT_NE(f, nullptr) << k.kind;
        EXPECT_EQ(f->name(), k.form);
        EXPECT_EQ(f->kind(), k.kind);
        EXPECT_FALSE(f->Visible());
    }
    const std::size_t loaded = app.forms().size();
    EXPECT_EQ(loaded, 10u);
    for (const char* other : {"", "Pistol", "pistol ", " pistol", "assault  rifle", "Warthog", "plasma"})
        EXPECT_EQ(wizard::duplicator_for(app, other), nullptr) << other;
    EXPECT_EQ(app.forms().size(), loaded);
}

// The Options step with an accepted folder, ready to press compile. The
// chosen duplicator's create button only counts its clicks.
class WizardHandOver : public ::testing::Test {
protected:
    void prepare(const std::string& kind, const std::string& map = "Halo") {
        fs::create_directories(folder);
        d.prepare(kind, map, "magnum", utf8(folder));
        ASSERT_TRUE(d.main().conten.Visible);
        d.pump();
        target = wizard::duplicator_for(d.app, kind);
        if (target) target->bind("create_Click", [this] { ++runs; });
        forms_before = d.app.forms().size();
    }

    TempDir temp;
    fs::path folder = temp.path() / "weapons" / "magnum";
    Driver d;
    DuplicatorForm* target = nullptr;
    int runs = 0;
    std::size_t forms_before = 0;
};

TEST_F(WizardHandOver, EveryListedKindIsHandedOverAndRunAtPump) {
    for (const std::string& kind : d.main().Combo1.items) {
        Driver local;
        auto& m = local.main();
        fs::create_directories(folder);
        local.prepare(kind, "Halo", "magnum", utf8(folder));
        local.pump();
        DuplicatorForm* f = wizard::duplicator_for(local.app, kind);
        ASSERT_NE(f, nullptr) << kind;
        int count = 0;
        f->bind("create_Click", [&] { ++count; });

        local.compile();
        EXPECT_TRUE(f->Visible()) << kind;
        EXPECT_EQ(f->txtmap.Text(), "Halo") << kind;
        EXPECT_EQ(f->txtfile.Text(), "magnum") << kind;
        EXPECT_EQ(f->Drive1.Drive(), m.Drive1.Drive()) << kind;
        EXPECT_EQ(f->Dir1.Path(), utf8(folder)) << kind;
        EXPECT_EQ(local.app.focus(), &f->create) << kind;
        EXPECT_EQ(m.tfile.Caption, "magnum") << kind;
        // Enter is posted: the run starts only when the loop delivers it.
        EXPECT_EQ(count, 0) << kind;
        EXPECT_TRUE(local.app.pending()) << kind;
        local.pump();
        EXPECT_EQ(count, 1) << kind;
        EXPECT_TRUE(local.boxes.shown.empty()) << kind;
    }
}

TEST_F(WizardHandOver, OnePressLaunchesOnce) {
    prepare("pistol");
    auto& m = d.main();
    d.compile();
    EXPECT_FALSE(m.cont2.Visible);
    EXPECT_FALSE(m.cont1.Visible);
    d.pump();
    ASSERT_EQ(runs, 1);
    for (int i = 0; i < 3; ++i) {
        d.move(m.conten);
        d.move(m.cont1);
    }
    d.pump();
    EXPECT_EQ(runs, 1);
    // A new press is a new launch.
    d.compile();
    d.pump();
    EXPECT_EQ(runs, 2);
}

TEST_F(WizardHandOver, EmptyKindDoesNothing) {
    prepare("");
    auto& m = d.main();
    ASSERT_EQ(m.Combo1.Text(), "");
    ASSERT_EQ(m.Image8.Visible, true);
    d.compile();
    EXPECT_EQ(d.app.forms().size(), forms_before);
    EXPECT_FALSE(d.app.pending());
    EXPECT_TRUE(d.boxes.shown.empty());
}

TEST_F(WizardHandOver, PinkMapLaunchesAllTheSame) {
    prepare("plasma rifle", "");
    auto& m = d.main();
    ASSERT_EQ(m.txtmap.BackColor, wizard::kInvalid);
    d.retype(m.txtfile, "    ");  // pink name too: nothing is checked at launch
    d.compile();
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(target->Visible());
    EXPECT_EQ(target->txtmap.Text(), "");
    EXPECT_EQ(target->txtfile.Text(), "    ");
    d.pump();
    EXPECT_EQ(runs, 1);
}

TEST_F(WizardHandOver, RemovedFolderIsReportedAndNothingLaunches) {
    prepare("pistol");
    d.app.unload(*target);  // as before the first launch: not loaded
    fs::remove_all(folder);
    d.compile();
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    EXPECT_EQ(d.boxes.shown[0].style, 16);
    EXPECT_EQ(d.boxes.shown[0].title, "Folder not found");
    EXPECT_NE(d.boxes.shown[0].text.find(utf8(folder)), std::string::npos) << d.boxes.shown[0].text;
    EXPECT_FALSE(d.app.loaded<objects::Pistol_frm>());
    EXPECT_FALSE(d.app.pending());
    d.pump();
    EXPECT_EQ(d.boxes.shown.size(), 1u);
}

TEST_F(WizardHandOver, RealPistolRunShowsDoneAndBeginStartsAgain) {
    const fs::path root = make_stock_copy(temp.path(), objects::table("pistol"), "magnum");
    d.prepare("pistol", "Blood Gulch", "magnum", utf8(root));
    d.compile();
    d.pump();
    auto& m = d.main();
    ASSERT_EQ(d.boxes.shown.size(), 2u);  // the two confirmations
    EXPECT_FALSE(d.app.loaded<objects::Pistol_frm>());
    EXPECT_TRUE(fs::exists(root / "magnum.weap.meta"));

    EXPECT_TRUE(m.Donefraim.Visible);
    EXPECT_TRUE(m.Done.Visible);
    EXPECT_EQ(m.completed.Caption, "The pistol has successfully been duplicated to");
    EXPECT_EQ(m.tfile.Caption, "magnum");
    EXPECT_TRUE(m.Image7.Visible);
    for (forms::Control* p : {&m.Image8, &m.Image9, &m.Image10, &m.Image11}) EXPECT_FALSE(p->Visible) << p->name();
    EXPECT_EQ(m.Check1.Value(), 0);
    EXPECT_TRUE(m.Check1.Enabled);
    EXPECT_EQ(m.Combo1.BackColor, wizard::kNotReady);
    EXPECT_EQ(m.txtmap.Text(), "Blood Gulch");
    EXPECT_TRUE(m.conten.Visible);
    auto& e = d.app.get<wizard::frmError>();
    EXPECT_TRUE(e.Visible());
    EXPECT_EQ(e.Label1.Caption, "The pistol has successfully been duplicated to \"magnum\"");
    EXPECT_EQ(e.Top, m.Top + 2400);
    EXPECT_EQ(e.Left, m.Left + 1000);

    d.begin();
    EXPECT_FALSE(m.Donefraim.Visible);
    EXPECT_FALSE(m.Done.Visible);
    EXPECT_FALSE(m.Frame2.Visible);
    EXPECT_TRUE(m.Frame1.Visible);
    EXPECT_EQ(m.Combo1.Text(), "pistol");
    EXPECT_EQ(m.Check1.Value(), 0);
    EXPECT_EQ(m.txtmap.Text(), "");
    EXPECT_EQ(m.txtfile.BackColor, wizard::kInvalid);
    EXPECT_EQ(m.Label3.Caption, " ");
    // The Done frame's labels keep the last run until the next one.
    EXPECT_EQ(m.completed.Caption, "The pistol has successfully been duplicated to");
    EXPECT_TRUE(d.app.pending());

    d.app.set_focus(m.Combo1);
    d.close_dialog();
    EXPECT_EQ(d.app.focus(), &m.Combo1);
}

const std::vector<std::string> kCascade{"Assault_rifle", "Flamethrower",  "frm_select",   "frmError",
                                        "needler",       "Pistol_frm",    "plasma_pistol", "plasma_rifle",
                                        "Rocket_launcher", "shotgun",     "Sniper_rifle", "Warthog"};

TEST(WizardClosing, ExitUnloadsTheOtherFormsInOrder) {
    enum class Way { ExitReleased, ExitMoved, SystemClose };
    for (Way way : {Way::ExitReleased, Way::ExitMoved, Way::SystemClose}) {
        Driver d;
        auto& app = d.app;
        const std::vector<forms::Form*> others{
            &app.get<objects::Assault_rifle>(), &app.get<objects::Flamethrower>(), &app.get<wizard::frm_select>(),
            &app.get<wizard::frmError>(),       &app.get<objects::needler>(),      &app.get<objects::Pistol_frm>(),
            &app.get<objects::plasma_pistol>(), &app.get<objects::plasma_rifle>(), &app.get<objects::Rocket_launcher>(),
            &app.get<objects::shotgun>(),       &app.get<objects::Sniper_rifle>(), &app.get<objects::Warthog>()};
        std::vector<std::string> order;
        // Loaded in reverse, so load order cannot pass for the cascade's.
        for (auto it = others.rbegin(); it != others.rend(); ++it) {
            forms::Form* f = *it;
            f->bind("Form_QueryUnload", [&order, f] { order.push_back(f->name()); });
        }
        auto& m = d.main();
        if (way == Way::SystemClose) {
            app.dispatch([&] { m.Unload(); });
        } else if (way == Way::ExitReleased) {
            d.press_exit();
        } else {
            d.move(m.Xit1);
            d.down(m.Xit2);
            d.move(m.Xit3);
        }
        EXPECT_EQ(order, kCascade) << static_cast<int>(way);
        EXPECT_TRUE(app.ended());
        EXPECT_TRUE(app.forms().empty());
    }
}

TEST(WizardClosing, ExitWithNothingLoadedOrAdviceOpenEndsQuietly) {
    {
        Driver d;
        d.press_exit();
        EXPECT_TRUE(d.app.ended());
        EXPECT_TRUE(d.boxes.shown.empty());
    }
    {
        Driver d;
        auto& m = d.main();
        d.begin();
        d.pump();
        d.ready();
        d.options();
        d.click(m.contdis);  // map advice: its refocus runs in the cascade
        d.open_picker();
        d.press_exit();
        EXPECT_TRUE(d.app.ended());
        EXPECT_TRUE(d.boxes.shown.empty());
        d.pump();  // whatever the dialog posted goes nowhere
        EXPECT_TRUE(d.boxes.shown.empty());
    }
}

TEST_F(WizardHandOver, ExitAfterALaunchUnloadsTheStillLoadedDuplicator) {
    prepare("shotgun");
    d.compile();
    d.pump();
    ASSERT_EQ(runs, 1);
    ASSERT_TRUE(target->Visible());
    d.press_exit();
    EXPECT_FALSE(d.app.loaded<objects::shotgun>());
    EXPECT_TRUE(d.app.ended());
}

}  // namespace
