#include "worktime/data/schedule_functions.h"

#include <gtest/gtest.h>

#include "platform/codepage/cp852.h"
#include "platform/dbf/formula_host.h"
#include "test_company.h"

namespace kestrel::worktime {
namespace {

using registry::testing::Row;
using registry::testing::TestCompany;

// A shift of PKSZMIA or a day of PKINGPR: segments as "HH:MM-HH:MM" and type.
Row Hours(const char* g, const char* shift, std::vector<std::pair<const char*, const char*>> segs) {
    Row r = {{"GRUPA_", g}, {"ZMIANA_", shift}};
    const char* suffix[] = {"", "_2", "_3"};
    const char* type[] = {"TYP_PRACY", "TYP_PRACY2", "TYP_PRACY3"};
    for (size_t i = 0; i < segs.size(); ++i) {
        const std::string t = segs[i].first;  // "HH:MM-HH:MM"
        const std::string s = suffix[i];
        r.push_back({"OD_GODZ" + s, t.substr(0, 2)});
        r.push_back({"OD_MIN" + s, t.substr(3, 2)});
        r.push_back({"GODZ_DO" + s, t.substr(6, 2)});
        r.push_back({"MIN_DO" + s, t.substr(9, 2)});
        r.push_back({type[i], segs[i].second});
        if (i > 0) r.push_back({"ZAKRES" + s, "T"});
    }
    return r;
}

// The four functions evaluated by a formula runtime over the company's
// work areas: "text|nominal|overtime|other".
struct Functions {
    explicit Functions(TestCompany& c) : host(c.tables.workspace()), rt(&host) {
        RegisterScheduleFunctions(rt, c.tables.workspace());
    }
    std::string Eval(const char* formula) {
        formula::Program p;
        formula::Error err;
        if (!rt.Compile(formula, &p, &err)) return "compile: " + err.Message();
        formula::Value v;
        if (!rt.Evaluate(p, &v, &err)) return "error: " + err.Message();
        return v.IsString() ? codepage::ToUtf8(v.str())
                            : std::to_string(static_cast<int>(v.number()));
    }
    std::string All() {
        return Eval("CZASPR379()") + "|" + Eval("czasnomin()") + "|" + Eval("CZASNADLI()") + "|" +
               Eval("CZASPOZOS()");
    }
    dbf::WorkspaceHost host;
    formula::Runtime rt;
};

TEST(ScheduleFunctions, TheSegmentsOfTheCurrentShiftByTypeOfWork) {
    const struct {
        const char* what;
        Row shift;
        const char* expected;
    } cases[] = {
        {"a night shift", Hours("01", " ", {{"22:00-06:00", ""}}), "08:00|480|0|0"},
        {"three segments, one of each type",
         Hours("01", " ", {{"06:00-14:00", ""}, {"14:00-16:00", "01"}, {"16:00-17:30", "02"}}),
         "11:30|480|120|90"},
        {"the third segment alone carries its type",
         Hours("01", " ", {{"06:00-07:00", ""}, {"08:00-09:00", ""}, {"10:00-10:45", "01"}}),
         "02:45|120|45|0"},
        {"22:00-06:00 with 05:00-07:00 overlap across midnight",
         Hours("01", " ", {{"22:00-06:00", ""}, {"05:00-07:00", "01"}}), "BŁĄD!|-1|-1|-1"},
        {"a minute out of range", Hours("01", " ", {{"08:75-16:00", ""}}), "BŁĄD!|-1|-1|-1"},
    };
    for (const auto& k : cases) {
        TestCompany c;
        c.Make("PKSZMIA", {k.shift});
        c.tables.Open("PKSZMIA", {"PKSZMIA1"});
        Functions f(c);
        EXPECT_EQ(f.All(), k.expected) << k.what;
    }
}

TEST(ScheduleFunctions, ASegmentNotInUseIsNotLookedAt) {
    TestCompany c;
    Row shift = Hours("01", " ", {{"22:00-06:00", ""}, {"05:00-07:00", "01"}});
    for (auto& [field, value] : shift)
        if (field == "ZAKRES_2") value = "F";
    c.Make("PKSZMIA", {shift});
    c.tables.Open("PKSZMIA", {"PKSZMIA1"});
    Functions f(c);
    EXPECT_EQ(f.All(), "08:00|480|0|0");
}

TEST(ScheduleFunctions, WithoutARecordBlanksAndMinusOne) {
    {
        TestCompany c;  // no table open
        Functions f(c);
        EXPECT_EQ(f.All(), "     |-1|-1|-1");
    }
    {
        TestCompany c;  // an empty table
        c.Make("PKINGPR");
        c.tables.Open("PKINGPR", {"PKINGPR1"});
        Functions f(c);
        EXPECT_EQ(f.All(), "     |-1|-1|-1");
    }
    {
        TestCompany c;  // a seek that failed leaves no record
        c.Make("PKSZMIA", {Hours("01", " ", {{"07:00-15:00", ""}})});
        dbf::WorkArea& szmia = c.tables.Open("PKSZMIA", {"PKSZMIA1"});
        Functions f(c);
        EXPECT_EQ(f.Eval("CZASPR379()"), "08:00");
        ASSERT_TRUE(szmia.Seek("02 ").ok());
        EXPECT_EQ(f.All(), "     |-1|-1|-1");
    }
}

TEST(ScheduleFunctions, TheCurrentScheduleAreaFirstThenPkszmiaThenPkingpr) {
    TestCompany c;
    c.Make("PKSZMIA", {Hours("01", " ", {{"07:00-15:00", ""}})});
    Row day = Hours("", "", {{"08:00-10:00", "01"}});
    day.erase(day.begin(), day.begin() + 2);
    day.push_back({"NR_PRAC", "000001"});
    day.push_back({"DATA_", "20260105"});
    c.Make("PKINGPR", {day});
    c.Make("PKGRUPY");
    c.tables.Open("PKINGPR", {"PKINGPR1"});
    Functions f(c);
    EXPECT_EQ(f.All(), "02:00|0|120|0") << "PKINGPR alone";
    c.tables.Open("PKSZMIA", {"PKSZMIA1"});
    EXPECT_EQ(f.All(), "08:00|480|0|0") << "PKSZMIA current";
    c.tables.workspace().Select("PKINGPR");
    EXPECT_EQ(f.All(), "02:00|0|120|0") << "PKINGPR current";
    c.tables.Open("PKGRUPY", {"PKGRUPY1"});
    EXPECT_EQ(f.All(), "08:00|480|0|0") << "another table current: PKSZMIA";
}

}  // namespace
}  // namespace kestrel::worktime
