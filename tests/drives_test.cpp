// Drives and folders as the drive and folder lists show them: the system's
// own drives, native paths, and folder names beyond ASCII as they stand.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <regex>
#endif

#include "platform/drives.h"
#include "tests/driver.h"
#include "tests/stock_folder.h"

namespace {

using namespace testing_driver;

TEST(Folders, PathsAreAbsoluteNativeAndEndInASeparatorOnlyAtTheRoot) {
    TempDir temp;
    fs::create_directories(temp.path() / "a" / "c");
    EXPECT_EQ(forms::normal_folder(utf8(temp.path()) + "/a/b/../c/"), utf8(temp.path() / "a" / "c"));
    const fs::path root = temp.path().root_path();  // "/" here, "C:\" on Windows
    EXPECT_EQ(forms::normal_folder(utf8(root)), utf8(root));
    EXPECT_EQ(forms::normal_folder(utf8(root / "..")), utf8(root));
}

TEST(Folders, NamesBeyondAsciiReachTheFolderListAsTheyStand) {
    TempDir temp;
    const std::string cafe = "caf\xC3\xA9", strasse = "stra\xC3\x9F" "e";
    const fs::path folder = temp.path() / fs_path(cafe), inner = folder / fs_path(strasse);
    fs::create_directories(inner);
    EXPECT_EQ(forms::subfolders(utf8(temp.path())), std::vector<std::string>{utf8(folder)});

    Driver d;
    forms::DirListBox& dir = d.main().Dir1;
    d.set_folder(utf8(folder));
    EXPECT_EQ(dir.Path(), utf8(folder));
    const auto list = dir.entries();
    ASSERT_GE(list.size(), 3u);
    EXPECT_EQ(list[list.size() - 2].label, cafe);
    EXPECT_TRUE(list[list.size() - 2].open);
    EXPECT_EQ(list.back().label, strasse);
    EXPECT_EQ(list.back().path, utf8(inner));
    ASSERT_TRUE(d.open_folder(dir, utf8(inner)));
    EXPECT_EQ(dir.Path(), utf8(inner));
}

// An empty drive (the current folder on none of the list) holds nothing; a
// drive the system lacks stands for itself.
TEST(Drives, AnEmptyOrUnknownDriveHoldsNoFolder) {
    const std::tuple<std::string, std::string, bool> under[] = {  // path, root
        {"/home/a", "", false}, {"", "", false},          {"", "/", false},          {"/", "", false},
        {"/home/a", "/home", true}, {"/homes", "/home", false}, {"/home", "/home", true}, {"/home", "/", true}};
    for (const auto& [path, root, expected] : under)
        EXPECT_EQ(forms::is_under(path, root), expected) << path << "|" << root;

    const std::tuple<std::string, std::vector<std::string>, std::string> of[] = {  // path, drives
        {"/home/a", {""}, ""}, {"/home/a", {"", "/"}, "/"}, {"", {"/", ""}, ""}, {"/home/a", {}, ""},
        {"/media/usb/x", {"/", "/media/usb", ""}, "/media/usb"}, {"/media/usbkey", {"/media/usb"}, ""}};
    for (const auto& [path, drives, expected] : of) EXPECT_EQ(forms::drive_of(path, drives), expected) << path;

    for (const char* drive : {"", "q:", "/no drive here"}) EXPECT_EQ(forms::drive_root(drive), drive);
    EXPECT_EQ(forms::normal_folder(""), "");
    EXPECT_TRUE(forms::subfolders("").empty());
    forms::Application app;
    EXPECT_EQ(app.drive_folder(""), utf8(fs::current_path()));
}

#ifdef _WIN32

TEST(Drives, ALabelledDriveStandsForItsLetter) {
    EXPECT_EQ(forms::drive_root("c: [SYSTEM]"), "c:");
    EXPECT_EQ(forms::drive_root("d: [Games [2]]"), "d:");
    EXPECT_EQ(forms::drive_root("x: [\\\\server\\share]"), "x:");
    EXPECT_EQ(forms::drive_root("e:"), "e:");
    // A folder offered as a drive stands for itself.
    EXPECT_EQ(forms::drive_root("C:\\games\\magnum drive"), "C:\\games\\magnum drive");

    const std::vector<std::string> drives{"c: [SYSTEM]", "d: [Games [2]]", "e:", "C:\\Games\\Halo"};
    EXPECT_EQ(forms::drive_of("C:\\Windows", drives), "c: [SYSTEM]");  // without regard to case
    EXPECT_EQ(forms::drive_of("c:\\games\\halo\\tags", drives), "C:\\Games\\Halo");
    EXPECT_EQ(forms::drive_of("D:\\", drives), "d: [Games [2]]");
    EXPECT_EQ(forms::drive_of("e:", drives), "e:");
    EXPECT_EQ(forms::drive_of("F:\\x", drives), "");
    EXPECT_EQ(forms::drive_of("\\\\server\\share\\x", drives), "");
}

// The folder of Windows, "C:\\Windows" or wherever it is.
std::string windows_folder() {
    wchar_t windows[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    return utf8(fs::path(std::wstring(windows, n)));
}

TEST(Drives, TheListHoldsTheSystemsDrivesAsLetterColonAndLabelInLetterOrder) {
    const std::vector<std::string> drives = forms::mounted_drives();
    ASSERT_FALSE(drives.empty());
    const std::regex entry("[a-z]:( \\[.+\\])?");
    for (std::size_t i = 0; i < drives.size(); ++i) {
        EXPECT_TRUE(std::regex_match(drives[i], entry)) << drives[i];
        if (i > 0) {
            EXPECT_LT(drives[i - 1][0], drives[i][0]);
        }
    }
    // The drives of Windows and of the current folder are there, and a new
    // drive list shows the current folder's.
    EXPECT_NE(forms::drive_of(windows_folder(), drives), "") << windows_folder();
    const std::string current = forms::drive_of(forms::current_folder(), drives);
    ASSERT_NE(current, "") << forms::current_folder();
    Driver d;
    EXPECT_EQ(d.main().Drive1.Drive(), current);
}

TEST(Drives, PickingADriveMovesTheFolderListToThatDrivesCurrentFolder) {
    const std::vector<std::string> drives = forms::mounted_drives();
    const std::string here = forms::current_folder(), own = forms::drive_of(here, drives);
    const std::string windows = windows_folder(), system = forms::drive_of(windows, drives);
    if (system == own) GTEST_SKIP() << "Windows is on the current folder's drive";

    // Windows keeps the current folder of every drive, for "C:" in "=C:".
    const std::wstring letter = fs_path(windows.substr(0, 2)).wstring();
    ASSERT_TRUE(SetEnvironmentVariableW((L"=" + letter).c_str(), fs_path(windows).c_str()));
    // The drive as a labelled one shows.
    const std::string labelled = forms::drive_root(system) + " [SYSTEM]";
    Driver d;
    d.app.drive_provider = [&] { return std::vector<std::string>{labelled, own}; };
    wizard::Form1& m = d.main();
    d.pick_drive(m.Drive1, labelled);
    EXPECT_EQ(m.Drive1.Drive(), labelled);
    EXPECT_EQ(m.Dir1.Path(), windows);
    EXPECT_TRUE(d.boxes.shown.empty());

    // Back to the current folder's drive: the current folder.
    d.pick_drive(m.Drive1, own);
    EXPECT_EQ(m.Dir1.Path(), here);

    // A letter the system lacks cannot be opened: the folder list stays.
    std::string missing;
    for (char c = 'z'; c >= 'a' && missing.empty(); --c)
        if (forms::drive_of(std::string(1, c) + ":\\", drives).empty()) missing = std::string(1, c) + ":";
    ASSERT_FALSE(missing.empty());
    d.pick_drive(m.Drive1, missing);
    EXPECT_EQ(m.Dir1.Path(), here);
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    EXPECT_EQ(d.boxes.shown[0].text, "Please select a valid drive");
}

#endif

}  // namespace
