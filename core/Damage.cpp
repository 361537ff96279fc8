#include "core/Damage.h"

#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"

#include <limits>
#include <utility>

namespace {

const char* const Requirement_Types[] = {"None",
                                         "Level Required",
                                         "Class Required",
                                         "Strength Required",
                                         "Dexterity Required",
                                         "Intelligence Required",
                                         "Constitution Required",
                                         "Mana Required",
                                         "Health Required",
                                         "Cannot Be Class"};

// The value of a key, reported when missing; "" when missing.
std::string Field_Value(const TField_Reader& loader, const std::string& key, bool& found) {
    std::string value;
    found = loader.Get_Field_Value(key, value, true);
    if (!found) value.clear();
    return value;
}

std::string Field_Value(const TField_Reader& loader, const std::string& key) {
    bool found = false;
    return Field_Value(loader, key, found);
}

TClass_Name_Lookup& Class_Name_Lookup() {
    static TClass_Name_Lookup lookup;
    return lookup;
}

} // namespace

const TName_Table Requirement_Type_Names{Requirement_Types, 0, 9};

// ---------------------------------------------------------------------------------------------------------
// Damage

void TDamage::Assign(const TDamage& other) {
    if (this == &other) return;
    Min = other.Min;
    Max = other.Max;
    Range = other.Range;
    Firing_FX = other.Firing_FX;
    Rolled_Amount = other.Rolled_Amount;
    Spell_Amount = other.Spell_Amount;
    Effects.Assign(other.Effects);
}

void TDamage::Save_To_Stream(TStream_Writer& writer) const {
    Write_Word(writer, Min);
    Write_Word(writer, Max);
    // Stored files hold the range as a word.
    Write_Word(writer, Range);
    Write_Byte(writer, Firing_FX);
}

bool TDamage::Load_From_Stream(TStream_Reader& reader) {
    const uint16_t min = Read_Word(reader);
    const uint16_t max = Read_Word(reader);
    const uint16_t range = Read_Word(reader);
    const uint8_t firing_fx = Read_Byte(reader);
    Min = min;
    Max = max;
    // Only a damaged file holds a range above 255; keep it at the longest range rather than wrapping it to
    // a melee range.
    Range = static_cast<uint8_t>(range > 255 ? 255 : range);
    Firing_FX = firing_fx;
    return true;
}

void TDamage::Read_From_Data_File(const std::string& prefix, const TField_Reader& loader) {
    bool found = false;
    std::string value = Field_Value(loader, prefix + "Damage Amount Min", found);
    if (found) Min = Str_To_Word(value);
    value = Field_Value(loader, prefix + "Damage Amount Max", found);
    if (found) Max = Str_To_Word(value);
    value = Field_Value(loader, prefix + "Damage Maximum Range", found);
    if (found) Range = Str_To_Byte(value);

    const std::string fx_key = prefix + "Damage Firing FX";
    value = Field_Value(loader, fx_key, found);
    int32_t fx = -1;
    if (found) fx = Find_Display_Effect(value); // 0 for "None"
    // The field is a byte: an effect beyond 255 can not be named by it, and wrapping would name another.
    if (fx < 0 || fx > 255) {
        Firing_FX = 0;
        loader.Report_Invalid_Value(value, fx_key);
    } else {
        Firing_FX = static_cast<uint8_t>(fx);
    }
}

void TDamage::Set(uint16_t min, uint16_t max, uint8_t range, uint8_t firing_fx) {
    Min = min;
    Max = max;
    Range = range;
    Firing_FX = firing_fx;
}

int32_t TDamage::Roll() const {
    return Random_Range(Min, Max);
}

std::string TDamage::Text() const {
    return std::to_string(Min) + " - " + std::to_string(Max);
}

void TDamage::Add_Min(int32_t n) {
    Min = Clamp_To_Word(static_cast<int64_t>(Min) + n);
    if (Max < Min) Min = Max;
}

void TDamage::Add_Max(int32_t n) {
    Max = Clamp_To_Word(static_cast<int64_t>(Max) + n);
}

