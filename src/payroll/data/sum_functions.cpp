// The sums of components: over the context vectors, the positions of
// PKPLACE (one employee's, through an index), the same-identity group and
// the annual contribution ceiling with the previous year's archive.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "payroll/data/payroll_functions.h"
#include "payroll/data/payroll_host.h"
#include "payroll/data/sum_functions_support.h"
#include "platform/base/dates.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll {
namespace sums {

using formula::Call;
using formula::Value;

bool Fail(common::Runtime& rt, Call& c, std::string_view utf8) {
    return c.Fail(formula::Error::Host(rt.Text(utf8)));
}

std::string Symbol4(std::string_view s) {
    std::string out = base::Cp852Upper(base::TrimRight(s));
    out.resize(4, ' ');
    return out;
}

void Register(PayrollHost& host, std::string_view name, std::function<bool(Call&)> fn) {
    dbf::Workspace& ws = host.tables().workspace();
    host.engine().RegisterFunction(name, [&ws, fn = std::move(fn)](Call& c) {
        // Opening a table selects its area: the selection is put back
        // whatever the function opened.
        AreasAsFound keep(ws);
        return fn(c);
    });
}

bool SumTables::Has(const std::string& table) {
    auto it = has_.find(table);
    if (it != has_.end()) return it->second;
    const bool has = host_.tables().workspace().Find(table) != nullptr ||
                     base::Exists(base::FindNoCase(rt().data_dir(), table + ".DBF"));
    has_[table] = has;
    return has;
}

dbf::WorkArea& SumTables::Open(std::string_view table, const std::vector<std::string>& indexes) {
    return worktime::OpenOnce(host_.tables(), table, indexes);
}

dbf::WorkArea& SumTables::Place(AreasAsFound& keep, std::string_view index) {
    static const std::vector<std::string> kIndexes = {"PKPLACE1", "PKPLACE2", "PKPLACE3",
                                                      "PKPLACE4", "PKPLACE5", "PKPLACE6"};
    dbf::WorkArea& a = keep.Touch(Open("PKPLACE", kIndexes));
    worktime::OrderBy(a, index);
    return a;
}

dbf::WorkArea& SumTables::Ordered(AreasAsFound& keep, std::string_view table,
                                  std::string_view index) {
    dbf::WorkArea& a = keep.Touch(Open(table, {std::string(index)}));
    worktime::OrderBy(a, index);
    return a;
}

YearMonth SumTables::SystemMonth() {
    if (!system_read_) {
        AreasAsFound keep(host_.tables().workspace());
        const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt(), host_.tables());
        system_ = {m.year, m.month};
        system_read_ = true;
    }
    return system_;
}

const std::set<std::string>& SumTables::Cumulative() {
    if (cumulative_read_) return cumulative_;
    cumulative_read_ = true;
    if (!Has("PKRDOCH")) return cumulative_;
    AreasAsFound keep(host_.tables().workspace());
    dbf::WorkArea& a = Ordered(keep, "PKRDOCH", "PKRDOCH1");
    const int type = a.FieldIndex("TYTUL_WYP"), kumul = a.FieldIndex("KUMUL_");
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip(1))
        if (a.record().GetLogical(kumul))
            cumulative_.insert(base::Trim(a.record().GetString(type)));
    return cumulative_;
}

dbf::WorkArea* SumTables::Archive(AreasAsFound& keep, int year) {
    dbf::WorkArea* a = keep.Touch(host_.ArchivedPositions(year));
    if (a != nullptr) worktime::OrderBy(*a, "PKPLACE6");
    return a;
}

const std::vector<std::string>& SumTables::Names() {
    const formula::SlotLayout& slots = host_.engine().slots();
    if (names_of_ != slots.size()) {
        names_.clear();
        for (size_t i = 0; i < slots.size(); ++i) names_.push_back(slots.Name(static_cast<int>(i)));
        names_of_ = slots.size();
    }
    return names_;
}

}  // namespace sums

