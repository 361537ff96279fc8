#include "generation/GeneratorActionHooks.h"

#include "core/Damage.h"
#include "core/Path.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassTrapGroups.h"

namespace {

// The summoning classes, current while the summoner lives; no class list is current afterwards.
class TClass_List_Summoner : public TSummoner {
public:
    TClass_List_Summoner() : Current_(Classes_) {}

    // Loads the file and finds the class; false when it is not there. Errors of the file are not shown:
    // a summoning spell whose class is missing simply makes nothing.
    bool Open(const std::string& class_name) {
        TString_List errors;
        Classes_.Load_From_File(Path_Settings()->Get_Summon_MonsterClasses_File(), &errors, true);
        Class_ = Classes_.Pick_Random_Class(class_name, "None");
        return Class_ != nullptr;
    }

    uint16_t Create_Monster(int32_t x, int32_t y, int32_t level) override {
        return Create_Monster_From_Class(Class_, x, y, level, level, level, level, "None", 0);
    }

private:
    TMonster_Class_List Classes_;
    TCurrent_Monster_Class_List_Guard Current_;
    const TMonster_Class* Class_ = nullptr;
};

} // namespace

bool TGenerator_Action_Hooks::Pick_Trap(const std::string& group_name, int32_t level, TDamage& trap) {
    // A broken file shows its errors at every trap; the groups it did read still work.
    Load_Trap_Groups();
    TModule_Trap_Group_Spec_Trap* picked = Pick_Random_Trap(Find_Trap_Group(group_name));
    if (picked) {
        Scale_Trap_To_Level(*picked, level);
        trap = picked->Damage;
        trap.Effects.Assign(picked->Effects);
    }
    Free_Trap_Groups();
    return picked != nullptr;
}

std::unique_ptr<TSummoner> TGenerator_Action_Hooks::Open_Summoner(const std::string& class_name) {
    if (!Path_Settings()) return nullptr;
    auto summoner = std::make_unique<TClass_List_Summoner>();
    if (!summoner->Open(class_name)) return nullptr;
    return summoner;
}

void Install_Generator_Action_Hooks() {
    Install_Action_Hooks(std::make_shared<TGenerator_Action_Hooks>());
}
