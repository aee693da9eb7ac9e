#include "printing/print_dialog.h"

#include <string>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/screen/choice.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/tables/table_layer.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::printing {
namespace {

namespace key = console::key;
using memfile::MemValue;

// The port question of a program without printer definitions.
bool AskPort(common::Runtime& rt) {
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycowp);
    s.Write(13, 19, "Port drukarki (LPT1 - LPT9):", normal);
    s.Write(13, 48, "LPT", normal);
    std::string port = rt.config().Text("NAGLNDR", "1").substr(0, 1);
    if (port.empty() || port[0] < '1' || port[0] > '9') port = "1";
    common::Form form(rt);
    form.Get(13, 51, &port, "9", 1).Valid([&] {
        return port.size() == 1 && port[0] >= '1' && port[0] <= '9';
    });
    if (!common::Qrmrdr(rt, form).saved()) {
        common::ShowMessage(rt, "Operacja skasowana", false);
        return false;
    }
    rt.config().Set("NAGLNDR", MemValue::Char(port));
    rt.config().Set("NAGLKOLDR", MemValue::Char(""));
    return true;
}

}  // namespace

void ApplyAndReport(common::Runtime& rt, const PrinterDefinition& d, PrintSystem& printers) {
    for (const std::string& m : ApplyDefinition(rt, d, printers)) common::ShowMessage(rt, m, false);
}

bool ChoosePrinter(common::Runtime& rt, PrintSystem& printers) {
    common::Tables tables(rt);
    dbf::WorkArea& a = tables.OpenProgram("PKDRUK");
    std::vector<PrinterDefinition> defs;
    std::vector<std::string> rows;
    int initial = 1;
    const std::string current = base::AsciiUpper(base::Trim(rt.config().Text("NAGLNAZDR")));
    if (a.GoTop().ok()) {
        while (!a.eof()) {
            if (!a.deleted()) {
                defs.push_back(ReadDefinition(a));
                rows.push_back(DefinitionRow(rt, defs.back()));
                if (base::AsciiUpper(defs.back().name) == current)
                    initial = static_cast<int>(defs.size());
            }
            if (!a.Skip(1).ok()) break;
        }
    }
    (void)tables.workspace().Close(a.number());

    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(11, 18, 20, 61);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(11, 18, 20, 61, std::string(console::kFrameDouble) + " ", frame);
    s.Write(11, 35, " DRUKARKI ", rt.Standard(rt.colours().ycobp));
    // The arrows are the console's glyphs of bytes 18 and 19 hex.
    s.Write(20, 20, " <\x18,\x19>-" + rt.Text("Wybór "), frame);
    s.Write(20, 40, rt.Text(" <Enter>-Akceptacja "), frame);
    const int chosen = common::Qrmach(rt, 12, 20, 19, 59, rows, {}, initial);
    s.Restore(saved);
    if (chosen < 1 || chosen > static_cast<int>(defs.size())) return false;
    ApplyAndReport(rt, defs[static_cast<size_t>(chosen - 1)], printers);
    return true;
}

bool PrintDialog(common::Runtime& rt, PrintSystem& printers) {
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(7, 1, 21, 77);
    struct Restore {
        console::Screen& s;
        const console::ScreenRegion& region;
        ~Restore() { s.Restore(region); }
    } restore{s, saved};
    const console::Attr frame = rt.Standard(rt.colours().ycowp);
    s.Box(7, 1, 21, 77, std::string(console::kFrameSingle) + " ", frame);

    if (!rt.config().Logical("NAGLCFGD", true)) return AskPort(rt);

    {
        common::Tables tables(rt);
        ApplyNamedDefinition(rt, tables, printers);
    }
    for (;;) {
        s.Clear(13, 19, 13, 76, frame);
        s.Write(13, 19, "Drukarka:", frame);
        s.Write(13, 29, DescribePrinterInForce(rt), rt.Standard(rt.colours().ycoi));
        common::WriteLegend(rt, 20, 18, "<Esc>-Przerwanie        <F3>-Zmiana drukarki");
        const std::string problem = PrinterProblem(rt);
        if (!problem.empty()) common::WriteMessage(rt, problem, rt.Standard(rt.colours().ycowpg));
        const int k = common::Qrminkey(rt);
        common::ClearMessageRow(rt);
        if (k == key::kEsc) {
            rt.console().Tone(common::kToneFrequency, common::kToneTicks);
            return false;
        }
        if (k == key::F(3)) {
            ChoosePrinter(rt, printers);
            continue;
        }
        if (problem.empty()) return true;
    }
}

}  // namespace kestrel::printing
