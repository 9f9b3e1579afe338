#include "wizard/frm_error.h"

#include "wizard/colors.h"
#include "wizard/design.h"
#include "wizard/form1.h"

namespace wizard {

namespace {
constexpr forms::Rect kOk{1200, 960, 1230, 375};
constexpr forms::Color kBand = forms::rgb(255, 255, 192);
constexpr forms::Color kOutline = forms::rgb(255, 0, 0);
}  // namespace

frmError::frmError(forms::Application& app)
    : forms::Form(app, "frmError"),
      Line1(line(*this, "Line1", 0, 1459, 3760, 1459, 10, kBand)),
      Line2(line(*this, "Line2", 0, 0, 3730, 0, 15, kBand)),
      Line3(line(*this, "Line3", 0, 120, 0, 1440, 15, kBand)),
      Line4(line(*this, "Line4", 3720, 120, 3720, 1440, 10, kBand)),
      Line5(line(*this, "Line5", 0, 1465, 3760, 1465, 1, kOutline)),
      Line6(line(*this, "Line6", 0, 1460, 0, 0, 1, kOutline)),
      Line7(line(*this, "Line7", 0, 0, 3760, 0, 1, kOutline)),
      Line8(line(*this, "Line8", 3749, 1449, 3749, -200, 1, kOutline)),
      Label1(label(*this, "Label1", {120, 120, 3495, 735}, "")),
      Image1(image(*this, "Image1", kOk, "ok.normal", true)),
      Image2(image(*this, "Image2", kOk, "ok.hover", false)),
      Image3(image(*this, "Image3", kOk, "ok.pressed", false)) {
    Caption = "Form2";
    BorderStyle = forms::Border::None;
    BackColor = kWindow;
    ClientWidth = 3765;
    ClientHeight = 1485;
    Left = 3135;
    Top = 1740;
    Label1.Alignment = forms::Align::Center;

    bind("Image1_MouseMove", [this] { Image1_MouseMove(); });
    bind("Image2_MouseDown", [this] { Image2_MouseDown(); });
    bind("Image3_MouseMove", [this] { Image3_MouseMove(); });
    bind("Image3_MouseUp", [this] { Image3_MouseUp(); });
    bind("Form_MouseMove", [this] { Form_MouseMove(); });
    bind("Label1_MouseMove", [this] { Form_MouseMove(); });
    bind("Form_QueryUnload", [this] { Form_QueryUnload(); });
}

void frmError::say(std::string text, Refocus refocus) {
    Label1.Caption = std::move(text);
    refocus_ = refocus;
}

void frmError::Image1_MouseMove() { Image2.Visible = true; }
void frmError::Image2_MouseDown() { Image3.Visible = true; }
void frmError::Image3_MouseMove() { Unload(); }
void frmError::Image3_MouseUp() { Unload(); }

void frmError::Form_MouseMove() {
    Image2.Visible = false;
    Image3.Visible = false;
}

void frmError::Form_QueryUnload() {
    // Back into the field the advice was about. A field that cannot take the
    // focus (its frame hidden, the main window closing) is skipped: the
    // dialog closes all the same.
    if (!app().loaded<Form1>()) return;
    try {
        if (refocus_ == Refocus::MapName) {
            app().get<Form1>().txtmap.SetFocus();
            app().send_keys("{HOME}+{END}");
        } else if (refocus_ == Refocus::NewName) {
            app().get<Form1>().txtfile.SetFocus();
        }
    } catch (const forms::Error&) {
    }
}

}  // namespace wizard
