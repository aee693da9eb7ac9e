#include "register/field_history_window.h"

#include <algorithm>
#include <cstdio>

#include "common/checks/scramble.h"
#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "platform/formula/date.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;

constexpr int kTop = 5, kLeft = 8, kBottom = 20, kRight = 71;

using base::TrimRight;

std::string DateText(const std::string& yyyymmdd) {
    return formula::Dtoc(formula::Stod(yyyymmdd));
}

// A scrambled field: its kind of scrambling and its stored width (the
// clear width follows from it).
bool Scrambled(const std::string& field, common::ScrambleKind* kind, size_t* stored) {
    if (field == "NAZWX_" || field == "IMIEX_") {
        *kind = common::ScrambleKind::kName;
        *stored = field == "NAZWX_" ? 72 : 52;
        return true;
    }
    if (field == "PESELX_") {
        *kind = common::ScrambleKind::kIdentity;
        *stored = 34;
        return true;
    }
    return false;
}

// The value of a field of a record as the window shows it.
std::string Shown(const EmployeeRecord& e, const std::string& field) {
    if (field == "NAZWX_") return e.surname();
    if (field == "IMIEX_") return e.first_names();
    if (field == "PESELX_") return e.pesel();
    const int i = e.FieldIndex(field);
    return i < 0 ? std::string() : TrimRight(FieldText(e.stored(), i));
}

void Frame(common::Runtime& rt, const std::string& title_cp852) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(kTop, kLeft, kBottom, kRight, plain);
    s.Box(kTop, kLeft, kBottom, kRight, std::string(console::kFrameDouble) + " ", plain);
    s.Write(kTop, kLeft + (kRight - kLeft + 1 - static_cast<int>(title_cp852.size())) / 2,
            title_cp852, rt.Standard(rt.colours().ycobp));
}

// One remembered value typed by the operator: its date "DO" and its value
// in clear. False on Esc.
bool EditEntry(common::Runtime& rt, const std::string& field, RememberedValue* v) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    const console::ScreenRegion under = s.Save(kBottom - 4, kLeft + 1, kBottom - 1, kRight - 1);
    s.Clear(kBottom - 4, kLeft + 1, kBottom - 1, kRight - 1, plain);
    s.Write(kBottom - 3, kLeft + 2, rt.Text("Data \"DO\":"), plain);
    s.Write(kBottom - 2, kLeft + 2, rt.Text("Wartość:"), plain);
    picture::Date until = base::DateOfDbfText(v->until);
    std::string value = ClearValue(field, v->value);
    value.resize(50, ' ');
    common::Form form(rt);
    form.Get(kBottom - 3, kLeft + 13, &until).Valid([&] {
        if (!until.empty()) return true;
        rt.console().Tone(common::kToneFrequency, common::kToneTicks);
        return false;
    });
    form.Get(kBottom - 2, kLeft + 13, &value, "", 50);
    const bool saved = common::Qrmrdr(rt, form).saved();
    s.Restore(under);
    if (!saved) return false;
    v->until = base::DbfDateText(until);
    common::ScrambleKind kind;
    size_t stored = 0;
    if (Scrambled(field, &kind, &stored)) {
        // The stored form of the field, as the record keeps it.
        v->value = common::Scramble(kind, TrimRight(value), stored);
    } else {
        v->value = TrimRight(value);
    }
    return true;
}

}  // namespace

std::string ClearValue(const std::string& field, const std::string& stored) {
    common::ScrambleKind kind;
    size_t width = 0;
    if (!Scrambled(field, &kind, &width)) return stored;
    // Values kept as text are padded beyond the field's stored width.
    return TrimRight(common::Unscramble(kind, stored.substr(0, std::min(width, stored.size()))));
}

void SortLog(std::vector<LoggedChange>* log, LogOrder order) {
    std::stable_sort(log->begin(), log->end(),
                     [order](const LoggedChange& a, const LoggedChange& b) {
                         if (a.entry.table != b.entry.table) return a.entry.table < b.entry.table;
                         if (order == LogOrder::kByRecord && a.entry.recno != b.entry.recno)
                             return a.entry.recno < b.entry.recno;
                         if (a.entry.field != b.entry.field) return a.entry.field < b.entry.field;
                         if (a.day != b.day) return a.day < b.day;
                         return order == LogOrder::kByField && a.sequence < b.sequence;
                     });
}

