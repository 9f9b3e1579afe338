#include "wizard/launch.h"

#include <array>
#include <string>

#include "objects/duplicator_forms.h"
#include "platform/file_system.h"
#include "wizard/form1.h"
#include "wizard/frm_error.h"
#include "wizard/frm_select.h"

namespace wizard {
namespace {

using duplication::DuplicatorForm;

template <class F>
DuplicatorForm& instance_of(forms::Application& app) {
    return app.get<F>();
}

struct KindForm {
    std::string_view kind;
    DuplicatorForm& (*form)(forms::Application&);
};

// In the order the launch compares them.
constexpr std::array<KindForm, 10> kKinds{{
    {"pistol", &instance_of<objects::Pistol_frm>},
    {"rocket launcher", &instance_of<objects::Rocket_launcher>},
    {"assault rifle", &instance_of<objects::Assault_rifle>},
    {"flamethrower", &instance_of<objects::Flamethrower>},
    {"sniper rifle", &instance_of<objects::Sniper_rifle>},
    {"warthog", &instance_of<objects::Warthog>},
    {"needler", &instance_of<objects::needler>},
    {"plasma pistol", &instance_of<objects::plasma_pistol>},
    {"plasma rifle", &instance_of<objects::plasma_rifle>},
    {"shotgun", &instance_of<objects::shotgun>},
}};

const KindForm* find_kind(std::string_view kind) {
    for (const KindForm& k : kKinds)
        if (k.kind == kind) return &k;
    return nullptr;
}

}  // namespace

DuplicatorForm* duplicator_for(forms::Application& app, std::string_view kind) {
    const KindForm* k = find_kind(kind);
    return k ? &k->form(app) : nullptr;
}

void launch_duplicator(Form1& main) {
    forms::Application& app = main.app();
    const KindForm* chosen = find_kind(main.Combo1.Text());
    if (chosen == nullptr) return;

    // The folder was accepted earlier; it may have gone since.
    const std::string folder = main.Dir1.Path();
    if (!app.files().is_directory(folder)) {
        app.MsgBox("The output folder \"" + folder +
                       "\" no longer exists. Please select the copied folder again; nothing was duplicated.",
                   forms::kCritical, std::string("Folder not found"));
        return;
    }

    DuplicatorForm& form = chosen->form(app);
    form.txtmap.SetText(main.txtmap.Text());
    form.txtfile.SetText(main.txtfile.Text());
    try {
        form.Drive1.SetDrive(main.Drive1.Drive());
        form.Dir1.SetPath(folder);
    } catch (const forms::Error& e) {
        app.MsgBox("The drive \"" + main.Drive1.Drive() + "\" cannot be opened (" + e.what() +
                       "); nothing was duplicated.",
                   forms::kCritical, std::string("Drive not found"));
        return;
    }
    form.Show();
    form.create.SetFocus();
    app.send_keys("{ENTER}");
}

void unload_other_forms(forms::Application& app) {
    app.get<objects::Assault_rifle>().Unload();
    app.get<objects::Flamethrower>().Unload();
    app.get<frm_select>().Unload();
    app.get<frmError>().Unload();
    app.get<objects::needler>().Unload();
    app.get<objects::Pistol_frm>().Unload();
    app.get<objects::plasma_pistol>().Unload();
    app.get<objects::plasma_rifle>().Unload();
    app.get<objects::Rocket_launcher>().Unload();
    app.get<objects::shotgun>().Unload();
    app.get<objects::Sniper_rifle>().Unload();
    app.get<objects::Warthog>().Unload();
}

}  // namespace wizard
