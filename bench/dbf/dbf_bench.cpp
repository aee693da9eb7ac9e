// dbf_bench: the table engine against SQLite on the payroll positions table
// (PKPLACE, 12 fields) with its six indexes, on the same rows:
//   1. append N records with all six indexes kept up to date
//      (SQLite: INSERTs in one transaction into the table with six indexes);
//   2. build one index over the N records from scratch (SQLite: CREATE INDEX);
//   3. N random exact seeks on a built index, reading each record;
//   4. a full scan in index order, reading each record.
// Prints the times and each ratio (ours / SQLite).
//
// Usage: dbf_bench [records] [directory]   (1,000,000 records in /tmp by default)
// Neither side syncs to disk: SQLite runs with synchronous=OFF and a page
// cache large enough for the data, as the engine keeps its pages in memory.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/dbf/index.h"
#include "platform/dbf/table.h"
#include "platform/dbf/work_area.h"

namespace {

using namespace kestrel::dbf;

struct Row {
    char nr_prac[7];
    int nr_lst;
    char typ_lst[3], mc_lst[3], rok_lst[5], data_wyp[9], skladn_pl[5];
    double kwota;
    bool potrac, nie_alg, poza_lista, akt_doch;
};

std::vector<Row> MakeRows(size_t n) {
    std::mt19937 rng(20261208);
    std::vector<Row> rows(n);
    for (Row& r : rows) {
        int year = 2015 + static_cast<int>(rng() % 12), month = 1 + static_cast<int>(rng() % 12);
        std::snprintf(r.nr_prac, sizeof r.nr_prac, "%06u", static_cast<unsigned>(1 + rng() % 5000));
        r.nr_lst = 1 + static_cast<int>(rng() % 60);
        std::snprintf(r.typ_lst, sizeof r.typ_lst, "%c%c", 'A' + static_cast<int>(rng() % 5), 'P');
        std::snprintf(r.mc_lst, sizeof r.mc_lst, "%02d", month);
        std::snprintf(r.rok_lst, sizeof r.rok_lst, "%04d", year);
        std::snprintf(r.data_wyp, sizeof r.data_wyp, "%04d%02d%02d", year, month,
                      1 + static_cast<int>(rng() % 28));
        std::snprintf(r.skladn_pl, sizeof r.skladn_pl, "S%03u", static_cast<unsigned>(rng() % 300));
        r.kwota = static_cast<double>(rng() % 100000000) / 100.0;
        r.potrac = rng() % 2;
        r.nie_alg = rng() % 2;
        r.poza_lista = rng() % 2;
        r.akt_doch = rng() % 2;
    }
    return rows;
}

const std::vector<FieldSpec> kPkplace = {
    {"NR_PRAC", FieldType::kCharacter, 6, 0},   {"NR_LST", FieldType::kNumeric, 4, 0},
    {"TYP_LST", FieldType::kCharacter, 2, 0},   {"MC_LST", FieldType::kCharacter, 2, 0},
    {"ROK_LST", FieldType::kCharacter, 4, 0},   {"DATA_WYP", FieldType::kDate, 8, 0},
    {"SKLADN_PL", FieldType::kCharacter, 4, 0}, {"KWOTA_", FieldType::kNumeric, 15, 2},
    {"POTRAC_", FieldType::kLogical, 1, 0},     {"NIE_ALG", FieldType::kLogical, 1, 0},
    {"POZA_LISTA", FieldType::kLogical, 1, 0},  {"AKT_DOCH", FieldType::kLogical, 1, 0}};
enum { NR_PRAC, NR_LST, TYP_LST, MC_LST, ROK_LST, DATA_WYP, SKLADN_PL, KWOTA };

// The six keys as the compiled expressions produce them: str(nr_lst,4) of an
// N4 field is its stored text, year() of a date its first four characters.
struct KeyDef {
    const char* expression;
    KeyFunction fn;
};

std::vector<KeyDef> Keys() {
    auto year = [](const Record& r, std::string* k) {
        std::string_view d = r.Raw(DATA_WYP);
        k->append(d[0] == ' ' ? std::string_view("   0") : d.substr(0, 4));
    };
    return {
        {"rok_lst+typ_lst+str(nr_lst,4)+nr_prac+skladn_pl",
         [](const Record& r, std::string* k) {
             k->append(r.Raw(ROK_LST)).append(r.Raw(TYP_LST)).append(r.Raw(NR_LST));
             k->append(r.Raw(NR_PRAC)).append(r.Raw(SKLADN_PL));
         }},
        {"rok_lst+mc_lst+nr_prac+skladn_pl",
         [](const Record& r, std::string* k) {
             k->append(r.Raw(ROK_LST)).append(r.Raw(MC_LST)).append(r.Raw(NR_PRAC));
             k->append(r.Raw(SKLADN_PL));
         }},
        {"rok_lst+nr_prac+skladn_pl+mc_lst",
         [](const Record& r, std::string* k) {
             k->append(r.Raw(ROK_LST)).append(r.Raw(NR_PRAC)).append(r.Raw(SKLADN_PL));
             k->append(r.Raw(MC_LST));
         }},
        {"subs(dtos(data_wyp),1,6)+skladn_pl+nr_prac",
         [](const Record& r, std::string* k) {
             k->append(r.Raw(DATA_WYP).substr(0, 6)).append(r.Raw(SKLADN_PL));
             k->append(r.Raw(NR_PRAC));
         }},
        {"subs(dtos(data_wyp),1,6)+nr_prac+skladn_pl",
         [](const Record& r, std::string* k) {
             k->append(r.Raw(DATA_WYP).substr(0, 6)).append(r.Raw(NR_PRAC));
             k->append(r.Raw(SKLADN_PL));
         }},
        {"str(year(data_wyp),4)+nr_prac+skladn_pl",
         [year](const Record& r, std::string* k) {
             year(r, k);
             k->append(r.Raw(NR_PRAC)).append(r.Raw(SKLADN_PL));
         }},
    };
}

const char* kSqlIndexes[] = {
    "rok_lst, typ_lst, nr_lst, nr_prac, skladn_pl", "rok_lst, mc_lst, nr_prac, skladn_pl",
    "rok_lst, nr_prac, skladn_pl, mc_lst",          "substr(data_wyp,1,6), skladn_pl, nr_prac",
    "substr(data_wyp,1,6), nr_prac, skladn_pl",     "substr(data_wyp,1,4), nr_prac, skladn_pl",
};

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

void Die(const std::string& what) {
    std::fprintf(stderr, "dbf_bench: %s\n", what.c_str());
    std::exit(1);
}
void Check(const Status& s) {
    if (!s.ok()) Die(s.ToString());
}
void Check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) Die(sqlite3_errmsg(db));
}