void ChangeLogWindow(common::Runtime& rt, dbf::WorkArea& ekprc, const std::string& number) {
    auto& s = rt.screen();
    const console::ScreenRegion under = s.Save(kTop, kLeft, kBottom, kRight);
    common::HotKeysAside keys(rt, {key::F(1), key::F(4), key::F(5), key::F(6)});
    Frame(rt, rt.Text(" Wykaz korekt "));
    common::WriteLegend(rt, kTop + 1, kLeft + 2, "<F5>-Sort: plik,pole,data,poz");
    common::WriteLegend(rt, kTop + 1, kLeft + 34, "<F6>-Sort: plik,rekord,pole,data");
    common::WriteLegend(rt, kBottom - 1, kLeft + 2, "<F1>-Pełna informacja");
    common::WriteLegend(rt, kBottom - 1, kLeft + 34, "<Esc>-Wyjście");

    std::vector<LoggedChange> log = ReadLog(ekprc, number);
    SortLog(&log, LogOrder::kByField);
    int current = 1;
    auto at = [&]() -> const LoggedChange& { return log[static_cast<size_t>(current - 1)]; };
    std::vector<common::BrowseColumn> columns = {
        {rt.Text("PLIK"), 7, [&] { return log.empty() ? std::string() : at().entry.table; }},
        {rt.Text("REKORD"), 6,
         [&] { return log.empty() ? std::string() : std::to_string(at().entry.recno); }},
        {rt.Text("POLE"), 10, [&] { return log.empty() ? std::string() : at().entry.field; }},
        {rt.Text("DATA"), 10, [&] { return log.empty() ? std::string() : DateText(at().day); }},
        {rt.Text("LP"), 3,
         [&] { return log.empty() ? std::string() : std::to_string(at().sequence); }},
        {rt.Text("STARA WARTOŚĆ"), 13,
         [&] {
             return log.empty() ? std::string()
                                : ClearValue(at().entry.field, at().entry.old_value).substr(0, 13);
         }},
        {rt.Text("NOWA WARTOŚĆ"), 13,
         [&] {
             return log.empty() ? std::string()
                                : ClearValue(at().entry.field, at().entry.new_value).substr(0, 13);
         }},
    };
    common::BrowseList(
        rt, kTop + 2, kLeft + 1, kBottom - 2, kRight - 1, std::move(columns),
        [&](int mode, int, common::Browse&) {
            if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
            switch (rt.console().LastKey()) {
                case key::kEsc:
                    return common::kBrowseClose;
                case key::F(5):
                case key::F(6): {
                    if (log.empty()) return common::kBrowseRedrawRow;
                    const LoggedChange was = at();
                    SortLog(&log, rt.console().LastKey() == key::F(5) ? LogOrder::kByField
                                                                      : LogOrder::kByRecord);
                    for (size_t i = 0; i < log.size(); ++i) {
                        const LoggedChange& l = log[i];
                        if (l.entry.table == was.entry.table && l.entry.recno == was.entry.recno &&
                            l.entry.field == was.entry.field && l.day == was.day &&
                            l.sequence == was.sequence)
                            current = static_cast<int>(i) + 1;
                    }
                    return common::kBrowseRedrawAll;
                }
                case key::F(1): {
                    if (log.empty()) return common::kBrowseRedrawRow;
                    const LoggedChange& l = at();
                    const console::ScreenRegion inner =
                        s.Save(kTop + 3, kLeft + 1, kBottom - 2, kRight - 1);
                    const console::Attr plain = rt.Standard(rt.colours().ycow);
                    s.Clear(kTop + 3, kLeft + 1, kBottom - 2, kRight - 1, plain);
                    int row = kTop + 4;
                    s.Write(row++, kLeft + 2,
                            l.entry.table + "  " + l.entry.field + "  " + DateText(l.day) + "  " +
                                std::to_string(l.sequence) + "  " + l.ident,
                            plain);
                    s.Write(row++, kLeft + 2, rt.Text("Przed korektą:"), plain);
                    const std::string old_value = ClearValue(l.entry.field, l.entry.old_value);
                    const std::string new_value = ClearValue(l.entry.field, l.entry.new_value);
                    s.Write(row++, kLeft + 2, old_value.substr(0, 60), plain);
                    if (old_value.size() > 60) s.Write(row, kLeft + 2, old_value.substr(60), plain);
                    ++row;
                    s.Write(row++, kLeft + 2, rt.Text("Po korekcie:"), plain);
                    s.Write(row++, kLeft + 2, new_value.substr(0, 60), plain);
                    if (new_value.size() > 60) s.Write(row, kLeft + 2, new_value.substr(60), plain);
                    common::Qrmndk(rt);
                    s.Restore(inner);
                    return common::kBrowseRedrawAll;
                }
                default:
                    return common::kBrowseRedrawRow;
            }
        },
        &current, static_cast<int>(log.size()));
    s.Restore(under);
}

