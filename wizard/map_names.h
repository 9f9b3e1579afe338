// The stock maps the wizard knows: file name and display name.
#pragma once

#include <array>
#include <string_view>

namespace wizard {

struct MapName {
    std::string_view file;     // map file name without extension
    std::string_view display;  // the name the map field holds
};

// In ascending byte order of the file name.
extern const std::array<MapName, 29> kMapNames;

// True when text equals a display name exactly.
bool is_map_display_name(std::string_view text);

}  // namespace wizard
