#include "insurance/record_browse.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/console/colour.h"
#include "test_company.h"

namespace kestrel::insurance {
namespace {

namespace key = console::key;
using registry::testing::TestCompany;
using V = std::vector<std::string>;

constexpr int kCtrlY = 25;
constexpr int kFirstRow = 8;  // the first data row of the browse

// December 2026 is the system month; 000001 has a record of November too,
// 000002 a record locked against the transfer.
std::string Amount(const std::string& stored) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", std::atof(stored.c_str()));
    return buf;
}

struct Contributions : TestCompany {
    Contributions() {
        Make("PKSTER", {{{"ROK_", "2026"}, {"MC_", "12"}}});
        Make("PKSKLAD",
             {{{"NR_PRAC", "000001"}, {"ROK_", "2026"}, {"MC_", "11"}, {"TYT_UBEZP", "011000"}},
              {{"NR_PRAC", "000001"},
               {"ROK_", "2026"},
               {"MC_", "12"},
               {"TYT_UBEZP", "011000"},
               {"PODSTAWA_", "5000"},
               {"UMOWA_DEKL", "U"}},
              {{"NR_PRAC", "000002"},
               {"ROK_", "2026"},
               {"MC_", "12"},
               {"TYT_UBEZP", "011000"},
               {"NIE_AKT_62", "T"}}});
    }

    void Run(bool correction = true) {
        tables.CloseAll();
        try {
            BrowseRecords(h.rt, RecordKind::kContributions, "6.3.2. Korekta składek", correction);
        } catch (...) {
            for (int r = 0; r < 25; ++r) printf("%2d|%s\n", r, h.ShownRow(r).c_str());
            throw;
        }
        EXPECT_TRUE(h.backend.exhausted());
    }