void TDamage::Set_Min(int32_t n) {
    Min = Clamp_To_Word(n);
    if (Max < Min) Min = Max;
}

void TDamage::Set_Max(int32_t n) {
    Max = Clamp_To_Word(n);
}

void TDamage::Add(const TDamage& other) {
    Min = Clamp_To_Word(static_cast<int64_t>(Min) + other.Min);
    Max = Clamp_To_Word(static_cast<int64_t>(Max) + other.Max);
    Range = other.Range;
    Firing_FX = other.Firing_FX;
}

// ---------------------------------------------------------------------------------------------------------
// Requirements

void Set_Class_Name_Lookup(TClass_Name_Lookup lookup) {
    Class_Name_Lookup() = std::move(lookup);
}

std::string Character_Class_Name(int32_t class_index) {
    const TClass_Name_Lookup& lookup = Class_Name_Lookup();
    if (!lookup) return "";
    return lookup(class_index);
}

void TRequirements::Add_Requirement(uint8_t type, int32_t amount, uint8_t kind, uint16_t per_level_amount) {
    // Callers ask Can_Add first, so a full list can not leave the four of unequal length.
    Types.Add(type);
    Amounts.Add(amount);
    Per_Level_Kinds.Add(kind);
    Per_Level_Amounts.Add(per_level_amount);
}

void TRequirements::Assign(const TRequirements& other) {
    Copy_Byte_List(Types, other.Types);
    Copy_Longint_List(Amounts, other.Amounts);
    Copy_Byte_List(Per_Level_Kinds, other.Per_Level_Kinds);
    Copy_Word_List(Per_Level_Amounts, other.Per_Level_Amounts);
}

bool TRequirements::Can_Add(int32_t n) const {
    return Types.Can_Add(n) && Amounts.Can_Add(n) && Per_Level_Kinds.Can_Add(n) &&
           Per_Level_Amounts.Can_Add(n);
}

void TRequirements::Append(const TRequirements& other) {
    // Counted once, so appending the requirements to themselves doubles them rather than running on.
    const int32_t count = other.Count();
    if (!Can_Add(count)) throw EListError();
    for (int32_t n = 1; n <= count; ++n)
        Add_Requirement(other.Types.Get(static_cast<uint16_t>(n)), other.Amounts.Get(n),
                        other.Per_Level_Kinds.Get(static_cast<uint16_t>(n)), other.Per_Level_Amounts.Get(n));
}

void TRequirements::Save_To_Stream(TStream_Writer& writer) const {
    Write_Byte_List(writer, Types);
    Write_Longint_List(writer, Amounts);
    Write_Byte_List(writer, Per_Level_Kinds);
    Write_Word_List(writer, Per_Level_Amounts);
}

bool TRequirements::Load_From_Stream(TStream_Reader& reader) {
    TbyteList types;
    TLongintList amounts;
    TbyteList kinds;
    TWordList per_level;
    Read_Byte_List(reader, types);
    Read_Longint_List(reader, amounts);
    Read_Byte_List(reader, kinds);
    Read_Word_List(reader, per_level);
    // Every operation takes requirement n from all four lists; lists of unequal length would fail later,
    // far from the damaged file.
    Require_Equal_Lengths("requirement lists",
                          {static_cast<size_t>(types.Count()), static_cast<size_t>(amounts.Count()),
                           static_cast<size_t>(kinds.Count()), static_cast<size_t>(per_level.Count())});
    Types = std::move(types);
    Amounts = std::move(amounts);
    Per_Level_Kinds = std::move(kinds);
    Per_Level_Amounts = std::move(per_level);
    return true;
}

