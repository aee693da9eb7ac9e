#pragma once

#include <cstdint>
#include <string>

namespace kestrel::payroll {

/// An amount of money in Polish words, as printed after "Słownie złotych do
/// wypłaty:" and on transfer orders. `grosze` is the amount in grosze (an
/// integer: 1234.56 zł is 123456); the złote go into words with the word
/// "złoty" in its right form, the grosze follow as a fraction of 100:
///
///   0        -> "zero złotych 00/100"
///   1        -> "jeden złoty 00/100"
///   123456   -> "jeden tysiąc dwieście trzydzieści cztery złote 56/100"
///   -500     -> "minus pięć złotych 00/100"
///
/// Thousands, millions and milliards always carry their count ("jeden
/// tysiąc", not "tysiąc"), so nothing can be written in front of the words
/// on a cheque or an order. The text is CP852, like every text inside.
std::string AmountInWords(int64_t grosze);

/// The whole number `n` (0 or more) in Polish words, without a unit:
/// 0 -> "zero", 21 -> "dwadzieścia jeden", 1001 -> "jeden tysiąc jeden".
std::string NumberInWords(int64_t n);

/// Which form of a counted Polish noun follows `n`: 1 for the singular
/// ("złoty", "tysiąc"), 2 for 2-4 except 12-14 ("złote", "tysiące"), 5 for
/// every other count ("złotych", "tysięcy"; 0, 5-21, 25, 112…).
int PluralForm(int64_t n);

}  // namespace kestrel::payroll
