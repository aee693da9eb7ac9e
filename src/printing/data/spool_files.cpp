#include "printing/data/spool_files.h"

#include <cstdio>

#include "platform/base/files.h"

namespace kestrel::printing {

std::string JoinPath(std::string_view dir, std::string_view name) {
    if (dir.empty()) return std::string(name);
    size_t end = dir.size();
    while (end > 0 && (dir[end - 1] == '/' || dir[end - 1] == '\\')) --end;
    return std::string(dir.substr(0, end)) + "/" + std::string(name);
}

std::vector<std::string> SpoolNames(bool thousand) {
    std::vector<std::string> names;
    const int count = thousand ? 1000 : 10;
    for (int i = 0; i < count; ++i) {
        char t[16];
        std::snprintf(t, sizeof t, thousand ? "%03d.PRT" : "%d.PRT", i);
        names.push_back(t);
    }
    return names;
}

base::Status OpenFirstFree(const std::string& dir, const std::vector<std::string>& names,
                           PrintOutput* out, std::string* path, PrintOutput::Converter convert) {
    for (const std::string& name : names) {
        const std::string candidate = JoinPath(dir, name);
        base::Status s = out->OpenNew(candidate, convert);
        if (s.IsBusy()) continue;
        if (!s.ok()) return s;
        *path = candidate;
        return s;
    }
    return base::Status::Busy(dir + ": every name taken");
}

std::string FirstMissing(const std::string& dir, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const std::string candidate = JoinPath(dir, name);
        if (!base::Exists(candidate)) return candidate;
    }
    return "";
}

}  // namespace kestrel::printing
