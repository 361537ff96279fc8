#include "core/Spells.h"
#include "core/GlobalFuncs.h"

#include "core/Damage.h"
#include "core/DataFileParser.h"
#include "core/Effects.h"
#include "core/Item.h"
#include "core/NameTables.h"
#include "core/Path.h"
#include "core/Profile.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr uint8_t Item_Type_Scroll = 15;
constexpr int32_t Inventory_Slot_Count = 90;
constexpr int32_t Largest_Spell_Id = std::numeric_limits<uint16_t>::max();

// Trunc((level - 1) x per level + base), held to Trunc(maximum) when the maximum is above 0 and below it.
int32_t Level_Value(double base, double per_level, double maximum, int32_t level) {
    const int32_t value = Trunc_To_Int32((static_cast<double>(level) - 1.0) * per_level + base);
    if (maximum > 0 && maximum < value) return Trunc_To_Int32(maximum);
    return value;
}

struct TMaster_Spell_Table {
    // [0] holds nothing; the last entry is the last record read, so the spell count is size() - 1.
    std::vector<std::unique_ptr<TSpell>> Spells;
};

TMaster_Spell_Table& Master_Table() {
    static TMaster_Spell_Table table;
    return table;
}

// Sets the spells list's re-entry flag for the life of the guard, also when the owner raises.
class TLevel_Bonus_Guard {
public:
    explicit TLevel_Bonus_Guard(bool& flag) : Flag_(flag) { Flag_ = true; }
    ~TLevel_Bonus_Guard() { Flag_ = false; }
    TLevel_Bonus_Guard(const TLevel_Bonus_Guard&) = delete;
    TLevel_Bonus_Guard& operator=(const TLevel_Bonus_Guard&) = delete;

private:
    bool& Flag_;
};

} // namespace

// ---------------------------------------------------------------------------------------------------------
// TSpell

TSpell::TSpell() : Damage(std::make_unique<TDamage>()), Effects(std::make_unique<TEffect_List>()) {}

TSpell::~TSpell() = default;

int32_t TSpell::Mana_Cost(int32_t level) const {
    return Level_Value(Mana_Cost_Base, Mana_Cost_Per_Level, Mana_Cost_Maximum, level);
}

int32_t TSpell::Duration(int32_t level) const {
    return Level_Value(Duration_Base, Duration_Per_Level, Duration_Maximum, level);
}

int32_t TSpell::Area_Radius(int32_t level) const {
    return Level_Value(Area_Base, Area_Per_Level, Area_Maximum, level);
}

int32_t TSpell::Summon_Count(int32_t level) const {
    return Level_Value(Summon_Base_Count, Summon_Per_Level, Summon_Maximum, level);
}

void TSpell::Effect_Amounts(int32_t n, int32_t level, int32_t& min, int32_t& max) const {
    min = 0;
    max = 0;
    if (n < 1 || n > Effects->Get_Count()) return;
    min = Effects->Get_Min_Amount(n);
    max = Effects->Get_Max_Amount(n);
    // The loader keeps one modifier entry per effect; an effect added by other means has none.
    if (n > Effect_Modifier_Kinds.Count() || n > Effect_Min_Modifiers.Count() ||
        n > Effect_Max_Modifiers.Count())
        return;
    const int64_t min_modifier = Effect_Min_Modifiers.Get(n);
    const int64_t max_modifier = Effect_Max_Modifiers.Get(n);
    switch (Effect_Modifier_Kinds.Get(n)) {
    case Spell_Modifier_Number:
        min = Clamp_To_Int32(min + level * min_modifier);
        max = Clamp_To_Int32(max + level * max_modifier);
        break;
    case Spell_Modifier_Percent:
        // Trunc((level x modifier + 100) / 100 x amount), computed exactly in integers.
        min = Clamp_To_Int32(Scale_By_Percent(min, level * min_modifier + 100));
        max = Clamp_To_Int32(Scale_By_Percent(max, level * max_modifier + 100));
        break;
    default: break;
    }
}

std::string TSpell::Effect_Text(int32_t n, bool with_plus, int32_t level) const {
    if (n < 1 || n > Effects->Get_Count()) return "";
    int32_t min = 0;
    int32_t max = 0;
    Effect_Amounts(n, level, min, max);
    return Effect_Description(Effects->Get_Effect_Type(n), min, max, with_plus);
}

void TSpell::Add_Effects_At_Level(TEffect_List& list, int32_t level) const {
    const int32_t count = Effects->Get_Count();
    for (int32_t n = 1; n <= count; ++n) {
        int32_t min = 0;
        int32_t max = 0;
        Effect_Amounts(n, level, min, max);
        list.Add_Effect(Effects->Get_Effect_Type(n), min, max);
    }
}

