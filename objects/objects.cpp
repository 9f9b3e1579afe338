#include "objects/objects.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace objects {
namespace generated {
const std::vector<std::pair<std::string_view, std::string_view>>& tables();
}

std::string_view table_text(std::string_view name) {
    for (const auto& [n, text] : generated::tables())
        if (n == name) return text;
    return {};
}

std::vector<std::string_view> table_names() {
    std::vector<std::string_view> names;
    for (const auto& entry : generated::tables()) names.push_back(entry.first);
    return names;
}

const duplication::ObjectTable& table(std::string_view name) {
    static std::mutex lock;
    static std::map<std::string, std::unique_ptr<duplication::ObjectTable>, std::less<>> parsed;
    std::lock_guard guard(lock);
    auto it = parsed.find(name);
    if (it != parsed.end()) return *it->second;
    const std::string_view text = table_text(name);
    if (text.empty()) throw duplication::TableError(0, "no object table named " + std::string(name));
    auto table = std::make_unique<duplication::ObjectTable>(duplication::parse_table(text));
    return *parsed.emplace(std::string(name), std::move(table)).first->second;
}

const duplication::ObjectTable* find_table(std::string_view name) {
    return table_text(name).empty() ? nullptr : &table(name);
}

}  // namespace objects
