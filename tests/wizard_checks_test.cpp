// The colour checks of the map name, the new name, the folder and the drive.
#include <gtest/gtest.h>

#include "tests/driver.h"
#include "tests/stock_folder.h"
#include "wizard/colors.h"
#include "wizard/map_names.h"

namespace {

using namespace testing_driver;

// The main window on its Options step.
class WizardChecks : public ::testing::Test {
protected:
    void SetUp() override {
        d.begin();
        d.pump();
        d.pick(m.Combo1, "pistol");
        d.ready();
        d.options();
    }
    fs::path make(const std::string& rel) {
        const fs::path p = temp.path() / fs_path(rel);
        fs::create_directories(p);
        return p;
    }
    void open(const fs::path& folder) {
        d.app.dispatch([&] { m.Dir1.SetPath(utf8(folder)); });
    }
    forms::Color map_colour(const std::string& text) {
        d.retype(m.txtmap, text);
        return m.txtmap.BackColor;
    }

    TempDir temp;
    Driver d;
    wizard::Form1& m = d.main();
};

TEST_F(WizardChecks, MapFieldAcceptsExactlyTheDisplayNames) {
    for (const auto& row : wizard::kMapNames) {
        EXPECT_EQ(map_colour(std::string(row.display)), wizard::kValid) << row.display;
        EXPECT_EQ(map_colour(std::string(row.file)), wizard::kInvalid) << row.file;
        EXPECT_EQ(map_colour(" " + std::string(row.file)), wizard::kInvalid) << row.file;
    }
    const char* refused[] = {
        "Blood gulch", "Blood Gulch ", " Blood Gulch", "blood gulch", "BLOOD GULCH", "Blood  Gulch",
        "Pillar of Autumn",        // the game's spelling is not the table's
        "Hang \xE2\x80\x99" "em High",  // typographic apostrophe
        "Hang em High", "Chiron TL-34", "", "Halo\n",
    };
    for (const char* text : refused) EXPECT_EQ(map_colour(text), wizard::kInvalid) << text;
    EXPECT_EQ(map_colour("Pillar of Autum"), wizard::kValid);
    EXPECT_EQ(map_colour("Hang 'em High"), wizard::kValid);
}

TEST_F(WizardChecks, NameIsRefusedOnlyWhenEmptyOrOneToFourBlanks) {
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {"", false},      {" ", false},     {"  ", false}, {"   ", false}, {"    ", false},
        {"     ", true},  {"      ", true}, {"a", true},   {" a", true},  {"a   ", true},
        {"\t", true},     {"magnum", true},
    };
    for (const Case& c : cases) {
        d.retype(m.txtfile, "x");  // a change from any state
        d.retype(m.txtfile, c.text);
        EXPECT_EQ(m.txtfile.BackColor, c.valid ? wizard::kValid : wizard::kInvalid) << '"' << c.text << '"';
    }
    // The name check leaves the folder and the other colours alone.
    EXPECT_EQ(m.Dir1.BackColor, wizard::kNeutral);
    EXPECT_EQ(m.txtmap.BackColor, wizard::kInvalid);
    EXPECT_EQ(m.Combo1.BackColor, wizard::kReady);
}

TEST_F(WizardChecks, FolderMustHoldTheNameCaseSensitivelyAfterItsFirstCharacter) {
    struct Case {
        const char* folder;  // below the temporary directory
        const char* name;
        bool accepted;
    };
    const Case cases[] = {
        {"magnum", "magnum", true},
        {"Magnum", "magnum", false},  // case differs
        {"magnum", "Magnum", false},
        {"magnum", "mag", true},      // part of the folder name
        {"magnum", "gnu", true},
        {"magnum/fp", "magnum", true},  // in an earlier folder
        {"magnums", "magnum", true},
        {"magnum", "magnum2", false},
        {"magnum", "     ", false},  // five blanks: a valid name, but not in the path
    };
    for (const Case& c : cases) {
        ASSERT_EQ(utf8(temp.path()).find(c.name), std::string::npos) << c.name;
        const fs::path folder = make(c.folder);
        d.retype(m.txtfile, c.name);
        open(temp.path());
        open(folder);
        EXPECT_EQ(m.Dir1.BackColor, c.accepted ? wizard::kValid : wizard::kInvalid) << c.folder << " " << c.name;
        EXPECT_EQ(m.Drive1.BackColor, c.accepted ? wizard::kValid : wizard::kNeutral) << c.folder << " " << c.name;
    }
}