int32_t TSpell::Effect_Sum_At_Level(uint8_t effect_type, int32_t level) const {
    int64_t sum = 0;
    const int32_t count = Effects->Get_Count();
    for (int32_t n = 1; n <= count; ++n) {
        if (Effects->Get_Effect_Type(n) != effect_type) continue;
        int32_t min = 0;
        int32_t max = 0;
        Effect_Amounts(n, level, min, max);
        sum += min;
    }
    return Clamp_To_Int32(sum);
}

// ---------------------------------------------------------------------------------------------------------
// The master table

TSpell* Get_Master_Spell(int32_t id) {
    TMaster_Spell_Table& table = Master_Table();
    if (id < 1 || id >= static_cast<int32_t>(table.Spells.size())) return nullptr;
    return table.Spells[id].get();
}

int32_t Master_Spell_Count() {
    const size_t size = Master_Table().Spells.size();
    return size == 0 ? 0 : static_cast<int32_t>(size - 1);
}

void Free_Master_Spells() {
    TMaster_Spell_Table& table = Master_Table();
    table.Spells.clear();
}

bool Read_Master_Spell_File() {
    // Without path settings there is no file to name: the loader reports that it cannot load it, as every
    // global table does, rather than failing before the load.
    const std::string file_name = Path_Settings() ? Path_Settings()->Get_Spells_File() : std::string();
    TMaster_Spell_Data_File_Loader loader(file_name);
    return loader.Execute_Load_And_Report("Master Spell Data File Errors: ");
}

const TSpell* Find_Master_Spell_By_Name(const std::string& name) {
    const TSpell* found = nullptr;
    for (int32_t id = 1; id <= Master_Spell_Count(); ++id)
        if (const TSpell* spell = Get_Master_Spell(id); spell && spell->Name == name) found = spell;
    return found;
}

bool Load_Master_Spells() {
    Free_Master_Spells();
    return Read_Master_Spell_File();
}

void TMaster_Spell_Data_File_Loader::Process_Record(int32_t record_number) {
    // Spell ids are 16-bit in every list and save that holds them: a later record would alias spell 0.
    if (record_number > Largest_Spell_Id) {
        Add_Error(Is_Tool_Profile()
                      ? "Too many spells: record " + std::to_string(record_number) + " ignored."
                      : "Слишком много заклинаний: запись " + std::to_string(record_number) + " пропущена.");
        return;
    }
    TMaster_Spell_Table& table = Master_Table();
    // Records come in order, so this one becomes the last spell of the table.
    table.Spells.resize(record_number + 1);
    table.Spells[record_number] = std::make_unique<TSpell>();
    TSpell& spell = *table.Spells[record_number];
    spell.Id = static_cast<uint16_t>(record_number);

    Read_Word_Field("Maximum Levels From Start", spell.Maximum_Levels_From_Start);
    Read_Text_Field("Name", spell.Name);
    Read_Text_Field("Description", spell.Description);
    Read_Word_Field("Picture ID", spell.Picture_Id);
    Read_Bool_Field("Picture Is Maskable", spell.Picture_Is_Maskable);
    Read_Real_Field("Mana Cost to Cast", spell.Mana_Cost_Base);
    Read_Real_Field("Increase In Mana Cost Per Level", spell.Mana_Cost_Per_Level);
    Read_Real_Field("Maximum Mana Cost", spell.Mana_Cost_Maximum);
    Read_Real_Field("Duration", spell.Duration_Base);
    Read_Real_Field("Increase In Duration Per Level", spell.Duration_Per_Level);
    Read_Real_Field("Maximum Duration", spell.Duration_Maximum);

    // A missing key is also an unknown target (as for effect types): the file is reported either way.
    std::string value;
    Get_Field_Value("Target Type", value, true);
    const int target = Find_Spell_Target(value);
    if (target >= 1) {
        spell.Target_Type = static_cast<uint8_t>(target);
    } else {
        spell.Target_Type = 0;
        Report_Invalid_Value(value, "Target Type");
    }

    Read_Text_Field("Requirement Other Spell Name", spell.Required_Spell_Name);
    Read_Word_Field("Requirement Other Spell Minimum Level", spell.Required_Spell_Level);
    Read_Text_Field("Effects Only Apply to Weapon Type", spell.Weapon_Restriction);
    Read_Text_Field("Monster Summoned Name", spell.Summon_Name);
    Read_Word_Field("Monster Summoned Base Count", spell.Summon_Base_Count);
    Read_Real_Field("Monster Summoned Increase Count Per Level", spell.Summon_Per_Level);
    Read_Word_Field("Monster Summoned Maximum Count", spell.Summon_Maximum);
    Read_Real_Field("Area Effect Radius", spell.Area_Base);
    Read_Real_Field("Increase In Area Effect Radius Per Level", spell.Area_Per_Level);
    Read_Real_Field("Maximum Area Effect Radius", spell.Area_Maximum);
    Read_Text_Field("Sound File Cast", spell.Cast_Sound);

    const TField_Reader reader = Field_Reader();
    spell.Damage->Read_From_Data_File("", reader);
    std::vector<int32_t> effect_numbers;
    spell.Effects->Read_From_Data_File("", reader, &effect_numbers);
    Read_Effect_Level_Modifiers("", effect_numbers, reader, spell.Effect_Modifier_Kinds,
                                spell.Effect_Min_Modifiers, spell.Effect_Max_Modifiers);
}

