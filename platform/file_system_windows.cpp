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
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "platform/forms.h"
#include "platform/windows_places.h"

namespace forms {
namespace {

using namespace windows;

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
    throw Error(error_number(code), std::string(what) + " " + quoted(path) + ": " + reason(code));
}

// Fails with the calling thread's last error; nothing between the failed call
// and this one may touch it.
[[noreturn]] void fail(const char* what, const std::string& path) { fail(what, path, GetLastError()); }

[[noreturn]] void cannot_tell(const std::string& path, DWORD code) { fail("Cannot tell what stands at", path, code); }

// The attributes of what stands at the path, a link not followed; nothing
// where nothing stands. A change fails as what when the system cannot tell.
std::optional<DWORD> attributes_or_fail(const std::wstring& p, const char* what, const std::string& path) {
    DWORD error = ERROR_SUCCESS;
    const auto a = attributes(p, &error);
    if (!a && !nothing_there(error)) fail(what, path, error);
    return a;
}

// Refused by this program rather than by the system.
[[noreturn]] void refuse(const char* what, const std::string& path, const char* why) {
    throw Error(kPathFileAccess, std::string(what) + " " + quoted(path) + ": " + why);
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
    if (const auto a = attributes_or_fail(place.path, what, path); a && entry_of(*a) == Entry::Other)
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
        // A link that leads nowhere, or round in a loop, leads to no folder.
        const auto nowhere = [](DWORD error) { return nothing_there(error) || error == ERROR_CANT_RESOLVE_FILENAME; };
        const std::wstring p = wide(path);
        DWORD error = ERROR_SUCCESS;
        const auto a = attributes(p, &error);
        if (!a && nowhere(error)) return false;
        if (!a) cannot_tell(path, error);
        if (!marks_folder(*a)) return false;
        if (!marks_link(*a)) return true;
        const Handle target(open_existing(p, 0, false));
        BY_HANDLE_FILE_INFORMATION info;
        if (target && GetFileInformationByHandle(target.get(), &info)) return marks_folder(info.dwFileAttributes);
        error = GetLastError();
        if (nowhere(error)) return false;
        cannot_tell(path, error);
    }

    Found stat(const std::string& path) override {
        Place place = place_of(path);
        DWORD error = ERROR_SUCCESS;
        auto a = attributes(place.path, &error);
        if (!a && place.exact && nothing_there(error)) {
            // A folder is found as Windows finds it, as on the way to what
            // it holds; a file only by its exact name.
            const std::wstring given = wide(path);
            a = attributes(given, &error);
            if (a && !(marks_folder(*a) || marks_link(*a))) return {};
            if (a) place = {given, place.folder, place.name, false};
        }
        if (!a && nothing_there(error)) return {};
        if (!a) cannot_tell(path, error);
        Found found{entry_of(*a), {}, 0, 0};
        if (found.type == Entry::Other) return found;  // never opened: no identity
        const Handle h(open_existing(place.path, 0, true));
        BY_HANDLE_FILE_INFORMATION info;
        if (!h || !GetFileInformationByHandle(h.get(), &info)) {
            error = GetLastError();
            if (nothing_there(error)) return {};  // gone since
            cannot_tell(path, error);
        }
        found.id = id_of(info);
        found.links = info.nNumberOfLinks;
        if (found.type != Entry::File) return found;
        found.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
        // Wine shows a Unix link to a file as a plain file: one found
        // elsewhere is a link.
        const auto itself = stands_itself(h.get(), place);
        if (!itself) cannot_tell(path, GetLastError());
        if (!*itself) found = {Entry::Link, found.id, 0, found.links};
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
        const std::unique_ptr<void, decltype(&FindClose)> closer(h, FindClose);
        const std::wstring here = full_path(wide(folder)).native();
        const std::wstring unix = under_wine() ? unix_folder(here) : L"";
        Holder holder(here);
        for (;;) {
            const std::wstring name = entry.cFileName;
            Entry type = entry_of(entry.dwFileAttributes);
            if (type == Entry::File) type = listed_file(place_in(here, name, unix), holder, folder);
            if (name != L"." && name != L"..") found.push_back({narrow(name), type});
            if (FindNextFileW(h, &entry)) continue;
            const DWORD error = GetLastError();
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
        if (const auto there = attributes_or_fail(p, "Cannot create", path); there && marks_link(*there))
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
        if (const auto a = attributes_or_fail(place.path, "Cannot read", path); a && entry_of(*a) != Entry::File)
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
        if (const auto there = attributes_or_fail(p, "Cannot delete the folder", path); there && marks_link(*there))
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

private:
    // What a file the folder lists is, told as stat() tells it, by the
    // listed name (under Wine in the Linux folder): the listed type where
    // the entry is gone since.
    static Entry listed_file(const Place& place, Holder& holder, const std::string& folder) {
        const auto path = [&] { return join_local(folder, narrow(place.name)); };
        DWORD error = ERROR_SUCCESS;
        const auto a = attributes(place.path, &error);
        if (!a && nothing_there(error)) return Entry::File;
        if (!a) cannot_tell(path(), error);
        if (entry_of(*a) == Entry::Other) return Entry::Other;  // never opened
        const Handle file(open_existing(place.path, 0, true));
        if (!file) {
            error = GetLastError();
            if (nothing_there(error)) return Entry::File;
            cannot_tell(path(), error);
        }
        const auto itself = stands_at(file.get(), holder, place);
        if (!itself) cannot_tell(path(), GetLastError());
        return *itself ? Entry::File : Entry::Link;
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

// Windows compares names without regard to case.
bool same_in_any_case(std::string_view a, std::string_view b) { return same_name(a, b); }

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
