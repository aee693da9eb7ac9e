// A company for the tests of the tax records: the payroll company with
// PKDOCH, two income kinds and components that name them, lists marked for
// the transfer, and PKDOCH and the transfer marks read back as text.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "payroll_company.h"
#include "platform/dbf/table.h"

namespace kestrel::tax::testing {

using payroll::PayrollList;

struct TaxCompany : payroll::testing::PayCompany {
    TaxCompany() {
        Make("PKDOCH");
        Make("PKRDOCH");
        Add("PKRDOCH", {{"TYTUL_WYP", "0001"}, {"NAZWA_", "Wynagrodzenia"}});
        Add("PKRDOCH", {{"TYTUL_WYP", "0004"}, {"NAZWA_", "Zlecenia"}});
        Paid("ZASA", "0001", "PRZYCHOD_");
        Paid("KOSZ", "0001", "KOSZT_UZ");
        Paid("ZALI", "0001", "PODATEK_");
        Paid("ULGA", "0001", "ULGA_");
        Paid("POMO", "", "");  // no income kind: not transferred
    }

    void Paid(const std::string& symbol, const std::string& kind, const std::string& field) {
        Add("PKSPL",
            {{"SKLADN_PL", symbol}, {"TYP_", "K"}, {"TYTUL_WYP", kind}, {"NAZWA_POLA", field}});
    }

    // PKDOCH as "employee list kind: PRZYCHOD_/KOSZT_UZ/PODATEK_/ULGA_ auto"
    // lines in record order, deleted records marked "*".
    std::vector<std::string> Doch() {
        tables.CloseAll();
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File("PKDOCH.DBF"), {}, &t).ok());
        std::vector<std::string> out;
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            auto num = [&](const char* f) {
                char s[32];
                std::snprintf(s, sizeof s, "%.2f", r.GetNumber(t->FieldIndex(f)));
                return std::string(s);
            };
            out.push_back(r.GetString(t->FieldIndex("NR_PRAC")) + " " +
                          base::TrimRight(r.GetString(t->FieldIndex("ROK_LST"))) +
                          r.GetString(t->FieldIndex("MC_LST")) + " " +
                          r.GetString(t->FieldIndex("TYTUL_WYP")) + ": " + num("PRZYCHOD_") + "/" +
                          num("KOSZT_UZ") + "/" + num("PODATEK_") + "/" + num("ULGA_") +
                          (r.GetLogical(t->FieldIndex("AUTOMAT_")) ? " auto" : " hand") +
                          (r.deleted() ? "*" : ""));
            return base::Status::Ok();
        });
        return out;
    }

    // A list to be transferred (GENER_DOCH).
    PayrollList List(const std::string& year, const std::string& symbol, int number,
                     const std::string& month, const std::string& paid, bool open) {
        PayrollList l = PayCompany::List(year, symbol, number, month, paid, open);
        dbf::WorkArea& a = tables.Open("PKLISTY");
        a.Goto(static_cast<uint32_t>(a.table().record_count()));
        a.RLock();
        a.record().SetLogical(a.FieldIndex("GENER_DOCH"), true);
        EXPECT_TRUE(a.Commit().ok());
        a.Unlock();
        l.to_tax = true;
        return l;
    }

    // AKT_DOCH of the positions in record order ("F" also for a blank one).
    std::vector<std::string> Marks() {
        std::vector<std::string> out = Records("PKPLACE", "AKT_DOCH");
        for (std::string& m : out)
            if (m.empty()) m = "F";
        return out;
    }
};

}  // namespace kestrel::tax::testing
