// Controls of the forms runtime: properties, events raised by name, and the
// user's editing of text boxes, lists and check boxes.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
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

}  // namespace forms
