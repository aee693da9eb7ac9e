// The three orders of the browse of the income records (PKDOCH) and the
// F2 seek by the fields of the order in force.
//
//   by month:    subs(dtos(data_wyp),1,6)+tytul_wyp+nr_prac    PKDOCH4 (F5)
//   by employee: nr_prac+subs(dtos(data_wyp),1,6)+tytul_wyp    PKDOCH3 (F6)
//   by list:     rok_lst+str(nr_lst,4)+nr_prac+tytul_wyp       PKDOCH1 (F7)
//
// A seek key is made of the leading fields of the order that were given:
// the first field left empty ends it, and the seek then finds the first
// record whose key begins with what was given.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/dbf/work_area.h"

namespace kestrel::tax {

enum class IncomeSort { kByMonth, kByEmployee, kByList };

/// The index file of the order ("PKDOCH4").
std::string SortIndex(IncomeSort sort);
/// The index files the browse opens, every order's.
std::vector<std::string> SortIndexes();

/// What the operator typed for the seek; a field not given is blank (text)
/// or 0 (numbers).
struct IncomeSeek {
    int year = 0;          // payment year (by month, by employee) or list year (by list)
    int month = 0;         // payment month 1-12 (by month, by employee)
    int list_number = 0;   // NR_LST (by list)
    std::string employee;  // digits, padded with leading zeros to 6
    std::string kind;      // TYTUL_WYP, padded with blanks to 4
};

/// The seek key of `fields` in order `sort` ("" when its first field was
/// not given).
std::string SeekKey(IncomeSort sort, const IncomeSeek& fields);

enum class SeekOutcome {
    kFound,       // on the first record with the key
    kNextRecord,  // no record has it: on the next one ("Brak klucza - następny rekord")
    kEndOfFile,   // no record has it or a later key: back where it stood
                  // ("Brak klucza - koniec zbioru")
};

/// Seeks `key` in the order in force of `area`; a read that fails abandons
/// with "Błąd odczytu: PKDOCH".
SeekOutcome SeekIncome(dbf::WorkArea& area, std::string_view key);

/// The message of an outcome (UTF-8), "" for kFound.
std::string SeekMessage(SeekOutcome outcome);

}  // namespace kestrel::tax
