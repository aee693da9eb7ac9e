#include "register/code_list_print.h"

#include <algorithm>

#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/console/screen.h"
#include "printing/spool_interrupt.h"
#include "printing/spool_or_print.h"

namespace kestrel::registry {

bool AskPrintDate(common::Runtime& rt, int row, int col, base::LocalTime* date) {
    auto& s = rt.screen();
    const int at = s.Write(row, col, rt.Text("Data wydruku:"), rt.Standard(rt.colours().ycow)) + 1;
    picture::Date typed{date->year, date->month, date->day};
    common::Form form(rt);
    form.Get(row, at, &typed).Valid([&] {
        if (!typed.empty()) return true;
        rt.console().Tone(common::kToneFrequency, common::kToneTicks);
        return false;
    });
    if (!common::Qrmrdr(rt, form).saved()) return false;
    *date = base::LocalTime{typed.year, typed.month, typed.day, 0, 0, 0};
    return true;
}

void PrintCodeList(common::Runtime& rt, CodeList list) {
    auto& s = rt.screen();
    base::LocalTime date = rt.working_date();
    {
        const console::ScreenRegion under = s.Save(12, 24, 14, 55);
        s.Box(12, 24, 14, 55, std::string(console::kFrameDouble) + " ",
              rt.Standard(rt.colours().ycow));
        const bool asked = AskPrintDate(rt, 13, 27, &date);
        s.Restore(under);
        if (!asked) return;
    }
    const PrintDateFor dated(rt, date);
    list.interrupted = [&rt] { return printing::PrintInterrupted(rt); };
    printing::SpoolOrPrint(rt, list.title,
                           [&](printing::PrintOutput& out) { WriteCodeList(rt, out, list); });
}

void PrintDictionary(common::Runtime& rt, const common::Dictionary& d, dbf::WorkArea& area,
                     const std::vector<common::BrowseColumn>& columns) {
    CodeList list;
    list.title = rt.Text(d.title);
    for (const common::BrowseColumn& c : columns)
        list.columns.push_back({c.heading, std::max(c.width, static_cast<int>(c.heading.size()))});
    bool started = false;
    list.rows = [&](std::vector<std::string>* cells) {
        const base::Status s = started ? area.Skip(1) : area.GoTop();
        started = true;
        if (!s.ok()) throw common::Abandon(rt.Text("Błąd odczytu: ") + area.alias());
        if (area.eof()) return false;
        for (const common::BrowseColumn& c : columns)
            cells->push_back(base::TrimRight(c.value ? c.value() : std::string()));
        return true;
    };
    PrintCodeList(rt, std::move(list));
}

}  // namespace kestrel::registry
