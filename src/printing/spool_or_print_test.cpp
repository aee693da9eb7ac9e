#include "printing/spool_or_print.h"

#include <gtest/gtest.h>

#include "printing/spool_test_support.h"

namespace kestrel::printing {
namespace {

using testing::SpoolCompany;
namespace key = console::key;
using memfile::MemValue;

class SpoolOrPrintTest : public ::testing::Test {
  protected:
    SpoolOrPrintEnd Run(const std::vector<int>& keys) {
        c.Keys(keys);
        SpoolOrPrintOptions options;
        options.show_spool = false;
        options.hooks = c.hooks;
        return SpoolOrPrint(
            c.h.rt, registry::testing::Cp("Karta czasu pracy"),
            [this](PrintOutput& out) {
                ++blocks;
                out.Say(0, 0, "STRONA 1");
                out.Eject();
                out.Say(0, 0, "STRONA 2");
            },
            options);
    }
    void Set(const char* name, const char* value) {
        c.h.rt.config().Set(name, MemValue::Char(value));
    }
    SpoolCompany c;
    int blocks = 0;
};

TEST_F(SpoolOrPrintTest, PortZeroSpoolsToTheFirstFreeDigitAndRegistersTheFile) {
    Set("NAGLNDR", "0");
    ASSERT_TRUE(base::WriteFileAtomically(c.dir.File("0.PRT"), "someone's").ok());
    EXPECT_EQ(Run({key::kEnter, key::kEnter}), SpoolOrPrintEnd::kSpooled);
    EXPECT_NE(c.h.ShownRow(13).find("Drukarka: LASER (typ=\"E\",do pliku)"), std::string::npos);
    EXPECT_NE(c.h.ShownRow(15).find("Wydruk zapisywany będzie do zbioru: 1.PRT"),
              std::string::npos);
    EXPECT_EQ(c.Contents("1.PRT"), "STRONA 1\fSTRONA 2");
    EXPECT_EQ(c.Contents("0.PRT"), "someone's");
    EXPECT_EQ(c.Records("PKLWYD", "NAZWA_ZB"), (std::vector<std::string>{"1.PRT"}));
    EXPECT_EQ(c.Records("PKLWYD", "IL_STRON"), (std::vector<std::string>{"   2"}));
    EXPECT_EQ(c.Records("PKLWYD", "TYTUL_"), (std::vector<std::string>{"Karta czasu pracy"}));
    EXPECT_EQ(c.Records("PKLWYD", "CZAS_"), (std::vector<std::string>{"09:30"}));
    EXPECT_TRUE(c.delivered.empty());
}

TEST_F(SpoolOrPrintTest, TenTakenSpoolFilesStopThePrintOut) {
    Set("NAGLTDR", "0");
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(base::WriteFileAtomically(c.dir.File(std::to_string(i) + ".PRT"), "x").ok());
    EXPECT_EQ(Run({key::kEnter, key::F(12), key::kEnter}), SpoolOrPrintEnd::kCancelled);
    EXPECT_EQ(c.messages, (std::vector<std::string>{"10 zb.spooling. - skasuj zbędne"}));
    EXPECT_EQ(blocks, 0);

    // With a thousand allowed the series of three digits goes on.
    c.h.rt.config().Set("NAGLSPOOL", MemValue::Logical(true));
    EXPECT_EQ(Run({key::kEnter, key::kEnter}), SpoolOrPrintEnd::kSpooled);
    EXPECT_EQ(c.Contents("000.PRT"), "STRONA 1\fSTRONA 2");
}

TEST_F(SpoolOrPrintTest, EscAtTheFileNameLeavesNoFile) {
    Set("NAGLNDR", "0");
    EXPECT_EQ(Run({key::kEnter, key::kEsc}), SpoolOrPrintEnd::kCancelled);
    EXPECT_FALSE(base::Exists(c.dir.File("0.PRT")));
    EXPECT_EQ(blocks, 0);
}

TEST_F(SpoolOrPrintTest, DirectPrintingDeliversThePrintFile) {
    EXPECT_EQ(Run({key::kEnter, key::kEnter}), SpoolOrPrintEnd::kPrinted);
    EXPECT_NE(c.h.ShownRow(15).find("Przygotuj drukarkę"), std::string::npos);
    EXPECT_EQ(c.delivered, (std::vector<std::string>{"STRONA 1\fSTRONA 2"}));
    EXPECT_EQ(c.ports, (std::vector<std::string>{"1"}));
}

TEST_F(SpoolOrPrintTest, F1SwitchesToAFileForThisPrintOutOnly) {
    EXPECT_EQ(Run({key::kF1, key::kF1, key::kF1, key::kEnter, key::kEnter}),
              SpoolOrPrintEnd::kSpooled);
    EXPECT_EQ(c.Contents("0.PRT"), "STRONA 1\fSTRONA 2");
    EXPECT_EQ(c.h.rt.config().Text("NAGLNDR"), "1");

    Set("NAGLNDR", "0");  // a port 0 switches to LPT1
    EXPECT_EQ(Run({key::kF1, key::kEnter, key::kEnter}), SpoolOrPrintEnd::kPrinted);
    EXPECT_EQ(c.ports, (std::vector<std::string>{"1"}));
    EXPECT_EQ(c.h.rt.config().Text("NAGLNDR"), "0");
}

TEST_F(SpoolOrPrintTest, TheFrameTakesF1AndF3BeforeTheProgramsHotKeys) {
    // The main screen's colour switch stays bound to F1 in every menu.
    int taken = 0;
    c.h.con.keyboard().Bind(key::kF1, [&] { ++taken; });
    c.h.con.keyboard().Bind(key::F(3), [&] { ++taken; });
    EXPECT_EQ(Run({key::kF1, key::kEnter, key::kEnter}), SpoolOrPrintEnd::kSpooled);
    EXPECT_EQ(taken, 0);
    EXPECT_EQ(Run({key::F(3), key::kEnter, key::kEnter}), SpoolOrPrintEnd::kPrinted);
    EXPECT_EQ(c.choices, 1);
    EXPECT_EQ(taken, 0);
}

TEST_F(SpoolOrPrintTest, F3ChoosesAnotherDefinitionWhosePortHolds) {
    EXPECT_EQ(Run({key::kF1, key::F(3), key::kEnter, key::kEnter}), SpoolOrPrintEnd::kPrinted);
    EXPECT_EQ(c.choices, 1);
    EXPECT_EQ(c.ports, (std::vector<std::string>{"2"}));
    EXPECT_EQ(c.h.rt.config().Text("NAGLNDR"), "2");
}

TEST_F(SpoolOrPrintTest, AnUnusableDefinitionIsReportedUntilAnotherIsChosen) {
    Set("NAGLTDR", "V");
    EXPECT_EQ(Run({key::kEnter, key::F(12), key::kEnter, key::kEsc}), SpoolOrPrintEnd::kCancelled);
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Błędna definicja drukarki"}));
    EXPECT_EQ(blocks, 0);
}

TEST_F(SpoolOrPrintTest, TypeVPrintsThroughThePrintProgramWhenItsSpoolHasRoom) {
    Set("NAGLTDR", "V");
    Set("NAGL0V", (c.dir.path() + "/").c_str());
    EXPECT_EQ(Run({key::kEnter, key::kEnter}), SpoolOrPrintEnd::kPrinted);
    EXPECT_EQ(c.delivered.size(), 1u);
    EXPECT_EQ(c.Records("PKLWYD", "NAZWA_ZB"), std::vector<std::string>{});
}

TEST_F(SpoolOrPrintTest, WithoutDefinitionsTheWayIsAsked) {
    c.h.rt.config().Set("NAGLCFGD", MemValue::Logical(false));
    EXPECT_EQ(Run({'s', key::kEnter}), SpoolOrPrintEnd::kSpooled);
    EXPECT_EQ(c.Contents("0.PRT"), "STRONA 1\fSTRONA 2");

    EXPECT_EQ(Run({'d', '4', key::kEnter}), SpoolOrPrintEnd::kPrinted);
    EXPECT_EQ(c.ports, (std::vector<std::string>{"4"}));
    EXPECT_EQ(c.h.rt.config().Text("NAGLNDR"), "1");

    c.messages.clear();
    EXPECT_EQ(Run({key::kEsc, key::F(12), key::kEnter}), SpoolOrPrintEnd::kCancelled);
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Operacja skasowana"}));
}

TEST(PrinterDescription, NameTypeAndPort) {
    struct Case {
        const char *type, *port, *windows, *shown;
    };
    const Case cases[] = {
        {"E", "2", "", "LASER (typ=\"E\",LPT2)"},
        {"L", "0", "", "LASER (typ=\"L\",do pliku)"},
        {"0", "1", "", "LASER (typ=\"0\")"},
        {"V", "1", "", "LASER (typ=\"V\")"},
        {"V", "1", "HP w pokoju 12", "LASER (typ=\"W\")"},
    };
    for (const Case& c : cases) {
        SpoolCompany co;
        co.h.rt.config().Set("NAGLTDR", MemValue::Char(c.type));
        co.h.rt.config().Set("NAGLNDR", MemValue::Char(c.port));
        co.h.rt.config().Set("NAGLNAZDRW", MemValue::Char(c.windows));
        EXPECT_EQ(PrinterDescription(co.h.rt), c.shown);
    }
}

}  // namespace
}  // namespace kestrel::printing
