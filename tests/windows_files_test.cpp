// The local file system on Windows, on the system's own calls: links and
// junctions seen as links and never followed by a change, files known by
// identity and, under Wine, by their exact names, the system's own reasons, a
// folder lock, a probe that touches no file of the user's.
#include "tests/windows_files.h"

#ifdef _WIN32
namespace {

using namespace testing_driver;
using namespace testing_driver::windows_files;

TEST_F(WindowsFiles, LinksAreListedAsLinksAndNoChangeReachesWhereTheyLead) {
    write_text(temp.path() / "outside" / "victim.xml", "outside");
    fs::create_directories(temp.path() / "empty");
    const Link link(temp.path() / "link", temp.path() / "outside");
    const Link to_empty(temp.path() / "to empty", temp.path() / "empty");
    ASSERT_TRUE(link.here() && to_empty.here());

    const std::pair<const char*, forms::Entry> entries[] = {{"link", forms::Entry::Link},
                                                            {"outside", forms::Entry::Folder},
                                                            {"outside\\victim.xml", forms::Entry::File},
                                                            {"outside\\victim.xml\\in", forms::Entry::None},
                                                            {"none", forms::Entry::None}};
    for (const auto& [rel, type] : entries) EXPECT_EQ(files.entry(at(rel)), type) << rel;
    EXPECT_FALSE(files.is_directory(at("outside\\victim.xml\\in")));
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
    fs::create_hard_link(in / "a.xml", in / "hard.xml");
    wchar_t short_folder[MAX_PATH], short_file[MAX_PATH];
    ASSERT_NE(GetShortPathNameW(long_folder.c_str(), short_folder, MAX_PATH), 0u);
    ASSERT_NE(GetShortPathNameW((long_folder / "c.xml").c_str(), short_file, MAX_PATH), 0u);

    const forms::Found a = files.stat(at("in\\a.xml")), folder = files.stat(at("in"));
    EXPECT_EQ(a.type, forms::Entry::File);
    EXPECT_EQ(a.size, 1u);
    EXPECT_EQ(a.links, 2u);
    EXPECT_EQ(files.stat(at("in\\b.xml")).links, 1u);
    const forms::Found hard = files.stat(at("in\\hard.xml"));
    EXPECT_EQ(hard.type, forms::Entry::File);
    EXPECT_EQ(hard.id, a.id);
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
// folder is what the failure names (a long one by its first hundred
// characters).
TEST_F(WindowsFiles, ARenameThatFailsAtItsTargetNamesTheTarget) {
    write_text(temp.path() / "a.xml", "a");
    for (const std::string& to : {at(std::string(300, 'n')), at("a<b.xml"), at("none\\b.xml"),
                                  at(std::string(250, 'x') + "\\" + std::string(250, 'y'))}) {
        const std::string says = error_of([&] { files.rename(at("a.xml"), to); });
        EXPECT_TRUE(says.starts_with("Cannot rename to \"" + to.substr(0, 100))) << says;
    }
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
        bad_name{"The filename, directory name, or volume label syntax is incorrect", "Invalid name"},
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
        // A name the system refuses is no sign that nothing stands there.
        {[&] { files.stat(at("a|b.xml")); }, forms::kPathFileAccess, "Cannot tell what stands at", "a|b.xml",
         bad_name},
        {[&] { files.is_directory(at("a|b.xml")); }, forms::kPathFileAccess, "Cannot tell what stands at", "a|b.xml",
         bad_name},
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
    for (const auto& [a, b, same] : names) {
        EXPECT_EQ(forms::same_name(a, b), same) << a << " / " << b;
        EXPECT_EQ(forms::same_in_any_case(a, b), same) << a << " / " << b;
    }

    // The drive letter as the program wrote it.
    const std::string real = files.resolved(utf8(temp.path()));
    for (const char letter : {static_cast<char>(real[0] | 0x20), static_cast<char>(real[0] & ~0x20)}) {
        const std::string path = letter + real.substr(1);
        EXPECT_EQ(files.resolved(path), path);
    }
}

}  // namespace
#endif
