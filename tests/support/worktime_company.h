// A company for the working-time tests: the tables of working time made
// empty, a settlement month, and records added through the table layer
// (memo fields included).
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "test_company.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::worktime::testing {

using registry::testing::Cp;
using registry::testing::Row;

struct WorkCompany : registry::testing::TestCompany {
    SettlementMonth month{2026, 3};

    /// Makes the working-time tables (and `more`) empty, PKSTER with the month.
    explicit WorkCompany(const std::vector<std::string>& more = {}) {
        for (const char* t : {"PKPRAC", "PKROB", "PKRNB", "PKSRDOD", "PKDOD", "PKFUNC", "PKCZAS",
                              "PKBRYG", "PKSBRG", "PKGRUPY", "PKKALEN", "PKSKSZT"})
            Make(t);
        for (const std::string& t : more) Make(t);
        Make("PKSTER",
             {{{"ROK_", std::to_string(month.year)}, {"MC_", std::to_string(month.month)}}});
    }

    /// Appends a record to `table` through the table layer; numeric fields
    /// take numbers, logical ones "T"/"F", memo fields their text. Values
    /// are UTF-8, or CP852 bytes when not `utf8`.
    void Add(const std::string& table, const Row& row, bool utf8 = true) {
        auto text = [utf8](const std::string& v) { return utf8 ? Cp(v) : v; };
        // A table the code under test holds open is written through its area.
        dbf::WorkArea* open = tables.workspace().Find(table);
        dbf::WorkArea& a = open != nullptr ? *open : tables.Open(table);
        tables.Append(a);
        for (const auto& [field, value] : row) {
            const int f = a.FieldIndex(field);
            ASSERT_GE(f, 0) << field;
            switch (a.table().fields()[static_cast<size_t>(f)].type) {
                case dbf::FieldType::kLogical:
                    ASSERT_TRUE(a.record().SetLogical(f, value == "T").ok());
                    break;
                case dbf::FieldType::kNumeric:
                    ASSERT_TRUE(a.record().SetNumber(f, std::strtod(value.c_str(), nullptr)).ok());
                    break;
                case dbf::FieldType::kMemo:
                    ASSERT_TRUE(a.WriteMemo(f, text(value)).ok());
                    break;
                default:
                    ASSERT_TRUE(a.record().SetString(f, text(value)).ok());
            }
        }
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
    }

    void Code(const std::string& code, const std::string& type, int order,
              const std::string& formula = "", const std::string& name = "") {
        Add("PKROB", {{"KOD_OB", code},
                      {"NAZWA_", name.empty() ? "Kod " + code : name},
                      {"TYP_", type},
                      {"SEKW_OBL", std::to_string(order)},
                      {"ALGORYTM_", formula}});
    }
    void Employee(const std::string& number, const std::string& nazwx,
                  const std::string& group = "01") {
        Add("PKPRAC", {{"NR_PRAC", number}, {"NAZWX_", nazwx}, {"GRUPA_KAL", group}});
    }
    void Line(const std::string& number, const std::string& code, double hours,
              const std::string& account = "") {
        Add("PKCZAS", {{"ROK_", std::to_string(month.year)},
                       {"MIESIAC_", std::to_string(month.month)},
                       {"NR_PRAC", number},
                       {"KOD_OB", code},
                       {"GRUPA_", "01"},
                       {"ILOSC_GODZ", std::to_string(hours)},
                       {"KONTO_KOSZ", account}});
    }

    /// The month's PKCZAS records as "NR_PRAC KOD_OB KONTO hours" in record
    /// order, "*" after a deleted one.
    std::vector<std::string> Lines() {
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File("PKCZAS.DBF"), {}, &t).ok());
        std::vector<std::string> out;
        const int nr = t->FieldIndex("NR_PRAC"), code = t->FieldIndex("KOD_OB"),
                  acc = t->FieldIndex("KONTO_KOSZ"), hours = t->FieldIndex("ILOSC_GODZ");
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            std::string s = r.GetString(nr) + " " + base::TrimRight(r.GetString(code));
            if (!r.IsBlank(acc)) s += " " + base::TrimRight(r.GetString(acc));
            s += " " + base::Trim(r.GetString(hours));
            out.push_back(s + (r.deleted() ? "*" : ""));
            return base::Status::Ok();
        });
        return out;
    }
    /// Only the visible ones.
    std::vector<std::string> VisibleLines() {
        std::vector<std::string> out;
        for (const std::string& s : Lines())
            if (s.back() != '*') out.push_back(s);
        return out;
    }
};

}  // namespace kestrel::worktime::testing
