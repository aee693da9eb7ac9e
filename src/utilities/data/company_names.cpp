#include "utilities/data/company_names.h"

#include <algorithm>
#include <filesystem>

#include "common/tables/index_functions.h"
#include "platform/base/files.h"
#include "platform/base/text.h"

namespace kestrel::utilities {
namespace {

bool EndsWithPk(const std::string& upper) {
    return upper.size() >= 3 && upper.compare(upper.size() - 3, 3, ".PK") == 0;
}

bool FileNameCharacter(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return std::string_view("_-$~!#%&'@^(){}").find(c) != std::string_view::npos;
}

}  // namespace

NameCheck CheckCompanyName(std::string_view typed, std::string* name) {
    std::string upper = base::AsciiUpper(base::Trim(std::string(typed)));
    if (!upper.empty() && upper.find('.') == std::string::npos) upper += ".PK";
    *name = upper;
    if (upper.empty()) return NameCheck::kBadName;
    if (!EndsWithPk(upper)) return NameCheck::kBadExtension;
    const std::string stem = upper.substr(0, upper.size() - 3);
    if (stem.empty() || stem.size() > 8) return NameCheck::kBadName;
    for (char c : stem)
        if (!FileNameCharacter(c)) return NameCheck::kBadName;
    return NameCheck::kOk;
}

const char* NameCheckMessage(NameCheck check) {
    switch (check) {
        case NameCheck::kBadExtension:
            return "Błędne rozszerzenie";
        case NameCheck::kBadName:
            return "Błędna nazwa";
        default:
            return "";
    }
}

std::vector<CompanyEntry> ListCompanies(const std::string& root, const common::LetterSet& letters) {
    std::vector<std::pair<std::string, CompanyEntry>> keyed;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(root, ec)) {
        std::error_code kind;
        if (!entry.is_directory(kind)) continue;
        const std::string name = entry.path().filename().string();
        const std::string upper = base::AsciiUpper(name);
        if (!EndsWithPk(upper) || upper.size() == 3) continue;
        CompanyEntry c;
        c.name = name;
        c.usable = base::Exists(base::FindNoCase(entry.path().string(), "QRM.MEM"));
        keyed.emplace_back(common::SortKey(letters, upper), std::move(c));
    }
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
    });
    std::vector<CompanyEntry> out;
    for (auto& [key, c] : keyed) out.push_back(std::move(c));
    return out;
}

const CompanyEntry* FindCompany(const std::vector<CompanyEntry>& list, std::string_view name) {
    const std::string wanted = base::AsciiUpper(std::string(name));
    for (const CompanyEntry& c : list)
        if (base::AsciiUpper(c.name) == wanted) return &c;
    return nullptr;
}

std::string RootLabel(const std::string& root) {
    std::string dir = root;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    const size_t slash = dir.rfind('/');
    const std::string last = slash == std::string::npos ? dir : dir.substr(slash + 1);
    return " <" + (last.empty() ? std::string("/") : last) + ">";
}

std::string FilesNoun(long count) {
    if (count < 0) count = -count;
    if (count == 1) return "zbiór";
    const long last = count % 10;
    const long tens = count % 100;
    if (last >= 2 && last <= 4 && !(tens >= 12 && tens <= 14)) return "zbiory";
    return "zbiorów";
}

std::string WorkingName(const std::string& name) {
    const size_t dot = name.rfind('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + ".TMP";
}

}  // namespace kestrel::utilities
