// A conversation with a creature: its topics in a list; choosing one shows the creature's answer beside
// it, and a creature with an event id tells the module's events which topic it was asked about.
#pragma once

#include "ui/DCDlgPicture.h"
#include "ui/DCList.h"

#include <cstdint>
#include <string>

class TDC_Dlg_Conversation : public TDC_Dlg_Picture {
public:
    TDC_Dlg_Conversation();

    // The creature's topics fill the list in order.
    void Set_Monster(uint16_t monster_id);
    uint16_t Get_Monster_ID() const { return Monster_Id; }
    // Topic n (from 1) asked: nothing when the creature is gone or has fewer topics.
    void Choose_Topic(int32_t n);
    const std::string& Answer() const { return Answer_; }

    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;

    TDC_List Topic_List;

private:
    uint16_t Monster_Id = 0;
    std::string Answer_;
};
