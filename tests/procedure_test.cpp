// The duplication procedure end to end through the wizard, on real
// temporary folders and on a file system that fails on purpose.
#include <gtest/gtest.h>

#include "duplication/procedure.h"
#include "objects/objects.h"
#include "tests/driver.h"
#include "tests/msf_lines.h"
#include "tests/stock_folder.h"
#include "wizard/frm_error.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;

constexpr const char* kTitle = "Vorlix Tools v0.8";

class Duplication : public ::testing::Test {
protected:
    void run(const std::string& kind, const std::string& table_name, const std::string& name,
             const std::string& map = "Blood Gulch") {
        root = make_stock_copy(temp.path(), objects::table(table_name), name);
        d.prepare(kind, map, name, utf8(root));
        d.boxes.shown.clear();
        d.compile();
        d.pump();
    }
    void rerun() {
        d.boxes.shown.clear();
        d.compile();
        d.pump();
    }
    void expect_error_report() {
        ASSERT_EQ(d.boxes.shown.size(), 1u);
        EXPECT_EQ(d.boxes.shown[0].style, forms::kCritical);
        EXPECT_EQ(d.boxes.shown[0].title, duplication::kErrorTitle);
        EXPECT_FALSE(d.main().Donefraim.Visible);
    }

    TempDir temp;
    Driver d;
    fs::path root;
};

// Beyond what every kind's run shows: the purge of old files, the boxes'
// styles and the completion report in the windows.
TEST_F(Duplication, PistolRunPurgesTheListedFoldersAndReports) {
    run("pistol", "pistol", "magnum");
    ASSERT_EQ(d.boxes.shown.size(), 2u);
    for (const Box& box : d.boxes.shown) {
        EXPECT_EQ(box.style, forms::kOkOnly);
        EXPECT_EQ(box.title, kTitle);
    }
    int xml = 0;
    for (const auto& [rel, bytes] : snapshot(root))
        if (rel.ends_with(".xml")) ++xml;
    EXPECT_EQ(xml, 53 + 2);  // plus the two unlisted ones
    EXPECT_EQ(read_bytes(root / "bitmaps" / "magnum_card.bitm.xml"), msf_lines::card_bitmap("magnum"));
    // Old .xml only in the listed folders; everything else untouched.
    EXPECT_FALSE(fs::exists(root / "old.xml"));
    EXPECT_FALSE(fs::exists(root / "fp" / "shaders" / "old.xml"));
    EXPECT_EQ(read_bytes(root / "notes" / "old.xml"), "unlisted");
    EXPECT_EQ(read_bytes(root / "fp" / "models" / "deep.xml"), "unlisted deeper");
    EXPECT_TRUE(fs::exists(root / "keep.meta"));

    auto& m = d.main();
    EXPECT_TRUE(m.Done.Visible);
    EXPECT_TRUE(m.Donefraim.Visible);
    for (auto* i : {&m.Image8, &m.Image9, &m.Image10, &m.Image11}) EXPECT_FALSE(i->Visible);
    EXPECT_EQ(m.Check1.Value(), 0);
    EXPECT_EQ(m.Combo1.BackColor, 8421631u);
    auto& dialog = d.app.get<wizard::frmError>();
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(dialog.Top, m.Top + 2400);
    EXPECT_EQ(dialog.Left, m.Left + 1000);
}

