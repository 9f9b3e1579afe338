// Pistol runs on Windows that meet links, read-only files, files in use, the
// user's own probe files and leftovers that cannot go yet.
#include "tests/windows_files.h"

#ifdef _WIN32
namespace {

using namespace testing_driver;
using namespace testing_driver::windows_files;

// A stock copy of the pistol run as the form runs it.
class WindowsRuns : public ::testing::Test {
protected:
    void SetUp() override {
        write_text(temp.path() / "outside" / "victim.xml", "outside");
        stock();
    }
    void stock() { root = make_stock_copy(temp.path(), objects::table("pistol"), "folder"); }
    void run(Driver& d) {
        auto& form = d.duplicator("pistol");
        d.app.dispatch([&] {
            form.txtmap.SetText("Blood Gulch");
            form.txtfile.SetText("magnum");
            form.Dir1.SetPath(utf8(root));
            form.create_Click();
        });
    }

    TempDir temp;
    fs::path root;
};

TEST_F(WindowsRuns, ALinkOutAReadOnlyOrAFileInUseStopsTheRunWithTheFolderAsItWas) {
    bool made = true;  // whether the last link could be made here
    const auto file_link = [&](const fs::path& at) {
        fs::remove(at);
        auto link = std::make_shared<Link>(at, temp.path() / "outside" / "victim.xml");
        made = link->here();
        return Guard(link);
    };
    struct Case {
        const char* what;
        std::function<Guard()> spoil;  // a change to the folder, kept until the case ends
        std::function<Guard()> hold;   // a file held open during the run
        const char* says;
    };
    const Case cases[] = {
        {"fp\\shaders links outside",
         [&] {
             fs::remove_all(root / "fp" / "shaders");
             auto link = std::make_shared<Link>(root / "fp" / "shaders", temp.path() / "outside");
             EXPECT_TRUE(link->here());
             return Guard(link);
         },
         nullptr, "leads outside the output folder"},
        {"a read-only old file",
         [&] {
             set_read_only(root / "effects" / "old.xml", true);
             return Guard(nullptr, [&](void*) { set_read_only(root / "effects" / "old.xml", false); });
         },
         nullptr, "is read-only"},
        // A Unix link to a file outside, which Wine shows as a plain file.
        {"an old file that is a link", [&] { return file_link(root / "effects" / "old.xml"); }, nullptr, "is a link"},
        {"a stock file that is a link", [&] { return file_link(root / "pistol.weap.meta"); }, nullptr, "is a link"},
        {"a link where a file is written", [&] { return file_link(root / "bullet.proj.xml"); }, nullptr, "is a link"},
        {"an old file in use", nullptr, [&] { return hold(root / "old.xml"); }, "in use by another program"},
        {"an old file in use further down", nullptr, [&] { return hold(root / "fp" / "shaders" / "old.xml"); },
         "in use by another program"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        made = true;
        Guard spoilt = c.spoil ? c.spoil() : nullptr;
        if (!made) continue;  // no Unix link without Wine
        const Snapshot before = snapshot(temp.path());
        Guard held = c.hold ? c.hold() : nullptr;
        Driver d;
        run(d);
        held.reset();
        ASSERT_EQ(d.boxes.shown.size(), 1u);
        EXPECT_EQ(d.boxes.shown[0].style, forms::kCritical);
        EXPECT_NE(d.boxes.shown[0].text.find(c.says), std::string::npos) << d.boxes.shown[0].text;
        EXPECT_NE(d.boxes.shown[0].text.find("Nothing was changed"), std::string::npos) << d.boxes.shown[0].text;
        EXPECT_EQ(snapshot(temp.path()), before);
        spoilt.reset();
        fs::remove_all(root);
        stock();
    }
}

// What a completed run left and cannot go yet stops no later run.
TEST_F(WindowsRuns, LeftoversThatCannotGoYetStopNoRun) {
    write_text(root / ".vorlix-undo-done" / "1.aside", "read-only");
    set_read_only(root / ".vorlix-undo-done" / "1.aside", true);
    write_text(root / ".vorlix-undo-done" / "2.aside", "held");
    Guard held = hold(root / ".vorlix-undo-done" / "2.aside");
    Driver d;
    run(d);
    held.reset();
    ASSERT_EQ(d.boxes.shown.size(), 2u) << d.boxes.shown[0].text;
    EXPECT_EQ(d.boxes.shown[1].text, "All META files renamed sucessfully");
    EXPECT_EQ(read_bytes(root / "magnum.weap.meta"), "stock meta pistol.weap.meta");
    EXPECT_EQ(read_bytes(root / ".vorlix-undo-done" / "2.aside"), "held");
    EXPECT_FALSE(fs::exists(root / ".vorlix-undo"));
    set_read_only(root / ".vorlix-undo-done" / "1.aside", false);
}

// The test whether a folder can be written never opens a file that is there,
// and leaves none of its own.
// A link that leads to a folder, named like an old file, is a folder to the
// purge: left alone with what it leads to.
TEST_F(WindowsRuns, TheUsersOwnProbeFilesAndFolderLinksAreKeptAndNoneIsLeft) {
    const Link folder_link(root / "effects" / "z.xml", temp.path() / "outside");
    ASSERT_TRUE(folder_link.here());
    write_text(root / ".vorlix-probe", "the user's own");
    write_text(root / "fp" / "shaders" / ".vorlix-probe", "read-only");
    set_read_only(root / "fp" / "shaders" / ".vorlix-probe", true);
    Driver d;
    run(d);
    ASSERT_EQ(d.boxes.shown.size(), 2u) << d.boxes.shown[0].text;
    EXPECT_EQ(d.boxes.shown[1].text, "All META files renamed sucessfully");
    EXPECT_EQ(read_bytes(root / ".vorlix-probe"), "the user's own");
    EXPECT_EQ(read_bytes(root / "fp" / "shaders" / ".vorlix-probe"), "read-only");
    EXPECT_NE(GetFileAttributesW((root / "fp" / "shaders" / ".vorlix-probe").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    set_read_only(root / "fp" / "shaders" / ".vorlix-probe", false);
    EXPECT_TRUE(folder_link.here());
    EXPECT_EQ(read_bytes(temp.path() / "outside" / "victim.xml"), "outside");
    for (const auto& e : fs::recursive_directory_iterator(temp.path()))
        EXPECT_NE(utf8(e.path().filename()).rfind(".vorlix-probe-", 0), 0u) << utf8(e.path());
}

}  // namespace
#endif
