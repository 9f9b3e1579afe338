// Runs refused in advance, with nothing changed inside the folder or out:
// inputs that cannot stand in the files, folders that are no stock copy, lead
// elsewhere or cannot be written, and records of earlier runs that the
// program did not write or that were changed since.
#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "tests/all_or_nothing.h"
#include "tests/faulty_files.h"
#include "tests/msf_lines.h"

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;

TEST_F(AllOrNothing, InputsThatCannotStandInTheFilesAreRefused) {
    const std::tuple<const char*, std::string, std::string, const char*> cases[] = {
        {"pistol", ".", "Blood Gulch", "names a folder"},
        {"pistol", "..", "Blood Gulch", "names a folder"},
        {"pistol", "CON", "Blood Gulch", "keeps it for a device"},
        {"pistol", "nul", "Blood Gulch", "keeps it for a device"},
        {"pistol", "Com1.x", "Blood Gulch", "keeps it for a device"},
        {"pistol", "lpt9 ", "Blood Gulch", "keeps it for a device"},
        {"pistol", "COM0", "Blood Gulch", "keeps it for a device"},
        {"pistol", "lpt0.meta", "Blood Gulch", "keeps it for a device"},
        {"pistol", "COM\xC2\xB9", "Blood Gulch", "keeps it for a device"},
        {"pistol", "lpt\xC2\xB2.x", "Blood Gulch", "keeps it for a device"},
        {"pistol", "Lpt\xC2\xB3", "Blood Gulch", "keeps it for a device"},
        {"pistol", "CONIN$", "Blood Gulch", "keeps it for a device"},
        {"pistol", "conout$.txt", "Blood Gulch", "keeps it for a device"},
        {"pistol", "Pistol", "Blood Gulch", "stock object's own name"},
        {"pistol", std::string(240, 'm'), "Blood Gulch", "too long"},
        {"pistol", std::string(300, 'm'), "Blood Gulch", "too long"},
        {"pistol", "mag<num", "Blood Gulch", "holds \"<\""},
        {"pistol", "mag&num", "Blood Gulch", "holds \"&\""},
        {"pistol", "mag/num", "Blood Gulch", "cannot be used in a file name"},
        {"pistol", "mag?num", "Blood Gulch", "holds \"?\""},
        {"pistol", "mag\tnum", "Blood Gulch", "a control character"},
        {"pistol", "mag\xE5\x90\x8D", "Blood Gulch", "Windows-1252"},
        {"pistol", "magnum", "Blood & Gulch", "The map name"},
        {"pistol", "magnum", "Blood <Gulch>", "The map name"},
        {"pistol", "magnum", "Blood\tGulch", "The map name \"Blood\tGulch\" holds a control character"},
        {"pistol", "magnum", "Blood\r\nGulch", "holds a control character"},
        // A new name equal to a stock tag name would make two files one.
        {"warthog", "antenna", "Blood Gulch", "would both be"},
        {"warthog", "Casings", "Blood Gulch", "would both be"},
        {"shotgun", "casings", "Blood Gulch", "would both be"},
    };
    for (const auto& [kind, name, map, says] : cases) {
        SCOPED_TRACE(name + " / " + map);
        stock(kind, "folder");
        const auto before = everything();
        Driver d;
        run(d, name, map);
        expect_refused(d, says);
        EXPECT_EQ(everything(), before);
        fs::remove_all(root);
    }
}

