#include "payroll/printouts/data/matrix_store.h"

#include <cstdio>

#include "common/session/abandon.h"
#include "payroll/data/payroll_records.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

constexpr const char* kCellFields[] = {"TBW_",  "WIERSZ_",    "NR_KOL",   "SZER_KOL",
                                       "OPIS_", "ZAWARTOSC_", "TYP_POLA", "MASKA_",
                                       "SUMA_", "WZOR_SUMY",  "P_X"};

std::string Padded(std::string_view symbol) {
    std::string key(symbol.substr(0, 4));
    key.resize(4, ' ');
    return key;
}

// The cell's key in PKTBW1: tbw_+str(wiersz_,2)+str(nr_kol,2).
std::string CellKey(const std::string& symbol, const MatrixCell& cell) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%2d%2d", cell.row % 100, cell.column % 100);
    return symbol + buf;
}

// Collects the failures of setting a record's fields: the first one wins.
class Filler {
  public:
    Filler(dbf::Record& r, const dbf::Table& t) : r_(r), t_(t) {}
    void Text(const char* field, std::string_view v) {
        Check(r_.SetString(t_.FieldIndex(field), v));
    }
    void Number(const char* field, double v) { Check(r_.SetNumber(t_.FieldIndex(field), v)); }
    void Flag(const char* field, bool v) { Check(r_.SetLogical(t_.FieldIndex(field), v)); }
    bool ok() const { return ok_; }

  private:
    void Check(const base::Status& s) { ok_ = ok_ && s.ok(); }
    dbf::Record& r_;
    const dbf::Table& t_;
    bool ok_ = true;
};

dbf::Record HeaderRecord(dbf::WorkArea& h, const std::string& key, const MatrixDefinition& m,
                         bool* ok) {
    dbf::Record r = h.table().NewRecord();
    Filler f(r, h.table());
    f.Text("TBW_", key);
    f.Text("TYP_", std::string(1, m.type));
    f.Text("NAZWA_", m.title);
    f.Text("WARUNEK_", m.condition);
    f.Number("NR_IND", m.sort);
    f.Text("WZOR_", m.sort_key);
    f.Number("IL_ZNAKOW", m.level_chars);
    f.Text("NAZWA_SUMY", m.level_name);
    f.Text("TYP_LISTY", m.list_symbols);
    f.Text("WZOR_START", m.start);
    *ok = f.ok();
    return r;
}

dbf::Record CellRecord(dbf::WorkArea& c, const std::string& key, const MatrixCell& cell, bool* ok) {
    dbf::Record r = c.table().NewRecord();
    Filler f(r, c.table());
    f.Text("TBW_", key);
    f.Number("WIERSZ_", cell.row);
    f.Number("NR_KOL", cell.column);
    f.Number("SZER_KOL", cell.width);
    f.Text("OPIS_", cell.heading);
    f.Text("ZAWARTOSC_", cell.content);
    f.Text("TYP_POLA", std::string(1, cell.type));
    f.Text("MASKA_", cell.picture);
    f.Flag("SUMA_", cell.total);
    f.Flag("WZOR_SUMY", cell.total_by_formula);
    f.Flag("P_X", cell.option);
    *ok = f.ok() && cell.row > 0 && cell.column > 0 && cell.width > 0;
    return r;
}

// Record numbers of the records of `key` in `area` (ordered by an index
// beginning with the symbol), live or deleted as asked.
std::vector<uint32_t> RecordsOf(dbf::WorkArea& area, const std::string& key, bool deleted) {
    std::vector<uint32_t> out;
    const bool hide = area.hide_deleted();
    area.set_hide_deleted(false);
    const int tbw = area.FieldIndex("TBW_");
    if (area.Seek(key, /*soft=*/true).ok())
        for (; !area.eof() && area.record().GetString(tbw) == key; (void)area.Skip())
            if (area.deleted() == deleted) out.push_back(area.recno());
    area.set_hide_deleted(hide);
    return out;
}

