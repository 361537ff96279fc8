// Expected bytes of saved records, built apart from the stream writer the records use. A test writes a
// record's layout as a table of (kind, value) pairs in the file format's order; this header encodes the
// table by the save stream's value tags on its own, so a record that writes a field out of order, at
// another width or not at all no longer matches its table.
//
// Value tags: 2, 3, 4 an integer of 1, 2 or 4 little-endian bytes (the smallest whose signed range holds
// the value), 5 a real as 80-bit extended precision, 6 a string of up to 255 bytes after a length byte,
// 12 a longer one after a 4-byte length, 8 false, 9 true.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace golden {

// A field's kind, named after the helper that writes it.
enum class TKind : uint8_t {
    Boolean,
    Byte,    // 0..255
    Word,    // 0..65535; a signed 16-bit field is stored by its bit pattern, so -1 is 65535
    Integer, // 32-bit signed (also the long integers)
    Real,
    String,
};

struct TField {
    TKind Kind;
    std::string Name;
    int64_t Number = 0; // Boolean (0 or 1), Byte, Word, Integer
    double Real = 0;
    std::string Text;
    // Whether the distinct-value check counts the field: list counts and fields of a handful of legal
    // values cannot all differ.
    bool Distinct = true;

    template <typename T>
    TField(TKind kind, std::string name, const T& value, bool distinct = true)
        : Kind(kind), Name(std::move(name)), Distinct(distinct) {
        if constexpr (std::is_floating_point_v<T>) {
            Real = value;
            Check(kind == TKind::Real);
        } else if constexpr (std::is_integral_v<T>) {
            Number = static_cast<int64_t>(value);
            Check(kind != TKind::Real && kind != TKind::String && (kind != TKind::Boolean || Number <= 1));
        } else {
            Text = std::string(value);
            Check(kind == TKind::String);
        }
    }

    // The value as the stream holds it; two fields with equal keys are indistinguishable in the bytes.
    std::string Key() const {
        switch (Kind) {
        case TKind::Real: return "real " + std::to_string(Real);
        case TKind::String: return "string \"" + Text + "\"";
        case TKind::Word: return "integer " + std::to_string(Number < 0 ? Number + 65536 : Number);
        default: return (Kind == TKind::Boolean ? "boolean " : "integer ") + std::to_string(Number);
        }
    }

private:
    void Check(bool kind_fits) const {
        if (!kind_fits) ADD_FAILURE() << "field " << Name << ": the value does not fit the field's kind";
    }
};

using TFields = std::vector<TField>;

