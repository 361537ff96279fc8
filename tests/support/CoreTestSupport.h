// Scaffolding shared by the world model's tests: a program folder of its own for each test, the
// recording message and sound sinks, literal data files, and a fake record for sub-record readers.
#pragma once

#include "core/DataFileLoader.h"
#include "core/Messages.h"
#include "core/SoundSeam.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Each test gets a temporary program folder (base), fresh path settings, the recording sinks, the game
// profile and a seeded generator; everything is put back afterwards.
class TProgram_Folder_Test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TTemp_Folder Folder;
    std::shared_ptr<TRecording_Message_Sink> Messages;
    std::shared_ptr<TRecording_Sound_Sink> Sounds;

private:
    std::string Saved_Base;
};

// A record as key/value pairs in line order.
using TKeys = std::vector<std::pair<std::string, std::string>>;

// The keys with changes applied: a key present is replaced, "<drop>" removes it, a new key is appended.
TKeys With(TKeys keys, const TKeys& changes);

// A data file of the records, each record separated by one blank line, ending with "*END*" (CR LF lines).
std::string Data_File_Text(const std::vector<TKeys>& records, const std::string& title = "Test data");
// A terrain file of two records, a floor (id 1) and a wall (id 2), with every key a terrain record needs.
std::string Floor_And_Wall_Terrain_File();

// Every field of every record of a data file, in file order (nothing when the file is missing).
class TField_Collector : public TData_File_Loader {
public:
    using TData_File_Loader::TData_File_Loader;
    std::vector<TData_Field> Fields;

protected:
    void Process_Record(int32_t) override {
        Fields.insert(Fields.end(), Current_Fields().begin(), Current_Fields().end());
    }
};

// The fields of one record as a sub-record reader sees them; every report is kept as one line
// ("missing <field>" or "invalid <field> = '<value>'").
struct TFake_Record {
    std::map<std::string, std::string> Fields;
    std::vector<std::string> Errors;
    TField_Reader Reader();
};

// Loads a display-effect table whose effect n is names[n - 1] (Frames effects) from a file written into
// the folder's "Data/Effects.txt"; the path settings must point at that folder.
void Install_Test_Display_Effects(const TTemp_Folder& folder, const std::vector<std::string>& names);
