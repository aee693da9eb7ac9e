#include "printing/spool_screen.h"

#include <gtest/gtest.h>

#include "printing/spool_test_support.h"

namespace kestrel::printing {
namespace {

using testing::kFivePages;
using testing::SpoolCompany;
namespace key = console::key;

class SpoolScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        c.Spool("1.PRT", "A\r\n", "08:00", "Starszy");
        c.Spool("2.PRT", kFivePages, "09:00", "Lista obecności");
        // F11 keeps rows 15-18 as they are at that moment.
        c.h.con.keyboard().Bind(key::F(11), [this] {
            for (int r = 15; r <= 18; ++r) snapshot.push_back(base::TrimRight(c.h.Row(r)));
        });
    }
    void Run(const std::vector<int>& keys) {
        c.Keys(keys);
        SpoolScreen(c.h.rt, c.hooks);
    }
    SpoolCompany c;
    std::vector<std::string> snapshot;
};

TEST_F(SpoolScreenTest, ShowsTheNewestFileWithItsDetails) {
    Run({key::F(11), key::kUp, key::F(11), key::kEsc});
    ASSERT_EQ(snapshot.size(), 8u);
    EXPECT_EQ(snapshot[0], "     Nazwa pliku:    2.PRT");
    EXPECT_EQ(snapshot[1], "     Rozmiar pliku:  " + std::to_string(kFivePages.size()));
    EXPECT_EQ(snapshot[2], "     Ilość stron:    5");
    EXPECT_EQ(snapshot[3], "     Tytuł wydruku:  Lista obecności");
    EXPECT_EQ(snapshot[4], "     Nazwa pliku:    1.PRT");
}

TEST_F(SpoolScreenTest, DelDeletesOnlyAFileNobodyHolds) {
    ReadHold reader;  // another workstation prints 2.PRT
    ASSERT_TRUE(reader.Open(c.dir.File("2.PRT")).ok());
    Run({key::kDel, key::F(12), key::kEnter, key::kEsc});
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Błąd kasowania"}));
    EXPECT_TRUE(base::Exists(c.dir.File("2.PRT")));
    reader.Close();

    c.messages.clear();
    Run({key::kDel, key::F(12), key::kEnter, key::F(11), key::kEsc});
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Zbiór skasowany"}));
    EXPECT_FALSE(base::Exists(c.dir.File("2.PRT")));
    EXPECT_EQ(c.Records("PKLWYD", "NAZWA_ZB"), (std::vector<std::string>{"1.PRT", "2.PRT*"}));
    ASSERT_FALSE(snapshot.empty());
    EXPECT_EQ(snapshot[0], "     Nazwa pliku:    1.PRT");  // the list goes on without it
}

TEST_F(SpoolScreenTest, WholePrintDeliversEveryPageEjectsAndDeletesTheFile) {
    // F7, Enter (whole file), Enter (port 1), a key for the paper; each page
    // looks at the keyboard once ('x'); then the end's message.
    Run({key::F(7), key::kEnter, key::kEnter, key::kEnter, 'x', 'x', 'x', 'x', 'x', key::F(12),
         key::kEnter, key::kEsc});
    ASSERT_EQ(c.delivered.size(), 1u);
    EXPECT_EQ(c.delivered[0], kFivePages + "\f");
    EXPECT_EQ(c.ports, (std::vector<std::string>{"1"}));
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Koniec wydruku"}));
    EXPECT_FALSE(base::Exists(c.dir.File("2.PRT")));
    EXPECT_EQ(c.Records("PKLWYD", "NAZWA_ZB"), (std::vector<std::string>{"1.PRT", "2.PRT*"}));
}

TEST_F(SpoolScreenTest, SelectivePrintOfPagesTwoToThreeOnAnotherPortKeepsTheFile) {
    Run({key::F(7), key::kF1, key::F(8), key::kEnter, '2', key::kEnter, '3', key::kEnter, '3',
         key::kEnter, 'x', 'x', key::F(12), key::kEnter, key::kEsc});
    ASSERT_EQ(c.delivered.size(), 1u);
    EXPECT_EQ(c.delivered[0], "P2\r\n\fP3\r\n\f");  // the last page ejected itself
    EXPECT_EQ(c.ports, (std::vector<std::string>{"3"}));
    EXPECT_EQ(c.h.rt.config().Text("NAGLNDR"), "1");  // for that print only
    EXPECT_EQ(c.Contents("2.PRT"), kFivePages);
}

