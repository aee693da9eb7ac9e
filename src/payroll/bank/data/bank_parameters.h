// The parameters of the bank connection (PKWROR): one record per bank, its
// formulas in memo fields, and the checks a run of the bank files makes
// before it creates anything.
//
// A bank either gets a file (PRZELEW_ false) or printed transfer orders
// (PRZELEW_ true). A file is named PREFIX_ + the payment date as YYMMDD +
// "." + EXT_ and written in the output directory NAGLRORPLI (the company
// directory when it is not set). Texts are CP852, as stored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::payroll::bank {

/// One record of PKWROR.
struct BankParameters {
    std::string bank;                        // BANK_, trailing blanks cut
    std::string condition;                   // WARUNEK_: which employees (logical)
    std::string component;                   // SKLADN_PL, padded to 4
    std::string extension;                   // EXT_, blanks cut
    std::string line;                        // WZOR_: one payment line (text)
    bool orders = false;                     // PRZELEW_: printed transfer orders, no file
    std::string header;                      // NAGLOWEK_: the header line (empty: none)
    std::string trailer;                     // KONIEC_: the trailer line (empty: "RAZEM " + total)
    std::string title;                       // TYTUL_TBW: the summary statement's title
    bool collective = false;                 // ZB_PRZEL: one transfer for the bank
    std::string recipient, recipient_bank;   // NAZWA_PRZ, BANK_PRZ
    std::string recipient_account;           // KONTO_PRZ
    std::string ordering, ordering_account;  // NAZ_PRZEL, KON_PRZEL
    std::string prefix;                      // PREFIX_, blanks cut
    uint32_t recno = 0;
};

/// Every record of PKWROR that is not deleted, in the order of PKWROR1 (by
/// bank name); a company without the table has none.
std::vector<BankParameters> ReadBanks(common::Tables& tables);

/// The output directory: NAGLRORPLI, or the company directory when it is
/// empty; with a trailing "/".
std::string OutputDirectory(common::Runtime& rt);

/// The file's name for payment date `paid` ("YYYYMMDD").
std::string FileName(const BankParameters& bank, std::string_view paid);

/// Whether `name` is a file name the run may write: a name of 1 to 8 and
/// an extension of 1 to 3 characters, each a letter, a digit or one of
/// "_-$~!#%&@^()'{}`".
bool ValidFileName(std::string_view name);

/// The banks that get files (PRZELEW_ false) checked in their order: the
/// component must be one of PKSPL ("Błędny składnik "<code>" w PKWROR"),
/// the extension must not be one of the program's own (EXE, COM, BAT,
/// DBF, DBT, NTX, MEM, PRT, 161) and must form a name ("Nieprawidłowe
/// rozszerzenie "<ext>""), no two banks may share prefix and extension
/// ("Powtórzony "Prefiks+Rozszerz." <prefix>+<ext>"") and the name must be
/// valid ("Błędna nazwa plku "<name>""). No such bank: "Brak parametrów
/// połączenia". Returns the refusal (CP852), "" when every bank passes;
/// *files gets the banks that get files.
std::string CheckFileBanks(common::Runtime& rt, common::Tables& tables,
                           const std::vector<BankParameters>& banks, std::string_view paid,
                           std::vector<BankParameters>* files);

}  // namespace kestrel::payroll::bank