// ---------------------------------------------------------------------------------------------------------
// TSpells_List

TSpells_List::TSpells_List(TSpell_Owner* owner) : Owner_(owner) {}

void TSpells_List::Assign(const TSpells_List& other) {
    if (this == &other) return;
    Copy_Word_List(Spell_Ids_, other.Spell_Ids_);
    Copy_Word_List(Spell_Levels_, other.Spell_Levels_);
    Copy_Word_List(Cast_Chances_, other.Cast_Chances_);
    Selected_Slot_ = other.Selected_Slot_;
    for (int32_t n = 1; n <= Quick_Slot_Count; ++n) {
        Slot_Kinds_[n] = other.Slot_Kinds_[n];
        Slot_Values_[n] = other.Slot_Values_[n];
    }
}

void TSpells_List::Clear() {
    Spell_Ids_.Clear();
    Spell_Levels_.Clear();
    Cast_Chances_.Clear();
    Selected_Slot_ = 0;
    for (int32_t n = 1; n <= Quick_Slot_Count; ++n) Empty_Quick_Slot(n);
}

void TSpells_List::Save_To_Stream(TStream_Writer& writer) const {
    Write_Word_List(writer, Spell_Ids_);
    Write_Word_List(writer, Spell_Levels_);
    Write_Word_List(writer, Cast_Chances_);
    Write_Byte(writer, Selected_Slot_);
    for (int32_t n = 1; n <= Quick_Slot_Count; ++n) {
        Write_Byte(writer, Slot_Kinds_[n]);
        Write_Word(writer, Slot_Values_[n]);
    }
}

bool TSpells_List::Load_From_Stream(TStream_Reader& reader) {
    TWordList ids;
    TWordList levels;
    TWordList chances;
    Read_Word_List(reader, ids);
    Read_Word_List(reader, levels);
    Read_Word_List(reader, chances);
    // Look-ups by index read all three lists; a short one would be read past its end.
    Require_Equal_Lengths("spell ids, levels and cast chances",
                          {static_cast<size_t>(ids.Count()), static_cast<size_t>(levels.Count()),
                           static_cast<size_t>(chances.Count())});
    uint8_t selected = Read_Byte(reader);
    uint8_t kinds[Quick_Slot_Count + 1] = {};
    uint16_t values[Quick_Slot_Count + 1] = {};
    for (int32_t n = 1; n <= Quick_Slot_Count; ++n) {
        kinds[n] = Read_Byte(reader);
        values[n] = Read_Word(reader);
    }

    Spell_Ids_ = std::move(ids);
    Spell_Levels_ = std::move(levels);
    Cast_Chances_ = std::move(chances);
    // The screen indexes its ten spell buttons by the selected slot.
    Selected_Slot_ = selected <= Quick_Slot_Count ? selected : 0;
    for (int32_t n = 1; n <= Quick_Slot_Count; ++n) {
        if (kinds[n] <= Quick_Slot_Scroll) {
            Slot_Kinds_[n] = kinds[n];
            Slot_Values_[n] = values[n];
        } else {
            Empty_Quick_Slot(n);
        }
    }
    return true;
}

uint16_t TSpells_List::Spell_Id(int32_t index) const {
    return index >= 1 && index <= Spell_Ids_.Count() ? Spell_Ids_.Get(index) : 0;
}

uint16_t TSpells_List::Stored_Level(int32_t index) const {
    return index >= 1 && index <= Spell_Levels_.Count() ? Spell_Levels_.Get(index) : 0;
}

uint16_t TSpells_List::Cast_Chance(int32_t index) const {
    return index >= 1 && index <= Cast_Chances_.Count() ? Cast_Chances_.Get(index) : 0;
}

