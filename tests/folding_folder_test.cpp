// A folder whose file system ignores case (exFAT, FAT, an ext4 folder with
// casefold) behaves as one that keeps it: a run whose old files differ only
// in case from what it writes completes, or is put back completely, however
// it fails or is cut short; the program's own folders are what the file
// system finds under their names.
#include <functional>
#include <new>
#include <stdexcept>

#include "tests/all_or_nothing.h"
#include "tests/faulty_files.h"
#include "tests/folding_files.h"

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;

// Whether the folder lists exactly that name (Windows finds names in any case).
bool listed(const fs::path& folder, const std::string& name) {
    for (const auto& e : fs::directory_iterator(folder))
        if (utf8(e.path().filename()) == name) return true;
    return false;
}

class FoldingFolder : public AllOrNothing {
protected:
    // A pistol folder whose old files stand where the run writes, in
    // another case.
    void stock_with_old_variants() {
        stock("pistol", "folder");
        write_text(root / "bitmaps" / "MAGNUM_CARD.bitm.xml", "old card");
        write_text(root / "BULLET.PROJ.xml", "old bullet");
    }
    void run_on(FaultyFiles& files, const objects::KindList& kinds = objects::built_in()) {
        Driver d(kinds);
        d.app.set_file_system(&files);
        run(d, "magnum");
        boxes = d.boxes.shown;
    }
    std::vector<Box> boxes;
};

// A small object, so that a run can fail at each of its changes in turn.
constexpr const char* kTestGun = R"(tagfolder weapons
stock test gun
xml-confirmation All XML files made
purge .
purge bitmaps
rename test gun.weap.meta => {name}.weap.meta
rename bitmaps\test gun_card.bitm.meta => bitmaps\{name}_card.bitm.meta
file 1 weap {name}
file 2 bitm bitmaps\{name}_card
file 3 proj bullet
)";

TEST_F(FoldingFolder, AFailureAtAnyChangeEndsDoneOrPutBackCompletely) {
    auto rows = objects::built_in().all();
    rows.push_back({"test gun", "test_gun", true, {.form_name = "Test_gun", .caption = "Test"}});
    const objects::KindList kinds(rows, {{"test_gun", kTestGun}});
    kind_ = "test gun";
    const auto stock_copy = [&] {
        root = make_stock_copy(temp.path(), kinds.table(*kinds.find(kind_)), "folder");
        write_text(root / "MAGNUM.WEAP.XML", "old weapon");
        write_text(root / "bitmaps" / "Magnum_Card.bitm.xml", "old card");
        write_text(root / "BULLET.proj.xml", "old bullet");
    };
    stock_copy();
    const auto before = everything();
    FoldingFiles folding(temp.path());
    FaultyFiles counting(folding);
    run_on(counting, kinds);
    ASSERT_EQ(boxes.size(), 2u) << boxes[0].text;
    const auto done = everything();
    EXPECT_TRUE(listed(root / "bitmaps", "magnum_card.bitm.xml"));
    EXPECT_FALSE(listed(root / "bitmaps", "Magnum_Card.bitm.xml"));
    for (int k = 1; k <= counting.changes; ++k)
        for (const bool took_effect : {false, true}) {
            SCOPED_TRACE("change " + std::to_string(k) + (took_effect ? ", after it took effect" : ""));
            fs::remove_all(root);
            stock_copy();
            FaultyFiles files(folding);
            (took_effect ? files.after : files.before) = [k](int n) {
                if (n == k) throw forms::Error(forms::kPathFileAccess, "No space left on device");
            };
            run_on(files, kinds);
            ASSERT_FALSE(boxes.empty());
            if (boxes.back().style != forms::kCritical) {
                EXPECT_EQ(without_leftovers(everything()), done);
                continue;
            }
            EXPECT_TRUE(boxes.back().text.ends_with(kUnchanged)) << boxes.back().text;
            EXPECT_EQ(everything(), before);
        }
}

// Killed part-way, then run again on the same folder: put back and done as
// if never cut short.
TEST_F(FoldingFolder, AKilledRunIsPutBackAndDoneByTheNext) {
    stock_with_old_variants();
    FoldingFiles folding(temp.path());
    {
        FaultyFiles files(folding);
        run_on(files);
    }
    const auto done = snapshot(root);
    const Dies kills[] = {
        [](const std::string& op, const std::string& path) { return op == "write" && path.ends_with("2.part"); },
        [](const std::string& op, const std::string& path) { return op == "write" && path.ends_with("3.part"); },
        [n = 0](const std::string& op, const std::string& path) mutable {
            return op == "rename" && path.ends_with(".meta") && ++n == 2;
        },
    };
    for (const Dies& dies : kills) {
        fs::remove_all(root);
        stock_with_old_variants();
        run_killed(dies, "magnum", folding);
        FaultyFiles files(folding);
        run_on(files);
        expect_put_back_and_done(boxes);
        EXPECT_EQ(without_leftovers(snapshot(root)), without_leftovers(done));
    }
}

