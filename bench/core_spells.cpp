// The master spell loader over a large generated spells file (every key of a spell record, three effects
// each) and the class loader over a generated classes file with the shipped classes' shape.
#include "core/CharClass.h"
#include "core/Spells.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

constexpr int Spell_Record_Count = 5000;
constexpr int Class_Record_Count = 500;

std::string Spell_Record(int r) {
    const std::string n = std::to_string(r);
    std::string text =
        "Maximum Levels From Start := 10\nName := Spell " + n + "\nDescription := Заклинание номер " + n +
        "\nPicture ID := 3\nPicture Is Maskable := TRUE\n"
        "Mana Cost to Cast := 10\nIncrease In Mana Cost Per Level := 2.5\nMaximum Mana Cost := 40\n"
        "Duration := 30\nIncrease In Duration Per Level := 5.5\nMaximum Duration := 120\n"
        "Target Type := Группа монстров\nRequirement Other Spell Name := Spell 1\n"
        "Requirement Other Spell Minimum Level := 2\nEffects Only Apply to Weapon Type := None\n"
        "Monster Summoned Name := None\nMonster Summoned Base Count := 0\n"
        "Monster Summoned Increase Count Per Level := 0\nMonster Summoned Maximum Count := 0\n"
        "Area Effect Radius := 1\nIncrease In Area Effect Radius Per Level := 0.25\n"
        "Maximum Area Effect Radius := 3\nSound File Cast := fire.wav\n"
        "Damage Amount Min := 2\nDamage Amount Max := 9\nDamage Maximum Range := 7\n"
        "Damage Firing FX := None\nNumber of Effects := 3\n";
    const char* const types[] = {"Fire Damage", "Cold Damage", "Reduce Target Movement"};
    for (int e = 1; e <= 3; ++e) {
        const std::string k = "Effect " + std::to_string(e);
        text += k + " Type := " + types[e - 1] + "\n" + k + " Min Amount := " + std::to_string(e + r % 5) +
                "\n" + k + " Max Amount := " + std::to_string(2 * e + r % 7) + "\n" + k +
                " Per Level Modifier Type := " + (e == 2 ? "Percent" : "Number") + "\n" + k +
                " Min Amt Per Level Modifier := 1\n" + k + " Max Amt Per Level Modifier := 2\n";
    }
    return text;
}

std::string Class_Record(int r) {
    std::string text = "Class Name := Class " + std::to_string(r) +
                       "\nShort Description := Воин\nLong Description := Мастер меча и щита\n"
                       "Number of Portaits := 3\n";
    for (int n = 1; n <= 3; ++n)
        text += "Portrait " + std::to_string(n) + " Filename := HumanFighter" + std::to_string(n) + ".bmp\n";
    for (const char* key :
         {"Base Strength", "Base Dexterity", "Base Intelligence", "Base Constitution", "Base Fire Resistance",
          "Base Lightning Resistance", "Base Cold Resistance", "Base Magic Resistance",
          "Base Poison Resistance", "Base Physical Resistance", "Base Maximum Health", "Base Maximum Mana",
          "Base Maximum Hunger", "Base Maximum Weight", "Base Movement Speed", "Starting Gold",
          "Characteristic Points Per Level", "Spell Points Per Level"})
        text += std::string(key) + " := " + std::to_string(10 + r % 9) + "\n";
    for (const char* key :
         {"Maximum Health - X Per 1 Level", "Maximum Health - X Per 1 Constitution",
          "Maximum Mana - X Per 1 Level", "Maximum Mana - X Per 1 Intelligence",
          "Maximum Hunger - X Per 1 Constitution", "Maximum Weight - X Per 1 Strength",
          "Attack Rating - X Per 1 Dexterity", "Defense Rating - X Per 1 Dexterity",
          "Minimum Damage Bonus - X Per 1 Strength", "Maximum Damage Bonus - X Per 1 Strength",
          "Movement Slowdown - Xms Per 1 Over Weight", "Health Pct Regeneration Rate Per Second",
          "Mana Pct Regeneration Rate Per Second"})
        text += std::string(key) + " := 1.25\n";
    text += "Num Items Carried := 5\n";
    for (int n = 1; n <= 5; ++n)
        text += "Item " + std::to_string(n) + " Class := Item Class " + std::to_string(n) + "\n";
    text += "Experience Added Past Last Level := 5000\nNumber Of Experience Levels := 20\n";
    for (int n = 1; n <= 20; ++n)
        text += "Experience For Level " + std::to_string(n) + " := " + std::to_string(n * n * 100) + "\n";
    for (int n = 1; n <= 6; ++n) text += "Spell/Skill Group " + std::to_string(n) + " Name := Группа\n";
    text += "Number of Spell/Skills := 10\n";
    for (int n = 1; n <= 10; ++n) {
        const std::string k = "Spell/Skill " + std::to_string(n);
        text += k + " Name := Spell " + std::to_string(n) + "\n" + k + " Group := 1\n" + k +
                " Available At Level := " + std::to_string(n) + "\n" + k + " Starting Level := 0\n";
    }
    return text;
}

