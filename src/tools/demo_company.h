// The demo company: a fictional firm to try the program on.
#pragma once

#include <string>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/status.h"
#include "platform/memfile/mem_file.h"

namespace kestrel::tools {

/// The configuration of the demo company (CP852 texts).
std::vector<memfile::MemEntry> DemoConfiguration();

/// Creates `root`/DEMO.PK with its QRM.MEM unless the file exists already,
/// and every table of the catalogue that is missing there (with its index
/// files); what exists is left as it is.
/// Creates ROOT/DEMO.PK with its configuration, every table and the demo
/// people; what the demo writes is dated by `clock`.
base::Status CreateDemoCompany(const std::string& root, const base::Clock& clock);

}  // namespace kestrel::tools
