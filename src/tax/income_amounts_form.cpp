#include "tax/income_amounts_form.h"

#include <map>
#include <string>
#include <utility>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "platform/console/keys.h"

namespace kestrel::tax {
namespace {

namespace key = console::key;

// The amounts in the order of the form; the field index is the value.
enum Amount {
    kRevenue,
    kCosts,
    kTax,
    kRelief,
    kExemption,
    kNet,
    kSocial,
    kHealth,
    kCollected,
    kExempt,
    kExempt2,
    kExemptE,
    kUnion,
    kPpk,
    kAmountCount
};

constexpr int kLeftLabel = 2, kLeftValue = 38, kRightLabel = 51, kRightValue = 65;

struct AmountSpec {
    const char* label;  // UTF-8
    int row;            // from kAmountsTop
    bool right;         // on the right half of the row
    int width, decimals;
    const char* picture;
};

constexpr const char* kWide = "999999999.99";
constexpr AmountSpec kSpecs[kAmountCount] = {
    {"Przychód(bez ZUS-u):", 0, false, 12, 2, kWide},
    {"Koszt uzyskania przychodu:", 1, false, 12, 2, kWide},
    {"Podatek:", 2, false, 12, 2, kWide},
    {"Ulga:", 2, true, 9, 2, "999999.99"},
    {"Odjęta kwota zwolnienia od podatku:", 3, false, 12, 2, kWide},
    {"Podatek netto:", 3, true, 12, 2, kWide},
    {"Składka na ubezpieczenie społeczne:", 4, false, 12, 2, kWide},
    {"Odliczone ubezpieczenie zdrowotne:", 5, false, 12, 2, kWide},
    {"Pobrane ubezpieczenie zdrowotne:", 6, false, 12, 2, kWide},
    {"Dochód zwolniony z opodatkowania:", 7, false, 12, 2, kWide},
    {"Dochód zwolniony (2):", 8, false, 12, 2, kWide},
    {"Doch.zw.(kol.\"e\" część \"E\" PIT-11):", 9, false, 12, 2, kWide},
    {"Składka członk.na związek zawodowy:", 10, false, 12, 2, kWide},
    {"Składka PPK zakład:", 11, false, 12, 2, kWide},
};

class AmountsForm {
  public:
    AmountsForm(const AmountsContext& c, IncomeRecord* r)
        : c_(c), rt_(c.rt), r_(*r), plain_(rt_.Standard(rt_.colours().ycow)) {
        ApplyRules(c_.rules, &r_);
        net_ = NetTax(r_);
        collected_ = CollectedHealth(r_);
    }

    void Show() {
        auto& s = rt_.screen();
        for (int a = 0; a < kAmountCount; ++a) {
            if (a == kPpk && !c_.rules.ppk) continue;
            const AmountSpec& spec = kSpecs[a];
            s.Write(kAmountsTop + spec.row, spec.right ? kRightLabel : kLeftLabel,
                    rt_.Text(spec.label), plain_);
        }
        common::Form form(rt_);
        Declare(form);
        form.Display();
    }

    bool Enter() {
        Show();
        ClearWarning();
        int start = 0;
        for (;;) {
            common::Form form(rt_);
            Declare(form);
            common::ReadResult result;
            {
                const common::HotKeysAside aside(rt_, {key::F(7)});
                auto& kb = rt_.console().keyboard();
                kb.Bind(key::F(7), [this, &form, &kb] {
                    if (pending_ < 0 || pending_ != form.current()) return;
                    accept_next_ = true;
                    kb.Push(key::kEnter);
                });
                rt_.screen().Clear(0, 0, 0, console::kCols - 1, plain_);
                result = form.Read(start);
                common::ShowWait(rt_);
                common::ClearMessageRow(rt_);
            }
            ClearWarning();
            if (!result.saved()) return false;
            start = FirstWarned();
            if (start < 0) return true;
        }
    }

  private:
    bool Allowed(int a) const {
        switch (a) {
            case kCosts:
                return c_.rules.costs;
            case kTax:
                return c_.rules.tax && !c_.rules.net_entry;
            case kRelief:
                return c_.rules.tax;
            case kExemption:
                return c_.rules.exemption;
            case kNet:
                return c_.rules.net_entry;
            default:
                return true;
        }
    }