int32_t TSpells_List::Level_With_Bonus(int32_t stored, std::optional<int32_t>& bonus) const {
    if (stored == 0 || Owner_ == nullptr || In_Level_Bonus_) return stored;
    if (!bonus) {
        // The owner's total sums this list's passive spells again, and their levels would ask for the
        // bonus again: while the guard stands they are taken at their stored levels.
        TLevel_Bonus_Guard guard(In_Level_Bonus_);
        bonus = Owner_->Owner_Skill_Levels();
    }
    return Clamp_To_Int32(static_cast<int64_t>(stored) + *bonus);
}

int32_t TSpells_List::Effective_Level(int32_t index) const {
    std::optional<int32_t> bonus;
    return Level_With_Bonus(Stored_Level(index), bonus);
}

int32_t TSpells_List::Last_Index_Of(uint16_t id) const {
    for (int32_t i = Spell_Ids_.Count(); i >= 1; --i)
        if (Spell_Ids_.Get(i) == id) return i;
    return 0;
}

int32_t TSpells_List::Spell_Level(uint16_t id) const {
    const int32_t index = Last_Index_Of(id);
    return index == 0 ? 0 : Effective_Level(index);
}

int32_t TSpells_List::Base_Spell_Level(uint16_t id) const {
    const int32_t index = Last_Index_Of(id);
    return index == 0 ? 0 : Stored_Level(index);
}

int32_t TSpells_List::Spell_Level_By_Name(const std::string& name) const {
    for (int32_t i = Spell_Ids_.Count(); i >= 1; --i) {
        const TSpell* spell = Get_Master_Spell(Spell_Ids_.Get(i));
        if (spell != nullptr && spell->Name == name) return Effective_Level(i);
    }
    return 0;
}

bool TSpells_List::Set_Spell(uint16_t id, uint16_t level, uint16_t chance) {
    const int32_t index = Last_Index_Of(id);
    if (index != 0) {
        Spell_Levels_.Put(index, level);
        Cast_Chances_.Put(index, chance);
        return true;
    }
    // The chances list fills last: refuse before touching any list, so a full list can not leave the three
    // of unequal length.
    if (Cast_Chances_.Count() >= TWordList::Largest_Capacity) throw EListError();
    Spell_Ids_.Add(id);
    Spell_Levels_.Add(level);
    Cast_Chances_.Add(chance);
    return true;
}

void TSpells_List::Get_Quick_Slot(int32_t n, uint8_t& kind, uint16_t& value) const {
    kind = Quick_Slot_Empty;
    value = 0;
    if (n < 1 || n > Quick_Slot_Count) return;
    kind = Slot_Kinds_[n];
    value = Slot_Values_[n];
}

void TSpells_List::Set_Quick_Slot(int32_t n, uint8_t kind, uint16_t value) {
    if (n < 1 || n > Quick_Slot_Count) return;
    Slot_Kinds_[n] = kind;
    Slot_Values_[n] = value;
}

void TSpells_List::Set_Selected_Slot(int32_t n) {
    Selected_Slot_ = n >= 0 && n <= Quick_Slot_Count ? static_cast<uint8_t>(n) : 0;
}

void TSpells_List::Empty_Quick_Slot(int32_t n) {
    Slot_Kinds_[n] = Quick_Slot_Empty;
    Slot_Values_[n] = 0;
}

bool TSpells_List::Holds_Scroll(uint16_t inventory_slot) const {
    if (Owner_ == nullptr) return false;
    const TItem* item = Owner_->Owner_Item_In_Slot(inventory_slot);
    return item != nullptr && item->Item_Type == Item_Type_Scroll;
}

bool TSpells_List::Is_On_Bar(uint8_t kind, uint16_t value) const {
    for (int32_t n = 1; n <= Quick_Slot_Count; ++n)
        if (Slot_Kinds_[n] == kind && Slot_Values_[n] == value) return true;
    return false;
}

void TSpells_List::Check_Quick_Bar() {
    if (Owner_ == nullptr) return;
    for (int32_t n = 1; n <= Quick_Slot_Count; ++n) {
        if (Slot_Kinds_[n] != Quick_Slot_Scroll || Holds_Scroll(Slot_Values_[n])) continue;
        Empty_Quick_Slot(n);
        if (Selected_Slot_ == n) Selected_Slot_ = 0;
    }
}

