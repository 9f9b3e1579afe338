// The local file system on Windows, on the system's own wide-character calls:
// MinGW-w64's std::filesystem sees no reparse points (a link to a folder
// looks like the folder) and reports most errors as an input/output error.
#include "platform/file_system.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/forms.h"

namespace forms {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring wide(const std::string& utf8) { return local_path(utf8).native(); }

std::string narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

// The system's text for an error, in the system's language, without its
// closing point and line break.
std::string system_text(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = n != 0 && text != nullptr ? narrow(std::wstring_view(text, n)) : std::string();
    if (text != nullptr) LocalFree(text);
    while (!out.empty() && (out.back() == ' ' || out.back() == '\t' || out.back() == '\r' || out.back() == '\n'))
        out.pop_back();
    if (!out.empty() && out.back() == '.') out.pop_back();
    if (out.empty()) return "system error " + std::to_string(code);
    return out;
}

// Why a change failed: the system's text, after the program's own words for a
// file in use (Wine only names the violation).
std::string reason(DWORD code) {
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION)
        return "it is in use by another program (" + system_text(code) + ")";
    return system_text(code);
}

int error_number(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND: return kFileNotFound;
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS: return kFileExists;
        case ERROR_PATH_NOT_FOUND: return kPathNotFound;
        default: return kPathFileAccess;
    }
}

[[noreturn]] void fail(const char* what, const std::string& path, DWORD code) {
    throw Error(error_number(code), std::string(what) + " \"" + path + "\": " + reason(code));
}

// Fails with the calling thread's last error; nothing between the failed call
// and this one may touch it.
[[noreturn]] void fail(const char* what, const std::string& path) { fail(what, path, GetLastError()); }

// Refused by this program rather than by the system.
[[noreturn]] void refuse(const char* what, const std::string& path, const char* why) {
    throw Error(kPathFileAccess, std::string(what) + " \"" + path + "\": " + why);
}

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

// Opens what stands at path; a link is followed unless own_entry.
HANDLE open_existing(const std::wstring& path, DWORD access, bool own_entry) {
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (own_entry ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    return CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
}

FileId id_of(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

std::optional<DWORD> attributes_of(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info)) return std::nullopt;
    return info.dwFileAttributes;
}

// The attributes of what stands at path, a link not followed. Wine lists a
// FIFO, socket or device file as a plain file but cannot tell its attributes
// (an invalid parameter): such a one is given the device attribute.
std::optional<DWORD> attributes(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a != INVALID_FILE_ATTRIBUTES) return a;
    const DWORD error = GetLastError();
    const std::size_t name = path.find_last_of(L'\\');
    const bool pattern = path.find_first_of(L"*?", name == std::wstring::npos ? 0 : name) != std::wstring::npos;
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || pattern) return std::nullopt;
    // A file that lets no one open it still shows in its folder's list.
    WIN32_FIND_DATAW found;
    const HANDLE h = FindFirstFileW(path.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(h);
    return error == ERROR_INVALID_PARAMETER ? FILE_ATTRIBUTE_DEVICE : found.dwFileAttributes;
}

