// The dialogs about the player and the module, opened over a running world: the headless graphics with the
// shipped dialog pictures, the shipped classes and spells (the Fighter: three skill groups, six class
// spells), a current map of one seen-or-not floor terrain with a new Fighter standing on it, and a module
// with quests. A stand-in main window opens one dialog at a time, centred and modal as the game screen
// does, and records its close.
#pragma once

#include "core/Callbacks.h"
#include "core/CharClass.h"
#include "core/GameOptions.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/Spells.h"
#include "tests/ui/UiFixture.h"
#include "ui/CharacterChoice.h"
#include "ui/DisplayClass.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class TDialog_Owner : public TDisplay_Class {
public:
    TDialog_Owner() {
        Set_Position("Main Window", 0, 0, Screen_Width, Screen_Height, false);
        Set_Visible(true);
    }
    template <typename T> T& Open(const std::string& name) {
        auto dialog = std::make_unique<T>();
        T& opened = *dialog;
        Place(std::move(dialog), name);
        return opened;
    }
    void Place(std::unique_ptr<TDisplay_Class> dialog, const std::string& name) {
        dialog->Center_On_Screen(name, true);
        dialog->Set_Visible(true);
        Add_Child_Control(dialog.get());
        Dialog = std::move(dialog);
    }
    void Kill_Child_Control(const std::string& name) override {
        Closed.push_back(name);
        Dialog.reset();
    }
    std::unique_ptr<TDisplay_Class> Dialog;
    std::vector<std::string> Closed;
};

class TPlayer_Dialog_Test : public TUi_Test {
protected:
    // Shipped class index and the Fighter's three skill groups.
    static constexpr int32_t Fighter = 1;

    void SetUp() override {
        TUi_Test::SetUp();
        const std::string runtime = MURK_RUNTIME_DIR;
        std::filesystem::create_directories(Folder.File("Pictures/SysPics"));
        std::filesystem::create_directories(Folder.File("Data"));
        for (const char* picture : {"Dlg_Statistics.bmp", "Dlg_SpellList.bmp", "Dlg_SpellSelection.bmp",
                                    "Dlg_Quests.bmp", "Dlg_OverviewMap.bmp", "Dlg_ModuleText.bmp"})
            std::filesystem::copy_file(runtime + "/Pictures/SysPics/" + picture,
                                       Folder.File(std::string("Pictures/SysPics/") + picture));
        if (Shipped_Sheets())
            for (const char* sheet : Interface_File_Names)
                std::filesystem::copy_file(runtime + "/Pictures/SysPics/" + sheet,
                                           Folder.File(std::string("Pictures/SysPics/") + sheet));
        else
            Write_Coded_Interface();
        Make_Display().Load_Interface_Bitmaps();
        for (const char* data : {"Classes.txt", "Spells.txt"})
            std::filesystem::copy_file(std::string(MURK_SHIPPED_DATA_DIR) + "/Data/" + data,
                                       Folder.File(std::string("Data/") + data));
        Load_Class_Info();
        Load_Master_Spells();
        Create_Game_Options();

        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        Map->Set_Name("Barrow Halls");
        TTerrain floor;
        floor.Name = "floor";
        floor.Overview_Color = 90 + 140 * 256 + 60 * 65536;
        Floor = Map->Terrain_List.Add(floor);
        for (int32_t x = 1; x <= Map_Width; ++x)
            for (int32_t y = 1; y <= Map_Height; ++y) Map->Get_Square(x, y)->Terrain_Id = Floor;
        Renew_Hero();

        Install_Module(std::make_unique<TModule>());
        Messages->Messages.clear();
        Played();
    }
    void TearDown() override {
        Owner.Dialog.reset();
        Install_Module(nullptr);
        Set_Player(nullptr);
        Install_Current_Map(nullptr);
        Free_Game_Options();
        Free_Master_Spells();
        Free_Class_Info();
        TUi_Test::TearDown();
    }
    // A new Fighter as the player, on square 100, 100; the one before leaves the map.
    void Renew_Hero() {
        if (Hero) {
            Map->Remove_Monster(Hero->Id);
            Map->End_Tick();
        }
        TMonster hero;
        Make_New_Character(hero, Fighter, 1, "Brann");
        hero.Set_Position(100, 100);
        Hero = Map->Monster_List.Add_Monster(hero);
        Map->Place_Monster(*Hero);
        Set_Player(Hero);
    }
    // The frame tests draw with the shipped button and spell sheets; the others with coded ones.
    virtual bool Shipped_Sheets() const { return false; }

    void Click(int32_t x, int32_t y, int32_t button = Mouse_Button_Left) {
        const int32_t shift = button == Mouse_Button_Right ? Shift_Right : Shift_Left;
        Owner.MouseDown(button, shift, x, y);
        Owner.MouseUp(button, shift, x, y, false);
    }
    // A click on the dialog at x, y from its corner.
    void Click_In(int32_t x, int32_t y, int32_t button = Mouse_Button_Left) {
        Click(Owner.Dialog->Left + x, Owner.Dialog->Top + y, button);
    }
    void Click_On(const TDisplay_Class& control) { Click(control.Left + 4, control.Top + 4); }
    void Key(uint16_t key) { Owner.KeyDown(key, 0); }
    void Frame() {
        Clear_Page();
        Owner.Draw(0);
    }
    // The master spell id of a name.
    static uint16_t Spell_Id(const std::string& name) {
        const TSpell* spell = Find_Master_Spell_By_Name(name);
        return spell ? spell->Id : 0;
    }
    // A scroll in the inventory slot.
    TItem* Give_Scroll(int32_t slot, const std::string& name) {
        TItem item;
        item.Name = name;
        item.Item_Type = 15;
        TItem* stored = Map->Item_List.Item(Map->Item_List.Add(&item));
        Hero->Inventory.Put_In_Slot(stored, slot);
        return stored;
    }
    // The player dies as in a fight: he leaves the map, the player reference is cleared, and his memory is
    // freed as at the end of a tick.
    void Kill_Hero() {
        Hero->Die(TCallback_Set{}, 0, "test");
        Map->End_Tick();
        Hero = nullptr;
    }

    TDialog_Owner Owner;
    TMap* Map = nullptr;
    uint16_t Floor = 0;
    TMonster* Hero = nullptr;
};
