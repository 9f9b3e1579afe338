#include "backend/fltk/window_frame.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

namespace backend {

#ifdef _WIN32

FrameExtents frame_extents(Fl_Window& window) {
    HWND hwnd = fl_xid(&window);
    if (hwnd == nullptr) return {};
    RECT outer{};
    POINT client{0, 0};
    if (!GetWindowRect(hwnd, &outer) || !ClientToScreen(hwnd, &client)) return {};
    return {static_cast<int>(client.x - outer.left), static_cast<int>(client.y - outer.top)};
}

bool minimised(Fl_Window& window) {
    HWND hwnd = fl_xid(&window);
    return hwnd != nullptr && IsIconic(hwnd);
}

void close_box_only(Fl_Window& window) {
    HWND hwnd = fl_xid(&window);
    if (hwnd == nullptr) return;
    const LONG_PTR style = GetWindowLongPtr(hwnd, GWL_STYLE);
    SetWindowLongPtr(hwnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    SetWindowLongPtr(hwnd, GWL_EXSTYLE, GetWindowLongPtr(hwnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

#elif !defined(__APPLE__)

FrameExtents frame_extents(Fl_Window& window) {
    const Window xid = fl_xid(&window);
    if (xid == 0) return {};
    static const Atom extents = XInternAtom(fl_display, "_NET_FRAME_EXTENTS", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, left_over = 0;
    unsigned char* data = nullptr;
    FrameExtents out;
    if (XGetWindowProperty(fl_display, xid, extents, 0, 4, False, XA_CARDINAL, &type, &format, &count, &left_over,
                           &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 4) {
        const auto* v = reinterpret_cast<const long*>(data);  // left, right, top, bottom
        out = {static_cast<int>(v[0]), static_cast<int>(v[2])};
    }
    if (data != nullptr) XFree(data);
    return out;
}

// FLTK hides a window that the window manager minimises.
bool minimised(Fl_Window& window) { return !window.visible(); }

void close_box_only(Fl_Window& window) {
    const Window xid = fl_xid(&window);
    if (xid == 0) return;
    // The Motif hints name what the window manager offers, moving and
    // closing, and what the frame shows: a border and a caption bar with its
    // menu, but neither a minimise nor a maximise box.
    static const Atom motif = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
    constexpr long kFunctions = 1, kDecorations = 2;
    constexpr long kMove = 4, kClose = 32;
    constexpr long kBorder = 2, kTitle = 8, kMenu = 16;
    long hints[5] = {kFunctions | kDecorations, kMove | kClose, kBorder | kTitle | kMenu, 0, 0};
    XChangeProperty(fl_display, xid, motif, motif, 32, PropModeReplace, reinterpret_cast<unsigned char*>(hints), 5);
    XFlush(fl_display);
}

#else

FrameExtents frame_extents(Fl_Window&) { return {}; }
bool minimised(Fl_Window& window) { return !window.visible(); }
void close_box_only(Fl_Window&) {}

#endif

}  // namespace backend
