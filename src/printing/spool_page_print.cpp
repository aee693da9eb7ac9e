#include "printing/spool_page_print.h"

#include <cstdio>

#include "common/screen/messages.h"
#include "printing/spool_interrupt.h"

namespace kestrel::printing {
namespace {

constexpr int kPageRow = 17, kPageCol = 20;

class PageWatch : public PagePrintObserver {
  public:
    explicit PageWatch(common::Runtime& rt)
        : rt_(rt), plain_(rt.Standard(rt.colours().ycow)), bright_(rt.Enhanced(rt.colours().ycow)) {
        col_ = rt.screen().Write(kPageRow, kPageCol, rt.Text("Drukowana strona: "), plain_);
    }
    bool Page(int number) override {
        if (PrintInterrupted(rt_)) return false;
        Show(number, bright_);
        shown_ = number;
        rt_.console().Refresh();
        return true;
    }
    void Done() {
        if (shown_ > 0) Show(shown_, plain_);
    }

  private:
    void Show(int number, console::Attr attr) {
        char t[16];
        std::snprintf(t, sizeof t, "%4d", number);
        rt_.screen().Write(kPageRow, col_, t, attr);
    }
    common::Runtime& rt_;
    console::Attr plain_, bright_;
    int col_ = 0;
    int shown_ = 0;
};

}  // namespace

SpoolPrintEnd PrintSpoolPages(common::Runtime& rt, const std::string& path, PageRange range,
                              const PrinterHooks& hooks) {
    PrintOutput out;
    const std::string print_file = hooks.open_print_file(rt, &out);
    PageWatch watch(rt);
    PagePrintResult result;
    const base::Status s = PrintPages(path, range, out, watch, &result);
    watch.Done();
    if (!s.ok() || result.printed == 0) {
        (void)out.Close();
        (void)DeleteUnheld(print_file);
        if (!s.ok()) {
            const char* what = s.IsCorruption() ? "Błąd odczytu " : "Błąd otwarcia ";
            common::ShowMessage(rt, rt.Text(what) + "\"" + path + "\"");
            return SpoolPrintEnd::kFailed;
        }
        if (result.interrupted) return SpoolPrintEnd::kInterrupted;
        common::ShowMessage(rt, rt.Text("Brak stron do wydruku"));
        return SpoolPrintEnd::kNoPages;
    }
    if (result.interrupted) {
        out.NewLine();
        out.NewLine();
        out.Control(hooks.control(rt, "YPR10"));
        out.Text("*** Wydruk przerwany ***");
        out.Eject();
    } else if (!result.at_page_top) {
        out.Eject();
    }
    if (!out.Close().ok()) {
        (void)DeleteUnheld(print_file);
        common::ShowMessage(rt, rt.Text("Błąd zapisu ") + "\"" + print_file + "\"");
        return SpoolPrintEnd::kFailed;
    }
    hooks.deliver(rt, print_file);
    if (result.interrupted) return SpoolPrintEnd::kInterrupted;
    common::ShowMessage(rt, rt.Text("Koniec wydruku"));
    return SpoolPrintEnd::kDone;
}

}  // namespace kestrel::printing
