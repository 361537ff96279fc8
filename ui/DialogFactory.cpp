#include "ui/DialogFactory.h"

#include "core/Clock.h"
#include "core/Path.h"
#include "media/DisplayObject.h"
#include "ui/CharacterChoice.h"
#include "ui/DCDlgChest.h"
#include "ui/DCDlgConversation.h"
#include "ui/DCDlgDead.h"
#include "ui/DCDlgDifficulty.h"
#include "ui/DCDlgGameMenu.h"
#include "ui/DCDlgGiveItem.h"
#include "ui/DCDlgHighScores.h"
#include "ui/DCDlgIntro.h"
#include "ui/DCDlgLoadSave.h"
#include "ui/DCDlgMapGen.h"
#include "ui/DCDlgModuleText.h"
#include "ui/DCDlgOptions.h"
#include "ui/DCDlgOverviewMap.h"
#include "ui/DCDlgProgress.h"
#include "ui/DCDlgQuests.h"
#include "ui/DCDlgSelectCharacter.h"
#include "ui/DCDlgSelectModule.h"
#include "ui/DCDlgSpellsAdd.h"
#include "ui/DCDlgSpellsSelect.h"
#include "ui/DCDlgStatistics.h"
#include "ui/DCDlgStore.h"
#include "ui/DCDlgTalk.h"
#include "ui/DCDlgTileGen.h"
#include "ui/DCMainTick.h"
#include "ui/DCWinInventory.h"
#include "ui/DCWinStats.h"
#include "ui/DlgMain.h"
#include "ui/FrontEndLists.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr uint16_t Key_Escape = 27;
constexpr uint16_t Key_Space = 32;

// The death screen's levels are words; a level out of their range shows as the nearest one.
uint16_t Clamped_Word(int32_t value) {
    return static_cast<uint16_t>(std::clamp(value, 0, 65535));
}

// Sizes of the dialogs' pictures; the two windows of the game screen have no picture of their own size.
const std::array<TDialog_Spec, Dialog_Kind_Count> Specs = {{
    {TDialog_Kind::Overview_Map, "Overview Map", "TDC_Dlg_Overview_Map", 459, 515, 0, true, true},
    {TDialog_Kind::Quests, "Quests Dlg", "TDC_Dlg_Quests", 427, 515, 0, true, true},
    {TDialog_Kind::Game_Menu, "Game Menu", "TDC_Dlg_Game_Menu", 307, 410, 0, true, true},
    {TDialog_Kind::Load_Save, "Save Game Dlg", "TDC_Dlg_Load_Save", 307, 410, 0, true, true},
    {TDialog_Kind::Options, "Options Dlg", "TDC_Dlg_Options", 307, 410, 0, true, true},
    {TDialog_Kind::High_Scores, "High Scores Dlg", "TDC_Dlg_HighScores", 696, 552, 0, true, true},
    {TDialog_Kind::Win_Inventory, "Win Inventory", "TDC_Win_Inventory", 189, 281, 0, false, false},
    {TDialog_Kind::Win_Stats, "Win Stats", "TDC_Win_Stats", 304, 172, 0, false, false},
    {TDialog_Kind::Intro, "Dlg Intro", "TDC_Dlg_Intro", 266, 200, 0, true, false},
    {TDialog_Kind::Menu, "Dlg Menu", "TDC_Dlg_Menu", 270, 560, 0, true, false},
    {TDialog_Kind::Select_Module, "Dlg Select Module", "TDC_Dlg_Select_Module", 696, 504, 2, true, true},
    {TDialog_Kind::Difficulty, "Dlg Difficulty", "TDC_Dlg_Difficulty", 266, 354, 5, true, true},
    {TDialog_Kind::Select_Character, "Dlg Select Character", "TDC_Dlg_Select_Character", 696, 504, 3, true,
     true},
    {TDialog_Kind::Statistics, "Statistics Dlg", "TDC_Dlg_Statistics", 338, 410, 0, true, true},
    {TDialog_Kind::Spells_Add, "Spells Add Dlg", "TDC_Dlg_Spells_Add", 619, 307, 0, true, true},
    {TDialog_Kind::Spells_Select, "Spells Select Dlg", "TDC_Dlg_Spells_Select", 307, 450, 0, true, true},
    {TDialog_Kind::MapGen, "Dlg MapGen", "TDC_Dlg_MapGen", 800, 600, 0, true, true},
    {TDialog_Kind::TileGen, "Dlg TileGen", "TDC_Dlg_TileGen", 800, 600, 0, true, true},
    {TDialog_Kind::Progress, "Dlg Progress", "TDC_Dlg_Progress", 333, 134, 0, false, false},
    {TDialog_Kind::Module_Text, "Dlg Module Text", "TDC_Dlg_Module_Text", 448, 504, 0, true, true},
    {TDialog_Kind::Talk, "Dlg Talk", "TDC_Dlg_Talk", 267, 179, 0, true, true},
    {TDialog_Kind::Chest, "Dlg Chest", "TDC_Dlg_Chest", 313, 299, 0, true, true},
    {TDialog_Kind::Store, "Dlg Store", "TDC_Dlg_Store", 619, 307, 0, true, true},
    {TDialog_Kind::Conversation, "Dlg Conversation", "TDC_Dlg_Conversation", 507, 307, 0, true, true},
    {TDialog_Kind::Give_Item, "Dlg GiveItem", "TDC_Dlg_GiveItem", 267, 179, 0, true, true},
    {TDialog_Kind::Dead, "Dlg Dead", "TDC_Dlg_Dead", 460, 572, 0, true, true},
}};

