// kestrel-tool import-dict: how an administrator refreshes an official
// dictionary of a company without starting the program.
//
//   kestrel-tool import-dict COMPANY_DIR LIST [FILE]
//
// LIST is one of kraje, urzedy, gminy, zawody (or the table name PKSKODK,
// PKKDURZ, PKGMINY, PKKZIS). FILE is an official list file (UTF-8: the
// country or tax-office dictionary as CSV or XSD, the TERC CSV of the
// territorial register, the classification of occupations as CSV); without
// it the dictionary is rebuilt from the program's data/ folder. The text is
// written in the company's letter set (from its QRM.MEM). Exit status 0,
// 1 when the file was refused or the rebuild failed (the dictionary in force
// stays), 2 on a usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/configuration.h"
#include "common/session/letters.h"
#include "common/tables/shipped_content.h"
#include "platform/base/files.h"
#include "platform/memfile/mem_file.h"
#include "register/data/official_dictionaries.h"
#include "tools/command.h"

namespace kestrel::tools {
namespace {

bool ListByName(std::string name, registry::OfficialList* out) {
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    struct Name {
        const char* word;
        const char* table;
        registry::OfficialList list;
    };
    static const Name kNames[] = {
        {"KRAJE", "PKSKODK", registry::OfficialList::kCountries},
        {"URZEDY", "PKKDURZ", registry::OfficialList::kTaxOffices},
        {"GMINY", "PKGMINY", registry::OfficialList::kTerritory},
        {"ZAWODY", "PKKZIS", registry::OfficialList::kOccupations},
    };
    for (const Name& n : kNames) {
        if (name == n.word || name == n.table) {
            *out = n.list;
            return true;
        }
    }
    return false;
}

// The letter set of the company, chosen as the program chooses it.
common::LetterSet CompanyLetters(const std::string& dir) {
    std::vector<memfile::MemEntry> entries;
    if (!memfile::ReadMemFile(base::FindNoCase(dir, "QRM.MEM"), &entries).ok())
        return common::MakeLetterSet(common::kPolishCp852);
    common::Configuration c;
    c.Assign(std::move(entries));
    const bool has_pl = c.Has("NAGLPL", memfile::MemValue::Type::kChar);
    const std::string stored = c.Text("NAGLPL");
    return common::ChooseLetterSet(c.Logical("NAGLGENPL"), c.Logical("NAGLGENPM"),
                                   has_pl ? &stored : nullptr);
}

int ImportDict(const std::vector<std::string>& args) {
    registry::OfficialList list;
    if (args.size() < 2 || args.size() > 3 || !ListByName(args[1], &list)) {
        std::fprintf(
            stderr,
            "usage: kestrel-tool import-dict COMPANY_DIR kraje|urzedy|gminy|zawody [FILE]\n");
        return 2;
    }
    std::string dir = args[0];
    if (!dir.empty() && dir.back() != '/') dir += '/';
    if (!base::Exists(dir)) {
        std::fprintf(stderr, "no directory %s\n", args[0].c_str());
        return 2;
    }
    const common::LetterSet letters = CompanyLetters(dir);
    uint32_t rows = 0;
    const std::string err =
        args.size() == 3
            ? registry::ImportOfficialList(dir, letters, list, args[2], &rows)
            : registry::RebuildFromShipped(dir, common::ShippedDataDir(dir), letters, list, &rows);
    const char* table = registry::InfoOf(list).table;
    if (!err.empty()) {
        std::fprintf(stderr, "%s: %s\n", table, err.c_str());
        return 1;
    }
    std::printf("%s: %u\n", table, rows);
    return 0;
}

KESTREL_TOOL_COMMAND(import_dict, "import-dict",
                     "COMPANY_DIR kraje|urzedy|gminy|zawody [FILE]  load an official dictionary",
                     ImportDict);

}  // namespace
}  // namespace kestrel::tools
