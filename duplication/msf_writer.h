// Metadata Structure File writer: class triples and the lines of one file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "duplication/object_table.h"

namespace duplication {

inline constexpr std::string_view kHeader1 = "<?xml version=\"1.0\"?>";
inline constexpr std::string_view kHeader2 = "<!--Vavo Dod Ediza: Metadata Structure File-->";

// True for the 33 class codes that may stand first in a class triple.
bool is_known_class(std::string_view code);

// The class triple of a code in Windows-1252 bytes: reversed code, reversed
// parents, then "\xC3\xBF" four times per empty slot.
std::string class_triple(std::string_view code);

// "0x" + upper-case hex digits, "0x0" for zero.
std::string hex_offset(std::uint32_t value);

// Inputs of one run, already converted to Windows-1252 bytes.
struct RunText {
    std::string header1{kHeader1};
    std::string header2{kHeader2};
    std::string map;       // map name
    std::string new_name;  // new name
};

// Relative path of the written file: rel_path with {name} + "." + class + ".xml",
// backslash separated, or the entry's explicit xml path with {name}.
std::string xml_rel_path(const FileEntry& entry, std::string_view new_name);

// Own tag path of the entry: "<tagfolder>\\<new name>\\<rel_path>", both
// separators also for an empty new name.
std::string own_tag_path(const ObjectTable& table, const FileEntry& entry,
                         std::string_view new_name);

// Every line of the file, without line ends, as Windows-1252 bytes.
std::vector<std::string> file_lines(const ObjectTable& table, const FileEntry& entry,
                                    const RunText& run);

// The whole file content: every line followed by CR LF.
std::string file_bytes(const ObjectTable& table, const FileEntry& entry, const RunText& run);

}  // namespace duplication
