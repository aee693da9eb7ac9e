#include "register/update_dialog.h"

#include <gtest/gtest.h>

#include "common/session/abandon.h"
#include "employee_test_support.h"
#include "platform/console/backend.h"
#include "platform/console/keys.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::Company;
using testing::Cp;
using testing::Utf;

const std::vector<std::string> kDictionaries = {
    "PKURZ",   "PKSTAN",  "PKDZIAL", "PKSKSZT", "PKRUM",   "PKRPL",   "PKSZATR",
    "PKGRUPY", "PKGRALG", "PKSSTPO", "PKZWZ",   "PKTYTUB", "PKSGRIN", "PKKOFE",
    "PKSNIEZ", "PKKPSW",  "PKEKD",   "PKKZIS",  "PKWYKSZ", "PKWYRUB", "PKPRZ",
    "PKKROZ",  "PKKPOD",  "PKSKODK", "PKGMINY", "PKSRDOD"};

constexpr int kPages = 9;  // of a staff employee

std::vector<int> Keys(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
std::vector<int> Times(int n, int k) {
    return std::vector<int>(static_cast<size_t>(n), k);
}
std::vector<int> Typed(const std::string& text) {
    std::vector<int> out;
    for (char ch : text) out.push_back(static_cast<unsigned char>(ch));
    return out;
}

// Employee 000001 with one additional title and two allowances.
struct Register : ::testing::Test {
    Company c{kDictionaries};
    uint32_t recno = 0;

    void SetUp() override {
        recno = c.Register("000001", "Nowak", "Jan", EmployeeKind::kStaff, "85031412358");
        dbf::WorkArea& p = c.prac();
        ASSERT_TRUE(p.Goto(recno).ok());
        ASSERT_TRUE(p.RLock().ok());
        EmployeeRecord e = ReadEmployee(p);
        ASSERT_TRUE(e.SetDate("DATA_URODZ", "19850314").ok());
        ASSERT_TRUE(e.SetText("PLEC_", "M").ok());
        ASSERT_TRUE(e.SetText("KOD_KRAJU", "PL").ok());
        ASSERT_TRUE(e.SetNumber("ST_PODST", 4800).ok());
        ASSERT_TRUE(e.SetNumber("ETAT_L", 1).ok());
        ASSERT_TRUE(e.SetNumber("ETAT_M", 1).ok());
        ASSERT_TRUE(WriteEmployee(p, e).ok());
        ASSERT_TRUE(p.Unlock().ok());
        dbf::WorkArea& tytub = c.tables->Open("PKTYTUB", {"PKTYTUB1"});
        c.tables->Append(tytub);
        ASSERT_TRUE(tytub.record().SetString(tytub.FieldIndex("TYTUL_PODM"), "0411").ok());
        ASSERT_TRUE(tytub.Commit().ok());
        ASSERT_TRUE(tytub.Unlock().ok());
        WriteTitle(*c.tables, *c.areas.ktyub, "000001", {1, "0411", "20240101", "", 0});
        WriteAllowance(*c.tables, *c.areas.dod, "000001", {1, "DFUN", 300, false, 0, 0, 0, 0, 0});
        WriteAllowance(*c.tables, *c.areas.dod, "000001",
                       {2, "PREM", 10, true, 2024, 1, 2024, 6, 0});
    }

    // Runs the dialog on the script; true when it ended by F10 with every
    // key used.
    bool Run(const std::vector<int>& keys) {
        c.h.backend.AddKeys(keys);
        UpdateEmployees(c.h.rt, *c.tables);
        return c.h.backend.exhausted();
    }

    // From page 1 to the end without a change: PgDn through the pages, the
    // two lines of the additional titles (the stored one, then an empty
    // one that ends the list) and F10 on the allowances.
    static std::vector<int> Through() {
        return Keys(
            {Times(5, key::kPgDn), Times(2, key::kPgDn), Times(3, key::kPgDn), {key::F(10)}});
    }

    // Number 1, the record shown page by page, "t" to the update.
    static std::vector<int> Open() {
        return Keys({{'1', key::kEnter}, Times(kPages, key::kPgDn), {'t'}});
    }

    EmployeeRecord Stored() {
        EXPECT_TRUE(c.prac().Goto(recno).ok());
        return ReadEmployee(c.prac());
    }

    // Another workstation can lock the record: no lock is left behind.
    bool LockableElsewhere() {
        Company::Workstation w(c);
        return w.areas.prac->Goto(recno).ok() && w.areas.prac->RLock().ok();
    }

    // The log entry of one field of PKPRAC.
    LoggedChange Entry(const std::string& field) {
        for (const LoggedChange& e : ReadLog(*c.areas.ekprc, "000001")) {
            if (e.entry.field == field) return e;
        }
        ADD_FAILURE() << "no entry for " << field;
        return {};
    }

    std::vector<std::string> Log() {
        std::vector<std::string> out;
        for (const LoggedChange& e : ReadLog(*c.areas.ekprc, "000001")) {
            if (e.entry.field == "NR_PRAC") continue;  // the registration's own
            out.push_back(e.entry.table + "|" + e.entry.field);
        }
        return out;
    }
};

TEST_F(Register, CommittedUpdateIsLoggedAndItsOldValueRemembered) {
    // Page 1: the first names become "Adam"; every page on to the last.
    const std::vector<int> keys = Keys({Open(),
                                        {key::kDown, key::Ctrl('y')},
                                        Typed("Adam"),
                                        Through(),
                                        {'t'},          // "Zatwierdzić zmiany ?"
                                        {key::kEnter},  // "Korekty zatwierdzone"
                                        {key::kEnter},  // the proposed date
                                        {key::kEnter},  // "Historia" pola została zapisana
                                        {key::F(10)}});
    ASSERT_TRUE(Run(keys));
    EXPECT_EQ(Utf(Stored().first_names()), "Adam");
    EXPECT_EQ(Utf(Stored().surname()), "Nowak");
    EXPECT_EQ(Log(), std::vector<std::string>{"PKPRAC |IMIEX_"});
    const LoggedChange entry = Entry("IMIEX_");
    EXPECT_EQ(entry.day, "20261208");
    // The old value is remembered (scrambled, as stored) until the day
    // before the settlement month; PKSTER is empty, so until yesterday.
    const auto remembered = ReadRemembered(*c.areas.zmprc, "000001", "IMIEX_");
    ASSERT_EQ(remembered.size(), 1u);
    EXPECT_EQ(remembered[0].until, "20261207");
    EXPECT_EQ(remembered[0].value.substr(0, entry.entry.old_value.size()), entry.entry.old_value);
    EXPECT_NE(remembered[0].value.find_first_not_of(' '), std::string::npos);
    EXPECT_TRUE(LockableElsewhere());
    c.ExpectIndexesRight(c.prac());
}

TEST_F(Register, HistoryWindowNamesTheFieldWithTheCutOffDate) {
    // The script ends in the window's date.
    c.h.backend.AddKeys(
        Keys({Open(), {key::kDown, key::Ctrl('y')}, Typed("Adam"), Through(), {'t', key::kEnter}}));
    EXPECT_THROW(UpdateEmployees(c.h.rt, *c.tables), console::ScriptEnded);
    std::string window;
    for (int r = 7; r <= 17; ++r) window += c.h.ShownRow(r) + "\n";
    EXPECT_NE(window.find("Wartość pola:"), std::string::npos) << window;
    EXPECT_NE(window.find("IMIEX_"), std::string::npos) << window;
    EXPECT_NE(window.find("została zmieniona."), std::string::npos) << window;
    EXPECT_NE(window.find("Można zapamiętać poprzednią wartość tego pola,"), std::string::npos);
    EXPECT_NE(window.find("Data graniczna \"starych\" danych: 2026-12-07"), std::string::npos)
        << window;
    EXPECT_NE(window.find("<Esc>-Pomiń ten krok"), std::string::npos) << window;
    // The commit was complete before the window: logged and unlocked.
    EXPECT_EQ(Log(), std::vector<std::string>{"PKPRAC |IMIEX_"});
    EXPECT_TRUE(LockableElsewhere());
}

TEST_F(Register, SeveralFieldsRememberedUntilTheTypedDate) {
    const EmployeeRecord before = Stored();
    c.h.backend.AddKeys(Keys({{key::kHome}, Typed("20261130"), {key::kEnter}}));
    EXPECT_TRUE(OfferHistory(c.h.rt, *c.tables, *c.areas.zmprc, before, {"ST_PODST", "GRUPA_ALG"},
                             "20261207"));
    EXPECT_TRUE(c.h.backend.exhausted());
    EXPECT_NE(c.h.ShownRow(23).find("\"Historia\" pól została zapisana"), std::string::npos);
    const auto rate = ReadRemembered(*c.areas.zmprc, "000001", "ST_PODST");
    ASSERT_EQ(rate.size(), 1u);
    EXPECT_EQ(rate[0].until, "20261130");
    EXPECT_NE(rate[0].value.find("4800.00"), std::string::npos) << rate[0].value;
    EXPECT_EQ(ReadRemembered(*c.areas.zmprc, "000001", "GRUPA_ALG").size(), 1u);

    // Esc skips the step with the plural message.
    c.h.backend.AddKeys({key::kEsc, key::kEnter});
    EXPECT_FALSE(OfferHistory(c.h.rt, *c.tables, *c.areas.zmprc, before, {"ST_PODST", "GRUPA_ALG"},
                              "20261207"));
    EXPECT_NE(c.h.ShownRow(23).find("Zapis \"historii\" pól został pominięty"), std::string::npos);
    EXPECT_EQ(ReadRemembered(*c.areas.zmprc, "000001", "ST_PODST").size(), 1u);
}

TEST_F(Register, EscWithAChangeAnsweredNoBringsBackEveryValue) {
    // Before the undo the changes must be there, or the test proves nothing.
    size_t titles_before_esc = 99, allowances_before_esc = 99;
    c.h.rt.console().keyboard().Bind(key::F(7), [&] {
        titles_before_esc = ReadTitles(*c.areas.ktyub, "000001").size();
        allowances_before_esc = ReadAllowances(*c.areas.dod, "000001").size();
    });
    const Snapshot before = [&] {
        EXPECT_TRUE(c.prac().Goto(recno).ok());
        return TakeSnapshot(c.areas);
    }();
    const std::vector<int> keys = Keys({Open(),
                                        {key::kDown, key::Ctrl('y')},
                                        Typed("Adam"),
                                        Times(5, key::kPgDn),
                                        // The title of line 1 emptied: the
                                        // list ends and the line goes.
                                        {key::Ctrl('y'), key::kPgDn},
                                        Times(3, key::kPgDn),
                                        // Allowance line 1 removed with F8.
                                        {key::Ctrl('y'), '1', key::kEnter, key::F(8), 't'},
                                        {key::F(7), key::kEsc},
                                        {'n'},  // "Zatwierdzić zmiany ?"
                                        {key::F(10)}});
    ASSERT_TRUE(Run(keys));
    EXPECT_EQ(titles_before_esc, 0u);
    EXPECT_EQ(allowances_before_esc, 1u);
    ASSERT_TRUE(c.prac().Goto(recno).ok());
    const Snapshot after = TakeSnapshot(c.areas);
    EXPECT_FALSE(SnapshotDiffers(before, after));
    EXPECT_EQ(Utf(after.record.first_names()), "Jan");
    ASSERT_EQ(after.allowances.size(), 2u);
    EXPECT_EQ(after.allowances[0].symbol, "DFUN");
    ASSERT_EQ(after.titles.size(), 1u);
    EXPECT_EQ(after.titles[0].title, "0411");
    c.ExpectIndexesRight(*c.areas.ktyub);
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(ReadRemembered(*c.areas.zmprc, "000001", "IMIEX_").empty());
    EXPECT_TRUE(LockableElsewhere());
    c.ExpectIndexesRight(c.prac());
    c.ExpectIndexesRight(*c.areas.dod);
}

TEST_F(Register, EscWithAChangeShowsTheWarningAndYesKeepsAndLogsIt) {
    const std::vector<int> keys =
        Keys({Open(), {key::kDown, key::Ctrl('y')}, Typed("Adam"), {key::kPgDn, key::kEsc}});
    c.h.backend.AddKeys(keys);
    EXPECT_THROW(UpdateEmployees(c.h.rt, *c.tables), console::ScriptEnded);
    EXPECT_EQ(c.h.ShownRow(23).substr(1, 24), "UWAGA! - korygowano pola");
    EXPECT_NE(c.h.ShownRow(23).find("Zatwierdzić zmiany ? [t,n]"), std::string::npos);
    // The script ended in the question: the abandoned update is undone.
    EXPECT_EQ(Utf(Stored().first_names()), "Jan");
    EXPECT_TRUE(LockableElsewhere());

    ASSERT_TRUE(Run(Keys({keys, {'t', key::kEnter, key::kEsc, key::kEnter, key::F(10)}})));
    EXPECT_EQ(Utf(Stored().first_names()), "Adam");
    EXPECT_EQ(Log(), std::vector<std::string>{"PKPRAC |IMIEX_"});
    // Esc in the history window skips it.
    EXPECT_TRUE(ReadRemembered(*c.areas.zmprc, "000001", "IMIEX_").empty());
    EXPECT_TRUE(LockableElsewhere());
}

TEST_F(Register, EveryWayOutReleasesTheLock) {
    struct Case {
        const char* name;
        std::vector<int> keys;
    };
    const Case cases[] = {
        {"no update", Keys({{'1', key::kEnter}, Times(kPages, key::kPgDn), {'n', key::kEnter}})},
        {"esc unchanged", Keys({Open(), {key::kPgDn, key::kEsc}})},
        {"last page unchanged", Keys({Open(), Through(), {key::kEnter}})},
        {"changes refused",
         Keys(
             {Open(), {key::kDown, key::Ctrl('y')}, Typed("Adam"), Through(), {'n', key::kEnter}})},
    };
    for (const Case& cs : cases) {
        EXPECT_TRUE(Run(Keys({cs.keys, {key::F(10)}}))) << cs.name;
        EXPECT_TRUE(LockableElsewhere()) << cs.name;
        EXPECT_EQ(Utf(Stored().first_names()), "Jan") << cs.name;
        EXPECT_TRUE(Log().empty()) << cs.name;
    }
}

TEST_F(Register, AnAbandonFromInsideUndoesAndReleases) {
    // A nested dialog abandons on page 3, after page 1 was written.
    c.h.rt.console().keyboard().Bind(key::F(9), [] { throw common::Abandon("stop"); });
    const std::vector<int> keys = Keys(
        {Open(), {key::kDown, key::Ctrl('y')}, Typed("Adam"), {key::kPgDn, key::kPgDn, key::F(9)}});
    c.h.backend.AddKeys(keys);
    EXPECT_THROW(UpdateEmployees(c.h.rt, *c.tables), common::Abandon);
    EXPECT_TRUE(LockableElsewhere());
    EXPECT_EQ(Utf(Stored().first_names()), "Jan");
    EXPECT_TRUE(Log().empty());
}

TEST_F(Register, EmploymentDateIsLoggedWithoutHistoryOffer) {
    ASSERT_TRUE(c.prac().Goto(recno).ok());
    {
        UpdateSession session(c.h.rt, *c.tables, c.areas, recno);
        ASSERT_TRUE(session.record().SetDate("DATA_ZATR", "20190101").ok());
        session.Save();
        // "t" to the question, a key for "Korekty zatwierdzone"; a history
        // window would wait for more.
        c.h.backend.AddKeys({'t', key::kEnter});
        EXPECT_EQ(session.Commit(), UpdateSession::Outcome::kConfirmed);
        EXPECT_TRUE(c.h.backend.exhausted());
        EXPECT_FALSE(session.locked());
    }
    EXPECT_EQ(Log(), std::vector<std::string>{"PKPRAC |DATA_ZATR"});
    const LoggedChange e = Entry("DATA_ZATR");
    EXPECT_EQ(e.entry.old_value, "2020-01-01");
    EXPECT_EQ(e.entry.new_value, "2019-01-01");
    EXPECT_TRUE(ReadRemembered(*c.areas.zmprc, "000001", "DATA_ZATR").empty());
    EXPECT_EQ(Stored().Date("DATA_ZATR"), "20190101");
}

TEST_F(Register, ARecordLockedElsewhereIsWaitedForAndNoAbandonsTheUpdate) {
    Company::Workstation w(c);
    ASSERT_TRUE(w.areas.prac->Goto(recno).ok());
    ASSERT_TRUE(w.areas.prac->RLock().ok());
    // "n" to the lock's question, a key for "Operacja skasowana".
    c.h.backend.AddKeys(Keys({Open(), {'n', key::kEnter}}));
    EXPECT_THROW(UpdateEmployees(c.h.rt, *c.tables), common::Abandon);
    EXPECT_TRUE(Log().empty());
}

TEST_F(Register, UnknownNumberIsReported) {
    ASSERT_TRUE(Run({'7', key::kEnter, key::kEnter, key::F(10)}));
    // The message was shown before the number was asked again.
    bool seen = false;
    c.h.backend.AddKeys({'7', key::kEnter});
    try {
        UpdateEmployees(c.h.rt, *c.tables);
    } catch (const console::ScriptEnded&) {
        seen = c.h.ShownRow(23).find("Brak pracownika o tym numerze") != std::string::npos;
    }
    EXPECT_TRUE(seen) << c.h.ShownRow(23);
}

TEST_F(Register, ChangedSurnameMustBeConfirmed) {
    // Esc in the window undoes the edit; F5 confirms it, other keys beep.
    const std::vector<int> refused = Keys({Open(),
                                           {key::Ctrl('y')},
                                           Typed("Kowal"),
                                           {key::kEnter, key::kEsc},
                                           Through(),
                                           {key::kEnter, key::F(10)}});
    ASSERT_TRUE(Run(refused));
    EXPECT_EQ(Utf(Stored().surname()), "Nowak");
    EXPECT_TRUE(Log().empty());

    const size_t tones = c.h.backend.tones().size();
    const std::vector<int> confirmed =
        Keys({Open(),
              {key::Ctrl('y')},
              Typed("Kowal"),
              {key::kEnter, 'x', key::F(5)},
              Through(),
              {'t', key::kEnter, key::kEsc, key::kEnter, key::F(10)}});
    ASSERT_TRUE(Run(confirmed));
    EXPECT_EQ(Utf(Stored().surname()), "Kowal");
    EXPECT_GT(c.h.backend.tones().size(), tones);
    EXPECT_EQ(Log(), std::vector<std::string>{"PKPRAC |NAZWX_"});
}

}  // namespace
}  // namespace kestrel::registry

