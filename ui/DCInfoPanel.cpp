#include "ui/DCInfoPanel.h"

#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/NameTables.h"
#include "core/Spells.h"
#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "ui/CursorTarget.h"

#include <array>

namespace {

constexpr int32_t Justify_Left = 1;
constexpr int32_t Justify_Bottom = 4;
constexpr int32_t Justify_Centre = 2;

constexpr int32_t Label_X = 565;
constexpr int32_t Value_X = 680;
constexpr int32_t Line_Step = 16;
// Below this row the panel's picture ends; a line past it first continues the background.
constexpr int32_t Panel_Last_Row = 169;

constexpr uint8_t Item_Type_Scroll = 15;

const THelp_Entry Help_Entries[Help_Entry_Count] = {
    {"Меню", "(Кнопка G)", "Нажатие этой кнопки отобразит меню игры.        "},
    {"Задачи", "(Кнопка Q)", "Нажатие этой кнопки отобразит журнал задач.      "},
    {"Мир", "(Кнопка M)",
     "Нажатие этой кнопки отобразит карту местности. Будут показаны только те области, которые Вы осмотрели. "
     " "},
    {"Статистика", "(Кнопка C)",
     "Нажатие этой кнопки отобразит статистику вашего персонажа. Кнопка подкрашена красным, когда доступны "
     "очки улучшения параметров.                       "},
    {"Список умений   ", "(Кнопка S)",
     "Нажатие этой кнопки отобразит список умений. Кнопка подкрашена красным, когда доступны очки улучшения "
     "умений.                              "},
    {"Выбор умений         ", "(Кнопка B)",
     "Нажатие этой кнопки отобразит книгу умений. Выбранные умения или свитки становятся доступными для "
     "использования.            "},
    {"Зелье Жизни        ", "(Кнопка F11)",
     "Нажатие этой кнопки заставит вашего персонажа выпить первое зелье здоровья.         "},
    {"Зелье Маны       ", "(Кнопка F12)",
     "Нажатие этой кнопки заставит вашего персонажа выпить первое зелье маны.           "},
    {"Приготовить", "(Кнопки F1 - F10) ",
     "Нажатие этой кнопки позволит выбрать применяемое умение. Нажатие правой кнопки мыши на главном экране "
     "приведёт к применению умения (подкрашено зелёным) к указанной цели. "},
    {"Показать Вещи      ", "(Кнопка I)",
     "Нажатие этой кнопки покажет или скроет вещи вашего персонажа.      "},
    {"Показать Статистику ", "(Кнопка R)",
     "Нажатие этой кнопки покажет или скроет статистику вашего персонажа. "},
    {"Сила    ", "",
     "Физическая сила вашего персонажа. Этот параметр влияет на наносимый урон и переносимый вес.        "},
    {"Интеллект   ", "",
     "Умственные способности вашего персонажа. Этот параметр влияет на количество маны. "},
    {"Ловкость ", "",
     "Проворство и скорость вашего персонажа. Этот параметр влияет на способности нападения и защиты.        "
     "          "},
    {"Телосложение", "",
     "Физическая стойкость вашего персонажа. Этот параметр влияет на количество здоровья.     "},
    {"Атака         ", "",
     "Рейтинг успешных атак с оружием. Чем выше значение, тем больше вероятность поразить врага.             "
     "     "},
    {"Защита         ", "",
     "Рейтинг защиты против физических атак. Чем выше значение, тем меньше вероятность быть поражённым "
     "оружием.                     "},
    {"Урон  ", "",
     "Количество урона, причиняемого врагу при поражении его используемым оружием.                        "},
    {"Стойкость Огонь", "",
     "Устойчивость к огненным атакам. Значение определяет процент урона от огня, которому будет устойчиво "
     "ваше тело.   "},
    {"Стойкость Холод", "",
     "Устойчивость к морозным атакам. Значение определяет процент урона от холода, которому будет устойчиво "
     "ваше тело. "},
    {"Стойкость Молния    ", "",
     "Устойчивость к электрическим атакам. Значение определяет процент урона от молнии, которому будет "
     "устойчиво ваше тело.      "},
    {"Стойкость Магия ", "",
     "Устойчивость к магическим атакам. Значение определяет процент урона от магии, которому будет устойчиво "
     "ваше тело.  "},
    {"Стойкость Яд     ", "",
     "Устойчивость к ядовитым атакам. Значение определяет процент урона от яда, которому будет устойчиво "
     "ваше тело.        "},
    {"Уровень        ", "",
     "Текущий уровень персонажа. На каждом новом уровне приобретаются очки параметров и умений.       "},
    {"Получено опыта   ", "",
     "Общее количество опыта, накопленного персонажем. Опыт получается при уничтожении монстров.             "
     "        "},
    {"Следующий уровень       ", "",
     "Количество опыта, необходимого персонажу для получения нового уровня.    "},
    {"Золото", "", "Количество накопленного персонажем золота.            "},
    {"Жизнь ", "", "Количество здоровья персонажа. Снижение до нуля приводит к смерти.  "},
    {"Мана", "", "Количество маны персонажа. Мана расходуется на умения.    "},
    {"Сытость", "",
     "Текущая степень голода персонажа. Когда уровень сытости близок к нулю, начинает падать здоровье.   "},
    {"Нагрузка    ", "",
     "Общий вес всех переносимых предметов. При превышении максимума передвижение персонажа замедлится.      "
     "                      "},
    {"Статус", "",
     "Текущее состояние персонажа. Это могут быть паралич, паника, отравление и т.д.            "},
};

struct TColour {
    int32_t R, G, B;
};
constexpr TColour White{255, 255, 255};
constexpr TColour Grey{150, 150, 150};
constexpr TColour Pink{255, 0, 255};
constexpr TColour Red{255, 0, 0};

void Use_Colour(const TColour& c) {
    Set_Text_Color(c.R, c.G, c.B);
}

// The panel's lines from a first y down, each Line_Step below the last, each first continuing the
// background when it runs past the picture.
class TPanel_Lines {
public:
    TPanel_Lines(int32_t page, TGame_Screen_View& view, int32_t y) : Page_(page), View_(view), Y_(y) {}
    // The next line's y, with the background continued when needed.
    int32_t Next(int32_t step = Line_Step) {
        Y_ += step;
        Extend_Info_Panel(Y_, Page_, View_);
        return Y_;
    }
    void Line(const std::string& label, const std::string& value, const TColour& colour,
              int32_t value_x = Value_X) {
        const int32_t y = Next();
        Use_Colour(colour);
        Draw_Text(Label_X, y, label);
        if (!value.empty()) Draw_Text(value_x, y, value);
    }
    void Text(const std::string& text, const TColour& colour) { Line(text, "", colour); }

private:
    int32_t Page_;
    TGame_Screen_View& View_;
    int32_t Y_;
};

// Title in style 3 and description in style 1, wrapped into the box at x from the panel's top; the y the
// detail lines count from.
int32_t Draw_Heading(int32_t x, int32_t width, const std::string& title, const std::string& description) {
    int32_t y = 12;
    Set_Font(3);
    Use_Colour(White);
    y += Draw_Text_Wrapped(x, y, width, 80, title);
    if (!description.empty()) {
        Set_Font(1);
        Use_Colour(Grey);
        y += Draw_Text_Wrapped(x, y, width, 80, description);
    }
    Set_Font(1);
    return y;
}

std::string Consumable_Line(uint8_t kind, int32_t n) {
    const std::string plus = "+" + std::to_string(n);
    switch (kind) {
    case 1: return plus + " насыщения";
    case 2: return plus + " жизни    ";
    case 3: return plus + " маны   ";
    case 4: return "Противоядие";
    case 7: return plus + " постоянно к Жизни    ";
    case 8: return plus + " постоянно к Мане   ";
    case 9: return plus + " постоянно к Силе       ";
    case 10: return plus + " постоянно к Интеллекту     ";
    case 11: return plus + " постоянно к Ловкости    ";
    case 12: return plus + " постоянно к Телосложению   ";
    default: return "";
    }
}

// The lines every spell description shares: target, duration, area, summons and effects at the level.
void Spell_Lines(TPanel_Lines& lines, const TSpell& spell, int32_t level, const TColour& colour,
                 const TColour& effect_colour) {
    lines.Line("Цель  ", Name_Of(Spell_Target_Names, spell.Target_Type), colour);
    if (const int32_t duration = spell.Duration(level); duration != 0)
        lines.Line("Действие", std::to_string(duration) + " секунд ", colour);
    if (const int32_t radius = spell.Area_Radius(level); radius != 0)
        lines.Line("Область    ", std::to_string(radius) + " ярда ", colour);
    if (const int32_t count = spell.Summon_Count(level); count != 0)
        lines.Line("Число монстров   ", std::to_string(count), colour);
    const int32_t effects = spell.Effects ? spell.Effects->Get_Count() : 0;
    for (int32_t n = 1; n <= effects; ++n) lines.Text(spell.Effect_Text(n, true, level), effect_colour);
}

// The spell a scroll carries, when its first spell name is one of the master spells.
const TSpell* Scroll_Spell(const TItem& item, int32_t& level) {
    level = 0;
    if (item.Item_Type != Item_Type_Scroll || item.Spell_Names.empty()) return nullptr;
    if (item.Spell_Levels.Count() >= 1) level = item.Spell_Levels.Get(1);
    return Find_Master_Spell_By_Name(item.Spell_Names[0]);
}

void Draw_Bar(int32_t left, int32_t top, int32_t width, const TColour& c) {
    if (width <= 0) return;
    Gx_Set_Color(Gx_Rgb_To_Color(c.R, c.G, c.B));
    Gx_Fill_Rect(left, left + width - 1, top, top + 12);
}

} // namespace

