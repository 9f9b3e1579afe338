// The Windows program as a child process, alone in a folder of its own: it
// opens its main window with the client area at twips / 15, and the user's
// mouse and keyboard (SendInput) take the wizard through a pistol duplication
// into a prepared stock folder. The folder then holds the same bytes as after
// the same run of the wizard in this process, and as the known files say.
#include "window_support.h"

#ifdef _WIN32

#include <windows.h>

#include <filesystem>
#include <string>

#include "objects/objects.h"
#include "tests/driver.h"
#include "tests/msf_lines.h"
#include "tests/stock_folder.h"

namespace {

using namespace testing_driver;

// Input as the user gives it: the cursor moved onto a client point, buttons
// and keys through the system's input queue.
void send(INPUT input) { ASSERT_EQ(SendInput(1, &input, sizeof(INPUT)), 1u); }

void mouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    send(in);
}

// A key pressed and released: a virtual key, or a character whatever the
// keyboard layout.
void tap(WORD vk, wchar_t ch = 0, DWORD flags = 0) {
    for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = ch;
        in.ki.dwFlags = flags | up;
        send(in);
    }
}

using window_test::settle;
using window_test::settle_until;

class WindowsProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!window_test::have_display()) GTEST_SKIP() << "no display for Wine (DISPLAY unset)";
        // The program alone: nothing beside it that it could load.
        fs::create_directories(temp.path() / "program");
        fs::copy_file(fs::absolute(fs_path(VORLIX_PROGRAM)), program);
        fs::create_directories(work);
        root = make_stock_copy(work, objects::table("pistol"), kName);
        reference = make_stock_copy(temp.path() / "reference", objects::table("pistol"), kName);

        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + program.wstring() + L"\"";
        // Started in the parent of the stock folder: the folder list starts there.
        ASSERT_TRUE(CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   work.c_str(), &startup, &process))
            << GetLastError();
        const auto shown = [&] { return (main = window(L"Vorlix Tools")) != nullptr && IsWindowVisible(main); };
        ASSERT_TRUE(settle_until(shown, 10));
        settle();
    }
    void TearDown() override {
        if (process.hProcess == nullptr) return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 10000);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // A top-level window of the program with this title, or null.
    HWND window(const wchar_t* title) const {
        for (HWND w = FindWindowExW(nullptr, nullptr, nullptr, title); w != nullptr;
             w = FindWindowExW(nullptr, w, nullptr, title)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == process.dwProcessId) return w;
        }
        return nullptr;
    }

public:
    // The user's input, as walk_to_compile drives it.
    void move(int x, int y) {
        POINT p{x, y};
        ClientToScreen(main, &p);
        SetCursorPos(p.x, p.y);
        mouse(MOUSEEVENTF_MOVE);
        settle();
    }
    void click(int x, int y) {
        move(x, y);
        mouse(MOUSEEVENTF_LEFTDOWN);
        mouse(MOUSEEVENTF_LEFTUP);
        settle();
    }
    void press(int x, int y) {
        move(x, y);
        move(x + 1, y + 1);
        mouse(MOUSEEVENTF_LEFTDOWN);
        settle();
        move(x + 2, y + 1);
        mouse(MOUSEEVENTF_LEFTUP);
        settle();
    }
    void keys(window_test::Key key, int times) {
        static const WORD vk[] = {VK_ESCAPE, VK_UP, VK_DOWN, VK_RETURN};
        for (int i = 0; i < times; ++i) tap(vk[static_cast<int>(key)]);
        settle();
    }
    void type(const std::string& utf8) {
        for (const wchar_t ch : fs_path(utf8).wstring()) tap(0, ch, KEYEVENTF_UNICODE);
    }

protected:
    // Waits for the next message box of the program and closes it with Enter.
    bool confirm(const wchar_t* title) {
        HWND box = nullptr;
        if (!settle_until([&] { return (box = window(title)) != nullptr && IsWindowVisible(box); }, 10)) return false;
        settle();
        keys(window_test::Key::Return, 1);
        return settle_until([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10);
    }

    static constexpr const char* kName = "caf\xC3\xA9";  // a Windows-1252 letter in every own name
    TempDir temp;
    const fs::path program = temp.path() / "program" / "vorlix-tools.exe";
    const fs::path work = temp.path() / "work";
    fs::path root, reference;
    PROCESS_INFORMATION process{};
    HWND main = nullptr;
};

TEST_F(WindowsProgramTest, OpensItsWindowAndDuplicatesThePistolAsTheWizardDoes) {
    RECT client{};  // 5925 x 5085 twips
    ASSERT_TRUE(GetClientRect(main, &client));
    EXPECT_EQ(std::pair(client.right - client.left, client.bottom - client.top), std::pair(395L, 339L));

    window_test::walk_to_compile(*this, 4, kName, work);  // assault rifle, flamethrower, needler, pistol

    Driver d;
    const std::wstring title = fs_path(d.app.Title).wstring();
    ASSERT_TRUE(confirm(title.c_str())) << "no box says the files are written";
    ASSERT_TRUE(confirm(title.c_str())) << "no box says the files are renamed";

    // The same run in this process, headless.
    d.prepare("pistol", "Blood Gulch", kName, utf8(reference));
    d.compile();
    d.pump();
    ASSERT_EQ(d.boxes.shown.size(), 2u);
    EXPECT_EQ(snapshot(root), snapshot(reference));
    // A known file: the name on disk is the name typed, in the file in
    // Windows-1252.
    EXPECT_EQ(read_bytes(root / "bitmaps" / fs_path("caf\xC3\xA9_card.bitm.xml")), msf_lines::card_bitmap("caf\xE9"));
    EXPECT_TRUE(fs::exists(root / fs_path("caf\xC3\xA9.weap.meta")));

    // The message dialog reports the duplication; then the main window's own
    // exit button ends the program.
    ASSERT_TRUE(settle_until([&] { return window(L"Form2") != nullptr && IsWindowVisible(window(L"Form2")); }, 10));
    settle();
    window_test::press_exit(*this);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

}  // namespace

#endif
