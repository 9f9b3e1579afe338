// The main window: title bar, the Begin, Options and Done steps, the input
// checks and the launch of a duplicator.
#pragma once

#include "platform/forms.h"

namespace objects {
class KindList;
}

namespace wizard {

class Form1 : public forms::Form {
public:
    // kinds: what the kind list offers and the launch starts; the program's
    // own ten unless given.
    explicit Form1(forms::Application& app);
    Form1(forms::Application& app, const objects::KindList& kinds);

    const objects::KindList& kinds() const { return kinds_; }

    // Members are declared bottom to top: later ones lie above earlier ones.
    // Tab row background.
    forms::Image& Image6;
    forms::Image& Image5;
    forms::Image& Image15;
    forms::Label& Welcome;
    // Begin, Options and Done tabs.
    forms::Image& Image1;
    forms::Image& Image2;
    forms::Image& Image3;
    forms::Image& Image4;
    forms::Image& Image7;
    forms::Image& Image8;
    forms::Image& Image9;
    forms::Image& Image10;
    forms::Image& Image11;
    forms::Image& Done1;
    forms::Image& Done;
    // Title bar.
    forms::Image& min1;
    forms::Image& min2;
    forms::Image& min3;
    forms::Image& mx1;
    forms::Image& mx2;
    forms::Image& mx3;
    forms::Image& reg1;
    forms::Image& reg2;
    forms::Image& reg3;
    forms::Image& Xit1;
    forms::Image& Xit2;
    forms::Image& Xit3;
    // Begin frame.
    forms::Frame& Frame1;
    forms::Label& Label1;
    forms::ComboBox& Combo1;
    forms::Label& Label2;
    forms::CheckBox& Check1;
    forms::Timer& Timer1;
    // Options frame.
    forms::Frame& Frame2;
    forms::Label& Label3;
    forms::Line& Line1;
    forms::Line& Line2;
    forms::Label& Label4;
    forms::TextBox& txtmap;
    forms::Image& select;
    forms::Image& select1;
    forms::Label& Label5;
    forms::TextBox& txtfile;
    forms::DriveListBox& Drive1;
    forms::DirListBox& Dir1;
    forms::Label& Label6;
    forms::Line& Line3;
    forms::Line& Line4;
    forms::Line& Line5;
    forms::Image& contdis;
    forms::Image& conten;
    forms::Image& cont1;
    forms::Image& cont2;
    // Done frame.
    forms::Frame& Donefraim;
    forms::Image& Image12;
    forms::Label& Thanks;
    forms::Label& completed;
    forms::Label& tfile;
    forms::Label& about;
    forms::Label& Label7;
    // Hidden working fields of the folder check.
    forms::TextBox& Pather1;
    forms::TextBox& txtfound;

    // Handlers.
    void Image1_MouseMove();
    void Image2_MouseDown();
    void Image3_MouseMove();
    void Image3_MouseUp();
    void Image8_MouseMove();
    void Image9_MouseDown();
    void Image10_MouseMove();
    void Image10_MouseUp();
    void Check1_Click();
    void Timer1_Timer();
    void Form_Resize();
    void select_MouseMove();
    void select1_MouseDown();
    void txtmap_Change();
    void txtfile_Change();
    void Dir1_Change();
    void Drive1_Change();
    void contdis_Click();
    void conten_MouseMove();
    void cont1_MouseDown();
    void cont2_MouseDown();
    void cont2_MouseMove();
    void min1_MouseMove();
    void min2_MouseDown();
    void min3_MouseMove();
    void min3_MouseUp();
    void mx1_MouseMove();
    void mx2_MouseDown();
    void mx3_MouseMove();
    void reg1_MouseMove();
    void reg2_MouseDown();
    void reg3_MouseDown();
    void reg3_MouseMove();
    void Xit1_MouseMove();
    void Xit2_MouseDown();
    void Xit3_MouseMove();
    void Xit3_MouseUp();
    void Form_MouseMove();
    void Frame2_MouseMove();
    void Image5_MouseMove();
    void Form_QueryUnload();

private:
    const objects::KindList& kinds_;

    void begin_action(bool from_mouse_up);
    void options_action(bool from_mouse_move);
    void launch();
    void minimise();
    void restore();
    void exit_action();
    void place_title_bar(int min_left, int max_left, int exit_left);
    void reset_compile_hover();
    void reset_tab_hover();
};

}  // namespace wizard
