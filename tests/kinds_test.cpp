// The list of object kinds drives the wizard: every form loads with handlers
// that exist, a table file and its row are all a new object needs, and a
// table's interim notice reaches the message dialog in its place.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <tuple>

#include "objects/kinds.h"
#include "tests/driver.h"
#include "tests/stock_folder.h"

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;

TEST(FormLoading, EveryFormLoadsWithHandlersThatNameItsControls) {
    forms::Application app;
    EXPECT_NO_THROW(app.get<wizard::Form1>());
    EXPECT_NO_THROW(app.get<wizard::frmError>());
    EXPECT_NO_THROW(app.get<wizard::frm_select>());
    for (const auto& k : objects::built_in().all()) EXPECT_NO_THROW(objects::built_in().duplicator(app, k)) << k.kind;
    // The assault rifle's l7 holds the two characters U+00C3 U+00BF, as its design data stores them.
    const auto* l7 = dynamic_cast<const forms::TextBox*>(
        objects::built_in().duplicator(app, *objects::built_in().find("assault rifle")).find("l7"));
    ASSERT_NE(l7, nullptr);
    EXPECT_EQ(l7->Text(), "\u00C3\u00BF");
}

TEST(FormLoading, AHandlerForAControlOrEventThatDoesNotExistFails) {
    forms::Application app;
    auto& m = app.get<wizard::Form1>();
    for (const char* bad : {"Imgae3_MouseUp", "txtmap_Timer", "Line1_MouseMove", "Timer1_Click", "Form_Timer",
                            "Combo1_Change", "Check1", "_Click", "create_Click"})
        EXPECT_THROW(m.bind(bad, [] {}), std::logic_error) << bad;
    for (const char* good : {"Image3_MouseUp", "txtmap_Change", "Timer1_Timer", "Form_QueryUnload", "Combo1_Click"})
        EXPECT_NO_THROW(m.bind(good, [] {})) << good;
}

// A small object made for the test: two files, one rename, and the notice.
constexpr const char* kTestTable = R"(tagfolder weapons
stock test gun
xml-confirmation All XML files made
interim-notice
purge .
purge bitmaps
rename test gun.weap.meta => {name}.weap.meta
file 1 weap {name}
  dep 0x10 bitm weapons\{name}\bitmaps\{name} skin
file 2 bitm bitmaps\{name} skin
)";

// Built-in tables are found by name, handed-in ones parsed, when the list is made.
TEST(AddedKind, AKindWithoutItsTableIsRefusedWhenTheListIsMade) {
    const std::tuple<std::string, std::map<std::string, std::string>, bool> cases[] = {  // table, tables, refused
        {"test_gun", {{"test_gun", kTestTable}}, false}, {"pistol", {}, false},
        {"warthog", {{"test_gun", "file 1 zzzz a\n"}}, true}, {"test_gun", {}, true},
        {"test_gun", {{"other", kTestTable}}, true}, {"Pistol", {}, true}, {"", {}, true}};
    for (const auto& [table, tables, refused] : cases) {
        const std::vector<objects::ObjectKind> row{
            {"test gun", table, true, {.form_name = "Test_gun", .caption = "Test"}}};
        if (refused)
            EXPECT_THROW(objects::KindList(row, tables), duplication::TableError) << table;
        else
            EXPECT_NO_THROW(objects::KindList(row, tables)) << table;
    }
}

TEST(AddedKind, ATableAndItsRowMakeADuplicatorWithItsInterimNotice) {
    auto rows = objects::built_in().all();
    rows.push_back({"test gun", "test_gun", true, {.form_name = "Test_gun", .caption = "Test"}});
    const objects::KindList kinds(rows, {{"test_gun", kTestTable}});
    TempDir temp;
    const fs::path root = temp.path() / "blaster";
    write_text(root / "test gun.weap.meta", "stock");
    write_text(root / "old.xml", "stale");
    fs::create_directories(root / "bitmaps");

    Driver d(kinds);
    ASSERT_NE(std::find(d.main().Combo1.items.begin(), d.main().Combo1.items.end(), "test gun"),
              d.main().Combo1.items.end());
    d.prepare("test gun", "Blood Gulch", "blaster", utf8(root));
    d.compile();
    d.pump();

    ASSERT_EQ(d.boxes.shown.size(), 2u);
    EXPECT_EQ(d.boxes.shown[0].text, "All XML files made");
    EXPECT_EQ(d.boxes.shown[1].text, "All META files renamed sucessfully");
    // The notice stands in the dialog between the two confirmations.
    EXPECT_EQ(d.boxes.shown[0].dialog, "-");
    EXPECT_EQ(d.boxes.shown[1].dialog, "All XML files created successfully");
    EXPECT_EQ(d.app.get<wizard::frmError>().Label1.Caption,
              "The test gun has successfully been duplicated to \"blaster\"");
    EXPECT_EQ(d.main().completed.Caption, "The test gun has successfully been duplicated to");
    EXPECT_FALSE(d.loaded("Test_gun"));
    EXPECT_EQ(snapshot(root),
              (std::map<std::string, std::string>{
                  {"bitmaps", "folder"},
                  {"blaster.weap.meta", "stock"},
                  {"blaster.weap.xml", read_bytes(root / "blaster.weap.xml")},
                  {utf8(fs::path("bitmaps") / "blaster skin.bitm.xml"),
                   read_bytes(root / "bitmaps" / "blaster skin.bitm.xml")}}));
    const std::string skin = "<Filename>weapons\\blaster\\bitmaps\\blaster skin</Filename>";
    EXPECT_NE(read_bytes(root / "blaster.weap.xml").find(skin), std::string::npos);
}

}  // namespace
