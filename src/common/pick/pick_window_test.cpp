#include "common/pick/pick_window.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/pick/tax_office_pick.h"
#include "common/screen/form.h"
#include "common/tables/table_catalogue.h"
#include "headless_runtime.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/keys.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using dbf::testing::ScratchDir;

std::string Cp(std::string_view utf8) {
    return codepage::FromUtf8(utf8);
}

// Keys typed as text (CP852 bytes).
std::vector<int> Typed(std::string_view utf8) {
    std::vector<int> keys;
    for (unsigned char c : Cp(utf8)) keys.push_back(c);
    return keys;
}

struct Company {
    ScratchDir dir;
    testing::HeadlessRuntime h;
    Tables tables{h.rt};

    Company() { h.rt.set_data_dir(dir.path() + "/"); }

    dbf::WorkArea& Create(const char* table, std::vector<std::string> indexes) {
        EXPECT_TRUE(
            dbf::Table::Create(dir.File(std::string(table) + ".DBF"), FindTable(table)->Specs())
                .ok());
        return tables.Open(table, std::move(indexes));
    }
    // PKURZ with the given (symbol, name, official code) rows.
    dbf::WorkArea& Offices(const std::vector<std::vector<std::string>>& rows) {
        dbf::WorkArea& urz = Create("PKURZ", {"PKURZ1", "PKURZ2"});
        for (const auto& r : rows)
            Add(urz,
                {{"URZ_SKARB", r[0]}, {"NAZWA_", r[1]}, {"KOD_URZEDU", r.size() > 2 ? r[2] : ""}});
        return urz;
    }
    void Add(dbf::WorkArea& a, const std::vector<std::pair<std::string, std::string>>& values) {
        tables.Append(a);
        for (const auto& [field, value] : values)
            EXPECT_TRUE(a.record().SetString(a.FieldIndex(field), Cp(value)).ok()) << field;
        EXPECT_TRUE(a.Commit().ok());
        EXPECT_TRUE(a.Unlock().ok());
    }
    void Keys(const std::vector<int>& keys) { h.backend.AddKeys(keys); }
    // What the window put into the keyboard buffer for the calling field.
    std::string TypedBack() {
        std::string out;
        auto& kb = h.con.keyboard();
        while (auto k = kb.Take())
            out += *k == key::kHome       ? std::string("<Home>")
                   : *k == key::Ctrl('y') ? std::string("<^Y>")
                                          : std::string(1, char(*k));
        return codepage::ToUtf8(out);
    }
    // F12 pressed while a message waits captures the message row.
    std::vector<std::string> messages;
    void CaptureMessagesOnF12() {
        h.con.keyboard().Bind(key::F(12), [this] { messages.push_back(h.Row(23).substr(1, 38)); });
    }
};

using base::TrimRight;

// Visible records of `a` in its order: the codes of field `field`.
std::vector<std::string> VisibleCodes(dbf::WorkArea& a, const char* field) {
    std::vector<std::string> out;
    bool ok = a.GoTop().ok();
    while (ok && !a.eof()) {
        out.push_back(TrimRight(a.record().GetString(a.FieldIndex(field))));
        ok = a.Skip(1).ok();
    }
    EXPECT_TRUE(ok);
    return out;
}

std::vector<std::vector<std::string>> Numbered(int n) {
    std::vector<std::vector<std::string>> rows;
    for (int i = 1; i <= n; ++i) {
        char code[12];
        std::snprintf(code, sizeof code, "%02d", i);
        rows.push_back({code, "Urząd " + std::to_string(i)});
    }
    return rows;
}

TEST(TaxOfficePick, CalledFromAFieldSeeksWhatWasTypedAndReplacesItWithThePickedCode) {
    Company c;
    c.Offices({{"10", "Pierwszy"}, {"20", "Drugi"}, {"30", "Trzeci"}, {"40", "Czwarty"}});
    int f11 = 0;
    c.h.con.keyboard().Bind(key::F(11), [&] { ++f11; });
    std::string symbol(4, ' '), other(5, ' ');
    Form form(c.h.rt);
    form.Get(5, 20, &symbol, "@!");
    form.Get(6, 20, &other);
    c.h.con.keyboard().Bind(key::F(3), [&] { PickTaxOffice(c.h.rt, c.tables, form.Typed()); });
    // "3 X" sought softly lands on "30", which replaces the whole field;
    // F11 is not the caller's inside the window.
    c.Keys({'3', ' ', 'x', key::F(3), key::F(11), key::kEnter, key::Ctrl('w')});
    ASSERT_TRUE(form.Read().saved());
    EXPECT_EQ(symbol, "30  ");
    EXPECT_EQ(other, "     ");
    EXPECT_EQ(f11, 0);
    EXPECT_TRUE(c.h.con.keyboard().IsBound(key::F(11)));
    EXPECT_TRUE(c.h.con.keyboard().IsBound(key::F(3)));
}

