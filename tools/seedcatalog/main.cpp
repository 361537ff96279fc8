// seedcatalog: generates every map of a module from fixed seeds and writes the catalog text.
//   seedcatalog --base DIR --module NAME [--seeds A..B] [--out FILE]
// Without --seeds the built-in runs are made (those of the committed catalog); with it seeds A..B at
// difficulty 2 and starting level 1. Maps that break an invariant are named on standard error, and the
// exit status is then 1, as it is when a map's dig reported error lines.
#include "core/GlobalFuncs.h"
#include "core/Profile.h"
#include "tools/seedcatalog/SeedCatalog.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const Usage = "usage: seedcatalog --base DIR --module NAME [--seeds A..B] [--out FILE]\n";

// "A..B" with 0 <= A <= B.
bool Parse_Seeds(const std::string& text, int32_t& first, int32_t& last) {
    const size_t dots = text.find("..");
    if (dots == std::string::npos) return false;
    try {
        size_t used = 0;
        const std::string a = text.substr(0, dots), b = text.substr(dots + 2);
        first = std::stoi(a, &used);
        if (used != a.size()) return false;
        last = std::stoi(b, &used);
        if (used != b.size()) return false;
    } catch (const std::exception&) {
        return false;
    }
    return first >= 0 && first <= last;
}

} // namespace

int main(int argc, char** argv) {
    // English loader messages and no debug log, like the designers' other tool.
    Set_Run_Profile(TRun_Profile::Tool);
    TCatalog_Options options;
    options.Runs = Built_In_Catalog_Runs();
    std::string out;
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        const bool has_value = i + 1 < args.size();
        if (args[i] == "--base" && has_value) {
            options.Base = args[++i];
        } else if (args[i] == "--module" && has_value) {
            options.Module = args[++i];
        } else if (args[i] == "--out" && has_value) {
            out = args[++i];
        } else if (args[i] == "--seeds" && has_value) {
            int32_t first = 0, last = 0;
            if (!Parse_Seeds(args[++i], first, last)) {
                std::cerr << "seedcatalog: --seeds wants A..B, A not above B: " << args[i] << "\n" << Usage;
                return 2;
            }
            options.Runs = Seed_Range_Runs(first, last);
        } else {
            std::cerr << "seedcatalog: unexpected argument " << args[i] << "\n" << Usage;
            return 2;
        }
    }
    if (options.Base.empty() || options.Module.empty()) {
        std::cerr << Usage;
        return 2;
    }

    std::vector<TCatalog_Map_Report> reports;
    std::vector<std::string> setup_errors;
    const std::string text = Generate_Seed_Catalog(options, reports, setup_errors);
    for (const std::string& line : setup_errors) std::cerr << "seedcatalog: " << line << "\n";
    if (!setup_errors.empty()) return 1;

    if (out.empty()) {
        std::cout << text;
    } else {
        std::ofstream file(out, std::ios::binary | std::ios::trunc);
        file << text;
        if (!file.flush()) {
            std::cerr << "seedcatalog: unable to write " << out << "\n";
            return 1;
        }
    }

    int32_t with_errors = 0, problems = 0, open_sides = 0, not_dug = 0;
    for (const TCatalog_Map_Report& report : reports) {
        with_errors += report.Error_Lines > 0 ? 1 : 0;
        not_dug += report.Dug ? 0 : 1;
        open_sides += report.Open_Side ? 1 : 0;
        for (const std::string& problem : report.Problems) {
            std::cerr << report.Header << ": " << problem << "\n";
            ++problems;
        }
    }
    std::cerr << "seedcatalog: " << reports.size() << " maps, " << with_errors << " with error lines, "
              << not_dug << " not dug, " << problems << " broken invariants, " << open_sides
              << " with a side left open by the last sweep's missed picks\n";
    return with_errors > 0 || problems > 0 ? 1 : 0;
}
