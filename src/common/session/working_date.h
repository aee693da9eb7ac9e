// QRMDATE: the working date, "today" for the functions that work as of a
// date. The runtime holds it; every menu display resets it to today.
#pragma once

#include "common/session/runtime.h"
#include "platform/picture/picture.h"

namespace kestrel::common {

/// The working date.
picture::Date Qrmdate(const Runtime& rt);
/// Sets the working date to `date` (an empty date is ignored) and returns
/// the working date.
picture::Date Qrmdate(Runtime& rt, const picture::Date& date);

/// Conversions between the clock's time and a date.
picture::Date DateOf(const base::LocalTime& t);
base::LocalTime TimeOf(const picture::Date& d);

}  // namespace kestrel::common
