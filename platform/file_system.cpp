#include "platform/file_system.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <system_error>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/vfs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <locale.h>
#include <wctype.h>
#endif

#include "platform/forms.h"

namespace fs = std::filesystem;

namespace forms {

// Paths are UTF-8 text in the program; a plain string would go through the
// system's code page on Windows.
fs::path local_path(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string utf8_path(const fs::path& path) {
    const std::u8string u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

std::string bounded(std::string_view text) {
    // Counted and cut in characters, never inside one.
    constexpr std::size_t kKept = 100;
    const auto starts_character = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
    std::size_t characters = 0;
    for (char c : text) characters += starts_character(c);
    if (characters <= 2 * kKept) return std::string(text);
    std::size_t head = 0, seen = 0;
    for (; head < text.size(); ++head)
        if (starts_character(text[head]) && seen++ == kKept) break;
    std::size_t tail = text.size();
    for (seen = 0; tail > 0 && seen < kKept;)
        if (starts_character(text[--tail])) ++seen;
    return std::string(text.substr(0, head)) + "\xE2\x80\xA6(" + std::to_string(characters - 2 * kKept) +
           " characters cut)\xE2\x80\xA6" + std::string(text.substr(tail));
}

std::string quoted(const std::string& text) {
    // Appended piece by piece: g++ 12 at -O3 warns falsely of an overlap on
    // "\"" + a temporary string.
    std::string out = "\"";
    out += bounded(text);
    out += '"';
    return out;
}

Found as_listed(FileSystem& files, const std::string& path, const Found& found) {
    const fs::path p = local_path(path);
    const std::string name = utf8_path(p.filename()), parent = utf8_path(p.parent_path());
    if (name.empty() || name == "." || name == "..") return found;
    const std::string folder = parent.empty() ? "." : parent;
    std::vector<std::string> listed;  // names that differ from it only in case
    for (const Listed& e : files.list(folder)) {
        if (e.name == name) return found;
        if (same_in_any_case(e.name, name)) listed.push_back(e.name);
    }
    if (listed.empty()) return {};
    if (listed.size() > 1)
        throw Error(kPathFileAccess, "Cannot tell what stands at " + quoted(path) +
                                         ": its folder lists more than one name that differs from it only in case");
    return files.stat(join_local(folder, listed.front()));
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

// Windows has its own, on the system's calls (file_system_windows.cpp).
#ifndef _WIN32
namespace {

[[noreturn]] void fail(int number, const std::string& what, const std::string& path, const std::error_code& ec) {
    throw Error(number, what + " " + quoted(path) + ": " + ec.message());
}

std::error_code last_error() { return {errno, std::generic_category()}; }

// A folder taken with flock(): the system lets go when the process ends.
class FlockLock final : public FolderLock {
public:
    explicit FlockLock(int fd) : fd_(fd) {}
    ~FlockLock() override { ::close(fd_); }
    FlockLock(const FlockLock&) = delete;
    FlockLock& operator=(const FlockLock&) = delete;

private:
    int fd_;
};

// What lstat() found.
Found found_of(const struct stat& s) {
    Found found{Entry::Other, {static_cast<std::uint64_t>(s.st_dev), static_cast<std::uint64_t>(s.st_ino), true}, 0,
                static_cast<std::uint64_t>(s.st_nlink)};
    if (S_ISREG(s.st_mode)) {
        found.type = Entry::File;
        found.size = static_cast<std::uint64_t>(s.st_size);
    } else if (S_ISDIR(s.st_mode)) {
        found.type = Entry::Folder;
    } else if (S_ISLNK(s.st_mode)) {
        found.type = Entry::Link;
    }
    return found;
}

// Only "no such file" and "not a folder" say that nothing stands there.
bool nothing_there(int error) { return error == ENOENT || error == ENOTDIR; }

[[noreturn]] void cannot_tell(const std::string& path, int error) {
    fail(kPathFileAccess, "Cannot tell what stands at", path, std::error_code(error, std::generic_category()));
}

class LocalFileSystem final : public FileSystem {
public:
    bool is_directory(const std::string& path) override {
        struct stat s {};
        if (::stat(path.c_str(), &s) == 0) return S_ISDIR(s.st_mode);
        // A link that leads nowhere, or round in a loop, leads to no folder.
        if (nothing_there(errno) || errno == ELOOP) return false;
        cannot_tell(path, errno);
    }

    Found stat(const std::string& path) override {
        std::optional<Found> found = entry_at(path);
        if (!found) return {};
        const dev_t device = static_cast<dev_t>(found->id.volume);
        // exfat-fuse gives each name an inode number of its own, and the
        // kernel keeps a name for a while after its file moved.
        return on_fuse(path, device) ? as_listed(*this, path, *found) : *found;
    }

    std::string resolved(const std::string& path) override {
        std::error_code ec;
        const fs::path real = fs::canonical(local_path(path), ec);
        if (ec) fail(kPathNotFound, "Cannot find", path, ec);
        return utf8_path(real);
    }

    std::optional<std::string> why_unwritable(const std::string& folder) override {
        if (::access(folder.c_str(), W_OK | X_OK) == 0) return std::nullopt;
        return last_error().message();
    }

    bool read_only(const std::string&) override { return false; }

    std::vector<Listed> list(const std::string& folder) override {
        // The type each entry comes with, asked of the entry itself only
        // where the file system does not give it.
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) fail(kPathNotFound, "Cannot read the folder", folder, last_error());
        const std::unique_ptr<DIR, int (*)(DIR*)> closer(dir, ::closedir);
        std::vector<Listed> found;
        for (;;) {
            errno = 0;
            const dirent* e = ::readdir(dir);
            if (e == nullptr) break;
            const std::string_view name = e->d_name;
            if (name == "." || name == "..") continue;
            Entry type = Entry::Other;
            switch (e->d_type) {
                case DT_REG: type = Entry::File; break;
                case DT_DIR: type = Entry::Folder; break;
                case DT_LNK: type = Entry::Link; break;
                case DT_UNKNOWN: {
                    // Listed by this very name: no other case to look for.
                    const auto found = entry_at(join_local(folder, std::string(name)));
                    type = found ? found->type : Entry::None;
                    break;
                }
                default: break;
            }
            found.push_back({std::string(name), type});
        }
        if (errno != 0) fail(kPathFileAccess, "Cannot read the folder", folder, last_error());
        return found;
    }

    void remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0) fail(kPathFileAccess, "Cannot delete", path, last_error());
    }

    void write_file(const std::string& path, std::string_view bytes) override {
        // Only where nothing stands: never over a file, never through a link.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) fail(kPathFileAccess, "Cannot create", path, last_error());
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                const std::error_code ec = n < 0 ? last_error() : std::make_error_code(std::errc::io_error);
                ::close(fd);
                fail(kPathFileAccess, "Cannot write", path, ec);
            }
            done += static_cast<std::size_t>(n);
        }
        if (::close(fd) != 0) fail(kPathFileAccess, "Cannot write", path, last_error());
    }

