#include "insurance/record_browse.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/pick/archive_pick.h"
#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/browse.h"
#include "common/screen/choice.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "payroll/data/position_review.h"
#include "platform/base/dates.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::insurance {
namespace {

namespace key = console::key;
using common::Browse;
using common::BrowseColumn;

constexpr unsigned kMaskBrowse = 36;  // kind 3 or kind 6
constexpr unsigned kMaskChange = 4;   // kind 3
constexpr int kTop = 6, kBottom = 18;

class RecordBrowse {
  public:
    RecordBrowse(common::Runtime& rt, RecordKind kind, const char* title, bool correction)
        : rt_(rt),
          tables_(rt),
          file_(DescribeRecords(kind, rt.config().Logical("NAGLPPK20"))),
          title_(title),
          correction_(correction),
          plain_(rt.Standard(rt.colours().ycow)) {}

    void Run();

  private:
    std::vector<BrowseColumn> Columns();
    void DrawFrame();
    void DrawOrders();
    int Handle(int mode, Browse& b);
    void Order(size_t order);
    void SeekMonth(int year, int month);
    int SwitchTables();
    int Search();
    int Identity();
    bool MayChange();
    int Correct(Browse& b);
    int Remove();
    void Beep() { rt_.console().Tone(common::kToneFrequency, common::kToneTicks); }
    std::string ErrorText() { return rt_.Text("Błąd odczytu: ") + file_.table; }

