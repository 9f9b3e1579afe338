#include "wizard/frm_select.h"

#include <string>

#include "wizard/colors.h"
#include "wizard/design.h"
#include "wizard/form1.h"
#include "wizard/map_names.h"

namespace wizard {

namespace {

constexpr forms::Rect kNext{240, 45, 960, 315};
constexpr forms::Color kMapLabel = 12640511;  // 255,224,192
constexpr int kRowsPerColumn = 10;

int row_top(int row) { return 240 + 360 * (row % kRowsPerColumn); }

forms::Label& map_label(forms::Form& f, int number, forms::Rect r, std::string caption, forms::Control* frame) {
    auto& l = label(f, "Label" + std::to_string(number), r, std::move(caption), frame);
    l.Transparent = false;
    l.BackColor = kMapLabel;
    l.font = franklin(8.25);
    return l;
}

forms::Label& cancel_label(forms::Form& f, std::string name, forms::Rect r, forms::Control* frame) {
    auto& l = label(f, std::move(name), r, "CANCEL", frame);
    l.Transparent = false;
    l.BackColor = kInvalid;
    l.Alignment = forms::Align::Center;
    l.font = forms::Font{"Franklin Gothic Medium", 9, true, true};
    return l;
}

forms::Frame& picker_frame(forms::Form& f, std::string name, forms::Rect r, std::string caption) {
    auto& c = frame(f, std::move(name), r, std::move(caption), kWindow, forms::rgb(0, 0, 0));
    c.font = forms::Font{};
    return c;
}

}  // namespace

int file_label_number(int row) { return row < 20 ? row + 1 : row + 2; }

frm_select::frm_select(forms::Application& app)
    : forms::Form(app, "frm_select"),
      Frame1(picker_frame(*this, "Frame1", {120, 360, 5295, 3975}, "Select by file name")),
      Labeshit((
          [this] {
              for (int row = 0; row < 29; ++row) {
                  const int column = row / kRowsPerColumn;
                  const forms::Rect r{120 + 1680 * column, row_top(row), 1575, 255};
                  file_labels[static_cast<std::size_t>(row)] =
                      &map_label(*this, file_label_number(row), r,
                                 std::string(1, ' ').append(kMapNames[static_cast<std::size_t>(row)].file), &Frame1);
              }
          }(),
          cancel_label(*this, "Labeshit", {3480, 3480, 1635, 255}, &Frame1))),
      Frame2(picker_frame(*this, "Frame2", {120, 360, 6135, 3975}, "Select by map name")),
      Labelfucko((
          [this] {
              static constexpr int kLefts[] = {120, 2880, 4560};
              static constexpr int kWidths[] = {2640, 1550, 1400};
              for (int row = 0; row < 29; ++row) {
                  const int column = row / kRowsPerColumn;
                  const int number = 61 - file_label_number(row);
                  const int width = number == 56 ? 2625 : kWidths[column];
                  const forms::Rect r{kLefts[column], row_top(row), width, 255};
                  display_labels[static_cast<std::size_t>(row)] = &map_label(
                      *this, number, r, std::string(kMapNames[static_cast<std::size_t>(row)].display), &Frame2);
              }
          }(),
          cancel_label(*this, "Labelfucko", {4560, 3480, 1395, 255}, &Frame2))),
      cont(label(*this, "cont", {2520, 120, 495, 255}, "Map")),
      Command1(add<forms::CommandButton>("Command1", {1800, 120, 495, 195})),
      Image1(image(*this, "Image1", kNext, "next.normal", true)),
      Image2(image(*this, "Image2", kNext, "next.hover", false)),
      Image3(image(*this, "Image3", kNext, "next.pressed", false)) {
    Caption = "Form2";
    BorderStyle = forms::Border::None;
    BackColor = kWindow;
    ClientWidth = 6480;
    ClientHeight = 4560;
    AutoPlace = true;
    Frame2.Visible = false;
    cont.Visible = false;
    Command1.Caption = "Command1";
    Command1.Visible = false;

    for (int row = 0; row < 29; ++row) {
        const auto r = static_cast<std::size_t>(row);
        bind(file_labels[r]->name() + "_Click", [this, row] { pick(row); });
        bind(display_labels[r]->name() + "_Click", [this, row] { pick(row); });
    }
    bind("Labeshit_Click", [this] { cancel(); });
    bind("Labelfucko_Click", [this] { cancel(); });
    bind("Command1_Click", [this] { Command1_Click(); });
    bind("Image1_MouseMove", [this] { Image1_MouseMove(); });
    bind("Image2_MouseDown", [this] { Image2_MouseDown(); });
    bind("Image3_MouseMove", [this] { Image3_MouseMove(); });
    bind("Image3_MouseUp", [this] { Image3_MouseUp(); });
    for (const char* surface : {"Form", "Frame1", "Frame2"})
        bind(std::string(surface) + "_MouseMove", [this] { Form_MouseMove(); });
}

void frm_select::Command1_Click() {
    if (cont.Caption == "Map") {
        Frame2.Visible = true;
        cont.Caption = "File";
    } else if (cont.Caption == "File") {
        Frame2.Visible = false;
        cont.Caption = "Map";
    }
}

void frm_select::Image1_MouseMove() { Image2.Visible = true; }

void frm_select::Image2_MouseDown() {
    Image3.Visible = true;
    Command1_Click();
}

void frm_select::Image3_MouseMove() {
    Image3.Visible = false;
    Image2.Visible = false;
}

void frm_select::Image3_MouseUp() { Image3_MouseMove(); }

void frm_select::Form_MouseMove() {
    Image2.Visible = false;
    Image3.Visible = false;
}

void frm_select::pick(int row) {
    // Always the display name of the row, read from its label.
    app().get<Form1>().txtmap.SetText(display_labels[static_cast<std::size_t>(row)]->Caption);
    Unload();
}

void frm_select::cancel() { Unload(); }

}  // namespace wizard
