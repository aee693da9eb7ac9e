#include "tax/income_browse.h"

#include <cstdio>
#include <string>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "tax/records/income_sorts.h"
#include "tax/records/month_totals.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::tax {
namespace {

namespace key = console::key;
using common::Browse;
using common::BrowseColumn;

constexpr unsigned kMaskOpen = 36;  // kind 3 or kind 6
constexpr int kTop = 7, kBottom = 18, kLegendRow = 19;

struct SortLegend {
    IncomeSort sort;
    int key;
    const char* name;   // "<Fn>-"
    int row, col;       // where the name stands
    const char* label;  // after the name, UTF-8
};

const SortLegend kSorts[] = {
    {IncomeSort::kByMonth, key::F(5), "<F5>-", kLegendRow + 1, 2, "Sort wg: M-C,TYT.WYP.,NR PRAC."},
    {IncomeSort::kByEmployee, key::F(6), "<F6>-", kLegendRow + 1, 40,
     "Sort wg: NR PRAC.,M-C,TYT.WYP."},
    {IncomeSort::kByList, key::F(7), "<F7>-", kLegendRow + 2, 2, "Sort wg: NR LISTY,NR PRAC."},
};

std::string Cut(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}

// "YYYY.MM" of a stored "YYYYMM…"; blanks when there is none.
std::string MonthText(std::string_view yyyymm) {
    if (yyyymm.size() < 6) return std::string(7, ' ');
    return std::string(yyyymm.substr(0, 4)) + "." + std::string(yyyymm.substr(4, 2));
}

class IncomeBrowse {
  public:
    IncomeBrowse(common::Runtime& rt)
        : rt_(rt),
          tables_(rt),
          plain_(rt.Standard(rt.colours().ycow)),
          area_(worktime::OpenOnce(tables_, "PKDOCH", SortIndexes())) {
        const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt_, tables_);
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d%02d", m.year, m.month);
        system_month_ = buf;
    }

    void Run();

  private:
    std::vector<BrowseColumn> Columns();
    std::string Text(const char* field) {
        return area_.record().GetString(area_.FieldIndex(field));
    }
    double Number(const char* field) { return area_.record().GetNumber(area_.FieldIndex(field)); }
    void DrawLegend();
    void Order(IncomeSort sort);
    int Handle(int mode, Browse& b);
    int Seek();
    void Totals(Browse& b);

    common::Runtime& rt_;
    common::Tables tables_;
    console::Attr plain_;
    dbf::WorkArea& area_;
    IncomeSort sort_ = IncomeSort::kByMonth;
    std::string system_month_;  // "YYYYMM"
};

std::vector<BrowseColumn> IncomeBrowse::Columns() {
    auto visible = [this] { return !area_.eof(); };
    return {
        {rt_.Text("LISTA"), 12,
         [this, visible] {
             if (!visible()) return std::string();
             return Cut(base::TrimRight(Text("ROK_LST")) + "/" + base::Trim(Text("TYP_LST")) + "/" +
                            base::Trim(Text("NR_LST")),
                        12);
         }},
        {rt_.Text("PRAC."), 6, [this] { return Text("NR_PRAC"); }},
        {rt_.Text("M-C"), 7,
         [this, visible] {
             return visible() ? MonthText(area_.record().GetDate(area_.FieldIndex("DATA_WYP")))
                              : std::string();
         }},
        {rt_.Text("TYT."), 4, [this] { return Text("TYTUL_WYP"); }},
        {rt_.Text("  PRZYCHÓD     KOSZTY    PODATEK A"), 34,
         [this, visible] {
             if (!visible()) return std::string();
             return FitAmount(Number("PRZYCHOD_"), 10) + " " + FitAmount(Number("KOSZT_UZ"), 10) +
                    " " + FitAmount(Number("PODATEK_"), 10) + " " +
                    (area_.record().GetLogical(area_.FieldIndex("AUTOMAT_")) ? "A" : " ");
         }},
    };
}

void IncomeBrowse::DrawLegend() {
    auto& s = rt_.screen();
    s.Clear(kLegendRow, 1, kLegendRow + 2, 77, plain_);
    common::WriteLegend(rt_, kLegendRow, 2,
                        "<Esc>-Wyjście   <F2>-Szukanie   <F3>-Podsumowanie miesiąca");
    // The order in force shows its label emphasised.
    for (const SortLegend& l : kSorts) {
        const std::string name = l.name;
        common::WriteLegend(rt_, l.row, l.col, name + l.label);
        if (l.sort == sort_)
            s.Write(l.row, l.col + static_cast<int>(name.size()), rt_.Text(l.label),
                    rt_.Standard(rt_.colours().ycob));
    }
}

void IncomeBrowse::Order(IncomeSort sort) {
    sort_ = sort;
    worktime::OrderBy(area_, SortIndex(sort));
}

