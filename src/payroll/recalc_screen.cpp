#include "payroll/recalc_screen.h"

#include <string>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/tables/table_layer.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/payroll_parameters.h"
#include "payroll/data/recalculation.h"
#include "payroll/open_list_pick.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

// Kind 3: payroll operations.
constexpr unsigned kRightsPayroll = 4;
constexpr int kTitleRow = 5, kTitleCol = 22, kListRow = 6;
constexpr int kScopeRow = 11, kChoiceRow = 12;
constexpr int kEmployeeRow = 14, kAttendanceRow = 15, kComponentRow = 16, kValueCol = 41;
constexpr int kModeRow = 21;
constexpr int kLabelCol = 2;

// The progress rows and the operator's Esc while the run goes.
class ScreenWatch : public RecalcObserver {
  public:
    explicit ScreenWatch(common::Runtime& rt)
        : rt_(rt),
          plain_(rt.Standard(rt.colours().ycow)),
          bright_(rt.Enhanced(rt.colours().ycow)) {}

    void Warn(const std::string& message) override { common::ShowMessage(rt_, message); }
    bool FunctionError(const std::string& message) override {
        common::ShowMessage(rt_, message);
        return rt_.console().LastKey() != key::kEsc;
    }
    // The screen is sent to the terminal once per employee: a component
    // takes a few microseconds, a refresh far more.
    void Employee(const std::string& shown) override {
        Value(kEmployeeRow, shown, plain_);
        rt_.console().Refresh();
    }
    void Attendance(const std::string& code) override { Value(kAttendanceRow, code, plain_); }
    void Component(const std::string& symbol) override { Value(kComponentRow, symbol, bright_); }
    bool Interrupted() override {
        // Only Esc is taken; other keys stay typed ahead. After Esc the keys
        // typed ahead with it are thrown away: only a key pressed once the
        // question stands answers it.
        console::Console& con = rt_.console();
        if (con.NextKey() != key::kEsc) return false;
        con.keyboard().Clear();
        while (con.Inkey(0) != key::kNone) {
        }
        con.Tone(common::kToneFrequency, common::kToneTicks);
        return common::IsYes(common::Question(rt_, rt_.Text("Przerwać przeliczanie?"), "tn"));
    }

  private:
    void Value(int row, const std::string& text, console::Attr attr) {
        std::string shown = text.substr(0, 36);
        shown.resize(36, ' ');
        rt_.screen().Write(row, kValueCol, shown, attr);
    }

    common::Runtime& rt_;
    console::Attr plain_, bright_;
};

common::PickDictionary Dictionary(const char* table, const char* index, const char* code,
                                  const char* heading, const char* name) {
    common::PickDictionary d;
    d.table = table;
    d.indexes = {index};
    d.code_field = code;
    d.name_field = name;
    d.can_insert = false;
    d.zero_pad = false;
    const std::string h = heading, c = code, n = name;
    d.columns = [h, c, n](common::Runtime& rt, dbf::WorkArea& a) {
        return std::vector<common::BrowseColumn>{common::FieldColumn(rt, a, c, h),
                                                 common::FieldColumn(rt, a, n, "NAZWA")};
    };
    return d;
}

// Reads one code at the choice row with F3 opening its dictionary; the
// scope's check repeats the question. False on Esc.
bool ReadCode(common::Runtime& rt, common::Tables& tables, Recalculation& run, const char* label,
              const common::PickDictionary& d, RecalcRequest* request, std::string* code) {
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    rt.screen().Write(kChoiceRow, kLabelCol, rt.Text(label), plain);
    const int col = kLabelCol + static_cast<int>(std::string_view(label).size()) + 1;
    code->assign(4, ' ');
    for (;;) {
        common::Form form(rt);
        form.Get(kChoiceRow, col, code, "@!");
        auto& kb = rt.console().keyboard();
        auto old = kb.Bind(key::F(3), [&] { common::Pick(rt, tables, d, form.Typed()); });
        const common::ReadResult r = form.Read();
        kb.Bind(key::F(3), old);
        if (!r.saved()) return false;
        const std::string m = run.CheckScope(*request);
        if (m.empty()) return true;
        common::ShowMessage(rt, m);
    }
}

}  // namespace

