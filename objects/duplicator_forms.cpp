#include "objects/duplicator_forms.h"

#include "objects/objects.h"

namespace objects {
namespace {

using duplication::FormDesign;

FormDesign design(std::string form_name, std::string caption, std::string kind) {
    FormDesign d;
    d.form_name = std::move(form_name);
    d.caption = std::move(caption);
    d.kind = std::move(kind);
    return d;
}

FormDesign assault_rifle_design() {
    FormDesign d = design("Assault_rifle", "Assault Rifle", "assault rifle");
    d.header1 = {7200, 1920, 495, 285};
    d.header2 = {7200, 1560, 495, 285};
    return d;
}

forms::Label& note(forms::Form& f, std::string name, forms::Rect r, std::string caption, double size, bool bold,
                   bool underline = false) {
    auto& l = f.add(std::move(name), forms::Kind::Label, r);
    l.Caption = std::move(caption);
    l.font = forms::Font{"Times New Roman", size, bold, underline};
    return l;
}

}  // namespace

Pistol_frm::Pistol_frm(forms::Application& app)
    : DuplicatorForm(app, design("Pistol_frm", "Pistol", "pistol"), objects::find_table("pistol")) {}

Assault_rifle::Assault_rifle(forms::Application& app)
    : DuplicatorForm(app, assault_rifle_design(), objects::find_table("assault_rifle")),
      l7(add<forms::TextBox>("l7", {7200, 1200, 495, 285})),
      Label6(note(*this, "Label6", {600, 120, 7455, 375}, "Duplicating Object: Assault Rifle", 12, true, true)),
      Label2(note(*this, "Label2", {4200, 600, 1080, 255}, "Map Name", 11.25, true)),
      Label1(note(*this, "Label1", {4200, 1200, 1920, 255}, "New Weapon Name", 11.25, true)),
      Label3(note(*this, "Label3", {4200, 1680, 855, 255}, "Location", 11.25, true)),
      Label4(note(*this, "Label4", {4200, 1920, 2805, 225}, "Choose the location of the files' output", 9, false)) {
    l7.SetText("\xC3\xBF");  // one filler pair, as stored
    bind("Drive1_Change", [this] { Drive1_Change(); });
}

// No trap of its own: inside the launch a failure reaches the launch, which
// reports it and does not start the run.
void Assault_rifle::Drive1_Change() { Dir1.SetPath(app().drive_folder(Drive1.Drive())); }

plasma_rifle::plasma_rifle(forms::Application& app)
    : DuplicatorForm(app, design("plasma_rifle", "Form2", "plasma rifle"), objects::find_table("plasma_rifle")),
      Label1(note(*this, "Label1", {4200, 1200, 1920, 255}, "New Weapon Name", 11.25, true)),
      Label2(note(*this, "Label2", {4200, 600, 1080, 255}, "Map Name", 11.25, true)),
      Label3(note(*this, "Label3", {4200, 1680, 855, 255}, "Location", 11.25, true)),
      Label4(note(*this, "Label4", {4200, 1920, 2805, 225}, "Choose the location of the files' output", 9, false)),
      Label6(note(*this, "Label6", {600, 120, 7455, 375}, "Duplicating Object: Plasma Rifle", 12, true, true)) {}

duplication::FormDesign pending_design(const char* form_name, const char* kind) {
    return design(form_name, "Form2", kind);
}

}  // namespace objects
