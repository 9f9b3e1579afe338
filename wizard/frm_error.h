// The message dialog: a borderless box with one message and an OK button.
#pragma once

#include <string>

#include "platform/forms.h"

namespace wizard {

// The field of the main window that closing the dialog puts the focus back
// into: the one its advice is about.
enum class Refocus { None, MapName, NewName };

struct Advice {
    const char* text;
    Refocus refocus;
};

inline constexpr Advice kMapAdvice{"The name of your map must be a valid Halo map", Refocus::MapName};
inline constexpr Advice kNameAdvice{"You must enter a name for the new weapon", Refocus::NewName};
inline constexpr Advice kFolderAdvice{"The name of your weapon must match the name of the new folder", Refocus::None};

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

    // Sets the message and the field that closing the dialog goes back to.
    void say(std::string text, Refocus refocus = Refocus::None);
    void say(const Advice& advice) { say(advice.text, advice.refocus); }
    Refocus refocus() const { return refocus_; }

    void Image1_MouseMove();
    void Image2_MouseDown();
    void Image3_MouseMove();
    void Image3_MouseUp();
    void Form_MouseMove();
    void Form_QueryUnload();

private:
    Refocus refocus_ = Refocus::None;
};

}  // namespace wizard
