// The sums of the tax records (PKDOCH by employee and payment month, index
// 3), of the exemptions granted (PKZPRAC) and of the pension-insurance bases
// (PKSKLAD), for the employee or his same-identity group.
//
// The PPK shift: with NAGLPPK20 the employer's contribution KW_PPK_ZAK of a
// record flagged PPK_ZAK_BM is income of the record's own month; that of an
// unflagged record is income of the month after, so the sums of earlier
// months take the unflagged contributions paid from the December before up
// to a month earlier.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "payroll/data/sum_functions_support.h"
#include "platform/base/text.h"

namespace kestrel::payroll::sums {
namespace {

using formula::Call;
using formula::Value;

// "YYYYMMDD" of the first day of a month.
std::string FirstDay(YearMonth m) {
    return Yyyymm(m) + "01";
}

struct DochFields {
    int prac, paid, type, ppk, flagged;
    explicit DochFields(const dbf::WorkArea& a)
        : prac(a.FieldIndex("NR_PRAC")),
          paid(a.FieldIndex("DATA_WYP")),
          type(a.FieldIndex("TYTUL_WYP")),
          ppk(a.FieldIndex("KW_PPK_ZAK")),
          flagged(a.FieldIndex("PPK_ZAK_BM")) {}
};

// The payment dates a sum takes ("YYYYMMDD"): from `from` to before `to`,
// or through `to`.
struct Range {
    std::string from;
    std::string to;
    bool through = false;

    bool Holds(const std::string& date) const {
        return date >= from && (through ? date <= to : date < to);
    }
};

class TaxSums {
  public:
    explicit TaxSums(std::shared_ptr<SumTables> t) : t_(std::move(t)), host_(t_->host()) {}

    // What the sum adds of each record: the amount fields, and how the
    // employer's PPK contribution counts.
    struct Of {
        std::vector<std::string> fields;
        bool cumulative_only = true;
    };

    // SUMADOCH-like: income of the payment year before the payment month
    // (`through_payment_date`: up to and including the payment date) with
    // the PPK shift.
    bool Income(Call& c, const Of& of, bool group, bool through_payment_date) {
        return Income(c, of, TypeArgument(c.Arg(0)), group, through_payment_date);
    }

    bool Income(Call& c, const Of& of, const std::string& type, bool group, bool through) {
        if (!Ready()) return Zero(c);
        const YearMonth paid = host_.payment_month();
        const Range year{StrN(paid.year, 4) + "0101", through ? host_.list().paid : FirstDay(paid),
                         through};
        // The shifted contributions: paid from the December before up to
        // the month before the payment month (through the payment date: up
        // to the payment month).
        const bool shift = rt().config().Logical("NAGLPPK20") && (through || paid.month > 1);
        const Range shifted{StrN(paid.year - 1, 4) + "1201",
                            FirstDay(through ? paid : paid.Back(1))};
        double sum = 0;
        for (const std::string& m : Members(group))
            Records(m, shift ? shifted : year, year, type, of.cumulative_only, of.fields,
                    [&](const dbf::Record& r, const std::string& date, double amounts,
                        const DochFields& f) {
                        const bool flagged = r.GetLogical(f.flagged);
                        if (year.Holds(date)) {
                            sum += amounts;
                            if (flagged) sum += r.GetNumber(f.ppk);
                        }
                        if (shift && !flagged && shifted.Holds(date)) sum += r.GetNumber(f.ppk);
                    });
        return Sum(c, sum);
    }