TEST_F(Duplication, NamesOutsideTheCodeAsciiRangeAreWrittenInWindows1252) {
    run("pistol", "pistol", "caf\xC3\xA9", "Hang 'em High");
    ASSERT_EQ(d.boxes.shown.size(), 2u);
    const std::string bytes = read_bytes(root / "bitmaps" / fs_path("caf\xC3\xA9_card.bitm.xml"));
    EXPECT_NE(bytes.find("<Filename>weapons\\caf\xE9\\bitmaps\\caf\xE9_card</Filename>\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("<Map>Hang 'em High</Map>\r\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(root / fs_path("caf\xC3\xA9.weap.meta")));
}

TEST_F(Duplication, AssaultRifleRunsItsDriveHandlerInsideTheLaunch) {
    int drive_changes = 0;
    root = make_stock_copy(temp.path(), objects::table("assault_rifle"), "ar2");
    d.prepare("assault rifle", "Blood Gulch", "ar2", utf8(root));
    auto& form = d.duplicator("assault rifle");
    form.bind("Drive1_Change", [&drive_changes, own = form.handler("Drive1_Change")] {
        ++drive_changes;
        own();
    });
    d.compile();
    EXPECT_EQ(drive_changes, 1);
    EXPECT_EQ(form.Dir1.Path(), utf8(root));  // the folder copy wins
    d.pump();
    ASSERT_EQ(d.boxes.shown.size(), 2u);
    EXPECT_TRUE(fs::exists(root / "ar2.weap.meta"));
    EXPECT_EQ(d.app.get<wizard::frmError>().Label1.Caption,
              "The assault rifle has successfully been duplicated to \"ar2\"");
}

TEST_F(Duplication, AssaultRifleDriveThatCannotBeOpenedStartsNoRun) {
    root = make_stock_copy(temp.path(), objects::table("assault_rifle"), "ar2");
    d.prepare("assault rifle", "Blood Gulch", "ar2", utf8(root));
    const std::string gone = utf8(temp.path() / "no medium");
    d.app.drive_provider = [gone] { return std::vector<std::string>{"/", gone}; };
    // The main window's drive list shows a drive that is gone by now.
    d.app.dispatch([&] { d.main().Drive1.SetDrive(gone); });
    d.boxes.shown.clear();
    d.app.dispatch([&] { d.main().Dir1.SetPath(utf8(root)); });
    const auto before = snapshot(root);
    d.compile();
    d.pump();
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    EXPECT_EQ(d.boxes.shown[0].title, "Drive not found");
    EXPECT_NE(d.boxes.shown[0].text.find("no medium"), std::string::npos);
    EXPECT_FALSE(d.duplicator("assault rifle").Visible());
    EXPECT_EQ(snapshot(root), before);
}

// Started from a folder on no drive of the list (a network path on Windows):
// the drive lists hold no drive; the assault rifle's drive handler, run inside
// the launch, leaves the folder chosen.
TEST(NoDrive, TheAssaultRifleDuplicatesFromAFolderOnNoListedDrive) {
    TempDir temp;
    const std::string elsewhere = utf8(temp.path() / "elsewhere");
    Driver d(objects::built_in(), [elsewhere] { return std::vector<std::string>{elsewhere}; });
    ASSERT_EQ(d.main().Drive1.Drive(), "");
    const fs::path root = make_stock_copy(temp.path(), objects::table("assault_rifle"), "ar2");
    d.prepare("assault rifle", "Blood Gulch", "ar2", utf8(root));
    d.compile();
    EXPECT_EQ(d.duplicator("assault rifle").Dir1.Path(), utf8(root));
    d.pump();
    ASSERT_EQ(d.boxes.shown.size(), 2u) << d.boxes.shown.at(0).text;
    EXPECT_TRUE(fs::exists(root / "ar2.weap.meta"));
    EXPECT_EQ(d.main().completed.Caption, "The assault rifle has successfully been duplicated to");
}

TEST_F(Duplication, PlasmaRifleUnloadsAfterAFailedRunAndComesBackFresh) {
    root = make_stock_copy(temp.path(), objects::table("plasma_rifle"), "ion lance");
    fs::remove(root / "bitmaps" / "plasma rifle_card.bitm.meta");
    d.prepare("plasma rifle", "Blood Gulch", "ion lance", utf8(root));
    d.compile();
    const auto serial = d.duplicator("plasma rifle").serial();
    d.pump();
    expect_error_report();
    EXPECT_FALSE(d.loaded("plasma_rifle"));

    write_text(root / "bitmaps" / "plasma rifle_card.bitm.meta", "stock");
    rerun();
    ASSERT_EQ(d.boxes.shown.size(), 2u);
    EXPECT_NE(d.duplicator("plasma rifle").serial(), serial);
    EXPECT_TRUE(fs::exists(root / "bitmaps" / "cubemap ion lance.bitm.meta"));
    EXPECT_TRUE(fs::exists(root / "bitmaps" / "cubemap ion lance.bitm.xml"));
    EXPECT_EQ(d.main().completed.Caption, "The plasma rifle has successfully been duplicated to");
}

TEST(LocalFileSystem, WriteAndRenameReplaceNothing) {
    TempDir t;
    auto& files = forms::local_file_system();
    const std::string a = utf8(t.path() / "a.xml"), b = utf8(t.path() / "b.xml");
    files.write_file(a, "first");
    EXPECT_THROW(files.write_file(a, "second"), forms::Error);
    EXPECT_EQ(read_bytes(fs_path(a)), "first");
    files.write_file(b, "b");
    EXPECT_THROW(files.rename(a, b), forms::Error);
    EXPECT_THROW(files.rename(utf8(t.path() / "missing"), utf8(t.path() / "c")), forms::Error);
    EXPECT_THROW(files.remove(utf8(t.path() / "missing")), forms::Error);
    EXPECT_EQ(files.list(utf8(t.path())).size(), 2u);
    EXPECT_THROW(files.list(utf8(t.path() / "none")), forms::Error);
}

// A rename that the destination stops names the destination; one file is one
// identity whatever leads to it; a file is read in pieces, and only a file.
TEST(LocalFileSystem, RenamesNameWhatStopsThemAndFilesAreKnownByIdentity) {
    TempDir t;
    auto& files = forms::local_file_system();
    const std::string a = utf8(t.path() / "a.xml"), b = utf8(t.path() / "b.xml");
    files.write_file(a, std::string(200000, 'x'));
    files.write_file(b, "b");
    for (const std::string& to : {utf8(t.path() / std::string(300, 'n')), utf8(t.path() / "gone" / "c.xml"), b}) {
        try {
            files.rename(a, to);
            ADD_FAILURE() << to;
        } catch (const forms::Error& e) {
            // A long path is quoted cut short.
            EXPECT_TRUE(std::string(e.what()).starts_with("Cannot rename to \"" + to.substr(0, 60))) << e.what();
            EXPECT_EQ(std::string(e.what()).find("characters cut)") != std::string::npos, to.size() > 200) << e.what();
        }
    }
    EXPECT_EQ(files.stat(a).type, forms::Entry::File);
    EXPECT_EQ(files.stat(a).size, 200000u);
    EXPECT_NE(files.stat(a).id, files.stat(b).id);
    EXPECT_EQ(files.stat(utf8(t.path() / "none")).type, forms::Entry::None);
    std::size_t pieces = 0, bytes = 0;
    files.read_pieces(a, [&](std::string_view piece) {
        ++pieces;
        bytes += piece.size();
    });
    EXPECT_EQ(bytes, 200000u);
    EXPECT_GT(pieces, 1u);
#ifndef _WIN32
    fs::create_hard_link(t.path() / "a.xml", t.path() / "also a.xml");
    EXPECT_EQ(files.stat(utf8(t.path() / "also a.xml")).id, files.stat(a).id);
    EXPECT_EQ(files.stat(a).links, 2u);
    EXPECT_EQ(files.stat(b).links, 1u);
    // Nothing stands below a file; a name longer than the system allows is
    // no answer at all.
    EXPECT_EQ(files.stat(b + "/c.xml").type, forms::Entry::None);
    EXPECT_FALSE(files.is_directory(b + "/c"));
    for (const std::string& path : {utf8(t.path() / std::string(300, 'n')), utf8(t.path() / std::string(300, 'n') / "x")}) {
        try {
            files.stat(path);
            ADD_FAILURE() << path;
        } catch (const forms::Error& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with("Cannot tell what stands at \"")) << e.what();
            EXPECT_TRUE(std::string(e.what()).ends_with(": File name too long")) << e.what();
        }
        EXPECT_THROW(files.is_directory(path), forms::Error);
    }
    fs::create_symlink(t.path() / "a.xml", t.path() / "link.xml");
    EXPECT_EQ(files.stat(utf8(t.path() / "link.xml")).type, forms::Entry::Link);
    ASSERT_EQ(::mkfifo(utf8(t.path() / "pipe.xml").c_str(), 0600), 0);
    EXPECT_EQ(files.stat(utf8(t.path() / "pipe.xml")).type, forms::Entry::Other);
    for (const char* other : {"link.xml", "pipe.xml"})
        EXPECT_THROW(files.read_pieces(utf8(t.path() / other), [](std::string_view) {}), forms::Error) << other;
#endif
}

}  // namespace
