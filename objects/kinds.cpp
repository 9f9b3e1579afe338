#include "objects/kinds.h"

#include <algorithm>
#include <memory>

#include "objects/objects.h"

namespace objects {
namespace {

using duplication::DuplicatorForm;
using duplication::ExtraControl;
using duplication::FormDesign;

ExtraControl note(std::string name, forms::Rect place, std::string caption, double size, bool bold,
                  bool underline = false) {
    return {forms::Kind::Label, std::move(name), place, std::move(caption),
            forms::Font{"Times New Roman", size, bold, underline}};
}

// The labels of a weapon form that says what it duplicates.
ExtraControl title(std::string object) {
    return note("Label6", {600, 120, 7455, 375}, "Duplicating Object: " + object, 12, true, true);
}
ExtraControl map_label() { return note("Label2", {4200, 600, 1080, 255}, "Map Name", 11.25, true); }
ExtraControl name_label() { return note("Label1", {4200, 1200, 1920, 255}, "New Weapon Name", 11.25, true); }
ExtraControl location_label() { return note("Label3", {4200, 1680, 855, 255}, "Location", 11.25, true); }
ExtraControl output_label() {
    return note("Label4", {4200, 1920, 2805, 225}, "Choose the location of the files' output", 9, false);
}

// The assault rifle's drive list moves its folder list to the drive's folder.
// No trap of its own: inside the launch a failure reaches the launch, which
// reports it and does not start the run.
void follow_drive(DuplicatorForm& f) {
    f.bind("Drive1_Change", [&f] { f.Dir1.SetPath(f.app().drive_folder(f.Drive1.Drive())); });
}

std::vector<ObjectKind> built_in_kinds() {
    return {
        {"pistol", "pistol", true, {.form_name = "Pistol_frm", .caption = "Pistol"}},
        {"rocket launcher",
         "rocket_launcher",
         true,
         {.form_name = "Rocket_launcher",
          .caption = "Rocket Launcher",
          .left = 3195,
          .top = 2775,
          .header1 = {7200, 1920, 495, 285},
          .header2 = {7200, 1530, 495, 285},
          .extras = {title("Rocket Launcher"), map_label(), name_label(), location_label(), output_label()}}},
        {"assault rifle",
         "assault_rifle",
         true,
         {.form_name = "Assault_rifle",
          .caption = "Assault Rifle",
          .header1 = {7200, 1920, 495, 285},
          .header2 = {7200, 1560, 495, 285},
          .extras = {{forms::Kind::TextBox, "l7", {7200, 1200, 495, 285}, "\xC3\x83\xC2\xBF", {}},  // one filler pair: U+00C3 U+00BF
                     title("Assault Rifle"), map_label(), name_label(), location_label(), output_label()}},
         &follow_drive},
        {"flamethrower",
         "flamethrower",
         true,
         {.form_name = "Flamethrower",
          .caption = "Flamethrower",
          .header1 = {6840, 1920, 495, 285},
          .header2 = {6840, 1530, 495, 285},
          .extras = {name_label(), map_label(), location_label(), output_label(), title("Flamethrower")}}},
        {"sniper rifle",
         "sniper_rifle",
         true,
         {.form_name = "Sniper_rifle",
          .caption = "Sniper Rifle",
          .header1 = {7200, 1920, 495, 285},
          .header2 = {7200, 1530, 495, 285},
          .extras = {title("Sniper Rifle"), map_label(), name_label(), location_label(), output_label()}}},
        // A visible window with its fields in view; the kind list does not
        // offer it.
        {"warthog",
         "warthog",
         false,
         {.form_name = "Warthog",
          .caption = "Form2",
          .width = 8355,
          .height = 3615,
          .border = forms::Border::Sizable,
          .auto_place = true,
          .txtmap = {120, 120, 3495, 285},
          .txtfile = {120, 720, 3495, 285},
          .drive = {120, 1320, 855, 315},
          .dir = {1080, 1320, 2535, 1215},
          .create = {3720, 1920, 3495, 615},
          .header1 = {6360, 1440, 495, 285},
          .header2 = {6360, 1050, 495, 285}}},
        {"needler",
         "needler",
         true,
         {.form_name = "needler",
          .caption = "Form2",
          .txtmap = {0, 720, 3495, 285},
          .txtfile = {0, 960, 3495, 285},
          .drive = {0, 1200, 855, 315},
          .dir = {840, 1200, 2535, 1215},
          .create = {2640, 120, 615, 615},
          .header1 = {6240, 1800, 495, 285},
          .header2 = {6240, 1410, 495, 285}}},
        {"plasma pistol", "plasma_pistol", true, {.form_name = "plasma_pistol", .caption = "Form2"}},
        {"plasma rifle",
         "plasma_rifle",
         true,
         {.form_name = "plasma_rifle",
          .caption = "Form2",
          .extras = {name_label(), map_label(), location_label(), output_label(), title("Plasma Rifle")}}},
        {"shotgun",
         "shotgun",
         true,
         {.form_name = "shotgun",
          .caption = "Form2",
          .txtmap = {120, 240, 3495, 285},
          .txtfile = {120, 840, 3495, 285},
          .drive = {120, 1440, 855, 315},
          .dir = {1080, 1440, 2535, 1215},
          .create = {3720, 2040, 3495, 615},
          .header1 = {6360, 1560, 495, 285},
          .header2 = {6360, 1170, 495, 285}}},
    };
}

}  // namespace

KindList::KindList(std::vector<ObjectKind> kinds, const std::map<std::string, std::string>& tables)
    : kinds_(std::move(kinds)) {
    for (const auto& [name, text] : tables) own_.emplace(name, duplication::parse_table(text));
    // Every kind has its table; a built-in one is parsed on first use only.
    for (const ObjectKind& k : kinds_)
        if (!own_.contains(k.table)) check_table(k.table);
}

const ObjectKind* KindList::find(std::string_view kind) const {
    for (const ObjectKind& k : kinds_)
        if (k.kind == kind) return &k;
    return nullptr;
}

std::vector<std::string> KindList::offered() const {
    std::vector<std::string> list;
    for (const ObjectKind& k : kinds_)
        if (k.offered) list.push_back(k.kind);
    std::sort(list.begin(), list.end());
    return list;
}

const duplication::ObjectTable& KindList::table(const ObjectKind& kind) const {
    const auto own = own_.find(kind.table);
    return own != own_.end() ? own->second : objects::table(kind.table);
}

DuplicatorForm& KindList::duplicator(forms::Application& app, const ObjectKind& kind) const {
    auto& form = app.get(kind.form.form_name, [&](forms::Application& a) {
        auto f = std::make_unique<DuplicatorForm>(a, kind.form, kind.kind, table(kind));
        f->set_tables([this](std::string_view k) {
            const ObjectKind* other = find(k);
            return other ? &table(*other) : nullptr;
        });
        if (kind.behaviour) kind.behaviour(*f);
        return f;
    });
    return static_cast<DuplicatorForm&>(form);
}

const KindList& built_in() {
    static const KindList list(built_in_kinds());
    return list;
}

}  // namespace objects
