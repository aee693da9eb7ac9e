// The employee record of PKPRAC in memory.
//
// One record per person or firm the company pays. Three kinds share the
// table, told apart by NIE_PRAC and OS_PRAWNA; a record with a reason of
// dismissal (PRZYCZ_ZW) belongs to a former employee.
//
// Surname, first names and PESEL are never stored in clear (see
// docs/scrambling.md). An EmployeeRecord keeps them in clear beside the
// stored record and scrambles them into NAZWX_, IMIEX_ and PESELX_ whenever
// they are set, so the stored form it writes is always scrambled: the
// scrambled fields cannot be set by name. A record read from the table is
// scrambled again from its clear values, which also turns a plain-text value
// left by an old conversion into its scrambled form on the next write.
//
// Field values travel in the table's own forms: text as CP852 with its
// padding, dates as "YYYYMMDD" ("" when empty). The record keeps a pointer
// to the field list of the table it came from, which must stay open.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/status.h"
#include "platform/dbf/record.h"
#include "platform/dbf/work_area.h"

namespace kestrel::registry {

/// The kinds of record; the card type letters "E", "N" and "P" of the
/// register dialogs.
enum class EmployeeKind { kStaff, kNonStaff, kLegalPerson };

char CardLetter(EmployeeKind kind);
/// "E", "N" or "P" (any case); anything else gives kStaff.
EmployeeKind KindFromLetter(char letter);
/// The card type that follows (F1): E → N → P → E.
EmployeeKind NextKind(EmployeeKind kind);
/// The caption of the kind on the number screen (UTF-8).
std::string_view KindCaption(EmployeeKind kind);
/// The label of the number: "ID osoby prawnej:" for a legal person,
/// "     Nr pracown.:" otherwise (UTF-8).
std::string_view NumberLabel(EmployeeKind kind);

/// Clear widths of the scrambled fields.
inline constexpr size_t kSurnameWidth = 30;
inline constexpr size_t kFirstNamesWidth = 20;
inline constexpr size_t kPeselWidth = 11;

/// The 14 index files of PKPRAC in order (PKPRAC1 … PKPRACE); their order
/// numbers 1-14 are the ones the register refers to.
const std::vector<std::string>& EmployeeIndexes();
/// Order numbers of the indexes in EmployeeIndexes().
enum EmployeeOrder {
    kByNumber = 1,
    kBySurname = 2,
    kByTaxOfficeSurname = 3,
    kByDepartmentSurname = 4,
    kCurrentByNumber = 5,
    kCurrentBySurname = 6,
    kFormerByNumber = 7,
    kFormerBySurname = 8,
    kFormerByYearSurname = 9,
    kByPesel = 10,
    kStaffByNumber = 11,
    kNonStaffByNumber = 12,
    kByAlgorithmGroupSurname = 13,
    kLegalByName = 14,
};

/// QRMNRPR: the numeric value of a typed number written as six digits with
/// leading zeros ("123" → "000123"); false for "000000", for an empty entry
/// and for text that is not a number. QRMNRPR2 (`allow_empty`) lets an
/// empty entry through as "".
bool NormaliseNumber(std::string_view typed, std::string* number, bool allow_empty = false);

class EmployeeRecord {
  public:
    EmployeeRecord() = default;
    /// The record as stored (the current record of an area on PKPRAC).
    static EmployeeRecord FromStored(const dbf::Record& stored);
    /// A blank record of the table's layout.
    static EmployeeRecord Blank(dbf::WorkArea& prac);

    /// The stored form: every field, the scrambled ones from the clear
    /// values. The deletion mark of *target is left as it is.
    void StoreInto(dbf::Record* target) const;
    const dbf::Record& stored() const { return rec_; }

    std::string number() const;  // NR_PRAC
    void set_number(std::string_view number);

    /// Clear values, trimmed on the right.
    const std::string& surname() const { return surname_; }
    const std::string& first_names() const { return first_names_; }
    const std::string& pesel() const { return pesel_; }
    /// Set in clear (cut to the clear width) and scrambled into the record.
    void set_surname(std::string_view cp852);
    void set_first_names(std::string_view cp852);
    void set_pesel(std::string_view digits);

    EmployeeKind kind() const;
    /// Sets NIE_PRAC and OS_PRAWNA for the kind.
    void set_kind(EmployeeKind kind);
    /// A former employee: PRZYCZ_ZW is not empty.
    bool former() const;

    int FieldIndex(std::string_view name) const { return rec_.FieldIndex(name); }
    /// Field values by name; an unknown name reads as empty.
    std::string Text(std::string_view field) const;  // with its padding
    double Number(std::string_view field) const;
    std::string Date(std::string_view field) const;  // "YYYYMMDD" or ""
    bool Logical(std::string_view field) const;

    /// Setters by name. InvalidArgument for an unknown field, a value that
    /// does not fit, and for NAZWX_, IMIEX_ and PESELX_ (set in clear).
    base::Status SetText(std::string_view field, std::string_view cp852);
    base::Status SetNumber(std::string_view field, double value);
    base::Status SetDate(std::string_view field, std::string_view yyyymmdd);
    base::Status SetLogical(std::string_view field, bool value);

    /// Names of the fields whose stored values differ from `before`, in
    /// field order (the number is never compared).
    std::vector<std::string> ChangedFields(const EmployeeRecord& before) const;

  private:
    void Rescramble();
    int Require(std::string_view field) const;

    dbf::Record rec_;
    std::string surname_, first_names_, pesel_;
};

/// A field of a stored record as text for the field history and the change
/// log: character fields as they stand, numbers by their width and decimals,
/// dates as "YYYY-MM-DD" (blank date "    -  -  "), logicals "T" or "F".
std::string FieldText(const dbf::Record& rec, int field);

/// The stored record of `prac` read into memory (the current record).
EmployeeRecord ReadEmployee(dbf::WorkArea& prac);

/// Writes `employee` over the current record of `prac` (which the caller has
/// locked) and commits, moving the keys of every open index.
base::Status WriteEmployee(dbf::WorkArea& prac, const EmployeeRecord& employee);

}  // namespace kestrel::registry
