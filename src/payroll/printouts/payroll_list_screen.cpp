#include "payroll/printouts/payroll_list_screen.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "common/pick/archive_pick.h"
#include "common/screen/choice.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "payroll/data/archive_tables.h"
#include "payroll/data/payroll_month.h"
#include "payroll/printouts/data/payroll_list_print.h"
#include "payroll/printouts/data/payslip_pdf.h"
#include "payroll/printouts/print_watch.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "printing/spool_interrupt.h"
#include "printing/spool_or_print.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr int kTitleRow = 5, kTitleCol = 22;
constexpr int kListRow = 7, kLayoutRow = 9, kSortRow = 10, kCoinsRow = 11, kDateRow = 12;
constexpr int kPdfRow = 13, kProgressRow = 15;
constexpr int kLabelCol = 2, kValueCol = 34;

// Esc between employees asks "Przerwać wydruk?".
// The payslips as PDF files: the employee being written shown under the
// questions.
class PdfWatch : public PrintWatch {
  public:
    explicit PdfWatch(common::Runtime& rt) : PrintWatch(rt), rt_(rt) {}
    void Employee(const std::string& number) override {
        rt_.screen().Write(kProgressRow, kLabelCol, rt_.Text("Pracownik: ") + number,
                           rt_.Standard(rt_.colours().ycow));
        rt_.console().Refresh();
    }

  private:
    common::Runtime& rt_;
};

// "Paski do plików PDF? [T,N]:" under the questions of layout P; false on
// Esc.
bool AskPdf(common::Runtime& rt, bool* pdf) {
    auto& s = rt.screen();
    s.Write(kPdfRow, kLabelCol, rt.Text("Paski do plików PDF? [T,N]:"),
            rt.Standard(rt.colours().ycow));
    common::Form form(rt);
    form.Get(kPdfRow, kValueCol, pdf);
    return form.Read().saved();
}

// Writes the payslips of the list into their PDF files and shows what came
// of it: each employee left without his file, then the count.
void WritePdfs(common::Runtime& rt, common::Tables& tables, const PayrollListRequest& list) {
    PayslipPdfRequest request;
    request.list = list.list;
    request.sort = list.sort;
    request.matrix = list.matrix;
    request.encrypt = PayslipPasswordRule(rt.config()) != PayslipPassword::kNone;
    // An archived list is read from its archive directory.
    std::unique_ptr<ArchivedYear> archived;
    if (!list.archive.empty()) {
        try {
            archived = std::make_unique<ArchivedYear>(tables, list.archive);
        } catch (const common::Abandon& e) {
            common::ShowMessage(rt, e.message());
            return;
        }
    }
    PdfWatch watch(rt);
    const PayslipPdfOutcome done = WritePayslipPdfs(rt, tables, request, &watch);
    rt.screen().Clear(kProgressRow, 1, kProgressRow, 77, rt.Standard(rt.colours().ycow));
    constexpr size_t kShown = 5;
    for (size_t i = 0; i < done.failures.size() && i < kShown; ++i)
        common::ShowMessage(rt, done.failures[i]);
    if (done.failures.size() > kShown)
        common::ShowMessage(
            rt, rt.Text("Pasków bez pliku PDF: ") + std::to_string(done.failures.size()));
    if (!done.message.empty()) {
        common::ShowMessage(rt, done.message);
        return;
    }
    if (done.interrupted) return;
    // The folder within the company's directory.
    std::string folder = done.directory;
    if (folder.rfind(rt.data_dir(), 0) == 0) folder = folder.substr(rt.data_dir().size());
    rt.screen().Write(kProgressRow, kLabelCol, rt.Text("Katalog: ") + folder.substr(0, 64),
                      rt.Standard(rt.colours().ycow));
    common::ShowMessage(rt,
                        rt.Text("Zapisano pasków PDF: ") + std::to_string(done.written) +
                            rt.Text(" z ") + std::to_string(done.employees),
                        false);
    rt.screen().Clear(kProgressRow, 1, kProgressRow, 77, rt.Standard(rt.colours().ycow));
}

// The window of `all` lists; false on Esc (the list stays).
bool PickOfLists(common::Runtime& rt, const std::vector<PayrollList>& all, PayrollList* list) {
    std::vector<std::string> texts;
    int initial = 1;
    for (const PayrollList& l : all) {
        texts.push_back(" " + ListCaption(l));
        if (l.Key() == list->Key()) initial = static_cast<int>(texts.size());
    }
    auto& s = rt.screen();
    const int rows = std::min<int>(static_cast<int>(texts.size()), 10);
    const int top = 8, left = 24, bottom = top + rows + 2, right = 58;
    const console::ScreenRegion saved = s.Save(top, left, bottom, right);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", frame);
    s.Write(top + 1, left + 2, rt.Text("Listy płac:"), frame);
    const int chosen =
        common::Qrmach(rt, top + 2, left + 1, bottom - 1, right - 1, texts, {}, initial);
    s.Restore(saved);
    if (chosen <= 0) return false;
    *list = all[static_cast<size_t>(chosen - 1)];
    return true;
}

