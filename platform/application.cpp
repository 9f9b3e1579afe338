#include "platform/application.h"

#include <algorithm>

#include "platform/drives.h"
#include "platform/file_system.h"

namespace forms {

// ---------------------------------------------------------------- Application

Application::Application() = default;

Application::~Application() {
    // Destroy without running handlers.
    focus_ = nullptr;
    instances_.clear();
    graveyard_.clear();
}

Form* Application::instance(std::string_view key) const {
    for (const auto& [k, f] : instances_)
        if (k == key) return f.get();
    return nullptr;
}

Form& Application::get(const std::string& key, const FormMaker& make) {
    if (Form* f = instance(key)) return *f;
    auto form = make(*this);
    Form& ref = *form;
    instances_.emplace_back(key, std::move(form));
    return ref;
}

Form* Application::loaded(std::string_view key) const { return instance(key); }

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
    bool shift = false;
    for (std::size_t i = 0; i < keys.size();) {
        if (keys[i] == '+') {
            shift = true;
            ++i;
            continue;
        }
        std::string_view key = keys.substr(i, 1);
        if (keys[i] == '{') {
            const auto close = keys.find('}', i);
            if (close == std::string_view::npos) break;
            key = keys.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            ++i;
        }
        // Appended, not assigned: g++ 12 -O3 warns of an overlap at = "+".
        out.push_back(std::string(shift ? "+" : "").append(key));
        shift = false;
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

void Application::move_focus(Control& from, bool back) {
    // The form's controls in their order of declaration, which is their tab
    // order; those that cannot take the focus now are passed over.
    const auto& list = from.form().controls();
    const auto n = static_cast<long>(list.size());
    long at = 0;
    while (at < n && list[static_cast<std::size_t>(at)].get() != &from) ++at;
    for (long step = 1; step < n; ++step) {
        Control& next = *list[static_cast<std::size_t>(((back ? at - step : at + step) % n + n) % n)];
        // A control under another (a frame over a frame) is out of reach.
        const int cx = next.abs_left() + next.Width / 2, cy = next.abs_top() + next.Height / 2;
        const bool on_top = next.form().hit(cx, cy) == &next;
        if (next.focusable() && next.shown() && next.enabled_chain() && on_top) {
            set_focus(next);
            return;
        }
    }
}

void Application::deliver_key(std::string_view key) {
    Control* c = focus_;
    if (c == nullptr || !c->shown() || !c->Enabled || !c->form().Visible()) return;
    if (key == "TAB" || key == "+TAB") return move_focus(*c, key == "+TAB");
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
    if (drive.empty()) return here;  // the current folder lies on no drive of the list
    return drive_of(here, {drive}) == drive ? here : drive_root(drive);
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
