// Acceptance rules of the employee record's fields.
//
// Each check returns a Verdict: whether the value is accepted and the
// message to show beside the field (UTF-8; the dialog converts it with
// Runtime::Text and beeps when `beep` says so). The identity-number checks
// never refuse: a bad or missing number is only a warning.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/dbf/work_area.h"
#include "register/data/employee_record.h"

namespace kestrel::registry {

struct Verdict {
    bool accepted = true;
    std::string message;  // UTF-8, "" when nothing is shown
    bool beep = false;

    static Verdict Ok() { return {}; }
    static Verdict Warn(std::string m) { return {true, std::move(m), true}; }
    static Verdict Refuse(std::string m) { return {false, std::move(m), true}; }
};

// --- Identity numbers --------------------------------------------------------

/// QRMPES without the duplicate search: "Brak numeru PESEL", "Błędny PESEL"
/// (form, birth date `birth` "YYYYMMDD" or sex "M"/"K" do not agree) or
/// "Błędny numer PESEL" (check digit).
Verdict CheckPeselOf(std::string_view pesel, std::string_view birth, std::string_view sex);

/// A PESEL for birth date `birth` ("YYYYMMDD", 1800-2299), a three-digit
/// serial and sex "M"/"K", with its check digit ("" for a bad date).
std::string MakePesel(std::string_view birth, int serial, char sex);

/// Employee numbers of the live records carrying `pesel` (clear), in
/// PKPRACA order, without record `except` (0: none); at most `limit`.
std::vector<std::string> RecordsWithPesel(dbf::WorkArea& prac, std::string_view pesel,
                                          uint32_t except = 0, size_t limit = 4);
/// The text beside the PESEL for the other records that share it:
/// "Ident.PESEL:" + one number, "Ident.:" + two joined by a comma, three
/// joined by commas, or the first three followed by ">"; "" for none.
std::string SharedPeselText(const std::vector<std::string>& numbers);
/// QRMPES in full: the number's own check, then, for a valid number, the
/// other records with it (a warning with a beep).
Verdict CheckPesel(dbf::WorkArea& prac, const EmployeeRecord& employee, uint32_t except);

/// QRMNIP: "" for an empty value, "Błędny NIP" unless ten digits, "Błędny
/// numer NIP" for a wrong check digit.
Verdict CheckNipField(std::string_view nip);
/// QRMREGON: "Brak numeru REGON", "Błędny REGON" unless nine digits,
/// "Błędny numer REGON".
Verdict CheckRegonField(std::string_view regon);
/// QRMBANK: "Błędny Nr rachunku" when the account check reports any error;
/// an empty account is accepted silently.
Verdict CheckAccountField(std::string_view account);

// --- Records sharing one PESEL (the leading-record window) ---------------------

struct PeselRecord {
    std::string number;
    bool leading = false;  // MASTER_
    uint32_t recno = 0;
};
/// Every live record with `pesel`, in number order within PKPRACA.
std::vector<PeselRecord> PeselRecords(dbf::WorkArea& prac, std::string_view pesel);
/// The record that supplies the personal data: the one marked MASTER_, else
/// the highest number. Index into `records`, -1 when empty.
int LeadingIndex(const std::vector<PeselRecord>& records);

// --- Seniority ---------------------------------------------------------------

struct Seniority {
    int years = 0, months = 0;
    bool overflow = false;  // more than 1199 months: shown as "**"
};
/// QRMSTAZ: whole months from the month of `employed` ("YYYYMMDD") to the
/// reference month; 0/0 for a date in or after it.
Seniority SeniorityAt(std::string_view employed, int ref_year, int ref_month);
/// "Staż:" with years, a slash and months ("Staż:**/**" on overflow).
std::string SeniorityText(const Seniority& s);
/// The reference month: ROK_ and MC_ of the first record of PKSTER, or the
/// month of `today` ("YYYYMMDD") when the table is empty.
void ReferenceMonth(dbf::WorkArea* ster, std::string_view today, int* year, int* month);

// --- Dates, amounts and built-in lists ---------------------------------------------

/// The dismissal pair: both empty, or a reason with a date not before the
/// employment date.
bool DismissalValid(std::string_view reason, std::string_view dismissed, std::string_view employed);
/// A period whose start is given and whose end is empty or not before it.
bool PeriodValid(std::string_view from, std::string_view to);
/// ETAT_L and ETAT_M: 1/1 when either is 0 (written into the record).
void NormaliseWorkingTime(EmployeeRecord* employee);
/// The amounts, percents and counts that must not be negative; the name of
/// the first negative one, or "".
std::string FirstNegative(const EmployeeRecord& employee);

/// A code of a built-in list. Returns its name (UTF-8), "" when absent.
std::string_view IdentityDocumentName(std::string_view code);  // KOD_IDENT
std::string_view ForeignIdKindName(std::string_view code);     // Z_KOD_ID, person
std::string_view PensionRightName(std::string_view code);      // TYTUL_EMER
std::string_view DisabilityName(std::string_view code);        // TYTUL_STNP
std::string_view TaxFormName(std::string_view code);           // FORMA_OPOD
/// Z_KOD_ID of a person: "Błędny kod" refuses a code missing from the list
/// when the person is a non-resident; an empty code is accepted.
Verdict CheckForeignIdKind(std::string_view code, bool non_resident);
/// TYTUL_EMER, TYTUL_STNP: an empty code is accepted with "Błędny kod"
/// shown, a code missing from the list refused.
Verdict CheckPensionRight(std::string_view code);
Verdict CheckDisability(std::string_view code);
/// KOD_KASY, KOD_NFZ_D: "01R" … "16R"; another code only warns "Błędny kod NFZ".
Verdict CheckHealthFund(std::string_view code);
/// PLEC_: "M" or "K".
bool SexValid(std::string_view sex);
/// The one-character choices of the record: PLEC_ "MK", KOD_IDENT " 12",
/// WYR_KOR " 12", PRZEKR_POD " 123", STR_ROZ_U " 12", FORMA_OPOD "123456",
/// Z_KOD_ID of a legal person " 12" (`legal`), WIE_ULG_PD "1234". False for
/// a value outside the field's choices; true for other fields.
bool ChoiceValid(std::string_view field, std::string_view value, bool legal = false);

/// After the insurance screen: empties the dates and codes of every
/// insurance that is not chosen.
void ClearUnchosenInsurance(EmployeeRecord* employee);
/// Whether any compulsory or voluntary pension, disability, sickness or
/// accident insurance is chosen (ZUA), and whether health insurance is (ZZA).
bool AnySocialInsurance(const EmployeeRecord& employee);
bool AnyHealthInsurance(const EmployeeRecord& employee);

}  // namespace kestrel::registry
