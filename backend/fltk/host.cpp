#include "backend/fltk/host.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <set>

#include "backend/fltk/control_widget.h"
#include "backend/fltk/form_window.h"

namespace backend {

namespace {
constexpr double kTickSeconds = 0.02;
}

FltkHost::FltkHost(forms::Application& app) : app_(app), last_tick_(std::chrono::steady_clock::now()) {
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_xywh(sx, sy, sw, sh, 0);
    app_.ScreenWidth = sw * forms::kTwipsPerPixel;
    app_.ScreenHeight = sh * forms::kTwipsPerPixel;
    app_.set_host(this);
    Fl::add_timeout(kTickSeconds, tick_cb, this);
}

FltkHost::~FltkHost() {
    Fl::remove_timeout(tick_cb, this);
    Fl::remove_timeout(pump_cb, this);
    if (app_.host() == this) app_.set_host(nullptr);
    for (auto& [serial, window] : windows_) window->retire();
    windows_.clear();
    Fl::do_widget_deletion();
}

forms::Form* FltkHost::find_form(std::uint64_t serial) const {
    for (forms::Form* f : app_.forms())
        if (f->serial() == serial) return f;
    return nullptr;
}

Fl_Window* FltkHost::window(const forms::Form& form) const {
    const auto it = windows_.find(form.serial());
    return it == windows_.end() ? nullptr : it->second;
}

Fl_Widget* FltkHost::widget(const forms::Control& control) const {
    const auto it = windows_.find(control.form().serial());
    if (it == windows_.end()) return nullptr;
    ControlWidget* w = it->second->widget_for(&control);
    return w == nullptr ? nullptr : &w->widget();
}

void FltkHost::update() {
    // A window shown or moved here may report back at once: finish first.
    if (updating_) {
        again_ = true;
        return;
    }
    updating_ = true;
    for (int round = 0; round < 4; ++round) {
        again_ = false;
        sync_windows();
        sync_focus();
        if (!again_) break;
    }
    updating_ = false;
}

void FltkHost::sync_windows() {
    std::set<std::uint64_t> shown;
    for (forms::Form* f : app_.forms()) {
        if (f->unloaded() || !f->Visible()) continue;
        shown.insert(f->serial());
        FormWindow*& window = windows_[f->serial()];
        if (window == nullptr) window = new FormWindow(*this, *f);
        window->sync(*f);
    }
    for (auto it = windows_.begin(); it != windows_.end();) {
        if (shown.count(it->first) != 0) {
            ++it;
            continue;
        }
        it->second->retire();
        it = windows_.erase(it);
    }
}

void FltkHost::sync_focus() {
    forms::Control* focus = app_.focus();
    const std::uint64_t serial = focus == nullptr ? 0 : focus->form().serial();
    if (serial == focus_.first && focus == focus_.second) return;
    focus_ = {serial, focus};
    if (focus == nullptr) return;
    const auto it = windows_.find(serial);
    if (it != windows_.end()) it->second->give_focus(*focus);
}

void FltkHost::focused(forms::Control& control) {
    focus_ = {control.form().serial(), &control};
    if (app_.focus() != &control) app_.set_focus(control);
    update();
}

void FltkHost::wake() {
    if (pump_due_) return;
    pump_due_ = true;
    Fl::add_timeout(0.0, pump_cb, this);
}

void FltkHost::pump_cb(void* self) {
    auto* host = static_cast<FltkHost*>(self);
    host->pump_due_ = false;
    // While a message box is up the keystrokes wait: the tick retries.
    if (!host->app_.modal()) host->app_.pump();
}

void FltkHost::tick_cb(void* self) { static_cast<FltkHost*>(self)->tick(); }

bool FltkHost::timer_running() const {
    for (const forms::Form* f : app_.forms()) {
        for (const auto& c : f->controls()) {
            if (c->kind() != forms::Kind::Timer || !c->Enabled) continue;
            if (static_cast<const forms::Timer&>(*c).Interval > 0) return true;
        }
    }
    return false;
}

void FltkHost::tick() {
    const auto now = std::chrono::steady_clock::now();
    pending_us_ += std::chrono::duration_cast<std::chrono::microseconds>(now - last_tick_).count();
    last_tick_ = now;
    Fl::repeat_timeout(kTickSeconds, tick_cb, this);
    // A timer handler that waits in a message box does not tick again
    // underneath itself; the time is kept for the next tick.
    if (ticking_) return;
    const int ms = static_cast<int>(std::min<long long>(pending_us_ / 1000, kMaxTickMs));
    if (ms <= 0) return;
    pending_us_ = pending_us_ % 1000;
    if (timer_running()) {
        ticking_ = true;
        app_.tick(ms);
        ticking_ = false;
    }
    if (app_.pending() && !app_.modal()) app_.pump();
}

}  // namespace backend