// The name is always followed by a suffix in the paths of the pistol: a blank
// or a point at its end is kept, and every file is as for any other name.
TEST_F(AllOrNothing, ANameEndingInABlankOrAPointIsUsedAsTyped) {
    stock("pistol", "reference");
    {
        Driver d;
        run(d, "magnum");
        ASSERT_EQ(d.boxes.shown.size(), 2u);
    }
    const auto reference = snapshot(root);
    int round = 0;
    for (const std::string name : {"mag.", "magnum ", "x y."}) {
        SCOPED_TRACE("\"" + name + "\"");
        stock("pistol", "folder " + std::to_string(++round));
        Driver d;
        run(d, name);
        ASSERT_EQ(d.boxes.shown.size(), 2u) << d.boxes.shown[0].text;
        EXPECT_EQ(d.boxes.shown[1].text, "All META files renamed sucessfully");
        std::map<std::string, std::string> expected;
        for (const auto& [rel, bytes] : reference) expected[replaced(rel, "magnum", name)] = replaced(bytes, "magnum", name);
        EXPECT_EQ(snapshot(root), expected);
        EXPECT_EQ(read_bytes(root / "bitmaps" / fs_path(name + "_card.bitm.xml")), msf_lines::card_bitmap(name));
        EXPECT_EQ(read_bytes(root / fs_path(name + ".weap.meta")), "stock meta pistol.weap.meta");
    }
}

