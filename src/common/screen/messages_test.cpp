#include "common/screen/messages.h"

#include <gtest/gtest.h>

#include "platform/codepage/cp852.h"
#include "platform/console/headless_backend.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

struct Fixture {
    console::HeadlessBackend backend;
    console::Console con{backend};
    base::FixedClock clock{base::LocalTime{2026, 12, 8, 9, 30, 0}};
    Runtime rt{con, clock};

    std::string Row(int r) { return codepage::ToUtf8(con.screen().RowText(r)); }
    std::string ShownRow(int r) { return codepage::ToUtf8(backend.shown().RowText(r)); }
};

TEST(Messages, MessageToneAndWaitThenTheLineIsCleared) {
    Fixture f;
    f.backend.AddKeys({'x', 'y'});
    f.con.screen().Write(23, 39, "\xB3", 0x1F);  // the frame between the halves
    f.con.screen().Write(0, 0, "licznik 123", 0x1F);
    f.con.keyboard().Push('q');  // typed ahead before the message: must not dismiss it

    ShowMessage(f.rt, f.rt.Text("Brak zbioru PKPRAC.DBF"));

    // What the operator saw while the program waited:
    EXPECT_EQ(f.ShownRow(23), " Brak zbioru PKPRAC.DBF" + std::string(16, ' ') +
                                  "│Naciśnij dowolny klawisz" + std::string(16, ' '));
    EXPECT_EQ(f.backend.shown().At(23, 1).attr, console::MakeAttr(14, 1, true));  // GR+*/B
    EXPECT_EQ(f.ShownRow(0), std::string(80, ' '));
    ASSERT_EQ(f.backend.tones().size(), 1u);
    EXPECT_EQ(f.backend.tones()[0].frequency, 900);
    EXPECT_EQ(f.backend.tones()[0].ticks, 4);
    EXPECT_EQ(f.con.LastKey(), 'x');  // the buffered 'q' was dropped

    // After the key:
    EXPECT_EQ(f.Row(23), std::string(39, ' ') + "│" + std::string(40, ' '));
    EXPECT_EQ(f.Row(0).substr(60, 9), "CZEKAJ...");
    EXPECT_TRUE(console::Blinks(f.con.screen().At(0, 60).attr));
}

TEST(Messages, LongMessagesStayInTheLeftHalf) {
    Fixture f;
    f.backend.AddKeys({console::key::kEnter});
    ShowMessage(f.rt, std::string(60, 'M'), false);
    EXPECT_EQ(f.ShownRow(23).substr(1, 39), std::string(38, 'M') + " ");
    EXPECT_FALSE(console::Blinks(f.backend.shown().At(23, 1).attr));
}

TEST(Messages, AShorterTextBlanksWhatALongerOneLeft) {
    Fixture f;
    const console::Attr normal = f.rt.Standard(f.rt.colours().ycow);
    f.con.screen().Write(23, 39, "\xB3", 0x1F);
    WriteMessage(f.rt, f.rt.Text("Trwa usuwanie rekordów skasowanych"), normal);
    WriteMessage(f.rt, "Koniec", f.rt.Standard(f.rt.colours().ycowp));
    EXPECT_EQ(f.Row(23).substr(0, 42), " Koniec" + std::string(32, ' ') + "│");
    // The blanks after the text are in the plain colour, not the text's.
    EXPECT_EQ(f.con.screen().At(23, 10).attr, normal);
    // A text longer than the half stops before the frame.
    WriteMessage(f.rt, std::string(50, 'M'), normal);
    EXPECT_EQ(f.Row(23).substr(0, 42), " " + std::string(38, 'M') + "│");
}

}  // namespace
}  // namespace kestrel::common