void TRequirements::Read_From_Data_File(const std::string& prefix, const TField_Reader& loader) {
    const int32_t count = Str_To_Word(Field_Value(loader, prefix + "Number of Requirements"));
    for (int32_t n = 1; n <= count; ++n) {
        const std::string key = prefix + "Requirement " + std::to_string(n);

        const std::string type_text = Field_Value(loader, key + " Type");
        const int type = Find_Code(Requirement_Type_Names, type_text, 1, 9);
        if (type < 1) {
            // Stored error lists name this field without the prefix and number.
            loader.Report_Invalid_Value(type_text, "Requirement Type");
            continue;
        }

        const int32_t amount = Str_To_Word(Field_Value(loader, key + " Amount"));

        const std::string kind_key = key + " Per Level Modifier Type";
        const std::string kind_text = Field_Value(loader, kind_key);
        const int kind = Find_Code(Amount_Type_Names, kind_text, Amount_Number, Amount_Percent);
        if (kind < 1) loader.Report_Invalid_Value(kind_text, kind_key);

        const uint16_t per_level = Str_To_Word(Field_Value(loader, key + " Amt Per Level Modifier"));

        if (kind < 1) continue;
        // A count beyond what the lists hold is reported once and the rest is not read: loaders never
        // raise.
        if (!Can_Add(1)) {
            loader.Report_Invalid_Value(std::to_string(count), prefix + "Number of Requirements");
            return;
        }
        Add_Requirement(static_cast<uint8_t>(type), amount, static_cast<uint8_t>(kind), per_level);
    }
}

void Read_Effect_Level_Modifiers(const std::string& prefix, const std::vector<int32_t>& effect_numbers,
                                 const TField_Reader& reader, TWordList& kinds, TWordList& min_amounts,
                                 TWordList& max_amounts) {
    std::string value;
    for (const int32_t n : effect_numbers) {
        const std::string base = prefix + "Effect " + std::to_string(n);
        const std::string kind_key = base + " Per Level Modifier Type";
        reader.Get_Field_Value(kind_key, value, true);
        const int kind = Find_Code(Amount_Type_Names, value);
        const bool known = kind == Amount_Number || kind == Amount_Percent;
        uint16_t min_amount = 0;
        uint16_t max_amount = 0;
        if (known) {
            if (reader.Get_Field_Value(base + " Min Amt Per Level Modifier", value, true))
                min_amount = Str_To_Word(value);
            if (reader.Get_Field_Value(base + " Max Amt Per Level Modifier", value, true))
                max_amount = Str_To_Word(value);
        } else {
            reader.Report_Invalid_Value(value, kind_key);
        }
        kinds.Add(known ? static_cast<uint16_t>(kind) : 0);
        min_amounts.Add(min_amount);
        max_amounts.Add(max_amount);
    }
}

int32_t TRequirements::Amount_At_Level(int32_t n, int32_t level) const {
    if (n < 1 || n > Count()) return 0;
    const int64_t amount = Amounts.Get(n);
    const int64_t growth = static_cast<int64_t>(Per_Level_Amounts.Get(n)) * (static_cast<int64_t>(level) - 1);
    switch (Per_Level_Kinds.Get(static_cast<uint16_t>(n))) {
    case Amount_Number: return Clamp_To_Int32(amount + growth);
    case Amount_Percent:
        // Trunc((growth + 100) / 100 x amount), computed exactly: 10 % per level on 20 gives 38 at level 10,
        // and a factor such as 1.29 can not lose the last point to binary rounding.
        return Clamp_To_Int32(Scale_By_Percent(amount, growth + 100));
    default: return Clamp_To_Int32(amount);
    }
}

std::string TRequirements::Requirement_Text(int32_t n, int32_t level) const {
    if (n < 1 || n > Count()) return "";
    const int32_t v = Amount_At_Level(n, level);
    const std::string number = std::to_string(v);
    switch (Types.Get(static_cast<uint16_t>(n))) {
    case Requirement_Level: return "Уровень" + number;
    case Requirement_Class: return Character_Class_Name(v);
    case Requirement_Strength: return "Сила " + number;
    case Requirement_Dexterity: return "Ловкость " + number;
    case Requirement_Intelligence: return "Интеллект " + number;
    case Requirement_Constitution: return "Телосложение " + number;
    case Requirement_Mana: return "Мана " + number;
    case Requirement_Health: return "Жизнь " + number;
    case Requirement_Not_Class: return "Недоступно для " + Character_Class_Name(v);
    default: return "";
    }
}

