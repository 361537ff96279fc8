// Every dialog and window the game screen opens is made here, by its kind. The screen controller places it,
// gives it its data and reads its result only through this factory. Each kind that has been built is made as
// its real dialog; a kind still missing is a stand-in with the real name, class, size and modality: it closes
// on Escape (with the dialog's cancel result) or on a click inside with the result a test has set, and
// otherwise only remembers what it was given.
//
// Plugging a new dialog in takes three steps, all in DialogFactory.cpp: its maker in Real_Maker (one case
// line), and in each data setter and result accessor the kind uses, one line that reaches the dialog by
// dynamic_cast (As<T>) before the stand-in's line.
#pragma once

#include "core/Callbacks.h"
#include "core/SaveStream.h"
#include "ui/DCDlgMenu.h"
#include "ui/DisplayClass.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

class TMonster;
struct TDeath_Details;

enum class TDialog_Kind : int32_t {
    Overview_Map,
    Quests,
    Game_Menu,
    Load_Save,
    Options,
    High_Scores,
    Win_Inventory,
    Win_Stats,
    Intro,
    Menu,
    Select_Module,
    Difficulty,
    Select_Character,
    Statistics,
    Spells_Add,
    Spells_Select,
    MapGen,
    TileGen,
    Progress,
    Module_Text,
    Talk,
    Chest,
    Store,
    Conversation,
    Give_Item,
    Dead,
    Count
};
constexpr int32_t Dialog_Kind_Count = static_cast<int32_t>(TDialog_Kind::Count);

// What names and sizes a kind, and the result Escape gives it.
struct TDialog_Spec {
    TDialog_Kind Kind;
    const char* Name;  // the control's Name, by which its close is reported
    const char* Class; // the dialog's class (the name of its picture buffer)
    int32_t Width, Height;
    int32_t Cancel_Result;
    bool Clicks; // a click inside with a result set closes it (the two windows and the progress box: never)
    bool Keys;   // it hears keys: Escape closes it with the cancel result, letters are typed into it
};
const std::array<TDialog_Spec, Dialog_Kind_Count>& Dialog_Specs();
const TDialog_Spec& Dialog_Spec(TDialog_Kind kind);
// The kind whose dialog has that Name; nothing for another name.
std::optional<TDialog_Kind> Dialog_Kind_Of(const std::string& name);

// The game menu's results.
enum : int32_t {
    Game_Menu_Load = 1,
    Game_Menu_Save = 2,
    Game_Menu_Export = 3,
    Game_Menu_Options = 4,
    Game_Menu_High_Scores = 5,
    Game_Menu_Quit = 6,
};

// A dialog not built yet. It draws nothing; what it is given is kept for tests to read.
class TDC_Dlg_Stand_In : public TDisplay_Class {
public:
    explicit TDC_Dlg_Stand_In(const TDialog_Spec& spec);

    int32_t Get_Width() override { return Spec.Width; }
    int32_t Get_Height() override { return Spec.Height; }
    void Handle_MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside) override;
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Handle_DrawPage(int32_t page) override;

    // Closes with the result.
    void Close_With(int32_t result);

    const TDialog_Spec& Spec;
    int32_t Result = 0;
    // Asked at a click inside; a click without a result set does nothing.
    std::function<std::optional<int32_t>()> Next_Result;
    // Letters, digits and blanks typed into it (the character's name, a save's description).
    std::string Typed;

    // ---- What the controller gave it ----
    TMonster* Character = nullptr; // the character dialog fills it when it closes with 1
    std::string Module_Name;       // the module dialog's choice
    bool Save_Mode = false;
    std::string Caption;
    int32_t Percent = 0;
    int32_t Tab_Turns = 0; // the inventory window's tab turned on
    std::string Title;
    TString_List Paragraphs;
    uint16_t Monster_Id = 0;
    int32_t Store_Number = 0;
    int32_t Square_X = 0, Square_Y = 0;
    std::string Death_Cause;
    // The intro closes by itself this long after it was first drawn, loading the sprite sheets as it goes.
    uint32_t Intro_Started = 0;
    bool Intro_Timing = false;
};

// The intro plays this long before the main menu.
constexpr uint32_t Intro_Duration_Ms = 5000;

class TDialog_Factory {
public:
    // How a kind is made: a new dialog, not yet placed, shown or added.
    using TMaker = std::function<TDisplay_Class*()>;

    // Every kind that has a real dialog is made as that dialog, the others as stand-ins.
    TDialog_Factory();
    virtual ~TDialog_Factory() = default;

    // A new dialog of the kind, not yet placed, shown or added.
    virtual TDisplay_Class* Create(TDialog_Kind kind);
    // Makes the kind with the maker from now on; an empty maker makes it a stand-in.
    void Set_Maker(TDialog_Kind kind, TMaker maker);
    // Every kind a stand-in: for tests of the screen flow that answer each dialog themselves.
    void Use_Stand_Ins();
    // Whether the kind is made as a real dialog.
    bool Makes_Real(TDialog_Kind kind) const;

    // ---- Data given ----
    virtual void Set_Character(TDisplay_Class& dialog, TMonster& character);
    virtual void Set_Save_Mode(TDisplay_Class& dialog, bool save);
    virtual void Set_Progress_Caption(TDisplay_Class& dialog, const std::string& caption);
    // Draws one whole frame, as the progress box does for every percent.
    virtual void Set_Percent(TDisplay_Class& dialog, int32_t percent);
    virtual void Set_Module_Text(TDisplay_Class& dialog, const std::string& title, const TString_List& text);
    virtual void Set_Monster(TDisplay_Class& dialog, uint16_t monster_id);
    virtual void Set_Store(TDisplay_Class& dialog, int32_t store_number, uint16_t monster_id);
    virtual void Set_Square(TDisplay_Class& dialog, int32_t x, int32_t y);
    virtual void Set_Death(TDisplay_Class& dialog, const TDeath_Details& details);
    // The inventory window turns to its next tab.
    // The inventory window reaches the world's callbacks (sounds, messages) through these.
    virtual void Set_Callbacks(TDisplay_Class& dialog, const TCallback_Set& callbacks);
    virtual void Next_Tab(TDisplay_Class& dialog);

    // ---- Results read ----
    // The menus' and choices' results, the talk's choice; 0 for a dialog that has none.
    virtual int32_t Get_Result(const TDisplay_Class& dialog) const;
    virtual std::string Get_Module_Name(const TDisplay_Class& dialog) const;
    // The load/save box: a game was saved or loaded.
    virtual bool Get_Succeeded(const TDisplay_Class& dialog) const;
    // The talk's store number.
    virtual int32_t Get_Store_Number(const TDisplay_Class& dialog) const;
    // The creature the talk was with.
    virtual uint16_t Get_Monster_Id(const TDisplay_Class& dialog) const;

    // Where stand-ins take the result of a click (tests set it).
    std::function<std::optional<int32_t>()> Next_Result;
    // The module the module stand-in chooses; the first of the modules folder when empty.
    std::string Stand_In_Module;

private:
    TDisplay_Class* Create_Stand_In(TDialog_Kind kind);

    std::array<TMaker, Dialog_Kind_Count> Makers_;
};

// The "result" word of a script command ("click 400 247 result=1"): nothing when absent or not a number.
std::optional<int32_t> Result_Option(const std::map<std::string, std::string>& options);
