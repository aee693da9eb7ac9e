#include "register/data/employee_history.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/dbf/formula_host.h"
#include "platform/formula/date.h"

namespace kestrel::registry {
namespace {

using formula::Value;
using testing::Company;

// An employee since 2020 with two remembered rates, a settlement month of
// June 2025, and formulas evaluated over the register.
struct History {
    Company c;
    dbf::WorkspaceHost host{c.tables->workspace()};
    formula::Runtime rt{&host, c.h.rt.formulas()};  // today is the runtime's 2026-12-08

    History() {
        common::Tables& t = *c.tables;
        c.Register("000001", "Nowak", "Jan");
        EXPECT_TRUE(SeekEmployee(c.prac(), "000001"));
        EmployeeRecord e = ReadEmployee(c.prac());
        EXPECT_TRUE(e.SetNumber("ST_PODST", 5000).ok());
        EXPECT_TRUE(e.SetDate("DATA_STAZ", "20210301").ok());
        Write(e);
        Remember(t, *c.areas.zmprc, "000001", {"ST_PODST", "20221231", "  3000.00", 0});
        Remember(t, *c.areas.zmprc, "000001", {"ST_PODST", "20241231", "  4000.00", 0});
        // Remembered after the settlement month: not yet in force.
        Remember(t, *c.areas.zmprc, "000001", {"ST_PODST", "20251231", "  9999.00", 0});
        Remember(t, *c.areas.zmprc, "000001", {"DATA_STAZ", "20210228", "2019-05-01", 0});
        Remember(t, *c.areas.zmprc, "000001", {"CZL_KZP", "20230131", "T", 0});
        Remember(t, *c.areas.zmprc, "000001", {"DZIAL_", "20230131", "ADMINISTRACJA", 0});
        dbf::WorkArea& ster = t.Open("PKSTER");
        t.Append(ster);
        EXPECT_TRUE(ster.record().SetNumber(ster.FieldIndex("ROK_"), 2025).ok());
        EXPECT_TRUE(ster.record().SetNumber(ster.FieldIndex("MC_"), 6).ok());
        EXPECT_TRUE(ster.Commit().ok());
        EXPECT_TRUE(ster.Unlock().ok());
        RegisterHistoryFunctions(rt, t.workspace());
        EXPECT_TRUE(SeekEmployee(c.prac(), "000001"));
    }
    void Write(const EmployeeRecord& e) {
        ASSERT_TRUE(c.prac().RLock().ok());
        ASSERT_TRUE(WriteEmployee(c.prac(), e).ok());
        ASSERT_TRUE(c.prac().Unlock().ok());
    }
    Value Eval(const std::string& text) {
        formula::Program p;
        formula::Error err;
        EXPECT_TRUE(rt.Compile(text, &p, &err)) << text << ": " << err.Message();
        Value v;
        EXPECT_TRUE(rt.Evaluate(p, &v, &err)) << text << ": " << err.Message();
        return v;
    }
    // HSTTAB's periods as "from..to=value" texts.
    std::vector<std::string> Periods(const std::string& text) {
        std::vector<std::string> out;
        const Value list = Eval(text);
        EXPECT_TRUE(list.IsArray()) << text;
        if (!list.IsArray()) return out;
        for (const Value& e : list.items()) {
            const auto& item = e.items();
            const Value& v = item[2];
            std::string value = v.IsNumber()   ? std::to_string(static_cast<int>(v.number()))
                                : v.IsString() ? v.str()
                                               : "?";
            out.push_back(formula::Dtos(item[0].julian()) + ".." + formula::Dtos(item[1].julian()) +
                          "=" + value);
        }
        return out;
    }
};

TEST(FieldHistory, ValueOnADate) {
    History h;
    EXPECT_EQ(h.Eval("hstwrt('st_podst ')").number(), 5000);
    EXPECT_EQ(h.Eval("hstwrt('ST_PODST', stod('20200115'))").number(), 3000);
    EXPECT_EQ(h.Eval("hstwrt('ST_PODST', stod('20221231'))").number(), 3000);
    EXPECT_EQ(h.Eval("hstwrt('ST_PODST', stod('20230101'))").number(), 4000);
    // After the last remembered value in force: the current value, never
    // one remembered beyond the settlement month.
    EXPECT_EQ(h.Eval("hstwrt('ST_PODST', stod('20250301'))").number(), 5000);
    EXPECT_EQ(h.Eval("hstwrt('ST_PODST', stod('20270101'))").number(), 5000);
    const Value date = h.Eval("hstwrt('DATA_STAZ', stod('20200101'))");
    ASSERT_TRUE(date.IsDate());
    EXPECT_EQ(formula::Dtos(date.julian()), "20190501");
    EXPECT_TRUE(h.Eval("hstwrt('CZL_KZP', stod('20230101'))").logical());
    EXPECT_FALSE(h.Eval("hstwrt('CZL_KZP')").logical());
    EXPECT_EQ(h.Eval("hstwrt('DZIAL_', stod('20230101'))").str(), "ADMI");  // cut to the width
    EXPECT_TRUE(h.Eval("hstwrt('NIEMA')").IsNil());
    EXPECT_TRUE(h.Eval("hstwrt(5)").IsNil());
}

TEST(FieldHistory, ValuesByPeriod) {
    History h;
    EXPECT_EQ(h.Periods("hsttab('ST_PODST')"),
              (std::vector<std::string>{"20200101..20221231=3000", "20230101..20241231=4000",
                                        "20250101..        =5000"}));
    // From a start inside the history to an end before the next change.
    EXPECT_EQ(h.Periods("hsttab('ST_PODST', stod('20230601'), stod('20240630'))"),
              (std::vector<std::string>{"20230601..20241231=4000"}));
    // A start before the employment is the employment date; an end after the
    // limit becomes the limit.
    EXPECT_EQ(h.Periods("hsttab('ST_PODST', stod('20100101'), stod('20291231'))"),
              (std::vector<std::string>{"20200101..20221231=3000", "20230101..20241231=4000",
                                        "20250101..20250630=5000"}));
    EXPECT_TRUE(h.Periods("hsttab('NIEMA')").empty());
    EXPECT_TRUE(h.Periods("hsttab(1)").empty());

    // A former employee's periods end with the dismissal.
    EmployeeRecord e = ReadEmployee(h.c.prac());
    ASSERT_TRUE(e.SetText("PRZYCZ_ZW", "02").ok());
    ASSERT_TRUE(e.SetDate("DATA_ZWOLN", "20240331").ok());
    h.Write(e);
    EXPECT_EQ(h.Periods("hsttab('ST_PODST')"),
              (std::vector<std::string>{"20200101..20221231=3000", "20230101..20241231=4000"}));
}

}  // namespace
}  // namespace kestrel::registry
