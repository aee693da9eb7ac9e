#include "worktime/schedule_day_box.h"

#include <array>
#include <cstdio>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;

constexpr int kIn = kBoxLeft + 2;  // first column inside the box
constexpr int kShiftRow = kBoxTop + 1;
constexpr int kTotalRow = kBoxBottom - 1;
// Segment i: its flag (i > 0) at SegmentRow(i) - 1, hours at SegmentRow(i),
// type one row lower.
constexpr int SegmentRow(int i) {
    return kBoxTop + 2 + 3 * i;
}
constexpr int kHoursCol = kIn + 23;  // after "Godziny pracy (Od-Do): "
constexpr int kTypeCol = kIn + 11;   // after "Typ pracy: "
constexpr const char* kFlagLabel[3] = {
    "", "Drugi segment czasu pracy?: ", "Trzeci segment czasu pracy?: "};
constexpr int kFlagCol[3] = {0, kIn + 28, kIn + 29};

std::string Two(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// Two digits typed (blanks around them allowed); -1 for anything else.
int Number(const std::string& text) {
    const std::string t = base::Trim(text);
    if (t.empty() || t.size() > 2) return -1;
    int n = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::string HoursText(const Segment& s) {
    return Two(s.from_hour) + "." + Two(s.from_minute) + "-" + Two(s.to_hour) + "." +
           Two(s.to_minute);
}

void Labels(common::Runtime& rt, const SegmentRecord& r, bool with_values) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    for (int i = 0; i < 3; ++i) {
        const size_t k = static_cast<size_t>(i);
        const int row = SegmentRow(i);
        const int indent = i == 0 ? 0 : 2;
        if (i > 0) {
            s.Write(row - 1, kIn, rt.Text(kFlagLabel[i]), plain);
            if (with_values) s.Write(row - 1, kFlagCol[i], r.used[k] ? "T" : "N", plain);
        }
        if (i > 0 && with_values && !r.used[k]) continue;
        s.Write(row, kIn + indent, rt.Text("Godziny pracy (Od-Do): "), plain);
        s.Write(row + 1, kIn + indent, rt.Text("Typ pracy: "), plain);
        if (!with_values) continue;
        s.Write(row, kHoursCol + indent, HoursText(r.segments[k]), plain);
        s.Write(row + 1, kTypeCol + indent, r.segments[k].type, plain);
    }
}

void Total(common::Runtime& rt, const SegmentRecord& r) {
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    rt.screen().Write(kTotalRow, kIn, rt.Text("Czas pracy razem: ") + TotalText(MeasureSegments(r)),
                      plain);
}

void ClearInside(common::Runtime& rt) {
    rt.screen().Clear(kBoxTop + 1, kBoxLeft + 1, kBoxBottom - 1, kBoxRight - 1,
                      rt.Standard(rt.colours().ycow));
}

common::PickDictionary TypesOfWork() {
    common::PickDictionary d;
    d.table = "PKSTYPP";
    d.indexes = {"PKSTYPP1"};
    d.code_field = "TYP_PRACY";
    d.name_field = "NAZWA_";
    d.columns = [](common::Runtime& rt, dbf::WorkArea& a) {
        return std::vector<common::BrowseColumn>{common::FieldColumn(rt, a, "TYP_PRACY", "Typ"),
                                                 common::FieldColumn(rt, a, "NAZWA_", "Nazwa")};
    };
    d.can_insert = false;
    return d;
}

bool TypeExists(common::Tables& tables, const std::string& type) {
    if (base::Trim(type).empty()) return true;
    dbf::WorkArea* open = tables.workspace().Find("PKSTYPP");
    dbf::WorkArea& area = open != nullptr ? *open : tables.Open("PKSTYPP", {"PKSTYPP1"});
    dbf::KeepPosition keep(area);
    return area.Seek(type).ok() && area.found();
}

}  // namespace

void DrawDayBox(common::Runtime& rt, const DayBox& day) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(kBoxTop, kBoxLeft, kBoxBottom, kBoxRight, plain);
    s.Box(kBoxTop, kBoxLeft, kBoxBottom, kBoxRight, console::kFrameSingle, plain);
    const std::string title =
        rt.Text(day.individual ? " Godziny pracy wg INDYWIDUALNEGO harmonogramu "
                               : " Godziny pracy wg WZORCA harmonogramu ");
    s.Write(kBoxTop, kBoxLeft + (kBoxRight - kBoxLeft + 1 - static_cast<int>(title.size())) / 2,
            title, rt.Enhanced(rt.colours().ycow));
    if (day.shift_shown) s.Write(kShiftRow, kIn, rt.Text("Zmiana: ") + day.shift, plain);
    if (!day.free_text.empty()) {
        s.Write(SegmentRow(0), kIn, rt.Text(day.free_text), rt.Standard(rt.colours().ycowp));
        return;
    }
    if (!day.segments) {
        s.Write(SegmentRow(0), kIn, rt.Text("Brak takiej zmiany we wzorcu"), plain);
        return;
    }
    Labels(rt, *day.segments, true);
    Total(rt, *day.segments);
}