struct Times {
    double append = 0, build = 0, seek = 0, scan = 0;
};

Status OpenArea(Workspace* ws, const std::string& dir, WorkArea** a) {
    Status s = ws->Use(dir + "/PKPLACE.DBF", "", {.exclusive = true}, a);
    std::vector<KeyDef> keys = Keys();
    for (int i = 0; s.ok() && i < 6; ++i) {
        std::unique_ptr<Index> idx;
        s = Index::Open(dir + "/PKPLACE" + std::to_string(i + 1) + ".NTX", true, false, &idx);
        if (!s.ok()) break;
        idx->Bind(keys[i].fn, nullptr);
        s = (*a)->AddIndex(std::move(idx));
    }
    return s;
}

Times RunOurs(const std::string& dir, const std::vector<Row>& rows,
              const std::vector<size_t>& probes) {
    Times t;
    const std::string dbf = dir + "/PKPLACE.DBF";
    Check(Table::Create(dbf, kPkplace));
    std::vector<KeyDef> keys = Keys();
    {
        std::unique_ptr<Table> table;
        Check(Table::Open(dbf, {.exclusive = true}, &table));
        for (int i = 0; i < 6; ++i) {
            IndexDefinition def{keys[i].expression, "", keys[i].fn, nullptr, 0};
            Check(
                Index::Create(dir + "/PKPLACE" + std::to_string(i + 1) + ".NTX", table.get(), def));
        }
    }
    {
        auto start = Clock::now();
        Workspace ws;
        WorkArea* a = nullptr;
        Check(OpenArea(&ws, dir, &a));
        Record rec = a->table().NewRecord();
        for (const Row& r : rows) {
            rec.SetRaw(NR_PRAC, r.nr_prac);
            Check(rec.SetNumber(NR_LST, r.nr_lst));
            rec.SetRaw(TYP_LST, r.typ_lst);
            rec.SetRaw(MC_LST, r.mc_lst);
            rec.SetRaw(ROK_LST, r.rok_lst);
            rec.SetRaw(DATA_WYP, r.data_wyp);
            rec.SetRaw(SKLADN_PL, r.skladn_pl);
            Check(rec.SetNumber(KWOTA, r.kwota));
            rec.SetLogical(8, r.potrac);
            rec.SetLogical(9, r.nie_alg);
            rec.SetLogical(10, r.poza_lista);
            rec.SetLogical(11, r.akt_doch);
            Check(a->Append(rec));
        }
        Check(ws.CloseAll());
        t.append = Since(start);
    }
    {
        std::unique_ptr<Table> table;
        Check(Table::Open(dbf, {.exclusive = true}, &table));
        IndexDefinition def{keys[0].expression, "", keys[0].fn, nullptr, 0};
        auto start = Clock::now();
        Check(Index::Create(dir + "/PKPLACE1.NTX", table.get(), def));
        t.build = Since(start);
    }
    Workspace ws;
    WorkArea* a = nullptr;
    Check(OpenArea(&ws, dir, &a));
    std::vector<std::string> wanted;
    wanted.reserve(probes.size());
    for (size_t p : probes) {
        const Row& r = rows[p];
        char nr[8];
        std::snprintf(nr, sizeof nr, "%4d", r.nr_lst);
        wanted.push_back(std::string(r.rok_lst) + r.typ_lst + nr + r.nr_prac + r.skladn_pl);
    }
    {
        auto start = Clock::now();
        size_t found = 0;
        for (const std::string& k : wanted) {
            Check(a->Seek(k));
            found += a->found();
        }
        t.seek = Since(start);
        if (found != wanted.size()) Die("a seek missed");
    }
    {
        auto start = Clock::now();
        double sum = 0;
        size_t n = 0;
        Check(a->GoTop());
        while (!a->eof()) {
            sum += a->record().GetNumber(KWOTA);
            ++n;
            Check(a->Skip());
        }
        t.scan = Since(start);
        if (n != rows.size()) Die("the scan missed records");
        std::printf("  (scan sum %.2f)\n", sum);
    }
    return t;
}

