#include "platform/drives.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace forms {

namespace {

bool is_under(const std::string& path, const std::string& root) {
    if (path.size() < root.size() || path.compare(0, root.size(), root) != 0) return false;
    if (path.size() == root.size()) return true;
    const char next = path[root.size()];
    const char last = root.back();
    return next == '/' || next == '\\' || last == '/' || last == '\\';
}

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

}  // namespace

std::vector<std::string> mounted_drives() {
    std::vector<std::string> drives;
#ifdef _WIN32
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        std::error_code ec;
        if (fs::exists(root, ec)) drives.push_back(std::string(1, letter) + ":");
    }
#else
    drives.push_back("/");
    std::ifstream mounts("/proc/mounts");
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string device, point, type;
        fields >> device >> point >> type;
        point = unescape_mount(point);
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
    return ec ? normal_folder(".") : normal_folder(here.string());
}

std::string drive_of(const std::string& path, const std::vector<std::string>& drives) {
    std::string best;
    for (const std::string& d : drives)
        if (is_under(path, d) && d.size() > best.size()) best = d;
    return best;
}

std::string normal_folder(const std::string& path) {
    if (path.empty()) return {};
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(path), ec);
    if (ec) return {};
    p = p.lexically_normal();
    std::string s = p.string();
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\') && fs::path(s).has_relative_path()) s.pop_back();
    return s;
}

std::vector<std::string> subfolders(const std::string& folder) {
    std::vector<std::string> list;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code type_ec;
        if (it->is_directory(type_ec)) list.push_back(it->path().string());
    }
    std::sort(list.begin(), list.end());
    return list;
}

}  // namespace forms
