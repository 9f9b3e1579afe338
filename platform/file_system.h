// File operations of a duplication, behind an interface so that tests can
// make them fail. Paths are local paths; every failure throws forms::Error
// whose description names the operation, the path and the system's reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// What stands at a path, a link not followed. Link: a symbolic link, or on
// Windows any reparse point (junctions included).
enum class Entry { None, File, Folder, Link, Other };

// Which file stands somewhere: one file answers to one identity whatever name
// leads to it (the device and inode number; on Windows the volume serial
// number and file index). An identity the system did not give is the same as
// none, not even another one it did not give.
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool known = false;
    friend bool operator==(const FileId& a, const FileId& b) {
        return a.known && b.known && a.volume == b.volume && a.index == b.index;
    }
};

// What stands at a path, a link not followed.
struct Found {
    Entry type = Entry::None;
    FileId id;               // unless None
    std::uint64_t size = 0;  // a File's size in bytes
    std::uint64_t links = 0; // how many names the file has (hard links), unless None
};

struct Listed {
    std::string name;
    Entry type = Entry::None;
};

// Held while one run works on a folder; released when destroyed, or by the
// system when the process ends.
class FolderLock {
public:
    virtual ~FolderLock() = default;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Follows links. Throws when the system cannot tell (a folder on the way
    // that cannot be searched, say); a link that leads nowhere is no folder.
    virtual bool is_directory(const std::string& path) = 0;
    // What stands at the path as the folder's own file system finds the name
    // (a folder may ignore case), a link not followed. None only where the
    // system says that nothing stands there; throws, naming the path and the
    // system's reason, when it cannot tell.
    virtual Found stat(const std::string& path) = 0;
    Entry entry(const std::string& path) { return stat(path).type; }
    // The path itself, a link included.
    bool exists(const std::string& path) { return entry(path) != Entry::None; }
    bool is_link(const std::string& path) { return entry(path) == Entry::Link; }
    // The absolute path with every link resolved; throws when it cannot be
    // resolved.
    virtual std::string resolved(const std::string& path) = 0;
    // Why files cannot be created in the folder (the system's reason), or
    // nothing when they can. Leaves nothing behind.
    virtual std::optional<std::string> why_unwritable(const std::string& folder) = 0;
    // Whether the file's own attribute keeps it from being deleted (the
    // read-only attribute on Windows; never on Linux, where the folder decides).
    virtual bool read_only(const std::string& path) = 0;
    // The names in a folder with what stands there, not recursive, in no
    // particular order.
    virtual std::vector<Listed> list(const std::string& folder) = 0;
    // Removes a file or a link, never a folder.
    virtual void remove(const std::string& path) = 0;
    // Creates the file, failing when anything stands there, writes the bytes and
    // closes it.
    virtual void write_file(const std::string& path, std::string_view bytes) = 0;
    virtual std::string read_file(const std::string& path) = 0;
    // Reads a file in pieces of a bounded size, handing each to take; only a
    // plain file, never through a link. Failures name the path.
    virtual void read_pieces(const std::string& path, const std::function<void(std::string_view)>& take) = 0;
    // Fails when from is missing or to exists.
    virtual void rename(const std::string& from, const std::string& to) = 0;
    virtual void make_folder(const std::string& path) = 0;
    // Removes an empty folder.
    virtual void remove_folder(const std::string& path) = 0;
    // Takes the folder for one run: null when another run, in this process
    // or another, holds it.
    virtual std::unique_ptr<FolderLock> lock(const std::string& folder) = 0;
};

// The local file system.
FileSystem& local_file_system();

// A UTF-8 path as the file system takes it (UTF-16 on Windows), and back.
std::filesystem::path local_path(std::string_view utf8);
std::string utf8_path(const std::filesystem::path& path);

// Joins a folder and a backslash-separated relative path with the local
// separator ("." stands for the folder itself).
std::string join_local(const std::string& folder, std::string_view relative);

// Whether two names of one folder are one file here (without regard to case
// on Windows).
bool same_name(std::string_view a, std::string_view b);

// What stands at path on a folder that finds names in any case and may still
// answer for a name it no longer lists (FUSE keeps a name looked up in another
// case for a while after its file moved): the entry of that exact name, else
// the one entry whose name differs from it only in case; nothing when the
// folder lists neither. found: what the file system answered for path.
Found as_listed(FileSystem& files, const std::string& path, const Found& found);

// Whether two names differ at most in case, as a folder that ignores case
// compares them: each character by its upper case, letters beyond ASCII
// included (É and é, Š and š, Σ and σ), bytes that are no UTF-8 as they
// stand; on Windows as the system compares file names.
bool same_in_any_case(std::string_view a, std::string_view b);

// A text as messages quote it: in double quotes and, beyond about two hundred
// characters, cut short in the middle, the cut marked.
std::string quoted(const std::string& text);
// The same without the quotes.
std::string bounded(std::string_view text);

// What the local file system allows: the longest file name and the longest
// path, both counted as length_of() counts, in length_unit() ("characters",
// or "bytes" where the system counts bytes).
std::size_t max_name_length();
std::size_t max_path_length();
std::size_t length_of(std::string_view utf8);
const char* length_unit();

}  // namespace forms
