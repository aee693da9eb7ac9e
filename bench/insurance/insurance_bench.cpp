// insurance_bench: the insurance transfer (6.2) of January 2027 in the
// payroll benchmarks' company of 10,000 employees (see
// payroll_bench_company.h), every employee insured under title 0110, with
// a set of algorithms of the shapes the insurance formulas have: 24
// contribution fields, the bases per year, the periods (every tenth
// employee changed his working time mid-month), a benefit paid by a
// component, the base salary as a remuneration code and the totals in two
// passes.
//
// The month's list is recalculated first (timed: the reference), then the
// transfer runs twice (the first run, and the rerun that reuses every
// record). Reports both times and their ratio to the recalculation
// (target: at most 1, the transfer no slower than computing the pay).
//
// The company is built once into cache/ beside the program and copied to
// work/ for every run.
//
// Usage: insurance_bench [--employees N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "insurance/data/insurance_transfer.h"
#include "payroll/data/payroll_host.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/positions.h"
#include "payroll/data/recalculation.h"
#include "payroll_bench_company.h"
#include "platform/codepage/cp852.h"

namespace {

using namespace kestrel;
using bench::Make;
using bench::Number;

constexpr int kVersion = 1;  // of the insurance part below

const char* const kBase = "(K000+K001+K002+K003+A030)";

void MakeInsurance(const std::string& dir, int employees) {
    for (const char* t :
         {"PKZASIL", "PKKSKWN", "PKWYNAG", "PKPODST", "PKOKRES", "PKKTYUB", "PKASPRZ", "PKSSWPR"})
        Make(dir, t, [](auto) {});
    std::filesystem::remove(dir + "PKSKLAD.DBF");
    Make(dir, "PKSKLAD", [](auto) {});
    Make(dir, "PKTYTUB", [](auto add) { add({{"TYTUL_PODM", "0110"}, {"NAZWA_", "Pracownik"}}); });
    Make(dir, "PKSWYN", [](auto add) { add({{"KOD_WYNAGR", "01"}, {"NAZWA_", "Zasadnicze"}}); });
    Make(dir, "PKZMPRC", [&](auto add) {
        for (int i = 10; i <= employees; i += 10)
            add({{"NR_PRAC", Number(i)},
                 {"NAZWA_POLA", "ETAT_M"},
                 {"DATA_DO", "20270115"},
                 {"WARTOSC_", "2"}});
    });
    const std::string b = kBase;
    auto rate = [&](const char* r) { return "yround(" + b + "*" + r + ",2)"; };
    Make(dir, "PKASKLD", [&](auto add) {
        add({{"TYT_PODM_P", "01"},
             {"WARUNEK_", b + ">0"},
             {"UMOWA_DEKL", "\"U\""},
             {"PODSTAWA_", b},
             {"PROC_UBSP", "1.67"},
             {"KWOTA_UBSP", rate("0.0167")},
             {"PROC_FPR", "2.45"},
             {"PODST_FPR", b},
             {"KWOTA_FPR", rate("0.0245")},
             {"PROC_FGSP", "0.10"},
             {"PODST_FGSP", b},
             {"KWOTA_FGSP", rate("0.001")},
             {"POD_EM_REN", "min(" + b + ", 260190)"},
             {"KWO_E_PRAC", rate("0.0976")},
             {"KWO_E_ZAKL", rate("0.0976")},
             {"KWO_R_PRAC", rate("0.015")},
             {"KWO_R_ZAKL", rate("0.065")},
             {"POD_CH_WYP", b},
             {"KWO_C_PRAC", rate("0.0245")},
             {"POD_WYPADK", b},
             {"KWO_W_ZAKL", rate("0.0167")},
             {"POD_ZDROW", "yround(" + b + "*(1-0.1371),2)"},
             {"KWO_Z_PRAC", "yround(yround(" + b + "*(1-0.1371),2)*0.09,2)"},
             {"KWO_FEP", "0"}});
    });
    Make(dir, "PKAPDST", [&](auto add) {
        add({{"TYT_PODM_P", "01"}, {"POD_EM_REN", b}, {"POD_WYPADK", b}, {"NIE_SKLADK", "K004"}});
    });
    Make(dir, "PKAOKRN", [](auto add) {
        add({{"TYT_PODM_P", "01"}, {"WARUNEK_", ".T."}, {"LISTA_NB", "BZ,UB"}});
    });
    Make(dir, "PKAZASL", [](auto add) {
        add({{"TYT_PODM_P", "01"},
             {"SKLADN_PL", "K005"},
             {"GENER_DNI", "T"},
             {"ZASILEK_", "K005"},
             {"KOD_SW_PRZ", "\"331\""}});
    });
    Make(dir, "PKASKWN", [](auto add) {
        add({{"TYT_PODM_P", "01"}, {"KOD_WYNAGR", "01"}, {"KWOTA_", "K000"}});
    });
    Make(dir, "PKAWYNG", [&](auto add) {
        add({{"WYNAGR_", b},
             {"DN_PRZEPR", "21"},
             {"DN_NOMIN", "21"},
             {"AKTYWN_", ".T."},
             {"WYN_DO_URL", "K000+K001"},
             {"ETAT_", "1"},
             {"PRZEL_WYN", b},
             {"PREMIA_KW", "K002"}});
    });
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

[[noreturn]] void Asked(const testing::HeadlessRuntime& h) {
    std::fprintf(stderr, "the program asks: %s\n", h.ShownRow(23).c_str());
    std::exit(1);
}

double Recalculate(const std::string& dir) {
    testing::HeadlessRuntime h;
    h.rt.set_data_dir(dir);
    try {
        common::Tables tables(h.rt);
        payroll::OpenLists open = payroll::FindOpenLists(h.rt, tables);
        if (open.lists.empty()) {
            std::fprintf(stderr, "no open list\n");
            std::exit(1);
        }
        payroll::Recalculation run(h.rt, tables, open.lists.front(), nullptr);
        const auto start = std::chrono::steady_clock::now();
        if (std::string m = run.Check(); !m.empty()) {
            std::fprintf(stderr, "refused: %s\n", codepage::ToUtf8(m).c_str());
            std::exit(1);
        }
        run.OpenTables(true);
        const payroll::RecalcOutcome out = run.Run({});
        if (!out.message.empty()) {
            std::fprintf(stderr, "the run ended: %s\n", codepage::ToUtf8(out.message).c_str());
            std::exit(1);
        }
        return Seconds(start);
    } catch (const console::ScriptEnded&) {
        Asked(h);
    }
}

double TransferOnce(const std::string& dir, insurance::TransferOutcome* out) {
    testing::HeadlessRuntime h;
    h.rt.set_data_dir(dir);
    try {
        common::Tables tables(h.rt);
        const auto start = std::chrono::steady_clock::now();
        *out = insurance::Transfer(h.rt, tables);
        const double s = Seconds(start);
        if (!out->completed) {
            std::fprintf(stderr, "the transfer ended: %s\n",
                         codepage::ToUtf8(out->message).c_str());
            std::exit(1);
        }
        return s;
    } catch (const console::ScriptEnded&) {
        Asked(h);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int employees = 10000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--employees") == 0) employees = std::atoi(argv[i + 1]);
    const std::filesystem::path here =
        std::filesystem::absolute(std::filesystem::path(argv[0])).parent_path();
    const std::string cache = (here / "cache" / std::to_string(employees)).string() + "/";
    const std::string ready =
        cache + "READY" + std::to_string(bench::kCompanyVersion) + "." + std::to_string(kVersion);
    if (!std::filesystem::exists(ready)) {
        std::fprintf(stderr, "building the company of %d employees in %s ...\n", employees,
                     cache.c_str());
        std::filesystem::remove_all(cache);
        std::filesystem::create_directories(cache);
        bench::MakeCompany(cache, employees,
                           {{"TYTUL_PODM", "0110"},
                            {"TYTUL_EMER", "0"},
                            {"TYTUL_STNP", "0"},
                            {"ETAT_L", "1"},
                            {"ETAT_M", "1"}});
        MakeInsurance(cache, employees);
        {
            // The index files are built by the first open.
            testing::HeadlessRuntime h;
            h.rt.set_data_dir(cache);
            common::Tables tables(h.rt);
            payroll::Positions positions(h.rt, tables);
            insurance::PreviewTransfer(h.rt, tables);
        }
        if (std::FILE* f = std::fopen(ready.c_str(), "w")) std::fclose(f);
    }
    const std::string work = (here / "work").string() + "/";
    std::filesystem::remove_all(work);
    std::filesystem::copy(cache, work, std::filesystem::copy_options::recursive);

    const double recalc = Recalculate(work);
    insurance::TransferOutcome first, rerun;
    const double once = TransferOnce(work, &first);
    const double again = TransferOnce(work, &rerun);
    std::printf("insurance transfer of %d employees (the month's list recalculated in %.2f s)\n",
                employees, recalc);
    for (const auto& [name, s, o] :
         {std::tuple{"first run", once, &first}, std::tuple{"rerun", again, &rerun}})
        std::printf(
            "%-9s %7.2f s  %d employees  %d records  ratio to the recalculation %.2f "
            "(target 1)\n",
            name, s, o->employees, o->records, s / recalc);
    std::filesystem::remove_all(work);
    return 0;
}
