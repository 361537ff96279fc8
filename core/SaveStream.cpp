#include "core/SaveStream.h"

#include "platform/PathLayer.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {

// The file writer gathers this much before it hands bytes to the file: saves are written value by value,
// a few bytes at a time.
constexpr size_t File_Buffer_Size = 64 * 1024;

// Every list count is stored with Write_Word.
constexpr size_t Largest_List_Count = 65535;

// The smallest value a list element can occupy: a tag and one payload byte (an integer of tag 2, or an
// empty short string). A count the remaining bytes cannot hold is refused before anything is allocated.
constexpr size_t Smallest_Element_Size = 2;

void Store_LE(uint8_t* out, uint64_t value, int count) {
    for (int i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t Load_LE(const uint8_t* in, int count) {
    uint64_t value = 0;
    for (int i = 0; i < count; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
    return value;
}

// Values arrive a few bytes at a time; single pushes beat the generic range insert for those.

std::string System_Error_Text() {
    return std::strerror(errno);
}

// The path to create: an existing file is replaced under its real name even when the name asked for
// differs in letter case, and a new file goes into the existing folder whose name matches ignoring case,
// so a save never leaves two files that differ only in case.
std::string Writable_Path(const std::string& path) {
    if (std::optional<std::string> found = plat::Find_Existing(path)) return *found;
    const size_t cut = path.find_last_of('/');
    if (cut == std::string::npos || cut == 0) return path;
    if (std::optional<std::string> folder = plat::Find_Existing(path.substr(0, cut)))
        return plat::Join(*folder, path.substr(cut + 1));
    return path;
}

[[noreturn]] void Raise_Unexpected_Tag(const TStream_Reader& r, uint8_t tag, const char* expected) {
    throw EStream_Read_Error("unexpected tag " + std::to_string(tag) + " at byte " +
                             std::to_string(r.Position() - 1) + " of the save stream (" + expected +
                             " expected)");
}

bool Is_Integer_Tag(uint8_t tag) {
    return tag == Tag_Int8 || tag == Tag_Int16 || tag == Tag_Int32;
}

// The payload of an integer whose tag has been read and checked.
int32_t Read_Integer_Payload(TStream_Reader& r, uint8_t tag) {
    uint8_t payload[4];
    switch (tag) {
    case Tag_Int8: return static_cast<int8_t>(r.Get_Byte());
    case Tag_Int16: r.Get_Bytes(payload, 2); return static_cast<int16_t>(Load_LE(payload, 2));
    default: r.Get_Bytes(payload, 4); return static_cast<int32_t>(Load_LE(payload, 4));
    }
}

void Write_List_Count(TStream_Writer& w, size_t count, const char* what) {
    // A count cut to 16 bits would leave a file whose elements no longer match its count.
    if (count > Largest_List_Count)
        throw EStream_Write_Error(std::string(what) + " of " + std::to_string(count) +
                                  " elements cannot be saved: at most 65535 fit its count");
    Write_Word(w, static_cast<uint16_t>(count));
}

size_t Read_List_Count(TStream_Reader& r, const char* what) {
    const size_t count = Read_Word(r);
    if (count > r.Remaining() / Smallest_Element_Size)
        throw EStream_Read_Error(std::string(what) + ": count " + std::to_string(count) +
                                 " exceeds the bytes left in the save stream");
    return count;
}

template <typename TList, typename TWrite>
bool Write_Typed_List(TStream_Writer& w, const TList& list, const char* what, TWrite write_element) {
    const int count = static_cast<int>(list.Count());
    Write_List_Count(w, static_cast<size_t>(count), what);
    for (int p = 1; p <= count; ++p) write_element(w, list.Get(static_cast<typename TList::Position>(p)));
    return true;
}

template <typename TList, typename TRead>
bool Read_Typed_List(TStream_Reader& r, TList& list, const char* what, TRead read_element) {
    const size_t count = Read_List_Count(r, what);
    if (count > static_cast<size_t>(TList::Largest_Capacity))
        throw EStream_Read_Error(std::string(what) + ": count " + std::to_string(count) +
                                 " exceeds the largest list of its kind");
    list.Clear();
    // Sized at once: a list filled through Set_Count can hold more elements than appending alone reaches
    // (the grow steps stop short of the largest capacity), and such a list must read back.
    list.Set_Capacity(static_cast<int>(count));
    for (size_t i = 0; i < count; ++i) list.Add(read_element(r));
    return true;
}

} // namespace

// ---- Writer ----

TStream_Writer::TStream_Writer() {
    Prepare_Writer(*this);
}

TStream_Writer::TStream_Writer(const std::string& path) : Path_(Writable_Path(path)) {
    File_ = std::fopen(Path_.c_str(), "wb");
    if (!File_) throw EStream_Write_Error("cannot create file \"" + path + "\": " + System_Error_Text());
    // The writer's own buffer already hands the file large blocks; a second copy in stdio gains nothing
    // and would hide a write failure until fclose.
    std::setvbuf(File_, nullptr, _IONBF, 0);
    Buffer_.resize(File_Buffer_Size);
    Prepare_Writer(*this);
}

TStream_Writer::~TStream_Writer() {
    if (!File_) return;
    try {
        Close();
    } catch (...) {
        // A writer abandoned while an error unwinds must not raise a second time; the caller already
        // reports the first failure.
    }
}

void TStream_Writer::Put_Bytes_Slow(const void* data, size_t count) {
    // Once a write has failed the file is incomplete; later values must not look saved.
    if (!Failure_.empty()) throw EStream_Write_Error(Failure_);
    if (count == 0) return;
    if (!File_) {
        // A file writer that has been closed keeps its path; writing on would lose the bytes silently.
        if (!Path_.empty()) throw EStream_Write_Error("file \"" + Path_ + "\" is already closed");
        // In memory the buffer doubles.
        size_t capacity = Buffer_.size() < 256 ? 256 : Buffer_.size();
        while (capacity - Used_ < count) capacity *= 2;
        Buffer_.resize(capacity);
    } else {
        Flush();
        if (count >= Buffer_.size()) {
            Write_To_File(data, count);
            return;
        }
    }
    std::memcpy(Buffer_.data() + Used_, data, count);
    Used_ += count;
}

void TStream_Writer::Write_To_File(const void* data, size_t count) {
    // fwrite reports a full disk or a failing device by a short count (the file is unbuffered).
    if (std::fwrite(data, 1, count, File_) == count) return;
    Failure_ = "cannot write file \"" + Path_ + "\": " + System_Error_Text();
    Fast_ = false;
    throw EStream_Write_Error(Failure_);
}

void TStream_Writer::Flush() {
    if (!File_ || Used_ == 0) return;
    Write_To_File(Buffer_.data(), Used_);
    Used_ = 0;
}

void TStream_Writer::Close() {
    if (!File_) return;
    if (Failure_.empty()) {
        try {
            Flush();
        } catch (const EStream_Write_Error&) {
            // Failure_ holds the message; the file is still closed below.
        }
    }
    if (std::fflush(File_) != 0 && Failure_.empty())
        Failure_ = "cannot write file \"" + Path_ + "\": " + System_Error_Text();
    if (std::fclose(File_) != 0 && Failure_.empty())
        Failure_ = "cannot close file \"" + Path_ + "\": " + System_Error_Text();
    File_ = nullptr;
    Fast_ = false;
    std::vector<uint8_t>().swap(Buffer_);
    Used_ = 0;
    if (!Failure_.empty()) throw EStream_Write_Error(Failure_);
}

// ---- Reader ----

TStream_Reader::TStream_Reader(std::vector<uint8_t> bytes) : Bytes_(std::move(bytes)) {
    Prepare_Reader(*this);
}

TStream_Reader TStream_Reader::Open_File(const std::string& path) {
    std::string contents;
    if (!plat::Read_File(path, contents)) throw EStream_Read_Error("cannot read file \"" + path + "\"");
    return TStream_Reader(std::vector<uint8_t>(contents.begin(), contents.end()));
}

void TStream_Reader::Raise_End() const {
    throw EStream_Read_Error("the save stream ends at byte " + std::to_string(Bytes_.size()) +
                             " inside a value");
}

void Prepare_Writer(TStream_Writer&) {}
void Prepare_Reader(TStream_Reader&) {}

// ---- 80-bit extended codec ----
//
// Extended layout: bytes 0-7 the 64-bit significand with its leading bit explicit, bytes 8-9 the sign
// (top bit) and the exponent biased by 16383. Double: 52 fraction bits, hidden leading bit, exponent
// biased by 1023.

namespace {

constexpr int Extended_Bias = 16383;
constexpr int Double_Bias = 1023;
constexpr uint64_t Top_Bit = uint64_t{1} << 63;
constexpr uint64_t Fraction_Mask = (uint64_t{1} << 52) - 1;
constexpr uint64_t Quiet_Bit = uint64_t{1} << 51;

void Store_Extended(uint8_t out[10], bool negative, int exponent, uint64_t significand) {
    Store_LE(out, significand, 8);
    Store_LE(out + 8, (negative ? 0x8000u : 0u) | static_cast<unsigned>(exponent), 2);
}

// Shifts right by shift bits (1..64), rounding to nearest with ties to even.
uint64_t Shift_Right_Rounded(uint64_t value, int shift) {
    const uint64_t kept = shift >= 64 ? 0 : value >> shift;
    const uint64_t dropped = shift >= 64 ? value : value & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    if (dropped > half || (dropped == half && (kept & 1))) return kept + 1;
    return kept;
}

} // namespace

void Double_To_Extended(double value, uint8_t out[10]) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & Fraction_Mask;

    if (exponent == 0x7FF) {
        // Infinity has a bare leading bit; a NaN keeps its payload (and so its quiet bit) in the bits below.
        Store_Extended(out, negative, 0x7FFF, Top_Bit | (fraction << 11));
    } else if (exponent == 0) {
        if (fraction == 0) {
            Store_Extended(out, negative, 0, 0);
        } else {
            // A double subnormal is fraction * 2^-1074; the extended range holds it normalised.
            const int shift = std::countl_zero(fraction);
            Store_Extended(out, negative, Extended_Bias + 63 - 1074 - shift, fraction << shift);
        }
    } else {
        Store_Extended(out, negative, exponent - Double_Bias + Extended_Bias, Top_Bit | (fraction << 11));
    }
}

double Extended_To_Double(const uint8_t in[10]) {
    uint64_t significand = Load_LE(in, 8);
    const unsigned sign_exponent = static_cast<unsigned>(Load_LE(in + 8, 2));
    const uint64_t sign = static_cast<uint64_t>(sign_exponent >> 15) << 63;
    int exponent = static_cast<int>(sign_exponent & 0x7FFF);

    if (exponent == 0x7FFF) {
        const uint64_t payload = significand & ~Top_Bit;
        if (payload == 0) return std::bit_cast<double>(sign | (uint64_t{0x7FF} << 52));
        // A NaN keeps the payload bits that fit; one whose payload lies only in the dropped low bits must
        // still come out as a NaN, not as infinity.
        uint64_t fraction = (payload >> 11) & Fraction_Mask;
        if (fraction == 0) fraction = Quiet_Bit;
        return std::bit_cast<double>(sign | (uint64_t{0x7FF} << 52) | fraction);
    }
    if (significand == 0) return std::bit_cast<double>(sign);

    // Extended denormals use the exponent of the smallest normal; a leading bit that is not set (a
    // denormal, or an unnormal written by other software) is normalised here.
    if (exponent == 0) exponent = 1;
    const int shift = std::countl_zero(significand);
    significand <<= shift;
    // The value is now 1.f * 2^unbiased with the leading bit at bit 63.
    int unbiased = exponent - Extended_Bias - shift;

    if (unbiased > Double_Bias) return std::bit_cast<double>(sign | (uint64_t{0x7FF} << 52));
    if (unbiased >= 1 - Double_Bias) {
        uint64_t rounded = Shift_Right_Rounded(significand, 11);
        if (rounded >> 53) { // rounding carried into the next power of two
            rounded >>= 1;
            ++unbiased;
            if (unbiased > Double_Bias) return std::bit_cast<double>(sign | (uint64_t{0x7FF} << 52));
        }
        const uint64_t biased = static_cast<uint64_t>(unbiased + Double_Bias);
        return std::bit_cast<double>(sign | (biased << 52) | (rounded & Fraction_Mask));
    }
    // Below the normal range: the result is a subnormal count of 2^-1074 steps, significand * 2^(unbiased
    // - 63 + 1074). Rounding up may reach 2^52, which the same bit pattern reads as the smallest normal.
    const int shift_right = 63 - 1074 - unbiased;             // at least 12 here
    if (shift_right > 64) return std::bit_cast<double>(sign); // less than half the smallest subnormal
    return std::bit_cast<double>(sign | Shift_Right_Rounded(significand, shift_right));
}

// ---- Value helpers ----

void Write_Boolean(TStream_Writer& w, bool value) {
    w.Put_Byte(value ? Tag_True : Tag_False);
}

void Write_String(TStream_Writer& w, const std::string& value) {
    const size_t length = value.size();
    uint8_t head[5];
    if (length <= 255) {
        head[0] = Tag_Short_String;
        head[1] = static_cast<uint8_t>(length);
        w.Put_Bytes(head, 2);
    } else {
        if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
            throw EStream_Write_Error("a string of " + std::to_string(length) + " bytes cannot be saved");
        head[0] = Tag_Long_String;
        Store_LE(head + 1, length, 4);
        w.Put_Bytes(head, 5);
    }
    w.Put_Bytes(value.data(), length);
}

void Write_Integer(TStream_Writer& w, int32_t value) {
    // The smallest tag whose signed range holds the value: the tag follows the value, not the field.
    uint8_t buffer[5];
    if (value >= -128 && value <= 127) {
        buffer[0] = Tag_Int8;
        buffer[1] = static_cast<uint8_t>(value);
        w.Put_Bytes(buffer, 2);
    } else if (value >= -32768 && value <= 32767) {
        buffer[0] = Tag_Int16;
        Store_LE(buffer + 1, static_cast<uint16_t>(value), 2);
        w.Put_Bytes(buffer, 3);
    } else {
        buffer[0] = Tag_Int32;
        Store_LE(buffer + 1, static_cast<uint32_t>(value), 4);
        w.Put_Bytes(buffer, 5);
    }
}

// Bytes and words are written as unsigned values: 200 takes tag 3, and a signed 16-bit field of -1 is
// stored as 65535 with tag 4. Reading keeps the low bits, which gives the same pattern back.
void Write_Byte(TStream_Writer& w, uint8_t value) {
    Write_Integer(w, value);
}
void Write_Word(TStream_Writer& w, uint16_t value) {
    Write_Integer(w, value);
}
void Write_Longint(TStream_Writer& w, int32_t value) {
    Write_Integer(w, value);
}

void Write_Real(TStream_Writer& w, double value) {
    uint8_t buffer[11];
    buffer[0] = Tag_Extended;
    Double_To_Extended(value, buffer + 1);
    w.Put_Bytes(buffer, sizeof buffer);
}

bool Read_Boolean(TStream_Reader& r) {
    return r.Get_Byte() == Tag_True;
}

std::string Read_String(TStream_Reader& r) {
    const uint8_t tag = r.Get_Byte();
    int64_t length = 0;
    if (tag == Tag_Short_String) {
        length = r.Get_Byte();
    } else if (tag == Tag_Long_String) {
        uint8_t head[4];
        r.Get_Bytes(head, 4);
        length = static_cast<int32_t>(Load_LE(head, 4));
    } else {
        Raise_Unexpected_Tag(r, tag, "a string");
    }
    // Checked before the string is allocated: a damaged length must not ask for gigabytes.
    if (length < 0 || static_cast<uint64_t>(length) > r.Remaining())
        throw EStream_Read_Error("string length " + std::to_string(length) + " at byte " +
                                 std::to_string(r.Position()) + " exceeds the bytes left in the save stream");
    std::string value(static_cast<size_t>(length), '\0');
    r.Get_Bytes(value.data(), value.size());
    return value;
}

int32_t Read_Integer(TStream_Reader& r) {
    const uint8_t tag = r.Get_Byte();
    if (!Is_Integer_Tag(tag)) Raise_Unexpected_Tag(r, tag, "an integer");
    return Read_Integer_Payload(r, tag);
}

uint8_t Read_Byte(TStream_Reader& r) {
    return static_cast<uint8_t>(Read_Integer(r));
}
uint16_t Read_Word(TStream_Reader& r) {
    return static_cast<uint16_t>(Read_Integer(r));
}
int32_t Read_Longint(TStream_Reader& r) {
    return Read_Integer(r);
}

double Read_Real(TStream_Reader& r) {
    const uint8_t tag = r.Get_Byte();
    if (tag == Tag_Extended) {
        uint8_t payload[10];
        r.Get_Bytes(payload, sizeof payload);
        return Extended_To_Double(payload);
    }
    // A real field may also hold an integer value, which reads as that number.
    if (!Is_Integer_Tag(tag)) Raise_Unexpected_Tag(r, tag, "a real or an integer");
    return Read_Integer_Payload(r, tag);
}

// ---- List helpers ----

bool Write_String_List(TStream_Writer& w, const TString_List& list) {
    Write_List_Count(w, list.size(), "string list");
    for (const std::string& s : list) Write_String(w, s);
    return true;
}

bool Read_String_List(TStream_Reader& r, TString_List& list) {
    const size_t count = Read_List_Count(r, "string list");
    list.clear();
    list.reserve(count);
    for (size_t i = 0; i < count; ++i) list.push_back(Read_String(r));
    return true;
}

bool Write_Word_List(TStream_Writer& w, const TWordList& list) {
    return Write_Typed_List(w, list, "word list", Write_Word);
}

bool Read_Word_List(TStream_Reader& r, TWordList& list) {
    return Read_Typed_List(r, list, "word list", Read_Word);
}

bool Write_Byte_List(TStream_Writer& w, const TbyteList& list) {
    return Write_Typed_List(w, list, "byte list", Write_Byte);
}

bool Read_Byte_List(TStream_Reader& r, TbyteList& list) {
    return Read_Typed_List(r, list, "byte list", Read_Byte);
}

bool Write_Longint_List(TStream_Writer& w, const TLongintList& list) {
    return Write_Typed_List(w, list, "longint list", Write_Longint);
}

bool Read_Longint_List(TStream_Reader& r, TLongintList& list) {
    return Read_Typed_List(r, list, "longint list", Read_Longint);
}

// Copying a list onto itself must leave it as it is: std::vector's and TTyped_List's assignments both
// return at once when given the list itself.
bool Copy_String_List(TString_List& dest, const TString_List& source) {
    dest = source;
    return true;
}

bool Copy_Word_List(TWordList& dest, const TWordList& source) {
    dest = source;
    return true;
}

bool Copy_Byte_List(TbyteList& dest, const TbyteList& source) {
    dest = source;
    return true;
}

bool Copy_Longint_List(TLongintList& dest, const TLongintList& source) {
    dest = source;
    return true;
}

void Write_Count(TStream_Writer& w, size_t count, const char* what) {
    Write_List_Count(w, count, what);
}

size_t Read_Count(TStream_Reader& r, const char* what, size_t smallest) {
    const size_t count = Read_Word(r);
    if (smallest > 0 && count > r.Remaining() / smallest)
        throw EStream_Read_Error(std::string(what) + ": count " + std::to_string(count) +
                                 " exceeds the bytes left in the save stream");
    return count;
}

void Require_Equal_Lengths(const char* what, std::initializer_list<size_t> lengths) {
    if (lengths.size() == 0) return;
    const size_t first = *lengths.begin();
    for (size_t length : lengths)
        if (length != first)
            throw EStream_Read_Error(std::string(what) + ": parallel lists of unequal length");
}
