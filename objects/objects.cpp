#include "objects/objects.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace objects {
namespace generated {
const std::vector<std::pair<std::string_view, std::string_view>>& tables();
}

namespace {

std::mutex& lock() {
    static std::mutex m;
    return m;
}

std::map<std::string, std::string, std::less<>>& added() {
    static std::map<std::string, std::string, std::less<>> texts;
    return texts;
}

std::map<std::string, std::unique_ptr<duplication::ObjectTable>, std::less<>>& parsed() {
    static std::map<std::string, std::unique_ptr<duplication::ObjectTable>, std::less<>> tables;
    return tables;
}

std::string_view text_of(std::string_view name) {
    for (const auto& [n, text] : generated::tables())
        if (n == name) return text;
    const auto it = added().find(name);
    return it == added().end() ? std::string_view() : std::string_view(it->second);
}

}  // namespace

std::string_view table_text(std::string_view name) {
    std::lock_guard guard(lock());
    return text_of(name);
}

const duplication::ObjectTable& table(std::string_view name) {
    std::lock_guard guard(lock());
    auto it = parsed().find(name);
    if (it != parsed().end()) return *it->second;
    const std::string_view text = text_of(name);
    if (text.empty()) throw duplication::TableError(0, "no object table named " + std::string(name));
    auto table = std::make_unique<duplication::ObjectTable>(duplication::parse_table(text));
    return *parsed().emplace(std::string(name), std::move(table)).first->second;
}

const duplication::ObjectTable* find_table(std::string_view name) {
    return table_text(name).empty() ? nullptr : &table(name);
}

void add_table(std::string name, std::string text) {
    std::lock_guard guard(lock());
    parsed().erase(name);
    added()[std::move(name)] = std::move(text);
}

void remove_table(std::string_view name) {
    std::lock_guard guard(lock());
    if (auto it = parsed().find(name); it != parsed().end()) parsed().erase(it);
    if (auto it = added().find(name); it != added().end()) added().erase(it);
}

}  // namespace objects
