#include "platform/controls.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/application.h"
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
    std::filesystem::directory_iterator probe(local_path(folder), ec);
    if (ec || folder.empty()) throw Error(kPathNotFound, "Path not found: " + path);
    ListIndex = -1;
    if (folder == path_) return;
    path_ = folder;
    raise("Change");
}

std::vector<DirListBox::Entry> DirListBox::entries() const {
    std::vector<Entry> list;
    const std::filesystem::path current = local_path(path_);
    std::vector<std::filesystem::path> chain;
    for (std::filesystem::path p = current;; p = p.parent_path()) {
        chain.push_back(p);
        if (p == p.parent_path() || p.empty()) break;
    }
    std::reverse(chain.begin(), chain.end());
    int depth = 0;
    for (const auto& p : chain) {
        const std::string label = utf8_path(p.has_filename() ? p.filename() : p);
        list.push_back({label, utf8_path(p), depth++, true});
    }
    for (const std::string& sub : subfolders(path_))
        list.push_back({utf8_path(local_path(sub).filename()), sub, depth, false});
    return list;
}

void DirListBox::open(int index) {
    const auto list = entries();
    if (index < 0 || index >= static_cast<int>(list.size())) return;
    SetPath(list[static_cast<std::size_t>(index)].path);
}

}  // namespace forms