bool marks_link(DWORD a) { return (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
bool marks_folder(DWORD a) { return (a & FILE_ATTRIBUTE_DIRECTORY) != 0; }

Entry entry_of(DWORD a) {
    if (marks_link(a)) return Entry::Link;  // symbolic links, junctions, any reparse point
    if (marks_folder(a)) return Entry::Folder;
    if ((a & FILE_ATTRIBUTE_DEVICE) != 0) return Entry::Other;
    return Entry::File;
}

// A final path as the program writes paths: "C:\x" for "\\?\C:\x",
// "\\server\share" for "\\?\UNC\server\share".
std::wstring drive_path(const std::wstring& final_path) {
    const std::wstring_view p = final_path;
    if (p.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + std::wstring(p.substr(8));
    if (p.starts_with(L"\\\\?\\")) return std::wstring(p.substr(4));
    return final_path;
}

// The final path of what the handle stands for; empty when the system cannot
// tell, its error then the thread's last one.
std::wstring final_path(HANDLE h, DWORD flags) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleW(h, path.data(), static_cast<DWORD>(path.size()), flags);
        if (n == 0) return {};
        const bool fits = n < path.size();
        path.resize(n);
        if (fits) return path;
    }
}

// The real path of what the handle stands for, in a form that opens it: with
// its drive, else (a volume without a letter) in the system's own names.
std::wstring real_path(HANDLE h) {
    const std::wstring dos = final_path(h, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (!dos.empty()) return dos;
    const std::wstring nt = final_path(h, FILE_NAME_NORMALIZED | VOLUME_NAME_NT);
    return nt.empty() ? nt : L"\\\\?\\GLOBALROOT" + nt;
}

std::wstring joined(const std::wstring& folder, std::wstring_view name) {
    return folder.ends_with(L'\\') ? folder + std::wstring(name) : folder + L'\\' + std::wstring(name);
}

bool under_wine() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// A name Windows takes for a file: Wine would make any other on Linux through
// a Unix path, where Windows refuses it.
bool windows_name(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    constexpr std::wstring_view refused = L"<>:\"/\\|?*";
    return std::none_of(name.begin(), name.end(),
                        [&](wchar_t c) { return c < 0x20 || refused.find(c) != std::wstring_view::npos; });
}

// Under Wine, the folder's Unix path as Wine finds the folder, in the form
// CreateFileW takes ("\\?\unix\home\..."), in which Wine looks names up
// exactly; empty when there is none.
std::wstring unix_folder(const std::wstring& folder) {
    using UnixName = char* (*)(const wchar_t*);
    static const auto unix_name = reinterpret_cast<UnixName>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (unix_name == nullptr) return {};
    const auto ask = [&](const std::wstring& path) {
        char* found = unix_name(path.c_str());
        std::string out = found != nullptr ? found : "";
        HeapFree(GetProcessHeap(), 0, found);
        while (out.size() > 1 && out.back() == '/') out.pop_back();
        return out;
    };
    const std::string unix = ask(folder);
    if (!unix.starts_with('/') || unix.find('\\') != std::string::npos) return {};
    const int size = static_cast<int>(unix.size());
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, unix.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    if (n <= 0 || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, unix.data(), size, out.data(), n) != n) return {};
    std::replace(out.begin(), out.end(), L'/', L'\\');
    out = L"\\\\?\\unix" + (out == L"\\" ? L"" : out);
    // Wine names Unix files in the locale's character set: one other than
    // UTF-8 must come back the same, or the folder is left to Wine to find.
    const bool ascii = std::all_of(unix.begin(), unix.end(), [](char c) { return (c & 0x80) == 0; });
    if (!ascii && ask(out) != unix) return {};
    return out;
}

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

// The full path the system makes of a path, without a closing separator but
// a root's.
std::filesystem::path full_path(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) {
            full = path;
            break;
        }
        const bool fits = n < full.size();
        full.resize(n);
        if (fits) break;
    }
    std::filesystem::path p(full);
    if (!p.has_filename() && p.has_relative_path()) p = p.parent_path();
    return p;
}

// The entry of that name in a folder (a full path), under Wine by the exact
// name in the Linux folder, given its Unix path.
Place place_in(const std::wstring& folder, const std::wstring& name, const std::wstring& unix) {
    if (unix.empty() || !windows_name(name)) return {joined(folder, name), folder, name, false};
    return {unix + L'\\' + name, folder, name, true};
}

// Under Wine the entry is asked for by the exact name in the Linux folder:
// Wine looks names up without regard to case even where Linux keeps it, and
// then finds, or refuses as taken, a name that differs only in case.
// Elsewhere the path goes to the system as it is.
Place place_of(const std::string& path) {
    const std::wstring given = wide(path);
    const std::filesystem::path p = full_path(given);
    if (!p.has_filename()) return {given, {}, {}, false};  // a drive's root
    const std::wstring& full = p.native();
    const bool verbatim = full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\");
    const std::wstring folder = p.parent_path().native();
    Place place = place_in(folder, p.filename().native(), under_wine() && !verbatim ? unix_folder(folder) : L"");
    if (!place.exact) place.path = given;
    return place;
}

