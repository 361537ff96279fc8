// murk_fuzz_seeds CORPUS_FOLDER: writes the seed inputs of the fuzz targets, one folder per target
// (CORPUS_FOLDER/fuzz_<name>/<seed>): valid files, files cut short, wrong tags and sizes, and a
// Windows-1251 data file. Every seed stays under 4 KB. The same run always gives the same bytes.
// murk_fuzz_seeds --maps FOLDER: writes the whole-map seeds of fuzz_map_file (about 400 KB each) into
// FOLDER; the build makes them, they are not committed.
#include "core/HighScores.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/SaveGame.h"
#include "core/SaveStream.h"

#include <algorithm>
#include <array>
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

// ----- saved files: module, "game.id", characters, high scores -----

// The bytes with the tag at position at replaced by one no reader of that value takes there.
TBytes Wrong_Tag(TBytes bytes, size_t at) {
    bytes.at(at) = bytes[at] == Tag_Int32 ? Tag_False : Tag_Int32;
    return bytes;
}

// The position of the first value tag after position from (a string of the writer's: short tag, length,
// bytes), found by writing the same values again up to there.
size_t After_Strings(const std::vector<std::string>& strings) {
    return Stream([&](TStream_Writer& w) {
               for (const std::string& s : strings) Write_String(w, s);
           })
        .size();
}

void Fill_Module(TModule& m) {
    m.Module_Name = "Barrowdeep";
    m.Description = "Under the hill";
    m.Paragraphs = {"The dead stir.", "Спуститесь вниз."};
    m.Character_Data_Set = "Vale";
    m.Start_Map = 1;
    m.Start_X = 12;
    m.Start_Y = 13;
    m.Current_Map = 2;
    m.Current_X = 100;
    m.Current_Y = 101;
    m.File_Name = "Module.mod";
    for (uint16_t n = 1; n <= 2; ++n) {
        TModule_Map map;
        map.Map_Number = n;
        map.Display_Name = "Map " + std::to_string(n);
        map.Music_File = "tune" + std::to_string(n) + ".mid";
        map.Item_Level_Min = n;
        map.Item_Level_Max = static_cast<uint16_t>(n + 4);
        map.Monster_Level_Min = n;
        map.Monster_Level_Max = static_cast<uint16_t>(n + 5);
        map.Magic_Item_Chance = 10;
        map.Unique_Item_Chance = 2;
        map.Monster_Modifier_Chance = 20;
        map.Item_Grouping_Type = "Barrow";
        map.Monster_Grouping_Type = "Undead";
        for (uint8_t type = Connection_Two_Way_Always; type <= Connection_One_Way_Only; ++type)
            map.Connections.push_back({type, static_cast<uint16_t>(3 - n), static_cast<uint16_t>(20 + type),
                                       30, static_cast<uint16_t>(40 + type), 50, type, type % 2 == 0});
        m.Maps.push_back(map);
    }
    TModule_Quest quest;
    quest.Quest_Id = 1;
    quest.Quest_Name = "The Barrow King";
    quest.Description = "Lay him to rest";
    quest.Experience = 500;
    quest.Completion_Paragraphs = {"Done."};
    m.Quests.Quests.push_back(quest);
    TModule_Event talk;
    talk.Event_Id = 1;
    talk.Enabled = true;
    talk.Triggers.push_back({Trigger_Monster_Talked_To_About_Topic, 0, 0, 0, 7, 0, 0, 1, 0});
    TModule_Event_Result visible;
    visible.Result_Type = Result_Quest_Visible_True;
    visible.Quest_Id = 1;
    TModule_Event_Result text;
    text.Result_Type = Result_Display_Text;
    text.Text_Title = "The elder";
    text.Paragraphs = {"Go down.", "Come back."};
    talk.Results = {visible, text};
    TModule_Event kill;
    kill.Event_Id = 2;
    kill.Enabled = true;
    kill.Permanent = true;
    kill.Triggers.push_back({Trigger_Monster_Killed, 0, 0, 0, 65535, 0, 0, 0, 0});
    TModule_Event_Result complete;
    complete.Result_Type = Result_Quest_Completed;
    complete.Quest_Id = 1;
    TModule_Event_Result music;
    music.Result_Type = Result_Play_Music;
    music.Music_File = "end.mid";
    kill.Results = {complete, music};
    m.Events.Events = {talk, kill};
}

