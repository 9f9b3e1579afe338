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

void button(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    send(in);
}

void key(WORD vk, bool up = false) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    send(in);
}

void tap(WORD vk) {
    key(vk);
    key(vk, true);
}

// Text as typed characters, whatever the keyboard layout.
void type(const std::string& utf8) {
    for (const wchar_t ch : fs_path(utf8).wstring())
        for (const DWORD flags : {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = ch;
            in.ki.dwFlags = flags;
            send(in);
        }
}

// Lets the program take in what it was sent.
void settle() { Sleep(150); }

bool wait_for(const std::function<bool()>& done, int ms = 10000) {
    for (int waited = 0; !done(); waited += 20) {
        if (waited >= ms) return false;
        Sleep(20);
    }
    return true;
}

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
        ASSERT_TRUE(wait_for([&] { return (main = window(L"Vorlix Tools")) != nullptr && IsWindowVisible(main); }));
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

    // The cursor onto a point of the main window's client area.
    void move(int x, int y) {
        POINT p{x, y};
        ClientToScreen(main, &p);
        SetCursorPos(p.x, p.y);
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = MOUSEEVENTF_MOVE;
        send(in);
        settle();
    }
    void click(int x, int y) {
        move(x, y);
        button(MOUSEEVENTF_LEFTDOWN);
        button(MOUSEEVENTF_LEFTUP);
        settle();
    }
    // A picture button: hovered, pressed, moved over while pressed, released.
    void press(int x, int y) {
        move(x, y);
        move(x + 1, y + 1);
        button(MOUSEEVENTF_LEFTDOWN);
        settle();
        move(x + 2, y + 1);
        button(MOUSEEVENTF_LEFTUP);
        settle();
    }
    void keys(WORD vk, int times = 1) {
        for (int i = 0; i < times; ++i) tap(vk);
        settle();
    }
    // Waits for the next message box of the program and closes it with Enter.
    bool confirm(const wchar_t* title) {
        HWND box = nullptr;
        if (!wait_for([&] { return (box = window(title)) != nullptr && IsWindowVisible(box); })) return false;
        settle();
        keys(VK_RETURN);
        return wait_for([&] { return !IsWindow(box) || !IsWindowVisible(box); });
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
    // The client area: 5925 x 5085 twips.
    RECT client{};
    ASSERT_TRUE(GetClientRect(main, &client));
    EXPECT_EQ(client.right - client.left, 5925 / forms::kTwipsPerPixel);
    EXPECT_EQ(client.bottom - client.top, 5085 / forms::kTwipsPerPixel);

    press(40, 67);                 // Begin
    click(160, 123);               // the kind list drops down...
    keys(VK_ESCAPE);               // ...and closes; it has the focus
    keys(VK_DOWN, 4);              // assault rifle, flamethrower, needler, pistol
    click(22, 280);                // Ready
    press(112, 67);                // Options
    click(150, 145);               // map name
    type("Blood Gulch");
    click(200, 176);               // new name
    type(kName);
    // The folder list starts at the stock folder's parent, the last of its
    // ancestors; the stock folder comes next. A click on its first line
    // gives it the focus, the keys walk from the top down to the stock
    // folder, and Enter opens it.
    click(100, 200);
    keys(VK_UP, 30);
    int ancestors = 0;
    for (fs::path p = fs::absolute(work); p != p.parent_path(); p = p.parent_path()) ++ancestors;
    keys(VK_DOWN, ancestors + 1);
    keys(VK_RETURN);
    press(300, 268);               // compile

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
    ASSERT_TRUE(wait_for([&] { return window(L"Form2") != nullptr && IsWindowVisible(window(L"Form2")); }));
    settle();
    press(366, 20);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

}  // namespace

#endif
