#include "core/Effects.h"

#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "core/NameTables.h"

#include <algorithm>
#include <limits>

namespace {

// base + Random_Range(0, 2v) - v, worked out in 64 bits so no amount can overflow.
int64_t Vary(int32_t base, int32_t variance) {
    const int32_t span = Clamp_To_Int32(2 * static_cast<int64_t>(variance));
    return static_cast<int64_t>(base) + Random_Range(0, span) - variance;
}

// The effect type whose name is the text exactly (letter case counts); 0 when none is.
uint8_t Effect_Type_Of(const std::string& text) {
    const int code = Find_Code(Effect_Type_Names, text, 1, Effect_Type_Count);
    return code < 1 ? 0 : static_cast<uint8_t>(code);
}

} // namespace

bool Is_Elemental_Damage_Type(int32_t type) {
    return type == Effect_Cold_Damage || type == Effect_Fire_Damage || type == Effect_Lightning_Damage ||
           type == Effect_Magic_Damage || type == Effect_Poison_Damage;
}

void TEffect_List::Assign(const TEffect_List& other) {
    if (this == &other) return;
    Types_ = other.Types_;
    Min_Amounts_ = other.Min_Amounts_;
    Max_Amounts_ = other.Max_Amounts_;
    Damage_Variances_ = other.Damage_Variances_;
}

void TEffect_List::Clear() {
    Types_.Clear();
    Min_Amounts_.Clear();
    Max_Amounts_.Clear();
    Damage_Variances_.Clear();
}

bool TEffect_List::Can_Add(int32_t n) const {
    return Types_.Can_Add(n) && Min_Amounts_.Can_Add(n) && Max_Amounts_.Can_Add(n) &&
           Damage_Variances_.Can_Add(n);
}

void TEffect_List::Check_Room(int32_t n) const {
    // Refused before any list appends: the amount lists fill long before the type list, and a type added
    // without its amounts would shift every later entry onto another's amounts.
    if (!Can_Add(n)) throw EListError();
}

void TEffect_List::Append(const TEffect_List& other) {
    // The count is taken once, so appending a list to itself copies its original entries exactly once.
    const int32_t count = other.Get_Count();
    Check_Room(count);
    for (int32_t n = 1; n <= count; ++n) {
        const uint8_t type = other.Types_.Get(static_cast<uint16_t>(n));
        const int32_t min = other.Min_Amounts_.Get(n);
        const int32_t max = other.Max_Amounts_.Get(n);
        const int32_t variance = other.Damage_Variances_.Get(n);
        Types_.Add(type);
        Min_Amounts_.Add(min);
        Max_Amounts_.Add(max);
        Damage_Variances_.Add(variance);
    }
}

void TEffect_List::Append_To(TEffect_List& other) const {
    other.Append(*this);
}

bool TEffect_List::Has_Effect(int32_t type) const {
    for (int32_t n = 1; n <= Get_Count(); ++n)
        if (Types_.Get(static_cast<uint16_t>(n)) == type) return true;
    return false;
}

void TEffect_List::Add_Effect(uint8_t type, int32_t min, int32_t max) {
    Check_Room(1);
    Types_.Add(type);
    Min_Amounts_.Add(min);
    Max_Amounts_.Add(max);
    Damage_Variances_.Add(0);
}

void TEffect_List::Delete_Effect(int32_t n) {
    Check_Position(n);
    Types_.Delete(static_cast<uint16_t>(n));
    Min_Amounts_.Delete(n);
    Max_Amounts_.Delete(n);
    Damage_Variances_.Delete(n);
}

void TEffect_List::Set_Amounts(int32_t n, int32_t min, int32_t max) {
    if (n < 1 || n > Get_Count()) return;
    Min_Amounts_.Put(n, min);
    Max_Amounts_.Put(n, max);
}

void TEffect_List::Check_Position(int32_t n) const {
    // The byte list takes 16-bit positions: a larger n must fail here rather than wrap onto a valid one.
    if (n < 1 || n > Get_Count()) throw EListError();
}

uint8_t TEffect_List::Get_Effect_Type(int32_t n) const {
    Check_Position(n);
    return Types_.Get(static_cast<uint16_t>(n));
}

int32_t TEffect_List::Get_Min_Amount(int32_t n) const {
    Check_Position(n);
    return Min_Amounts_.Get(n);
}

int32_t TEffect_List::Get_Max_Amount(int32_t n) const {
    Check_Position(n);
    return Max_Amounts_.Get(n);
}

int32_t TEffect_List::Get_Damage_Variance(int32_t n) const {
    Check_Position(n);
    return Damage_Variances_.Get(n);
}

