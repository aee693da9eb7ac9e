#include "register/register_printout_dialog.h"

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "printing/spool_interrupt.h"
#include "printing/spool_or_print.h"
#include "register/code_list_print.h"
#include "register/data/employee_record.h"
#include "register/data/paged_printout.h"
#include "register/data/register_printout.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;

constexpr unsigned kMask = 49;
constexpr int kLabelCol = 10;
constexpr int kGroupRow = 8, kOrderRow = 10, kFromRow = 12, kToRow = 13, kDateRow = 15;
constexpr int kProgressRow = 18, kProgressCol = 13;

// One digit out of `allowed` with its legend after the field.
common::Field& Digit(common::Runtime& rt, common::Form& form, int row, const char* label,
                     std::string* value, const char* allowed, const char* legend) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    const int col = s.Write(row, kLabelCol, rt.Text(label), plain) + 1;
    s.Write(row, col + 2, rt.Text(legend), plain);
    common::Field& f = form.Get(row, col, value, "9");
    f.Valid([&rt, value, allowed] {
        if (std::string_view(allowed).find((*value)[0]) != std::string_view::npos) return true;
        rt.console().Tone(common::kToneFrequency, common::kToneTicks);
        return false;
    });
    return f;
}

// The options asked; false on Esc.
bool AskOptions(common::Runtime& rt, common::Tables& tables, RegisterPrintOptions* o,
                base::LocalTime* date) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    std::string group = "1", order = "1";
    std::string from(6, ' '), to(6, ' ');
    common::Form form(rt);
    Digit(rt, form, kGroupRow, "Pracownicy:", &group, "123",
          "(1 - zatrudnieni, 2 - zwolnieni, 3 - wszyscy)");
    Digit(rt, form, kOrderRow, "Rodzaj sortu:", &order, "12",
          "(1 - wg symboli, 2 - alfabetycznie)");
    s.Write(kFromRow, kLabelCol, rt.Text("Od pracownika:"), plain);
    s.Write(kToRow, kLabelCol, rt.Text("           Do:"), plain);
    const int col = kLabelCol + 15;
    auto number = [&rt](std::string* typed) {
        std::string n;
        if (!NormaliseNumber(*typed, &n, true)) {
            rt.console().Tone(common::kToneFrequency, common::kToneTicks);
            return false;
        }
        *typed = n.empty() ? std::string(6, ' ') : n;
        return true;
    };
    form.Get(kFromRow, col, &from, "999999").Valid([&] { return number(&from); });
    form.Get(kToRow, col, &to, "999999").Valid([&] {
        if (!number(&to)) return false;
        if (base::Trim(from).empty() || base::Trim(to).empty() || from <= to) return true;
        rt.console().Tone(common::kToneFrequency, common::kToneTicks);
        return false;
    });
    common::WriteLegend(rt, 21, 2, "<F3>-Kartoteka pracowników");
    bool read = false;
    {
        common::HotKeysAside aside(rt, {key::F(3)});
        rt.console().keyboard().Bind(key::F(3), [&] {
            if (form.current() == 2 || form.current() == 3)
                common::PickEmployee(rt, tables, form.Typed());
        });
        read = common::Qrmrdr(rt, form).saved();
    }
    s.Clear(21, 1, 21, 77, plain);
    if (!read || !AskPrintDate(rt, kDateRow, kLabelCol, date)) return false;
    o->group = group == "1"   ? RegisterGroup::kCurrent
               : group == "2" ? RegisterGroup::kFormer
                              : RegisterGroup::kAll;
    o->order = order == "1" ? RegisterOrder::kByNumber : RegisterOrder::kBySurname;
    o->from = base::Trim(from);
    o->to = base::Trim(to);
    return true;
}

}  // namespace

void Qrm26(common::Runtime& rt) {
    if (!common::CheckRights(rt, kMask)) return;
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 21, 77, plain);
    s.Write(5, 22, rt.Text("2.6. Wydruk kartoteki pracowników"), rt.Standard(rt.colours().ycob));
    common::Tables tables(rt);
    tables.Open("PKPRAC", EmployeeIndexes());
    RegisterPrintOptions options;
    base::LocalTime date = rt.working_date();
    if (!AskOptions(rt, tables, &options, &date)) return;
    if (CountEmployees(rt, tables, options) == 0) {
        common::ShowMessage(rt, rt.Text("Brak danych do wydruku"));
        return;
    }
    const PrintDateFor dated(rt, date);
    options.interrupted = [&rt] { return printing::PrintInterrupted(rt); };
    options.on_employee = [&rt](const std::string& number, const std::string& name) {
        auto& screen = rt.screen();
        const console::Attr attr = rt.Standard(rt.colours().ycow);
        screen.Write(kProgressRow, kProgressCol, rt.Text("       Pracownik: "), attr);
        screen.Write(kProgressRow, kProgressCol + 18, Fit(number + " " + name, 45),
                     rt.Standard(rt.colours().ycoi));
    };
    printing::SpoolOrPrint(
        rt, RegisterPrintTitle(rt, options.group),
        [&](printing::PrintOutput& out) { WriteRegister(rt, tables, out, options); });
}

}  // namespace kestrel::registry
