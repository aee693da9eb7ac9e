#include "payroll/recalc_screen.h"

#include <gtest/gtest.h>

#include "payroll/data/payroll_parameters.h"
#include "platform/dbf/index.h"
#include "recalc_company.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;
using testing::RecalcCompany;
using V = std::vector<std::string>;

struct ScreenCompany : RecalcCompany {
    ScreenCompany() {
        Comp("ZASA", "A", 10, "100");
        Add("PKDZIAL", {{"DZIAL_", "ADM"}, {"NAZWA_", "Administracja"}});
        Worker("000001", {{"DZIAL_", "ADM"}});
        Worker("000002", {{"DZIAL_", "HAND"}});
        tables.CloseAll();
    }
    void Run() {
        Qrm45(h.rt);
        tables.CloseAll();
    }
};

// A key typed ahead is looked at before each employee (is it Esc?), and
// the last message empties the type-ahead buffer: the tests give the key
// that acknowledges it twice. Keys typed ahead with Esc are thrown away;
// Pause() marks where the operator waits for the question before answering
// (the keys before it were typed ahead).
void Pause(ScreenCompany& c) {
    ASSERT_TRUE(c.h.backend.AddScript("{screen question}").ok());
}

// The message that ends the procedure, as the operator saw it while the
// program waited for his key.
std::string Last(ScreenCompany& c) {
    return base::TrimRight(c.h.ShownRow(23).substr(1, 38));
}

// Esc during the run asks "Przerwać przeliczanie?": "n" goes on with the
// same employee and every employee is computed; "t" ends the run there.
TEST(RecalcScreen, EscAnsweredNoGoesOnAndYesStops) {
    {
        ScreenCompany c;
        c.Keys({key::kEnter, 't', key::kEsc});
        Pause(c);
        c.Keys({'n', key::kEnter, key::kEnter});
        c.Run();
        EXPECT_EQ(c.Placed(), (V{"000001 ZASA 100.00", "000002 ZASA 100.00"}));
        EXPECT_EQ(Last(c), "Koniec procedury");
        EXPECT_EQ(c.h.ShownRow(14).substr(2, 10), "Pracownik:");
        EXPECT_EQ(base::TrimRight(c.h.ShownRow(14).substr(41)), "000002");
        EXPECT_EQ(base::TrimRight(c.h.ShownRow(16).substr(2, 19)), "Składnik płacowy:");
        EXPECT_EQ(c.h.ShownRow(21).substr(2, 16), "<Esc>-Przerwanie");
    }
    {
        ScreenCompany c;
        c.Keys({key::kEnter, 't', key::kEsc});
        Pause(c);
        c.Keys({'t', key::kEnter});
        c.Run();
        EXPECT_EQ(c.Placed(), V{});
        EXPECT_EQ(Last(c), "Koniec procedury");
    }
}

// Keys typed ahead with Esc do not answer "Przerwać przeliczanie?": the
// "t" typed before the question stood is thrown away and the "n" pressed
// after it goes on.
TEST(RecalcScreen, KeysTypedAheadWithEscDoNotAnswerTheQuestion) {
    ScreenCompany c;
    c.Keys({key::kEnter, 't', key::kEsc, 't', 't'});
    Pause(c);
    c.Keys({'n', key::kEnter, key::kEnter});
    c.Run();
    EXPECT_EQ(c.Placed(), (V{"000001 ZASA 100.00", "000002 ZASA 100.00"}));
    EXPECT_EQ(Last(c), "Koniec procedury");
}

