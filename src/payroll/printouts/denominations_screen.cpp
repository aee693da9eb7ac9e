#include "payroll/printouts/denominations_screen.h"

#include <cmath>
#include <string>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "payroll/printouts/data/denominations.h"
#include "platform/console/keys.h"
#include "platform/picture/picture.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr int kTop = 7, kLeft = 30, kBottom = 19, kRight = 50;
constexpr const char* kPicture = "@E 9,999,999.99";

class Denominations {
  public:
    Denominations(common::Runtime& rt, common::Tables& tables) : rt_(rt), tables_(tables) {}

    void Run();

  private:
    int Handle(int mode, common::Browse& b);
    // Asks a value at (row, col); false on Esc. A value of 0 or less is
    // refused.
    bool AskValue(int row, int col, double* value);

    common::Runtime& rt_;
    common::Tables& tables_;
};

bool Denominations::AskValue(int row, int col, double* value) {
    common::Form form(rt_);
    form.Get(row, col, value, 12, 2, kPicture).Valid([&] {
        if (ValidDenomination(std::llround(*value * 100))) return true;
        common::ShowMessage(rt_, rt_.Text("Błędna wartość"));
        return false;
    });
    return common::Qrmrdr(rt_, form).saved();
}

int Denominations::Handle(int mode, common::Browse& b) {
    if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
    dbf::WorkArea& a = DenominationsArea(tables_);
    switch (rt_.console().LastKey()) {
        case key::kEsc:
            return common::kBrowseClose;
        case key::kIns: {
            auto& s = rt_.screen();
            const console::ScreenRegion under = s.Save(11, 26, 13, 56);
            const console::Attr frame = rt_.Standard(rt_.colours().ycow);
            s.Box(11, 26, 13, 56, std::string(console::kFrameDouble) + " ", frame);
            s.Write(12, 28, rt_.Text("Nominał:"), frame);
            double value = 0;
            const bool saved = AskValue(12, 40, &value);
            s.Restore(under);
            if (saved) {
                AddDenomination(tables_, std::llround(value * 100));
                (void)a.GoTop();
            }
            return common::kBrowseRedrawAll;
        }
        case key::kEnter: {
            if (a.eof()) return common::kBrowseRedrawRow;
            double value = a.record().GetNumber(a.FieldIndex("NOMINAL_"));
            if (AskValue(b.current_row(), kLeft + 4, &value)) {
                ChangeDenomination(tables_, std::llround(value * 100));
                (void)a.GoTop();
            }
            return common::kBrowseRedrawAll;
        }
        case key::kDel:
            if (a.eof() ||
                !common::IsYes(common::Question(rt_, rt_.Text("Kasować pozycję?"), "tn", 'n')))
                return common::kBrowseRedrawRow;
            DeleteDenomination(tables_);
            if (a.Skip(1).ok() && a.eof()) (void)a.GoBottom();
            return common::kBrowseRedrawAll;
        default:
            return common::kBrowseRedrawRow;
    }
}

void Denominations::Run() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(4, 1, 21, 77, plain);
    s.Write(4, 2, rt_.Text("4.8.8. Tablica nominałów"), rt_.Standard(rt_.colours().ycob));
    SortDenominations(tables_);
    dbf::WorkArea& a = DenominationsArea(tables_);
    (void)a.GoTop();
    s.Box(kTop - 1, kLeft - 2, kBottom + 1, kRight + 2, std::string(console::kFrameSingle) + " ",
          plain);
    common::WriteLegend(rt_, 21, 2,
                        "<Esc>-Wyjście   <Enter>-Zmiana   <Ins>-Nowy rekord   <Del>-Kasowanie");
    const picture::Picture picture = picture::Parse(kPicture);
    std::vector<common::BrowseColumn> columns = {
        {rt_.Text("     Nominał"), 16, [&a, picture] {
             if (a.eof()) return std::string();
             return "    " + picture::FormatNumber(a.record().GetNumber(a.FieldIndex("NOMINAL_")),
                                                   picture, 12, 2);
         }}};
    common::BrowseTable(rt_, a, kTop, kLeft, kBottom, kRight, std::move(columns),
                        [this](int mode, int, common::Browse& b) { return Handle(mode, b); });
}

}  // namespace

void EditDenominations(common::Runtime& rt, common::Tables& tables) {
    Denominations(rt, tables).Run();
}

void Qrm488(common::Runtime& rt) {
    common::Tables tables(rt);
    EditDenominations(rt, tables);
}

}  // namespace kestrel::payroll