// A folder entries are asked for in: its path as written and, once needed,
// its real path and identity.
class Holder {
public:
    explicit Holder(std::wstring folder) : folder_(std::move(folder)) {}

    // Whether this is the folder of a real path: the same path, or the same
    // identity. Nothing when the system cannot tell, its error then the
    // thread's last one.
    std::optional<bool> holds(const std::wstring& real_folder) {
        const std::wstring there = drive_path(real_folder);
        if (there == folder_) return true;
        if (!opened_) {
            opened_ = true;
            const Handle h(open_existing(folder_, 0, false));
            BY_HANDLE_FILE_INFORMATION info;
            if (h && GetFileInformationByHandle(h.get(), &info)) {
                id_ = id_of(info);
                real_ = drive_path(real_path(h.get()));
            } else {
                error_ = GetLastError();
            }
        }
        if (!id_) {
            SetLastError(error_);
            return std::nullopt;
        }
        if (there == real_) return true;
        const Handle other(open_existing(real_folder, 0, false));
        BY_HANDLE_FILE_INFORMATION info;
        if (!other || !GetFileInformationByHandle(other.get(), &info)) return std::nullopt;
        return id_of(info) == *id_;
    }

private:
    std::wstring folder_, real_;
    std::optional<FileId> id_;
    bool opened_ = false;
    DWORD error_ = ERROR_SUCCESS;
};

// Whether the handle stands for the entry named so in the folder, rather than
// for what a link there leads to. Wine shows a Unix link to a file as a plain
// file, without a reparse point, and opens the file it leads to even when
// asked for the entry itself: the same volume serial, file index and
// attributes either way. Only the final path tells them apart: the target's,
// not the link's own. Its folder must be the entry's folder (by identity: a
// Linux folder may keep case where Windows ignores it) and its name the name
// the folder lists, exactly. Nothing when the system cannot tell, its error
// then the thread's last one.
std::optional<bool> stands_at(HANDLE h, Holder& folder, const Place& place) {
    if (place.name.empty()) return true;  // a drive's root
    const std::wstring real = real_path(h);
    const std::size_t cut = real.find_last_of(L'\\');
    if (cut == std::wstring::npos) return std::nullopt;
    const std::wstring_view name = std::wstring_view(real).substr(cut + 1);
    if (name != place.name) {
        // Another case or a short name stands for the name the folder lists.
        if (place.exact) return false;
        WIN32_FIND_DATAW found;
        const HANDLE listed = FindFirstFileW(joined(place.folder, place.name).c_str(), &found);
        if (listed == INVALID_HANDLE_VALUE) return false;
        FindClose(listed);
        if (name != found.cFileName) return false;
    }
    // "C:\" for a file at the root, else the folder without a separator.
    const bool root = cut > 0 && real[cut - 1] == L':';
    return folder.holds(real.substr(0, root ? cut + 1 : cut));
}

std::optional<bool> stands_itself(HANDLE h, const Place& place) {
    Holder folder(place.folder);
    return stands_at(h, folder, place);
}

// Refuses a change through a link that the system shows as the entry itself.
void check_itself(HANDLE h, const Place& place, const char* what, const std::string& path) {
    const auto itself = stands_itself(h, place);
    if (!itself) fail(what, path);
    if (!*itself) refuse(what, path, "it is a link");
}

// Refuses, before it is opened, what is neither a file, a folder nor a link:
// Wine lists a FIFO, socket or device file as a plain file and opens it as a
// pipe.
void refuse_other(const Place& place, const char* what, const std::string& path) {
    if (const auto a = attributes(place.path); a && entry_of(*a) == Entry::Other)
        refuse(what, path, "it is not a file");
}

// Marks what the handle stands for to go when it is closed.
void delete_on_close(HANDLE h, const char* what, const std::string& path) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition)) fail(what, path);
}

// A folder taken by a named object of the system that stands for the folder
// itself (its volume and file number, whatever path leads there): a second
// run finds it there, and it is gone once its holder closes it or ends. A
// handle on the folder that shares no deletion would keep Wine from listing
// the folder, and Windows from renaming into it.
class NamedLock final : public FolderLock {
public:
    explicit NamedLock(HANDLE h) : h_(h) {}

private:
    Handle h_;
};