// The parts one after the other.
inline TFields Join(std::initializer_list<TFields> parts) {
    TFields all;
    for (const TFields& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A list as the save stream holds it: the count as a word, then each element.
template <typename TGet> TFields List(TKind kind, const std::string& name, int64_t count, TGet element) {
    TFields fields{TField(TKind::Word, name + " count", count, false)};
    for (int64_t n = 1; n <= count; ++n)
        fields.emplace_back(kind, name + "[" + std::to_string(n) + "]", element(n));
    return fields;
}

// The same for a 1-based typed list (Count, Get) or a string list.
template <typename TList> TFields List(TKind kind, const std::string& name, const TList& list) {
    if constexpr (requires { list.size(); }) {
        return List(kind, name, static_cast<int64_t>(list.size()),
                    [&](int64_t n) { return list[static_cast<size_t>(n - 1)]; });
    } else {
        return List(kind, name, static_cast<int64_t>(list.Count()),
                    [&](int64_t n) { return list.Get(static_cast<typename TList::Position>(n)); });
    }
}

inline void Put_LE(std::vector<uint8_t>& out, uint64_t value, int count) {
    for (int i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The 80-bit form of a double: the significand with its leading bit explicit, then sign and exponent
// biased by 16383. Only zeros and normal numbers are needed by the tables.
inline void Put_Extended(std::vector<uint8_t>& out, double value, const std::string& name) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const uint64_t sign = bits >> 63;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    if (value == 0) {
        Put_LE(out, 0, 8);
        Put_LE(out, sign << 15, 2);
        return;
    }
    if (!std::isnormal(value))
        ADD_FAILURE() << "field " << name << ": only zeros and normal reals are encoded";
    Put_LE(out, (uint64_t{1} << 63) | (fraction << 11), 8);
    Put_LE(out, (sign << 15) | static_cast<uint64_t>(exponent - 1023 + 16383), 2);
}

inline void Put_Integer(std::vector<uint8_t>& out, int64_t value) {
    if (value >= -128 && value <= 127) {
        out.push_back(2);
        Put_LE(out, static_cast<uint64_t>(value), 1);
    } else if (value >= -32768 && value <= 32767) {
        out.push_back(3);
        Put_LE(out, static_cast<uint64_t>(value), 2);
    } else {
        out.push_back(4);
        Put_LE(out, static_cast<uint64_t>(value), 4);
    }
}

// The stream of the fields; starts, when given, receives the offset at which each field begins.
inline std::vector<uint8_t> Encode(const TFields& fields, std::vector<size_t>* starts = nullptr) {
    std::vector<uint8_t> out;
    for (const TField& f : fields) {
        if (starts) starts->push_back(out.size());
        auto in_range = [&](int64_t low, int64_t high) {
            if (f.Number < low || f.Number > high)
                ADD_FAILURE() << "field " << f.Name << ": " << f.Number << " is outside its kind's range";
        };
        switch (f.Kind) {
        case TKind::Boolean: out.push_back(f.Number ? 9 : 8); break;
        case TKind::Byte:
            in_range(0, 255);
            Put_Integer(out, f.Number);
            break;
        case TKind::Word:
            in_range(-32768, 65535);
            // Words are written unsigned: a negative 16-bit value goes out as its bit pattern.
            Put_Integer(out, f.Number < 0 ? f.Number + 65536 : f.Number);
            break;
        case TKind::Integer:
            in_range(INT32_MIN, INT32_MAX);
            Put_Integer(out, f.Number);
            break;
        case TKind::Real:
            out.push_back(5);
            Put_Extended(out, f.Real, f.Name);
            break;
        case TKind::String:
            if (f.Text.size() <= 255) {
                out.push_back(6);
                out.push_back(static_cast<uint8_t>(f.Text.size()));
            } else {
                out.push_back(12);
                Put_LE(out, f.Text.size(), 4);
            }
            out.insert(out.end(), f.Text.begin(), f.Text.end());
            break;
        }
    }
    return out;
}

inline std::string Hex(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
    std::string out;
    char piece[4];
    for (size_t i = from; i < bytes.size() && i < from + count; ++i) {
        std::snprintf(piece, sizeof piece, "%02X ", bytes[i]);
        out += piece;
    }
    return out;
}

// Whether the bytes are the encoding of the fields; on a difference, names the field where it begins.
inline ::testing::AssertionResult Bytes_Match(const std::vector<uint8_t>& actual, const TFields& fields) {
    std::vector<size_t> starts;
    const std::vector<uint8_t> expected = Encode(fields, &starts);
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    if (at == actual.size() && at == expected.size()) return ::testing::AssertionSuccess();
    size_t field = 0;
    while (field + 1 < starts.size() && starts[field + 1] <= at) ++field;
    const size_t from = starts.empty() ? 0 : starts[field];
    return ::testing::AssertionFailure()
           << actual.size() << " bytes written, " << expected.size() << " expected; first difference at byte "
           << at << ", in field " << (fields.empty() ? "(none)" : fields[field].Name) << " ("
           << (fields.empty() ? "" : fields[field].Key()) << ")\n  expected from byte " << from << ": "
           << Hex(expected, from, 24) << "\n  written from byte " << from << ":  " << Hex(actual, from, 24);
}

// Whether two tables hold the same fields with the same values; names each field that differs.
inline ::testing::AssertionResult Same_Fields(const TFields& actual, const TFields& expected) {
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    bool failed = false;
    int reported = 0;
    for (size_t i = 0; i < actual.size() || i < expected.size(); ++i) {
        const TField* a = i < actual.size() ? &actual[i] : nullptr;
        const TField* e = i < expected.size() ? &expected[i] : nullptr;
        if (a && e && a->Name == e->Name && a->Kind == e->Kind && a->Key() == e->Key()) continue;
        if (!failed) result = ::testing::AssertionFailure();
        failed = true;
        if (++reported > 12) {
            result << "\n  ...";
            break;
        }
        result << "\n  field " << i + 1 << ": read " << (a ? a->Name + " = " + a->Key() : "nothing")
               << ", expected " << (e ? e->Name + " = " + e->Key() : "nothing");
    }
    return result;
}

// Whether every counted field holds a value no other counted field holds, so that any two fields
// swapped in a record's writing and reading change its bytes. Booleans are left out.
inline ::testing::AssertionResult Values_Distinct(const TFields& fields) {
    std::map<std::string, std::string> owner;
    std::string clashes;
    for (const TField& f : fields) {
        if (!f.Distinct || f.Kind == TKind::Boolean) continue;
        const auto [it, added] = owner.emplace(f.Key(), f.Name);
        if (!added) clashes += "\n  " + f.Name + " and " + it->second + " both hold " + f.Key();
    }
    if (clashes.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "fields that could be swapped unnoticed:" << clashes;
}

// The field of that name, for a test that expects one value to change on reading.
inline TField& Field_Named(TFields& fields, const std::string& name) {
    for (TField& f : fields)
        if (f.Name == name) return f;
    ADD_FAILURE() << "no field " << name;
    static TField none(TKind::Boolean, "none", false);
    return none;
}

} // namespace golden
