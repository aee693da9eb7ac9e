#include "printing/pdf/print_interpreter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace kestrel::printing {
namespace {

using namespace std::string_literals;

// One token per run: "text" with its flags (b bold, i italic, u underline,
// ^ superscript, _ subscript); pages separated by " | ".
std::string Styles(const PrintedDocument& doc) {
    std::string out;
    for (size_t p = 0; p < doc.pages.size(); ++p) {
        if (p > 0) out += " |";
        for (const TextRun& r : doc.pages[p].runs) {
            out += " " + r.text;
            const TextStyle& s = r.style;
            if (s.bold || s.italic || s.underline || s.script != Script::kNormal) {
                out += ":";
                if (s.bold) out += "b";
                if (s.italic) out += "i";
                if (s.underline) out += "u";
                if (s.script == Script::kSuper) out += "^";
                if (s.script == Script::kSub) out += "_";
            }
        }
    }
    return out;
}

const TextRun& Only(const PrintedDocument& doc, size_t page, size_t run) {
    static const TextRun none;
    if (page >= doc.pages.size() || run >= doc.pages[page].runs.size()) {
        ADD_FAILURE() << "no run " << run << " on page " << page;
        return none;
    }
    return doc.pages[page].runs[run];
}

#define ESC "\x1b"

struct PitchCase {
    char type;
    const char* sequences[7];  // 5, 6, 8.33, 10, 12, 17, 20 cpi
    double cpi[7];
};

// The pitch variables of each family, applied one after the other in one
// file, so that each must also undo what the one before it set.
TEST(PrintInterpreter, PitchOfEveryFamily) {
    const double epson[] = {5, 6, 60.0 / 7, 10, 12, 120.0 / 7, 20};
    const PitchCase cases[] = {
        {'E',
         {ESC "P\x12" ESC "W1" ESC "T", ESC "M\x12" ESC "W1" ESC "T", ESC "P\x0f" ESC "W1" ESC "T",
          ESC "P\x12" ESC "W0" ESC "T", ESC "M\x12" ESC "W0" ESC "T", ESC "P\x0f" ESC "W0" ESC "T",
          ESC "M\x0f" ESC "W0" ESC "T"},
         {}},
        {'9', {}, {}},
        {'S', {}, {}},
        {'I',
         {"\x12" ESC "W1" ESC "T", "\x0f" ESC "W1" ESC "T", "\x0f" ESC "W1" ESC "T",
          "\x12" ESC "W0" ESC "T", "\x0f" ESC "W0" ESC "T", "\x0f" ESC "W0" ESC "T",
          "\x0f" ESC "W0" ESC "T"},
         {5, 60.0 / 7, 60.0 / 7, 10, 120.0 / 7, 120.0 / 7, 120.0 / 7}},
        {'H',
         {ESC "(s0p5h12v3T", ESC "(s0p8.33h8.5v0T", ESC "(s0p8.33h8.5v0T", ESC "(s0p10h12v3T",
          ESC "(s0p16.67h12v0T", ESC "(s0p16.67h12v0T", ESC "(s0p20h12v3T"},
         {5, 8.33, 8.33, 10, 16.67, 16.67, 20}},
        {'V',
         {"{YPR05}", "{YPR06}", "{YPR08}", "{YPR10}", "{YPR12}", "{YPR17}", "{YPR20}"},
         {5, 6, 8.33, 10, 12, 17, 20}},
    };
    for (PitchCase c : cases) {
        if (c.type == '9' || c.type == 'S') {
            std::copy(std::begin(cases[0].sequences), std::end(cases[0].sequences), c.sequences);
        }
        if (c.type == 'E' || c.type == '9' || c.type == 'S')
            std::copy(std::begin(epson), std::end(epson), c.cpi);
        std::string file;
        for (const char* s : c.sequences) file += std::string(s) + "ab\r\n";
        file.replace(file.size() - 2, 2, "c");  // one more character at the last pitch
        const PrintedDocument doc = Interpret(file, c.type, '1');
        ASSERT_EQ(doc.pages.size(), 1u) << c.type;
        for (size_t k = 0; k < 7; ++k) {
            const TextRun& r = Only(doc, 0, k);
            EXPECT_EQ(r.text, k < 6 ? "ab" : "abc");
            EXPECT_NEAR(r.style.cpi, c.cpi[k], 1e-6) << "type " << c.type << " pitch " << k;
        }
        EXPECT_NEAR(Only(doc, 0, 6).right(), 3 / c.cpi[6], 1e-9);
    }
}

struct SpacingCase {
    char type;
    const char* sequence;
    double inches;
};

// Two lines after a spacing variable: the second is one spacing lower, and
// a form-feed byte as the argument of ESC "A" breaks no page.
TEST(PrintInterpreter, LineSpacingOfEveryFamily) {
    const SpacingCase cases[] = {
        {'E', ESC "2", 1.0 / 6},
        {'E', ESC "0", 1.0 / 8},
        {'E', ESC "A\x0c", 1.0 / 6},
        {'E', ESC "A\x06", 1.0 / 12},
        {'E', ESC "A\x03", 1.0 / 24},
        {'E', ESC "A\x01", 1.0 / 72},
        {'8', ESC "2", 1.0 / 6},
        {'8', ESC "0", 1.0 / 8},
        {'8', ESC "+\x1e", 1.0 / 12},
        {'8', ESC "+\x0f", 1.0 / 24},
        {'8', ESC "+\x05", 1.0 / 72},
        {'S', ESC "0" ESC "A\x0c" ESC "2", 1.0 / 6},
        {'S', ESC "A\x06" ESC "2", 1.0 / 12},
        {'S', ESC "A\x01" ESC "2", 1.0 / 72},
        {'I', ESC "0" ESC "A\x0c" ESC "2", 1.0 / 6},
        {'I', ESC "0", 1.0 / 8},
        {'I', ESC "A\x03" ESC "2", 1.0 / 24},
        {'H', ESC "&l6D", 1.0 / 6},
        {'L', ESC "&l8D", 1.0 / 8},
        {'H', ESC "&l12D", 1.0 / 12},
        {'K', ESC "&l48D", 1.0 / 48},
        {'1', ESC "&l72D", 1.0 / 72},
        {'V', "{YPRW8}", 1.0 / 8},
        {'V', "{YPRW24}", 1.0 / 24},
        {'0', "", 1.0 / 6},
    };
    for (const SpacingCase& c : cases) {
        const PrintedDocument doc =
            Interpret(std::string("top\r\n") + c.sequence + "a\r\nb", c.type, '1');
        ASSERT_EQ(doc.pages.size(), 1u) << c.type << " " << c.sequence + 1;
        EXPECT_EQ(Styles(doc), " top a b");
        EXPECT_NEAR(Only(doc, 0, 2).y - Only(doc, 0, 1).y, c.inches, 1e-9)
            << "type " << c.type << " sequence " << c.sequence + 1;
    }
}

struct StyleCase {
    char type;
    std::string file;
    const char* expected;
};

// Bold, emphasis, italics, underline, super- and subscript on and off.
TEST(PrintInterpreter, TextStylesOfEveryFamily) {
    const std::string epson =
        ESC "Ga" ESC "Hb" ESC "Ec" ESC "Fd" ESC "4e" ESC "5f" ESC "-1g" ESC "-0h" ESC "P\x12" ESC
            "W0" ESC "S0i" ESC "P\x12" ESC "W0" ESC "Tj" ESC "S1k" ESC "Tl";
    const std::string ibm = ESC "Ga" ESC "Hb" ESC "Ec" ESC
                                "Fd\x1c"
                                "4e\x1c"
                                "5f" ESC "-1g" ESC "-0h\x12" ESC "W0" ESC "S0i\x12" ESC "W0" ESC
                                "Tj" ESC "S1k" ESC "Tl";
    const std::string pcl =
        ESC "(s0p3Ba" ESC "(s0p0Bb" ESC "(s0p2Qc" ESC "(s0p1Qd" ESC "(s0p1Se" ESC "(s0p0Sf" ESC
            "&d1Dg" ESC "&d@h" ESC "(s0p10h6v3Ti" ESC "(s0p10h12v3Tj";
    const std::string pcl4 = ESC "(s0p3Ba" ESC "(s0p0Bb" ESC "(s0p3Bc" ESC "(s0p0Bd" ESC
                                 "(s0p1Se" ESC "(s0p0Sf" ESC "&d1Dg" ESC "&d@h";
    const char* all = " a:b b c:b d e:i f g:u h i:^ j k:_ l";
    const StyleCase cases[] = {
        {'f', epson, all},
        {'9', epson, all},
        {'s', epson, all},
        {'j', ibm, all},
        {'H', pcl, " a:b b c:b d e:i f g:u h i:^ j"},
        {'4', pcl4, " a:b b c:b d e:i f g:u h"},
        {'V', "{YPRPB}a{YPRKB}b{YPRPI}e{YPRKI}f{YPRPU}g{YPRKU}h", " a:b b e:i f g:u h"},
        {'0', "plain " ESC "Gtext", " plain text"},
    };
    for (const StyleCase& c : cases)
        EXPECT_EQ(Styles(Interpret(c.file, c.type, '1')), c.expected) << "type " << c.type;
}

// Sequences that are not text never print: arguments, graphics data and
// unknown sequences of each family.
TEST(PrintInterpreter, SkipsSequencesWithTheirArgumentsAndData) {
    const StyleCase cases[] = {
        {'E',
         "a" ESC "K\x03"
         "\x00"
         "xyzb"s,
         " ab"},
        {'E',
         "a" ESC "*\x27\x02\x00"
         "uvwxyzb"s,
         " ab"},
        {'E',
         "a" ESC "x1" ESC "U1" ESC "~b" ESC "C\x00\x0b"
         "c"s,
         " abc"},
        {'9',
         "a" ESC "(t\x03\x00"
         "xyzb" ESC "D\x08\x10\x00"
         "c"s,
         " abc"},
        {'I',
         "a" ESC "[\x40\x02\x00"
         "xyb" ESC "P\x01"
         "c"s,
         " abc"},
        {'I',
         "a" ESC "\\\x02\x00"
         "\x01"
         "zb"s,
         " a zb"},
        {'H', "a" ESC "*b3Wxyzb" ESC "(s5Wxyzxyc" ESC "%-12345Xd" ESC "9e"s, " abcde"},
        {'L', "a" ESC "(17U" ESC "*p0y0Xb"s, " a b"},
        {'V', "{YPRFONT,Arial}a{YPRRECT,1,2}b{x}c{YPRGDFF}d"s, " ab{x}cd"},
    };
    for (const StyleCase& c : cases)
        EXPECT_EQ(Styles(Interpret(c.file, c.type, '1')), c.expected) << "type " << c.type;
}

TEST(PrintInterpreter, PagesAndLines) {
    // Form feeds break pages; the empty page after the last one is dropped,
    // one between two form feeds kept.
    PrintedDocument doc = Interpret("one\r\ntwo\x0c\x0cthree\x0c\r\n", 'E', '1');
    EXPECT_EQ(Styles(doc), " one two | | three");
    EXPECT_DOUBLE_EQ(Only(doc, 2, 0).y, 0);
    // CR alone prints over the same line, BS over the character before.
    doc = Interpret("abc\rx_\x08y", 'E', '1');
    EXPECT_EQ(Styles(doc), " abc x_ y");
    EXPECT_DOUBLE_EQ(Only(doc, 0, 1).x, 0);
    EXPECT_DOUBLE_EQ(Only(doc, 0, 2).x, 0.1);
    // A page longer than the fanfold form goes on; 80 lines at 6 per inch
    // make 72 lines on the first page and 8 on the next.
    std::string lines;
    for (int i = 0; i < 80; ++i) lines += "line\r\n";
    doc = Interpret(lines, '0', '1');
    ASSERT_EQ(doc.pages.size(), 2u);
    EXPECT_EQ(doc.pages[0].runs.size(), 72u);
    EXPECT_EQ(doc.pages[1].runs.size(), 8u);
    // A line longer than the carriage wraps.
    doc = Interpret(std::string(140, 'x'), '0', '1');
    ASSERT_EQ(doc.pages[0].runs.size(), 2u);
    EXPECT_EQ(Only(doc, 0, 1).chars, 4);
    EXPECT_DOUBLE_EQ(Only(doc, 0, 1).y, 1.0 / 6);
    // Blanks at the ends of a stretch are not kept unless underlined.
    doc = Interpret("   ab  " ESC "-1  c" ESC "-0   ", 'E', '1');
    EXPECT_EQ(Styles(doc), " ab   c:u");
    EXPECT_DOUBLE_EQ(Only(doc, 0, 0).x, 0.3);
}

TEST(PrintInterpreter, ResetsAndOrientation) {
    // The landscape reset of PCL turns the page; its portrait reset does
    // not, and a reset ejects a page that has text.
    const std::string landscape = ESC "E" ESC "&l0u0z1o26a6D" ESC "(s0p10h12v3t1Q";
    const std::string portrait = ESC "E" ESC "&l0u0z0o26a6D" ESC "(s0p10h12v3t1Q";
    PrintedDocument doc = Interpret(landscape + "wide" + portrait + "narrow", 'H', '1');
    ASSERT_EQ(doc.pages.size(), 2u);
    EXPECT_TRUE(doc.pages[0].landscape);
    EXPECT_FALSE(doc.pages[1].landscape);
    doc = Interpret("{YPRLS}a\x0c{YPRRS}b", 'V', '1');
    ASSERT_EQ(doc.pages.size(), 2u);
    EXPECT_TRUE(doc.pages[0].landscape);
    EXPECT_FALSE(doc.pages[1].landscape);
    // The dot-matrix reset ends every style and spacing.
    doc = Interpret(ESC "G" ESC "-1" ESC "0" ESC
                        "P\x0f"
                        "a\r\n" ESC "@b\r\nc",
                    'E', '1');
    EXPECT_EQ(Styles(doc), " a:bu b c");
    EXPECT_DOUBLE_EQ(Only(doc, 0, 1).style.cpi, 10);
    EXPECT_DOUBLE_EQ(Only(doc, 0, 2).y - Only(doc, 0, 1).y, 1.0 / 6);
}

TEST(PrintInterpreter, LetterSetsAndJobHeader) {
    EXPECT_EQ(Styles(Interpret("\xa1\xb1\xa6\xb6", 'E', '4')), " ĄąŚś");
    EXPECT_EQ(Styles(Interpret("\x8f\x86\x9c\x92", 'E', '2')), " ĄąŁł");
    EXPECT_EQ(Styles(Interpret("\xa5\xb9\x8c\x9c", 'E', '3')), " ĄąŚś");
    EXPECT_EQ(Styles(Interpret("\xa4\xa5\x97\x98", 'E', '1')), " ĄąŚś");
    // A brace in the title does not end the job header early.
    const PrintedDocument doc = Interpret(
        "{VDOSPRT:Lista p\x88"
        "ac {A} 1}{YPRRS}tekst",
        'V', '1');
    EXPECT_EQ(doc.job_title, "Lista płac {A} 1");
    EXPECT_EQ(Styles(doc), " tekst");
}

// Any bytes at all: the interpreter ends, and what it places stays on the
// carriage and the form with a usable pitch.
TEST(PrintInterpreter, RandomBytesOfEveryFamily) {
    const char types[] = {'E', '9', 'S', 'I', 'H', 'L', '0', 'V'};
    const std::string alphabet = "\x1b\x1b\x1b\x1c{}YPRW0123456789.+-&(*sdlpaWEKA\r\n\x0c\x0f";
    for (int seed = 0; seed < 400; ++seed) {
        std::mt19937 rng(seed);
        std::string bytes(1 + rng() % 600, '\0');
        for (char& b : bytes)
            b = rng() % 2 ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
        if (seed % 3 == 0) bytes.insert(rng() % bytes.size(), "{YPR17}" ESC "*\x27\xff\xff");
        for (const char type : types) {
            const PrintedDocument doc = Interpret(bytes, type, static_cast<char>('1' + seed % 4));
            ASSERT_FALSE(doc.pages.empty());
            size_t chars = 0;
            for (const PrintedPage& page : doc.pages) {
                for (const TextRun& r : page.runs) {
                    ASSERT_TRUE(std::isfinite(r.style.cpi) && r.style.cpi > 0) << seed << type;
                    ASSERT_GE(r.x, 0) << seed << type;
                    ASSERT_LE(r.right(), kCarriageInches + 1e-6) << seed << type;
                    ASSERT_GE(r.y, 0) << seed << type;
                    ASSERT_LE(r.y + r.style.spacing, kFormInches + 1e-6) << seed << type;
                    ASSERT_GT(r.chars, 0);
                    chars += r.chars;
                }
            }
            ASSERT_LE(chars, bytes.size()) << seed << type;
        }
    }
}

}  // namespace
}  // namespace kestrel::printing
