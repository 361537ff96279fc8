// The creatures of one map, in slots whose numbers are their ids, and the built-in attacks every creature
// carries.
#pragma once

#include "core/Damage.h"
#include "core/DataFileLoader.h"
#include "core/Effects.h"
#include "core/SaveStream.h"
#include "core/SlotList.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// ---------------------------------------------------------------------------------------------------------
// Natural attacks

// A creature's built-in attacks (claws, a bite, bare hands), numbered from 1. Each attack has a name, a
// percent chance to be used, a recharge time, a damage and the effects the blow carries. The attacks are
// kept as whole records, so name, chance, recharge, damage and effects can never drift apart: a drift would
// make the creature's record unwritable.
class TNatural_Attacks {
public:
    int32_t Get_Count() const { return static_cast<int32_t>(Attacks_.size()); }
    void Clear() { Attacks_.clear(); }
    // A deep copy; assigning the attacks to themselves changes nothing.
    void Assign(const TNatural_Attacks& other);

    // Appends an attack with an empty effect list.
    void Add_Attack(const std::string& name, uint8_t chance, uint16_t recharge, uint16_t min, uint16_t max,
                    uint8_t range, uint8_t firing_fx);

    // Attack n's values; "" or 0 for n outside 1..Get_Count.
    const std::string& Get_Name(int32_t n) const;
    uint8_t Get_Chance(int32_t n) const;
    uint16_t Get_Recharge_Time(int32_t n) const;
    // Attack n's damage or effects; null for n outside 1..Get_Count.
    TDamage* Get_Damage(int32_t n);
    const TDamage* Get_Damage(int32_t n) const;
    TEffect_List* Get_Effects(int32_t n);
    const TEffect_List* Get_Effects(int32_t n) const;

    // The count (word), then per attack: name, chance (byte), recharge time (word), the damage record and
    // the effect list.
    void Write(TStream_Writer& w) const;
    // Replaces the attacks with the stream's. Raises EStream_Read_Error, leaving the attacks as they were,
    // when the stream is broken; otherwise answers true.
    bool Read(TStream_Reader& r);

    // Appends the attacks of a record: prefix + "Number of Natural Attacks" (no attacks when absent), then
    // per attack n the keys prefix + "Natural Attack n" followed by " Name", " Chance To Use",
    // " Recharge Time", and the damage and effect keys with prefix + "Natural Attack n " in front.
    // An attack without a name is reported and skipped whole, so later attacks keep their keys' numbers; a
    // missing chance or recharge time is reported and reads 0.
    void Read_From_Data_File(const std::string& prefix, const TField_Reader& reader);

private:
    struct TAttack {
        std::string Name;
        uint8_t Chance = 0;
        uint16_t Recharge_Time = 0;
        TDamage Damage;
        TEffect_List Effects;
    };
    const TAttack* Attack(int32_t n) const;

    std::vector<TAttack> Attacks_;
};

// ---------------------------------------------------------------------------------------------------------
// Monster list

#ifdef MURK_DEBUG_CHECKS
// A released creature whose record changed between its release and the end of the tick: some code kept a
// pointer to it and went on changing a creature that is no longer on the map.
[[noreturn]] inline void Report_Released_Creature_Changed(uint16_t id) {
    std::fprintf(stderr, "released creature %u was changed after it left the map\n",
                 static_cast<unsigned>(id));
    std::abort();
}
#endif

// The creatures of one map. Slot n holds the creature whose Id is n; squares, leaders and status sources
// refer to creatures by that id, so a removed creature leaves its slot empty and the next creature added
// fills the lowest empty slot. The list stores copies: a caller that builds a creature keeps and frees its
// own object.
//
// A creature taken out of the list (Remove_Monster, Remove_Monster_Id, or Put_Monster over it) leaves its
// slot at once but is not freed: it goes to the release list, because the creature being updated may be
// the one that dies, and the tick's caller still holds it. The tick owner calls Free_Released at the end
// of the tick. In builds with MURK_DEBUG_CHECKS a released creature is marked (its Mark_Released, when the
// creature type has one) and its record is kept, and Free_Released stops the program when the record has
// changed since the release.
//
// TCreature is the creature type callers see; TStored the type the list owns (derived from TCreature, or
// TCreature itself), with a public 16-bit Id, Assign, Save_To_Stream and Load_From_Stream (see
// TSlot_Traits). The map's list is TMonster_List below.
template <typename TCreature, typename TStored = TCreature, typename TTraits = TSlot_Traits<TStored>>
class TMonster_List_Of {
public:
    using Slots = TSlot_List<TStored, TTraits>;
    static constexpr int Max_Monsters = Slots::Max_Slots;

