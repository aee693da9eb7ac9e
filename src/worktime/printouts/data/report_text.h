// Small pieces of text shared by the working-time print-outs.
#pragma once

#include <string>
#include <string_view>

#include "common/session/runtime.h"

namespace kestrel::worktime {

/// `text` cut to `width` or padded with blanks to it.
std::string Fit(std::string_view text, size_t width);

/// `value` with `decimals` decimals right-aligned in `width` ("  168.00").
std::string Number(double value, int width, int decimals);

/// The day of the week (0 Sunday ... 6 Saturday) in Polish, CP852.
std::string WeekdayName(common::Runtime& rt, int weekday);

/// The kind of a calendar day code in Polish, CP852: " " "roboczy", "N"
/// "niedziela", "S" "święto", "W" "wolny"; "" for another.
std::string DayKindName(common::Runtime& rt, char code);

}  // namespace kestrel::worktime
