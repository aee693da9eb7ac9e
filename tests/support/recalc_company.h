// A company for the tests of the recalculation: the payroll company with a
// tax scale, the list symbol "A", an open list of the settlement month, the
// register, departments and selection sets, and the list's positions read
// back as text.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "payroll/data/recalculation.h"
#include "payroll_company.h"

namespace kestrel::payroll::testing {

using registry::testing::Cp;
using registry::testing::Row;

/// What a run showed and how the operator answers.
struct Watch : RecalcObserver {
    std::vector<std::string> warnings;   // UTF-8
    std::vector<std::string> employees;  // as shown
    std::vector<std::string> components;
    std::vector<std::string> attendance;
    /// Called before each employee; true ends the run.
    std::function<bool(const std::string& employee)> interrupt;
    /// Called when an employee is shown, and when a component is.
    std::function<void(const std::string& employee)> on_employee;
    std::function<void(const std::string& symbol)> on_component;

    void Warn(const std::string& m) override { warnings.push_back(codepage::ToUtf8(m)); }
    void Employee(const std::string& shown) override {
        employees.push_back(shown);
        if (on_employee) on_employee(shown);
    }
    void Attendance(const std::string& code) override {
        if (!code.empty()) attendance.push_back(code);
    }
    void Component(const std::string& symbol) override {
        if (symbol.empty()) return;
        components.push_back(symbol);
        if (on_component) on_component(symbol);
    }
    bool Interrupted() override { return interrupt && interrupt(employees.back()); }
};

struct RecalcCompany : PayCompany {
    PayrollList list;

    RecalcCompany() {
        for (const char* t : {"PKTAB", "PKDZIAL", "PKZEST"}) Make(t);
        // With its index, so that the scale's loader need not build it.
        tables.Open("PKTAB", {"PKTAB1"});
        Add("PKTAB", {{"ROK_", "2026"},
                      {"OD_MC", "1"},
                      {"MC_DO", "12"},
                      {"PONAD_KW", "0"},
                      {"DO_KWOTY", "999999999.99"},
                      {"KWOTA_POD", "0"},
                      {"PROC_POD", "12"},
                      {"ULGA_POD", "3600"}});
        Symbol("A");
        list = List("2026", "A", 1, "03", "20260310");
    }

    void Symbol(const std::string& symbol, const Row& more = {}) {
        Row row{{"TYP_LST", symbol}, {"NAZWA_LST", "Lista " + symbol}};
        row.insert(row.end(), more.begin(), more.end());
        Add("PKSLST", row);
    }

    // Records added between runs go through the index files the runs use.
    void Position(const PayrollList& l, const std::string& number, const std::string& symbol,
                  double amount, bool blocked = false) {
        tables.Open("PKPLACE",
                    {"PKPLACE1", "PKPLACE2", "PKPLACE3", "PKPLACE4", "PKPLACE5", "PKPLACE6"});
        PayCompany::Position(l, number, symbol, amount, blocked);
    }
    void Hours(int year, int month, const std::string& number, const std::string& code,
               double hours) {
        tables.Open("PKCZAS", {"PKCZAS1", "PKCZAS2", "PKCZAS3", "PKCZAS4"});
        PayCompany::Hours(year, month, number, code, hours);
    }
    void Line(const std::string& number, const std::string& code, double hours) {
        tables.Open("PKCZAS", {"PKCZAS1", "PKCZAS2", "PKCZAS3", "PKCZAS4"});
        PayCompany::Line(number, code, hours);
    }

    /// A component with more fields than PayCompany::Component gives.
    void Comp(const std::string& symbol, const std::string& kind, int order,
              const std::string& algorithm, const Row& more = {}) {
        tables.Open("PKSPL", {"PKSPL1", "PKSPL2"});
        Row row{{"SKLADN_PL", symbol},
                {"NAZWA_", "Składnik " + symbol},
                {"TYP_", kind},
                {"SEKW_OBL", std::to_string(order)},
                {"ALGORYTM_", algorithm}};
        row.insert(row.end(), more.begin(), more.end());
        Add("PKSPL", row);
    }

    /// Sets fields of employee `number`'s register record (appended when
    /// the register lacks him).
    void Worker(const std::string& number, const Row& fields) {
        dbf::WorkArea& a = tables.Open("PKPRAC", {"PKPRAC1", "PKPRAC4"});
        ASSERT_TRUE(a.Seek(number).ok());
        if (!a.found()) {
            Row row{{"NR_PRAC", number}, {"NAZWX_", "Pracownik " + number}, {"GRUPA_KAL", "01"}};
            row.insert(row.end(), fields.begin(), fields.end());
            Add("PKPRAC", row);
            return;
        }
        tables.RLock(a);
        for (const auto& [field, value] : fields) {
            const int f = a.FieldIndex(field);
            ASSERT_GE(f, 0) << field;
            switch (a.table().fields()[static_cast<size_t>(f)].type) {
                case dbf::FieldType::kLogical:
                    ASSERT_TRUE(a.record().SetLogical(f, value == "T").ok());
                    break;
                default:
                    ASSERT_TRUE(a.record().SetString(f, Cp(value)).ok());
            }
        }
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
    }

    /// The checks, the tables opened shared, the scope checked and the run;
    /// the tables are closed afterwards. A refusal comes back as the
    /// outcome's message (UTF-8 in `refusal`).
    RecalcOutcome Recalc(const RecalcRequest& request = {}, RecalcObserver* watch = nullptr,
                         const PayrollList* which = nullptr) {
        RecalcOutcome out;
        {
            Recalculation run(h.rt, tables, which ? *which : list, watch);
            out.message = run.Check();
            if (out.message.empty()) {
                run.OpenTables(false);
                out.message = run.CheckScope(request);
                if (out.message.empty()) out = run.Run(request);
            }
        }
        tables.CloseAll();
        refusal = codepage::ToUtf8(out.message);
        return out;
    }
    std::string refusal;

    /// The visible positions of `l` (the list by default) in record order as
    /// "NR_PRAC SKLADN_PL amount", "B" after a blocked one.
    std::vector<std::string> Placed(const PayrollList* l = nullptr) {
        const PayrollList& of = l ? *l : list;
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File("PKPLACE.DBF"), {}, &t).ok());
        std::vector<std::string> out;
        const int nr = t->FieldIndex("NR_PRAC"), sym = t->FieldIndex("SKLADN_PL"),
                  kw = t->FieldIndex("KWOTA_"), block = t->FieldIndex("NIE_ALG"),
                  type = t->FieldIndex("TYP_LST"), num = t->FieldIndex("NR_LST");
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            if (r.deleted() || r.GetString(type) != of.symbol ||
                static_cast<int>(r.GetNumber(num)) != of.number)
                return base::Status::Ok();
            char amount[32];
            std::snprintf(amount, sizeof amount, "%.2f", r.GetNumber(kw));
            out.push_back(r.GetString(nr) + " " + base::TrimRight(r.GetString(sym)) + " " + amount +
                          (r.GetLogical(block) ? " B" : ""));
            return base::Status::Ok();
        });
        return out;
    }

    /// The number of records (deleted ones too) of `table`, which has NR_PRAC.
    size_t RecordCount(const std::string& table) { return Records(table, "NR_PRAC").size(); }
};

}  // namespace kestrel::payroll::testing
