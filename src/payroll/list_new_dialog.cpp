// The Ins dialog of 4.2: a new payroll list of the system month, asked in
// three steps (the symbol, the number, the rest), the key reserved between
// the second and the third.
#include <cstdio>
#include <string>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "payroll/lists_screen.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr int kTop = 8, kLeft = 18, kBottom = 16, kRight = 60;
constexpr int kLabel = kLeft + 2, kValue = kLeft + 29;

common::PickDictionary SymbolDictionary() {
    common::PickDictionary d;
    d.table = "PKSLST";
    d.indexes = {"PKSLST1"};
    d.code_field = "TYP_LST";
    d.name_field = "NAZWA_LST";
    d.can_insert = false;
    d.zero_pad = false;
    d.columns = [](common::Runtime& rt, dbf::WorkArea& a) {
        return std::vector<common::BrowseColumn>{common::FieldColumn(rt, a, "TYP_LST", "TYP"),
                                                 common::FieldColumn(rt, a, "NAZWA_LST", "NAZWA")};
    };
    return d;
}

}  // namespace

bool NewListDialog(common::Runtime& rt, common::Tables& tables, ListRegister& reg) {
    const std::string refusal = reg.CheckNewAllowed();
    if (!refusal.empty()) {
        common::ShowMessage(rt, refusal);
        return false;
    }
    const worktime::SettlementMonth month = worktime::ReadSettlementMonth(rt, tables);
    char mm[8];
    std::snprintf(mm, sizeof mm, "%02d", month.month);
    PayrollList l;
    l.year = std::to_string(month.year);
    l.month = mm;
    l.open = true;
    l.to_tax = true;
    l.for_year = month.year;

    auto& s = rt.screen();
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    const console::ScreenRegion under = s.Save(kTop, kLeft, kBottom, kRight);
    s.Box(kTop, kLeft, kBottom, kRight, std::string(console::kFrameDouble) + " ", frame);
    const char* labels[] = {"Rok listy:",
                            "Typ listy:",
                            "Numer listy:",
                            "Miesiąc:",
                            "Zapis do modułu podatk.?:",
                            "Data wypłaty:",
                            "Rok którego dotyczy lista:"};
    for (int i = 0; i < 7; ++i) s.Write(kTop + 1 + i, kLabel, rt.Text(labels[i]), frame);
    s.Write(kTop + 1, kValue, l.year, frame);
    s.Write(kTop + 4, kValue, l.month, frame);
    auto done = [&](bool made) {
        s.Restore(under);
        return made;
    };

    // The symbol, F3 lists them.
    std::string symbol(2, ' ');
    ListSymbol sym;
    {
        common::Form form(rt);
        form.Get(kTop + 2, kValue, &symbol, "@!").Valid([&] {
            const std::string why = reg.CheckSymbol(l.year, l.month, symbol, &sym);
            if (why.empty()) return true;
            common::ShowMessage(rt, why);
            return false;
        });
        const common::PickDictionary d = SymbolDictionary();
        auto& kb = rt.console().keyboard();
        auto old = kb.Bind(key::F(3), [&] { common::Pick(rt, tables, d, form.Typed()); });
        const common::ReadResult r = common::Qrmrdr(rt, form);
        kb.Bind(key::F(3), old);
        if (!r.saved()) return done(false);
    }
    l.symbol = sym.symbol;

    // The number, proposed; records left on its key are announced.
    const NumberProposal proposal = reg.ProposeNumber(l.year, sym);
    if (!proposal.refusal.empty()) common::ShowMessage(rt, proposal.refusal);
    double number = proposal.number;
    for (;;) {
        common::Form form(rt);
        form.Get(kTop + 3, kValue, &number, 4, 0, "9999").Valid([&] {
            const std::string why = reg.CheckNumber(l.year, sym, static_cast<int>(number));
            if (why.empty()) return true;
            common::ShowMessage(rt, why);
            return false;
        });
        if (!common::Qrmrdr(rt, form).saved()) return done(false);
        l.number = static_cast<int>(number);
        if (!reg.HasRecords(l)) break;
        common::ShowMessage(rt, rt.Text("Istnieją rekordy na takiej liście płac"));
        if (common::IsYes(common::Question(rt, rt.Text("Założyć taką listę płac?"), "tn", 'n')))
            break;
    }
    reg.Reserve(l);

    // The rest; Esc leaves the reserved record deleted.
    picture::Date paid;
    double for_year = l.for_year;
    common::Form form(rt);
    form.Get(kTop + 5, kValue, &l.to_tax);
    form.Get(kTop + 6, kValue, &paid).Valid([&] {
        const std::string why = reg.CheckPaymentDate(l, base::DbfDateText(paid));
        if (why.empty()) return true;
        common::ShowMessage(rt, why);
        return false;
    });
    form.Get(kTop + 7, kValue, &for_year, 4, 0, "9999").Valid([&] {
        const std::string why = reg.CheckForYear(static_cast<int>(for_year), month.year);
        if (why.empty()) return true;
        common::ShowMessage(rt, why);
        return false;
    });
    if (!common::Qrmrdr(rt, form).saved()) {
        reg.Release();
        return done(false);
    }
    // The read may end (PgDn) before the date or the year was entered.
    std::string why = reg.CheckPaymentDate(l, base::DbfDateText(paid));
    if (why.empty()) why = reg.CheckForYear(static_cast<int>(for_year), month.year);
    if (!why.empty()) {
        common::ShowMessage(rt, why);
        reg.Release();
        return done(false);
    }
    l.paid = base::DbfDateText(paid);
    l.for_year = static_cast<int>(for_year);
    reg.Create(l);
    return done(true);
}

}  // namespace kestrel::payroll
