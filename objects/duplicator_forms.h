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
struct PendingObject {
    const char* form_name;
    const char* kind;
};

duplication::FormDesign pending_design(const char* form_name, const char* kind);

template <const PendingObject& Object>
class PendingDuplicator : public duplication::DuplicatorForm {
public:
    explicit PendingDuplicator(forms::Application& app)
        : DuplicatorForm(app, pending_design(Object.form_name, Object.kind), nullptr) {}
};

inline constexpr PendingObject kRocketLauncher{"Rocket_launcher", "rocket launcher"};
inline constexpr PendingObject kFlamethrower{"Flamethrower", "flamethrower"};
inline constexpr PendingObject kSniperRifle{"Sniper_rifle", "sniper rifle"};
inline constexpr PendingObject kWarthog{"Warthog", "warthog"};
inline constexpr PendingObject kNeedler{"needler", "needler"};
inline constexpr PendingObject kPlasmaPistol{"plasma_pistol", "plasma pistol"};
inline constexpr PendingObject kShotgun{"shotgun", "shotgun"};

using Rocket_launcher = PendingDuplicator<kRocketLauncher>;
using Flamethrower = PendingDuplicator<kFlamethrower>;
using Sniper_rifle = PendingDuplicator<kSniperRifle>;
using Warthog = PendingDuplicator<kWarthog>;
using needler = PendingDuplicator<kNeedler>;
using plasma_pistol = PendingDuplicator<kPlasmaPistol>;
using shotgun = PendingDuplicator<kShotgun>;

}  // namespace objects
