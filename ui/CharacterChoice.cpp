#include "ui/CharacterChoice.h"

#include "core/CharClass.h"
#include "core/GameOptions.h"
#include "core/Monster.h"
#include "core/SaveGame.h"
#include "media/DisplayObject.h"
#include "platform/PathLayer.h"
#include "ui/FrontEndLists.h"

void TPortrait_Map::Build(TDisplay_Object* display) {
    First_Positions.Clear();
    Last_Positions.Clear();
    Pictures.Clear();
    for (int32_t n = 1; n <= Class_Count(); ++n) {
        const TClass_Info* info = Get_Class(n);
        const TString_List none;
        const TString_List& names = info ? info->Portraits : none;
        if (display && !names.empty()) display->Load_Monster_Bitmaps(names, nullptr, false, false);
        const auto first = static_cast<int32_t>(Pictures.Count()) + 1;
        First_Positions.Add(static_cast<uint16_t>(first));
        Last_Positions.Add(static_cast<uint16_t>(first - 1 + static_cast<int32_t>(names.size())));
        for (const std::string& name : names) {
            // A picture that is not on the sheet is kept as a cell past the sheet, which draws nothing.
            const int32_t cell = display ? display->Find_Monster_Bitmap(name) : -1;
            Pictures.Add(cell >= 0 && cell < Monster_Cell_Limit ? static_cast<uint16_t>(cell)
                                                                : uint16_t{0xFFFF});
        }
    }
    if (display) display->Convert_Monster_Sheet();
}

int32_t TPortrait_Map::Portrait_Count(int32_t class_index) const {
    if (class_index < 1 || class_index > First_Positions.Count()) return 0;
    return int32_t{Last_Positions.Get(class_index)} - int32_t{First_Positions.Get(class_index)} + 1;
}

int32_t TPortrait_Map::Picture_Cell(int32_t class_index, int32_t portrait) const {
    if (portrait < 1 || portrait > Portrait_Count(class_index)) return -1;
    const int32_t position = int32_t{First_Positions.Get(class_index)} + portrait - 1;
    if (position > Pictures.Count()) return -1;
    const int32_t cell = Pictures.Get(position);
    return cell < Monster_Cell_Limit ? cell : -1;
}

int32_t Class_Of_Line(int32_t line) {
    return Get_Class(line) ? line : 0;
}

std::optional<TChoice_Refusal> Check_New_Character(int32_t class_index, int32_t portrait,
                                                   const std::string& name) {
    if (!Get_Class(class_index))
        return TChoice_Refusal{"Класс персонажа", "Выберите класс персонажа из списка."};
    if (portrait < 1) return TChoice_Refusal{"Портрет персонажа", "Выберите портрет вашего персонажа."};
    // A name that can name no file of its own ("." or "..") is no name either: the character could never be
    // stored under it.
    const std::optional<std::string> path = name.empty() ? std::nullopt : Character_File_Path(name);
    if (!path) return TChoice_Refusal{"Имя персонажа", "Введите имя вашего персонажа."};
    if (plat::Find_Existing(*path))
        return TChoice_Refusal{"Имя персонажа", "Персонаж с таким именем уже существует."};
    return std::nullopt;
}

void Make_New_Character(TMonster& target, int32_t class_index, int32_t portrait, const std::string& name) {
    const TClass_Info* info = Get_Class(class_index);
    if (!info) return;
    target = TMonster();
    target.Talk_Topics.clear();
    target.Talk_Texts.clear();
    target.Set_Class(static_cast<uint8_t>(class_index));
    const std::string picture = portrait >= 1 && static_cast<std::size_t>(portrait) <= info->Portraits.size()
                                    ? info->Portraits[static_cast<std::size_t>(portrait) - 1]
                                    : std::string();
    target.Set_Pictures(picture, picture);
    target.Set_Name(name);
    target.Description = info->Short_Description;
    target.Level = 1;
    target.Base_Strength = static_cast<int16_t>(info->Base_Strength);
    target.Base_Dexterity = static_cast<int16_t>(info->Base_Dexterity);
    target.Base_Intelligence = static_cast<int16_t>(info->Base_Intelligence);
    target.Base_Constitution = static_cast<int16_t>(info->Base_Constitution);
    target.Gold = info->Starting_Gold;
    target.Recalculate_Stats();
    target.Fill_Life();
    target.Fill_Mana();
    target.Fill_Food();
    target.Learn_Class_Spells();
    target.Spells.Fill_Quick_Bar(false, true);
    if (TGame_Options* options = Game_Options()) options->Start_Level = target.Level;
}

std::optional<TChoice_Refusal> Check_Existing_Character(const TMonster* preview) {
    if (!preview) return TChoice_Refusal{"Select Character", "You must select a character from the list."};
    if (preview->Character_State == Character_In_Use)
        return TChoice_Refusal{"Character Unavailable",
                               "You cannot use a character that is currently in a module."};
    return std::nullopt;
}

void Apply_Returning_Character(TMonster& character) {
    if (character.Character_State == Character_Dead) {
        character.Experience = 0;
        character.Gold = character.Gold / 2;
        character.Set_Character_State(Character_Available);
    }
    character.Fill_Life();
    character.Fill_Mana();
    character.Fill_Food();
}

void Take_Existing_Character(TMonster& target, const TMonster& preview) {
    target = TMonster();
    target.Talk_Topics.clear();
    target.Talk_Texts.clear();
    target.Assign(preview);
    Apply_Returning_Character(target);
    if (TGame_Options* options = Game_Options()) options->Start_Level = target.Level;
}

void Reapply_Existing_Character(TMonster& player, const std::string& data_set) {
    player.Set_Module_Name(data_set);
    Apply_Returning_Character(player);
}

std::string Character_Status_Text(const TMonster& character, const std::string& module_data_set) {
    if (!Same_Data_Set(character.Module_Name, module_data_set))
        return "Персонаж был создан с использованием набора данных, отличного от используемого модулем. "
               "Персонаж недоступен для этого модуля.";
    switch (character.Character_State) {
    case Character_Available: return "Персонаж доступен для использования.";
    case Character_In_Use: return "Персонаж используется в модуле и недоступен." + std::string(15, ' ');
    case Character_Dead:
        return "Персонаж умер и может быть воскрешён за половину накопленного золота и полученного опыта." +
               std::string(31, ' ');
    default: return std::string();
    }
}