namespace {

using formula::Call;
using formula::Value;
using sums::Fail;
using sums::Register;
using sums::SumTables;
using sums::Symbol4;

// The fields of PKPLACE the sums read (the layout is the catalogue's).
struct PlaceFields {
    int year, type, nr, month, paid, prac, skl, amount, blocked, transferred;
    explicit PlaceFields(const dbf::WorkArea& a)
        : year(a.FieldIndex("ROK_LST")),
          type(a.FieldIndex("TYP_LST")),
          nr(a.FieldIndex("NR_LST")),
          month(a.FieldIndex("MC_LST")),
          paid(a.FieldIndex("DATA_WYP")),
          prac(a.FieldIndex("NR_PRAC")),
          skl(a.FieldIndex("SKLADN_PL")),
          amount(a.FieldIndex("KWOTA_")),
          blocked(a.FieldIndex("NIE_ALG")),
          transferred(a.FieldIndex("AKT_DOCH")) {}

    // rok_lst+typ_lst+str(nr_lst,4) of the record.
    std::string ListKey(const dbf::Record& r) const {
        return std::string(r.Raw(year)) + std::string(r.Raw(type)) +
               StrN(static_cast<int>(r.GetNumber(nr)), 4);
    }
};

// str(year(data_wyp),4)+nr_prac+skladn_pl of a record.
auto YearKey(const PlaceFields& f) {
    return [&f](const dbf::Record& r) {
        return std::string(r.Raw(f.paid)).substr(0, 4) + std::string(r.Raw(f.prac)) +
               std::string(r.Raw(f.skl));
    };
}

// Calls `each` for the records of `a` (ordered already) from the seek of
// `prefix` while their key begins with it; `key` gives a record's key head
// of the prefix's length.
template <typename Key, typename Each>
void Walk(dbf::WorkArea& a, const std::string& prefix, Key key, Each each) {
    for (base::Status s = a.Seek(prefix); s.ok() && !a.eof(); s = a.Skip(1)) {
        if (key(a.record()) != prefix) break;
        each(a.record());
    }
}

// m of SUMASKLAD and the others: a text or an array of texts. False after
// failing the call.
bool Masks(common::Runtime& rt, Call& c, const Value& m, const char* fn, std::vector<Mask>* out) {
    if (m.IsString()) {
        out->emplace_back(m.str());
        return true;
    }
    if (!m.IsArray()) return Fail(rt, c, std::string("Błędny argument 1 funkcji ") + fn);
    for (const Value& e : m.items()) {
        if (!e.IsString()) return Fail(rt, c, std::string("Błędny element arg.1  ") + fn);
        out->emplace_back(e.str());
    }
    return true;
}

// i of SUMASKLAD and SUMASKLDTW: a number not below 0.
bool MonthsBack(common::Runtime& rt, Call& c, const Value& i, const char* fn, int* out) {
    if (!i.IsNumber()) return Fail(rt, c, std::string("Błędny argument 2 funkcji ") + fn);
    if (i.number() < 0) return Fail(rt, c, std::string("Błędna wart.arg.2 funkcji ") + fn);
    *out = static_cast<int>(i.number());
    return true;
}

bool Zero(Call& c) {
    c.result = Value::Number(0, 2);
    return true;
}

bool Sum(Call& c, double v) {
    c.result = Value::Number(v, 2);
    return true;
}

class ComponentSums {
  public:
    explicit ComponentSums(std::shared_ptr<SumTables> t) : t_(std::move(t)), host_(t_->host()) {}

