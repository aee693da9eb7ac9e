// kestrel-tool payroll: the payroll lists of the month without a screen, on
// the code the screens of menu 4 run, under the same locks.
//
//   kestrel-tool payroll lists DIR.PK
//   kestrel-tool payroll open DIR.PK --symbol S --paid YYYY-MM-DD [--number N] [--for-year Y]
//   kestrel-tool payroll recalc DIR.PK [--list KEY] [--department D | --set S]
//   kestrel-tool payroll positions DIR.PK [--list KEY] [--employee NR]
//   kestrel-tool payroll close DIR.PK [--list KEY]
//   kestrel-tool payroll close-month DIR.PK
//   kestrel-tool payroll bank DIR.PK [--list KEY] [--out DIR] [--replace]
//
// KEY is "YYYY/S/N" (year, list symbol, number). Each action lives in its
// own source file and registers itself with KESTREL_PAYROLL_ACTION(...).
// Exit status 0; 1 on a refusal (its message on standard error); 2 on a
// usage error.
#pragma once

#include <string>
#include <vector>

#include "tools/command.h"

namespace kestrel::tools {

struct PayrollActionRegistration {
    PayrollActionRegistration(const char* name, const char* usage, CommandFn fn);
};

/// The company directory of an action's first argument, with a trailing
/// "/"; "" (and the reason on standard error) when it is not a directory.
std::string PayrollCompanyDir(const std::vector<std::string>& args);

/// The value after `flag` in `args` ("" when absent); true when the flag is
/// there. The flag and its value are removed from `args`.
bool TakeOption(std::vector<std::string>* args, const std::string& flag, std::string* value);

/// Whether `flag` (an option without value) is in `args`; removed from it.
bool TakeFlag(std::vector<std::string>* args, const std::string& flag);

/// A refusal: the program's message (CP852) on standard error in UTF-8;
/// returns the exit status 1.
int Refuse(const std::string& cp852);

}  // namespace kestrel::tools

#define KESTREL_PAYROLL_ACTION(ident, name, usage, fn) \
    static ::kestrel::tools::PayrollActionRegistration ident(name, usage, fn)
