#include "worktime/data/settlement_month.h"

#include <cstdio>

#include "common/session/abandon.h"
#include "worktime/data/open_once.h"

namespace kestrel::worktime {

std::string SettlementMonth::Text() const {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d", year, month);
    return text;
}

SettlementMonth ReadSettlementMonth(common::Runtime& rt, common::Tables& tables) {
    // An area of PKSTER open already is read, not opened again: its holder
    // keeps it (and whatever stands on it).
    dbf::WorkArea& ster = OpenOnce(tables, "PKSTER");
    if (!ster.GoTop().ok() || ster.eof())
        throw common::Abandon(rt.Text("Brak rekordu kontrolnego w PKSTER"));
    SettlementMonth m;
    m.year = static_cast<int>(ster.record().GetNumber(ster.FieldIndex("ROK_")));
    m.month = static_cast<int>(ster.record().GetNumber(ster.FieldIndex("MC_")));
    if (m.year < 1900 || m.year > 2099 || m.month < 1 || m.month > 12)
        throw common::Abandon(rt.Text("Błędny miesiąc rozliczeniowy w PKSTER"));
    return m;
}

}  // namespace kestrel::worktime
