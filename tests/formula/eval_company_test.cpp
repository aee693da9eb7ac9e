// kestrel-tool eval over a company: the formula as the recalculation of one
// employee on a list sees it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

struct Result {
    std::string out;
    int status = -1;
};

Result Tool(const std::string& args) {
    Result r;
    const std::string command = std::string(KESTREL_TOOL) + " eval " + args + " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return r;
    char buf[256];
    while (std::fgets(buf, sizeof buf, p) != nullptr) r.out += buf;
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

struct EvalCompany : ::testing::Test, testing::PayCompany {
    EvalCompany() {
        Component("ZASA", "K", 10);
        Component("SRED", "A", 20, "ZASA", "1L");
        Add("PKOSPL", {{"SKLADN_PL", "OPC1"}});
        Function("KW", "x", "x*x");
        const PayrollList jan = List("2024", "A", 1, "01", "20240131", false);
        const PayrollList feb = List("2024", "A", 2, "02", "20240229");
        Position(jan, "000001", "ZASA", 4000);
        Position(feb, "000001", "ZASA", 4200);
        tables.CloseAll();
    }
    std::string Dir() const { return dir.path(); }
};

TEST_F(EvalCompany, TheOpenListOrTheNamedOneAndTheEmployeesValues) {
    Result r =
        Tool("--company " + Dir() + " --employee 1 'str(kw(ZASA)/1000,8) + PKPRAC->NR_PRAC'");
    EXPECT_EQ(r.out, "\"   17640000001\"\n");
    EXPECT_EQ(r.status, 0);
    r = Tool("--company " + Dir() +
             " --employee 000001 --list '2024A 1' --var X=2 'ZASA*X + OPC1'");
    EXPECT_EQ(r.out, "8000.00\n");
    r = Tool("--company " + Dir() + " --employee 000001 'SRED()'");
    EXPECT_EQ(r.out, "Błędna funkcja: SRED\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(EvalCompany, AMissingEmployeeOrListAndAHalfGivenCompanyAreRefused) {
    Result r = Tool("--company " + Dir() + " --employee 000007 ZASA");
    EXPECT_EQ(r.out, "kestrel-tool eval: no employee 000007\n");
    EXPECT_EQ(r.status, 1);
    r = Tool("--company " + Dir() + " --employee 000001 --list 2023A1 ZASA");
    EXPECT_EQ(r.out, "kestrel-tool eval: no list 2023A1\n");
    EXPECT_EQ(Tool("--company " + Dir() + " ZASA").status, 2);
    EXPECT_EQ(Tool("--list 2024A1 ZASA").status, 2);
}

}  // namespace
}  // namespace kestrel::payroll
