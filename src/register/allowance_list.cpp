#include "register/allowance_list.h"

#include <cctype>
#include <cstdio>
#include <vector>

#include "common/form.h"
#include "common/messages.h"
#include "common/pick_window.h"
#include "common/question.h"
#include "platform/console/keys.h"
#include "register/dictionary_fields.h"
#include "register/employee_companions.h"
#include "register/employee_lookup.h"

namespace kestrel::registry {

namespace key = console::key;

namespace {

constexpr int kHeadRow = 6, kListTop = 7, kListBottom = 16;
constexpr int kLineRow = 18, kSymbolRow = 19, kRangeRow = 20, kHintRow = 21;
// Columns of the list.
constexpr int kLpCol = 1, kSymbCol = 4, kNameCol = 9, kNameWidth = 18, kTimedCol = 28,
              kRangeCol = 37, kFlagCol = 53, kAmountCol = 57, kPercentCol = 72;

std::string Trimmed(std::string_view s) {
    const size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

class AllowanceList {
  public:
    AllowanceList(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& dod,
                  std::string_view number, const AllowanceListOptions& options)
        : rt_(rt), tables_(tables), dod_(dod), number_(number), options_(options) {}

    ListEnd Run() {
        for (;;) {
            lines_ = ReadAllowances(dod_, number_);
            DrawList();
            int line = 0;
            const Step lp = AskLine(&line);
            if (lp == Step::kEscape) return ListEnd::kEscape;
            if (lp == Step::kEnd) return ListEnd::kDone;
            if (lp == Step::kDelete) {
                DeleteLine(line);
                continue;
            }
            Allowance a = LineOf(line);
            const Step rest = AskRest(&a);
            if (rest == Step::kEscape) return ListEnd::kEscape;
            if (rest != Step::kNext) continue;
            a.line = line;
            const uint32_t recno = WriteAllowance(tables_, dod_, number_, a);
            if (options_.written) options_.written(recno);
        }
    }

  private:
    enum class Step { kNext, kEnd, kDelete, kBack, kEscape };

    console::Attr Plain() const { return rt_.Standard(rt_.colours().ycow); }

    dbf::WorkArea& Dictionary() {
        dbf::WorkArea* a = tables_.workspace().Find("PKSRDOD");
        return a != nullptr ? *a : tables_.Open("PKSRDOD", {"PKSRDOD1"});
    }

    // The symbol's entry: its name (trimmed) and the kind of its value;
    // false when the dictionary has no such symbol.
    bool Lookup(const std::string& symbol, std::string* name, AllowanceValueKind* kind) {
        std::string n;
        if (!CheckCode(tables_, "RODZAJ_DOD", symbol, &n).accepted || Trimmed(symbol).empty())
            return false;
        if (name) *name = Trimmed(n);
        if (kind) {
            dbf::WorkArea& d = Dictionary();
            std::string k = Trimmed(symbol);
            k.resize(4, ' ');
            *kind = AllowanceValueKind::kPercent;
            if (d.Seek(k).ok() && d.found()) {
                const dbf::Record& r = d.record();
                if (r.GetLogical(d.FieldIndex("TAK_NIE")))
                    *kind = AllowanceValueKind::kFlag;
                else if (r.GetLogical(d.FieldIndex("KWOTA_PROC")))
                    *kind = AllowanceValueKind::kAmount;
            }
        }
        return true;
    }

    Allowance LineOf(int line) const {
        for (const Allowance& a : lines_) {
            if (a.line == line) return a;
        }
        Allowance a;
        a.line = line;
        return a;
    }

    bool Exists(int line) const {
        for (const Allowance& a : lines_) {
            if (a.line == line) return true;
        }
        return false;
    }

    std::vector<Allowance> Others(int line) const {
        std::vector<Allowance> out;
        for (const Allowance& a : lines_) {
            if (a.line != line) out.push_back(a);
        }
        return out;
    }

    static std::string Range(const Allowance& a) {
        if (!a.timed) return {};
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04d/%02d-%04d/%02d", a.from_year, a.from_month, a.to_year,
                      a.to_month);
        return buf;
    }

    void DrawList() {
        auto& s = rt_.screen();
        const console::Attr plain = Plain();
        s.Clear(kHeadRow, 1, kHintRow, 77, plain);
        s.Write(kHeadRow, kLpCol, rt_.Text("Lp"), plain);
        s.Write(kHeadRow, kSymbCol, rt_.Text("Symb"), plain);
        s.Write(kHeadRow, kNameCol, rt_.Text("Nazwa"), plain);
        s.Write(kHeadRow, kTimedCol, rt_.Text("Czasowy?"), plain);
        s.Write(kHeadRow, kRangeCol, rt_.Text("Zakres m-cy"), plain);
        s.Write(kHeadRow, kFlagCol, rt_.Text("T/F"), plain);
        s.Write(kHeadRow, kAmountCol + 9, rt_.Text("Kwota"), plain);
        s.Write(kHeadRow, kPercentCol + 5, rt_.Text("%"), plain);
        // The last lines when they do not all fit.
        const int room = kListBottom - kListTop + 1;
        const int count = static_cast<int>(lines_.size());
        int row = kListTop;
        for (int i = count > room ? count - room : 0; i < count; ++i, ++row) {
            const Allowance& a = lines_[static_cast<size_t>(i)];
            char buf[32];
            std::snprintf(buf, sizeof buf, "%2d", a.line);
            s.Write(row, kLpCol, buf, plain);
            s.Write(row, kSymbCol, a.symbol, plain);
            std::string name;
            AllowanceValueKind kind = AllowanceValueKind::kPercent;
            Lookup(a.symbol, &name, &kind);
            s.Write(row, kNameCol, name.substr(0, kNameWidth), plain);
            s.Write(row, kTimedCol + 3, a.timed ? "T" : "N", plain);
            s.Write(row, kRangeCol, Range(a), plain);
            switch (kind) {
                case AllowanceValueKind::kFlag:
                    s.Write(row, kFlagCol + 1, a.value != 0 ? "T" : "F", plain);
                    break;
                case AllowanceValueKind::kAmount:
                    std::snprintf(buf, sizeof buf, "%14.2f", a.value);
                    s.Write(row, kAmountCol, buf, plain);
                    break;
                case AllowanceValueKind::kPercent:
                    std::snprintf(buf, sizeof buf, "%6.2f", a.value);
                    s.Write(row, kPercentCol, buf, plain);
                    break;
            }
        }
    }

    Step AskLine(int* line) {
        auto& s = rt_.screen();
        const console::Attr plain = Plain();
        s.Clear(kLineRow, 1, kHintRow, 77, plain);
        common::WriteLegend(rt_, kHintRow, 1, "<F10>-Koniec rejestracji Dodatków / Potrąceń");
        if (options_.update) common::WriteLegend(rt_, kHintRow, 50, "<F8>-Kasowanie rekordu");
        s.Write(kLineRow, 2, rt_.Text("Lp:"), plain);
        double lp = NextAllowanceLine(lines_);
        Step step = Step::kNext;
        common::Form form(rt_);
        form.Get(kLineRow, 6, &lp, 2, 0, "99").Valid([&] { return lp >= 1 && lp <= 99; });
        auto& kb = rt_.console().keyboard();
        auto old10 = kb.Bind(key::F(10), [&] {
            step = Step::kEnd;
            kb.Push(key::kEsc);
        });
        auto old8 = kb.Bind(key::F(8), [&] {
            if (!options_.update) return;
            step = Step::kDelete;
            kb.Push(key::kCtrlEnd);
        });
        const common::ReadResult r = form.Read();
        kb.Bind(key::F(10), old10);
        kb.Bind(key::F(8), old8);
        if (step == Step::kEnd) return Step::kEnd;
        if (!r.saved()) return Step::kEscape;
        *line = static_cast<int>(lp);
        if (step == Step::kDelete) return lp >= 1 && lp <= 99 ? Step::kDelete : Step::kBack;
        return Step::kNext;
    }

    void DeleteLine(int line) {
        if (!Exists(line)) return;
        const Allowance a = LineOf(line);
        const std::string q = "Kasować symbol \"" + Trimmed(a.symbol) + "\" ?";
        if (!common::IsYes(common::Question(rt_, rt_.Text(q), "tn", 'n'))) return;
        DeleteRow(tables_, dod_, a.recno);
    }

    Step AskRest(Allowance* a) {
        auto& s = rt_.screen();
        const console::Attr plain = Plain();
        s.Write(kLineRow, 12, rt_.Text(Exists(a->line) ? "Istniejący rekord" : "Nowy rekord"),
                plain);
        s.Clear(kHintRow, 1, kHintRow, 77, plain);
        common::WriteLegend(rt_, kHintRow, 1, "<F3>-Symbole dodatków");
        common::WriteLegend(rt_, kHintRow, 30, "<F10>-Powrót do \"Lp\"");
        s.Write(kSymbolRow, 2, rt_.Text("Symbol:"), plain);
        s.Write(kRangeRow, 2, rt_.Text("Czasowy?:"), plain);
        s.Write(kRangeRow, 15, rt_.Text("Zakres m-cy:"), plain);
        s.Write(kRangeRow, 32, "/", plain);
        s.Write(kRangeRow, 35, "-", plain);
        s.Write(kRangeRow, 40, "/", plain);

        const std::vector<Allowance> others = Others(a->line);
        std::string symbol = a->symbol;
        symbol.resize(4, ' ');
        bool timed = a->timed, forced = false;
        double fy = a->from_year, fm = a->from_month, ty = a->to_year, tm = a->to_month;
        AllowanceValueKind kind = AllowanceValueKind::kPercent;
        bool flag = a->value != 0;
        double amount = a->value, percent = a->value;
        Step step = Step::kNext;

        common::Form form(rt_);
        form.Get(kSymbolRow, 10, &symbol, "@!").Valid([&] {
            s.Clear(kSymbolRow, 16, kSymbolRow, 77, plain);
            if (!AllowanceSymbolWellFormed(symbol)) return false;
            std::string name;
            if (!Lookup(symbol, &name, &kind)) {
                common::ShowMessage(rt_, rt_.Text("Błędny symbol dodatku"));
                return false;
            }
            s.Write(kSymbolRow, 16, name, plain);
            Allowance probe = *a;
            probe.symbol = symbol;
            const std::string m = AllowanceSymbolMessage(others, probe, &forced);
            if (!m.empty()) {
                common::ShowMessage(rt_, rt_.Text(m));
                return false;
            }
            if (forced) timed = true;
            return true;
        });
        form.Get(kRangeRow, 12, &timed).When([&] { return !forced; });
        auto on_timed = [&] { return timed; };
        form.Get(kRangeRow, 28, &fy, 4, 0, "9999").When(on_timed).Valid([&] {
            return fy >= 1991 && fy <= 2050;
        });
        form.Get(kRangeRow, 33, &fm, 2, 0, "99").When(on_timed).Valid([&] {
            return fm >= 1 && fm <= 12;
        });
        form.Get(kRangeRow, 36, &ty, 4, 0, "9999").When(on_timed).Valid([&] {
            return ty >= fy && ty <= 2050;
        });
        form.Get(kRangeRow, 41, &tm, 2, 0, "99").When(on_timed).Valid([&] {
            return tm >= 1 && tm <= 12 && !(ty == fy && tm < fm);
        });

        auto& kb = rt_.console().keyboard();
        const CodeField dict = CodeFieldOf("2.7.9");
        auto old3 = kb.Bind(key::F(3), [&] {
            if (form.current() == 0) PickCode(rt_, tables_, dict, form.Typed());
        });
        auto old10 = kb.Bind(key::F(10), [&] {
            if (form.current() != 0) return;
            step = Step::kBack;
            kb.Push(key::kEsc);
        });
        // A range that collides with another line of the symbol is asked
        // again from its start year.
        constexpr int kStartYearField = 2;
        common::ReadResult r = form.Read();
        while (r.saved() && step != Step::kBack && (timed || forced)) {
            Allowance probe = *a;
            probe.symbol = symbol;
            probe.timed = true;
            probe.from_year = static_cast<int>(fy);
            probe.from_month = static_cast<int>(fm);
            probe.to_year = static_cast<int>(ty);
            probe.to_month = static_cast<int>(tm);
            const std::string m = AllowanceRangeMessage(others, probe);
            if (m.empty()) break;
            common::ShowMessage(rt_, rt_.Text(m));
            r = form.Read(kStartYearField);
        }
        kb.Bind(key::F(3), old3);
        kb.Bind(key::F(10), old10);
        if (step == Step::kBack) return Step::kBack;
        if (!r.saved()) return Step::kEscape;
        // A read ended early (PgDn, Ctrl+W) must still meet every rule.
        std::string name;
        Allowance probe = *a;
        probe.symbol = symbol;
        bool forced_now = false;
        if (!AllowanceSymbolWellFormed(symbol) || !Lookup(symbol, &name, &kind) ||
            !AllowanceSymbolMessage(others, probe, &forced_now).empty()) {
            return Step::kBack;
        }
        a->symbol = symbol;
        a->timed = timed || forced_now;
        if (a->timed) {
            a->from_year = static_cast<int>(fy);
            a->from_month = static_cast<int>(fm);
            a->to_year = static_cast<int>(ty);
            a->to_month = static_cast<int>(tm);
            const bool bad = a->from_year < 1991 || a->to_year > 2050 || a->from_month < 1 ||
                             a->from_month > 12 || a->to_month < 1 || a->to_month > 12 ||
                             a->to_year * 12 + a->to_month < a->from_year * 12 + a->from_month;
            if (bad || !AllowanceRangeMessage(others, *a).empty()) return Step::kBack;
        } else {
            a->from_year = a->from_month = a->to_year = a->to_month = 0;
        }
        // The value, in the form the symbol's entry gives it.
        DrawValueLabel(kind);
        common::Form value(rt_);
        switch (kind) {
            case AllowanceValueKind::kFlag:
                value.Get(kRangeRow, 54, &flag);
                break;
            case AllowanceValueKind::kAmount:
                value.Get(kRangeRow, 54, &amount, 14, 2, "@E 999,999,999.99").Valid([&] {
                    return amount >= 0;
                });
                break;
            case AllowanceValueKind::kPercent:
                value.Get(kRangeRow, 54, &percent, 6, 2, "@E 999.99").Valid([&] {
                    return percent >= 0;
                });
                break;
        }
        if (!value.Read().saved()) return Step::kEscape;
        switch (kind) {
            case AllowanceValueKind::kFlag:
                a->value = flag ? 1 : 0;
                break;
            case AllowanceValueKind::kAmount:
                a->value = amount < 0 ? 0 : amount;
                break;
            case AllowanceValueKind::kPercent:
                a->value = percent < 0 ? 0 : percent;
                break;
        }
        return Step::kNext;
    }

    void DrawValueLabel(AllowanceValueKind kind) {
        auto& s = rt_.screen();
        const console::Attr plain = Plain();
        s.Clear(kRangeRow, 45, kRangeRow, 77, plain);
        const char* label = kind == AllowanceValueKind::kFlag     ? "T/F:"
                            : kind == AllowanceValueKind::kAmount ? "Kwota:"
                                                                  : "%:";
        s.Write(kRangeRow, 46, rt_.Text(label), plain);
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    dbf::WorkArea& dod_;
    std::string number_;
    const AllowanceListOptions& options_;
    std::vector<Allowance> lines_;
};

}  // namespace

bool AllowanceSymbolWellFormed(std::string_view symbol) {
    const std::string s = Trimmed(symbol);
    if (s.empty() || s.size() > 4 || s.size() != symbol.find_last_not_of(' ') + 1) return false;
    if (!std::isupper(static_cast<unsigned char>(s[0]))) return false;
    for (char c : s.substr(1)) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isupper(u) && !std::isdigit(u)) return false;
    }
    return true;
}

ListEnd EditAllowances(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& dod,
                       std::string_view number, const AllowanceListOptions& options) {
    AllowanceList list(rt, tables, dod, number, options);
    return list.Run();
}

}  // namespace kestrel::registry