class LocalFileSystem final : public FileSystem {
public:
    bool is_directory(const std::string& path) override {
        const std::wstring p = wide(path);
        const auto a = attributes(p);
        if (!a || !marks_folder(*a)) return false;
        if (!marks_link(*a)) return true;
        const Handle target(open_existing(p, 0, false));
        const auto reached = target ? attributes_of(target.get()) : std::nullopt;
        return reached && marks_folder(*reached);
    }

    Found stat(const std::string& path) override {
        Place place = place_of(path);
        auto a = attributes(place.path);
        if (!a && place.exact) {
            // A folder is found as Windows finds it, as on the way to what
            // it holds; a file only by its exact name.
            const std::wstring given = wide(path);
            a = attributes(given);
            if (!a || !(marks_folder(*a) || marks_link(*a))) return {};
            place = {given, place.folder, place.name, false};
        }
        if (!a) return {};
        Found found{entry_of(*a), {}, 0};
        if (found.type == Entry::Other) return found;  // never opened
        const Handle h(open_existing(place.path, 0, true));
        BY_HANDLE_FILE_INFORMATION info;
        if (!h || !GetFileInformationByHandle(h.get(), &info)) return found;
        found.id = id_of(info);
        if (found.type != Entry::File) return found;
        found.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
        // Wine shows a Unix link to a file as a plain file: one found
        // elsewhere is a link, one that cannot be told is taken as shown.
        const auto itself = stands_itself(h.get(), place);
        if (itself && !*itself) found = {Entry::Link, found.id, 0};
        return found;
    }

    std::string resolved(const std::string& path) override {
        const Handle h(open_existing(wide(path), 0, false));
        if (!h) fail("Cannot find", path);
        const std::wstring found = final_path(h.get(), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (found.empty()) fail("Cannot find", path);
        std::string real = narrow(drive_path(found));
        // The drive letter as the path had it.
        if (path.size() >= 2 && real.size() >= 2 && path[1] == ':' && real[1] == ':' &&
            (path[0] | 0x20) == (real[0] | 0x20))
            real[0] = path[0];
        return real;
    }

    std::optional<std::string> why_unwritable(const std::string& folder) override {
        // The folder's attributes say nothing: a file is made under a name of
        // its own, never one that is there, and the system drops it on close.
        static std::atomic<unsigned> counter{0};
        const std::string prefix = ".vorlix-probe-" + std::to_string(GetCurrentProcessId()) + "-";
        DWORD error = ERROR_FILE_EXISTS;
        for (int attempt = 0; attempt < 100 && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
             ++attempt) {
            const std::wstring probe = wide(join_local(folder, prefix + std::to_string(++counter)));
            const Handle h(CreateFileW(probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                       nullptr));
            if (h) return std::nullopt;
            error = GetLastError();
        }
        return system_text(error);
    }

    bool read_only(const std::string& path) override {
        const auto a = attributes(wide(path));
        return a && (*a & FILE_ATTRIBUTE_READONLY) != 0;
    }

    std::vector<Listed> list(const std::string& folder) override {
        std::vector<Listed> found;
        WIN32_FIND_DATAW entry;
        const HANDLE h = FindFirstFileExW(wide(join_local(folder, "*")).c_str(), FindExInfoBasic, &entry,
                                          FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            // The root of an empty drive lists not even "." and "..".
            if (error == ERROR_FILE_NOT_FOUND && is_directory(folder)) return found;
            fail("Cannot read the folder", folder, error);
        }
        // Each plain file told as stat() tells it, by the listed name (under
        // Wine in the Linux folder).
        const std::wstring here = full_path(wide(folder)).native();
        const std::wstring unix = under_wine() ? unix_folder(here) : L"";
        Holder holder(here);
        for (;;) {
            const std::wstring name = entry.cFileName;
            Entry type = entry_of(entry.dwFileAttributes);
            if (type == Entry::File) {
                const Place place = place_in(here, name, unix);
                if (const auto a = attributes(place.path); a && entry_of(*a) == Entry::Other) {
                    type = Entry::Other;  // never opened
                } else if (a) {
                    const Handle file(open_existing(place.path, 0, true));
                    const auto itself = file ? stands_at(file.get(), holder, place) : std::nullopt;
                    if (itself && !*itself) type = Entry::Link;
                }
            }
            if (name != L"." && name != L"..") found.push_back({narrow(name), type});
            if (FindNextFileW(h, &entry)) continue;
            const DWORD error = GetLastError();
            FindClose(h);
            if (error != ERROR_NO_MORE_FILES) fail("Cannot read the folder", folder, error);
            return found;
        }
    }

    void remove(const std::string& path) override {
        // The entry itself, opened as it is: what it is comes from the handle
        // that deletes it, so nothing can take its place in between. A link
        // to a folder goes as RemoveDirectoryW takes it, the folder stays.
        // Wine opens what a Unix link leads to, and such a link stays.
        const Place place = place_of(path);
        refuse_other(place, "Cannot delete", path);
        const Handle h(open_existing(place.path, DELETE, true));
        if (!h) fail("Cannot delete", path);
        const auto a = attributes_of(h.get());
        if (!a) fail("Cannot delete", path);
        if (marks_folder(*a) && !marks_link(*a)) refuse("Cannot delete", path, "it is a folder");
        check_itself(h.get(), place, "Cannot delete", path);
        delete_on_close(h.get(), "Cannot delete", path);
    }

    void write_file(const std::string& path, std::string_view bytes) override {
        // A new file only: never over what stands there nor through a link,
        // dangling or one Wine shows as a plain file; one made since fails it
        // too. The run sets aside whatever stood there.
        const std::wstring p = place_of(path).path;
        if (const auto there = attributes(p); there && marks_link(*there))
            refuse("Cannot create", path, "a link stands there");
        const Handle h(CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h) fail("Cannot create", path);
        for (std::size_t done = 0; done < bytes.size();) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
            DWORD written = 0;
            if (!WriteFile(h.get(), bytes.data() + done, chunk, &written, nullptr)) fail("Cannot write", path);
            done += written;
        }
    }

