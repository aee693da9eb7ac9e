// The annual archives of a company: the directories ARCH<yyyy> inside the
// company directory, holding the tables of a closed year moved out of the
// working ones (same names, layouts and index files), and the opening of
// those tables through the table layer, read-only.
//
// Reading an archived year with the routines written for the working
// tables: an ArchivedYear opens the archive's year tables under their own
// names with every index file of the catalogue, so that every routine that
// opens them through worktime::OpenOnce finds the archived ones, until the
// ArchivedYear goes away:
//
//   common::Tables tables(rt);
//   ArchivedYear archived(tables, "ARCH2024");   // abandons on a missing table
//   PrintPayrollList(rt, tables, request, out, nullptr);   // reads 2024
//
// The tables that never move into an archive (the register PKPRAC, the
// components PKSPL, the list symbols, the matrices, PKSTER) stay the
// company's own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::payroll {

/// The annual archive directories of the company directory `data_dir`
/// (ends with "/") that hold a PKPLACE table: the names of ArchiveYear, as
/// found on disk, sorted.
std::vector<std::string> ArchiveDirectories(const std::string& data_dir);

/// The year of an archive directory's name ("ARCH" and a four-digit year
/// above 1990, any case: "ARCH2024"); 0 when `name` is not one.
int ArchiveYear(std::string_view name);

/// How many archive directories the printouts search at most.
inline constexpr size_t kMaxSearchedArchives = 25;

/// The archive directories a printout searches (ArchiveDirectories of the
/// company): "" with `dirs` filled, or "Ponad 25 katalogów archiwalnych"
/// (CP852) with `dirs` empty when there are more than 25.
std::string SearchedArchives(common::Runtime& rt, std::vector<std::string>* dirs);

/// The directory of `archive` (a name of ArchiveDirectories) inside the
/// company directory, ending with "/".
std::string ArchivePath(common::Runtime& rt, std::string_view archive);

/// Opens `table` of archive directory `archive` read-only under `alias`
/// ("" for the table's name) with the index files `indexes` (a missing
/// one is built in the archive). A table the archive lacks abandons with
/// "Brak pliku ARCH2024/PKPLACE.DBF": it is never created there, since an
/// empty archived table would print as a year without data.
dbf::WorkArea& OpenArchived(common::Tables& tables, std::string_view archive,
                            std::string_view alias, std::string_view table,
                            const std::vector<std::string>& indexes);

/// Whether archive directory `archive` holds `table`.
bool ArchiveHas(common::Runtime& rt, std::string_view archive, std::string_view table);

/// The year tables of one archive opened in `tables` under their own names
/// (PKLISTY and PKPLACE, which the archive must hold; PKBRYG, PKCZAS and
/// PKNIEOB when it holds them), each with all its index files, read-only.
/// They replace work areas of the same names; the destructor closes them,
/// so that the working tables are opened again when next needed. Work
/// areas of those names taken before must not be used after either.
class ArchivedYear {
  public:
    ArchivedYear(common::Tables& tables, std::string_view archive);
    ~ArchivedYear();
    ArchivedYear(const ArchivedYear&) = delete;
    ArchivedYear& operator=(const ArchivedYear&) = delete;

    const std::string& archive() const { return archive_; }
    int year() const { return ArchiveYear(archive_); }

  private:
    void Close();

    common::Tables& tables_;
    std::string archive_;
    std::vector<std::string> opened_;
};

}  // namespace kestrel::payroll