    common::Runtime& rt_;
    common::Tables tables_;
    RecordFile file_;
    const char* title_;
    const bool correction_;
    console::Attr plain_;
    dbf::WorkArea* area_ = nullptr;
    std::string archive_;  // "" while the current tables are shown
    size_t order_ = 0;
    worktime::SettlementMonth month_;
    bool switch_ = false;
};

std::vector<BrowseColumn> RecordBrowse::Columns() {
    std::vector<BrowseColumn> out;
    for (const RecordColumn& c : file_.columns) {
        const int width = ColumnWidth(c, *area_);
        out.push_back(
            {rt_.Text(c.heading), width, [this, &c, width] { return CellText(c, *area_, width); }});
    }
    return out;
}

void RecordBrowse::DrawFrame() {
    auto& s = rt_.screen();
    s.Clear(4, 1, 21, 77, plain_);
    s.Write(4, 22, rt_.Text(title_), rt_.Standard(rt_.colours().ycob));
    s.Write(5, 22,
            archive_.empty() ? rt_.Text("Pliki bieżące, rok.mc: ") + month_.Text()
                             : rt_.Text("Katalog archiwalny: ") + archive_,
            plain_);
    common::WriteLegend(rt_, 19, 2,
                        "<Esc>-Wyjście  <F1>-Zbiory bieżące/Zbiory archiwalne  <F2>-Szukanie  "
                        "<F3>-IWA");
    if (correction_ && archive_.empty() && common::CheckRights(rt_, kMaskChange, false))
        common::WriteLegend(rt_, 21, 2, "<Enter>-Korekta  <Del>-Kasowanie");
    DrawOrders();
}

// The key of the order in force is shown plain with its label in YCOB.
void RecordBrowse::DrawOrders() {
    auto& s = rt_.screen();
    const console::Attr active = rt_.Standard(rt_.colours().ycob);
    const console::Attr other = rt_.Standard(rt_.colours().ycowp);
    s.Clear(20, 1, 20, 77, plain_);
    int col = 2;
    for (size_t i = 0; i < file_.orders.size(); ++i) {
        const bool on = i == order_;
        const std::string name = "<F" + std::to_string(5 + i) + ">";
        col = s.Write(20, col, name, on ? plain_ : other);
        col = s.Write(20, col, "-", plain_);
        col = s.Write(20, col, rt_.Text(file_.orders[i].legend), on ? active : plain_) + 3;
    }
}

void RecordBrowse::Order(size_t order) {
    order_ = order;
    worktime::OrderBy(*area_, file_.orders[order].index);
}

// The first record of the month in the first order, else the last record.
void RecordBrowse::SeekMonth(int year, int month) {
    char wanted[8];
    std::snprintf(wanted, sizeof wanted, "%04d%02d", year, month);
    if (!area_->Seek(wanted, true).ok() || (area_->eof() && !area_->GoBottom().ok()))
        throw common::Abandon(ErrorText());
}

void RecordBrowse::Run() {
    month_ = worktime::ReadSettlementMonth(rt_, tables_);
    area_ = &worktime::OpenOnce(tables_, file_.table, file_.indexes);
    Order(0);
    SeekMonth(month_.year, month_.month);
    for (;;) {
        switch_ = false;
        DrawFrame();
        common::BrowseTable(
            rt_, *area_, kTop, 1, kBottom, 77, Columns(),
            [this](int mode, int, Browse& b) { return Handle(mode, b); }, file_.freeze,
            [this](Browse& b) {
                const int field = area_->FieldIndex("NIE_AKT_62");
                b.set_row_marked(
                    [this, field] { return !area_->eof() && area_->record().GetLogical(field); });
            });
        if (!switch_) return;
    }
}

int RecordBrowse::Handle(int mode, Browse& b) {
    if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
    const int k = rt_.console().LastKey();
    switch (k) {
        case key::kEsc:
            return common::kBrowseClose;
        case key::F(1):
            return SwitchTables();
        case key::F(2):
            return Search();
        case key::F(3):
            return Identity();
        case key::kEnter:
            return Correct(b);
        case key::kDel:
            return Remove();
        default:
            break;
    }
    for (size_t i = 0; i < file_.orders.size(); ++i) {
        if (k != key::F(static_cast<int>(5 + i))) continue;
        Order(i);
        DrawOrders();
        return common::kBrowseRedrawAll;
    }
    return common::kBrowseRedrawRow;
}

int RecordBrowse::SwitchTables() {
    const std::string alias = file_.table.substr(0, 7) + "A";
    if (!archive_.empty()) {
        if (dbf::WorkArea* a = tables_.workspace().Find(alias))
            tables_.workspace().Close(a->number());
        archive_.clear();
        area_ = &worktime::OpenOnce(tables_, file_.table, file_.indexes);
    } else {
        std::vector<std::string> dirs;
        for (const std::string& d : payroll::ArchiveDirectories(rt_.data_dir()))
            if (base::Exists(base::FindNoCase(rt_.data_dir() + d + "/", file_.table + ".DBF")))
                dirs.push_back(d);
        if (dirs.empty()) {
            common::ShowMessage(rt_, rt_.Text("Brak katalogów archiwalnych"));
            return common::kBrowseRedrawRow;
        }
        const std::string chosen = common::PickArchive(rt_, dirs);
        if (chosen.empty()) return common::kBrowseRedrawRow;
        archive_ = chosen;
        area_ = &payroll::OpenArchived(tables_, archive_, alias, file_.table, file_.indexes);
    }
    Order(order_);
    if (!area_->GoTop().ok()) throw common::Abandon(ErrorText());
    switch_ = true;
    return common::kBrowseClose;
}

int RecordBrowse::Search() {
    auto& s = rt_.screen();
    const std::vector<KeyPart>& parts = file_.orders[order_].parts;
    const int top = 10, left = 24, bottom = top + static_cast<int>(parts.size()) + 1, right = 54;
    const console::ScreenRegion under = s.Save(top, left, bottom, right);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", plain_);
    double year = archive_.empty() ? month_.year : std::atoi(archive_.substr(4).c_str());
    double month = 0;
    std::string employee(6, ' ');
    common::Form form(rt_);
    int row = top + 1;
    const int col = left + 19;
    for (KeyPart p : parts) {
        switch (p) {
            case KeyPart::kYear:
                s.Write(row, left + 2, rt_.Text("Rok:"), plain_);
                form.Get(row++, col, &year, 4, 0, "9999");
                break;
            case KeyPart::kMonth:
                s.Write(row, left + 2, rt_.Text("Miesiąc:"), plain_);
                form.Get(row++, col, &month, 2, 0, "99");
                break;
            case KeyPart::kEmployee:
                s.Write(row, left + 2, rt_.Text("Nr pracownika:"), plain_);
                form.Get(row++, col, &employee, "999999");
                break;
        }
    }
    const bool ok = common::Qrmrdr(rt_, form).saved();
    s.Restore(under);
    if (!ok) return common::kBrowseRedrawRow;
    // The key of the parts typed, up to the first one left empty.
    std::string wanted;
    for (KeyPart p : parts) {
        char buf[8];
        if (p == KeyPart::kYear) {
            if (year <= 0) break;
            std::snprintf(buf, sizeof buf, "%4d", static_cast<int>(year));
        } else if (p == KeyPart::kMonth) {
            if (month <= 0) break;
            std::snprintf(buf, sizeof buf, "%02d", static_cast<int>(month));
        } else {
            const std::string number = base::Trim(employee);
            if (number.empty()) break;
            std::snprintf(buf, sizeof buf, "%06d", std::atoi(number.c_str()));
        }
        wanted += buf;
    }
    if (wanted.empty()) return common::kBrowseRedrawRow;
    const uint32_t before = area_->recno();
    if (!area_->Seek(wanted, true).ok()) throw common::Abandon(ErrorText());
    if (area_->eof()) {
        if (!area_->Goto(before).ok()) throw common::Abandon(ErrorText());
        common::ShowMessage(rt_, rt_.Text("Brak klucza - koniec zbioru"));
    } else if (!area_->found()) {
        common::ShowMessage(rt_, rt_.Text("Brak klucza - następny rekord"));
    }
    return common::kBrowseRedrawAll;
}

// F3: the main data of the record's employee.
int RecordBrowse::Identity() {
    if (area_->eof()) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    const std::string number = area_->record().GetString(area_->FieldIndex("NR_PRAC"));
    const dbf::KeepPosition keep(*area_);
    dbf::WorkArea& prac = worktime::OpenOnce(tables_, "PKPRAC", {"PKPRAC1"});
    if (!prac.Seek(number).ok() || !prac.found()) {
        common::ShowMessage(rt_, rt_.Text("Brak pracownika o tym symbolu"));
        return common::kBrowseRedrawRow;
    }
    common::ShowEmployeeSummary(rt_, prac);
    return common::kBrowseRedrawAll;
}

bool RecordBrowse::MayChange() {
    if (!correction_ || !archive_.empty() || area_->eof()) {
        Beep();
        return false;
    }
    if (!common::CheckRights(rt_, kMaskChange)) return false;
    int year = 0, month = 0;
    RecordMonth(file_, *area_, &year, &month);
    if (year != month_.year || month != month_.month) {
        common::ShowMessage(rt_, rt_.Text("Błędny miesiąc"));
        return false;
    }
    return true;
}

int RecordBrowse::Correct(Browse& b) {
    if (!MayChange()) return common::kBrowseRedrawRow;
    const RecordColumn& c = file_.columns[static_cast<size_t>(b.column())];
    int width = 0;
    const int row = b.current_row();
    const int col = b.ColumnX(b.column(), &width);
    if (!Editable(c) || col < 0) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    // The lock reads the record again: the cell starts from what another
    // workstation may have written meanwhile, and no other can write it
    // until the value is stored.
    tables_.RLock(*area_);
    CellValue v = ReadCell(c, *area_);
    picture::Date date = base::DateOfDbfText(v.date);
    common::Form form(rt_);
    common::Field* f = nullptr;
    switch (c.kind) {
        case CellKind::kLogical:
            f = &form.Get(row, col, &v.logical);
            break;
        case CellKind::kDate:
            f = &form.Get(row, col, &date);
            break;
        case CellKind::kChoice:
        case CellKind::kText:
            f = &form.Get(row, col, &v.text, "@!");
            break;
        default: {
            const std::string pic = EntryPicture(c, *area_);
            const int w = static_cast<int>(pic.size()) - 3;  // without "@E "
            f = &form.Get(
                row, col + width - w, &v.number, w,
                area_->record().fields()[static_cast<size_t>(area_->FieldIndex(c.field))].decimals,
                pic);
        }
    }
    f->Valid([&] {
        v.date = base::DbfDateText(date);
        if (AcceptableCell(c, v)) return true;
        Beep();
        return false;
    });
    const bool saved = form.Read().saved();
    if (saved) {
        v.date = base::DbfDateText(date);
        StoreCell(*area_, c, v);
    }
    area_->Unlock();
    return common::kBrowseRedrawRow;
}

int RecordBrowse::Remove() {
    if (!MayChange()) return common::kBrowseRedrawRow;
    if (!common::IsYes(common::Question(rt_, rt_.Text("Kasować rekord?"), "tn", 'n')))
        return common::kBrowseRedrawRow;
    tables_.RLock(*area_);
    if (!area_->Delete().ok()) throw common::Abandon(rt_.Text("Błąd zapisu: ") + file_.table);
    area_->Unlock();
    if (!area_->Skip(1).ok()) throw common::Abandon(ErrorText());
    if (area_->eof() && !area_->GoBottom().ok()) throw common::Abandon(ErrorText());
    return common::kBrowseRedrawAll;
}

}  // namespace

void BrowseRecords(common::Runtime& rt, RecordKind kind, const char* title, bool correction) {
    if (!common::CheckRights(rt, kMaskBrowse)) return;
    // F1 of the main menu (its colour switch) is the browse's own key here.
    const common::HotKeysAside keys(rt, {key::F(1)});
    RecordBrowse(rt, kind, title, correction).Run();
}

}  // namespace kestrel::insurance