bool ReadDayHours(common::Runtime& rt, common::Tables& tables, SegmentRecord* segments) {
    // Hours and minutes are read as two digits, as they are shown.
    struct Values {
        std::string from_hour, from_minute, to_hour, to_minute, type;
    };
    std::array<Values, 3> v;
    std::array<bool, 3> used = segments->used;
    used[0] = true;
    for (size_t i = 0; i < 3; ++i) {
        const Segment& s = segments->segments[i];
        v[i] = {Two(s.from_hour), Two(s.from_minute), Two(s.to_hour), Two(s.to_minute), s.type};
        v[i].type.resize(2, ' ');
    }
    const common::PickDictionary types = TypesOfWork();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    const auto range = [&rt](std::string* value, int top, const char* message) {
        return [&rt, value, top, message] {
            const int n = Number(*value);
            if (n >= 0 && n <= top) {
                *value = Two(n);
                return true;
            }
            common::ShowMessage(rt, rt.Text(message));
            return false;
        };
    };
    for (;;) {
        ClearInside(rt);
        Labels(rt, *segments, false);
        rt.screen().Write(kBoxBottom, kIn, rt.Text(" <F3>-Typy pracy "), plain);
        common::Form form(rt);
        for (size_t i = 0; i < 3; ++i) {
            const int row = SegmentRow(static_cast<int>(i));
            const int indent = i == 0 ? 0 : 2;
            const auto in_use = [&used, i] { return used[i] && (i < 2 || used[1]); };
            if (i > 0) {
                form.Get(row - 1, kFlagCol[i], &used[i]).When([&used, i] {
                    return i == 1 || used[1];
                });
            }
            Values& s = v[i];
            const int col = kHoursCol + indent;
            form.Get(row, col, &s.from_hour, "99")
                .When(in_use)
                .Valid(range(&s.from_hour, 23, "Błędna godzina (0-23)"));
            form.Get(row, col + 3, &s.from_minute, "99")
                .When(in_use)
                .Valid(range(&s.from_minute, 59, "Błędne minuty (0-59)"));
            form.Get(row, col + 6, &s.to_hour, "99")
                .When(in_use)
                .Valid(range(&s.to_hour, 23, "Błędna godzina (0-23)"));
            form.Get(row, col + 9, &s.to_minute, "99")
                .When(in_use)
                .Valid(range(&s.to_minute, 59, "Błędne minuty (0-59)"));
            form.Get(row + 1, kTypeCol + indent, &s.type, "@! XX")
                .When(in_use)
                .Valid([&rt, &tables, &s] {
                    if (TypeExists(tables, s.type)) return true;
                    common::ShowMessage(rt, rt.Text("Błędny typ pracy"));
                    return false;
                });
            rt.screen().Write(row, col + 2, ".", plain);
            rt.screen().Write(row, col + 5, "-", plain);
            rt.screen().Write(row, col + 8, ".", plain);
        }
        common::ReadResult r;
        {
            auto& kb = rt.console().keyboard();
            common::HotKeysAside aside(rt, {key::F(3)});
            kb.Bind(key::F(3), [&] { common::Pick(rt, tables, types, form.Typed()); });
            r = common::Qrmrdr(rt, form);
        }
        if (!r.saved()) return false;
        SegmentRecord out;
        for (size_t i = 0; i < 3; ++i) {
            out.used[i] = i == 0 || (used[i] && (i < 2 || used[1]));
            out.segments[i] = {Number(v[i].from_hour), Number(v[i].from_minute),
                               Number(v[i].to_hour), Number(v[i].to_minute), v[i].type};
        }
        Labels(rt, out, true);
        Total(rt, out);
        if (MeasureSegments(out).valid) {
            *segments = out;
            return true;
        }
        common::ShowMessage(rt, rt.Text("Segmenty czasu pracy nakładają się"));
    }
}

bool ReadShift(common::Runtime& rt, char* shift, const std::function<bool(char)>& exists) {
    std::string letter(1, *shift);
    for (;;) {
        common::Form form(rt);
        rt.screen().Write(kShiftRow, kIn, rt.Text("Zmiana: "), rt.Standard(rt.colours().ycow));
        form.Get(kShiftRow, kIn + 8, &letter, "@! X");
        if (!common::Qrmrdr(rt, form).saved()) return false;
        const char c = letter.empty() ? ' ' : letter[0];
        if (exists(c)) {
            *shift = c;
            return true;
        }
        common::ShowMessage(rt, rt.Text("Brak takiej zmiany we wzorcu"));
    }
}

}  // namespace kestrel::worktime
