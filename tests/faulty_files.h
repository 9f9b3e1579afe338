// A file system that fails on demand: delegates to the local one, and fails
// the nth call of an operation, or calls a hook before and after every
// changing call.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/forms.h"

namespace testing_driver {

class FaultyFiles : public forms::FileSystem {
public:
    explicit FaultyFiles(forms::FileSystem& inner = forms::local_file_system()) : real(inner) {}

    bool is_directory(const std::string& p) override {
        look_up(p);
        return real.is_directory(p);
    }
    forms::Found stat(const std::string& p) override {
        look_up(p);
        return real.stat(p);
    }
    std::string resolved(const std::string& p) override { return real.resolved(p); }
    std::optional<std::string> why_unwritable(const std::string& p) override {
        return unwritable.count(p) ? std::optional<std::string>("Permission denied") : real.why_unwritable(p);
    }
    bool read_only(const std::string& p) override { return read_only_files.count(p) || real.read_only(p); }
    std::vector<forms::Listed> list(const std::string& f) override { return real.list(f); }
    std::string read_file(const std::string& p) override {
        look_up(p);
        return real.read_file(p);
    }
    void read_pieces(const std::string& p, const std::function<void(std::string_view)>& take) override {
        look_up(p);
        if (unreadable.count(p)) throw forms::Error(forms::kPathFileAccess, "Cannot read \"" + p + "\": " + reason);
        real.read_pieces(p, [&](std::string_view piece) {
            bytes_read += piece.size();
            take(piece);
        });
    }
    std::unique_ptr<forms::FolderLock> lock(const std::string& f) override { return real.lock(f); }
    void remove(const std::string& p) override {
        change("remove", p, [&] { real.remove(p); });
    }
    void write_file(const std::string& p, std::string_view bytes) override {
        change("write", p, [&] { real.write_file(p, bytes); });
    }
    void rename(const std::string& from, const std::string& to) override {
        change("rename", from, [&] {
            look_up(to);
            real.rename(from, to);
        });
    }
    void make_folder(const std::string& p) override {
        change("make_folder", p, [&] { real.make_folder(p); });
    }
    void remove_folder(const std::string& p) override {
        change("remove_folder", p, [&] { real.remove_folder(p); });
    }

    forms::FileSystem& real;
    std::set<std::string> unwritable;       // folders that cannot be written
    std::set<std::string> read_only_files;  // files with the read-only attribute
    std::set<std::string> held;             // paths another program holds: they neither go nor move
    std::set<std::string> unreadable;       // files that fail when read
    // Folders that can be listed but not searched: nothing below them can be
    // looked up or changed.
    std::set<std::string> unsearchable;
    std::uint64_t bytes_read = 0;           // read in pieces so far
    std::map<std::string, int> fail_at;     // operation -> the call that fails (1 for the first)
    std::string reason = "disk full";
    std::map<std::string, int> calls;       // operation -> calls so far
    int changes = 0;                        // changing calls so far
    std::function<void(int)> before;        // called with the number of each changing call
    std::function<void(int)> after;         // the same, once the call took effect
    // The program is killed before the first change this is true for: that
    // change and every later one are dropped, so the folder stays as it was left.
    std::function<bool(const std::string& op, const std::string& path)> dies_at;

private:
    bool dead = false;
    void look_up(const std::string& path) const {
        for (const std::string& folder : unsearchable)
            if (path.size() > folder.size() && path.starts_with(folder) && (path[folder.size()] == '/' || path[folder.size()] == '\\'))
                throw forms::Error(forms::kPathFileAccess, "Cannot tell what stands at \"" + path + "\": Permission denied");
    }
    void change(const std::string& op, const std::string& path, const std::function<void()>& act) {
        dead = dead || (dies_at && dies_at(op, path));
        if (dead) return;
        look_up(path);
        const int number = ++changes;
        if (before) before(number);
        const int n = ++calls[op];
        const bool in_use = held.count(path) && (op == "remove" || op == "rename");
        if ((fail_at.count(op) && fail_at[op] == n) || in_use)
            throw forms::Error(forms::kPathFileAccess, "Cannot " + op + " \"" + path + "\": " +
                                                           (in_use ? "in use by another process" : reason));
        act();
        if (after) after(number);
    }
};

}  // namespace testing_driver
