#include "printing/data/printer_letters.h"

#include <gtest/gtest.h>

#include "platform/codepage/cp852.h"

namespace kestrel::printing {
namespace {

using memfile::MemValue;

const std::string kAll = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż x";

TEST(PrinterLetters, EachSetAndTheTwoCharacterRenderings) {
    const std::string text = codepage::FromUtf8(kAll);
    struct Case {
        std::string printer;
        bool simulate;
        std::string want;
    };
    const Case cases[] = {
        {std::string(common::kPolishCp852), false, text},
        {std::string(common::kPolishMazovia), false, std::string(common::kPolishMazovia) + " x"},
        {std::string(common::kPolishWin1250), false, std::string(common::kPolishWin1250) + " x"},
        {std::string(common::kPolishIso88592), false, std::string(common::kPolishIso88592) + " x"},
        {std::string(common::kPolishCp852), true, "A,C'E,L/N'O'S'Z'Z-a,c'e,l/n'o's'z'z- x"},
    };
    for (const Case& c : cases) {
        const PrinterLetters l{std::string(common::kPolishCp852), c.printer, c.simulate};
        EXPECT_EQ(ToPrinter(l, text), c.want);
        const PrintOutput::Converter convert = MakeConverter(l);
        EXPECT_EQ(convert ? convert(text) : text, c.want);
    }
}

TEST(PrinterLetters, APrintFileReadsBackInTheScreensLetters) {
    const std::string text = codepage::FromUtf8(kAll + " 12");
    for (std::string_view set : {common::kPolishMazovia, common::kPolishWin1250,
                                 common::kPolishIso88592, common::kPolishCp852}) {
        const PrinterLetters l{std::string(common::kPolishCp852), std::string(set), false};
        EXPECT_EQ(FromPrinter(l, ToPrinter(l, text)), text);
    }
    // Box drawing stays: only the printer's letters turn back.
    const std::string boxes = codepage::FromUtf8("\u2500\u2502\u250C");
    const PrinterLetters mazovia{std::string(common::kPolishCp852),
                                 std::string(common::kPolishMazovia), false};
    EXPECT_EQ(codepage::ToUtf8(FromPrinter(mazovia,
                                           "\x9C\xA3"
                                           "D"
                                           "\xA0 \xA4")),
              "ŁÓDŹ ń");
    EXPECT_EQ(FromPrinter(mazovia, boxes), boxes);
    // Renderings of a printer without letters are text like any other.
    const PrinterLetters simulated{std::string(common::kPolishCp852),
                                   std::string(common::kPolishCp852), true};
    EXPECT_EQ(FromPrinter(simulated, "L/O'DZ'"), "L/O'DZ'");
}

TEST(PrinterLetters, PlainScreenLettersAreNeverConverted) {
    const PrinterLetters l{std::string(common::kPolishPlain), std::string(common::kPolishCp852),
                           true};
    EXPECT_EQ(ToPrinter(l, "ACELNOSZ acelnosz"), "ACELNOSZ acelnosz");
    EXPECT_FALSE(MakeConverter(l));
}

TEST(PrinterLetters, TheSettingsInForceAndTheStandards) {
    common::Configuration c;
    const common::LetterSet screen = common::MakeLetterSet(common::kPolishCp852);
    EXPECT_EQ(LettersInForce(c, screen).printer, screen.pl);  // no NAGLPRTPL
    c.Set("NAGLPRTPL", MemValue::Char("short"));
    EXPECT_EQ(LettersInForce(c, screen).printer, screen.pl);
    c.Set("NAGLPRTPL", MemValue::Char(std::string(common::kPolishWin1250)));
    c.Set("NAGLSYMPL", MemValue::Logical(true));
    EXPECT_EQ(LettersInForce(c, screen).printer, common::kPolishWin1250);
    EXPECT_TRUE(LettersInForce(c, screen).simulate);

    for (char s : std::string("1234"))
        EXPECT_EQ(StandardOfLetters(LettersOfStandard(s, common::kPolishPlain)), s);
    EXPECT_EQ(LettersOfStandard('0', common::kPolishMazovia), common::kPolishMazovia);
    EXPECT_EQ(LettersOfStandard('9', common::kPolishMazovia), common::kPolishMazovia);
}

}  // namespace
}  // namespace kestrel::printing
