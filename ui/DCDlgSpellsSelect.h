// The quick-bar editor: the ten quick-bar slots as spell buttons at the top, and below them one page per
// skill group of the class with the player's castable spells of that group, then a last page ("Свитки")
// with the scrolls he carries. Arrows turn the pages; a page longer than twelve entries is shown in
// sub-pages turned by two markers. A click on a slot chooses it; then a click (any button) on an entry
// puts that spell or scroll on the chosen slot. Closes on its close button, Escape and B.
//
// The dialog is open while the world runs, and the player may die under it: every draw and click asks for
// the player anew, and without one only the picture and the title are drawn and only closing works.
#pragma once

#include "core/TypedLists.h"
#include "ui/DCDlgPicture.h"
#include "ui/DCSpellButton.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

constexpr uint16_t Vk_B = 66;

class TDC_Dlg_Spells_Select : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Slot_Count = 10;
    static constexpr int32_t Entries_Per_Sub_Page = 12;
    static constexpr int32_t Entry_Size = 38;
    // Content kinds of a page: the player's spells, or the scrolls in his inventory slots.
    static constexpr int32_t Content_Spells = 1;
    static constexpr int32_t Content_Scrolls = 2;

    TDC_Dlg_Spells_Select();
    ~TDC_Dlg_Spells_Select() override;

    void Handle_DrawPage(int32_t page) override;
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y) override;
    void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    void Reposition() override;

    // The slot buttons' handler ("Spell Button 1".."Spell Button 10"): that slot becomes the chosen one.
    void Slot_Click(const std::string& name);

    TDC_Spell_Button& Slot_Button(int32_t n) { return *Slot_Buttons_[static_cast<std::size_t>(n - 1)]; }
    // Pages 1..Page_Count(); the last is the scroll page.
    int32_t Page_Count() const;
    int32_t Page() const { return Page_; }
    int32_t Sub_Page() const { return Sub_Page_; }
    int32_t Chosen_Slot() const { return Chosen_Slot_; }
    int32_t Content_Kind() const { return Content_Kind_; }
    // The page's entries: spell ids, or inventory slots on the scroll page; and their levels (0 for scrolls).
    const TWordList& Entries() const { return Entries_; }
    const TWordList& Levels() const { return Levels_; }
    // The shown entry (its index in Entries) whose cell holds the page point, or 0.
    int32_t Entry_At(int32_t x, int32_t y) const;
    // The cell of the k-th entry (1..12) of a sub-page, from the dialog's corner.
    static void Entry_Cell(int32_t k, int32_t& x, int32_t& y);

    TDC_Button Left_Arrow, Right_Arrow, Page_Marker_Left, Page_Marker_Right;

private:
    void Turn_Page(int32_t step);
    void Turn_Sub_Page(int32_t step);
    void Build_List();
    void Refresh_Arrows();
    void Refresh_Markers();
    // Every slot button from the player's quick bar, the chosen one marked.
    void Refresh_Slot_Buttons();
    int32_t Last_Sub_Page() const;
    // The shown entries: indexes First_Shown()..Last_Shown() of the list.
    int32_t First_Shown() const { return (Sub_Page_ - 1) * Entries_Per_Sub_Page + 1; }
    int32_t Last_Shown() const;
    void Draw_Entries(int32_t page);

    std::array<std::unique_ptr<TDC_Spell_Button>, Slot_Count> Slot_Buttons_;
    int32_t Chosen_Slot_ = 0; // 0: none yet
    int32_t Page_ = 1;
    int32_t Sub_Page_ = 1;
    int32_t Content_Kind_ = Content_Spells;
    TWordList Entries_;
    TWordList Levels_;
};
