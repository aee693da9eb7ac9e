// UDZIALNB: a component's share for the absences of one benefit line.
#include "insurance/data/benefit_shares.h"

#include "insurance/data/insurance_fields.h"
#include "platform/base/rounding.h"
#include "platform/formula/runtime.h"

namespace kestrel::insurance {

double BenefitShare(double amount, const BenefitLineContext& context,
                    const std::set<std::string>& codes) {
    if (context.line.empty()) return 0;
    double total = 0;
    for (const ServedAbsence& a : context.served)
        if (codes.count(a.code) != 0 && a.days > 0) total += a.days;
    if (total <= 0) return 0;
    double before = 0, share = 0;
    for (const ServedAbsence& a : context.served) {
        if (codes.count(a.code) == 0 || a.days <= 0) continue;
        const double upto = before + a.days;
        if (context.line.count(a.recno) != 0)
            share += base::YRound(amount * upto / total) - base::YRound(amount * before / total);
        before = upto;
    }
    return base::YRound(share);
}

void RegisterBenefitShare(formula::Runtime& engine, const BenefitLineContext* context) {
    engine.RegisterFunction("UDZIALNB", [context](formula::Call& c) {
        if (!c.Arg(0).IsNumber()) return c.ArgError(1);
        if (!c.Arg(1).IsString()) return c.ArgError(2);
        std::set<std::string> codes;
        for (std::string& code : Qrmlstnb(c.Arg(1).str())) codes.insert(std::move(code));
        c.result = formula::Value::Number(BenefitShare(c.Arg(0).number(), *context, codes), 2);
        return true;
    });
}

}  // namespace kestrel::insurance
