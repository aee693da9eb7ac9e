#include "utilities/data/company_create.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "common/session/config_catalogue.h"
#include "common/session/operators.h"
#include "common/tables/company_tables.h"
#include "common/tables/shipped_content.h"
#include "platform/base/files.h"
#include "utilities/data/company_names.h"

namespace kestrel::utilities {
namespace {

using memfile::MemEntry;
using memfile::MemValue;
using Kind = common::CatalogueValue::Kind;

std::string Padded(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}

void Set(std::vector<MemEntry>* entries, const std::string& name, MemValue value) {
    for (MemEntry& e : *entries)
        if (e.name == name) {
            e.value = std::move(value);
            return;
        }
    entries->push_back({name, std::move(value)});
}

void Remove(std::vector<MemEntry>* entries, const std::string& name) {
    std::erase_if(*entries, [&](const MemEntry& e) { return e.name == name; });
}

MemValue FromCatalogue(const common::CatalogueEntry& e) {
    const common::CatalogueValue& v = e.startup;
    switch (v.kind) {
        case Kind::kBlanks:
            return MemValue::Char(std::string(static_cast<size_t>(v.blanks), ' '));
        case Kind::kNumber:
            return MemValue::Numeric(v.number, e.width ? e.width : 10, 0);
        case Kind::kLogical:
            return MemValue::Logical(v.logical);
        case Kind::kEmptyDate:
            return MemValue::Date(0);
        default:
            return MemValue::Char(std::string(v.text));
    }
}

std::string Dos(const std::string& path) {
    std::string out = path;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

}  // namespace

std::vector<MemEntry> NewCompanyConfiguration(std::vector<MemEntry> entries,
                                              const NewCompany& company) {
    for (MemEntry& e : entries)
        for (char& c : e.name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    Set(&entries, "NAGL1", MemValue::Char(Padded(company.short_name, 20)));
    Set(&entries, "NAGL2", MemValue::Char(Padded(company.first_line, 30)));
    if (company.second_line) {
        Set(&entries, "NAGL4", MemValue::Char(Padded(company.other_line, 30)));
    } else {
        Set(&entries, "NAGL3", MemValue::Char(Padded(company.other_line, 30)));
        Remove(&entries, "NAGL4");
    }
    for (const common::CatalogueEntry& e : common::ConfigCatalogue()) {
        if (e.startup.kind == Kind::kNone || e.startup.kind == Kind::kComputed) continue;
        if (memfile::FindEntry(entries, e.name) != nullptr) continue;
        entries.push_back({std::string(e.name), FromCatalogue(e)});
    }
    return entries;
}

PathKind KindOf(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return PathKind::kNothing;
    return S_ISDIR(st.st_mode) ? PathKind::kDirectory : PathKind::kFile;
}

std::string RemoveLeftover(const std::string& path) {
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(path, ec)) {
        std::error_code kind;
        if (entry.is_directory(kind) && !entry.is_symlink(kind))
            return "Przerwanie - istniejąpodkatalogi";
        files.push_back(entry.path());
    }
    if (ec) return "Błąd kasowania " + Dos(path);
    for (const auto& file : files) {
        if (!std::filesystem::remove(file, ec) || ec)
            return "Błąd kasowania " + Dos(path) + "\\" + file.filename().string();
    }
    if (!std::filesystem::remove(path, ec) || ec) return "Błąd kasowania " + Dos(path);
    return "";
}

CreateOutcome CreateCompany(const std::string& root, const NewCompany& company,
                            const std::string& template_mem, const CreateOptions& options) {
    CreateOutcome out;
    const std::string working = root + "/" + WorkingName(company.name);
    const std::string final_dir = root + "/" + company.name;
    std::error_code ec;
    if (!std::filesystem::create_directory(working, ec) || ec) {
        out.error = "Błąd tworzenia katalogu " + WorkingName(company.name);
        return out;
    }
    const common::LetterSet letters =
        options.letters != nullptr ? *options.letters : common::MakeLetterSet(common::kPolishCp852);
    // The shipped data lie beside the companies, not under the working name.
    base::Status s = common::CreateMissingTables(
        working, letters, common::ShippedContent(common::ShippedDataDir(root + "/")), nullptr,
        options.clock);
    if (!s.ok()) {
        out.error = "Błąd tworzenia zbioru " + s.message();
        return out;
    }
    std::vector<MemEntry> from_template;
    s = memfile::ReadMemFile(template_mem, &from_template);
    if (!s.ok() && !s.IsNotFound()) {
        out.error = "Błąd odczytu " + template_mem;
        return out;
    }
    s = memfile::WriteMemFile(working + "/QRM.MEM",
                              NewCompanyConfiguration(std::move(from_template), company));
    if (!s.ok()) {
        out.error = "Błąd zapisu QRM.MEM";
        return out;
    }
    bool renamed = false;
    for (int attempt = 0; attempt < 10 && !renamed; ++attempt) {
        if (attempt > 0 && options.retry_wait) options.retry_wait();
        // Never over an existing directory: rename() would replace an empty one.
        if (KindOf(final_dir) != PathKind::kNothing) break;
        renamed = std::rename(working.c_str(), final_dir.c_str()) == 0;
    }
    if (!renamed) {
        out.error = "Błąd tworzenia katalogu " + company.name;
        return out;
    }
    s = common::CopyOperatorList(root, options.operators_from, company.name);
    out.operator_list_failed = !s.ok();
    return out;
}

}  // namespace kestrel::utilities
