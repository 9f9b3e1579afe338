// A put-back acts only on what it can prove: what the file system cannot tell
// stops it with its record whole, and a record that lost a part of it is
// refused.
#include <functional>

#include "tests/all_or_nothing.h"
#include "tests/faulty_files.h"

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;

bool before_commit(const std::string& op, const std::string& path) {
    return op == "rename" && path.ends_with(".vorlix-undo");
}
bool after_writes(const std::string& op, const std::string& path) { return op == "write" && path.ends_with("3.part"); }

// A folder below which nothing can be looked up: the put-back changes nothing
// and keeps its record whole; once it can be searched again, the next run
// puts back and goes on.
TEST_F(AllOrNothing, WhatTheFileSystemCannotTellStopsAPutBackWithItsRecordWhole) {
    const auto done = done_state("pistol", "magnum");
    stock("pistol", "folder");
    run_killed(before_commit);
    const auto before = everything();
    {
        FaultyFiles files;
        files.unsearchable.insert(utf8(root / "fp" / "bitmaps"));
        Driver d;
        d.app.set_file_system(&files);
        run(d, "magnum");
        expect_refused(d, "\"" + utf8(root / "fp" / "bitmaps" / ""));
        EXPECT_NE(d.boxes.shown[0].text.find("Permission denied"), std::string::npos) << d.boxes.shown[0].text;
        EXPECT_EQ(everything(), before);
    }
    Driver d;
    run(d, "magnum");
    expect_put_back_and_done(d.boxes.shown);
    EXPECT_EQ(without_leftovers(snapshot(root)), done);
}

// Records that lost a journal, a line, or were written again for another new
// name: refused, naming the record, with nothing changed.
TEST_F(AllOrNothing, ARecordThatDoesNotAccountForTheFolderIsRefused) {
    const fs::path undo = fs::path(".vorlix-undo");
    const auto edit = [&](const std::string& journal, const std::function<std::string(std::string)>& change) {
        write_text(root / undo / journal, change(read_bytes(root / undo / journal)));
    };
    struct Case {
        const char* what;
        Dies dies;
        std::function<void()> spoil;
        const char* says;
    };
    const Case cases[] = {
        {"the last journal lost", before_commit, [&] { fs::remove(root / undo / "3.journal"); },
         "magnum.coll.meta\" stands where its run renames a stock file"},
        {"a rename's line lost", before_commit,
         [&] { edit("3.journal", [](std::string t) { return replaced(t, "r\tpistol.coll.meta\tmagnum.coll.meta\n", ""); }); },
         "3.journal\" does not name every rename of its run"},
        {"written again for another name", before_commit,
         [&] {
             for (const char* j : {"1.journal", "2.journal", "3.journal"})
                 edit(j, [](std::string t) { return replaced(t, "magnum", "zzz"); });
         },
         "the stock file \"" },
        {"the writes' journal lost while last", after_writes, [&] { fs::remove(root / undo / "2.journal"); },
         "stands where its run writes a file, and no step explains it"},
        {"a set-aside file lost", after_writes, [&] { fs::remove(root / undo / "2.aside"); },
         "where its run set it aside"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        stock("pistol", "folder");
        run_killed(c.dies);
        c.spoil();
        const auto before = everything();
        Driver d;
        run(d, "magnum");
        expect_refused(d, c.says);
        EXPECT_TRUE(d.boxes.shown[0].text.starts_with("The record of an earlier run on this folder cannot be used: \"" +
                                                      utf8(root / undo)))
            << d.boxes.shown[0].text;
        EXPECT_EQ(everything(), before);
        fs::remove_all(root);
    }
}

}  // namespace
