// On a real exFAT folder, where the machine can mount one (scripts/exfat.sh
// names it in VORLIX_EXFAT_FOLDER; skipped otherwise): a run whose old files
// differ only in case from what it writes is put back completely when it
// fails, and put back and done by the next run when it is cut short.
#include <cstdlib>

#include "tests/all_or_nothing.h"
#include "tests/faulty_files.h"

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;

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
