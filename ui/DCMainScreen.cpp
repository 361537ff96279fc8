#include "ui/DCMainScreen.h"

#include "core/CharClass.h"
#include "core/DebugLog.h"
#include "core/GameSettings.h"
#include "core/GlobalFuncs.h"
#include "core/HeldItem.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/SaveGame.h"
#include "core/SaveSlots.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassModule.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassUniqueNames.h"
#include "generation/RndCreateModule.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "media/Sounds.h"
#include "platform/DisplayBackend.h"
#include "platform/PathLayer.h"
#include "ui/CharacterChoice.h"
#include "ui/CursorTarget.h"
#include "ui/DCButton.h"
#include "ui/DCInfoPanel.h"
#include "ui/DCSpellButton.h"
#include "ui/DlgMain.h"

#include <algorithm>
#include <filesystem>

namespace {

const std::string Unit = "DCMain";

// Whether the command line holds the switch ("-" and the word, letter case ignored).
bool Has_Switch(const std::string& word) {
    for (const std::string& argument : Program_Arguments()) {
        if (argument.size() != word.size() + 1 || argument[0] != '-') continue;
        bool same = true;
        for (size_t i = 0; i < word.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(argument[i + 1])) == word[i];
        if (same) return true;
    }
    return false;
}

// Whether slot n is one of the save slots and holds a saved game.
bool Slot_Holds_Game(int32_t n) {
    TPath_Settings* paths = Path_Settings();
    if (!paths || n < 1 || n > Save_Slot_Count) return false;
    std::error_code error;
    return std::filesystem::is_regular_file(plat::Resolve_Path(paths->Get_Save_Slot_Folder(n) + "game.id"),
                                            error);
}

// The dialogs that do not stop the game: the death screen frees them, they would read the cleared player.
constexpr std::array<TDialog_Kind, 6> Non_Pausing_Dialogs = {
    TDialog_Kind::Overview_Map, TDialog_Kind::Quests,        TDialog_Kind::Statistics,
    TDialog_Kind::Spells_Add,   TDialog_Kind::Spells_Select, TDialog_Kind::Module_Text,
};

} // namespace

TDC_Main_Screen::TDC_Main_Screen(std::unique_ptr<TDialog_Factory> factory)
    : Factory_(factory ? std::move(factory) : std::make_unique<TDialog_Factory>()), Tick_(*this) {
    Load_Machine_Options();
    Template_Character_ = std::make_unique<TMonster>();
    Open_Dialog(TDialog_Kind::Intro, false, TPlace::At, 267, 133);
}

TDC_Main_Screen::~TDC_Main_Screen() {
    for (int32_t k = 0; k < Dialog_Kind_Count; ++k) Free_Dialog(static_cast<TDialog_Kind>(k));
    if (Screen_Buffer > 0) TDisplay_Object::Release_Buffer(Screen_Buffer);
}

// ---------------------------------------------------------------------------------------------------------
// Opening and freeing

TDisplay_Class* TDC_Main_Screen::Open_Dialog(TDialog_Kind kind, bool modal, TPlace place, int32_t x,
                                             int32_t y, const std::function<void(TDisplay_Class&)>& give) {
    TDisplay_Class*& field = Dialogs_[static_cast<size_t>(kind)];
    if (field) return nullptr;
    TDisplay_Class* dialog = Factory_->Create(kind);
    const std::string name = Dialog_Spec(kind).Name;
    if (place == TPlace::Centred)
        dialog->Center_On_Screen(name, modal);
    else
        dialog->Set_Position_At(name, x, y, modal);
    if (give) give(*dialog);
    dialog->Set_Visible(true);
    field = dialog;
    Add_Child_Control(dialog);
    return dialog;
}

void TDC_Main_Screen::Free_Dialog(TDialog_Kind kind) {
    TDisplay_Class*& field = Dialogs_[static_cast<size_t>(kind)];
    // Cleared first, so whatever the dialog's destructor triggers sees it closed.
    TDisplay_Class* dialog = field;
    field = nullptr;
    delete dialog;
}

