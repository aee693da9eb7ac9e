#include "payroll/data/formula_update.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "common/session/abandon.h"
#include "payroll_company.h"
#include "platform/base/files.h"

namespace kestrel::payroll {
namespace {

namespace fs = std::filesystem;
using testing::PayCompany;

std::string Bangs(int n) {
    return Ren1Comment() + std::string(static_cast<size_t>(n), '!');
}

TEST(FormulaUpdate, TheLevelIsReadFromTheCommentOfRen1) {
    struct Case {
        const char* why;
        bool exists;
        std::string comment;
        int level;
    };
    const Case cases[] = {
        {"no ren1: nothing applied", false, "", 0},
        {"ren1 itself is the first step", true, Ren1Comment(), 1},
        {"one more \"!\"", true, Bangs(1), 1},
        {"ending in three \"!\": two steps", true, Bangs(2), 2},
        {"four steps", true, Bangs(4), 4},
        {"a line break after the marks", true, Bangs(3) + "\r\n", 3},
        {"a comment changed by hand still has ren1", true, "moja funkcja!!!!!", 1},
        {"text after the marks", true, Bangs(3) + " x", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(AppliedLevel(c.exists, c.comment), c.level) << c.why;
}

TEST(FormulaUpdate, TheShippedDefinitionsReadAndEveryRuleCallsAnInstalledFunction) {
    const StandardDefinitions defs = ShippedStandardDefinitions();
    ASSERT_EQ(defs.steps.size(), 4u);
    EXPECT_EQ(defs.steps[2].marker, "u2020");
    EXPECT_EQ(defs.steps[2].backup_dir, "U2020");
    EXPECT_EQ(defs.steps[3].marker, "ppkb");
    EXPECT_EQ(defs.steps[3].backup_dir, "X_PPK21");
    // A rule producing a call of a function no step up to its own installs
    // is refused when the data are read.
    StandardDefinitions bad;
    const std::string one = "STEP 1\nFUNCTION pod\nPARAMS\nBODY\n0.18\nCOMMENT\nx\nEND\n";
    EXPECT_TRUE(ParseStandardDefinitions(one, "1 0.19 pod()\n", &bad).ok());
    const base::Status s = ParseStandardDefinitions(one, "1 0.08 zdr()\n", &bad);
    EXPECT_FALSE(s.ok());
    EXPECT_NE(s.message().find("zdr()"), std::string::npos) << s.message();
    EXPECT_FALSE(ParseStandardDefinitions(one, "2 0.19 pod()\n", &bad).ok());
}

struct UpdateCompany : ::testing::Test, PayCompany {
    const StandardDefinitions defs = ShippedStandardDefinitions();

    UpdateOutcome Run() {
        tables.CloseAll();
        return ApplyFormulaUpdates(tables, defs);
    }
    std::vector<int> Due() {
        tables.CloseAll();
        std::vector<int> due = DueUpdateSteps(tables, defs);
        tables.CloseAll();
        return due;
    }

    struct Func {
        std::string params, body, comment;
        bool standard = false;
        bool operator==(const Func&) const = default;
    };
    // PKFUNC by name, texts in UTF-8.
    std::map<std::string, Func> Functions() {
        tables.CloseAll();
        std::map<std::string, Func> out;
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File("PKFUNC.DBF"), {}, &t).ok());
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            Func f;
            f.params = base::TrimRight(r.GetString(t->FieldIndex("PAR_")));
            std::string body, comment;
            EXPECT_TRUE(t->ReadMemo(r, t->FieldIndex("WZOR_"), &body).ok());
            EXPECT_TRUE(t->ReadMemo(r, t->FieldIndex("KOMENTARZ_"), &comment).ok());
            f.body = codepage::ToUtf8(body);
            f.comment = codepage::ToUtf8(comment);
            f.standard = r.GetLogical(t->FieldIndex("V_9"));
            out[base::TrimRight(r.GetString(t->FieldIndex("FUN_")))] = f;
            return base::Status::Ok();
        });
        return out;
    }
    // PKSPL algorithms by symbol.
    std::map<std::string, std::string> Algorithms() {
        tables.CloseAll();
        std::map<std::string, std::string> out;
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File("PKSPL.DBF"), {}, &t).ok());
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            std::string text;
            EXPECT_TRUE(t->ReadMemo(r, t->FieldIndex("ALGORYTM_"), &text).ok());
            out[base::TrimRight(r.GetString(t->FieldIndex("SKLADN_PL")))] = codepage::ToUtf8(text);
            return base::Status::Ok();
        });
        return out;
    }
    std::string Refusal() {
        try {
            Run();
        } catch (const common::Abandon& a) {
            return codepage::ToUtf8(a.message());
        }
        return "no refusal";
    }
    void Fresh(const std::string& table) {
        PayCompany::Make(table);
        fs::remove(dir.File(table + "1.NTX"));
    }
    void Standard(const std::string& name, const std::string& comment = "standard") {
        Add("PKFUNC", {{"FUN_", name}, {"WZOR_", "1"}, {"KOMENTARZ_", comment}, {"V_9", "T"}},
            false);
    }
};

