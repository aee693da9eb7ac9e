#include "payroll/bank/data/bank_run.h"

#include <gtest/gtest.h>

#include "bank_test_support.h"

namespace kestrel::payroll::bank {
namespace {

using testing::BankCompany;
using testing::Row;
using Texts = std::vector<std::string>;

const char kLine[] = "pkprac->nr_prac + \";\" + alltrim(str(DOWY,12,2))";
const char kFile[] = "RO260310.TXT";

// Two lists paid on 2026-03-10 and one paid later; four employees:
//   000001 Nowak      1000 + 500 (and 77 on the later list)
//   000002 Kowal      -20 + 30
//   000003 Adamski    250.50 (and a premium, another component)
//   000004 Zieliński  0 on both lists
struct RunCompany : BankCompany {
    PayrollList a1, a2, a3;

    RunCompany() {
        Employee("000003", "Adamski");
        Employee("000004", "Zieliński");
        a1 = List("2026", "A", 1, "03", "20260310");
        a2 = List("2026", "A", 2, "03", "20260310", false);
        a3 = List("2026", "A", 3, "03", "20260325");
        Position(a1, "000001", "DOWY", 1000);
        Position(a2, "000001", "DOWY", 500);
        Position(a3, "000001", "DOWY", 77);
        Position(a1, "000002", "DOWY", -20);
        Position(a2, "000002", "DOWY", 30);
        Position(a1, "000003", "DOWY", 250.50);
        Position(a1, "000003", "PREM", 100);
        Position(a1, "000004", "DOWY", 0);
        Position(a2, "000004", "DOWY", 0);
    }

