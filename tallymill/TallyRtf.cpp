#include "tallymill/TallyRtf.h"

#include "core/TextCodec.h"

#include <cstdint>
#include <cstdio>
#include <fstream>

namespace {

// Courier New at 8 points (\fs counts half points), the size of the window's 11-pixel face; \uc1: every
// \uN is followed by one fallback character a reader without Unicode shows instead.
const char* const Rtf_Header =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern\\fprq1 Courier New;}}\\uc1\\pard\\f0\\fs16";

// \uN takes a signed 16-bit N: units above 32767 are written negative.
void Append_Unicode_Unit(std::string& out, uint32_t unit) {
    const int32_t n = unit > 0x7FFF ? static_cast<int32_t>(unit) - 0x10000 : static_cast<int32_t>(unit);
    out += "\\u" + std::to_string(n) + "?";
}

void Append_Escaped(std::string& out, const std::string& text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const char32_t cp = Next_Utf8_Code_Point(text, pos);
        if (cp == '\\' || cp == '{' || cp == '}') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp < 0x20) {
            // A raw control character would be dropped (CR, LF) or misread by a reader.
            char hex[8];
            std::snprintf(hex, sizeof(hex), "\\'%02x", static_cast<unsigned>(cp));
            out += hex;
        } else if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp <= 0xFFFF) {
            Append_Unicode_Unit(out, cp);
        } else {
            const uint32_t v = static_cast<uint32_t>(cp) - 0x10000;
            Append_Unicode_Unit(out, 0xD800 + (v >> 10));
            Append_Unicode_Unit(out, 0xDC00 + (v & 0x3FF));
        }
    }
}

} // namespace

std::string Report_Rtf(const TString_List& lines) {
    // The newline after the header ends its last control word, so a line that starts with a digit or a
    // blank keeps it.
    std::string out = std::string(Rtf_Header) + "\n";
    for (const std::string& line : lines) {
        Append_Escaped(out, line);
        out += "\\par\n";
    }
    return out + "}";
}

bool Save_Report_Rtf(const std::string& file_name, const TString_List& lines) {
    const std::string bytes = Report_Rtf(lines);
    std::ofstream file(file_name, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}
