// Every file and folder the game opens is named here. A module may replace any shipped picture, sound,
// music or global data file by holding a file of the same relative name in its own folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The screen bitmaps of "Pictures/SysPics/": accessor stem, file name.
#define MURK_SYSPICS_BITMAPS(X)                                                                              \
    X(Misc, "misc.bmp")                                                                                      \
    X(Gen, "gen.bmp")                                                                                        \
    X(Tilegen, "tilegen.bmp")                                                                                \
    X(DamageFX, "DamageFX.bmp")                                                                              \
    X(Spells, "Spells.bmp")                                                                                  \
    X(SpellContainers, "SpellContainers.bmp")                                                                \
    X(ButtonsSmallSquare, "ButtonsSmallSquare.bmp")                                                          \
    X(ButtonsMainRound, "ButtonsMainRound.bmp")                                                              \
    X(ButtonsArrows, "ButtonsArrows.bmp")                                                                    \
    X(ButtonsSquareIcons, "ButtonsSquareIcons.bmp")                                                          \
    X(ButtonsSquareFrames, "ButtonsSquareFrames.bmp")                                                        \
    X(ButtonsLongRoundedText, "ButtonsLongRoundedText.bmp")                                                  \
    X(ButtonsLongSquareText, "ButtonsLongSquareText.bmp")                                                    \
    X(ButtonsSquareNamed, "ButtonsSquareNamed.bmp")                                                          \
    X(ButtonsSquareNamedBlank, "ButtonsSquareNamedBlank.bmp")                                                \
    X(Dlg_Quests, "Dlg_Quests.bmp")                                                                          \
    X(Dlg_OverviewMap, "Dlg_OverviewMap.bmp")                                                                \
    X(Dlg_GameMenu, "Dlg_GameMenu.bmp")                                                                      \
    X(Dlg_LoadSave, "Dlg_LoadSave.bmp")                                                                      \
    X(Dlg_Message, "Dlg_Message.bmp")                                                                        \
    X(Dlg_Talk, "Dlg_Talk.bmp")                                                                              \
    X(Win_Inventory, "Win_Inventory.bmp")                                                                    \
    X(Win_Inventory_Tabs, "Win_Inventory_Tabs.bmp")                                                          \
    X(Win_Stats, "Win_Stats.bmp")                                                                            \
    X(Dlg_MM, "Dlg_MM.bmp")                                                                                  \
    X(Dlg_Intro, "Dlg_Intro.bmp")                                                                            \
    X(Dlg_SelectModule, "Dlg_SelectModule.bmp")                                                              \
    X(Dlg_SelectCharacter, "Dlg_SelectCharacter.bmp")                                                        \
    X(Win_Char, "Win_Char.bmp")                                                                              \
    X(Dlg_Dead, "Dlg_Dead.bmp")                                                                              \
    X(Dlg_HighScores, "Dlg_HighScores.bmp")                                                                  \
    X(Dlg_Statistics, "Dlg_Statistics.bmp")                                                                  \
    X(Dlg_SpellList, "Dlg_SpellList.bmp")                                                                    \
    X(Dlg_SpellSelection, "Dlg_SpellSelection.bmp")                                                          \
    X(Dlg_MapGen, "Dlg_MapGen.bmp")                                                                          \
    X(Dlg_ErrorList, "Dlg_ErrorList.bmp")                                                                    \
    X(Dlg_Progress, "Dlg_Progress.bmp")                                                                      \
    X(Dlg_ModuleText, "Dlg_ModuleText.bmp")                                                                  \
    X(Dlg_Store, "Dlg_Store.bmp")                                                                            \
    X(Dlg_Container, "Dlg_Container.bmp")                                                                    \
    X(Dlg_Conversation, "Dlg_Conversation.bmp")                                                              \
    X(Dlg_GiveItem, "Dlg_GiveItem.bmp")                                                                      \
    X(Dlg_Difficulty, "Dlg_Difficulty.bmp")                                                                  \
    X(MainUI, "MainUI.bmp")

class TPath_Settings {
public:
    // name: the module's folder name followed by a separator, or empty to leave the module. A name that
    // is absolute or has a ".." component (it may come from a saved game) is refused: nothing changes and
    // the result is false.
    bool Set_Module(const std::string& name);
    const std::string& Get_Module_Name() const { return Module_Name_; }
    const std::string& Get_Module_Folder() const { return Module_Folder_; }

