// "Report and abandon": the one exception of business code.
//
// A function that cannot go on throws Abandon with the message for the
// operator (CP852); the menu's recoverable block catches it, shows the
// message on the message line and returns to the menu. Expected conditions
// that the function itself handles stay return values.
#pragma once

#include <stdexcept>
#include <string>

namespace kestrel::common {

class Abandon : public std::runtime_error {
  public:
    explicit Abandon(const std::string& message) : std::runtime_error(message) {}
    const char* message() const { return what(); }
};

}  // namespace kestrel::common
