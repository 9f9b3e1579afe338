#include "duplication/duplicator_form.h"

#include "duplication/msf_writer.h"
#include "duplication/procedure.h"

namespace duplication {

DuplicatorForm::DuplicatorForm(forms::Application& app, const FormDesign& d, std::string kind,
                               const ObjectTable& table)
    : forms::Form(app, d.form_name),
      txtmap(add<forms::TextBox>("txtmap", d.txtmap)),
      txtfile(add<forms::TextBox>("txtfile", d.txtfile)),
      Drive1(add<forms::DriveListBox>("Drive1", d.drive)),
      Dir1(add<forms::DirListBox>("Dir1", d.dir)),
      create(add<forms::CommandButton>("create", d.create)),
      header1(add<forms::TextBox>("header1", d.header1)),
      header2(add<forms::TextBox>("header2", d.header2)),
      kind_(std::move(kind)),
      table_(table) {
    Caption = d.caption;
    BorderStyle = d.border;
    ClientWidth = d.width;
    ClientHeight = d.height;
    Left = d.left;
    Top = d.top;
    AutoPlace = d.auto_place;
    create.Caption = "Create Duplicate Object";
    header1.SetText(std::string(kHeader1));
    header2.SetText(std::string(kHeader2));
    header1.Visible = false;
    header2.Visible = false;
    for (const ExtraControl& x : d.extras) {
        if (x.kind == forms::Kind::TextBox) {
            add<forms::TextBox>(x.name, x.place).SetText(x.text);
            continue;
        }
        auto& c = add(x.name, x.kind, x.place);
        c.Caption = x.text;
        c.font = x.font;
    }
    bind("create_Click", [this] { create_Click(); });
}

std::string DuplicatorForm::success_text() const { return "The " + kind_ + " has successfully been duplicated to"; }

const ObjectTable* DuplicatorForm::table_of(std::string_view kind) const {
    if (tables_) return tables_(kind);
    return kind == kind_ ? &table_ : nullptr;
}

void DuplicatorForm::create_Click() { run_duplication(*this); }

}  // namespace duplication
