// The FLTK side of the forms runtime: windows for the shown forms, the
// message loop's timers and posted keystrokes.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <utility>

#include "platform/forms.h"

class Fl_Widget;
class Fl_Window;

namespace backend {

class FormWindow;

class FltkHost : public forms::Host {
public:
    // Takes the host role of app; the screen size comes from the display.
    explicit FltkHost(forms::Application& app);
    ~FltkHost() override;
    FltkHost(const FltkHost&) = delete;
    FltkHost& operator=(const FltkHost&) = delete;

    void update() override;
    void wake() override;

    forms::Application& app() const { return app_; }
    // A loaded form by its serial; nullptr once it is gone.
    forms::Form* find_form(std::uint64_t serial) const;
    // The window of a shown form, nullptr when it has none.
    Fl_Window* window(const forms::Form& form) const;
    // The widget standing for a control; nullptr for painted controls.
    Fl_Widget* widget(const forms::Control& control) const;
    // The user gave a widget the keyboard focus.
    void focused(forms::Control& control);

    // Timer ticks are never longer than this, as a timer that missed several
    // periods fires only a few times to catch up.
    static constexpr int kMaxTickMs = 200;

private:
    static void tick_cb(void* self);
    static void pump_cb(void* self);
    void tick();
    bool timer_running() const;
    void sync_windows();
    void sync_focus();

    forms::Application& app_;
    std::map<std::uint64_t, FormWindow*> windows_;
    bool updating_ = false;
    bool again_ = false;
    bool pump_due_ = false;
    bool ticking_ = false;
    std::chrono::steady_clock::time_point last_tick_;
    long long pending_us_ = 0;
    // The focus as last handed to FLTK: form serial and control address.
    std::pair<std::uint64_t, const forms::Control*> focus_{0, nullptr};
};

}  // namespace backend