void Module_Seeds() {
    TModule module;
    Fill_Module(module);
    const TBytes valid = Stream([&](TStream_Writer& w) { Write_Module_File_Body(w, module); });
    Write_Seed("module_file", "valid", valid);
    Write_Seed("module_file", "cut", Cut(valid, valid.size() * 2 / 3));
    Write_Seed("module_file", "wrong_tag_in_name", Wrong_Tag(valid, After_Strings({Save_File_Version})));
    TModule empty;
    Write_Seed("module_file", "empty_module",
               Stream([&](TStream_Writer& w) { Write_Module_File_Body(w, empty); }));
    // A map count far beyond the bytes that follow.
    Write_Seed("module_file", "huge_map_count", Stream([](TStream_Writer& w) {
                   for (const char* s : {Save_File_Version, "M", "", ""}) Write_String(w, s);
                   Write_Word(w, 0);
                   Write_String(w, "");
                   for (int n = 0; n < 6; ++n) Write_Word(w, 1);
                   Write_Word(w, 65535);
               }));
}

void Game_Id_Seeds() {
    TGame_Id id;
    id.Description = "Before the barrow";
    id.Map_File_Name = "1.map";
    id.Module_File_Name = "Module.mod";
    id.Player_Id = 3;
    id.Module_Name = "Barrowdeep/";
    id.Options.Difficulty = 3;
    id.Options.Weapon_Sets[1] = {"Sword", 4, "Shield", 5, 2};
    const TBytes valid = Stream([&](TStream_Writer& w) { Write_Game_Id_Body(w, id); });
    Write_Seed("game_id", "valid", valid);
    Write_Seed("game_id", "cut", Cut(valid, valid.size() - 7));
    Write_Seed("game_id", "wrong_tag_in_player",
               Wrong_Tag(valid, After_Strings({id.Description, Save_File_Version, id.Map_File_Name,
                                               id.Module_File_Name})));
    for (const auto& [name, map, module, folder] :
         std::vector<std::array<std::string, 4>>{{"climbing_map", "../1.map", "Module.mod", "Barrowdeep/"},
                                                 {"absolute_module", "1.map", "/etc/Module.mod", ""},
                                                 {"climbing_folder", "1.map", "Module.mod", "../../x/"},
                                                 {"backslash_map", "a\\b.map", "Module.mod", ""}}) {
        TGame_Id refused = id;
        refused.Map_File_Name = map;
        refused.Module_File_Name = module;
        refused.Module_Name = folder;
        Write_Seed("game_id", name, Stream([&](TStream_Writer& w) { Write_Game_Id_Body(w, refused); }));
    }
}

// A creature with an item in an equipment slot and one in the backpack, talk, effects and a spell, as a
// character file; the items are made in a map of their own.
TBytes Character(const std::function<void(TStream_Writer&, const TMonster&)>& write) {
    Install_Current_Map(std::make_unique<TMap>());
    TMap& map = *Current_Map();
    TMonster hero;
    hero.Set_Name("Hero");
    hero.Description = "Герой";
    hero.Class_Name = "Fighter";
    hero.Level = 3;
    hero.Experience = 4000;
    hero.Base_Strength = hero.Base_Dexterity = hero.Base_Intelligence = hero.Base_Constitution = 20;
    hero.Life = 25.5;
    hero.Mana = 3;
    hero.Food = 30;
    hero.Gold = 120;
    hero.Talk_Topics = {"Barrow"};
    hero.Talk_Texts = {"Deep."};
    hero.Permanent_Effects.Add_Effect(Effect_Life, 5, 5);
    TItem mail;
    mail.Name = "Mail";
    mail.Item_Type = 3;
    mail.Effects.Add_Effect(Effect_Life, 10, 10);
    TItem bread;
    bread.Name = "Bread";
    bread.Quantity = 2;
    hero.Inventory.Put_In_Slot(map.Item_List.Item(map.Item_List.Add(&mail)), 3);
    hero.Inventory.Put_In_Slot(map.Item_List.Item(map.Item_List.Add(&bread)), 40);
    const TBytes bytes = Stream([&](TStream_Writer& w) { write(w, hero); });
    Install_Current_Map(nullptr);
    return bytes;
}

