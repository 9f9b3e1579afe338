#include "platform/forms.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/drives.h"
#include "platform/file_system.h"

namespace forms {

// ---------------------------------------------------------------- Control

Control::Control(Form& form, Kind kind, std::string name, Control* container)
    : form_(form), kind_(kind), name_(std::move(name)), container_(container) {}

Application& Control::app() const { return form_.app(); }

bool Control::shown() const {
    for (const Control* c = this; c != nullptr; c = c->container_)
        if (!c->Visible) return false;
    return true;
}

bool Control::enabled_chain() const {
    for (const Control* c = this; c != nullptr; c = c->container_)
        if (!c->Enabled) return false;
    return true;
}

int Control::abs_left() const { return Left + (container_ ? container_->abs_left() : 0); }
int Control::abs_top() const { return Top + (container_ ? container_->abs_top() : 0); }

bool Control::contains(int x, int y) const {
    const int l = abs_left(), t = abs_top();
    return x >= l && y >= t && x < l + Width && y < t + Height;
}

bool Control::focusable() const {
    switch (kind_) {
    case Kind::TextBox: case Kind::ComboBox: case Kind::CheckBox:
    case Kind::CommandButton: case Kind::DriveListBox: case Kind::DirListBox:
        return true;
    default:
        return false;
    }
}

void Control::SetFocus() {
    if (!focusable() || !shown() || !enabled_chain() || !form_.Visible() || form_.unloaded())
        throw Error(kInvalidCall, "Invalid procedure call or argument");
    app().set_focus(*this);
}

bool Control::raise(std::string_view event) {
    std::string handler = name_;
    handler += '_';
    handler += event;
    return form_.raise(handler);
}

// ---------------------------------------------------------------- TextBox

void TextBox::SetText(std::string text) {
    const bool changed = text != text_;
    text_ = std::move(text);
    sel_start_ = 0;
    sel_length_ = 0;
    if (changed) raise("Change");
}

void TextBox::SetSelStart(int start) {
    sel_start_ = std::clamp(start, 0, static_cast<int>(text_.size()));
    sel_length_ = 0;
}

void TextBox::SetSelLength(int length) {
    sel_length_ = std::clamp(length, 0, static_cast<int>(text_.size()) - sel_start_);
}

std::string TextBox::SelText() const {
    return text_.substr(static_cast<std::size_t>(sel_start_), static_cast<std::size_t>(sel_length_));
}

void TextBox::type(std::string_view chars) {
    for (char ch : chars) {
        text_.replace(static_cast<std::size_t>(sel_start_), static_cast<std::size_t>(sel_length_), 1, ch);
        ++sel_start_;
        sel_length_ = 0;
        raise("Change");
    }
}

void TextBox::backspace() {
    if (sel_length_ > 0) {
        text_.erase(static_cast<std::size_t>(sel_start_), static_cast<std::size_t>(sel_length_));
    } else if (sel_start_ > 0) {
        --sel_start_;
        text_.erase(static_cast<std::size_t>(sel_start_), 1);
    } else {
        return;
    }
    sel_length_ = 0;
    raise("Change");
}

void TextBox::home() {
    sel_start_ = 0;
    sel_length_ = 0;
}

void TextBox::end(bool extend) {
    const int size = static_cast<int>(text_.size());
    if (extend) {
        sel_length_ = size - sel_start_;
    } else {
        sel_start_ = size;
        sel_length_ = 0;
    }
}

void TextBox::edited(std::string text, int caret) {
    const bool changed = text != text_;
    text_ = std::move(text);
    sel_start_ = std::clamp(caret, 0, static_cast<int>(text_.size()));
    sel_length_ = 0;
    if (changed) raise("Change");
}

// ---------------------------------------------------------------- ComboBox

void ComboBox::SetListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items.size()))
        throw Error(380, "Invalid property value");
    if (index == index_) return;
    index_ = index;
    text_ = index < 0 ? std::string() : items[static_cast<std::size_t>(index)];
    raise("Click");
}

// ---------------------------------------------------------------- CheckBox

void CheckBox::SetValue(int value) {
    if (value < 0 || value > 2) throw Error(380, "Invalid property value");
    if (value == value_) return;
    value_ = value;
    raise("Click");
}

// ---------------------------------------------------------------- Timer

Timer::Timer(Form& f, std::string name, Control* container)
    : Control(f, Kind::Timer, std::move(name), container) {
    Visible = false;
}

// ---------------------------------------------------------------- Drives

DriveListBox::DriveListBox(Form& f, std::string name, Control* container)
    : Control(f, Kind::DriveListBox, std::move(name), container) {
    drive_ = drive_of(current_folder(), drives());
}

