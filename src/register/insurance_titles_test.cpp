#include "register/insurance_titles.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/console/keys.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
// A key no screen of the register uses: tests bind it to look at the screen
// while a form waits.
const int kPeek = console::key::Alt('Q');
using testing::Company;
using testing::Cp;

std::vector<int> Typed(std::string_view text) {
    std::vector<int> keys;
    for (char ch : text) keys.push_back(static_cast<unsigned char>(ch));
    return keys;
}

struct Titles : ::testing::Test {
    Company c{{"PKTYTUB"}};
    EmployeeRecord e;
    std::unique_ptr<PageContext> ctx;
    void SetUp() override {
        dbf::WorkArea& tytub = c.tables->Open("PKTYTUB", {"PKTYTUB1"});
        // The dictionary of the test only: the codes a new company gets
        // from the payroll setup are taken away.
        for (base::Status s = tytub.GoTop(); s.ok() && !tytub.eof(); s = tytub.Skip(1)) {
            c.tables->RLock(tytub);
            ASSERT_TRUE(tytub.Delete().ok());
            ASSERT_TRUE(tytub.Unlock().ok());
        }
        for (const char* code : {"0110", "0411", "0305"}) {
            c.tables->Append(tytub);
            ASSERT_TRUE(tytub.record().SetString(tytub.FieldIndex("TYTUL_PODM"), code).ok());
            ASSERT_TRUE(
                tytub.record().SetString(tytub.FieldIndex("NAZWA_"), Cp("Tytuł próbny")).ok());
            ASSERT_TRUE(tytub.Commit().ok());
            ASSERT_TRUE(tytub.Unlock().ok());
        }
        const uint32_t recno = c.Register("000001", "Nowak", "Jan");
        ASSERT_TRUE(c.prac().Goto(recno).ok());
        e = ReadEmployee(c.prac());
        ASSERT_TRUE(e.SetText("TYTUL_PODM", "0110").ok());
        ctx = std::make_unique<PageContext>(PageContext{c.h.rt, *c.tables});
    }
    std::vector<InsuranceTitle> Stored() { return ReadTitles(*c.areas.ktyub, "000001"); }
};

TEST_F(Titles, TheMainTitleRunsFromEmploymentToTheDayAfterDismissal) {
    InsuranceTitle m = MainTitle(e);
    EXPECT_EQ(m.title, "0110");
    EXPECT_EQ(m.from, "20200101");
    EXPECT_EQ(m.to, "");
    ASSERT_TRUE(e.SetDate("DATA_ZWOLN", "20241231").ok());
    EXPECT_EQ(MainTitle(e).to, "20250101");
    ASSERT_TRUE(e.SetDate("DATA_ZWOLN", "20240228").ok());
    EXPECT_EQ(MainTitle(e).to, "20240229");
}

TEST_F(Titles, LinesAreWrittenADuplicateIsAskedAgainAndAnEmptyTitleEnds) {
    std::vector<int> keys = Typed("0411");
    for (int k : Typed("20210101")) keys.push_back(k);
    keys.push_back(key::kEnter);  // open end
    // The main title again, inside the employment: refused with a message.
    for (int k : Typed("0110")) keys.push_back(k);
    for (int k : Typed("20220101")) keys.push_back(k);
    keys.push_back(key::kEnter);
    keys.push_back(key::kEnter);  // the message waits for a key
    std::string message;
    c.h.rt.console().keyboard().Bind(kPeek, [&] { message = c.h.ShownRow(23); });
    // Asked again: emptied, the list ends.
    keys.push_back(kPeek);
    keys.push_back(key::Ctrl('Y'));
    keys.push_back(key::kEnter);
    c.h.backend.AddKeys(keys);
    std::vector<uint32_t> written;
    EXPECT_TRUE(EnterTitles(*ctx, *c.areas.ktyub, e, &written));
    const std::vector<InsuranceTitle> t = Stored();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].line, 1);
    EXPECT_EQ(t[0].title, "0411");
    EXPECT_EQ(t[0].from, "20210101");
    EXPECT_EQ(t[0].to, "");
    EXPECT_EQ(written, std::vector<uint32_t>{t[0].recno});
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
}

TEST_F(Titles, EndingTheListEarlyDeletesTheLaterLines) {
    for (int line = 1; line <= 3; ++line) {
        InsuranceTitle t;
        t.line = line;
        t.title = "0305";
        t.from = "202" + std::to_string(line) + "0101";
        t.to = "202" + std::to_string(line) + "1231";
        WriteTitle(*c.tables, *c.areas.ktyub, "000001", t);
    }
    // Line 1 is taken as it stands; line 2 is emptied.
    c.h.backend.AddKeys({key::kEnter, key::kEnter, key::kEnter, key::Ctrl('Y'), key::kEnter});
    std::vector<uint32_t> written;
    EXPECT_TRUE(EnterTitles(*ctx, *c.areas.ktyub, e, &written));
    const std::vector<InsuranceTitle> t = Stored();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].from, "20210101");
    EXPECT_EQ(t[0].to, "20211231");
    // Esc gives the list up.
    c.h.backend.AddKeys({key::kEsc});
    EXPECT_FALSE(EnterTitles(*ctx, *c.areas.ktyub, e, &written));
}

TEST_F(Titles, TheTitlePageShowsTheListReadOnly) {
    InsuranceTitle t;
    t.line = 1;
    t.title = "0411";
    t.from = "20210101";
    WriteTitle(*c.tables, *c.areas.ktyub, "000001", t);
    ctx->ktyub = c.areas.ktyub;
    c.h.backend.AddKeys({key::kPgDn});
    EXPECT_EQ(ShowPage(*ctx, Page::kTitle, e), PageExit::kNext);
    EXPECT_NE(c.h.Row(14).find("Dodatkowe tytuły ubezpieczenia"), std::string::npos);
    EXPECT_NE(c.h.Row(16).find("0110  Tytuł próbny"), std::string::npos) << c.h.Row(16);
    EXPECT_NE(c.h.Row(16).find("2020-01-01 ÷"), std::string::npos) << c.h.Row(16);
    EXPECT_NE(c.h.Row(17).find(" 1  0411"), std::string::npos) << c.h.Row(17);
}

}  // namespace
}  // namespace kestrel::registry
