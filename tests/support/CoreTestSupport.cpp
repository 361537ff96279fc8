#include "tests/support/CoreTestSupport.h"

#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/Path.h"
#include "core/Profile.h"

#include <tuple>

void TProgram_Folder_Test::SetUp() {
    Saved_Base = Base_Folder();
    Set_Base_Folder(Folder.Path());
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    Messages = std::make_shared<TRecording_Message_Sink>();
    Install_Message_Sink(Messages);
    Sounds = std::make_shared<TRecording_Sound_Sink>();
    Install_Sound_Sink(Sounds);
    Set_Run_Profile(TRun_Profile::Game);
    Seed_Random(1);
}

void TProgram_Folder_Test::TearDown() {
    Set_Run_Profile(TRun_Profile::Game);
    Install_Sound_Sink(nullptr);
    Install_Message_Sink(nullptr);
    Install_Path_Settings(nullptr);
    Set_Base_Folder(Saved_Base);
}

TKeys With(TKeys keys, const TKeys& changes) {
    for (const auto& [key, value] : changes) {
        bool found = false;
        for (auto it = keys.begin(); it != keys.end(); ++it) {
            if (it->first != key) continue;
            found = true;
            if (value == "<drop>")
                keys.erase(it);
            else
                it->second = value;
            break;
        }
        if (!found && value != "<drop>") keys.emplace_back(key, value);
    }
    return keys;
}

std::string Data_File_Text(const std::vector<TKeys>& records, const std::string& title) {
    std::string text = title + "\r\n*BEGIN*\r\n\r\n\r\n";
    for (size_t i = 0; i < records.size(); ++i) {
        if (i > 0) text += "\r\n";
        for (const auto& [key, value] : records[i]) text += key + " := " + value + "\r\n";
    }
    return text + "*END*\r\n";
}

std::string Floor_And_Wall_Terrain_File() {
    std::vector<TKeys> records;
    for (auto [name, id, open] : {std::tuple{"Floor", "1", "TRUE"}, {"Wall", "2", "FALSE"}}) {
        TKeys keys = {{"Name", name},
                      {"ID", id},
                      {"Terrain Category", "floor"},
                      {"Picture Filename L1", std::string(name) + ".bmp"},
                      {"Sight Side Hidden", "None"},
                      {"Sight Hidden Layer", "3"},
                      {"Overview Color", "1,2,3"},
                      {"Damage Firing FX", "None"},
                      {"Next Terrain Action", "None"}};
        for (const char* key : {"Movement Flag Land", "Movement Flag Air", "Vision Flag Normal"})
            keys.emplace_back(key, open);
        for (const char* key : {"Movement Flag Water", "Movement Flag Ethereal", "Display Chest Window"})
            keys.emplace_back(key, "FALSE");
        for (const char* key :
             {"Next Animated Terrain ID", "Light Radius Generated", "Style", "Damage Amount Min",
              "Damage Amount Max", "Damage Maximum Range", "Next Terrain ID 1", "Next Terrain ID 2",
              "Next Terrain ID 3", "Next Terrain ID 4", "Number of Duplicate Terrains",
              "Number of Locked Key Groups"})
            keys.emplace_back(key, "0");
        for (const char* key : {"Description", "Picture Filename L2", "Picture Filename L3",
                                "Next Terrain Sound File", "Locked Terrain Group", "Trapped Terrain Group"})
            keys.emplace_back(key, "");
        records.push_back(keys);
    }
    return Data_File_Text(records);
}

TField_Reader TFake_Record::Reader() {
    return {[this](const std::string& name, std::string& value, bool report_missing) {
                value.clear();
                const auto found = Fields.find(name);
                if (found == Fields.end()) {
                    if (report_missing) Errors.push_back("missing " + name);
                    return false;
                }
                value = found->second;
                return true;
            },
            [this](const std::string& value, const std::string& field_name) {
                Errors.push_back("invalid " + field_name + " = '" + value + "'");
            }};
}

void Install_Test_Display_Effects(const TTemp_Folder& folder, const std::vector<std::string>& names) {
    std::vector<TKeys> records = {{{"Number Of Effect Bitmaps", "1"}, {"Bitmap 1 Name", "fx.bmp"}}};
    for (const std::string& name : names)
        records.push_back({{"Name", name},
                           {"Type", "Frames"},
                           {"Bitmap Index", "1"},
                           {"Bitmap Square X Offset", "32"},
                           {"Bitmap Square Y Offset", "32"},
                           {"Bitmap Start Xpos", "0"},
                           {"Bitmap Start Ypos", "0"},
                           {"Bitmap End Xpos", "0"},
                           {"Bitmap End Ypos", "0"},
                           {"Bitmap Picture Width", "32"},
                           {"Bitmap Picture Height", "32"},
                           {"Total Number Of Frames", "8"},
                           {"Frames Per Line", "8"},
                           {"Animation Loop Count", "0"},
                           {"Animation Speed", "100"},
                           {"Damage FX At End", "TRUE"}});
    folder.Write("Data/Effects.txt", Data_File_Text(records, "Display effects"));
    ASSERT_TRUE(Load_Display_Effects());
    ASSERT_EQ(Display_Effect_Count(), static_cast<int32_t>(names.size()));
}