    // "NR_PRAC/MC_: value K" of every record, K when KOREKTA_ is set.
    V Stored(const char* field, bool number = true) {
        const V prac = Records("PKSKLAD", "NR_PRAC"), mc = Records("PKSKLAD", "MC_"),
                value = Records("PKSKLAD", field), kor = Records("PKSKLAD", "KOREKTA_");
        V out;
        for (size_t i = 0; i < prac.size(); ++i)
            out.push_back(prac[i] + "/" + mc[i] + ": " + (number ? Amount(value[i]) : value[i]) +
                          (kor[i] == "T" ? " K" : ""));
        return out;
    }
};

// Enter edits the cell in place: a changed amount is stored and marks the
// record corrected; the same value typed again changes nothing; a negative
// amount and a letter outside U/D are refused (the cursor stays, Esc
// leaves the record as it was).
TEST(RecordBrowse, CorrectionsSetKorektaOnlyWhenTheValueChanges) {
    Contributions c;
    // The browse opens on 000001's December record; PODSTAWA_ is column 5.
    c.Keys({key::kRight, key::kRight, key::kRight, key::kRight, key::kEnter, kCtrlY});
    c.Keys("6000");
    c.Keys({key::kEnter});
    c.Keys({key::kDown, key::kEnter, key::kEnter});  // 000002: 0 kept
    c.Keys({key::kEnter, kCtrlY});
    c.Keys("-5");
    c.Keys({key::kEnter, key::kEsc});  // refused, then left
    c.Keys({key::kLeft, key::kEnter});
    c.Keys("X");  // typed out: refused
    c.Keys({key::kEsc});
    c.Keys({key::kEsc});
    c.Run();
    EXPECT_EQ(c.Stored("PODSTAWA_"),
              (V{"000001/11: 0.00", "000001/12: 6000.00 K", "000002/12: 0.00"}));
    EXPECT_EQ(c.Records("PKSKLAD", "UMOWA_DEKL"), (V{"", "U", ""}));
    EXPECT_EQ(c.h.backend.tones().size(), 2u);  // the two refusals
}

// A logical cell and a choice cell: the lock flag set by hand is a change
// like any other; "d" becomes "D".
TEST(RecordBrowse, LogicalAndChoiceCells) {
    Contributions c;
    c.Keys({key::kRight, key::kRight, key::kRight, key::kEnter});
    c.Keys("d");  // typed out: stored
    c.Keys({key::kCtrlEnd, key::kEnter});
    c.Keys("T");
    c.Keys({key::kEsc});
    c.Run();
    EXPECT_EQ(c.Records("PKSKLAD", "UMOWA_DEKL"), (V{"", "D", ""}));
    EXPECT_EQ(c.Stored("NIE_AKT_62", false), (V{"000001/11: ", "000001/12: T K", "000002/12: T"}));
}

// A record of another month is neither corrected nor deleted; Del of the
// current month's record deletes it after the question.
TEST(RecordBrowse, OnlyTheSystemMonthIsChanged) {
    Contributions c;
    c.Keys({key::kUp, key::kEnter, key::F(12), key::kEnter, key::kDel, key::F(12), key::kEnter});
    c.Keys({key::kDown, key::kDown, key::kDel});
    c.Keys("t");
    c.Keys({key::kEsc});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Błędny miesiąc", "Błędny miesiąc"}));
    EXPECT_EQ(c.Records("PKSKLAD", "NR_PRAC"), (V{"000001", "000001", "000002*"}));
}

// The record is locked while its cell is edited: another workstation
// cannot lock it then, and can once the value is stored.
TEST(RecordBrowse, TheRecordIsLockedWhileEdited) {
    Contributions c;
    kestrel::testing::HeadlessRuntime other;
    other.rt.set_data_dir(c.dir.path() + "/");
    std::vector<bool> held;
    std::unique_ptr<common::Tables> t;
    c.h.con.keyboard().Bind(key::F(11), [&] {
        if (!t) t = std::make_unique<common::Tables>(other.rt);
        dbf::WorkArea& a = t->Open("PKSKLAD", {"PKSKLAD1"});
        EXPECT_TRUE(a.Seek("202612000001").ok() && a.found());
        const base::Status s = a.RLock();
        a.Unlock();
        held.push_back(!s.ok());
    });
    c.Keys({key::kRight, key::kRight, key::kRight, key::kRight, key::kEnter, key::F(11), kCtrlY});
    c.Keys("7000");
    c.Keys({key::kEnter, key::F(11), key::kEsc});
    c.Run();
    EXPECT_EQ(held, (std::vector<bool>{true, false}));
    EXPECT_EQ(c.Stored("PODSTAWA_")[1], "000001/12: 7000.00 K");
}

// Locked rows are drawn in the fifth colour pair, the others in the first;
// amounts in European notation.
TEST(RecordBrowse, LockedRowsHaveTheirColourAndAmountsTheirPicture) {
    Contributions c;
    console::Attr locked{}, plain{};
    std::string amount;
    c.h.con.keyboard().Bind(key::F(11), [&] {
        // November's record stands above the current one.
        plain = c.h.con.screen().At(kFirstRow + 1, 12).attr;
        locked = c.h.con.screen().At(kFirstRow + 2, 12).attr;
        amount = c.h.At(kFirstRow + 1, 35, 14);
    });
    c.Keys({key::F(11), key::kEsc});  // the current cell is in the first column
    c.Run();
    const console::ColourSpec spec = *console::ParseColourSpec(c.h.rt.colours().ycow2);
    ASSERT_NE(spec.standard, spec.unselected);
    EXPECT_EQ(plain, spec.standard);
    EXPECT_EQ(locked, spec.unselected);
    EXPECT_EQ(amount, "      5.000,00");
}

// Without rights kind 3 Enter is refused; the browse entry never offers
// correction.
TEST(RecordBrowse, CorrectionNeedsTheRight) {
    Contributions c;
    c.h.rt.operators() = {true, "JAN ", 32};  // kind 6 only
    c.Keys({key::kRight, key::kRight, key::kRight, key::kRight, key::kEnter, key::F(12)});
    c.Keys({key::kEnter, key::kEsc});
    c.Run();
    EXPECT_EQ(c.messages.size(), 1u);
    c.h.rt.operators() = {true, "JAN ", 4};
    c.Keys({key::kRight, key::kRight, key::kRight, key::kRight, key::kEnter, key::kEsc});
    c.Run(false);
    EXPECT_EQ(c.Stored("PODSTAWA_")[1], "000001/12: 5000.00");
    EXPECT_EQ(c.h.backend.tones().size(), 2u);  // the refusal, the beep
}

}  // namespace
}  // namespace kestrel::insurance