void TSpells_List::Fill_Quick_Bar(bool with_scrolls, bool with_spells) {
    if (with_scrolls && Owner_ != nullptr) {
        Check_Quick_Bar();
        for (int32_t n = 1; n <= Quick_Slot_Count; ++n) {
            if (Slot_Kinds_[n] != Quick_Slot_Empty || Slot_Values_[n] != 0) continue;
            for (int32_t slot = 1; slot <= Inventory_Slot_Count; ++slot) {
                const uint16_t inventory_slot = static_cast<uint16_t>(slot);
                if (!Holds_Scroll(inventory_slot) || Is_On_Bar(Quick_Slot_Scroll, inventory_slot)) continue;
                Slot_Kinds_[n] = Quick_Slot_Scroll;
                Slot_Values_[n] = inventory_slot;
                break;
            }
        }
    }
    if (!with_spells) return;
    // Each free slot takes the last castable spell of the list that is not on the bar yet, so the free slots
    // receive the spells in reverse list order.
    for (int32_t n = 1; n <= Quick_Slot_Count; ++n) {
        if (Slot_Kinds_[n] != Quick_Slot_Empty || Slot_Values_[n] != 0) continue;
        for (int32_t i = 1; i <= Spell_Ids_.Count(); ++i) {
            const uint16_t id = Spell_Ids_.Get(i);
            const TSpell* spell = Get_Master_Spell(id);
            if (spell == nullptr || spell->Is_Passive() || Is_On_Bar(Quick_Slot_Spell, id)) continue;
            Slot_Kinds_[n] = Quick_Slot_Spell;
            Slot_Values_[n] = id;
        }
    }
}

bool TSpells_List::Passive_Applies(const TSpell& spell) const {
    if (!spell.Is_Passive()) return false;
    if (!Names_Something(spell.Weapon_Restriction)) return true;
    return Owner_ != nullptr && Owner_->Owner_Wields_Weapon_Type(Trimmed_Lower(spell.Weapon_Restriction));
}

int32_t TSpells_List::Passive_Effect_Total(uint8_t effect_type) const {
    // Weapon damage bonuses of skills are asked per weapon type instead, never added to the totals.
    if (effect_type == Effect_Damage || effect_type == Effect_Maximum_Damage ||
        effect_type == Effect_Minimum_Damage)
        return 0;
    int64_t sum = 0;
    std::optional<int32_t> bonus; // the owner's skill levels, asked once for the whole sum
    for (int32_t i = 1; i <= Spell_Ids_.Count(); ++i) {
        const TSpell* spell = Get_Master_Spell(Spell_Ids_.Get(i));
        if (spell == nullptr || !Passive_Applies(*spell)) continue;
        sum += spell->Effect_Sum_At_Level(effect_type, Level_With_Bonus(Stored_Level(i), bonus));
    }
    return Clamp_To_Int32(sum);
}

int32_t TSpells_List::Weapon_Passive_Effect_Total(uint8_t effect_type, const std::string& weapon_type) const {
    // Only spells tied to a weapon type count, so a weapon type of "none" or nothing matches none of them.
    if (!Names_Something(weapon_type)) return 0;
    const std::string weapon = Trimmed_Lower(weapon_type);
    int64_t sum = 0;
    std::optional<int32_t> bonus; // the owner's skill levels, asked once for the whole sum
    for (int32_t i = 1; i <= Spell_Ids_.Count(); ++i) {
        const TSpell* spell = Get_Master_Spell(Spell_Ids_.Get(i));
        if (spell == nullptr || !spell->Is_Passive() || Trimmed_Lower(spell->Weapon_Restriction) != weapon)
            continue;
        sum += spell->Effect_Sum_At_Level(effect_type, Level_With_Bonus(Stored_Level(i), bonus));
    }
    return Clamp_To_Int32(sum);
}

void TSpells_List::Add_Passive_Effects(TEffect_List& list) const {
    std::optional<int32_t> bonus; // the owner's skill levels, asked once for all the spells
    for (int32_t i = 1; i <= Spell_Ids_.Count(); ++i) {
        const TSpell* spell = Get_Master_Spell(Spell_Ids_.Get(i));
        if (spell != nullptr && Passive_Applies(*spell))
            spell->Add_Effects_At_Level(list, Level_With_Bonus(Stored_Level(i), bonus));
    }
}

void TSpells_List::Scale_Levels(int32_t creature_level, double levels_per_creature_level) {
    int32_t level = Trunc_To_Int32(static_cast<double>(creature_level) * levels_per_creature_level + 1);
    if (level < 1) level = 1;
    if (level > std::numeric_limits<uint16_t>::max()) level = std::numeric_limits<uint16_t>::max();
    for (int32_t i = 1; i <= Spell_Levels_.Count(); ++i) Spell_Levels_.Put(i, static_cast<uint16_t>(level));
}
