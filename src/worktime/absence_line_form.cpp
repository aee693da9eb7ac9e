#include "worktime/absence_line_form.h"

#include <cstdio>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "platform/base/dates.h"
#include "platform/console/keys.h"
#include "register/data/formula_symbols.h"
#include "worktime/browse_search.h"
#include "worktime/code_pick.h"

namespace kestrel::worktime {

namespace key = console::key;

void EndOn(console::Keyboard& kb, int k, bool* pressed) {
    kb.Bind(k, [&kb, pressed] {
        *pressed = true;
        kb.Push(key::kEsc);
    });
}

std::string MonthText(int year, int month) {
    char t[16];
    std::snprintf(t, sizeof t, "%04d.%02d", year, month);
    return t;
}

int MonthNumber(const SettlementMonth& m) {
    return m.year * 12 + m.month - 1;
}

void WriteHint(common::Runtime& rt, std::string_view legend) {
    rt.screen().Clear(kHintRow, 1, kHintRow, 77, rt.Standard(rt.colours().ycow));
    if (!legend.empty()) common::WriteLegend(rt, kHintRow, 2, legend);
}

namespace {

class LineForm {
  public:
    explicit LineForm(const LineContext& c)
        : rt_(c.rt),
          tables_(c.tables),
          entry_(&c.entry),
          employee_(c.employee),
          month_(c.month),
          settlement_(c.settlement),
          plain_(c.rt.Standard(c.rt.colours().ycow)) {}

    bool AskLine(AbsenceLine* line, bool existing) {
        const AbsenceCode* c = nullptr;
        if (!AskCode(line, &c)) return false;
        const AbsenceLine before = *line;
        if (c->type == 'E') {
            line->cal_year = month_.year;
            line->cal_month = month_.month;
            line->from = line->to = 0;
            return AskQuantities(*c, line, false);
        }
        for (;;) {
            if (!AskDays(line)) return false;
            const std::optional<LineRef> other =
                entry_->FindCollision(employee_.number, line->cal_year, line->cal_month, line->from,
                                      line->to, {month_.year, month_.month, line->line});
            if (!other) break;
            common::ShowMessage(rt_, CollisionText(*other, month_));
            if (common::IsYes(common::Question(rt_, rt_.Text("Akceptować takie dane?"), "tn", 'N')))
                break;
        }
        const bool same = existing && before.code == line->code &&
                          before.cal_year == line->cal_year &&
                          before.cal_month == line->cal_month && before.from == line->from &&
                          before.to == line->to;
        if (!same) {
            const QuantityProposal p = entry_->Propose(*c, employee_, line->cal_year,
                                                       line->cal_month, line->from, line->to);
            if (!p.error.empty()) common::ShowMessage(rt_, p.error);
            line->quantity = p.quantity;
            line->quantity2 = p.quantity2;
        }
        if (!AskQuantities(*c, line, true)) return false;
        if (c->reported && !AskReportingMonth(line)) return false;
        if (c->type == 'Z' && !AskSickness(line)) return false;
        return true;
    }

    bool AskCode(AbsenceLine* line, const AbsenceCode** code) {
        auto& s = rt_.screen();
        for (;;) {
            WriteHint(rt_, "<F3>-Kody analityczne");
            std::string typed = Cut(line->code, 4);
            common::Form form(rt_);
            form.Get(kEntryRow, kCodeCol, &typed, "@! ANNN").Valid([&] {
                if (registry::IsFormulaSymbol(typed)) return true;
                rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
                return false;
            });
            common::ReadResult r;
            {
                const common::PickDictionary d =
                    CodeDictionary("PKRNB", "PKRNB1", "KOD_NIEOB", "KOD");
                auto& kb = rt_.console().keyboard();
                common::HotKeysAside aside(rt_, {key::F(3)});
                kb.Bind(key::F(3), [&] { common::Pick(rt_, tables_, d, form.Typed()); });
                r = common::Qrmrdr(rt_, form);
            }
            if (!r.saved()) return false;
            const AbsenceCode* c = entry_->codes().Find(typed);
            const char* refused = nullptr;
            if (c == nullptr)
                refused = "Błędny kod";
            else if (c->type == 'A')
                refused = "BŁĄD - kod dotyczy algorytmu";
            else if (c->type == 'G')
                refused = "BŁĄD - kod generowany z zawieszeń";
            else if (c->type != 'E' && MonthNumber(month_) < MonthNumber(settlement_))
                refused = "BŁĄD - kod musi być typu \"E\"";
            if (refused != nullptr) {
                common::ShowMessage(rt_, rt_.Text(refused));
                continue;
            }
            line->code = c->code;
            s.Write(kEntryRow, kCodeNameCol, Cut(c->name, 30), plain_);
            s.Write(kEntryRow, kTypeCol, Cut(rt_.Text(TypeWord(c->type)), 6), plain_);
            *code = c;
            return true;
        }
    }

