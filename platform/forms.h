// A small forms runtime: forms with one default instance each, controls with
// properties and events, one message loop with posted keystrokes and timers,
// and message boxes behind an interface. It has no GUI dependency: a window
// backend draws it and feeds user input into it; tests drive it directly.
#pragma once

#include "platform/application.h"
#include "platform/controls.h"
#include "platform/form.h"
