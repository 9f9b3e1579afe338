// The real program as a child process on the X display: it comes up with its
// main window, and a user's mouse and keyboard (xdotool) take it from the
// welcome line to a launched duplicator.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#ifndef _WIN32
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;

bool have_display() {
    const char* d = std::getenv("DISPLAY");
    return d != nullptr && *d != '\0';
}

bool have_tool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string output_of(const std::string& command) {
    std::string out;
#ifndef _WIN32
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
        ::pclose(p);
    }
#endif
    return out;
}

// Titles of the top-level windows, one per line, quoted as xwininfo shows them.
std::string window_list() { return output_of("xwininfo -root -tree 2>/dev/null"); }

bool window_exists(const std::string& title) {
    return window_list().find("\"" + title + "\":") != std::string::npos;
}

// Where the main window's client area is on the screen; -1, -1 when unknown.
std::pair<int, int> main_window_place() {
    std::istringstream info(output_of("xwininfo -name 'Vorlix Tools' 2>/dev/null"));
    int x = -1, y = -1;
    for (std::string line; std::getline(info, line);) {
        const auto colon = line.find(':');
        if (line.find("Absolute upper-left X:") != std::string::npos) x = std::stoi(line.substr(colon + 1));
        if (line.find("Absolute upper-left Y:") != std::string::npos) y = std::stoi(line.substr(colon + 1));
    }
    return {x, y};
}

// One xdotool command, then a pause for the program to catch up.
void xdo(const std::string& args) {
    const int status = std::system(("xdotool " + args).c_str());
    EXPECT_EQ(status, 0) << "xdotool " << args;
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

bool wait_for(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

#ifndef _WIN32

// The program, started in a folder of its own and killed at the end.
class Program {
public:
    explicit Program(const fs::path& folder) {
        const fs::path here = fs::current_path();
        fs::current_path(folder);  // the folder lists start in the current folder
        char* argv[] = {const_cast<char*>(VORLIX_PROGRAM), nullptr};
        const int error = ::posix_spawn(&pid_, VORLIX_PROGRAM, nullptr, nullptr, argv, environ);
        fs::current_path(here);
        if (error != 0) pid_ = -1;
    }
    ~Program() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    bool started() const { return pid_ > 0; }
    // Whether it ended by itself; its exit status then.
    bool ended(int& code) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
        pid_ = -1;
        code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return true;
    }

private:
    pid_t pid_ = -1;
};

#endif

class WindowProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef _WIN32
        GTEST_SKIP() << "drives the program on an X display";
#endif
        if (!have_display()) GTEST_SKIP() << "no X display (DISPLAY unset)";
        if (!have_tool("xwininfo")) GTEST_SKIP() << "xwininfo (x11-utils) not installed";
        if (window_exists("Vorlix Tools")) GTEST_SKIP() << "another Vorlix Tools window is on this display";
        folder = fs::temp_directory_path() /
                 ("vorlix-program-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(folder / "newgun");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    fs::path folder;
};

#ifndef _WIN32

TEST_F(WindowProgramTest, StartsWithItsMainWindowAndEndsWhenItIsClosed) {
    Program program(folder);
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(wait_for([] { return window_exists("Vorlix Tools"); }, 10.0)) << window_list();
    if (!have_tool("xdotool")) return;
    // The window's own exit button: hover, press, move while pressed.
    const auto place = main_window_place();
    const int x = place.first, y = place.second;
    ASSERT_GE(x, 0);
    auto at = [&](int dx, int dy) { return std::to_string(x + dx) + " " + std::to_string(y + dy); };
    xdo("mousemove " + at(366, 20));
    xdo("mousemove " + at(367, 21));
    xdo("mousedown 1");
    xdo("mousemove " + at(368, 21));
    xdo("mouseup 1");
    int code = -1;
    EXPECT_TRUE(wait_for([&] { return program.ended(code); }, 5.0));
    EXPECT_EQ(code, 0);
}

TEST_F(WindowProgramTest, MouseAndKeyboardTakeTheWizardToALaunchedDuplicator) {
    if (!have_tool("xdotool")) GTEST_SKIP() << "xdotool not installed";
    Program program(folder);
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(wait_for([] { return window_exists("Vorlix Tools"); }, 10.0)) << window_list();
    const auto place = main_window_place();
    const int x = place.first, y = place.second;
    ASSERT_GE(x, 0);
    auto at = [&](int dx, int dy) { return std::to_string(x + dx) + " " + std::to_string(y + dy); };
    // Hover, press, move, release over a picture button (window pixels).
    auto press = [&](int dx, int dy) {
        xdo("mousemove " + at(dx, dy));
        xdo("mousemove " + at(dx + 1, dy + 1));
        xdo("mousedown 1");
        xdo("mousemove " + at(dx + 2, dy + 1));
        xdo("mouseup 1");
    };
    auto click = [&](int dx, int dy) {
        xdo("mousemove " + at(dx, dy));
        xdo("click 1");
    };

    press(40, 67);        // Begin
    click(160, 123);      // the kind list drops down...
    xdo("key Escape");    // ...and closes; it has the focus
    xdo("key Down Down Down Down");  // assault rifle, flamethrower, needler, pistol
    click(22, 280);       // Ready
    press(112, 67);       // Options
    click(150, 145);      // map name
    xdo("type --delay 20 'Blood Gulch'");
    click(200, 176);      // new name
    xdo("type --delay 20 newgun");
    click(150, 284);      // below the folders: the current one stays picked
    xdo("key Down");      // newgun
    xdo("key Return");    // opens it
    press(300, 268);      // compile

    // The pistol's duplicator runs in the empty folder: it reports the
    // missing folders in a critical message box.
    const bool reported = wait_for([] { return window_exists("Error while compiling..."); }, 10.0);
    EXPECT_TRUE(reported) << window_list();
    EXPECT_FALSE(window_exists("Form2")) << "an advice dialog instead of a launch";
    if (reported) {
        xdo("key Return");
        EXPECT_TRUE(wait_for([] { return !window_exists("Error while compiling..."); }, 5.0));
        EXPECT_TRUE(window_exists("Vorlix Tools"));
    }
}

#endif

}  // namespace
