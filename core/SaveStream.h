// Value-tagged binary streams: every saved game, map, module, character and high-score file is one stream
// of tagged values (tag byte, then a little-endian payload) written field by field.
#pragma once

#include "core/TypedLists.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

using TString_List = std::vector<std::string>;

// Value tags.
enum : uint8_t {
    Tag_Int8 = 2,
    Tag_Int16 = 3,
    Tag_Int32 = 4,
    Tag_Extended = 5,
    Tag_Short_String = 6,
    Tag_False = 8,
    Tag_True = 9,
    Tag_Long_String = 12,
};

// A stream that cannot be read as expected: a wrong tag, a payload cut short, an impossible length, or
// parallel lists of unequal length found by a caller.
class EStream_Read_Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A stream that cannot be written: the file cannot be created, the disk is full, or a value cannot be
// represented (a list of more than 65535 elements).
class EStream_Write_Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Buffered writer. Created on a file (created or emptied) or, for tests and benchmarks, in memory.
// Close() flushes and raises on failure; the destructor closes without raising, so a writer abandoned by
// an exception never throws a second time.
class TStream_Writer {
public:
    // In memory.
    TStream_Writer();
    // On a file, created or emptied; an existing file or folder whose name differs only in letter case is
    // reused. Raises EStream_Write_Error when the file cannot be created.
    explicit TStream_Writer(const std::string& path);
    ~TStream_Writer();
    TStream_Writer(const TStream_Writer&) = delete;
    TStream_Writer& operator=(const TStream_Writer&) = delete;

    // Most values are a few bytes that fit the buffer: that path is inline; the rest (growing, flushing,
    // failures, a closed writer) is out of line.
    void Put_Bytes(const void* data, size_t count) {
        if (Fast_ && count <= Buffer_.size() - Used_) {
            std::memcpy(Buffer_.data() + Used_, data, count);
            Used_ += count;
            return;
        }
        Put_Bytes_Slow(data, count);
    }
    void Put_Byte(uint8_t b) { Put_Bytes(&b, 1); }
    void Close(); // flushes and closes the file; raises EStream_Write_Error on failure
    // Memory writers: everything written, and its size.
    std::vector<uint8_t> Bytes() const {
        return std::vector<uint8_t>(Buffer_.begin(), Buffer_.begin() + Used_);
    }
    size_t Size() const { return Used_; }

private:
    void Put_Bytes_Slow(const void* data, size_t count);
    void Flush();
    void Write_To_File(const void* data, size_t count);
    bool Fast_ = true;            // open and without failure: bytes may go straight into the buffer
    std::vector<uint8_t> Buffer_; // sized to its capacity; the first Used_ bytes are written
    size_t Used_ = 0;
    std::FILE* File_ = nullptr;
    std::string Path_;
    std::string Failure_; // the first write failure; every later write and Close raises it again
};

// Reader over the whole stream held in memory, so every length can be checked against the bytes left
// before anything is allocated.
class TStream_Reader {
public:
    explicit TStream_Reader(std::vector<uint8_t> bytes);
    // Reads the file (resolved case-insensitively when the exact path is missing); raises EStream_Read_Error
    // when it cannot be read.
    static TStream_Reader Open_File(const std::string& path);

    // Raise at the end of the stream / when fewer bytes are left.
    uint8_t Get_Byte() {
        if (Pos_ < Bytes_.size()) return Bytes_[Pos_++];
        Raise_End();
    }
    void Get_Bytes(void* out, size_t count) {
        if (count > Bytes_.size() - Pos_) Raise_End();
        if (count > 0) std::memcpy(out, Bytes_.data() + Pos_, count);
        Pos_ += count;
    }
    size_t Remaining() const { return Bytes_.size() - Pos_; }
    size_t Position() const { return Pos_; }
    bool At_End() const { return Pos_ >= Bytes_.size(); }

private:
    [[noreturn]] void Raise_End() const;
    std::vector<uint8_t> Bytes_;
    size_t Pos_ = 0;
};

// Hooks every new writer and reader passes through; the stream is stored exactly as encoded.
void Prepare_Writer(TStream_Writer& w);
void Prepare_Reader(TStream_Reader& r);

// 80-bit extended precision codec, bit-exact and independent of the host's long double.
// double -> extended is exact; extended -> double rounds to nearest-even, keeps zeros, subnormals,
// infinities and NaN, and gives +-inf beyond the double range.
void Double_To_Extended(double value, uint8_t out[10]);
double Extended_To_Double(const uint8_t in[10]);

// Value helpers.
void Write_Boolean(TStream_Writer& w, bool value);
void Write_String(TStream_Writer& w, const std::string& value);
void Write_Byte(TStream_Writer& w, uint8_t value);
void Write_Word(TStream_Writer& w, uint16_t value);
void Write_Integer(TStream_Writer& w, int32_t value);
void Write_Longint(TStream_Writer& w, int32_t value);
void Write_Real(TStream_Writer& w, double value);

bool Read_Boolean(TStream_Reader& r); // true exactly for tag 9; any other tag is false and reads no payload
std::string Read_String(TStream_Reader& r);
uint8_t Read_Byte(TStream_Reader& r);  // keeps the low 8 bits
uint16_t Read_Word(TStream_Reader& r); // keeps the low 16 bits
int32_t Read_Integer(TStream_Reader& r);
int32_t Read_Longint(TStream_Reader& r);
double Read_Real(TStream_Reader& r); // tag 5, or an integer tag taken as a real

// List helpers: the count (Write_Word), then the elements. A count above 65535 raises EStream_Write_Error.
// Each Read_*_List clears its target first; a count larger than the bytes left could hold, or than the
// target list may hold, raises EStream_Read_Error. Every helper returns true.
bool Write_String_List(TStream_Writer& w, const TString_List& list);
bool Read_String_List(TStream_Reader& r, TString_List& list);
bool Write_Word_List(TStream_Writer& w, const TWordList& list);
bool Read_Word_List(TStream_Reader& r, TWordList& list);
bool Write_Byte_List(TStream_Writer& w, const TbyteList& list);
bool Read_Byte_List(TStream_Reader& r, TbyteList& list);
bool Write_Longint_List(TStream_Writer& w, const TLongintList& list);
bool Read_Longint_List(TStream_Reader& r, TLongintList& list);

// Copy helpers: the destination becomes a copy of the source; copying a list onto itself changes nothing.
bool Copy_String_List(TString_List& dest, const TString_List& source);
bool Copy_Word_List(TWordList& dest, const TWordList& source);
bool Copy_Byte_List(TbyteList& dest, const TbyteList& source);
bool Copy_Longint_List(TLongintList& dest, const TLongintList& source);

// The count of the records that follow, written with Write_Word; more than 65535 raises EStream_Write_Error
// naming what was counted.
void Write_Count(TStream_Writer& w, size_t count, const char* what);
// Reads such a count. Each record takes at least smallest bytes: a count the bytes left cannot hold raises
// EStream_Read_Error before anything is allocated for it.
size_t Read_Count(TStream_Reader& r, const char* what, size_t smallest);

// Parallel lists read from one stream must have equal lengths; raises EStream_Read_Error naming what
// differed when they do not.
void Require_Equal_Lengths(const char* what, std::initializer_list<size_t> lengths);
