// A run either completes or leaves the folder exactly as it was, and never
// touches anything outside it: bad inputs refused in advance, failures at any
// step put back, links that lead elsewhere refused, a killed run taken up by
// the next.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>
#include <random>
#include <stdexcept>

#include "duplication/procedure.h"
#include "objects/kinds.h"
#include "objects/objects.h"
#include "tests/driver.h"
#include "tests/faulty_files.h"
#include "tests/msf_lines.h"
#include "tests/stock_folder.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;
using Snapshot = std::map<std::string, std::string>;

// A stock copy of an object's folder beside a folder that must stay untouched.
class AllOrNothing : public ::testing::Test {
protected:
    fs::path stock(const std::string& kind, const std::string& folder_name) {
        write_text(temp.path() / "outside" / "victim.xml", "outside");
        kind_ = kind;
        root = make_stock_copy(temp.path(), objects::table(objects::built_in().find(kind)->table), folder_name);
        return root;
    }
    // The whole temporary tree: the folder and what lies beside it.
    Snapshot everything() { return snapshot(temp.path()); }

    // Runs the duplication as the form holds it, the fields set by the launch.
    void run(Driver& d, const std::string& name, const std::string& map = "Blood Gulch") {
        d.boxes.shown.clear();
        auto& form = d.duplicator(kind_);
        d.app.dispatch([&] {
            form.txtmap.SetText(map);
            form.txtfile.SetText(name);
            form.Dir1.SetPath(utf8(root));
            form.create_Click();
        });
    }
    void expect_refused(Driver& d, const std::string& says) {
        ASSERT_EQ(d.boxes.shown.size(), 1u);
        EXPECT_EQ(d.boxes.shown[0].style, forms::kCritical);
        EXPECT_EQ(d.boxes.shown[0].title, duplication::kErrorTitle);
        EXPECT_NE(d.boxes.shown[0].text.find(says), std::string::npos) << d.boxes.shown[0].text;
        EXPECT_NE(d.boxes.shown[0].text.find("Nothing was changed"), std::string::npos) << d.boxes.shown[0].text;
    }

    TempDir temp;
    fs::path root;
    std::string kind_;
};

TEST_F(AllOrNothing, NamesThatCannotStandAsFileNamesAreRefused) {
    stock("pistol", "folder");
    const auto before = everything();
    const std::pair<std::string, const char*> cases[] = {
        {".", "names a folder"},
        {"..", "names a folder"},
        {"CON", "keeps it for a device"},
        {"nul", "keeps it for a device"},
        {"Com1.x", "keeps it for a device"},
        {"lpt9 ", "keeps it for a device"},
        {"Pistol", "stock object's own name"},
        {std::string(240, 'm'), "too long"},
        {std::string(300, 'm'), "too long"},
        {"mag<num", "holds \"<\""},
        {"mag&num", "holds \"&\""},
        {"mag/num", "cannot be used in a file name"},
        {"mag?num", "holds \"?\""},
        {"mag\tnum", "a control character"},
        {"mag\xE5\x90\x8D", "Windows-1252"},
    };
    for (const auto& [name, says] : cases) {
        SCOPED_TRACE(name);
        Driver d;
        run(d, name);
        expect_refused(d, says);
        EXPECT_EQ(everything(), before);
    }
}

// The name is always followed by a suffix in the paths of the pistol: a blank
// or a point at its end is kept, and every file is as for any other name.
TEST_F(AllOrNothing, ANameEndingInABlankOrAPointIsUsedAsTyped) {
    stock("pistol", "reference");
    {
        Driver d;
        run(d, "magnum");
        ASSERT_EQ(d.boxes.shown.size(), 2u);
    }
    const auto reference = snapshot(root);
    int round = 0;
    for (const std::string name : {"mag.", "magnum ", "x y."}) {
        SCOPED_TRACE("\"" + name + "\"");
        stock("pistol", "folder " + std::to_string(++round));
        Driver d;
        run(d, name);
        ASSERT_EQ(d.boxes.shown.size(), 2u) << d.boxes.shown[0].text;
        EXPECT_EQ(d.boxes.shown[1].text, "All META files renamed sucessfully");
        std::map<std::string, std::string> expected;
        for (const auto& [rel, bytes] : reference) expected[replaced(rel, "magnum", name)] = replaced(bytes, "magnum", name);
        EXPECT_EQ(snapshot(root), expected);
        EXPECT_EQ(read_bytes(root / "bitmaps" / fs_path(name + "_card.bitm.xml")), msf_lines::card_bitmap(name));
        EXPECT_EQ(read_bytes(root / fs_path(name + ".weap.meta")), "stock meta pistol.weap.meta");
    }
}

