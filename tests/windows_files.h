// Helpers of the tests of the local file system on Windows: Wine's own calls,
// Unix commands run from Windows, links, files held open, and a temporary
// folder to work in.
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "objects/kinds.h"
#include "objects/objects.h"
#include "tests/driver.h"
#include "tests/stock_folder.h"

namespace testing_driver {
namespace windows_files {

using Guard = std::shared_ptr<void>;
using Snapshot = std::map<std::string, std::string>;

// Wine's own calls, for what Windows has none for; null elsewhere.
template <typename F>
inline F* wine(const char* name) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
    return reinterpret_cast<F*>(reinterpret_cast<void (*)()>(found));
}

inline bool under_wine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// The Unix path of the exact name in its folder (Wine finds the name without
// regard to case).
inline std::string unix_name(const fs::path& p) {
    const auto name_of = wine<char*(const wchar_t*)>("wine_get_unix_file_name");
    char* folder = name_of ? name_of(p.parent_path().c_str()) : nullptr;
    const std::string out = folder ? std::string(folder) + "/" + utf8(p.filename()) : "";
    HeapFree(GetProcessHeap(), 0, folder);
    return out;
}

// Whether the folder lists that exact name (Wine finds a path without regard
// to case).
inline bool is_listed(const fs::path& p) {
    WIN32_FIND_DATAW found;
    const HANDLE h = FindFirstFileW((p.parent_path() / "*").c_str(), &found);
    bool there = false;
    for (bool more = h != INVALID_HANDLE_VALUE; more && !there; more = FindNextFileW(h, &found))
        there = p.filename() == found.cFileName;
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    return there;
}

// Runs a Unix program under Wine, which starts it without a handle to wait
// on: waits until done() holds. False when it cannot start or never does.
inline bool unix_command(const std::vector<std::string>& args, const std::function<bool()>& done) {
    const auto dos_name = wine<wchar_t*(const char*)>("wine_get_dos_file_name");
    wchar_t* program = dos_name ? dos_name(args[0].c_str()) : nullptr;
    if (program == nullptr) return false;
    std::wstring line;
    for (const std::string& a : args) line += L"\"" + fs_path(a).wstring() + L"\" ";
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process);
    HeapFree(GetProcessHeap(), 0, program);
    if (process.hProcess != nullptr) CloseHandle(process.hProcess);
    if (process.hThread != nullptr) CloseHandle(process.hThread);
    for (int wait = 0; started && wait < 400 && !done(); ++wait) Sleep(25);
    return started && done();
}

// Runs a Unix program that makes the entry at p, under Wine only.
inline bool unix_make(const std::vector<std::string>& args, const fs::path& p) {
    return unix_command(args, [&] { return is_listed(p); });
}

// A link to a folder: a junction where the system makes one, else under Wine
// a Unix link; to a file: a Unix link, under Wine only. Dropped on
// destruction, what it leads to left alone.
class Link {
public:
    Link(const fs::path& link, const fs::path& target) : link_(link) {
        unix_ = !(fs::is_directory(target) && make_junction(target)) &&
                unix_make({"/bin/ln", "-s", unix_name(target), unix_name(link)}, link);
    }
    ~Link() {
        if (unix_) unix_command({"/bin/rm", unix_name(link_)}, [&] { return !here(); });
        else RemoveDirectoryW(link_.c_str());
    }
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;
    bool here() const { return is_listed(link_); }

private:
    bool make_junction(const fs::path& target) {
        if (!CreateDirectoryW(link_.c_str(), nullptr)) return false;
        const std::wstring to = L"\\??\\" + target.wstring();
        const auto bytes = static_cast<WORD>(to.size() * sizeof(wchar_t));
        // Tag, data length, reserved; then the target's offset and length, the
        // display name's (empty), and both names with their terminators.
        std::vector<unsigned char> data(16 + bytes + 4, 0);
        const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
        const WORD fields[6] = {static_cast<WORD>(8 + bytes + 4), 0, 0, bytes, static_cast<WORD>(bytes + 2), 0};
        memcpy(data.data(), &tag, sizeof tag);
        memcpy(data.data() + 4, fields, sizeof fields);
        memcpy(data.data() + 16, to.data(), bytes);
        const HANDLE h = CreateFileW(link_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        DWORD done = 0;
        const bool made = h != INVALID_HANDLE_VALUE &&
                          DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, data.data(), static_cast<DWORD>(data.size()),
                                          nullptr, 0, &done, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (!made) RemoveDirectoryW(link_.c_str());
        return made;
    }

    // Wine 8 makes no reparse point (CreateSymbolicLinkW does nothing, the
    // control code is refused) but shows a Unix link to a folder as one.
    fs::path link_;
    bool unix_ = false;
};

// What a change fails with; "no error" when it does not.
inline std::string error_of(const std::function<void()>& change) {
    try {
        change();
    } catch (const forms::Error& e) {
        return e.what();
    }
    return "no error";
}

// Opens a file sharing nothing, as another program may, until released.
inline Guard hold(const fs::path& p) {
    const HANDLE h = CreateFileW(p.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << utf8(p);
    return Guard(h, [](HANDLE opened) { CloseHandle(opened); });
}

inline void set_read_only(const fs::path& p, bool on) {
    SetFileAttributesW(p.c_str(), on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

class WindowsFiles : public ::testing::Test {
protected:
    std::string at(const std::string& rel) const { return utf8(temp.path() / fs_path(rel)); }
    TempDir temp;
    forms::FileSystem& files = forms::local_file_system();
};

}  // namespace windows_files
}  // namespace testing_driver
#endif