    bool Sumasklad(Call& c) {
        const Value& m = c.Arg(0);
        if (m.IsNil()) return Zero(c);
        std::vector<Mask> masks;
        if (!Masks(rt(), c, m, "SUMASKLAD", &masks)) return false;
        if (c.Arg(1).IsNil()) {
            if (host_.employee().empty()) return Zero(c);
            const ContextId context = host_.context();
            double sum = 0;
            for (const std::string& name : t_->Names())
                if (MatchesAny(masks, name)) sum += host_.Amount(context, name);
            return Sum(c, sum);
        }
        int back = 0;
        if (!MonthsBack(rt(), c, c.Arg(1), "SUMASKLAD", &back)) return false;
        if (!HavePositions()) return Zero(c);
        const YearMonth month = t_->SystemMonth().Back(back);
        AreasAsFound keep(host_.tables().workspace());
        dbf::WorkArea& a = t_->Place(keep, "PKPLACE2");
        const PlaceFields f(a);
        const std::string list = host_.list().Key();
        double sum = 0;
        Walk(
            a, Yyyymm(month) + employee(),
            [&](const dbf::Record& r) {
                return std::string(r.Raw(f.year)) + std::string(r.Raw(f.month)) +
                       std::string(r.Raw(f.prac));
            },
            [&](const dbf::Record& r) {
                if (back == 0 && f.ListKey(r) == list) return;
                if (MatchesAny(masks, r.Raw(f.skl))) sum += r.GetNumber(f.amount);
            });
        return Sum(c, sum);
    }

    bool Sumaskldtw(Call& c) {
        const Value& m = c.Arg(0);
        if (m.IsNil() || !HavePositions()) return Zero(c);
        std::vector<Mask> masks;
        if (!Masks(rt(), c, m, "SUMASKLDTW", &masks)) return false;
        int back = 0;
        if (!MonthsBack(rt(), c, c.Arg(1), "SUMASKLDTW", &back)) return false;
        AreasAsFound keep(host_.tables().workspace());
        dbf::WorkArea& a = t_->Place(keep, "PKPLACE5");
        const PlaceFields f(a);
        const std::string list = host_.list().Key();
        double sum = 0;
        ByPaymentMonth(a, f, host_.payment_month().Back(back), employee(),
                       [&](const dbf::Record& r) {
                           if (back == 0 && f.ListKey(r) == list) return;
                           if (MatchesAny(masks, r.Raw(f.skl))) sum += r.GetNumber(f.amount);
                       });
        return Sum(c, sum);
    }

    bool Sumabiez(Call& c) {
        const Value& m = c.Arg(0);
        if (m.IsNil()) return Zero(c);
        if (!m.IsString()) return Fail(rt(), c, "Błędny argument funkcji SUMABIEZ()");
        const Mask mask(m.str());
        if (mask.single()) return InMemory(c, mask.text());
        if (!HavePositions()) return Zero(c);
        AreasAsFound keep(host_.tables().workspace());
        dbf::WorkArea& a = t_->Place(keep, "PKPLACE1");
        const PlaceFields f(a);
        double sum = 0;
        Walk(
            a, host_.list().Key() + employee(),
            [&](const dbf::Record& r) { return f.ListKey(r) + std::string(r.Raw(f.prac)); },
            [&](const dbf::Record& r) {
                if (mask.Matches(r.Raw(f.skl))) sum += r.GetNumber(f.amount);
            });
        return Sum(c, sum);
    }

    bool Sxsklnp(Call& c) {
        const Value& m = c.Arg(0);
        if (m.IsNil() || !HavePositions()) return Zero(c);
        if (!m.IsString()) return Fail(rt(), c, "Błędny argument funkcji SXSKLNP");
        const Mask mask(m.str());
        AreasAsFound keep(host_.tables().workspace());
        dbf::WorkArea& a = t_->Place(keep, "PKPLACE5");
        const PlaceFields f(a);
        const std::string list = host_.list().Key();
        double sum = 0;
        for (int back : {1, 0})
            ByPaymentMonth(a, f, host_.payment_month().Back(back), employee(),
                           [&](const dbf::Record& r) {
                               if (r.GetLogical(f.transferred) || !mask.Matches(r.Raw(f.skl)))
                                   return;
                               if (back == 0 && f.ListKey(r) == list) return;
                               sum += r.GetNumber(f.amount);
                           });
        return Sum(c, sum);
    }

