// A run either completes or leaves the folder exactly as it was, and never
// touches anything outside it: bad inputs and folders refused in advance,
// failures at any step put back, a killed run taken up by the next, records
// on disk obeyed only when they are the program's own, one run per folder.
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

constexpr const char* kUnchanged = "Nothing was changed: the folder is as it was before.";
constexpr const char* kPutBack = "An earlier run on this folder was cut short; it has been put back.";

// A record file of the program's own format.
std::string journal(const std::string& steps) { return "vorlix-tools undo record\n" + steps + "end\n"; }

// Without what completed runs leave behind until a later run clears it.
Snapshot without_leftovers(Snapshot s) {
    std::erase_if(s, [](const auto& f) { return f.first.find(".vorlix-undo-done") != std::string::npos; });
    return s;
}

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
    // The same through the wizard, as the user starts it: the folder must be
    // named after the new name.
    void launch(Driver& d, const std::string& name) {
        d.prepare(kind_, "Blood Gulch", name, utf8(root));
        d.compile();
        d.pump();
    }
    static void expect_refused(Driver& d, const std::string& says, const std::string& ends = kUnchanged) {
        ASSERT_EQ(d.boxes.shown.size(), 1u);
        EXPECT_EQ(d.boxes.shown[0].style, forms::kCritical);
        EXPECT_EQ(d.boxes.shown[0].title, duplication::kErrorTitle);
        EXPECT_NE(d.boxes.shown[0].text.find(says), std::string::npos) << d.boxes.shown[0].text;
        EXPECT_TRUE(d.boxes.shown[0].text.ends_with(ends)) << d.boxes.shown[0].text;
    }
    static void expect_done(Driver& d) {
        ASSERT_GE(d.boxes.shown.size(), 2u) << d.boxes.shown[0].text;
        EXPECT_EQ(d.boxes.shown[1].text, duplication::kRenameConfirmation);
    }

    TempDir temp;
    fs::path root;
    std::string kind_;
};

