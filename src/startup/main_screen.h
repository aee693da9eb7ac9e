// The main screen: the frame, the title line with the company's short name,
// the date and the running clock, and the message cell at the bottom.
#pragma once

#include <string>

#include "common/session/colour_sets.h"
#include "common/session/runtime.h"
#include "platform/base/clock.h"
#include "platform/console/console.h"

namespace kestrel::startup {

/// The short name as the title line shows it: trimmed, letters spaced out
/// with one blank when it has at most 10 characters, centred in 20.
std::string FormatShortName(const std::string& short_name);

/// Draws the frame and the title line in the colours and the letter set in
/// force (date and time from the runtime's clock); `short_name` is written
/// as given (see FormatShortName).
void DrawMainScreen(common::Runtime& rt, const std::string& short_name);

/// Rewrites the clock (hours and minutes) at row 2, column 71.
void DrawClock(console::Console& con, const common::ColourSet& colours, const base::LocalTime& now);

/// Shows the key legends of the main menu at row 21, in the letter set in
/// force.
void DrawMainLegends(common::Runtime& rt, bool colour_switch);

}  // namespace kestrel::startup