// Where a table puts the name at the end of a folder name, a blank or a point
// there would be dropped: such a name is refused.
TEST_F(AllOrNothing, ANameThatWouldEndAFolderNameInAPointIsRefused) {
    auto rows = objects::built_in().all();
    rows.push_back({"test gun", "test_gun", true, {.form_name = "Test_gun", .caption = "Test"}});
    const objects::KindList kinds(rows, {{"test_gun", R"(tagfolder weapons
stock test gun
xml-confirmation All XML files made
purge .
rename test gun.weap.meta => {name}.weap.meta
file 1 weap {name}
file 2 bitm {name}\skin
)"}});
    root = temp.path() / "folder";
    write_text(root / "test gun.weap.meta", "stock");
    const auto before = everything();
    kind_ = "test gun";
    for (const char* name : {"mag.", "mag "}) {
        Driver d(kinds);
        run(d, std::string("x ") + name);
        expect_refused(d, "would end in a blank or a point");
        EXPECT_NE(d.boxes.shown[0].text.find(utf8(root / fs_path(std::string("x ") + name) / "skin.bitm.xml")),
                  std::string::npos);
        EXPECT_EQ(everything(), before);
    }
}

TEST_F(AllOrNothing, AFolderThatIsNoStockCopyIsRefused) {
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[this] { fs::remove_all(root / "fp" / "shaders"); }, "shaders\" of the pistol is missing"},
        {[this] { write_text(root / "magnum.weap.meta", "x"); }, "magnum.weap.meta\" already exists"},
    };
    for (const auto& [spoil, says] : cases) {
        stock("pistol", "folder");
        spoil();
        const auto before = everything();
        Driver d;
        run(d, "magnum");
        expect_refused(d, says);
        EXPECT_EQ(everything(), before);
        fs::remove_all(root);
    }
}

TEST_F(AllOrNothing, MapNamesWithXmlMarkupAreRefusedAsNewNamesAre) {
    stock("pistol", "folder");
    const auto before = everything();
    for (const char* map : {"Blood & Gulch", "Blood <Gulch>"}) {
        Driver d;
        run(d, "magnum", map);
        expect_refused(d, "The map name");
        EXPECT_EQ(everything(), before);
    }
}

TEST_F(AllOrNothing, APathLongerThanTheSystemAllowsIsRefused) {
    // A folder deep enough that the longest written path runs past the limit
    // while every single name fits.
    fs::path deep = temp.path();
    while (utf8(deep).size() + 200 < forms::max_path_length()) deep /= std::string(100, 'd');
    fs::create_directories(deep);
    root = make_stock_copy(deep, objects::table("pistol"), "folder");
    kind_ = "pistol";
    Driver d;
    run(d, std::string(150, 'm'));
    expect_refused(d, "too long for this folder");
}

TEST_F(AllOrNothing, AFolderWhereAFileGoesIsCalledAFolder) {
    stock("pistol", "folder");
    fs::create_directories(root / "bullet.proj.xml");
    const auto before = everything();
    Driver d;
    run(d, "magnum");
    expect_refused(d, "A folder stands where the file");
    EXPECT_EQ(everything(), before);
}

#ifndef _WIN32
TEST_F(AllOrNothing, LinksThatLeadOutsideTheFolderAreRefused) {
    stock("pistol", "folder");
    // A purge folder that is a link to a folder elsewhere.
    fs::remove_all(root / "bitmaps");
    fs::create_directory_symlink(temp.path() / "outside", root / "bitmaps");
    auto before = everything();
    {
        Driver d;
        run(d, "magnum");
        expect_refused(d, "leads outside the output folder");
        EXPECT_EQ(everything(), before);
    }
    // A file to be written that is a link to a file elsewhere.
    fs::remove(root / "bitmaps");
    fs::create_directory(root / "bitmaps");
    fs::create_symlink(temp.path() / "outside" / "victim.xml", root / "bullet.proj.xml");
    before = everything();
    Driver d;
    run(d, "magnum");
    expect_refused(d, "is a link to");
    EXPECT_EQ(everything(), before);
}
#endif