bool TRequirements::Is_Met_By(const TCreature_Statistics* creature, int32_t level) const {
    if (creature == nullptr) return true;
    const int32_t count = Count();
    for (int32_t n = 1; n <= count; ++n) {
        const int32_t v = Amount_At_Level(n, level);
        bool met = true;
        switch (Types.Get(static_cast<uint16_t>(n))) {
        case Requirement_Level: met = creature->Current_Level() >= v; break;
        case Requirement_Class: met = creature->Current_Class_Index() == v; break;
        case Requirement_Strength: met = creature->Current_Strength() >= v; break;
        case Requirement_Dexterity: met = creature->Current_Dexterity() >= v; break;
        case Requirement_Intelligence: met = creature->Current_Intelligence() >= v; break;
        case Requirement_Constitution: met = creature->Current_Constitution() >= v; break;
        case Requirement_Mana: met = creature->Current_Max_Mana() >= v; break;
        case Requirement_Health: met = creature->Current_Max_Life() >= v; break;
        case Requirement_Not_Class: met = creature->Current_Class_Index() != v; break;
        default: break; // a type this game does not know asks for nothing
        }
        if (!met) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Attributes

void TAttribute::Save_To_Stream(TStream_Writer& writer) const {
    Write_Word(writer, First_Word);
    Write_Integer(writer, Long_Value);
    Write_Boolean(writer, Flag);
    Write_Byte(writer, Byte_Value);
    Write_Word(writer, Second_Word);
    Write_Word(writer, Third_Word);
}

bool TAttribute::Load_From_Stream(TStream_Reader& reader) {
    TAttribute read;
    read.First_Word = Read_Word(reader);
    read.Long_Value = Read_Integer(reader);
    read.Flag = Read_Boolean(reader);
    read.Byte_Value = Read_Byte(reader);
    read.Second_Word = Read_Word(reader);
    read.Third_Word = Read_Word(reader);
    *this = read;
    return true;
}

TAttribute* TAttributes_List::Attribute(int32_t n) {
    if (n < 1 || static_cast<size_t>(n) > Entries_.size()) return nullptr;
    return Entries_[static_cast<size_t>(n) - 1].get();
}

const TAttribute* TAttributes_List::Attribute(int32_t n) const {
    if (n < 1 || static_cast<size_t>(n) > Entries_.size()) return nullptr;
    return Entries_[static_cast<size_t>(n) - 1].get();
}

void TAttributes_List::Add(const TAttribute* attribute) {
    Entries_.push_back(attribute != nullptr ? std::make_unique<TAttribute>(*attribute) : nullptr);
}

void TAttributes_List::Assign(const TAttributes_List& other) {
    if (this == &other) return;
    Clear();
    for (const std::unique_ptr<TAttribute>& entry : other.Entries_) Add(entry.get());
}

void TAttributes_List::Save_To_Stream(TStream_Writer& writer) const {
    if (Entries_.size() > 65535) throw EStream_Write_Error("Too many attributes to save");
    Write_Word(writer, static_cast<uint16_t>(Entries_.size()));
    for (const std::unique_ptr<TAttribute>& entry : Entries_) {
        Write_Boolean(writer, entry != nullptr);
        if (entry) entry->Save_To_Stream(writer);
    }
}

bool TAttributes_List::Load_From_Stream(TStream_Reader& reader) {
    // Read aside and swapped in at the end, so a damaged stream leaves the list as it was.
    std::vector<std::unique_ptr<TAttribute>> entries;
    const uint16_t count = Read_Word(reader);
    for (uint16_t n = 0; n < count; ++n) {
        if (Read_Boolean(reader)) {
            auto attribute = std::make_unique<TAttribute>();
            attribute->Load_From_Stream(reader);
            entries.push_back(std::move(attribute));
        } else {
            entries.push_back(nullptr);
        }
    }
    Entries_ = std::move(entries);
    return true;
}
