// Growable 1-based lists of plain numbers: the world model's basic containers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <utility>

// Raised for every position, count or capacity outside a list's limits; the list is left unchanged.
class EListError : public std::exception {
public:
    const char* what() const noexcept override { return "Invalid Index"; }
};

// TElem: element type; TPos: the type of positions, Count and Capacity (16-bit for the byte list, so a
// position of 0 - 1 wraps to 65535 and fails like any position above Count); Max_Capacity: the largest
// capacity the list may reach. Grow steps of 4, 8 and 16 keep the small lists (a handful of effects or ids)
// small.
template <typename TElem, typename TPos, int Max_Capacity> class TTyped_List {
public:
    using Element = TElem;
    using Position = TPos;
    static constexpr int Largest_Capacity = Max_Capacity;

    TTyped_List() = default;
    TTyped_List(const TTyped_List& other) { *this = other; }
    TTyped_List& operator=(const TTyped_List& other) {
        if (this == &other) return *this;
        Clear();
        Set_Capacity(other.Count_);
        if (other.Count_ > 0) std::memcpy(Items_.get(), other.Items_.get(), sizeof(TElem) * other.Count_);
        Count_ = other.Count_;
        return *this;
    }
    TTyped_List(TTyped_List&& other) noexcept
        : Items_(std::move(other.Items_)), Count_(other.Count_), Capacity_(other.Capacity_) {
        other.Count_ = 0;
        other.Capacity_ = 0;
    }
    TTyped_List& operator=(TTyped_List&& other) noexcept {
        // A self-move would otherwise zero Count and Capacity while keeping the buffer.
        if (this == &other) return *this;
        Items_ = std::move(other.Items_);
        Count_ = other.Count_;
        Capacity_ = other.Capacity_;
        other.Count_ = 0;
        other.Capacity_ = 0;
        return *this;
    }

    // Appends the value; returns the Count before the append (the new element's position minus 1).
    TPos Add(TElem value) {
        if (Count_ == Capacity_) Grow();
        Items_[Count_] = value;
        ++Count_;
        return static_cast<TPos>(Count_ - 1);
    }

    void Clear() {
        Set_Count(0);
        Set_Capacity(0);
    }

    void Delete(TPos position) {
        Check_Position(position);
        const int index = static_cast<int>(position) - 1;
        const int tail = Count_ - index - 1;
        if (tail > 0) std::memmove(&Items_[index], &Items_[index + 1], sizeof(TElem) * tail);
        --Count_;
    }

    TElem Get(TPos position) const {
        Check_Position(position);
        return Items_[static_cast<int>(position) - 1];
    }

    void Set_Capacity(int n) {
        if (n < Count_ || n > Max_Capacity) Error();
        if (n == Capacity_) return;
        std::unique_ptr<TElem[]> fresh;
        if (n > 0) {
            fresh = std::make_unique<TElem[]>(static_cast<size_t>(n));
            if (Count_ > 0) std::memcpy(fresh.get(), Items_.get(), sizeof(TElem) * Count_);
        }
        Items_ = std::move(fresh);
        Capacity_ = n;
    }

    void Set_Count(int n) {
        if (n < 0 || n > Max_Capacity) Error();
        if (n > Capacity_) Set_Capacity(n);
        for (int i = Count_; i < n; ++i) Items_[i] = 0;
        Count_ = n;
    }

    TPos Count() const { return static_cast<TPos>(Count_); }
    TPos Capacity() const { return static_cast<TPos>(Capacity_); }

    // Whether n more Adds would succeed. Parallel lists ask each other before any of them appends: a list
    // that grows in steps fails short of Max_Capacity, and one that raised after another had appended
    // would leave them of unequal length.
    bool Can_Add(int64_t n = 1) const { return n >= 0 && Count_ + n <= Reachable_Capacity(); }

    bool operator==(const TTyped_List& other) const {
        if (Count_ != other.Count_) return false;
        for (int i = 0; i < Count_; ++i)
            if (Items_[i] != other.Items_[i]) return false;
        return true;
    }

protected:
    [[noreturn]] void Error() const { throw EListError(); }

    static int Grow_Step(int capacity) { return capacity > 8 ? 16 : (capacity > 4 ? 8 : 4); }

    void Grow() {
        // The sum is done in int: for the byte list 65520 + 16 must fail, not wrap to 0.
        Set_Capacity(Capacity_ + Grow_Step(Capacity_));
    }

    // The largest capacity the growth steps reach from the current one without passing Max_Capacity.
    int Reachable_Capacity() const {
        int capacity = Capacity_;
        while (capacity <= 8) {
            const int next = capacity + Grow_Step(capacity);
            if (next > Max_Capacity) return capacity;
            capacity = next;
        }
        return capacity + (Max_Capacity - capacity) / 16 * 16;
    }

    void Check_Position(TPos position) const {
        const long long p = static_cast<long long>(position);
        if (p < 1 || p > Count_) Error();
    }

    // Replaces the element at the position; the word and longint lists make this public.
    void Put(TPos position, TElem value) {
        Check_Position(position);
        Items_[static_cast<int>(position) - 1] = value;
    }

    std::unique_ptr<TElem[]> Items_;
    int Count_ = 0;
    int Capacity_ = 0;
};

// 16-bit unsigned values: ids, coordinates, counts.
class TWordList : public TTyped_List<uint16_t, int32_t, 32760> {
public:
    // Position of the first element equal to the value, scanning from 1; -1 when absent.
    int32_t IndexOf(uint16_t value) const {
        for (int i = 0; i < Count_; ++i)
            if (Items_[i] == value) return i + 1;
        return -1;
    }
    using TTyped_List::Put;
};

// The id that a copy gave to id: new_ids at the last position (among those both lists have) where old_ids
// holds id; id itself when old_ids does not hold it there.
inline uint16_t Remapped_Id(uint16_t id, const TWordList& old_ids, const TWordList& new_ids) {
    const int32_t shared = old_ids.Count() < new_ids.Count() ? old_ids.Count() : new_ids.Count();
    for (int32_t position = shared; position >= 1; --position)
        if (old_ids.Get(position) == id) return new_ids.Get(position);
    return id;
}

// 8-bit values: effect types, item slots, requirement types. Positions, Count and Capacity are 16-bit.
class TbyteList : public TTyped_List<uint8_t, uint16_t, 65520> {};

// 32-bit signed values: amounts, timers, experience tables.
class TLongintList : public TTyped_List<int32_t, int32_t, 16380> {
public:
    using TTyped_List::Put;
};