// Where a table puts the name at the end of a folder name, a blank or a point
// there would be dropped: such a name is refused, as is one that makes the
// folder one of the program's own.
TEST_F(AllOrNothing, ANameThatWouldEndAFolderNameInAPointIsRefused) {
    auto rows = objects::built_in().all();
    rows.push_back({"test gun", "test_gun", true, {.form_name = "Test_gun", .caption = "Test"}});
    const objects::KindList kinds(rows, {{"test_gun", R"(tagfolder weapons
stock test gun
xml-confirmation All XML files made
purge .
rename test gun.weap.meta => {name}.weap.meta
file 1 weap {name}
file 2 bitm {name}\skin
)"}});
    root = temp.path() / "folder";
    write_text(root / "test gun.weap.meta", "stock");
    const auto before = everything();
    kind_ = "test gun";
    // Nor may a folder of the table be one that the program keeps for itself.
    const std::pair<const char*, const char*> names[] = {
        {"x mag.", "would end in a blank or a point"},
        {"x mag ", "would end in a blank or a point"},
        {".vorlix-undo", "would lie in a folder that this program keeps for itself"},
        {".vorlix-undo-done-12", "would lie in a folder that this program keeps for itself"},
    };
    for (const auto& [name, says] : names) {
        Driver d(kinds);
        run(d, name);
        expect_refused(d, says);
        EXPECT_NE(d.boxes.shown[0].text.find(utf8(root / fs_path(name) / "skin.bitm.xml")), std::string::npos);
        EXPECT_EQ(everything(), before);
    }
}

// Folders that are no stock copy, that lead elsewhere or cannot be written,
// and records of earlier runs that the program did not write or that were
// changed since: refused, with nothing changed inside the folder or out.
TEST_F(AllOrNothing, FoldersAndRecordsThatCannotBeTrustedAreRefused) {
    using Spoil = std::function<void(FaultyFiles&)>;
    const auto record = [this](const std::string& steps, const std::string& run = "pistol\tmagnum") {
        return [this, steps, run](FaultyFiles&) {
            write_text(root / "bitmaps" / "old.xml", "set aside");
            write_text(root / ".vorlix-undo" / "1.journal", journal(steps, run));
        };
    };
    std::vector<std::pair<Spoil, const char*>> cases = {
        {[this](FaultyFiles&) { fs::remove_all(root / "fp" / "shaders"); }, "shaders\" of the pistol is missing"},
        {[this](FaultyFiles&) { write_text(root / "magnum.weap.meta", "x"); }, "magnum.weap.meta\" already exists"},
        {[this](FaultyFiles&) { fs::create_directories(root / "bullet.proj.xml"); }, "A folder stands where the file"},
        {[this](FaultyFiles& f) { f.unwritable.insert(utf8(root / "fp" / "shaders")); }, "cannot be written"},
        {[this](FaultyFiles& f) { f.read_only_files.insert(utf8(root / "effects" / "old.xml")); }, "is read-only"},
        {record(wrote("..\\outside\\victim.xml")), "leads out of the output folder"},
        {record("r\t..\\outside\\stolen.meta\tpistol.weap.meta\n"), "leads out of the output folder"},
        {record("a\t..\\outside\\victim.xml\tbitmaps\\pulled.xml\n"), "is not the next of its set-aside files"},
        {record("a\t.vorlix-undo\\1.aside\tbitmaps\n"), "is no .xml file"},
        {record(wrote(".vorlix-undo-done\\thesis.xml")), "lies in the program's own folders"},
        // Only what the record's own run writes, renames and sets aside: the
        // user's own files are no step of it.
        {record(wrote("readme.txt")), "is no .xml file"},
        {record("r\tmoved.txt\treadme.txt\n"), "is no .meta file"},
        {record("r\tpistol.weap.meta\tfp\\magnum.weap.meta\n"), "is no rename of its run"},
        {record("r\tgone.meta\treadme.meta\n"), "is no rename of its run"},
        {record(wrote("notes\\old.xml")), "\"notes\\old.xml\", which is no file that its run writes"},
        {record(wrote("fp\\bitmaps\\magnum.bitm.xml"), "needler\tmagnum"), "is no file that its run writes"},
        {record("a\t.vorlix-undo\\1.aside\tnotes\\old.xml\n"), "lies in no folder that its run sets aside old"},
        {record(wrote("bullet.proj.xml") + wrote("bullet.proj.xml")), "is named twice"},
        {record(wrote("bullet.proj.xml"), "blaster\tmagnum"), "\"blaster\" with the new name \"magnum\", which"},
        {record(wrote("nul.weap.xml"), "pistol\tnul"), "Windows keeps it for a device"},
        {[this](FaultyFiles&) {
             write_text(root / ".vorlix-undo" / "1.journal", journal(""));
             write_text(root / ".vorlix-undo" / "2.journal", journal(wrote("bullet.proj.xml"), "pistol\tmagnum2"));
         },
         "2.journal\" is for another run than the rest of the record"},
        {[this](FaultyFiles&) {
             write_text(root / ".vorlix-undo" / "1.journal", "vorlix-tools undo record\n" + wrote("bullet.proj.xml") + "end\n");
         },
         "is not a complete record of this version"},
        {[this](FaultyFiles&) {
             write_text(root / ".vorlix-undo" / "1.journal", journal(std::string(5 << 20, '#')));
         },
         "is too large to be a record"},
        {[this, record](FaultyFiles& f) {
             record("a\t.vorlix-undo\\1.aside\told.xml\n")(f);
             write_text(root / ".vorlix-undo" / "2.aside", "set aside, then its record dropped");
         },
         "2.aside\" is none of its files"},
        {record("w\tbitmaps\\a.xml\tb\n"), "holds a line that is not a step"},
        // A line of megabytes is quoted cut short.
        {record("w\t" + std::string(3 << 20, 'x') + "\n"), "characters cut)"},
        {record(wrote(std::string(300, 'm') + ".weap.xml"), "pistol\t" + std::string(300, 'm')),
         "is longer than the system allows"},
        {[this](FaultyFiles&) { write_text(root / ".vorlix-undo" / "1.journal", "w\tbitmaps\\old.xml\n"); },
         "is not a complete record"},
        {[this](FaultyFiles&) { write_text(root / ".vorlix-undo" / "2.journal", journal("")); }, "1.journal\" is missing"},
        {[this](FaultyFiles&) { write_text(root / ".vorlix-undo" / "photo.jpg", "photo"); }, "is none of its files"},
        {[this](FaultyFiles&) { write_text(root / ".vorlix-undo-done", "a file"); }, "is not a folder"},
    };
#ifdef _WIN32
    cases.push_back({record(wrote(".. \\outside\\victim.xml")), "leads out of the output folder"});  // ".. " is ".."
    // A device's name: the run's own checks refuse it, and so does a record.
    for (const char* device : {"nul.xml", "con.xml", "com1.xml", "effects\\aux.xml", "CONIN$.xml"})
        cases.push_back({record("a\t.vorlix-undo\\1.aside\t" + std::string(device) + "\n"), "keeps for a device"});
#else
    const fs::path outside = temp.path() / "outside";
    const auto link = [](const fs::path& to, const fs::path& at) {
        fs::create_directories(at.parent_path());
        fs::create_symlink(to, at);
    };
    const std::pair<Spoil, const char*> links[] = {
        {[=, this](FaultyFiles&) {
             fs::remove_all(root / "bitmaps");
             link(outside, root / "bitmaps");
         },
         "leads outside the output folder"},
        {[=, this](FaultyFiles&) { link(outside / "victim.xml", root / "bullet.proj.xml"); }, "is a link to"},
        {[=, this](FaultyFiles&) { link(root / "gone.xml", root / "bullet.proj.xml"); }, "is a link that leads nowhere"},
        // Inside the folder too: a run changes nothing through a link, and its
        // record would be refused if it were cut short.
        {[=, this](FaultyFiles&) {
             fs::rename(root / "bitmaps", root / "bitmaps_real");
             link(root / "bitmaps_real", root / "bitmaps");
         },
         "bitmaps\" is a link to"},
        {[=, this](FaultyFiles& f) {
             record("a\t.vorlix-undo\\1.aside\tbitmaps\\old.xml\n")(f);
             fs::rename(root / "bitmaps", root / "bitmaps_real");
             link(root / "bitmaps_real", root / "bitmaps");
         },
         "bitmaps\\old.xml\", which passes through a link"},
        {[=, this](FaultyFiles&) { link(root / "readme.txt", root / "effects" / "z.xml"); }, "z.xml\" is a link to"},
        {[=, this](FaultyFiles&) {
             fs::rename(root / "pistol.weap.meta", root / "fp" / "pistol.weap.meta");
             link(root / "fp" / "pistol.weap.meta", root / "pistol.weap.meta");
         },
         "pistol.weap.meta\" is a link to"},
        {[=, this](FaultyFiles& f) {
             link(outside, root / "linked");
             record(wrote("linked\\victim.xml"))(f);
         },
         "is no file that its run writes"},
        {[=, this](FaultyFiles&) {
             write_text(outside / "1.journal", journal(wrote("..\\outside\\victim.xml")));
             link(outside / "1.journal", root / ".vorlix-undo" / "1.journal");
         },
         "is none of its files"},
        {[=, this](FaultyFiles&) { link(outside, root / ".vorlix-undo"); }, "is not a folder"},
        {[=, this](FaultyFiles&) { link(outside, root / ".vorlix-undo-done"); }, "is not a folder"},
        // An old .xml entry that is no file is neither opened nor moved.
        {[this](FaultyFiles&) { ASSERT_EQ(::mkfifo(utf8(root / "bitmaps" / "pipe.xml").c_str(), 0600), 0); },
         "pipe.xml\" is not a file but a pipe, socket or device"},
        {[this](FaultyFiles&) { ASSERT_EQ(::mkfifo(utf8(root / "bullet.proj.xml").c_str(), 0600), 0); },
         "bullet.proj.xml\" is not a file but a pipe, socket or device"},
    };
    cases.insert(cases.end(), std::begin(links), std::end(links));
#endif
    for (const auto& [spoil, says] : cases) {
        SCOPED_TRACE(says);
        stock("pistol", "folder");
        FaultyFiles files;
        spoil(files);
        const auto before = everything();
        // A refused name changes nothing either.
        for (const char* name : {"magnum", "CON"}) {
            Driver d;
            d.app.set_file_system(&files);
            run(d, name);
            expect_refused(d, name == std::string("CON") ? "keeps it for a device" : says);
            EXPECT_LT(d.boxes.shown[0].text.size(), 2000u);
            EXPECT_EQ(everything(), before);
        }
        fs::remove_all(root);
    }
}

TEST_F(AllOrNothing, APathLongerThanTheSystemAllowsIsRefused) {
    // A folder deep enough that the longest written path runs past the limit
    // while every single name fits.
    fs::path deep = temp.path();
    while (utf8(deep).size() + 200 < forms::max_path_length()) deep /= std::string(100, 'd');
    fs::create_directories(deep);
    root = make_stock_copy(deep, objects::table("pistol"), "folder");
    kind_ = "pistol";
    Driver d;
    run(d, std::string(150, 'm'));
    expect_refused(d, "too long for this folder");
    EXPECT_NE(d.boxes.shown[0].text.find("characters cut)"), std::string::npos);
}

}  // namespace
