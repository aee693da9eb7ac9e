#include "register/data/employee_update.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "common/session/abandon.h"
#include "platform/codepage/cp852.h"
#include "platform/formula/date.h"

namespace kestrel::registry {
namespace {

// The fields whose earlier values are not remembered.
constexpr std::string_view kExempt[] = {
    "DATA_URODZ", "MIEJSCE_UR", "PLEC_",      "IM_OJCA",    "IM_MATKI", "PESELX_",
    "NR_NIP",     "DATA_ZATR",  "DATA_ZWOLN", "PRZYCZ_ZW",  "NIE_PRAC", "NAZW_ROD",
    "OS_PRAWNA",  "DATA_ROZ_U", "KOD_ROZ_U",  "KOD_POD_PR", "PODST_PR", "STR_ROZ_U",
};

std::string Str(long n, int width) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%*ld", width, n);
    return buf;
}

std::string Pad(std::string_view s, size_t width) {
    std::string out(s.substr(0, std::min(s.size(), width)));
    out.resize(width, ' ');
    return out;
}

std::string DateText(const std::string& yyyymmdd) {
    return formula::Dtoc(formula::Stod(yyyymmdd));
}

std::string Amount(double v, int width, int decimals) {
    std::string out;
    if (!dbf::FormatNumber(v, width, decimals, &out)) out = std::string(width, '*');
    return out;
}

// One logged item of a companion row: its field, its value as text and the
// text of its empty value.
struct Item {
    std::string field, text, empty;
};

struct Row {
    uint32_t recno;
    std::vector<Item> items;
};

std::vector<Row> RowsOf(const std::vector<InsuranceTitle>& titles) {
    std::vector<Row> out;
    const std::string no_date = DateText("");
    for (const InsuranceTitle& t : titles) {
        out.push_back({t.recno,
                       {{"LP_", Str(t.line, 2), " 0"},
                        {"TYTUL_PODM", Pad(t.title, 4), "    "},
                        {"DATA_OD", DateText(t.from), no_date},
                        {"DO_DATA", DateText(t.to), no_date}}});
    }
    return out;
}

std::vector<Row> RowsOf(const std::vector<Allowance>& allowances) {
    std::vector<Row> out;
    for (const Allowance& a : allowances) {
        out.push_back({a.recno,
                       {{"RODZAJ_DOD", Pad(a.symbol, 4), "    "},
                        {"WARTOSC_", Amount(a.value, 12, 2), Amount(0, 12, 2)},
                        {"CZASOWY_", a.timed ? "T" : "F", "F"},
                        {"OD_ROK", Str(a.from_year, 4), "   0"},
                        {"OD_MC", Str(a.from_month, 2), " 0"},
                        {"ROK_DO", Str(a.to_year, 4), "   0"},
                        {"MC_DO", Str(a.to_month, 2), " 0"},
                        {"LP_", Str(a.line, 2), " 0"}}});
    }
    return out;
}

std::vector<Row> RowsOf(const std::vector<ExtendedValue>& values) {
    std::vector<Row> out;
    for (const ExtendedValue& v : values) {
        out.push_back({v.recno,
                       {{"KLUCZ_", Pad(v.key, 9), std::string(9, ' ')},
                        {"LP_", Str(v.line, 2), " 0"},
                        {"TRESC_", Pad(v.text, 40), std::string(40, ' ')}}});
    }
    return out;
}

bool SameRows(const std::vector<Row>& a, const std::vector<Row>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        for (size_t j = 0; j < a[i].items.size(); ++j) {
            if (a[i].items[j].text != b[i].items[j].text) return false;
        }
    }
    return true;
}

const Row* ByRecno(const std::vector<Row>& rows, uint32_t recno) {
    for (const Row& r : rows) {
        if (r.recno == recno) return &r;
    }
    return nullptr;
}

