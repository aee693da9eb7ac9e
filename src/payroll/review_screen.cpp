#include "payroll/review_screen.h"

#include <cstdio>
#include <string>
#include <vector>

#include "common/pick/archive_pick.h"
#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/browse.h"
#include "common/screen/choice.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "payroll/data/position_review.h"
#include "payroll/review_windows.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;
using common::Browse;
using common::BrowseColumn;

constexpr unsigned kMaskBrowse = 36;  // kind 3 or kind 6
constexpr unsigned kMaskChange = 4;   // kind 3
constexpr int kBrowseTop = 7, kBrowseBottom = 19;
constexpr const char* kArchiveAlias = "PKPLACEA";

// A logical cell: T or N after `indent`, blank past the end.
std::string Flag(dbf::WorkArea& a, const char* indent, bool on) {
    return a.eof() ? std::string() : indent + std::string(on ? "T" : "N");
}

class Review {
  public:
    Review(common::Runtime& rt, common::Tables& tables, bool can_change)
        : rt_(rt), tables_(tables), can_change_(can_change) {}

    void Run();

  private:
    std::vector<BrowseColumn> Columns();
    void DrawFrame();
    void DrawOrders();
    int Handle(int mode, Browse& b);
    int SwitchTables();
    int SearchBox();
    int Summarise(SummaryKind kind);
    int Remove(Browse& b);
    int Correct(Browse& b);
    bool MayChange();
    void AfterRemoval();
    void Beep() { rt_.console().Tone(common::kToneFrequency, common::kToneTicks); }

    common::Runtime& rt_;
    common::Tables& tables_;
    const bool can_change_;
    dbf::WorkArea* place_ = nullptr;
    std::string archive_;  // "" while the current tables are shown
    ReviewOrder order_ = ReviewOrder::kByMonth;
    std::vector<Component> components_;
    worktime::SettlementMonth month_;
    bool switch_ = false;
};

std::vector<BrowseColumn> Review::Columns() {
    dbf::WorkArea& a = *place_;
    // Past the end (an empty table) every cell is blank.
    auto at = [&a] { return a.eof() ? Position{} : ReadPlace(a); };
    return {
        {rt_.Text("SYMB.LISTY"), 10, [at] { return at().list_key; }},
        {rt_.Text("PRAC."), 6, [at] { return at().employee; }},
        {rt_.Text("SKŁ."), 4, [at] { return at().symbol; }},
        {rt_.Text("DATA W."), 10,
         [at] {
             const std::string paid = at().paid;
             return paid.empty() ? std::string(10, ' ') : base::DateText(base::DateOfDbfText(paid));
         }},
        {rt_.Text(" KWOTA/WARTOŚĆ"), 14,
         [&a, at] { return a.eof() ? std::string() : AmountText(at().amount); }},
        {rt_.Text("POTR?"), 5, [&a, at] { return Flag(a, "  ", at().deduction); }},
        {rt_.Text("BL.ALG?"), 7, [&a, at] { return Flag(a, "   ", at().blocked); }},
        {rt_.Text("POMOCN?"), 7, [&a, at] { return Flag(a, "   ", at().off_list); }},
        {rt_.Text("AKT?"), 4, [&a, at] { return Flag(a, " ", at().to_tax); }},
    };
}

void Review::DrawFrame() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(4, 1, 21, 77, plain);
    s.Write(4, 22, rt_.Text("4.6. Przeglądanie i korekta"), rt_.Standard(rt_.colours().ycob));
    s.Write(5, 22,
            archive_.empty() ? rt_.Text("Pliki bieżące, rok.mc: ") + month_.Text()
                             : rt_.Text("Katalog archiwalny: ") + archive_,
            plain);
    common::WriteLegend(rt_, 6, 2,
                        "<F3>-Do wypłaty z listy   <F4>-Cała lista   <F9>-Do wypłaty za m-c");
    std::string keys = "<Esc>-Wyjście  <F1>-Archiwum  <F2>-Szukanie";
    if (can_change_ && archive_.empty()) keys += "  <Enter>-Korekta  <Del>-Kasow.";
    common::WriteLegend(rt_, 20, 2, keys);
    DrawOrders();
}

// The key of the order in force is shown in YCOB, the others emphasised.
void Review::DrawOrders() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    const console::Attr active = rt_.Standard(rt_.colours().ycob);
    const console::Attr other = rt_.Standard(rt_.colours().ycowp);
    struct Item {
        ReviewOrder order;
        const char* key;
        const char* label;
    } const items[] = {
        {ReviewOrder::kByMonth, "<F5>", "Sort:M-C,PRAC.,SKŁ."},
        {ReviewOrder::kByList, "<F6>", "Sort:LISTA,PRAC.,SKŁ."},
        {ReviewOrder::kByEmployee, "<F7>", "Sort:PRAC.,SKŁ.,M-C"},
    };
    s.Clear(21, 1, 21, 77, plain);
    int col = 1;
    for (const Item& i : items) {
        const bool on = i.order == order_;
        col = s.Write(21, col, i.key, on ? plain : other);
        col = s.Write(21, col, "-", plain);
        col = s.Write(21, col, rt_.Text(i.label), on ? active : plain) + 1;
    }
}