void TDC_Main_Screen::Open_Main_Menu() {
    // Behind the menu the game screen's windows are gone.
    Hide_Game_Windows();
    Open_Dialog(TDialog_Kind::Menu, false);
}

void TDC_Main_Screen::Open_Character_Choice() {
    // A fresh character for every choice: nothing of an earlier game (spells, items, experience) carries
    // over into the next.
    if (Dialog(TDialog_Kind::Select_Character)) return;
    Template_Character_ = std::make_unique<TMonster>();
    Open_Dialog(TDialog_Kind::Select_Character, false, TPlace::Centred, 0, 0,
                [this](TDisplay_Class& d) { Factory_->Set_Character(d, *Template_Character_); });
}

void TDC_Main_Screen::Open_Game_Dialog(TDialog_Kind kind) {
    if (Dialog(kind)) return;
    switch (kind) {
    case TDialog_Kind::Game_Menu:
        Set_Paused(true);
        Open_Dialog(kind, true);
        break;
    case TDialog_Kind::Overview_Map:
    case TDialog_Kind::Quests:
    case TDialog_Kind::Statistics:
    case TDialog_Kind::Spells_Select: Open_Dialog(kind, true); break;
    case TDialog_Kind::Spells_Add: Open_Dialog(kind, true, TPlace::At, 93, 200); break;
    default: break;
    }
}

void TDC_Main_Screen::Open_Load_Save(bool save) {
    if (Dialog(TDialog_Kind::Load_Save)) return;
    Set_Paused(true);
    Load_Save_Saving_ = save;
    Open_Dialog(TDialog_Kind::Load_Save, true, TPlace::Centred, 0, 0,
                [this, save](TDisplay_Class& d) { Factory_->Set_Save_Mode(d, save); });
}

void TDC_Main_Screen::Open_Module_Text(const std::string& title, const TString_List& paragraphs) {
    Open_Dialog(TDialog_Kind::Module_Text, false, TPlace::Centred, 0, 0,
                [&](TDisplay_Class& d) { Factory_->Set_Module_Text(d, title, paragraphs); });
}

void TDC_Main_Screen::Open_Talk_Dialog(uint16_t monster_id) {
    Open_Dialog(TDialog_Kind::Talk, true, TPlace::Centred, 0, 0,
                [&](TDisplay_Class& d) { Factory_->Set_Monster(d, monster_id); });
}

void TDC_Main_Screen::Open_Chest_Dialog(int32_t x, int32_t y) {
    if (Open_Dialog(TDialog_Kind::Chest, false, TPlace::Centred, 0, 0,
                    [&](TDisplay_Class& d) { Factory_->Set_Square(d, x, y); }))
        if (TDisplay_Class* inventory = Dialog(TDialog_Kind::Win_Inventory)) inventory->Set_Visible(true);
}

void TDC_Main_Screen::Open_Death_Dialog(const TDeath_Details& details) {
    Open_Dialog(TDialog_Kind::Dead, true, TPlace::Centred, 0, 0,
                [&](TDisplay_Class& d) { Factory_->Set_Death(d, details); });
}

void TDC_Main_Screen::Free_Non_Pausing_Dialogs() {
    for (TDialog_Kind kind : Non_Pausing_Dialogs) Free_Dialog(kind);
}

void TDC_Main_Screen::Hide_Game_Windows() {
    for (TDialog_Kind kind : {TDialog_Kind::Win_Inventory, TDialog_Kind::Win_Stats})
        if (TDisplay_Class* window = Dialog(kind)) window->Set_Visible(false);
}

bool TDC_Main_Screen::Is_Creature_Dialog_Open() const {
    return Dialog(TDialog_Kind::Talk) || Dialog(TDialog_Kind::Store) || Dialog(TDialog_Kind::Chest) ||
           Dialog(TDialog_Kind::Give_Item);
}

bool TDC_Main_Screen::Mouse_Position(int32_t& x, int32_t& y) const {
    Gx_Mouse_Position(x, y);
    return x >= 0 && y >= 0 && x < Screen_Width && y < Screen_Height;
}