TEST_F(AllOrNothing, InputsThatCannotStandInTheFilesAreRefused) {
    const std::tuple<const char*, std::string, std::string, const char*> cases[] = {
        {"pistol", ".", "Blood Gulch", "names a folder"},
        {"pistol", "..", "Blood Gulch", "names a folder"},
        {"pistol", "CON", "Blood Gulch", "keeps it for a device"},
        {"pistol", "nul", "Blood Gulch", "keeps it for a device"},
        {"pistol", "Com1.x", "Blood Gulch", "keeps it for a device"},
        {"pistol", "lpt9 ", "Blood Gulch", "keeps it for a device"},
        {"pistol", "COM0", "Blood Gulch", "keeps it for a device"},
        {"pistol", "lpt0.meta", "Blood Gulch", "keeps it for a device"},
        {"pistol", "COM\xC2\xB9", "Blood Gulch", "keeps it for a device"},
        {"pistol", "lpt\xC2\xB2.x", "Blood Gulch", "keeps it for a device"},
        {"pistol", "Lpt\xC2\xB3", "Blood Gulch", "keeps it for a device"},
        {"pistol", "CONIN$", "Blood Gulch", "keeps it for a device"},
        {"pistol", "conout$.txt", "Blood Gulch", "keeps it for a device"},
        {"pistol", "Pistol", "Blood Gulch", "stock object's own name"},
        {"pistol", std::string(240, 'm'), "Blood Gulch", "too long"},
        {"pistol", std::string(300, 'm'), "Blood Gulch", "too long"},
        {"pistol", "mag<num", "Blood Gulch", "holds \"<\""},
        {"pistol", "mag&num", "Blood Gulch", "holds \"&\""},
        {"pistol", "mag/num", "Blood Gulch", "cannot be used in a file name"},
        {"pistol", "mag?num", "Blood Gulch", "holds \"?\""},
        {"pistol", "mag\tnum", "Blood Gulch", "a control character"},
        {"pistol", "mag\xE5\x90\x8D", "Blood Gulch", "Windows-1252"},
        {"pistol", "magnum", "Blood & Gulch", "The map name"},
        {"pistol", "magnum", "Blood <Gulch>", "The map name"},
        {"pistol", "magnum", "Blood\tGulch", "The map name \"Blood\tGulch\" holds a control character"},
        {"pistol", "magnum", "Blood\r\nGulch", "holds a control character"},
        // A new name equal to a stock tag name would make two files one.
        {"warthog", "antenna", "Blood Gulch", "would both be"},
        {"warthog", "Casings", "Blood Gulch", "would both be"},
        {"shotgun", "casings", "Blood Gulch", "would both be"},
    };
    for (const auto& [kind, name, map, says] : cases) {
        SCOPED_TRACE(name + " / " + map);
        stock(kind, "folder");
        const auto before = everything();
        Driver d;
        run(d, name, map);
        expect_refused(d, says);
        EXPECT_EQ(everything(), before);
        fs::remove_all(root);
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

// Folders that are no stock copy, that lead elsewhere or cannot be written,
// and records of earlier runs that the program did not write or that were
// changed since: refused, with nothing changed inside the folder or out.
TEST_F(AllOrNothing, FoldersAndRecordsThatCannotBeTrustedAreRefused) {
    using Spoil = std::function<void(FaultyFiles&)>;
    const auto record = [this](const std::string& steps) {
        return [this, steps](FaultyFiles&) {
            write_text(root / "bitmaps" / "old.xml", "set aside");
            write_text(root / ".vorlix-undo" / "1.journal", journal(steps));
        };
    };
    std::vector<std::pair<Spoil, const char*>> cases = {
        {[this](FaultyFiles&) { fs::remove_all(root / "fp" / "shaders"); }, "shaders\" of the pistol is missing"},
        {[this](FaultyFiles&) { write_text(root / "magnum.weap.meta", "x"); }, "magnum.weap.meta\" already exists"},
        {[this](FaultyFiles&) { fs::create_directories(root / "bullet.proj.xml"); }, "A folder stands where the file"},
        {[this](FaultyFiles& f) { f.unwritable.insert(utf8(root / "fp" / "shaders")); }, "cannot be written"},
        {[this](FaultyFiles& f) { f.read_only_files.insert(utf8(root / "effects" / "old.xml")); }, "is read-only"},
        {record("w\t..\\outside\\victim.xml\n"), "leads out of the output folder"},
        {record("r\t..\\outside\\stolen.meta\tpistol.weap.meta\n"), "leads out of the output folder"},
        {record("a\t..\\outside\\victim.xml\tbitmaps\\pulled.xml\n"), "is not the next of its set-aside files"},
        {record("a\t.vorlix-undo\\1.aside\tbitmaps\n"), "is not a file"},
        {record("w\t.vorlix-undo-done\\thesis.doc\n"), "lies in the program's own folders"},
        {record("w\tbitmaps\\a.xml\tb\n"), "holds a line that is not a step"},
        {[this](FaultyFiles&) { write_text(root / ".vorlix-undo" / "1.journal", "w\tbitmaps\\old.xml\n"); },
         "is not a complete record"},
        {[this](FaultyFiles&) { write_text(root / ".vorlix-undo" / "2.journal", journal("")); }, "1.journal\" is missing"},
        {[this](FaultyFiles&) { write_text(root / ".vorlix-undo" / "photo.jpg", "photo"); }, "is none of its files"},
        {[this](FaultyFiles&) { write_text(root / ".vorlix-undo-done", "a file"); }, "is not a folder"},
    };
#ifdef _WIN32
    cases.push_back({record("w\t.. \\outside\\victim.xml\n"), "leads out of the output folder"});  // ".. " is ".."
#else
    const fs::path outside = temp.path() / "outside";
    const auto link = [](const fs::path& to, const fs::path& at) {
        fs::create_directories(at.parent_path());
        fs::create_symlink(to, at);
    };
    const std::pair<Spoil, const char*> links[] = {
        {[=, this](FaultyFiles&) {
             fs::remove_all(root / "bitmaps");
             link(outside, root / "bitmaps");
         },
         "leads outside the output folder"},
        {[=, this](FaultyFiles&) { link(outside / "victim.xml", root / "bullet.proj.xml"); }, "is a link to"},
        {[=, this](FaultyFiles&) { link(root / "gone.xml", root / "bullet.proj.xml"); }, "is a link that leads nowhere"},
        {[=, this](FaultyFiles& f) {
             link(outside, root / "linked");
             record("w\tlinked\\victim.xml\n")(f);
         },
         "passes through a link"},
        {[=, this](FaultyFiles&) {
             write_text(outside / "1.journal", journal("w\t..\\outside\\victim.xml\n"));
             link(outside / "1.journal", root / ".vorlix-undo" / "1.journal");
         },
         "is none of its files"},
        {[=, this](FaultyFiles&) { link(outside, root / ".vorlix-undo"); }, "is not a folder"},
        {[=, this](FaultyFiles&) { link(outside, root / ".vorlix-undo-done"); }, "is not a folder"},
    };
    cases.insert(cases.end(), std::begin(links), std::end(links));
#endif
    for (const auto& [spoil, says] : cases) {
        SCOPED_TRACE(says);
        stock("pistol", "folder");
        FaultyFiles files;
        spoil(files);
        const auto before = everything();
        // A refused name changes nothing either.
        for (const char* name : {"magnum", "CON"}) {
            Driver d;
            d.app.set_file_system(&files);
            run(d, name);
            expect_refused(d, name == std::string("CON") ? "keeps it for a device" : says);
            EXPECT_EQ(everything(), before);
        }
        fs::remove_all(root);
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

// Whichever change fails, before or after it took effect, and however it
// fails, the run either is done and says so, or puts every earlier change
// back and says so once. The plasma pistol's interim notice goes with an
// undone run.
TEST_F(AllOrNothing, AFailureAtAnyChangeEndsDoneOrPutBack) {
    stock("plasma pistol", "zapper");
    const auto before = everything();
    FaultyFiles counting;
    {
        Driver d;
        d.app.set_file_system(&counting);
        launch(d, "zapper");
        expect_done(d);
    }
    const auto done = everything();
    for (int k = 1; k <= counting.changes; ++k)
        for (const bool took_effect : {false, true}) {
            SCOPED_TRACE("change " + std::to_string(k) + (took_effect ? ", after it took effect" : ""));
            fs::remove_all(root);
            stock("plasma pistol", "zapper");
            FaultyFiles files;
            (took_effect ? files.after : files.before) = [k](int n) {
                if (n != k) return;
                if (k % 3 == 0) throw forms::Error(forms::kPathFileAccess, "No space left on device");
                if (k % 3 == 1) throw std::runtime_error("library failure");
                throw std::bad_alloc();
            };
            Driver d;
            d.app.set_file_system(&files);
            launch(d, "zapper");
            ASSERT_FALSE(d.boxes.shown.empty());
            if (d.boxes.shown.back().style != forms::kCritical) {
                expect_done(d);
                EXPECT_EQ(without_leftovers(everything()), done);
                continue;
            }
            EXPECT_EQ(std::count_if(d.boxes.shown.begin(), d.boxes.shown.end(),
                                    [](const Box& b) { return b.style == forms::kCritical; }),
                      1);
            EXPECT_TRUE(d.boxes.shown.back().text.ends_with(kUnchanged)) << d.boxes.shown.back().text;
            EXPECT_EQ(d.boxes.shown.back().dialog, "-");  // no notice of files created
            EXPECT_EQ(everything(), before);
        }
}

// Old files are set aside and put back by their exact names, whatever they
// hold, also from the record on disk by the next run, which says that it put
// an earlier run back whatever else it reports. A name the record cannot carry
// is refused in advance.
TEST_F(AllOrNothing, OldFilesComeBackByTheirExactNames) {
    stock("pistol", "folder");
    const std::string names[] = {
        "OLD.xml", "100%25.xml",
#ifndef _WIN32
        "BULLET.proj.xml", "evil\nw\tnotes.txt\tz.xml", "old\nnotes.xml",
#endif
    };
    for (const std::string& name : names) write_text(root / fs_path(name), "old " + name);
    write_text(root / "bullet.proj.xml", "old, where a file is written");
    write_text(root / "notes.txt", "notes");
    const auto before = everything();
    {
        // The last change fails, and so does the undo's first step.
        FaultyFiles files;
        files.held = {utf8(root / ".vorlix-undo"), utf8(root / "magnum.antr.meta")};
        Driver d;
        d.app.set_file_system(&files);
        run(d, "magnum");
        ASSERT_EQ(d.boxes.shown.size(), 2u);
        EXPECT_TRUE(d.boxes.shown[1].text.ends_with("The next run on this folder puts back what it can."));
    }
    {
        FaultyFiles files;
        files.unwritable.insert(utf8(root / "fp"));
        Driver d;
        d.app.set_file_system(&files);
        run(d, "magnum");
        expect_refused(d, "cannot be written", std::string(kPutBack) + " Nothing else was changed.");
        EXPECT_EQ(everything(), before);
    }
    Driver d;
    run(d, "magnum");
    expect_done(d);
    for (const std::string& name : names) EXPECT_FALSE(fs::exists(root / fs_path(name))) << name;
    EXPECT_FALSE(fs::exists(root / "old.xml"));
    EXPECT_NE(read_bytes(root / "bullet.proj.xml").find("<Tag>jorp"), std::string::npos);
    EXPECT_EQ(read_bytes(root / "notes.txt"), "notes");
    EXPECT_FALSE(fs::exists(root / ".vorlix-undo-done"));
#ifndef _WIN32
    stock("pistol", "other");
    write_text(root / "fp" / "a\\b.xml", "backslash");
    const auto other = everything();
    run(d, "magnum");
    expect_refused(d, "has a name with \"\\\"");
    EXPECT_NE(d.boxes.shown[0].text.find("a\\b.xml"), std::string::npos);
    EXPECT_EQ(everything(), other);
#endif
}

// What completed runs leave is cleared by the next run that completes, never
// by one that is refused; what the program did not write stays and is named;
// what cannot go yet does not stop a run.
TEST_F(AllOrNothing, LeftoversOfCompletedRunsNeverStopARun) {
    stock("pistol", "folder");
    write_text(root / ".vorlix-undo-done" / "1.aside", "set aside");
    write_text(root / ".vorlix-undo-done" / "1.journal", journal("a\t.vorlix-undo\\1.aside\told.xml\n"));
    write_text(root / ".vorlix-undo-done" / "thesis.doc", "thesis");
    write_text(root / ".vorlix-undo-done-2" / "1.aside", "held");
    const auto before = everything();
    {
        Driver d;
        run(d, "CON");
        EXPECT_EQ(everything(), before);
    }
    FaultyFiles files;
    files.held.insert(utf8(root / ".vorlix-undo-done-2" / "1.aside"));
    Driver d;
    d.app.set_file_system(&files);
    run(d, "magnum");
    expect_done(d);
    ASSERT_EQ(d.boxes.shown.size(), 3u);
    EXPECT_NE(d.boxes.shown[2].text.find(utf8(root / ".vorlix-undo-done" / "thesis.doc")), std::string::npos);
    EXPECT_EQ(read_bytes(root / ".vorlix-undo-done" / "thesis.doc"), "thesis");
    EXPECT_FALSE(fs::exists(root / ".vorlix-undo-done" / "1.aside"));
    EXPECT_EQ(read_bytes(root / ".vorlix-undo-done-2" / "1.aside"), "held");
    EXPECT_FALSE(fs::exists(root / ".vorlix-undo-done-3"));
    EXPECT_FALSE(fs::exists(root / ".vorlix-undo"));
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
        if (WIFSIGNALED(status) && d.boxes.shown.size() == 1) {
            // Killed after the change that marks the run done.
            EXPECT_NE(d.boxes.shown[0].text.find("not yet duplicated"), std::string::npos);
        } else if (WIFSIGNALED(status) && d.boxes.shown.size() == 3) {
            EXPECT_EQ(d.boxes.shown[0].text, kPutBack);
        }
        EXPECT_EQ(without_leftovers(snapshot(root)), done);
        EXPECT_EQ(snapshot(temp.path() / "outside"), outside);
        fs::remove_all(root);
    }
}

// A second program on a folder in use is refused and changes nothing; the
// first run then completes untouched.
TEST_F(AllOrNothing, ASecondProgramOnAFolderInUseIsRefused) {
    stock("pistol", "folder");
    int ready[2], go[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(go), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The first program holds its run open at the XML confirmation.
        struct Held : ScriptedBoxes {
            int show(const std::string& text, int style, const std::string& title) override {
                char c = 0;
                if (shown.empty() && (::write(ready[1], "x", 1) != 1 || ::read(go[0], &c, 1) != 1)) ::_exit(2);
                return ScriptedBoxes::show(text, style, title);
            }
            int* ready;
            int* go;
        } boxes;
        boxes.ready = ready;
        boxes.go = go;
        Driver d;
        d.app.set_message_boxes(&boxes);
        run(d, "magnum");
        ::_exit(boxes.shown.size() == 2 && boxes.shown[1].text == duplication::kRenameConfirmation ? 0 : 1);
    }
    ::close(ready[1]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    const auto during = everything();
    {
        Driver d;
        run(d, "magnum");
        expect_refused(d, "Another run is working on the folder");
        EXPECT_EQ(everything(), during);
    }
    ASSERT_EQ(::write(go[1], "x", 1), 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(read_bytes(root / "magnum.weap.meta"), "stock meta pistol.weap.meta");
    EXPECT_FALSE(fs::exists(root / ".vorlix-undo"));
    for (int fd : {ready[0], go[0], go[1]}) ::close(fd);
}
#endif

}  // namespace
