// The functions of employment: monthly pay records, open lists, the loan
// fund, PPK rates and the writing of extended attributes; the calendar
// functions are in employment_calendar.cpp.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/checks/scramble.h"
#include "payroll/data/employment_support.h"
#include "payroll/data/payroll_functions.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/formula/number_format.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace employment {

using formula::Call;
using formula::Value;

bool Fail(PayrollHost& host, Call& c, std::string_view utf8) {
    return c.Fail(formula::Error::Host(host.rt().Text(utf8)));
}

bool HasTable(PayrollHost& host, std::string_view table) {
    return host.TableExists(table);
}

double Divide(double a, double b) {
    return b == 0 ? 0 : a / b;
}
double Fraction(double l, double m) {
    return Divide(l, m);
}

worktime::SettlementMonth SystemMonth(PayrollHost& host) {
    AreasAsFound keep(host.tables().workspace());
    if (dbf::WorkArea* ster = host.tables().workspace().Find("PKSTER")) keep.Touch(ster);
    return worktime::ReadSettlementMonth(host.rt(), host.tables());
}

worktime::SettlementMonth Back(const worktime::SettlementMonth& m, int n) {
    const base::YearMonth ym = base::AddMonths(base::YearMonth{m.year, m.month}, -n);
    return {ym.year, ym.month};
}

Person ReadPerson(PayrollHost& host) {
    Person p;
    p.number = host.employee();
    if (!HasTable(host, "PKPRAC")) return p;
    AreasAsFound keep(host.tables().workspace());
    dbf::WorkArea& prac = keep.Touch(worktime::OpenOnce(host.tables(), "PKPRAC", {"PKPRAC1"}));
    worktime::OrderBy(prac, "PKPRAC1");
    if (!prac.Seek(p.number).ok() || !prac.found() || prac.eof()) return p;
    const dbf::Record& r = prac.record();
    auto text = [&](const char* f) { return r.GetString(prac.FieldIndex(f)); };
    auto date = [&](const char* f) { return base::DateOfDbfText(r.GetDate(prac.FieldIndex(f))); };
    auto logical = [&](const char* f) { return r.GetLogical(prac.FieldIndex(f)); };
    p.found = true;
    p.group = text("GRUPA_KAL");
    p.hired = date("DATA_ZATR");
    p.dismissed = date("DATA_ZWOLN");
    p.born = date("DATA_URODZ");
    p.sex = base::Trim(text("PLEC_"));
    p.retirement = base::Trim(text("TYTUL_EMER"));
    p.legal_person = logical("OS_PRAWNA");
    p.non_staff = logical("NIE_PRAC");
    p.etat_l = r.GetNumber(prac.FieldIndex("ETAT_L"));
    p.etat_m = r.GetNumber(prac.FieldIndex("ETAT_M"));
    p.identity = base::Trim(common::Unscramble(common::ScrambleKind::kIdentity, text("PESELX_")));
    return p;
}

}  // namespace employment

