// On a real exFAT folder, where the machine can mount one (scripts/exfat.sh
// names it in VORLIX_EXFAT_FOLDER; skipped otherwise): a run whose old files
// differ only in case from what it writes is put back completely when it
// fails, and put back and done by the next run when it is cut short; stock
// files come back by the names the folder held; a name it no longer lists is
// not there; case is folded beyond ASCII.
#include <cstdlib>

#include "tests/all_or_nothing.h"
#include "tests/faulty_files.h"

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;

bool listed(const fs::path& folder, const std::string& name) {
    for (const auto& e : fs::directory_iterator(folder))
        if (utf8(e.path().filename()) == name) return true;
    return false;
}

TEST_F(AllOrNothing, OnARealExfatFolderNamesStayAsTheFolderHeldThem) {
    const char* folder = std::getenv("VORLIX_EXFAT_FOLDER");
    if (folder == nullptr) GTEST_SKIP() << "no exFAT folder named in VORLIX_EXFAT_FOLDER";
    const fs::path parent = fs_path(folder) / ("names-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    kind_ = "pistol";
    const auto stock_copy = [&] {
        fs::remove_all(parent);
        root = make_stock_copy(parent, objects::table("pistol"), "folder");
        fs::rename(root / "pistol.weap.meta", root / "Pistol.weap.meta");
        fs::rename(root / "bitmaps" / "pistol_card.bitm.meta", root / "bitmaps" / "Pistol_Card.bitm.meta");
        write_text(root / "Bullet.jpt!.xml", "the user's bullet");
    };
    // Failing at the last rename, then at the first written file, just after
    // the user's file of a written name in another case was set aside.
    for (const char* fails : {"rename", "write"}) {
        SCOPED_TRACE(fails);
        stock_copy();
        const auto before = snapshot(root);
        FaultyFiles files;
        if (fails == std::string("write")) files.fail_at["write"] = 3;
        else files.held.insert(utf8(root / "fp" / "bitmaps" / "pistol multipurpose.bitm.meta"));
        Driver d;
        d.app.set_file_system(&files);
        run(d, "magnum");
        ASSERT_FALSE(d.boxes.shown.empty());
        EXPECT_TRUE(d.boxes.shown.back().text.ends_with(kUnchanged)) << d.boxes.shown.back().text;
        EXPECT_EQ(snapshot(root), before);
        EXPECT_TRUE(listed(root, "Pistol.weap.meta") && listed(root, "Bullet.jpt!.xml"));
        EXPECT_TRUE(listed(root / "bitmaps", "Pistol_Card.bitm.meta"));
    }
    // An old file in another case beyond ASCII where the run writes.
    stock_copy();
    write_text(root / "fp" / "bitmaps" / fs_path("\xC3\x89p\xC3\xA9\x65.bitm.xml"), "old");
    Driver d;
    run(d, "\xC3\xA9p\xC3\xA9\x65");
    expect_done(d);
    EXPECT_FALSE(listed(root / "fp" / "bitmaps", "\xC3\x89p\xC3\xA9\x65.bitm.xml"));
    EXPECT_TRUE(listed(root / "fp" / "bitmaps", "\xC3\xA9p\xC3\xA9\x65.bitm.xml"));
    fs::remove_all(parent);
}

TEST_F(AllOrNothing, OnARealExfatFolderCaseVariantsArePutBackOrDone) {
    const char* folder = std::getenv("VORLIX_EXFAT_FOLDER");
    if (folder == nullptr) GTEST_SKIP() << "no exFAT folder named in VORLIX_EXFAT_FOLDER";
    const fs::path parent = fs_path(folder) / ("run-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    const auto stock_copy = [&] {
        fs::remove_all(parent);
        kind_ = "pistol";
        root = make_stock_copy(parent, objects::table("pistol"), "folder");
        write_text(root / "bitmaps" / "MAGNUM_CARD.bitm.xml", "old card");
        write_text(root / "BULLET.PROJ.xml", "old bullet");
    };
    stock_copy();
    const auto before = snapshot(root);
    {
        FaultyFiles files;
        files.held.insert(utf8(root / "pistol.coll.meta"));  // the first rename of a .meta file fails
        Driver d;
        d.app.set_file_system(&files);
        run(d, "magnum");
        ASSERT_EQ(d.boxes.shown.size(), 2u);  // the XML confirmation, then the report
        EXPECT_EQ(d.boxes.shown[1].style, forms::kCritical);
        EXPECT_TRUE(d.boxes.shown[1].text.ends_with(kUnchanged)) << d.boxes.shown[1].text;
        EXPECT_EQ(snapshot(root), before);
    }
    run_killed([](const std::string& op, const std::string& path) {
        return op == "rename" && path.ends_with("pistol.mod2.meta");
    });
    Driver d;
    run(d, "magnum");
    expect_put_back_and_done(d.boxes.shown);
    EXPECT_EQ(read_bytes(root / "magnum.weap.meta"), "stock meta pistol.weap.meta");
    EXPECT_EQ(read_bytes(root / "bitmaps" / "magnum_card.bitm.xml").substr(0, 5), "<?xml");
    fs::remove_all(parent);
}

}  // namespace
