// The company of the payroll benchmarks: 10,000 employees (or N) with 150
// components, 120 of them computed by algorithms of the shapes payroll
// formulas have (SUMASKLAD, ZUSLIMIT and SUMADOCH among them), and twelve
// months of history (2026, 42 positions an employee a month); the open list
// is January 2027's, with 10 entered amounts of every employee. The
// recalculation and the insurance transfer benchmarks build it into their
// caches.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench_tables.h"
#include "common/checks/scramble.h"
#include "platform/codepage/cp852.h"

namespace kestrel::bench {

inline constexpr int kComponents = 150;
inline constexpr int kEntered = 30;  // K000..K029, entered; A030..A149 computed
inline constexpr int kPerMonth = 42;
inline constexpr int kOnList = 10;         // entered amounts of each employee on the list
inline constexpr int kCompanyVersion = 2;  // a new one rebuilds the caches

inline std::string Symbol(int k) {
    char s[8];
    std::snprintf(s, sizeof s, "%c%03d", k < kEntered ? 'K' : 'A', k);
    return s;
}

inline std::string Paid(int year, int month) {
    char s[16];
    std::snprintf(s, sizeof s, "%04d%02d28", year, month);
    return s;
}

// The algorithm of computed component k: arithmetic over entered amounts
// and the components computed before it, and three library functions.
inline std::string Algorithm(int k) {
    char s[160];
    const int e = k % kEntered, a1 = k - 1, a2 = k - 2 < kEntered ? kEntered : k - 2;
    if (k == 40) return "SUMASKLAD('K0*')";
    if (k == 80) return "ZUSLIMIT('K003')";
    if (k == 120) return "SUMADOCH()";
    if (k == kEntered) return "yround(K000*1.1, 2)";
    switch (k % 8) {
        case 0:
            std::snprintf(s, sizeof s, "yround(K%03d*1.1, 2)", e);
            break;
        case 1:
            std::snprintf(s, sizeof s, "iif(K%03d>0, K%03d/21*20, 0)", e, e);
            break;
        case 2:
            std::snprintf(s, sizeof s, "max(0, int((A%03d-K%03d)+0.5)*0.12-300)", a1, e);
            break;
        case 3:
            std::snprintf(s, sizeof s, "yround(min(A%03d, 5000)*0.09, 2)", a2);
            break;
        case 4:
            std::snprintf(s, sizeof s, "yround(A%03d*0.0976 + K%03d - K%03d, 2)", a1, e,
                          (e + 1) % kEntered);
            break;
        case 5:
            std::snprintf(s, sizeof s, "iif(A%03d > 0 .and. K%03d > 0, yround(A%03d*0.0245, 2), 0)",
                          a1, e, a1);
            break;
        case 6:
            std::snprintf(s, sizeof s, "yround(K%03d/168*10*1.5, 2)+1", e);
            break;
        default:
            std::snprintf(s, sizeof s, "A%03d+A%03d+1", a1, a2);
    }
    return s;
}

/// `more` are further fields of every register record.
inline void MakeCompany(const std::string& dir, int employees,
                        const std::map<std::string, std::string>& more = {}) {
    for (const char* t :
         {"PKROB",   "PKRNB",   "PKSRDOD", "PKDOD",   "PKFUNC", "PKCZAS",  "PKBRYG",
          "PKSBRG",  "PKGRUPY", "PKKALEN", "PKSKSZT", "PKOSPL", "PKNIEOB", "PKWALOR",
          "PKZPRAC", "PKSKLAD", "PKUMTR",  "PKUPRC",  "PKZEST", "PKDZIAL", "PKZAW"})
        Make(dir, t, [](auto) {});
    Make(dir, "PKSTER", [](auto add) { add({{"ROK_", "2027"}, {"MC_", "1"}}); });
    // The tax scale the recalculation loads first.
    Make(dir, "PKTAB", [](auto add) {
        add({{"ROK_", "2027"},
             {"OD_MC", "1"},
             {"MC_DO", "12"},
             {"PONAD_KW", "0"},
             {"DO_KWOTY", "120000"},
             {"KWOTA_POD", "0"},
             {"PROC_POD", "12"},
             {"ULGA_POD", "3600"}});
        add({{"ROK_", "2027"},
             {"OD_MC", "1"},
             {"MC_DO", "12"},
             {"PONAD_KW", "120000"},
             {"DO_KWOTY", "999999999.99"},
             {"KWOTA_POD", "14400"},
             {"PROC_POD", "32"},
             {"ULGA_POD", "3600"}});
    });
    Make(dir, "PKSLST", [](auto add) { add({{"TYP_LST", "A"}, {"NAZWA_LST", "Etaty"}}); });
    Make(dir, "PKPRAC", [&](auto add) {
        for (int i = 1; i <= employees; ++i) {
            char clear[16];
            std::snprintf(clear, sizeof clear, "8001%07d", i);
            std::map<std::string, std::string> fields = {
                {"NR_PRAC", Number(i)},
                {"NAZWX_", "X"},
                {"GRUPA_KAL", "01"},
                {"DATA_ZATR", "20200101"},
                {"PESELX_", common::Scramble(common::ScrambleKind::kIdentity, clear, 34)}};
            fields.insert(more.begin(), more.end());
            add(fields);
        }
    });
    Make(dir, "PKSPL", [](auto add) {
        for (int k = 0; k < kComponents; ++k) {
            const bool entered = k < kEntered;
            add({{"SKLADN_PL", Symbol(k)},
                 {"NAZWA_", "Składnik " + Symbol(k)},
                 {"TYP_", entered ? "K" : "A"},
                 {"SEKW_OBL", std::to_string(k)},
                 {"ALGORYTM_", entered ? "" : codepage::FromUtf8(Algorithm(k))}});
        }
    });
    Make(dir, "PKLISTY", [](auto add) {
        for (int m = 1; m <= 13; ++m) {
            const int year = m == 13 ? 2027 : 2026, month = m == 13 ? 1 : m;
            char mc[4];
            std::snprintf(mc, sizeof mc, "%02d", month);
            add({{"ROK_LST", std::to_string(year)},
                 {"TYP_LST", "A"},
                 {"NR_LST", std::to_string(m == 13 ? 1 : m)},
                 {"MC_LST", mc},
                 {"DATA_WYP", Paid(year, month)},
                 {"WSK_AKTYWN", m == 13 ? "T" : "F"},
                 {"GENER_DOCH", "T"},
                 {"ZA_ROK", std::to_string(year)}});
        }
    });
    Make(dir, "PKRDOCH", [](auto add) { add({{"TYTUL_WYP", "0001"}, {"KUMUL_", "T"}}); });
    Make(dir, "PKDOCH", [&](auto add) {
        for (int m = 1; m <= 12; ++m)
            for (int i = 1; i <= employees; ++i)
                add({{"NR_PRAC", Number(i)},
                     {"ROK_LST", "2026"},
                     {"TYP_LST", "A"},
                     {"NR_LST", std::to_string(m)},
                     {"DATA_WYP", Paid(2026, m)},
                     {"TYTUL_WYP", "0001"},
                     {"PRZYCHOD_", "5000"}});
    });
    // The positions, written straight through the table.
    const std::string path = dir + "PKPLACE.DBF";
    Check(dbf::Table::Create(path, common::FindTable("PKPLACE")->Specs()), "PKPLACE");
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    Check(dbf::Table::Open(path, exclusive, &t), "PKPLACE");
    const int f_year = t->FieldIndex("ROK_LST"), f_type = t->FieldIndex("TYP_LST"),
              f_nr = t->FieldIndex("NR_LST"), f_month = t->FieldIndex("MC_LST"),
              f_paid = t->FieldIndex("DATA_WYP"), f_prac = t->FieldIndex("NR_PRAC"),
              f_skl = t->FieldIndex("SKLADN_PL"), f_kw = t->FieldIndex("KWOTA_");
    dbf::Record r = t->NewRecord();
    for (int m = 1; m <= 13; ++m) {
        const int year = m == 13 ? 2027 : 2026, month = m == 13 ? 1 : m;
        char mc[4];
        std::snprintf(mc, sizeof mc, "%02d", month);
        r.SetString(f_year, std::to_string(year));
        r.SetString(f_type, "A");
        r.SetNumber(f_nr, m == 13 ? 1 : m);
        r.SetString(f_month, mc);
        r.SetString(f_paid, Paid(year, month));
        for (int i = 1; i <= employees; ++i) {
            r.SetString(f_prac, Number(i));
            const int count = m == 13 ? kOnList : kPerMonth;
            for (int k = 0; k < count; ++k) {
                // History: entered and computed ones; the open list: entered.
                const int c = m == 13 ? (i + k) % kEntered : (i + k * 3) % kComponents;
                r.SetString(f_skl, Symbol(c));
                r.SetNumber(f_kw, 1000 + 10 * k);
                uint32_t recno = 0;
                Check(t->Append(r, &recno), "PKPLACE");
            }
        }
    }
    Check(t->Close(), "PKPLACE");
}

}  // namespace kestrel::bench
