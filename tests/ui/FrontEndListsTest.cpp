#include "ui/FrontEndLists.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using TNames = std::vector<std::string>;

TEST(FrontEndListsTest, FoldsAsciiAndCyrillicCapitals) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ABC xyz", "abc xyz"},
        {"АБВГДЕЖЗИЙКЛМНОП", "абвгдежзийклмноп"},
        {"РСТУФХЦЧШЩЪЫЬЭЮЯ", "рстуфхцчшщъыьэюя"},
        {"ЁЂЏ", "ёђџ"},
        {"уже строчные ёж", "уже строчные ёж"},
        {"Ω 1-2_[]", "Ω 1-2_[]"}, // other letters and signs stay
        {"\xD0", "\xD0"},         // a cut sequence stays as it is
    };
    for (const auto& [text, folded] : cases) EXPECT_EQ(Fold_Case(text), folded) << text;
}

TEST(FrontEndListsTest, SortsIgnoringCase) {
    const std::vector<std::tuple<std::string, std::string, bool>> cases = {
        {"A", "b", true},  {"b", "A", false}, {"Б", "в", true},
        {"в", "Б", false}, {"B", "b", true},  {"b", "B", false}, // equal ignoring case: byte order decides
        {"b", "b", false},
    };
    for (const auto& [a, b, less] : cases) EXPECT_EQ(Less_Ignoring_Case(a, b), less) << a << " < " << b;
}

TEST(FrontEndListsTest, ModuleEntriesAreFoldersAndFilesWithoutHiddenOnes) {
    TTemp_Folder folder;
    folder.Write("Modules/b/Data/ModuleData.txt", "x");
    folder.Write("Modules/A/Data/ModuleData.txt", "x");
    folder.Write("Modules/file", "x");
    folder.Write("Modules/.gitkeep", "");
    folder.Write("Modules/.hidden/x", "");
    folder.Write("Modules/Курган/x", "");
    folder.Write("Modules/арка/x", "");
    EXPECT_EQ(List_Module_Entries(folder.Path() + "Modules/"), (TNames{"A", "b", "file", "арка", "Курган"}));
    EXPECT_EQ(List_Module_Entries(folder.Path() + "Missing/"), TNames{});
}

TEST(FrontEndListsTest, CharacterNamesAreDatFilesWithoutTheirEnding) {
    TTemp_Folder folder;
    for (const char* name : {"Bob.dat", "alice.DAT", "Ёж.Dat", "notes.txt", "dat", ".dat", "x.dat.bak"})
        folder.Write(std::string("Characters/") + name, "x");
    std::filesystem::create_directories(folder.Path() + "Characters/folder.dat");
    EXPECT_EQ(List_Character_Names(folder.Path() + "Characters/"), (TNames{"alice", "Bob", "Ёж"}));
}

TEST(FrontEndListsTest, DataSetsCompareTrimmedIgnoringCase) {
    const std::vector<std::tuple<std::string, std::string, bool>> cases = {
        {"Barrow", "Barrow", true},
        {"  Barrow\t", "barrow", true},
        {"НАБОР", "набор", true},
        {"Barrow", "Barrow2", false},
        {"", "", true},
        {"", "x", false},
        {"Bar row", "barrow", false},
    };
    for (const auto& [a, b, same] : cases) EXPECT_EQ(Same_Data_Set(a, b), same) << a << " / " << b;
}

} // namespace
