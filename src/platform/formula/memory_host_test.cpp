#include "platform/formula/memory_host.h"

#include <gtest/gtest.h>

#include "platform/formula/number_format.h"
#include "platform/formula/runtime.h"

namespace kestrel::formula {
namespace {

MemoryTableHost::Table Pkprac() {
    MemoryTableHost::Table t;
    t.alias = "pkprac";
    t.fields = {{"nr_prac", 'C', 6, 0}, {"zasa", 'N', 9, 2}, {"data_zw", 'D', 8, 0}};
    t.records.push_back({Value::String("000001"), Value::Number(4000, 2, 6), Value::Date(0)});
    t.records.push_back(
        {Value::String("000002"), Value::Number(5100.5, 2, 6), Value::Date(2460341)});
    t.deleted = {false, true};
    return t;
}

std::string Eval(Runtime& rt, std::string_view text) {
    Program p;
    Error err;
    Value v;
    if (!rt.Compile(text, &p, &err) || !rt.Evaluate(p, &v, &err)) return "error " + err.Message();
    return Canonical(v);
}

TEST(MemoryTableHostTest, FieldsFollowTheRecordPointer) {
    MemoryTableHost host;
    const int area = host.AddTable(Pkprac());
    Runtime rt(&host);
    EXPECT_EQ(Eval(rt, "nr_prac + str(zasa)"), "\"000001  4000.00\"");
    EXPECT_EQ(Eval(rt, "empty(data_zw) .and. !deleted() .and. recno() = 1"), ".T.");
    host.GoTo(area, 2);
    EXPECT_EQ(Eval(rt, "pkprac->nr_prac + dtos(data_zw)"), "\"00000220240131\"");
    EXPECT_EQ(Eval(rt, "deleted()"), ".T.");
    // At the end of the file fields read as empty values of their type.
    host.GoTo(area, 3);
    EXPECT_EQ(Eval(rt, "{eof(), nr_prac, str(zasa), empty(data_zw)}"),
              "{.T., \"      \", \"     0.00\", .T.}");
}

TEST(MemoryTableHostTest, WorkAreasAndAliases) {
    MemoryTableHost host;
    host.AddTable(Pkprac());
    MemoryTableHost::Table ster;
    ster.alias = "PKSTER";
    ster.fields = {{"ROK_", 'N', 4, 0}};
    ster.records.push_back({Value::Number(2024, 0, 4)});
    host.AddTable(ster);
    Runtime rt(&host);
    EXPECT_EQ(Eval(rt, "alias() + str(select())"), "\"PKSTER         2\"");
    EXPECT_EQ(Eval(rt, "rok_ + select(\"pkprac\")"), "2025");
    EXPECT_EQ(Eval(rt, "nr_prac"),
              "error " + Error::Undefined(ErrorKind::kUndefinedVariable, "NR_PRAC").Message());
    ASSERT_TRUE(host.SelectArea("pkprac"));
    EXPECT_EQ(Eval(rt, "nr_prac + str(pkster->rok_, 4)"), "\"0000012024\"");
    EXPECT_FALSE(host.SelectArea("PKNIEMA"));
    EXPECT_EQ(Eval(rt, "dbseek(\"000001\")"),
              "error " + Error::Operation("DBSEEK", 2020, "").Message());
}

}  // namespace
}  // namespace kestrel::formula