void IncomeBrowse::Run() {
    auto& s = rt_.screen();
    s.Clear(4, 1, 22, 77, plain_);
    s.Write(5, 22, rt_.Text("7.4. Przeglądanie kartoteki"), plain_);
    Order(IncomeSort::kByMonth);
    // The system month's records first; a later month has none yet.
    if (!area_.Seek(system_month_, true).ok() || (area_.eof() && !area_.GoBottom().ok()))
        throw common::Abandon(rt_.Text("Błąd odczytu: PKDOCH"));
    DrawLegend();
    common::BrowseTable(rt_, area_, kTop, 1, kBottom, 77, Columns(),
                        [this](int mode, int, Browse& b) { return Handle(mode, b); });
}

int IncomeBrowse::Handle(int mode, Browse& b) {
    if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
    const int k = rt_.console().LastKey();
    if (k == key::kEsc) return common::kBrowseClose;
    if (k == key::F(2)) return Seek();
    if (k == key::F(3)) {
        Totals(b);
        return common::kBrowseRedrawAll;
    }
    for (const SortLegend& l : kSorts) {
        if (k != l.key) continue;
        Order(l.sort);
        DrawLegend();
        return common::kBrowseRedrawAll;
    }
    return common::kBrowseRedrawRow;
}

int IncomeBrowse::Seek() {
    auto& s = rt_.screen();
    constexpr int top = 10, left = 18, bottom = 15, right = 58, label = 20, value = 36;
    const console::ScreenRegion under = s.Save(top, left, bottom, right);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", plain_);
    double year = 0, month = 0, number = 0;
    std::string employee(6, ' '), kind(4, ' ');
    common::Form form(rt_);
    int row = top + 1;
    auto field = [&](const char* text) {
        s.Write(row, label, rt_.Text(text), plain_);
        return row++;
    };
    auto ask_year = [&](const char* text) { form.Get(field(text), value, &year, 4, 0, "9999"); };
    auto ask_month = [&] { form.Get(field("Miesiąc:"), value, &month, 2, 0, "99"); };
    auto ask_employee = [&] { form.Get(field("Nr pracownika:"), value, &employee, "999999"); };
    auto ask_kind = [&] { form.Get(field("Tytuł wypłaty:"), value, &kind, "@!", 4); };
    switch (sort_) {
        case IncomeSort::kByMonth:
            ask_year("Rok:");
            ask_month();
            ask_kind();
            ask_employee();
            break;
        case IncomeSort::kByEmployee:
            ask_employee();
            ask_year("Rok:");
            ask_month();
            ask_kind();
            break;
        case IncomeSort::kByList:
            ask_year("Rok listy:");
            form.Get(field("Nr listy:"), value, &number, 4, 0, "9999");
            ask_employee();
            ask_kind();
            break;
    }
    const bool ok = common::Qrmrdr(rt_, form).saved();
    s.Restore(under);
    if (!ok) return common::kBrowseRedrawRow;
    IncomeSeek fields;
    fields.year = static_cast<int>(year);
    fields.month = static_cast<int>(month);
    fields.list_number = static_cast<int>(number);
    fields.employee = employee;
    fields.kind = kind;
    const std::string wanted = SeekKey(sort_, fields);
    if (wanted.empty()) return common::kBrowseRedrawRow;
    const SeekOutcome out = SeekIncome(area_, wanted);
    if (out != SeekOutcome::kFound) common::ShowMessage(rt_, rt_.Text(SeekMessage(out)));
    return common::kBrowseRedrawAll;
}

void IncomeBrowse::Totals(Browse& b) {
    std::string month = system_month_;
    if (!b.source().Empty() && !area_.eof()) {
        const std::string paid = area_.record().GetDate(area_.FieldIndex("DATA_WYP"));
        if (paid.size() >= 6) month = paid.substr(0, 6);
    }
    const std::vector<KindTotals> totals = MonthTotals(tables_, month);
    if (totals.empty()) {
        common::ShowMessage(rt_, rt_.Text("Brak rekordów z miesiąca ") + MonthText(month));
        return;
    }
    auto& s = rt_.screen();
    constexpr int top = 6, bottom = 20;
    const console::ScreenRegion under = s.Save(top, 0, bottom, 79);
    s.Box(top, 0, bottom, 79, std::string(console::kFrameDouble) + " ", plain_);
    s.Write(top, 3, rt_.Text(" Podsumowanie miesiąca ") + MonthText(month) + " ",
            rt_.Standard(rt_.colours().ycobp));
    common::WriteLegend(rt_, bottom - 1, 3, "<Esc>-Wyjście");
    int current = 1;
    std::vector<BrowseColumn> columns = {
        {rt_.Text(kTotalsHeading), 76,
         [&] { return TotalsLine(totals[static_cast<size_t>(current - 1)]); }}};
    common::BrowseList(
        rt_, top + 1, 2, bottom - 2, 77, std::move(columns),
        [this](int mode, int, Browse&) {
            if (mode == common::kBrowseIdle) return static_cast<int>(common::kBrowseRedrawRow);
            return rt_.console().LastKey() == key::kEsc
                       ? static_cast<int>(common::kBrowseClose)
                       : static_cast<int>(common::kBrowseRedrawRow);
        },
        &current, static_cast<int>(totals.size()));
    s.Restore(under);
}

}  // namespace

void Qrm74(common::Runtime& rt) {
    if (!common::CheckRights(rt, kMaskOpen)) return;
    IncomeBrowse browse(rt);
    browse.Run();
}

}  // namespace kestrel::tax
