// Where spool and print files go, and how a free name is taken.
//
// A spool file is the first free name of its series: the company directory
// (NAGL0) + one digit 0-9 + ".PRT", or, with NAGLSPOOL or for the print
// program's spool (type "V", in NAGL0V), three digits 000-999 + ".PRT".
// "Free" is decided by an exclusive create (PrintOutput::OpenNew): a name
// another process created a moment ago is skipped, so two workstations
// never share one file.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/status.h"
#include "printing/data/print_output.h"

namespace kestrel::printing {

/// `dir` + exactly one "/" + `name`: trailing separators of `dir` ("/" or
/// "\") are dropped first; an empty `dir` gives `name` alone and a `dir` of
/// separators only the root.
std::string JoinPath(std::string_view dir, std::string_view name);

/// The names of a spool series: "0.PRT" … "9.PRT", or with `thousand`
/// "000.PRT" … "999.PRT".
std::vector<std::string> SpoolNames(bool thousand);

/// Opens `out` on the first of `names` in `dir` that can be created
/// exclusively and puts its full path in *path. Busy when every name is
/// taken; any other failure (a missing directory) is returned at once.
base::Status OpenFirstFree(const std::string& dir, const std::vector<std::string>& names,
                           PrintOutput* out, std::string* path,
                           PrintOutput::Converter convert = {});

/// The first of `names` in `dir` that does not exist (for a series another
/// program fills), "" when all exist. Nothing is created.
std::string FirstMissing(const std::string& dir, const std::vector<std::string>& names);

}  // namespace kestrel::printing