void Character_Seeds() {
    const TBytes valid = Character(Write_Character_File_Body);
    Write_Seed("character", "valid", valid);
    Write_Seed("character", "cut", Cut(valid, valid.size() - 20));
    Write_Seed("character", "wrong_tag_in_id", Wrong_Tag(valid, After_Strings({Save_File_Version})));
    // The items at slots outside the inventory, repeated, and beyond the count the bytes hold.
    const auto with_slots = [](const std::vector<uint16_t>& slots, uint16_t count) {
        return Character([&](TStream_Writer& w, const TMonster& hero) {
            Write_String(w, Save_File_Version);
            hero.Save_To_Stream(w);
            Write_Word(w, count);
            for (uint16_t slot : slots) {
                Write_Word(w, slot);
                hero.Inventory.Item_In_Slot(40)->Save_To_Stream(w);
            }
        });
    };
    Write_Seed("character", "bad_and_repeated_slots", with_slots({0, 40, 40, 91}, 4));
    Write_Seed("character", "huge_item_count", with_slots({40}, 60000));
    Write_Seed("character", "old_version", Character([](TStream_Writer& w, const TMonster& hero) {
                   // Without the home square and the experience bonus; the record's later fields shift.
                   Write_String(w, "1.00");
                   hero.Save_To_Stream(w);
                   Write_Word(w, 0);
               }));
}

void High_Score_Seeds() {
    THigh_Scores_List table;
    table.Add("Ann", "Fighter", 5, 1000);
    table.Add("Бор", "Маг", 5, 800);
    table.Add("Cid", "Thief", 2, -5);
    const TBytes valid = Stream([&](TStream_Writer& w) { table.Write(w); });
    Write_Seed("high_scores", "valid", valid);
    Write_Seed("high_scores", "cut", Cut(valid, valid.size() / 2));
    Write_Seed("high_scores", "wrong_tag_in_level",
               Wrong_Tag(valid, After_Strings({Save_File_Version, "Ann", "Fighter"})));
    TBytes other_version = valid;
    other_version.at(5) = '0'; // "1.06" (a short string: tag, length, text) becomes "1.00"
    Write_Seed("high_scores", "other_version", other_version);
    Write_Seed("high_scores", "empty_table", Stream([](TStream_Writer& w) { THigh_Scores_List().Write(w); }));
}

// ----- map files: a whole map of the fixture module -----

// The files of the fixture module (tests/data/modules/TwoMaps) the map names: its terrain file and the
// class files of its stores (store class 1 exists, 2 does not).
constexpr const char* Map_Terrain_File = "TwoMaps_Terrain.txt";
constexpr const char* Map_Store_Class_File = "TwoMaps_Stores.txt";
constexpr const char* Map_Item_Class_File = "TwoMaps_ItemClasses.txt";
// Maps store the terrain file with the path it was made from; only its last part is used.
const std::string Stored_Terrain_Path = std::string("C:\\Murk\\Modules\\TwoMaps\\Tiles\\") + Map_Terrain_File;

