// The main window under a window manager: a caption bar with the close box
// only, and Left and Top as the outer corner's, caption bar included, so that
// the wizard's dialogs land where it places them. Run by with_window_manager.sh.
#include "wizard_in_windows.h"

#include <FL/x.H>

#include <cstdlib>
#include <memory>
#include <string>

#include "backend/fltk/host.h"
#include "backend/fltk/window_frame.h"
#include "wizard/form1.h"
#include "wizard/frm_error.h"
#include "wizard/wizard.h"

#ifndef _WIN32

namespace {

using namespace window_test;

// The window manager's _NET_WM_ALLOWED_ACTIONS of a window, as atom names.
std::string allowed_actions(Fl_Window* w) {
    const Atom property = XInternAtom(fl_display, "_NET_WM_ALLOWED_ACTIONS", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    std::string names;
    if (XGetWindowProperty(fl_display, fl_xid(w), property, 0, 64, False, XA_ATOM, &type, &format, &count, &left,
                           &data) == Success && data != nullptr) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            char* name = XGetAtomName(fl_display, atoms[i]);
            names += std::string(name) + " ";
            XFree(name);
        }
        XFree(data);
    }
    return names;
}

class WindowManagerTest : public WizardInWindows {
protected:
    void SetUp() override {
        if (std::getenv("VORLIX_WINDOW_MANAGER") == nullptr)
            GTEST_SKIP() << "run by with_window_manager.sh, under a window manager";
        WizardInWindows::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(settle_until([&] { return backend::frame_extents(*win).top > 0; }, 15.0));
        settle(0.3);
    }
};

TEST_F(WindowManagerTest, TheCaptionBarOffersTheCloseBoxOnly) {
    const std::string actions = allowed_actions(win);
    EXPECT_NE(actions.find("_NET_WM_ACTION_CLOSE"), std::string::npos) << actions;
    EXPECT_NE(actions.find("_NET_WM_ACTION_MOVE"), std::string::npos) << actions;
    for (const char* no : {"_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT",
                           "_NET_WM_ACTION_RESIZE"})
        EXPECT_EQ(actions.find(no), std::string::npos) << no << " in " << actions;
}

TEST_F(WindowManagerTest, LeftAndTopAreTheOuterCornerAndTheAdviceLandsBelowIt) {
    const backend::FrameExtents frame = backend::frame_extents(*win);
    // Placed by the wizard: the outer corner goes there.
    run([&] { main->Left = 1500; main->Top = 3000; });
    ASSERT_TRUE(settle_until([&] { return win->x() == 100 + frame.left && win->y() == 200 + frame.top; }));
    // The greyed compile button's advice: 1900 twips below the outer top.
    run([&] { main->Frame2.Visible = true; });
    run([&] { main->contdis_Click(); });
    settle();
    // Where the window manager reports the window, the outer corner stays.
    EXPECT_EQ(std::pair(main->Left, main->Top), std::pair(1500, 3000));
    Fl_Window* dialog = host->window(app->get<wizard::frmError>());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->y(), 327);  // (3000 + 1900) / 15, rounded
    EXPECT_EQ(dialog->x(), 207);  // (1500 + 1600) / 15
}

}  // namespace

#endif