void Review::Run() {
    month_ = worktime::ReadSettlementMonth(rt_, tables_);
    components_ = ReadComponents(tables_);
    place_ = &worktime::OpenOnce(tables_, "PKPLACE", ReviewIndexes());
    ReviewKey start;
    start.year = std::to_string(month_.year);
    start.month = std::to_string(month_.month);
    Search(rt_, *place_, order_, start);
    for (;;) {
        switch_ = false;
        DrawFrame();
        common::BrowseTable(
            rt_, *place_, kBrowseTop, 1, kBrowseBottom, 77, Columns(),
            [this](int mode, int, Browse& b) { return Handle(mode, b); }, 3);
        if (!switch_) return;
    }
}

int Review::Handle(int mode, Browse& b) {
    if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
    const int k = rt_.console().LastKey();
    switch (k) {
        case key::kEsc:
            return common::kBrowseClose;
        case key::F(1):
            return SwitchTables();
        case key::F(2):
            return SearchBox();
        case key::F(3):
            return Summarise(SummaryKind::kPayableOfList);
        case key::F(4):
            return Summarise(SummaryKind::kAllOfList);
        case key::F(9):
            return Summarise(SummaryKind::kPayableOfMonth);
        case key::F(5):
        case key::F(6):
        case key::F(7):
            order_ = k == key::F(5)   ? ReviewOrder::kByMonth
                     : k == key::F(6) ? ReviewOrder::kByList
                                      : ReviewOrder::kByEmployee;
            SetReviewOrder(rt_, *place_, order_);
            DrawOrders();
            return common::kBrowseRedrawAll;
        case key::kDel:
            return Remove(b);
        case key::kEnter:
            return Correct(b);
        default:
            return common::kBrowseRedrawRow;
    }
}

int Review::SwitchTables() {
    if (!archive_.empty()) {
        if (dbf::WorkArea* a = tables_.workspace().Find(kArchiveAlias))
            tables_.workspace().Close(a->number());
        archive_.clear();
        place_ = &worktime::OpenOnce(tables_, "PKPLACE", ReviewIndexes());
    } else {
        const std::vector<std::string> dirs = ArchiveDirectories(rt_.data_dir());
        if (dirs.empty()) {
            common::ShowMessage(rt_, rt_.Text("Brak katalogów archiwalnych"));
            return common::kBrowseRedrawRow;
        }
        const std::string chosen = common::PickArchive(rt_, dirs);
        if (chosen.empty()) return common::kBrowseRedrawRow;
        archive_ = chosen;
        place_ = &OpenArchived(tables_, archive_, kArchiveAlias, "PKPLACE", ReviewIndexes());
    }
    SetReviewOrder(rt_, *place_, order_);
    if (!place_->GoTop().ok()) throw common::Abandon(rt_.Text("Błąd odczytu: PKPLACE"));
    switch_ = true;
    return common::kBrowseClose;
}

int Review::SearchBox() {
    auto& s = rt_.screen();
    const int top = 10, left = 24, bottom = 17, right = 54;
    const console::ScreenRegion under = s.Save(top, left, bottom, right);
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", frame);
    std::string year =
        std::to_string(archive_.empty() ? month_.year : std::stoi(archive_.substr(4)));
    std::string month(2, ' '), symbol(2, ' '), employee(6, ' '), component(4, ' ');
    double number = 0;
    common::Form form(rt_);
    int row = top + 1;
    const int col = left + 17;
    auto label = [&](const char* utf8) { s.Write(row, left + 2, rt_.Text(utf8), frame); };
    auto ask_month = [&] {
        label("Miesiąc:");
        form.Get(row++, col, &month, "99");
    };
    auto ask_employee = [&] {
        label("Pracownik:");
        form.Get(row++, col, &employee, "999999");
    };
    auto ask_component = [&] {
        label("Składnik:");
        form.Get(row++, col, &component, "@!");
    };
    label("Rok:");
    form.Get(row++, col, &year, "9999");
    switch (order_) {
        case ReviewOrder::kByMonth:
            ask_month();
            ask_employee();
            ask_component();
            break;
        case ReviewOrder::kByList:
            label("Symbol listy:");
            form.Get(row++, col, &symbol, "@!");
            label("Numer listy:");
            form.Get(row++, col, &number, 4, 0, "9999");
            ask_employee();
            ask_component();
            break;
        case ReviewOrder::kByEmployee:
            ask_employee();
            ask_component();
            ask_month();
            break;
    }
    const bool ok = form.Read().saved();
    s.Restore(under);
    if (!ok) return common::kBrowseRedrawRow;
    const ReviewKey wanted{year, month, symbol, static_cast<int>(number), employee, component};
    const SearchOutcome outcome = Search(rt_, *place_, order_, wanted);
    if (outcome != SearchOutcome::kFound) common::ShowMessage(rt_, SearchMessage(rt_, outcome));
    return common::kBrowseRedrawAll;
}

