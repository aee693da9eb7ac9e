#include "common/screen/error_screen.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <system_error>

#include "common/session/abandon.h"
#include "headless_runtime.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using testing::HeadlessRuntime;

TEST(ErrorScreen, ErrorText) {
    RunError e;
    e.subsystem = "DBFNTX";
    e.subcode = 1001;
    e.description = "Open error";
    e.file = "PKPLACE.DBF";
    e.os_code = 2;
    EXPECT_EQ(ErrorText(e), "Error DBFNTX/1001  Open error: PKPLACE.DBF;(DOS Error 2)");
    RunError bare;
    bare.description = "Bound error";
    bare.operation = "array access";
    bare.warning = true;
    EXPECT_EQ(ErrorText(bare),
              "Warning ???"
              "/???  Bound error: array access");
}

TEST(ErrorScreen, QuitLinesNameTheChainFromTheInnermostRoutine) {
    RunError e;
    e.subsystem = "BASE";
    e.subcode = 1003;
    e.description = "Brak zmiennej";
    e.os_code = 5;
    const std::vector<std::string> lines = QuitLines(e, {{"QRM2", 10}, {"QRM22", 57}});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Error BASE/1003  Brak zmiennej (DOS Error 5) ");
    EXPECT_EQ(lines[1], "Called from QRM22(57)");
    EXPECT_EQ(lines[2], "Called from QRM2(10)");
}

