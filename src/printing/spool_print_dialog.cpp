#include "printing/spool_print_dialog.h"

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/tables/table_layer.h"
#include "platform/console/keys.h"

namespace kestrel::printing {
namespace {

namespace key = console::key;

constexpr int kTop = 13, kLeft = 10, kBottom = 21, kRight = 69;
constexpr int kCol = 14;

}  // namespace

bool AskPort(common::Runtime& rt, int row, int col, char* port) {
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    std::string digit(1, *port >= '1' && *port <= '9' ? *port : '1');
    col = rt.screen().Write(row, col, rt.Text("Port drukarki (LPT1 - LPT9): LPT"), plain);
    common::Form form(rt);
    form.Get(row, col, &digit, "9").Valid([&] { return digit[0] >= '1' && digit[0] <= '9'; });
    if (!common::Qrmrdr(rt, form).saved()) {
        common::ShowCancelled(rt);
        return false;
    }
    *port = digit[0];
    return true;
}

bool AskSpoolPrint(common::Runtime& rt, int pages, SpoolPrintChoice* choice) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(kTop, kLeft, kBottom, kRight, plain);
    s.Box(kTop, kLeft, kBottom, kRight, console::kFrameSingle, rt.Standard(rt.colours().ycowp));
    bool selective = false;
    choice->keep = false;
    for (;;) {
        s.Clear(kTop + 1, kCol, kTop + 2, kRight - 1, plain);
        common::WriteLegend(rt, kTop + 1, kCol,
                            selective ? "<F1>-Selektywny wydruk" : "<F1>-Wydruk całego pliku");
        common::WriteLegend(
            rt, kTop + 2, kCol,
            choice->keep ? "<F8>-Plik pozostaje po wydruku" : "<F8>-Plik kasowany po wydruku");
        common::WriteLegend(rt, kBottom - 1, kCol, "<Esc>-Przerwanie      <Enter>-Wydruk");
        const int k = common::Qrminkey(rt);
        if (k == key::kEsc) return false;
        if (k == key::kF1) selective = !selective;
        if (k == key::F(8)) choice->keep = !choice->keep;
        if (k == key::kEnter) break;
    }
    s.Clear(kBottom - 1, kCol, kBottom - 1, kRight - 1, plain);

    choice->range = PageRange{1, 0};
    if (selective) {
        double first = 1, last = 0;
        s.Write(kTop + 3, kCol, rt.Text("Od strony:"), plain);
        common::Form from(rt);
        from.Get(kTop + 3, kCol + 11, &first, 4, 0, "9999").Valid([&] { return first >= 1; });
        if (!common::Qrmrdr(rt, from).saved()) return false;
        last = pages >= first ? pages : 9999;
        s.Write(kTop + 4, kCol, rt.Text("       Do:"), plain);
        common::Form to(rt);
        to.Get(kTop + 4, kCol + 11, &last, 4, 0, "9999").Valid([&] { return last >= first; });
        if (!common::Qrmrdr(rt, to).saved()) return false;
        choice->range = PageRange{static_cast<int>(first), static_cast<int>(last)};
    }
    const std::string port = rt.config().Text("NAGLNDR");
    choice->port = port.empty() ? '1' : port[0];
    if (!AskPort(rt, kTop + 5, kCol, &choice->port)) return false;
    s.Write(kTop + 6, kCol, rt.Text("Ustaw papier na drukarce"), plain);
    if (common::Qrminkey(rt) == key::kEsc) return false;
    s.Clear(kTop + 1, kLeft + 1, kBottom - 1, kRight - 1, plain);
    return true;
}

}  // namespace kestrel::printing