TEST_F(SpoolScreenTest, TheLastPageDefaultsToThePageCountOr9999AndNeverPrecedesTheFirst) {
    c.h.con.keyboard().Bind(key::F(10), [this] { snapshot.push_back(c.h.At(17, 14, 15)); });
    // From 7 of 5 pages: "Do" offers 9999; nothing lies in the range.
    Run({key::F(7), key::kF1, key::kEnter, '7', key::kEnter, key::F(10), key::kEnter, key::kEnter,
         key::kEnter, key::F(12), key::kEnter, key::kEsc});
    EXPECT_EQ(snapshot, (std::vector<std::string>{"       Do: 9999"}));
    EXPECT_TRUE(c.delivered.empty());
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Brak stron do wydruku"}));
    EXPECT_EQ(c.Contents("2.PRT"), kFivePages);  // not printed: kept

    // From 4: "Do" offers 5; 3 is refused, 4 taken.
    snapshot.clear();
    Run({key::F(7), key::kF1, key::kEnter, '4', key::kEnter, key::F(10), '3', key::kEnter, '4',
         key::kEnter, key::kEnter, key::kEnter, 'x', key::F(12), key::kEnter, key::kEsc});
    EXPECT_EQ(snapshot, (std::vector<std::string>{"       Do:    5"}));
    ASSERT_EQ(c.delivered.size(), 1u);
    EXPECT_EQ(c.delivered[0], "P4\r\n\f");
}

TEST_F(SpoolScreenTest, EscInterruptsThePrintWhichIsDeliveredWithItsNote) {
    Run({key::F(7), key::kEnter, key::kEnter, key::kEnter, 'x', 'x', key::kEsc, 't', key::kEsc});
    ASSERT_EQ(c.delivered.size(), 1u);
    EXPECT_EQ(c.delivered[0], "P1\r\n\fP2\r\n\f\r\n\r\n<YPR10>*** Wydruk przerwany ***\f");
    EXPECT_EQ(c.Contents("2.PRT"), kFivePages);  // an interrupted print keeps its file
}

TEST_F(SpoolScreenTest, EscBeforeThePaperPrintsNothing) {
    Run({key::F(7), key::kEnter, key::kEnter, key::kEsc, key::kEsc});
    EXPECT_TRUE(c.delivered.empty());
    EXPECT_EQ(c.Contents("2.PRT"), kFivePages);
}

TEST_F(SpoolScreenTest, ViewerShowsTheTextWithoutControlSequences) {
    c.Spool("3.PRT", "\x1b@\x1bGNAGLOWEK\x1bH\r\nwiersz\r\n", "10:00", "Trzeci");
    std::vector<std::string> rows;
    c.h.con.keyboard().Bind(key::F(10), [&] {
        rows = {base::TrimRight(c.h.At(2, 1, 78)), base::TrimRight(c.h.At(3, 1, 78))};
    });
    Run({key::F(3), key::F(10), key::kEsc, key::kEsc});
    EXPECT_EQ(rows, (std::vector<std::string>{"NAGLOWEK", "wiersz"}));
}

TEST_F(SpoolScreenTest, ViewerShowsAFileOfThePrintersLettersInTheScreensLetters) {
    struct Case {
        const char* standard;
        std::string_view letters;
    };
    const Case cases[] = {{"2", common::kPolishMazovia},
                          {"3", common::kPolishWin1250},
                          {"4", common::kPolishIso88592}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.standard);
        c.h.rt.config().Set("NAGLPRTPL", memfile::MemValue::Char(std::string(k.letters)));
        // "Łódź" and "Żółć" as the printer got them, in bold.
        const std::string file = std::string(1, k.letters[3]) + k.letters[14] + "d" +
                                 k.letters[16] + "\x1bG " + k.letters[8] + k.letters[14] +
                                 k.letters[12] + k.letters[10] + "\x1bH\r\n";
        c.Spool(std::string("V") + k.standard + ".PRT", file, std::string("11:0") + k.standard,
                "Litery");
        std::string row;
        c.h.con.keyboard().Bind(key::F(10), [&] { row = base::TrimRight(c.h.At(2, 1, 78)); });
        Run({key::F(3), key::F(10), key::kEsc, key::kEsc});
        EXPECT_EQ(row, "Łódź Żółć");
    }
}

}  // namespace
}  // namespace kestrel::printing