// F1: every list, the newest first, of the working tables or, with
// NAGLARL and archive directories, of the working tables or an archive
// directory chosen first.
// False on Esc or a refusal (the list and its source stay).
bool PickAnyList(common::Runtime& rt, common::Tables& tables, PayrollList* list,
                 std::string* archive) {
    std::string source;
    if (rt.config().Logical("NAGLARL")) {
        std::vector<std::string> dirs;
        if (std::string refusal = SearchedArchives(rt, &dirs); !refusal.empty()) {
            common::ShowMessage(rt, refusal);
            return false;
        }
        if (!dirs.empty()) {
            const std::optional<std::string> chosen =
                common::PickTablesOrArchive(rt, dirs, *archive);
            if (!chosen) return false;
            source = *chosen;
        }
    }
    std::vector<PayrollList> all;
    try {
        all = AllLists(tables, source);
    } catch (const common::Abandon& e) {
        common::ShowMessage(rt, e.message());
        return false;
    }
    if (all.empty()) {
        if (!source.empty()) common::ShowMessage(rt, rt.Text("Brak list płac"));
        return false;
    }
    PayrollList picked = source == *archive ? *list : PayrollList{};
    if (!PickOfLists(rt, all, &picked)) return false;
    *list = picked;
    *archive = source;
    return true;
}

// The list to print: the open one offered, F1 any other; Enter takes it.
// F1 is bound for the time of the choice: the main menu's own F1 would
// otherwise take it.
bool ChooseList(common::Runtime& rt, common::Tables& tables, PayrollList* list,
                std::string* archive) {
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    auto& s = rt.screen();
    const OpenLists open = FindOpenLists(rt, tables);
    bool have = !open.lists.empty();
    if (have) *list = open.lists.front();
    archive->clear();
    s.Write(21, kLabelCol, rt.Text("<Enter>-Akceptacja  <F1>-Wszystkie listy  <Esc>-Wyjście"),
            plain);
    auto show = [&] {
        std::string shown = have ? ListCaption(*list) : std::string();
        if (have && !archive->empty()) shown += "  " + *archive;
        shown.resize(44, ' ');
        s.Write(kListRow, kLabelCol, rt.Text("Lista płac: "), plain);
        s.Write(kListRow, kLabelCol + 12, shown, rt.Enhanced(rt.colours().ycow));
    };
    auto& kb = rt.console().keyboard();
    auto old = kb.Bind(key::F(1), [&] {
        if (PickAnyList(rt, tables, list, archive)) have = true;
        show();
    });
    bool chosen = false;
    for (;;) {
        show();
        const int k = common::Qrminkey(rt);
        if (k == key::kEsc) break;
        if (k != key::kEnter) continue;
        if (have) {
            chosen = true;
            break;
        }
        common::ShowMessage(rt, open.refusal.empty() ? rt.Text("Brak list płac") : open.refusal);
    }
    kb.Bind(key::F(1), old);
    s.Clear(21, 1, 21, 77, plain);
    return chosen;
}

}  // namespace

void Qrm483(common::Runtime& rt) {
    common::Tables tables(rt);
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    s.Write(kTitleRow, kTitleCol, rt.Text("4.8.3. Lista płac"), plain);
    PayrollListRequest request;
    if (!ChooseList(rt, tables, &request.list, &request.archive)) return;

    std::string layout = "Z";
    double sort = 1;
    bool denominations = false;
    const base::LocalTime today = rt.working_date();
    picture::Date date{today.year, today.month, today.day};
    s.Write(kLayoutRow, kLabelCol, rt.Text("Układ wydruku:"), plain);
    s.Write(kLayoutRow, kValueCol + 3, rt.Text("(Z, P, B, 1, 2)"), plain);
    s.Write(kSortRow, kLabelCol, rt.Text("Rodzaj sortu:"), plain);
    s.Write(kSortRow, kValueCol + 3, rt.Text("(1-5)"), plain);
    s.Write(kCoinsRow, kLabelCol, rt.Text("Specyfikacja nominałów? [T,N]:"), plain);
    s.Write(kDateRow, kLabelCol, rt.Text("Data wydruku:"), plain);
    common::Form form(rt);
    form.Get(kLayoutRow, kValueCol, &layout, "@! X").Valid([&] {
        return std::string("ZPB12").find(layout[0]) != std::string::npos;
    });
    form.Get(kSortRow, kValueCol, &sort, 1, 0, "9").Valid([&] { return sort >= 1 && sort <= 5; });
    form.Get(kCoinsRow, kValueCol, &denominations);
    form.Get(kDateRow, kValueCol, &date);
    if (!form.Read().saved()) return;
    request.layout = layout[0];
    request.sort = static_cast<int>(sort);
    request.denominations = denominations;
    if (!date.empty()) rt.set_working_date({date.year, date.month, date.day});
    bool pdf = false;
    if (request.layout == 'P' && !AskPdf(rt, &pdf)) {
        rt.set_working_date(today);
        return;
    }
    if (pdf) {
        WritePdfs(rt, tables, request);
        rt.set_working_date(today);
        return;
    }

    PrintWatch watch(rt);
    PayrollListOutcome done;
    // The dialog's F1 (to file or to the port) is its own while it runs.
    auto& kb = rt.console().keyboard();
    auto old = kb.Bind(key::F(1), {});
    printing::SpoolOrPrint(rt, rt.Text("Lista płac"), [&](printing::PrintOutput& out) {
        done = PrintPayrollList(rt, tables, request, out, &watch);
    });
    kb.Bind(key::F(1), old);
    rt.set_working_date(today);
    if (!done.message.empty()) common::ShowMessage(rt, done.message);
}

}  // namespace kestrel::payroll
