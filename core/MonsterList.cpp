#include "core/MonsterList.h"

#include "core/DataFileParser.h"

void TNatural_Attacks::Assign(const TNatural_Attacks& other) {
    if (this == &other) return;
    Attacks_ = other.Attacks_; // TDamage and TEffect_List copy deeply
}

void TNatural_Attacks::Add_Attack(const std::string& name, uint8_t chance, uint16_t recharge, uint16_t min,
                                  uint16_t max, uint8_t range, uint8_t firing_fx) {
    TAttack attack;
    attack.Name = name;
    attack.Chance = chance;
    attack.Recharge_Time = recharge;
    attack.Damage.Set(min, max, range, firing_fx);
    Attacks_.push_back(std::move(attack));
}

const TNatural_Attacks::TAttack* TNatural_Attacks::Attack(int32_t n) const {
    if (n < 1 || n > Get_Count()) return nullptr;
    return &Attacks_[static_cast<std::size_t>(n) - 1];
}

const std::string& TNatural_Attacks::Get_Name(int32_t n) const {
    static const std::string none;
    const TAttack* attack = Attack(n);
    return attack ? attack->Name : none;
}

uint8_t TNatural_Attacks::Get_Chance(int32_t n) const {
    const TAttack* attack = Attack(n);
    return attack ? attack->Chance : 0;
}

uint16_t TNatural_Attacks::Get_Recharge_Time(int32_t n) const {
    const TAttack* attack = Attack(n);
    return attack ? attack->Recharge_Time : 0;
}

const TDamage* TNatural_Attacks::Get_Damage(int32_t n) const {
    const TAttack* attack = Attack(n);
    return attack ? &attack->Damage : nullptr;
}

TDamage* TNatural_Attacks::Get_Damage(int32_t n) {
    return const_cast<TDamage*>(static_cast<const TNatural_Attacks*>(this)->Get_Damage(n));
}

const TEffect_List* TNatural_Attacks::Get_Effects(int32_t n) const {
    const TAttack* attack = Attack(n);
    return attack ? &attack->Effects : nullptr;
}

TEffect_List* TNatural_Attacks::Get_Effects(int32_t n) {
    return const_cast<TEffect_List*>(static_cast<const TNatural_Attacks*>(this)->Get_Effects(n));
}

void TNatural_Attacks::Write(TStream_Writer& w) const {
    if (Attacks_.size() > 65535) throw EStream_Write_Error("too many natural attacks to save");
    Write_Word(w, static_cast<uint16_t>(Attacks_.size()));
    for (const TAttack& attack : Attacks_) {
        Write_String(w, attack.Name);
        Write_Byte(w, attack.Chance);
        Write_Word(w, attack.Recharge_Time);
        attack.Damage.Save_To_Stream(w);
        attack.Effects.Write(w);
    }
}

bool TNatural_Attacks::Read(TStream_Reader& r) {
    // Read into a fresh list so a stream that breaks half-way leaves the creature's attacks whole.
    std::vector<TAttack> attacks;
    const int count = Read_Word(r);
    for (int n = 1; n <= count; ++n) {
        TAttack attack;
        attack.Name = Read_String(r);
        attack.Chance = Read_Byte(r);
        attack.Recharge_Time = Read_Word(r);
        attack.Damage.Load_From_Stream(r);
        attack.Effects.Read(r);
        attacks.push_back(std::move(attack));
    }
    Attacks_ = std::move(attacks);
    return true;
}

void TNatural_Attacks::Read_From_Data_File(const std::string& prefix, const TField_Reader& reader) {
    std::string value;
    if (!reader.Get_Field_Value(prefix + "Number of Natural Attacks", value, false)) return;
    const int count = Str_To_Word(value);
    for (int n = 1; n <= count; ++n) {
        const std::string stem = prefix + "Natural Attack " + std::to_string(n);
        // Without its name the attack is not read at all: reading its damage and effects anyway would give
        // the attack lists different lengths, and the creature's next save would fail.
        TAttack attack;
        if (!reader.Get_Field_Value(stem + " Name", attack.Name, true)) continue;
        if (reader.Get_Field_Value(stem + " Chance To Use", value, true)) attack.Chance = Str_To_Byte(value);
        if (reader.Get_Field_Value(stem + " Recharge Time", value, true))
            attack.Recharge_Time = Str_To_Word(value);
        attack.Damage.Read_From_Data_File(stem + " ", reader);
        attack.Effects.Read_From_Data_File(stem + " ", reader);
        Attacks_.push_back(std::move(attack));
    }
}
