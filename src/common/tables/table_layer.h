// The table layer: opening company tables with their index files, creating
// what is missing, and locking and appending with retries.
//
// A function that works on tables makes one Tables object, opens what it
// needs and lets the object close everything when it goes away:
//
//   Tables tables(rt);
//   dbf::WorkArea& prac = tables.Open("PKPRAC", {"PKPRAC1", "PKPRAC2"});
//   tables.RLock(prac);                       // QRMRLOC
//   prac.record().SetString(f, value);
//   prac.Commit(); prac.Unlock();
//
// Every failure the operator cannot retry throws common::Abandon with the
// message for the message line ("" when the message was already shown); the
// menu's recoverable block reports it. Waits are polled in 0.5 s steps and
// the operator can always give up with Esc or "n".
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/company_tables.h"
#include "platform/dbf/work_area.h"

namespace kestrel::common {

/// How long and how quietly the layer retries (tests shorten the pause).
struct RetryPolicy {
    int silent_opens = 5;    // silent open retries on a network drive
    int silent_locks = 5;    // silent lock retries before the question
    int silent_appends = 3;  // append failures before the question
    int pause_ms = 500;
    /// Whether a path lies on a network drive; nullptr: ask the file system.
    std::function<bool(const std::string& path)> is_network;
};

class Tables {
  public:
    explicit Tables(Runtime& rt, RetryPolicy policy = {});
    ~Tables();
    Tables(const Tables&) = delete;
    Tables& operator=(const Tables&) = delete;

    dbf::Workspace& workspace() { return workspace_; }
    Runtime& rt() { return rt_; }

    /// QRMXX: opens company table `table` (NAGL0) under its own name with the
    /// index files `indexes` (names without directory and extension; the
    /// first becomes the controlling index). A missing table that a company
    /// may lack is created after the question; a missing, damaged or stale
    /// index file is rebuilt from the catalogue. After the structure of a
    /// company table was upgraded the runtime's AfterUpgrade step runs.
    dbf::WorkArea& Open(std::string_view table, const std::vector<std::string>& indexes = {});
    /// QRMXXA: the same under another alias.
    dbf::WorkArea& OpenAs(std::string_view alias, std::string_view table,
                          const std::vector<std::string>& indexes = {});
    /// QRMZZ/QRMZZA/QRMYY: a table of another directory (archive year,
    /// sub-directory, piecework directory); `dir` ends with "/".
    dbf::WorkArea& OpenIn(const std::string& dir, std::string_view alias, std::string_view table,
                          const std::vector<std::string>& indexes = {});

    /// QRMXQ: a table of the program directory (NAGLX). A missing PKDRUK is
    /// made with one default printer definition (from NAGLTDR, NAGLNDR,
    /// NAGLSYMPL, NAGLPRTPL and NAGLINITPR); any other missing table
    /// abandons with "Brak " and its path.
    dbf::WorkArea& OpenProgram(std::string_view table,
                               const std::vector<std::string>& indexes = {});

    /// The default open mode: shared, or exclusive for packs and upgrades.
    void set_exclusive(bool on) { exclusive_ = on; }
    bool exclusive() const { return exclusive_; }
    /// Tables opened from now on are opened read-only (the annual archives,
    /// which the printouts only read), whatever the runtime's mode; their
    /// layouts are not upgraded and their stale indexes not rebuilt.
    void set_read_only(bool on) { read_only_ = on; }
    bool read_only() const { return read_only_ || rt_.read_only(); }
    /// The retry request (QRMURETRY): retry opens without asking.
    void set_retry_request(bool on) { retry_request_ = on; }
    /// Fills tables created by the opener (by default from the shipped
    /// data files, see common/tables/shipped_content.h).
    void set_initial_content(TableFiller fill) { initial_content_ = std::move(fill); }

    /// QRMRLOC: locks the current record of `area`, retrying.
    void RLock(dbf::WorkArea& area);
    /// QRMFLOC: locks the whole table of `area`, retrying.
    void FLock(dbf::WorkArea& area);
    /// QRMAPPE: appends a blank record (locked, current), retrying.
    void Append(dbf::WorkArea& area);

    /// A record under construction: stands `area` on a locked record marked
    /// deleted, either a deleted one whose key in the controlling index
    /// begins with `key` (emptied) or a new one. The caller fills it and
    /// commits; Confirm recalls it.
    void Reserve(dbf::WorkArea& area, std::string_view key);
    /// The same with the record holding `contents` (of the area's layout;
    /// still marked deleted) and its keys in every index at once: a caller
    /// that knows the whole record writes it once instead of moving the
    /// keys of a blank one.
    void Reserve(dbf::WorkArea& area, std::string_view key, const dbf::Record& contents);
    /// Recalls the reserved record and commits it.
    void Confirm(dbf::WorkArea& area);

