#include "payroll/data/archive_tables.h"

#include <algorithm>
#include <filesystem>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "platform/base/files.h"
#include "platform/base/text.h"

namespace kestrel::payroll {
namespace {

// The tables of a year the printouts read from an archive; the first two
// an archive of payroll data always holds.
constexpr const char* kRequired[] = {"PKLISTY", "PKPLACE"};
constexpr const char* kOptional[] = {"PKBRYG", "PKCZAS", "PKNIEOB"};

// Switches the table layer to read-only opening for the life of the object.
class ReadOnlyOpening {
  public:
    explicit ReadOnlyOpening(common::Tables& tables) : tables_(tables) {
        tables_.set_read_only(true);
    }
    ~ReadOnlyOpening() { tables_.set_read_only(false); }
    ReadOnlyOpening(const ReadOnlyOpening&) = delete;
    ReadOnlyOpening& operator=(const ReadOnlyOpening&) = delete;

  private:
    common::Tables& tables_;
};

}  // namespace

int ArchiveYear(std::string_view name) {
    if (name.size() != 8 || base::AsciiUpper(name.substr(0, 4)) != "ARCH") return 0;
    int year = 0;
    for (char c : name.substr(4)) {
        if (c < '0' || c > '9') return 0;
        year = year * 10 + (c - '0');
    }
    return year > 1990 ? year : 0;
}

std::vector<std::string> ArchiveDirectories(const std::string& data_dir) {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(data_dir, ec)) {
        if (!e.is_directory(ec)) continue;
        const std::string name = e.path().filename().string();
        if (ArchiveYear(name) == 0) continue;
        if (!base::Exists(base::FindNoCase(data_dir + name + "/", "PKPLACE.DBF"))) continue;
        out.push_back(name);
    }
    std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
        return base::AsciiUpper(a) < base::AsciiUpper(b);
    });
    return out;
}

std::string SearchedArchives(common::Runtime& rt, std::vector<std::string>* dirs) {
    *dirs = ArchiveDirectories(rt.data_dir());
    if (dirs->size() <= kMaxSearchedArchives) return {};
    dirs->clear();
    return rt.Text("Ponad 25 katalogów archiwalnych");
}

std::string ArchivePath(common::Runtime& rt, std::string_view archive) {
    return rt.data_dir() + std::string(archive) + "/";
}

bool ArchiveHas(common::Runtime& rt, std::string_view archive, std::string_view table) {
    return base::Exists(base::FindNoCase(ArchivePath(rt, archive), std::string(table) + ".DBF"));
}

dbf::WorkArea& OpenArchived(common::Tables& tables, std::string_view archive,
                            std::string_view alias, std::string_view table,
                            const std::vector<std::string>& indexes) {
    common::Runtime& rt = tables.rt();
    const std::string name = base::AsciiUpper(table);
    if (!ArchiveHas(rt, archive, name))
        throw common::Abandon(rt.Text("Brak pliku ") + std::string(archive) + "/" + name + ".DBF");
    const ReadOnlyOpening read_only(tables);
    return tables.OpenIn(ArchivePath(rt, archive), alias.empty() ? name : alias, name, indexes);
}

ArchivedYear::ArchivedYear(common::Tables& tables, std::string_view archive)
    : tables_(tables), archive_(archive) {
    common::Runtime& rt = tables.rt();
    std::vector<std::string> wanted(std::begin(kRequired), std::end(kRequired));
    for (const char* t : kOptional)
        if (ArchiveHas(rt, archive_, t)) wanted.push_back(t);
    // Every table is checked before any is opened: a missing one leaves
    // the working tables as they were.
    for (const std::string& t : wanted)
        if (!ArchiveHas(rt, archive_, t))
            throw common::Abandon(rt.Text("Brak pliku ") + archive_ + "/" + t + ".DBF");
    try {
        for (const std::string& t : wanted) {
            OpenArchived(tables_, archive_, t, t, common::IndexFiles(t));
            opened_.push_back(t);
        }
    } catch (...) {
        Close();
        throw;
    }
}

ArchivedYear::~ArchivedYear() {
    Close();
}

void ArchivedYear::Close() {
    for (const std::string& t : opened_)
        if (dbf::WorkArea* a = tables_.workspace().Find(t))
            (void)tables_.workspace().Close(a->number());
    opened_.clear();
}

}  // namespace kestrel::payroll
