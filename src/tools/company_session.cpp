#include "tools/company_session.h"

#include <filesystem>
#include <vector>

#include "platform/base/files.h"
#include "platform/memfile/mem_file.h"
#include "startup/data/config_loader.h"

namespace kestrel::tools {

CompanySession::CompanySession(const std::string& dir) {
    rt.ResetWorkingDate();
    rt.set_data_dir(dir);
    std::vector<memfile::MemEntry> entries;
    if (memfile::ReadMemFile(base::FindNoCase(dir, "QRM.MEM"), &entries).ok())
        rt.config().Assign(std::move(entries));
    // The same defaults the program applies at start-up, so that a variable
    // missing from QRM.MEM means the same here as on the screens. The
    // program directory is the root the company directory sits in.
    startup::StartupFacts facts;
    facts.has_colour = false;
    facts.data_dir = dir;
    std::filesystem::path root = std::filesystem::path(dir).parent_path().parent_path();
    facts.program = startup::ReadProgramSettings(root.empty() ? "./" : root.string() + "/");
    startup::ApplyStartupDefaults(&rt.config(), facts);
}

}  // namespace kestrel::tools
