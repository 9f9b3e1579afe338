// A folder that ignores case, as exFAT or FAT does, over a real one: below its
// root each name is found without regard to case (ASCII, and the letters
// beyond it that the tests use), the exact name first; a new name that a
// present one matches is taken, and a file keeps the case it was made with. A
// file may be renamed to another case of its own name. Mounted with FUSE
// (keeps_names), a name looked up in another case still answers for its file
// after the file was moved, as the kernel keeps it for a while, and the local
// file system asks the folder's list what stands there.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "platform/file_system.h"
#include "platform/forms.h"

namespace testing_driver {

class FoldingFiles : public forms::FileSystem {
public:
    explicit FoldingFiles(const std::filesystem::path& root, forms::FileSystem& inner = forms::local_file_system())
        : root_(root.lexically_normal()), inner_(inner) {}

    bool is_directory(const std::string& p) override { return inner_.is_directory(real(p)); }
    forms::Found stat(const std::string& p) override {
        if (!keeps_names) return inner_.stat(real(p));
        const std::string found = real(p);
        forms::Found there = inner_.stat(found);
        if (there.type != forms::Entry::None && found != p) kept_[p] = found;
        if (there.type == forms::Entry::None && kept_.count(p)) there = inner_.stat(kept_[p]);
        return forms::as_listed(*this, p, there);
    }
    std::string resolved(const std::string& p) override { return inner_.resolved(real(p)); }
    std::optional<std::string> why_unwritable(const std::string& p) override { return inner_.why_unwritable(real(p)); }
    bool read_only(const std::string& p) override { return inner_.read_only(real(p)); }
    std::vector<forms::Listed> list(const std::string& f) override { return inner_.list(real(f)); }
    std::string read_file(const std::string& p) override { return inner_.read_file(real(p)); }
    void read_pieces(const std::string& p, const std::function<void(std::string_view)>& take) override {
        inner_.read_pieces(real(p), take);
    }
    std::unique_ptr<forms::FolderLock> lock(const std::string& f) override { return inner_.lock(real(f)); }
    void remove(const std::string& p) override { inner_.remove(real(p)); }
    void remove_folder(const std::string& p) override { inner_.remove_folder(real(p)); }
    void write_file(const std::string& p, std::string_view bytes) override { inner_.write_file(made(p), bytes); }
    void make_folder(const std::string& p) override { inner_.make_folder(made(p)); }
    void rename(const std::string& from, const std::string& to) override {
        const std::string source = real(from);
        const std::string target = real(to);
        // Another case of the file's own name is the file itself.
        if (target != source && inner_.exists(target))
            throw forms::Error(forms::kFileExists, "Cannot rename to \"" + to + "\": File exists");
        const std::string moved = utf8(fs(target).parent_path() / fs(to).filename());
        inner_.rename(source, moved);
        for (auto& [name, file] : kept_)
            if (file == source) file = moved;
    }

    bool keeps_names = false;

    // The path as the real folder holds it: each name below the root matched
    // without regard to case, the rest as given once nothing matches.
    std::string real(const std::string& path) {
        const std::filesystem::path p = fs(path).lexically_normal();
        const std::filesystem::path rest = p.lexically_relative(root_);
        if (rest.empty() || *rest.begin() == "..") return path;
        std::filesystem::path at = root_;
        bool found = true;
        for (const auto& part : rest) {
            std::string name = utf8(part);
            if (found && inner_.stat(utf8(at / part)).type == forms::Entry::None) {
                found = false;
                if (inner_.is_directory(utf8(at)))
                    for (const forms::Listed& e : inner_.list(utf8(at)))
                        if (folded(e.name) == folded(name)) {
                            name = e.name;
                            found = true;
                        }
            }
            at /= fs(name);
        }
        return utf8(at);
    }

private:
    // Where a new entry is made: nowhere a present name matches.
    std::string made(const std::string& path) {
        const std::string target = real(path);
        if (inner_.exists(target)) return target;  // fails there, as anything standing does
        return utf8(fs(target).parent_path() / fs(path).filename());
    }
    static std::string folded(std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        // Letters beyond ASCII in UTF-8, as exFAT folds them.
        for (const auto& [upper, lower] : {std::pair{"\xC3\x89", "\xC3\xA9"}, {"\xC5\xA0", "\xC5\xA1"},
                                           {"\xCE\xA3", "\xCF\x83"}, {"\xCF\x82", "\xCF\x83"}})
            for (auto at = s.find(upper); at != std::string::npos; at = s.find(upper, at)) s.replace(at, 2, lower);
        return s;
    }
    static std::filesystem::path fs(const std::string& s) { return forms::local_path(s); }
    static std::string utf8(const std::filesystem::path& p) { return forms::utf8_path(p); }

    std::filesystem::path root_;
    forms::FileSystem& inner_;
    std::map<std::string, std::string> kept_;  // a name looked up in another case -> the file it found
};

}  // namespace testing_driver
