#include "common/session/working_date.h"

namespace kestrel::common {

picture::Date DateOf(const base::LocalTime& t) {
    return {t.year, t.month, t.day};
}

base::LocalTime TimeOf(const picture::Date& d) {
    base::LocalTime t;
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    return t;
}

picture::Date Qrmdate(const Runtime& rt) {
    return DateOf(rt.working_date());
}

picture::Date Qrmdate(Runtime& rt, const picture::Date& date) {
    if (!date.empty()) rt.set_working_date(TimeOf(date));
    return Qrmdate(rt);
}

}  // namespace kestrel::common
