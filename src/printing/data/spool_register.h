// PKLWYD, the directory of spool files of the company (NAGL0).
//
// One record per spool file: NAZWA_ZB the file name (no directory), DATA_
// "YYYY-MM-DD", CZAS_ "hh:mm", WIELKOSC_ the size in bytes (9 positions,
// right-aligned), IL_STRON the page count (4 positions), TYP_DRUK the
// printer type the file was written for and TYTUL_ the print-out's title.
#pragma once

#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "platform/base/clock.h"

namespace kestrel::printing {

struct SpoolEntry {
    std::string file;   // NAZWA_ZB, trimmed
    std::string date;   // DATA_
    std::string time;   // CZAS_
    long size = 0;      // WIELKOSC_
    int pages = 0;      // IL_STRON
    char type = ' ';    // TYP_DRUK
    std::string title;  // TYTUL_ (CP852), trimmed
};

/// The entry of spool file `path` written now: its name, the time, its size
/// and pages as they are on disk.
SpoolEntry DescribeSpoolFile(const std::string& path, const base::LocalTime& now, char type,
                             const std::string& title);

/// Registers `entry` in PKLWYD: the record of the same file name is
/// reused (also a deleted one, which is recalled; further duplicates are
/// deleted), else one is appended. Under a record lock.
void RegisterSpoolFile(common::Tables& tables, const SpoolEntry& entry);

/// The visible entries of PKLWYD, oldest first (by date, time and name).
std::vector<SpoolEntry> ReadSpoolEntries(common::Tables& tables);

/// Marks the records of file name `file` deleted.
void ForgetSpoolFile(common::Tables& tables, const std::string& file);

}  // namespace kestrel::printing