Times RunSqlite(const std::string& dir, const std::vector<Row>& rows,
                const std::vector<size_t>& probes) {
    Times t;
    std::string path = dir + "/pkplace.sqlite";
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) Die("cannot open SQLite");
    Check(sqlite3_exec(db, "PRAGMA synchronous=OFF; PRAGMA cache_size=-1048576;", nullptr, nullptr,
                       nullptr),
          db);
    Check(sqlite3_exec(db,
                       "CREATE TABLE pkplace(nr_prac TEXT, nr_lst INTEGER, typ_lst TEXT, "
                       "mc_lst TEXT, rok_lst TEXT, data_wyp TEXT, skladn_pl TEXT, kwota REAL, "
                       "potrac INTEGER, nie_alg INTEGER, poza_lista INTEGER, akt_doch INTEGER)",
                       nullptr, nullptr, nullptr),
          db);
    for (int i = 0; i < 6; ++i) {
        std::string sql =
            "CREATE INDEX pkplace" + std::to_string(i + 1) + " ON pkplace(" + kSqlIndexes[i] + ")";
        Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db);
    }
    {
        auto start = Clock::now();
        sqlite3_stmt* st = nullptr;
        Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
        Check(sqlite3_prepare_v2(db, "INSERT INTO pkplace VALUES(?,?,?,?,?,?,?,?,?,?,?,?)", -1, &st,
                                 nullptr),
              db);
        for (const Row& r : rows) {
            sqlite3_bind_text(st, 1, r.nr_prac, 6, SQLITE_STATIC);
            sqlite3_bind_int(st, 2, r.nr_lst);
            sqlite3_bind_text(st, 3, r.typ_lst, 2, SQLITE_STATIC);
            sqlite3_bind_text(st, 4, r.mc_lst, 2, SQLITE_STATIC);
            sqlite3_bind_text(st, 5, r.rok_lst, 4, SQLITE_STATIC);
            sqlite3_bind_text(st, 6, r.data_wyp, 8, SQLITE_STATIC);
            sqlite3_bind_text(st, 7, r.skladn_pl, 4, SQLITE_STATIC);
            sqlite3_bind_double(st, 8, r.kwota);
            sqlite3_bind_int(st, 9, r.potrac);
            sqlite3_bind_int(st, 10, r.nie_alg);
            sqlite3_bind_int(st, 11, r.poza_lista);
            sqlite3_bind_int(st, 12, r.akt_doch);
            Check(sqlite3_step(st), db);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
        t.append = Since(start);
    }
    {
        Check(sqlite3_exec(db, "DROP INDEX pkplace1", nullptr, nullptr, nullptr), db);
        auto start = Clock::now();
        std::string sql = std::string("CREATE INDEX pkplace1 ON pkplace(") + kSqlIndexes[0] + ")";
        Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db);
        t.build = Since(start);
    }
    {
        sqlite3_stmt* st = nullptr;
        Check(sqlite3_prepare_v2(db,
                                 "SELECT * FROM pkplace INDEXED BY pkplace1 WHERE rok_lst=? AND "
                                 "typ_lst=? AND nr_lst=? AND nr_prac=? AND skladn_pl=? LIMIT 1",
                                 -1, &st, nullptr),
              db);
        auto start = Clock::now();
        size_t found = 0;
        for (size_t p : probes) {
            const Row& r = rows[p];
            sqlite3_bind_text(st, 1, r.rok_lst, 4, SQLITE_STATIC);
            sqlite3_bind_text(st, 2, r.typ_lst, 2, SQLITE_STATIC);
            sqlite3_bind_int(st, 3, r.nr_lst);
            sqlite3_bind_text(st, 4, r.nr_prac, 6, SQLITE_STATIC);
            sqlite3_bind_text(st, 5, r.skladn_pl, 4, SQLITE_STATIC);
            if (sqlite3_step(st) == SQLITE_ROW) ++found;
            sqlite3_reset(st);
        }
        t.seek = Since(start);
        sqlite3_finalize(st);
        if (found != probes.size()) Die("a SQLite seek missed");
    }
    {
        sqlite3_stmt* st = nullptr;
        Check(sqlite3_prepare_v2(db,
                                 "SELECT * FROM pkplace INDEXED BY pkplace1 ORDER BY rok_lst, "
                                 "typ_lst, nr_lst, nr_prac, skladn_pl",
                                 -1, &st, nullptr),
              db);
        auto start = Clock::now();
        double sum = 0;
        size_t n = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            sum += sqlite3_column_double(st, 7);
            ++n;
        }
        t.scan = Since(start);
        sqlite3_finalize(st);
        if (n != rows.size()) Die("the SQLite scan missed rows");
        std::printf("  (scan sum %.2f)\n", sum);
    }
    sqlite3_close(db);
    std::filesystem::remove(path);
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    size_t n = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
    std::string base = argc > 2 ? argv[2] : std::filesystem::temp_directory_path().string();
    std::string dir = base + "/dbf_bench." + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    std::vector<Row> rows = MakeRows(n);
    std::vector<size_t> probes(n);
    std::mt19937 rng(7);
    for (size_t& p : probes) p = rng() % n;

    std::printf("PKPLACE, %zu records, six indexes\n", n);
    std::printf("engine:\n");
    Times ours = RunOurs(dir, rows, probes);
    std::printf("SQLite %s:\n", sqlite3_libversion());
    Times lite = RunSqlite(dir, rows, probes);
    std::filesystem::remove_all(dir);

    struct Line {
        const char* what;
        double a, b, target;
    } lines[] = {{"append with six indexes", ours.append, lite.append, 1.5},
                 {"build one index", ours.build, lite.build, 0.5},
                 {"random exact seeks", ours.seek, lite.seek, 1.0},
                 {"full scan in index order", ours.scan, lite.scan, 1.0}};
    std::printf("\n%-26s %10s %10s %8s %8s\n", "", "engine s", "SQLite s", "ratio", "target");
    for (const Line& l : lines) {
        std::printf("%-26s %10.3f %10.3f %8.2f %8.2f%s\n", l.what, l.a, l.b, l.a / l.b, l.target,
                    l.a / l.b <= l.target ? "" : "  (missed)");
    }
    return 0;
}
