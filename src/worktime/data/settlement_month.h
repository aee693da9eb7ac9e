// The settlement month: ROK_ and MC_ of the control record of PKSTER, the
// month for which working time, suspensions and absences are entered.
#pragma once

#include <string>

#include "common/tables/table_layer.h"

namespace kestrel::worktime {

struct SettlementMonth {
    int year = 0;
    int month = 0;

    /// "YYYY-MM", as the dialogs show it.
    std::string Text() const;
};

/// Reads the control record (the first record of PKSTER, opened through
/// `tables`). Abandons with "Brak rekordu kontrolnego w PKSTER" when the
/// table is empty and with "Błędny miesiąc rozliczeniowy w PKSTER" when the
/// year or month is out of range.
SettlementMonth ReadSettlementMonth(common::Runtime& rt, common::Tables& tables);

}  // namespace kestrel::worktime
