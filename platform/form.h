// Forms: a window's design values, its controls in z-order and its handlers,
// bound by name ("Image3_MouseUp").
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"

namespace forms {

// None: no caption bar; FixedToolWindow: a caption bar with a close box, fixed
// size; Sizable: the platform's usual window.
enum class Border { None, FixedToolWindow, Sizable };

class Form {
public:
    Form(Application& app, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Application& app() const { return app_; }
    const std::string& name() const { return name_; }
    // Unique per instance: a reloaded form is a new instance.
    std::uint64_t serial() const { return serial_; }

    std::string Caption;
    Border BorderStyle = Border::None;
    int ClientWidth = 0, ClientHeight = 0;  // twips, at the normal window state
    int Left = 0, Top = 0;                  // twips on the screen
    Color BackColor = rgb(240, 240, 240);
    bool CenterOnScreen = false;
    bool AutoPlace = false;  // placed by the platform's default placement

    bool Visible() const { return visible_; }
    // Shows the form modeless; the first showing raises Form_Resize.
    void Show();
    // Unloads the default instance (runs Form_QueryUnload first).
    void Unload();
    bool unloaded() const { return unloaded_; }

    int WindowState() const { return window_state_; }
    // 0 normal, 1 minimised, 2 maximised; raises Form_Resize.
    void SetWindowState(int state);
    // Size of the client area now (the screen when maximised).
    int ScaleWidth() const;
    int ScaleHeight() const;

    Control* find(std::string_view name) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    // The topmost shown control under a point of the client area.
    Control* hit(int x, int y) const;

    // Binds "<control>_<event>" or "Form_<event>". A control the form does not
    // have, or an event that its kind never raises, is a programming error:
    // std::logic_error, so that a misspelt handler fails when the form loads.
    void bind(std::string handler, std::function<void()> fn);
    bool raise(std::string_view handler);
    bool binds(std::string_view handler) const;
    // The bound handler, or an empty function.
    std::function<void()> handler(std::string_view name) const;

    // Declares a control; later declarations lie above earlier ones.
    template <class C = Control>
    C& add(std::string name, Kind kind, Rect r, Control* container = nullptr);
    template <class C>
    C& add(std::string name, Rect r, Control* container = nullptr);

private:
    friend class Application;
    Application& app_;
    std::string name_;
    std::uint64_t serial_;
    bool visible_ = false;
    bool shown_once_ = false;
    bool unloaded_ = false;
    int window_state_ = 0;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, std::function<void()>, std::less<>> handlers_;
};

template <class C>
C& Form::add(std::string name, Kind kind, Rect r, Control* container) {
    auto c = std::make_unique<C>(*this, kind, std::move(name), container);
    c->place(r);
    C& ref = *c;
    controls_.push_back(std::move(c));
    return ref;
}

template <class C>
C& Form::add(std::string name, Rect r, Control* container) {
    auto c = std::make_unique<C>(*this, std::move(name), container);
    c->place(r);
    C& ref = *c;
    controls_.push_back(std::move(c));
    return ref;
}

}  // namespace forms