// Stock files in another case than the table's come back by the names the
// folder held, when a run fails and when a run cut short is put back.
TEST_F(FoldingFolder, NamesComeBackAsTheFolderHeldThem) {
    // Through another name: Windows keeps the case of a name renamed to
    // another case of itself under Wine.
    const auto respell = [](const fs::path& from, const fs::path& to) {
        fs::rename(from, to.string() + ".tmp");
        fs::rename(to.string() + ".tmp", to);
    };
    const auto spell_stock_files = [&] {
        stock("pistol", "folder");
        respell(root / "pistol.weap.meta", root / "Pistol.weap.meta");
        respell(root / "bitmaps" / "pistol_card.bitm.meta", root / "bitmaps" / "Pistol_Card.bitm.meta");
    };
    spell_stock_files();
    const auto before = everything();
    FoldingFiles folding(temp.path());
    {
        FaultyFiles files(folding);
        files.held.insert(utf8(root / "fp" / "bitmaps" / "pistol multipurpose.bitm.meta"));  // the last rename
        run_on(files);
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_TRUE(boxes[1].text.ends_with(kUnchanged)) << boxes[1].text;
        EXPECT_EQ(everything(), before);
    }
    fs::remove_all(root);
    spell_stock_files();
    run_killed([](const std::string& op, const std::string& path) { return op == "rename" && path.ends_with(".vorlix-undo"); },
               "magnum", folding);
    FaultyFiles files(folding);
    // The put-back is done when the run makes its own undo folder.
    files.dies_at = [&](const std::string& op, const std::string&) {
        if (op == "make_folder") {
            EXPECT_TRUE(listed(root, "Pistol.weap.meta"));
            EXPECT_TRUE(listed(root / "bitmaps", "Pistol_Card.bitm.meta"));
        }
        return false;
    };
    run_on(files);
    expect_put_back_and_done(boxes);
    EXPECT_EQ(read_bytes(root / "magnum.weap.meta"), "stock meta pistol.weap.meta");
}

// On a folder mounted with FUSE, a name that the folder no longer lists, in
// any case, is not there, though the kernel still answers for it: a run that
// fails at its first write after setting aside the user's file of that name
// in another case is put back completely.
TEST_F(FoldingFolder, OnAFuseFolderANameItDoesNotListIsNotThere) {
    stock("pistol", "folder");
    write_text(root / "Bullet.jpt!.xml", "the user's bullet");
    const auto before = everything();
    FoldingFiles folding(temp.path());
    folding.keeps_names = true;
    FaultyFiles files(folding);
    files.fail_at["write"] = 3;  // two journals, then the first written file
    run_on(files);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.ends_with(kUnchanged)) << boxes[0].text;
    EXPECT_EQ(everything(), before);
}

// A folder that folds case beyond ASCII, mounted with FUSE or not: the old
// file in another case where the run writes is set aside once, by its own
// name, and the run is done.
TEST_F(FoldingFolder, CaseBeyondAsciiIsOneFile) {
    const std::string upper = "\xC5\xA0" "abla", lower = "\xC5\xA1" "abla";  // Šabla, šabla
    for (const bool fuse : {false, true}) {
        SCOPED_TRACE(fuse ? "with FUSE" : "without FUSE");
        stock("pistol", fuse ? "fuse" : "kernel");
        write_text(root / "fp" / "bitmaps" / fs_path(upper + ".bitm.xml"), "old");
        FoldingFiles folding(temp.path());
        folding.keeps_names = fuse;
        FaultyFiles files(folding);
        Driver d;
        d.app.set_file_system(&files);
        run(d, lower);
        expect_done(d);
        EXPECT_FALSE(listed(root / "fp" / "bitmaps", upper + ".bitm.xml"));
        EXPECT_EQ(read_bytes(root / "fp" / "bitmaps" / fs_path(lower + ".bitm.xml")).substr(0, 5), "<?xml");
    }
}

// What earlier runs left under another case of the program's own folder
// name is the program's where the folder ignores case, and the user's where
// it keeps case (on Linux: Windows finds a folder in any case).
TEST_F(FoldingFolder, TheProgramsFoldersAreWhatTheFileSystemFindsUnderTheirNames) {
#ifdef _WIN32
    for (const bool folds : {true}) {
#else
    for (const bool folds : {false, true}) {
#endif
        SCOPED_TRACE(folds ? "ignoring case" : "keeping case");
        stock("pistol", folds ? "folding" : "keeping");
        write_text(root / ".VORLIX-UNDO-DONE" / "1.aside", "set aside by an earlier run");
        FoldingFiles folding(temp.path());
        FaultyFiles files = folds ? FaultyFiles(folding) : FaultyFiles();
        kind_ = "pistol";
        run_on(files);
        ASSERT_EQ(boxes.size(), 2u) << boxes[0].text;
        EXPECT_EQ(listed(root, ".VORLIX-UNDO-DONE"), !folds);
    }
}

#ifdef _WIN32
// Under Wine the Windows program meets Linux folders, which keep case: old
// files whose names differ only in case are both put back when a run fails,
// and when it is cut short, by the next run, which is then done.
TEST_F(FoldingFolder, OldFilesThatDifferOnlyInCaseBothComeBack) {
    stock("pistol", "folder");
    try {
        forms::local_file_system().write_file(utf8(root / "effects" / "OLD.XML"), "upper");
    } catch (const forms::Error& e) {
        GTEST_SKIP() << "this folder ignores case: " << e.what();
    }
    ASSERT_TRUE(listed(root / "effects", "old.xml") && listed(root / "effects", "OLD.XML"));
    const auto before = everything();
    {
        FaultyFiles files;
        files.held.insert(utf8(root / "pistol.coll.meta"));  // the first rename of a .meta file fails
        run_on(files);
        ASSERT_EQ(boxes.size(), 2u);  // the XML confirmation, then the report
        EXPECT_TRUE(boxes[1].text.ends_with(kUnchanged)) << boxes[1].text;
        EXPECT_EQ(everything(), before);
    }
    run_killed([](const std::string& op, const std::string& path) { return op == "write" && path.ends_with("2.part"); });
    FaultyFiles files;
    run_on(files);
    expect_put_back_and_done(boxes);
    EXPECT_FALSE(listed(root / "effects", "old.xml") || listed(root / "effects", "OLD.XML"));
}
#endif

}  // namespace
