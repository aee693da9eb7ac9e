#include "tools/company_session.h"

#include <vector>

#include "platform/base/files.h"
#include "platform/memfile/mem_file.h"

namespace kestrel::tools {

CompanySession::CompanySession(const std::string& dir) {
    rt.ResetWorkingDate();
    rt.set_data_dir(dir);
    std::vector<memfile::MemEntry> entries;
    if (memfile::ReadMemFile(base::FindNoCase(dir, "QRM.MEM"), &entries).ok())
        rt.config().Assign(std::move(entries));
}

}  // namespace kestrel::tools