    std::string read_file(const std::string& path) override {
        std::ifstream in(local_path(path), std::ios::binary);
        if (!in) fail(kFileNotFound, "Cannot read", path, last_error());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void read_pieces(const std::string& path, const std::function<void(std::string_view)>& take) override {
        // Never blocks on a FIFO that took the file's place: only a plain file is read.
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) fail(kFileNotFound, "Cannot read", path, last_error());
        const std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* f) { ::close(*f); });
        struct stat s {};
        if (::fstat(fd, &s) != 0) fail(kPathFileAccess, "Cannot read", path, last_error());
        if (!S_ISREG(s.st_mode)) throw Error(kPathFileAccess, "Cannot read " + quoted(path) + ": it is not a file");
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail(kPathFileAccess, "Cannot read", path, last_error());
            if (n == 0) return;
            take(std::string_view(buffer, static_cast<std::size_t>(n)));
        }
    }

    void make_folder(const std::string& path) override {
        std::error_code ec;
        if (!fs::create_directory(local_path(path), ec) || ec) {
            if (!ec) ec = std::make_error_code(std::errc::file_exists);
            fail(kPathFileAccess, "Cannot create the folder", path, ec);
        }
    }

    void remove_folder(const std::string& path) override {
        if (::rmdir(path.c_str()) != 0) fail(kPathFileAccess, "Cannot delete the folder", path, last_error());
    }

    void rename(const std::string& from, const std::string& to) override {
#ifdef RENAME_NOREPLACE
        // One call that never replaces; where the file system cannot, the
        // checks below do it in steps.
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
        if (errno != EINVAL && errno != ENOSYS) failed_rename(errno, from, to);
#endif
        if (!exists(from)) failed_rename(ENOENT, from, to);
        if (exists(to)) failed_rename(EEXIST, from, to);
        if (::rename(from.c_str(), to.c_str()) != 0) failed_rename(errno, from, to);
    }

    // A rename names the path it failed on: the destination when the source
    // is there and the system refused the new name or its place.
    [[noreturn]] void failed_rename(int error, const std::string& from, const std::string& to) {
        const std::error_code ec(error, std::generic_category());
        if (!exists(from)) fail(kFileNotFound, "Cannot rename", from, std::make_error_code(std::errc::no_such_file_or_directory));
        switch (error) {
            case EEXIST:
            case ENOTEMPTY: fail(kFileExists, "Cannot rename to", to, ec);
            case ENOENT:
            case ENOTDIR:
            case EISDIR:
            case ENAMETOOLONG:
            case EINVAL:
            case EILSEQ: fail(kPathFileAccess, "Cannot rename to", to, ec);
            default: fail(kPathFileAccess, "Cannot rename", from, ec);
        }
    }

    std::unique_ptr<FolderLock> lock(const std::string& folder) override {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) fail(kPathFileAccess, "Cannot open the folder", folder, last_error());
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK) return nullptr;
            fail(kPathFileAccess, "Cannot lock the folder", folder, std::error_code(error, std::generic_category()));
        }
        return std::make_unique<FlockLock>(fd);
    }

