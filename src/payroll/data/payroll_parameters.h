// The payroll parameters of menu 4.9 without a screen: the fields of the
// control record PKSTER by name, and the valorisation table PKWALOR (one
// percentage per year and month, keyed str(rok_,4)+strzero(miesiac_,2)).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::payroll {

/// Values of fields of the control record, by field name: numbers and
/// texts (CP852, padded to the field's width as stored).
struct ControlValues {
    std::map<std::string, double> numbers;
    std::map<std::string, std::string> texts;
};

/// Reads `numbers` and `texts` (field names) from the control record, the
/// first record of PKSTER opened through `tables`. A field the table lacks
/// reads as 0 or "". False when PKSTER holds no record.
bool ReadControl(common::Tables& tables, const std::vector<std::string>& numbers,
                 const std::vector<std::string>& texts, ControlValues* out);

/// Writes every value of `values` into the control record under its record
/// lock, committed at once; fields the table lacks are skipped. A failed
/// write, or a PKSTER without a record, abandons with "Błąd zapisu: PKSTER".
void WriteControl(common::Runtime& rt, common::Tables& tables, const ControlValues& values);

/// One record of PKWALOR.
struct Valorisation {
    int year = 0;        // ROK_
    int month = 0;       // MIESIAC_
    double percent = 0;  // PR_WALOR
    uint32_t recno = 0;
};

/// The key of PKWALOR1 for a year and month.
std::string ValorisationKey(int year, int month);

/// True when the index file PKWALOR1.NTX of `data_dir` (ends with "/")
/// exists and was written with another key than the catalogue's, such as
/// the month without its leading zero (str(miesiac_,2)): seeks of a month
/// would miss, so the valorisation table must not be worked on before it is
/// indexed again ("Błędny indeks PKWALOR"). A missing file is not outdated:
/// the table layer builds it.
bool ValorisationIndexOutdated(const std::string& data_dir);

/// PKWALOR opened through `tables` with PKWALOR1.
dbf::WorkArea& OpenValorisation(common::Tables& tables);

/// The current record of `walor`.
Valorisation ReadValorisation(dbf::WorkArea& walor);

/// Adds a row: refused with "Istnieje rekord o takim kluczu" (returned,
/// CP852) when a visible row has its year and month, "Błędny miesiąc" when
/// the month is not 1..12 and "Błędny rok" when the year is not 1900..2099;
/// otherwise appended (a deleted record of the key reused) and current, ""
/// returned. A failed write abandons with "Błąd zapisu: PKWALOR".
std::string AddValorisation(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& walor,
                            const Valorisation& row);

/// Sets the percentage of the current row under its record lock.
void ChangeValorisation(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& walor,
                        double percent);

/// Deletes the current row under its record lock.
void DeleteValorisation(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& walor);

}  // namespace kestrel::payroll
