#include "payroll/data/position_review.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "payroll_company.h"
#include "platform/codepage/cp852.h"

namespace kestrel::payroll {
namespace {

using testing::PayCompany;

struct Flags {
    bool deduction = false, off_list = false, to_tax = false, blocked = false;
};

// A company with two lists in March (A/1 and A/2), one in April, and the
// positions of two employees, deductions and auxiliary amounts among them.
struct ReviewCompany : PayCompany {
    PayrollList march1, march2, april;

    ReviewCompany() {
        Component("BRUT", "A", 10);
        Component("PREM", "K", 20);
        Component("SPOL", "A", 30);
        Component("DOWY", "A", 40);
        march1 = List("2026", "A", 1, "03", "20260310");
        march2 = List("2026", "A", 2, "03", "20260325", false);
        april = List("2026", "A", 3, "04", "20260410");
        Place(march1, "000001", "BRUT", 4000);
        Place(march1, "000001", "SPOL", 548.40, {.deduction = true});
        Place(march1, "000001", "DOWY", 3451.60, {.off_list = true});
        Place(march1, "000002", "BRUT", 3000);
        Place(march2, "000001", "PREM", 500, {.to_tax = true});
        Place(march2, "000001", "BRUT", 100);
        Place(march2, "000001", "SPOL", 13.71, {.deduction = true});
        Place(april, "000001", "BRUT", 4100);
    }

    void Place(const PayrollList& l, const std::string& number, const std::string& symbol,
               double amount, Flags f = {}) {
        Add("PKPLACE", {{"ROK_LST", l.year},
                        {"TYP_LST", l.symbol},
                        {"NR_LST", std::to_string(l.number)},
                        {"MC_LST", l.month},
                        {"DATA_WYP", l.paid},
                        {"NR_PRAC", number},
                        {"SKLADN_PL", symbol},
                        {"KWOTA_", std::to_string(amount)},
                        {"POTRAC_", f.deduction ? "T" : "F"},
                        {"POZA_LISTA", f.off_list ? "T" : "F"},
                        {"AKT_DOCH", f.to_tax ? "T" : "F"},
                        {"NIE_ALG", f.blocked ? "T" : "F"}});
    }

    dbf::WorkArea& Open() { return tables.Open("PKPLACE", ReviewIndexes()); }

