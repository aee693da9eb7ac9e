#include "register/data/employee_companions.h"

#include <algorithm>
#include <cstdio>

#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"

namespace kestrel::registry {
namespace {

std::string Str(int n, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%*d", width, n);
    return buf;
}

std::string Pad(std::string_view s, size_t width) {
    std::string out(s.substr(0, std::min(s.size(), width)));
    out.resize(width, ' ');
    return out;
}

using base::TrimRight;

[[noreturn]] void WriteFailed(dbf::WorkArea& area) {
    throw common::Abandon(codepage::FromUtf8("Błąd zapisu: ") + area.alias());
}

void Check(base::Status s, dbf::WorkArea& area) {
    if (!s.ok()) WriteFailed(area);
}

std::string KeyOf(dbf::WorkArea& area) {
    if (area.order() == 0) return {};
    std::string k;
    bool included = false;
    area.index(static_cast<size_t>(area.order() - 1)).KeyOf(area.record(), &k, &included);
    return k;
}

// Restores the area's deleted-record visibility when it goes.
class ShowDeleted {
  public:
    explicit ShowDeleted(dbf::WorkArea& area) : area_(area), hide_(area.hide_deleted()) {
        area.set_hide_deleted(false);
    }
    ~ShowDeleted() { area_.set_hide_deleted(hide_); }

