#include "register/allowances.h"

#include <cctype>
#include <cstdio>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "register/data/employee_lookup.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;

constexpr int kTitleRow = 6, kHeadingRow = 7, kFirstLine = 9, kLastLine = 17;
constexpr int kEntryRow = 19, kStateRow = 20, kHintRow = 21;
constexpr int kLpCol = 2, kSymbolCol = 5, kNameCol = 10, kTimedCol = 32, kRangeCol = 38,
              kSwitchCol = 54, kAmountCol = 58, kPercentCol = 71;
constexpr int kNameWidth = 20;

using base::Trim;

bool SymbolForm(const std::string& symbol) {
    if (symbol.empty() || !std::isalpha(static_cast<unsigned char>(symbol[0]))) return false;
    for (char c : symbol) {
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    }
    return symbol.size() <= 4;
}

void Beep(common::Runtime& rt) {
    rt.console().Tone(common::kToneFrequency, common::kToneTicks);
}

std::string Name(PageContext& ctx, const std::string& symbol) {
    std::string name;
    if (!symbol.empty()) CheckCode(ctx.tables, "RODZAJ_DOD", symbol, &name);
    return Trim(name).substr(0, kNameWidth);
}

void DrawHeading(common::Runtime& rt) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(kTitleRow, 1, kHintRow, 77, plain);
    s.Write(kTitleRow, kLpCol, rt.Text("Dodatki i potrącenia"), plain);
    s.Write(kHeadingRow, kLpCol, "Lp", plain);
    s.Write(kHeadingRow, kSymbolCol, "Symb", plain);
    s.Write(kHeadingRow, kNameCol, "Nazwa", plain);
    s.Write(kHeadingRow, kTimedCol - 2, "Czasowy?", plain);
    s.Write(kHeadingRow, kRangeCol + 2, "Zakres m-cy", plain);
    s.Write(kHeadingRow, kSwitchCol, "T/F", plain);
    s.Write(kHeadingRow, kAmountCol + 7, "Kwota", plain);
    s.Write(kHeadingRow, kPercentCol + 5, "%", plain);
}

void DrawLine(PageContext& ctx, int row, const Allowance& a) {
    common::Runtime& rt = ctx.rt;
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(row, 1, row, 77, plain);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%2d", a.line);
    s.Write(row, kLpCol, buf, plain);
    s.Write(row, kSymbolCol, a.symbol, plain);
    s.Write(row, kNameCol, Name(ctx, a.symbol), plain);
    s.Write(row, kTimedCol, a.timed ? "T" : "N", plain);
    if (a.timed) {
        std::snprintf(buf, sizeof buf, "%04d/%02d-%04d/%02d", a.from_year, a.from_month, a.to_year,
                      a.to_month);
        s.Write(row, kRangeCol, buf, plain);
    }
    switch (ValueKindOf(ctx.tables, a.symbol)) {
        case AllowanceValue::kSwitch:
            s.Write(row, kSwitchCol + 1, a.value != 0 ? "T" : "F", plain);
            break;
        case AllowanceValue::kAmount:
            std::snprintf(buf, sizeof buf, "%12.2f", a.value);
            s.Write(row, kAmountCol, buf, plain);
            break;
        case AllowanceValue::kPercent:
            std::snprintf(buf, sizeof buf, "%6.2f", a.value);
            s.Write(row, kPercentCol, buf, plain);
            break;
    }
}

// The last lines of the list above the entry rows.
void DrawList(PageContext& ctx, const std::vector<Allowance>& lines) {
    auto& s = ctx.rt.screen();
    s.Clear(kFirstLine, 1, kLastLine, 77, ctx.rt.Standard(ctx.rt.colours().ycow));
    const int room = kLastLine - kFirstLine + 1;
    const int shown = std::min(room, static_cast<int>(lines.size()));
    for (int i = 0; i < shown; ++i) {
        DrawLine(ctx, kFirstLine + i, lines[lines.size() - static_cast<size_t>(shown - i)]);
    }
}

// One line: its number first, then its fields. kEnd ends the list, kBack
// asks the number again, kEscape gives the list up.
enum class LineExit { kWritten, kBack, kEnd, kEscape };

class LineEntry {
  public:
    LineEntry(PageContext& ctx, dbf::WorkArea& dod, std::string number)
        : ctx_(ctx), rt_(ctx.rt), dod_(dod), number_(std::move(number)) {}

    LineExit AskNumber(const std::vector<Allowance>& lines, int* line);
    LineExit AskFields(const std::vector<Allowance>& lines, Allowance* a);

  private:
    PageContext& ctx_;
    common::Runtime& rt_;
    dbf::WorkArea& dod_;
    std::string number_;
};

