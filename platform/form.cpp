#include "platform/form.h"

#include <stdexcept>

#include "platform/application.h"

namespace forms {

// ---------------------------------------------------------------- Form

Form::Form(Application& app, std::string name)
    : app_(app), name_(std::move(name)), serial_(app.next_serial()) {}

Form::~Form() = default;

void Form::Show() {
    if (unloaded_) return;
    const bool first = !shown_once_;
    if (first && CenterOnScreen) {
        Left = (app_.ScreenWidth - ClientWidth) / 2;
        Top = (app_.ScreenHeight - ClientHeight) / 2;
    }
    visible_ = true;
    shown_once_ = true;
    app_.form_shown();
    if (first) raise("Form_Resize");
}

void Form::Unload() { app_.unload(*this); }

void Form::SetWindowState(int state) {
    window_state_ = state;
    raise("Form_Resize");
}

int Form::ScaleWidth() const { return window_state_ == 2 ? app_.ScreenWidth : ClientWidth; }
int Form::ScaleHeight() const { return window_state_ == 2 ? app_.ScreenHeight : ClientHeight; }

Control* Form::find(std::string_view name) const {
    for (const auto& c : controls_)
        if (c->name() == name) return c.get();
    return nullptr;
}

Control* Form::hit(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        Control& c = **it;
        if (c.kind() == Kind::Line || c.kind() == Kind::Timer) continue;
        if (c.shown() && c.contains(x, y)) return &c;
    }
    return nullptr;
}

namespace {

// The events the runtime raises for each kind of control.
bool raises(Kind kind, std::string_view event) {
    const bool mouse = event == "MouseMove" || event == "MouseDown" || event == "MouseUp" || event == "Click";
    switch (kind) {
    case Kind::Line: return false;
    case Kind::Timer: return event == "Timer";
    case Kind::TextBox: case Kind::DriveListBox: case Kind::DirListBox: return mouse || event == "Change";
    default: return mouse;
    }
}

bool form_raises(std::string_view event) {
    return event == "Resize" || event == "QueryUnload" || event == "MouseMove" || event == "MouseDown" ||
           event == "MouseUp";
}

}  // namespace

void Form::bind(std::string handler, std::function<void()> fn) {
    const auto cut = handler.rfind('_');
    const std::string_view whole = handler;
    const std::string_view owner = cut == std::string::npos ? std::string_view() : whole.substr(0, cut);
    const std::string_view event = cut == std::string::npos ? std::string_view() : whole.substr(cut + 1);
    const Control* c = owner == "Form" ? nullptr : find(owner);
    if (owner != "Form" && c == nullptr)
        throw std::logic_error(name_ + ": handler " + handler + " names no control of the form");
    if (c != nullptr ? !raises(c->kind(), event) : !form_raises(event))
        throw std::logic_error(name_ + ": handler " + handler + " names an event that is never raised");
    handlers_[std::move(handler)] = std::move(fn);
}

bool Form::raise(std::string_view handler) {
    auto it = handlers_.find(handler);
    if (it == handlers_.end() || unloaded_) return false;
    auto fn = it->second;  // the handler may unload the form
    fn();
    return true;
}

bool Form::binds(std::string_view handler) const { return handlers_.count(handler) > 0; }

std::function<void()> Form::handler(std::string_view name) const {
    const auto it = handlers_.find(name);
    return it == handlers_.end() ? std::function<void()>() : it->second;
}

}  // namespace forms
