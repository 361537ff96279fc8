// murk_fuzz_seeds CORPUS_FOLDER: writes the seed inputs of the fuzz targets, one folder per target
// (CORPUS_FOLDER/fuzz_<name>/<seed>): valid files, files cut short, wrong tags and sizes, and a
// Windows-1251 data file. Every seed stays under 4 KB. The same run always gives the same bytes.
#include "core/SaveStream.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;
std::filesystem::path Root;

void Write_Seed(const std::string& target, const std::string& name, const TBytes& bytes) {
    if (bytes.size() >= 4096) throw std::runtime_error("seed " + name + " is not under 4 KB");
    const std::filesystem::path folder = Root / ("fuzz_" + target);
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + (folder / name).string());
}

TBytes Text(const std::string& text) {
    return TBytes(text.begin(), text.end());
}

TBytes Cut(TBytes bytes, size_t keep) {
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
}

// ----- save stream: each step is a selector byte (the reader it picks), then that reader's value -----

enum TStep : uint8_t {
    Boolean,
    String,
    Byte,
    Word,
    Integer,
    Longint,
    Real,
    String_List,
    Word_List,
    Byte_List,
    Longint_List
};

TBytes Stream(const std::function<void(TStream_Writer&)>& write) {
    TStream_Writer w;
    write(w);
    return w.Bytes();
}

void Stream_Seeds() {
    const TBytes values = Stream([](TStream_Writer& w) {
        w.Put_Byte(String), Write_String(w, "1.06");
        w.Put_Byte(Boolean), Write_Boolean(w, true);
        w.Put_Byte(Boolean), Write_Boolean(w, false);
        w.Put_Byte(Byte), Write_Byte(w, 200);
        w.Put_Byte(Word), Write_Word(w, 40000);
        w.Put_Byte(Integer), Write_Integer(w, -5);
        w.Put_Byte(Integer), Write_Integer(w, -30000);
        w.Put_Byte(Longint), Write_Longint(w, 2000000000);
        w.Put_Byte(Real), Write_Real(w, 1.5);
        w.Put_Byte(Real), Write_Real(w, -0.0);
        w.Put_Byte(Real), Write_Real(w, std::numeric_limits<double>::infinity());
        w.Put_Byte(Real), Write_Real(w, std::numeric_limits<double>::denorm_min());
        w.Put_Byte(Real), Write_Integer(w, 7); // an integer read as a real
        w.Put_Byte(String), Write_String(w, "Меч короля");
    });
    Write_Seed("save_stream", "values", values);
    Write_Seed("save_stream", "values_cut", Cut(values, values.size() / 2));

    const TBytes lists = Stream([](TStream_Writer& w) {
        w.Put_Byte(String_List), Write_String_List(w, {"Sword", "", "Длинный лук"});
        TWordList words;
        for (uint16_t v : {1, 200, 65535}) words.Add(v);
        w.Put_Byte(Word_List), Write_Word_List(w, words);
        TbyteList bytes;
        for (uint8_t v : {0, 7, 255}) bytes.Add(v);
        w.Put_Byte(Byte_List), Write_Byte_List(w, bytes);
        TLongintList longs;
        for (int32_t v : {-1, 0, 123456789}) longs.Add(v);
        w.Put_Byte(Longint_List), Write_Longint_List(w, longs);
        w.Put_Byte(Word_List), Write_Word_List(w, TWordList());
    });
    Write_Seed("save_stream", "lists", lists);
    Write_Seed("save_stream", "lists_cut", Cut(lists, lists.size() - 3));

    Write_Seed("save_stream", "long_string",
               Stream([](TStream_Writer& w) { w.Put_Byte(String), Write_String(w, std::string(300, 'x')); }));
    // A string step meeting an integer, and a boolean step meeting a string tag.
    Write_Seed("save_stream", "wrong_tag", Stream([](TStream_Writer& w) {
                   w.Put_Byte(String), Write_Integer(w, 12);
                   w.Put_Byte(Boolean), Write_String(w, "TRUE");
               }));
    // Counts larger than the bytes that follow.
    Write_Seed("save_stream", "huge_counts", Stream([](TStream_Writer& w) {
                   w.Put_Byte(String_List), Write_Word(w, 65535), Write_String(w, "one");
                   w.Put_Byte(Longint_List), Write_Word(w, 40000), Write_Longint(w, 1);
               }));
    Write_Seed("save_stream", "huge_length", TBytes{String, Tag_Long_String, 0xFF, 0xFF, 0xFF, 0x7F, 'a'});
    Write_Seed("save_stream", "negative_length",
               TBytes{String, Tag_Long_String, 0xFF, 0xFF, 0xFF, 0xFF, 'a'});
    Write_Seed("save_stream", "empty", TBytes{});
}

