// The system's frame around a shown window: how far it reaches beyond the
// client area, and which boxes its caption bar offers.
#pragma once

class Fl_Window;

namespace backend {

struct FrameExtents {
    int left = 0;
    int top = 0;
};

// The frame's width left of and above the client area; zero while the window
// has no frame (none at all, or not yet from the window manager).
FrameExtents frame_extents(Fl_Window& window);

// Whether the window is minimised now: its place is then the system's, not
// the form's.
bool minimised(Fl_Window& window);

// A fixed tool window's caption bar: the caption and a close box, no
// minimise or maximise box, not resizable. Set again after every change of
// the size range, which FLTK sends with hints of its own.
void close_box_only(Fl_Window& window);

}  // namespace backend