TRolled_Amount TEffect_List::Roll_Amount(int32_t n) const {
    const uint8_t type = Get_Effect_Type(n);
    const int32_t min = Min_Amounts_.Get(n);
    const int32_t max = Max_Amounts_.Get(n);
    TRolled_Amount result;
    // Drawn for every type, damage included, so the random sequence a fight uses does not depend on
    // which of its effects are damage.
    result.First = Random_Range(min, max);
    if (!Is_Elemental_Damage_Type(type)) return result;

    result.First = min;
    result.Second = max;
    const int32_t variance = Damage_Variances_.Get(n);
    if (variance >= 1) {
        result.First = Clamp_To_Int32(std::max<int64_t>(Vary(min, variance), 1));
        result.Second = Clamp_To_Int32(std::max<int64_t>(Vary(max, variance), result.First));
    }
    return result;
}

int32_t TEffect_List::Total_Amount(int32_t type) const {
    int64_t total = 0;
    for (int32_t n = 1; n <= Get_Count(); ++n)
        if (Types_.Get(static_cast<uint16_t>(n)) == type) total += Min_Amounts_.Get(n);
    return Clamp_To_Int32(total);
}

uint8_t TEffect_List::Strongest_Damage_Type() const {
    uint8_t best_type = 0;
    int32_t best_max = 0;
    for (int32_t n = 1; n <= Get_Count(); ++n) {
        const uint8_t type = Types_.Get(static_cast<uint16_t>(n));
        if (!Is_Elemental_Damage_Type(type) && type != Effect_Dispel_Undead) continue;
        const int32_t max = Max_Amounts_.Get(n);
        if (max > best_max) {
            best_max = max;
            best_type = type;
        }
    }
    return best_type;
}

int32_t TEffect_List::Max_Damage_Amount() const {
    int32_t best = 0;
    for (int32_t n = 1; n <= Get_Count(); ++n)
        if (Is_Elemental_Damage_Type(Types_.Get(static_cast<uint16_t>(n))))
            best = std::max(best, Max_Amounts_.Get(n));
    return best;
}

void TEffect_List::Write(TStream_Writer& w) const {
    Write_Byte_List(w, Types_);
    Write_Longint_List(w, Min_Amounts_);
    Write_Longint_List(w, Max_Amounts_);
}

void TEffect_List::Read(TStream_Reader& r) {
    TbyteList types;
    TLongintList mins;
    TLongintList maxes;
    Read_Byte_List(r, types);
    Read_Longint_List(r, mins);
    Read_Longint_List(r, maxes);
    // Every operation indexes the four lists together; lists of unequal length from a damaged or foreign
    // file would make later positions raise or read another entry's amounts.
    Require_Equal_Lengths("effect list types, min amounts and max amounts",
                          {static_cast<size_t>(types.Count()), static_cast<size_t>(mins.Count()),
                           static_cast<size_t>(maxes.Count())});
    TLongintList variances;
    variances.Set_Count(mins.Count()); // zero-filled
    Types_ = std::move(types);
    Min_Amounts_ = std::move(mins);
    Max_Amounts_ = std::move(maxes);
    Damage_Variances_ = std::move(variances);
}

void TEffect_List::Read_From_Data_File(const std::string& prefix, const TField_Reader& reader,
                                       std::vector<int32_t>* appended_numbers) {
    std::string value;
    reader.Get_Field_Value(prefix + "Number of Effects", value, true);
    const int32_t count = Str_To_Word(value);
    for (int32_t n = 1; n <= count; ++n) {
        const std::string key = prefix + "Effect " + std::to_string(n);
        reader.Get_Field_Value(key + " Type", value, true);
        const uint8_t type = Effect_Type_Of(value);
        if (type == 0) {
            reader.Report_Invalid_Value(value, key + " Type");
            continue;
        }
        // A count beyond what the list holds is reported once and the rest is not read: the loader must
        // not raise, and the list keeps the effects it could take.
        if (!Can_Add(1)) {
            reader.Report_Invalid_Value(std::to_string(count), prefix + "Number of Effects");
            return;
        }
        // A missing amount is reported and read as 0 (the value is empty), so the four lists stay of
        // equal length; the load as a whole has failed anyway.
        Types_.Add(type);
        reader.Get_Field_Value(key + " Min Amount", value, true);
        Min_Amounts_.Add(Str_To_Word(value));
        reader.Get_Field_Value(key + " Max Amount", value, true);
        Max_Amounts_.Add(Str_To_Word(value));
        reader.Get_Field_Value(key + " Damage Variance", value, false);
        Damage_Variances_.Add(Str_To_Word(value));
        if (appended_numbers != nullptr) appended_numbers->push_back(n);
    }
}

std::string TEffect_List::Get_Description(int32_t n, bool with_plus) const {
    Check_Position(n);
    return Effect_Description(Types_.Get(static_cast<uint16_t>(n)), Min_Amounts_.Get(n), Max_Amounts_.Get(n),
                              with_plus);
}

