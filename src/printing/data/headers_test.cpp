#include "printing/data/headers.h"

#include <gtest/gtest.h>

#include "headless_runtime.h"
#include "platform/base/files.h"
#include "printing/data/control_codes.h"
#include "test_util.h"

namespace kestrel::printing {
namespace {

using memfile::MemValue;

struct Fixture {
    dbf::testing::ScratchDir dir;
    kestrel::testing::HeadlessRuntime h;
    PrintOutput out;

    Fixture() {
        // Type 0: no sequences, so the lines are the text alone.
        SetControlVariables(&h.rt.config(), '0', {});
        h.rt.config().Set("NAGLTDR", MemValue::Char("0"));
        h.rt.config().Set("NAGL1", MemValue::Char("KESTREL"));
        h.rt.config().Set("NAGL2", MemValue::Char("Firma Testowa Sp. z o.o."));
        h.rt.config().Set("NAGL3", MemValue::Char("ul. Prosta 1"));
        h.rt.config().Set("NAGL12", MemValue::Char("Warszawa"));
        EXPECT_TRUE(out.Open(dir.File("h.prt")).ok());
    }
    std::vector<std::string> Lines() {
        EXPECT_TRUE(out.Close().ok());
        std::string s;
        EXPECT_TRUE(base::ReadFile(dir.File("h.prt"), &s).ok());
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = s.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(s.substr(start, end - start));
        lines.push_back(s.substr(start));
        return lines;
    }
};

TEST(Headers, WideHeader) {
    Fixture f;
    Qrmnagl(f.h.rt, f.out, 3, "LISTA PLAC");
    const auto lines = f.Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Firma Testowa Sp. z o.o." + std::string(89, ' ') + "Str.   3");
    EXPECT_EQ(lines[1], "     KESTREL");
    EXPECT_EQ(lines[2], "ul. Prosta 1" + std::string(66, ' ') + "Data wydruku: 2026-12-08");
    EXPECT_EQ(lines[3], std::string(63, ' ') + "LISTA PLAC");
}

TEST(Headers, NarrowHeaderWithALongStampPadsWithNothing) {
    Fixture f;
    const std::string stamp(75, 'N');
    f.h.rt.config().Set("NAGL2", MemValue::Char(stamp));
    Qrmnagl2(f.h.rt, f.out, 12, std::string(79, 'T'));
    const auto lines = f.Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], stamp + "Str.  12");
    EXPECT_EQ(lines[3], std::string(79, 'T'));  // 79 characters print unchanged
}

TEST(Headers, NarrowTitlesWrapAt78AndCentre) {
    Fixture f;
    Qrmnagl2(f.h.rt, f.out, 0, "AAAA BBBB " + std::string(71, 'C'));
    const auto lines = f.Lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Firma Testowa Sp. z o.o.");  // page 0: no number
    EXPECT_EQ(lines[3], std::string(34, ' ') + "AAAA BBBB");
    EXPECT_EQ(lines[4], std::string(3, ' ') + std::string(71, 'C'));
}

TEST(Headers, StampWithTownAndDate) {
    Fixture f;
    f.out.Say(5, 0, "");
    Qrmnagl3(f.h.rt, f.out);
    const auto lines = f.Lines();
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[5].size(), 78u);
    EXPECT_EQ(lines[5].substr(0, 24), "Firma Testowa Sp. z o.o.");
    EXPECT_EQ(lines[5].substr(78 - 25), "Warszawa dnia: 2026-12-08");
}

TEST(Headers, WrapTitle) {
    EXPECT_EQ(WrapTitle("AB CD EF", 5), (std::vector<std::string>{"AB CD", "EF"}));
    EXPECT_EQ(WrapTitle("ABCDEFGH", 3), (std::vector<std::string>{"ABC", "DEF", "GH"}));
    EXPECT_EQ(WrapTitle("", 10), (std::vector<std::string>{""}));
}

}  // namespace
}  // namespace kestrel::printing