// A whole 200 x 200 map (about 400 KB) with something in every part of the record: floors and walls,
// seen and locked squares, creatures carrying items, items lying about, a pile, two stores, chests,
// locks and traps. The terrain file is named as maps store it, with the path it was made from.
TBytes Whole_Map() {
    Install_Current_Map(std::make_unique<TMap>());
    TMap& map = *Current_Map();
    map.Set_Name("Barrow, level 1");
    map.Terrain_List.File_Name = Stored_Terrain_Path;
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) {
            TMap_Square& square = *map.Get_Square(x, y);
            const bool wall = x == 1 || y == 1 || x == Map_Width || y == Map_Height || (x % 17 == 0 && y % 5);
            square.Terrain_Id = wall ? 3 : 1; // the fixture's rock and grass
            square.Border_Type = static_cast<uint8_t>((x + y) % 4);
            square.Set_Seen(x < 40 && y < 40);
        }
    const auto item = [&](const std::string& name, uint8_t type) {
        TItem made;
        made.Name = name;
        made.Item_Type = type;
        made.Picture = name + ".bmp";
        return map.Item_List.Item(map.Item_List.Add(&made));
    };
    for (int n = 0; n < 3; ++n) {
        TMonster creature;
        creature.Set_Name("Wight " + std::to_string(n));
        creature.Level = static_cast<uint16_t>(2 + n);
        creature.Set_Position(static_cast<uint8_t>(20 + n), 20);
        creature.Talk_Topics = {"Barrow"};
        creature.Talk_Texts = {"Leave."};
        TMonster* stored = map.Monster_List.Add_Monster(creature);
        stored->Inventory.Put_In_Slot(item("Blade " + std::to_string(n), 1), 1 + n);
        map.Place_Monster(*stored);
    }
    map.Get_Square(30, 30)->Drop_Item(item("Coin", 0));
    map.Get_Square(31, 30)->Drop_Item(item("Bone", 0));
    map.Get_Square(31, 30)->Drop_Item(item("Skull", 0));
    for (uint16_t n = 1; n <= 2; ++n) {
        auto store = std::make_unique<TStore>();
        store->Init(n, Map_Store_Class_File, Map_Item_Class_File);
        store->Store_Name = "Store " + std::to_string(n);
        map.Add_Store(std::move(store));
    }
    TWordList chest;
    chest.Add(item("Ring", 0)->Id);
    map.Add_Chest(chest, 40, 41);
    map.Add_Chest(TWordList(), 42, 43);
    map.Set_Lock("Crypt Key", 40, 41, true);
    map.Set_Trap("Darts", 7, 8, true);
    const TBytes bytes = Stream([&](TStream_Writer& w) { Write_Map_File_Body(w, map); });
    Install_Current_Map(nullptr);
    return bytes;
}

// The place of the first byte after the squares: the terrain path's tag follows the universal-light flag.
size_t Terrain_Name_At(const TBytes& map) {
    const TBytes encoded = Stream([](TStream_Writer& w) { Write_String(w, Stored_Terrain_Path); });
    const auto at = std::search(map.begin(), map.end(), encoded.begin(), encoded.end());
    if (at == map.end()) throw std::runtime_error("the map holds no terrain name");
    return static_cast<size_t>(at - map.begin());
}

// Committed: what stays under 4 KB of a whole map.
void Map_Seeds() {
    const TBytes map = Whole_Map();
    Write_Seed("map_file", "cut_in_squares", Cut(map, 3000));
    Write_Seed("map_file", "cut_in_version", Cut(map, 3));
}

// Made at build time into folder: whole maps, too large to commit.
void Write_Made_Map_Seeds(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const auto write = [&](const std::string& name, const TBytes& bytes) {
        std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + (folder / name).string());
    };
    const TBytes map = Whole_Map();
    write("whole", map);
    const size_t terrain = Terrain_Name_At(map);
    write("cut_after_squares", Cut(map, terrain + 10));
    write("cut_in_stores", Cut(map, map.size() - 200));
    write("wrong_tag_in_terrain_name", Wrong_Tag(map, terrain));
    // The terrain path replaced by one whose last part climbs out of the tiles folder.
    TBytes climbing = Cut(map, terrain);
    const TBytes rest(map.begin() + static_cast<long>(terrain + 2 + Stored_Terrain_Path.size()), map.end());
    const TBytes name = Stream([](TStream_Writer& w) { Write_String(w, "Tiles\\.."); });
    climbing.insert(climbing.end(), name.begin(), name.end());
    climbing.insert(climbing.end(), rest.begin(), rest.end());
    write("terrain_name_climbing", climbing);
}

} // namespace

int main(int argc, char** argv) {
    const bool made = argc == 3 && std::string(argv[1]) == "--maps";
    if (argc != 2 && !made) {
        std::cerr << "usage: murk_fuzz_seeds CORPUS_FOLDER | murk_fuzz_seeds --maps FOLDER\n";
        return 2;
    }
    try {
        if (made) {
            Write_Made_Map_Seeds(argv[2]);
            return 0;
        }
        Root = argv[1];
        Stream_Seeds();
        Data_File_Seeds();
        Wave_Seeds();
        Bmp_Seeds();
        Module_Seeds();
        Game_Id_Seeds();
        Character_Seeds();
        High_Score_Seeds();
        Map_Seeds();
    } catch (const std::exception& e) {
        std::cerr << "murk_fuzz_seeds: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