const THelp_Entry* Help_Entry(int32_t help_id) {
    if (help_id < 1 || help_id > Help_Entry_Count) return nullptr;
    return &Help_Entries[help_id - 1];
}

void Extend_Info_Panel(int32_t y, int32_t page, TGame_Screen_View& view) {
    if (y <= Panel_Last_Row || view.Panel_Extended) return;
    view.Panel_Extended = true;
    if (view.Screen_Buffer < 1) return;
    // The copy goes through the buffers, not the text page: close the page around it.
    End_Text(page);
    Gx_Copy_Rect(508, 799, 114, 193, 508, 249, view.Screen_Buffer, page);
    Begin_Text(page);
}

TPanel_Price Current_Panel_Price() {
    const TCursor_Tooltip& tip = Cursor_Tooltip();
    return {tip.Shown, tip.Buying, tip.Selling, tip.Buy_Percent, tip.Sell_Percent};
}

void Draw_Item_Info(int32_t page, TGame_Screen_View& view, const TItem& item, const TPanel_Price& price) {
    TDisplay_Object* display = Display_Object();
    if (!display) return;
    display->Draw_Button(page, 520, 12, false, false, false, 5, 2);
    item.Draw(page, 523, false, 15);
    const TMonster* player = Player();

    Begin_Text(page);
    Set_Text_Justify(Justify_Left, Justify_Bottom);
    int32_t scroll_level = 0;
    const TSpell* spell = Scroll_Spell(item, scroll_level);
    const int32_t top = spell ? Draw_Heading(Label_X, 221, "   Свиток " + spell->Name, spell->Description)
                              : Draw_Heading(Label_X, 221, item.Name, "");
    TPanel_Lines lines(page, view, top);
    if (price.Shown) {
        if (price.Buying)
            lines.Line("Цена", Int_To_Str_Grouped(int64_t{item.Value()} * price.Buy_Percent / 100), White);
        else if (price.Selling)
            lines.Line("Стоимость ", Int_To_Str_Grouped(int64_t{item.Value()} * price.Sell_Percent / 100),
                       White);
        else
            lines.Line("Value", Int_To_Str_Grouped(item.Value()), White);
    }
    if (item.Damage.Max > 0) lines.Line("Урон  ", item.Damage.Text(), White);
    if (item.Defense_Rating > 0) lines.Line("Защита         ", std::to_string(item.Defense_Rating), White);
    lines.Line("Вес   ", std::to_string(item.Weight), White);
    if (item.Hands == 2) lines.Line("Требование ", "Двуручное ", White);
    // Without a player (after his death) nothing can be unmet.
    const bool met = !player || item.Requirements.Is_Met_By(player, item.Item_Level);
    for (int32_t n = 1; n <= item.Requirements.Count(); ++n)
        lines.Line("Требование ", item.Requirements.Requirement_Text(n, item.Item_Level), met ? White : Red);
    if (const std::string use = Consumable_Line(item.Consumption_Type, item.Consumption_Value); !use.empty())
        lines.Text(use, Pink);
    for (int32_t n = 1; n <= item.Effects.Get_Count(); ++n)
        lines.Text(item.Effects.Get_Description(n, true), Pink);
    if (spell) {
        lines.Line("Уровень    ", std::to_string(scroll_level), Pink);
        Spell_Lines(lines, *spell, scroll_level, Pink, Pink);
    }
    End_Text(page);
}

