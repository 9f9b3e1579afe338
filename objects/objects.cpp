#include "objects/objects.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace objects {
namespace generated {
const std::vector<std::pair<std::string_view, std::string_view>>& tables();
}

namespace {

// The built-in text of objects/<name>.table.
std::string_view text_of(std::string_view name) {
    for (const auto& [n, text] : generated::tables())
        if (n == name) return text;
    throw duplication::TableError(0, "no object table named " + std::string(name));
}

}  // namespace

const duplication::ObjectTable& table(std::string_view name) {
    // Parsed tables are only ever added, never replaced or dropped.
    static std::mutex lock;
    static std::map<std::string, std::unique_ptr<const duplication::ObjectTable>, std::less<>> parsed;
    std::lock_guard guard(lock);
    if (const auto it = parsed.find(name); it != parsed.end()) return *it->second;
    auto table = std::make_unique<const duplication::ObjectTable>(duplication::parse_table(text_of(name)));
    return *parsed.emplace(std::string(name), std::move(table)).first->second;
}

void check_table(std::string_view name) { text_of(name); }

}  // namespace objects
