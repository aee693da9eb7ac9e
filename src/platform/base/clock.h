// The clock: today's date and the time of day, as the program sees them.
//
// The program asks a Clock, never the system directly, so that a scripted
// run (and a test) can fix the time and get the same screens every time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrel::base {

struct LocalTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;

    bool operator==(const LocalTime&) const = default;
    /// "YYYY-MM-DD".
    std::string DateText() const;
    /// "HH:MM".
    std::string TimeText() const;
};

/// Parses "YYYY-MM-DD HH:MM" (or "YYYY-MM-DD HH:MM:SS", or a date alone);
/// nothing when the text is not a real date and time.
std::optional<LocalTime> ParseLocalTime(std::string_view text);

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

/// The operating system's local time.
class SystemClock : public Clock {
  public:
    LocalTime Now() const override;
};

/// Always the same moment.
class FixedClock : public Clock {
  public:
    explicit FixedClock(LocalTime t) : time_(t) {}
    LocalTime Now() const override { return time_; }
    void Set(LocalTime t) { time_ = t; }

  private:
    LocalTime time_;
};

}  // namespace kestrel::base
