#include "tools/demo_company.h"

#include <filesystem>

#include "common/company_tables.h"
#include "common/letters.h"
#include "common/shipped_content.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"
#include "tools/command.h"
#include "tools/demo_employees.h"

namespace kestrel::tools {
namespace {

using memfile::MemEntry;
using memfile::MemValue;

MemEntry Text(const char* name, const char* utf8) {
    return {name, MemValue::Char(codepage::FromUtf8(utf8))};
}

std::string Padded(const char* utf8, size_t width) {
    std::string s = codepage::FromUtf8(utf8);
    s.resize(width, ' ');
    return s;
}

int DemoCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: kestrel-tool demo ROOT\n");
        return 2;
    }
    base::Status s = CreateDemoCompany(args[0]);
    if (!s.ok()) {
        std::fprintf(stderr, "kestrel-tool demo: %s\n", s.ToString().c_str());
        return 1;
    }
    return 0;
}

KESTREL_TOOL_COMMAND(demo_command, "demo", "demo ROOT   (creates ROOT/DEMO.PK, the demo company)",
                     DemoCommand);

}  // namespace

std::vector<MemEntry> DemoConfiguration() {
    return {
        {"NAGL1", MemValue::Char(Padded("FIRMA DEMO", 20))},
        {"NAGL2", MemValue::Char(Padded("Przedsiębiorstwo Usługowe", 30))},
        {"NAGL4", MemValue::Char(Padded("\"KESTREL-DEMO\" Sp. z o.o.", 30))},
        {"NAGL3", MemValue::Char(Padded("ul. Kwiatowa 12, Warszawa", 30))},
        Text("NAGL5", "Przedsiębiorstwo Usługowe \"KESTREL-DEMO\" Sp. z o.o."),
        Text("NAGL6", "527-301-45-87"),
        Text("NAGL7", "147389254"),
        Text("NAGL55", "147389254"),
        Text("NAGL8", "mazowieckie"),
        Text("NAGL72", "Warszawa"),
        Text("NAGL23", "Śródmieście"),
        Text("NAGL9", "Kwiatowa"),
        Text("NAGL10", "12"),
        Text("NAGL11", ""),
        Text("NAGL12", "Warszawa"),
        Text("NAGL13", "00-950"),
        Text("NAGL14", "22 555 01 00"),
        Text("NAGL15", "Warszawa"),
        Text("NAGL22", "POLSKA"),
        Text("NAGL27", "Anna"),
        Text("NAGL28", "Kowalczyk"),
        Text("NAGL29", "KESTREL-DEMO"),
        Text("NAGL78", "kadry@kestrel-demo.invalid"),
        {"NAGL73", MemValue::Char(
                       Padded("\"KESTREL-DEMO\" Sp. z o.o. ul. Kwiatowa 12 00-950 Warszawa", 104))},
        {"NAGL74", MemValue::Char(Padded("61109010140000071219812874", 44))},
        {"NAGL77", MemValue::Char(Padded("\"KESTREL-DEMO\" Sp. z o.o. Warszawa", 54))},
        {"NAGLGENPL", MemValue::Logical(true)},
        {"NAGLKLR", MemValue::Logical(true)},
        {"NAGLPPK20", MemValue::Logical(true)},
        {"NAGLFP", MemValue::Numeric(2.45, 5, 2)},
        {"NAGLFGSP", MemValue::Numeric(0.10, 5, 2)},
        {"NAGLPROCUW", MemValue::Numeric(1.67, 4, 2)},
        Text("NAGLTDR", "E"),
    };
}

base::Status CreateDemoCompany(const std::string& root) {
    const std::string dir = root + "/DEMO.PK";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return base::Status::IOError(dir + ": " + ec.message());
    const std::string mem = dir + "/QRM.MEM";
    if (!base::Exists(base::FindNoCase(dir, "QRM.MEM"))) {
        base::Status s = memfile::WriteMemFile(mem, DemoConfiguration());
        if (!s.ok()) return s;
    }
    // The shipped data files beside the companies, where the program looks
    // for them when it creates a dictionary.
    const std::string data = root + "/data";
    std::filesystem::create_directories(data, ec);
    if (ec) return base::Status::IOError(data + ": " + ec.message());
    for (const auto& entry : std::filesystem::directory_iterator(KESTREL_DATA_DIR, ec)) {
        if (entry.path().extension() != ".tsv") continue;
        const auto target = std::filesystem::path(data) / entry.path().filename();
        if (std::filesystem::exists(target)) continue;
        std::filesystem::copy_file(entry.path(), target, ec);
        if (ec) return base::Status::IOError(target.string() + ": " + ec.message());
    }
    // Every table of the catalogue, so that every function finds its tables.
    base::Status s = common::CreateMissingTables(dir, common::MakeLetterSet(common::kPolishCp852),
                                                 common::ShippedContent(data));
    if (s.ok()) s = AddDemoEmployees(dir);
    return s;
}

}  // namespace kestrel::tools
