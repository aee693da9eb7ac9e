#include "printing/spool_interrupt.h"

#include "common/pick/pick_window.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "platform/console/keys.h"

namespace kestrel::printing {
namespace {

namespace key = console::key;

constexpr int kLegendRow = 22, kLegendCol = 14;

}  // namespace

bool AskInterruptPrint(common::Runtime& rt) {
    rt.console().keyboard().Clear();
    rt.console().Tone(common::kToneFrequency, common::kToneTicks);
    return common::IsYes(common::Question(rt, rt.Text("Przerwać wydruk?"), "tn"));
}

bool PrintInterrupted(common::Runtime& rt) {
    // Like the report loops' look at the keyboard: the key is taken.
    if (rt.console().Inkey(0) != key::kEsc) return false;
    return AskInterruptPrint(rt);
}

FormPage BeforeFormPage(common::Runtime& rt) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    FormPage result = FormPage::kPrint;
    for (bool asking = true; asking;) {
        common::WriteLegend(rt, kLegendRow, kLegendCol,
                            "<Esc>-Przerwanie           <F7>-Opuszczenie strony");
        const int k = common::Qrminkey(rt);
        if (k == key::kEsc) {
            if (!AskInterruptPrint(rt)) continue;
            result = FormPage::kInterrupt;
        } else if (k == key::F(7)) {
            if (!common::IsYes(common::Question(rt, rt.Text("Opuścić strony ?"), "tn"))) continue;
            result = FormPage::kSkip;
        }
        asking = false;
    }
    s.Clear(kLegendRow, 1, kLegendRow, 77, plain);
    return result;
}

}  // namespace kestrel::printing
