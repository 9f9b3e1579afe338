// Temporary copies of a stock object's folder, as the user prepares them.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "duplication/object_table.h"
#include "platform/file_system.h"

namespace testing_driver {

namespace fs = std::filesystem;

inline fs::path fs_path(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

inline std::string utf8(const fs::path& p) {
    const auto s = p.u8string();
    return std::string(s.begin(), s.end());
}

inline void write_text(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

inline std::string read_bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// text with every from replaced by to.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A folder below a fresh temporary directory, removed on destruction.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        root_ = fs::temp_directory_path() / ("vorlix-test-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(root_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return root_; }

private:
    fs::path root_;
};

// The user's renamed copy of a stock object's folder: the stock .meta file of
// every tag the table writes (those of the rename list say which they are),
// and unless freshly extracted an old .xml file in every purge folder; also
// other .meta files and an unlisted folder that must stay untouched.
inline fs::path make_stock_copy(const fs::path& parent, const duplication::ObjectTable& table,
                                const std::string& folder_name, bool freshly_extracted = false) {
    const fs::path root = parent / fs_path(folder_name);
    const auto at = [&](const std::string& rel) { return fs_path(forms::join_local(utf8(root), rel)); };
    for (const std::string& folder : table.purge) {
        fs::create_directories(at(folder));
        if (!freshly_extracted) write_text(at(folder) / "old.xml", "stale\r\n");
        write_text(at(folder) / "keep.meta", "meta");
    }
    for (const duplication::FileEntry& f : table.files)
        write_text(at(duplication::with_name(f.rel_path, table.stock_name) + "." + f.tag_class + ".meta"), "meta");
    for (const duplication::Rename& r : table.renames) write_text(at(r.from), "stock meta " + r.from);
    write_text(root / "notes" / "old.xml", "unlisted");
    write_text(root / "fp" / "models" / "deep.xml", "unlisted deeper");
    write_text(root / "readme.txt", "other file");
    return root;
}

// Everything below root by relative path: a file with its content, a folder,
// a link with where it leads; a pipe or the like is never opened.
inline std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> found;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        const std::string rel = utf8(e.path().lexically_relative(root));
        if (e.is_symlink()) found[rel] = "link to " + utf8(fs::read_symlink(e.path()));
        else if (e.is_directory()) found[rel] = "folder";
        else found[rel] = e.is_regular_file() ? read_bytes(e.path()) : "neither file nor folder";
    }
    return found;
}

}  // namespace testing_driver