void Draw_Creature_Info(int32_t page, TGame_Screen_View& view, const TMonster& creature) {
    creature.Draw(page, 520, 12);
    Begin_Text(page);
    Set_Text_Justify(Justify_Left, Justify_Bottom);
    const int32_t top = Draw_Heading(575, 211, creature.Name, creature.Description);
    TPanel_Lines lines(page, view, top);
    // The level and life strips of the interface picture, with their values where the status panel has
    // them: each strip's bottom row on its line.
    constexpr int32_t Strip_Step = 22;
    const int32_t level_y = lines.Next(Strip_Step);
    End_Text(page);
    if (view.Screen_Buffer >= 1) Gx_Copy_Rect(181, 313, 49, 69, 576, level_y, view.Screen_Buffer, page);
    const int32_t life_y = lines.Next(Strip_Step);
    if (view.Screen_Buffer >= 1) Gx_Copy_Rect(371, 503, 10, 30, 574, life_y, view.Screen_Buffer, page);
    gx_vbopen(page);
    const int32_t bar_top = life_y - 20 + 5;
    const double life = static_cast<int64_t>(creature.Life);
    Draw_Bar(603, bar_top, Bar_Width(life, creature.Max_Life), Red);
    Begin_Text(page);
    Set_Font(2);
    Use_Colour(White);
    Set_Text_Justify(Justify_Left, Justify_Bottom);
    Draw_Text(607, level_y, std::to_string(creature.Level));
    Set_Text_Justify(Justify_Centre, Justify_Centre);
    Draw_Text(654, bar_top + 7,
              std::to_string(static_cast<int64_t>(creature.Life)) + " / " +
                  std::to_string(creature.Max_Life));
    Set_Text_Justify(Justify_Left, Justify_Bottom);
    Set_Font(1);
    static const std::array<const char*, 7> Status_Texts = {"",          "В панике", "Отравлен", "Ослеп",
                                                            "Скован   ", "Уснул ",   "Обращён  "};
    if (creature.Status >= 1 && creature.Status < Status_Texts.size())
        lines.Text(Status_Texts[creature.Status], Pink);
    TString_List effects;
    creature.Timed_Effect_Lines(effects);
    for (std::size_t n = 0; n < effects.size() && n < 4; ++n) lines.Text(effects[n], Pink);
    End_Text(page);
}

