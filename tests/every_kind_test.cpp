// Every kind of the list duplicated through the wizard on a real temporary
// folder: the files it writes, the renames, the message boxes in their order
// and the completion report; a second run is refused untouched.
#include <gtest/gtest.h>

#include <fstream>

#include "objects/kinds.h"
#include "objects/objects.h"
#include "tests/driver.h"
#include "tests/stock_folder.h"

namespace {

using namespace testing_driver;
namespace fs = std::filesystem;

// Lines of tests/expected/<table>.facts that start with key and a blank.
std::vector<std::string> facts(const std::string& table, const std::string& key) {
    std::ifstream in(std::string(VORLIX_EXPECTED_DIR) + "/" + table + ".facts");
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        if (line.starts_with(key + " ")) out.push_back(line.substr(key.size() + 1));
    return out;
}

bool is_xml(const std::string& rel) { return rel.ends_with(".xml"); }

// A path of the facts as the folder snapshot names it: the new name in place
// of "{name}", the local separator.
std::string local(const std::string& facts_path, const std::string& name) {
    std::string rel = replaced(facts_path, "{name}", name);
    std::replace(rel.begin(), rel.end(), '\\', static_cast<char>(fs::path::preferred_separator));
    return rel;
}

class EveryKind : public testing::TestWithParam<std::string> {
protected:
    const objects::ObjectKind& kind() const { return *objects::built_in().find(GetParam()); }

    // Chooses the kind as the user would; a kind the list does not offer is
    // put on it first, as only code could.
    void run(const fs::path& root, const std::string& name) {
        auto& combo = d.main().Combo1;
        if (std::find(combo.items.begin(), combo.items.end(), GetParam()) == combo.items.end())
            combo.items.push_back(GetParam());
        d.prepare(GetParam(), "Blood Gulch", name, utf8(root));
        d.boxes.shown.clear();
        d.compile();
        d.pump();
    }

    TempDir temp;
    Driver d;
};

TEST_P(EveryKind, DuplicatesAFreshlyExtractedFolderAndRefusesASecondRun) {
    const std::string name = "ranger";
    const fs::path root = make_stock_copy(temp.path(), objects::table(kind().table), name, true);
    const auto before = snapshot(root);
    run(root, name);

    // The two confirmations, the interim notice between them where the
    // object has one, then the success message in the dialog.
    ASSERT_EQ(d.boxes.shown.size(), 2u) << d.boxes.shown.at(0).text;
    EXPECT_EQ(d.boxes.shown[0].text, facts(kind().table, "xml-confirmation").at(0));
    EXPECT_EQ(d.boxes.shown[1].text, "All META files renamed sucessfully");
    EXPECT_EQ(d.boxes.shown[0].dialog, "-");
    const bool notice = facts(kind().table, "flags").at(0).starts_with("1");
    EXPECT_EQ(d.boxes.shown[1].dialog, notice ? "All XML files created successfully" : "-");
    const std::string success = facts(kind().table, "success").at(0);
    EXPECT_EQ(d.app.get<wizard::frmError>().Label1.Caption, success + " \"ranger\"");
    EXPECT_EQ(d.main().completed.Caption, success);
    EXPECT_EQ(d.main().tfile.Caption, name);
    EXPECT_FALSE(d.loaded(kind().form.form_name));

    // Exactly the files the facts list are new; the renamed .meta files keep
    // their bytes.
    std::set<std::string> written;
    for (const std::string& line : facts(kind().table, "file")) {
        const std::string rel = line.substr(line.find(' ', line.find("lines=")) + 1);
        written.insert(local(rel.substr(0, rel.find(" => ")), name));
    }
    auto after = snapshot(root);
    std::set<std::string> xml;
    for (const auto& [rel, bytes] : after)
        if (is_xml(rel) && !before.count(rel)) xml.insert(rel);
    EXPECT_EQ(xml, written);
    for (const std::string& r : facts(kind().table, "rename")) {
        const std::string from = local(r.substr(0, r.find(" => ")), name), to = local(r.substr(r.find(" => ") + 4), name);
        EXPECT_FALSE(after.count(from)) << from;
        EXPECT_EQ(after[to], before.at(from)) << to;
        after.erase(to);
        after[from] = before.at(from);
    }
    for (const auto& rel : written) after.erase(rel);
    EXPECT_EQ(after, before);  // nothing else changed

    // Once duplicated, the folder is no stock copy any more.
    const auto done = snapshot(root);
    d.close_dialog();
    run(root, name);
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    EXPECT_EQ(d.boxes.shown[0].style, forms::kCritical);
    EXPECT_NE(d.boxes.shown[0].text.find("not yet duplicated"), std::string::npos) << d.boxes.shown[0].text;
    EXPECT_EQ(snapshot(root), done);
}

std::vector<std::string> all_kinds() {
    std::vector<std::string> names;
    for (const auto& k : objects::built_in().all()) names.push_back(k.kind);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryKind, testing::ValuesIn(all_kinds()), [](const auto& info) {
    std::string n = info.param;
    std::replace(n.begin(), n.end(), ' ', '_');
    return n;
});

}  // namespace
