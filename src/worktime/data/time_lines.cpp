#include "worktime/data/time_lines.h"

#include <cstdio>

#include "common/session/abandon.h"
#include "common/tables/index_order.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::worktime {
TimeLines::TimeLines(common::Runtime& rt, common::Tables& tables, const SettlementMonth& month)
    : rt_(rt),
      tables_(tables),
      month_(month),
      czas_(OpenOnce(tables, "PKCZAS", {"PKCZAS1", "PKCZAS2", "PKCZAS3", "PKCZAS4"})),
      bryg_(OpenOnce(tables, "PKBRYG", {"PKBRYG1", "PKBRYG2"})) {
    f_year_ = czas_.FieldIndex("ROK_");
    f_month_ = czas_.FieldIndex("MIESIAC_");
    f_number_ = czas_.FieldIndex("NR_PRAC");
    f_code_ = czas_.FieldIndex("KOD_OB");
    f_group_ = czas_.FieldIndex("GRUPA_");
    f_hours_ = czas_.FieldIndex("ILOSC_GODZ");
    f_account_ = czas_.FieldIndex("KONTO_KOSZ");
}

std::string TimeLines::Key(std::string_view number, std::string_view code,
                           std::string_view account) const {
    char head[8];
    std::snprintf(head, sizeof head, "%4d%02d", month_.year, month_.month);
    std::string key = head + std::string(number);
    if (code.empty() && account.empty()) return key;
    key += base::Padded(code, kCodeWidth);
    if (!account.empty()) key += base::Padded(account, kAccountWidth);
    return key;
}

void TimeLines::WriteFailed() {
    throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd zapisu: ") + czas_.alias()));
}

template <typename Fn>
void TimeLines::ForEach(const std::string& prefix, Fn fn) {
    OrderBy(czas_, "PKCZAS1");
    dbf::Index& index = czas_.index(0);
    std::string key;
    bool included = false;
    for (base::Status s = czas_.Seek(prefix); s.ok() && !czas_.eof(); s = czas_.Skip(1)) {
        key.clear();
        index.KeyOf(czas_.record(), &key, &included);
        if (key.compare(0, prefix.size(), prefix) != 0) break;
        fn();
    }
}

std::vector<TimeLine> TimeLines::LinesOf(std::string_view number) {
    std::vector<TimeLine> lines;
    ForEach(Key(number), [&] {
        const dbf::Record& r = czas_.record();
        lines.push_back({base::TrimRight(r.GetString(f_code_)), r.GetString(f_account_),
                         r.GetNumber(f_hours_), czas_.recno()});
    });
    return lines;
}

std::vector<TimeLine> TimeLines::AllLines() {
    std::vector<TimeLine> lines;
    char head[8];
    std::snprintf(head, sizeof head, "%4d%02d", month_.year, month_.month);
    ForEach(head, [&] {
        const dbf::Record& r = czas_.record();
        lines.push_back({base::TrimRight(r.GetString(f_code_)), r.GetString(f_account_),
                         r.GetNumber(f_hours_), czas_.recno(), r.GetString(f_number_)});
    });
    return lines;
}

bool TimeLines::HasLine(std::string_view number, std::string_view code) {
    bool any = false;
    ForEach(Key(number, code), [&] { any = true; });
    return any;
}

bool TimeLines::HasLine(std::string_view number, std::string_view code, std::string_view account) {
    bool any = false;
    ForEach(Key(number, code, base::Padded(account, kAccountWidth)), [&] { any = true; });
    return any;
}

int TimeLines::DeleteWhere(const std::string& prefix) {
    std::vector<uint32_t> found;
    ForEach(prefix, [&] { found.push_back(czas_.recno()); });
    for (uint32_t recno : found) {
        czas_.Goto(recno);
        tables_.RLock(czas_);
        const base::Status s = czas_.Delete();
        czas_.Unlock();
        if (!s.ok()) WriteFailed();
    }
    return static_cast<int>(found.size());
}