void Draw_Square_Info(int32_t page, int32_t x, int32_t y) {
    const TMap* map = Current_Map();
    const TMap_Square* square = map ? map->Get_Square(x, y) : nullptr;
    if (!square) return;
    square->Draw_Plain(page, 520, 12);
    Begin_Text(page);
    Set_Text_Justify(Justify_Left, Justify_Bottom);
    Set_Font(1);
    int32_t line_y = 32;
    if (const std::string text = square->Get_Terrain_Text(); !text.empty()) {
        Use_Colour(Grey);
        Draw_Text(580, line_y, text);
    }
    Use_Colour(Pink);
    if (std::string key; map->Get_Lock(x, y, key)) {
        line_y += Line_Step;
        Draw_Text(580, line_y, "Заперто (требует " + key + ")    ");
    }
    if (std::string trap; map->Get_Trap(x, y, trap)) {
        line_y += Line_Step;
        Draw_Text(580, line_y, "Ловушка");
    }
    End_Text(page);
}

void Draw_Spell_Info(int32_t page, TGame_Screen_View& view, uint16_t spell_id) {
    const TSpell* spell = spell_id != 0 ? Get_Master_Spell(spell_id) : nullptr;
    if (!spell) return;
    spell->Draw_Icon_Masked(page, 520, 0, 0, 12);
    Begin_Text(page);
    Set_Text_Justify(Justify_Left, Justify_Bottom);
    const int32_t top = Draw_Heading(Label_X, 221, spell->Name, spell->Description);
    TPanel_Lines lines(page, view, top);
    // The lines about the player's own use of the spell need a living player.
    if (const TMonster* player = Player()) {
        const int32_t minimum = player->Spell_Minimum_Level(*spell);
        if (player->Level < minimum) lines.Line("Требуется уровень      ", std::to_string(minimum), Red, 730);
        if (const int32_t level = player->Spells.Spell_Level(spell_id); level != 0) {
            lines.Line("Уровень    ", std::to_string(level), White);
            lines.Line("Нужно маны  ",
                       spell->Is_Passive() ? "Постоянно" : std::to_string(spell->Mana_Cost(level)), White);
            Spell_Lines(lines, *spell, level, White, Pink);
        }
    }
    End_Text(page);
}