    /// Builds one index file of `table` from its catalogue key and condition
    /// (QRMATI/QRMINDEX), replacing it safely, over the records of `data`
    /// (which nobody else should have open). Abandons when the catalogue
    /// lacks the pair.
    void BuildIndex(dbf::Table& data, const std::string& dir, std::string_view table,
                    const std::string& index);
    /// Rebuilds the index files `indexes` of `table` in turn over `data`
    /// (held exclusively), with the counters of the re-indexing functions at
    /// row 0: "      0(1)/" + records + "(" + files + ")" before the first,
    /// "      0(" + its number before each further one, and while NAGLIIN is
    /// set the record number over the first seven columns as it goes.
    void RebuildIndexes(dbf::Table& data, const std::string& dir, std::string_view table,
                        const std::vector<std::string>& indexes);

    /// QRMPACK: removes deleted records and records with numbers outside
    /// their fields' range from company table `table`, replacing its files
    /// safely, and rebuilds the given index files; the table's PKETYK mark
    /// BLAD_IND is set while the indexes are rebuilt. The table is closed
    /// afterwards.
    void Pack(std::string_view table, const std::vector<std::string>& indexes);
    /// The same for a table of directory `dir` (QRMPACKA: the piecework
    /// directory, without the range filter), with the mark in that
    /// directory's PKETYK.
    void PackIn(const std::string& dir, std::string_view table,
                const std::vector<std::string>& indexes, bool range_filter);
    /// Sets or clears the mark BLAD_IND of `table` in `dir`'s PKETYK (the
    /// record is appended when missing), committed at once.
    void MarkIndexing(const std::string& dir, std::string_view table, bool on);

    void CloseAll();

  private:
    dbf::WorkArea& OpenTable(const std::string& dir, std::string alias, const std::string& table,
                             const std::vector<std::string>& indexes);
    void CreateMissing(const std::string& dir, const std::string& table);
    void CreatePrinterTable(const std::string& dir);
    /// QRMINDEX: writes one index file from the catalogue, showing the record
    /// number at row 0 column 0 while NAGLIIN is set.
    void WriteIndex(dbf::Table& data, const std::string& dir, std::string_view table,
                    const std::string& index);
    /// PKNTBW made from the print matrices: one record per TBW_ of PKTBW.
    void NamesFromMatrices(const std::string& dir);
    /// Upgrades an old layout (or converts two-digit years), then, for a
    /// table of the company directory, runs Runtime::AfterUpgrade; true when the
    /// table was rebuilt and must be opened again.
    bool UpgradeIfOld(dbf::WorkArea& area, const std::string& dir, const std::string& table);
    /// The index files that are missing, damaged or written with another
    /// key or condition than the catalogue's.
    std::vector<std::string> IndexesToBuild(dbf::WorkArea& area, const std::string& dir,
                                            const std::string& table,
                                            const std::vector<std::string>& indexes);
    void OpenIndexes(dbf::WorkArea& area, const std::string& dir, const std::string& table,
                     const std::vector<std::string>& indexes);
    using Attempt = std::function<base::Status()>;
    void OpenWithRetry(const std::string& path, const std::string& shown, const Attempt& attempt);
    void LockWithRetry(int silent, const std::string& message, const std::string& question,
                       const Attempt& attempt);
    bool IsNetwork(const std::string& path) const;
    void Pause();
    bool EscPressed();
    [[noreturn]] void Cancel();

    Runtime& rt_;
    RetryPolicy policy_;
    dbf::Workspace workspace_;
    bool exclusive_ = false;
    bool read_only_ = false;
    bool retry_request_ = false;
    bool read_only_override_ = false;
    TableFiller initial_content_;
};

/// True when every numeric field of `rec` lies within the range its width
/// and decimals allow (a damaged record fails: a value above the maximum,
/// below the minimum, or non-zero and smaller than the last decimal).
bool NumbersInRange(const dbf::Record& rec);

/// A message shortened to the message line: a text longer than 38
/// characters becomes its first 7, "..." and its last 28.
std::string ShortenMessage(std::string_view cp852);

/// The printer letter set code of a printer definition (ZM_STD_PL): "0"
/// when the printer gets the screen's set, else "1" CP852, "2" Mazovia,
/// "3" Windows-1250, "4" ISO 8859-2 (another set: "0").
std::string PrinterLetterCode(std::string_view printer, std::string_view screen);

/// QRMOS: "Operacja skasowana" at row 23 column 1, blinking, a tone and the
/// wait for a key.
void ShowCancelled(Runtime& rt);

}  // namespace kestrel::common