    std::string read_file(const std::string& path) override {
        const Handle h(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!h) fail("Cannot read", path);
        std::string bytes;
        char buffer[65536];
        for (;;) {
            DWORD n = 0;
            if (!ReadFile(h.get(), buffer, sizeof buffer, &n, nullptr)) fail("Cannot read", path);
            if (n == 0) return bytes;
            bytes.append(buffer, n);
        }
    }

    void read_pieces(const std::string& path, const std::function<void(std::string_view)>& take) override {
        const Place place = place_of(path);
        if (const auto a = attributes(place.path); a && entry_of(*a) != Entry::File)
            refuse("Cannot read", path, "it is not a file");
        const Handle h(CreateFileW(place.path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!h) fail("Cannot read", path);
        const auto a = attributes_of(h.get());
        if (!a) fail("Cannot read", path);
        if (GetFileType(h.get()) != FILE_TYPE_DISK || entry_of(*a) != Entry::File)
            refuse("Cannot read", path, "it is not a file");
        check_itself(h.get(), place, "Cannot read", path);
        char buffer[65536];
        for (;;) {
            DWORD n = 0;
            if (!ReadFile(h.get(), buffer, sizeof buffer, &n, nullptr)) fail("Cannot read", path);
            if (n == 0) return;
            take(std::string_view(buffer, n));
        }
    }

    void make_folder(const std::string& path) override {
        if (!CreateDirectoryW(wide(path).c_str(), nullptr)) fail("Cannot create the folder", path);
    }

    void remove_folder(const std::string& path) override {
        // Never a link, nor the folder it leads to. Wine marks a link to a
        // folder only in the path's attributes and opens the folder itself.
        const std::wstring p = wide(path);
        if (const auto there = attributes(p); there && marks_link(*there))
            refuse("Cannot delete the folder", path, "it is a link");
        const Handle h(open_existing(p, DELETE, true));
        if (!h) fail("Cannot delete the folder", path);
        const auto a = attributes_of(h.get());
        if (!a) fail("Cannot delete the folder", path);
        if (marks_link(*a)) refuse("Cannot delete the folder", path, "it is a link");
        if (!marks_folder(*a)) fail("Cannot delete the folder", path, ERROR_DIRECTORY);
        delete_on_close(h.get(), "Cannot delete the folder", path);
    }

    void rename(const std::string& from, const std::string& to) override {
        // Checked and renamed through one handle on the entry itself, so that
        // nothing can take its place in between; a link goes as the link.
        // Never onto what stands at to.
        const Place source = place_of(from);
        refuse_other(source, "Cannot rename", from);
        const Handle h(open_existing(source.path, DELETE, true));
        if (!h) fail("Cannot rename", from);
        check_itself(h.get(), source, "Cannot rename", from);
        // Wine takes a Unix path here in the system's own form, "\??\unix\...".
        std::wstring target = place_of(to).path;
        if (target.starts_with(L"\\\\?\\unix\\")) target[1] = L'?';
        const std::size_t name_bytes = target.size() * sizeof(wchar_t);
        std::vector<std::byte> info(sizeof(FILE_RENAME_INFO) + name_bytes);
        auto* rename_info = new (info.data()) FILE_RENAME_INFO{};  // ReplaceIfExists false
        rename_info->FileNameLength = static_cast<DWORD>(name_bytes);
        std::memcpy(info.data() + offsetof(FILE_RENAME_INFO, FileName), target.data(), name_bytes);
        if (SetFileInformationByHandle(h.get(), FileRenameInfo, rename_info, static_cast<DWORD>(info.size()))) return;
        // The source is open: what is missing, refused or taken is the target.
        const DWORD error = GetLastError();
        switch (error) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_INVALID_NAME:
            case ERROR_BAD_PATHNAME:
            case ERROR_FILENAME_EXCED_RANGE:
            case ERROR_ALREADY_EXISTS:
            case ERROR_FILE_EXISTS:
            case ERROR_NOT_SAME_DEVICE: fail("Cannot rename to", to, error);
            default: fail("Cannot rename", from, error);
        }
    }

