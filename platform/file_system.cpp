#include "platform/file_system.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/forms.h"

namespace fs = std::filesystem;

namespace forms {
namespace {

// Paths are UTF-8 text in the program.
fs::path local(const std::string& path) { return fs::path(std::u8string(path.begin(), path.end())); }

std::string text(const fs::path& path) {
    const std::u8string u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

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
        return fs::is_directory(local(path), ec);
    }

    bool exists(const std::string& path) override {
        std::error_code ec;
        return fs::exists(fs::symlink_status(local(path), ec));
    }

    std::vector<std::string> files_with_suffix(const std::string& folder, std::string_view suffix) override {
        std::vector<std::string> found;
        std::error_code ec;
        fs::directory_iterator it(local(folder), ec);
        if (ec) fail(kPathNotFound, "Cannot read the folder", folder, ec);
        for (fs::directory_iterator end; it != end; it.increment(ec)) {
            if (ec) fail(kPathFileAccess, "Cannot read the folder", folder, ec);
            std::error_code type_ec;
            if (it->is_directory(type_ec)) continue;
            const std::string name = text(it->path().filename());
            if (ends_with_nocase(name, suffix)) found.push_back(text(it->path()));
        }
        return found;
    }

    void remove(const std::string& path) override {
        std::error_code ec;
        if (!fs::remove(local(path), ec) || ec) {
            if (!ec) ec = std::make_error_code(std::errc::no_such_file_or_directory);
            fail(kPathFileAccess, "Cannot delete", path, ec);
        }
    }

    void write_file(const std::string& path, std::string_view bytes) override {
        std::ofstream out(local(path), std::ios::binary | std::ios::trunc);
        if (!out) fail(kPathFileAccess, "Cannot create", path, std::error_code(errno, std::generic_category()));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) fail(kPathFileAccess, "Cannot write", path, std::error_code(errno, std::generic_category()));
    }

    void rename(const std::string& from, const std::string& to) override {
        if (!exists(from))
            fail(kFileNotFound, "Cannot rename", from, std::make_error_code(std::errc::no_such_file_or_directory));
        if (exists(to))
            fail(kFileExists, "Cannot rename to", to, std::make_error_code(std::errc::file_exists));
        std::error_code ec;
        fs::rename(local(from), local(to), ec);
        if (ec) fail(kPathFileAccess, "Cannot rename", from, ec);
    }
};

}  // namespace

FileSystem& local_file_system() {
    static LocalFileSystem files;
    return files;
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

}  // namespace forms
