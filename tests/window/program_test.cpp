// The real program as a child process on the X display: a user's mouse and
// keyboard (xdotool) take it from the welcome line through a duplication and
// out through its exit button.
#include "window_support.h"

#ifndef _WIN32

#include <filesystem>

#include "objects/objects.h"
#include "tests/stock_folder.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;

namespace {

namespace fs = std::filesystem;

bool shell(const std::string& command) { return std::system(command.c_str()) == 0; }

bool window_exists(const std::string& title) {
    return shell("xwininfo -root -tree 2>/dev/null | grep -qF '\"" + title + "\":'");
}

// The user's mouse and keyboard on the program's main window, one xdotool
// step at a time.
struct XUser {
    static std::string at(int x, int y) {
        const std::string to = std::to_string(x) + " " + std::to_string(y);
        return "search --name '^Vorlix Tools$' mousemove --window %1 " + to + " sleep 0.1 ";
    }
    void press(int x, int y) {
        run(at(x, y) + at(x + 1, y + 1) + "mousedown 1 sleep 0.1 " + at(x + 2, y + 1) + "mouseup 1");
    }
    void click(int x, int y) { run(at(x, y) + "click 1"); }
    void keys(window_test::Key key, int times) {
        static const char* const names[] = {"Escape", "Up", "Down", "Return"};
        std::string line = "key";
        for (int i = 0; i < times; ++i) line += std::string(" ") + names[static_cast<int>(key)];
        run(line);
    }
    void type(const std::string& text) { run("type --delay 20 '" + text + "'"); }
    void run(const std::string& step) {
        EXPECT_TRUE(shell("xdotool " + step)) << step;
        window_test::settle(0.15);
    }
};

class WindowProgramTest : public ::testing::Test {
protected:
    // Starts the program in the stock folder's parent: the folder list starts there.
    void SetUp() override {
        if (!window_test::have_display()) GTEST_SKIP() << "no X display (DISPLAY unset)";
        for (const char* tool : {"xwininfo", "xdotool"})
            if (!shell("command -v " + std::string(tool) + " >/dev/null")) GTEST_SKIP() << tool << " not installed";
        if (window_exists("Vorlix Tools")) GTEST_SKIP() << "another Vorlix Tools window is on this display";
        root = testing_driver::make_stock_copy(temp.path(), objects::table("sniper_rifle"), "newgun");
        const fs::path here = fs::current_path();
        fs::current_path(temp.path());
        char* argv[] = {const_cast<char*>(VORLIX_PROGRAM), nullptr};
        const int error = ::posix_spawn(&pid, VORLIX_PROGRAM, nullptr, nullptr, argv, environ);
        fs::current_path(here);
        ASSERT_EQ(error, 0);
        ASSERT_TRUE(window_test::settle_until([] { return window_exists("Vorlix Tools"); }, 10.0));
    }
    void TearDown() override {
        if (pid > 0 && ::kill(pid, SIGTERM) == 0) ::waitpid(pid, nullptr, 0);
    }
    // Whether the program has ended by itself; its wait status then.
    bool ended() {
        if (::waitpid(pid, &status, WNOHANG) != pid) return false;
        pid = -1;
        return true;
    }
    testing_driver::TempDir temp;
    fs::path root;
    pid_t pid = -1;
    int status = -1;
};

// A stock folder duplicated through the window: both confirmations, the
// written files and renames on disk; then the main window's own exit button
// ends the program.
TEST_F(WindowProgramTest, MouseAndKeyboardDuplicateAStockFolder) {
    XUser user;
    window_test::walk_to_compile(user, 9, "newgun", temp.path());  // ... shotgun, sniper rifle
    for (int box = 0; box < 2; ++box) {
        ASSERT_TRUE(window_test::settle_until([] { return window_exists("Vorlix Tools v0.8"); }, 10.0)) << box;
        user.keys(window_test::Key::Return, 1);
        window_test::settle(0.15);  // until the box has gone
    }
    int xml = 0;
    for (const auto& e : fs::recursive_directory_iterator(root)) xml += e.path().extension() == ".xml";
    EXPECT_EQ(xml, 64 + 2);  // and the two unlisted ones
    EXPECT_TRUE(fs::exists(root / "bitmaps" / "angle_ticks_mask.bitm.wphi.xml"));
    EXPECT_TRUE(fs::exists(root / "shaders" / "newgun subscreen.scex.meta"));
    EXPECT_FALSE(fs::exists(root / "sniper rifle.weap.meta"));
    EXPECT_FALSE(fs::exists(root / ".vorlix-undo"));
    EXPECT_FALSE(ended());
    window_test::press_exit(user);
    EXPECT_TRUE(window_test::settle_until([&] { return ended(); }, 5.0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace

#endif