void Fail(common::Runtime& rt, dbf::WorkArea& area) {
    throw common::Abandon(common::ShortenMessage(rt.Text("Błąd zapisu: ") + area.alias()));
}

void Mark(common::Tables& tables, dbf::WorkArea& area, uint32_t recno, bool deleted) {
    if (!area.Goto(recno).ok()) Fail(tables.rt(), area);
    tables.RLock(area);
    if (!(deleted ? area.Delete() : area.Recall()).ok()) Fail(tables.rt(), area);
    (void)area.Unlock();
}

}  // namespace

bool WriteMatrix(common::Tables& tables, const MatrixDefinition& m, std::string* message) {
    common::Runtime& rt = tables.rt();
    message->clear();
    const std::string key = Padded(m.symbol);
    try {
        dbf::WorkArea& c = worktime::OpenOnce(tables, "PKTBW", {"PKTBW1"});
        for (const char* field : kCellFields)
            if (c.FieldIndex(field) < 0) {
                *message = rt.Text("Błędna struktura zbioru PKTBW");
                return false;
            }
        dbf::WorkArea& h = worktime::OpenOnce(tables, "PKNTBW", {"PKNTBW1", "PKNTBW2"});
        const dbf::KeepPosition keep_c(c), keep_h(h);
        worktime::OrderBy(c, "PKTBW1");
        worktime::OrderBy(h, "PKNTBW1");

        bool ok = false;
        const dbf::Record header = HeaderRecord(h, key, m, &ok);
        if (!ok) Fail(rt, h);
        std::vector<dbf::Record> cells;
        for (const MatrixCell& cell : m.cells) {
            cells.push_back(CellRecord(c, key, cell, &ok));
            if (!ok) Fail(rt, c);
        }
        const std::vector<uint32_t> old = RecordsOf(c, key, /*deleted=*/false);

        // The new cells, each written as a record under construction.
        std::vector<uint32_t> made;
        for (size_t i = 0; i < cells.size(); ++i) {
            tables.Reserve(c, CellKey(key, m.cells[i]), cells[i]);
            made.push_back(c.recno());
            (void)c.Unlock();
        }

        // The header: the live record of the symbol rewritten, or a new one.
        const std::vector<uint32_t> heads = RecordsOf(h, key, /*deleted=*/false);
        if (heads.empty()) {
            tables.Reserve(h, key, header);
            tables.Confirm(h);
        } else {
            if (!h.Goto(heads.front()).ok()) Fail(rt, h);
            tables.RLock(h);
            h.record() = header;
            if (!h.Commit().ok()) Fail(rt, h);
        }
        (void)h.Unlock();

        // The switch: only deletion marks change from here on.
        for (uint32_t recno : old) Mark(tables, c, recno, true);
        for (uint32_t recno : made) Mark(tables, c, recno, false);
        return true;
    } catch (const common::Abandon& e) {
        *message = e.message();
        return false;
    }
}

std::vector<MatrixEntry> ListMatrices(common::Tables& tables) {
    std::vector<MatrixEntry> out;
    if (!CompanyHas(tables, "PKNTBW")) return out;
    dbf::WorkArea& h = worktime::OpenOnce(tables, "PKNTBW", {"PKNTBW1", "PKNTBW2"});
    const dbf::KeepPosition keep(h);
    worktime::OrderBy(h, "PKNTBW1");
    const int tbw = h.FieldIndex("TBW_"), typ = h.FieldIndex("TYP_"), name = h.FieldIndex("NAZWA_");
    for (base::Status s = h.GoTop(); s.ok() && !h.eof(); s = h.Skip()) {
        if (h.deleted()) continue;
        MatrixEntry e;
        e.symbol = base::Trim(h.record().GetString(tbw));
        const std::string t = h.record().GetString(typ);
        e.type = t.empty() ? ' ' : t[0];
        e.title = base::Trim(h.record().GetString(name));
        out.push_back(e);
    }
    return out;
}

}  // namespace kestrel::payroll
