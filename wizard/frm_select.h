// The map picker: the map name table by file name or by display name.
#pragma once

#include <array>

#include "platform/forms.h"

namespace wizard {

class frm_select : public forms::Form {
public:
    explicit frm_select(forms::Application& app);

    forms::Frame& Frame1;
    // File-name labels, in map table order (Label1 to Label20, Label22 to Label30).
    std::array<forms::Label*, 29> file_labels{};
    forms::Label& Labeshit;
    forms::Frame& Frame2;
    // Display-name labels of the same rows (Label60 down to Label41, Label39 to Label31).
    std::array<forms::Label*, 29> display_labels{};
    forms::Label& Labelfucko;
    forms::Label& cont;
    forms::CommandButton& Command1;
    forms::Image& Image1;
    forms::Image& Image2;
    forms::Image& Image3;

    void Command1_Click();
    void Image1_MouseMove();
    void Image2_MouseDown();
    void Image3_MouseMove();
    void Image3_MouseUp();
    void Form_MouseMove();
    void pick(int row);
    void cancel();
};

// Number of the file-name label of a row (0-based); its display-name label
// is 61 minus that number.
int file_label_number(int row);

}  // namespace wizard