// ----- data files -----

const std::string Utf8_File = "Weapons of the village\r\n*BEGIN*\r\n\r\n\r\n"
                              "Name := Короткий меч\r\n"
                              "Type := Weapon\r\n"
                              "Weight := 2.5\r\n"
                              "Damage Amount Min := 2\r\n"
                              "Damage Amount Max := $0A\r\n"
                              "Key Group := -$10\r\n"
                              "Display Chest Window := TRUE\r\n"
                              "// a comment line\r\n"
                              "\r\n"
                              "Name := Shield\r\n"
                              "NAME := second name ignored\r\n"
                              "Type := Shield\r\n"
                              "Movement Strategy := Wander\r\n"
                              "Effect 1 Type := Fire Damage\r\n"
                              "Light Radius Generated := 99999999999\r\n"
                              "Weight := 1e400\r\n"
                              "*END*\r\n"
                              "Name := after the end\r\n";

// "Name := Меч" and "Description := Старый клинок" in Windows-1251.
const TBytes Cp1251_File = [] {
    TBytes b = Text("Items\r\n*BEGIN*\r\n\r\n\r\nName := ");
    for (uint8_t c : {0xCC, 0xE5, 0xF7}) b.push_back(c);
    const TBytes middle = Text("\r\nDescription := ");
    b.insert(b.end(), middle.begin(), middle.end());
    for (uint8_t c : {0xD1, 0xF2, 0xE0, 0xF0, 0xFB, 0xE9, 0x20, 0xEA, 0xEB, 0xE8, 0xED, 0xEE, 0xEA})
        b.push_back(c);
    const TBytes end = Text("\r\nType := Weapon\r\n*END*\r\n");
    b.insert(b.end(), end.begin(), end.end());
    return b;
}();

void Data_File_Seeds() {
    Write_Seed("data_file", "utf8", Text(Utf8_File));
    Write_Seed("data_file", "utf8_bom", Text("\xEF\xBB\xBF" + Utf8_File));
    Write_Seed("data_file", "cp1251", Cp1251_File);
    Write_Seed("data_file", "cut_in_header", Text("Title\r\n*BEGIN*\r\n"));
    Write_Seed("data_file", "no_begin", Text("Title\r\nName := x\r\n"));
    Write_Seed("data_file", "lf_only", Text("T\n*BEGIN*\n\n\nName := a\nValue:=b\n\n\nName := c\n"));
    Write_Seed("data_file", "no_last_line_end", Text("T\r\n*BEGIN*\r\n\r\n\r\nName := a\r\nID := 3"));
    Write_Seed("data_file", "settings",
               Text("Settings\r\n*BEGIN*\r\n\r\n\r\n"
                    "Allow Sound := TRUE\r\nAllow Music := YES\r\n"
                    "Use DirectSound := false\r\nMusic Song Intro := intro.ogg\r\n"
                    "*END*\r\n"));
}

// ----- WAVE files, laid out by hand -----

void Put_16(TBytes& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put_32(TBytes& out, uint32_t v) {
    Put_16(out, v & 0xFFFF);
    Put_16(out, v >> 16);
}
void Put_Id(TBytes& out, const char* id) {
    out.insert(out.end(), id, id + 4);
}

// A chunk: id, size, body, and the pad byte after an odd body.
void Put_Chunk(TBytes& out, const char* id, const TBytes& body, uint32_t declared_size) {
    Put_Id(out, id);
    Put_32(out, declared_size);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
}

TBytes Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, const TBytes& extra = {},
              bool with_extra_size = false) {
    TBytes f;
    const uint16_t align = uint16_t(channels * bits / 8);
    Put_16(f, tag), Put_16(f, channels), Put_32(f, rate), Put_32(f, rate * align), Put_16(f, align);
    Put_16(f, bits);
    if (with_extra_size) {
        Put_16(f, uint32_t(extra.size()));
        f.insert(f.end(), extra.begin(), extra.end());
    }
    return f;
}

TBytes Samples(size_t count, uint16_t bits) {
    TBytes s;
    for (size_t i = 0; i < count; ++i) {
        if (bits == 8)
            s.push_back(uint8_t(128 + (i % 16) * 8));
        else
            Put_16(s, uint32_t(int16_t((i % 32) * 1000 - 16000)) & 0xFFFF);
    }
    return s;
}

