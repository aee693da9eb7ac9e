#include "platform/console/console.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/console/headless_backend.h"
#include "platform/console/keys.h"

namespace kestrel::console {
namespace {

TEST(Console, TypeAheadComesBeforeTheBackendAndPeekDoesNotTake) {
    HeadlessBackend backend;
    backend.AddKeys({'a', 'b'});
    Console con(backend);
    con.keyboard().Push(key::kEsc);
    EXPECT_EQ(con.NextKey(), key::kEsc);
    EXPECT_EQ(con.WaitKey(), key::kEsc);
    EXPECT_EQ(con.LastKey(), key::kEsc);
    EXPECT_EQ(con.NextKey(), 'a');  // peeked from the backend, kept for the next read
    EXPECT_EQ(con.NextKey(), 'a');
    EXPECT_EQ(con.Inkey(0), 'a');
    con.keyboard().Stuff({key::kEnter});
    EXPECT_EQ(con.WaitKey(), key::kEnter);
    con.keyboard().Push('x');
    con.keyboard().Clear();
    EXPECT_EQ(con.WaitKey(), 'b');
    EXPECT_EQ(con.Inkey(0), key::kNone);  // a poll at the end of the script is not the end
    EXPECT_EQ(con.LastKey(), 'b');
    EXPECT_THROW(con.WaitKey(), ScriptEnded);
}

TEST(Console, HotKeysRunWhileWaitingAndCanBeSavedAndRestored) {
    HeadlessBackend backend;
    backend.AddKeys({key::F(1), 'x', key::F(1), key::Alt('U'), key::F(1)});
    Console con(backend);
    int f1 = 0;
    int alt_u = 0;
    con.keyboard().Bind(key::F(1), [&] {
        ++f1;
        EXPECT_TRUE(con.waiting());
    });
    EXPECT_EQ(con.WaitKey(), 'x');  // F1 ran its action, the wait went on
    EXPECT_EQ(f1, 1);
    EXPECT_EQ(con.LastKey(), 'x');

    // Inkey is not a wait state: no hot keys there.
    EXPECT_EQ(con.Inkey(1), key::F(1));
    EXPECT_EQ(f1, 1);

    // A routine binds its own action and puts the old one back when done.
    HotKeyAction saved = con.keyboard().Bind(key::F(1), [&] { f1 += 100; });
    con.keyboard().Bind(key::Alt('U'), [&] {
        ++alt_u;
        con.keyboard().Push(key::kEsc);  // "puts Esc into the keyboard buffer"
    });
    EXPECT_EQ(con.WaitKey(), key::kEsc);
    EXPECT_EQ(alt_u, 1);
    con.keyboard().Bind(key::F(1), saved);
    con.keyboard().Unbind(key::Alt('U'));
    EXPECT_FALSE(con.keyboard().IsBound(key::Alt('U')));
    EXPECT_THROW(con.WaitKey(), ScriptEnded);  // F1 ran the restored action
    EXPECT_EQ(f1, 2);
}

TEST(Console, AHotKeyDoesNotReenterItself) {
    HeadlessBackend backend;
    backend.AddKeys({key::F(2), key::F(2), 'z'});
    Console con(backend);
    std::vector<int> inside;
    con.keyboard().Bind(key::F(2), [&] { inside.push_back(con.WaitKey()); });
    EXPECT_EQ(con.WaitKey(), 'z');
    EXPECT_EQ(inside, std::vector<int>{key::F(2)});
}

// A poll for type-ahead must not take a screen step: the screen is written
// at the next real wait, when what was being drawn is complete.
TEST(Console, PollLeavesAScreenStepForTheNextWait) {
    auto dir = std::filesystem::temp_directory_path() /
               ("kestrel_console_poll_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    HeadlessBackend backend;
    ASSERT_TRUE(backend.AddScript("a{screen two}b").ok());
    backend.set_screens_dir(dir.string());
    Console con(backend);
    EXPECT_EQ(con.WaitKey(), 'a');
    con.Say(1, 0, "first");
    EXPECT_EQ(con.NextKey(), key::kNone);
    con.Say(2, 0, "second");
    EXPECT_EQ(con.WaitKey(), 'b');
    std::ifstream in(dir / "two.txt");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("second"), std::string::npos) << text.str();
    std::filesystem::remove_all(dir);
}

TEST(Console, PresentsOnlyBeforeWaitingAndWritesScreens) {
    auto dir = std::filesystem::temp_directory_path() /
               ("kestrel_console_test_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    HeadlessBackend backend;
    ASSERT_TRUE(backend.AddScript("{screen one}q").ok());
    backend.set_screens_dir(dir.string());
    Console con(backend);
    ASSERT_TRUE(con.SetColour("W+/B,N/W"));
    EXPECT_FALSE(con.SetColour("W+/Q"));
    EXPECT_EQ(con.colour().standard, MakeAttr(15, 1));
    con.Say(2, 25, "Tytu\x88");
    EXPECT_EQ(backend.presents(), 0);
    EXPECT_EQ(con.WaitKey(), 'q');
    EXPECT_EQ(backend.presents(), 1);
    EXPECT_EQ(backend.shown().At(2, 25).attr, MakeAttr(15, 1));
    EXPECT_FALSE(con.screen().AnyDamage());

    std::ifstream in(dir / "one.txt");
    std::stringstream text;
    text << in.rdbuf();
    std::string dump = text.str();
    EXPECT_EQ(dump.substr(0, 81), std::string(80, ' ') + "\n");
    EXPECT_NE(dump.find("Tytuł"), std::string::npos);
    std::filesystem::remove_all(dir);

    con.Tone(900, 4);
    ASSERT_EQ(backend.tones().size(), 1u);
    EXPECT_EQ(backend.tones()[0].frequency, 900);
    EXPECT_EQ(backend.tones()[0].ticks, 4);
}

}  // namespace
}  // namespace kestrel::console
