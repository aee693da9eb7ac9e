#include "common/screen/text_editor.h"

#include <gtest/gtest.h>

#include "headless_runtime.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using testing::HeadlessRuntime;

constexpr int kCtrlW = 23;

std::vector<int> Typed(std::string_view cp852) {
    std::vector<int> keys;
    for (unsigned char c : cp852) keys.push_back(c);
    return keys;
}

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Cells of the screen the operator last saw, in UTF-8.
std::string Shown(const HeadlessRuntime& h, int row, int col, int len) {
    return codepage::ToUtf8(h.backend.shown().Text(row, col, len));
}

TextEditorOptions Formula(HeadlessRuntime& h) {
    TextEditorOptions o;
    o.title = h.rt.Text(" Algorytm ");
    return o;
}

TEST(TextEditor, CtrlWSavesTheTextAndEscLeavesItAlone) {
    {
        HeadlessRuntime h(Typed("NORM*2") + std::vector<int>{kCtrlW});
        std::string text;
        EXPECT_TRUE(EditText(h.rt, Formula(h), &text));
        EXPECT_EQ(text, "NORM*2");
    }
    {
        HeadlessRuntime h(Typed("NORM*2") + std::vector<int>{key::kEsc});
        std::string text = "N50";
        EXPECT_FALSE(EditText(h.rt, Formula(h), &text));
        EXPECT_EQ(text, "N50");
        EXPECT_TRUE(h.backend.tones().empty());  // nothing asked, nothing rung
    }
    {
        // Saved unchanged, a text keeps its bytes, even soft breaks of another width.
        HeadlessRuntime h({key::kDown, key::kEnd, kCtrlW});
        std::string text = "NORM\x8D\n+ N50\r\n";
        EXPECT_TRUE(EditText(h.rt, Formula(h), &text));
        EXPECT_EQ(text, "NORM\x8D\n+ N50\r\n");
    }
}

TEST(TextEditor, TheWindowFrameAndTheTextStandWhereFormulasAreEdited) {
    HeadlessRuntime h(Typed("RAZG") + std::vector<int>{key::kEnter} + Typed("+ N50") +
                      std::vector<int>{key::kEsc});
    h.rt.screen().Write(0, 60, "CZEKAJ...", 7);
    const console::ScreenRegion before = h.rt.screen().Save(1, 0, 24, 79);
    bool checked = false;
    TextEditorOptions o = Formula(h);
    o.keys = [&](int k, TextEditor&) {
        if (k != key::kEsc && k != 'N') return false;
        if (checked) return false;
        // Shown before the second line's "N" was typed.
        EXPECT_EQ(Shown(h, 0, 60, 9), "         ");  // no "CZEKAJ..." while typing
        EXPECT_EQ(Shown(h, 6, 11, 12), "╔═ Algorytm ");
        EXPECT_EQ(Shown(h, 6, 53, 15), " W/K:   2/3  ═╗");
        EXPECT_EQ(Shown(h, 7, 11, 57), "║RAZG" + std::string(51, ' ') + "║");
        EXPECT_EQ(Shown(h, 8, 11, 4), "║+  ");
        EXPECT_EQ(Shown(h, 22, 11, 34), "╚═ <Ctrl+W>-Zapis ═ <Esc>-Wyjście ");
        EXPECT_EQ(h.backend.shown().CursorRow(), 8);
        EXPECT_EQ(h.backend.shown().CursorCol(), 14);
        checked = true;
        return false;
    };
    std::string text;
    EXPECT_FALSE(EditText(h.rt, o, &text));
    EXPECT_TRUE(checked);
    // What the window covered is back; the program works on.
    const console::ScreenRegion after = h.rt.screen().Save(1, 0, 24, 79);
    EXPECT_EQ(after.cells, before.cells);
    EXPECT_EQ(h.At(0, 60, 9), "CZEKAJ...");
}

// A backend that notes the rows each presentation sends.
struct DamageBackend : console::HeadlessBackend {
    std::vector<std::vector<int>> sent;
    void Present(const console::Screen& s) override {
        std::vector<int> rows;
        for (int r = 0; r < console::kRows; ++r)
            if (s.RowDamaged(r)) rows.push_back(r);
        sent.push_back(rows);
        HeadlessBackend::Present(s);
    }
};