TDC_Dlg_Stand_In* Stand_In(TDisplay_Class& dialog) {
    return dynamic_cast<TDC_Dlg_Stand_In*>(&dialog);
}
const TDC_Dlg_Stand_In* Stand_In(const TDisplay_Class& dialog) {
    return dynamic_cast<const TDC_Dlg_Stand_In*>(&dialog);
}

// The dialog as its real class; null when it is another one (or a stand-in).
template <class T> T* As(TDisplay_Class& dialog) {
    return dynamic_cast<T*>(&dialog);
}
template <class T> const T* As(const TDisplay_Class& dialog) {
    return dynamic_cast<const T*>(&dialog);
}

template <class T> TDisplay_Class* Make() {
    return new T();
}

// The real dialog of each kind that has been built; kinds without one stay stand-ins.
TDialog_Factory::TMaker Real_Maker(TDialog_Kind kind) {
    switch (kind) {
    case TDialog_Kind::Intro: return Make<TDC_Dlg_Intro>;
    case TDialog_Kind::Menu: return Make<TDC_Dlg_Menu>;
    case TDialog_Kind::Select_Module: return Make<TDC_Dlg_Select_Module>;
    case TDialog_Kind::Difficulty: return Make<TDC_Dlg_Difficulty>;
    case TDialog_Kind::Select_Character: return Make<TDC_Dlg_Select_Character>;
    case TDialog_Kind::Progress: return Make<TDC_Dlg_Progress>;
    case TDialog_Kind::Game_Menu: return Make<TDC_Dlg_Game_Menu>;
    case TDialog_Kind::Load_Save: return Make<TDC_Dlg_Load_Save>;
    case TDialog_Kind::Options: return Make<TDC_Dlg_Options>;
    case TDialog_Kind::High_Scores: return Make<TDC_Dlg_HighScores>;
    case TDialog_Kind::Dead: return Make<TDC_Dlg_Dead>;
    case TDialog_Kind::Talk: return Make<TDC_Dlg_Talk>;
    case TDialog_Kind::Store: return Make<TDC_Dlg_Store>;
    case TDialog_Kind::Conversation: return Make<TDC_Dlg_Conversation>;
    case TDialog_Kind::Chest: return Make<TDC_Dlg_Chest>;
    case TDialog_Kind::Give_Item: return Make<TDC_Dlg_GiveItem>;
    case TDialog_Kind::MapGen: return Make<TDC_Dlg_MapGen>;
    case TDialog_Kind::Statistics: return Make<TDC_Dlg_Statistics>;
    case TDialog_Kind::Spells_Add: return Make<TDC_Dlg_Spells_Add>;
    case TDialog_Kind::Spells_Select: return Make<TDC_Dlg_Spells_Select>;
    case TDialog_Kind::Quests: return Make<TDC_Dlg_Quests>;
    case TDialog_Kind::Overview_Map: return Make<TDC_Dlg_Overview_Map>;
    case TDialog_Kind::Module_Text: return Make<TDC_Dlg_Module_Text>;
    case TDialog_Kind::Win_Inventory: return Make<TDC_Win_Inventory>;
    case TDialog_Kind::Win_Stats: return Make<TDC_Win_Stats>;
    case TDialog_Kind::TileGen: return Make<TDC_Dlg_TileGen>;
    default: return {};
    }
}

} // namespace

