#include "ui/DCDlgStore.h"

#include "core/HeldItem.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/SoundSeam.h"
#include "core/Store.h"
#include "core/TextCodec.h"
#include "media/DisplayGxFont.h"
#include "ui/CursorTarget.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// Without a store an item goes at its value.
constexpr uint16_t Full_Price = 100;

// Value x percent / 100, truncated, held to the range of the player's gold.
int32_t Percent_Of(const TItem& item, uint16_t percent) {
    const int64_t price = int64_t{item.Value()} * percent / 100;
    return static_cast<int32_t>(std::min<int64_t>(price, std::numeric_limits<int32_t>::max()));
}

// The stock's group names sorted without regard to letter case, each spelling once: names that differ
// only in case count as one, the first of them in stock order.
std::vector<std::string> Group_Captions(const TStore& store) {
    std::vector<std::string> names(store.Stock_Group_Names.begin(), store.Stock_Group_Names.end());
    const auto before = [](const std::string& a, const std::string& b) {
        return Compare_Text_No_Case(a, b) < 0;
    };
    std::stable_sort(names.begin(), names.end(), before);
    const auto same = [](const std::string& a, const std::string& b) {
        return Compare_Text_No_Case(a, b) == 0;
    };
    names.erase(std::unique(names.begin(), names.end(), same), names.end());
    return names;
}

} // namespace

TDC_Dlg_Store::TDC_Dlg_Store() : TDC_Dlg_Item_Slots("TDC_Dlg_Store", "Dlg_Store.bmp", 619, 307, true) {
    Add_Close_Button(563, 251);
    for (int32_t n = 1; n <= Option_Count; ++n) {
        auto toggle = std::make_unique<TDC_Button_Toggle>();
        toggle->Set_Button_Type(1);
        toggle->Set_Frames(8, 9);
        toggle->Name = "Opt " + std::to_string(n);
        toggle->Set_Visible(true);
        toggle->On_Click = [this, n](const std::string&) { Select_Option(n); };
        Add_Child_Control(toggle.get());
        Options_[static_cast<std::size_t>(n - 1)] = std::move(toggle);
    }
}

TStore* TDC_Dlg_Store::Store() const {
    const TMap* map = Current_Map();
    return map ? map->Get_Store(Store_Number) : nullptr;
}

void TDC_Dlg_Store::Set_Store(int32_t store_number, uint16_t monster_id) {
    Store_Number = store_number;
    Monster_Id = monster_id;
    for (std::string& caption : Captions_) caption.clear();
    if (const TStore* store = Store()) {
        const std::vector<std::string> names = Group_Captions(*store);
        for (std::size_t n = 0; n < names.size() && n < Captions_.size(); ++n) Captions_[n] = names[n];
    }
    Select_Option(1);
}

void TDC_Dlg_Store::Select_Option(int32_t n) {
    for (int32_t k = 1; k <= Option_Count; ++k) Option(k).Set_On(k == n);
    Shown_.Clear();
    const TStore* store = Store();
    if (!store || n < 1 || n > Option_Count) return;
    const int32_t count = std::min<int32_t>(store->Stock_Item_Ids.Count(),
                                            static_cast<int32_t>(store->Stock_Group_Names.size()));
    for (int32_t e = 1; e <= count && Shown_.Can_Add(); ++e)
        if (store->Stock_Group_Names[static_cast<std::size_t>(e - 1)] == Caption(n))
            Shown_.Add(store->Stock_Item_Ids.Get(e));
}

int32_t TDC_Dlg_Store::Selected_Option() {
    for (int32_t n = Option_Count; n >= 1; --n)
        if (Option(n).Is_On()) return n;
    return 0;
}

int32_t TDC_Dlg_Store::Buying_Price(const TItem& item) const {
    const TStore* store = Store();
    return Percent_Of(item, store ? store->Get_Sell_Cost_Modifier() : Full_Price);
}

int32_t TDC_Dlg_Store::Selling_Price(const TItem& item) const {
    const TStore* store = Store();
    return Percent_Of(item, store ? store->Get_Buy_Cost_Modifier() : Full_Price);
}

