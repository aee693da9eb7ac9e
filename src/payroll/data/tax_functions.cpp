#include "payroll/data/tax_functions.h"

#include <cmath>

#include "platform/base/rounding.h"
#include "tax/data/tax_scale.h"

namespace kestrel::payroll {
namespace {

using formula::Call;
using formula::Error;
using formula::Value;

bool Fail(common::Runtime& rt, Call& c, std::string_view utf8) {
    return c.Fail(Error::Host(rt.Text(utf8)));
}

// STAWKAPOD(k): undefined k gives 0.
bool Stawkapod(common::Runtime& rt, Call& c) {
    const Value& k = c.Arg(0);
    if (k.IsNil()) {
        c.result = Value::Number(0);
        return true;
    }
    if (!k.IsNumber()) return Fail(rt, c, "Błędny argument funkcji STAWKAPOD()");
    const tax::LoadedScale scale = tax::Published(c.rt.publics());
    c.result = Value::Number(tax::RateFor(scale, k.number()), 2);
    return true;
}

bool Ulgaks(common::Runtime& rt, Call& c) {
    if (!c.Arg(0).IsNumber()) return Fail(rt, c, "Błędny argument 1 funkcji ULGAKS");
    if (!c.Arg(1).IsNumber()) return Fail(rt, c, "Błędny argument 2 funkcji ULGAKS");
    const double month = c.Arg(1).number();
    if (month < 1 || month > 12 || month != std::floor(month))
        return Fail(rt, c, "Błędna wart.arg. 2 funkcji ULGAKS");
    c.result = Value::Number(MiddleClassRelief(c.Arg(0).number(), static_cast<int>(month)), 2);
    return true;
}

}  // namespace

double MiddleClassRelief(double brutto, int month) {
    if (month > 5) return 0;
    const double m = month;
    double relief = 0;
    if (brutto >= 5701 * m && brutto <= 8549 * m)
        relief = (brutto * 6.68 / 100 - 380.5 * m) / 0.17;
    else if (brutto > 8549 * m && brutto <= 11141 * m)
        relief = (819.08 * m - brutto * 7.35 / 100) / 0.17;
    return base::YRound(relief, 2);
}

void RegisterTaxFunctions(common::Runtime& rt, formula::Runtime& engine) {
    engine.RegisterFunction("STAWKAPOD", [&rt](Call& c) { return Stawkapod(rt, c); });
    engine.RegisterFunction("ULGAKS", [&rt](Call& c) { return Ulgaks(rt, c); });
}

}  // namespace kestrel::payroll
