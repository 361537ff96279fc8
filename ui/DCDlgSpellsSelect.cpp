#include "ui/DCDlgSpellsSelect.h"

#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Spells.h"
#include "media/DisplayGxFont.h"
#include "ui/CursorTarget.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr uint8_t Item_Type_Scroll = 15;
// The inventory slots the scroll page looks through: the equipment slots too.
constexpr int32_t First_Scroll_Slot = 1, Last_Scroll_Slot = 90;

// Two columns of three pairs on each side, every other cell set a little lower.
constexpr int32_t Cell_X[TDC_Dlg_Spells_Select::Entries_Per_Sub_Page] = {54,  96,  54,  96,  54,  96,
                                                                         161, 203, 161, 203, 161, 203};
constexpr int32_t Cell_Y[TDC_Dlg_Spells_Select::Entries_Per_Sub_Page] = {176, 183, 217, 224, 258, 265,
                                                                         183, 176, 224, 217, 265, 258};

} // namespace

TDC_Dlg_Spells_Select::TDC_Dlg_Spells_Select()
    : TDC_Dlg_Picture("TDC_Dlg_Spells_Select", "Dlg_SpellSelection.bmp", 307, 450, true) {
    Add_Close_Button(256, 393);
    for (auto [button, name, image, action] :
         {std::tuple{&Left_Arrow, "Left Arrow", 5, 0}, std::tuple{&Right_Arrow, "Right Arrow", 6, 1},
          std::tuple{&Page_Marker_Left, "Page Marker Left", 10, 2},
          std::tuple{&Page_Marker_Right, "Page Marker Right", 11, 3}}) {
        button->Set_Button_Type(1);
        button->Set_Image_Index(image);
        button->Name = name;
        button->Set_Visible(true);
        button->On_Click = [this, action = action](const std::string&) {
            if (action < 2)
                Turn_Page(action == 0 ? -1 : 1);
            else
                Turn_Sub_Page(action == 2 ? -1 : 1);
        };
        Add_Child_Control(button);
    }
    for (int32_t n = 1; n <= Slot_Count; ++n) {
        auto button = std::make_unique<TDC_Spell_Button>();
        button->Name = "Spell Button " + std::to_string(n);
        button->Set_Visible(true);
        button->On_Click = [this](const std::string& name) { Slot_Click(name); };
        Add_Child_Control(button.get());
        Slot_Buttons_[static_cast<std::size_t>(n - 1)] = std::move(button);
    }
    Refresh_Slot_Buttons();
    Build_List();
    Refresh_Arrows();
}

TDC_Dlg_Spells_Select::~TDC_Dlg_Spells_Select() {
    Clear_Cursor_Target();
}

void TDC_Dlg_Spells_Select::Reposition() {
    TDC_Dlg_Picture::Reposition();
    Left_Arrow.Place("Left Arrow", Left + 40, Top + 354);
    Right_Arrow.Place("Right Arrow", Left + 239, Top + 354);
    Page_Marker_Left.Place("Page Marker Left", Left + 112, Top + 309);
    Page_Marker_Right.Place("Page Marker Right", Left + 160, Top + 309);
    for (int32_t n = 1; n <= Slot_Count; ++n) {
        const int32_t x = n <= 5 ? 9 + 40 * n : 40 * n - 191;
        const int32_t y = n <= 5 ? 74 : 114;
        Place_Spell_Button(Slot_Button(n), Slot_Button(n).Name, Left + x, Top + y);
    }
}

int32_t TDC_Dlg_Spells_Select::Page_Count() const {
    const TMonster* player = Player();
    return (player ? player->Class_Skill_Count() : 0) + 1;
}

void TDC_Dlg_Spells_Select::Entry_Cell(int32_t k, int32_t& x, int32_t& y) {
    x = Cell_X[k - 1];
    y = Cell_Y[k - 1];
}

int32_t TDC_Dlg_Spells_Select::Last_Sub_Page() const {
    return (Entries_.Count() - 1) / Entries_Per_Sub_Page + 1;
}

int32_t TDC_Dlg_Spells_Select::Last_Shown() const {
    return std::min(Entries_.Count(), First_Shown() + Entries_Per_Sub_Page - 1);
}

void TDC_Dlg_Spells_Select::Turn_Page(int32_t step) {
    if (!Player()) return;
    Page_ = std::clamp(Page_ + step, 1, Page_Count());
    Refresh_Arrows();
    Sub_Page_ = 1;
    Build_List();
}

void TDC_Dlg_Spells_Select::Turn_Sub_Page(int32_t step) {
    if (!Player()) return;
    Sub_Page_ = std::clamp(Sub_Page_ + step, 1, Last_Sub_Page());
    Build_List();
}

void TDC_Dlg_Spells_Select::Refresh_Arrows() {
    Left_Arrow.Enabled = Page_ > 1;
    Right_Arrow.Enabled = Page_ < Page_Count();
}

void TDC_Dlg_Spells_Select::Refresh_Markers() {
    Page_Marker_Left.Set_Visible(Sub_Page_ > 1);
    Page_Marker_Right.Set_Visible(Sub_Page_ < Last_Sub_Page());
}