std::vector<std::string> DriveListBox::drives() const {
    return app().drive_provider ? app().drive_provider() : mounted_drives();
}

void DriveListBox::SetDrive(std::string drive) {
    drive_ = std::move(drive);
    raise("Change");
}

DirListBox::DirListBox(Form& f, std::string name, Control* container)
    : Control(f, Kind::DirListBox, std::move(name), container), path_(current_folder()) {}

void DirListBox::SetPath(const std::string& path) {
    const std::string folder = normal_folder(path);
    std::error_code ec;
    std::filesystem::directory_iterator probe(std::filesystem::path(folder), ec);
    if (ec || folder.empty()) throw Error(kPathNotFound, "Path not found: " + path);
    ListIndex = -1;
    if (folder == path_) return;
    path_ = folder;
    raise("Change");
}

std::vector<DirListBox::Entry> DirListBox::entries() const {
    std::vector<Entry> list;
    const std::filesystem::path current(path_);
    std::vector<std::filesystem::path> chain;
    for (std::filesystem::path p = current;; p = p.parent_path()) {
        chain.push_back(p);
        if (p == p.parent_path() || p.empty()) break;
    }
    std::reverse(chain.begin(), chain.end());
    int depth = 0;
    for (const auto& p : chain) {
        const std::string label = p.has_filename() ? p.filename().string() : p.string();
        list.push_back({label, p.string(), depth++, true});
    }
    for (const std::string& sub : subfolders(path_))
        list.push_back({std::filesystem::path(sub).filename().string(), sub, depth, false});
    return list;
}

void DirListBox::open(int index) {
    const auto list = entries();
    if (index < 0 || index >= static_cast<int>(list.size())) return;
    SetPath(list[static_cast<std::size_t>(index)].path);
}

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

void Form::bind(std::string handler, std::function<void()> fn) { handlers_[std::move(handler)] = std::move(fn); }

bool Form::raise(std::string_view handler) {
    auto it = handlers_.find(handler);
    if (it == handlers_.end() || unloaded_) return false;
    auto fn = it->second;  // the handler may unload the form
    fn();
    return true;
}

bool Form::binds(std::string_view handler) const { return handlers_.count(handler) > 0; }

// ---------------------------------------------------------------- Application

Application::Application() = default;

Application::~Application() {
    // Destroy without running handlers.
    focus_ = nullptr;
    instances_.clear();
    graveyard_.clear();
}

Form* Application::instance(std::type_index type) const {
    for (const auto& [t, f] : instances_)
        if (t == type) return f.get();
    return nullptr;
}

void Application::adopt(std::type_index type, std::unique_ptr<Form> form) {
    instances_.emplace_back(type, std::move(form));
}

std::vector<Form*> Application::forms() const {
    std::vector<Form*> list;
    for (const auto& entry : instances_) list.push_back(entry.second.get());
    return list;
}

void Application::unload(Form& form) {
    auto it = std::find_if(instances_.begin(), instances_.end(),
                           [&](const auto& e) { return e.second.get() == &form; });
    if (it == instances_.end() || form.unloaded_) return;
    form.raise("Form_QueryUnload");
    // The handler may have unloaded other forms: look the form up again.
    it = std::find_if(instances_.begin(), instances_.end(),
                      [&](const auto& e) { return e.second.get() == &form; });
    if (it == instances_.end()) return;
    form.unloaded_ = true;
    form.visible_ = false;
    if (focus_ && &focus_->form() == &form) focus_ = nullptr;
    if (pressed_ && &pressed_->form() == &form) pressed_ = nullptr;
    // Destroyed once the running work is done: handlers of the form may
    // still be on the stack.
    graveyard_.push_back(std::move(it->second));
    instances_.erase(it);
    if (depth_ == 0 && host_) host_->update();
}

FileSystem& Application::files() const { return files_ ? *files_ : local_file_system(); }

void Application::set_focus(Control& control) { focus_ = &control; }

void Application::forget_focus(const Control& control) {
    if (focus_ == &control) focus_ = nullptr;
}

void Application::send_keys(std::string keys) {
    posted_.push_back(std::move(keys));
    if (host_) host_->wake();
}

namespace {

// Splits "{HOME}+{END}x" into "HOME", "+END", "x".
std::vector<std::string> split_keys(std::string_view keys) {
    std::vector<std::string> out;
    std::string shift;
    for (std::size_t i = 0; i < keys.size();) {
        if (keys[i] == '+') {
            shift = "+";
            ++i;
            continue;
        }
        if (keys[i] == '{') {
            const auto close = keys.find('}', i);
            if (close == std::string_view::npos) break;
            out.push_back(shift + std::string(keys.substr(i + 1, close - i - 1)));
            i = close + 1;
        } else {
            out.push_back(shift + std::string(1, keys[i]));
            ++i;
        }
        shift.clear();
    }
    return out;
}

}  // namespace