    std::unique_ptr<FolderLock> lock(const std::string& folder) override {
        const Handle h(open_existing(wide(folder), 0, false));
        if (!h) fail("Cannot open the folder", folder);
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(h.get(), &info)) fail("Cannot open the folder", folder);
        if (!marks_folder(info.dwFileAttributes)) fail("Cannot open the folder", folder, ERROR_DIRECTORY);
        wchar_t name[64];
        std::swprintf(name, 64, L"Global\\vorlix-tools-folder-%08lx-%08lx%08lx", info.dwVolumeSerialNumber,
                      info.nFileIndexHigh, info.nFileIndexLow);
        SetLastError(ERROR_SUCCESS);
        const HANDLE taken = CreateMutexW(nullptr, FALSE, name);
        const DWORD error = GetLastError();
        if (taken != nullptr && error != ERROR_ALREADY_EXISTS) return std::make_unique<NamedLock>(taken);
        if (taken != nullptr) CloseHandle(taken);
        // There already: another run holds the folder (another user's may
        // not even be opened by this one).
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) return nullptr;
        fail("Cannot lock the folder", folder, error);
    }
};

}  // namespace

FileSystem& local_file_system() {
    static LocalFileSystem files;
    return files;
}

bool same_name(std::string_view a, std::string_view b) {
    // Bytes that are no UTF-8 are compared as they stand.
    const auto utf16 = [](std::string_view text, std::wstring& out) {
        const int size = static_cast<int>(text.size());
        const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
        out.resize(static_cast<std::size_t>(n));
        return text.empty() || (n > 0 && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size,
                                                             out.data(), n) == n);
    };
    std::wstring x, y;
    if (!utf16(a, x) || !utf16(b, y)) return a == b;
    return CompareStringOrdinal(x.data(), static_cast<int>(x.size()), y.data(), static_cast<int>(y.size()), TRUE) ==
           CSTR_EQUAL;
}

// Windows counts UTF-16 units: a name of up to 255, a path of up to 259.
std::size_t max_name_length() { return 255; }
std::size_t max_path_length() { return 259; }

std::size_t length_of(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if ((b & 0xC0) != 0x80) units += (b >= 0xF0) ? 2 : 1;
    }
    return units;
}
const char* length_unit() { return "characters"; }

}  // namespace forms
#endif
