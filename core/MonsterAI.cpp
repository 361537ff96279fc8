#include "core/Monster.h"

#include "core/Callbacks.h"
#include "core/DataFileParser.h"
#include "core/Item.h"

#include <algorithm>
#include <cmath>

void TMonster::Update(const TCallback_Set&, double) {}

int32_t TMonster::Hit_Chance(int32_t attack, int32_t defence, int32_t defender_level,
                             int32_t attacker_level) {
    // A ratio whose terms add up to 0 (attack and defence both 0, or two level-0 creatures) counts as an
    // even match instead of dividing by zero.
    const auto ratio = [](double part, double other) {
        const double sum = part + other;
        return sum == 0 ? 0.5 : part / sum;
    };
    const double chance =
        std::trunc(ratio(attack, defence) * 100 * (ratio(attacker_level, defender_level) * 2));
    return static_cast<int32_t>(std::clamp(chance, 5.0, 95.0));
}

bool TMonster::Wields_Weapon_Type(const std::string& name) const {
    const std::string wanted = Ascii_Lower(Trim_Data(name));
    const TItem* weapon = Item_In_Slot(6);
    if (!weapon) weapon = Item_In_Slot(7);
    return weapon && Ascii_Lower(Trim_Data(weapon->Weapon_Type)) == wanted;
}
