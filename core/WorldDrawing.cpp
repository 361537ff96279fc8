// The world model's pictures: items, spells, terrain, squares, creatures and sprites, each drawn as cells
// of the display's sheets through the display seam, so the model links no graphics. Sheet slots are the
// ones the map assigned when its sheets were made; an object without one (slot -1) draws nothing.
#include "core/DisplayEffects.h"
#include "core/DisplaySeam.h"
#include "core/EffectSprites.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/MapSquare.h"
#include "core/Monster.h"
#include "core/Spells.h"
#include "core/Terrain.h"

#include <string>

// ---- Items ----

void TItem::Draw(int32_t surface, int32_t x, bool centred, int32_t y) const {
    if (Picture_Index < 0) return;
    TDisplay_Sink& display = Display_Sink();
    display.Draw_Item_Tile(surface, x, y, centred, Picture_Index);
    if (Quantity <= 1) return;
    // The number ends at the picture's bottom right corner, which lies further out in a map square.
    const int32_t right = x + (centred ? 42 : 33), bottom = y + (centred ? 51 : 37);
    const std::string number = std::to_string(Quantity);
    display.Set_Text_Style(1);
    display.Set_Text_Justify(3, 4);
    display.Set_Text_Color(10, 10, 10);
    display.Draw_Text(surface, right, bottom, number);
    display.Set_Text_Color(255, 255, 255);
    display.Draw_Text(surface, right - 1, bottom - 1, number);
}

// ---- Spells ----

void TSpell::Draw_Icon(int32_t surface, int32_t x, int32_t state, int32_t y) const {
    if (Picture_Id == 0) return;
    Display_Sink().Draw_Spell_Icon(surface, x, y, state, Picture_Id - 1);
}

void TSpell::Draw_Icon_Masked(int32_t surface, int32_t x, int32_t state, int32_t container, int32_t y) const {
    if (Picture_Is_Maskable) Display_Sink().Draw_Spell_Container(surface, x, y, state, container);
    Draw_Icon(surface, x, state, y);
}

void TSpell::Draw_Icon_With_Number(int32_t surface, int32_t x, int32_t number, int32_t state,
                                   int32_t y) const {
    Draw_Icon(surface, x, state, y);
    TDisplay_Sink& display = Display_Sink();
    display.Set_Text_Style(3);
    display.Set_Text_Justify(3, 4);
    display.Set_Text_Color(255, 255, 255);
    display.Draw_Text(surface, x + 37, y + 40, std::to_string(number));
}

// ---- Terrain ----

void TTerrain::Draw(int32_t surface, int32_t x, int32_t y, bool hide_layer_3, bool hide_layer_2,
                    uint8_t border) const {
    TDisplay_Sink& display = Display_Sink();
    const auto layer = [&](const std::string& picture, int16_t slot, bool hidden) {
        if (!picture.empty() && !hidden && slot >= 0) display.Draw_Terrain_Tile(surface, x, y, slot);
    };
    layer(Picture_L1, Picture_Index_L1, false);
    if (border != 0) display.Draw_Border_Tile(surface, x, y, border);
    layer(Picture_L2, Picture_Index_L2, hide_layer_2);
    layer(Picture_L3, Picture_Index_L3, hide_layer_3);
}

// ---- Creatures ----

void TMonster::Draw(int32_t page, int32_t x, int32_t y) const {
    if (Picture_Index >= 0) Display_Sink().Draw_Monster_Tile(page, x, y, Picture_Index);
}

// ---- Map squares ----

