#include "duplication/paths.h"

#include <algorithm>
#include <array>

#include "duplication/cp1252.h"
#include "platform/file_system.h"

namespace duplication {
namespace {

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

}  // namespace

std::string folder_of(const std::string& rel) {
    const auto cut = rel.rfind('\\');
    return cut == std::string::npos ? "." : rel.substr(0, cut);
}

std::string name_of(const std::string& rel) {
    const auto cut = rel.rfind('\\');
    return cut == std::string::npos ? rel : rel.substr(cut + 1);
}

std::vector<std::string> split(std::string_view s, char by) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const auto cut = s.find(by, start);
        parts.emplace_back(s.substr(start, cut == std::string_view::npos ? std::string_view::npos : cut - start));
        if (cut == std::string_view::npos) return parts;
        start = cut + 1;
    }
}

bool ends_with_nocase(std::string_view name, std::string_view suffix) {
    if (name.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) { return ascii_lower(a) == ascii_lower(b); });
}

std::string folded(const std::string& name) {
    std::string out = to_cp1252(name).value_or(name);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) c = static_cast<char>(u + 0x20);
    }
    return out;
}

bool is_device_name(const std::string& name) {
    // The superscript digits count as digits (Windows-1252 bytes).
    static constexpr std::array<std::string_view, 32> kDevices{
        "con",  "prn",  "aux",  "nul",  "conin$", "conout$", "com0", "com1", "com2", "com3", "com4",
        "com5", "com6", "com7", "com8", "com9",   "com\xB9", "com\xB2", "com\xB3", "lpt0", "lpt1", "lpt2",
        "lpt3", "lpt4", "lpt5", "lpt6", "lpt7",   "lpt8",    "lpt9", "lpt\xB9", "lpt\xB2", "lpt\xB3"};
    std::string base = folded(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    return std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end();
}

namespace {

// The program's own spelling of one of its folder names, or nothing.
std::optional<std::string> own_spelling(std::string_view name) {
    std::string spelled(name.size(), ' ');
    std::transform(name.begin(), name.end(), spelled.begin(), ascii_lower);
    if (spelled == kUndoFolder || spelled == kDoneFolder) return spelled;
    const std::string prefix = std::string(kDoneFolder) + "-";
    if (!spelled.starts_with(prefix)) return std::nullopt;
    const std::string_view digits = std::string_view(spelled).substr(prefix.size());
    if (digits.empty() || digits.size() > 9 || digits.front() == '0' || digits == "1" ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return spelled;
}

}  // namespace

bool is_own_folder_name(std::string_view name) { return own_spelling(name).has_value(); }

std::optional<std::string> own_folder(forms::FileSystem& files, const std::string& folder, const std::string& name) {
    auto spelled = own_spelling(name);
    if (!spelled || *spelled == name) return spelled;
    const forms::Found as_listed = files.stat(forms::join_local(folder, name));
    const forms::Found as_own = files.stat(forms::join_local(folder, *spelled));
    if (as_listed.type == forms::Entry::None || as_own.type != as_listed.type || as_own.id != as_listed.id)
        return std::nullopt;
    return spelled;
}

std::optional<std::string> first_link(forms::FileSystem& files, const std::string& folder, const std::string& rel) {
    if (rel == ".") return std::nullopt;
    for (std::size_t cut = rel.find('\\');; cut = rel.find('\\', cut + 1)) {
        const std::string part = rel.substr(0, cut);
        if (files.is_link(forms::join_local(folder, part))) return part;
        if (cut == std::string::npos) return std::nullopt;
    }
}

}  // namespace duplication
