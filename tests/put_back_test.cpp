// A run either completes or leaves the folder exactly as it was: failures at
// any step put back, old files back by their exact names, leftovers of
// completed runs, a killed run taken up by the next, one run per folder.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <new>
#include <random>
#include <stdexcept>

#include "tests/all_or_nothing.h"
#include "tests/faulty_files.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;

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
        EXPECT_TRUE(d.boxes.shown[1].text.ends_with("the next run on this folder goes on from there.")) << d.boxes.shown[1].text;
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

// A run killed part-way, then the folder changed before the next run: a
// file that stands where the put-back must act (a second name of a file it
// removes included), or that the run wrote and the user edited since, or one
// where a write never began, stops it with the folder as it was, and once it is moved
// elsewhere the next run puts back and goes on. A put-back that stops
// part-way keeps the rest for the run after.
TEST_F(AllOrNothing, WhatStandsInTheWayOfAPutBackStopsItUntilMoved) {
    const auto done = done_state("pistol", "magnum");
    const Dies after_set_aside = [](const std::string& op, const std::string& path) {
        return op == "write" && path.ends_with("2.part");
    };
    const Dies after_writes = [](const std::string& op, const std::string& path) {
        return op == "write" && path.ends_with("3.part");
    };
    const Dies after_first_rename = [n = 0](const std::string& op, const std::string& path) mutable {
        return op == "rename" && path.ends_with(".meta") && ++n == 2;
    };
    const Dies before_third_write_in_place = [](const std::string& op, const std::string& path) {
        return op == "rename" && path.ends_with("3.new");
    };
    const fs::path outside = temp.path() / "outside";
    struct Case {
        Dies dies;
        const char* in_the_way;  // relative to the folder, moved away to the outside folder
        const char* says;
        std::function<void()> block = nullptr, unblock = nullptr;  // other than a file of the user's there
        bool runs_bytes = false;  // the user's file holds what the run writes there
    };
    const Case cases[] = {
        {after_writes, "bullet.proj.xml", "bullet.proj.xml\" (changed since the run wrote it)"},
        {before_third_write_in_place, "melee.jpt!.xml", "melee.jpt!.xml\" (not written by the run)"},
        // A write that never began: the file there is the user's, whatever it holds.
        {before_third_write_in_place, "melee_response.jpt!.xml", "melee_response.jpt!.xml\" (not written by the run)",
         nullptr, nullptr, true},
        // A second name of a written file keeps its place.
        {after_writes, "bitmaps", "old.xml\" (where a file the run set aside goes back)",
         [&] { fs::create_hard_link(root / "bitmaps" / "magnum_card.bitm.xml", root / "bitmaps" / "old.xml"); },
         [&] { fs::rename(root / "bitmaps" / "old.xml", outside / "link.xml"); }},
        {after_set_aside, "old.xml", "old.xml\" (where a file the run set aside goes back)"},
        {after_first_rename, "pistol.coll.meta", "pistol.coll.meta\" (where a file the run renamed goes back)"},
        {after_set_aside, "fp", "shaders\" (where a folder of the run must be)",
         [&] {
             fs::rename(root / "fp" / "shaders", outside / "shaders");
             write_text(root / "fp" / "shaders", "the user's own");
         },
         [&] {
             fs::rename(root / "fp" / "shaders", outside / "shaders.txt");
             fs::rename(outside / "shaders", root / "fp" / "shaders");
         }},
        {after_writes, nullptr, "could be put back only in part"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        stock("pistol", "folder");
        run_killed(c.dies);
        FaultyFiles files;
        if (c.block) c.block();
        else if (c.in_the_way) write_text(root / c.in_the_way, c.runs_bytes ? done.at(c.in_the_way) : "the user's own");
        else files.held.insert(utf8(root / "bullet.jpt!.xml"));  // removed last of the written files
        const auto before = everything();
        {
            Driver d;
            d.app.set_file_system(&files);
            run(d, "magnum");
            if (c.in_the_way) {
                expect_refused(d, c.says);
                EXPECT_EQ(everything(), before);
            } else {
                expect_refused(d, c.says, "the next run on this folder goes on from there.");
                EXPECT_EQ(d.boxes.shown[0].text.find("Nothing"), std::string::npos);
            }
        }
        if (c.unblock) c.unblock();
        else if (c.in_the_way) fs::rename(root / c.in_the_way, outside / c.in_the_way);
        Driver d;
        run(d, "magnum");
        expect_put_back_and_done(d.boxes.shown);
        EXPECT_EQ(without_leftovers(snapshot(root)), done);
        if (c.in_the_way && !c.block) {
            EXPECT_EQ(read_bytes(outside / c.in_the_way), c.runs_bytes ? done.at(c.in_the_way) : "the user's own");
        }
        fs::remove_all(root);
    }
}

// A put-back reads a file it checks only when its size is the written one,
// and then in pieces; a file it cannot read stops it with nothing changed,
// naming the file.
TEST_F(AllOrNothing, APutBackReadsWhatItChecksInBoundedPieces) {
    stock("pistol", "folder");
    run_killed([](const std::string& op, const std::string& path) { return op == "write" && path.ends_with("3.part"); });
    fs::remove(root / "bullet.proj.xml");
    std::ofstream(root / "bullet.proj.xml").close();
    fs::resize_file(root / "bullet.proj.xml", std::uintmax_t{2} << 30);  // sparse where the system allows
    {
        FaultyFiles files;
        Driver d;
        d.app.set_file_system(&files);
        run(d, "magnum");
        expect_refused(d, "bullet.proj.xml\" (changed since the run wrote it)");
        EXPECT_LT(files.bytes_read, std::uint64_t{1} << 20);
    }
    EXPECT_EQ(fs::file_size(root / "bullet.proj.xml"), std::uintmax_t{2} << 30);
    fs::remove(root / "bullet.proj.xml");
    const auto before = everything();
    {
        FaultyFiles files;
        files.unreadable.insert(utf8(root / "melee.jpt!.xml"));
        Driver d;
        d.app.set_file_system(&files);
        run(d, "magnum");
        expect_refused(d, "Cannot read \"" + utf8(root / "melee.jpt!.xml") + "\": disk full");
        EXPECT_EQ(everything(), before);
    }
    Driver d;
    run(d, "magnum");
    expect_put_back_and_done(d.boxes.shown);
}

// Names that only begin like the program's own are the user's: a run cut
// short is put back and done around them, and they stay; an old file of the
// purge is set aside and dropped whatever its name.
TEST_F(AllOrNothing, NamesThatBeginLikeTheProgramsOwnAreTheUsers) {
    stock("pistol", "folder");
    write_text(root / ".vorlix-undo-notes.xml", "an old file of the purge");
    write_text(root / ".vorlix-undo-done-1" / "1.aside", "mine");
    write_text(root / ".vorlix-undo-done-01" / "1.journal", "mine too");
#ifndef _WIN32
    // A link that leads to a folder is a folder to the purge.
    fs::create_directory_symlink(temp.path() / "outside", root / "effects" / "z.xml");
#endif
    run_killed([](const std::string& op, const std::string& path) {
        return op == "rename" && path.ends_with("pistol.mod2.meta");
    }, ".vorlix-undo");
    ASSERT_TRUE(fs::exists(root / ".vorlix-undo.coll.meta"));
    Driver d;
    run(d, ".vorlix-undo");
    expect_put_back_and_done(d.boxes.shown);
    EXPECT_EQ(read_bytes(root / ".vorlix-undo.weap.meta"), "stock meta pistol.weap.meta");
    EXPECT_FALSE(fs::exists(root / ".vorlix-undo-notes.xml"));
    EXPECT_EQ(read_bytes(root / ".vorlix-undo-done-1" / "1.aside"), "mine");
    EXPECT_EQ(read_bytes(root / ".vorlix-undo-done-01" / "1.journal"), "mine too");
    EXPECT_FALSE(fs::exists(root / ".vorlix-undo"));
#ifndef _WIN32
    EXPECT_TRUE(fs::is_symlink(root / "effects" / "z.xml"));
    EXPECT_EQ(read_bytes(temp.path() / "outside" / "victim.xml"), "outside");
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
    const auto done = done_state("needler", "stinger");
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