namespace {

using employment::Fail;
using employment::HasTable;
using employment::SystemMonth;
using formula::Call;
using formula::Value;

// The fields of WYNAGR's array, in its order; "" is element 6 (whether the
// record exists).
constexpr const char* kPayFields[21] = {
    "DN_PRZEPR", "DN_NOMIN",  "WYNAGR_",    "PRZEL_WYN",  "AKTYWN_",    "",           "ROK_",
    "MC_",       "DN_DO_URL", "WYN_DO_URL", "STA_DO_URL", "SKL_ST_URL", "PREMIA_KW",  "PREMIA_RO",
    "REZ_1",     "REZ_2",     "REZ_3",      "ZUS_PRZEPR", "ZUS_NOMIN",  "GDZ_DO_URL", "ETAT_"};

Value FieldValue(dbf::WorkArea& a, int f, bool exists) {
    const dbf::Field& def = a.table().fields()[static_cast<size_t>(f)];
    if (def.type == dbf::FieldType::kLogical)
        return Value::Logical(exists && a.record().GetLogical(f));
    return Value::Number(exists ? a.record().GetNumber(f) : 0, def.decimals);
}

// WYNAGR(n[, m])
bool Wynagr(PayrollHost& host, Call& c) {
    int back = 0;
    if (!c.Arg(0).IsNil()) {
        if (!c.Arg(0).IsNumber()) return Fail(host, c, "Błędny argument 1 funkcji WYNAGR()");
        if (c.Arg(0).number() < 0) return Fail(host, c, "Błędny zakres arg.1 funkcji WYNAGR()");
        back = static_cast<int>(std::min(c.Arg(0).number(), 12000.0));
    }
    int element = 0;
    if (!c.Arg(1).IsNil()) {
        if (!c.Arg(1).IsNumber()) return Fail(host, c, "Błędny argument 2 funkcji WYNAGR()");
        const double m = std::floor(c.Arg(1).number());
        if (m < 1 || m > 21) return Fail(host, c, "Błędny zakres arg.2 funkcji WYNAGR()");
        element = static_cast<int>(m);
    }
    Value out = Value::NewArray(c.rt.arrays(), 21);
    std::vector<Value>& items = out.items();
    if (!HasTable(host, "PKWYNAG")) {
        for (size_t i = 0; i < 21; ++i)
            items[i] = i == 4 || i == 5 ? Value::Logical(false) : Value::Number(0);
    } else {
        const worktime::SettlementMonth m = employment::Back(SystemMonth(host), back);
        AreasAsFound keep(host.tables().workspace());
        dbf::WorkArea& a = keep.Touch(worktime::OpenOnce(host.tables(), "PKWYNAG", {"PKWYNAG2"}));
        worktime::OrderBy(a, "PKWYNAG2");
        char key[32];
        std::snprintf(key, sizeof key, "%s%4d%02d", host.employee().c_str(), m.year, m.month);
        const bool exists = a.Seek(key).ok() && a.found() && !a.eof();
        for (size_t i = 0; i < 21; ++i)
            items[i] = i == 5 ? Value::Logical(exists)
                              : FieldValue(a, a.FieldIndex(kPayFields[i]), exists);
    }
    c.result = element == 0 ? out : items[static_cast<size_t>(element - 1)];
    return true;
}

// SYMPAKTLP([wsk])
bool Sympaktlp(PayrollHost& host, Call& c) {
    const bool all = !c.Arg(0).IsNil() && !(c.Arg(0).IsLogical() && !c.Arg(0).logical());
    Value keys = Value::NewArray(c.rt.arrays());
    c.result = all ? keys : Value::String("");
    if (!HasTable(host, "PKLISTY")) return true;
    AreasAsFound keep(host.tables().workspace());
    dbf::WorkArea& a = keep.Touch(worktime::OpenOnce(host.tables(), "PKLISTY", {"PKLISTY2"}));
    worktime::OrderBy(a, "PKLISTY2");
    const int open = a.FieldIndex("WSK_AKTYWN"), year = a.FieldIndex("ROK_LST"),
              type = a.FieldIndex("TYP_LST"), nr = a.FieldIndex("NR_LST");
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip(1)) {
        const dbf::Record& r = a.record();
        if (!r.GetLogical(open)) break;
        const std::string key =
            r.GetString(year) + r.GetString(type) + formula::FormatNumber(r.GetNumber(nr), 4, 0);
        if (!all) {
            c.result = Value::String(key);
            return true;
        }
        keys.items().push_back(Value::String(key));
    }
    return true;
}

std::string Type2(const std::string& typ) {
    std::string t = typ.substr(0, std::min<size_t>(typ.size(), 2));
    t.resize(2, ' ');
    return t;
}

// RATA(typ)
bool Rata(PayrollHost& host, Call& c) {
    c.result = Value::Number(0, 2);
    if (!host.rt().config().Logical("NAGLKWP")) return true;
    if (!c.Arg(0).IsString()) return Fail(host, c, "Błędny argument funkcji RATA()");
    if (!HasTable(host, "PKPOZYC")) return true;
    AreasAsFound keep(host.tables().workspace());
    dbf::WorkArea& a = keep.Touch(worktime::OpenOnce(host.tables(), "PKPOZYC", {"PKPOZYC1"}));
    worktime::OrderBy(a, "PKPOZYC1");
    const std::string prefix = host.employee() + Type2(c.Arg(0).str());
    const int nr = a.FieldIndex("NR_PRAC"), type = a.FieldIndex("TYTUL_"),
              rata = a.FieldIndex("KWOTA_RATY");
    for (base::Status s = a.Seek(prefix); s.ok() && !a.eof(); s = a.Skip(1)) {
        const dbf::Record& r = a.record();
        if (std::string(r.Raw(nr)) + std::string(r.Raw(type)) != prefix) break;
        c.result = Value::Number(r.GetNumber(rata), 2);  // the last one stays
    }
    return true;
}

