// 6.A.2 "Sprawdzenie spójności modułu ZUS z płacami": the checks of PKASPRZ
// run over every employee of the register.
//
// A check compares two formulas, WZOR_1 and WZOR_2 (an empty one is 0),
// for one employee; it fails when they differ (numbers compared rounded to
// two decimals). WARUNEK_, when not empty, must be true for the check to
// be made for the employee. The formulas see, for the employee, each as a
// variable that is 0 unless something is summed into it:
//
// - every payroll component (PKSPL symbol): the amounts of his payroll
//   items (PKPLACE) whose list month lies in the months of PLC_MC_LST and
//   whose payment month (DATA_WYP) lies in the months of PLC_MC_WYP; a
//   blank selector does not restrict, two blank selectors take no item;
// - every absence code (PKRNB): the days (ILOSC_) of his absences
//   (PKNIEOB) of the months of MC_NIEOB (none when it is blank);
// - every numeric field of the table ZBIOR_ (PKSKLAD, PKZASIL, PKKSKWN,
//   PKWYNAG, PKPODST, PKOKRES): the sum over his records of the months of
//   ZB_MC_ZUS (the record's declaration month: ROK_/MC_, for PKZASIL
//   ROK_ZUS/MC_ZUS) and of ZB_MC_LST (the list month of PKZASIL; for the
//   other tables their ROK_/MC_ as well);
// - "ZUS_" + an absence code: the days (ILOSC_DNI) of his PKZASIL lines of
//   that code whose declaration month lies in the months of NIEOB_ZUS.
//
// Month selectors are up to three letters, the months they name taken
// together, relative to the system month M of PKSTER:
//   "W" M itself, "P" the month before M, "N" the month after M, "D" the
//   second month after M (the months a payment of M's lists may be
//   declared in), "B" every month of M's year before M (so "BW" is the
//   year to date).
//
// At the start NIE_SPR is cleared and BLD_SPR set (committed); at the end
// of a complete run BLD_SPR holds whether any check failed. A run stopped
// by the operator or by a formula error leaves BLD_SPR set. With no check
// in PKASPRZ nothing is run or changed ("Brak zdefiniowanych
// algorytmów"). Messages are CP852.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::insurance {

/// The months (year, month) a selector names for the system month
/// year/month, in the order of the letters; letters other than W, P, N,
/// D, B are ignored.
std::vector<std::pair<int, int>> SelectorMonths(std::string_view selector, int year, int month);

struct FailedCheck {
    std::string employee;
    std::string symbol;         // SYMB_ALG, trimmed
    std::string description;    // OPIS_ALG, trimmed
    std::string first, second;  // the two results as shown ("1234.50", ".T.", text)
};

class CheckObserver {
  public:
    virtual ~CheckObserver() = default;
    virtual void Employee(const std::string& employee) { (void)employee; }
    /// Asked between employees: true to stop the run.
    virtual bool Interrupted() { return false; }
};

struct CheckOutcome {
    std::string message;  // what stopped the run, "" when it ran to its end
    bool completed = false;
    bool interrupted = false;
    int employees = 0;
    std::vector<FailedCheck> failed;
};

CheckOutcome RunConsistencyCheck(common::Runtime& rt, common::Tables& tables,
                                 CheckObserver* observer = nullptr);

}  // namespace kestrel::insurance
