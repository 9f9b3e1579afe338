// Object tables: the fixed data of one duplicator, parsed from the text in
// objects/<object>.table (format in objects/README.md).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace duplication {

enum class BlockKind { Dependency, Reflexive, LoneID };

// One reference block. Dependency and LoneID use tag_class and path;
// Reflexive uses translation and count.
struct Block {
    BlockKind kind = BlockKind::Dependency;
    std::uint32_t location = 0;
    std::uint32_t translation = 0;
    std::uint32_t count = 0;
    std::string tag_class;  // four-character class code, e.g. "bitm"
    std::string path;       // tag path with backslashes and {name}
};

struct Correction {
    std::uint32_t location = 0;
    std::uint32_t translation = 0;
};

struct FileEntry {
    int number = 0;              // file number of the generation step
    std::string tag_class;       // class code of the tag
    std::string rel_path;        // e.g. "bitmaps\\{name} cubemap" (no class, no .xml)
    std::string xml_path;        // written file when it is not rel_path + class + ".xml", else empty
    std::vector<Block> blocks;   // ascending Location order
    std::vector<Correction> vertex_corrections;  // mod2 only
    std::vector<Correction> index_corrections;   // mod2 only

    // "bitmaps", "fp\\shaders" or "" for the output folder itself.
    std::string subfolder() const;
    // Last component of rel_path: "{name} cubemap".
    std::string tag_name() const;
    bool has_assets() const { return tag_class == "mod2"; }
};

struct Rename {
    std::string from;  // relative path of the stock .meta file
    std::string to;    // relative path with {name}
};

struct ObjectTable {
    std::string tag_folder;       // "weapons" or "vehicles"
    std::string stock_name;       // "pistol"
    std::string xml_confirmation; // first message box text
    bool interim_notice = false;
    bool unload_on_error = false;
    std::vector<std::string> purge;  // "." for the output folder, else "fp\\shaders"
    std::vector<FileEntry> files;    // writing order
    std::vector<Rename> renames;     // rename order
};

struct TableError : std::runtime_error {
    TableError(int line, const std::string& what);
    int line;
};

// Parses a table text; throws TableError naming the line of a malformed
// statement, an unknown class code or a block out of Location order.
ObjectTable parse_table(std::string_view text);

// Replaces every "{name}" in text by new_name.
std::string with_name(std::string_view text, std::string_view new_name);

}  // namespace duplication
