// The all-or-nothing suites' folder: a stock copy of an object's folder
// beside a folder that must stay untouched, runs on it, and what a run
// reports when refused or done.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "duplication/procedure.h"
#include "objects/kinds.h"
#include "objects/objects.h"
#include "tests/driver.h"
#include "tests/faulty_files.h"
#include "tests/stock_folder.h"

namespace testing_driver {

using Snapshot = std::map<std::string, std::string>;

inline constexpr const char* kUnchanged = "Nothing was changed: the folder is as it was before.";
inline constexpr const char* kPutBack = "An earlier run on this folder was cut short; it has been put back.";

// A record file of the program's own format, for a pistol run to "magnum"
// unless run names another (kind text, tab, new name).
inline std::string journal(const std::string& steps, const std::string& run = "pistol\tmagnum") {
    return "vorlix-tools undo record 2\nfor\t" + run + "\n" + steps + "end\n";
}
// A recorded write of the bytes "abc" (size and SHA-256).
inline std::string wrote(const std::string& rel) {
    return "w\t" + rel + "\t3\tba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\n";
}

// Without what completed runs leave behind until a later run clears it.
inline Snapshot without_leftovers(Snapshot s) {
    std::erase_if(s, [](const auto& f) { return f.first.find(".vorlix-undo-done") != std::string::npos; });
    return s;
}

class AllOrNothing : public ::testing::Test {
protected:
    fs::path stock(const std::string& kind, const std::string& folder_name) {
        write_text(temp.path() / "outside" / "victim.xml", "outside");
        kind_ = kind;
        root = make_stock_copy(temp.path(), objects::table(objects::built_in().find(kind)->table), folder_name);
        return root;
    }
    // What a run that was never cut short leaves in a stock copy elsewhere.
    Snapshot done_state(const std::string& kind, const std::string& name) {
        TempDir elsewhere;
        kind_ = kind;
        root = make_stock_copy(elsewhere.path(), objects::table(objects::built_in().find(kind)->table), "folder");
        Driver d;
        run(d, name);
        expect_done(d);
        return snapshot(root);
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
    // A run of the program killed before the first change dies is true for,
    // on files over inner.
    using Dies = std::function<bool(const std::string& op, const std::string& path)>;
    void run_killed(const Dies& dies, const std::string& name = "magnum",
                    forms::FileSystem& inner = forms::local_file_system()) {
        FaultyFiles killed(inner);
        killed.dies_at = dies;
        Driver d;
        d.app.set_file_system(&killed);
        run(d, name);
    }
    // A run that put back an earlier one cut short, then was done.
    static void expect_put_back_and_done(const std::vector<Box>& shown) {
        ASSERT_EQ(shown.size(), 3u) << shown[0].text;
        EXPECT_EQ(shown[0].text, kPutBack);
        EXPECT_EQ(shown[2].text, duplication::kRenameConfirmation);
    }
    static void expect_done(Driver& d) {
        ASSERT_GE(d.boxes.shown.size(), 2u) << d.boxes.shown[0].text;
        EXPECT_EQ(d.boxes.shown[1].text, duplication::kRenameConfirmation);
    }

    TempDir temp;
    fs::path root;
    std::string kind_;
};

}  // namespace testing_driver
