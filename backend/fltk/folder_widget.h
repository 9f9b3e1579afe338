// The widget of a folder list: the folders of the path, opened by a double
// click or Enter.
#pragma once

#include <FL/Fl_Hold_Browser.H>

#include <string>
#include <vector>

#include "backend/fltk/control_widget.h"
#include "platform/forms.h"

namespace backend {

// A folder list.
class FolderWidget : public Fl_Hold_Browser, public ControlWidget {
public:
    FolderWidget(FormWindow& owner, const forms::DirListBox& box);
    Fl_Widget& widget() override { return *this; }
    void sync(forms::Control& c, bool visible, bool active) override;
    int handle(int event) override;

protected:
    void item_draw(void* item, int x, int y, int w, int h) const override;
    int item_width(void* item) const override;

private:
    void open_selected();
    std::vector<forms::DirListBox::Entry> entries_;
    std::string path_;
    bool filled_ = false;
};

}  // namespace backend
