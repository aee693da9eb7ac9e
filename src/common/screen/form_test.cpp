#include "common/screen/form.h"

#include <gtest/gtest.h>

#include "common/screen/messages.h"
#include "headless_runtime.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using testing::HeadlessRuntime;

std::vector<int> Typed(std::string_view text) {
    return {text.begin(), text.end()};
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The small form of the tests: a scrolling name, an amount that must be
// positive, a date and a T/N flag.
struct SmallForm {
    HeadlessRuntime h;
    Form form{h.rt};
    std::string name = std::string(20, ' ');
    double amount = 10;
    picture::Date date{2026, 12, 8};
    bool active = false;
    int valid_calls = 0;

    explicit SmallForm(std::vector<int> keys) : h(std::move(keys)) {
        form.Get(5, 20, &name, "@!S8");
        form.Get(6, 20, &amount, 9, 2, "@E 99,999.99").Valid([this] {
            ++valid_calls;
            if (amount > 0) return true;
            ShowMessage(h.rt, h.rt.Text("Kwota musi być dodatnia"));
            return false;
        });
        form.Get(7, 20, &date);
        form.Get(8, 20, &active);
    }
    ReadResult Read() { return form.Read(); }
};

TEST(Form, TypingThroughEveryFieldSavesTypedValues) {
    SmallForm f(Join({Typed("kowalski"),
                      {key::kEnter},
                      Typed("1234,5"),
                      {key::kEnter},
                      Typed("20240229"),
                      Typed("t")}));
    const ReadResult r = f.Read();
    EXPECT_TRUE(r.saved());
    EXPECT_EQ(r.last_field, 3);  // typing the one letter of the last field ends the read
    EXPECT_TRUE(r.updated);
    EXPECT_EQ(f.name, "KOWALSKI            ");
    EXPECT_DOUBLE_EQ(f.amount, 1234.5);
    EXPECT_EQ(f.date, (picture::Date{2024, 2, 29}));
    EXPECT_TRUE(f.active);
    EXPECT_EQ(f.h.At(6, 20, 9), " 1.234,50");
    EXPECT_EQ(f.h.At(7, 20, 10), "2024-02-29");
    EXPECT_EQ(f.h.At(8, 20, 1), "T");
}

TEST(Form, ValidationMessageKeepsTheCursorInTheField) {
    // 0 is refused with the message; the key after it ends the message wait.
    SmallForm f(Join(
        {{key::kEnter}, Typed("0"), {key::kEnter, ' '}, Typed("5"), {key::kEnter, key::kPgDn}}));
    const ReadResult r = f.Read();
    EXPECT_EQ(f.valid_calls, 2);
    EXPECT_DOUBLE_EQ(f.amount, 5);
    EXPECT_EQ(r.last_field, 2);  // PgDn in the date field
    EXPECT_EQ(r.last_key, key::kPgDn);
    ASSERT_EQ(f.h.backend.tones().size(), 1u);
    EXPECT_EQ(f.h.backend.tones()[0].frequency, 900);
    EXPECT_EQ(f.h.At(0, 60, 9), "         ");  // no "CZEKAJ..." left while typing on
}

TEST(Form, MessageIsShownOnRow23WhileItWaits) {
    SmallForm f(Join({{key::kEnter}, Typed("0"), {key::kEnter, key::F(2), ' ', key::kEsc}}));
    std::string row;
    f.h.con.keyboard().Bind(key::F(2), [&] { row = f.h.Row(23); });
    f.Read();
    EXPECT_EQ(row.substr(1, 24), "Kwota musi być dodatnia");
    EXPECT_NE(row.find("Naciśnij dowolny klawisz"), std::string::npos);
}

TEST(Form, EscEndsWithoutTakingTheFieldBeingEdited) {
    SmallForm f(Join({Typed("nowak"), {key::kDown}, Typed("77"), {key::kEsc}}));
    const ReadResult r = f.Read();
    EXPECT_EQ(r.end, ReadEnd::kEscape);
    EXPECT_EQ(r.last_field, 1);
    EXPECT_EQ(f.name, "NOWAK               ");  // left before Esc: taken
    EXPECT_DOUBLE_EQ(f.amount, 10);             // being edited: not taken
    EXPECT_TRUE(r.updated);
}

TEST(Form, PgDnAndCtrlWSaveAtOnceAndValidationStillRuns) {
    SmallForm f(Join({Typed("ab"), {key::kPgDn}}));
    ReadResult r = f.Read();
    EXPECT_TRUE(r.saved());
    EXPECT_EQ(r.last_field, 0);
    EXPECT_EQ(f.name.substr(0, 2), "AB");

    SmallForm g(Join({{key::kDown}, Typed("0"), {key::kCtrlEnd, ' ', key::kEsc}}));
    r = g.Read();
    EXPECT_EQ(r.end, ReadEnd::kEscape);  // Ctrl+W was refused by the check
    EXPECT_DOUBLE_EQ(g.amount, 0);       // the value was written before the check ran
}

TEST(Form, ScrollingFieldShowsTheCursorsPart) {
    std::vector<int> keys = Typed("abcdefghijkl");
    keys.push_back(key::kEsc);
    SmallForm f(keys);
    f.Read();
    // While typing, the window of 8 characters followed the cursor.
    EXPECT_EQ(f.h.ShownRow(5).substr(20, 8), "FGHIJKL ");
    EXPECT_EQ(f.h.backend.shown().CursorCol(), 27);
    // After the read the field shows its beginning again (Esc: nothing taken).
    EXPECT_EQ(f.h.At(5, 20, 8), "        ");
    EXPECT_EQ(f.h.At(5, 28, 1), " ");  // nothing written past the window
}

TEST(Form, LogicalFieldTakesTAndYAsYes) {
    const struct {
        int letter;
        bool start;
        bool expected;
    } cases[] = {{'t', false, true}, {'T', false, true}, {'Y', false, true},
                 {'n', true, false}, {'N', true, false}, {'F', true, false}};
    for (const auto& c : cases) {
        HeadlessRuntime h({c.letter});
        bool flag = c.start;
        Form form(h.rt);
        form.Get(3, 3, &flag);
        EXPECT_TRUE(form.Read().saved());
        EXPECT_EQ(flag, c.expected) << static_cast<char>(c.letter);
    }
    // Other letters are refused and the field waits on.
    HeadlessRuntime h({'x', 'q', key::kEnter});
    bool flag = true;
    Form form(h.rt);
    form.Get(3, 3, &flag);
    form.Read();
    EXPECT_TRUE(flag);
}

TEST(Form, InsertKeyTogglesModeAndCursorShape) {
    HeadlessRuntime h({key::kRight, 'X', key::kIns, 'Y', key::kEnter});
    std::string text = "abcd  ";
    Form form(h.rt);
    form.Get(2, 2, &text);
    const auto shape_before = h.con.screen().cursor_shape();
    form.Read();
    EXPECT_EQ(text, "aXYcd ");  // overwrite b with X, then insert Y before c
    EXPECT_TRUE(form.insert_mode());
    EXPECT_EQ(h.con.screen().cursor_shape(), shape_before);  // put back after the read
}

TEST(Form, CursorShapeShowsInsertMode) {
    HeadlessRuntime h({key::kIns, key::F(2), key::kIns, key::F(2), key::kEnter});
    std::string text = "ab";
    Form form(h.rt);
    form.Get(2, 2, &text);
    std::vector<console::CursorShape> shapes;
    h.con.keyboard().Bind(key::F(2), [&] { shapes.push_back(h.con.screen().cursor_shape()); });
    form.Read();
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0], console::CursorShape::kHalfBlock);
    EXPECT_EQ(shapes[1], console::CursorShape::kUnderline);
}

