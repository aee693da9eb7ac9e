#include "common/pick/employee_pick.h"

#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "common/tables/index_functions.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

constexpr int kNumberWidth = 6;

using base::Trim;

std::string ZeroPadded(std::string_view typed) {
    std::string n = Trim(typed);
    if (n.size() < kNumberWidth) n.insert(0, kNumberWidth - n.size(), '0');
    return n;
}

void Beep(Runtime& rt) {
    rt.console().Tone(kToneFrequency, kToneTicks);
}

void Check(Runtime& rt, const base::Status& s) {
    if (!s.ok()) throw Abandon(ShortenMessage(rt.Text("Błąd odczytu: PKPRAC")));
}

class EmployeeRun {
  public:
    EmployeeRun(Runtime& rt, dbf::WorkArea& prac, std::string_view legend)
        : rt_(rt),
          prac_(prac),
          legend_(legend),
          by_number_(OrderOf(prac, "PKPRAC1")),
          by_name_(OrderOf(prac, "PKPRAC2")) {}

    int by_number() const { return by_number_; }
    bool picked() const { return picked_; }
    void DrawLegend();
    int Handle(int mode, Browse& browse);

  private:
    int Search();

    Runtime& rt_;
    dbf::WorkArea& prac_;
    std::string legend_;
    int by_number_, by_name_;
    bool picked_ = false;
};

void EmployeeRun::DrawLegend() {
    if (legend_.empty()) {
        WriteLegend(rt_, 9, 8,
                    "<Esc>-Wyjście   <F1>-Pełna inf.   <F2>-Szukanie   <Enter>-Akceptacja");
    } else {
        WriteLegend(rt_, 9, 8, legend_);
    }
    const bool names = prac_.order() == by_name_ && by_name_ > 0;
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    const console::Attr active = rt_.Standard(rt_.colours().ycob);
    const console::Attr other = rt_.Standard(rt_.colours().ycowp);
    s.Clear(10, 19, 10, 67, plain);
    s.Write(10, 19, "<F5>", names ? other : plain);
    s.Write(10, 23, "-", plain);
    s.Write(10, 24, "Sort wg symbolu", names ? plain : active);
    s.Write(10, 46, "<F6>", names ? plain : other);
    s.Write(10, 50, "-", plain);
    s.Write(10, 51, "Sort wg nazwiska", names ? active : plain);
}

int EmployeeRun::Handle(int mode, Browse& browse) {
    if (mode == kBrowseIdle) return kBrowseRedrawRow;
    switch (rt_.console().LastKey()) {
        case key::kEsc:
            return kBrowseClose;
        case key::kEnter:
            if (browse.source().Empty()) {
                Beep(rt_);
                return kBrowseRedrawRow;
            }
            TypeIntoField(rt_, prac_.record().GetString(prac_.FieldIndex("NR_PRAC")));
            picked_ = true;
            return kBrowseClose;
        case key::F(1):
            if (browse.source().Empty())
                Beep(rt_);
            else
                ShowEmployeeSummary(rt_, prac_);
            return kBrowseRedrawRow;
        case key::F(2):
            return Search();
        case key::F(5):
        case key::F(6): {
            const int order = rt_.console().LastKey() == key::F(5) ? by_number_ : by_name_;
            if (order == 0) {
                Beep(rt_);
                return kBrowseRedrawRow;
            }
            Check(rt_, prac_.SetOrder(order));
            DrawLegend();
            return kBrowseRedrawAll;
        }
        default:
            return kBrowseRedrawRow;
    }
}

int EmployeeRun::Search() {
    auto& s = rt_.screen();
    const console::ScreenRegion under = s.Save(13, 18, 15, 62);
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(13, 18, 15, 62, std::string(console::kFrameDouble) + " ", frame);
    const bool names = prac_.order() == by_name_ && by_name_ > 0;
    std::string wanted(names ? 30 : kNumberWidth, ' ');
    Form form(rt_);
    if (names) {
        s.Write(14, 20, "Nazwisko:", frame);
        form.Get(14, 30, &wanted, "@!", 30);
    } else {
        s.Write(14, 20, "Nr pracownika:", frame);
        form.Get(14, 35, &wanted, "999999", kNumberWidth);
    }
    const bool ok = form.Read().saved();
    s.Restore(under);
    if (!ok || Trim(wanted).empty()) return kBrowseRedrawRow;
    const std::string key = names ? SortKey(rt_.letters(), Trim(wanted)) : ZeroPadded(wanted);
    Check(rt_, prac_.Seek(key, true));
    if (prac_.eof())
        ShowMessage(rt_, rt_.Text("Brak klucza - koniec zbioru"));
    else if (!prac_.found())
        ShowMessage(rt_, rt_.Text("Brak klucza - następny rekord"));
    return kBrowseRedrawAll;
}

std::vector<BrowseColumn> Columns(Runtime& rt, dbf::WorkArea& prac, const EmployeeMarker& marker) {
    const int nr = prac.FieldIndex("NR_PRAC");
    const int nie_prac = prac.FieldIndex("NIE_PRAC");
    const int alg = prac.FieldIndex("GRUPA_ALG");
    const int dzial = prac.FieldIndex("DZIAL_");
    return {
        {"NR PRAC", 7,
         [&prac, nr, nie_prac] {
             return prac.record().GetString(nr) + (prac.record().GetLogical(nie_prac) ? "*" : " ");
         }},
        {"NAZWISKO, IMIONA", 38, [&prac] { return EmployeeName(prac); }},
        {"ALG", 3, [&prac, alg] { return prac.record().GetString(alg); }},
        {"DZ", 4, [&prac, dzial] { return prac.record().GetString(dzial); }},
        {rt.Text("NIE DOTYCZY"), 11,
         [&prac, marker] { return marker ? marker(prac) : std::string(); }},
    };
}

}  // namespace

bool PickEmployee(Runtime& rt, Tables& tables, std::string_view typed, const EmployeeMarker& marker,
                  std::string_view legend) {
    HotKeysAside keys(rt, {key::F(3), key::F(4), key::F(10)});
    WindowState state(rt, tables.workspace());
    dbf::WorkArea* found = tables.workspace().Select("PKPRAC");
    dbf::WorkArea& prac = found ? *found : tables.Open("PKPRAC", {"PKPRAC1", "PKPRAC2"});
    EmployeeRun run(rt, prac, legend);
    struct NumberOrder {
        dbf::WorkArea& prac;
        int order;
        ~NumberOrder() { prac.SetOrder(order); }
    } number_order{prac, run.by_number() > 0 ? run.by_number() : 1};
    Check(rt, prac.SetOrder(number_order.order));
    Check(rt, prac.Seek(ZeroPadded(typed), true));
    // One record back, then Down: the sought employee opens current with
    // the one before it above.
    Check(rt, prac.Skip(-1));
    if (!prac.bof()) rt.console().keyboard().Push(key::kDown);

    auto& s = rt.screen();
    s.Box(8, 1, 22, 79, std::string(console::kFrameDouble) + " ", rt.Standard(rt.colours().ycow));
    run.DrawLegend();
    BrowseTable(rt, prac, 11, 2, 21, 78, Columns(rt, prac, marker),
                [&run](int mode, int, Browse& b) { return run.Handle(mode, b); });
    return run.picked();
}

}  // namespace kestrel::common
