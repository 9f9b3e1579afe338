#include "platform/file_system.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#endif

#include "platform/forms.h"

namespace fs = std::filesystem;

namespace forms {
namespace {

[[noreturn]] void fail(int number, const std::string& what, const std::string& path, const std::error_code& ec) {
    throw Error(number, what + " \"" + path + "\": " + ec.message());
}

bool ends_with_nocase(const std::string& s, std::string_view suffix) {
    if (s.size() < suffix.size()) return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char a = s[s.size() - suffix.size() + i], b = suffix[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

class LocalFileSystem final : public FileSystem {
public:
    bool is_directory(const std::string& path) override {
        std::error_code ec;
        return fs::is_directory(local_path(path), ec);
    }

    bool exists(const std::string& path) override {
        std::error_code ec;
        return fs::exists(fs::symlink_status(local_path(path), ec));
    }

    bool is_link(const std::string& path) override {
        std::error_code ec;
        return fs::is_symlink(fs::symlink_status(local_path(path), ec));
    }

    std::string resolved(const std::string& path) override {
        std::error_code ec;
        const fs::path real = fs::canonical(local_path(path), ec);
        if (ec) fail(kPathNotFound, "Cannot find", path, ec);
        return utf8_path(real);
    }

    bool writable(const std::string& folder) override {
#ifdef _WIN32
        // The folder's read-only attribute says nothing on Windows: try.
        const std::string probe = join_local(folder, ".vorlix-probe");
        std::error_code ec;
        {
            std::ofstream out(local_path(probe), std::ios::binary);
            if (!out) return false;
        }
        fs::remove(local_path(probe), ec);
        return true;
#else
        return ::access(utf8_path(local_path(folder)).c_str(), W_OK | X_OK) == 0;
#endif
    }

    std::vector<std::string> files_with_suffix(const std::string& folder, std::string_view suffix) override {
        std::vector<std::string> found;
        std::error_code ec;
        fs::directory_iterator it(local_path(folder), ec);
        if (ec) fail(kPathNotFound, "Cannot read the folder", folder, ec);
        for (fs::directory_iterator end; it != end; it.increment(ec)) {
            if (ec) fail(kPathFileAccess, "Cannot read the folder", folder, ec);
            std::error_code type_ec;
            if (it->is_directory(type_ec)) continue;
            const std::string name = utf8_path(it->path().filename());
            if (ends_with_nocase(name, suffix)) found.push_back(utf8_path(it->path()));
        }
        return found;
    }

    void remove(const std::string& path) override {
        std::error_code ec;
        if (!fs::remove(local_path(path), ec) || ec) {
            if (!ec) ec = std::make_error_code(std::errc::no_such_file_or_directory);
            fail(kPathFileAccess, "Cannot delete", path, ec);
        }
    }

    void write_file(const std::string& path, std::string_view bytes) override {
        std::ofstream out(local_path(path), std::ios::binary | std::ios::trunc);
        if (!out) fail(kPathFileAccess, "Cannot create", path, std::error_code(errno, std::generic_category()));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) fail(kPathFileAccess, "Cannot write", path, std::error_code(errno, std::generic_category()));
    }

    std::string read_file(const std::string& path) override {
        std::ifstream in(local_path(path), std::ios::binary);
        if (!in) fail(kFileNotFound, "Cannot read", path, std::error_code(errno, std::generic_category()));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void make_folder(const std::string& path) override {
        std::error_code ec;
        if (!fs::create_directory(local_path(path), ec) || ec) {
            if (!ec) ec = std::make_error_code(std::errc::file_exists);
            fail(kPathFileAccess, "Cannot create the folder", path, ec);
        }
    }

    void remove_folder(const std::string& path) override {
        std::error_code ec;
        if (!fs::remove(local_path(path), ec) || ec) {
            if (!ec) ec = std::make_error_code(std::errc::no_such_file_or_directory);
            fail(kPathFileAccess, "Cannot delete the folder", path, ec);
        }
    }

    void rename(const std::string& from, const std::string& to) override {
#ifdef RENAME_NOREPLACE
        // One call that never replaces; where the file system cannot, the
        // checks below do it in steps.
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
        const int error = errno;
        if (error == ENOENT && !exists(from))
            fail(kFileNotFound, "Cannot rename", from, std::make_error_code(std::errc::no_such_file_or_directory));
        if (error == EEXIST)
            fail(kFileExists, "Cannot rename to", to, std::make_error_code(std::errc::file_exists));
        if (error != EINVAL && error != ENOSYS)
            fail(kPathFileAccess, "Cannot rename", from, std::error_code(error, std::generic_category()));
#endif
        if (!exists(from))
            fail(kFileNotFound, "Cannot rename", from, std::make_error_code(std::errc::no_such_file_or_directory));
        if (exists(to))
            fail(kFileExists, "Cannot rename to", to, std::make_error_code(std::errc::file_exists));
        std::error_code ec;
        fs::rename(local_path(from), local_path(to), ec);
        if (ec) fail(kPathFileAccess, "Cannot rename", from, ec);
    }
};

}  // namespace

FileSystem& local_file_system() {
    static LocalFileSystem files;
    return files;
}

// Paths are UTF-8 text in the program; a plain string would go through the
// system's code page on Windows.
fs::path local_path(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string utf8_path(const fs::path& path) {
    const std::u8string u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

std::string join_local(const std::string& folder, std::string_view relative) {
    if (relative.empty() || relative == ".") return folder;
    std::string rel(relative);
    for (char& c : rel)
        if (c == '\\') c = static_cast<char>(fs::path::preferred_separator);
    std::string out = folder;
    if (!out.empty() && out.back() != '/' && out.back() != '\\') out += static_cast<char>(fs::path::preferred_separator);
    return out + rel;
}

#ifdef _WIN32
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
#else
// Here names and paths are counted in bytes.
std::size_t max_name_length() { return NAME_MAX; }
std::size_t max_path_length() { return PATH_MAX - 1; }
std::size_t length_of(std::string_view utf8) { return utf8.size(); }
#endif

}  // namespace forms