int Review::Summarise(SummaryKind kind) {
    if (place_->eof()) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    const Position at = ReadPlace(*place_);
    Summary summary;
    std::string caption;
    const std::string who = rt_.Text("   Pracownik: ") + at.employee;
    if (kind == SummaryKind::kPayableOfMonth) {
        summary = PayableOfMonth(*place_, components_);
        caption = rt_.Text("Rok.mc: ") + at.list_key.substr(0, 4) + "." + at.month + who;
    } else {
        summary = kind == SummaryKind::kPayableOfList ? PayableOfList(*place_, components_)
                                                      : AllOfList(*place_, components_);
        caption = rt_.Text("Lista: ") + at.list_key + who;
    }
    ShowSummary(rt_, kind, caption, summary);
    return common::kBrowseRedrawRow;
}

bool Review::MayChange() {
    if (!archive_.empty() || place_->eof()) {
        Beep();
        return false;
    }
    return common::CheckRights(rt_, kMaskChange);
}

void Review::AfterRemoval() {
    if (!place_->deleted()) return;
    if (!place_->Skip(1).ok()) throw common::Abandon(rt_.Text("Błąd odczytu: PKPLACE"));
    if (place_->eof() && !place_->GoBottom().ok())
        throw common::Abandon(rt_.Text("Błąd odczytu: PKPLACE"));
}

int Review::Remove(Browse&) {
    if (!MayChange()) return common::kBrowseRedrawRow;
    if (ReadPlace(*place_).to_tax) {
        common::ShowMessage(rt_, rt_.Text("Aktualiz. DOCH. - blokada kasow."));
        return common::kBrowseRedrawRow;
    }
    if (!common::IsYes(common::Question(rt_, rt_.Text("Kasować pozycję?"), "tn", 'n')))
        return common::kBrowseRedrawRow;
    const std::string refusal = DeletePlace(rt_, tables_, *place_);
    if (!refusal.empty()) {
        common::ShowMessage(rt_, refusal);
        return common::kBrowseRedrawRow;
    }
    AfterRemoval();
    return common::kBrowseRedrawAll;
}

int Review::Correct(Browse&) {
    if (!MayChange()) return common::kBrowseRedrawRow;
    const std::string refusal = CorrectionRefusal(rt_, tables_, *place_);
    if (!refusal.empty()) {
        common::ShowMessage(rt_, refusal);
        return common::kBrowseRedrawRow;
    }
    const Position p = ReadPlace(*place_);
    auto& s = rt_.screen();
    const int top = 11, left = 20, bottom = 15, right = 58;
    const console::ScreenRegion under = s.Save(top, left, bottom, right);
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", frame);
    s.Write(top, left + 3, rt_.Text(" Korekta pozycji ") + p.employee + " " + p.symbol + " ",
            rt_.Standard(rt_.colours().ycobp));
    Correction c{p.amount, p.blocked};
    s.Write(top + 1, left + 2, rt_.Text("Kwota/wartość:"), frame);
    s.Write(top + 2, left + 2, rt_.Text("Blokada algorytmu?:"), frame);
    common::Form form(rt_);
    form.Get(top + 1, left + 22, &c.amount, 15, 2, "999999999999.99");
    form.Get(top + 2, left + 22, &c.blocked);
    const bool ok = common::Qrmrdr(rt_, form).saved();
    s.Restore(under);
    if (!ok || (c.amount == p.amount && c.blocked == p.blocked)) return common::kBrowseRedrawRow;
    CorrectPlace(rt_, tables_, *place_, c);
    AfterRemoval();
    return common::kBrowseRedrawAll;
}

}  // namespace

void ReviewPositions(common::Runtime& rt, common::Tables& tables, bool can_change) {
    // F1 of the main menu (its colour switch) is the browse's own key here.
    const common::HotKeysAside keys(rt, {key::F(1)});
    Review(rt, tables, can_change).Run();
}

void Qrm46(common::Runtime& rt) {
    if (!common::CheckRights(rt, kMaskBrowse)) return;
    common::Tables tables(rt);
    ReviewPositions(rt, tables, common::CheckRights(rt, kMaskChange, false));
}

}  // namespace kestrel::payroll