TEST_F(UpdateCompany, StepsDueFollowTheLevelAndTheMarkersOfTheSets) {
    EXPECT_EQ(Due(), (std::vector<int>{1, 2, 3, 4}));  // no ren1: every step
    Standard("ren1", Bangs(2));                        // ends in three "!"
    Standard("u2020");
    Standard("ppkb");
    EXPECT_EQ(Due(), (std::vector<int>{3, 4}));
    tables.CloseAll();
    Fresh("PKFUNC");
    Standard("ren1", Bangs(4));
    Standard("ppkb");
    EXPECT_EQ(Due(), (std::vector<int>{3}));  // the 2020 set's marker is missing
}

TEST_F(UpdateCompany, ACompanyWithoutPkfuncHasEveryStepDueAndGetsNoPkfuncForAsking) {
    tables.CloseAll();
    fs::remove(dir.File("PKFUNC.DBF"));
    fs::remove(dir.File("PKFUNC.DBT"));
    fs::remove(dir.File("PKFUNC1.NTX"));
    EXPECT_EQ(Due(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(fs::exists(dir.File("PKFUNC.DBF")));
}

TEST_F(UpdateCompany, RatesWrittenAsLiteralsBecomeCallsOfTheFunctionsInstalled) {
    Component("BRUT", "K", 10);
    Component("PODA", "A", 20, "BRUT*19/100");
    Component("ZDRO", "A", 30, "BRUT*0.0825");
    Component("DZIE", "A", 40, "BRUT*10.08+BRUT*0.195");
    Component("OPIS", "A", 50, "if(\"0.08\"$pkprac->nazwx_,0,BRUT*0.0\x8D\n8)", "", false);
    Function("ZDROW", "x", "0.0875*x");
    const UpdateOutcome out = Run();
    EXPECT_EQ(out.applied, (std::vector<int>{1, 2, 3, 4}));
    const std::map<std::string, std::string> alg = Algorithms();
    EXPECT_EQ(alg.at("PODA"), "BRUT*pod()");
    EXPECT_EQ(alg.at("ZDRO"), "BRUT*zdr()");
    EXPECT_EQ(alg.at("DZIE"), "BRUT*10.08+BRUT*0.195");
    EXPECT_EQ(alg.at("OPIS"), "if(\"0.08\"$pkprac->nazwx_,0,BRUT*zdr())");
    std::map<std::string, Func> funcs = Functions();
    EXPECT_EQ(funcs.at("ZDROW").body, "zdr()*x");
    EXPECT_FALSE(funcs.at("ZDROW").standard);
    // zdr is installed with the calls that need it, and the standard
    // functions keep their own rates.
    ASSERT_EQ(funcs.count("zdr"), 1u);
    EXPECT_TRUE(funcs.at("zdr").standard);
    EXPECT_NE(funcs.at("pod").body.find("0.19"), std::string::npos);
    EXPECT_EQ(funcs.at("ren1").comment, codepage::ToUtf8(Bangs(4)));
    EXPECT_EQ(out.formulas_rewritten, 4);

    // The rates the installed functions give on lists paid in 2004 and 2026.
    List("2004", "A", 1, "03", "20040315");
    PayrollHost host(h.rt, tables);
    host.PrepareRun();
    EXPECT_EQ(testing::Eval(host, "zdr()"), "0.0825");
    EXPECT_EQ(testing::Eval(host, "pod()"), "0.19");
    List("2026", "A", 1, "03", "20260310");
    EXPECT_EQ(testing::Eval(host, "zdr()"), "0.09");
    EXPECT_EQ(testing::Eval(host, "pod()"), "0.18");
    EXPECT_EQ(testing::Eval(host, "ren1()*100"), "1.50");
}

TEST_F(UpdateCompany, AStepIsAppliedOnceOnly) {
    Component("PODA", "A", 20, "BRUT*0.19");
    Run();
    const auto funcs = Functions();
    const auto alg = Algorithms();
    const UpdateOutcome again = Run();
    EXPECT_TRUE(again.applied.empty());
    EXPECT_EQ(again.functions_installed, 0);
    EXPECT_EQ(Functions(), funcs);
    EXPECT_EQ(Algorithms(), alg);
    EXPECT_EQ(alg.at("PODA"), "BRUT*pod()");
}

TEST_F(UpdateCompany, AUserFunctionOfAStandardNameRefusesTheUpdateBeforeAnyChange) {
    Component("PODA", "A", 20, "BRUT*0.19");
    Function("POD", "", "0.17");
    EXPECT_EQ(Refusal(), "Błąd - istnieje funkcja POD()");
    EXPECT_EQ(Algorithms().at("PODA"), "BRUT*0.19");
    EXPECT_EQ(Functions().size(), 1u);
    EXPECT_FALSE(fs::exists(dir.File("U2020")));
    // One installed by an earlier update is replaced instead.
    tables.CloseAll();
    Fresh("PKFUNC");
    Standard("POD");
    EXPECT_EQ(Run().applied, (std::vector<int>{1, 2, 3, 4}));
    const auto funcs = Functions();
    ASSERT_EQ(funcs.count("pod"), 1u);  // the same record renamed, not a second one
    EXPECT_EQ(funcs.count("POD"), 0u);
    EXPECT_NE(funcs.at("pod").body.find("0.19"), std::string::npos);
    EXPECT_EQ(funcs.size(), 16u);
}

TEST_F(UpdateCompany, PksplIsCopiedIntoTheDirectoriesOfTheSetsWithItsDates) {
    Component("PODA", "A", 20, "BRUT*0.19");
    tables.CloseAll();
    std::string before_dbf, before_dbt;
    ASSERT_TRUE(base::ReadFile(dir.File("PKSPL.DBF"), &before_dbf).ok());
    ASSERT_TRUE(base::ReadFile(dir.File("PKSPL.DBT"), &before_dbt).ok());
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(dir.File("PKSPL.DBF"), stamp);
    fs::last_write_time(dir.File("PKSPL.DBT"), stamp);
    Run();
    for (const char* set : {"U2020", "X_PPK21"}) {
        std::string dbf, dbt;
        ASSERT_TRUE(base::ReadFile(dir.File(std::string(set) + "/PKSPL.DBF"), &dbf).ok()) << set;
        ASSERT_TRUE(base::ReadFile(dir.File(std::string(set) + "/PKSPL.DBT"), &dbt).ok()) << set;
        // The formulas as they were before the update.
        EXPECT_EQ(dbf, before_dbf) << set;
        EXPECT_EQ(dbt, before_dbt) << set;
        EXPECT_EQ(fs::last_write_time(dir.File(std::string(set) + "/PKSPL.DBF")), stamp) << set;
        EXPECT_EQ(fs::last_write_time(dir.File(std::string(set) + "/PKSPL.DBT")), stamp) << set;
        for (const char* t : {"PKSPL_", "_PKFUNC", "_PKSPL"})
            EXPECT_TRUE(fs::exists(dir.File(std::string(set) + "/" + t + ".DBF"))) << set << t;
    }
    for (const char* t : {"_PKRDOCH", "_PKNTBW"})
        EXPECT_TRUE(fs::exists(dir.File(std::string("U2020/") + t + ".DBF"))) << t;
    // The template of the functions carries the set's own.
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(dir.File("U2020/_PKFUNC.DBF"), {}, &t).ok());
    ASSERT_EQ(t->record_count(), 1u);
    dbf::Record r;
    ASSERT_TRUE(t->Read(1, &r).ok());
    EXPECT_EQ(base::TrimRight(r.GetString(t->FieldIndex("FUN_"))), "u2020");
}

TEST_F(UpdateCompany, ABackupThatCannotBeMadeStopsTheUpdate) {
    Component("PODA", "A", 20, "BRUT*0.19");
    std::ofstream(dir.File("U2020")) << "a file where the directory should be";
    EXPECT_EQ(Refusal(), "Błąd tworzenia katalogu U2020");
    EXPECT_EQ(Algorithms().at("PODA"), "BRUT*0.19");
    EXPECT_TRUE(Functions().empty());
}

}  // namespace
}  // namespace kestrel::payroll
