#include "printing/data/spool_text.h"

#include <gtest/gtest.h>

namespace kestrel::printing {
namespace {

TEST(ReadableLines, ControlSequencesOfEveryFamilyAreLeftOut) {
    struct Case {
        const char* what;
        char type;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"9-pin reset, pitch and bold",
         'E',
         "\x1b@\x1bU1\x1bP\x12\x1bW0\x1bT"
         "Ala\x1bG ma\x1bH kota\r\n",
         {"Ala ma kota"}},
        {"line spacing with a form-feed argument",
         'E',
         "\x1b"
         "A\fX\x1b+\x1eY\r\n",
         {"XY"}},
        {"underline on and off", 'F', "\x1b-1U\x1b-0\r\n", {"U"}},
        {"IBM italics",
         'I',
         "\x1c"
         "4abc\x1c"
         "5\r\n",
         {"abc"}},
        {"PCL",
         'L',
         "\x1b"
         "E\x1b&l0u0z0o3a6D\x1b(17U\x1b(s0p10h12v3TKot\x1b&d@\r\n",
         {"Kot"}},
        {"print program names", 'V', "{VDOSPRT:Lista}{YPRRS}Tekst{YPR10} {a}\r\n", {"Tekst {a}"}},
        {"braces of other types stay", 'E', "{YPR10}\r\n", {"{YPR10}"}},
        {"pages and a lone CR", '0', "A\r\n\fB\rC", {"A", "", "B", "C"}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadableLines(c.bytes, c.type), c.lines) << c.what;
}

}  // namespace
}  // namespace kestrel::printing
