#include "wizard/map_names.h"

namespace wizard {

const std::array<MapName, 29> kMapNames{{
    {"a10", "Pillar of Autum"},
    {"a30", "Halo"},
    {"a50", "Truth and Reconciliation"},
    {"b30", "Silent Cartographer"},
    {"b40", "Assault on the Control Room"},
    {"beavercreek", "Battle Creek"},
    {"bloodgulch", "Blood Gulch"},
    {"boardingaction", "Boarding Action"},
    {"c10", "Guilty Spark"},
    {"c20", "Library"},
    {"c40", "Two Betrayals"},
    {"carousel", "Derelict"},
    {"chillout", "Chill Out"},
    {"d20", "Keyes"},
    {"d40", "The Maw"},
    {"damnation", "Damnation"},
    {"dangercanyon", "Danger Canyon"},
    {"deathisland", "Death Island"},
    {"gephyrophobia", "Gephyrophobia"},
    {"hangemhigh", "Hang 'em High"},
    {"icefields", "Ice Fields"},
    {"infinity", "Infinity"},
    {"longest", "Longest"},
    {"prisoner", "Prisoner"},
    {"putput", "Chiron TL34"},
    {"ratrace", "Rat Race"},
    {"sidewinder", "Sidewinder"},
    {"timberland", "Timberland"},
    {"wizard", "Wizard"},
}};

bool is_map_display_name(std::string_view text) {
    for (const MapName& m : kMapNames)
        if (m.display == text) return true;
    return false;
}

}  // namespace wizard
