#include "core/TextCodec.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char32_t Replacement_Character = 0xFFFD;

// Windows-1251 bytes 0x80..0xBF; 0xC0..0xFF are the 64 Russian letters U+0410..U+044F in order.
// 0x98 has no character in the code page. It becomes U+FFFD rather than staying a raw byte: a raw
// 0x98 would leave invalid UTF-8 inside the program, and the replacement character shows the damage
// where the text is displayed instead of hiding it.
constexpr char32_t Cp1251_High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8
};

bool Is_Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at the start of bytes, or 0 when there is none there.
// Overlong forms, surrogates (U+D800..U+DFFF) and code points above U+10FFFF are not well formed:
// accepting them would let one character have several spellings, or let text through that no
// other UTF-8 reader accepts.
size_t Sequence_Length(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    if (b0 < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) low = 0xA0;  // below: overlong
        if (b0 == 0xED) high = 0x9F; // above: surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) low = 0x90;  // below: overlong
        if (b0 == 0xF4) high = 0x8F; // above: beyond U+10FFFF
    } else {
        return 0; // a continuation byte, C0/C1 (always overlong) or F5..FF
    }
    if (bytes.size() < length) return 0;
    const auto b1 = static_cast<unsigned char>(bytes[1]);
    if (b1 < low || b1 > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (!Is_Continuation(static_cast<unsigned char>(bytes[i]))) return 0;
    return length;
}

} // namespace

bool Is_Valid_Utf8(std::string_view bytes) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        // Data files are mostly ASCII: eight bytes without a high bit are eight whole characters.
        while (bytes.size() - pos >= 8) {
            uint64_t word = 0;
            std::memcpy(&word, bytes.data() + pos, 8);
            if (word & 0x8080808080808080u) break;
            pos += 8;
        }
        if (pos == bytes.size()) break;
        const size_t length = Sequence_Length(bytes.substr(pos));
        if (length == 0) return false;
        pos += length;
    }
    return true;
}

std::string Cp1251_To_Utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out.push_back(c);
        else if (byte < 0xC0)
            Append_Utf8(out, Cp1251_High[byte - 0x80]);
        else
            Append_Utf8(out, 0x0410 + (byte - 0xC0));
    }
    return out;
}

std::string Decode_Data_Text(std::string_view bytes) {
    if (Is_Valid_Utf8(bytes)) {
        constexpr std::string_view Bom = "\xEF\xBB\xBF";
        if (bytes.substr(0, Bom.size()) == Bom) bytes.remove_prefix(Bom.size());
        return std::string(bytes);
    }
    return Cp1251_To_Utf8(bytes);
}

void Decode_Data_Text_In_Place(std::string& text) {
    if (Is_Valid_Utf8(text)) {
        constexpr std::string_view Bom = "\xEF\xBB\xBF";
        if (std::string_view(text).substr(0, Bom.size()) == Bom) text.erase(0, Bom.size());
        return;
    }
    text = Cp1251_To_Utf8(text);
}

size_t Utf8_Length(std::string_view text) {
    size_t count = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t length = Sequence_Length(text.substr(pos));
        pos += length == 0 ? 1 : length;
        ++count;
    }
    return count;
}

char32_t Next_Utf8_Code_Point(std::string_view text, size_t& pos) {
    const size_t length = Sequence_Length(text.substr(pos));
    if (length == 0) {
        ++pos;
        return Replacement_Character;
    }
    // The lead byte keeps 7, 5, 4 or 3 value bits; each continuation byte adds 6.
    constexpr unsigned char Lead_Mask[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t cp = static_cast<unsigned char>(text[pos]) & Lead_Mask[length];
    for (size_t i = 1; i < length; ++i) cp = (cp << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    pos += length;
    return cp;
}

void Append_Utf8(std::string& out, char32_t code_point) {
    // A surrogate or a value beyond U+10FFFF has no UTF-8 form; writing its bit pattern anyway would
    // put invalid text into the program, so it becomes the replacement character.
    if ((code_point >= 0xD800 && code_point <= 0xDFFF) || code_point > 0x10FFFF)
        code_point = Replacement_Character;
    const auto cp = static_cast<uint32_t>(code_point);
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

namespace {

// A code point's place in the case-blind order: lower case, doubled so that ё fits between е and ж.
uint64_t Collation_Key(char32_t cp) {
    if (cp >= U'A' && cp <= U'Z')
        cp += 0x20;
    else if (cp >= U'А' && cp <= U'Я')
        cp += 0x20;
    else if (cp == U'Ё')
        cp = U'ё';
    if (cp == U'ё') return uint64_t{U'е'} * 2 + 1;
    return uint64_t{cp} * 2;
}

} // namespace

int Compare_Text_No_Case(std::string_view a, std::string_view b) {
    size_t pa = 0, pb = 0;
    while (pa < a.size() && pb < b.size()) {
        const uint64_t ka = Collation_Key(Next_Utf8_Code_Point(a, pa));
        const uint64_t kb = Collation_Key(Next_Utf8_Code_Point(b, pb));
        if (ka != kb) return ka < kb ? -1 : 1;
    }
    if (pa < a.size()) return 1;
    if (pb < b.size()) return -1;
    return 0;
}