void TDC_Main_Screen::Set_Paused(bool paused) {
    TDC_Main::Set_Paused(paused);
    // Leaving a dialog that stopped time also ends the player's own pause.
    if (!paused) View.User_Pause = false;
}

void TDC_Main_Screen::Play_Music(const std::string& file_name) {
    if (Sounds_Installed()) Sounds().Sound_Start_Music(file_name);
}

void TDC_Main_Screen::Open_Game_Dialog_Named(const std::string& name) {
    if (const std::optional<TDialog_Kind> kind = Dialog_Kind_Of(name)) Open_Game_Dialog(*kind);
}

void TDC_Main_Screen::Toggle_Game_Window(const std::string& name) {
    const std::optional<TDialog_Kind> kind = Dialog_Kind_Of(name);
    if (kind != TDialog_Kind::Win_Inventory && kind != TDialog_Kind::Win_Stats) return;
    if (TDisplay_Class* window = Dialog(*kind)) window->Set_Visible(!window->Visible);
}

void TDC_Main_Screen::Inventory_Next_Tab() {
    if (TDisplay_Class* inventory = Dialog(TDialog_Kind::Win_Inventory)) Factory_->Next_Tab(*inventory);
}

bool TDC_Main_Screen::Is_Item_Window_Open() const {
    return Dialog(TDialog_Kind::Chest) || Dialog(TDialog_Kind::Store) || Dialog(TDialog_Kind::Give_Item);
}

// ---------------------------------------------------------------------------------------------------------
// The game screen's own input

void TDC_Main_Screen::Handle_MouseMove(int32_t shift, int32_t x, int32_t y) {
    if (Game_Input()) Input_.Handle_MouseMove(shift, x, y);
}

void TDC_Main_Screen::Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) {
    if (Game_Input()) Input_.Handle_MouseDown(button, shift, x, y);
}

void TDC_Main_Screen::Handle_MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside) {
    Input_.Handle_MouseUp(button, shift, x, y, outside);
}

void TDC_Main_Screen::Handle_KeyDown(uint16_t& key, int32_t shift) {
    // Hot keys only over the running game with no modal dialog: typing into a dialog or a menu over a
    // stopped world opens nothing.
    if (!Game_Input() || Has_Modal_Child) return;
    // A key that opened or toggled something is kept from the children, or the dialog it just opened
    // would take it too (G would close the game menu it opened).
    if (Input_.Handle_KeyDown(key, shift)) Key_Consumed = true;
}

// ---------------------------------------------------------------------------------------------------------
// The HUD

void TDC_Main_Screen::Create_Game_Controls() {
    if (Main_Buttons_[0]) return;
    if (TDisplay_Object* display = Display_Object()) {
        if (const TGame_Settings* settings = Game_Settings()) gx_vbdepth(settings->Color_Depth);
        if (display->Alloc_Virtual_Buffer("TDC_Main", Screen_Buffer, true, true, Screen_Height,
                                          Screen_Width) &&
            gx_vbopen(Screen_Buffer) == 0) {
            const int32_t result =
                gx_showbmp(Path_Settings() ? Path_Settings()->Get_MainUI_Bitmap() : std::string(), 9);
            if (result != 0)
                plat::Display_Backend().Message_Box("gx_showbmp", "Error=" + std::to_string(result));
        }
    }
    const auto make_button = [this](int32_t type, int32_t image, int32_t help, TClick_Handler handler) {
        auto button = std::make_unique<TDC_Button>();
        button->Set_Button_Type(type);
        button->Set_Image_Index(image);
        button->Set_Help_Id(help);
        button->On_Click = std::move(handler);
        Add_Child_Control(button.get());
        return button;
    };
    const TClick_Handler control = [this](const std::string& name) { Input_.Control_Button_Click(name); };
    for (int32_t n = 1; n <= 5; ++n) Main_Buttons_[n - 1] = make_button(2, n - 1, n, control);
    Spell_Select_Button_ = make_button(2, 8, 6, control);
    for (auto& button : Spell_Buttons_) {
        button = std::make_unique<TDC_Spell_Button>();
        button->Set_Hint_Value(9);
        button->On_Click = [this](const std::string& name) { Input_.Spell_Button_Click(name); };
        Add_Child_Control(button.get());
    }
    Update_Spell_Buttons();
    Drink_Health_Button_ = make_button(10, 3, 7, [this](const std::string&) { Input_.Drink_Health(); });
    Drink_Mana_Button_ = make_button(10, 4, 8, [this](const std::string&) { Input_.Drink_Mana(); });
    const TClick_Handler toggle = [this](const std::string& name) { Input_.Window_Toggle_Click(name); };
    Drop_Inventory_Button_ = make_button(3, 0, 10, toggle);
    Drop_Stats_Button_ = make_button(3, 0, 11, toggle);
    // The two windows start hidden; the toggles show them.
    const auto give_callbacks = [this](TDisplay_Class& d) { Factory_->Set_Callbacks(d, Tick_.Callbacks()); };
    for (TDialog_Kind kind : {TDialog_Kind::Win_Inventory, TDialog_Kind::Win_Stats})
        if (TDisplay_Class* window = Open_Dialog(kind, false, TPlace::Centred, 0, 0, give_callbacks))
            window->Set_Visible(false);
    Reposition();
}