    // Stands on the visible position of list `l`, employee and component.
    void StandOn(dbf::WorkArea& place, const PayrollList& l, const std::string& number,
                 const std::string& symbol) {
        std::string s = symbol;
        s.resize(4, ' ');
        SetReviewOrder(h.rt, place, ReviewOrder::kByList);
        ASSERT_TRUE(place.Seek(l.Key() + number + s).ok());
        ASSERT_TRUE(place.found()) << symbol;
    }
};

std::string Where(dbf::WorkArea& place) {
    const Position p = ReadPlace(place);
    return p.list_key + " " + p.employee + " " + base::TrimRight(p.symbol);
}

TEST(PositionReview, TheSearchKeyOfEachOrderStopsAtTheFirstBlankPart) {
    struct Case {
        ReviewOrder order;
        ReviewKey key;
        std::string want;
    } cases[] = {
        {ReviewOrder::kByMonth, {"2026", "3", "A", 1, "7", "brut"}, "202603000007BRUT"},
        {ReviewOrder::kByMonth, {"2026", "", "A", 1, "7", "BRUT"}, "2026"},
        {ReviewOrder::kByMonth, {"2026", "12", "", 0, "", "BRUT"}, "202612"},
        {ReviewOrder::kByList, {"2026", "3", "a", 12, "000002", "SP"}, "2026A   12000002SP"},
        {ReviewOrder::kByList, {"2026", "", "AB", 0, "000002", ""}, "2026AB"},
        {ReviewOrder::kByEmployee, {"2026", "4", "A", 1, "1", "BRUT"}, "2026000001BRUT04"},
        {ReviewOrder::kByEmployee, {"2026", "4", "", 0, "1", ""}, "2026000001"},
        {ReviewOrder::kByEmployee, {"", "4", "", 0, "1", ""}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(SearchKey(c.order, c.key), c.want) << c.want;
}

// Each order seeks its own key: an exact beginning is found, a missing one
// stands on the next position ("następny rekord"), one past every key on
// the last position ("koniec zbioru").
TEST(PositionReview, SearchesFindTheKeyTheNextPositionOrTheEnd) {
    ReviewCompany c;
    dbf::WorkArea& place = c.Open();
    struct Case {
        ReviewOrder order;
        ReviewKey key;
        SearchOutcome outcome;
        std::string at;
    } cases[] = {
        {ReviewOrder::kByMonth,
         {"2026", "3", "", 0, "2", ""},
         SearchOutcome::kFound,
         "2026A    1 000002 BRUT"},
        {ReviewOrder::kByMonth,
         {"2026", "3", "", 0, "1", "PREM"},
         SearchOutcome::kFound,
         "2026A    2 000001 PREM"},
        {ReviewOrder::kByMonth,
         {"2026", "3", "", 0, "1", "RRRR"},
         SearchOutcome::kNext,
         "2026A    1 000001 SPOL"},
        {ReviewOrder::kByList,
         {"2026", "", "A", 2, "1", "BRUT"},
         SearchOutcome::kFound,
         "2026A    2 000001 BRUT"},
        {ReviewOrder::kByList,
         {"2026", "", "A", 2, "2", ""},
         SearchOutcome::kNext,
         "2026A    3 000001 BRUT"},
        {ReviewOrder::kByEmployee,
         {"2026", "4", "", 0, "1", "BRUT"},
         SearchOutcome::kFound,
         "2026A    3 000001 BRUT"},
        {ReviewOrder::kByEmployee,
         {"2026", "", "", 0, "3", ""},
         SearchOutcome::kEnd,
         "2026A    1 000002 BRUT"},
        {ReviewOrder::kByMonth,
         {"2027", "", "", 0, "", ""},
         SearchOutcome::kEnd,
         "2026A    3 000001 BRUT"},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(Search(c.h.rt, place, k.order, k.key), k.outcome) << k.at;
        EXPECT_EQ(Where(place), k.at);
    }
    EXPECT_EQ(codepage::ToUtf8(SearchMessage(c.h.rt, SearchOutcome::kNext)),
              "Brak klucza - następny rekord");
    EXPECT_EQ(codepage::ToUtf8(SearchMessage(c.h.rt, SearchOutcome::kEnd)),
              "Brak klucza - koniec zbioru");
    EXPECT_EQ(SearchMessage(c.h.rt, SearchOutcome::kFound), "");
}

std::vector<std::string> Lines(const Summary& s) {
    std::vector<std::string> out;
    for (const SummaryLine& l : s.lines) {
        char amount[32];
        std::snprintf(amount, sizeof amount, "%.2f", l.amount);
        out.push_back(base::TrimRight(l.symbol) + " " + amount + (l.deduction ? " -" : "") +
                      (l.off_list ? " aux" : ""));
    }
    return out;
}

// F3 leaves the auxiliary amount out, F4 shows it but does not count it,
// F9 adds up the lists of the month per component; none of them takes
// another employee's, another month's or a deleted position.
TEST(PositionReview, SummariesOfTheListAndOfTheMonth) {
    ReviewCompany c;
    c.Place(c.march2, "000001", "BRUT", 999);  // deleted below
    dbf::WorkArea& place = c.Open();
    c.StandOn(place, c.march2, "000001", "BRUT");
    ASSERT_TRUE(place.Skip(1).ok());
    ASSERT_EQ(ReadPlace(place).amount, 999);
    ASSERT_TRUE(place.RLock().ok());
    ASSERT_TRUE(place.Delete().ok());
    place.Unlock();
    const std::vector<Component> components = ReadComponents(c.tables);
    c.StandOn(place, c.march1, "000001", "SPOL");
    const uint32_t at = place.recno();

    const Summary f3 = PayableOfList(place, components);
    EXPECT_EQ(Lines(f3), (std::vector<std::string>{"BRUT 4000.00", "SPOL 548.40 -"}));
    EXPECT_DOUBLE_EQ(f3.total, 3451.60);
    EXPECT_EQ(codepage::ToUtf8(f3.lines[0].name), "Składnik BRUT");

    const Summary f4 = AllOfList(place, components);
    EXPECT_EQ(Lines(f4),
              (std::vector<std::string>{"BRUT 4000.00", "DOWY 3451.60 aux", "SPOL 548.40 -"}));
    EXPECT_DOUBLE_EQ(f4.total, 3451.60);

    const Summary f9 = PayableOfMonth(place, components);
    EXPECT_EQ(Lines(f9),
              (std::vector<std::string>{"BRUT 4100.00", "PREM 500.00", "SPOL 562.11 -"}));
    EXPECT_DOUBLE_EQ(f9.total, 4037.89);  // 4100 + 500 - 562.11
    EXPECT_EQ(place.recno(), at);         // the browse stays where it was
}

TEST(PositionReview, DeletingRefusesTransferredPositionsAndClearsTheMonthsFlags) {
    ReviewCompany c;
    c.Make(
        "PKSTER",
        {{{"ROK_", "2026"}, {"MC_", "3"}, {"AKT_ZUS", "T"}, {"AKT_KZP", "T"}, {"AKT_PPK", "T"}}});
    dbf::WorkArea& place = c.Open();
    c.StandOn(place, c.march2, "000001", "PREM");
    EXPECT_EQ(codepage::ToUtf8(DeletePlace(c.h.rt, c.tables, place)),
              "Aktualiz. DOCH. - blokada kasow.");
    EXPECT_FALSE(place.deleted());
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKSTER", "AKT_ZUS"), (std::vector<std::string>{"T"}));

    dbf::WorkArea& again = c.Open();
    c.StandOn(again, c.march1, "000002", "BRUT");
    EXPECT_EQ(DeletePlace(c.h.rt, c.tables, again), "");
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKPLACE", "NR_PRAC", false).size(), 7u);
    for (const char* flag : {"AKT_ZUS", "AKT_KZP", "AKT_PPK"})
        EXPECT_EQ(c.Records("PKSTER", flag), (std::vector<std::string>{"F"})) << flag;
}

TEST(PositionReview, CorrectionsKeepOnlyBlockedZerosAndAreRefusedWhereTheyMayNotChange) {
    ReviewCompany c;
    c.Make("PKSTER", {{{"ROK_", "2026"}, {"MC_", "3"}, {"AKT_ZUS", "T"}}});
    dbf::WorkArea& place = c.Open();
    // Closed list, transferred position.
    c.StandOn(place, c.march2, "000001", "BRUT");
    EXPECT_EQ(codepage::ToUtf8(CorrectionRefusal(c.h.rt, c.tables, place)),
              "Zmiana dopuszczalna w aktywnej liście");
    c.StandOn(place, c.march2, "000001", "PREM");
    EXPECT_EQ(codepage::ToUtf8(CorrectionRefusal(c.h.rt, c.tables, place)),
              "Aktualiz. DOCH. - blokada korekty");

    c.StandOn(place, c.march1, "000001", "BRUT");
    EXPECT_EQ(CorrectionRefusal(c.h.rt, c.tables, place), "");
    EXPECT_TRUE(CorrectPlace(c.h.rt, c.tables, place, {4200.456, false}));
    EXPECT_EQ(ReadPlace(place).amount, 4200.46);
    c.StandOn(place, c.march1, "000001", "SPOL");
    EXPECT_TRUE(CorrectPlace(c.h.rt, c.tables, place, {0, true}));  // a blocked zero stays
    c.StandOn(place, c.march1, "000002", "BRUT");
    EXPECT_TRUE(CorrectPlace(c.h.rt, c.tables, place, {0, false}));  // an unblocked one goes
    c.tables.CloseAll();
    std::vector<std::string> kept;
    for (const std::string& s : c.Records("PKPLACE", "KWOTA_")) kept.push_back(base::Trim(s));
    EXPECT_EQ(kept, (std::vector<std::string>{"4200.46", "0.00", "3451.60", "3000.00*", "500.00",
                                              "100.00", "13.71", "4100.00"}));
    EXPECT_EQ(c.Records("PKPLACE", "NIE_ALG")[1], "T");
    EXPECT_EQ(c.Records("PKSTER", "AKT_ZUS"), (std::vector<std::string>{"F"}));
}

TEST(PositionReview, ArchiveDirectoriesAreTheYearsHoldingPositions) {
    namespace fs = std::filesystem;
    PayCompany c;
    const std::string root = c.h.rt.data_dir();
    for (const char* d : {"ARCH2024", "arch2021", "ARCH2023", "ARCH20245", "ARCHIVE1", "ARCH.TMP"})
        fs::create_directory(root + d);
    for (const char* d : {"ARCH2024", "arch2021", "ARCH20245", "ARCHIVE1", "ARCH.TMP"})
        std::ofstream(root + d + "/PKPLACE.DBF") << "x";
    std::ofstream(root + "ARCH2022") << "a file, not a directory";
    EXPECT_EQ(ArchiveDirectories(root), (std::vector<std::string>{"arch2021", "ARCH2024"}));
}

}  // namespace
}  // namespace kestrel::payroll
