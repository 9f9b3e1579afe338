// Message boxes as real modal dialogs: the text, an OK button, the title and
// for critical messages a red stop sign.
#pragma once

#include <string>

#include "platform/forms.h"

namespace backend {

class FltkMessageBoxes : public forms::MessageBoxes {
public:
    // Blocks in a nested event loop until the box is closed; returns 1 (OK).
    int show(const std::string& text, int style, const std::string& title) override;

    // Widths in pixels the text wraps between.
    static constexpr int kMinTextWidth = 120;
    static constexpr int kMaxTextWidth = 420;
};

}  // namespace backend
