// The formula engine as the program runs it: over the configuration as its
// public variables and under the program's clock.
#include <gtest/gtest.h>

#include "common/tables/index_keys.h"
#include "headless_runtime.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"
#include "platform/formula/number_format.h"
#include "platform/formula/runtime.h"
#include "platform/memfile/mem_file.h"
#include "startup/data/config_loader.h"
#include "test_util.h"

namespace kestrel::startup {
namespace {

using memfile::MemEntry;
using memfile::MemValue;

// A company's QRM.MEM (with the transfer addresses, so nothing is converted).
std::vector<MemEntry> Stored() {
    return {{"NAGL1", MemValue::Char("FIRMA")},
            {"NAGLKWP", MemValue::Logical(true)},
            {"NAGLSTAWKA", MemValue::Numeric(0.0245, 8, 4)},
            {"NAGLLICZ", MemValue::Numeric(7, 3, 0)},
            {"NAGLDATA", MemValue::Date(2460341)},  // 2024-01-31
            {"NAGL77", MemValue::Char(codepage::FromUtf8("ul. Długa 1"))}};
}

struct Program {
    dbf::testing::ScratchDir dir;
    testing::HeadlessRuntime h;  // the clock at 2026-12-08 09:30, as --now sets it

    Program() {
        EXPECT_TRUE(memfile::WriteMemFile(dir.path() + "/QRM.MEM", Stored()).ok());
        const LoadOutcome o = LoadConfiguration(dir.path(), &h.rt.config());
        EXPECT_FALSE(o.damaged || o.converted || o.file_missing);
    }
    static std::string Eval(formula::Runtime& f, const std::string& text) {
        formula::Program p;
        formula::Error err;
        formula::Value v;
        if (!f.Compile(codepage::FromUtf8(text), &p, &err) || !f.Evaluate(p, &v, &err))
            return "error: " + codepage::ToUtf8(err.Message());
        return codepage::ToUtf8(formula::Canonical(v));
    }
};

TEST(ProgramFormulas, ReadTheRestoredConfiguration) {
    Program prog;
    formula::Runtime f(nullptr, prog.h.rt.formulas());
    EXPECT_EQ(Program::Eval(f, "NAGL1 + \"!\""), "\"FIRMA!\"");
    EXPECT_EQ(Program::Eval(f, "iif(NAGLKWP, dtos(NAGLDATA), \"\")"), "\"20240131\"");
    EXPECT_EQ(Program::Eval(f, "NAGL77"), "\"ul. Długa 1\"");
    // Numbers keep the width and decimals of the file.
    EXPECT_EQ(Program::Eval(f, "str(NAGLSTAWKA) + \"|\" + str(NAGLLICZ)"), "\"  0.0245|  7\"");
    // What the program sets later is seen by code compiled before.
    formula::Program p;
    formula::Error err;
    ASSERT_TRUE(f.Compile("NAGLNOWY", &p, &err));
    prog.h.rt.config().Set("NAGLNOWY", MemValue::Char("tak"));
    formula::Value v;
    ASSERT_TRUE(f.Evaluate(p, &v, &err)) << err.Message();
    EXPECT_EQ(v.str(), "tak");
    prog.h.rt.config().Remove("NAGLNOWY");
    EXPECT_FALSE(f.Evaluate(p, &v, &err));
    EXPECT_EQ(codepage::ToUtf8(err.Message()), "Błędna zmienna: NAGLNOWY");
}

TEST(ProgramFormulas, AssignmentsAreReadBackThroughTheConfiguration) {
    Program prog;
    const common::Configuration& config = prog.h.rt.config();
    {
        formula::Runtime f(nullptr, prog.h.rt.formulas());
        EXPECT_EQ(Program::Eval(f,
                                "NAGLKWP := .F., NAGLLICZ := NAGLLICZ + 1, "
                                "NAGLNOWA := \"nowa\", NAGLDNIA := NAGLDATA + 1, 0"),
                  "0");
    }
    EXPECT_FALSE(config.Logical("NAGLKWP", true));
    EXPECT_EQ(config.Number("NAGLLICZ"), 8);
    EXPECT_EQ(config.Text("NAGLNOWA"), "nowa");
    ASSERT_TRUE(config.Has("NAGLDNIA", MemValue::Type::kDate));
    EXPECT_EQ(config.Find("NAGLDNIA")->julian, 2460342);
    // A formula that stores an array or NIL defines no configuration variable.
    formula::Runtime f(nullptr, prog.h.rt.formulas());
    EXPECT_EQ(Program::Eval(f, "NAGLTAB := {1}, NAGLNIC := NIL, len(NAGLTAB)"), "1");
    EXPECT_FALSE(config.Find("NAGLTAB"));
    EXPECT_FALSE(config.Find("NAGLNIC"));
}

TEST(ProgramFormulas, WhatAFormulaAssignsIsWrittenToTheMemFile) {
    Program prog;
    {
        formula::Runtime f(nullptr, prog.h.rt.formulas());
        EXPECT_EQ(Program::Eval(f, "NAGLLICZ := 9, NAGLNOWA := 5, NAGLKWOTA := 12.50, 0"), "0");
    }
    const std::string path = prog.dir.path() + "/QRM2.MEM";
    ASSERT_TRUE(memfile::WriteMemFile(path, prog.h.rt.config().entries()).ok());
    std::string written;
    ASSERT_TRUE(base::ReadFile(path, &written).ok());
    // The variables in their order, the changed one in its place with the
    // number's default width; new numbers 10 digits wide plus their decimals.
    std::vector<MemEntry> expected = Stored();
    expected[3].value = MemValue::Numeric(9, 10, 0);
    expected.push_back({"NAGLNOWA", MemValue::Numeric(5, 10, 0)});
    expected.push_back({"NAGLKWOTA", MemValue::Numeric(12.5, 13, 2)});
    EXPECT_EQ(written, memfile::SerializeMem(expected));
    // Restored unchanged, the file's own bytes come back.
    common::Configuration same;
    same.Assign(Stored());
    EXPECT_EQ(memfile::SerializeMem(same.entries()), memfile::SerializeMem(Stored()));
}

TEST(ProgramFormulas, DateIsTodayByTheProgramsClock) {
    Program prog;
    formula::Runtime f(nullptr, prog.h.rt.formulas());
    EXPECT_EQ(Program::Eval(f, "date()"), "2026-12-08");
    prog.h.clock.Set(base::LocalTime{2027, 1, 1, 0, 5, 0});
    EXPECT_EQ(Program::Eval(f, "dtos(date())"), "\"20270101\"");
}

// The program's index keys are formulas too, and opened tables build them
// with the program's variables and clock.
TEST(ProgramFormulas, IndexKeysSeeTheProgramsClockAndVariables) {
    Program prog;
    const std::vector<dbf::Field> fields = {{"NR", dbf::FieldType::kCharacter, 3, 0, 1}};
    common::IndexKeys keys(fields, prog.h.rt.letters(), prog.h.rt.formulas());
    dbf::IndexDefinition def;
    ASSERT_TRUE(keys.Define("dtos(date()) + NAGL1 + NR", "", &def).ok());
    dbf::Record rec(&fields, 4);
    ASSERT_TRUE(rec.SetString(0, "007").ok());
    std::string key;
    def.key(rec, &key);
    EXPECT_EQ(key, "20261208FIRMA007");
    EXPECT_EQ(keys.eval_errors(), 0);
}

}  // namespace
}  // namespace kestrel::startup