    // The calendar month (F1 lets it be typed) and the days.
    bool AskDays(AbsenceLine* line) {
        auto& s = rt_.screen();
        for (;;) {
            s.Write(kEntryRow, kCalCol, MonthText(line->cal_year, line->cal_month), plain_);
            WriteHint(rt_, "<F1>-Inny miesiąc");
            const int length = base::DaysInMonth(line->cal_year, line->cal_month);
            double from = line->from > 0 ? line->from : 1;
            double to = line->to >= from ? line->to : from;
            bool other_month = false;
            common::Form form(rt_);
            form.Get(kEntryRow, kFromCol, &from, 2, 0, "99").Valid([&] {
                return from >= 1 && from <= length;
            });
            form.Get(kEntryRow, kToCol, &to, 2, 0, "99").Valid([&] {
                return to >= from && to <= length;
            });
            common::ReadResult r;
            {
                auto& kb = rt_.console().keyboard();
                common::HotKeysAside aside(rt_, {key::F(1)});
                EndOn(kb, key::F(1), &other_month);
                r = common::Qrmrdr(rt_, form);
            }
            if (other_month) {
                AskCalendarMonth(line);
                continue;
            }
            if (!r.saved()) return false;
            line->from = static_cast<int>(from);
            line->to = static_cast<int>(to);
            return true;
        }
    }

    void AskCalendarMonth(AbsenceLine* line) {
        double year = line->cal_year, month = line->cal_month;
        WriteHint(rt_, "");
        common::Form form(rt_);
        form.Get(kEntryRow, kCalCol, &year, 4, 0, "9999");
        form.Get(kEntryRow, kCalCol + 5, &month, 2, 0, "99").Valid([&] {
            const int wanted = static_cast<int>(year) * 12 + static_cast<int>(month) - 1;
            if (month >= 1 && month <= 12 && year >= 1900 && wanted <= MonthNumber(settlement_))
                return true;
            common::ShowMessage(rt_, rt_.Text("Błędny symbol miesiąca"));
            return false;
        });
        if (!common::Qrmrdr(rt_, form).saved()) return;
        line->cal_year = static_cast<int>(year);
        line->cal_month = static_cast<int>(month);
    }

    bool AskQuantities(const AbsenceCode& c, AbsenceLine* line, bool bounded) {
        WriteHint(rt_, "");
        const QuantityBounds bounds(c.in_hours, c.fractional,
                                    base::DaysInMonth(line->cal_year, line->cal_month),
                                    employee_.hours_per_day);
        auto refuse = [this] {
            rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
            return false;
        };
        common::Form form(rt_);
        form.Get(kEntryRow, kQtyCol, &line->quantity, 7, 3, "999.999").Valid([&] {
            if (!bounded) return line->quantity >= 0 || refuse();
            return bounds.QuantityFits(line->quantity) || refuse();
        });
        if (c.second)
            form.Get(kEntryRow, kQty2Col, &line->quantity2, 7, 3, "999.999").Valid([&] {
                return bounds.Quantity2Fits(line->quantity2) || refuse();
            });
        return common::Qrmrdr(rt_, form).saved();
    }

    bool AskReportingMonth(AbsenceLine* line) {
        auto& s = rt_.screen();
        s.Write(kDetailRow, kZusCol, rt_.Text("Rok.m-c ZUS:"), plain_);
        double year = line->zus_year, month = line->zus_month;
        const ReportingRules rules{rt_.config().Logical("NAGLWPPM"),
                                   rt_.config().Logical("NAGLMCWYP2")};
        common::Form form(rt_);
        form.Get(kDetailRow, kZusCol + 13, &year, 4, 0, "9999");
        form.Get(kDetailRow, kZusCol + 18, &month, 2, 0, "99").Valid([&] {
            if (ReportingMonthAccepted(settlement_, static_cast<int>(year), static_cast<int>(month),
                                       rules))
                return true;
            common::ShowMessage(rt_, rt_.Text("Błędny symbol miesiąca"));
            return false;
        });
        if (!common::Qrmrdr(rt_, form).saved()) return false;
        line->zus_year = static_cast<int>(year);
        line->zus_month = static_cast<int>(month);
        return true;
    }

    bool AskSickness(AbsenceLine* line) {
        rt_.screen().Write(kDetailRow, kSickCol, rt_.Text("Kod choroby:  /"), plain_);
        std::string first = Cut(line->sick1, 1), second = Cut(line->sick2, 1);
        common::Form form(rt_);
        form.Get(kDetailRow, kSickCol + 13, &first, "@!");
        form.Get(kDetailRow, kSickCol + 15, &second, "@!");
        if (!common::Qrmrdr(rt_, form).saved()) return false;
        line->sick1 = first;
        line->sick2 = second;
        return true;
    }

  private:
    common::Runtime& rt_;
    common::Tables& tables_;
    AbsenceEntry* entry_;
    const EntryEmployee& employee_;
    SettlementMonth month_, settlement_;
    console::Attr plain_;
};

}  // namespace

bool AskAbsenceLine(const LineContext& context, AbsenceLine* line, bool existing) {
    LineForm form(context);
    return form.AskLine(line, existing);
}

}  // namespace kestrel::worktime
