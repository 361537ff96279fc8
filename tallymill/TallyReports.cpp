#include "tallymill/TallyReports.h"

#include "generation/RndClassItem.h"
#include "generation/RndClassMonster.h"
#include "tallymill/TallySession.h"

#include <functional>

namespace {

constexpr int32_t Name_Width = 30;
constexpr int32_t Cell_Width = 9;

// One table of a report: the header line when there are classes, then one line per class: the padded name
// and one padded cell per level. The level runs in 64 bits: "L <= to" with to = 2147483647 would never end
// in 32.
class TTable_Writer {
public:
    TTable_Writer(const TReport_Range& range, TString_List& report) : Range_(range), Report_(report) {}

    void Header(const std::string& title) {
        std::string line = Pad_Right(title, Name_Width);
        for (int64_t level = Range_.From; level <= Range_.To; ++level)
            line += Report_Cell(std::to_string(level));
        Report_.push_back(line);
    }

    // cell(L) is the text of one cell; L always lies within From..To, so it fits 32 bits.
    void Row(const std::string& name, const std::function<std::string(int32_t)>& cell) {
        std::string line = Pad_Right(name, Name_Width);
        for (int64_t level = Range_.From; level <= Range_.To; ++level)
            line += Report_Cell(cell(static_cast<int32_t>(level)));
        Report_.push_back(line);
    }

private:
    const TReport_Range& Range_;
    TString_List& Report_;
};

std::string Range_Cell(int64_t lo, int64_t hi) {
    return std::to_string(lo) + "-" + std::to_string(hi);
}

// The list must be the current one: the formulas read the current list's constants.
void Generate_Item_Report(const TItem_Class_List& list, const TReport_Range& range, TString_List& report) {
    TTable_Writer table(range, report);
    const auto each_class = [&](const std::function<void(const TItem_Class&)>& row) {
        for (int32_t i = 1; i <= list.Get_Count(); ++i)
            if (const TItem_Class* item_class = list.Get_Class(i)) row(*item_class);
    };

    report.push_back("Item Class File: " + list.File_Name);
    report.push_back("");
    report.push_back("--Item Gold Value--");
    if (list.Get_Count() > 0) {
        table.Header("Item Name              Lev");
        // The name column shows what the items are called ("Name"), not the class name callers ask for.
        each_class([&](const TItem_Class& item_class) {
            table.Row(item_class.Name,
                      [&](int32_t level) { return std::to_string(Calc_Item_Gold_Value(item_class, level)); });
        });
    }
    report.push_back("");
    report.push_back("");
    report.push_back("--Item Damage--");
    if (list.Get_Count() > 0) {
        table.Header("Item Name              Lev");
        each_class([&](const TItem_Class& item_class) {
            table.Row(item_class.Name, [&](int32_t level) {
                return Range_Cell(Calc_Item_Damage_Min(item_class, level),
                                  Calc_Item_Damage_Max(item_class, level));
            });
        });
    }
}

} // namespace

std::string Report_Cell(const std::string& text) {
    // A cell as wide as its column or wider would touch the cell or name before it ("1663-20861680-2107"):
    // it gets one blank of its own. Narrower cells are padded to the column as they always were.
    const std::string cell = Pad_Left(text, Cell_Width);
    return cell.size() > text.size() ? cell : " " + text;
}

bool Load_And_Report_Items(const std::string& file_name, const TReport_Range& range, TString_List& report,
                           TString_List& errors) {
    TItem_Class_List list;
    const TCurrent_Item_Class_List_Guard current(list);
    if (!list.Load_From_File(file_name, &errors)) return false;
    Generate_Item_Report(list, range, report);
    return true;
}

namespace {

void Generate_Monster_Report(const TMonster_Class_List& list, const TReport_Range& range,
                             TString_List& report) {
    TTable_Writer table(range, report);
    const int32_t d = range.Difficulty_Offset;
    const auto each_class = [&](const std::function<void(const TMonster_Class&)>& row) {
        for (int32_t i = 1; i <= list.Get_Count(); ++i)
            if (const TMonster_Class* monster_class = list.Get_Class(i)) row(*monster_class);
    };

    report.push_back("Monster Class File: " + list.File_Name);
    report.push_back("");
    report.push_back("--Monster Health--");
    if (list.Get_Count() > 0) {
        table.Header("Monster Name           Lev");
        each_class([&](const TMonster_Class& monster_class) {
            table.Row(monster_class.Name, [&](int32_t level) {
                return Range_Cell(Calc_Monster_Health(level, nullptr, monster_class.Health_Min, d),
                                  Calc_Monster_Health(level, nullptr, monster_class.Health_Max, d));
            });
        });
    }
    report.push_back("");
    report.push_back("");
    report.push_back("--Monster Damage--");
    if (list.Get_Count() > 0) {
        table.Header("Monster Name           Lev");
        each_class([&](const TMonster_Class& monster_class) {
            // The first natural attack stands for the class; the raw formula, before the game caps the
            // minimum at the maximum.
            const TDamage* attack = monster_class.Natural_Attacks.Get_Damage(1);
            table.Row(monster_class.Name, [&](int32_t level) -> std::string {
                if (!attack) return std::string(); // a cell of blanks only
                return Range_Cell(
                    Calc_Monster_Damage(level, d, 0, list.Constants.Damage_Min_Start, attack->Min),
                    Calc_Monster_Damage(level, d, 0, list.Constants.Damage_Max_Start, attack->Max));
            });
        });
    }
}

} // namespace

bool Load_And_Report_Monsters(const std::string& file_name, const TReport_Range& range, TString_List& report,
                              TString_List& errors) {
    TMonster_Class_List list;
    const TCurrent_Monster_Class_List_Guard current(list);
    // No sound check: the tool ships no sounds and reports only numbers.
    if (!list.Load_From_File(file_name, &errors, true)) return false;
    Generate_Monster_Report(list, range, report);
    return true;
}
