// The local file system on Windows, on the system's own calls: links and
// junctions seen as links and never followed by a change, the system's own
// reasons, a folder lock, a probe that touches no file of the user's; and a
// pistol run that meets them.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "objects/kinds.h"
#include "objects/objects.h"
#include "tests/driver.h"
#include "tests/stock_folder.h"

namespace {

using namespace testing_driver;
using Guard = std::shared_ptr<void>;
using Snapshot = std::map<std::string, std::string>;

// Wine's own calls, for what Windows has none for; null elsewhere.
template <typename F>
F* wine(const char* name) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
    return reinterpret_cast<F*>(reinterpret_cast<void (*)()>(found));
}

bool under_wine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// The Unix path of the exact name in its folder (Wine finds the name without
// regard to case).
std::string unix_name(const fs::path& p) {
    const auto name_of = wine<char*(const wchar_t*)>("wine_get_unix_file_name");
    char* folder = name_of ? name_of(p.parent_path().c_str()) : nullptr;
    const std::string out = folder ? std::string(folder) + "/" + utf8(p.filename()) : "";
    HeapFree(GetProcessHeap(), 0, folder);
    return out;
}

// Whether the folder lists that exact name (Wine finds a path without regard
// to case).
bool is_listed(const fs::path& p) {
    WIN32_FIND_DATAW found;
    const HANDLE h = FindFirstFileW((p.parent_path() / "*").c_str(), &found);
    bool there = false;
    for (bool more = h != INVALID_HANDLE_VALUE; more && !there; more = FindNextFileW(h, &found))
        there = p.filename() == found.cFileName;
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    return there;
}

// Runs a Unix program under Wine, which starts it without a handle to wait
// on: waits until done() holds. False when it cannot start or never does.
bool unix_command(const std::vector<std::string>& args, const std::function<bool()>& done) {
    const auto dos_name = wine<wchar_t*(const char*)>("wine_get_dos_file_name");
    wchar_t* program = dos_name ? dos_name(args[0].c_str()) : nullptr;
    if (program == nullptr) return false;
    std::wstring line;
    for (const std::string& a : args) line += L"\"" + fs_path(a).wstring() + L"\" ";
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process);
    HeapFree(GetProcessHeap(), 0, program);
    if (process.hProcess != nullptr) CloseHandle(process.hProcess);
    if (process.hThread != nullptr) CloseHandle(process.hThread);
    for (int wait = 0; started && wait < 400 && !done(); ++wait) Sleep(25);
    return started && done();
}

// Runs a Unix program that makes the entry at p, under Wine only.
bool unix_make(const std::vector<std::string>& args, const fs::path& p) {
    return unix_command(args, [&] { return is_listed(p); });
}

