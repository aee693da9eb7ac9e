// The acceptance rule of each field of the employee record, as the
// registration and the update apply it, without a screen.
//
// The register's pages attach one FieldCheck to each entry field; the
// employee import applies the same checks to the fields of a row. A check
// sees the value being entered and the record with every other value of
// the page, and gives a Verdict (a refusal keeps the value out) and, for a
// coded field, the name of the code to show beside it.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/session/letters.h"
#include "common/tables/table_layer.h"
#include "register/data/employee_checks.h"
#include "register/data/employee_lookup.h"
#include "register/data/employee_record.h"

namespace kestrel::registry {

enum class FieldCheck {
    kNone,
    kNotEmpty,
    kBirth,  // not empty for a person in the update
    kNotNegative,
    kPositive,
    kMonths,      // 0-11
    kDays,        // 0-30
    kReliefSize,  // 1-4
    kSex,
    kChoice,  // one of `choices`
    kIdentityDocument,
    kForeignKind,
    kPensionRight,
    kDisability,
    kTaxForm,
    kHealthFund,
    kPesel,
    kNip,
    kAccount,
    kDictionary,  // CheckCode on the field's name
    kRegistrationCountry,
    kCountry,    // empty accepted, unknown refused
    kPeriodEnd,  // empty or not before the date field named in `choices`
    kDismissal,
    kSeniority,    // not empty; the seniority shown beside
    kVoivodeship,  // territorial lookups; `choices` names the country field
    kDistrict,
    kCommune,
};

/// Where the checks look things up.
struct FieldCheckScope {
    common::Tables& tables;
    const common::LetterSet& letters;
    /// PKPRAC for the search of other records with the PESEL; may be null
    /// (the number's own check only).
    dbf::WorkArea* prac = nullptr;
    /// The record being edited, left out of that search; 0 for none.
    uint32_t recno = 0;
    /// The update dialog (the birth date required for a person).
    bool update = false;
    /// Reference month of the seniority display.
    int ref_year = 0, ref_month = 0;
};

/// The value being checked, in the form of its field.
struct FieldValue {
    enum class Kind { kText, kNumber, kDate, kLogical };
    Kind kind = Kind::kText;
    std::string text;  // CP852 with its padding; NAZWISKO, IMIONA, PESEL in clear
    double number = 0;
    std::string date;  // "YYYYMMDD", "" when empty
    bool logical = false;
};

/// Checks `value` of `field` (a PKPRAC field, or NAZWISKO, IMIONA, PESEL)
/// by `check`; `record` holds the value and every other value of the page.
/// `*shown` receives the name of a known code: CP852 for the codes of a
/// dictionary table, UTF-8 for the built-in lists and the seniority. The
/// territorial lookups upper-case value->text and remember the levels
/// chosen in `*territory`.
Verdict CheckFieldValue(const FieldCheckScope& scope, FieldCheck check, const std::string& field,
                        const std::string& choices, const EmployeeRecord& record, FieldValue* value,
                        std::string* shown, TerritoryChoice* territory);

/// Whether `field` is asked at all for `record` as it stands: the
/// certificate period only for a disability degree 1-3, the relief size only
/// with the relief, the insurance dates only with their insurance, and so
/// on. `encouragement` is the configuration switch NAGLXSDML.
bool FieldAsked(std::string_view field, const EmployeeRecord& record, bool encouragement);

/// One field of a registration with its check.
struct RegistrationField {
    RegistrationField(std::string f, FieldCheck c = FieldCheck::kNone, std::string ch = "",
                      bool up = false)
        : field(std::move(f)), check(c), choices(std::move(ch)), upper(up) {}
    std::string field;  // PKPRAC field or NAZWISKO, IMIONA, PESEL
    FieldCheck check = FieldCheck::kNone;
    std::string choices;
    bool upper = false;  // entered in upper case
};
/// The fields of a registration of `kind` (the full card) in the order the
/// registration asks them, with the checks of their entry.
const std::vector<RegistrationField>& RegistrationFields(EmployeeKind kind);

/// What the pages do with an accepted record: the working-time fraction
/// 1/1 when a part is 0 (staff), KOD_WOJEW from the voivodeship, KRAJ_Z
/// emptied without a residence country, PROC_POD 0 with tax by the scale,
/// the dates of the insurances not chosen emptied, and a legal person
/// without department and algorithm group.
void SettleRecord(common::Tables& tables, const common::LetterSet& letters, EmployeeRecord* record);

}  // namespace kestrel::registry