    // SUMAKOSZT-like: one field of cumulative records of the payment year
    // paid before the payment month, or (`until`) before / through the
    // payment date.
    enum class Until { kPaymentMonth, kBeforePaymentDate, kThroughPaymentDate };
    bool Plain(Call& c, const char* field, bool group, Until until, bool typed) {
        const std::string type = typed ? TypeArgument(c.Arg(0)) : std::string();
        if (!Ready()) return Zero(c);
        const YearMonth paid = host_.payment_month();
        Range r{StrN(paid.year, 4) + "0101",
                until == Until::kPaymentMonth ? FirstDay(paid) : host_.list().paid,
                until == Until::kThroughPaymentDate};
        double sum = 0;
        for (const std::string& m : Members(group))
            Records(m, r, r, type, true, {field},
                    [&](const dbf::Record&, const std::string& date, double amounts,
                        const DochFields&) {
                        if (r.Holds(date)) sum += amounts;
                    });
        return Sum(c, sum);
    }

    bool Sumalimit(Call& c) {
        const Value& s = c.Arg(0);
        if (s.IsNil()) return Zero(c);
        if (!s.IsString()) return Fail(rt(), c, "Błędny argument funkcji SUMALIMIT()");
        const std::string type = base::Trim(s.str());
        if (type.empty()) return Zero(c);
        return Income(c, Of{{"PRZYCHOD_"}, false}, type, false, false);
    }

    // SUMAPRZZW: exemptions granted in the payment year before the payment
    // date.
    bool Sumaprzzw(Call& c) {
        if (!Ready() || !t_->Has("PKZPRAC")) return Zero(c);
        const YearMonth paid = host_.payment_month();
        AreasAsFound keep(host_.tables().workspace());
        dbf::WorkArea& a = t_->Ordered(keep, "PKZPRAC", "PKZPRAC1");
        const int prac = a.FieldIndex("NR_PRAC"), date = a.FieldIndex("DATA_LIM"),
                  limit = a.FieldIndex("LIMIT_POD");
        const std::string year = StrN(paid.year, 4);
        double sum = 0;
        for (base::Status s = a.Seek(year + employee()); s.ok() && !a.eof(); s = a.Skip(1)) {
            const dbf::Record& r = a.record();
            const std::string when(r.Raw(date));
            if (when.substr(0, 4) != year || r.Raw(prac) != employee()) break;
            if (when < host_.list().paid) sum += r.GetNumber(limit);
        }
        return Sum(c, sum);
    }

    // SUMPODEMR: POD_EM_REN of the monthly contribution records of the
    // payment year before the payment month.
    bool Sumpodemr(Call& c) {
        if (!Ready() || !t_->Has("PKSKLAD")) return Zero(c);
        const YearMonth paid = host_.payment_month();
        AreasAsFound keep(host_.tables().workspace());
        dbf::WorkArea& a = t_->Ordered(keep, "PKSKLAD", "PKSKLAD2");
        const int prac = a.FieldIndex("NR_PRAC"), year = a.FieldIndex("ROK_"),
                  month = a.FieldIndex("MC_"), base_ = a.FieldIndex("POD_EM_REN");
        double sum = 0;
        for (base::Status s = a.Seek(StrN(paid.year, 4) + employee()); s.ok() && !a.eof();
             s = a.Skip(1)) {
            const dbf::Record& r = a.record();
            if (r.GetNumber(year) != paid.year || r.Raw(prac) != employee()) break;
            if (r.GetNumber(month) < paid.month) sum += r.GetNumber(base_);
        }
        return Sum(c, sum);
    }

  private:
    common::Runtime& rt() { return host_.rt(); }
    const std::string& employee() const { return host_.employee(); }

    // The records can be read: PKDOCH exists, an employee is loaded and the
    // list has a payment date.
    bool Ready() {
        return t_->Has("PKDOCH") && !employee().empty() && host_.payment_month().year > 0 &&
               host_.list().paid.size() == 8;
    }

    std::vector<std::string> Members(bool group) {
        if (!group) return {employee()};
        return host_.pesel_groups().Of(employee());
    }

    // The optional income type t: a text restricts to that type (trimmed;
    // blank restricts nothing; any other value is taken as no t).
    static std::string TypeArgument(const Value& t) {
        return t.IsString() ? base::Trim(t.str()) : std::string();
    }

    static bool Zero(Call& c) {
        c.result = Value::Number(0, 2);
        return true;
    }
    static bool Sum(Call& c, double v) {
        c.result = Value::Number(v, 2);
        return true;
    }

