// The duplicator form: a window nobody really sees whose create button runs
// one duplication with its object's table.
#pragma once

#include <string>

#include "platform/forms.h"

namespace duplication {

struct ObjectTable;

// Design values of one duplicator form.
struct FormDesign {
    std::string form_name;  // "Pistol_frm"
    std::string caption;    // "Pistol"
    std::string kind;       // object kind word, "pistol"
    forms::Rect txtmap{600, 600, 3495, 285};
    forms::Rect txtfile{600, 1200, 3495, 285};
    forms::Rect drive{600, 1800, 855, 315};
    forms::Rect dir{1560, 1800, 2535, 1215};
    forms::Rect create{4200, 2400, 3495, 615};
    forms::Rect header1{6840, 1920, 495, 285};
    forms::Rect header2{6840, 1530, 495, 285};
};

class DuplicatorForm : public forms::Form {
public:
    // table may be null for an object whose table is not built in.
    DuplicatorForm(forms::Application& app, const FormDesign& design, const ObjectTable* table);

    forms::TextBox& txtmap;
    forms::TextBox& txtfile;
    forms::DriveListBox& Drive1;
    forms::DirListBox& Dir1;
    forms::CommandButton& create;
    forms::TextBox& header1;
    forms::TextBox& header2;

    const std::string& kind() const { return kind_; }
    const ObjectTable* table() const { return table_; }

    void create_Click();

private:
    std::string kind_;
    const ObjectTable* table_;
};

}  // namespace duplication