TEST(Form, WhenAndReadOnlyFieldsAreSkippedBothWays) {
    HeadlessRuntime h({'1', key::kUp, '9', '3'});
    std::string a = " ", b = "b", c = " ";
    std::string fixed = h.rt.Text("stały");
    bool allow_b = false;
    Form form(h.rt);
    form.Get(1, 1, &a);
    form.Get(2, 1, &b).When([&] { return allow_b; });
    form.Get(3, 1, &fixed).ReadOnly();
    form.Get(4, 1, &c);
    const ReadResult r = form.Read();
    EXPECT_EQ(a, "9");
    EXPECT_EQ(b, "b");
    EXPECT_EQ(c, "3");
    EXPECT_EQ(r.last_field, 3);
    EXPECT_EQ(h.At(3, 1, 5), "stały");  // shown though never entered
}

TEST(Form, UpOnFirstAndDownOnLastStay) {
    HeadlessRuntime h({key::kUp, 'a', key::kDown, key::kDown, 'b', key::kEnter});
    std::string a = " ", b = " ";
    Form form(h.rt);
    form.Get(1, 1, &a);
    form.Get(2, 1, &b);
    // 'a' fills the first field and moves on; Down twice stays on the last.
    const ReadResult r = form.Read();
    EXPECT_EQ(a, "a");
    EXPECT_EQ(b, "b");
    EXPECT_TRUE(r.saved());
}

TEST(Form, BadDateIsRefusedWithATone) {
    HeadlessRuntime h(Join({Typed("20230229"), Typed("20240229")}));
    picture::Date d;
    Form form(h.rt);
    form.Get(1, 1, &d);
    form.Read();
    EXPECT_EQ(d, (picture::Date{2024, 2, 29}));
    EXPECT_EQ(h.backend.tones().size(), 1u);
}

TEST(Form, RPictureKeepsLiteralsOutOfTheVariable) {
    HeadlessRuntime h(Typed("00950"));
    std::string code;
    Form form(h.rt);
    form.Get(1, 1, &code, "@R 99-999");
    form.Read();
    EXPECT_EQ(code, "00950");
    EXPECT_EQ(h.At(1, 1, 6), "00-950");
}

TEST(Form, QrmrdrForgetsTheFieldsAndClearsRows) {
    HeadlessRuntime h({key::kEnter});
    h.rt.screen().Write(0, 0, "licznik", 7);
    h.rt.screen().Write(23, 1, "stary komunikat", 7);
    std::string a = "x";
    Form form(h.rt);
    form.Get(1, 1, &a);
    const ReadResult r = Qrmrdr(h.rt, form);
    EXPECT_TRUE(r.saved());
    EXPECT_EQ(form.size(), 0);
    EXPECT_EQ(h.At(0, 0, 7), "       ");
    EXPECT_EQ(h.At(0, 60, 9), "CZEKAJ...");
    EXPECT_EQ(h.At(23, 1, 15), std::string(15, ' '));
}

}  // namespace
}  // namespace kestrel::common