    // Calls `each` with the record, its payment date and the sum of its
    // `fields` for the records of `number` of income type `type` ("" any;
    // cumulative ones only when `cumulative_only`) paid from the earlier
    // `from` of the two ranges to the later end.
    template <typename Each>
    void Records(const std::string& number, const Range& a, const Range& b, const std::string& type,
                 bool cumulative_only, const std::vector<std::string>& fields, Each each) {
        AreasAsFound keep(host_.tables().workspace());
        dbf::WorkArea& area = t_->Ordered(keep, "PKDOCH", "PKDOCH3");
        const DochFields f(area);
        std::vector<int> amounts;
        for (const std::string& name : fields) amounts.push_back(area.FieldIndex(name));
        const std::set<std::string>& cumulative = t_->Cumulative();
        const std::string from = std::min(a.from, b.from);
        const std::string last = std::max(a.to, b.to).substr(0, 6);
        for (base::Status s = area.Seek(number + from.substr(0, 6), true); s.ok() && !area.eof();
             s = area.Skip(1)) {
            const dbf::Record& r = area.record();
            if (r.Raw(f.prac) != number) break;
            const std::string paid(r.Raw(f.paid));
            if (paid.substr(0, 6) > last) break;
            const std::string kind = base::Trim(r.Raw(f.type));
            if (!type.empty() && kind != type) continue;
            if (cumulative_only && cumulative.count(kind) == 0) continue;
            double sum = 0;
            for (int field : amounts)
                if (field >= 0) sum += r.GetNumber(field);
            each(r, paid, sum, f);
        }
    }

    std::shared_ptr<SumTables> t_;
    PayrollHost& host_;
};

}  // namespace

void RegisterTaxRecordSums(PayrollHost& host, std::shared_ptr<SumTables> tables) {
    auto s = std::make_shared<TaxSums>(std::move(tables));
    using Until = TaxSums::Until;
    const TaxSums::Of income{{"PRZYCHOD_"}, true};
    const TaxSums::Of with_insurance{{"PRZYCHOD_", "UBEZP_SPOL"}, true};
    Register(host, "SUMADOCH", [s, income](Call& c) { return s->Income(c, income, false, false); });
    Register(host, "SUMADOCH2", [s, income](Call& c) { return s->Income(c, income, true, false); });
    Register(host, "SXDOCH2", [s, income](Call& c) { return s->Income(c, income, true, true); });
    Register(host, "SXPRZY2",
             [s, with_insurance](Call& c) { return s->Income(c, with_insurance, true, true); });
    Register(host, "SUMAKOSZT",
             [s](Call& c) { return s->Plain(c, "KOSZT_UZ", false, Until::kPaymentMonth, true); });
    Register(host, "SUMAKOSZT2",
             [s](Call& c) { return s->Plain(c, "KOSZT_UZ", true, Until::kPaymentMonth, true); });
    Register(host, "SXKOSZT2", [s](Call& c) {
        return s->Plain(c, "KOSZT_UZ", true, Until::kThroughPaymentDate, true);
    });
    Register(host, "SUMAPOD",
             [s](Call& c) { return s->Plain(c, "PODATEK_", false, Until::kPaymentMonth, false); });
    Register(host, "SUMAULG",
             [s](Call& c) { return s->Plain(c, "ULGA_", false, Until::kPaymentMonth, false); });
    Register(host, "SUMAKONZW", [s](Call& c) {
        return s->Plain(c, "ZWOLN_", false, Until::kBeforePaymentDate, false);
    });
    Register(host, "SUMAPRZZW", [s](Call& c) { return s->Sumaprzzw(c); });
    Register(host, "SUMALIMIT", [s](Call& c) { return s->Sumalimit(c); });
    Register(host, "SUMPODEMR", [s](Call& c) { return s->Sumpodemr(c); });
}

}  // namespace kestrel::payroll::sums