TEST_F(WizardChecks, NameAtTheFirstCharacterOnlyIsNotFound) {
    const fs::path folder = make("x");
    const std::string path = utf8(folder);
    // A prefix of the path that stands nowhere else in it.
    const std::string prefix = path.substr(0, 3);
    ASSERT_EQ(path.find(prefix, 1), std::string::npos) << path;
    d.retype(m.txtfile, prefix);
    open(folder);
    EXPECT_EQ(m.Dir1.BackColor, wizard::kInvalid);
    EXPECT_FALSE(m.conten.Visible);
    // One character further on, it is found.
    d.retype(m.txtfile, path.substr(1, 3));
    open(temp.path());
    EXPECT_EQ(m.Dir1.BackColor, wizard::kValid);
}

TEST_F(WizardChecks, FolderBeforeAnyNameIsRefused) {
    open(make("magnum"));
    EXPECT_EQ(m.Dir1.BackColor, wizard::kInvalid);
    EXPECT_EQ(m.Drive1.BackColor, wizard::kNeutral);
    EXPECT_FALSE(m.conten.Visible);
    EXPECT_TRUE(m.contdis.Visible);
}

TEST_F(WizardChecks, AcceptedFolderKeepsTheButtonActiveForGood) {
    const fs::path magnum = make("magnum");
    const fs::path other = make("other");
    d.type(m.txtfile, "magnum");
    open(magnum);
    EXPECT_EQ(m.Dir1.BackColor, wizard::kValid);
    EXPECT_TRUE(m.conten.Visible);

    // A later name change does not repeat the folder check.
    d.retype(m.txtfile, "other name");
    EXPECT_EQ(m.Dir1.BackColor, wizard::kValid);
    EXPECT_EQ(m.Drive1.BackColor, wizard::kValid);

    // A refused folder recolours the lists, but the button stays active.
    open(other);
    EXPECT_EQ(m.Dir1.BackColor, wizard::kInvalid);
    EXPECT_EQ(m.Drive1.BackColor, wizard::kNeutral);
    EXPECT_TRUE(m.conten.Visible);
    d.retype(m.txtfile, "");
    open(magnum);
    EXPECT_EQ(m.Dir1.BackColor, wizard::kInvalid);
    EXPECT_TRUE(m.conten.Visible);
}

TEST_F(WizardChecks, FolderListDoubleClickRunsTheCheck) {
    const fs::path magnum = make("magnum");
    d.type(m.txtfile, "magnum");
    open(temp.path());
    EXPECT_EQ(m.Dir1.BackColor, wizard::kInvalid);
    ASSERT_TRUE(d.open_folder(m.Dir1, utf8(magnum)));
    EXPECT_EQ(m.Dir1.Path(), utf8(magnum));
    EXPECT_EQ(m.Dir1.BackColor, wizard::kValid);
}

TEST_F(WizardChecks, DriveThatCannotBeOpenedIsReportedAndChangesNothing) {
    const fs::path good = make("magnum");
    const std::string missing = utf8(temp.path() / "no drive here");
    d.app.drive_provider = [&] { return std::vector<std::string>{utf8(temp.path()), missing}; };
    d.type(m.txtfile, "magnum");
    open(good);
    ASSERT_EQ(m.Dir1.BackColor, wizard::kValid);
    d.boxes.shown.clear();

    d.pick_drive(m.Drive1, missing);
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    EXPECT_EQ(d.boxes.shown[0].text, "Please select a valid drive");
    EXPECT_EQ(d.boxes.shown[0].style, 16);
    EXPECT_EQ(d.boxes.shown[0].title, "Drive not found");
    EXPECT_EQ(m.Drive1.Drive(), missing);
    EXPECT_EQ(m.Dir1.Path(), utf8(good));
    EXPECT_EQ(m.Dir1.BackColor, wizard::kValid);
    EXPECT_EQ(m.Drive1.BackColor, wizard::kValid);
}

TEST_F(WizardChecks, DriveChangeMovesTheFolderListAndChecksIt) {
    const fs::path drive = make("magnum drive");
    d.app.drive_provider = [&] { return std::vector<std::string>{utf8(drive)}; };
    d.type(m.txtfile, "magnum");
    d.pick_drive(m.Drive1, utf8(drive));
    EXPECT_TRUE(d.boxes.shown.empty());
    EXPECT_EQ(m.Dir1.Path(), utf8(drive));
    EXPECT_EQ(m.Dir1.BackColor, wizard::kValid);
    EXPECT_EQ(m.Drive1.BackColor, wizard::kValid);
    EXPECT_TRUE(m.conten.Visible);
}

}  // namespace