// The entries of one companion table.
void LogRows(common::Tables& tables, dbf::WorkArea& ekprc, std::string_view number,
             std::string_view table, const std::vector<Row>& before, const std::vector<Row>& now,
             std::string_view day, std::string_view ident) {
    auto log = [&](uint32_t recno, const Item& item, std::string old_value, std::string new_value) {
        LogChange(
            tables, ekprc, number,
            {std::string(table), recno, item.field, std::move(old_value), std::move(new_value)},
            day, ident);
    };
    for (const Row& row : now) {
        const Row* old = ByRecno(before, row.recno);
        for (size_t i = 0; i < row.items.size(); ++i) {
            const Item& item = row.items[i];
            if (old == nullptr) {
                if (item.text != item.empty) log(row.recno, item, item.empty, item.text);
            } else if (old->items[i].text != item.text) {
                log(row.recno, item, old->items[i].text, item.text);
            }
        }
    }
    for (const Row& row : before) {
        if (ByRecno(now, row.recno) != nullptr) continue;
        for (const Item& item : row.items) {
            if (item.text != item.empty) log(row.recno, item, item.text, item.empty);
        }
    }
}

}  // namespace

Snapshot TakeSnapshot(const RegisterAreas& areas) {
    Snapshot s;
    s.recno = areas.prac->recno();
    s.record = ReadEmployee(*areas.prac);
    const std::string number = s.record.number();
    s.titles = ReadTitles(*areas.ktyub, number);
    s.allowances = ReadAllowances(*areas.dod, number);
    if (areas.uprc != nullptr) s.extended = ReadExtended(*areas.uprc, number);
    return s;
}

bool SnapshotDiffers(const Snapshot& before, const Snapshot& now) {
    return !now.record.ChangedFields(before.record).empty() ||
           !SameRows(RowsOf(before.titles), RowsOf(now.titles)) ||
           !SameRows(RowsOf(before.allowances), RowsOf(now.allowances)) ||
           !SameRows(RowsOf(before.extended), RowsOf(now.extended));
}

void RestoreSnapshot(common::Tables& tables, const RegisterAreas& areas, const Snapshot& before) {
    dbf::WorkArea& prac = *areas.prac;
    if (!prac.Goto(before.recno).ok() || !WriteEmployee(prac, before.record).ok()) {
        throw common::Abandon(codepage::FromUtf8("Błąd zapisu: PKPRAC"));
    }
    const std::string number = before.record.number();
    auto restore = [&](dbf::WorkArea* area, const auto& rows, auto rewrite) {
        if (area == nullptr) return;
        std::set<uint32_t> kept;
        for (const auto& row : rows) {
            rewrite(tables, *area, number, row);
            kept.insert(row.recno);
        }
        for (uint32_t recno : registry::RowsOf(*area, number)) {
            if (kept.count(recno) == 0) DeleteRow(tables, *area, recno);
        }
    };
    restore(areas.ktyub, before.titles, RewriteTitle);
    restore(areas.dod, before.allowances, RewriteAllowance);
    restore(areas.uprc, before.extended, RewriteExtended);
    (void)prac.Goto(before.recno);
}

void LogUpdate(common::Tables& tables, const RegisterAreas& areas, const Snapshot& before,
               const Snapshot& now, std::string_view day, std::string_view ident) {
    const std::string number = before.record.number();
    const dbf::Record& old_rec = before.record.stored();
    const dbf::Record& new_rec = now.record.stored();
    for (const std::string& field : now.record.ChangedFields(before.record)) {
        LogChange(tables, *areas.ekprc, number,
                  {std::string(kLogRegister), now.recno, field,
                   FieldText(old_rec, old_rec.FieldIndex(field)),
                   FieldText(new_rec, new_rec.FieldIndex(field))},
                  day, ident);
    }
    LogRows(tables, *areas.ekprc, number, kLogTitles, RowsOf(before.titles), RowsOf(now.titles),
            day, ident);
    LogRows(tables, *areas.ekprc, number, kLogAllowances, RowsOf(before.allowances),
            RowsOf(now.allowances), day, ident);
    LogRows(tables, *areas.ekprc, number, kLogExtended, RowsOf(before.extended),
            RowsOf(now.extended), day, ident);
}

