#include "wizard/launch.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "objects/kinds.h"
#include "platform/file_system.h"
#include "wizard/form1.h"
#include "wizard/frm_error.h"
#include "wizard/frm_select.h"

namespace wizard {
namespace {

using duplication::DuplicatorForm;

// A run's reports, shown in the main window and the message dialog.
class WizardReport : public duplication::RunReport {
public:
    explicit WizardReport(forms::Application& app) : app_(app) {}

    void interim_notice() override {
        auto& dialog = app_.get<frmError>();
        dialog.say(kInterimNotice);
        dialog.Show();
    }

    void interim_withdrawn() override {
        if (!app_.loaded<frmError>()) return;
        auto& dialog = app_.get<frmError>();
        if (dialog.Label1.Caption == kInterimNotice) dialog.Unload();
    }

    void completed(const std::string& success_text, const std::string& new_name) override {
        auto& main = app_.get<Form1>();
        main.Done.Visible = true;
        main.Donefraim.Visible = true;
        main.tfile.Caption = new_name;
        auto& dialog = app_.get<frmError>();
        dialog.say(success_text + " \"" + new_name + "\"");
        dialog.Top = main.Top + 2400;
        dialog.Left = main.Left + 1000;
        dialog.Show();
        main.completed.Caption = success_text;
        main.Image11.Visible = false;
        main.Image10.Visible = false;
        main.Image9.Visible = false;
        main.Image8.Visible = false;
        main.Check1.SetValue(0);
    }

private:
    forms::Application& app_;
};

bool name_before(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

DuplicatorForm* duplicator_for(Form1& main, std::string_view kind) {
    const objects::ObjectKind* k = main.kinds().find(kind);
    return k ? &main.kinds().duplicator(main.app(), *k) : nullptr;
}

void launch_duplicator(Form1& main) {
    forms::Application& app = main.app();
    const objects::KindList& kinds = main.kinds();
    const objects::ObjectKind* chosen = kinds.find(main.Combo1.Text());
    if (chosen == nullptr) return;

    // The folder was accepted earlier; it may have gone since.
    const std::string folder = main.Dir1.Path();
    try {
        if (!app.files().is_directory(folder)) {
            app.MsgBox("The output folder " + forms::quoted(folder) +
                           " no longer exists. Please select the copied folder again; nothing was duplicated.",
                       forms::kCritical, std::string("Folder not found"));
            return;
        }
    } catch (const forms::Error& e) {
        app.MsgBox(std::string(e.what()) + ". Nothing was duplicated.", forms::kCritical, std::string("Folder not found"));
        return;
    }

    DuplicatorForm& form = kinds.duplicator(app, *chosen);
    form.set_report(std::make_shared<WizardReport>(app));
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

void unload_other_forms(Form1& main) {
    forms::Application& app = main.app();
    const objects::KindList& kinds = main.kinds();
    // Each form is loaded first if it is not, then unloaded.
    std::vector<std::pair<std::string, std::function<forms::Form&()>>> others = {
        {"frm_select", [&app]() -> forms::Form& { return app.get<frm_select>(); }},
        {"frmError", [&app]() -> forms::Form& { return app.get<frmError>(); }}};
    for (const objects::ObjectKind& k : kinds.all())
        others.push_back({k.form.form_name, [&app, &kinds, &k]() -> forms::Form& { return kinds.duplicator(app, k); }});
    std::sort(others.begin(), others.end(), [](const auto& a, const auto& b) { return name_before(a.first, b.first); });
    for (const auto& [name, form] : others) form().Unload();
}

}  // namespace wizard
