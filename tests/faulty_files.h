// A file system that fails on demand: delegates to the local one, and fails
// the nth call of an operation, or calls a hook before every changing call.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/forms.h"

namespace testing_driver {

class FaultyFiles : public forms::FileSystem {
public:
    bool is_directory(const std::string& p) override { return real.is_directory(p); }
    bool exists(const std::string& p) override { return real.exists(p); }
    bool is_link(const std::string& p) override { return real.is_link(p); }
    std::string resolved(const std::string& p) override { return real.resolved(p); }
    bool writable(const std::string& p) override { return !unwritable.count(p) && real.writable(p); }
    std::vector<std::string> files_with_suffix(const std::string& f, std::string_view s) override {
        return real.files_with_suffix(f, s);
    }
    std::string read_file(const std::string& p) override { return real.read_file(p); }
    void remove(const std::string& p) override {
        step("remove", p);
        real.remove(p);
    }
    void write_file(const std::string& p, std::string_view bytes) override {
        step("write", p);
        real.write_file(p, bytes);
    }
    void rename(const std::string& from, const std::string& to) override {
        step("rename", from);
        real.rename(from, to);
    }
    void make_folder(const std::string& p) override {
        step("make_folder", p);
        real.make_folder(p);
    }
    void remove_folder(const std::string& p) override {
        step("remove_folder", p);
        real.remove_folder(p);
    }

    forms::FileSystem& real = forms::local_file_system();
    std::set<std::string> unwritable;    // folders that cannot be written
    std::map<std::string, int> fail_at;  // operation -> the call that fails (1 for the first)
    std::string reason = "disk full";
    std::map<std::string, int> calls;    // operation -> calls so far
    int changes = 0;                     // changing calls so far
    std::function<void(int)> before;     // called with the number of each changing call

private:
    void step(const std::string& op, const std::string& path) {
        ++changes;
        if (before) before(changes);
        const int n = ++calls[op];
        if (fail_at.count(op) && fail_at[op] == n)
            throw forms::Error(forms::kPathFileAccess, "Cannot " + op + " \"" + path + "\": " + reason);
    }
};

}  // namespace testing_driver