bool HasHistory(std::string_view field) {
    return std::find(std::begin(kExempt), std::end(kExempt), field) == std::end(kExempt) &&
           field != "NR_PRAC";
}

std::vector<std::string> HistoryFields(const std::vector<std::string>& changed) {
    std::vector<std::string> out;
    for (const std::string& f : changed) {
        if (HasHistory(f)) out.push_back(f);
    }
    return out;
}

std::string ChangedFieldsLine(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& f : fields) {
        if (!line.empty()) line += ",";
        line += f;
    }
    if (line.size() > 43) line = line.substr(0, 43) + "...";
    return line;
}

std::string HistoryCutOff(dbf::WorkArea* ster, std::string_view today) {
    int32_t first = 0;
    int year = 0, month = 0;
    ReferenceMonth(ster, today, &year, &month);
    const bool from_table = ster != nullptr && ster->table().record_count() > 0;
    first = from_table ? formula::JulianFromYmd(year, month, 1) : formula::Stod(today);
    return first == 0 ? std::string() : formula::Dtos(first - 1);
}

void RememberOldValues(common::Tables& tables, dbf::WorkArea& zmprc, const EmployeeRecord& before,
                       const std::vector<std::string>& fields, std::string_view until) {
    const dbf::Record& rec = before.stored();
    for (const std::string& f : fields) {
        const int i = rec.FieldIndex(f);
        if (i < 0) continue;
        Remember(tables, zmprc, before.number(), {f, std::string(until), FieldText(rec, i), 0});
    }
}

int WriteLeadingMarks(common::Tables& tables, dbf::WorkArea& prac,
                      const std::vector<PeselRecord>& records, std::string_view leading) {
    const int master = prac.FieldIndex("MASTER_");
    const uint32_t here = prac.recno();
    int written = 0;
    for (const PeselRecord& r : records) {
        const bool mark = !leading.empty() && r.number == leading;
        if (!prac.Goto(r.recno).ok() || prac.eof()) continue;
        if (prac.record().GetLogical(master) == mark) continue;
        tables.RLock(prac);
        prac.record().SetLogical(master, mark);
        const bool ok = prac.Commit().ok();
        (void)prac.Unlock();
        if (!ok) throw common::Abandon(codepage::FromUtf8("Błąd zapisu: PKPRAC"));
        ++written;
    }
    (void)prac.Goto(here);
    return written;
}

TaxRecords TaxRecordsOf(dbf::WorkArea& doch, std::string_view number, int year) {
    TaxRecords out;
    const int nr = doch.FieldIndex("NR_PRAC"), paid = doch.FieldIndex("DATA_WYP");
    const std::string year_text = Str(year, 4);
    for (base::Status s = doch.Seek(number, true);
         s.ok() && !doch.eof() && doch.record().Raw(nr) == number; s = doch.Skip(1)) {
        out.recnos.push_back(doch.recno());
        if (doch.record().GetDate(paid).compare(0, 4, year_text) == 0) {
            out.this_year = true;
        } else {
            out.other_years = true;
        }
    }
    return out;
}

void StrikeOff(common::Runtime& rt, common::Tables& tables, const RegisterAreas& areas,
               uint32_t recno) {
    dbf::WorkArea& prac = *areas.prac;
    if (!prac.Goto(recno).ok() || prac.eof()) throw common::Abandon(rt.Text("Błąd zapisu: PKPRAC"));
    const std::string number = prac.record().GetString(prac.FieldIndex("NR_PRAC"));
    LogChange(tables, *areas.ekprc, number,
              {std::string(kLogRegister), recno, "NR_PRAC", number, ""}, WorkingDay(rt),
              rt.operators().ident);
    DeleteRow(tables, prac, recno);
}

}  // namespace kestrel::registry
