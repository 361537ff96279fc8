// The module record: its bytes follow the module file's layout (encoded apart from the module's writer),
// read back into every field, and reading replaces what the module held before.
#include "core/Module.h"
#include "core/SaveGame.h"
#include "tests/core/ModuleLayouts.h"

#include <gtest/gtest.h>

namespace {

using namespace golden;

std::vector<uint8_t> Saved(const TModule& m) {
    TStream_Writer w;
    m.Save(w);
    return w.Bytes();
}

TEST(ModuleFile, BytesFollowTheLayoutAndReadBackIntoEveryField) {
    TModule sample;
    Fill_Sample_Module(sample);
    const TFields layout = Module_Fields(sample);
    ASSERT_TRUE(Values_Distinct(layout));
    const std::vector<uint8_t> bytes = Saved(sample);
    EXPECT_TRUE(Bytes_Match(bytes, layout));

    // The name stored in the file is never used: the module takes the name it is read under.
    TModule read;
    TStream_Reader r(bytes);
    ASSERT_TRUE(read.Load(r, "module.mod"));
    EXPECT_TRUE(r.At_End());
    EXPECT_EQ(read.File_Name, "module.mod");
    TFields expected = layout;
    Field_Named(expected, "File_Name").Text = "module.mod";
    EXPECT_TRUE(Bytes_Match(Saved(read), expected));
    EXPECT_EQ(read.Paragraph_Count(), 2);
    EXPECT_EQ(read.Map_Count(), 2);
    EXPECT_EQ(read.Get_Map(2)->Connection_Count(), 2);
}

TEST(ModuleFile, ALoadReplacesEverythingTheModuleHeld) {
    TModule first;
    Fill_Sample_Module(first);
    first.Paragraphs.push_back("A third paragraph.");
    TModule second;
    second.Module_Name = "Empty";
    second.Paragraphs = {"Only this."};
    TModule_Map bare;
    bare.Map_Number = 1;
    second.Maps.push_back(bare); // a map without connections

    TModule target;
    for (const TModule* source : {&first, &second}) {
        TStream_Reader r(Saved(*source));
        target.Load(r, "Module.mod");
    }
    EXPECT_EQ(target.Paragraphs, second.Paragraphs);
    ASSERT_EQ(target.Map_Count(), 1);
    EXPECT_EQ(target.Get_Map(1)->Connection_Count(), 0);
    EXPECT_EQ(target.Quests.Quest_Count(), 0);
    EXPECT_EQ(target.Events.Event_Count(), 0);

    // No maps at all: the count alone.
    TModule none;
    EXPECT_TRUE(Bytes_Match(Saved(none), Module_Fields(none)));
    TStream_Reader r(Saved(none));
    target.Load(r, "Module.mod");
    EXPECT_EQ(target.Map_Count(), 0);
    EXPECT_EQ(target.Get_Map(1), nullptr);
}

TEST(ModuleFile, MusicOfTheCurrentMapOnlyForAPositionInsideTheMaps) {
    TModule m;
    Fill_Sample_Module(m);
    const struct {
        uint16_t Position;
        const char* Music;
    } cases[] = {{0, ""}, {1, "tune1.mid"}, {2, "tune2.mid"}, {3, ""}, {65535, ""}};
    for (const auto& c : cases) {
        m.Set_Current_Map(c.Position, 7, 8);
        EXPECT_EQ(m.Get_Current_Map_Music(), c.Music) << "position " << c.Position;
    }
    EXPECT_EQ(m.Current_X, 7);
    EXPECT_EQ(m.Current_Y, 8);
}

// Thirty records of the smallest size each list can hold read back: the check of a count against the bytes
// left must not refuse a file that holds them.
TEST(ModuleFile, ListsOfTheSmallestRecordsReadBack) {
    for (int list = 0; list < 6; ++list) {
        TModule m;
        for (int n = 0; n < 30; ++n) {
            if (list == 0) m.Maps.emplace_back();
            if (list == 1) m.Quests.Quests.emplace_back();
            if (list == 2) m.Events.Events.emplace_back();
        }
        if (list == 3) {
            m.Maps.emplace_back();
            m.Maps[0].Connections.resize(30);
        }
        if (list >= 4) m.Events.Events.emplace_back();
        if (list == 4) m.Events.Events[0].Triggers.resize(30);
        if (list == 5) m.Events.Events[0].Results.resize(30);
        const std::vector<uint8_t> bytes = Saved(m);
        TModule read;
        TStream_Reader r(bytes);
        ASSERT_NO_THROW(read.Load(r, "")) << "list " << list;
        EXPECT_EQ(Saved(read), bytes) << "list " << list;
    }
}

TEST(ModuleFile, ConnectionsAndMapsByNumber) {
    TModule m;
    Fill_Sample_Module(m);
    TModule_Map& map = *m.Get_Map(2);
    for (int32_t n : {0, 3, -1}) {
        EXPECT_EQ(m.Get_Map(n), nullptr) << n;
        EXPECT_EQ(map.Get_Connection(n), nullptr) << n;
    }
    for (int32_t n : {1, 2}) {
        ASSERT_NE(map.Get_Connection(n), nullptr);
        EXPECT_EQ(map.Get_Connection(n)->Connection_Number, n);
        EXPECT_EQ(m.Get_Map(n)->Map_Number, n);
    }
}

// Every cut of the file and every count larger than the bytes left is a read error, never a crash or a
// huge allocation.
TEST(ModuleFile, ShortFilesAndImpossibleCountsFailTheRead) {
    TModule sample;
    Fill_Sample_Module(sample);
    TStream_Writer w;
    Write_Module_File_Body(w, sample);
    const std::vector<uint8_t> bytes = w.Bytes();
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        TModule m;
        TStream_Reader r(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        EXPECT_THROW(Read_Module_File_Body(r, m, "Module.mod"), EStream_Read_Error) << "cut at " << cut;
    }
    std::vector<size_t> starts;
    const TFields layout = Join({{{TKind::String, "version", "1.06"}}, Module_Fields(sample)});
    Encode(layout, &starts);
    for (const char* count : {"map count", "map 1 connection count", "quest count", "event count",
                              "event 1 trigger count", "event 1 result count"}) {
        size_t at = 0;
        while (layout[at].Name != count) ++at;
        std::vector<uint8_t> damaged(bytes.begin(), bytes.begin() + static_cast<long>(starts[at]));
        for (uint8_t b : {4, 0xFF, 0xFF, 0, 0}) damaged.push_back(b); // 65535 as a 32-bit integer
        damaged.insert(damaged.end(), bytes.begin() + static_cast<long>(starts[at + 1]), bytes.end());
        TModule m;
        TStream_Reader r(damaged);
        EXPECT_THROW(Read_Module_File_Body(r, m, "Module.mod"), EStream_Read_Error) << count;
    }
}

} // namespace