// The blanks inside the texts, trailing ones included, are part of them: the screens show the texts as they
// stand. A few types never got Russian words; type 40 has no text at all.
std::string Effect_Description(int32_t type, int32_t min, int32_t max, bool with_plus) {
    const std::string sign = with_plus ? "+" : "";
    const std::string mn = std::to_string(min);
    const std::string mx = std::to_string(max);
    switch (type) {
    case 1: return std::string("Защита цели снижена на ") + mn + "% для атаки ";
    case 2: return sign + mn + " Атака            ";
    case 3: return std::string("Атакующий получает урон ") + mn;
    case 4: return sign + " " + mn + "-" + mx + " урон Холодом";
    case 5: return sign + mn + "% стойкость Холод";
    case 6: return sign + mn + " Телосложение";
    case 7: return sign + mn + "% урона ";
    case 8: return mn + "% принятого урона создаёт ману";
    case 9: return std::string("Снижение урона на ") + mn;
    case 10: return sign + mn + " Защита            ";
    case 11: return sign + mn + " Ловкость    ";
    case 12: return sign + mn + " маны за убийство  ";
    case 13: return sign + " " + mn + "-" + mx + " урон Огнём ";
    case 14: return sign + mn + "% стойкость Огонь";
    case 15: return sign + mn + "% стоимость ";
    case 16: return sign + mn + " Интеллект      ";
    case 17: return sign + mn + " Жизнь";
    case 18: return sign + mn + " жизни            ";
    case 19: return std::string("Регенерация жизни +") + mn + "%";
    case 20: return mn + "% от удара в жизни   ";
    case 21: return sign + mn + " радиус света";
    case 22: return sign + " " + mn + "-" + mx + " урон Молнией    ";
    case 23: return sign + mn + "% стойкость Молния    ";
    case 24: return sign + " " + mn + "-" + mx + " урон Магией ";
    case 25: return sign + mn + "% стойкость Магия ";
    case 26: return mn + "% шанс напугать монстра      ";
    case 27: return sign + mn + " Мана";
    case 28: return sign + mn + "% регенерация маны ";
    case 29: return sign + mn + " To Current Mana";
    case 30: return mn + "% от удара в ману    ";
    case 31: return sign + mn + " максимум урона";
    case 32: return sign + mn + " минимум урона ";
    case 33: return mn + "% Increased Health";
    case 34: return mn + "% Increased Attack Ability";
    case 35: return mn + "% Increased Defense Ability";
    case 36: return mn + "% Increased Minimum Damage";
    case 37: return mn + "% Increased Maximum Damage";
    case 38: return mn + "% Increased Move Speed";
    case 39: return mn + "% Increased Attack Speed";
    case 40: return {}; // no text
    case 41: return sign + mn + "% золото от монстров      ";
    case 42: return sign + " " + mn + "-" + mx + " урон Ядом    ";
    case 43: return std::string("Сокращение отравления на ") + mn + " секунд ";
    case 44: return sign + mn + "% стойкость Яд     ";
    case 45: return std::string("-") + mn + " Защита цели              ";
    case 46: return std::string("-") + mn + "% все устойчивости цели    ";
    case 47: return sign + mn + "% все устойчивости  ";
    case 48: return sign + mn + " уровень всех умений";
    case 49: return sign + mn + " Сила    ";
    case 50: return std::string("Использование оружия в каждой руке     ");
    case 51: return sign + mn + "% шанс вышибить запертые двери    ";
    case 52: return sign + mn + "% шанс обнаружить скрытые двери";
    case 53: return sign + mn + "% шанс избежать ловушки ";
    case 54: return sign + mn + "% шанс вскрыть замок  ";
    case 55: return sign + mn + "% сложнее обнаружить      ";
    case 56: return sign + mn + "% стойкость к ударам ";
    case 57: return std::string("-") + mn + " Атака цели              ";
    case 58: return mn + "% шанс снять отравление";
    case 59: return std::string("Монстры заметны до ") + mn + " ярда ";
    case 60: return std::string("+") + mn + " насыщения";
    case 61: return mn + "% шанс ослепить монстра  ";
    case 62: return mn + "% шанс обратить монстра              ";
    case 63: return std::string("-") + mn + "% урон цели    ";
    case 64: return sign + mn + "% все типы урона     ";
    case 65: return mn + "% шанс снять проклятие   ";
    case 66: return mn + "% шанс усыпить монстра            ";
    case 67: return sign + " " + mn + "-" + mx + " урон по нежити  ";
    case 68: return std::string("-") + mn + " скорость движения монстра";
    case 69: return sign + mn + " To Maximum Hunger";
    case 70: return sign + mn + " To Maximum Weight";
    case 71: return mn + "% Chance To Paralyze Monster";
    case 72: return std::string("Телепорт ") + mn + " ярда вдаль";
    case 73: return std::string("-") + mn + " скорость движения";
    case 74: return std::string("-") + mn + " Атака            ";
    case 75: return std::string("-") + mn + " Защита            ";
    case 76: return std::string("-") + mn + "% все устойчивости  ";
    case 77: return std::string("-") + mn + "% урона ";
    default: return {};
    }
}