const std::array<TDialog_Spec, Dialog_Kind_Count>& Dialog_Specs() {
    return Specs;
}

const TDialog_Spec& Dialog_Spec(TDialog_Kind kind) {
    return Specs[static_cast<size_t>(kind)];
}

std::optional<TDialog_Kind> Dialog_Kind_Of(const std::string& name) {
    for (const TDialog_Spec& spec : Specs)
        if (name == spec.Name) return spec.Kind;
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------------------
// The stand-in

TDC_Dlg_Stand_In::TDC_Dlg_Stand_In(const TDialog_Spec& spec) : Spec(spec) {
    Name = spec.Name;
}

void TDC_Dlg_Stand_In::Close_With(int32_t result) {
    if (Kill) return;
    Result = result;
    // The character dialog fills the template character when a new one is accepted.
    if (Spec.Kind == TDialog_Kind::Select_Character && result == 1 && Character)
        Make_New_Character(*Character, 1, 1, Typed.empty() ? "Hero" : Typed);
    if (Spec.Kind == TDialog_Kind::Intro)
        if (TDisplay_Object* display = Display_Object()) display->Load_Graphics();
    Set_Kill_Object(1);
}

void TDC_Dlg_Stand_In::Handle_MouseUp(int32_t, int32_t, int32_t, int32_t, bool outside) {
    if (outside || !Spec.Clicks || !Next_Result) return;
    if (const std::optional<int32_t> result = Next_Result()) Close_With(*result);
}

void TDC_Dlg_Stand_In::Handle_KeyDown(uint16_t& key, int32_t shift) {
    if (!Spec.Keys) return;
    if (key == Key_Escape) {
        Close_With(Spec.Cancel_Result);
        return;
    }
    if (key >= 'A' && key <= 'Z')
        Typed += static_cast<char>((shift & 1) ? key : key - 'A' + 'a');
    else if ((key >= '0' && key <= '9') || key == Key_Space)
        Typed += static_cast<char>(key);
}

void TDC_Dlg_Stand_In::Handle_DrawPage(int32_t) {
    if (Spec.Kind != TDialog_Kind::Intro) return;
    const uint32_t now = Get_Ticks();
    if (!Intro_Timing) {
        Intro_Timing = true;
        Intro_Started = now;
    } else if (now - Intro_Started >= Intro_Duration_Ms) {
        Close_With(0);
    }
}

// ---------------------------------------------------------------------------------------------------------
// The factory

TDialog_Factory::TDialog_Factory() {
    for (int32_t k = 0; k < Dialog_Kind_Count; ++k)
        Makers_[static_cast<size_t>(k)] = Real_Maker(static_cast<TDialog_Kind>(k));
}

void TDialog_Factory::Set_Maker(TDialog_Kind kind, TMaker maker) {
    Makers_[static_cast<size_t>(kind)] = std::move(maker);
}

void TDialog_Factory::Use_Stand_Ins() {
    for (TMaker& maker : Makers_) maker = {};
}

bool TDialog_Factory::Makes_Real(TDialog_Kind kind) const {
    return static_cast<bool>(Makers_[static_cast<size_t>(kind)]);
}

TDisplay_Class* TDialog_Factory::Create(TDialog_Kind kind) {
    if (const TMaker& maker = Makers_[static_cast<size_t>(kind)])
        if (TDisplay_Class* dialog = maker()) return dialog;
    return Create_Stand_In(kind);
}

TDisplay_Class* TDialog_Factory::Create_Stand_In(TDialog_Kind kind) {
    auto* dialog = new TDC_Dlg_Stand_In(Dialog_Spec(kind));
    dialog->Next_Result = [this]() -> std::optional<int32_t> {
        return Next_Result ? Next_Result() : std::nullopt;
    };
    if (kind == TDialog_Kind::Select_Module) {
        dialog->Module_Name = Stand_In_Module;
        if (dialog->Module_Name.empty())
            if (TPath_Settings* paths = Path_Settings()) {
                const std::vector<std::string> modules = List_Module_Entries(paths->Get_Modules_Folder());
                if (!modules.empty()) dialog->Module_Name = modules.front();
            }
    }
    return dialog;
}

void TDialog_Factory::Set_Character(TDisplay_Class& dialog, TMonster& character) {
    if (auto* d = As<TDC_Dlg_Select_Character>(dialog)) d->Set_Character(&character);
    if (TDC_Dlg_Stand_In* d = Stand_In(dialog)) d->Character = &character;
}

void TDialog_Factory::Set_Save_Mode(TDisplay_Class& dialog, bool save) {
    if (auto* d = As<TDC_Dlg_Load_Save>(dialog)) {
        if (save)
            d->Set_Save_Mode();
        else
            d->Set_Load_Mode();
    }
    if (TDC_Dlg_Stand_In* d = Stand_In(dialog)) d->Save_Mode = save;
}

void TDialog_Factory::Set_Progress_Caption(TDisplay_Class& dialog, const std::string& caption) {
    if (auto* d = As<TDC_Dlg_Progress>(dialog)) d->Set_Caption(caption);
    if (TDC_Dlg_Stand_In* d = Stand_In(dialog)) d->Caption = caption;
}

void TDialog_Factory::Set_Percent(TDisplay_Class& dialog, int32_t percent) {
    if (auto* d = As<TDC_Dlg_Progress>(dialog)) d->Set_Percent(percent);
    if (TDC_Dlg_Stand_In* d = Stand_In(dialog)) {
        d->Percent = percent;
        Refresh_Screen();
    }
}

void TDialog_Factory::Set_Module_Text(TDisplay_Class& dialog, const std::string& title,
                                      const TString_List& text) {
    if (auto* d = As<TDC_Dlg_Module_Text>(dialog)) d->Set_Text(title, text);
    if (TDC_Dlg_Stand_In* d = Stand_In(dialog)) {
        d->Title = title;
        d->Paragraphs = text;
    }
}

void TDialog_Factory::Set_Monster(TDisplay_Class& dialog, uint16_t monster_id) {
    if (auto* d = As<TDC_Dlg_Talk>(dialog)) d->Set_Monster(monster_id);
    if (auto* d = As<TDC_Dlg_Conversation>(dialog)) d->Set_Monster(monster_id);
    if (auto* d = As<TDC_Dlg_GiveItem>(dialog)) d->Set_Monster(monster_id);
    if (TDC_Dlg_Stand_In* d = Stand_In(dialog)) d->Monster_Id = monster_id;
}

void TDialog_Factory::Set_Store(TDisplay_Class& dialog, int32_t store_number, uint16_t monster_id) {
    if (auto* d = As<TDC_Dlg_Store>(dialog)) d->Set_Store(store_number, monster_id);
    if (TDC_Dlg_Stand_In* d = Stand_In(dialog)) {
        d->Store_Number = store_number;
        d->Monster_Id = monster_id;
    }
}

void TDialog_Factory::Set_Square(TDisplay_Class& dialog, int32_t x, int32_t y) {
    if (auto* d = As<TDC_Dlg_Chest>(dialog)) d->Set_Location(x, y);
    if (TDC_Dlg_Stand_In* d = Stand_In(dialog)) {
        d->Square_X = x;
        d->Square_Y = y;
    }
}

void TDialog_Factory::Set_Death(TDisplay_Class& dialog, const TDeath_Details& details) {
    // An empty cause means a creature killed the player.
    if (auto* d = As<TDC_Dlg_Dead>(dialog))
        d->Set_Death_Info(details.Player_Name, details.Class_Index, Clamped_Word(details.Level),
                          details.Experience, details.Killer_Name, Clamped_Word(details.Killer_Level),
                          details.Cause);
    if (TDC_Dlg_Stand_In* d = Stand_In(dialog)) d->Death_Cause = details.Cause;
}

void TDialog_Factory::Set_Callbacks(TDisplay_Class& dialog, const TCallback_Set& callbacks) {
    if (auto* d = As<TDC_Win_Inventory>(dialog)) d->Set_Callbacks(callbacks);
}

void TDialog_Factory::Next_Tab(TDisplay_Class& dialog) {
    if (auto* d = As<TDC_Win_Inventory>(dialog)) d->Next_Tab();
    if (TDC_Dlg_Stand_In* d = Stand_In(dialog)) ++d->Tab_Turns;
}

int32_t TDialog_Factory::Get_Result(const TDisplay_Class& dialog) const {
    if (const auto* d = As<TDC_Dlg_Menu>(dialog)) return d->Get_Menu_Result();
    if (const auto* d = As<TDC_Dlg_Select_Module>(dialog)) return d->Get_Result();
    if (const auto* d = As<TDC_Dlg_Difficulty>(dialog)) return d->Get_Result();
    if (const auto* d = As<TDC_Dlg_Select_Character>(dialog)) return d->Get_Result();
    if (const auto* d = As<TDC_Dlg_Game_Menu>(dialog)) return d->Get_Result();
    if (const auto* d = As<TDC_Dlg_Talk>(dialog)) return d->Get_Choice();
    const TDC_Dlg_Stand_In* d = Stand_In(dialog);
    return d ? d->Result : 0;
}

std::string TDialog_Factory::Get_Module_Name(const TDisplay_Class& dialog) const {
    if (const auto* d = As<TDC_Dlg_Select_Module>(dialog)) return d->Get_Module_Name();
    const TDC_Dlg_Stand_In* d = Stand_In(dialog);
    return d ? d->Module_Name : std::string();
}

bool TDialog_Factory::Get_Succeeded(const TDisplay_Class& dialog) const {
    if (const auto* d = As<TDC_Dlg_Load_Save>(dialog)) return d->Get_Succeeded();
    const TDC_Dlg_Stand_In* d = Stand_In(dialog);
    return d && d->Result == 1;
}

int32_t TDialog_Factory::Get_Store_Number(const TDisplay_Class& dialog) const {
    if (const auto* d = As<TDC_Dlg_Talk>(dialog)) return d->Get_Store_Number();
    const TDC_Dlg_Stand_In* d = Stand_In(dialog);
    return d ? d->Store_Number : 0;
}

uint16_t TDialog_Factory::Get_Monster_Id(const TDisplay_Class& dialog) const {
    if (const auto* d = As<TDC_Dlg_Talk>(dialog)) return d->Get_Monster_ID();
    const TDC_Dlg_Stand_In* d = Stand_In(dialog);
    return d ? d->Monster_Id : 0;
}

std::optional<int32_t> Result_Option(const std::map<std::string, std::string>& options) {
    const auto found = options.find("result");
    if (found == options.end() || found->second.empty()) return std::nullopt;
    int32_t value = 0;
    const char* first = found->second.data();
    const char* last = first + found->second.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}
