// Lines of Metadata Structure Files as the examples print them, for tests
// that compare written files byte for byte.
#pragma once

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "duplication/msf_writer.h"
#include "objects/objects.h"

namespace msf_lines {

using Lines = std::vector<std::string>;

// A class triple: code, then the given number of filler pairs.
inline std::string tri(std::string code, int pairs) {
    while (pairs-- > 0) code += "\xC3\xBF";
    return code;
}

inline Lines head(const std::string& triple, const std::string& filename, const std::string& map = "Blood Gulch") {
    return {"<?xml version=\"1.0\"?>", "<!--Vavo Dod Ediza: Metadata Structure File-->", "<Results>",
            "<Map>" + map + "</Map>", "<Tag>" + triple + "</Tag>", "<Filename>" + filename + "</Filename>"};
}

inline Lines refl(const std::string& loc, const std::string& tr, const std::string& n) {
    return {"<Reflexive>", "<Location>" + loc + "</Location>", "<Translation>" + tr + "</Translation>",
            "<ChunkCount>" + n + "</ChunkCount>", "</Reflexive>"};
}

inline Lines dep(const std::string& loc, const std::string& triple, const std::string& path,
                 const std::string& elem = "Dependency") {
    return {"<" + elem + ">", "<Location>" + loc + "</Location>", "<Tagclass>" + triple + "</Tagclass>",
            "<Filename>" + path + "</Filename>", "</" + elem + ">"};
}

// The pieces joined, every line ended by CR LF.
inline std::string crlf(const std::vector<Lines>& pieces) {
    std::string s;
    for (const auto& piece : pieces)
        for (const auto& line : piece) s += line + "\r\n";
    return s;
}

inline const Lines kEnd = {"</Results>"};
// The line before the asset section of a model file.
inline const Lines kAssets = {"<!--Attached Binary File Structure-->"};

// The written file at a place of the writing order (from 1).
inline std::string place_bytes(const char* object, std::size_t place, const std::string& name,
                               const std::string& map = "Blood Gulch") {
    const auto& table = objects::table(object);
    if (place < 1 || place > table.files.size()) throw std::runtime_error("no place " + std::to_string(place));
    duplication::RunText run;
    run.map = map;
    run.new_name = name;
    return duplication::file_bytes(table, table.files[place - 1], run);
}

// The written file of a file number that serves one file only.
inline std::string bytes(const char* object, int no, const std::string& name, const std::string& map = "Blood Gulch") {
    const auto& files = objects::table(object).files;
    std::size_t place = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i].number != no) continue;
        if (place != 0) throw std::runtime_error("file number " + std::to_string(no) + " serves twice");
        place = i + 1;
    }
    if (place == 0) throw std::runtime_error("no file " + std::to_string(no));
    return place_bytes(object, place, name, map);
}

inline const std::string kBitm = tri("mtib", 8), kSnd = tri("!dns", 8), kEffe = tri("effe", 8), kPart = tri("trap", 8);
inline const std::string kDeca = tri("aced", 8), kCont = tri("tnoc", 8), kPphy = tri("yhpp", 8);

// The written "<name>_card" bitmap that every weapon with a card has.
inline std::string card_bitmap(const std::string& name, const std::string& map = "Blood Gulch") {
    const std::string card = "weapons\\" + name + "\\bitmaps\\" + name + "_card";
    return crlf({head(kBitm, card, map), refl("0x58", "0x6C", "1"), refl("0x64", "0xAC", "1"),
                 dep("0xCC", kBitm, card, "LoneID"), kEnd});
}

// An asset of a model file; corrections as "Location Translation ...".
inline Lines asset(const std::string& type, const std::string& filename, const std::string& corrections) {
    Lines out = {"<Asset>", "<Type>" + type + "</Type>", "<Filename>" + filename + "</Filename>"};
    std::istringstream in(corrections);
    for (std::string loc, tr; in >> loc >> tr;)
        out.insert(out.end(), {"<Correction>", "<Location>" + loc + "</Location>",
                               "<Translation>" + tr + "</Translation>", "</Correction>"});
    out.push_back("</Asset>");
    return out;
}

}  // namespace msf_lines
