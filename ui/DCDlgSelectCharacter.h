// The character choice after the difficulty: either a new character made from a class, one of its
// portraits and a typed name, or a character stored in the characters folder, shown with its statistics
// and status. The dialog fills the character it is given (the game screen's template character); nothing is
// written to disk here. Refusals open a modal message box, one at a time, and the dialog stays open.
#pragma once

#include "ui/CharacterChoice.h"
#include "ui/DCDlgPicture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TDC_Button;
class TDC_Button_Toggle;
class TDC_Dlg_Message;
class TDC_EditText;
class TDC_List;
class TDC_Text_Button;
class TMonster;

enum : int32_t {
    Select_Character_New = 1,
    Select_Character_Existing = 2,
    Select_Character_Cancel = 3,
};

class TDC_Dlg_Select_Character : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Dialog_Width = 696;
    static constexpr int32_t Dialog_Height = 504;
    static constexpr int32_t Layout_Width = 331;
    static constexpr int32_t Layout_Height = 356;
    static constexpr int32_t Portrait_Buttons = 40;

    TDC_Dlg_Select_Character();
    ~TDC_Dlg_Select_Character() override;

    void Kill_Child_Control(const std::string& name) override;
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;

    // The character that receives the new or chosen one; set before the dialog is used. Not owned.
    void Set_Character(TMonster* character) { Target = character; }
    // 1 new character, 2 stored character, 3 Cancel; 0 while open.
    int32_t Get_Result() const { return Result; }

    void Button_Click(const std::string& name);
    void Mode_Click(const std::string& name);
    void List_Click(const std::string& name, int32_t line);
    void Portrait_Click(const std::string& name);
    void Delete_Character(const std::string& name);
    void Fill_Character_Files();

    // ---- What tests and the screen read ----
    bool New_Mode() const;
    // The class of the selected class line, 0 when none.
    int32_t Selected_Class() const;
    int32_t Selected_Portrait() const { return Portrait; }
    const TMonster* Preview() const { return Preview_.get(); }
    TDC_Dlg_Message* Message_Box() const { return Message; }
    TDC_List& Class_List() { return *Classes; }
    TDC_List& File_List() { return *Files; }
    TDC_EditText& Name_Field() { return *Edit; }
    TDC_Button& Portrait_Button(int32_t i) { return *Portraits[static_cast<std::size_t>(i - 1)]; }
    const TPortrait_Map& Portrait_Map() const { return Map; }

private:
    void Create_New_Character();
    void Use_Existing_Character();
    void Load_Preview();
    void Show_Refusal(const TChoice_Refusal& refusal);
    void Draw_Portrait(const std::string& name, int32_t page, bool pressed, int32_t top, int32_t left);
    void Draw_New_Mode(int32_t page);
    void Draw_Existing_Mode(int32_t page);
    void Draw_Preview(int32_t page);

    int32_t Layout_Buffer = 0;
    std::unique_ptr<TDC_Text_Button> OK_Button, Cancel_Button, Delete_Button;
    std::array<std::unique_ptr<TDC_Button>, Portrait_Buttons> Portraits;
    std::unique_ptr<TDC_Button_Toggle> Opt_New, Opt_Existing;
    std::unique_ptr<TDC_EditText> Edit;
    std::unique_ptr<TDC_List> Classes, Files;
    int32_t Portrait = 0;
    int32_t Result = 0;
    TMonster* Target = nullptr;
    std::unique_ptr<TMonster> Preview_;
    TDC_Dlg_Message* Message = nullptr; // owned while open
    TPortrait_Map Map;
};
