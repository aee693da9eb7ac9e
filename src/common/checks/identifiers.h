// Check digits of Polish identifiers and account numbers.
//
// Pure functions over CP852 text as typed or stored: a byte outside ASCII is
// never a digit or a letter. The checks only judge a number; callers decide
// whether a bad one is a warning (identity numbers never block a form).
#pragma once

#include <string>
#include <string_view>

namespace kestrel::common {

// Results of CheckNip, CheckRegon, CheckPesel and CheckBankAccount.
inline constexpr int kIdValid = 0;
inline constexpr int kIdBadForm = 1;        // wrong length or characters
inline constexpr int kIdBadCheckDigit = 2;  // for accounts: the bank sort code
inline constexpr int kIdBadAccountCheck = 3;
inline constexpr int kIdBadAccountLength = 4;

/// QRMVNIP: tax number. Ten digits, or thirteen characters XXX-XXX-XX-XX or
/// XXX-XX-XX-XXX. Weights 6 5 7 2 3 4 5 6 7 over digits 1-9, modulo 11, must
/// give digit 10 (a remainder of 10 never matches). Trailing blanks (field
/// padding) are ignored. Returns kIdValid, kIdBadForm or kIdBadCheckDigit.
int CheckNip(std::string_view text);

/// QRMVREG: statistical number of nine or fourteen digits. Weights
/// 8 9 2 3 4 5 6 7 over digits 1-8 give digit 9; fourteen digits also need
/// weights 2 4 8 5 0 9 7 3 6 1 2 4 8 over digits 1-13 to give digit 14; both
/// modulo 11 with 10 counting as 0. Trailing blanks are ignored. Returns
/// kIdValid, kIdBadForm or kIdBadCheckDigit.
int CheckRegon(std::string_view text);

/// QRMVPES: personal identity number of eleven digits. Weights
/// 1 3 7 9 1 3 7 9 1 3 over digits 1-10; 10 minus the sum modulo 10 (10
/// counting as 0) must give digit 11. Trailing blanks are ignored. The birth
/// date and sex encoded in the number are not checked here. Returns kIdValid,
/// kIdBadForm or kIdBadCheckDigit.
int CheckPesel(std::string_view text);

/// QRMVBANK: bank account in the old form (8-digit bank sort code, dash,
/// account of any length) or in the 26-digit form, with or without blanks and
/// dashes. Returns
///   kIdBadForm          a character other than a digit, blank or dash, or too
///                       short to hold a sort code (an empty text included:
///                       callers that allow no account test for that first);
///   kIdBadCheckDigit    the sort code (weights 7 1 3 9 7 11 3) fails;
///   kIdBadAccountLength not the old form, not 26 digits and not 19-22;
///   kIdBadAccountCheck  26 digits failing the international check for "PL";
///   kIdValid            otherwise (old-form accounts get only the sort code check).
int CheckBankAccount(std::string_view text);

/// QRMIBAN: international account number. Only digits and capital letters
/// count (blanks, dashes and small letters are skipped); a number beginning
/// with a digit is taken as Polish ("PL" put in front). True when the
/// modulo-97 check leaves 1. Fewer than five counted characters are never valid.
bool CheckIban(std::string_view text);

/// QRMVNRZUS: individual account for social-insurance contributions. Blanks are
/// skipped; everything else must be digits and capital letters, pass
/// CheckIban and carry "60000002026" right after the check digits.
bool CheckZusAccount(std::string_view text);

/// QRMVNRTEL: mobile telephone. Blanks and dashes are skipped; the rest must be
/// nine digits beginning with 45, 50, 51, 53, 57, 60, 66, 69, 72, 73, 78, 79
/// or 88.
bool CheckMobilePhone(std::string_view text);

// Notes shown beside a checked number (UTF-8 here; the *Note functions give CP852).
inline constexpr std::string_view kNoteBadFormat = "- błędny format";  // NIP, REGON: 1
inline constexpr std::string_view kNoteBadNumber = "- błędny numer";   // NIP, REGON: 2
inline constexpr std::string_view kNoteAccountError = "- błąd";        // account: 1
inline constexpr std::string_view kNoteAccountBadNr = "- błędny nr";   // account: 2; ZUS account
inline constexpr std::string_view kNoteAccountBadCheck = "- błęda liczba kontrolna";  // account: 3
inline constexpr std::string_view kNoteAccountBadLength = "- błęda długość";          // account: 4

/// The CP852 note for a result of CheckNip or CheckRegon; "" for kIdValid.
std::string NumberNote(int result);

/// The CP852 note for a result of CheckBankAccount; "" for kIdValid.
std::string BankAccountNote(int result);

}  // namespace kestrel::common