TEST(TextEditor, AKeystrokeRepaintsOnlyTheRowsThatChanged) {
    DamageBackend backend;
    console::Console con(backend);
    base::FixedClock clock{base::LocalTime{2026, 12, 8, 9, 30, 0}};
    Runtime rt(con, clock);
    std::string text = "NORM + N50\r\nN100\r\nGNOC";
    backend.AddKeys({key::kDown, key::kEnd, 'x', key::kUp, key::kEsc});
    EditText(rt, TextEditorOptions{}, &text);
    ASSERT_EQ(backend.sent.size(), 5u);                    // one presentation before each key
    EXPECT_EQ(backend.sent[1], (std::vector<int>{6}));     // Down: only "W/K:" moves
    EXPECT_EQ(backend.sent[3], (std::vector<int>{6, 8}));  // "x" on the second line
    EXPECT_EQ(backend.sent[4], (std::vector<int>{6}));
}

TEST(TextEditor, LongTextsScrollAndTheWindowFollowsTheCursor) {
    std::string text;
    for (int i = 1; i <= 40; ++i) {
        text += 'L';
        text += std::to_string(i);
        text += "\r\n";
    }
    HeadlessRuntime h({key::kPgDn, key::kPgDn, key::kF1, key::kCtrlPgDn, key::kF1, key::kCtrlHome,
                       key::kF1, key::kEsc});
    std::vector<std::string> seen;
    TextEditorOptions o;
    o.keys = [&](int k, TextEditor& e) {
        if (k != key::kF1) return false;
        seen.push_back(base::TrimRight(Shown(h, 7, 12, 10)) + "@" +
                       std::to_string(e.buffer().row()));
        return true;
    };
    EditText(h.rt, o, &text);
    EXPECT_EQ(seen, (std::vector<std::string>{"L27@30", "L27@40", "L1@0"}));
}

TEST(TextEditor, AKeyHandlerInsertsAtTheCursor) {
    HeadlessRuntime h(Typed("2*()") + std::vector<int>{key::kLeft, key::F(8), kCtrlW});
    TextEditorOptions o = Formula(h);
    o.keys = [](int k, TextEditor& e) {
        if (k != key::F(8)) return false;
        e.Insert("NORM +\x8D\nN50");
        return true;
    };
    std::string text;
    EXPECT_TRUE(EditText(h.rt, o, &text));
    EXPECT_EQ(text, "2*(NORM +N50)");
}

TEST(TextEditor, InsAndTheLineKeysAndPolishLetters) {
    // Overwrite after Ins; Ctrl+Y takes the line away, the next one moves up
    // and is overwritten; "ą" and "Ź" are typed as CP852.
    HeadlessRuntime h(std::vector<int>{key::kIns} + Typed("XY") + std::vector<int>{key::kDown, 25} +
                      Typed("\xA5\x8D") + std::vector<int>{kCtrlW});
    std::string text = "ABCD\r\nstare\r\nkoniec";
    TextEditorOptions o;
    o.keys = [&](int k, TextEditor& e) {
        if (k == 0xA5) {
            EXPECT_FALSE(e.insert_mode());
        }
        return false;
    };
    EXPECT_TRUE(EditText(h.rt, o, &text));
    EXPECT_EQ(text, "XYCD\r\n\xA5\x8Dniec");
    EXPECT_EQ(codepage::ToUtf8(text.substr(6, 2)), "ąŹ");
}

TEST(TextEditor, ReadOnlyShowsTheTextAndTakesNothing) {
    HeadlessRuntime h(Typed("zz") + std::vector<int>{key::kDel, key::kEnter});
    TextEditorOptions o;
    o.read_only = true;
    TextEditor e(h.rt, o, "NORM*2");
    EXPECT_FALSE(e.Run());
    EXPECT_FALSE(e.changed());
    EXPECT_EQ(e.Text(), "NORM*2");
}

}  // namespace
}  // namespace kestrel::common