private:
    // What lstat() finds at the path, or nothing where nothing stands.
    static std::optional<Found> entry_at(const std::string& path) {
        struct stat s {};
        if (::lstat(path.c_str(), &s) == 0) return found_of(s);
        if (nothing_there(errno)) return std::nullopt;
        cannot_tell(path, errno);
    }

    // Whether the device is a FUSE file system: there each name has an inode
    // number of its own, even two names of one file (exfat-fuse finds names
    // in any case).
    bool on_fuse(const std::string& path, dev_t device) {
        const std::lock_guard guard(fuse_lock_);
        const auto known = fuse_.find(device);
        if (known != fuse_.end()) return known->second;
        struct statfs f {};
        if (::statfs(path.c_str(), &f) != 0) {
            if (nothing_there(errno)) return false;  // gone since: asked again next time
            cannot_tell(path, errno);
        }
        constexpr decltype(f.f_type) kFuse = 0x65735546;
        return fuse_[device] = f.f_type == kFuse;
    }

    std::mutex fuse_lock_;
    std::map<dev_t, bool> fuse_;
};

}  // namespace

FileSystem& local_file_system() {
    static LocalFileSystem files;
    return files;
}

bool same_name(std::string_view a, std::string_view b) { return a == b; }

namespace {

// The next character of UTF-8 text, taken off its front; a byte that begins
// no character is one of its own, above every character.
char32_t next_character(std::string_view& text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
    bool whole = length != 0 && length <= text.size();
    for (std::size_t i = 1; whole && i < length; ++i) {
        whole = (byte(i) & 0xC0) == 0x80;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!whole || c < kShortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        text.remove_prefix(1);
        return 0x110000 + lead;
    }
    text.remove_prefix(length);
    return c;
}

}  // namespace

bool same_in_any_case(std::string_view a, std::string_view b) {
    // Upper case as the C library knows it for Unicode, whatever the
    // program's own locale; ASCII only where the system has no such locale.
    static const locale_t unicode = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    const auto upper = [](char32_t c) -> char32_t {
        if (c > 0x10FFFF) return c;
        if (unicode != static_cast<locale_t>(nullptr)) return static_cast<char32_t>(::towupper_l(static_cast<wint_t>(c), unicode));
        return c >= 'a' && c <= 'z' ? c - 32 : c;
    };
    while (!a.empty() && !b.empty())
        if (upper(next_character(a)) != upper(next_character(b))) return false;
    return a.empty() && b.empty();
}

// Here names and paths are counted in bytes.
std::size_t max_name_length() { return NAME_MAX; }
std::size_t max_path_length() { return PATH_MAX - 1; }
std::size_t length_of(std::string_view utf8) { return utf8.size(); }
const char* length_unit() { return "bytes"; }
#endif

}  // namespace forms