void Qrm45(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsPayroll)) return;
    common::Tables tables(rt);
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    s.Write(kTitleRow, kTitleCol, rt.Text("4.5. Przeliczanie listy płac"), plain);
    PayrollList list;
    if (!ChooseOpenList(rt, tables, &list)) return;
    s.Write(kListRow, kLabelCol, rt.Text("Lista płac: ") + ListCaption(list), plain);
    // Before the valorisation table is opened: opening would rebuild the
    // outdated index file.
    if (ValorisationIndexOutdated(rt.data_dir())) {
        common::ShowMessage(rt, rt.Text("Błędny indeks PKWALOR"));
        return;
    }

    ScreenWatch watch(rt);
    Recalculation run(rt, tables, list, &watch);
    if (const std::string m = run.Check(); !m.empty()) {
        common::ShowMessage(rt, m);
        return;
    }

    // Exclusively, unless the company lets workstations recalculate side by
    // side and the operator wants that.
    const bool lock = rt.config().Logical("NAGLBLK");
    bool exclusive = true;
    if (rt.config().Logical("NAGLWDLP") && !tables.exclusive()) {
        exclusive =
            common::IsYes(common::Question(rt, rt.Text("Zbiory \"na wyłączność\"?"), "tn", 't'));
        if (rt.console().LastKey() == key::kEsc) return;
    }
    const char* mode = exclusive ? (lock ? "Zbiory PKPLACE, PKCZAS i PKPRAC otwarte w trybie "
                                           "\"na wyłączność\""
                                         : "Zbiory PKPLACE i PKCZAS otwarte w trybie "
                                           "\"na wyłączność\"")
                                 : (lock ? "Możliwy wielodostęp do zbiorów PKPLACE, PKCZAS i PKPRAC"
                                         : "Możliwy wielodostęp do zbiorów PKPLACE i PKCZAS");
    s.Write(kModeRow, kLabelCol, rt.Text(mode), plain);
    run.OpenTables(exclusive);

    const std::string scope_text = "Typ przeliczania: ";
    s.Write(kScopeRow, kLabelCol,
            rt.Text(scope_text + "    ( 1 - całość, 2 - tylko jeden dział, 3 - wg zestawu )"),
            plain);
    std::string typed = "1";
    {
        common::Form form(rt);
        form.Get(kScopeRow, kLabelCol + static_cast<int>(scope_text.size()), &typed, "9")
            .Valid([&] { return typed == "1" || typed == "2" || typed == "3"; });
        if (!form.Read().saved()) return;
    }
    RecalcRequest request;
    request.scope = static_cast<RecalcScope>(typed[0] - '0');
    if (request.scope == RecalcScope::kDepartment &&
        !ReadCode(rt, tables, run,
                  "Dział:", Dictionary("PKDZIAL", "PKDZIAL1", "DZIAL_", "DZIAŁ", "NAZWA_"),
                  &request, &request.department))
        return;
    if (request.scope == RecalcScope::kSet &&
        !ReadCode(rt, tables, run,
                  "Zestaw:", Dictionary("PKZEST", "PKZEST1", "ZESTAW_", "ZESTAW", "OPIS_"),
                  &request, &request.set))
        return;
    if (!common::IsYes(common::Question(rt, rt.Text("Wyliczyć składniki płacowe?"), "tn"))) return;

    s.Clear(kEmployeeRow, 1, kModeRow, 77, plain);
    const bool legal = [&] {
        ListSymbol symbol;
        return FindListSymbol(tables, list.symbol, &symbol) && symbol.legal_person;
    }();
    s.Write(kEmployeeRow, kLabelCol, rt.Text(legal ? "Os.prawna:" : "Pracownik:"), plain);
    s.Write(kAttendanceRow, kLabelCol, rt.Text("Składnik obecności:"), plain);
    s.Write(kComponentRow, kLabelCol, rt.Text("Składnik płacowy:"), plain);
    common::WriteLegend(rt, kModeRow, kLabelCol, "<Esc>-Przerwanie");
    rt.console().Refresh();

    const RecalcOutcome done = run.Run(request);
    if (!done.message.empty()) common::ShowMessage(rt, done.message);
    tables.CloseAll();
    common::ShowMessage(rt, rt.Text("Koniec procedury"));
    s.Clear(4, 1, 22, 77, plain);
}

}  // namespace kestrel::payroll
