// A company for the tests of the payroll host: the working-time company with
// the payroll tables, components, lists and positions added by field name.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "payroll/data/payroll_host.h"
#include "payroll/data/payroll_records.h"
#include "platform/formula/number_format.h"
#include "worktime_company.h"

namespace kestrel::payroll::testing {

/// `text` (UTF-8) evaluated over the host's variables as they stand: the
/// value in canonical form, or the error's message (UTF-8).
inline std::string Eval(PayrollHost& host, const std::string& text) {
    formula::Program p;
    formula::Error e;
    formula::Value v;
    if (!host.engine().Compile(codepage::FromUtf8(text), &p, &e) ||
        !host.engine().Evaluate(p, &v, &e))
        return codepage::ToUtf8(e.Message());
    return codepage::ToUtf8(formula::Canonical(v));
}

/// Component `symbol`'s value as the recalculation stores it ("%.2f"), or
/// the error's message (UTF-8).
inline std::string Computed(PayrollHost& host, const std::string& symbol) {
    for (const Component& c : host.components()) {
        if (base::TrimRight(c.symbol) != symbol) continue;
        double v = 0;
        formula::Error e;
        if (!host.EvaluateComponent(c, &v, &e)) return codepage::ToUtf8(e.Message());
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2f", v);
        return buf;
    }
    return "no component " + symbol;
}

struct PayCompany : worktime::testing::WorkCompany {
    PayCompany()
        : WorkCompany({"PKSPL", "PKOSPL", "PKLISTY", "PKPLACE", "PKNIEOB", "PKWALOR", "PKSLST"}) {
        Employee("000001", "Nowak");
        Employee("000002", "Kowal");
    }

    /// A component of kind `kind` with its algorithm; `context` "" for A0,
    /// else the months back followed by "L" or "W" ("13L").
    void Component(const std::string& symbol, const std::string& kind, int order,
                   const std::string& algorithm = "", const std::string& context = "",
                   bool utf8 = true) {
        worktime::testing::Row row{{"SKLADN_PL", symbol},
                                   {"NAZWA_", "Składnik " + symbol},
                                   {"TYP_", kind},
                                   {"SEKW_OBL", std::to_string(order)},
                                   {"ALGORYTM_", algorithm}};
        if (!context.empty()) {
            row.push_back({"ZAKR_MC_LS", "T"});
            row.push_back({"IL_MC_WST", context.substr(0, context.size() - 1)});
            row.push_back({"MC_WYP_LST", context.back() == 'W' ? "T" : "F"});
        }
        Add("PKSPL", row, utf8);
    }

    /// A list: year, symbol, number, month "01".."12", payment date YYYYMMDD.
    PayrollList List(const std::string& year, const std::string& symbol, int number,
                     const std::string& month, const std::string& paid, bool open = true) {
        Add("PKLISTY", {{"ROK_LST", year},
                        {"TYP_LST", symbol},
                        {"NR_LST", std::to_string(number)},
                        {"MC_LST", month},
                        {"DATA_WYP", paid},
                        {"WSK_AKTYWN", open ? "T" : "F"},
                        {"ZA_ROK", year}});
        PayrollList l;
        l.year = year;
        l.symbol = symbol;
        l.symbol.resize(2, ' ');
        l.number = number;
        l.month = month;
        l.paid = paid;
        l.open = open;
        return l;
    }

    void Position(const PayrollList& l, const std::string& number, const std::string& symbol,
                  double amount, bool blocked = false) {
        Add("PKPLACE", {{"ROK_LST", l.year},
                        {"TYP_LST", l.symbol},
                        {"NR_LST", std::to_string(l.number)},
                        {"MC_LST", l.month},
                        {"DATA_WYP", l.paid},
                        {"NR_PRAC", number},
                        {"SKLADN_PL", symbol},
                        {"KWOTA_", std::to_string(amount)},
                        {"NIE_ALG", blocked ? "T" : "F"}});
    }

    /// A position of list `l` moved to the annual archive ARCH<year>
    /// (made with an empty PKPLACE when missing; no index files).
    void Archived(const std::string& year, const PayrollList& l, const std::string& number,
                  const std::string& symbol, double amount) {
        const std::string dir = h.rt.data_dir() + "ARCH" + year + "/";
        const std::string path = dir + "PKPLACE.DBF";
        std::filesystem::create_directories(dir);
        if (!std::filesystem::exists(path)) {
            ASSERT_TRUE(dbf::Table::Create(path, common::FindTable("PKPLACE")->Specs()).ok());
        }
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(path, {}, &t).ok());
        dbf::Record r = t->NewRecord();
        r.SetString(t->FieldIndex("ROK_LST"), l.year);
        r.SetString(t->FieldIndex("TYP_LST"), l.symbol);
        ASSERT_TRUE(r.SetNumber(t->FieldIndex("NR_LST"), l.number).ok());
        r.SetString(t->FieldIndex("MC_LST"), l.month);
        r.SetString(t->FieldIndex("DATA_WYP"), l.paid);
        r.SetString(t->FieldIndex("NR_PRAC"), number);
        r.SetString(t->FieldIndex("SKLADN_PL"), symbol);
        ASSERT_TRUE(r.SetNumber(t->FieldIndex("KWOTA_"), amount).ok());
        uint32_t recno = 0;
        ASSERT_TRUE(t->Append(r, &recno).ok());
        ASSERT_TRUE(t->Close().ok());
    }

    void Hours(int year, int month, const std::string& number, const std::string& code,
               double hours) {
        Add("PKCZAS", {{"ROK_", std::to_string(year)},
                       {"MIESIAC_", std::to_string(month)},
                       {"NR_PRAC", number},
                       {"KOD_OB", code},
                       {"GRUPA_", "01"},
                       {"ILOSC_GODZ", std::to_string(hours)}});
    }

    void Absence(int year, int month, int lp, const std::string& number, const std::string& code,
                 double quantity) {
        Add("PKNIEOB", {{"ROK_", std::to_string(year)},
                        {"MIESIAC_", std::to_string(month)},
                        {"LP_", std::to_string(lp)},
                        {"NR_PRAC", number},
                        {"KOD_NIEOB", code},
                        {"ROK_KAL", std::to_string(year)},
                        {"MC_KAL", std::to_string(month)},
                        {"ILOSC_", std::to_string(quantity)}});
    }

    void Function(const std::string& name, const std::string& params, const std::string& body,
                  bool utf8 = true) {
        Add("PKFUNC", {{"FUN_", name}, {"PAR_", params}, {"WZOR_", body}}, utf8);
    }
};

}  // namespace kestrel::payroll::testing
