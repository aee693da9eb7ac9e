// F7 of the register's dictionaries: the one routine that prints a
// dictionary, for the dictionaries of menus 2.7 and 2.8 (the common
// maintenance dialog's print hook) and the official ones of menu 2.C.
#pragma once

#include <string>
#include <vector>

#include "common/dictionary/dictionary.h"
#include "common/screen/browse.h"
#include "common/session/runtime.h"
#include "platform/dbf/work_area.h"
#include "register/data/code_list_printout.h"

namespace kestrel::registry {

/// Asks "Data wydruku:" in a box (the working date to begin with; Esc
/// prints nothing), then prints the list through the print dialog and the
/// spool (printing::SpoolOrPrint) with that date in the page header. Esc
/// between rows asks "Przerwać wydruk?". `list.title` is CP852.
void PrintCodeList(common::Runtime& rt, CodeList list);

/// The print hook of the maintenance dialog: the dictionary `d` from the
/// top of `area` in its order, one row per record with the browse's
/// columns. Leaves the area at its end.
void PrintDictionary(common::Runtime& rt, const common::Dictionary& d, dbf::WorkArea& area,
                     const std::vector<common::BrowseColumn>& columns);

/// The working date of the runtime set to a print-out's date (its page
/// headers print it) for the object's life.
class PrintDateFor {
  public:
    PrintDateFor(common::Runtime& rt, const base::LocalTime& date)
        : rt_(rt), before_(rt.working_date()) {
        rt.set_working_date(date);
    }
    ~PrintDateFor() { rt_.set_working_date(before_); }
    PrintDateFor(const PrintDateFor&) = delete;
    PrintDateFor& operator=(const PrintDateFor&) = delete;

  private:
    common::Runtime& rt_;
    const base::LocalTime before_;
};

/// The date of a print-out's header asked at (row, col) after "Data
/// wydruku:"; false on Esc. *date starts as the working date.
bool AskPrintDate(common::Runtime& rt, int row, int col, base::LocalTime* date);

}  // namespace kestrel::registry
