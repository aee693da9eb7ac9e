// The working-day calendars of the demo company.
#pragma once

#include <string>

#include "platform/base/clock.h"
#include "platform/base/status.h"

namespace kestrel::tools {

/// The years the demo company has calendars for.
inline constexpr int kDemoCalendarYears[] = {2025, 2026, 2027};

/// Writes the calendars of calendar group "01" for the demo years, each from
/// the presets of a new calendar, into the company directory `dir` (whose
/// tables exist); a year that has its calendar already is left alone.
base::Status AddDemoCalendars(const std::string& dir, const base::Clock& clock);

}  // namespace kestrel::tools