namespace {

// The items lying on the square, in pile order, then the creature standing on it.
void Draw_Items_And_Creature(const TMap_Square& square, int32_t surface, int32_t x, int32_t y) {
    if (square.Is_Pile()) {
        if (const TItem_Collection* pile = square.Get_Pile())
            for (int32_t n = 1; n <= pile->Count(); ++n)
                if (const TItem* item = pile->Item(n)) item->Draw(surface, x, true, y);
    } else if (square.Item_Field != 0) {
        if (const TItem* item = Find_Item(square.Item_Field)) item->Draw(surface, x, true, y);
    }
    if (const TMonster* creature = square.Get_Monster()) creature->Draw(surface, x, y);
}

// The terrain under the hiding rule; true when the square is drawn visible and its contents follow.
bool Draw_Seen_Terrain(const TMap_Square& square, int32_t surface, int32_t x, int32_t y,
                       const TSquare_Hiding& hiding, bool visible) {
    if (const TTerrain* terrain = square.Get_Terrain())
        terrain->Draw(surface, x, y, hiding.Hide_Layer_3, hiding.Hide_Layer_2, square.Border_To_Draw());
    if (!visible) return false; // remembered squares show their terrain only
    Draw_Items_And_Creature(square, surface, x, y);
    return true;
}

} // namespace

void TMap_Square::Draw(int32_t surface, int32_t x, int32_t dy, int32_t dx, bool visible, int32_t y) {
    const TSquare_Hiding hiding = Hidden_Layers(visible, dx, dy);
    if (!Draw_Seen_Terrain(*this, surface, x, y, hiding, visible)) return;
    if (Search_Secret_Door(hiding)) Display_Sink().Draw_Secret_Marker(surface, x, y, true);
}

void TMap_Square::Draw_As_Seen(int32_t surface, int32_t x, int32_t dy, int32_t dx, bool visible,
                               int32_t y) const {
    const TSquare_Hiding hiding = Hidden_Layers(visible, dx, dy);
    if (!Draw_Seen_Terrain(*this, surface, x, y, hiding, visible)) return;
    const TTerrain* terrain = Get_Terrain();
    if (!hiding.Hide_Layer_3 && terrain && terrain->Next_Terrain_Action == Action_Open_Secret &&
        Is_Secret_Found())
        Display_Sink().Draw_Secret_Marker(surface, x, y, true);
}

void TMap_Square::Draw_Plain(int32_t surface, int32_t x, int32_t y) const {
    if (const TTerrain* terrain = Get_Terrain()) terrain->Draw(surface, x, y, false, false, Border_To_Draw());
    Draw_Items_And_Creature(*this, surface, x, y);
}

// ---- Effect sprites ----

void TSprite::Draw(int32_t surface, int32_t x, int32_t y) const {
    if (Display_Kind == Sprite_Display_Damage_FX)
        Display_Sink().Draw_Damage_FX_Frame(surface, x, y, true, Display_Param, Display_Index);
    else if (Display_Kind == Sprite_Display_Effect && Get_Display_Effect(Display_Index))
        Display_Sink().Draw_Display_Effect_Frame(surface, x, y, Display_Index, Frame);
}

void TSprites_List::Draw_At_Square(int32_t surface, int32_t x, int32_t y, int32_t screen_x,
                                   int32_t screen_y) const {
    for (const std::unique_ptr<TSprite>& sprite : Sprites_) {
        if (!sprite->Active) continue;
        switch (sprite->Sprite_Kind) {
        case Sprite_Kind_Static:
            if (sprite->Start_X == x && sprite->Start_Y == y) sprite->Draw(surface, screen_x, screen_y);
            break;
        case Sprite_Kind_Moving:
        case Sprite_Kind_Missile: {
            // The square under the picture's corner; the offset within it runs along the view's diagonals.
            const TSprite_Placement at = Flying_Sprite_Placement(sprite->Pos_X, sprite->Pos_Y);
            if (at.Square_X != x || at.Square_Y != y) break;
            const int32_t ox = at.Offset_X, oy = at.Offset_Y;
            sprite->Draw(surface, screen_x + ox + oy + oy % 2, screen_y + oy / 2 - ox / 2 - 5);
            break;
        }
        case Sprite_Kind_Monster: {
            const TMonster* creature = Creature_By_Id(sprite->Target_Id);
            if (creature && creature->X == x && creature->Y == y) sprite->Draw(surface, screen_x, screen_y);
            break;
        }
        default: break; // delayed damage has no picture
        }
    }
}
