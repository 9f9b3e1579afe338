// The ten object kinds: for each, its kind text, its object table and its
// duplicator form. Everything that names an object reads this list; adding an
// object takes its table file and its row.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "duplication/duplicator_form.h"

namespace objects {

struct ObjectKind {
    std::string kind;     // the launch's kind text and the word of the success text
    std::string table;    // objects/<table>.table
    bool offered = true;  // on the main window's kind list
    duplication::FormDesign form;
    // Handlers of the object's own, bound when its form loads.
    void (*behaviour)(duplication::DuplicatorForm&) = nullptr;
};

// A list of object kinds and their tables. The program has one, the ten
// built-in kinds; a test may build another and hand it to the wizard. The list
// is fixed once made: nothing it hands out moves or goes while it lives.
class KindList {
public:
    // kinds in the order the launch compares them; tables: texts of tables
    // that are not built in, by name. Throws duplication::TableError when a
    // kind's table is missing or one of tables is malformed; a built-in table
    // is parsed when first used.
    explicit KindList(std::vector<ObjectKind> kinds, const std::map<std::string, std::string>& tables = {});
    KindList(const KindList&) = delete;
    KindList& operator=(const KindList&) = delete;

    const std::vector<ObjectKind>& all() const { return kinds_; }
    // The kind of exactly this text, or null.
    const ObjectKind* find(std::string_view kind) const;
    // The kinds the main window's list offers, in alphabetical order.
    std::vector<std::string> offered() const;
    const duplication::ObjectTable& table(const ObjectKind& kind) const;
    // The default instance of a kind's duplicator form.
    duplication::DuplicatorForm& duplicator(forms::Application& app, const ObjectKind& kind) const;

private:
    const std::vector<ObjectKind> kinds_;
    std::map<std::string, duplication::ObjectTable, std::less<>> own_;  // tables that are not built in
};

// The program's ten kinds, fixed for its life.
const KindList& built_in();

}  // namespace objects
