// The object tables, one per duplicator: every objects/*.table file is built
// in as text and parsed once on first use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "duplication/object_table.h"

namespace objects {

// Raw text of objects/<name>.table ("pistol", "assault_rifle", ...); empty
// when no such table is built in.
std::string_view table_text(std::string_view name);

// Parsed table, parsed once on first use; throws duplication::TableError if the
// text is malformed.
const duplication::ObjectTable& table(std::string_view name);

// As table(), but null when no such table is built in.
const duplication::ObjectTable* find_table(std::string_view name);

// A table text beside the built-in ones, as a new table file would be
// (AddedKind uses these).
void add_table(std::string name, std::string text);
void remove_table(std::string_view name);

}  // namespace objects
