// The built-in object tables, one per duplicator: every objects/*.table file is
// built in as text and parsed once on first use. What table() hands out stays
// valid for the program's life.
#pragma once

#include <string_view>

#include "duplication/object_table.h"

namespace objects {

// Parsed objects/<name>.table ("pistol", "assault_rifle", ...); throws
// duplication::TableError when no such table is built in or its text is
// malformed.
const duplication::ObjectTable& table(std::string_view name);
// Throws duplication::TableError when no table of that name is built in;
// parses nothing.
void check_table(std::string_view name);

}  // namespace objects