LineExit LineEntry::AskNumber(const std::vector<Allowance>& lines, int* line) {
    auto& kb = rt_.console().keyboard();
    bool end = false;
    auto old = kb.Bind(key::F(10), [&] {
        end = true;
        kb.Push(key::kEsc);
    });
    double lp = NextAllowanceLine(lines);
    common::Form form(rt_);
    form.Get(kEntryRow, kLpCol, &lp, 2, 0).Valid([&] {
        if (lp >= 1 && lp <= 99) return true;
        Beep(rt_);
        return false;
    });
    const bool saved = form.Read().saved();
    kb.Bind(key::F(10), old);
    if (end) return LineExit::kEnd;
    if (!saved) return LineExit::kEscape;
    *line = static_cast<int>(lp);
    return LineExit::kWritten;
}

LineExit LineEntry::AskFields(const std::vector<Allowance>& lines, Allowance* a) {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    std::string symbol = a->symbol;
    symbol.resize(4, ' ');
    bool timed = a->timed;
    double from_year = a->from_year, from_month = a->from_month, to_year = a->to_year,
           to_month = a->to_month;
    bool on = a->value != 0;
    double amount = a->value, percent = a->value;
    bool forced = false;
    AllowanceValue kind = AllowanceValue::kPercent;

    auto edited = [&] {
        Allowance e = *a;
        e.symbol = Trim(symbol);
        e.timed = timed;
        e.from_year = static_cast<int>(from_year);
        e.from_month = static_cast<int>(from_month);
        e.to_year = static_cast<int>(to_year);
        e.to_month = static_cast<int>(to_month);
        return e;
    };
    auto refuse = [&](const std::string& message) {
        if (message.empty()) {
            Beep(rt_);
        } else {
            common::ShowMessage(rt_, rt_.Text(message));
        }
        return false;
    };
    const int row = kEntryRow;
    common::Form form(rt_);
    form.Get(row, kSymbolCol, &symbol, "@!").Valid([&] {
        const std::string sym = Trim(symbol);
        if (!SymbolForm(sym)) return refuse("");
        std::string name;
        const Verdict v = CheckCode(ctx_.tables, "RODZAJ_DOD", sym, &name);
        if (!v.accepted) return refuse(v.message);
        s.Write(row, kNameCol, Trim(name).substr(0, kNameWidth), plain);
        const std::string dup = AllowanceSymbolMessage(lines, edited(), &forced);
        if (!dup.empty()) return refuse(dup);
        if (forced) timed = true;
        kind = ValueKindOf(ctx_.tables, sym);
        return true;
    });
    form.Get(row, kTimedCol, &timed).When([&] { return !forced; });
    form.Get(row, kRangeCol, &from_year, 4, 0).When([&] { return timed; }).Valid([&] {
        return from_year >= 1991 && from_year <= 2050 ? true : refuse("");
    });
    form.Get(row, kRangeCol + 5, &from_month, 2, 0).When([&] { return timed; }).Valid([&] {
        return from_month >= 1 && from_month <= 12 ? true : refuse("");
    });
    form.Get(row, kRangeCol + 8, &to_year, 4, 0).When([&] { return timed; }).Valid([&] {
        return to_year >= from_year && to_year <= 2050 ? true : refuse("");
    });
    form.Get(row, kRangeCol + 13, &to_month, 2, 0).When([&] { return timed; }).Valid([&] {
        if (to_month < 1 || to_month > 12) return refuse("");
        if (to_year == from_year && to_month < from_month) return refuse("");
        return true;
    });
    form.Get(row, kSwitchCol + 1, &on).When([&] { return kind == AllowanceValue::kSwitch; });
    form.Get(row, kAmountCol, &amount, 12, 2)
        .When([&] { return kind == AllowanceValue::kAmount; })
        .Valid([&] { return amount >= 0 && amount <= 999999999.99 ? true : refuse(""); });
    form.Get(row, kPercentCol, &percent, 6, 2)
        .When([&] { return kind == AllowanceValue::kPercent; })
        .Valid([&] { return percent >= 0 && percent <= 999.99 ? true : refuse(""); });

    auto& kb = rt_.console().keyboard();
    bool back = false;
    auto old = kb.Bind(key::F(10), [&] {
        if (form.current() != 0) return;
        back = true;
        kb.Push(key::kEsc);
    });
    // In the update an existing line can be removed.
    const bool removable = ctx_.update && a->recno != 0;
    bool remove = false;
    auto old_f8 = kb.Bind(key::F(8), [&] {
        if (!removable) return;
        remove = true;
        kb.Push(key::kEsc);
    });
    s.Clear(kHintRow, 1, kHintRow, 77, plain);
    common::WriteLegend(rt_, kHintRow, 1, "<F10>-Powrót do \"Lp\"");
    if (removable) common::WriteLegend(rt_, kHintRow, 30, "<F8>-Kasowanie rekordu");
    // A range that collides with another line of the symbol is asked again
    // from its start.
    constexpr int kFromYearField = 2;
    bool saved = form.Read().saved();
    while (saved && !back) {
        const std::string collision = AllowanceRangeMessage(lines, edited());
        if (collision.empty()) break;
        common::ShowMessage(rt_, rt_.Text(collision));
        saved = form.Read(kFromYearField).saved();
    }
    kb.Bind(key::F(10), old);
    kb.Bind(key::F(8), old_f8);
    s.Clear(kHintRow, 1, kHintRow, 77, plain);
    if (remove) {
        const std::string question =
            rt_.Text("Kasować symbol \"") + Trim(a->symbol) + rt_.Text("\"?");
        if (common::IsYes(common::Question(rt_, question, "tn", 'N')))
            DeleteRow(ctx_.tables, dod_, a->recno);
        return LineExit::kBack;
    }
    if (back) return LineExit::kBack;
    if (!saved) return LineExit::kEscape;
    *a = edited();
    if (!a->timed) a->from_year = a->from_month = a->to_year = a->to_month = 0;
    a->value = kind == AllowanceValue::kSwitch   ? (on ? 1 : 0)
               : kind == AllowanceValue::kAmount ? amount
                                                 : percent;
    return LineExit::kWritten;
}

}  // namespace