// A link to a folder: a junction where the system makes one, else under Wine
// a Unix link; to a file: a Unix link, under Wine only. Dropped on
// destruction, what it leads to left alone.
class Link {
public:
    Link(const fs::path& link, const fs::path& target) : link_(link) {
        unix_ = !(fs::is_directory(target) && make_junction(target)) &&
                unix_make({"/bin/ln", "-s", unix_name(target), unix_name(link)}, link);
    }
    ~Link() {
        if (unix_) unix_command({"/bin/rm", unix_name(link_)}, [&] { return !here(); });
        else RemoveDirectoryW(link_.c_str());
    }
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;
    bool here() const { return is_listed(link_); }

private:
    bool make_junction(const fs::path& target) {
        if (!CreateDirectoryW(link_.c_str(), nullptr)) return false;
        const std::wstring to = L"\\??\\" + target.wstring();
        const auto bytes = static_cast<WORD>(to.size() * sizeof(wchar_t));
        // Tag, data length, reserved; then the target's offset and length, the
        // display name's (empty), and both names with their terminators.
        std::vector<unsigned char> data(16 + bytes + 4, 0);
        const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
        const WORD fields[6] = {static_cast<WORD>(8 + bytes + 4), 0, 0, bytes, static_cast<WORD>(bytes + 2), 0};
        memcpy(data.data(), &tag, sizeof tag);
        memcpy(data.data() + 4, fields, sizeof fields);
        memcpy(data.data() + 16, to.data(), bytes);
        const HANDLE h = CreateFileW(link_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        DWORD done = 0;
        const bool made = h != INVALID_HANDLE_VALUE &&
                          DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, data.data(), static_cast<DWORD>(data.size()),
                                          nullptr, 0, &done, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (!made) RemoveDirectoryW(link_.c_str());
        return made;
    }

    // Wine 8 makes no reparse point (CreateSymbolicLinkW does nothing, the
    // control code is refused) but shows a Unix link to a folder as one.
    fs::path link_;
    bool unix_ = false;
};

// What a change fails with; "no error" when it does not.
std::string error_of(const std::function<void()>& change) {
    try {
        change();
    } catch (const forms::Error& e) {
        return e.what();
    }
    return "no error";
}

// Opens a file sharing nothing, as another program may, until released.
Guard hold(const fs::path& p) {
    const HANDLE h = CreateFileW(p.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << utf8(p);
    return Guard(h, [](HANDLE opened) { CloseHandle(opened); });
}

void set_read_only(const fs::path& p, bool on) {
    SetFileAttributesW(p.c_str(), on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

class WindowsFiles : public ::testing::Test {
protected:
    std::string at(const std::string& rel) const { return utf8(temp.path() / fs_path(rel)); }
    TempDir temp;
    forms::FileSystem& files = forms::local_file_system();
};

TEST_F(WindowsFiles, LinksAreListedAsLinksAndNoChangeReachesWhereTheyLead) {
    write_text(temp.path() / "outside" / "victim.xml", "outside");
    fs::create_directories(temp.path() / "empty");
    const Link link(temp.path() / "link", temp.path() / "outside");
    const Link to_empty(temp.path() / "to empty", temp.path() / "empty");
    ASSERT_TRUE(link.here() && to_empty.here());

    const std::pair<const char*, forms::Entry> entries[] = {{"link", forms::Entry::Link},
                                                            {"outside", forms::Entry::Folder},
                                                            {"outside\\victim.xml", forms::Entry::File},
                                                            {"none", forms::Entry::None}};
    for (const auto& [rel, type] : entries) EXPECT_EQ(files.entry(at(rel)), type) << rel;
    std::map<std::string, forms::Entry> listed;
    for (const forms::Listed& e : files.list(utf8(temp.path()))) listed[e.name] = e.type;
    EXPECT_EQ(listed, (std::map<std::string, forms::Entry>{{"empty", forms::Entry::Folder},
                                                           {"link", forms::Entry::Link},
                                                           {"outside", forms::Entry::Folder},
                                                           {"to empty", forms::Entry::Link}}));
    EXPECT_TRUE(files.is_directory(at("link")));
    EXPECT_EQ(files.resolved(at("link")), files.resolved(at("outside")));

    // Each may take the link itself away (Wine cannot), never its folder.
    const std::pair<std::function<void()>, bool> changes[] = {
        {[&] { files.remove_folder(at("to empty")); }, true},
        {[&] { files.write_file(at("link"), "x"); }, true},
        {[&] { files.remove(at("to empty")); }, false},
        {[&] { files.remove(at("link")); }, false},
    };
    for (const auto& [change, must_fail] : changes) {
        if (must_fail) EXPECT_THROW(change(), forms::Error);
        else try { change(); } catch (const forms::Error&) {}
        EXPECT_EQ(snapshot(temp.path() / "outside"), (Snapshot{{"victim.xml", "outside"}}));
    }
}

// Wine shows a Unix link to a file as the plain file it leads to, and would
// change that file through it.
TEST_F(WindowsFiles, AUnixLinkToAFileIsALinkThatNoChangeGoesThrough) {
    write_text(temp.path() / "outside" / "victim.xml", "outside");
    write_text(temp.path() / "in" / "a.xml", "a");
    const Link link(temp.path() / "in" / "link.xml", temp.path() / "outside" / "victim.xml");
    if (!link.here()) GTEST_SKIP() << "no Unix link can be made here";

    // The folder in another case: Wine finds it as Windows does.
    const std::pair<const char*, forms::Entry> entries[] = {{"in\\link.xml", forms::Entry::Link},
                                                            {"IN\\link.xml", forms::Entry::Link},
                                                            {"IN\\a.xml", forms::Entry::File}};
    for (const auto& [rel, type] : entries) EXPECT_EQ(files.entry(at(rel)), type) << rel;
    std::map<std::string, forms::Entry> listed;
    for (const forms::Listed& e : files.list(at("in"))) listed[e.name] = e.type;
    EXPECT_EQ(listed, (std::map<std::string, forms::Entry>{{"a.xml", forms::Entry::File},
                                                           {"link.xml", forms::Entry::Link}}));

    // Refused as a link, or failing as the system refuses what stands there.
    const std::pair<std::function<void()>, std::string> changes[] = {
        {[&] { files.remove(at("in\\link.xml")); }, "\": it is a link"},
        {[&] { files.rename(at("in\\link.xml"), at("in\\moved.xml")); }, "\": it is a link"},
        {[&] { files.rename(at("in\\a.xml"), at("in\\link.xml")); }, ""},
        {[&] { files.write_file(at("in\\link.xml"), "x"); }, ""},
    };
    for (const auto& [change, ending] : changes) {
        try {
            change();
            ADD_FAILURE() << "no error";
        } catch (const forms::Error& e) {
            EXPECT_TRUE(std::string_view(e.what()).ends_with(ending)) << e.what();
        }
        EXPECT_EQ(snapshot(temp.path()), (Snapshot{{"in", "folder"}, {"in\\a.xml", "a"}, {"in\\link.xml", "outside"},
                                                   {"outside", "folder"}, {"outside\\victim.xml", "outside"}}));
        EXPECT_EQ(files.entry(at("in\\link.xml")), forms::Entry::Link);
    }
}

// Where Linux keeps case, Wine still finds FOLDER\effects\old.xml when asked
// for folder\effects\old.xml: a link there to it, or to SAME.XML beside
// same.xml, must not pass for the file itself.
TEST_F(WindowsFiles, ALinkToANameInAnotherCaseIsALink) {
    if (!under_wine()) GTEST_SKIP() << "Unix links: Wine only";
    const fs::path effects = temp.path() / "folder" / "effects", other = temp.path() / "FOLDER" / "effects";
    write_text(effects / "SAME.XML", "same");
    if (!unix_make({"/bin/mkdir", "-p", unix_name(temp.path()) + "/FOLDER/effects"}, other.parent_path()))
        GTEST_SKIP() << "this folder ignores case";
    write_text(other / "old.xml", "outside");
    const Link sibling(effects / "old.xml", other / "old.xml"), same(effects / "same.xml", effects / "SAME.XML");
    ASSERT_TRUE(sibling.here() && same.here());

    std::map<std::string, forms::Entry> listed;
    for (const forms::Listed& e : files.list(utf8(effects))) listed[e.name] = e.type;
    EXPECT_EQ(listed, (std::map<std::string, forms::Entry>{{"old.xml", forms::Entry::Link},
                                                           {"same.xml", forms::Entry::Link},
                                                           {"SAME.XML", forms::Entry::File}}));
    for (const char* name : {"old.xml", "same.xml"}) {
        const std::string path = utf8(effects / name), says = "\"" + path + "\": it is a link";
        EXPECT_EQ(files.entry(path), forms::Entry::Link) << name;
        EXPECT_EQ(error_of([&] { files.remove(path); }), "Cannot delete " + says);
        EXPECT_EQ(error_of([&] { files.rename(path, utf8(effects / "moved.xml")); }), "Cannot rename " + says);
        EXPECT_EQ(error_of([&] { files.read_pieces(path, [](std::string_view) {}); }), "Cannot read " + says);
    }
    EXPECT_EQ(files.entry(utf8(other / "old.xml")), forms::Entry::File);
    EXPECT_EQ(snapshot(temp.path()), (Snapshot{{"FOLDER", "folder"}, {"FOLDER\\effects", "folder"},
                                               {"FOLDER\\effects\\old.xml", "outside"}, {"folder", "folder"},
                                               {"folder\\effects", "folder"}, {"folder\\effects\\SAME.XML", "same"},
                                               {"folder\\effects\\old.xml", "outside"},
                                               {"folder\\effects\\same.xml", "same"}}));
}

// Two files whose names differ only in case, in a Linux folder that keeps
// case: each is found by its own name, and both go aside and come back as a
// put-back moves them.
TEST_F(WindowsFiles, NamesThatDifferOnlyInCaseAreFilesOfTheirOwn) {
    if (!under_wine()) GTEST_SKIP() << "a folder that keeps case: Wine on Linux only";
    const fs::path d = temp.path() / "d";
    write_text(d / "a.tmp", "lower");
    write_text(d / "b.tmp", "UPPER CASE");
    ASSERT_TRUE(unix_make({"/bin/mv", unix_name(d / "a.tmp"), unix_name(d / "old.xml")}, d / "old.xml"));
    if (!unix_make({"/bin/mv", unix_name(d / "b.tmp"), unix_name(d / "OLD.XML")}, d / "OLD.XML"))
        GTEST_SKIP() << "this folder ignores case";

    const forms::Found lower = files.stat(at("d\\old.xml")), upper = files.stat(at("d\\OLD.XML"));
    EXPECT_EQ(lower.size, 5u);  // files both
    EXPECT_EQ(upper.size, 10u);
    EXPECT_NE(lower.id, upper.id);
    EXPECT_EQ(files.entry(at("d\\Old.xml")), forms::Entry::None);
    files.make_folder(at("d\\aside"));
    files.rename(at("d\\old.xml"), at("d\\aside\\1"));
    files.rename(at("d\\OLD.XML"), at("d\\aside\\2"));
    files.rename(at("d\\aside\\2"), at("d\\OLD.XML"));
    EXPECT_EQ(files.entry(at("d\\old.xml")), forms::Entry::None);
    files.rename(at("d\\aside\\1"), at("d\\old.xml"));
    EXPECT_EQ(files.stat(at("d\\old.xml")).id, lower.id);
    files.write_file(at("d\\Old.xml"), "third");
    EXPECT_EQ(snapshot(d), (Snapshot{{"OLD.XML", "UPPER CASE"}, {"Old.xml", "third"}, {"aside", "folder"},
                                     {"old.xml", "lower"}}));
}

TEST_F(WindowsFiles, OneFileHasOneIdentityByEveryPathThatLeadsToIt) {
    // A long name that is not ASCII, for a short name and a Unix path.
    const fs::path in = temp.path() / "in", long_folder = in / fs_path("long folder \xC3\xA9t\xC3\xA9");
    write_text(in / "a.xml", "a");
    write_text(in / "b.xml", "bb");
    write_text(long_folder / "c.xml", "ccc");
    wchar_t short_folder[MAX_PATH], short_file[MAX_PATH];
    ASSERT_NE(GetShortPathNameW(long_folder.c_str(), short_folder, MAX_PATH), 0u);
    ASSERT_NE(GetShortPathNameW((long_folder / "c.xml").c_str(), short_file, MAX_PATH), 0u);

    const forms::Found a = files.stat(at("in\\a.xml")), folder = files.stat(at("in"));
    EXPECT_EQ(a.type, forms::Entry::File);
    EXPECT_EQ(a.size, 1u);
    EXPECT_EQ(folder.type, forms::Entry::Folder);
    EXPECT_NE(a.id, forms::FileId{});
    EXPECT_NE(a.id, files.stat(at("in\\b.xml")).id);
    EXPECT_NE(a.id, folder.id);
    EXPECT_EQ(files.stat(at("IN\\a.xml")).id, a.id);
    EXPECT_EQ(files.stat(at("IN")).id, folder.id);
    const forms::Found c = files.stat(utf8(long_folder / "c.xml"));
    EXPECT_EQ(c.size, 3u);
    EXPECT_EQ(files.stat(utf8(fs::path(short_folder) / "c.xml")).id, c.id);
    // Windows finds the last name, too, in any case and by its short name;
    // Wine asks a Linux folder, which may keep case.
    if (under_wine()) return;
    EXPECT_EQ(files.stat(at("in\\A.XML")).id, a.id);
    EXPECT_EQ(files.stat(utf8(short_file)).id, c.id);
}

// Wine lists a Linux FIFO as a plain file, and opens it as a pipe.
TEST_F(WindowsFiles, AFifoIsOtherAndNeverOpened) {
    if (!under_wine()) GTEST_SKIP() << "a Linux FIFO: Wine only";
    const fs::path fifo = temp.path() / "in" / "pipe.xml";
    write_text(temp.path() / "in" / "a.xml", "a");
    ASSERT_TRUE(unix_make({"/usr/bin/mkfifo", unix_name(fifo)}, fifo));
    const Guard gone(nullptr,
                     [&](void*) { unix_command({"/bin/rm", unix_name(fifo)}, [&] { return !is_listed(fifo); }); });

    std::map<std::string, forms::Entry> listed;
    for (const forms::Listed& e : files.list(at("in"))) listed[e.name] = e.type;
    EXPECT_EQ(listed, (std::map<std::string, forms::Entry>{{"a.xml", forms::Entry::File},
                                                           {"pipe.xml", forms::Entry::Other}}));
    const std::string path = utf8(fifo), says = "\"" + path + "\": it is not a file";
    EXPECT_EQ(files.entry(path), forms::Entry::Other);
    EXPECT_EQ(error_of([&] { files.read_pieces(path, [](std::string_view) {}); }), "Cannot read " + says);
    EXPECT_EQ(error_of([&] { files.remove(path); }), "Cannot delete " + says);
    EXPECT_EQ(error_of([&] { files.rename(path, at("in\\b.xml")); }), "Cannot rename " + says);
    EXPECT_TRUE(is_listed(fifo));
}

// The source is open by then: a target that is too long, refused or in no
// folder is what the failure names.
TEST_F(WindowsFiles, ARenameThatFailsAtItsTargetNamesTheTarget) {
    write_text(temp.path() / "a.xml", "a");
    for (const std::string& to : {at(std::string(300, 'n')), at("a<b.xml"), at("none\\b.xml"),
                                  at(std::string(250, 'x') + "\\" + std::string(250, 'y'))})
        EXPECT_TRUE(error_of([&] { files.rename(at("a.xml"), to); }).starts_with("Cannot rename to \"" + to + "\": "))
            << to;
    EXPECT_EQ(snapshot(temp.path()), (Snapshot{{"a.xml", "a"}}));
}

TEST_F(WindowsFiles, FailuresCarryTheSystemsReasonAndChangeNothing) {
    write_text(temp.path() / "a.xml", "a");
    write_text(temp.path() / "b.xml", "b");
    write_text(temp.path() / "full" / "in.xml", "in");
    write_text(temp.path() / "held.xml", "held");
    fs::create_directories(temp.path() / "empty");
    Guard held = hold(temp.path() / "held.xml");
    // The reason as Windows words it, then as Wine does.
    using Reasons = std::vector<std::string>;
    const Reasons not_found{"The system cannot find the file specified", "File not found"},
        no_path{"The system cannot find the path specified", "Path not found"},
        exists{"Cannot create a file when that file already exists", "File already exists"},
        in_use{"it is in use by another program (The process cannot access the file because it is being used by "
               "another process)",
               "it is in use by another program (Sharing violation)"};
    struct Case {
        std::function<void()> act;
        int number;
        const char* says;  // followed by the path
        const char* rel;
        Reasons reasons;
    };
    const Case cases[] = {
        {[&] { files.remove(at("empty")); }, forms::kPathFileAccess, "Cannot delete", "empty", {"it is a folder"}},
        {[&] { files.remove_folder(at("full")); }, forms::kPathFileAccess, "Cannot delete the folder", "full",
         {"The directory is not empty", "Directory is not empty"}},
        {[&] { files.rename(at("a.xml"), at("b.xml")); }, forms::kFileExists, "Cannot rename to", "b.xml", exists},
        {[&] { files.rename(at("none.xml"), at("c.xml")); }, forms::kFileNotFound, "Cannot rename", "none.xml",
         not_found},
        {[&] { files.write_file(at("none\\c.xml"), "c"); }, forms::kPathNotFound, "Cannot create", "none\\c.xml",
         no_path},
        {[&] { files.write_file(at("a.xml"), "c"); }, forms::kFileExists, "Cannot create", "a.xml",
         {"The file exists", "File exists"}},
        {[&] { files.rename(at("held.xml"), at("c.xml")); }, forms::kPathFileAccess, "Cannot rename", "held.xml",
         in_use},
        {[&] { files.remove(at("held.xml")); }, forms::kPathFileAccess, "Cannot delete", "held.xml", in_use},
    };
    const auto one_of = [](const std::string& text, const std::string& lead, const Reasons& reasons) {
        return std::any_of(reasons.begin(), reasons.end(), [&](const std::string& r) { return text == lead + r; });
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.says) + " " + c.rel);
        try {
            c.act();
            ADD_FAILURE() << "no error";
        } catch (const forms::Error& e) {
            EXPECT_EQ(e.number(), c.number) << e.what();
            EXPECT_TRUE(one_of(e.what(), std::string(c.says) + " \"" + at(c.rel) + "\": ", c.reasons)) << e.what();
        }
    }
    const auto why = files.why_unwritable(at("none"));
    ASSERT_TRUE(why);
    EXPECT_TRUE(one_of(*why, "", no_path)) << *why;
    held.reset();
    EXPECT_EQ(snapshot(temp.path()),
              (Snapshot{{"a.xml", "a"}, {"b.xml", "b"}, {"empty", "folder"}, {"full", "folder"},
                        {"full\\in.xml", "in"}, {"held.xml", "held"}}));
}

TEST_F(WindowsFiles, ASecondLockOnAFolderIsRefusedWhileTheFolderStaysFree) {
    fs::create_directories(temp.path() / "folder");
    fs::create_directories(temp.path() / "other");
    auto first = files.lock(at("folder"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(files.lock(at("folder")), nullptr);
    EXPECT_EQ(files.lock(at("folder") + "\\"), nullptr);  // the same folder by another path
    EXPECT_NE(files.lock(at("other")), nullptr);
    files.write_file(at("folder\\a.xml"), "a");
    files.rename(at("folder\\a.xml"), at("folder\\b.xml"));
    EXPECT_EQ(files.list(at("folder")).size(), 1u);
    files.remove(at("folder\\b.xml"));
    EXPECT_TRUE(files.list(at("folder")).empty());
    first.reset();
    EXPECT_NE(files.lock(at("folder")), nullptr);
}

TEST_F(WindowsFiles, NamesAndDrivesAreComparedAsWindowsComparesThem) {
    const std::tuple<const char*, const char*, bool> names[] = {
        {"Pistol.XML", "pistol.xml", true},     {"\xC3\x89" "clair.xml", "\xC3\xA9" "CLAIR.xml", true},
        {"stra\xC3\x9F" "e", "STRASSE", false},  {"a b", "a  b", false},
    };
    for (const auto& [a, b, same] : names) EXPECT_EQ(forms::same_name(a, b), same) << a << " / " << b;

    // The drive letter as the program wrote it.
    const std::string real = files.resolved(utf8(temp.path()));
    for (const char letter : {static_cast<char>(real[0] | 0x20), static_cast<char>(real[0] & ~0x20)}) {
        const std::string path = letter + real.substr(1);
        EXPECT_EQ(files.resolved(path), path);
    }
}

// A stock copy of the pistol run as the form runs it.
class WindowsRuns : public ::testing::Test {
protected:
    void SetUp() override {
        write_text(temp.path() / "outside" / "victim.xml", "outside");
        stock();
    }
    void stock() { root = make_stock_copy(temp.path(), objects::table("pistol"), "folder"); }
    void run(Driver& d) {
        auto& form = d.duplicator("pistol");
        d.app.dispatch([&] {
            form.txtmap.SetText("Blood Gulch");
            form.txtfile.SetText("magnum");
            form.Dir1.SetPath(utf8(root));
            form.create_Click();
        });
    }

    TempDir temp;
    fs::path root;
};

TEST_F(WindowsRuns, ALinkOutAReadOnlyOrAFileInUseStopsTheRunWithTheFolderAsItWas) {
    bool made = true;  // whether the last link could be made here
    const auto file_link = [&](const fs::path& at) {
        fs::remove(at);
        auto link = std::make_shared<Link>(at, temp.path() / "outside" / "victim.xml");
        made = link->here();
        return Guard(link);
    };
    struct Case {
        const char* what;
        std::function<Guard()> spoil;  // a change to the folder, kept until the case ends
        std::function<Guard()> hold;   // a file held open during the run
        const char* says;
    };
    const Case cases[] = {
        {"fp\\shaders links outside",
         [&] {
             fs::remove_all(root / "fp" / "shaders");
             auto link = std::make_shared<Link>(root / "fp" / "shaders", temp.path() / "outside");
             EXPECT_TRUE(link->here());
             return Guard(link);
         },
         nullptr, "leads outside the output folder"},
        {"a read-only old file",
         [&] {
             set_read_only(root / "effects" / "old.xml", true);
             return Guard(nullptr, [&](void*) { set_read_only(root / "effects" / "old.xml", false); });
         },
         nullptr, "is read-only"},
        // A Unix link to a file outside, which Wine shows as a plain file.
        {"an old file that is a link", [&] { return file_link(root / "effects" / "old.xml"); }, nullptr, "is a link"},
        {"a stock file that is a link", [&] { return file_link(root / "pistol.weap.meta"); }, nullptr, "is a link"},
        {"a link where a file is written", [&] { return file_link(root / "bullet.proj.xml"); }, nullptr, "is a link"},
        {"an old file in use", nullptr, [&] { return hold(root / "old.xml"); }, "in use by another program"},
        {"an old file in use further down", nullptr, [&] { return hold(root / "fp" / "shaders" / "old.xml"); },
         "in use by another program"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        made = true;
        Guard spoilt = c.spoil ? c.spoil() : nullptr;
        if (!made) continue;  // no Unix link without Wine
        const Snapshot before = snapshot(temp.path());
        Guard held = c.hold ? c.hold() : nullptr;
        Driver d;
        run(d);
        held.reset();
        ASSERT_EQ(d.boxes.shown.size(), 1u);
        EXPECT_EQ(d.boxes.shown[0].style, forms::kCritical);
        EXPECT_NE(d.boxes.shown[0].text.find(c.says), std::string::npos) << d.boxes.shown[0].text;
        EXPECT_NE(d.boxes.shown[0].text.find("Nothing was changed"), std::string::npos) << d.boxes.shown[0].text;
        EXPECT_EQ(snapshot(temp.path()), before);
        spoilt.reset();
        fs::remove_all(root);
        stock();
    }
}

// What a completed run left and cannot go yet stops no later run.
TEST_F(WindowsRuns, LeftoversThatCannotGoYetStopNoRun) {
    write_text(root / ".vorlix-undo-done" / "1.aside", "read-only");
    set_read_only(root / ".vorlix-undo-done" / "1.aside", true);
    write_text(root / ".vorlix-undo-done" / "2.aside", "held");
    Guard held = hold(root / ".vorlix-undo-done" / "2.aside");
    Driver d;
    run(d);
    held.reset();
    ASSERT_EQ(d.boxes.shown.size(), 2u) << d.boxes.shown[0].text;
    EXPECT_EQ(d.boxes.shown[1].text, "All META files renamed sucessfully");
    EXPECT_EQ(read_bytes(root / "magnum.weap.meta"), "stock meta pistol.weap.meta");
    EXPECT_EQ(read_bytes(root / ".vorlix-undo-done" / "2.aside"), "held");
    EXPECT_FALSE(fs::exists(root / ".vorlix-undo"));
    set_read_only(root / ".vorlix-undo-done" / "1.aside", false);
}

// The test whether a folder can be written never opens a file that is there,
// and leaves none of its own.
// A link that leads to a folder, named like an old file, is a folder to the
// purge: left alone with what it leads to.
TEST_F(WindowsRuns, TheUsersOwnProbeFilesAndFolderLinksAreKeptAndNoneIsLeft) {
    const Link folder_link(root / "effects" / "z.xml", temp.path() / "outside");
    ASSERT_TRUE(folder_link.here());
    write_text(root / ".vorlix-probe", "the user's own");
    write_text(root / "fp" / "shaders" / ".vorlix-probe", "read-only");
    set_read_only(root / "fp" / "shaders" / ".vorlix-probe", true);
    Driver d;
    run(d);
    ASSERT_EQ(d.boxes.shown.size(), 2u) << d.boxes.shown[0].text;
    EXPECT_EQ(d.boxes.shown[1].text, "All META files renamed sucessfully");
    EXPECT_EQ(read_bytes(root / ".vorlix-probe"), "the user's own");
    EXPECT_EQ(read_bytes(root / "fp" / "shaders" / ".vorlix-probe"), "read-only");
    EXPECT_NE(GetFileAttributesW((root / "fp" / "shaders" / ".vorlix-probe").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    set_read_only(root / "fp" / "shaders" / ".vorlix-probe", false);
    EXPECT_TRUE(folder_link.here());
    EXPECT_EQ(read_bytes(temp.path() / "outside" / "victim.xml"), "outside");
    for (const auto& e : fs::recursive_directory_iterator(temp.path()))
        EXPECT_NE(utf8(e.path().filename()).rfind(".vorlix-probe-", 0), 0u) << utf8(e.path());
}

}  // namespace
#endif
