// The death screen: the death song plays, the dead character goes into the high-score file, and a text tells
// who died, what was reached, and what killed him (a creature with its level, or an effect). Closing it
// (close button or Escape) returns the game to the main menu.
#pragma once

#include "ui/DCDlgPicture.h"

#include <cstdint>
#include <string>

class TDC_Dlg_Dead : public TDC_Dlg_Picture {
public:
    TDC_Dlg_Dead();

    // Keeps the details and enters the character into the high-score file; called right after creation.
    // An empty effect name means a creature killed.
    void Set_Death_Info(const std::string& name, int32_t class_number, uint16_t level, int32_t experience,
                        const std::string& killer_name, uint16_t killer_level,
                        const std::string& effect_name);
    // The text the screen shows.
    std::string Death_Text() const;
    void Handle_DrawPage(int32_t page) override;

    std::string Character_Name;
    int32_t Class_Number = 0;
    uint16_t Level = 0;
    int32_t Experience = 0;
    std::string Killer_Name;
    uint16_t Killer_Level = 0;
    std::string Effect_Name;
    bool New_Record = false;
};

// The "Class Name" of the class table's entry; empty for a number outside the table (a character file made
// with another data set).
std::string Class_Name_Of(int32_t class_number);
