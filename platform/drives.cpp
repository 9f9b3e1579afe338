#include "platform/drives.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#include <winnetwk.h>
#endif

#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace forms {

namespace {

#ifdef _WIN32
// "c: [label]": the letter, a colon and, where the drive has one, its volume
// label in brackets (for a network drive the share it connects to).
std::string drive_entry(wchar_t letter) {
    const wchar_t device[] = {letter, L':', 0};
    const wchar_t root[] = {letter, L':', L'\\', 0};
    wchar_t label[MAX_PATH + 1] = {0};
    DWORD size = MAX_PATH + 1;
    if (GetDriveTypeW(root) == DRIVE_REMOTE) {
        if (WNetGetConnectionW(device, label, &size) != NO_ERROR) label[0] = 0;
    } else if (!GetVolumeInformationW(root, label, size, nullptr, nullptr, nullptr, nullptr, 0)) {
        label[0] = 0;
    }
    std::string entry{static_cast<char>('a' + (letter - L'A')), ':'};
    if (label[0] != 0) entry += " [" + utf8_path(fs::path(label)) + "]";
    return entry;
}
#else
// /proc/mounts escapes blanks and other characters as \ooo.
std::string unescape_mount(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            const std::string oct = s.substr(i + 1, 3);
            if (oct.size() == 3 && std::all_of(oct.begin(), oct.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                out += static_cast<char>(std::stoi(oct, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

// Device and mount point of each line of /proc/mounts (fields apart by one
// blank), read with C stdio: iostreams would set up their locales, half a
// megabyte, at the program's start.
std::vector<std::pair<std::string, std::string>> mounts() {
    std::string text;
    if (std::FILE* file = std::fopen("/proc/mounts", "r")) {
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
        std::fclose(file);
    }
    std::vector<std::pair<std::string, std::string>> list;
    for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
        end = std::min(text.find('\n', at), text.size());
        const std::size_t gap = text.find(' ', at);
        if (gap >= end) continue;
        const std::size_t next = std::min(text.find(' ', gap + 1), end);
        list.emplace_back(text.substr(at, gap - at), unescape_mount(text.substr(gap + 1, next - gap - 1)));
    }
    return list;
}
#endif

}  // namespace

std::vector<std::string> mounted_drives() {
    std::vector<std::string> drives;
#ifdef _WIN32
    // A drive without a medium answers at once instead of asking for one.
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const DWORD present = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (present & (DWORD{1} << i)) drives.push_back(drive_entry(static_cast<wchar_t>(L'A' + i)));
    SetErrorMode(mode);
#else
    drives.push_back("/");
    for (const auto& [device, point] : mounts()) {
        // Only file systems backed by a device a user stores files on.
        if (device.empty() || device[0] != '/' || point == "/") continue;
        if (point.rfind("/proc", 0) == 0 || point.rfind("/sys", 0) == 0 || point.rfind("/dev", 0) == 0 ||
            point.rfind("/run", 0) == 0 || point.rfind("/boot", 0) == 0 || point.rfind("/snap", 0) == 0 ||
            point.rfind("/etc", 0) == 0)
            continue;
        if (std::find(drives.begin(), drives.end(), point) == drives.end()) drives.push_back(point);
    }
    std::sort(drives.begin() + 1, drives.end());
#endif
    return drives;
}

std::string current_folder() {
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    return ec ? normal_folder(".") : normal_folder(utf8_path(here));
}

std::string drive_root(const std::string& drive) {
#ifdef _WIN32
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const bool labelled = drive.size() > 4 && drive.compare(2, 2, " [") == 0 && drive.back() == ']';
    if (drive.size() >= 2 && letter(drive[0]) && drive[1] == ':' && (drive.size() == 2 || labelled))
        return drive.substr(0, 2);
#endif
    return drive;
}

bool is_under(const std::string& path, const std::string& root) {
    if (root.empty()) return false;  // no drive holds anything
    if (path.size() < root.size() || !same_name(std::string_view(path).substr(0, root.size()), root)) return false;
    if (path.size() == root.size()) return true;
    const char next = path[root.size()];
    const char last = root.back();
    return next == '/' || next == '\\' || last == '/' || last == '\\';
}

std::string drive_of(const std::string& path, const std::vector<std::string>& drives) {
    std::string best, best_root;
    for (const std::string& d : drives) {
        const std::string root = drive_root(d);
        if (is_under(path, root) && root.size() > best_root.size()) {
            best = d;
            best_root = root;
        }
    }
    return best;
}

std::string normal_folder(const std::string& path) {
    if (path.empty()) return {};
    std::error_code ec;
    fs::path p = fs::absolute(local_path(path), ec);
    if (ec) return {};
    p = p.lexically_normal();
    std::string s = utf8_path(p);
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\') && local_path(s).has_relative_path()) s.pop_back();
    return s;
}

std::vector<std::string> subfolders(const std::string& folder) {
    std::vector<std::string> list;
    std::error_code ec;
    for (fs::directory_iterator it(local_path(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code type_ec;
        if (it->is_directory(type_ec)) list.push_back(utf8_path(it->path()));
    }
    std::sort(list.begin(), list.end());
    return list;
}

}  // namespace forms
