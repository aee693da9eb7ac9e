// The bank part of the payroll benchmarks' company (payroll_bench_company.h)
// that the bank and the payroll output benchmarks share: every employee
// with an account that passes the NRB check, and DOWY, the net pay, on the
// open list for every employee.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench_tables.h"
#include "payroll_bench_company.h"
#include "platform/codepage/cp852.h"

namespace kestrel::bench {

// A real-shaped account of employee i: a bank's sort code, the number, and
// the check digits that make it pass.
inline std::string Account(int i) {
    char bban[32];
    std::snprintf(bban, sizeof bban, "10901014%016d", i);
    // Modulo 97 of bban + "PL00" (2521 00), in pieces.
    const std::string s = std::string(bban) + "252100";
    int r = 0;
    for (char c : s) r = (r * 10 + (c - '0')) % 97;
    char out[32];
    std::snprintf(out, sizeof out, "%02d%s", 98 - r, bban);
    return out;
}

inline void MakeBank(const std::string& dir, int employees) {
    // DOWY, the net pay, on the open list for every employee.
    std::filesystem::remove(dir + "PKSPL.DBF");
    std::filesystem::remove(dir + "PKSPL.DBT");
    Make(dir, "PKSPL", [](auto add) {
        for (int k = 0; k < kComponents; ++k) {
            const bool entered = k < kEntered;
            add({{"SKLADN_PL", Symbol(k)},
                 {"NAZWA_", "Składnik " + Symbol(k)},
                 {"TYP_", entered ? "K" : "A"},
                 {"SEKW_OBL", std::to_string(k)},
                 {"ALGORYTM_", entered ? "" : codepage::FromUtf8(Algorithm(k))}});
        }
        add({{"SKLADN_PL", "DOWY"}, {"NAZWA_", "Do wypłaty"}, {"TYP_", "K"}});
    });
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    Check(dbf::Table::Open(dir + "PKPLACE.DBF", exclusive, &t), "PKPLACE");
    dbf::Record r = t->NewRecord();
    r.SetString(t->FieldIndex("ROK_LST"), "2027");
    r.SetString(t->FieldIndex("TYP_LST"), "A");
    r.SetNumber(t->FieldIndex("NR_LST"), 1);
    r.SetString(t->FieldIndex("MC_LST"), "01");
    r.SetString(t->FieldIndex("DATA_WYP"), Paid(2027, 1));
    r.SetString(t->FieldIndex("SKLADN_PL"), "DOWY");
    for (int i = 1; i <= employees; ++i) {
        r.SetString(t->FieldIndex("NR_PRAC"), Number(i));
        r.SetNumber(t->FieldIndex("KWOTA_"), 3000 + i % 1000 + (i % 100) / 100.0);
        uint32_t recno = 0;
        Check(t->Append(r, &recno), "PKPLACE");
    }
    Check(t->Close(), "PKPLACE");
    Make(dir, "PKWROR", [](auto) {});
}

// Every employee's account in NR_KONT: the register records differ only
// there, so it is set after the company is made.
inline void SetAccounts(const std::string& dir) {
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    Check(dbf::Table::Open(dir + "PKPRAC.DBF", exclusive, &t), "PKPRAC");
    const int f = t->FieldIndex("NR_KONT");
    for (uint32_t recno = 1; recno <= t->record_count(); ++recno) {
        dbf::Record r = t->NewRecord();
        Check(t->Read(recno, &r), "PKPRAC");
        r.SetString(f, Account(static_cast<int>(recno)));
        Check(t->Write(recno, r), "PKPRAC");
    }
    Check(t->Close(), "PKPRAC");
}

}  // namespace kestrel::bench
