// The payroll tables as records: a payroll component (PKSPL), a list symbol
// (PKSLST) and a payroll list (PKLISTY), read from their work areas. Text
// stays CP852 with the trailing blanks of the table cut, except where a
// field is a key part (noted below).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::payroll {

/// One record of PKSPL.
struct Component {
    std::string symbol;             // SKLADN_PL, padded to its 4 characters
    std::string name;               // NAZWA_
    char kind = 'A';                // TYP_: 'A' algorithm, 'K' entered, 'I' piecework
    int order = 0;                  // SEKW_OBL
    std::string algorithm;          // ALGORYTM_ as stored (line breaks kept)
    bool deduction = false;         // POTRAC_
    bool off_list = false;          // POZA_LISTA
    int months_back = 0;            // IL_MC_WST
    bool by_payment_month = false;  // MC_WYP_LST
    bool monthly = false;           // ZAKR_MC_LS
    char group = ' ';               // GRUPA_ALG
    std::string list_kinds;         // TYP_LISTY
    std::string mask;               // MASKA_
    bool print = false;             // DRUK_
    int print_order = 0;            // SEKW_WYDR
    std::string income_kind;        // TYTUL_WYP
    std::string income_field;       // NAZWA_POLA
    bool non_personal = false;      // BEZOSOB_FP
    bool insurance = false;         // ZUS_
    bool benefit = false;           // ZASILEK_
    std::string absence_codes;      // TYP_NIEOB
    bool memory_only = false;       // TYLKO_MEM
    bool no_block = false;          // NIE_BLOK
    bool no_sum = false;            // NIE_SUMA
    bool always_print = false;      // ZAWSZE_DR
    bool legal_person = false;      // OS_PRAWNA
};

/// One record of PKSLST.
struct ListSymbol {
    std::string symbol;          // TYP_LST, padded to its 2 characters
    std::string name;            // NAZWA_LST
    bool own_numbering = false;  // LOCAL_NR
    bool once_a_month = false;   // RAZ_NA_MC
    char group = ' ';            // GRUPA_ALG
    std::string matrix;          // TBW_
    bool non_personal = false;   // BEZOSOB_FP
    bool legal_person = false;   // OS_PRAWNA
    char contract = ' ';         // TYP_UZ_UD: ' ', 'Z', 'D', 'U'
    bool no_insurance = false;   // BEZ_UB_SP
    bool father_name = false;    // IM_OJCA: the list without matrix shows it
    std::string print_title;     // NAZWA_WYDR
    int print_columns = 0;       // IL_KOL_WYD
};

/// One record of PKLISTY.
struct PayrollList {
    std::string year;     // ROK_LST "YYYY"
    std::string symbol;   // TYP_LST, padded to 2
    int number = 0;       // NR_LST
    std::string month;    // MC_LST "01".."12"
    std::string paid;     // DATA_WYP "YYYYMMDD", "" when empty
    bool open = false;    // WSK_AKTYWN
    bool to_tax = false;  // GENER_DOCH
    int for_year = 0;     // ZA_ROK

    /// rok_lst+typ_lst+str(nr_lst,4): the key of the list and of its
    /// positions.
    std::string Key() const;
};

/// The component of the current record of `pkspl` (an area of PKSPL).
Component ReadComponent(dbf::WorkArea& pkspl);
/// Every component that is not deleted, in the order of index file `index`
/// ("PKSPL1" by symbol, "PKSPL2" by SEKW_OBL); the area's order and record
/// are left as they were. A company without PKSPL has none.
std::vector<Component> ReadComponents(common::Tables& tables, std::string_view index = "PKSPL1");

ListSymbol ReadListSymbol(dbf::WorkArea& pkslst);
/// The symbol `symbol` (1 or 2 characters) of PKSLST; false when there is
/// none.
bool FindListSymbol(common::Tables& tables, std::string_view symbol, ListSymbol* out);

PayrollList ReadList(dbf::WorkArea& pklisty);

/// Whether the dictionary `table` holds a record (not deleted) whose key in
/// index file `index` is `key` padded with blanks to `width`. A company
/// without the table holds none; the area's order and record are left as
/// they were.
bool HasKey(common::Tables& tables, std::string_view table, std::string_view index,
            std::string_view key, int width);

/// Whether the company has `table`: open already, or its file in the data
/// directory. A company without a payroll table has none of its records.
bool CompanyHas(common::Tables& tables, std::string_view table);

/// str(n, width) of the xBase language: right-aligned, "*" filled when it
/// does not fit.
std::string StrN(int n, int width);

}  // namespace kestrel::payroll