namespace kestrel::registry {
namespace {

TEST_F(Register, F1OnTheFirstPageChangesTheCardType) {
    ASSERT_TRUE(Run(Keys({Open(), {key::F(1)}, Through(), {'t', key::kEnter, key::F(10)}})));
    EXPECT_EQ(Stored().kind(), EmployeeKind::kNonStaff);
    EXPECT_EQ(Log(), std::vector<std::string>{"PKPRAC |NIE_PRAC"});
    EXPECT_TRUE(LockableElsewhere());
    EXPECT_EQ(c.NumbersIn(kNonStaffByNumber), std::vector<std::string>{"000001"});
}

TEST_F(Register, PagesShowTheirNumberAndTheWayOn) {
    std::vector<std::string> rows;
    c.h.rt.console().keyboard().Bind(key::F(9), [&] { rows.push_back(c.h.Row(5)); });
    c.h.backend.AddKeys(Keys({Open(), {key::F(9), key::kPgDn, key::F(9)}}));
    EXPECT_THROW(UpdateEmployees(c.h.rt, *c.tables), console::ScriptEnded);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(1, 10), "<PageDown>");
    EXPECT_EQ(rows[0].substr(69, 9), "Strona: 1");
    EXPECT_EQ(rows[1].substr(1, 17), "<PageUp/PageDown>");
    EXPECT_EQ(rows[1].substr(69, 9), "Strona: 2");
    EXPECT_EQ(rows[1].substr(22, 38), "2.4. Aktualizacja zawartych informacji");
}

TEST_F(Register, InsurancePageAsksTheHealthContributionAndItsKin) {
    std::string page;
    c.h.rt.console().keyboard().Bind(key::F(9), [&] {
        for (int r = 5; r <= 20; ++r) page += c.h.Row(r) + "\n";
    });
    c.h.backend.AddKeys(Keys({Open(), Times(5, key::kPgDn), Times(2, key::kPgDn), {key::F(9)}}));
    EXPECT_THROW(UpdateEmployees(c.h.rt, *c.tables), console::ScriptEnded);
    for (const char* text :
         {"Strona: 6", "Składka:", "Stopień pokr.lub powin.:",
          "Pozostawanie we wspólnym gospodarstwie z pracodawcą:", "Data przystąpienia do NFZ:"}) {
        EXPECT_NE(page.find(text), std::string::npos) << text << "\n" << page;
    }
}

TEST_F(Register, SharedPeselOffersTheLeadingRecordWindowBeforeTheUpdate) {
    c.Register("000002", "Nowak", "Jan", EmployeeKind::kNonStaff, "85031412358");
    std::string hint, window;
    c.h.rt.console().keyboard().Bind(key::F(9), [&] { hint = c.h.Row(22); });
    c.h.rt.console().keyboard().Bind(key::F(8), [&] {
        for (int r = 5; r <= 17; ++r) window += c.h.Row(r) + "\n";
    });
    // F2 while the record is shown opens the window; Enter marks 000001,
    // F10 writes the mark.
    ASSERT_TRUE(
        Run(Keys({{'1', key::kEnter, key::F(9), key::F(2), key::kEnter, key::F(8), key::F(10)},
                  Times(kPages, key::kPgDn),
                  {'n', key::kEnter, key::F(10)}})));
    EXPECT_NE(hint.find(" <F2>-Identyfikacja pracowników z identycznym PESEL-em "),
              std::string::npos)
        << hint;
    EXPECT_NE(window.find("Wykaz pracowników z takim samym PESELEM"), std::string::npos) << window;
    const auto records = PeselRecords(c.prac(), "85031412358");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_TRUE(records[0].leading);
}

}  // namespace
}  // namespace kestrel::registry