// WKLADY(typ[, sw]) and ZADLUZ(typ[, sw]): the balance of the system month
// with the month's transactions of the kind.
bool Balance(PayrollHost& host, Call& c, bool debt) {
    c.result = Value::Number(0, 2);
    if (!host.rt().config().Logical("NAGLKWP")) return true;
    if (!c.Arg(0).IsString())
        return Fail(host, c,
                    debt ? "Błędny argument funkcji ZADLUZ()" : "Błędny argument funkcji WKLADY()");
    const bool automatic = c.Arg(1).IsLogical() && c.Arg(1).logical();
    const worktime::SettlementMonth m = SystemMonth(host);
    const std::string type = Type2(c.Arg(0).str());
    char head[32];
    std::snprintf(head, sizeof head, "%s%4d%02d", host.employee().c_str(), m.year, m.month);
    AreasAsFound keep(host.tables().workspace());
    double sum = 0;
    if (HasTable(host, "PKKSTNY")) {
        dbf::WorkArea& a = keep.Touch(worktime::OpenOnce(host.tables(), "PKKSTNY", {"PKKSTNY1"}));
        worktime::OrderBy(a, "PKKSTNY1");
        if (a.Seek(head + type).ok() && a.found() && !a.eof())
            sum += a.record().GetNumber(a.FieldIndex(debt ? "ZADLUZ_" : "WKLADY_"));
    }
    if (HasTable(host, "PKTRANS")) {
        dbf::WorkArea& a = keep.Touch(worktime::OpenOnce(host.tables(), "PKTRANS", {"PKTRANS1"}));
        worktime::OrderBy(a, "PKTRANS1");
        const int nr = a.FieldIndex("NR_PRAC"), year = a.FieldIndex("ROK_"),
                  month = a.FieldIndex("MC_"), tytul = a.FieldIndex("TYTUL_"),
                  in = a.FieldIndex("WPLATA_"), out = a.FieldIndex("WYPLATA_"),
                  loan = a.FieldIndex("POZ_WKLAD"), auto_ = a.FieldIndex("AUTOMAT_");
        for (base::Status s = a.Seek(head + type); s.ok() && !a.eof(); s = a.Skip(1)) {
            const dbf::Record& r = a.record();
            if (r.Raw(nr) != host.employee() || r.GetNumber(year) != m.year ||
                r.GetNumber(month) != m.month || r.Raw(tytul) != type)
                break;
            if (r.GetLogical(loan) != debt || (r.GetLogical(auto_) && !automatic)) continue;
            sum += debt ? r.GetNumber(out) - r.GetNumber(in) : r.GetNumber(in) - r.GetNumber(out);
        }
    }
    c.result = Value::Number(sum, 2);
    return true;
}

// PPK rates: the participant's record found by the employee's identity
// number; 0 without one, when not enrolled or after resignation.
enum class Rate {
    kEmployerBasic,
    kEmployerExtra,
    kEmployeeBasic,
    kEmployeeReduced,
    kEmployeeExtra
};

bool PpkRate(PayrollHost& host, Call& c, Rate rate) {
    c.result = Value::Number(0, 2);
    if (!HasTable(host, "PKJPRAC")) return true;
    const employment::Person p = employment::ReadPerson(host);
    if (p.identity.empty()) return true;
    AreasAsFound keep(host.tables().workspace());
    dbf::WorkArea& a = keep.Touch(worktime::OpenOnce(host.tables(), "PKJPRAC", {"PKJPRAC1"}));
    worktime::OrderBy(a, "PKJPRAC1");
    if (!a.Seek(p.identity).ok() || !a.found() || a.eof()) return true;
    const dbf::Record& r = a.record();
    if (!r.GetLogical(a.FieldIndex("ZGLOSZ_")) || r.GetLogical(a.FieldIndex("REZYGN_")))
        return true;
    double v = 0;
    switch (rate) {
        case Rate::kEmployerBasic:
            v = 1.5;
            break;
        case Rate::kEmployerExtra:
            v = std::clamp(r.GetNumber(a.FieldIndex("PROC_DOD")), 0.0, 2.5);
            break;
        case Rate::kEmployeeBasic:
            v = 2;
            break;
        case Rate::kEmployeeReduced: {
            const double x = r.GetNumber(a.FieldIndex("PRC_OB_PRA"));
            v = x >= 0.5 && x <= 2 ? x : 2;
            break;
        }
        case Rate::kEmployeeExtra:
            v = std::clamp(r.GetNumber(a.FieldIndex("PRC_DO_PRA")), 0.0, 2.0);
            break;
    }
    c.result = Value::Number(v, 2);
    return true;
}

}  // namespace

void RegisterEmploymentFunctions(PayrollHost& host) {
    formula::Runtime& e = host.engine();
    PayrollHost* h = &host;
    e.RegisterFunction("WYNAGR", [h](Call& c) { return Wynagr(*h, c); });
    e.RegisterFunction("SYMPAKTLP", [h](Call& c) { return Sympaktlp(*h, c); });
    e.RegisterFunction("RATA", [h](Call& c) { return Rata(*h, c); });
    e.RegisterFunction("WKLADY", [h](Call& c) { return Balance(*h, c, false); });
    e.RegisterFunction("ZADLUZ", [h](Call& c) { return Balance(*h, c, true); });
    e.RegisterFunction("ZAPRSTR", [h](Call& c) { return employment::WriteAttribute(*h, c); });
    e.RegisterFunction("PSPZ0", [h](Call& c) { return PpkRate(*h, c, Rate::kEmployerBasic); });
    e.RegisterFunction("PSDZ0", [h](Call& c) { return PpkRate(*h, c, Rate::kEmployerExtra); });
    e.RegisterFunction("PSPP0", [h](Call& c) { return PpkRate(*h, c, Rate::kEmployeeBasic); });
    e.RegisterFunction("PSPP1", [h](Call& c) { return PpkRate(*h, c, Rate::kEmployeeReduced); });
    e.RegisterFunction("PSDP0", [h](Call& c) { return PpkRate(*h, c, Rate::kEmployeeExtra); });
    employment::RegisterCalendarFunctions(host);
}

}  // namespace kestrel::payroll
