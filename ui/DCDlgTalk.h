// What the player may do with a creature he addresses: talk, trade or hand items over. Five text buttons
// list the creature's offers from the top ("Общение" when it has topics, "Торговать" when it keeps a store
// of this map, "Передать" when it takes items); the fifth always reads "Отмена". A press on an offer closes
// the dialog with its choice, a press on an empty button does nothing, "Отмена" and Escape close with 0.
// The game screen then opens the store, the conversation or the give-item dialog for the choice.
#pragma once

#include "ui/DCDlgPicture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// The choices, as the game screen reads them.
enum : int32_t {
    Talk_Choice_None = 0,
    Talk_Choice_Trade = 1,
    Talk_Choice_Talk = 2,
    Talk_Choice_Give = 3,
};

class TDC_Dlg_Talk : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Button_Count = 5;

    TDC_Dlg_Talk();

    // Fills the captions from the creature of the current map; a creature that is not there offers nothing.
    void Set_Monster(uint16_t monster_id);
    int32_t Get_Choice() const { return Choice; }
    // The creature's store number; 0 when the creature is gone.
    int32_t Get_Store_Number() const;
    uint16_t Get_Monster_ID() const { return Monster_Id; }

    void Reposition() override;
    // Escape is "Отмена".
    void Close() override;

    TDC_Text_Button& Button(int32_t n) { return *Buttons_[static_cast<std::size_t>(n - 1)]; }

private:
    void Button_Click(int32_t n);

    std::array<std::unique_ptr<TDC_Text_Button>, Button_Count> Buttons_;
    uint16_t Monster_Id = 0;
    int32_t Choice = Talk_Choice_None;
};
