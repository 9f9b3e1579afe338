// The wizard started in the FLTK host, in process, for window tests.
#pragma once

#include "window_support.h"

#include <memory>

#include "backend/fltk/host.h"
#include "wizard/form1.h"
#include "wizard/wizard.h"

namespace window_test {

class WizardInWindows : public ::testing::Test {
protected:
    // Starts the wizard; the main window is win once it is shown.
    void SetUp() override {
        if (!have_display()) GTEST_SKIP() << "no X display (DISPLAY unset)";
        app = std::make_unique<forms::Application>();
        host = std::make_unique<backend::FltkHost>(*app);
        wizard::start(*app);
        main = &app->get<wizard::Form1>();
        win = host->window(*main);
        ASSERT_NE(win, nullptr);
        settle();
    }
    void TearDown() override {
        host.reset();
        app.reset();
        if (have_display()) settle(0.02);
    }
    // Work done through the loop, as user input would be.
    void run(const std::function<void()>& work) { app->dispatch(work); }

    std::unique_ptr<forms::Application> app;
    std::unique_ptr<backend::FltkHost> host;
    wizard::Form1* main = nullptr;
    Fl_Window* win = nullptr;
};

}  // namespace window_test
