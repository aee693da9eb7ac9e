#include "utilities/data/company_remove.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "common/session/operators.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "utilities/data/company_create.h"

namespace kestrel::utilities {
namespace {

namespace fs = std::filesystem;

// The company's own folders: the annual archives, the passwords, and the
// backups the formula updater keeps of the payroll components before it
// changes them (every company that ran the updater has them).
bool AllowedSubdirectory(const std::string& name) {
    const std::string upper = base::AsciiUpper(name);
    return upper.rfind("ARCH", 0) == 0 || upper == "HASLA.QRM" || upper == "U2020" ||
           upper == "X_PPK21";
}

bool IsDirectory(const fs::directory_entry& e) {
    std::error_code ec;
    return e.is_directory(ec) && !e.is_symlink(ec);
}

// The name the directory takes while it is deleted.
std::string DeletionName(const std::string& root, const std::string& name) {
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    std::string candidate = stem + ".DEL";
    for (int i = 1; i <= 9 && KindOf(root + "/" + candidate) != PathKind::kNothing; ++i)
        candidate = stem + ".DE" + std::to_string(i);
    return candidate;
}

}  // namespace

RenameOutcome RenameCompany(const std::string& root, const std::string& old_name,
                            const std::string& new_name) {
    RenameOutcome out;
    const std::string from = root + "/" + old_name;
    const std::string to = root + "/" + new_name;
    if (KindOf(to) != PathKind::kNothing || std::rename(from.c_str(), to.c_str()) != 0) {
        out.message = "Błąd zmiany nazwy";
        return out;
    }
    out.renamed = true;
    if (!common::MoveOperatorList(root, old_name, new_name).ok())
        out.message = "Błąd modyfikacji haseł";
    return out;
}

CompanyContents SurveyCompany(const std::string& dir) {
    CompanyContents out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (!IsDirectory(entry)) {
            ++out.files;
            continue;
        }
        if (!AllowedSubdirectory(entry.path().filename().string())) {
            out.foreign_subdirectory = true;
            continue;
        }
        std::error_code inner_ec;
        for (const auto& inner : fs::directory_iterator(entry.path(), inner_ec)) {
            if (IsDirectory(inner))
                out.foreign_subdirectory = true;
            else
                ++out.files;
        }
    }
    return out;
}

bool RemovePath(const std::string& path) {
    std::error_code ec;
    return fs::remove(path, ec) && !ec;
}

std::string DeleteCompany(const std::string& root, const std::string& name,
                          const RemoveFn& remove) {
    const std::string working = root + "/" + DeletionName(root, name);
    if (KindOf(working) != PathKind::kNothing ||
        std::rename((root + "/" + name).c_str(), working.c_str()) != 0)
        return "Błąd kasowania katalogu";
    // The list of operators of a deleted company must not pass to a later
    // company of the same name.
    const std::string list = common::OperatorListPath(root, name);
    if (base::Exists(list) && !remove(list)) return "Błąd kasowania " + list;

    std::vector<fs::path> subdirectories;
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(working, ec))
        (IsDirectory(entry) ? subdirectories : files).push_back(entry.path());
    if (ec) return "Błąd kasowania katalogu";
    for (const fs::path& sub : subdirectories) {
        std::error_code sub_ec;
        for (const auto& inner : fs::directory_iterator(sub, sub_ec))
            if (!remove(inner.path().string()))
                return "Błąd kasowania " + sub.filename().string() + "\\" +
                       inner.path().filename().string();
        if (!remove(sub.string())) return "Błąd kasowania " + sub.filename().string();
    }
    for (const fs::path& file : files)
        if (!remove(file.string())) return "Błąd kasowania " + file.filename().string();
    if (!remove(working)) return "Błąd kasowania katalogu";
    return "";
}

}  // namespace kestrel::utilities
