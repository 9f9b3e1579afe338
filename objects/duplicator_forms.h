// The duplicator forms, one per object kind.
#pragma once

#include "duplication/duplicator_form.h"

namespace objects {

class Pistol_frm : public duplication::DuplicatorForm {
public:
    explicit Pistol_frm(forms::Application& app);
};

class Assault_rifle : public duplication::DuplicatorForm {
public:
    explicit Assault_rifle(forms::Application& app);
    forms::TextBox& l7;
    forms::Label& Label6;
    forms::Label& Label2;
    forms::Label& Label1;
    forms::Label& Label3;
    forms::Label& Label4;
    void Drive1_Change();
};

class plasma_rifle : public duplication::DuplicatorForm {
public:
    explicit plasma_rifle(forms::Application& app);
    forms::Label& Label1;
    forms::Label& Label2;
    forms::Label& Label3;
    forms::Label& Label4;
    forms::Label& Label6;
};

// Objects whose tables this version does not carry yet: their forms take
// the launch like any other and say so when asked to duplicate.
class Rocket_launcher : public duplication::DuplicatorForm {
public:
    explicit Rocket_launcher(forms::Application& app);
};
class Flamethrower : public duplication::DuplicatorForm {
public:
    explicit Flamethrower(forms::Application& app);
};
class Sniper_rifle : public duplication::DuplicatorForm {
public:
    explicit Sniper_rifle(forms::Application& app);
};
class Warthog : public duplication::DuplicatorForm {
public:
    explicit Warthog(forms::Application& app);
};
class needler : public duplication::DuplicatorForm {
public:
    explicit needler(forms::Application& app);
};
class plasma_pistol : public duplication::DuplicatorForm {
public:
    explicit plasma_pistol(forms::Application& app);
};
class shotgun : public duplication::DuplicatorForm {
public:
    explicit shotgun(forms::Application& app);
};

}  // namespace objects
