// Small file-system helpers shared by platform code.
//
// Files are replaced safely: the new contents go to a work copy beside the
// file, are flushed to disk, and the copy is renamed over the old file, so
// a failure at any point leaves either the old or the new file, never half
// of one. Names created by the program are in capitals; names are found
// without regard to case, so that directories copied from systems that did
// not distinguish case open.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/status.h"

namespace kestrel::base {

/// Reads a whole file. NotFound when it does not exist.
Status ReadFile(const std::string& path, std::string* contents);

/// Replaces (or creates) `path` with `contents` safely (see above).
Status WriteFileAtomically(const std::string& path, std::string_view contents);

/// The path of `name` inside `dir`, matched without regard to case. When
/// no entry matches, `dir`/`name` as given (so that it can be created).
/// `dir` may be empty (the current directory).
std::string FindNoCase(const std::string& dir, const std::string& name);

/// True when `path` exists (any kind of file).
bool Exists(const std::string& path);

}  // namespace kestrel::base