void TDC_Dlg_Store::Slot_Corner(int32_t s, int32_t& x, int32_t& y) const {
    x = Left + 40 * ((s - 1) % Columns + 1) + 191;
    y = Top + 40 * ((s - 1) / Columns + 1) + 12;
}

void TDC_Dlg_Store::Reposition() {
    TDC_Dlg_Picture::Reposition();
    for (int32_t n = 1; n <= Option_Count; ++n) Option(n).Place(Option(n).Name, Left + 18, Top + 29 * n + 20);
}

void TDC_Dlg_Store::Handle_MouseMove(int32_t shift, int32_t x, int32_t y) {
    TDC_Dlg_Item_Slots::Handle_MouseMove(shift, x, y);
    // The information panel prices the goods under the mouse as bought, anything else as sold.
    const bool goods = Item_At(x, y) != nullptr;
    const TStore* store = Store();
    Set_Cursor_Tooltip(goods, !goods, store ? store->Get_Sell_Cost_Modifier() : Full_Price,
                       store ? store->Get_Buy_Cost_Modifier() : Full_Price);
}

void TDC_Dlg_Store::Handle_MouseDown(int32_t button, int32_t, int32_t x, int32_t y) {
    if (button != Mouse_Button_Left || !Player()) return;
    const int32_t s = Slot_At(x, y);
    if (s == 0) return;
    if (Is_Holding_Item()) {
        if (Shown_Id(s) == 0) Sell_Held_Item();
    } else if (Find_Item(Shown_Id(s))) {
        Buy(s);
    }
}

void TDC_Dlg_Store::Sell_Held_Item() {
    TStore* store = Store();
    TMonster* player = Player();
    const TItem* held = Get_Held_Item();
    // Without a store the item would be paid for and then be in no list at all.
    if (!store || !player || !held || held->Event_Id != 0) return;
    if (!Shown_.Can_Add() || !store->Stock_Item_Ids.Can_Add()) return;
    TItem* item = Take_Held_Item();
    player->Add_Gold(Selling_Price(*item));
    Shown_.Add(item->Id);
    store->Stock_Item_Ids.Add(item->Id);
    const int32_t selected = Selected_Option();
    store->Stock_Group_Names.push_back(selected > 0 ? Caption(selected) : std::string());
    player->Recalculate_Stats();
    Sound_Play("put_down.wav");
    Sound_Play("money.wav");
}

void TDC_Dlg_Store::Buy(int32_t s) {
    TStore* store = Store();
    TMonster* player = Player();
    TItem* item = Find_Item(Shown_Id(s));
    if (!store || !player || !item) return;
    const int32_t price = Buying_Price(*item);
    if (player->Gold < price) return;
    Shown_.Delete(s);
    const int32_t entries = std::min<int32_t>(store->Stock_Item_Ids.Count(),
                                              static_cast<int32_t>(store->Stock_Group_Names.size()));
    for (int32_t e = entries; e >= 1; --e)
        if (store->Stock_Item_Ids.Get(e) == item->Id) {
            store->Stock_Item_Ids.Delete(e);
            store->Stock_Group_Names.erase(store->Stock_Group_Names.begin() + (e - 1));
            break;
        }
    player->Remove_Gold(price);
    Set_Held_Item(item);
    player->Recalculate_Stats();
    Sound_Play("pick_up.wav");
    Sound_Play("money.wav");
}

void TDC_Dlg_Store::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    if (const TStore* store = Store()) {
        Begin_Text(page);
        Set_Font(6);
        Set_Text_Color(0, 0, 0);
        Set_Text_Justify(2, 2);
        Draw_Text(Left + 307, Top + 32, store->Store_Name);
        Set_Font(1);
        Set_Text_Color(255, 255, 255);
        Set_Text_Justify(1, 5);
        for (int32_t n = 1; n <= Option_Count; ++n) Draw_Text(Left + 56, Top + 29 * n + 24, Caption(n));
        Set_Font(2);
        Draw_Text(Left + 228, Top + 250, "(Для покупки, возьмите предмет. Положите, чтобы продать.)");
        End_Text(page);
    }
    Draw_Items(page);
}