TEST_F(AllOrNothing, FoldersThatCannotBeWrittenAreRefused) {
    stock("pistol", "folder");
    const auto before = everything();
    FaultyFiles files;
    files.unwritable.insert(utf8(root / "fp" / "shaders"));
    Driver d;
    d.app.set_file_system(&files);
    run(d, "magnum");
    expect_refused(d, "cannot be written");
    EXPECT_EQ(everything(), before);
}

// Whichever change fails, and however it fails, the run puts every earlier
// one back and reports once.
TEST_F(AllOrNothing, AFailureAtAnyChangePutsTheFolderBack) {
    stock("pistol", "folder");
    const auto before = everything();
    FaultyFiles counting;
    {
        Driver d;
        d.app.set_file_system(&counting);
        run(d, "magnum");
        ASSERT_EQ(d.boxes.shown.size(), 2u);
    }
    const int changes = counting.changes;
    const auto done = everything();
    fs::remove_all(root);
    stock("pistol", "folder");
    for (int k = 1; k <= changes; ++k) {
        SCOPED_TRACE("change " + std::to_string(k));
        FaultyFiles files;
        files.before = [k](int n) {
            if (n != k) return;
            if (k % 3 == 0) throw forms::Error(forms::kPathFileAccess, "No space left on device");
            if (k % 3 == 1) throw std::runtime_error("library failure");
            throw std::bad_alloc();
        };
        Driver d;
        d.app.set_file_system(&files);
        run(d, "magnum");
        auto after = everything();
        if (d.boxes.shown.size() == 2 && d.boxes.shown[1].style != forms::kCritical) {
            // Past the last change that counts the run is done; what it could
            // not clear up, the next run clears.
            std::erase_if(after, [](const auto& f) { return f.first.find(".vorlix-undo-done") != std::string::npos; });
            EXPECT_EQ(after, done);
            fs::remove_all(root);
            stock("pistol", "folder");
            continue;
        }
        ASSERT_FALSE(d.boxes.shown.empty());
        EXPECT_EQ(std::count_if(d.boxes.shown.begin(), d.boxes.shown.end(),
                                [](const Box& b) { return b.style == forms::kCritical; }),
                  1);
        EXPECT_EQ(d.boxes.shown.back().style, forms::kCritical);
        EXPECT_NE(d.boxes.shown.back().text.find("Nothing was changed"), std::string::npos);
        EXPECT_EQ(after, before);
    }
}

#ifndef _WIN32
// A run killed at a random change leaves a folder that the next run puts back
// and then duplicates, exactly as a run that was never cut short.
TEST_F(AllOrNothing, AKilledRunIsTakenUpByTheNext) {
    TempDir reference_parent;
    kind_ = "needler";
    root = make_stock_copy(reference_parent.path(), objects::table("needler"), "folder");
    {
        Driver d;
        run(d, "stinger");
        ASSERT_EQ(d.boxes.shown.size(), 2u);
    }
    const auto done = snapshot(root);
    std::mt19937 random(20261206);
    for (int round = 0; round < 12; ++round) {
        stock("needler", "folder");
        const auto outside = snapshot(temp.path() / "outside");
        const int k = std::uniform_int_distribution<int>(1, 100)(random);
        SCOPED_TRACE("killed at change " + std::to_string(k));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FaultyFiles files;
            files.before = [k](int n) {
                if (n == k) ::raise(SIGKILL);
            };
            Driver d;
            d.app.set_file_system(&files);
            run(d, "stinger");
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        Driver d;
        run(d, "stinger");
        if (WIFSIGNALED(status) && d.boxes.shown.size() != 2) {
            // Killed after the last change that counts: the run was done.
            ASSERT_EQ(d.boxes.shown.size(), 1u);
            EXPECT_NE(d.boxes.shown[0].text.find("not yet duplicated"), std::string::npos);
        }
        EXPECT_EQ(snapshot(root), done);
        EXPECT_EQ(snapshot(temp.path() / "outside"), outside);
        fs::remove_all(root);
    }
}
#endif

}  // namespace