void FieldHistoryWindow(common::Runtime& rt, common::Tables& tables, const RegisterAreas& areas,
                        const EmployeeRecord& before, const EmployeeRecord& now,
                        const std::string& field) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    const console::Attr value = rt.Standard(rt.colours().ycowp);
    const console::ScreenRegion under = s.Save(kTop, kLeft, kBottom, kRight);
    common::HotKeysAside keys(rt, {key::F(1), key::F(2), key::F(3), key::F(4), key::F(5), key::F(6),
                                   key::F(10), key::F(11), key::F(12)});
    Frame(rt, rt.Text(" Historia zmian pola: ") + field + " ");
    const std::string number = before.number();
    const std::string old_text = Shown(before, field), new_text = Shown(now, field);
    if (old_text != new_text) {
        s.Write(kTop + 1, kLeft + 2, rt.Text("Przed korektą:"), plain);
        s.Write(kTop + 1, kLeft + 17, old_text.substr(0, 45), value);
        s.Write(kTop + 2, kLeft + 2, rt.Text("Po korekcie:"), plain);
        s.Write(kTop + 2, kLeft + 17, new_text.substr(0, 45), value);
    } else {
        s.Write(kTop + 1, kLeft + 2, rt.Text("Bież.wartość:"), plain);
        s.Write(kTop + 1, kLeft + 17, new_text.substr(0, 45), value);
    }
    common::WriteLegend(rt, kBottom - 1, kLeft + 2, " <F4>-Wykaz korekt ");
    common::WriteLegend(rt, kBottom - 1, kLeft + 45, "<Esc>-Wyjście");
    auto& kb = rt.console().keyboard();
    kb.Bind(key::F(4), [&] { ChangeLogWindow(rt, *areas.ekprc, number); });

    if (!HasHistory(field)) {
        s.Write(kTop + 6, kLeft + 2 + (kRight - kLeft - 3 - 33) / 2,
                rt.Text("Historia zmian wartości tego pola"), plain);
        s.Write(kTop + 7, kLeft + 2 + (kRight - kLeft - 3 - 21) / 2,
                rt.Text("NIE podlega ewidencji"), value);
        while (common::Qrminkey(rt) != key::kEsc) {
        }
        s.Restore(under);
        return;
    }
    common::WriteLegend(rt, kTop + 3, kLeft + 2,
                        "<Enter>-Zmiana  <Ins>-Dopisanie  <Del>-Kasowanie");

    std::vector<RememberedValue> values = ReadRemembered(*areas.zmprc, number, field);
    int current = 1;
    auto at = [&]() -> RememberedValue& { return values[static_cast<size_t>(current - 1)]; };
    std::vector<common::BrowseColumn> columns = {
        {rt.Text(" DATA \"DO\""), 10,
         [&] { return values.empty() ? std::string() : DateText(at().until); }},
        {rt.Text("  WARTOŚĆ POLA"), 47,
         [&] {
             return values.empty() ? std::string() : ClearValue(field, at().value).substr(0, 47);
         }},
    };
    auto reload = [&](const std::string& until) {
        values = ReadRemembered(*areas.zmprc, number, field);
        current = 1;
        for (size_t i = 0; i < values.size(); ++i) {
            if (values[i].until == until) current = static_cast<int>(i) + 1;
        }
    };
    common::BrowseList(
        rt, kTop + 4, kLeft + 1, kBottom - 2, kRight - 1, std::move(columns),
        [&](int mode, int, common::Browse& b) {
            if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
            switch (rt.console().LastKey()) {
                case key::kEsc:
                    return common::kBrowseClose;
                case key::kEnter: {
                    if (values.empty()) return common::kBrowseRedrawRow;
                    RememberedValue v = at();
                    if (!EditEntry(rt, field, &v)) return common::kBrowseRedrawRow;
                    const uint32_t old_recno = at().recno;
                    const std::string old_until = at().until;
                    Remember(tables, *areas.zmprc, number, v);
                    if (v.until != old_until) DeleteRow(tables, *areas.zmprc, old_recno);
                    reload(v.until);
                    static_cast<common::RowListSource&>(b.source())
                        .set_count(static_cast<int>(values.size()));
                    return common::kBrowseRedrawAll;
                }
                case key::kIns: {
                    RememberedValue v{field, "", "", 0};
                    if (!EditEntry(rt, field, &v)) return common::kBrowseRedrawRow;
                    Remember(tables, *areas.zmprc, number, v);
                    reload(v.until);
                    static_cast<common::RowListSource&>(b.source())
                        .set_count(static_cast<int>(values.size()));
                    return common::kBrowseRedrawAll;
                }
                case key::kDel: {
                    if (values.empty()) return common::kBrowseRedrawRow;
                    if (!common::IsYes(
                            common::Question(rt, rt.Text("Kasować pozycję?"), "tn", 'N')))
                        return common::kBrowseRedrawRow;
                    DeleteRow(tables, *areas.zmprc, at().recno);
                    reload("");
                    static_cast<common::RowListSource&>(b.source())
                        .set_count(static_cast<int>(values.size()));
                    return common::kBrowseRedrawAll;
                }
                default:
                    return common::kBrowseRedrawRow;
            }
        },
        &current, static_cast<int>(values.size()));
    s.Restore(under);
}

}  // namespace kestrel::registry
