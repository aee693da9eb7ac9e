#include "tools/demo_worktime.h"

#include <optional>

#include "common/session/abandon.h"
#include "common/session/runtime.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/console.h"
#include "platform/console/headless_backend.h"
#include "worktime/data/month_run.h"
#include "worktime/data/settlement_month.h"
#include "worktime/data/time_lines.h"

namespace kestrel::tools {
namespace {

struct DemoCode {
    const char* code;
    const char* name;
    const char* type;
    int order;
    const char* formula;
};

constexpr DemoCode kCodes[] = {
    {"NORM", "Godziny normalne", "E", 0, ""},
    {"N50", "Nadgodziny 50%", "N", 0, ""},
    {"N100", "Nadgodziny 100%", "N", 0, ""},
    {"GNOC", "Godziny nocne", "D", 0, ""},
    {"RAZG", "Razem godzin przepracowanych", "A", 1, "NORM + N50 + N100"},
};

// Hours of the month per staff employee: normal, overtime 50 % and 100 %,
// night hours; production works overtime and nights.
struct DemoHours {
    const char* number;
    double norm, n50, n100, night;
    bool brigade;
};

constexpr DemoHours kHours[] = {
    {"000001", 168, 0, 0, 0, false},  {"000002", 168, 0, 0, 0, false},
    {"000003", 160, 0, 0, 0, false},  {"000004", 168, 12, 4, 24, true},
    {"000005", 168, 8, 0, 40, true},  {"000006", 152, 0, 0, 0, false},
    {"000007", 168, 10, 8, 16, true}, {"000008", 168, 2, 0, 0, false},
    {"000009", 168, 16, 0, 32, true}, {"000010", 120, 0, 0, 0, false},
    {"000011", 168, 4, 0, 8, true},   {"000012", 168, 0, 0, 0, false},
};

void Set(dbf::WorkArea& a, const char* field, std::string_view utf8) {
    a.record().SetString(a.FieldIndex(field), codepage::FromUtf8(utf8));
}

// Monday to Friday between days `from` and `to` of a month.
int WeekDays(int year, int month, int from, int to) {
    int n = 0;
    for (int d = from; d <= to; ++d)
        if ((base::JulianDay({year, month, d}) + 1) % 7 % 6 != 0) ++n;
    return n;
}

// One absence line entered in `entered` for days `from`-`to` of `cal`.
void AddAbsence(common::Tables& tables, dbf::WorkArea& nieob, const std::string& number,
                const std::string& group, const char* code, worktime::SettlementMonth entered,
                worktime::SettlementMonth cal, int from, int to, double days, double hours,
                int percent) {
    tables.Append(nieob);
    auto num = [&nieob](const char* f, double v) {
        nieob.record().SetNumber(nieob.FieldIndex(f), v);
    };
    num("ROK_", entered.year);
    num("MIESIAC_", entered.month);
    num("LP_", 1);
    Set(nieob, "NR_PRAC", number);
    Set(nieob, "KOD_NIEOB", code);
    Set(nieob, "GRUPA_", group);
    num("ILOSC_", days);
    num("DZ_ROZP", from);
    num("DZ_ZAK", to);
    num("PROC_ZAS", percent);
    num("ROK_KAL", cal.year);
    num("MC_KAL", cal.month);
    num("ROK_ZUS", entered.year);
    num("MC_ZUS", entered.month);
    num("ILOSC_2", hours);
    nieob.Commit();
    nieob.Unlock();
}

// Absences of the settlement month: a holiday leave, a care benefit, and a
// sickness that began at the end of the month before (a line in each month).
void AddDemoAbsences(common::Tables& tables, dbf::WorkArea& prac,
                     const worktime::SettlementMonth& m) {
    dbf::WorkArea& nieob = tables.Open("PKNIEOB", common::IndexFiles("PKNIEOB"));
    if (nieob.table().record_count() > 0) return;
    const worktime::SettlementMonth before = m.month == 1
                                                 ? worktime::SettlementMonth{m.year - 1, 12}
                                                 : worktime::SettlementMonth{m.year, m.month - 1};
    auto group = [&prac](const char* number) -> std::optional<std::string> {
        if (!prac.Seek(number).ok() || !prac.found()) return std::nullopt;
        return prac.record().GetString(prac.FieldIndex("GRUPA_KAL"));
    };
    if (const auto g = group("000003")) {
        const int last = base::DaysInMonth(before.year, before.month);
        AddAbsence(tables, nieob, "000003", *g, "CH", before, before, last - 3, last, 4, 0, 80);
        AddAbsence(tables, nieob, "000003", *g, "CH", m, m, 1, 5, 5, 0, 80);
    }
    if (const auto g = group("000006")) {
        const int days = WeekDays(m.year, m.month, 10, 14);
        AddAbsence(tables, nieob, "000006", *g, "UW", m, m, 10, 14, days, 8.0 * days, 0);
    }
    if (const auto g = group("000010"))
        AddAbsence(tables, nieob, "000010", *g, "ZC", m, m, 17, 18, 2, 0, 80);
}

}  // namespace

base::Status AddDemoWorkingTime(const std::string& dir, const base::Clock& clock) {
    console::HeadlessBackend backend;
    console::Console con(backend);
    common::Runtime rt(con, clock);
    rt.ResetWorkingDate();
    rt.set_data_dir(dir.empty() || dir.back() == '/' ? dir : dir + "/");
    try {
        common::Tables tables(rt);
        dbf::WorkArea& rob = tables.Open("PKROB", {"PKROB1", "PKROB2"});
        if (rob.table().record_count() > 0) return base::Status::Ok();
        for (const DemoCode& c : kCodes) {
            tables.Append(rob);
            Set(rob, "KOD_OB", c.code);
            Set(rob, "NAZWA_", c.name);
            Set(rob, "TYP_", c.type);
            rob.record().SetNumber(rob.FieldIndex("SEKW_OBL"), c.order);
            rob.record().SetLogical(rob.FieldIndex("DRUK_"), true);
            if (*c.formula != '\0') rob.WriteMemo(rob.FieldIndex("ALGORYTM_"), c.formula);
            rob.Commit();
            rob.Unlock();
        }
        dbf::WorkArea& sbrg = tables.Open("PKSBRG", {"PKSBRG1"});
        if (sbrg.table().record_count() == 0) {
            tables.Append(sbrg);
            Set(sbrg, "BRYGADA_", "01");
            Set(sbrg, "NAZWA_", "Brygada produkcyjna");
            sbrg.Commit();
            sbrg.Unlock();
        }
        dbf::WorkArea& ster = tables.Open("PKSTER");
        if (ster.table().record_count() == 0) {
            const base::LocalTime now = clock.Now();
            tables.Append(ster);
            ster.record().SetNumber(ster.FieldIndex("ROK_"), now.year);
            ster.record().SetNumber(ster.FieldIndex("MC_"), now.month);
            ster.Commit();
            ster.Unlock();
        }
        const worktime::SettlementMonth month = worktime::ReadSettlementMonth(rt, tables);
        worktime::TimeLines lines(rt, tables, month);
        dbf::WorkArea& prac = tables.Open("PKPRAC", {"PKPRAC1"});
        for (const DemoHours& h : kHours) {
            if (!prac.Seek(h.number).ok() || !prac.found()) continue;
            const std::string group = prac.record().GetString(prac.FieldIndex("GRUPA_KAL"));
            const std::string nazwx = prac.record().GetString(prac.FieldIndex("NAZWX_"));
            const std::pair<const char*, double> entered[] = {
                {"NORM", h.norm}, {"N50", h.n50}, {"N100", h.n100}, {"GNOC", h.night}};
            for (const auto& [code, hours] : entered)
                if (hours > 0) lines.Write(h.number, code, "", group, hours, true);
            if (h.brigade) lines.SetBrigade(h.number, "01", nazwx);
        }
        AddDemoAbsences(tables, prac, month);
        std::string failed;
        worktime::ComputeMonth(rt, tables, "",
                               [&](const std::string&, const std::string& m) { failed = m; });
        if (!failed.empty()) return base::Status::InvalidArgument(codepage::ToUtf8(failed));
    } catch (const common::Abandon& e) {
        return base::Status::IOError(codepage::ToUtf8(e.message()));
    }
    return base::Status::Ok();
}

}  // namespace kestrel::tools