int Application::pump() {
    int ran = 0;
    while (!posted_.empty() && modal_depth_ == 0) {
        const std::string keys = std::move(posted_.front());
        posted_.pop_front();
        ++ran;
        dispatch([&] {
            for (const std::string& k : split_keys(keys)) deliver_key(k);
        });
    }
    return ran;
}

void Application::key(std::string_view key) {
    dispatch([&] { deliver_key(key); });
}

void Application::deliver_key(std::string_view key) {
    Control* c = focus_;
    if (c == nullptr || !c->shown() || !c->Enabled || !c->form().Visible()) return;
    switch (c->kind()) {
    case Kind::CommandButton:
        if (key == "ENTER" || key == " ") static_cast<CommandButton*>(c)->press();
        break;
    case Kind::ComboBox: {
        auto* combo = static_cast<ComboBox*>(c);
        const int last = static_cast<int>(combo->items.size()) - 1;
        if (key == "DOWN" && combo->ListIndex() < last) combo->SetListIndex(combo->ListIndex() + 1);
        else if (key == "UP" && combo->ListIndex() > 0) combo->SetListIndex(combo->ListIndex() - 1);
        break;
    }
    case Kind::TextBox: {
        auto* box = static_cast<TextBox*>(c);
        if (key == "HOME" || key == "+HOME") box->home();
        else if (key == "END" || key == "+END") box->end(key.front() == '+');
        else if (key == "BACKSPACE") box->backspace();
        else if (key.size() == 1) box->type(key);
        break;
    }
    case Kind::CheckBox:
        if (key == " ") {
            auto* box = static_cast<CheckBox*>(c);
            box->SetValue(box->Value() == 1 ? 0 : 1);
        }
        break;
    default:
        break;
    }
}

void Application::tick(int ms) {
    dispatch([&] {
        for (Form* f : forms()) {
            if (f->unloaded()) continue;
            for (const auto& c : f->controls()) {
                if (c->kind() != Kind::Timer || !c->Enabled) continue;
                auto* t = static_cast<Timer*>(c.get());
                if (t->Interval <= 0) continue;
                t->elapsed += ms;
                while (t->elapsed >= t->Interval && t->Enabled && !f->unloaded()) {
                    t->elapsed -= t->Interval;
                    t->raise("Timer");
                }
            }
        }
    });
}

int Application::MsgBox(const std::string& text, int style, const std::optional<std::string>& title) {
    if (boxes_ == nullptr) return 1;
    ++modal_depth_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{modal_depth_};
    if (host_) host_->update();
    return boxes_->show(text, style, title.value_or(Title));
}

void Application::form_shown() {
    if (host_ && depth_ == 0) host_->update();
}

std::string Application::drive_folder(const std::string& drive) const {
    const std::string here = current_folder();
    return drive_of(here, {drive}) == drive ? here : drive;
}

void Application::mouse_move(Form& form, int x, int y) { mouse(form, x, y, "MouseMove"); }
void Application::mouse_down(Form& form, int x, int y) { mouse(form, x, y, "MouseDown"); }
void Application::mouse_up(Form& form, int x, int y) { mouse(form, x, y, "MouseUp"); }

void Application::mouse(Form& form, int x, int y, std::string_view event) {
    if (modal_depth_ > 0 || form.unloaded()) return;
    dispatch([&] {
        Control* target = form.hit(x, y);
        if (target && !target->Enabled) return;  // a disabled control takes no mouse input
        if (event == "MouseDown") {
            pressed_ = target;
            if (target && target->focusable()) set_focus(*target);
        }
        const bool click = event == "MouseUp" && target != nullptr && target == pressed_;
        if (event == "MouseUp") pressed_ = nullptr;
        if (target == nullptr) {
            form.raise(std::string("Form_") + std::string(event));
            return;
        }
        target->raise(event);
        if (!click || target->form().unloaded()) return;
        if (target->kind() == Kind::CheckBox) {
            auto* box = static_cast<CheckBox*>(target);
            box->SetValue(box->Value() == 1 ? 0 : 1);  // raises Click
        } else {
            target->raise("Click");
        }
    });
}

void Application::dispatch(const std::function<void()>& work) {
    ++depth_;
    try {
        work();
    } catch (const Error& e) {
        MsgBox(e.what(), kCritical);
    } catch (const std::exception& e) {
        MsgBox(e.what(), kCritical);
    }
    --depth_;
    if (depth_ == 0) settle();
}

void Application::settle() {
    graveyard_.clear();
    if (host_) host_->update();
}

}  // namespace forms
