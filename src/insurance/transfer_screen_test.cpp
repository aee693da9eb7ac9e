#include "insurance/transfer_screen.h"

#include <gtest/gtest.h>

#include "insurance/data/insurance_transfer.h"
#include "test_company.h"

namespace kestrel::insurance {
namespace {

namespace key = console::key;
using registry::testing::TestCompany;
using V = std::vector<std::string>;

struct TransferCompany : TestCompany {
    V shown;  // rows 7-21 when F11 is pressed, trimmed, the empty ones left out

    TransferCompany() {
        Make("PKSTER", {{{"ROK_", "2026"}, {"MC_", "12"}}});
        h.con.keyboard().Bind(key::F(11), [this] {
            for (int r = 7; r <= 21; ++r) {
                const std::string row = base::Trim(h.Row(r));
                if (!row.empty()) shown.push_back(row);
            }
        });
    }
};

// The warning screen says what the transfer changes and how many hand
// corrections it replaces; Esc there ends before the question.
TEST(TransferScreen, EscOnTheWarningEndsBeforeTheQuestion) {
    TransferCompany c;
    c.Keys({key::F(11), key::kEsc});
    Qrm62(c.h.rt);
    EXPECT_TRUE(c.h.backend.exhausted());
    ASSERT_GE(c.shown.size(), 3u);
    EXPECT_EQ(c.shown.front(),
              "UWAGA! - Każdorazowe wykonanie punktu 6.2 powoduje zmianę zawartości");
    EXPECT_NE(
        std::find(c.shown.begin(), c.shown.end(),
                  "Rekordy poprawione ręcznie (bez blokady 6.2), które zostaną zastąpione: 0"),
        c.shown.end());
    EXPECT_EQ(c.h.At(23, 40, 24), "                        ");
}

// "Dekretować?": "n" ends quietly, Esc ends with a tone; without rights
// kind 3 nothing is shown at all.
TEST(TransferScreen, TheQuestionAndTheRight) {
    TransferCompany c;
    c.Keys({key::kEnter, 'n'});
    Qrm62(c.h.rt);
    EXPECT_TRUE(c.h.backend.tones().empty());
    c.Keys({key::kEnter, key::kEsc});
    Qrm62(c.h.rt);
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
    EXPECT_TRUE(c.h.backend.exhausted());
    c.h.rt.operators() = {true, "JAN ", 32};
    c.Keys({key::kEnter});  // the refusal's key
    Qrm62(c.h.rt);
    EXPECT_TRUE(c.h.backend.exhausted());
    EXPECT_EQ(c.h.backend.tones().size(), 2u);
}

// The end of a complete run: with check algorithms the reminder of 6.A.2
// and, unless NAGLBSPRZ, the two lines of what it blocks; a run stopped by
// its message says only that.
TEST(TransferScreen, TheEndOfTheRun) {
    struct Case {
        bool completed, check, bsprz;
        std::string message;
        V rows;
    } const cases[] = {
        {true,
         true,
         false,
         "",
         {"Wykonaj obecnie funkcję \"Sprawdzenie spójności modułu ZUS\" (punkt 6.A.2).",
          "UWAGA! bez wykonania tego punktu zablokowane jest tworzenie pliku KEDU",
          "i drukowanie deklaracji ZUS."}},
        {true,
         true,
         true,
         "",
         {"Wykonaj obecnie funkcję \"Sprawdzenie spójności modułu ZUS\" (punkt 6.A.2)."}},
        {true, false, false, "", {}},
        {false, true, false, "Zdublowany tytuł ubezpieczenia", {}},
    };
    for (const Case& k : cases) {
        TransferCompany c;
        c.h.rt.config().Set("NAGLBSPRZ", memfile::MemValue::Logical(k.bsprz));
        V messages;
        c.h.con.keyboard().Bind(key::F(12), [&] {
            messages.push_back(base::TrimRight(c.h.Row(23).substr(1, 38)));
            for (int r = 17; r <= 19; ++r) {
                const std::string row = base::Trim(c.h.Row(r));
                if (!row.empty()) c.shown.push_back(row);
            }
        });
        TransferOutcome out;
        out.completed = k.completed;
        out.check_algorithms = k.check;
        out.message = codepage::FromUtf8(k.message);
        c.Keys({key::F(12), key::kEnter});
        ShowTransferEnd(c.h.rt, out);
        EXPECT_EQ(messages, V{k.completed ? "Koniec aktualizacji" : k.message}) << k.message;
        EXPECT_EQ(c.shown, k.rows);
        EXPECT_TRUE(c.h.backend.exhausted());
    }
}

}  // namespace
}  // namespace kestrel::insurance