TEST(TaxOfficePick, ShowsItsLegendsAndColumnsAndPutsTheScreenBack) {
    Company c;
    c.Offices(Numbered(3));
    c.h.con.screen().Write(15, 40, "under", console::MakeAttr(7, 0));
    std::vector<std::string> seen;
    c.h.con.keyboard().Bind(key::F(12), [&] {
        seen = {c.h.At(9, 35, 13),  c.h.At(9, 58, 18),  c.h.At(10, 36, 13), c.h.At(10, 57, 20),
                c.h.At(11, 30, 48), c.h.At(13, 30, 20), c.h.At(8, 29, 1),   c.h.At(22, 79, 1)};
    });
    c.Keys({key::F(12), key::kEsc});
    EXPECT_FALSE(PickTaxOffice(c.h.rt, c.tables, ""));
    ASSERT_EQ(seen.size(), 8u);
    EXPECT_EQ(seen[0], "<Esc>-Wyjście");
    EXPECT_EQ(seen[1], "<Enter>-Akceptacja");
    EXPECT_EQ(seen[2], "<F2>-Szukanie");
    EXPECT_EQ(seen[3], "<Insert>-Nowy rekord");
    EXPECT_EQ(TrimRight(seen[4]), "URZ.SK. │ NAZWA" + std::string(25, ' ') + " │ KOD");
    EXPECT_EQ(seen[5], "01      │ Urząd 1   ");
    EXPECT_EQ(seen[6], "╔");
    EXPECT_EQ(seen[7], "╝");
    EXPECT_EQ(c.h.At(15, 40, 5), "under");
    EXPECT_EQ(c.TypedBack(), "");
}

TEST(TaxOfficePick, NavigationStopsAtBothEndsOfTheTable) {
    Company c;
    c.Offices(Numbered(25));
    c.Keys({key::kUp, key::kPgUp, key::kUp, key::kEnter});
    EXPECT_TRUE(PickTaxOffice(c.h.rt, c.tables, ""));
    EXPECT_EQ(c.TypedBack(), "<Home><^Y>01");
    c.Keys({key::kCtrlPgDn, key::kDown, key::kPgDn, key::kDown, key::kEnter});
    EXPECT_TRUE(PickTaxOffice(c.h.rt, c.tables, ""));
    EXPECT_EQ(c.TypedBack(), "<Home><^Y>25");
    // From the last record one step back is the one before it.
    c.Keys({key::kPgDn, key::kPgDn, key::kPgDn, key::kUp, key::kEnter});
    EXPECT_TRUE(PickTaxOffice(c.h.rt, c.tables, "20"));
    EXPECT_EQ(c.TypedBack(), "<Home><^Y>24");
}

TEST(TaxOfficePick, EnterOnAnEmptyDictionaryBeepsAndKeepsTheWindowOpen) {
    Company c;
    c.Offices({});
    c.Keys({key::kEnter, key::kEsc});
    EXPECT_FALSE(PickTaxOffice(c.h.rt, c.tables, "01"));
    EXPECT_TRUE(c.h.backend.exhausted());  // Esc was read by the window
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
    EXPECT_EQ(c.TypedBack(), "");
}

TEST(TaxOfficePick, AnAbandonedNewRecordInAnEmptyDictionaryLeavesItEmpty) {
    Company c;
    dbf::WorkArea& urz = c.Offices({});
    c.Keys({key::kIns, '0', '7', key::kEnter, key::kEsc, key::kEnter, key::kEsc});
    EXPECT_FALSE(PickTaxOffice(c.h.rt, c.tables, ""));
    EXPECT_EQ(c.TypedBack(), "");  // Enter met an empty window again
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
    EXPECT_EQ(urz.table().record_count(), 1u);
    EXPECT_TRUE(VisibleCodes(urz, "URZ_SKARB").empty());
}

