// Every effect type's description text, with the sign and the amounts in their places. The texts are what
// the screens show, blanks included, so each is pinned whole: a lost trailing blank or the maximum shown
// where the minimum belongs changes a line here.
#include "core/Effects.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The text of each type with "{s}" for the sign, "{min}" and "{max}" for the amounts.
struct TDescription {
    int32_t Type;
    const char* Pattern;
};

// clang-format off
const TDescription Descriptions[] = {
        {1, "Защита цели снижена на {min}% для атаки "},
        {2, "{s}{min} Атака            "},
        {3, "Атакующий получает урон {min}"},
        {4, "{s} {min}-{max} урон Холодом"},
        {5, "{s}{min}% стойкость Холод"},
        {6, "{s}{min} Телосложение"},
        {7, "{s}{min}% урона "},
        {8, "{min}% принятого урона создаёт ману"},
        {9, "Снижение урона на {min}"},
        {10, "{s}{min} Защита            "},
        {11, "{s}{min} Ловкость    "},
        {12, "{s}{min} маны за убийство  "},
        {13, "{s} {min}-{max} урон Огнём "},
        {14, "{s}{min}% стойкость Огонь"},
        {15, "{s}{min}% стоимость "},
        {16, "{s}{min} Интеллект      "},
        {17, "{s}{min} Жизнь"},
        {18, "{s}{min} жизни            "},
        {19, "Регенерация жизни +{min}%"},
        {20, "{min}% от удара в жизни   "},
        {21, "{s}{min} радиус света"},
        {22, "{s} {min}-{max} урон Молнией    "},
        {23, "{s}{min}% стойкость Молния    "},
        {24, "{s} {min}-{max} урон Магией "},
        {25, "{s}{min}% стойкость Магия "},
        {26, "{min}% шанс напугать монстра      "},
        {27, "{s}{min} Мана"},
        {28, "{s}{min}% регенерация маны "},
        {29, "{s}{min} To Current Mana"},
        {30, "{min}% от удара в ману    "},
        {31, "{s}{min} максимум урона"},
        {32, "{s}{min} минимум урона "},
        {33, "{min}% Increased Health"},
        {34, "{min}% Increased Attack Ability"},
        {35, "{min}% Increased Defense Ability"},
        {36, "{min}% Increased Minimum Damage"},
        {37, "{min}% Increased Maximum Damage"},
        {38, "{min}% Increased Move Speed"},
        {39, "{min}% Increased Attack Speed"},
        {40, ""},
        {41, "{s}{min}% золото от монстров      "},
        {42, "{s} {min}-{max} урон Ядом    "},
        {43, "Сокращение отравления на {min} секунд "},
        {44, "{s}{min}% стойкость Яд     "},
        {45, "-{min} Защита цели              "},
        {46, "-{min}% все устойчивости цели    "},
        {47, "{s}{min}% все устойчивости  "},
        {48, "{s}{min} уровень всех умений"},
        {49, "{s}{min} Сила    "},
        {50, "Использование оружия в каждой руке     "},
        {51, "{s}{min}% шанс вышибить запертые двери    "},
        {52, "{s}{min}% шанс обнаружить скрытые двери"},
        {53, "{s}{min}% шанс избежать ловушки "},
        {54, "{s}{min}% шанс вскрыть замок  "},
        {55, "{s}{min}% сложнее обнаружить      "},
        {56, "{s}{min}% стойкость к ударам "},
        {57, "-{min} Атака цели              "},
        {58, "{min}% шанс снять отравление"},
        {59, "Монстры заметны до {min} ярда "},
        {60, "+{min} насыщения"},
        {61, "{min}% шанс ослепить монстра  "},
        {62, "{min}% шанс обратить монстра              "},
        {63, "-{min}% урон цели    "},
        {64, "{s}{min}% все типы урона     "},
        {65, "{min}% шанс снять проклятие   "},
        {66, "{min}% шанс усыпить монстра            "},
        {67, "{s} {min}-{max} урон по нежити  "},
        {68, "-{min} скорость движения монстра"},
        {69, "{s}{min} To Maximum Hunger"},
        {70, "{s}{min} To Maximum Weight"},
        {71, "{min}% Chance To Paralyze Monster"},
        {72, "Телепорт {min} ярда вдаль"},
        {73, "-{min} скорость движения"},
        {74, "-{min} Атака            "},
        {75, "-{min} Защита            "},
        {76, "-{min}% все устойчивости  "},
        {77, "-{min}% урона "},
};
// clang-format on

std::string Expand(std::string pattern, const std::string& sign, int32_t min, int32_t max) {
    const std::pair<std::string, std::string> fields[] = {
        {"{s}", sign}, {"{min}", std::to_string(min)}, {"{max}", std::to_string(max)}};
    for (const auto& [field, value] : fields)
        for (size_t at = pattern.find(field); at != std::string::npos;
             at = pattern.find(field, at + value.size()))
            pattern.replace(at, field.size(), value);
    return pattern;
}

TEST(EffectDescriptionText, EveryTypeWithAndWithoutItsSign) {
    ASSERT_EQ(std::size(Descriptions), 77u);
    // The amounts differ, so showing one for the other is seen; a negative minimum keeps its own sign.
    struct TAmounts {
        int32_t Min, Max;
    };
    for (const TAmounts amounts : {TAmounts{3, 8}, TAmounts{-4, 12}}) {
        for (const bool with_plus : {true, false}) {
            for (int32_t n = 0; n < 77; ++n) {
                const TDescription& d = Descriptions[n];
                ASSERT_EQ(d.Type, n + 1);
                const std::string expected =
                    Expand(d.Pattern, with_plus ? "+" : "", amounts.Min, amounts.Max);
                EXPECT_EQ(Effect_Description(d.Type, amounts.Min, amounts.Max, with_plus), expected)
                    << "type " << d.Type << (with_plus ? " with plus" : "");
                // The list's description of its entry is the same text.
                TEffect_List list;
                list.Add_Effect(static_cast<uint8_t>(d.Type), amounts.Min, amounts.Max);
                EXPECT_EQ(list.Get_Description(1, with_plus), expected) << "type " << d.Type;
            }
        }
    }
}

} // namespace
