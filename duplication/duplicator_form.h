// The duplicator form: the window of one object, whose create button runs one
// duplication with the object's table. Forms differ only in their design
// values, which are data.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms.h"

namespace duplication {

struct ObjectTable;

// A control a form carries beyond the duplicator's own: a label with its
// caption, or a text box with its text.
struct ExtraControl {
    forms::Kind kind = forms::Kind::Label;
    std::string name;
    forms::Rect place;
    std::string text;
    forms::Font font;
};

// Design values of one duplicator form, in twips.
struct FormDesign {
    std::string form_name;  // "Pistol_frm"
    std::string caption;    // "Pistol"
    int width = 90;         // client area
    int height = 90;
    forms::Border border = forms::Border::None;
    int left = 0;            // on the screen, unless placed by the platform
    int top = 0;
    bool auto_place = false;
    forms::Rect txtmap{600, 600, 3495, 285};
    forms::Rect txtfile{600, 1200, 3495, 285};
    forms::Rect drive{600, 1800, 855, 315};
    forms::Rect dir{1560, 1800, 2535, 1215};
    forms::Rect create{4200, 2400, 3495, 615};
    forms::Rect header1{6840, 1920, 495, 285};
    forms::Rect header2{6840, 1530, 495, 285};
    std::vector<ExtraControl> extras{};
};

// What a run tells the program around it; the program shows it.
class RunReport {
public:
    virtual ~RunReport() = default;
    // Right after the XML confirmation, for objects whose table asks for it.
    virtual void interim_notice() = 0;
    // The run that gave the interim notice was undone: the notice is untrue.
    virtual void interim_withdrawn() = 0;
    // After the rename confirmation: the object's success text ("The pistol
    // has successfully been duplicated to") and the new name.
    virtual void completed(const std::string& success_text, const std::string& new_name) = 0;
};

class DuplicatorForm : public forms::Form {
public:
    // kind is the object's word ("plasma rifle").
    DuplicatorForm(forms::Application& app, const FormDesign& design, std::string kind, const ObjectTable& table);

    forms::TextBox& txtmap;
    forms::TextBox& txtfile;
    forms::DriveListBox& Drive1;
    forms::DirListBox& Dir1;
    forms::CommandButton& create;
    forms::TextBox& header1;
    forms::TextBox& header2;

    const std::string& kind() const { return kind_; }
    const ObjectTable& table() const { return table_; }
    // The tables of every object by kind text, for records that earlier runs
    // of other objects left in the folder; without them only its own.
    using TableOf = std::function<const ObjectTable*(std::string_view kind)>;
    void set_tables(TableOf tables) { tables_ = std::move(tables); }
    const ObjectTable* table_of(std::string_view kind) const;
    // "The <kind> has successfully been duplicated to"
    std::string success_text() const;
    // Where the run reports to; a form nobody launched reports nowhere.
    void set_report(std::shared_ptr<RunReport> report) { report_ = std::move(report); }
    RunReport* report() const { return report_.get(); }

    void create_Click();

private:
    std::string kind_;
    const ObjectTable& table_;
    TableOf tables_;
    std::shared_ptr<RunReport> report_;
};

}  // namespace duplication
