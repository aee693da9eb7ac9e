#include "payroll/printouts/data/pfron_statement.h"

#include <gtest/gtest.h>

#include "matrix_test_support.h"

namespace kestrel::payroll {
namespace {

using testing::PrintedLines;
using testing::With;

constexpr YearMonth kMarch{2026, 3};  // 31 days

base::Date D(int y, int m, int d) {
    return {y, m, d};
}

TEST(EmployeePosts, TheDaysOfTheMonthWithAndWithoutAValidCertificate) {
    struct Case {
        const char* what;
        PfronFacts facts;
        bool employed;
        Degree degree;
        Posts disabled, others;
    };
    const base::Date none{};
    const Case cases[] = {
        {"full time, no certificate",
         {"1", "", 1, 1, D(2020, 1, 1), none, '0', none, none},
         true,
         kNotDisabled,
         {0, 1},
         {1, 1}},
        {"half time, severe without end",
         {"2", "", 1, 2, D(2020, 1, 1), none, '3', D(2019, 5, 1), none},
         true,
         kSevere,
         {1, 2},
         {0, 1}},
        {"the certificate ends mid-month",
         {"3", "", 1, 1, D(2020, 1, 1), none, '2', D(2019, 1, 1), D(2026, 3, 15)},
         true,
         kModerate,
         {15, 31},
         {16, 31}},
        {"the certificate begins after the month",
         {"4", "", 1, 1, D(2020, 1, 1), none, '2', D(2026, 4, 1), none},
         true,
         kModerate,
         {0, 1},
         {1, 1}},
        {"the certificate ended before the month",
         {"5", "", 1, 1, D(2020, 1, 1), none, '1', D(2020, 1, 1), D(2026, 2, 28)},
         true,
         kLight,
         {0, 1},
         {1, 1}},
        {"hired mid-month",
         {"6", "", 1, 1, D(2026, 3, 11), none, '0', none, none},
         true,
         kNotDisabled,
         {0, 1},
         {21, 31}},
        {"the certificate longer than the employment",
         {"7", "", 1, 1, D(2026, 3, 11), none, '1', D(2026, 3, 1), D(2026, 3, 20)},
         true,
         kLight,
         {10, 31},
         {11, 31}},
        {"dismissed mid-month, three quarters",
         {"8", "", 3, 4, D(2020, 1, 1), D(2026, 3, 15), '3', none, none},
         true,
         kSevere,
         {45, 124},
         {0, 1}},
        {"no fraction is a full post",
         {"9", "", 0, 0, D(2020, 1, 1), none, '0', none, none},
         true,
         kNotDisabled,
         {0, 1},
         {1, 1}},
        {"degree 0 with a period left over",
         {"10", "", 1, 1, D(2020, 1, 1), none, '0', D(2020, 1, 1), none},
         true,
         kNotDisabled,
         {0, 1},
         {1, 1}},
        {"undetermined degree",
         {"11", "", 1, 1, D(2020, 1, 1), none, '4', none, none},
         true,
         kUndetermined,
         {1, 1},
         {0, 1}},
        {"dismissed before the month",
         {"12", "", 1, 1, D(2020, 1, 1), D(2026, 2, 28), '3', none, none},
         false,
         kNotDisabled,
         {0, 1},
         {0, 1}},
        {"hired after the month",
         {"13", "", 1, 1, D(2026, 4, 1), none, '0', none, none},
         false,
         kNotDisabled,
         {0, 1},
         {0, 1}},
    };
    for (const Case& c : cases) {
        PfronEmployee e;
        ASSERT_EQ(EmployeePosts(c.facts, kMarch, &e), c.employed) << c.what;
        if (!c.employed) continue;
        if (c.degree != kNotDisabled) {
            EXPECT_EQ(e.posts[c.degree], c.disabled) << c.what;
        }
        EXPECT_EQ(e.posts[kNotDisabled], c.others) << c.what;
        for (size_t d = kLight; d < kDegrees; ++d)
            if (d != c.degree) {
                EXPECT_TRUE(e.posts[d].zero()) << c.what << " degree " << d;
            }
    }
}

PfronEmployee Holding(const std::string& number, Posts others, Posts disabled = {0, 1},
                      Degree degree = kModerate) {
    PfronEmployee e;
    e.number = number;
    e.posts[kNotDisabled] = others;
    e.posts[degree] = disabled;
    return e;
}

TEST(PfronSummary, PartTimeFractionsAddUpExactly) {
    PfronStatement s;
    for (const char* n : {"1", "2", "3"}) s.employees.push_back(Holding(n, {1, 3}));
    for (int i = 0; i < 7; ++i) s.employees.push_back(Holding("x", {0, 1}, {1, 7}, kLight));
    Summarise(PfronRequest{}, &s);
    EXPECT_EQ(s.by_degree[kNotDisabled], (Posts{1, 1}));
    EXPECT_EQ(s.by_degree[kLight], (Posts{1, 1}));
    EXPECT_EQ(s.total, (Posts{2, 1}));
    EXPECT_EQ(s.disabled, (Posts{1, 1}));
    EXPECT_DOUBLE_EQ(s.share, 50);
}

TEST(PfronSummary, TheLevyOnThePostsMissingToTheRequiredShare) {
    struct Case {
        const char* what;
        int posts, disabled;  // full posts
        int pupils, disabled_pupils;
        bool due;
        double missing, levy;
    };
    for (const Case& c : {
             Case{"4 % of 25 posts", 25, 1, 0, 0, true, 0.5, 1626},
             Case{"6 % exactly", 50, 3, 0, 0, false, 0, 0},
             Case{"fewer than 25 posts", 24, 0, 0, 0, false, 1.44, 0},
             Case{"a school: 2 % less the disabled pupils' 1 %", 25, 0, 100, 1, true, 0.25, 813},
             Case{"a school with enough disabled pupils", 25, 0, 50, 1, false, 0, 0},
         }) {
        PfronStatement s;
        for (int i = 0; i < c.posts - c.disabled; ++i) s.employees.push_back(Holding("o", {1, 1}));
        for (int i = 0; i < c.disabled; ++i) s.employees.push_back(Holding("d", {0, 1}, {1, 1}));
        PfronRequest r;
        r.average_pay = 8000;
        r.pupils = c.pupils;
        r.disabled_pupils = c.disabled_pupils;
        Summarise(r, &s);
        EXPECT_EQ(s.levy_due, c.due) << c.what;
        EXPECT_NEAR(s.missing, c.missing, 1e-9) << c.what;
        EXPECT_DOUBLE_EQ(s.levy, c.levy) << c.what;
    }
}

TEST(Posts, FractionsWithoutACommonMeasureStayClose) {
    Posts p;
    // Denominators of every prime below 100 times the month's days.
    double want = 0;
    for (int q : {2,  3,  5,  7,  11, 13, 17, 19, 23, 29, 31, 37, 41,
                  43, 47, 53, 59, 61, 67, 71, 73, 79, 83, 89, 97}) {
        p += Posts{1, q * 31};
        want += 1.0 / (q * 31);
    }
    EXPECT_GT(p.den, 0);
    EXPECT_NEAR(p.value(), want, 1e-9);
}

struct PfronCompany : testing::PrintCompany {
    void Staff(const std::string& number, const testing::Row& more) {
        testing::Row row{
            {"NR_PRAC", number}, {"DATA_ZATR", "20200101"}, {"ETAT_L", "1"}, {"ETAT_M", "1"}};
        for (const auto& f : more) row.push_back(f);
        Add("PKPRAC", row);
    }
};

TEST(PfronStatement, TheRegistersStaffOfTheMonthPrinted) {
    PfronCompany c;
    c.Staff("000011", {{"ETAT_L", "1"}, {"ETAT_M", "2"}, {"TYTUL_STNP", "3"}});
    c.Staff("000012", {{"TYTUL_STNP", "2"}, {"DATA_INW", "20190101"}, {"DAT_INW_DO", "20260315"}});
    c.Staff("000013", {{"ETAT_L", "1"}, {"ETAT_M", "3"}});
    c.Staff("000014", {{"NIE_PRAC", "T"}});           // a contract: not staff
    c.Staff("000015", {{"DATA_ZWOLN", "20260131"}});  // gone before March
    c.h.rt.config().Set("NAGLMINPR6", memfile::MemValue::Logical(true));
    PfronRequest r;
    r.month = kMarch;
    r.average_pay = 8000;
    const PfronStatement s = ComputePfron(c.h.rt, c.tables, r);
    // The two employees of the test company (no working-time fraction) too.
    std::vector<std::string> numbers;
    for (const PfronEmployee& e : s.employees) numbers.push_back(e.number);
    EXPECT_EQ(numbers,
              (std::vector<std::string>{"000001", "000002", "000011", "000012", "000013"}));
    EXPECT_EQ(s.total, (Posts{23, 6}));  // 1 + 1 + 1/2 + 1 + 1/3
    EXPECT_EQ(s.disabled, (Posts{1, 2} += Posts{15, 31}));
    EXPECT_TRUE(s.switch_on);

    printing::PrintOutput o;
    const std::string path = c.dir.File("PFRON.PRT");
    ASSERT_TRUE(o.Open(path).ok());
    PrintPfron(c.h.rt, r, s, o);
    ASSERT_TRUE(o.Close().ok());
    const std::vector<std::string> lines = PrintedLines(path);
    // The columns of posts: light, moderate, severe, undetermined, others.
    auto columns = [&lines](const std::string& first) {
        const std::vector<std::string> found = With(lines, first);
        std::vector<std::string> out;
        if (found.size() != 1) return out;
        for (size_t col = 38; col < 78; col += 8)
            out.push_back(base::Trim(found[0].size() > col ? found[0].substr(col, 8) : ""));
        return out;
    };
    using Columns = std::vector<std::string>;
    EXPECT_EQ(columns("000012"), (Columns{"", "0,484", "", "", "0,516"}));
    EXPECT_EQ(columns("000013"), (Columns{"", "", "", "", "0,333"}));
    EXPECT_EQ(columns("RAZEM:"), (Columns{"0,000", "0,484", "0,500", "0,000", "2,849"}));
    EXPECT_EQ(With(lines, "Etaty ogółem:").size(), 1U);
    EXPECT_NE(With(lines, "Etaty ogółem:")[0].find("3,833"), std::string::npos);
    EXPECT_NE(With(lines, "Udział osób niepełnosprawnych:")[0].find("25,67 %"), std::string::npos)
        << With(lines, "Udział osób niepełnosprawnych:")[0];
    EXPECT_NE(With(lines, "Wpłata na PFRON:")[0].find("nie dotyczy"), std::string::npos);
    // The switch agrees with a share above 6 %: no warning.
    EXPECT_TRUE(With(lines, "Uwaga").empty());

    c.h.rt.config().Set("NAGLMINPR6", memfile::MemValue::Logical(false));
    ASSERT_TRUE(o.Open(c.dir.File("PFRON2.PRT")).ok());
    PrintPfron(c.h.rt, r, ComputePfron(c.h.rt, c.tables, r), o);
    ASSERT_TRUE(o.Close().ok());
    EXPECT_EQ(With(PrintedLines(c.dir.File("PFRON2.PRT")), "Uwaga").size(), 1U);
}

}  // namespace
}  // namespace kestrel::payroll
