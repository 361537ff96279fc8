// The game screen's controller: the root control of the running game. It opens every dialog as its own
// child through the dialog factory, reads each dialog's result when it closes and decides what comes next
// (intro, main menu, module, difficulty, character, module start, game screen, death or the end of the
// module back to the menu); it builds and shows the HUD, starts new games and resumes saved ones, and runs
// game time through the tick, which reaches the screen back through TGame_Screen_Host. The game screen's
// mouse, hot keys and HUD buttons go to its input handlers, which ask for dialogs and windows through the
// same interface.
//
// The world runs only between a shown game screen and the end of its game: after the module ended or the
// death screen closed nothing of the old map moves, no autosave is written and no outcome is taken.
#pragma once

#include "ui/DCGameScreen.h"
#include "ui/DCMain.h"
#include "ui/DCMainInput.h"
#include "ui/DCMainTick.h"
#include "ui/DialogFactory.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TDC_Button;
class TDC_Spell_Button;
class TMonster;

// Kinds of module start.
enum : int32_t {
    Start_New_Character = 1,
    Start_Existing_Character = 2,
};

class TDC_Main_Screen : public TDC_Main, public TGame_Screen_Host {
public:
    // Without a factory the stand-in factory is used.
    explicit TDC_Main_Screen(std::unique_ptr<TDialog_Factory> factory = nullptr);
    ~TDC_Main_Screen() override;

    // ---- The control ----
    void Kill_Child_Control(const std::string& name) override;
    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;
    void Process_Tick(int32_t counter, double rate) override;
    // The game screen's own mouse and keys (what no child took) while the world runs; a release always
    // lets go of both buttons.
    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y) override;
    void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    void Handle_MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside) override;
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;

    // ---- Progress of long work (module creation, saving, loading) ----
    void Open_Progress(const std::string& caption) override;
    void Set_Progress_Caption(const std::string& caption) override;
    void Set_Progress(int32_t percent) override;
    void Close_Progress() override;

    // ---- The game screen ----
    void Create_Game_Controls();
    void Start_Module(int32_t kind);
    // The main menu's resume: the last saved slot when it holds a game, else a notice and the menu.
    void Resume_Game();
    // Pending command, target, walking and both held buttons cleared and the quick bar refreshed: what a
    // loaded game must start from.
    void After_Load();
    // The game screen's own dialogs (from the HUD or hot keys), each only while it is closed: the game menu
    // pauses and is modal; the overview map, quests, statistics and spell selection are modal without a
    // pause; the spells to add stand at 93, 200, modal. Any other kind opens nothing.
    void Open_Game_Dialog(TDialog_Kind kind);
    // The game menu's export of the character.
    void Export_Character();

    // ---- TGame_Screen_Host ----
    bool Is_Paused() const override { return Paused; }
    bool Is_Tool_Mode() const override { return Tool_Mode; }
    bool Is_Game_Started() const override { return Game_Started; }
    bool Is_World_Running() const override { return World_Running; }
    bool Is_Module_Text_Open() const override { return Dialog(TDialog_Kind::Module_Text) != nullptr; }
    bool Is_Creature_Dialog_Open() const override;
    bool Mouse_Position(int32_t& x, int32_t& y) const override;
    void Set_Paused(bool paused) override;
    void Show_Game_Controls(bool visible) override;
    void Stop_World() override { World_Running = false; }
    void Open_Main_Menu() override;
    void Open_Module_Text(const std::string& title, const TString_List& paragraphs) override;
    void Open_Talk_Dialog(uint16_t monster_id) override;
    void Open_Chest_Dialog(int32_t x, int32_t y) override;
    void Free_Non_Pausing_Dialogs() override;
    void Hide_Game_Windows() override;
    void Open_Death_Dialog(const TDeath_Details& details) override;
    void Update_Spell_Buttons() override;
    void Play_Music(const std::string& file_name) override;
    void Open_Game_Dialog_Named(const std::string& name) override;
    void Toggle_Game_Window(const std::string& name) override;
    void Inventory_Next_Tab() override;
    bool Is_Store_Dialog_Open() const override { return Dialog(TDialog_Kind::Store) != nullptr; }
    // The chest, store and give-item dialogs work with the player's slots while they pause the game.
    bool Is_Item_Window_Open() const override;

    // ---- Dialogs ----
    // The open dialog of the kind; null while closed.
    TDisplay_Class* Dialog(TDialog_Kind kind) const { return Dialogs_[static_cast<size_t>(kind)]; }
    TDialog_Factory& Factory() { return *Factory_; }
    TDC_Main_Tick& Tick() { return Tick_; }
    TDC_Main_Input& Input() { return Input_; }
    TMonster* Template_Character() const { return Template_Character_.get(); }

    // ---- State ----
    bool Tool_Mode = false;
    bool Game_Started = false;
    bool World_Running = false;
    bool Opened_From_Menu = false;
    int32_t Screen_Buffer = 0;
    std::string Chosen_Module;
    // What the drawing reads; the input writes the player's own pause and the refused slot into it.
    TGame_Screen_View View;

private:
    enum class TPlace { Centred, At };
    // Opens the dialog of the kind unless one is open: created by the factory, placed with its modality,
    // given its data, shown and added. Null when it was already open.
    TDisplay_Class* Open_Dialog(TDialog_Kind kind, bool modal, TPlace place = TPlace::Centred, int32_t x = 0,
                                int32_t y = 0, const std::function<void(TDisplay_Class&)>& give = {});
    // Frees the open dialog of the kind and forgets it.
    void Free_Dialog(TDialog_Kind kind);
    // The dialog screens that follow each close.
    void Intro_Closed();
    void Menu_Closed(int32_t result);
    void Game_Menu_Closed(int32_t result);
    void Load_Save_Closed(bool succeeded);
    void Talk_Closed(int32_t choice, int32_t store, uint16_t monster_id);
    void Open_Load_Save(bool save);
    void Open_Character_Choice();
    bool Give_Starting_Items(TMonster& player);
    void Set_Hud_Visible(bool visible);
    // The game screen takes its own input only while its world runs.
    bool Game_Input() const { return Game_Started && World_Running && !Tool_Mode; }

    std::unique_ptr<TDialog_Factory> Factory_;
    TDC_Main_Tick Tick_;
    TDC_Main_Input Input_{*this, Tick_, View};
    std::array<TDisplay_Class*, Dialog_Kind_Count> Dialogs_{}; // owned while open
    std::unique_ptr<TMonster> Template_Character_;
    bool Load_Save_Saving_ = false;
    bool Progress_Own_Background_ = false;

    // The HUD, owned; made when the intro closes.
    std::array<std::unique_ptr<TDC_Button>, 5> Main_Buttons_;
    std::unique_ptr<TDC_Button> Spell_Select_Button_;
    std::array<std::unique_ptr<TDC_Spell_Button>, 10> Spell_Buttons_;
    std::unique_ptr<TDC_Button> Drink_Health_Button_, Drink_Mana_Button_;
    std::unique_ptr<TDC_Button> Drop_Inventory_Button_, Drop_Stats_Button_;
};
