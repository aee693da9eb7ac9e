#include "payroll/lists_screen.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "platform/base/dates.h"
#include "platform/console/keys.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr unsigned kRights = 4;
constexpr int kTop = 7, kBottom = 19, kLegendRow = 21;
// The columns Enter changes (0-based).
constexpr int kPaidColumn = 4, kOpenColumn = 5, kTaxColumn = 6, kForYearColumn = 7;

class ListsBrowse {
  public:
    ListsBrowse(common::Runtime& rt, common::Tables& tables)
        : rt_(rt), tables_(tables), reg_(rt, tables), area_(reg_.area()) {}

    void Run();

  private:
    std::vector<common::BrowseColumn> Columns();
    int Handle(common::Browse& browse);
    int Change(common::Browse& browse);
    int ChangePaid(common::Browse& browse, const PayrollList& l);
    int ChangeOpen(const PayrollList& l);
    int ChangeTax(common::Browse& browse, const PayrollList& l);
    int ChangeForYear(common::Browse& browse, const PayrollList& l);
    int New();
    int Delete();
    void Beep() { rt_.console().Tone(common::kToneFrequency, common::kToneTicks); }
    void Message(const std::string& cp852) { common::ShowMessage(rt_, cp852); }
    // Stands on the first list of `prefix` (rok+mc) in the browse's order,
    // or on the last list when none follows.
    void SeekNear(const std::string& prefix) {
        worktime::OrderBy(area_, "PKLISTY4");
        if (!area_.Seek(prefix, true).ok() || area_.eof()) (void)area_.GoBottom();
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    ListRegister reg_;
    dbf::WorkArea& area_;
};

std::vector<common::BrowseColumn> ListsBrowse::Columns() {
    auto cell = [this](auto fn) {
        return [this, fn]() -> std::string {
            if (area_.eof()) return {};
            return fn(ReadList(area_));
        };
    };
    return {
        {rt_.Text("ROK"), 4, cell([](const PayrollList& l) { return l.year; })},
        {rt_.Text("M-C"), 3, cell([](const PayrollList& l) { return " " + l.month; })},
        {rt_.Text("NR LISTY"), 8, cell([](const PayrollList& l) { return StrN(l.number, 8); })},
        {rt_.Text("TYP"), 3, cell([](const PayrollList& l) { return " " + l.symbol; })},
        {rt_.Text("DATA WYPŁ."), 10,
         cell([](const PayrollList& l) { return base::DateText(base::DateOfDbfText(l.paid)); })},
        {rt_.Text("WSK.AKT."), 8,
         cell([](const PayrollList& l) { return std::string(l.open ? " #######" : ""); })},
        {rt_.Text("ZAPIS DO POD."), 13, cell([](const PayrollList& l) {
             return std::string(l.to_tax ? "     TAK" : "     NIE");
         })},
        {rt_.Text("ZA ROK"), 6, cell([](const PayrollList& l) { return StrN(l.for_year, 6); })},
    };
}

int ListsBrowse::ChangePaid(common::Browse& browse, const PayrollList& l) {
    int width = 0;
    const int col = browse.ColumnX(kPaidColumn, &width);
    if (col < 0) return common::kBrowseRedrawRow;
    picture::Date date = base::DateOfDbfText(l.paid);
    common::Form form(rt_);
    form.Get(browse.current_row(), col, &date).Valid([&] {
        const std::string refusal = reg_.CheckPaymentDate(l, base::DbfDateText(date));
        if (refusal.empty()) return true;
        Message(refusal);
        return false;
    });
    const common::ReadResult r = common::Qrmrdr(rt_, form);
    const std::string paid = base::DbfDateText(date);
    if (!r.saved() || paid == l.paid) return common::kBrowseRedrawRow;
    if (reg_.HasRecords(l)) {
        Message(rt_.Text("Istnieją rekordy na tej liście płac"));
        if (!common::IsYes(common::Question(rt_, rt_.Text("Zmienić datę wypłaty?"), "tn", 'n')))
            return common::kBrowseRedrawRow;
    }
    const console::Attr attr = rt_.Standard(rt_.colours().ycowp);
    reg_.ChangePaymentDate(
        l, paid, [&](const std::string& stage) { common::WriteMessage(rt_, stage, attr); });
    common::ClearMessageRow(rt_);
    return common::kBrowseRedrawAll;
}

int ListsBrowse::ChangeOpen(const PayrollList& l) {
    if (l.open) {
        if (common::IsYes(common::Question(rt_, rt_.Text("Zamknąć listę płac?"), "tn", 'n')))
            reg_.Close(l);
        return common::kBrowseRedrawAll;
    }
    const std::string refusal = reg_.CheckReopen(l);
    if (!refusal.empty()) {
        Message(refusal);
        return common::kBrowseRedrawRow;
    }
    if (!common::IsYes(common::Question(rt_, rt_.Text("Uaktywnić zamkniętą listę?"), "tn", 'n')))
        return common::kBrowseRedrawRow;
    common::WriteMessage(rt_, rt_.Text("Sprawdzanie zbioru PKPLACE"),
                         rt_.Standard(rt_.colours().ycowp));
    const std::string blocked = reg_.Reopen(l);
    common::ClearMessageRow(rt_);
    if (!blocked.empty()) Message(blocked);
    return common::kBrowseRedrawAll;
}

int ListsBrowse::ChangeTax(common::Browse& browse, const PayrollList& l) {
    int width = 0;
    const int col = browse.ColumnX(kTaxColumn, &width);
    if (col < 0) return common::kBrowseRedrawRow;
    bool on = l.to_tax;
    common::Form form(rt_);
    form.Get(browse.current_row(), col + width / 2, &on);
    if (common::Qrmrdr(rt_, form).saved() && on != l.to_tax) reg_.SetToTax(l, on);
    return common::kBrowseRedrawAll;
}

int ListsBrowse::ChangeForYear(common::Browse& browse, const PayrollList& l) {
    int width = 0;
    const int col = browse.ColumnX(kForYearColumn, &width);
    if (col < 0) return common::kBrowseRedrawRow;
    double year = l.for_year;
    const int last = base::DateOfDbfText(l.paid).year;
    common::Form form(rt_);
    form.Get(browse.current_row(), col + width - 4, &year, 4, 0, "9999").Valid([&] {
        const std::string refusal = reg_.CheckForYear(static_cast<int>(year), last);
        if (refusal.empty()) return true;
        Message(refusal);
        return false;
    });
    if (common::Qrmrdr(rt_, form).saved() && static_cast<int>(year) != l.for_year)
        reg_.SetForYear(l, static_cast<int>(year));
    return common::kBrowseRedrawAll;
}

int ListsBrowse::Change(common::Browse& browse) {
    const PayrollList l = ReadList(area_);
    const int column = browse.column();
    if (column == kOpenColumn) return ChangeOpen(l);
    if (column != kPaidColumn && column != kTaxColumn && column != kForYearColumn) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    if (!l.open) {
        Message(rt_.Text("Zmiana dopuszczalna w aktywnej liście"));
        return common::kBrowseRedrawRow;
    }
    if (column == kPaidColumn) return ChangePaid(browse, l);
    if (column == kTaxColumn) return ChangeTax(browse, l);
    return ChangeForYear(browse, l);
}

int ListsBrowse::New() {
    const uint32_t was = area_.recno();
    const bool made = NewListDialog(rt_, tables_, reg_);
    const uint32_t now = area_.recno();
    worktime::OrderBy(area_, "PKLISTY4");
    (void)area_.Goto(made ? now : was);
    if (area_.eof() || area_.deleted()) (void)area_.GoTop();
    return common::kBrowseRedrawAll;
}

int ListsBrowse::Delete() {
    const PayrollList l = ReadList(area_);
    const std::string refusal = reg_.CheckDelete(l);
    if (!refusal.empty()) {
        Message(refusal);
        return common::kBrowseRedrawRow;
    }
    if (reg_.HasRecords(l)) {
        Message(rt_.Text("Uwaga - są pozycje w PKPLACE"));
        if (!common::IsYes(
                common::Question(rt_, rt_.Text("Kasować pozycje listy płac?"), "tn", 'n')))
            return common::kBrowseRedrawRow;
        if (!common::ConfirmPassword(rt_)) return common::kBrowseRedrawAll;
        auto& s = rt_.screen();
        const console::Attr frame = rt_.Standard(rt_.colours().ycow);
        const console::ScreenRegion under = s.Save(10, 22, 14, 56);
        s.Box(10, 22, 14, 56, std::string(console::kFrameDouble) + " ", frame);
        s.Write(11, 25, rt_.Text("Kasowanie pozycji listy płac"), frame);
        reg_.Delete(l, [&](int n) {
            char count[16];
            std::snprintf(count, sizeof count, "%7d", n);
            s.Write(13, 35, count, frame);
        });
        s.Restore(under);
    } else {
        if (!common::IsYes(common::Question(rt_, rt_.Text("Kasować pozycję?"), "tn", 'n')))
            return common::kBrowseRedrawRow;
        reg_.Delete(l);
    }
    SeekNear(l.year + l.month);
    return common::kBrowseRedrawAll;
}

int ListsBrowse::Handle(common::Browse& browse) {
    const bool empty = browse.source().Empty() || area_.eof();
    switch (rt_.console().LastKey()) {
        case key::kEsc:
            return common::kBrowseClose;
        case key::kIns:
            return New();
        case key::kEnter:
            if (empty) break;
            return Change(browse);
        case key::kDel:
            if (empty) break;
            return Delete();
        default:
            return common::kBrowseRedrawRow;
    }
    Beep();
    return common::kBrowseRedrawRow;
}

void ListsBrowse::Run() {
    const worktime::SettlementMonth month = worktime::ReadSettlementMonth(rt_, tables_);
    char ym[16];
    std::snprintf(ym, sizeof ym, "%04d.%02d", month.year, month.month);
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    s.Write(4, 22, rt_.Text("4.2. Otwieranie/zamykanie list płac"), plain);
    s.Write(5, 22, rt_.Text("Rok.mc: ") + ym, plain);
    common::WriteLegend(rt_, kLegendRow, 2, "<Enter>-Zmiana     <Ins>-Nowa lista     <Del>-Kasow.");
    common::WriteLegend(rt_, kLegendRow, 63, "<Esc>-Wyjście");
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%04d%02d", month.year, month.month);
    SeekNear(prefix);
    common::BrowseTable(rt_, area_, kTop, 1, kBottom, 77, Columns(),
                        [this](int mode, int, common::Browse& b) {
                            if (mode == common::kBrowseIdle) return int(common::kBrowseRedrawRow);
                            return Handle(b);
                        });
    s.Clear(4, 1, 22, 77, plain);
}

}  // namespace

void BrowseLists(common::Runtime& rt, common::Tables& tables) {
    ListsBrowse browse(rt, tables);
    browse.Run();
}

void Qrm42(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRights)) return;
    common::Tables tables(rt);
    BrowseLists(rt, tables);
}

}  // namespace kestrel::payroll