void Draw_Button_Help(int32_t page, int32_t help_id) {
    const THelp_Entry* entry = Help_Entry(help_id);
    TDisplay_Object* display = Display_Object();
    if (!entry || !display) return;
    // Misc icon cells of entries 12..31.
    static constexpr int32_t Icon_Cells[20] = {0, 1,  2,  3,  21, 4,  22, 11, 9,  10,
                                               5, 12, 18, 19, 20, 17, 13, 14, 15, 16};
    if (help_id <= 5)
        display->Draw_Button(page, 520, 12, false, false, false, 2, help_id - 1);
    else if (help_id == 6)
        display->Draw_Button(page, 520, 12, false, false, false, 2, 8);
    else if (help_id <= 8)
        display->Draw_Button(page, 520, 12, false, false, false, 10, help_id - 4);
    else if (help_id == 9)
        display->Draw_Spell_Container(page, 520, 12, 0, 0);
    else if (help_id <= 11)
        display->Draw_Button(page, 540, 12, false, false, true, 3, 0);
    else if (help_id <= 31)
        display->Draw_Misc_Icon(page, 538, 12, Icon_Cells[help_id - 12]);
    else
        display->Draw_Misc_Icon_Row(page, 538, 12, 0);

    const int32_t x = help_id <= 6 ? 580 : 565;
    Begin_Text(page);
    Set_Text_Justify(Justify_Left, Justify_Bottom);
    Set_Font(3);
    Use_Colour(White);
    Draw_Text(x, 32, entry->Title);
    Set_Font(1);
    Use_Colour(Grey);
    Draw_Text_Wrapped(x, 32, 206, 112, entry->Text);
    if (*entry->Key_Hint) {
        Set_Font(3);
        Draw_Text(x, 160, entry->Key_Hint);
    }
    End_Text(page);
}

void Draw_Info_Panel(int32_t page, TGame_Screen_View& view) {
    view.Panel_Extended = false;
    const TInfo_Subject& subject = view.Subject;
    TMap* map = Current_Map();
    switch (subject.Kind) {
    case 1:
        if (const TItem* item = map ? map->Item_List.Item(subject.Item_Id) : nullptr)
            Draw_Item_Info(page, view, *item, view.Price);
        break;
    case 2:
        if (const TMonster* creature = map ? map->Monster_List.Get_Monster(subject.Creature_Id) : nullptr)
            Draw_Creature_Info(page, view, *creature);
        break;
    case 3: Draw_Square_Info(page, subject.X, subject.Y); break;
    case 5: Draw_Spell_Info(page, view, subject.Spell_Id); break;
    case 6: Draw_Button_Help(page, subject.Help_Id); break;
    default: break; // none, and a pile, which has no description
    }
}