// The generated files, written once for all runs and removed at exit.
class TBench_Files {
public:
    TBench_Files() {
        std::string pattern = (std::filesystem::temp_directory_path() / "murk_bench_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
        Folder_ = pattern;
        Spells_ = Write("Spells.txt", Spell_Record, Spell_Record_Count);
        Classes_ = Write("Classes.txt", Class_Record, Class_Record_Count);
    }
    ~TBench_Files() {
        std::error_code ec;
        std::filesystem::remove_all(Folder_, ec);
    }

    const std::string& Spells() const { return Spells_; }
    const std::string& Classes() const { return Classes_; }

private:
    std::string Write(const std::string& name, std::string (*record)(int), int count) {
        std::string text = "Generated\n*BEGIN*\n\n\n";
        for (int r = 1; r <= count; ++r) text += record(r) + (r < count ? "\n" : "");
        text += "*END*\n";
        const std::string path = Folder_ + "/" + name;
        std::ofstream out(path, std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out) throw std::runtime_error("cannot write " + path);
        return path;
    }

    std::string Folder_;
    std::string Spells_;
    std::string Classes_;
};

const TBench_Files& Files() {
    static const TBench_Files files;
    return files;
}

void BM_Master_Spell_Loader(benchmark::State& state) {
    const std::string& path = Files().Spells();
    for (auto _ : state) {
        Free_Master_Spells();
        TMaster_Spell_Data_File_Loader loader(path);
        loader.Execute_Load();
        if (!loader.Get_Error_List().empty() || Master_Spell_Count() != Spell_Record_Count)
            state.SkipWithError(("unexpected load result: " + (loader.Get_Error_List().empty()
                                                                   ? std::to_string(Master_Spell_Count())
                                                                   : loader.Get_Error_List().front()))
                                    .c_str());
        benchmark::DoNotOptimize(Get_Master_Spell(Spell_Record_Count));
    }
    Free_Master_Spells();
    state.SetItemsProcessed(state.iterations() * Spell_Record_Count);
}
BENCHMARK(BM_Master_Spell_Loader)->Unit(benchmark::kMillisecond);

void BM_Class_Loader(benchmark::State& state) {
    const std::string& path = Files().Classes();
    for (auto _ : state) {
        Free_Class_Info();
        TClass_Portrait_Data_File_Loader loader(path);
        loader.Execute_Load();
        if (!loader.Get_Error_List().empty() || Class_Count() != Class_Record_Count)
            state.SkipWithError(("unexpected load result: " + (loader.Get_Error_List().empty()
                                                                   ? std::to_string(Class_Count())
                                                                   : loader.Get_Error_List().front()))
                                    .c_str());
        benchmark::DoNotOptimize(Get_Class(Class_Record_Count));
    }
    Free_Class_Info();
    state.SetItemsProcessed(state.iterations() * Class_Record_Count);
}
BENCHMARK(BM_Class_Loader)->Unit(benchmark::kMillisecond);

} // namespace