    // base + subfolder + file; the module's copy instead when a module is set and that copy is a regular
    // file. Names from data may use "\"; existing files are found whatever their letter case. A name that
    // is absolute or climbs out of its folder names no file: the result is empty.
    std::string Get_File(const std::string& subfolder, const std::string& file_name) const;

    std::string Get_Terrain_Picture(const std::string& name) const {
        return Get_File("Pictures/Terrain/", name);
    }
    std::string Get_Item_Picture(const std::string& name) const { return Get_File("Pictures/Items/", name); }
    std::string Get_Monster_Picture(const std::string& name) const {
        return Get_File("Pictures/Monsters/", name);
    }
    std::string Get_SysPics_Picture(const std::string& name) const {
        return Get_File("Pictures/SysPics/", name);
    }
    std::string Get_Sound_File(const std::string& name) const { return Get_File("Sounds/", name); }
    std::string Get_Music_File(const std::string& name) const { return Get_File("Music/", name); }
    std::string Get_Classes_File() const { return Get_File("Data/", "Classes.txt"); }
    std::string Get_Settings_File() const { return Get_File("Data/", "Settings.txt"); }
    std::string Get_Spells_File() const { return Get_File("Data/", "Spells.txt"); }
    std::string Get_Effects_File() const { return Get_File("Data/", "Effects.txt"); }
    std::string Get_Summon_MonsterClasses_File() const {
        return Get_File("Data/", "Summon_MonsterClasses.txt");
    }
    std::string Get_Classes_ItemClasses_File() const { return Get_File("Data/", "Classes_ItemClasses.txt"); }

#define MURK_DECLARE_BITMAP_GETTER(stem, file)                                                               \
    std::string Get_##stem##_Bitmap() const {                                                                \
        return Get_SysPics_Picture(file);                                                                    \
    }
    MURK_SYSPICS_BITMAPS(MURK_DECLARE_BITMAP_GETTER)
#undef MURK_DECLARE_BITMAP_GETTER

    // In the module's folder only; meaningful once a module is set.
    std::string Get_ModuleData_File() const {
        return Module_Path("Data/ModuleData.txt");
    }
    std::string Get_Quests_File() const {
        return Module_Path("Data/Quests.txt");
    }
    std::string Get_Events_File() const {
        return Module_Path("Data/Events.txt");
    }
    std::string Get_ChanceGroups_File() const {
        return Module_Path("Data/ChanceGroups.txt");
    }
    std::string Get_TrapGroups_File() const {
        return Module_Path("Data/TrapGroups.txt");
    }
    std::string Get_ItemModifiers_File() const {
        return Module_Path("Data/ItemModifiers.txt");
    }
    std::string Get_MonsterModifiers_File() const {
        return Module_Path("Data/MonsterModifiers.txt");
    }
    std::string Get_UniqueItemNames_File() const {
        return Module_Path("Data/UniqueItemNames.txt");
    }
    std::string Get_Tile_File(const std::string& name) const;
    std::string Get_Tiles_Folder() const {
        return Module_Path("Tiles/");
    }

    // In the program folder only; never replaced by a module.
    std::string Get_High_Scores_File() const;
    std::string Get_Character_File(const std::string& name) const;
    std::string Get_Characters_Folder() const;
    std::string Get_Modules_Folder() const;
    std::string Get_Current_Game_Folder() const;
    std::string Get_Save_Slot_Folder(int32_t slot) const; // Savegames/slot07/; slot 10 is the autosave

private:
    std::string Module_Path(const std::string& relative) const;

    std::string Module_Name_;
    std::string Module_Folder_;
};

// One plain file name, as saved games name their map and module files and characters name their file: not
// empty, no "/", "\" or NUL, not "." or "..".
bool Is_Plain_File_Name(const std::string& name);
// A name from a data file or a save that may be joined to a folder: empty (no file), or relative and without
// a ".." component. Absolute names and names that climb out of their folder are refused.
bool Is_Safe_Data_Name(const std::string& name);

// The one program-wide path object: created and freed at start-up and shut-down; tests install their own.
TPath_Settings* Path_Settings();
void Install_Path_Settings(std::unique_ptr<TPath_Settings> settings);
std::unique_ptr<TPath_Settings> Remove_Path_Settings();
