#include "common/screen/question.h"

#include <gtest/gtest.h>

#include "headless_runtime.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using testing::HeadlessRuntime;

char Ask(std::vector<int> keys, char def = 0, std::string_view answers = "tn") {
    HeadlessRuntime h(keys);
    return Question(h.rt, "Koniec programu?", answers, def);
}

TEST(Question, AnswersDefaultsAndRefusedLetters) {
    EXPECT_EQ(Ask({'t'}), 't');
    EXPECT_EQ(Ask({'T'}), 'T');
    EXPECT_EQ(Ask({'x', 'q', 'n'}), 'n');   // other letters are not taken
    EXPECT_EQ(Ask({key::kEsc}, 'n'), 'n');  // Esc keeps the default
    EXPECT_EQ(Ask({key::kEnter}, 't'), 't');
    EXPECT_EQ(Ask({key::kEsc}), ' ');  // no default: a blank, which is "no"
    EXPECT_FALSE(IsYes(Ask({key::kEsc})));
    EXPECT_EQ(Ask({'Y', 'y'}, 0, "tny"), 'Y');
    EXPECT_TRUE(IsYes('t'));
    EXPECT_FALSE(IsYes('y'));
}

TEST(Question, ShowsTheQuestionWithItsAnswersAndClearsItAfterwards) {
    HeadlessRuntime h({'n'});
    Question(h.rt, "Koniec programu?", "tn", 'n');
    EXPECT_EQ(h.ShownRow(23).substr(40, 25), "Koniec programu? [t,n] n ");
    EXPECT_EQ(h.backend.shown().At(23, 58).attr, console::MakeAttr(14, 1));  // "t" emphasised
    EXPECT_EQ(h.backend.shown().CursorCol(), 63);
    EXPECT_EQ(h.Row(23).substr(40), std::string(40, ' '));
}

}  // namespace
}  // namespace kestrel::common
