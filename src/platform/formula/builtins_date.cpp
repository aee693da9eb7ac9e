// Date functions.
#include "platform/formula/builtins_util.h"
#include "platform/formula/date.h"

namespace kestrel::formula {
namespace {

// year(), month(), day(): the part, 0 for the empty date; width as printed by str().
bool Part(Call& c, int number, int which, int width) {
    if (!c.Arg(0).IsDate()) return c.ArgError(number);
    int ymd[3];
    YmdFromJulian(c.Arg(0).julian(), &ymd[0], &ymd[1], &ymd[2]);
    c.result = Value::Number(ymd[which], 0, width);
    return true;
}

}  // namespace

bool FnYear(Call& c) {
    return Part(c, 1112, 0, 5);
}
bool FnMonth(Call& c) {
    return Part(c, 1113, 1, 3);
}
bool FnDay(Call& c) {
    return Part(c, 1114, 2, 3);
}

bool FnDow(Call& c) {
    if (!c.Arg(0).IsDate()) return c.ArgError(1115);
    c.result = Value::Number(DayOfWeek(c.Arg(0).julian()), 0, 3);
    return true;
}

bool FnDate(Call& c) {
    c.result = Value::Date(c.rt.Today());
    return true;
}

bool FnCtod(Call& c) {
    if (!c.Arg(0).IsString()) return c.ArgError(1119);
    c.result = Value::Date(Ctod(c.Arg(0).str()));
    return true;
}

bool FnDtoc(Call& c) {
    if (!c.Arg(0).IsDate()) return c.ArgError(1118);
    return ReturnString(c, Dtoc(c.Arg(0).julian()));
}

bool FnDtos(Call& c) {
    if (!c.Arg(0).IsDate()) return c.ArgError(1120);
    return ReturnString(c, Dtos(c.Arg(0).julian()));
}

bool FnStod(Call& c) {
    if (c.Arg(0).IsNil()) {
        c.result = Value::Date(0);
        return true;
    }
    if (!c.Arg(0).IsString()) return c.ArgError(1120);
    c.result = Value::Date(Stod(c.Arg(0).str()));
    return true;
}

}  // namespace kestrel::formula
