#include "startup/command_line.h"

#include <gtest/gtest.h>

namespace kestrel::startup {
namespace {

TEST(CommandLine, CompanyAndPrinterInEitherOrder) {
    struct Case {
        std::vector<std::string> args;
        std::string company;
        std::string printer;
    } cases[] = {
        {{}, "", ""},
        {{"firma1"}, "FIRMA1", ""},
        {{"firma1", "/d:laser"}, "FIRMA1", "LASER               "},
        {{"/D:laser", "firma1"}, "FIRMA1", "LASER               "},
        {{"/D:laser", "/D:other", "firma2"}, "FIRMA2", "LASER               "},
        {{"firma1", "firma2", "/D:igla"}, "FIRMA1", "IGLA                "},
        {{"a", "b", "c", "/D:late"}, "A", ""},  // a fourth parameter is not examined
        {{"firma1.pk"}, "FIRMA1.PK", ""},
    };
    for (const auto& c : cases) {
        CommandLine cl;
        std::string error;
        ASSERT_TRUE(ParseCommandLine(c.args, &cl, &error)) << error;
        EXPECT_EQ(cl.company, c.company);
        EXPECT_EQ(cl.printer, c.printer);
    }
}

TEST(CommandLine, ScriptedRunOptions) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(ParseCommandLine(
        {"--script", "s.txt", "firma1", "--screens", "out", "--now", "2026-12-08 09:30", "/D:x"},
        &cl, &error));
    EXPECT_EQ(cl.script, "s.txt");
    EXPECT_EQ(cl.screens, "out");
    ASSERT_TRUE(cl.now);
    EXPECT_EQ(cl.now->TimeText(), "09:30");
    EXPECT_EQ(cl.company, "FIRMA1");
    EXPECT_EQ(cl.printer.substr(0, 2), "X ");

    EXPECT_FALSE(ParseCommandLine({"--now", "jutro"}, &cl, &error));
    EXPECT_EQ(error, "błędna data i godzina w --now (oczekiwano \"RRRR-MM-DD GG:MM\"): jutro");
    EXPECT_FALSE(ParseCommandLine({"--script"}, &cl, &error));
    EXPECT_EQ(error, "brak wartości opcji --script");
    EXPECT_FALSE(ParseCommandLine({"--bogus"}, &cl, &error));
}

}  // namespace
}  // namespace kestrel::startup