TEST(CallChain, KeepsTheChainOfAFailureThroughTheUnwinding) {
    CallChain chain;
    try {
        Routine outer(chain, "QRM2");
        Routine inner(chain, "QRM22");
        EXPECT_EQ(chain.frames().size(), 2u);
        throw std::runtime_error("x");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(chain.frames().empty());
    ASSERT_EQ(chain.AtFailure().size(), 2u);
    EXPECT_EQ(chain.AtFailure()[1].routine, "QRM22");
    EXPECT_GT(chain.AtFailure()[1].line, chain.AtFailure()[0].line);
    // A routine that begins afterwards shows the failure is over.
    Routine next(chain, "QRM3");
    ASSERT_EQ(chain.AtFailure().size(), 1u);
    EXPECT_EQ(chain.AtFailure()[0].routine, "QRM3");
}

RunError Failure() {
    RunError e;
    e.subsystem = "TERM";
    e.subcode = 7;
    e.description = "Write error";
    e.can_retry = true;
    e.can_default = true;
    return e;
}

TEST(ErrorScreen, AlertOffersItsChoicesAndPutsTheScreenBack) {
    const struct {
        std::vector<int> keys;
        ErrorChoice expected;
    } cases[] = {
        {{key::kRight, key::kEnter}, ErrorChoice::kRetry},
        {{key::kRight, key::kRight, key::kEnter}, ErrorChoice::kDefault},
        {{key::kLeft, key::kEnter}, ErrorChoice::kBreak},
        {{key::kEsc, 'b'}, ErrorChoice::kBreak},  // Esc chooses nothing
        {{'D'}, ErrorChoice::kDefault},
    };
    for (const auto& c : cases) {
        HeadlessRuntime h(c.keys);
        h.rt.screen().Write(0, 60, "CZEKAJ...", 7);
        h.rt.screen().Write(12, 10, "pod spodem", 7);
        h.rt.screen().SetCursor(5, 6);
        EXPECT_EQ(ErrorAlert(h.rt, Failure()), c.expected);
        EXPECT_EQ(h.At(0, 60, 9), "CZEKAJ...");
        EXPECT_EQ(h.At(12, 10, 10), "pod spodem");
        EXPECT_EQ(h.con.screen().CursorRow(), 5);
        EXPECT_EQ(h.con.screen().CursorCol(), 6);
        EXPECT_EQ(h.backend.tones().size(), 1u);
    }
}

TEST(ErrorScreen, WithoutRetryOrDefaultOnlyQuitAndBreakAreOffered) {
    HeadlessRuntime h({key::F(2), 'r', 'd', key::kRight, key::kEnter});
    std::string screen;
    h.con.keyboard().Bind(key::F(2), [&] { screen = h.con.screen().DumpUtf8(); });
    RunError e;
    e.description = "Pusto";
    EXPECT_EQ(ErrorAlert(h.rt, e), ErrorChoice::kBreak);  // r and d did nothing
    EXPECT_NE(screen.find("Error ???"
                          "/???  Pusto"),
              std::string::npos);
    EXPECT_NE(screen.find(" Quit "), std::string::npos);
    EXPECT_NE(screen.find(" Break "), std::string::npos);
    EXPECT_EQ(screen.find("Retry"), std::string::npos);
}

TEST(ErrorScreen, QuitEndsTheProgramWithTheChain) {
    HeadlessRuntime h({'q'});
    h.con.SetIdle([] {});
    Routine menu(h.rt.call_chain(), "QRM9");
    try {
        ErrorAlert(h.rt, Failure());
        FAIL() << "Quit returned";
    } catch (const ProgramQuit& q) {
        EXPECT_EQ(q.status, 1);
        ASSERT_EQ(q.lines.size(), 2u);
        EXPECT_EQ(q.lines[0], "Error TERM/7  Write error");
        EXPECT_EQ(q.lines[1].rfind("Called from QRM9(", 0), 0u);
    }
}

// Runs `thrower` inside a menu routine and hands what escapes to the handler.
template <typename F>
void Escape(HeadlessRuntime& h, F thrower) {
    try {
        Routine menu(h.rt.call_chain(), "QRM5");
        thrower();
    } catch (const std::exception&) {
        HandleEscapedError(h.rt, std::current_exception());
    }
}

TEST(ErrorHandler, UnexpectedExceptionsReachTheAlert) {
    HeadlessRuntime h({key::F(2), 'b'});
    std::string screen;
    h.con.keyboard().Bind(key::F(2), [&] { screen = h.con.screen().DumpUtf8(); });
    Escape(h, [] { throw std::out_of_range("vector::at"); });
    EXPECT_NE(screen.find("Error ???"
                          "/???  vector::at"),
              std::string::npos);
    EXPECT_EQ(screen.find("Retry"), std::string::npos);

    HeadlessRuntime q({'q'});
    try {
        Escape(q, [] { throw std::logic_error("zepsute"); });
        FAIL() << "Quit returned";
    } catch (const ProgramQuit& quit) {
        ASSERT_EQ(quit.lines.size(), 2u);
        EXPECT_EQ(quit.lines[1].rfind("Called from QRM5(", 0), 0u);
    }
}

TEST(ErrorHandler, MemoryOpenFilesAndPrinterPortHaveTheirScreens) {
    HeadlessRuntime h({key::F(2), ' '});
    std::string screen;
    h.con.keyboard().Bind(key::F(2), [&] { screen = h.con.screen().DumpUtf8(); });
    Escape(h, [] { throw std::bad_alloc(); });
    EXPECT_NE(screen.find("Za malo pamieci operacyjnej"), std::string::npos);

    HeadlessRuntime f({key::F(2), ' '});
    f.con.keyboard().Bind(key::F(2), [&] { screen = f.con.screen().DumpUtf8(); });
    Escape(f, [] { throw std::system_error(EMFILE, std::generic_category(), "open"); });
    EXPECT_NE(screen.find("FILES w pliku CONFIG.SYS"), std::string::npos);

    HeadlessRuntime p({key::F(2), ' '});
    p.con.keyboard().Bind(key::F(2), [&] { screen = p.con.screen().DumpUtf8(); });
    Escape(p, [] {
        RunError e;
        e.description = "Open error";
        e.file = "lpt2";
        throw RunTimeError(e);
    });
    EXPECT_NE(screen.find("Błędny port drukarki: LPT2"), std::string::npos);
    EXPECT_EQ(p.rt.config().Text("NAGLNDR", ""), "1");
}

TEST(ErrorHandler, AbandonShowsItsMessageAndOtherThrowsPassThrough) {
    HeadlessRuntime h({key::F(2), ' '});
    std::string row;
    h.con.keyboard().Bind(key::F(2), [&] { row = h.Row(23); });
    Escape(h, [] { throw Abandon("Brak zbioru"); });
    EXPECT_NE(row.find("Brak zbioru"), std::string::npos);
    EXPECT_THROW(HandleEscapedError(h.rt, std::make_exception_ptr(ProgramQuit{})), ProgramQuit);
    EXPECT_THROW(HandleEscapedError(h.rt, std::make_exception_ptr(42)), int);
}

TEST(ErrorScreen, PrinterNotReady) {
    HeadlessRuntime h({key::F(2), key::kEsc, 'x'});
    std::string row;
    h.con.keyboard().Bind(key::F(2), [&] { row = h.Row(23); });
    EXPECT_FALSE(PrinterNotReady(h.rt, 0x90));
    EXPECT_EQ(row.substr(2, 18), "Drukarka niegotowa");
    EXPECT_EQ(row.substr(23, 10), "(10010000)");
    EXPECT_EQ(row.substr(40, 37), "Esc - przerwanie, Inny klawisz - druk");
    h.rt.screen().Clear(23, 0, 23, 79, 7);
    EXPECT_TRUE(PrinterNotReady(h.rt, 0));  // any other key prints again
    EXPECT_EQ(h.Row(23).find("Drukarka"), std::string::npos);
}

}  // namespace
}  // namespace kestrel::common