    bool Sklbiezpes(Call& c) {
        const Value& skl = c.Arg(0);
        if (skl.IsNil()) return Zero(c);
        if (!skl.IsString()) return Fail(rt(), c, "Błędny argument funkcji SKLBIEZPES()");
        const std::string symbol = Symbol4(skl.str());
        if (!InMemory(c, symbol)) return false;
        double sum = c.result.number();
        if (HavePositions()) {
            AreasAsFound keep(host_.tables().workspace());
            dbf::WorkArea& a = t_->Place(keep, "PKPLACE1");
            const PlaceFields f(a);
            const std::vector<std::string> group = host_.pesel_groups().Of(employee());
            for (size_t g = 1; g < group.size(); ++g)
                Walk(
                    a, host_.list().Key() + group[g] + symbol,
                    [&](const dbf::Record& r) {
                        return f.ListKey(r) + std::string(r.Raw(f.prac)) +
                               std::string(r.Raw(f.skl));
                    },
                    [&](const dbf::Record& r) { sum += r.GetNumber(f.amount); });
        }
        return Sum(c, sum);
    }

    bool Sumapes(Call& c) {
        const Value& skl = c.Arg(0);
        if (skl.IsNil() || !HavePositions()) return Zero(c);
        if (!skl.IsString() || base::Trim(skl.str()).empty())
            return Fail(rt(), c, "Błędny argument 1 funkcji SUMAPES");
        if (host_.pesel_groups().IdentityOf(employee()).empty()) return Zero(c);
        const std::string symbol = Symbol4(skl.str());
        const bool computing = Symbol4(host_.computing()) == symbol;
        const std::string list = host_.list().Key();
        AreasAsFound keep(host_.tables().workspace());
        dbf::WorkArea& a = t_->Place(keep, "PKPLACE5");
        const PlaceFields f(a);
        const std::string month = Yyyymm(host_.payment_month());
        double sum = 0;
        for (const std::string& member : host_.pesel_groups().Of(employee()))
            Walk(
                a, month + member + symbol,
                [&](const dbf::Record& r) {
                    return std::string(r.Raw(f.paid)).substr(0, 6) + std::string(r.Raw(f.prac)) +
                           std::string(r.Raw(f.skl));
                },
                [&](const dbf::Record& r) {
                    if (computing && member == employee() && f.ListKey(r) == list) return;
                    sum += r.GetNumber(f.amount);
                });
        return Sum(c, sum);
    }

    bool Status(Call& c) {
        const Value& skl = c.Arg(0);
        if (skl.IsNil()) return Zero(c);
        if (!skl.IsString() || base::Trim(skl.str()).empty() ||
            base::TrimRight(skl.str()).size() > 4)
            return Fail(rt(), c, "Błędny argument funkcji STATUS()");
        c.result = Value::Logical(false);
        if (!HavePositions()) return true;
        AreasAsFound keep(host_.tables().workspace());
        dbf::WorkArea& a = t_->Place(keep, "PKPLACE2");
        const PlaceFields f(a);
        const std::string key =
            host_.list().year + host_.list().month + employee() + Symbol4(skl.str());
        if (a.Seek(key).ok() && a.found() && !a.eof())
            c.result = Value::Logical(a.record().GetLogical(f.blocked));
        return true;
    }

    bool Datalst(Call& c) {
        const Value& skl = c.Arg(0);
        if (!skl.IsString() || base::Trim(skl.str()).empty())
            return Fail(rt(), c, "Błędny argument funkcji DATALST()");
        c.result = Value::Date(0);
        if (!HavePositions()) return true;
        AreasAsFound keep(host_.tables().workspace());
        dbf::WorkArea& a = t_->Place(keep, "PKPLACE2");
        const PlaceFields f(a);
        const std::string key = Yyyymm(t_->SystemMonth()) + employee() + Symbol4(skl.str());
        bool done = false;
        Walk(
            a, key,
            [&](const dbf::Record& r) {
                return std::string(r.Raw(f.year)) + std::string(r.Raw(f.month)) +
                       std::string(r.Raw(f.prac)) + std::string(r.Raw(f.skl));
            },
            [&](const dbf::Record& r) {
                if (done || r.GetNumber(f.amount) == 0) return;
                c.result = Value::Date(base::JulianDay(base::DateOfDbfText(r.Raw(f.paid))));
                done = true;
            });
        return true;
    }