namespace kestrel::registry {
namespace {

TEST_F(Register, RecordStaysLockedWhileThePagesRun) {
    // Looked at on page 1, after the PESEL search of the page, and on page 6,
    // after the title list wrote its lines.
    std::vector<bool> lockable;
    c.h.rt.console().keyboard().Bind(key::F(9), [&] { lockable.push_back(LockableElsewhere()); });
    ASSERT_TRUE(Run(Keys({Open(),
                          {key::F(9)},
                          Times(5, key::kPgDn),
                          Times(2, key::kPgDn),
                          {key::F(9), key::kEsc, key::F(10)}})));
    EXPECT_EQ(lockable, (std::vector<bool>{false, false}));
    EXPECT_TRUE(LockableElsewhere());
}

}  // namespace
}  // namespace kestrel::registry

namespace kestrel::registry {
namespace {

TEST_F(Register, F8OnAnAllowanceLineAsksNamingItsSymbol) {
    c.h.backend.AddKeys(Keys({Open(),
                              Times(5, key::kPgDn),
                              {key::kPgDn},  // the stored title line kept
                              {key::kPgDn},  // an empty line ends the list
                              Times(3, key::kPgDn),
                              {key::Ctrl('y'), '1', key::kEnter, key::F(8)}}));
    EXPECT_THROW(UpdateEmployees(c.h.rt, *c.tables), console::ScriptEnded);
    EXPECT_NE(c.h.ShownRow(23).find("Kasować symbol \"DFUN\"? [t,n] N"), std::string::npos)
        << c.h.ShownRow(23);
    // Abandoned there: nothing removed, nothing locked.
    EXPECT_EQ(ReadAllowances(*c.areas.dod, "000001").size(), 2u);
    EXPECT_TRUE(LockableElsewhere());
}

}  // namespace
}  // namespace kestrel::registry
