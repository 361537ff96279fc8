// Item ids resolve through the item list of the map in play, and never through a list that has left play:
// a creature's or a square's id read after a change of map must not reach into a freed list.
#include "core/Item.h"
#include "core/MapMain.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<TMap> Map_With(const std::string& item_name) {
    auto map = std::make_unique<TMap>();
    TItem item;
    item.Name = item_name;
    map->Item_List.Add(&item);
    return map;
}

std::string Found(uint16_t id) {
    const TItem* item = Find_Item(id);
    return item ? item->Name : "-";
}

TEST(CurrentItemList, IdsResolveThroughTheMapInPlayOnly) {
    Install_Current_Map(Map_With("sword"));
    EXPECT_EQ(Found(1), "sword");
    EXPECT_EQ(Found(2), "-");

    // Another map in play: the same id is its item.
    Install_Current_Map(Map_With("axe"));
    EXPECT_EQ(Found(1), "axe");

    // A map taken out of play still exists, but its ids no longer resolve, and deleting through them does
    // nothing to it.
    std::unique_ptr<TMap> out = Remove_Current_Map();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(Found(1), "-");
    Delete_Current_Item(1);
    EXPECT_NE(out->Item_List.Item(1), nullptr);

    // A list made current by hand is forgotten when its map is freed.
    Set_Current_Item_List(&out->Item_List);
    EXPECT_EQ(Found(1), "axe");
    Delete_Current_Item(1);
    EXPECT_EQ(out->Item_List.Item(1), nullptr);
    out.reset();
    EXPECT_EQ(Current_Item_List(), nullptr);
    EXPECT_EQ(Found(1), "-");

    // Installing a map while another list is current makes the map's list the current one.
    TItem_List loose;
    Set_Current_Item_List(&loose);
    Install_Current_Map(Map_With("bow"));
    EXPECT_EQ(Found(1), "bow");
    Install_Current_Map(nullptr);
    EXPECT_EQ(Current_Item_List(), nullptr);
}

} // namespace