int TimeLines::DeleteCode(std::string_view number, std::string_view code) {
    return DeleteWhere(Key(number, code));
}

int TimeLines::DeleteLine(std::string_view number, std::string_view code,
                          std::string_view account) {
    return DeleteWhere(Key(number, code, base::Padded(account, kAccountWidth)));
}

void TimeLines::Reserve(std::string_view number, std::string_view code, std::string_view account) {
    OrderBy(czas_, "PKCZAS1");
    tables_.Reserve(czas_, Key(number, code, base::Padded(account, kAccountWidth)));
    dbf::Record& r = czas_.record();
    r.SetNumber(f_year_, month_.year);
    r.SetNumber(f_month_, month_.month);
    r.SetString(f_number_, number);
    r.SetString(f_code_, code);
    r.SetString(f_account_, account);
    r.SetNumber(f_hours_, 0);
    // Keyed at once, so that a line left unconfirmed is found for reuse.
    if (!czas_.Commit().ok()) WriteFailed();
}

uint32_t TimeLines::Accept(std::string_view group, double hours, bool single) {
    dbf::Record& r = czas_.record();
    r.SetString(f_group_, group);
    r.SetNumber(f_hours_, hours);
    const uint32_t mine = czas_.recno();
    const std::string number = r.GetString(f_number_);
    const std::string code = r.GetString(f_code_);
    base::Status s = czas_.Commit();
    if (s.ok() && hours != 0 && czas_.deleted()) s = czas_.Recall();
    if (s.ok() && hours == 0 && !czas_.deleted()) s = czas_.Delete();
    czas_.Unlock();
    if (!s.ok()) WriteFailed();
    if (!single) return mine;
    std::vector<uint32_t> others;
    ForEach(Key(number, code), [&] {
        if (czas_.recno() != mine) others.push_back(czas_.recno());
    });
    for (uint32_t recno : others) {
        czas_.Goto(recno);
        tables_.RLock(czas_);
        czas_.Delete();
        czas_.Unlock();
    }
    return mine;
}

uint32_t TimeLines::Write(std::string_view number, std::string_view code, std::string_view account,
                          std::string_view group, double hours, bool single) {
    uint32_t present = 0;
    ForEach(Key(number, code, base::Padded(account, kAccountWidth)), [&] {
        if (present == 0) present = czas_.recno();
    });
    if (present == 0) {
        Reserve(number, code, account);
    } else {
        czas_.Goto(present);
        tables_.RLock(czas_);
    }
    return Accept(group, hours, single);
}

std::string TimeLines::Brigade(std::string_view number) {
    OrderBy(bryg_, "PKBRYG1");
    if (!bryg_.Seek(Key(number)).ok() || !bryg_.found()) return {};
    return base::TrimRight(bryg_.record().GetString(bryg_.FieldIndex("BRYGADA_")));
}

void TimeLines::SetBrigade(std::string_view number, std::string_view brigade,
                           std::string_view nazwx) {
    OrderBy(bryg_, "PKBRYG1");
    const std::string key = Key(number);
    const bool present = bryg_.Seek(key).ok() && bryg_.found();
    if (base::IsBlank(brigade)) {
        if (!present) return;
        tables_.RLock(bryg_);
        bryg_.Delete();
        bryg_.Unlock();
        return;
    }
    if (present) {
        tables_.RLock(bryg_);
    } else {
        tables_.Reserve(bryg_, key);
    }
    dbf::Record& r = bryg_.record();
    r.SetNumber(bryg_.FieldIndex("ROK_"), month_.year);
    r.SetNumber(bryg_.FieldIndex("MIESIAC_"), month_.month);
    r.SetString(bryg_.FieldIndex("NR_PRAC"), number);
    r.SetString(bryg_.FieldIndex("NAZWX_"), nazwx);
    r.SetString(bryg_.FieldIndex("BRYGADA_"), brigade);
    if (present) {
        bryg_.Commit();
    } else {
        tables_.Confirm(bryg_);
    }
    bryg_.Unlock();
}

}  // namespace kestrel::worktime