AllowanceValue ValueKindOf(common::Tables& tables, std::string_view symbol) {
    dbf::WorkArea* open = tables.workspace().Select("PKSRDOD");
    dbf::WorkArea& d = open ? *open : tables.Open("PKSRDOD", {"PKSRDOD1"});
    std::string key(Trim(symbol));
    key.resize(4, ' ');
    if (!d.Seek(key).ok() || !d.found()) return AllowanceValue::kPercent;
    if (d.record().GetLogical(d.FieldIndex("TAK_NIE"))) return AllowanceValue::kSwitch;
    if (d.record().GetLogical(d.FieldIndex("KWOTA_PROC"))) return AllowanceValue::kAmount;
    return AllowanceValue::kPercent;
}

bool EnterAllowances(PageContext& ctx, dbf::WorkArea& dod, const EmployeeRecord& employee,
                     bool registration, std::vector<uint32_t>* written) {
    common::Runtime& rt = ctx.rt;
    const std::string number = employee.number();
    if (registration) {
        for (const Allowance& a : ReadAllowances(dod, number)) DeleteRow(ctx.tables, dod, a.recno);
    }
    LineEntry entry(ctx, dod, number);
    DrawHeading(rt);
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    for (;;) {
        std::vector<Allowance> lines = ReadAllowances(dod, number);
        DrawList(ctx, lines);
        s.Clear(kEntryRow, 1, kHintRow, 77, plain);
        common::WriteLegend(rt, kHintRow, 1, "<F10>-Koniec rejestracji Dodatków / Potrąceń");
        int line = 0;
        const LineExit n = entry.AskNumber(lines, &line);
        if (n == LineExit::kEnd) return true;
        if (n == LineExit::kEscape) return false;
        Allowance a;
        a.line = line;
        bool exists = false;
        for (const Allowance& l : lines) {
            if (l.line == line) {
                a = l;
                exists = true;
            }
        }
        s.Write(kStateRow, kLpCol, rt.Text(exists ? "Istniejący rekord" : "Nowy rekord"),
                rt.Standard(rt.colours().ycowp));
        DrawLine(ctx, kEntryRow, a);
        s.Write(kEntryRow, kRangeCol + 4, "/", plain);
        s.Write(kEntryRow, kRangeCol + 7, "-", plain);
        s.Write(kEntryRow, kRangeCol + 12, "/", plain);
        const LineExit x = entry.AskFields(lines, &a);
        if (x == LineExit::kBack) continue;
        if (x == LineExit::kEscape) return false;
        const uint32_t recno = WriteAllowance(ctx.tables, dod, number, a);
        if (written) written->push_back(recno);
    }
}

void ShowAllowances(PageContext& ctx, dbf::WorkArea& dod, const EmployeeRecord& employee) {
    DrawHeading(ctx.rt);
    const std::vector<Allowance> lines = ReadAllowances(dod, employee.number());
    const int room = kHintRow - kFirstLine;
    for (int i = 0; i < room && i < static_cast<int>(lines.size()); ++i) {
        DrawLine(ctx, kFirstLine + i, lines[static_cast<size_t>(i)]);
    }
}

}  // namespace kestrel::registry
