#include "core/Profile.h"

namespace {
TRun_Profile Current_Profile = TRun_Profile::Game;
}

void Set_Run_Profile(TRun_Profile profile) {
    Current_Profile = profile;
}
TRun_Profile Run_Profile() {
    return Current_Profile;
}