    TMonster_List_Of() = default;
    TMonster_List_Of(const TMonster_List_Of&) = delete;
    TMonster_List_Of& operator=(const TMonster_List_Of&) = delete;
    // Frees every creature, released ones included.
    ~TMonster_List_Of() = default;

    const std::string& Name() const { return Slots_.Name(); }
    void Set_Name(std::string name) { Slots_.Set_Name(std::move(name)); }

    // Slots, empty ones included.
    int Get_Count() const { return Slots_.Count(); }
    // The creature with the id; null for 0, beyond the count, or an empty slot.
    TCreature* Get_Monster(std::size_t id) const { return Slots_.Get(id); }

    // Stores a copy of the creature at the slot (1..count), or appends it when the slot is 0; the copy's Id
    // becomes its slot. A creature already in the slot goes to the release list. Returns the copy; null,
    // storing nothing, when the slot does not exist or the list already has Max_Monsters slots.
    TCreature* Put_Monster(const TCreature& creature, std::size_t slot) {
        if (slot > static_cast<std::size_t>(Slots_.Count())) return nullptr;
        if (slot == 0 && Slots_.Count() >= Max_Monsters) return nullptr;
        auto copy = TTraits::Clone(creature);
        if (slot != 0) Release(Slots_.Take(slot));
        return Slots_.Get(Slots_.Put(std::move(copy), slot));
    }
    // Put_Monster into the lowest empty slot, appended when none is empty.
    TCreature* Add_Monster(const TCreature& creature) {
        return Put_Monster(creature, Slots_.First_Empty_Slot());
    }

    // Takes the creature out of its slot, which stays empty, and puts it on the release list; nothing for
    // an empty slot or one beyond the count.
    void Remove_Monster(std::size_t slot) { Release(Slots_.Take(slot)); }
    // Remove_Monster of the last slot whose creature carries the id.
    void Remove_Monster_Id(uint16_t id) { Remove_Monster(Slots_.Find_Id(id)); }

    // Frees every creature at once and removes every slot; the name and the release list are kept. For map
    // loading and replacement, between ticks: a creature being updated must not be cleared away.
    void Clear() { Slots_.Clear(); }
    // Copies the name and every creature in slot order, deeply; an empty slot stays empty so every creature
    // keeps its id. The creatures held before are freed at once, as by Clear.
    void Assign(const TMonster_List_Of& other) { Slots_.Assign(other.Slots_); }

    // Slot count, name, then per slot a presence flag and the creature's record.
    void Write(TStream_Writer& w) const { Slots_.Write(w); }
    // Clears the list (as Clear) and reads it back; every creature's Id becomes its slot. A creature record
    // that reads as unusable leaves its slot empty, so the creatures after it keep the ids the squares
    // hold, and the answer is false. A broken stream raises EStream_Read_Error.
    bool Read(TStream_Reader& r) { return Slots_.Read(r); }

    // Creatures taken out since the last Free_Released.
    int Released_Count() const { return static_cast<int>(Released_.size()); }
    bool Is_Released(const TCreature* creature) const {
        for (const auto& released : Released_)
            if (static_cast<const TCreature*>(released.get()) == creature) return true;
        return false;
    }
    // Frees the released creatures: the tick owner calls it at the end of each tick.
    void Free_Released() {
#ifdef MURK_DEBUG_CHECKS
        for (std::size_t i = 0; i < Released_.size(); ++i)
            if (Record_Of(*Released_[i]) != Released_Records_[i])
                Report_Released_Creature_Changed(TTraits::Get_Id(*Released_[i]));
        Released_Records_.clear();
#endif
        Released_.clear();
    }

private:
    void Release(std::unique_ptr<TStored> creature) {
        if (!creature) return;
#ifdef MURK_DEBUG_CHECKS
        if constexpr (requires(TStored & c) { c.Mark_Released(); }) creature->Mark_Released();
        Released_Records_.push_back(Record_Of(*creature));
#endif
        Released_.push_back(std::move(creature));
    }

#ifdef MURK_DEBUG_CHECKS
    static std::vector<uint8_t> Record_Of(const TStored& creature) {
        TStream_Writer w;
        TTraits::Write(w, creature);
        return w.Bytes();
    }
    std::vector<std::vector<uint8_t>> Released_Records_; // parallel to Released_
#endif

    Slots Slots_;
    std::vector<std::unique_ptr<TStored>> Released_;
};

// The map's creature list. The creature classes are declared here and defined by the creature model; a
// file that uses the list's operations includes that model.
class TMonster;
class TWriteable_Monster;
using TMonster_List = TMonster_List_Of<TMonster, TWriteable_Monster>;
