// A small forms runtime: forms with one default instance each, controls with
// properties and events, one message loop with posted keystrokes and timers,
// and message boxes behind an interface. It has no GUI dependency: a window
// backend draws it and feeds user input into it; tests drive it directly.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

namespace forms {

inline constexpr int kTwipsPerPixel = 15;

// Colours as stored by the forms: low byte red, then green, then blue.
using Color = std::uint32_t;
constexpr Color rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
constexpr unsigned red_of(Color c) { return c & 0xFF; }
constexpr unsigned green_of(Color c) { return (c >> 8) & 0xFF; }
constexpr unsigned blue_of(Color c) { return (c >> 16) & 0xFF; }

// Error numbers of the runtime.
enum ErrorNumber : int {
    kInvalidCall = 5,
    kFileNotFound = 53,
    kFileExists = 58,
    kDeviceUnavailable = 68,
    kPermissionDenied = 70,
    kPathFileAccess = 75,
    kPathNotFound = 76,
};

// A run-time error with its number and description.
class Error : public std::runtime_error {
public:
    Error(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

enum class Kind {
    Label, TextBox, ComboBox, CheckBox, Frame, Image, Line, Timer,
    CommandButton, DriveListBox, DirListBox,
};

enum class Align { Left, Right, Center };

struct Font {
    std::string name = "MS Sans Serif";
    double size = 8.25;
    bool bold = false;
    bool underline = false;
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

class Application;
class Form;
class FileSystem;

class Control {
public:
    Control(Form& form, Kind kind, std::string name, Control* container);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form() const { return form_; }
    Application& app() const;
    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Control* container() const { return container_; }

    // Position and size in twips, relative to the container.
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
    bool Enabled = true;
    Color BackColor = rgb(255, 255, 255);
    Color ForeColor = rgb(0, 0, 0);
    bool Transparent = false;  // no background of its own
    Font font;
    std::string Caption;        // labels, frames, check boxes, buttons
    Align Alignment = Align::Left;
    std::string Picture;        // images: name of the picture to draw
    bool Stretch = false;

    void place(Rect r) { Left = r.left; Top = r.top; Width = r.width; Height = r.height; }
    // Visible itself and inside visible containers.
    bool shown() const;
    // Enabled itself and inside enabled containers.
    bool enabled_chain() const;
    // Position in the form's client area.
    int abs_left() const;
    int abs_top() const;
    bool contains(int x, int y) const;

    bool focusable() const;
    // Gives this control the focus; Error kInvalidCall when it cannot take it.
    void SetFocus();

    // Runs "<name>_<event>" if the form binds it; returns whether it ran.
    bool raise(std::string_view event);

private:
    Form& form_;
    Kind kind_;
    std::string name_;
    Control* container_;
};

using Label = Control;
using Frame = Control;
using Image = Control;

class Line : public Control {
public:
    Line(Form& f, std::string name, Control* container)
        : Control(f, Kind::Line, std::move(name), container) {}
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    int BorderWidth = 1;  // pixels
    Color BorderColor = rgb(0, 0, 0);
};

class TextBox : public Control {
public:
    TextBox(Form& f, std::string name, Control* container)
        : Control(f, Kind::TextBox, std::move(name), container) {}

    const std::string& Text() const { return text_; }
    // Sets the text, puts the selection at the start and raises Change when
    // the text differs.
    void SetText(std::string text);
    int SelStart() const { return sel_start_; }
    int SelLength() const { return sel_length_; }
    void SetSelStart(int start);
    void SetSelLength(int length);
    std::string SelText() const;

    // The user's editing: typed characters replace the selection, one Change
    // per character; Home, End and Shift+End move the caret.
    void type(std::string_view chars);
    void backspace();
    void home();
    void end(bool extend);
    // The user's edit as a whole (window backend): new text and caret.
    void edited(std::string text, int caret);

private:
    std::string text_;
    int sel_start_ = 0;
    int sel_length_ = 0;
};

// A drop-down list whose text is always one of its items (or empty).
class ComboBox : public Control {
public:
    ComboBox(Form& f, std::string name, Control* container)
        : Control(f, Kind::ComboBox, std::move(name), container) {}

    std::vector<std::string> items;
    const std::string& Text() const { return text_; }
    int ListIndex() const { return index_; }
    // Selects an item (-1 for none) and raises Click when the index changes.
    void SetListIndex(int index);

private:
    std::string text_;
    int index_ = -1;
};

class CheckBox : public Control {
public:
    CheckBox(Form& f, std::string name, Control* container)
        : Control(f, Kind::CheckBox, std::move(name), container) {}

    int Value() const { return value_; }
    // Raises Click whenever the value changes.
    void SetValue(int value);

private:
    int value_ = 0;
};

class CommandButton : public Control {
public:
    CommandButton(Form& f, std::string name, Control* container)
        : Control(f, Kind::CommandButton, std::move(name), container) {}
    // A press by mouse or Enter: raises Click.
    void press() { raise("Click"); }
};

class Timer : public Control {
public:
    Timer(Form& f, std::string name, Control* container);
    int Interval = 0;  // milliseconds
    int elapsed = 0;   // since the last tick
};

class DriveListBox : public Control {
public:
    DriveListBox(Form& f, std::string name, Control* container);

    const std::string& Drive() const { return drive_; }
    // Sets the drive and raises Change.
    void SetDrive(std::string drive);
    std::vector<std::string> drives() const;

private:
    std::string drive_;
};

// A folder list: the ancestors of Path, Path itself, and its subfolders.
class DirListBox : public Control {
public:
    DirListBox(Form& f, std::string name, Control* container);

    struct Entry {
        std::string label;  // folder name ("/" for the root)
        std::string path;   // full path
        int depth = 0;      // indentation level
        bool open = false;  // an ancestor or the current folder
    };

    const std::string& Path() const { return path_; }
    // Moves to a folder and raises Change when the path differs; Error
    // kPathNotFound when the folder does not exist or cannot be opened.
    void SetPath(const std::string& path);
    std::vector<Entry> entries() const;
    int ListIndex = -1;
    // The user's double-click on an entry: opens it.
    void open(int index);

private:
    std::string path_;
};

enum class Border { None, FixedToolWindow };

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

    void bind(std::string handler, std::function<void()> fn);
    bool raise(std::string_view handler);
    bool binds(std::string_view handler) const;

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
    template <class F>
    bool loaded() const;
    // Loaded forms in load order.
    std::vector<Form*> forms() const;
    bool ended() const { return instances_.empty(); }
    void unload(Form& form);

    // Focus.
    Control* focus() const { return focus_; }
    void set_focus(Control& control);
    void forget_focus(const Control& control);

    // Keystrokes ("{ENTER}", "{DOWN}", "{HOME}+{END}", plain characters),
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
    // The current folder of a drive.
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
    void adopt(std::type_index type, std::unique_ptr<Form> form);
    Form* instance(std::type_index type) const;
    void deliver_key(std::string_view key);
    void mouse(Form& form, int x, int y, std::string_view event);
    void settle();

    std::vector<std::pair<std::type_index, std::unique_ptr<Form>>> instances_;
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

template <class F>
F& Application::get() {
    if (Form* f = instance(typeid(F))) return static_cast<F&>(*f);
    auto form = std::make_unique<F>(*this);
    F& ref = *form;
    adopt(typeid(F), std::move(form));
    return ref;
}

template <class F>
bool Application::loaded() const {
    return instance(typeid(F)) != nullptr;
}

}  // namespace forms
