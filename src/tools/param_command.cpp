// kestrel-tool param DIR.PK NAME=VALUE...
// Company parameters (QRM.MEM of the company) set without the program, as
// the parameter editor stores them: the type is the catalogue's ("C" for a
// variable it does not know); logical values T or F, numbers with their
// decimals. Texts are UTF-8. The file is written safely (a new copy renamed
// over the old). Exit status 0; 1 when the file cannot be read or written;
// 2 on a usage error (no "=", a bad name, a value not of the type).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/session/config_catalogue.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/memfile/mem_file.h"
#include "tools/command.h"

namespace kestrel::tools {
namespace {

constexpr const char* kUsage = "param DIR.PK NAME=VALUE...";

int Usage() {
    std::fprintf(stderr, "usage: kestrel-tool %s\n", kUsage);
    return 2;
}

bool ValueOf(const std::string& name, const std::string& text, memfile::MemValue* out) {
    const common::CatalogueEntry* e = common::FindCatalogueEntry(name);
    const char type = e != nullptr ? e->type : 'C';
    if (type == 'L') {
        if (text != "T" && text != "F") return false;
        *out = memfile::MemValue::Logical(text == "T");
        return true;
    }
    if (type == 'N') {
        char* end = nullptr;
        const double v = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0') return false;
        const size_t dot = text.find('.');
        const int decimals = dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
        *out = memfile::MemValue::Numeric(v, 10, decimals);
        return true;
    }
    if (type != 'C') return false;
    *out = memfile::MemValue::Char(codepage::FromUtf8(text));
    return true;
}

int Param(const std::vector<std::string>& args) {
    if (args.size() < 2) return Usage();
    std::string dir = args[0];
    if (dir.back() != '/') dir += '/';
    std::string path = base::FindNoCase(dir, "QRM.MEM");
    std::vector<memfile::MemEntry> entries;
    if (!memfile::ReadMemFile(path, &entries).ok()) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    for (size_t i = 1; i < args.size(); ++i) {
        const size_t eq = args[i].find('=');
        if (eq == std::string::npos || eq == 0 || eq > 10) return Usage();
        const std::string name = base::AsciiUpper(args[i].substr(0, eq));
        memfile::MemValue value;
        if (!ValueOf(name, args[i].substr(eq + 1), &value)) return Usage();
        bool replaced = false;
        for (memfile::MemEntry& e : entries)
            if (e.name == name) {
                e.value = value;
                replaced = true;
            }
        if (!replaced) entries.push_back({name, value});
    }
    if (!memfile::WriteMemFile(path, entries).ok()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

KESTREL_TOOL_COMMAND(param_command, "param", kUsage, Param);

}  // namespace
}  // namespace kestrel::tools
