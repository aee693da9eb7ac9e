// The Runtime with a fake table host: binding of fields, slots, public
// variables, user and host functions, and the errors the operator sees.
#include "platform/formula/runtime.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/codepage/cp852.h"
#include "platform/formula/number_format.h"

namespace kestrel::formula {
namespace {

// Two open tables: PKPRAC (area 1, current) and PKSTER (area 2), one record
// each. Counts how often fields are resolved and read.
class FakeHost : public TableHost {
  public:
    struct Table {
        std::string alias;
        std::vector<std::pair<std::string, Value>> fields;
    };
    std::vector<Table> tables = {
        {"PKPRAC", {{"NR_PRAC", Value::String("000123")}, {"ZASA", Value::Number(4000, 2, 7)}}},
        {"PKSTER", {{"ROK_", Value::Number(2024, 0, 4)}, {"POLE_5", Value::Number(12.5, 2, 6)}}},
    };
    int current = 1;
    int resolves = 0, reads = 0;
    bool eof = false;
    Value last_seek;

    bool ResolveField(std::string_view alias, std::string_view field, FieldRef* ref,
                      bool* alias_open) override {
        ++resolves;
        for (size_t t = 0; t < tables.size(); ++t) {
            const bool match =
                alias.empty() ? static_cast<int>(t) + 1 == current : tables[t].alias == alias;
            if (!match) continue;
            *alias_open = true;
            for (size_t f = 0; f < tables[t].fields.size(); ++f) {
                if (tables[t].fields[f].first == field) {
                    *ref = FieldRef{static_cast<int>(t) + 1, static_cast<int>(f)};
                    return true;
                }
            }
            return false;
        }
        *alias_open = false;
        return false;
    }
    bool ReadField(const FieldRef& ref, Value* out, Error*) override {
        ++reads;
        *out = tables[ref.area - 1].fields[ref.field].second;
        return true;
    }
    bool Eof() override { return eof; }
    bool Bof() override { return false; }
    int64_t RecNo() override { return 7; }
    int64_t RecCount() override { return 9; }
    bool Deleted() override { return true; }
    bool Found() override { return true; }
    int Select(std::string_view alias) override {
        if (alias.empty()) return current;
        for (size_t t = 0; t < tables.size(); ++t) {
            if (tables[t].alias == alias) return static_cast<int>(t) + 1;
        }
        return 0;
    }
    std::string Alias(int area) override { return tables[(area == 0 ? current : area) - 1].alias; }
    bool Seek(const Value& key, bool, bool, bool* found, Error*) override {
        last_seek = key;
        *found = key.IsString() && key.str() == "000123";
        return true;
    }
};

// Evaluates `text`; the canonical value, or "error: " + the message in UTF-8.
std::string Eval(Runtime& rt, std::string_view text) {
    Program p;
    Error err;
    Value v;
    if (!rt.Compile(text, &p, &err) || !rt.Evaluate(p, &v, &err))
        return "error: " + codepage::ToUtf8(err.Message());
    return Canonical(v);
}

TEST(RuntimeTest, FieldsAreResolvedOnceAndReadEachTime) {
    FakeHost host;
    Runtime rt(&host);
    Program p;
    Error err;
    ASSERT_TRUE(rt.Compile("nr_prac + str(pkster->rok_, 4) + str(zasa)", &p, &err));
    const int resolved = host.resolves;
    EXPECT_EQ(resolved, 3);
    Value v;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(rt.Evaluate(p, &v, &err));
        EXPECT_EQ(v.str(), "0001232024   4000.00");
    }
    EXPECT_EQ(host.resolves, resolved);
    EXPECT_EQ(host.reads, 9);
}

TEST(RuntimeTest, FieldsOfTheCurrentAreaComeBeforeVariables) {
    FakeHost host;
    Runtime rt(&host);
    rt.publics().Set("ZASA", Value::Number(1));
    rt.slots().Declare("NR_PRAC");
    std::vector<Value> slots = {Value::String("slot")};
    rt.BindSlots(slots.data(), slots.size());
    EXPECT_EQ(Eval(rt, "zasa"), "4000.00");
    EXPECT_EQ(Eval(rt, "nr_prac"), "\"000123\"");
    // M-> and MEMVAR-> skip the fields.
    EXPECT_EQ(Eval(rt, "m->zasa"), "1");
    EXPECT_EQ(Eval(rt, "memvar->nr_prac"), "\"slot\"");
    EXPECT_EQ(Eval(rt, "field->zasa"), "4000.00");
}

TEST(RuntimeTest, UnknownAliasesAndFieldsFailOnlyWhenReached) {
    FakeHost host;
    Runtime rt(&host);
    EXPECT_EQ(Eval(rt, "pkniema->x"), "error: Błędny alias: PKNIEMA");
    EXPECT_EQ(Eval(rt, "pkster->niema"), "error: Błędna zmienna: NIEMA");
    EXPECT_EQ(Eval(rt, "iif(.f., pkniema->x, 1)"), "1");
    // A table opened after compiling is found at run time.
    Program p;
    Error err;
    ASSERT_TRUE(rt.Compile("pkfunc->fun_", &p, &err));
    host.tables.push_back({"PKFUNC", {{"FUN_", Value::String("REN1")}}});
    Value v;
    ASSERT_TRUE(rt.Evaluate(p, &v, &err)) << err.Message();
    EXPECT_EQ(v.str(), "REN1");
}

TEST(RuntimeTest, TableFunctionsAskTheHost) {
    FakeHost host;
    Runtime rt(&host);
    EXPECT_EQ(Eval(rt, "eof()"), ".F.");
    host.eof = true;
    EXPECT_EQ(Eval(rt, "eof()"), ".T.");
    EXPECT_EQ(Eval(rt, "str(recno())"), "\"      7\"");
    EXPECT_EQ(Eval(rt, "reccount() + 1"), "10");
    EXPECT_EQ(Eval(rt, "deleted() .and. found() .and. !bof()"), ".T.");
    EXPECT_EQ(Eval(rt, "select()"), "1");
    EXPECT_EQ(Eval(rt, "select(\"PKSTER\")"), "2");
    EXPECT_EQ(Eval(rt, "alias()"), "\"PKPRAC\"");
    EXPECT_EQ(Eval(rt, "alias(2)"), "\"PKSTER\"");
    EXPECT_EQ(Eval(rt, "dbseek(nr_prac)"), ".T.");
    EXPECT_EQ(Eval(rt, "dbseek(\"000999\")"), ".F.");
    EXPECT_EQ(host.last_seek.str(), "000999");
}

TEST(RuntimeTest, WithoutHostTablesAreAbsent) {
    Runtime rt;
    EXPECT_EQ(Eval(rt, "pkprac->nr_prac"), "error: Błędny alias: PKPRAC");
    EXPECT_EQ(Eval(rt, "field->nr_prac"), "error: Błędna zmienna: NR_PRAC");
    EXPECT_EQ(Eval(rt, "eof() .and. recno() = 0"), ".T.");
    EXPECT_EQ(Eval(rt, "dbseek(\"x\")"), "error: Błąd operacji \"DBSEEK\" (2001)");
}

TEST(RuntimeTest, SlotVectorsSwitchWithoutRecompiling) {
    Runtime rt;
    const int zasa = rt.slots().Declare("ZASA");
    const int dnipr = rt.slots().Declare("dnipr");
    EXPECT_EQ(rt.slots().Declare("Zasa"), zasa);
    Program p;
    Error err;
    ASSERT_TRUE(rt.Compile("ZASA/20*DNIPR", &p, &err));
    std::vector<Value> a(2), b(2);
    a[zasa] = Value::Number(4000);
    a[dnipr] = Value::Number(10);
    b[zasa] = Value::Number(6000);
    b[dnipr] = Value::Number(20);
    Value v;
    rt.BindSlots(a.data(), a.size());
    ASSERT_TRUE(rt.Evaluate(p, &v, &err));
    EXPECT_DOUBLE_EQ(v.number(), 2000);
    rt.BindSlots(b.data(), b.size());
    ASSERT_TRUE(rt.Evaluate(p, &v, &err));
    EXPECT_DOUBLE_EQ(v.number(), 6000);
    // Assignment writes into the bound vector.
    ASSERT_TRUE(rt.Compile("DNIPR := 5", &p, &err));
    ASSERT_TRUE(rt.Evaluate(p, &v, &err));
    EXPECT_DOUBLE_EQ(b[dnipr].number(), 5);
    EXPECT_DOUBLE_EQ(a[dnipr].number(), 10);
    // A slot outside the bound vector is an undefined variable.
    rt.BindSlots(a.data(), 1);
    ASSERT_TRUE(rt.Compile("DNIPR", &p, &err));
    EXPECT_FALSE(rt.Evaluate(p, &v, &err));
    EXPECT_EQ(err.Message(), codepage::FromUtf8("Błędna zmienna: DNIPR"));
    ASSERT_TRUE(rt.Compile("ZASA + DNIPR", &p, &err));  // a slot as right operand
    EXPECT_FALSE(rt.Evaluate(p, &v, &err));
    EXPECT_EQ(err.Message(), codepage::FromUtf8("Błędna zmienna: DNIPR"));
}

TEST(RuntimeTest, SlotsDeclaredAfterCompilingAreFound) {
    // Payroll binds the user functions before it declares the components.
    Runtime rt;
    Error err;
    ASSERT_EQ(rt.DefineFunction("NETTO", "", "B100 - B200", &err), DefineResult::kOk);
    Program p;
    ASSERT_TRUE(rt.Compile("B300 := netto()", &p, &err));
    rt.slots().Declare("B100");
    rt.slots().Declare("B200");
    rt.slots().Declare("B300");
    std::vector<Value> a0 = {Value::Number(5000), Value::Number(800), Value::Number(0)};
    rt.BindSlots(a0.data(), a0.size());
    Value v;
    ASSERT_TRUE(rt.Evaluate(p, &v, &err)) << err.Message();
    EXPECT_EQ(v.number(), 4200);
    EXPECT_EQ(a0[2].number(), 4200);
    EXPECT_FALSE(rt.publics().IsDefined(rt.publics().Find("B300")));
}

TEST(RuntimeTest, PublicVariablesMayBeDefinedAfterCompiling) {
    Runtime rt;
    Program p;
    Error err;
    Value v;
    ASSERT_TRUE(rt.Compile("NAGLKWP .and. NAGLNAZ = \"Firma\"", &p, &err));
    EXPECT_FALSE(rt.Evaluate(p, &v, &err));
    EXPECT_EQ(err.kind, ErrorKind::kUndefinedVariable);
    EXPECT_EQ(err.name, "NAGLKWP");
    rt.publics().Set("naglkwp", Value::Logical(true));
    rt.publics().Set("NAGLNAZ", Value::String("Firma ABC"));
    ASSERT_TRUE(rt.Evaluate(p, &v, &err));
    EXPECT_TRUE(v.logical());
    rt.publics().Release("NAGLKWP");
    EXPECT_FALSE(rt.Evaluate(p, &v, &err));
    // Assignment creates a variable.
    EXPECT_EQ(Eval(rt, "NOWA := 3, NOWA * 2"), "6");
    Value nowa;
    ASSERT_TRUE(rt.publics().Get("nowa", &nowa));
    EXPECT_EQ(nowa.number(), 3);
}

TEST(RuntimeTest, PublicVariablesMayOutliveTheRuntime) {
    Variables config;
    config.Set("NAGL1", Value::String("Firma"));
    {
        Runtime run(nullptr, {&config});
        EXPECT_EQ(Eval(run, "NAGL1 + \"!\""), "\"Firma!\"");
        EXPECT_EQ(Eval(run, "NAGLNOWA := 1"), "1");
    }
    Value v;
    ASSERT_TRUE(config.Get("naglnowa", &v));
    Runtime next(nullptr, {&config});
    EXPECT_EQ(Eval(next, "NAGLNOWA + 1"), "2");
}

TEST(RuntimeTest, DefiningUserFunctions) {
    Runtime rt;
    Error err;
    rt.slots().Declare("B100");
    rt.publics().Set("NAGL1", Value::String("x"));
    EXPECT_EQ(rt.DefineFunction("1abc", "", "1", &err), DefineResult::kBadName);
    EXPECT_EQ(rt.DefineFunction("ab_c", "", "1", &err), DefineResult::kBadName);
    EXPECT_EQ(rt.DefineFunction("abcdefghijk", "", "1", &err), DefineResult::kBadName);
    EXPECT_EQ(rt.DefineFunction("B100", "", "1", &err), DefineResult::kNameTaken);
    EXPECT_EQ(rt.DefineFunction("nagl1", "", "1", &err), DefineResult::kNameTaken);
    EXPECT_EQ(rt.DefineFunction("f", "a, 1", "1", &err), DefineResult::kBadParameters);
    EXPECT_EQ(rt.DefineFunction("f", "a,,b", "1", &err), DefineResult::kBadParameters);
    EXPECT_EQ(rt.DefineFunction("f", "a", "a +", &err), DefineResult::kBadBody);
    EXPECT_EQ(err.kind, ErrorKind::kSyntax);
    EXPECT_FALSE(rt.IsUserFunction("f"));
    // A user function named like a variable is never called: the formula
    // reports the function as undefined.
    EXPECT_EQ(Eval(rt, "b100()"), "error: Błędna funkcja: B100");
    // Functions may call functions defined later, and line breaks in the
    // stored body do not matter.
    ASSERT_EQ(rt.DefineFunction("netto", "b", "b -\r\n podatek(b)", &err), DefineResult::kOk);
    EXPECT_EQ(Eval(rt, "netto(100)"), "error: Błędna funkcja: PODATEK");
    ASSERT_EQ(rt.DefineFunction("podatek", "x", "yround(x * 0.18\x8d\n, 0)", &err),
              DefineResult::kOk);
    EXPECT_EQ(Eval(rt, "netto(100)"), "82");
    // Redefinition replaces the body for formulas compiled before.
    Program p;
    ASSERT_TRUE(rt.Compile("podatek(100)", &p, &err));
    ASSERT_EQ(rt.DefineFunction("podatek", "x", "x / 10", &err), DefineResult::kOk);
    Value v;
    ASSERT_TRUE(rt.Evaluate(p, &v, &err));
    EXPECT_EQ(v.number(), 10);
}

TEST(RuntimeTest, HostFunctionsComeAfterBuiltinsAndRaiseTheirOwnText) {
    Runtime rt;
    int calls = 0;
    rt.RegisterFunction("SUMASKLAD", [&calls](Call& c) {
        ++calls;
        if (c.Arg(0).IsNil()) {
            c.result = Value::Number(0);
            return true;
        }
        if (!c.Arg(0).IsString() && !c.Arg(0).IsArray())
            return c.Fail(Error::Host(codepage::FromUtf8("Błędny argument 1 funkcji SUMASKLAD")));
        c.result = Value::Number(c.argc * 100);
        return true;
    });
    rt.RegisterFunction("STR", [](Call& c) {
        c.result = Value::String("host");
        return true;
    });
    rt.RegisterFunction("DNIPRACY", [](Call& c) {
        c.result = Value::Number(21);
        return true;
    });
    EXPECT_EQ(Eval(rt, "sumasklad(\"B1*\", 2)"), "200");
    EXPECT_EQ(Eval(rt, "sumasklad()"), "0");
    EXPECT_EQ(Eval(rt, "sumasklad(5)"), "error: Błędny argument 1 funkcji SUMASKLAD");
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(Eval(rt, "str(1, 2)"), "\" 1\"");
    EXPECT_EQ(Eval(rt, "dnipracy()"), "21");
    // Abbreviations are for the built-ins only.
    EXPECT_EQ(Eval(rt, "dnip()"), "error: Błędna funkcja: DNIP");
    EXPECT_TRUE(rt.HasFunction("sumasklad"));
    EXPECT_TRUE(rt.HasFunction("subs"));
    EXPECT_FALSE(rt.HasFunction("ren1"));
}

TEST(RuntimeTest, EvaluateAsChecksTheResultType) {
    Runtime rt;
    Program p;
    Error err;
    Value v;
    ASSERT_TRUE(rt.Compile("\"tekst\"", &p, &err));
    EXPECT_FALSE(rt.EvaluateAs(p, Type::kNumber, &v, &err));
    EXPECT_EQ(err.Message(), codepage::FromUtf8("Błędna wartość algorytmu"));
    ASSERT_TRUE(rt.Compile("1 > 0", &p, &err));
    EXPECT_TRUE(rt.EvaluateAs(p, Type::kLogical, &v, &err));
}

TEST(RuntimeTest, ErrorTextsAreCp852) {
    Error e = Error::Other("A description longer than twenty-six characters", 5);
    EXPECT_EQ(e.Message(), codepage::FromUtf8("Błąd:\"A description longer than \" (5)"));
    e = Error::Operation("SUBSTR", 1110, "Argument error");
    EXPECT_EQ(e.Message(), codepage::FromUtf8("Błąd operacji \"SUBSTR\" (1110)"));
    e = Error::OperatorArgument("+");
    EXPECT_EQ(e.Message(), codepage::FromUtf8("Błędny argument oper.: \"+\""));
    e = Error();
    e.kind = ErrorKind::kEmptyFormula;
    EXPECT_EQ(e.Message(), codepage::FromUtf8("Błąd - \"pusty\" algorytm"));
}

TEST(RuntimeTest, CompileRemovesLineBreaks) {
    Runtime rt;
    EXPECT_EQ(Eval(rt, "1 +\r\n2"), "3");
    EXPECT_EQ(Eval(rt,
                   "\"ab\x8d\n"
                   "cd\""),
              "\"abcd\"");
    EXPECT_EQ(Eval(rt, "\r\n"), "error: Błąd - \"pusty\" algorytm");
}

TEST(RuntimeTest, RunawayRecursionStops) {
    Runtime rt;
    Error err;
    rt.SetCallLimit(1000);
    ASSERT_EQ(rt.DefineFunction("fib", "n", "iif(n < 2, n, fib(n-1) + fib(n-2))", &err),
              DefineResult::kOk);
    EXPECT_EQ(Eval(rt, "fib(10)"), "55");
    EXPECT_EQ(Eval(rt, "fib(40)"), "error: Błąd:\"Too many calls\" (2)");
    // The budget is per evaluation.
    EXPECT_EQ(Eval(rt, "fib(10)"), "55");
    ASSERT_EQ(rt.DefineFunction("deep", "n", "deep(n+1)", &err), DefineResult::kOk);
    EXPECT_EQ(Eval(rt, "deep(1)"), "error: Błąd:\"Stack overflow\" (1)");
}

TEST(RuntimeTest, FailedCallsLeaveNothingBehind) {
    Runtime rt;
    rt.SetCallLimit(5);
    Error err;
    ASSERT_EQ(rt.DefineFunction("rek", "a", "rek(a)", &err), DefineResult::kOk);
    EXPECT_EQ(Eval(rt, "niema({1, 2}, \"x\")"), "error: Błędna funkcja: NIEMA");
    EXPECT_EQ(Eval(rt, "rek({3})"), "error: Błąd:\"Too many calls\" (2)");
    EXPECT_EQ(Eval(rt, "substr({4}, 1)"), "error: Błąd operacji \"SUBSTR\" (1110)");
    EXPECT_EQ(rt.arrays().size(), 0u);
    // The stack is clean: the next evaluation starts from NIL entries.
    EXPECT_EQ(Eval(rt, "{1, \"a\"}"), "{1, \"a\"}");
    EXPECT_EQ(rt.arrays().size(), 0u);
}

// Cycles a formula builds go when its Runtime ends, also on the program's
// table of public variables, which lives on; what a variable or the caller
// still holds stays. The ASan build's LeakSanitizer checks that nothing of
// them is left at the end.
TEST(RuntimeTest, ArrayCyclesEndWithTheirRuntime) {
    Value result;
    {
        Runtime rt;  // a table of its own
        EXPECT_EQ(Eval(rt, "A := {1}, aadd(A, A), len(A)"), "2");
        EXPECT_EQ(Eval(rt, "B := {}, aadd(B, {B}), B := NIL, 1"), "1");
        EXPECT_EQ(rt.arrays().size(), 3u);
        Program p;
        Error err;
        ASSERT_TRUE(rt.Compile("{1, {2}, A}", &p, &err));
        ASSERT_TRUE(rt.Evaluate(p, &result, &err));
    }
    // The result outlived its Runtime, and what it holds with it.
    ASSERT_EQ(result.items().size(), 3u);
    EXPECT_EQ(Canonical(result.items()[1]), "{2}");
    // So is A, and its cycle is the holder's to break now.
    EXPECT_EQ(result.items()[2].items()[1].array_id(), result.items()[2].array_id());
    result.items()[2].items().clear();

    Variables program;
    {
        Runtime rt(nullptr, {&program});
        EXPECT_EQ(Eval(rt, "KEPT := {1}, aadd(KEPT, KEPT), len(KEPT)"), "2");
        EXPECT_EQ(Eval(rt, "X := {}, aadd(X, {X}), X := NIL, 1"), "1");
        EXPECT_EQ(program.arrays().size(), 3u);
    }
    EXPECT_EQ(program.arrays().size(), 1u);
    Runtime next(nullptr, {&program});
    EXPECT_EQ(Eval(next, "len(KEPT[2])"), "2");
    program.Release("KEPT");  // the table's own collection frees it
    EXPECT_EQ(program.arrays().Collect(), 1u);
}

TEST(RuntimeTest, TypeOfItselfDoesNotRecurseForEver) {
    Runtime rt;
    EXPECT_EQ(Eval(rt, "X := \"type(X)\", type(X)"), "\"C\"");
    EXPECT_EQ(Eval(rt, "type(\"1\") + type('\"a\"') + type(\"{}\")"), "\"NCA\"");
}

TEST(RuntimeTest, DateComesFromTheClock) {
    base::FixedClock clock(base::LocalTime{2024, 1, 31, 23, 59, 0});
    Runtime rt(nullptr, {nullptr, &clock});
    EXPECT_EQ(Eval(rt, "date()"), "2024-01-31");
    EXPECT_EQ(Eval(rt, "dtos(date() + 1)"), "\"20240201\"");
    clock.Set(base::LocalTime{2026, 12, 8, 9, 30, 0});
    EXPECT_EQ(Eval(rt, "date()"), "2026-12-08");
    base::FixedClock other(base::LocalTime{1999, 12, 31, 0, 0, 0});
    rt.SetClock(&other);
    EXPECT_EQ(Eval(rt, "year(date())"), "1999");
}

}  // namespace
}  // namespace kestrel::formula