  private:
    dbf::WorkArea& area_;
    bool hide_;
};

// Stands `area` on the record of `key` (exact key of the controlling index)
// locked: the live one, else a deleted one recalled, else a new one.
void StandOnKey(common::Tables& tables, dbf::WorkArea& area, const std::string& key) {
    uint32_t deleted = 0, live = 0;
    {
        ShowDeleted show(area);
        base::Status s = area.Seek(key);
        while (s.ok() && !area.eof() && KeyOf(area).compare(0, key.size(), key) == 0) {
            if (!area.deleted()) {
                live = area.recno();
                break;
            }
            if (deleted == 0) deleted = area.recno();
            s = area.Skip(1);
        }
        Check(s, area);
        if (live != 0 || deleted != 0) {
            Check(area.Goto(live != 0 ? live : deleted), area);
            tables.RLock(area);
            if (area.deleted()) Check(area.Recall(), area);
            return;
        }
    }
    tables.Append(area);
}

void Finish(dbf::WorkArea& area) {
    Check(area.Commit(), area);
    Check(area.Unlock(), area);
}

// Calls fn for every live record of `number` in the controlling order.
template <typename Fn>
void ForEachOf(dbf::WorkArea& area, std::string_view number, Fn fn) {
    const int nr = area.FieldIndex("NR_PRAC");
    base::Status s = area.Seek(number, true);
    while (s.ok() && !area.eof() && area.record().Raw(nr) == number) {
        fn(area.record());
        s = area.Skip(1);
    }
    Check(s, area);
}

int Field(dbf::WorkArea& area, const char* name) {
    return area.FieldIndex(name);
}

// Months counted from year 0, for comparing month ranges.
int Months(int year, int month) {
    return year * 12 + month;
}

}  // namespace

// --- PKKTYUB ---------------------------------------------------------------

std::vector<InsuranceTitle> ReadTitles(dbf::WorkArea& ktyub, std::string_view number) {
    std::vector<InsuranceTitle> out;
    const int lp = Field(ktyub, "LP_"), title = Field(ktyub, "TYTUL_PODM"),
              from = Field(ktyub, "DATA_OD"), to = Field(ktyub, "DO_DATA");
    ForEachOf(ktyub, number, [&](const dbf::Record& r) {
        out.push_back({static_cast<int>(r.GetNumber(lp)), TrimRight(r.GetString(title)),
                       r.GetDate(from), r.GetDate(to), ktyub.recno()});
    });
    return out;
}

namespace {

void FillTitle(dbf::WorkArea& ktyub, std::string_view number, const InsuranceTitle& t) {
    dbf::Record& r = ktyub.record();
    r.SetString(Field(ktyub, "NR_PRAC"), number);
    Check(r.SetNumber(Field(ktyub, "LP_"), t.line), ktyub);
    r.SetString(Field(ktyub, "TYTUL_PODM"), t.title);
    Check(r.SetDate(Field(ktyub, "DATA_OD"), t.from), ktyub);
    Check(r.SetDate(Field(ktyub, "DO_DATA"), t.to), ktyub);
}

void FillAllowance(dbf::WorkArea& dod, std::string_view number, const Allowance& a) {
    dbf::Record& r = dod.record();
    r.SetString(Field(dod, "NR_PRAC"), number);
    Check(r.SetNumber(Field(dod, "LP_"), a.line), dod);
    r.SetString(Field(dod, "RODZAJ_DOD"), a.symbol);
    Check(r.SetNumber(Field(dod, "WARTOSC_"), a.value), dod);
    r.SetLogical(Field(dod, "CZASOWY_"), a.timed);
    Check(r.SetNumber(Field(dod, "OD_ROK"), a.timed ? a.from_year : 0), dod);
    Check(r.SetNumber(Field(dod, "OD_MC"), a.timed ? a.from_month : 0), dod);
    Check(r.SetNumber(Field(dod, "ROK_DO"), a.timed ? a.to_year : 0), dod);
    Check(r.SetNumber(Field(dod, "MC_DO"), a.timed ? a.to_month : 0), dod);
}

std::string ExtendedKey(std::string_view key) {
    std::string out = Pad(key, 9);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

void FillExtended(dbf::WorkArea& uprc, std::string_view number, const ExtendedValue& v) {
    dbf::Record& r = uprc.record();
    r.SetString(Field(uprc, "NR_PRAC"), number);
    r.SetString(Field(uprc, "KLUCZ_"), ExtendedKey(v.key));
    Check(r.SetNumber(Field(uprc, "LP_"), v.line), uprc);
    r.SetString(Field(uprc, "TRESC_"), v.text);
}

// Locks record `recno` (deleted or not), lets `fill` write it, recalls and
// commits it.
template <typename Fill>
void RewriteAt(common::Tables& tables, dbf::WorkArea& area, uint32_t recno, Fill fill) {
    ShowDeleted show(area);
    Check(area.Goto(recno), area);
    if (area.eof()) return;
    tables.RLock(area);
    fill();
    Check(area.Commit(), area);
    if (area.deleted()) Check(area.Recall(), area);
    Check(area.Unlock(), area);
}

}  // namespace

uint32_t WriteTitle(common::Tables& tables, dbf::WorkArea& ktyub, std::string_view number,
                    const InsuranceTitle& t) {
    StandOnKey(tables, ktyub, std::string(number) + Str(t.line, 2));
    FillTitle(ktyub, number, t);
    const uint32_t recno = ktyub.recno();
    Finish(ktyub);
    return recno;
}

void RewriteTitle(common::Tables& tables, dbf::WorkArea& ktyub, std::string_view number,
                  const InsuranceTitle& t) {
    RewriteAt(tables, ktyub, t.recno, [&] { FillTitle(ktyub, number, t); });
}

void RewriteAllowance(common::Tables& tables, dbf::WorkArea& dod, std::string_view number,
                      const Allowance& a) {
    RewriteAt(tables, dod, a.recno, [&] { FillAllowance(dod, number, a); });
}

void RewriteExtended(common::Tables& tables, dbf::WorkArea& uprc, std::string_view number,
                     const ExtendedValue& v) {
    RewriteAt(tables, uprc, v.recno, [&] { FillExtended(uprc, number, v); });
}

void DeleteTitlesFrom(common::Tables& tables, dbf::WorkArea& ktyub, std::string_view number,
                      int line) {
    for (const InsuranceTitle& t : ReadTitles(ktyub, number)) {
        if (t.line >= line) DeleteRow(tables, ktyub, t.recno);
    }
}

bool PeriodsOverlap(const InsuranceTitle& a, const InsuranceTitle& b) {
    // An empty end is open: "99999999" sorts after every date.
    const std::string a_to = a.to.empty() ? "99999999" : a.to;
    const std::string b_to = b.to.empty() ? "99999999" : b.to;
    if (a.from <= b.from && a_to >= b.from) return true;
    return a.from >= b.from && a.from <= b_to;
}

std::string DuplicateTitleMessage(const std::vector<InsuranceTitle>& listed,
                                  const InsuranceTitle& added) {
    for (const InsuranceTitle& t : listed) {
        if (t.title == added.title && PeriodsOverlap(t, added)) {
            return "Zdublowany tytuł ubezpieczenia";
        }
    }
    return {};
}

// --- PKDOD -------------------------------------------------------------------

std::vector<Allowance> ReadAllowances(dbf::WorkArea& dod, std::string_view number) {
    std::vector<Allowance> out;
    const int lp = Field(dod, "LP_"), sym = Field(dod, "RODZAJ_DOD"), val = Field(dod, "WARTOSC_"),
              timed = Field(dod, "CZASOWY_"), fy = Field(dod, "OD_ROK"), fm = Field(dod, "OD_MC"),
              ty = Field(dod, "ROK_DO"), tm = Field(dod, "MC_DO");
    ForEachOf(dod, number, [&](const dbf::Record& r) {
        Allowance a;
        a.line = static_cast<int>(r.GetNumber(lp));
        a.symbol = TrimRight(r.GetString(sym));
        a.value = r.GetNumber(val);
        a.timed = r.GetLogical(timed);
        a.from_year = static_cast<int>(r.GetNumber(fy));
        a.from_month = static_cast<int>(r.GetNumber(fm));
        a.to_year = static_cast<int>(r.GetNumber(ty));
        a.to_month = static_cast<int>(r.GetNumber(tm));
        a.recno = dod.recno();
        out.push_back(a);
    });
    return out;
}

uint32_t WriteAllowance(common::Tables& tables, dbf::WorkArea& dod, std::string_view number,
                        const Allowance& a) {
    StandOnKey(tables, dod, std::string(number) + Str(a.line, 2));
    FillAllowance(dod, number, a);
    const uint32_t recno = dod.recno();
    Finish(dod);
    return recno;
}

int NextAllowanceLine(const std::vector<Allowance>& lines) {
    int highest = 0;
    for (const Allowance& a : lines) highest = std::max(highest, a.line);
    return highest >= 99 ? 1 : highest + 1;
}

std::string AllowanceSymbolMessage(const std::vector<Allowance>& lines, const Allowance& edited,
                                   bool* forced_timed) {
    *forced_timed = false;
    for (const Allowance& a : lines) {
        if (a.line == edited.line || a.symbol != edited.symbol) continue;
        if (!a.timed) return "Zdublowany \"globalny\" symbol";
        *forced_timed = true;
    }
    return {};
}

std::string AllowanceRangeMessage(const std::vector<Allowance>& lines, const Allowance& edited) {
    if (!edited.timed) return {};
    const int from = Months(edited.from_year, edited.from_month);
    const int to = Months(edited.to_year, edited.to_month);
    for (const Allowance& a : lines) {
        if (a.line == edited.line || a.symbol != edited.symbol || !a.timed) continue;
        const int a_from = Months(a.from_year, a.from_month);
        const int a_to = Months(a.to_year, a.to_month);
        if (from <= a_to && a_from <= to) return "Kolizja zakresów miesięcy";
    }
    return {};
}

// --- Deleting ----------------------------------------------------------------

void DeleteRow(common::Tables& tables, dbf::WorkArea& area, uint32_t recno) {
    ShowDeleted show(area);
    Check(area.Goto(recno), area);
    if (area.eof() || area.deleted()) return;
    tables.RLock(area);
    Check(area.Delete(), area);
    Check(area.Unlock(), area);
}

std::vector<uint32_t> RowsOf(dbf::WorkArea& area, std::string_view number) {
    std::vector<uint32_t> rows;
    ForEachOf(area, number, [&](const dbf::Record&) { rows.push_back(area.recno()); });
    return rows;
}

// --- PKZMPRC -----------------------------------------------------------------

std::vector<RememberedValue> ReadRemembered(dbf::WorkArea& zmprc, std::string_view number,
                                            std::string_view field) {
    std::vector<RememberedValue> out;
    const std::string name = Pad(field, 10);
    const int f = Field(zmprc, "NAZWA_POLA"), until = Field(zmprc, "DATA_DO"),
              value = Field(zmprc, "WARTOSC_");
    const std::string prefix = std::string(number) + name;
    base::Status s = zmprc.Seek(prefix, true);
    while (s.ok() && !zmprc.eof() && KeyOf(zmprc).compare(0, prefix.size(), prefix) == 0) {
        const dbf::Record& r = zmprc.record();
        out.push_back(
            {TrimRight(r.GetString(f)), r.GetDate(until), r.GetString(value), zmprc.recno()});
        s = zmprc.Skip(1);
    }
    Check(s, zmprc);
    return out;
}

uint32_t Remember(common::Tables& tables, dbf::WorkArea& zmprc, std::string_view number,
                  const RememberedValue& v) {
    StandOnKey(tables, zmprc, std::string(number) + Pad(v.field, 10) + v.until);
    dbf::Record& r = zmprc.record();
    r.SetString(Field(zmprc, "NR_PRAC"), number);
    r.SetString(Field(zmprc, "NAZWA_POLA"), v.field);
    Check(r.SetDate(Field(zmprc, "DATA_DO"), v.until), zmprc);
    r.SetString(Field(zmprc, "WARTOSC_"), v.value);
    const uint32_t recno = zmprc.recno();
    Finish(zmprc);
    return recno;
}

void ForgetAll(common::Tables& tables, dbf::WorkArea& zmprc, std::string_view number) {
    for (uint32_t recno : RowsOf(zmprc, number)) DeleteRow(tables, zmprc, recno);
}

// --- PKEKPRC -----------------------------------------------------------------

int NextLogSequence(dbf::WorkArea& ekprc, std::string_view number, std::string_view table,
                    std::string_view field, std::string_view day) {
    const std::string prefix =
        std::string(number) + Pad(table, 7) + Pad(field, 10) + std::string(day);
    const int lp = Field(ekprc, "LP_");
    int highest = 0;
    base::Status s = ekprc.Seek(prefix, true);
    while (s.ok() && !ekprc.eof() && KeyOf(ekprc).compare(0, prefix.size(), prefix) == 0) {
        highest = std::max(highest, static_cast<int>(ekprc.record().GetNumber(lp)));
        s = ekprc.Skip(1);
    }
    Check(s, ekprc);
    return std::min(highest + 1, 999);
}

void LogChange(common::Tables& tables, dbf::WorkArea& ekprc, std::string_view number,
               const ChangeEntry& e, std::string_view day, std::string_view ident) {
    const int sequence = NextLogSequence(ekprc, number, e.table, e.field, day);
    tables.Append(ekprc);
    dbf::Record& r = ekprc.record();
    r.SetString(Field(ekprc, "NR_PRAC"), number);
    r.SetString(Field(ekprc, "PLIK_"), e.table);
    Check(r.SetNumber(Field(ekprc, "RECNO_"), e.recno), ekprc);
    r.SetString(Field(ekprc, "NAZWA_POLA"), e.field);
    Check(r.SetDate(Field(ekprc, "DATA_AKT"), day), ekprc);
    Check(r.SetNumber(Field(ekprc, "LP_"), sequence), ekprc);
    r.SetString(Field(ekprc, "STARA_WART"), e.old_value);
    r.SetString(Field(ekprc, "NOWA_WART"), e.new_value);
    r.SetString(Field(ekprc, "ID_OSOB"), ident);
    Finish(ekprc);
}

std::vector<LoggedChange> ReadLog(dbf::WorkArea& ekprc, std::string_view number) {
    std::vector<LoggedChange> out;
    const int table = Field(ekprc, "PLIK_"), recno = Field(ekprc, "RECNO_"),
              field = Field(ekprc, "NAZWA_POLA"), day = Field(ekprc, "DATA_AKT"),
              lp = Field(ekprc, "LP_"), old_v = Field(ekprc, "STARA_WART"),
              new_v = Field(ekprc, "NOWA_WART"), ident = Field(ekprc, "ID_OSOB");
    ForEachOf(ekprc, number, [&](const dbf::Record& r) {
        LoggedChange c;
        c.entry = {r.GetString(table), static_cast<uint32_t>(r.GetNumber(recno)),
                   TrimRight(r.GetString(field)), TrimRight(r.GetString(old_v)),
                   TrimRight(r.GetString(new_v))};
        c.day = r.GetDate(day);
        c.sequence = static_cast<int>(r.GetNumber(lp));
        c.ident = r.GetString(ident);
        out.push_back(std::move(c));
    });
    return out;
}

// --- PKUPRC ------------------------------------------------------------------

std::vector<ExtendedValue> ReadExtended(dbf::WorkArea& uprc, std::string_view number) {
    std::vector<ExtendedValue> out;
    const int key = Field(uprc, "KLUCZ_"), lp = Field(uprc, "LP_"), text = Field(uprc, "TRESC_");
    ForEachOf(uprc, number, [&](const dbf::Record& r) {
        out.push_back({TrimRight(r.GetString(key)), static_cast<int>(r.GetNumber(lp)),
                       TrimRight(r.GetString(text)), uprc.recno()});
    });
    return out;
}

uint32_t WriteExtended(common::Tables& tables, dbf::WorkArea& uprc, std::string_view number,
                       const ExtendedValue& v) {
    StandOnKey(tables, uprc, std::string(number) + ExtendedKey(v.key) + Str(v.line, 2));
    FillExtended(uprc, number, v);
    const uint32_t recno = uprc.recno();
    Finish(uprc);
    return recno;
}

}  // namespace kestrel::registry
