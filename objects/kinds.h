// The ten object kinds: for each, its kind text, its object table and its
// duplicator form. Everything that names an object reads this list; adding an
// object takes its table file and its row.
#pragma once

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

// Every kind, in the order the launch compares them.
const std::vector<ObjectKind>& kinds();
// The kind of exactly this text, or null.
const ObjectKind* find_kind(std::string_view kind);
// The kinds the main window's list offers, in alphabetical order.
std::vector<std::string> offered_kinds();
// The default instance of a kind's duplicator form.
duplication::DuplicatorForm& duplicator(forms::Application& app, const ObjectKind& kind);

// Adds a kind and its table text while it lives, as a new table file and its
// row would: for tests.
class AddedKind {
public:
    AddedKind(ObjectKind kind, std::string table_text);
    ~AddedKind();
    AddedKind(const AddedKind&) = delete;
    AddedKind& operator=(const AddedKind&) = delete;

private:
    std::string kind_;
    std::string table_;
};

}  // namespace objects
