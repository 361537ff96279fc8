// A 1-based list of slots, each empty or owning one object, shared by the map's item list and creature
// list. Squares, piles, inventories and leaders refer to those objects by slot number (their Id), so a
// removed object leaves a hole instead of shifting the rest down, and a written and re-read list keeps
// every hole where it was.
#pragma once

#include "core/SaveStream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// How the list handles one element. The default works for an element type with a public `Id` field
// (16-bit), `Assign(const TElem&)`, `Save_To_Stream(TStream_Writer&)` and
// `bool Load_From_Stream(TStream_Reader&)`; a type that differs supplies its own traits struct with the
// same six static functions. Every call is static and resolved at compile time: no per-element virtual
// call and no stored callables.
template <typename TElem> struct TSlot_Traits {
    // A fresh element, the target of a read.
    static std::unique_ptr<TElem> Create() { return std::make_unique<TElem>(); }
    // A deep copy (owned lists copied, not shared). The source may be of a base type the stored type
    // derives from (a creature copied into the list's own creature class).
    template <typename TSource> static std::unique_ptr<TElem> Clone(const TSource& source) {
        auto copy = Create();
        copy->Assign(source);
        return copy;
    }
    static uint16_t Get_Id(const TElem& element) { return element.Id; }
    static void Set_Id(TElem& element, uint16_t id) { element.Id = id; }
    static void Write(TStream_Writer& w, const TElem& element) { element.Save_To_Stream(w); }
    // False when the record was read but is not usable; a broken stream raises EStream_Read_Error.
    static bool Read(TStream_Reader& r, TElem& element) { return element.Load_From_Stream(r); }
};

template <typename TElem, typename TTraits = TSlot_Traits<TElem>> class TSlot_List {
public:
    using Element = TElem;
    using Traits = TTraits;

    // Ids and the saved count are 16-bit: one slot more would write a file that cannot be read back.
    static constexpr int Max_Slots = 65535;

    TSlot_List() = default;
    TSlot_List(const TSlot_List& other) { Assign(other); }
    TSlot_List& operator=(const TSlot_List& other) {
        Assign(other);
        return *this;
    }
    TSlot_List(TSlot_List&&) noexcept = default;
    TSlot_List& operator=(TSlot_List&&) noexcept = default;
    ~TSlot_List() = default;

    // The number of slots, empty ones included (0..Max_Slots). An int, so `for (i = 1; i <= Count(); ++i)`
    // ends even at 65535 slots.
    int Count() const { return static_cast<int>(Slots_.size()); }
    bool Is_Empty_Slot(std::size_t slot) const { return Get(slot) == nullptr; }

    // The element in the slot; nothing for 0, beyond the count, or an empty slot.
    TElem* Get(std::size_t slot) const {
        if (slot == 0 || slot > Slots_.size()) return nullptr;
        return Slots_[slot - 1].get();
    }

    const std::string& Name() const { return Name_; }
    void Set_Name(std::string name) { Name_ = std::move(name); }

    // Stores the element at the slot (1..Count) and frees what was there, or appends it when the slot is
    // 0. The element's Id becomes its slot. With no element the slot is made empty (an empty slot is
    // appended for 0). Returns the slot; 0, with the element freed, when the slot does not exist or the
    // list is full. A caller that must keep the old occupant alive calls Take first.
    uint16_t Put(std::unique_ptr<TElem> element, std::size_t slot) {
        if (slot == 0) {
            if (Slots_.size() >= static_cast<std::size_t>(Max_Slots)) return 0;
            Slots_.push_back(nullptr);
            slot = Slots_.size();
        } else if (slot > Slots_.size()) {
            return 0;
        }
        if (element) Traits::Set_Id(*element, static_cast<uint16_t>(slot));
        Slots_[slot - 1] = std::move(element);
        return static_cast<uint16_t>(slot);
    }

    // Put into the lowest empty slot, or appended when none is empty. Returns the slot, 0 when full.
    uint16_t Add(std::unique_ptr<TElem> element) { return Put(std::move(element), First_Empty_Slot()); }

    // The lowest empty slot; 0 when every slot is taken.
    std::size_t First_Empty_Slot() const {
        for (std::size_t i = 0; i < Slots_.size(); ++i)
            if (!Slots_[i]) return i + 1;
        return 0;
    }

    // Empties the slot and hands its element to the caller; nothing beyond the count or for a hole.
    std::unique_ptr<TElem> Take(std::size_t slot) {
        if (slot == 0 || slot > Slots_.size()) return nullptr;
        return std::move(Slots_[slot - 1]);
    }

    // Frees the element and leaves its slot empty; a slot beyond the count is ignored.
    void Delete(std::size_t slot) { Take(slot); }

    // The last slot whose element has the id; 0 when none. Ids equal slots in a sound list, but an element
    // whose Id was changed by hand is still found by the id it carries.
    std::size_t Find_Id(uint16_t id) const {
        for (std::size_t i = Slots_.size(); i > 0; --i)
            if (Slots_[i - 1] && Traits::Get_Id(*Slots_[i - 1]) == id) return i;
        return 0;
    }

    // Frees every element and removes every slot; the name is kept.
    void Clear() { Slots_.clear(); }

    // Copies the name and every slot in order, deeply; an empty slot stays empty so every element keeps
    // its id. Assigning a list to itself changes nothing.
    void Assign(const TSlot_List& other) {
        if (this == &other) return;
        std::vector<std::unique_ptr<TElem>> copy;
        copy.reserve(other.Slots_.size());
        for (const auto& element : other.Slots_) copy.push_back(element ? Traits::Clone(*element) : nullptr);
        Slots_ = std::move(copy);
        Name_ = other.Name_;
    }

    // Slot count (word), name (string), then per slot a presence flag and, when present, the record.
    void Write(TStream_Writer& w) const {
        Write_Word(w, static_cast<uint16_t>(Slots_.size()));
        Write_String(w, Name_);
        for (const auto& element : Slots_) {
            Write_Boolean(w, element != nullptr);
            if (element) Traits::Write(w, *element);
        }
    }

    // Clears the list and reads the layout Write produces; every element's Id becomes its slot. A record
    // that reads as unusable leaves its slot empty, so the elements after it keep their slots (and the
    // ids squares and inventories hold), and the read answers false. A broken stream raises
    // EStream_Read_Error with the slots read so far kept.
    bool Read(TStream_Reader& r) {
        Clear();
        const int count = Read_Word(r);
        Name_ = Read_String(r);
        bool all_read = true;
        // An int counter: a 16-bit one would wrap to 0 after slot 65535 and never end.
        for (int slot = 1; slot <= count; ++slot) {
            if (!Read_Boolean(r)) {
                Slots_.push_back(nullptr);
                continue;
            }
            auto element = Traits::Create();
            if (Traits::Read(r, *element)) {
                Traits::Set_Id(*element, static_cast<uint16_t>(slot));
                Slots_.push_back(std::move(element));
            } else {
                Slots_.push_back(nullptr);
                all_read = false;
            }
        }
        return all_read;
    }

private:
    std::vector<std::unique_ptr<TElem>> Slots_; // slot n at index n - 1; null for an empty slot
    std::string Name_;
};