TEST(TaxOfficePick, SearchFindsFragmentsFromTheStartAndFromTheNextPosition) {
    Company c;
    c.Offices({{"01", "Urząd Skarbowy w Łodzi"},
               {"02", "Urząd Skarbowy Kraków"},
               {"03", "Drugi urząd skarbowy w łodzi"},
               {"04", "Urząd Skarbowy Gdańsk"}});
    c.CaptureMessagesOnF12();
    std::vector<int> keys = {key::F(2)};
    for (int k : Typed("łodzi")) keys.push_back(k);
    // First from the beginning; then F1 switches to the next position.
    keys.insert(keys.end(), {key::kEnter, key::F(2), key::F(1), key::kEnter, key::kEnter});
    c.Keys(keys);
    EXPECT_TRUE(PickTaxOffice(c.h.rt, c.tables, "04"));
    EXPECT_EQ(c.TypedBack(), "<Home><^Y>03");
    EXPECT_TRUE(c.messages.empty());
}

TEST(TaxOfficePick, SearchWithNoFurtherMatchSaysSoAndStaysWhereItWas) {
    Company c;
    c.Offices({{"01", "Urząd Skarbowy w Łodzi"},
               {"02", "Urząd Skarbowy Kraków"},
               {"03", "Drugi urząd skarbowy w łodzi"},
               {"04", "Urząd Skarbowy Gdańsk"}});
    c.CaptureMessagesOnF12();
    std::vector<int> keys = {key::F(2), key::F(1)};
    for (int k : Typed("łodzi")) keys.push_back(k);
    // From the next position: 03, then nothing after it.
    keys.insert(keys.end(), {key::kEnter, key::F(2), key::kEnter, key::F(12), ' ', key::kEnter});
    c.Keys(keys);
    EXPECT_TRUE(PickTaxOffice(c.h.rt, c.tables, "01"));
    EXPECT_EQ(c.TypedBack(), "<Home><^Y>03");
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(TrimRight(c.messages[0]), "Brak takiego klucza");
}

TEST(TaxOfficePick, F1InTheSearchBoxSwitchesTheKindOfSearchAndRedrawsTheBox) {
    Company c;
    c.Offices(Numbered(3));
    c.h.con.keyboard().Bind(key::F(12), [&] {
        c.messages.push_back(c.h.At(13, 19, 36) + "|" + c.h.At(14, 25, 24) + "|" +
                             c.h.At(15, 20, 12));
    });
    c.Keys({key::F(2), key::F(12), key::F(1), key::F(12), key::F(1), key::F(12), key::kEsc,
            key::kEsc});
    EXPECT_FALSE(PickTaxOffice(c.h.rt, c.tables, ""));
    const std::string rest = "| <F1>-Inny typ szukania |Fragm.nazwy:";
    EXPECT_EQ(c.messages,
              (std::vector<std::string>{"     Szukanie od początku zbioru    " + rest,
                                        "    Szukanie od NASTĘPNEJ POZYCJI   " + rest,
                                        "     Szukanie od początku zbioru    " + rest}));
}

TEST(TaxOfficePick, EscInTheSearchBoxBeepsAndSearchesNothing) {
    Company c;
    c.Offices(Numbered(3));
    c.Keys({key::F(2), 'U', key::kEsc, key::kEnter});
    EXPECT_TRUE(PickTaxOffice(c.h.rt, c.tables, "02"));
    EXPECT_EQ(c.TypedBack(), "<Home><^Y>02");
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
}

TEST(TaxOfficePick, ASingleCharacterCodeIsStoredWithALeadingZero) {
    Company c;
    dbf::WorkArea& urz = c.Offices(Numbered(3));
    std::vector<int> keys = {key::kIns, '5', key::kEnter, key::kEnter};
    for (int k : Typed("Nowy urząd")) keys.push_back(k);
    keys.insert(keys.end(), {key::Ctrl('w'), key::kEnter});
    c.Keys(keys);
    EXPECT_TRUE(PickTaxOffice(c.h.rt, c.tables, ""));
    EXPECT_EQ(c.TypedBack(), "<Home><^Y>05");  // the new record is the current one
    EXPECT_EQ(VisibleCodes(urz, "URZ_SKARB"), (std::vector<std::string>{"01", "02", "03", "05"}));
    EXPECT_TRUE(urz.Seek("05").ok() && urz.found());
    EXPECT_EQ(TrimRight(urz.record().GetString(urz.FieldIndex("NAZWA_"))), Cp("Nowy urząd"));
}

