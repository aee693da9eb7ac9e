#include "common/session/runtime.h"

#include "platform/codepage/cp852.h"

namespace kestrel::common {

Runtime::Runtime(console::Console& con, const base::Clock& clock)
    : console_(con),
      clock_(clock),
      colours_(con.has_colour() ? &kColourSet : &kStartMonochromeSet),
      working_date_(clock.Now()) {}

console::Attr Runtime::Standard(const char* spec) const {
    auto parsed = console::ParseColourSpec(spec);
    return parsed ? parsed->standard : console::ColourSpec{}.standard;
}

console::Attr Runtime::Enhanced(const char* spec) const {
    auto parsed = console::ParseColourSpec(spec);
    return parsed ? parsed->enhanced : console::ColourSpec{}.enhanced;
}

std::string Runtime::Text(std::string_view utf8) const {
    return letters_.FromCp852(codepage::FromUtf8(utf8));
}

}  // namespace kestrel::common
