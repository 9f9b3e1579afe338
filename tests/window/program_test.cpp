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

class WindowProgramTest : public ::testing::Test {
protected:
    // Starts the program in a folder of its own: the folder lists start there.
    void SetUp() override {
        if (!window_test::have_display()) GTEST_SKIP() << "no X display (DISPLAY unset)";
        if (!shell("command -v xwininfo >/dev/null")) GTEST_SKIP() << "xwininfo (x11-utils) not installed";
        if (window_exists("Vorlix Tools")) GTEST_SKIP() << "another Vorlix Tools window is on this display";
        fs::create_directories(folder / "newgun");
        const fs::path here = fs::current_path();
        fs::current_path(folder);
        char* argv[] = {const_cast<char*>(VORLIX_PROGRAM), nullptr};
        const int error = ::posix_spawn(&pid, VORLIX_PROGRAM, nullptr, nullptr, argv, environ);
        fs::current_path(here);
        ASSERT_EQ(error, 0);
        ASSERT_TRUE(window_test::settle_until([] { return window_exists("Vorlix Tools"); }, 10.0));
    }
    void TearDown() override {
        if (pid > 0 && ::kill(pid, SIGTERM) == 0) ::waitpid(pid, nullptr, 0);
        fs::remove_all(folder);
    }
    // Whether the program has ended by itself; its wait status then.
    bool ended() {
        if (::waitpid(pid, &status, WNOHANG) != pid) return false;
        pid = -1;
        return true;
    }
    const fs::path folder = fs::temp_directory_path() / ("vorlix-program-" + std::to_string(::getpid()));
    pid_t pid = -1;
    int status = -1;
};

// Window pixels: a move there; a picture button is hovered, pressed, moved
// over while pressed and released.
std::string at(int x, int y) {
    const std::string to = std::to_string(x) + " " + std::to_string(y);
    return "search --name '^Vorlix Tools$' mousemove --window %1 " + to + " sleep 0.1 ";
}

std::string press(int x, int y) {
    return at(x, y) + at(x + 1, y + 1) + "mousedown 1 sleep 0.1 " + at(x + 2, y + 1) + "mouseup 1";
}

// Begin, the kind that many Downs into the list, Ready, Options, the map and
// name, the folder "newgun" below the program's own, then compile.
void walk_to_compile(int downs) {
    std::string down = "key";
    for (int i = 0; i < downs; ++i) down += " Down";
    const std::string steps[] = {
        press(40, 67),                    // Begin
        at(160, 123) + "click 1",         // the kind list drops down...
        "key Escape",                     // ...and closes; it has the focus
        down,                             // the kind
        at(22, 280) + "click 1",          // Ready
        press(112, 67),                   // Options
        at(150, 145) + "click 1",         // map name
        "type --delay 20 'Blood Gulch'",  //
        at(200, 176) + "click 1",         // new name
        "type --delay 20 newgun",         //
        at(150, 284) + "click 1",         // below the folders: the current one stays picked
        "key Down",                       // newgun
        "key Return",                     // opens it
        press(300, 268),                  // compile
    };
    for (const std::string& step : steps) {
        EXPECT_TRUE(shell("xdotool " + step)) << step;
        window_test::settle(0.15);
    }
}

// A stock folder duplicated through the window: both confirmations, the
// written files and renames on disk; then the main window's own exit button
// ends the program.
TEST_F(WindowProgramTest, MouseAndKeyboardDuplicateAStockFolder) {
    if (!shell("command -v xdotool >/dev/null")) GTEST_SKIP() << "xdotool not installed";
    const auto& table = objects::table("sniper_rifle");
    fs::remove_all(folder / "newgun");
    testing_driver::make_stock_copy(folder, table, "newgun");
    walk_to_compile(9);  // ... shotgun, sniper rifle
    for (int box = 0; box < 2; ++box) {
        ASSERT_TRUE(window_test::settle_until([] { return window_exists("Vorlix Tools v0.8"); }, 10.0)) << box;
        EXPECT_TRUE(shell("xdotool key Return sleep 0.3"));
    }
    const fs::path root = folder / "newgun";
    int xml = 0;
    for (const auto& e : fs::recursive_directory_iterator(root)) xml += e.path().extension() == ".xml";
    EXPECT_EQ(xml, 64 + 2);  // and the two unlisted ones
    EXPECT_TRUE(fs::exists(root / "bitmaps" / "angle_ticks_mask.bitm.wphi.xml"));
    EXPECT_TRUE(fs::exists(root / "shaders" / "newgun subscreen.scex.meta"));
    EXPECT_FALSE(fs::exists(root / "sniper rifle.weap.meta"));
    EXPECT_FALSE(fs::exists(root / ".vorlix-undo"));
    EXPECT_FALSE(ended());
    EXPECT_TRUE(shell("xdotool " + press(366, 20)));
    EXPECT_TRUE(window_test::settle_until([&] { return ended(); }, 5.0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace

#endif
