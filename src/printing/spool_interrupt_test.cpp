#include "printing/spool_interrupt.h"

#include <gtest/gtest.h>

#include "headless_runtime.h"
#include "platform/console/keys.h"

namespace kestrel::printing {
namespace {

namespace key = console::key;

TEST(PrintInterrupted, OnlyEscConfirmedWithTStopsTheReport) {
    struct Case {
        std::vector<int> keys;
        bool stop;
        size_t tones;
    };
    const std::vector<Case> cases = {
        {{}, false, 0},
        {{'x'}, false, 0},
        {{key::kEsc, 't'}, true, 1},
        {{key::kEsc, 'n'}, false, 1},
        {{key::kEsc, key::kEsc}, false, 1},
    };
    for (const Case& c : cases) {
        kestrel::testing::HeadlessRuntime h(c.keys);
        EXPECT_EQ(PrintInterrupted(h.rt), c.stop);
        EXPECT_EQ(h.backend.tones().size(), c.tones);
    }
}

TEST(PrintInterrupted, KeysTypedAfterTheEscDoNotAnswerTheQuestion) {
    kestrel::testing::HeadlessRuntime h({'t'});
    h.con.keyboard().Push(key::kEsc);
    h.con.keyboard().Push('n');  // typed ahead: goes with the buffer
    EXPECT_TRUE(PrintInterrupted(h.rt));
    EXPECT_NE(h.ShownRow(23).find("Przerwać wydruk? [t,n]"), std::string::npos);
}

TEST(BeforeFormPage, PrintSkipOrInterrupt) {
    struct Case {
        std::vector<int> keys;
        FormPage result;
    };
    const std::vector<Case> cases = {
        {{key::kEnter}, FormPage::kPrint},
        {{key::F(7), 't'}, FormPage::kSkip},
        {{key::F(7), 'n', key::kEnter}, FormPage::kPrint},
        {{key::kEsc, 't'}, FormPage::kInterrupt},
        {{key::kEsc, 'n', key::F(7), 't'}, FormPage::kSkip},
    };
    for (const Case& c : cases) {
        kestrel::testing::HeadlessRuntime h(c.keys);
        EXPECT_EQ(BeforeFormPage(h.rt), c.result);
        EXPECT_TRUE(h.backend.exhausted());
    }
    kestrel::testing::HeadlessRuntime h({key::kEnter});
    BeforeFormPage(h.rt);
    EXPECT_NE(h.ShownRow(22).find("<Esc>-Przerwanie           <F7>-Opuszczenie strony"),
              std::string::npos);
    EXPECT_EQ(h.Row(22).find("Przerwanie"), std::string::npos);  // cleared afterwards
}

}  // namespace
}  // namespace kestrel::printing