void TDC_Main_Screen::Reposition() {
    for (int32_t n = 1; n <= 5; ++n)
        if (Main_Buttons_[n - 1])
            Main_Buttons_[n - 1]->Place("Main Control Button " + std::to_string(n), Left + 51 * n - 42,
                                        Top + 540);
    if (Spell_Select_Button_) Spell_Select_Button_->Place("Button Spell Sel", Left + 529, Top + 540);
    for (int32_t n = 1; n <= 10; ++n)
        if (Spell_Buttons_[n - 1])
            Place_Spell_Button(*Spell_Buttons_[n - 1], "Spell Button " + std::to_string(n),
                               n <= 5 ? Left + 40 * n + 553 : Left + 40 * n + 353,
                               n <= 5 ? Top + 511 : Top + 553);
    if (Drink_Health_Button_) Drink_Health_Button_->Place("Drink Health Button", Left + 713, Top + 442);
    if (Drink_Mana_Button_) Drink_Mana_Button_->Place("Drink Mana Button", Left + 753, Top + 442);
    if (Drop_Inventory_Button_) Drop_Inventory_Button_->Place("Drop Inventory", Left + 11, Top + 195);
    if (Drop_Stats_Button_) Drop_Stats_Button_->Place("Drop Stats", Left + 487, Top + 118);
    if (TDisplay_Class* w = Dialog(TDialog_Kind::Win_Inventory))
        w->Set_Position_At("Win Inventory", Left, Top + 224, false);
    if (TDisplay_Class* w = Dialog(TDialog_Kind::Win_Stats))
        w->Set_Position_At("Win Stats", Left + 195, Top + 147, false);
    if (TDisplay_Class* d = Dialog(TDialog_Kind::Intro)) d->Set_Position_At("Dlg Intro", 267, 133, false);
    if (TDisplay_Class* d = Dialog(TDialog_Kind::Menu)) d->Center_On_Screen("Dlg Menu", false);
    if (TDisplay_Class* d = Dialog(TDialog_Kind::Select_Module))
        d->Center_On_Screen("Dlg Select Module", false);
    if (TDisplay_Class* d = Dialog(TDialog_Kind::Difficulty)) d->Center_On_Screen("Dlg Difficulty", false);
}

void TDC_Main_Screen::Set_Hud_Visible(bool visible) {
    for (auto& b : Main_Buttons_)
        if (b) b->Set_Visible(visible);
    for (auto& b : Spell_Buttons_)
        if (b) b->Set_Visible(visible);
    for (TDC_Button* b : {Spell_Select_Button_.get(), Drink_Health_Button_.get(), Drink_Mana_Button_.get(),
                          Drop_Inventory_Button_.get(), Drop_Stats_Button_.get()})
        if (b) b->Set_Visible(visible);
}

void TDC_Main_Screen::Show_Game_Controls(bool visible) {
    Set_Hud_Visible(visible);
    Update_Spell_Buttons();
    if (visible) {
        Game_Started = true;
        World_Running = true;
    }
}