TBytes Wave(const char* riff, const char* form, const std::vector<std::pair<const char*, TBytes>>& chunks,
            uint32_t data_size_override = 0) {
    TBytes body;
    Put_Id(body, form);
    for (const auto& [id, bytes] : chunks) {
        const bool is_data = std::string(id) == "data";
        Put_Chunk(body, id, bytes,
                  is_data && data_size_override ? data_size_override : uint32_t(bytes.size()));
    }
    TBytes file;
    Put_Id(file, riff);
    Put_32(file, uint32_t(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

void Wave_Seeds() {
    const TBytes pcm16 =
        Wave("RIFF", "WAVE", {{"fmt ", Format(1, 1, 22050, 16)}, {"data", Samples(200, 16)}});
    Write_Seed("wave", "pcm16_mono", pcm16);
    Write_Seed("wave", "pcm8_stereo",
               Wave("RIFF", "WAVE", {{"fmt ", Format(1, 2, 11025, 8)}, {"data", Samples(301, 8)}}));
    // Another chunk before the data, an odd-sized one, and a format with its extra bytes.
    Write_Seed("wave", "list_before_data",
               Wave("RIFF", "WAVE",
                    {{"fmt ", Format(1, 1, 8000, 8)}, {"LIST", Text("INFOabc")}, {"data", Samples(99, 8)}}));
    Write_Seed("wave", "adpcm_extra",
               Wave("RIFF", "WAVE",
                    {{"fmt ", Format(2, 1, 22050, 4, TBytes{0xF4, 0x01, 0x07, 0x00}, true)},
                     {"data", Samples(64, 8)}}));
    Write_Seed("wave", "rifx",
               Wave("RIFX", "WAVE", {{"fmt ", Format(1, 1, 22050, 16)}, {"data", Samples(8, 16)}}));
    Write_Seed("wave", "not_wave", Wave("RIFF", "AVI ", {{"fmt ", Format(1, 1, 22050, 16)}}));
    Write_Seed("wave", "short_fmt",
               Wave("RIFF", "WAVE", {{"fmt ", Cut(Format(1, 1, 22050, 16), 14)}, {"data", Samples(8, 16)}}));
    Write_Seed("wave", "no_data", Wave("RIFF", "WAVE", {{"fmt ", Format(1, 1, 22050, 16)}}));
    Write_Seed(
        "wave", "huge_data_size",
        Wave("RIFF", "WAVE", {{"fmt ", Format(1, 1, 22050, 16)}, {"data", Samples(8, 16)}}, 0xFFFFFFF0u));
    Write_Seed("wave", "cut_in_format", Cut(pcm16, 30));
    Write_Seed("wave", "cut_in_data", Cut(pcm16, pcm16.size() - 11));
}


// ----- BMP pictures: every bit count the reader takes, a top-down file and broken headers -----

void Put32(TBytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TBytes Bmp(int32_t width, int32_t height, uint16_t bits, uint32_t colours) {
    const uint32_t row = ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4;
    const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    const uint32_t offset = 14 + 40 + colours * 4;
    TBytes b(offset + row * rows, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, offset);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<uint8_t>(bits);
    Put32(b, 46, colours);
    for (uint32_t i = 0; i < colours; ++i) Put32(b, 54 + i * 4, 0x00FF00FFu ^ (i * 0x00010203u));
    for (size_t i = offset; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 37);
    return b;
}

void Bmp_Seeds() {
    Write_Seed("bmp", "rgb24", Bmp(9, 7, 24, 0));
    Write_Seed("bmp", "indexed8", Bmp(13, 5, 8, 16));
    Write_Seed("bmp", "indexed4", Bmp(11, 6, 4, 16));
    Write_Seed("bmp", "mono1", Bmp(33, 4, 1, 2));
    Write_Seed("bmp", "top_down", Bmp(8, -8, 24, 0));
    Write_Seed("bmp", "bits2", Bmp(8, 8, 2, 4));
    TBytes offset_inside = Bmp(8, 8, 8, 4);
    Put32(offset_inside, 10, 20);
    Write_Seed("bmp", "offset_inside_header", offset_inside);
    Write_Seed("bmp", "cut_in_rows", Cut(Bmp(20, 20, 24, 0), 400));
    Write_Seed("bmp", "cut_in_header", Cut(Bmp(20, 20, 24, 0), 30));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: murk_fuzz_seeds CORPUS_FOLDER\n";
        return 2;
    }
    try {
        Root = argv[1];
        Stream_Seeds();
        Data_File_Seeds();
        Wave_Seeds();
        Bmp_Seeds();
    } catch (const std::exception& e) {
        std::cerr << "murk_fuzz_seeds: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
