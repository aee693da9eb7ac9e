// The records of the insurance tables as the transfer writes them: found by
// their key among visible and deleted records, so that a rerun reuses the
// record numbers of the run before, and the month withdrawn before the
// records are built again.
#include <cstdio>

#include "common/session/abandon.h"
#include "insurance/data/insurance_fields.h"
#include "insurance/data/transfer_state.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::insurance {
namespace {

const std::map<std::string, std::vector<std::string>>& TargetIndexes() {
    static const std::map<std::string, std::vector<std::string>> m = {
        {"PKSKLAD", {"PKSKLAD1", "PKSKLAD2"}},
        {"PKZASIL",
         {"PKZASIL1", "PKZASIL2", "PKZASIL3", "PKZASIL4", "PKZASIL5", "PKZASIL6", "PKZASIL7"}},
        {"PKKSKWN", {"PKKSKWN1", "PKKSKWN2", "PKKSKWN3"}},
        {"PKWYNAG", {"PKWYNAG1", "PKWYNAG2"}},
        {"PKPODST", {"PKPODST1"}},
        {"PKOKRES", {"PKOKRES1"}},
    };
    return m;
}

[[noreturn]] void WriteFailed(TransferState& s, dbf::WorkArea& area) {
    area.Unlock();
    throw common::Abandon(common::ShortenMessage(s.rt.Text("Błąd zapisu: ") + area.alias()));
}

std::string KeyOf(dbf::WorkArea& area) {
    std::string k;
    bool included = false;
    area.index(static_cast<size_t>(area.order() - 1)).KeyOf(area.record(), &k, &included);
    return k;
}

// The records whose key in `index` begins with `prefix` and that `take`
// accepts (deleted ones are never taken).
template <typename Pred>
std::vector<uint32_t> RecordsOf(dbf::WorkArea& area, std::string_view index,
                                const std::string& prefix, Pred take) {
    std::vector<uint32_t> out;
    worktime::OrderBy(area, index);
    for (base::Status st = area.Seek(prefix, true); st.ok() && !area.eof(); st = area.Skip(1)) {
        if (KeyOf(area).compare(0, prefix.size(), prefix) != 0) break;
        if (!area.deleted() && take(area.record())) out.push_back(area.recno());
    }
    return out;
}

// Deletes the records `recnos` of `area`; `before` may change a record
// first. False when Esc was pressed.
template <typename Fn>
bool DeleteAll(TransferState& s, dbf::WorkArea& area, const std::vector<uint32_t>& recnos,
               Fn before) {
    for (uint32_t recno : recnos) {
        if (s.watch().EscapePressed()) return false;
        area.Goto(recno);
        s.tables.RLock(area);
        before(area.record());
        base::Status st = area.Commit();
        if (st.ok()) st = area.Delete();
        if (!st.ok()) WriteFailed(s, area);
        area.Unlock();
    }
    return true;
}

}  // namespace

std::string Str4(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%4d", n);
    return buf;
}