void TDC_Main_Screen::Update_Spell_Buttons() {
    const TMonster* player = Player();
    for (int32_t n = 1; n <= 10; ++n) {
        TDC_Spell_Button* button = Spell_Buttons_[n - 1].get();
        if (!button) continue;
        button->Set_Spell(1, 0, 0);
        if (!player) continue;
        uint8_t kind = 0;
        uint16_t value = 0;
        player->Spells.Get_Quick_Slot(n, kind, value);
        button->Set_Spell(player->Spells.Get_Selected_Slot() == n ? 2 : 1, kind, value);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Ticks and frames

void TDC_Main_Screen::Process_Tick(int32_t counter, double rate) {
    Tick_.Process_Tick(counter, rate);
}

void TDC_Main_Screen::Handle_DrawPage(int32_t page) {
    TRoot_Screens screens;
    screens.Error_List = Error_List_Dlg != nullptr;
    screens.Intro_Or_Developer =
        Dialog(TDialog_Kind::Intro) || Dialog(TDialog_Kind::MapGen) || Dialog(TDialog_Kind::TileGen);
    screens.Main_Menu = Dialog(TDialog_Kind::Menu) != nullptr;
    screens.Progress = Dialog(TDialog_Kind::Progress) != nullptr;
    screens.Progress_Draws_Own = Progress_Own_Background_;
    screens.Front_End_Choice = Dialog(TDialog_Kind::Select_Module) || Dialog(TDialog_Kind::Difficulty) ||
                               Dialog(TDialog_Kind::Select_Character) ||
                               (Dialog(TDialog_Kind::Module_Text) && !Game_Started);
    screens.Menu_Dialog_From_Menu = Opened_From_Menu;
    switch (Choose_Root_Drawing(screens)) {
    case TRoot_Drawing::Black_Page: Draw_Black_Page(page); break;
    case TRoot_Drawing::Menu_Background: {
        const TDisplay_Class* menu = Dialog(TDialog_Kind::Menu);
        Draw_Menu_Background(page, menu->Top, menu->Height);
        break;
    }
    case TRoot_Drawing::Nothing: break;
    case TRoot_Drawing::Game_Screen: {
        if (!Game_Started) {
            Draw_Black_Page(page);
            break;
        }
        Tick_.Get_View_Origin(View.Origin_X, View.Origin_Y);
        View.Blink = Tick_.Blink;
        View.Screen_Buffer = Screen_Buffer;
        const TCursor_Target& target = Cursor_Target();
        View.Subject = {target.Kind, target.Item_Id, target.Creature_Id, target.Spell_Id,
                        target.X,    target.Y,       target.Help_Id};
        View.Price = Current_Panel_Price();
        Draw_Game_Screen(page, View);
        break;
    }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Progress

void TDC_Main_Screen::Open_Progress(const std::string& caption) {
    // Long work inside the game keeps the game screen behind the box.
    if (!Dialog(TDialog_Kind::Progress)) Progress_Own_Background_ = false;
    Open_Dialog(TDialog_Kind::Progress, false);
    Set_Progress_Caption(caption);
    Set_Progress(0);
}

void TDC_Main_Screen::Set_Progress_Caption(const std::string& caption) {
    if (TDisplay_Class* progress = Dialog(TDialog_Kind::Progress))
        Factory_->Set_Progress_Caption(*progress, caption);
}

void TDC_Main_Screen::Set_Progress(int32_t percent) {
    // The box draws the frame that shows the new percent.
    if (TDisplay_Class* progress = Dialog(TDialog_Kind::Progress)) Factory_->Set_Percent(*progress, percent);
}

void TDC_Main_Screen::Close_Progress() {
    if (TDisplay_Class* progress = Dialog(TDialog_Kind::Progress)) {
        Set_Progress(100);
        progress->Set_Kill_Object(1);
    }
}

// ---------------------------------------------------------------------------------------------------------
// The screen flow

void TDC_Main_Screen::Kill_Child_Control(const std::string& name) {
    const std::optional<TDialog_Kind> found = Dialog_Kind_Of(name);
    if (!found || !Dialog(*found)) {
        TDC_Main::Kill_Child_Control(name);
        return;
    }
    Log(Unit, "TDC_Main.Kill_Child_Control(" + name + ") - Start");
    const TDialog_Kind kind = *found;
    TDisplay_Class& dialog = *Dialog(kind);
    dialog.Set_Visible(false);
    const int32_t result = Factory_->Get_Result(dialog);
    switch (kind) {
    case TDialog_Kind::Intro:
        Free_Dialog(kind);
        Intro_Closed();
        break;
    case TDialog_Kind::Menu:
        Log(Unit, "  f_dc_menu.Get_Menu_Result");
        Free_Dialog(kind);
        Menu_Closed(result);
        break;
    case TDialog_Kind::Select_Module:
        if (result == 1) {
            Chosen_Module = Factory_->Get_Module_Name(dialog);
            Free_Dialog(kind);
            Open_Dialog(TDialog_Kind::Difficulty, false);
        } else {
            Free_Dialog(kind);
            if (Path_Settings()) Path_Settings()->Set_Module("");
            Open_Main_Menu();
        }
        break;
    case TDialog_Kind::Difficulty:
        Free_Dialog(kind);
        if (result >= 1 && result <= 4) {
            Open_Character_Choice();
        } else {
            if (Path_Settings()) Path_Settings()->Set_Module("");
            Open_Main_Menu();
        }
        break;
    case TDialog_Kind::Select_Character:
        Free_Dialog(kind);
        if (result == Start_New_Character || result == Start_Existing_Character) {
            Start_Module(result);
        } else {
            if (Path_Settings()) Path_Settings()->Set_Module("");
            Open_Main_Menu();
        }
        break;
    case TDialog_Kind::Module_Text:
        Free_Dialog(kind);
        Show_Game_Controls(true);
        Set_Paused(false);
        Tick_.Process_Module_Events();
        break;
    case TDialog_Kind::MapGen:
    case TDialog_Kind::TileGen:
        Free_Dialog(kind);
        if (Main_Form()) Main_Form()->Close();
        break;
    case TDialog_Kind::Load_Save: {
        const bool succeeded = Factory_->Get_Succeeded(dialog);
        Free_Dialog(kind);
        Load_Save_Closed(succeeded);
        break;
    }
    case TDialog_Kind::Options:
    case TDialog_Kind::High_Scores:
        Free_Dialog(kind);
        Set_Paused(false);
        if (Opened_From_Menu) {
            Opened_From_Menu = false;
            Open_Main_Menu();
        }
        break;
    case TDialog_Kind::Game_Menu:
        Free_Dialog(kind);
        Set_Paused(false);
        Game_Menu_Closed(result);
        break;
    case TDialog_Kind::Spells_Add:
    case TDialog_Kind::Spells_Select:
        Free_Dialog(kind);
        Update_Spell_Buttons();
        break;
    case TDialog_Kind::Dead:
        Free_Dialog(kind);
        Show_Game_Controls(false);
        World_Running = false;
        Open_Main_Menu();
        break;
    case TDialog_Kind::Talk: {
        const int32_t store = Factory_->Get_Store_Number(dialog);
        const uint16_t monster_id = Factory_->Get_Monster_Id(dialog);
        Free_Dialog(kind);
        Talk_Closed(result, store, monster_id);
        break;
    }
    case TDialog_Kind::Chest:
    case TDialog_Kind::Store:
    case TDialog_Kind::Give_Item:
        Free_Dialog(kind);
        Hide_Game_Windows();
        Set_Paused(false);
        if (kind != TDialog_Kind::Give_Item) Update_Spell_Buttons();
        Tick_.Process_Module_Events();
        break;
    case TDialog_Kind::Conversation:
        Free_Dialog(kind);
        Set_Paused(false);
        Tick_.Process_Module_Events();
        break;
    default: // progress, overview map, quests, statistics, the two windows
        Free_Dialog(kind);
        break;
    }
    Log(Unit, "TDC_Main.Kill_Child_Control - End");
}

void TDC_Main_Screen::Intro_Closed() {
    Create_Game_Controls();
    if (Has_Switch("mapgen") || Has_Switch("tilegen")) {
        Tool_Mode = true;
        if (Sounds_Installed()) Sounds().Sound_Stop_Music();
        Open_Dialog(Has_Switch("mapgen") ? TDialog_Kind::MapGen : TDialog_Kind::TileGen, false);
        return;
    }
    Log(Unit, "  f_dc_menu := TDC_Dlg_Menu.create");
    Open_Main_Menu();
}

void TDC_Main_Screen::Menu_Closed(int32_t result) {
    switch (result) {
    case Menu_New_Game:
        Log(Unit, "  New Game");
        Open_Dialog(TDialog_Kind::Select_Module, false);
        break;
    case Menu_Resume:
        Log(Unit, "  Resume Game");
        Resume_Game();
        break;
    case Menu_Load:
        Log(Unit, "  Load Game");
        if (!Dialog(TDialog_Kind::Load_Save)) {
            Load_Save_Saving_ = false;
            Open_Dialog(TDialog_Kind::Load_Save, true, TPlace::Centred, 0, 0,
                        [this](TDisplay_Class& d) { Factory_->Set_Save_Mode(d, false); });
            Opened_From_Menu = true;
        }
        break;
    case Menu_High_Scores:
        if (!Dialog(TDialog_Kind::High_Scores)) {
            Open_Dialog(TDialog_Kind::High_Scores, true);
            Opened_From_Menu = true;
        }
        break;
    case Menu_Quit:
        Log(Unit, "  Quit");
        if (Main_Form()) Main_Form()->Close();
        break;
    default: break;
    }
}

void TDC_Main_Screen::Load_Save_Closed(bool succeeded) {
    const bool loaded = succeeded && !Load_Save_Saving_;
    if (loaded) After_Load();
    Set_Paused(false);
    if (!Opened_From_Menu) return;
    Opened_From_Menu = false;
    if (succeeded) {
        Show_Game_Controls(true);
        Set_Paused(false);
    } else {
        Open_Main_Menu();
    }
}

void TDC_Main_Screen::Game_Menu_Closed(int32_t result) {
    switch (result) {
    case Game_Menu_Load: Open_Load_Save(false); break;
    case Game_Menu_Save: Open_Load_Save(true); break;
    case Game_Menu_Export: Export_Character(); break;
    case Game_Menu_Options:
        if (!Dialog(TDialog_Kind::Options)) {
            Set_Paused(true);
            Open_Dialog(TDialog_Kind::Options, true);
        }
        break;
    case Game_Menu_High_Scores:
        if (!Dialog(TDialog_Kind::High_Scores)) {
            Set_Paused(true);
            Open_Dialog(TDialog_Kind::High_Scores, true);
        }
        break;
    case Game_Menu_Quit: Set_Kill_Object(1); break;
    default: break;
    }
}

void TDC_Main_Screen::Talk_Closed(int32_t choice, int32_t store, uint16_t monster_id) {
    switch (choice) {
    case 1:
        if (Open_Dialog(TDialog_Kind::Store, false, TPlace::At, 180, 203,
                        [&](TDisplay_Class& d) { Factory_->Set_Store(d, store, monster_id); }))
            if (TDisplay_Class* inventory = Dialog(TDialog_Kind::Win_Inventory)) inventory->Set_Visible(true);
        break;
    case 2:
        Open_Dialog(TDialog_Kind::Conversation, true, TPlace::Centred, 0, 0,
                    [&](TDisplay_Class& d) { Factory_->Set_Monster(d, monster_id); });
        break;
    case 3:
        if (Open_Dialog(TDialog_Kind::Give_Item, false, TPlace::Centred, 0, 0,
                        [&](TDisplay_Class& d) { Factory_->Set_Monster(d, monster_id); }))
            if (TDisplay_Class* inventory = Dialog(TDialog_Kind::Win_Inventory)) inventory->Set_Visible(true);
        break;
    default:
        Set_Paused(false);
        Tick_.Process_Module_Events();
        break;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Games

void TDC_Main_Screen::After_Load() {
    Tick_.Pending_Command = Command_None;
    Tick_.Target_X = 0;
    Tick_.Target_Y = 0;
    Tick_.Walking = false;
    Tick_.Left_Button_Held = false;
    Input_.Right_Button_Held = false;
    Update_Spell_Buttons();
}

void TDC_Main_Screen::Resume_Game() {
    const int32_t slot = Machine_Options().Last_Saved_Game_Slot;
    // Only a slot that holds a game is tried: the current game must not be touched for nothing.
    if (!Slot_Holds_Game(slot)) {
        Show_Message("Resume", "There is no saved game to resume. Please use Load Game.");
        Open_Main_Menu();
        return;
    }
    Release_Held_Item();
    if (!Load_Slot(slot)) {
        Open_Main_Menu();
        return;
    }
    After_Load();
    if (const TModule* module = Module()) Play_Music(module->Get_Current_Map_Music());
    Show_Game_Controls(true);
}

void TDC_Main_Screen::Export_Character() {
    TMonster* player = Player();
    if (!player) return;
    Release_Held_Item();
    player->Set_Character_State(0);
    const std::optional<std::string> path = Character_File_Path(player->Name);
    if (path && Save_Character(*player, *path))
        Show_Message("Экспорт персонажа", "Персонаж был успешно экспортирован.");
}

bool TDC_Main_Screen::Give_Starting_Items(TMonster& player) {
    const TClass_Info* info = Get_Class(player.Class_Index);
    TPath_Settings* paths = Path_Settings();
    if (!info || info->Starting_Items.empty() || !paths) return true;
    TItem_Class_List list;
    TCurrent_Item_Class_List_Guard current(list);
    Load_Item_Modifiers(paths->Get_ItemModifiers_File());
    Load_Unique_Names(paths->Get_UniqueItemNames_File());
    // A list that fails to load gives no items at all, and the game does not start.
    const bool loaded = list.Load_From_File(paths->Get_Classes_ItemClasses_File());
    if (loaded)
        for (const std::string& name : info->Starting_Items)
            Give_Item_To_Monster(player, name, "None", 0, 1, 1);
    Free_Item_Modifiers();
    Free_Unique_Names();
    return loaded;
}

void TDC_Main_Screen::Start_Module(int32_t kind) {
    // The item on the cursor belongs to the map that is about to be replaced.
    Release_Held_Item();
    Open_Dialog(TDialog_Kind::Progress, false);
    Progress_Own_Background_ = true;
    TPath_Settings* paths = Path_Settings();
    bool ok = paths != nullptr;
    if (ok) {
        Delete_Files(paths->Get_Current_Game_Folder());
        ok = !Chosen_Module.empty() && paths->Set_Module(Chosen_Module + "/") &&
             Load_Module_Class(paths->Get_ModuleData_File());
        if (ok) {
            ok = Create_Module();
            Free_Module_Class();
        }
    }
    if (ok)
        ok = Module() && Load_Module(paths->Get_Current_Game_Folder(), "Module.mod", *Module(), true,
                                     Template_Character_.get());
    TMonster* player = ok ? Player() : nullptr;
    if (ok && !player) ok = false;
    if (ok) {
        player->Set_Module_Name(Module()->Character_Data_Set);
        if (kind == Start_New_Character) {
            ok = Give_Starting_Items(*player);
        } else {
            const uint16_t id = player->Id;
            const uint8_t x = player->X, y = player->Y;
            if (const std::optional<std::string> path = Character_File_Path(player->Name))
                Load_Character(*player, *path);
            player->Id = id;
            player->Set_Position(x, y);
            Reapply_Existing_Character(*player, Module()->Character_Data_Set);
        }
        if (TDisplay_Object* display = Display_Object())
            if (TMap* map = Current_Map()) display->Load_Map_Bitmaps(*map);
        After_Load();
        Play_Music(Module()->Get_Current_Map_Music());
    }
    Close_Progress();
    if (ok) {
        Set_Paused(true);
        Open_Module_Text(Module()->Module_Name, Module()->Paragraphs);
    } else {
        Open_Main_Menu();
    }
}
