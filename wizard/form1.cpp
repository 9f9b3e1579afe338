#include "wizard/form1.h"

#include "objects/kinds.h"
#include "wizard/colors.h"
#include "wizard/design.h"
#include "wizard/frm_error.h"
#include "wizard/frm_select.h"
#include "wizard/launch.h"
#include "wizard/map_names.h"

namespace wizard {

using forms::Kind;
using forms::Rect;

namespace {

constexpr Rect kBeginTab{120, 720, 975, 570};
constexpr Rect kOptionsTab{1200, 720, 975, 570};
constexpr Rect kDoneTab{2310, 720, 975, 570};
constexpr Rect kStepFrame{120, 1320, 5655, 3135};
constexpr Rect kCompile{3600, 2400, 1920, 570};
constexpr Rect kSelect{4599, 720, 960, 315};
constexpr int kTitleTop = 120;
constexpr int kTitleWidth = 480;
constexpr int kTitleHeight = 420;

// Title bar positions, restored and maximised.
constexpr int kMinLeft = 4320, kMaxLeft = 4800, kExitLeft = 5280;
constexpr int kMinLeftMaximised = 13560, kMaxLeftMaximised = 14040, kExitLeftMaximised = 14520;

constexpr const char* kFolderMarker = "{[0c0]}";

Rect title(int left) { return {left, kTitleTop, kTitleWidth, kTitleHeight}; }

forms::TextBox& field(forms::Form& f, std::string name, Rect r, forms::Control* container) {
    auto& box = f.add<forms::TextBox>(std::move(name), r, container);
    box.BackColor = kInvalid;
    box.ForeColor = forms::rgb(0, 0, 128);
    box.font = forms::Font{"MS Sans Serif", 8.25, true, false};
    return box;
}

}  // namespace

Form1::Form1(forms::Application& app) : Form1(app, objects::built_in()) {}

Form1::Form1(forms::Application& app, const objects::KindList& kinds)
    : forms::Form(app, "Form1"),
      Image6(image(*this, "Image6", {-960, 705, 1170, 585}, "strip", true)),
      Image5(image(*this, "Image5", {1080, 705, 1170, 585}, "strip", true)),
      Image15(image(*this, "Image15", {2160, 705, 14130, 585}, "strip", true)),
      Welcome(label(*this, "Welcome", {480, 1800, 4815, 1335},
                    "Welcome, when you are ready to start, click on \"Begin\"")),
      Image1(image(*this, "Image1", kBeginTab, "tab.begin.normal", true)),
      Image2(image(*this, "Image2", kBeginTab, "tab.begin.hover", false)),
      Image3(image(*this, "Image3", kBeginTab, "tab.begin.pressed", false)),
      Image4(image(*this, "Image4", kBeginTab, "tab.begin.active", false)),
      Image7(image(*this, "Image7", kOptionsTab, "tab.options.inactive", true)),
      Image8(image(*this, "Image8", kOptionsTab, "tab.options.normal", false)),
      Image9(image(*this, "Image9", kOptionsTab, "tab.options.hover", false)),
      Image10(image(*this, "Image10", kOptionsTab, "tab.options.pressed", false)),
      Image11(image(*this, "Image11", kOptionsTab, "tab.options.active", false)),
      Done1(image(*this, "Done1", kDoneTab, "tab.done.inactive", true)),
      Done(image(*this, "Done", kDoneTab, "tab.done.active", false)),
      min1(image(*this, "min1", title(kMinLeft), "title.min.normal", true)),
      min2(image(*this, "min2", title(kMinLeft), "title.min.hover", false)),
      min3(image(*this, "min3", title(kMinLeft), "title.min.pressed", false)),
      mx1(image(*this, "mx1", title(kMaxLeft), "title.max.normal", true)),
      mx2(image(*this, "mx2", title(kMaxLeft), "title.max.hover", false)),
      mx3(image(*this, "mx3", title(kMaxLeft), "title.max.pressed", false)),
      reg1(image(*this, "reg1", title(kMaxLeft), "title.restore.normal", false)),
      reg2(image(*this, "reg2", title(kMaxLeft), "title.restore.hover", false)),
      reg3(image(*this, "reg3", title(kMaxLeft), "title.restore.pressed", false)),
      Xit1(image(*this, "Xit1", title(kExitLeft), "title.exit.normal", true)),
      Xit2(image(*this, "Xit2", title(kExitLeft), "title.exit.hover", false)),
      Xit3(image(*this, "Xit3", title(kExitLeft), "title.exit.pressed", false)),
      Frame1(frame(*this, "Frame1", kStepFrame, "Begin", kWindow, kCaption)),
      Label1(label(*this, "Label1", {120, 360, 1095, 255}, "Weapon:", &Frame1)),
      Combo1(add<forms::ComboBox>("Combo1", {1080, 360, 2415, 330}, &Frame1)),
      Label2(label(*this, "Label2", {120, 840, 4335, 1815},
                   "Please copy and paste this weapon's folder in the \"weapons\" folder and rename it to the "
                   "desired name of your new weapon. You will be selecting this folder when creating the "
                   "duplicate object.",
                   &Frame1)),
      Check1(add<forms::CheckBox>("Check1", {120, 2760, 975, 255}, &Frame1)),
      Timer1(add<forms::Timer>("Timer1", {}, &Frame1)),
      Frame2(frame(*this, "Frame2", kStepFrame, "Options", kWindow, kCaption)),
      Label3(label(*this, "Label3", {120, 360, 5415, 375}, "", &Frame2)),
      Line1(line(*this, "Line1", 120, 600, 5520, 600, 1, kCaption, &Frame2)),
      Line2(line(*this, "Line2", 120, 609, 5520, 609, 1, kCaption, &Frame2)),
      Label4(label(*this, "Label4", {120, 720, 1215, 375}, "Map name:", &Frame2)),
      txtmap(field(*this, "txtmap", {1320, 720, 3255, 285}, &Frame2)),
      select(image(*this, "select", kSelect, "select.normal", true, &Frame2)),
      select1(image(*this, "select1", kSelect, "select.hover", false, &Frame2)),
      Label5(label(*this, "Label5", {120, 1200, 1935, 255}, "New weapon name:", &Frame2)),
      txtfile(field(*this, "txtfile", {2040, 1200, 2535, 285}, &Frame2)),
      Drive1(add<forms::DriveListBox>("Drive1", {120, 1560, 1095, 315}, &Frame2)),
      Dir1(add<forms::DirListBox>("Dir1", {1200, 1560, 2295, 1440}, &Frame2)),
      Label6(label(*this, "Label6", {3480, 1560, 2055, 615}, "Make sure to double-click the output folder", &Frame2)),
      Line3(line(*this, "Line3", 4200, 1920, 3720, 1920, 3, kCaption, &Frame2)),
      Line4(line(*this, "Line4", 3840, 1800, 3720, 1920, 2, kCaption, &Frame2)),
      Line5(line(*this, "Line5", 3840, 2040, 3720, 1920, 2, kCaption, &Frame2)),
      contdis(image(*this, "contdis", kCompile, "compile.greyed", true, &Frame2)),
      conten(image(*this, "conten", kCompile, "compile.normal", false, &Frame2)),
      cont1(image(*this, "cont1", kCompile, "compile.hover", false, &Frame2)),
      cont2(image(*this, "cont2", kCompile, "compile.pressed", false, &Frame2)),
      Donefraim(frame(*this, "Donefraim", {120, 1320, 5655, 3375}, "Done!", kWindow, kCaption)),
      Image12(image(*this, "Image12", {240, 230, 5025, 3000}, "logo", true, &Donefraim)),
      Thanks(label(*this, "Thanks", {360, 480, 4935, 255}, "Thank you for using Vorlix Tools!", &Donefraim)),
      completed(label(*this, "completed", {360, 840, 4935, 255}, "Your project has completed.", &Donefraim)),
      tfile(label(*this, "tfile", {240, 1080, 5055, 255}, "txtfile", &Donefraim)),
      about(label(*this, "about", {360, 1320, 4935, 255}, "Vorlix Tools, written by Vorlix", &Donefraim)),
      Label7(label(*this, "Label7", {360, 2520, 5175, 495},
                   "You may exit or click begin again to duplicate another object", &Donefraim)),
      Pather1(add<forms::TextBox>("Pather1", {120, 4560, 4455, 375})),
      txtfound(add<forms::TextBox>("txtfound", {4560, 4560, 1215, 375})),
      kinds_(kinds) {
    Caption = "Vorlix Tools";
    BorderStyle = forms::Border::FixedToolWindow;
    ClientWidth = 5925;
    ClientHeight = 5085;
    BackColor = kWindow;
    CenterOnScreen = true;

    Image15.Stretch = true;
    Welcome.Alignment = forms::Align::Center;
    Frame1.Visible = false;
    Frame2.Visible = false;
    Donefraim.Visible = false;

    Combo1.items = kinds_.offered();
    Combo1.BackColor = kNotReady;
    Combo1.font = forms::Font{"Arial", 8.25, true, false};
    Check1.Caption = "Ready";
    Check1.BackColor = kWindow;
    Check1.Enabled = false;
    Check1.font = franklin();
    Timer1.Interval = 100;
    Timer1.Enabled = false;

    Label3.Alignment = forms::Align::Center;
    Drive1.BackColor = kNeutral;
    Drive1.ForeColor = forms::rgb(192, 0, 0);
    Dir1.BackColor = kNeutral;
    Dir1.ForeColor = forms::rgb(128, 0, 0);
    Label6.Alignment = forms::Align::Right;
    Label6.font = forms::Font{"Arial", 8.25, false, false};
    for (forms::Control* c : {static_cast<forms::Control*>(&Label6), static_cast<forms::Control*>(&Line3),
                              static_cast<forms::Control*>(&Line4), static_cast<forms::Control*>(&Line5)})
        c->Visible = false;

    for (forms::Label* l : {&Thanks, &completed, &tfile, &about, &Label7}) l->Alignment = forms::Align::Center;
    Thanks.ForeColor = forms::rgb(255, 255, 255);
    completed.ForeColor = forms::rgb(255, 128, 0);
    tfile.ForeColor = forms::rgb(255, 128, 0);
    about.ForeColor = forms::rgb(255, 0, 0);
    Label7.ForeColor = forms::rgb(255, 255, 0);
    Pather1.Visible = false;
    txtfound.Visible = false;

    bind("Image1_MouseMove", [this] { Image1_MouseMove(); });
    bind("Image2_MouseDown", [this] { Image2_MouseDown(); });
    bind("Image3_MouseMove", [this] { Image3_MouseMove(); });
    bind("Image3_MouseUp", [this] { Image3_MouseUp(); });
    bind("Image8_MouseMove", [this] { Image8_MouseMove(); });
    bind("Image9_MouseDown", [this] { Image9_MouseDown(); });
    bind("Image10_MouseMove", [this] { Image10_MouseMove(); });
    bind("Image10_MouseUp", [this] { Image10_MouseUp(); });
    bind("Check1_Click", [this] { Check1_Click(); });
    bind("Timer1_Timer", [this] { Timer1_Timer(); });
    bind("Form_Resize", [this] { Form_Resize(); });
    bind("select_MouseMove", [this] { select_MouseMove(); });
    bind("select1_MouseDown", [this] { select1_MouseDown(); });
    bind("txtmap_Change", [this] { txtmap_Change(); });
    bind("txtfile_Change", [this] { txtfile_Change(); });
    bind("Dir1_Change", [this] { Dir1_Change(); });
    bind("Drive1_Change", [this] { Drive1_Change(); });
    bind("contdis_Click", [this] { contdis_Click(); });
    bind("conten_MouseMove", [this] { conten_MouseMove(); });
    bind("cont1_MouseDown", [this] { cont1_MouseDown(); });
    bind("cont2_MouseDown", [this] { cont2_MouseDown(); });
    bind("cont2_MouseMove", [this] { cont2_MouseMove(); });
    bind("min1_MouseMove", [this] { min1_MouseMove(); });
    bind("min2_MouseDown", [this] { min2_MouseDown(); });
    bind("min3_MouseMove", [this] { min3_MouseMove(); });
    bind("min3_MouseUp", [this] { min3_MouseUp(); });
    bind("mx1_MouseMove", [this] { mx1_MouseMove(); });
    bind("mx2_MouseDown", [this] { mx2_MouseDown(); });
    bind("mx3_MouseMove", [this] { mx3_MouseMove(); });
    bind("reg1_MouseMove", [this] { reg1_MouseMove(); });
    bind("reg2_MouseDown", [this] { reg2_MouseDown(); });
    bind("reg3_MouseDown", [this] { reg3_MouseDown(); });
    bind("reg3_MouseMove", [this] { reg3_MouseMove(); });
    bind("Xit1_MouseMove", [this] { Xit1_MouseMove(); });
    bind("Xit2_MouseDown", [this] { Xit2_MouseDown(); });
    bind("Xit3_MouseMove", [this] { Xit3_MouseMove(); });
    bind("Xit3_MouseUp", [this] { Xit3_MouseUp(); });
    bind("Form_MouseMove", [this] { Form_MouseMove(); });
    // The Options frame and its fields and labels reset the compile and
    // select buttons; the tab row background and the logo reset the tabs.
    for (const char* surface : {"Frame2", "Dir1", "txtfile", "txtmap", "Label4", "Label5", "Label6"})
        bind(std::string(surface) + "_MouseMove", [this] { Frame2_MouseMove(); });
    for (const char* surface : {"Image5", "Image6", "Image15", "Image12"})
        bind(std::string(surface) + "_MouseMove", [this] { Image5_MouseMove(); });
    bind("Form_QueryUnload", [this] { Form_QueryUnload(); });
}

// ------------------------------------------------------------ Begin and Options

void Form1::Image1_MouseMove() { Image2.Visible = true; }
void Form1::Image2_MouseDown() { Image3.Visible = true; }
void Form1::Image3_MouseMove() { begin_action(false); }
void Form1::Image3_MouseUp() { begin_action(true); }

void Form1::begin_action(bool from_mouse_up) {
    Image4.Visible = true;
    Welcome.Visible = false;
    Frame1.Visible = true;
    Image7.Visible = true;
    Timer1.Enabled = true;
    if (Donefraim.Visible) {
        // Reset after a finished run.
        Frame2.Visible = false;
        Image11.Visible = false;
        Image10.Visible = false;
        Image9.Visible = false;
        Done.Visible = false;
        txtmap.SetText("");
        txtfile.SetText("");
        Label3.Caption.assign(1, ' ');  // not = " ": g++ 12 -O3 warns of an overlap there
        if (from_mouse_up) Check1.SetValue(0);
    }
    Donefraim.Visible = false;
    if (Image11.Visible) {
        Image11.Visible = false;
        Image10.Visible = false;
        Image9.Visible = false;
        Frame2.Visible = false;
    } else {
        app().send_keys("{DOWN}");
    }
}

void Form1::Image8_MouseMove() { Image9.Visible = true; }
void Form1::Image9_MouseDown() { Image10.Visible = true; }
void Form1::Image10_MouseMove() { options_action(true); }
void Form1::Image10_MouseUp() { options_action(false); }

void Form1::options_action(bool from_mouse_move) {
    Image11.Visible = true;
    Frame2.Visible = true;
    if (from_mouse_move) Label3.Caption = Combo1.Text();
    Image2.Visible = false;
    Image3.Visible = false;
    Image4.Visible = false;
}

void Form1::Check1_Click() {
    if (Check1.Value() == 1) {
        Image8.Visible = true;
        Combo1.BackColor = kReady;
    } else {
        Image8.Visible = false;
        Combo1.BackColor = kNotReady;
    }
}

void Form1::Timer1_Timer() { Check1.Enabled = true; }

void Form1::Form_Resize() {
    if (WindowState() == 1) return;
    Frame1.Width = ScaleWidth() - 240;
    Frame1.Height = ScaleHeight() - 1800;
    Frame2.Width = ScaleWidth() - 240;
    Frame2.Height = ScaleHeight() - 1800;
}

void Form1::select_MouseMove() { select1.Visible = true; }

void Form1::select1_MouseDown() {
    app().get<frm_select>().Show();
    select1.Visible = false;
}

// ------------------------------------------------------------ input checks

void Form1::txtmap_Change() { txtmap.BackColor = is_map_display_name(txtmap.Text()) ? kValid : kInvalid; }

void Form1::txtfile_Change() {
    const std::string& t = txtfile.Text();
    const bool blank = t.size() <= 4 && t.find_first_not_of(' ') == std::string::npos;
    txtfile.BackColor = blank ? kInvalid : kValid;
}

void Form1::Dir1_Change() {
    Pather1.SetText(Dir1.Path());
    // Replace the new name by the marker, then look for the marker from the
    // second character on.
    const std::string& name = txtfile.Text();
    std::string path = Pather1.Text();
    if (!name.empty()) {
        std::string marked;
        for (std::size_t pos = 0;;) {
            const auto hit = path.find(name, pos);
            if (hit == std::string::npos) {
                marked.append(path, pos, std::string::npos);
                break;
            }
            marked.append(path, pos, hit - pos).append(kFolderMarker);
            pos = hit + name.size();
        }
        path = marked;
    }
    Pather1.SetText(path);
    const auto found = path.find(kFolderMarker, static_cast<std::size_t>(Pather1.SelStart()) + 1);
    if (found != std::string::npos) {
        Pather1.SetSelStart(static_cast<int>(found));
        Pather1.SetSelLength(7);
    } else {
        Pather1.SetSelStart(0);
        Pather1.SetSelLength(0);
    }
    txtfound.SetText(Pather1.SelText());
    if (txtfound.Text().empty()) {
        Dir1.BackColor = kInvalid;
        Drive1.BackColor = kNeutral;
    } else if (txtfound.Text() == kFolderMarker) {
        Dir1.BackColor = kValid;
        Drive1.BackColor = kValid;
        conten.Visible = true;
    }
}

void Form1::Drive1_Change() {
    try {
        Dir1.SetPath(app().drive_folder(Drive1.Drive()));
    } catch (const forms::Error&) {
        app().MsgBox("Please select a valid drive", forms::kCritical, std::string("Drive not found"));
    }
}

// ------------------------------------------------------------ compile button

void Form1::contdis_Click() {
    auto& dialog = app().get<frmError>();
    dialog.Top = Top + 1900;
    dialog.Left = Left + 1600;
    dialog.Show();
    if (txtmap.BackColor == kInvalid) {
        dialog.say(kMapAdvice);
    } else if (txtfile.Text().empty()) {
        dialog.say(kNameAdvice);
    } else {
        Label6.Visible = true;
        Line3.Visible = true;
        Line4.Visible = true;
        Line5.Visible = true;
        dialog.say(kFolderAdvice);
    }
}

void Form1::conten_MouseMove() { cont1.Visible = true; }

void Form1::cont1_MouseDown() {
    cont2.Visible = true;
    tfile.Caption = txtfile.Text();
}

void Form1::cont2_MouseDown() { launch(); }
void Form1::cont2_MouseMove() { launch(); }

void Form1::launch() {
    // One press, one run: the button goes back to rest, so that further
    // moves over it do not launch again.
    cont2.Visible = false;
    cont1.Visible = false;
    launch_duplicator(*this);
}

// ------------------------------------------------------------ title bar

void Form1::place_title_bar(int min_left, int max_left, int exit_left) {
    for (forms::Image* i : {&min1, &min2, &min3}) i->Left = min_left;
    for (forms::Image* i : {&reg1, &reg2, &reg3, &mx1, &mx2, &mx3}) i->Left = max_left;
    for (forms::Image* i : {&Xit1, &Xit2, &Xit3}) i->Left = exit_left;
}

void Form1::min1_MouseMove() {
    min2.Visible = true;
    for (forms::Image* i : {&Xit2, &Xit3, &mx2, &mx3, &reg2, &reg3}) i->Visible = false;
}

void Form1::min2_MouseDown() { min3.Visible = true; }
void Form1::min3_MouseMove() { minimise(); }
void Form1::min3_MouseUp() { minimise(); }

void Form1::minimise() {
    min3.Visible = false;
    min2.Visible = false;
    SetWindowState(1);
}

void Form1::mx1_MouseMove() {
    mx2.Visible = true;
    for (forms::Image* i : {&Xit2, &Xit3, &min2, &min3}) i->Visible = false;
}

void Form1::mx2_MouseDown() { mx3.Visible = true; }

void Form1::mx3_MouseMove() {
    SetWindowState(2);
    reg1.Visible = true;
    place_title_bar(kMinLeftMaximised, kMaxLeftMaximised, kExitLeftMaximised);
}

void Form1::reg1_MouseMove() {
    reg2.Visible = true;
    for (forms::Image* i : {&min2, &min3, &Xit2, &Xit3}) i->Visible = false;
}

void Form1::reg2_MouseDown() { reg3.Visible = true; }
void Form1::reg3_MouseDown() { restore(); }
void Form1::reg3_MouseMove() { restore(); }

void Form1::restore() {
    reg2.Visible = false;
    reg3.Visible = false;
    reg1.Visible = false;
    SetWindowState(0);
    place_title_bar(kMinLeft, kMaxLeft, kExitLeft);
}

void Form1::Xit1_MouseMove() {
    Xit2.Visible = true;
    for (forms::Image* i : {&mx2, &mx3, &min2, &min3, &reg2, &reg3}) i->Visible = false;
}

void Form1::Xit2_MouseDown() { Xit3.Visible = true; }
void Form1::Xit3_MouseMove() { exit_action(); }
void Form1::Xit3_MouseUp() { exit_action(); }

void Form1::exit_action() {
    Xit3.Visible = false;
    Xit2.Visible = false;
    Unload();
}

// ------------------------------------------------------------ hover resets

void Form1::Form_MouseMove() {
    for (forms::Image* i : {&Image2, &Image3, &Image9, &Image10, &Xit2, &Xit3, &reg2, &reg3, &min2, &min3, &mx2,
                            &mx3, &cont2, &cont1, &select1})
        i->Visible = false;
}

void Form1::Frame2_MouseMove() { reset_compile_hover(); }
void Form1::Image5_MouseMove() { reset_tab_hover(); }

void Form1::reset_compile_hover() {
    cont2.Visible = false;
    cont1.Visible = false;
    select1.Visible = false;
}

void Form1::reset_tab_hover() {
    Image2.Visible = false;
    Image3.Visible = false;
    Image9.Visible = false;
    Image10.Visible = false;
}

// ------------------------------------------------------------ closing

void Form1::Form_QueryUnload() { unload_other_forms(*this); }

}  // namespace wizard
