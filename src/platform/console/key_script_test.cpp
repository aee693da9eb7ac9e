#include "platform/console/key_script.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"

namespace kestrel::console {
namespace {

std::vector<int> Keys(const std::vector<ScriptStep>& steps) {
    std::vector<int> keys;
    for (const auto& s : steps) keys.push_back(s.kind == ScriptStep::Kind::kKey ? s.key : -1000);
    return keys;
}

TEST(KeyScript, CharactersNamedKeysBracesAndScreens) {
    std::vector<ScriptStep> steps;
    ASSERT_TRUE(
        ParseKeyScript(
            "ab{Enter}\n{{x}{F2}{Alt+U}{ctrl+w}{Shift+F3}{PgDn}\r\nŁ{screen menu_1}{Down*3}",
            &steps)
            .ok());
    std::vector<int> expected = {'a',
                                 'b',
                                 key::kEnter,
                                 '{',
                                 'x',
                                 '}',
                                 key::F(2),
                                 key::Alt('U'),
                                 key::Ctrl('W'),
                                 key::ShiftF(3),
                                 key::kPgDn,
                                 0x9D,
                                 -1000,
                                 key::kDown,
                                 key::kDown,
                                 key::kDown};
    EXPECT_EQ(Keys(steps), expected);
    EXPECT_EQ(steps[12].name, "menu_1");
}

TEST(KeyScript, ErrorsNameTheLine) {
    std::vector<ScriptStep> steps;
    struct Bad {
        const char* script;
        const char* message;
    } bad[] = {
        {"abc\n{Nope}", "key script, line 2: unknown key {Nope}"},
        {"{Enter", "key script, line 1: unclosed {"},
        {"x\ny\n{Enter\n}", "key script, line 3: unclosed {"},
        {"{screen ../../etc/passwd}", "key script, line 1: bad screen name \"../../etc/passwd\""},
        {"{screen }", "key script, line 1: unknown key {screen }"},
        {"€", "key script, line 1: character U+8364 cannot be typed"},
    };
    for (const auto& b : bad) {
        base::Status s = ParseKeyScript(b.script, &steps);
        EXPECT_TRUE(s.IsInvalidArgument()) << b.script;
        EXPECT_EQ(s.message(), b.message);
    }
}

}  // namespace
}  // namespace kestrel::console