// An index of the valorisation table of the old form (the month not zero
// padded) refuses the recalculation before anything is opened: the index
// file is not rebuilt, nothing is computed and the month's flags stay.
TEST(RecalcScreen, AnOutdatedValorisationIndexRefusesBeforeAnythingIsWritten) {
    ScreenCompany c;
    c.Add("PKWALOR", {{"ROK_", "2026"}, {"MIESIAC_", "2"}, {"PR_WALOR", "1.5"}});
    {
        dbf::WorkArea& a = c.tables.Open("PKSTER");
        ASSERT_TRUE(a.GoTop().ok());
        c.tables.RLock(a);
        ASSERT_TRUE(a.record().SetLogical(a.FieldIndex("AKT_ZUS"), true).ok());
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
    }
    c.tables.CloseAll();
    {
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(c.dir.File("PKWALOR.DBF"), {}, &t).ok());
        dbf::IndexDefinition def;
        def.key_expression = "str(rok_,4)+str(miesiac_,2)";
        def.key = [](const dbf::Record&, std::string* key) { *key = "2026 2"; };
        ASSERT_TRUE(dbf::Index::Create(c.dir.File("PKWALOR1.NTX"), t.get(), def).ok());
        ASSERT_TRUE(t->Close().ok());
    }
    c.Keys({key::F(12), key::kEnter, key::kEnter, 't', key::kEnter, key::kEnter});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Błędny indeks PKWALOR"}));
    EXPECT_TRUE(ValorisationIndexOutdated(c.h.rt.data_dir()));
    EXPECT_EQ(c.Placed(), V{});
    EXPECT_EQ(c.Records("PKSTER", "AKT_ZUS"), V{"T"});
}

// The header, the list, the open mode, the scope question; Esc leaves
// without computing anything.
TEST(RecalcScreen, TheDialogueAndEscAtTheScope) {
    ScreenCompany c;
    c.Keys({key::kEsc});
    c.Run();
    EXPECT_EQ(base::TrimRight(c.h.Row(5).substr(22)), "4.5. Przeliczanie listy płac");
    EXPECT_EQ(base::TrimRight(c.h.Row(6).substr(2)), "Lista płac:    1/A /03/2026 (10.03.2026)");
    EXPECT_EQ(base::TrimRight(c.h.Row(21).substr(2)),
              "Zbiory PKPLACE i PKCZAS otwarte w trybie \"na wyłączność\"");
    EXPECT_EQ(base::TrimRight(c.h.Row(11).substr(2)),
              "Typ przeliczania: 1   ( 1 - całość, 2 - tylko jeden dział, 3 - wg zestawu )");
    EXPECT_EQ(c.Placed(), V{});
}

// Shared recalculation allowed: the operator answers "n" and the tables
// are shared; with locked employee records the texts name PKPRAC.
TEST(RecalcScreen, SharedModeIsStated) {
    ScreenCompany c;
    c.h.rt.config().Set("NAGLWDLP", memfile::MemValue::Logical(true));
    c.h.rt.config().Set("NAGLBLK", memfile::MemValue::Logical(true));
    c.Keys({'n', key::kEsc});
    c.Run();
    EXPECT_EQ(base::TrimRight(c.h.Row(21).substr(2)),
              "Możliwy wielodostęp do zbiorów PKPLACE, PKCZAS i PKPRAC");
}

// One department: a department that does not exist is refused and asked
// again; only the department's employees are computed.
TEST(RecalcScreen, OneDepartment) {
    ScreenCompany c;
    c.Keys({'2', 'X', 'X', key::kEnter, key::F(12), key::kEnter, 'A', 'D', 'M', key::kEnter, 't',
            key::kEnter, key::kEnter});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Błędny dział"}));
    EXPECT_EQ(Last(c), "Koniec procedury");
    EXPECT_EQ(c.Placed(), (V{"000001 ZASA 100.00"}));
}

// A refusal of the checks is shown and nothing is asked.
TEST(RecalcScreen, ARefusalIsShown) {
    ScreenCompany c;
    {
        dbf::WorkArea& a = c.tables.Open("PKSTER");
        ASSERT_TRUE(a.GoTop().ok());
        c.tables.RLock(a);
        ASSERT_TRUE(a.record().SetNumber(a.FieldIndex("MC_"), 4).ok());
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
        c.tables.CloseAll();
    }
    c.Keys({key::F(12), key::kEnter, key::kEsc});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Rok/Miesiac niezgodne z PKSTER"}));
    EXPECT_EQ(c.Placed(), V{});
}

}  // namespace
}  // namespace kestrel::payroll