TEST(TaxOfficePick, AnExistingCodeIsRefused) {
    Company c;
    dbf::WorkArea& urz = c.Offices(Numbered(3));
    c.CaptureMessagesOnF12();
    c.Keys({key::kIns, '0', '2', key::F(12), ' ', key::kEnter});
    EXPECT_TRUE(PickTaxOffice(c.h.rt, c.tables, "03"));
    EXPECT_EQ(c.TypedBack(), "<Home><^Y>03");  // still where the window stood
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(TrimRight(c.messages[0]), "Istnieje rekord o takim kluczu");
    EXPECT_EQ(urz.table().record_count(), 3u);
}

TEST(TaxOfficePick, EscInANewRecordLeavesNothingVisibleAndTheCodeIsReusedLater) {
    Company c;
    dbf::WorkArea& urz = c.Offices(Numbered(3));
    std::vector<int> keys = {key::kIns, '0', '7', key::kEnter, 'X', key::kEsc, key::kEnter};
    c.Keys(keys);
    EXPECT_TRUE(PickTaxOffice(c.h.rt, c.tables, "02"));
    EXPECT_EQ(c.TypedBack(), "<Home><^Y>02");  // the window stayed where it was
    EXPECT_EQ(VisibleCodes(urz, "URZ_SKARB"), (std::vector<std::string>{"01", "02", "03"}));
    EXPECT_EQ(urz.table().record_count(), 4u);

    keys = {key::kIns, '0', '7', key::kEnter};
    for (int k : Typed("Siódmy")) keys.push_back(k);
    keys.insert(keys.end(), {key::Ctrl('w'), key::kEsc});
    c.Keys(keys);
    EXPECT_FALSE(PickTaxOffice(c.h.rt, c.tables, ""));
    EXPECT_EQ(urz.table().record_count(), 4u);  // the deleted record was taken again
    EXPECT_EQ(VisibleCodes(urz, "URZ_SKARB"), (std::vector<std::string>{"01", "02", "03", "07"}));
    ASSERT_TRUE(urz.Goto(4).ok());
    EXPECT_FALSE(urz.deleted());
    EXPECT_EQ(TrimRight(urz.record().GetString(urz.FieldIndex("NAZWA_"))), Cp("Siódmy"));
}

TEST(TaxOfficePick, TheOfficialCodeMustBeListedAndNotUsedByAnotherOffice) {
    Company c;
    dbf::WorkArea& urz = c.Offices({{"01", "Urząd pierwszy", "1472"}});
    dbf::WorkArea& list = c.Create("PKKDURZ", {"PKKDURZ1"});
    c.Add(list, {{"KOD_URZEDU", "1471"}, {"NAZWA_URZ", "URZĄD SKARBOWY ŁÓDŹ-BAŁUTY W ŁODZI"}});
    c.Add(list, {{"KOD_URZEDU", "1472"}, {"NAZWA_URZ", "URZĄD SKARBOWY ŁÓDŹ-GÓRNA"}});
    c.CaptureMessagesOnF12();
    c.Keys({key::kIns, '0', '2',        '9', '9',
            '9',       '9', key::F(12), ' ',  // not in the list
            '1',       '4', '7',        '2', key::F(12),
            ' ',  // another office has it
            '1',       '4', '7',        '1', key::Ctrl('w'),
            key::kEsc});
    EXPECT_FALSE(PickTaxOffice(c.h.rt, c.tables, ""));
    ASSERT_EQ(c.messages.size(), 2u);
    EXPECT_EQ(TrimRight(c.messages[0]), "Brak takiego kodu w wykazie urzędów");
    EXPECT_EQ(TrimRight(c.messages[1]), "Istnieje Urząd o takim kodzie");
    ASSERT_TRUE(urz.Seek("02").ok() && urz.found());
    EXPECT_EQ(urz.record().GetString(urz.FieldIndex("KOD_URZEDU")), "1471");
    EXPECT_EQ(urz.record().GetString(urz.FieldIndex("NAZWA_")),
              Cp("URZĄD SKARBOWY ŁÓDŹ-BAŁUTY W Ł"));
}

}  // namespace
}  // namespace kestrel::common
