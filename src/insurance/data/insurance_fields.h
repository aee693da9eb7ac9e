// The field lists of the insurance records that the transfer computes, in
// the order their algorithms are evaluated: each names a memo field of the
// algorithm table and the field of the target table that receives its
// value. And the absence codes of a LISTA_NB text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrel::insurance {

/// PKSKLAD (from PKASKLD); KW_PPK_ZAK last, only with the PPK module
/// (NAGLPPK20).
const std::vector<std::string>& Qrmtbs(bool ppk);
/// PKZASIL (from PKAZASL).
const std::vector<std::string>& Qrmtbz();
/// PKKSKWN (from PKASKWN).
const std::vector<std::string>& Qrmtbk();
/// PKPODST (from PKAPDST).
const std::vector<std::string>& Qrmtbp();
/// PKAOKRN: the condition and the list of interrupting absences.
const std::vector<std::string>& Qrmtbo();
/// PKWYNAG's first pass (once per employee) and second pass (added per
/// payroll list).
const std::vector<std::string>& Qrmtbw1();
const std::vector<std::string>& Qrmtbw2();

/// QRMLSTNB: the absence codes of a LISTA_NB text. Carriage returns, line
/// feeds and soft line breaks (character 141) are removed, the text is cut
/// at ","; each token is trimmed, an empty one or one longer than four
/// characters ignored, the others upper-cased and padded to four. Text in
/// CP852.
std::vector<std::string> Qrmlstnb(std::string_view lista_nb);

}  // namespace kestrel::insurance
