// The message dialog: a borderless box with one message and an OK button.
#pragma once

#include "platform/forms.h"

namespace wizard {

inline constexpr const char* kMapAdvice = "The name of your map must be a valid Halo map";
inline constexpr const char* kNameAdvice = "You must enter a name for the new weapon";
inline constexpr const char* kFolderAdvice = "The name of your weapon must match the name of the new folder";

class frmError : public forms::Form {
public:
    explicit frmError(forms::Application& app);

    forms::Line& Line1;
    forms::Line& Line2;
    forms::Line& Line3;
    forms::Line& Line4;
    forms::Line& Line5;
    forms::Line& Line6;
    forms::Line& Line7;
    forms::Line& Line8;
    forms::Label& Label1;
    forms::Image& Image1;
    forms::Image& Image2;
    forms::Image& Image3;

    void Image1_MouseMove();
    void Image2_MouseDown();
    void Image3_MouseMove();
    void Image3_MouseUp();
    void Form_MouseMove();
    void Form_QueryUnload();
};

}  // namespace wizard
