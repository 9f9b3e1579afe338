// Field colour states: the wizard keeps validity only in these colours.
#pragma once

#include "platform/forms.h"

namespace wizard {

inline constexpr forms::Color kValid = 12648384;      // 192,255,192
inline constexpr forms::Color kInvalid = 12632319;    // 255,192,192
inline constexpr forms::Color kNeutral = 14737632;    // 224,224,224
inline constexpr forms::Color kReady = 8454016;       // 128,255,128
inline constexpr forms::Color kNotReady = 8421631;    // 255,128,128
inline constexpr forms::Color kWindow = 16774638;     // 238,245,255
inline constexpr forms::Color kCaption = forms::rgb(69, 93, 128);

static_assert(kValid == forms::rgb(192, 255, 192));
static_assert(kInvalid == forms::rgb(255, 192, 192));
static_assert(kNeutral == forms::rgb(224, 224, 224));
static_assert(kReady == forms::rgb(128, 255, 128));
static_assert(kNotReady == forms::rgb(255, 128, 128));
static_assert(kWindow == forms::rgb(238, 245, 255));

}  // namespace wizard
