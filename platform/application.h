// The application: default form instances, focus, the message loop with
// posted keystrokes and timers, message boxes and user input.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "platform/form.h"

namespace forms {

// Message boxes: real dialogs in the window backend, scripted in tests.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a modal box and returns when the user closed it (1 for OK).
    virtual int show(const std::string& text, int style, const std::string& title) = 0;
};

// The window backend's side of the runtime.
class Host {
public:
    virtual ~Host() = default;
    // Something may have changed: forms shown, unloaded, moved or redrawn.
    virtual void update() {}
    // A message was posted: the loop should pump soon.
    virtual void wake() {}
};

// Style codes of message boxes.
inline constexpr int kOkOnly = 0;
inline constexpr int kCritical = 16;

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The default instance of a form type, created with its design values on
    // first reference and after every unload.
    template <class F>
    F& get();
    // The same, made by make where the design values alone do not make it.
    template <class F>
    F& get(const std::function<std::unique_ptr<Form>(Application&)>& make);
    template <class F>
    bool loaded() const;
    // The default instance of a form known by a key of its own (forms made
    // from data share one type), made by make on first reference and after
    // every unload.
    using FormMaker = std::function<std::unique_ptr<Form>(Application&)>;
    Form& get(const std::string& key, const FormMaker& make);
    Form* loaded(std::string_view key) const;
    // Loaded forms in load order.
    std::vector<Form*> forms() const;
    bool ended() const { return instances_.empty(); }
    void unload(Form& form);

    // Focus.
    Control* focus() const { return focus_; }
    void set_focus(Control& control);
    void forget_focus(const Control& control);

    // Keystrokes ("{ENTER}", "{DOWN}", "{TAB}", "+{TAB}", "{HOME}+{END}", plain characters),
    // posted to the focused control: delivered by pump(), never at once.
    void send_keys(std::string keys);
    // Runs posted messages until none is left; returns how many ran.
    int pump();
    bool pending() const { return !posted_.empty(); }

    // Timers: advances the clock and fires every due timer.
    void tick(int ms);

    // Message boxes; a box without a title of its own shows the title.
    int MsgBox(const std::string& text, int style = kOkOnly,
               const std::optional<std::string>& title = std::nullopt);
    void set_message_boxes(MessageBoxes* boxes) { boxes_ = boxes; }
    bool modal() const { return modal_depth_ > 0; }
    std::string Title = "Vorlix Tools v0.8";

    // File operations of duplications; the local file system unless replaced.
    FileSystem& files() const;
    void set_file_system(FileSystem* files) { files_ = files; }

    void set_host(Host* host) { host_ = host; }
    Host* host() const { return host_; }

    // Screen size in twips.
    int ScreenWidth = 1920 * kTwipsPerPixel;
    int ScreenHeight = 1080 * kTwipsPerPixel;

    // Drives offered by drive lists (mount points); replaceable for tests.
    std::function<std::vector<std::string>()> drive_provider;
    // The current folder of a drive; for no drive ("") the program's own.
    std::string drive_folder(const std::string& drive) const;

    // User input in client coordinates (twips), to the topmost shown control.
    void mouse_move(Form& form, int x, int y);
    void mouse_down(Form& form, int x, int y);
    void mouse_up(Form& form, int x, int y);
    // A key pressed by the user on the focused control.
    void key(std::string_view key);

    // Runs a piece of user input or loop work; an untrapped error ends in a
    // critical message box instead of the program.
    void dispatch(const std::function<void()>& work);

    // Called by Form when one is shown outside any running work.
    void form_shown();
    std::uint64_t next_serial() { return ++serial_; }

private:
    Form* instance(std::string_view key) const;
    void deliver_key(std::string_view key);
    // Tab and Shift+Tab: the next (previous) control that can take the focus.
    void move_focus(Control& from, bool back);
    void mouse(Form& form, int x, int y, std::string_view event);
    void settle();

    std::vector<std::pair<std::string, std::unique_ptr<Form>>> instances_;  // key, default instance
    std::vector<std::unique_ptr<Form>> graveyard_;
    Control* focus_ = nullptr;
    std::deque<std::string> posted_;
    MessageBoxes* boxes_ = nullptr;
    Host* host_ = nullptr;
    FileSystem* files_ = nullptr;
    int depth_ = 0;
    int modal_depth_ = 0;
    std::uint64_t serial_ = 0;
    Control* pressed_ = nullptr;  // target of the last mouse down, for Click
};

// Forms of their own type are keyed by the type.
template <class F>
F& Application::get() {
    return get<F>([](Application& app) { return std::make_unique<F>(app); });
}

template <class F>
F& Application::get(const FormMaker& make) {
    return static_cast<F&>(get(typeid(F).name(), make));
}

template <class F>
bool Application::loaded() const {
    return instance(typeid(F).name()) != nullptr;
}

}  // namespace forms