std::string Zero2(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::string MonthKey(const YearMonth& m) {
    return Str4(m.year) + Zero2(m.month);
}

dbf::WorkArea& OpenTarget(TransferState& s, const std::string& table) {
    return worktime::OpenOnce(s.tables, table, TargetIndexes().at(table));
}

bool Claim(TransferState& s, dbf::WorkArea& area, std::string_view index, const std::string& key) {
    worktime::OrderBy(area, index);
    const bool hide = area.hide_deleted();
    area.set_hide_deleted(false);
    uint32_t visible = 0, deleted = 0;
    for (base::Status st = area.Seek(key, true); st.ok() && !area.eof(); st = area.Skip(1)) {
        if (KeyOf(area) != key) break;
        if (!area.deleted()) {
            visible = area.recno();
            break;
        }
        if (deleted == 0) deleted = area.recno();
    }
    area.set_hide_deleted(hide);
    const int f_lock = area.FieldIndex("NIE_AKT_62");
    if (visible != 0) {
        area.Goto(visible);
        if (area.record().GetLogical(f_lock)) return false;
        s.tables.RLock(area);
        if (area.record().GetLogical(f_lock)) {  // locked meanwhile by another workstation
            area.Unlock();
            return false;
        }
        return true;
    }
    if (deleted != 0) {
        area.Goto(deleted);
        s.tables.RLock(area);
        area.record().SetLogical(area.FieldIndex("KOREKTA_"), false);
        area.record().SetLogical(f_lock, false);
        return true;
    }
    // A new record is appended marked deleted and recalled when it is
    // complete: a formula error leaves no half-filled visible record.
    s.tables.Reserve(area, "");
    return true;
}

void Abort(dbf::WorkArea& area) {
    area.Unlock();
    area.Goto(area.recno());  // the buffer as stored
}

void Release(TransferState& s, dbf::WorkArea& area) {
    base::Status st = area.Commit();
    if (st.ok() && area.deleted()) st = area.Recall();
    if (!st.ok()) WriteFailed(s, area);
    area.Unlock();
    ++s.out.records;
}

bool Qrmanulrmc(TransferState& s) {
    auto unlocked = [](dbf::WorkArea& a) {
        const int f = a.FieldIndex("NIE_AKT_62");
        return [f](const dbf::Record& r) { return !r.GetLogical(f); };
    };
    auto nothing = [](dbf::Record&) {};
    const std::string m = MonthKey(s.month), p = MonthKey(s.previous);
    const std::string list_month = Str4(s.month.year) + Zero2(s.month.month);

    dbf::WorkArea& sklad = OpenTarget(s, "PKSKLAD");
    if (s.previous_paid) {
        const int f_lock = sklad.FieldIndex("NIE_AKT_62"), f_prev = sklad.FieldIndex("WYP_MC_P");
        const auto of_previous = RecordsOf(sklad, "PKSKLAD1", p, [&](const dbf::Record& r) {
            return !r.GetLogical(f_lock) && !r.GetLogical(f_prev);
        });
        if (!DeleteAll(s, sklad, of_previous, nothing)) return false;
    }
    if (!DeleteAll(s, sklad, RecordsOf(sklad, "PKSKLAD1", m, unlocked(sklad)), nothing))
        return false;

    dbf::WorkArea& zasil = OpenTarget(s, "PKZASIL");
    if (!DeleteAll(s, zasil, RecordsOf(zasil, "PKZASIL1", list_month, unlocked(zasil)), nothing))
        return false;

    dbf::WorkArea& skwn = OpenTarget(s, "PKKSKWN");
    if (s.rt.config().Logical("NAGLWPPM")) {
        const int f_lock = skwn.FieldIndex("NIE_AKT_62"), f_prev = skwn.FieldIndex("WYP_MC_P");
        const auto marked = RecordsOf(skwn, "PKKSKWN1", p, [&](const dbf::Record& r) {
            return !r.GetLogical(f_lock) && r.GetLogical(f_prev);
        });
        if (!DeleteAll(s, skwn, marked, nothing)) return false;
    }
    if (!DeleteAll(s, skwn, RecordsOf(skwn, "PKKSKWN1", m, unlocked(skwn)), nothing)) return false;

    dbf::WorkArea& wynag = OpenTarget(s, "PKWYNAG");
    const auto second = [&](dbf::Record& r) {
        for (const std::string& f : Qrmtbw2()) r.SetNumber(wynag.FieldIndex(f), 0);
    };
    if (!DeleteAll(s, wynag, RecordsOf(wynag, "PKWYNAG1", m, unlocked(wynag)), second))
        return false;

    for (const char* table : {"PKPODST", "PKOKRES"}) {
        dbf::WorkArea& a = OpenTarget(s, table);
        if (!DeleteAll(s, a, RecordsOf(a, std::string(table) + "1", m, unlocked(a)), nothing))
            return false;
    }
    return true;
}

}  // namespace kestrel::insurance
