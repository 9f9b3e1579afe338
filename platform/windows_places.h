// Where a path leads on Windows and what stands there: handles, attributes,
// identities, the real path of a handle and, under Wine, the exact name in a
// Linux folder. The file system's own helpers on Windows.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/file_system.h"

namespace forms::windows {

inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring wide(const std::string& utf8);
std::string narrow(std::wstring_view text);

// A handle closed when it goes.
class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (*this) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

// Where a path leads: the path the system is given, and the entry's folder
// and name.
struct Place {
    std::wstring path;
    std::wstring folder;  // a full path as written; empty for a root
    std::wstring name;    // as written
    // Whether the system takes the name exactly, as a Linux folder does, and
    // not without regard to case or by its short name.
    bool exact = false;
};

HANDLE open_existing(const std::wstring& path, DWORD access, bool own_entry);
FileId id_of(const BY_HANDLE_FILE_INFORMATION& info);
std::optional<DWORD> attributes_of(HANDLE h);
// Only "no such file" and "no such path" say that nothing stands there; any
// other error says that the system cannot tell.
inline bool nothing_there(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }
// Nothing either where nothing stands or where the system cannot tell: the
// error, when asked for, says which.
std::optional<DWORD> attributes(const std::wstring& path, DWORD* error = nullptr);
inline bool marks_link(DWORD a) { return (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
inline bool marks_folder(DWORD a) { return (a & FILE_ATTRIBUTE_DIRECTORY) != 0; }
Entry entry_of(DWORD a);
std::wstring drive_path(const std::wstring& final_path);
std::wstring final_path(HANDLE h, DWORD flags);
std::wstring real_path(HANDLE h);
std::wstring joined(const std::wstring& folder, std::wstring_view name);
bool under_wine();
std::wstring unix_folder(const std::wstring& folder);
std::filesystem::path full_path(const std::wstring& path);
Place place_in(const std::wstring& folder, const std::wstring& name, const std::wstring& unix);
Place place_of(const std::string& path);

// A folder entries are asked for in: its path as written and, once needed,
// its real path and identity.
class Holder {
public:
    explicit Holder(std::wstring folder) : folder_(std::move(folder)) {}

    // Whether this is the folder of a real path: the same path, or the same
    // identity. Nothing when the system cannot tell, its error then the
    // thread's last one.
    std::optional<bool> holds(const std::wstring& real_folder);

private:
    std::wstring folder_, real_;
    std::optional<FileId> id_;
    bool opened_ = false;
    DWORD error_ = ERROR_SUCCESS;
};

std::optional<bool> stands_at(HANDLE h, Holder& folder, const Place& place);
std::optional<bool> stands_itself(HANDLE h, const Place& place);

}  // namespace forms::windows
#endif
