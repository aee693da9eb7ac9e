// The register of payroll lists (PKLISTY) as menu 4.2 keeps it: opening a
// new list of the system month, the payment date and its cascade into the
// list's positions (PKPLACE) and tax records (PKDOCH), closing and
// reopening, the tax flag, the year the list concerns, and deleting a list
// with its positions.
//
// Every refusal is a message (CP852) for the message line, "" when the step
// may go on; the list and its records stay as they were after a refusal.
// Records change under their record locks (the retry service of the table
// layer); a failed write abandons with "Błąd zapisu: " and the table.
// Every change of list positions made here clears AKT_ZUS, AKT_KZP and
// AKT_PPK of the control record, unless the list is one for legal persons.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/tables/table_layer.h"
#include "payroll/data/payroll_records.h"

namespace kestrel::payroll {

/// Which months a payment date may fall in besides the list month and the
/// next one.
struct PaymentRule {
    bool previous_month = false;    // NAGLWPPM: the month before the list month
    bool month_after_next = false;  // NAGLMCWYP2: two months after it
};

/// The rule of the company's configuration.
PaymentRule PaymentRuleOf(common::Runtime& rt);

/// Whether payment date `paid` ("YYYYMMDD") may be the date of a list of
/// `year`/`month`: its month is the list month or the next one (across the
/// turn of the year), or one the rule adds. An empty date never fits.
bool PaymentDateFits(int year, int month, std::string_view paid, PaymentRule rule);

/// The highest list number there is.
inline constexpr int kLastListNumber = 9999;

/// A proposed list number: `number` 0 and the reason in `refusal` when no
/// number can be proposed.
struct NumberProposal {
    int number = 0;
    std::string refusal;
};

/// What a new list is opened with; the year and month are the system
/// month's.
struct NewList {
    std::string symbol;  // TYP_LST, 1 or 2 characters
    int number = 0;      // 0: the proposed number
    std::string paid;    // "YYYYMMDD"
    bool to_tax = true;  // GENER_DOCH
    int for_year = 0;    // ZA_ROK; 0: the list year
};

/// Called with a stage of a long change ("Aktualizacja zbioru PKPLACE") or,
/// for deleting, with the count of positions deleted so far.
using StageFn = std::function<void(const std::string& cp852)>;
using CountFn = std::function<void(int deleted)>;

class ListRegister {
  public:
    /// Opens PKLISTY through `tables` with its six index files (an area open
    /// with them is shared); its order and record are kept by every call.
    ListRegister(common::Runtime& rt, common::Tables& tables);

    dbf::WorkArea& area() { return lists_; }

    // --- A new list -----------------------------------------------------

    /// "Istnieje aktywna lista płac" while a list is open, unless several
    /// open lists are allowed (NAGLALP).
    std::string CheckNewAllowed();
    /// The symbol of a new list of `year`/`month` ("YYYY", "MM"), taken in
    /// upper case: it must be one of PKSLST ("Błędny typ listy"); a symbol allowed once a month
    /// (RAZ_NA_MC) that has a list in the month gives "Istnieje już taka
    /// lista w tym miesiącu". The symbol's record goes to `out`.
    std::string CheckSymbol(std::string_view year, std::string_view month, std::string_view symbol,
                            ListSymbol* out);
    /// The highest number of the symbol in the year plus 1 when the symbol
    /// numbers its lists separately (LOCAL_NR), else the highest number of
    /// the year plus 1; 1 when there is none. Past 9999 no number is
    /// proposed: "Brak wolnego numeru listy (max. 9999)".
    NumberProposal ProposeNumber(std::string_view year, const ListSymbol& symbol);
    /// A number from 1 to 9999 ("Błędny numer listy (1-9999)") that the year
    /// does not use: a separately numbered symbol may not repeat one of its
    /// own numbers, a jointly numbered one not a number of any jointly
    /// numbered list ("Istnieje taka lista płac").
    std::string CheckNumber(std::string_view year, const ListSymbol& symbol, int number);
    /// Whether positions or tax records of the list's key exist (left by an
    /// earlier list of the key, or of the list itself).
    bool HasRecords(const PayrollList& list);
    bool HasTaxRecords(const PayrollList& list);
    /// ZA_ROK from 1999 up to `last` ("Błędny rok").
    std::string CheckForYear(int year, int last);
    /// "Błędna data wypłaty" unless the date fits the list's month.
    std::string CheckPaymentDate(const PayrollList& list, std::string_view paid);

    /// Reserves the key of `list` (year, symbol, number): a deleted record
    /// of the key is reused, else one is appended, deleted at once; it stays
    /// locked until Create() or Release(). Unlike the other calls these
    /// three leave the area standing on the reserved record.
    void Reserve(const PayrollList& list);
    /// Completes the reserved record with `list` (open), recalls it, and
    /// copies the payment date into the positions and tax records of the
    /// key that remain.
    void Create(const PayrollList& list);
    /// Leaves the reserved record deleted and unlocked.
    void Release();

    /// Every step of a new list of the system month at once, as kestrel-tool
    /// opens one: the checks above in the order of the dialog, then the key
    /// reserved and the list created. `*remaining` tells whether records of
    /// the key were there. "" and the new list in `*out`, or the refusal.
    std::string Open(const NewList& request, PayrollList* out, bool* remaining = nullptr);

    // --- Changes of a list ------------------------------------------------

    /// Writes the payment date to the list, then to its positions and its
    /// tax records, announcing each stage ("Aktualizacja zbioru PKPLACE",
    /// "Aktualizacja zbioru PKDOCH"). The caller has checked the date.
    void ChangePaymentDate(const PayrollList& list, std::string_view paid,
                           const StageFn& stage = nullptr);
    /// Closes an open list.
    void Close(const PayrollList& list);
    /// A closed list may be reopened only while no list is open (unless
    /// NAGLALP: "Istnieje aktywna lista płac") and only in the system month:
    /// "Błędny "YYYY-MM" (akt.m-c: YYYY.MM)".
    std::string CheckReopen(const PayrollList& list);
    /// Reopens the list unless one of its positions has been transferred to
    /// the tax records ("BLOKADA - Płace przepisane do podatków").
    std::string Reopen(const PayrollList& list);
    void SetToTax(const PayrollList& list, bool on);
    void SetForYear(const PayrollList& list, int year);

    /// "Nie kasuj - są pozycje w PKDOCH" when the list has tax records.
    std::string CheckDelete(const PayrollList& list);
    /// Deletes the list's positions (`counted` after each one) and then the
    /// list; the number of positions deleted.
    int Delete(const PayrollList& list, const CountFn& counted = nullptr);

  private:
    bool Locate(std::string_view key);
    template <typename Fn>
    void Write(const PayrollList& list, Fn fill);
    template <typename Fn>
    void ForEachList(std::string_view index, std::string_view prefix, Fn fn);
    bool AnyOpen();
    int CopyDateToPositions(const PayrollList& list, std::string_view paid);
    int CopyDateToTaxRecords(const PayrollList& list, std::string_view paid);
    void PositionsChanged(const PayrollList& list);
    [[noreturn]] void WriteFailed(dbf::WorkArea& area);

    common::Runtime& rt_;
    common::Tables& tables_;
    dbf::WorkArea& lists_;
    uint32_t reserved_ = 0;  // the record Reserve() holds
};

}  // namespace kestrel::payroll