    double* Variable(int a) {
        switch (a) {
            case kRevenue:
                return &r_.revenue;
            case kCosts:
                return &r_.costs;
            case kTax:
                return &r_.tax;
            case kRelief:
                return &r_.relief;
            case kExemption:
                return &r_.exemption;
            case kNet:
                return &net_;
            case kSocial:
                return &r_.social;
            case kHealth:
                return &r_.health;
            case kCollected:
                return &collected_;
            case kExempt:
                return &r_.exempt;
            case kExempt2:
                return &r_.exempt_2;
            case kExemptE:
                return &r_.exempt_e;
            case kUnion:
                return &r_.union_dues;
            default:
                return &r_.ppk_employer;
        }
    }

    // The warning field `a` gives for the values as they stand ("" none).
    std::string Warning(int a) {
        switch (a) {
            case kRevenue: {
                const double so_far =
                    c_.limit > 0 ? c_.store.RevenueSoFar(r_.employee, r_.kind, r_.paid, c_.self)
                                 : 0;
                return RevenueWarning(r_.revenue, so_far + r_.revenue, c_.limit);
            }
            case kCosts:
                return c_.rules.costs ? CostsWarning(r_.revenue, r_.costs) : "";
            case kTax:
            case kNet:
                return c_.rules.tax ? TaxWarning(r_.revenue, r_.costs, r_.tax) : "";
            default:
                return "";
        }
    }

    // Recomputes what follows from field `a`.
    void Follow(int a) {
        switch (a) {
            case kTax:
            case kRelief:
            case kExemption:
            case kNet:
                if (c_.rules.net_entry)
                    SetNetTax(&r_, net_);
                else
                    net_ = NetTax(r_);
                break;
            case kHealth:
            case kCollected:
                SetCollectedHealth(&r_, collected_);
                break;
            default:
                break;
        }
    }

    // The field whose warning stands and was not accepted for its value;
    // -1 when none.
    int FirstWarned() {
        for (int a : {kRevenue, kCosts, c_.rules.net_entry ? kNet : kTax}) {
            if (!Allowed(a)) continue;
            const std::string w = Warning(a);
            if (!w.empty() && !Accepted(a, w)) return a;
        }
        return -1;
    }

    bool Accepted(int a, const std::string& warning) {
        const auto it = accepted_.find(a);
        return it != accepted_.end() && it->second.first == warning &&
               it->second.second == *Variable(a);
    }

    bool Check(common::Form& form, int a) {
        Follow(a);
        form.Display();
        const std::string w = Warning(a);
        if (w.empty() || Accepted(a, w)) {
            pending_ = -1;
            accept_next_ = false;
            ClearWarning();
            return true;
        }
        if (accept_next_ && pending_ == a) {
            accepted_[a] = {w, *Variable(a)};
            pending_ = -1;
            accept_next_ = false;
            ClearWarning();
            return true;
        }
        accept_next_ = false;
        pending_ = a;
        auto& s = rt_.screen();
        ClearWarning();
        s.Clear(kHintsRow, 1, kHintsRow, 77, plain_);
        s.Write(kHintsRow, 2, rt_.Text(w), rt_.Standard(rt_.colours().ycowp));
        common::WriteLegend(rt_, kHintsRow, 60, "<F7>-Akceptacja");
        rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
        return false;
    }

    // The hints row without a warning.
    void ClearWarning() {
        rt_.screen().Clear(kHintsRow, 1, kHintsRow, 77, plain_);
        common::WriteLegend(rt_, kHintsRow, 2, "<PgDn>-Zapis   <Esc>-Rezygnacja");
    }

    void Declare(common::Form& form) {
        for (int a = 0; a < kAmountCount; ++a) {
            if (a == kPpk && !c_.rules.ppk) continue;
            const AmountSpec& spec = kSpecs[a];
            common::Field& f =
                form.Get(kAmountsTop + spec.row, spec.right ? kRightValue : kLeftValue, Variable(a),
                         spec.width, spec.decimals, spec.picture);
            if (!Allowed(a)) {
                f.ReadOnly();
                continue;
            }
            f.Valid([this, &form, a] { return Check(form, a); });
        }
    }

    const AmountsContext& c_;
    common::Runtime& rt_;
    IncomeRecord& r_;
    console::Attr plain_;
    double net_ = 0, collected_ = 0;
    std::map<int, std::pair<std::string, double>> accepted_;
    int pending_ = -1;  // the field whose warning is shown
    bool accept_next_ = false;
};

}  // namespace

void ShowAmounts(const AmountsContext& c, IncomeRecord* r) {
    AmountsForm(c, r).Show();
}

bool EnterAmounts(const AmountsContext& c, IncomeRecord* r) {
    return AmountsForm(c, r).Enter();
}

}  // namespace kestrel::tax
