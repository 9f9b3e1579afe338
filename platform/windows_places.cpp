#include "platform/windows_places.h"

#ifdef _WIN32
#include <algorithm>

namespace forms::windows {

std::wstring wide(const std::string& utf8) { return local_path(utf8).native(); }

std::string narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

// Opens what stands at path; a link is followed unless own_entry.
HANDLE open_existing(const std::wstring& path, DWORD access, bool own_entry) {
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (own_entry ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    return CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
}

FileId id_of(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow, true};
}

std::optional<DWORD> attributes_of(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info)) return std::nullopt;
    return info.dwFileAttributes;
}

// The attributes of what stands at path, a link not followed. Wine lists a
// FIFO, socket or device file as a plain file but cannot tell its attributes
// (an invalid parameter): such a one is given the device attribute.
std::optional<DWORD> attributes(const std::wstring& path, DWORD* error) {
    DWORD unused = ERROR_SUCCESS;
    DWORD& why = error != nullptr ? *error : unused;
    why = ERROR_SUCCESS;
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a != INVALID_FILE_ATTRIBUTES) return a;
    why = GetLastError();
    const std::size_t name = path.find_last_of(L'\\');
    const bool pattern = path.find_first_of(L"*?", name == std::wstring::npos ? 0 : name) != std::wstring::npos;
    // No list holds a name the system refuses (Wine's says it is not there).
    const bool refused = why == ERROR_INVALID_NAME || why == ERROR_BAD_PATHNAME || why == ERROR_FILENAME_EXCED_RANGE;
    if (nothing_there(why) || pattern || refused) return std::nullopt;
    // A file that lets no one open it still shows in its folder's list; a
    // name the list does not hold is not there.
    WIN32_FIND_DATAW found;
    const HANDLE h = FindFirstFileW(path.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) why = ERROR_FILE_NOT_FOUND;
        return std::nullopt;
    }
    FindClose(h);
    const DWORD listed = why == ERROR_INVALID_PARAMETER ? FILE_ATTRIBUTE_DEVICE : found.dwFileAttributes;
    why = ERROR_SUCCESS;
    return listed;
}

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
namespace {

bool windows_name(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    constexpr std::wstring_view refused = L"<>:\"/\\|?*";
    return std::none_of(name.begin(), name.end(),
                        [&](wchar_t c) { return c < 0x20 || refused.find(c) != std::wstring_view::npos; });
}

}  // namespace

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

std::optional<bool> Holder::holds(const std::wstring& real_folder) {
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

}  // namespace forms::windows
#endif