void TDC_Dlg_Spells_Select::Build_List() {
    Entries_.Clear();
    Levels_.Clear();
    const TMonster* player = Player();
    if (player && Page_ == Page_Count()) {
        Content_Kind_ = Content_Scrolls;
        for (int32_t slot = First_Scroll_Slot; slot <= Last_Scroll_Slot; ++slot) {
            const TItem* item = player->Inventory.Item_In_Slot(slot);
            if (!item || item->Item_Type != Item_Type_Scroll) continue;
            Entries_.Add(static_cast<uint16_t>(slot));
            Levels_.Add(0);
        }
    } else if (player) {
        Content_Kind_ = Content_Spells;
        const TSpells_List& spells = player->Spells;
        for (int32_t n = 1; n <= spells.Count(); ++n) {
            const TSpell* spell = Get_Master_Spell(spells.Spell_Id(n));
            if (!spell || spell->Is_Passive() || player->Spell_Class_Value(*spell) != Page_) continue;
            Entries_.Add(spells.Spell_Id(n));
            Levels_.Add(static_cast<uint16_t>(std::clamp(spells.Effective_Level(n), 0, 65535)));
        }
    }
    Refresh_Markers();
}

void TDC_Dlg_Spells_Select::Slot_Click(const std::string& name) {
    if (!Player()) return;
    // The number is what the name's last two characters hold ("Spell Button 7", "Spell Button 10").
    std::string number = name.size() >= 2 ? name.substr(name.size() - 2) : name;
    number.erase(0, number.find_first_not_of(' '));
    int32_t n = 0;
    for (const char c : number) n = c >= '0' && c <= '9' ? n * 10 + (c - '0') : -1000;
    if (n < 1 || n > Slot_Count) return;
    Chosen_Slot_ = n;
    Refresh_Slot_Buttons();
}

void TDC_Dlg_Spells_Select::Refresh_Slot_Buttons() {
    const TMonster* player = Player();
    for (int32_t n = 1; n <= Slot_Count; ++n) {
        uint8_t kind = 0;
        uint16_t value = 0;
        if (player) player->Spells.Get_Quick_Slot(n, kind, value);
        Slot_Button(n).Set_Spell(n == Chosen_Slot_ ? 2 : 1, kind, value);
    }
}

int32_t TDC_Dlg_Spells_Select::Entry_At(int32_t x, int32_t y) const {
    for (int32_t index = First_Shown(); index <= Last_Shown(); ++index) {
        int32_t cx = 0, cy = 0;
        Entry_Cell(index - First_Shown() + 1, cx, cy);
        cx += Left;
        cy += Top;
        if (x >= cx && x <= cx + Entry_Size && y >= cy && y <= cy + Entry_Size) return index;
    }
    return 0;
}

void TDC_Dlg_Spells_Select::Handle_MouseMove(int32_t, int32_t x, int32_t y) {
    const TMonster* player = Player();
    const int32_t index = player ? Entry_At(x, y) : 0;
    if (index == 0) {
        Clear_Cursor_Target();
        return;
    }
    const uint16_t entry = Entries_.Get(index);
    if (Content_Kind_ == Content_Scrolls) {
        if (const TItem* item = player->Inventory.Item_In_Slot(entry)) Set_Cursor_Target_Item(item->Id);
    } else {
        Set_Cursor_Target_Spell(entry);
    }
}

void TDC_Dlg_Spells_Select::Handle_MouseDown(int32_t, int32_t, int32_t x, int32_t y) {
    TMonster* player = Player();
    if (!player || Chosen_Slot_ == 0) return;
    const int32_t index = Entry_At(x, y);
    if (index == 0) return;
    player->Spells.Set_Quick_Slot(Chosen_Slot_, static_cast<uint8_t>(Content_Kind_), Entries_.Get(index));
    Refresh_Slot_Buttons();
}

void TDC_Dlg_Spells_Select::Handle_KeyDown(uint16_t& key, int32_t shift) {
    if (key == Vk_B) {
        Close();
        return;
    }
    TDC_Dlg_Picture::Handle_KeyDown(key, shift);
}

void TDC_Dlg_Spells_Select::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    const TMonster* player = Player();
    // Without a player there is nothing to edit: only the picture, the title and the close button.
    if (!player) {
        for (TDC_Button* button : {&Left_Arrow, &Right_Arrow, &Page_Marker_Left, &Page_Marker_Right})
            button->Set_Visible(false);
        for (int32_t n = 1; n <= Slot_Count; ++n) Slot_Button(n).Set_Visible(false);
    }
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(10, 10, 10);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 151, Top + 42, "Выбор умений");
    if (player) {
        Set_Font(2);
        Set_Text_Color(255, 255, 255);
        Draw_Text(Left + 146, Top + 366,
                  Content_Kind_ == Content_Scrolls ? std::string("Свитки") : player->Class_Skill_Name(Page_));
    }
    End_Text(page);
    if (player) Draw_Entries(page);
}

void TDC_Dlg_Spells_Select::Draw_Entries(int32_t page) {
    const TMonster* player = Player();
    for (int32_t index = First_Shown(); index <= Last_Shown(); ++index) {
        int32_t x = 0, y = 0;
        Entry_Cell(index - First_Shown() + 1, x, y);
        x += Left;
        y += Top;
        const uint16_t entry = Entries_.Get(index);
        if (Content_Kind_ == Content_Scrolls) {
            // The scroll may have been used or moved since the page was built.
            if (const TItem* item = player->Inventory.Item_In_Slot(entry))
                item->Draw(page, x + 3, false, y + 3);
        } else if (const TSpell* spell = Get_Master_Spell(entry)) {
            spell->Draw_Icon(page, x, 0, y);
        }
    }
}
