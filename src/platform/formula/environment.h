// What a program lends the formula Runtimes it creates.
#pragma once

namespace kestrel::base {
class Clock;
}

namespace kestrel::formula {

class Variables;

/// The program's table of public variables and its clock, shared by every
/// Runtime the program creates. Both must outlive those Runtimes.
struct Environment {
    Variables* publics = nullptr;        // nullptr: the Runtime has a table of its own
    const base::Clock* clock = nullptr;  // what date() reads; nullptr: the system clock
};

}  // namespace kestrel::formula
