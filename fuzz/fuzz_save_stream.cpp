// The save stream's value readers. Each step's first byte picks a reader (a value or a list); the step
// reads from the bytes that follow, until the stream fails. What a reader gives must read back the same
// after the matching writer wrote it. Any failure other than the stream's read error is a finding.
#include "core/SaveStream.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

TStream_Reader Reader_Of(const TStream_Writer& w) {
    return TStream_Reader(w.Bytes());
}

template <typename TValue, typename TWrite, typename TRead>
void Expect_Round_Trip(const TValue& value, TWrite write, TRead read) {
    TStream_Writer w;
    write(w, value);
    TStream_Reader r = Reader_Of(w);
    const TValue again = read(r);
    if (!(again == value) || !r.At_End()) std::abort();
}

template <typename TList, typename TWrite, typename TRead>
void Expect_List_Round_Trip(const TList& list, TWrite write, TRead read) {
    TStream_Writer w;
    write(w, list);
    TStream_Reader r = Reader_Of(w);
    TList again;
    read(r, again);
    if (!(again == list) || !r.At_End()) std::abort();
}

bool Same_Real(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

void Step(TStream_Reader& r) {
    switch (r.Get_Byte() % 11) {
    case 0: Expect_Round_Trip(Read_Boolean(r), Write_Boolean, Read_Boolean); break;
    case 1: Expect_Round_Trip(Read_String(r), Write_String, Read_String); break;
    case 2: Expect_Round_Trip(Read_Byte(r), Write_Byte, Read_Byte); break;
    case 3: Expect_Round_Trip(Read_Word(r), Write_Word, Read_Word); break;
    case 4: Expect_Round_Trip(Read_Integer(r), Write_Integer, Read_Integer); break;
    case 5: Expect_Round_Trip(Read_Longint(r), Write_Longint, Read_Longint); break;
    case 6: {
        const double value = Read_Real(r);
        TStream_Writer w;
        Write_Real(w, value);
        TStream_Reader back = Reader_Of(w);
        if (!Same_Real(Read_Real(back), value)) std::abort();
        break;
    }
    case 7: {
        TString_List list{"kept only until the read"};
        Read_String_List(r, list);
        Expect_List_Round_Trip(list, Write_String_List, Read_String_List);
        break;
    }
    case 8: {
        TWordList list;
        Read_Word_List(r, list);
        Expect_List_Round_Trip(list, Write_Word_List, Read_Word_List);
        break;
    }
    case 9: {
        TbyteList list;
        Read_Byte_List(r, list);
        Expect_List_Round_Trip(list, Write_Byte_List, Read_Byte_List);
        break;
    }
    default: {
        TLongintList list;
        Read_Longint_List(r, list);
        Expect_List_Round_Trip(list, Write_Longint_List, Read_Longint_List);
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TStream_Reader r(std::vector<uint8_t>(data, data + size));
    Prepare_Reader(r);
    try {
        while (!r.At_End()) Step(r);
    } catch (const EStream_Read_Error&) {
        // The stream failed: the end of every input that is not whole values.
    }
    return 0;
}