    // ZUSLIMIT (group false) and ZUSLIMIT2 (group true).
    bool Zuslimit(Call& c, bool group) {
        const Value& skl = c.Arg(0);
        if (skl.IsNil() || !HavePositions()) return Zero(c);
        if (!skl.IsString())
            return Fail(rt(), c,
                        group ? "Błędny argument 1 funkcji ZUSLIMIT2"
                              : "Błędny argument 1 funkcji ZUSLIMIT");
        const YearMonth paid = host_.payment_month();
        if (paid.year <= 0) return Zero(c);
        AreasAsFound keep(host_.tables().workspace());
        dbf::WorkArea& a = t_->Place(keep, "PKPLACE6");
        if (a.index_count() < 6) return Zero(c);
        const PlaceFields f(a);
        const std::string symbol = Symbol4(skl.str());
        const std::string list = host_.list().Key();
        const std::string last = Yyyymm(paid);
        const std::string year = StrN(paid.year, 4);
        dbf::WorkArea* archive = t_->Archive(keep, paid.year - 1);
        std::unique_ptr<PlaceFields> af;
        if (archive != nullptr) af = std::make_unique<PlaceFields>(*archive);
        const std::vector<std::string> members =
            group ? host_.pesel_groups().Of(employee()) : std::vector<std::string>{employee()};
        double sum = 0;
        for (const std::string& member : members) {
            Walk(a, year + member + symbol, YearKey(f), [&](const dbf::Record& r) {
                if (f.ListKey(r) == list) return;
                if (std::string(r.Raw(f.paid)).substr(0, 6) > last) return;
                sum += r.GetNumber(f.amount);
            });
            if (archive != nullptr)
                Walk(*archive, year + member + symbol, YearKey(*af),
                     [&](const dbf::Record& r) { sum += r.GetNumber(af->amount); });
        }
        return Sum(c, sum);
    }

  private:
    common::Runtime& rt() { return host_.rt(); }
    const std::string& employee() const { return host_.employee(); }
    bool HavePositions() { return t_->Has("PKPLACE") && !host_.employee().empty(); }

    // The employee's positions of one payment month (index 5).
    template <typename Each>
    void ByPaymentMonth(dbf::WorkArea& a, const PlaceFields& f, YearMonth month,
                        const std::string& number, Each each) {
        Walk(
            a, Yyyymm(month) + number,
            [&](const dbf::Record& r) {
                return std::string(r.Raw(f.paid)).substr(0, 6) + std::string(r.Raw(f.prac));
            },
            each);
    }

    // The value of `symbol` in A0: an error for a name outside the namespace.
    bool InMemory(Call& c, const std::string& symbol) {
        const std::string name = base::TrimRight(symbol);
        if (host_.Find(name) < 0)
            return c.Fail(formula::Error::Host(rt().Text("Błędny argument \"") + name + "\""));
        return Sum(c, host_.Amount({}, name));
    }

    std::shared_ptr<SumTables> t_;
    PayrollHost& host_;
};

}  // namespace

void RegisterSumFunctions(PayrollHost& host) {
    auto tables = std::make_shared<SumTables>(host);
    auto sums = std::make_shared<ComponentSums>(tables);
    Register(host, "SUMASKLAD", [sums](Call& c) { return sums->Sumasklad(c); });
    Register(host, "SUMASKLDTW", [sums](Call& c) { return sums->Sumaskldtw(c); });
    Register(host, "SUMABIEZ", [sums](Call& c) { return sums->Sumabiez(c); });
    Register(host, "SXSKLNP", [sums](Call& c) { return sums->Sxsklnp(c); });
    Register(host, "SKLBIEZPES", [sums](Call& c) { return sums->Sklbiezpes(c); });
    Register(host, "SUMAPES", [sums](Call& c) { return sums->Sumapes(c); });
    Register(host, "STATUS", [sums](Call& c) { return sums->Status(c); });
    Register(host, "DATALST", [sums](Call& c) { return sums->Datalst(c); });
    Register(host, "ZUSLIMIT", [sums](Call& c) { return sums->Zuslimit(c, false); });
    Register(host, "ZUSLIMIT2", [sums](Call& c) { return sums->Zuslimit(c, true); });
    sums::RegisterTaxRecordSums(host, tables);
}

}  // namespace kestrel::payroll