    BankOutcome Write(BankObserver* observer = nullptr) {
        BankRun run(h.rt, tables, a1, observer);
        BankOutcome out;
        out.message = run.Check();
        if (out.message.empty()) out = run.Run();
        out.message = codepage::ToUtf8(out.message);
        return out;
    }
};

struct BankRunTest : ::testing::Test, RunCompany {};

TEST_F(BankRunTest, SummedListsGiveOneLinePerEmployeeWithAnAmountAboveZero) {
    Bank("Bank", "RO", "TXT", kLine);
    const BankOutcome out = Write();
    EXPECT_EQ(out.message, "");
    ASSERT_TRUE(out.completed);
    // Name order; Kowal's 10.00 is the sum of -20 and 30; Zieliński's zero
    // and the later list's 77 are not paid.
    EXPECT_EQ(Lines(kFile),
              (Texts{"000003;250.50", "000002;10.00", "000001;1500.00", "RAZEM 1760.50"}));
    EXPECT_EQ(Files(), Texts{kFile});
    ASSERT_EQ(out.files.size(), 1u);
    EXPECT_EQ(out.files[0].lines, 3);
    EXPECT_EQ(out.files[0].total, 176050);
    EXPECT_EQ(out.employees, 4);
}

TEST_F(BankRunTest, WithoutSummingEachListWithAnAmountAboveZeroIsALine) {
    h.rt.config().Set("NAGLSLROR", memfile::MemValue::Logical(false));
    Bank("Bank", "RO", "TXT", kLine);
    ASSERT_TRUE(Write().completed);
    // Kowal's -20 is not paid and not counted: the total is what was written.
    EXPECT_EQ(Lines(kFile), (Texts{"000003;250.50", "000002;30.00", "000001;1000.00",
                                   "000001;500.00", "RAZEM 1780.50"}));
}

TEST_F(BankRunTest, TheConditionSeesTheEmployeesOwnAmount) {
    Bank("Bank", "RO", "TXT", kLine, {{"WARUNEK_", "DOWY > 200 .and. DOWY < 1000"}});
    ASSERT_TRUE(Write().completed);
    EXPECT_EQ(Lines(kFile), (Texts{"000003;250.50", "RAZEM 250.50"}));
}

TEST_F(BankRunTest, OtherComponentsAreZeroForEveryEmployee) {
    // PREM is no bank's component: the line never sees Adamski's premium,
    // nor carries it to the next employee.
    Bank("Bank", "RO", "TXT", "pkprac->nr_prac + str(DOWY,10,2) + str(PREM,7,2)");
    ASSERT_TRUE(Write().completed);
    EXPECT_EQ(Lines(kFile), (Texts{"000003    250.50   0.00", "000002     10.00   0.00",
                                   "000001   1500.00   0.00", "RAZEM 1760.50"}));
}

TEST_F(BankRunTest, TheLineMustShowItsAmount) {
    struct Case {
        const char* line;
        bool accepted;
    } cases[] = {
        {"str(DOWY,10,2)", true},
        {"strzero(DOWY,12,2)", true},
        {"left(alltrim(str(DOWY,12,2)), len(alltrim(str(DOWY,12,2)))-3) + \",\" + "
         "right(str(DOWY,12,2),2)",
         true},
        {"\"kwota=\" + alltrim(str(yround(DOWY*100,0),12,0)) + \"gr\"", true},
        {"pkprac->nr_prac", false},
        {"str(DOWY,10,1)", false},
        {"str(DOWY+1,10,2)", false},
        {"str(DOWY,10,0)", false},
    };
    for (const Case& c : cases) {
        ClearBanks();
        Bank("Bank", "RO", "TXT", c.line);
        const BankOutcome out = Write();
        EXPECT_EQ(out.completed, c.accepted) << c.line;
        if (c.accepted) continue;
        EXPECT_EQ(out.message, "Błędny wzór RO260310.TXT") << c.line;
        EXPECT_EQ(Files(), Texts{}) << c.line;
    }
    EXPECT_TRUE(LineShowsAmount("x123456x", 123456));
    EXPECT_TRUE(LineShowsAmount("1234,56", 123456));
    EXPECT_TRUE(LineShowsAmount("0.05", 5));
    EXPECT_FALSE(LineShowsAmount("1234.5", 123450));
    EXPECT_FALSE(LineShowsAmount("1 234.56", 123456));
}

TEST_F(BankRunTest, HeaderAndTrailerFormulas) {
    Bank("Bank", "RO", "TXT", kLine,
         {{"NAGLOWEK_", "\"NAGLOWEK \" + dtos(pklisty->data_wyp)"},
          {"KONIEC_", "\"KONIEC \" + str(DOWY,4)"}});
    Bank("Drugi", "RO", "DAT", kLine, {{"KONIEC_", "\"\""}, {"WARUNEK_", "DOWY > 1000"}});
    ASSERT_TRUE(Write().completed);
    // The trailer sees the variables empty again.
    EXPECT_EQ(Lines(kFile), (Texts{"NAGLOWEK 20260310", "000003;250.50", "000002;10.00",
                                   "000001;1500.00", "KONIEC    0"}));
    EXPECT_EQ(Lines("RO260310.DAT"), Texts{"000001;1500.00"});
}

TEST_F(BankRunTest, AFailedRunLeavesNoFile) {
    const char* kStop =
        "iif(pkprac->nr_prac = \"000001\", przerwij(\"Stop 000001\"), pkprac->nr_prac + "
        "str(DOWY,10,2))";
    struct Case {
        Row fields;
        const char* message;
    } cases[] = {
        {{{"NAGLOWEK_", "1"}}, "Błędna wartość nagłówka RO260310.TXT"},
        {{{"WARUNEK_", "DOWY"}}, "Błędna wartość warunku RO260310.TXT"},
        {{{"WZOR_", "DOWY"}}, "Błędna wartość wzoru RO260310.TXT"},
        {{{"WZOR_", ""}}, "Błędna wartość wzoru RO260310.TXT"},
        {{{"KONIEC_", "DOWY"}}, "Błędny rekord końca RO260310.TXT"},
        {{{"WZOR_", kStop}}, "Stop 000001"},  // half-way, after two employees
        {{{"WZOR_", "str(DOWY,"}}, "Błąd syntaktyczny algorytmu"},
        {{{"WARUNEK_", "nieznana > 0"}}, "Błędna zmienna: NIEZNANA"},
    };
    for (const Case& c : cases) {
        ClearBanks();
        // A first bank that would complete: its file goes too.
        Bank("Alfa", "AL", "TXT", kLine);
        Bank("Bank", "RO", "TXT", kLine, c.fields);
        const BankOutcome out = Write();
        EXPECT_FALSE(out.completed) << c.message;
        EXPECT_EQ(out.message, c.message);
        EXPECT_EQ(Files(), Texts{}) << c.message;
    }
}

struct StopAt : BankObserver {
    int at;
    int seen = 0;
    explicit StopAt(int n) : at(n) {}
    void Employee(const std::string&) override { ++seen; }
    bool Interrupted() override { return seen >= at; }
};

TEST_F(BankRunTest, AnInterruptedRunLeavesNoFile) {
    Bank("Bank", "RO", "TXT", kLine);
    StopAt stop(3);
    const BankOutcome out = Write(&stop);
    EXPECT_TRUE(out.interrupted);
    EXPECT_FALSE(out.completed);
    EXPECT_EQ(out.employees, 2);
    EXPECT_EQ(Files(), Texts{});
}

TEST_F(BankRunTest, ALeftoverTemporaryFileIsReplaced) {
    Bank("Bank", "RO", "TXT", kLine);
    ASSERT_TRUE(base::WriteFileAtomically(out + "~" + kFile, "stare").ok());
    ASSERT_TRUE(Write().completed);
    EXPECT_EQ(Files(), Texts{kFile});
    EXPECT_EQ(Lines(kFile).size(), 4u);
}

TEST_F(BankRunTest, BanksSharingANameAreRefusedBeforeAnyFileIsMade) {
    Bank("Alfa", "RO", "TXT", kLine);
    Bank("Beta", "RO", "TXT", kLine);
    const BankOutcome out = Write();
    EXPECT_EQ(out.message, "Powtórzony \"Prefiks+Rozszerz.\" RO+TXT");
    EXPECT_EQ(Files(), Texts{});
}

TEST_F(BankRunTest, ExistingFilesAreFoundAndDeleted) {
    Bank("Alfa", "RO", "TXT", kLine);
    Bank("Beta", "BE", "TXT", kLine);
    ASSERT_TRUE(base::WriteFileAtomically(out + kFile, "stary").ok());
    BankRun run(h.rt, tables, a1, nullptr);
    ASSERT_EQ(run.Check(), "");
    EXPECT_EQ(run.Existing(), Texts{kFile});
    EXPECT_EQ(run.Delete(kFile), "");
    EXPECT_EQ(run.Existing(), Texts{});
    ASSERT_EQ(run.lists().size(), 2u);
    EXPECT_EQ(run.lists()[1].number, 2);
}

}  // namespace
}  // namespace kestrel::payroll::bank
