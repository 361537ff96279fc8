#include "core/GameOptions.h"

#include <initializer_list>

namespace {

std::unique_ptr<TGame_Options> Options;

} // namespace

void TGame_Options::Write(TStream_Writer& w) const {
    Write_Boolean(w, Flag_1);
    Write_Boolean(w, Flag_2);
    Write_Boolean(w, Flag_3);
    Write_Boolean(w, Flag_4);
    Write_Boolean(w, Flag_5);
    Write_Byte(w, Difficulty);
    Write_Word(w, Start_Level);
    Write_Word(w, Entry_Level);
    for (const TWeapon_Set& set : Weapon_Sets) {
        Write_String(w, set.First_Item_Name);
        Write_Word(w, set.First_Item_Id);
        Write_String(w, set.Second_Item_Name);
        Write_Word(w, set.Second_Item_Id);
        Write_Word(w, set.Spell_Slot);
    }
}

bool TGame_Options::Read(TStream_Reader& r) {
    Flag_1 = Read_Boolean(r);
    Flag_2 = Read_Boolean(r);
    Flag_3 = Read_Boolean(r);
    Flag_4 = Read_Boolean(r);
    Flag_5 = Read_Boolean(r);
    Difficulty = Read_Byte(r);
    Start_Level = Read_Word(r);
    Entry_Level = Read_Word(r);
    for (TWeapon_Set& set : Weapon_Sets) {
        set.First_Item_Name = Read_String(r);
        set.First_Item_Id = Read_Word(r);
        set.Second_Item_Name = Read_String(r);
        set.Second_Item_Id = Read_Word(r);
        set.Spell_Slot = Read_Word(r);
    }
    return true;
}

void TGame_Options::Remap_Ids(const TWordList& old_ids, const TWordList& new_ids) {
    for (TWeapon_Set& set : Weapon_Sets) {
        // Id 0 stands for "no item" and is never remapped.
        for (uint16_t* id : {&set.First_Item_Id, &set.Second_Item_Id})
            if (*id != 0) *id = Remapped_Id(*id, old_ids, new_ids);
    }
}

TGame_Options* Game_Options() {
    return Options.get();
}

TGame_Options& Create_Game_Options() {
    Options = std::make_unique<TGame_Options>();
    return *Options;
}

void Free_Game_Options() {
    Options.reset();
}
