#include "duplication/paths.h"

#include <algorithm>

#include "platform/file_system.h"

namespace duplication {

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
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

bool is_own_folder_name(std::string_view name) {
    if (forms::same_name(name, kUndoFolder) || forms::same_name(name, kDoneFolder)) return true;
    const std::string prefix = std::string(kDoneFolder) + "-";
    if (name.size() <= prefix.size() || !forms::same_name(name.substr(0, prefix.size()), prefix)) return false;
    const std::string_view digits = name.substr(prefix.size());
    return digits.size() <= 9 && digits.front() != '0' && digits != "1" &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
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
