// The built-in object tables, one per duplicator.
#pragma once

#include <string_view>
#include <vector>

#include "duplication/object_table.h"

namespace objects {

// Raw text of objects/<name>.table ("pistol", "assault_rifle", ...); empty
// when no such table is built in.
std::string_view table_text(std::string_view name);

// Names of all built-in tables.
std::vector<std::string_view> table_names();

// Parsed table, parsed once on first use; throws duplication::TableError if the
// built-in text is malformed.
const duplication::ObjectTable& table(std::string_view name);

// As table(), but null when no such table is built in.
const duplication::ObjectTable* find_table(std::string_view name);

}  // namespace objects
