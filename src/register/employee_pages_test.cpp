#include "register/employee_pages.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/console/keys.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::Company;
using testing::Cp;
using testing::Utf;

const std::vector<std::string> kDictionaries = {
    "PKURZ",  "PKSTAN",  "PKDZIAL", "PKSKSZT", "PKRUM",   "PKRPL",   "PKSZATR", "PKGRUPY",
    "PKGRALG", "PKSSTPO", "PKZWZ",  "PKTYTUB", "PKSGRIN", "PKKOFE",  "PKSNIEZ", "PKKPSW",
    "PKEKD",  "PKKZIS",  "PKWYKSZ", "PKWYRUB", "PKPRZ",   "PKKROZ",  "PKKPOD",  "PKSKODK",
    "PKGMINY"};

std::string Screen(Company& c) {
    std::string all;
    for (int r = 0; r < 25; ++r) all += c.h.Row(r) + "\n";
    return all;
}

// Pages are shown one after another; every page is kept as the operator saw
// it when the next key was read.
struct Shown {
    std::vector<std::string> pages;
    bool completed = false;
};

Shown ShowAll(Company& c, uint32_t recno) {
    EXPECT_TRUE(c.prac().Goto(recno).ok());
    const EmployeeRecord e = ReadEmployee(c.prac());
    Shown out;
    PageContext ctx{c.h.rt, *c.tables};
    ctx.prac = &c.prac();
    ctx.recno = recno;
    ctx.ref_year = 2026;
    ctx.ref_month = 12;
    const std::vector<Page> pages = PagesOf(e.kind(), false);
    for (Page p : pages) {
        c.h.backend.AddKeys({key::kPgDn});
        const PageExit x = ShowPage(ctx, p, e);
        EXPECT_EQ(x, PageExit::kNext);
        out.pages.push_back(Screen(c));
    }
    out.completed = true;
    return out;
}

TEST(RecordPages, EveryPageOfEachKindIsShownWithTheClearNames) {
    Company c(kDictionaries);
    const uint32_t staff =
        c.Register("000001", "Żółkiewska", "Łucja Anna", EmployeeKind::kStaff, "85031412344");
    const uint32_t other = c.Register("000002", "Nowak", "Piotr", EmployeeKind::kNonStaff);
    const uint32_t firm = c.Register("000003", "", "ALFA", EmployeeKind::kLegalPerson);

    const Shown s = ShowAll(c, staff);
    ASSERT_EQ(s.pages.size(), 8u);
    EXPECT_NE(s.pages[0].find("Nazwisko: Żółkiewska"), std::string::npos) << s.pages[0];
    EXPECT_NE(s.pages[0].find("Imiona: Łucja Anna"), std::string::npos);
    EXPECT_NE(s.pages[0].find("PESEL: 85031412344"), std::string::npos);
    EXPECT_NE(s.pages[0].find("Etat:"), std::string::npos);
    EXPECT_NE(s.pages[5].find("Obowiązkowe:"), std::string::npos) << s.pages[5];
    // The compulsory insurance of a staff employee is on by default.
    EXPECT_NE(s.pages[5].find("Obowiązkowe:          T         T"), std::string::npos) << s.pages[5];
    EXPECT_NE(s.pages[2].find("Data zatr.: 2020-01-01"), std::string::npos) << s.pages[2];

    const Shown n = ShowAll(c, other);
    ASSERT_EQ(n.pages.size(), 8u);
    EXPECT_NE(n.pages[0].find("Nazwisko: Nowak"), std::string::npos);
    // Only staff employees have a working-time fraction.
    EXPECT_EQ(n.pages[0].find("Etat:"), std::string::npos);

    const Shown f = ShowAll(c, firm);
    ASSERT_EQ(f.pages.size(), 1u);
    EXPECT_NE(f.pages[0].find("Nazwa skrócona: ALFA"), std::string::npos) << f.pages[0];
    EXPECT_NE(f.pages[0].find("Adres siedziby"), std::string::npos);
}

TEST(RecordPages, ShowRecordWalksBackAndForthAndStopsOnEsc) {
    Company c(kDictionaries);
    const uint32_t staff = c.Register("000001", "Nowak", "Jan");
    ASSERT_TRUE(c.prac().Goto(staff).ok());
    const EmployeeRecord e = ReadEmployee(c.prac());
    PageContext ctx{c.h.rt, *c.tables};
    // Forward to page 3, back to page 2, then Esc there.
    c.h.backend.AddKeys({key::kPgDn, key::kPgDn, key::kPgUp, key::kEsc});
    EXPECT_FALSE(ShowRecord(ctx, e));
    EXPECT_NE(c.h.Row(5).find("Strona: 2"), std::string::npos) << c.h.Row(5);
    EXPECT_NE(Screen(c).find("Adres do korespondencji (gdy inny niż )"), std::string::npos);
    // Eight PgDn keys pass all the pages of a staff record.
    c.h.backend.AddKeys(std::vector<int>(8, key::kPgDn));
    EXPECT_TRUE(ShowRecord(ctx, e));
}

}  // namespace
}  // namespace kestrel::registry
