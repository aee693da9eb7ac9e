#include "printing/spool_or_print.h"

#include <optional>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "printing/data/control_codes.h"
#include "printing/data/print_file.h"
#include "printing/data/spool_files.h"
#include "printing/data/spool_register.h"
#include "printing/spool_print_dialog.h"
#include "printing/spool_screen.h"

namespace kestrel::printing {
namespace {

namespace key = console::key;
using memfile::MemValue;

constexpr int kTop = 8, kLeft = 1, kBottom = 21, kRight = 77;
constexpr int kPrinterRow = 13, kPrinterCol = 19, kNoteRow = 15, kNoteCol = 13;

char Type(const common::Runtime& rt) {
    const std::string t = rt.config().Text("NAGLTDR");
    return t.empty() ? '?' : t[0];
}

std::string Port(const common::Runtime& rt) {
    const std::string p = rt.config().Text("NAGLNDR");
    return p.empty() ? "1" : p.substr(0, 1);
}

void SetPort(common::Runtime& rt, const std::string& port) {
    rt.config().Set("NAGLNDR", MemValue::Char(port));
}

bool WindowsPrinter(const common::Runtime& rt) {
    return !base::Trim(rt.config().Text("NAGLNAZDRW")).empty();
}

// The port of NAGLNDR for the length of a print-out.
class PortFor {
  public:
    explicit PortFor(common::Runtime& rt) : rt_(rt) {}
    ~PortFor() {
        if (before_) SetPort(rt_, *before_);
    }
    void Set(const std::string& port) {
        if (!before_) before_ = Port(rt_);
        SetPort(rt_, port);
    }
    /// Another definition was applied: its port holds.
    void Keep() { before_.reset(); }
    const std::optional<std::string>& before() const { return before_; }

  private:
    common::Runtime& rt_;
    std::optional<std::string> before_;
};

// A one-letter answer at (row, col) after `prompt`, one of `allowed`
// (upper case); 0 on Esc.
char AskLetter(common::Runtime& rt, int row, int col, const char* prompt, const char* allowed) {
    col = rt.screen().Write(row, col, rt.Text(prompt), rt.Standard(rt.colours().ycow)) + 1;
    std::string answer(1, allowed[0]);
    common::Form form(rt);
    form.Get(row, col, &answer, "!").Valid([&] {
        return std::string_view(allowed).find(answer[0]) != std::string_view::npos;
    });
    if (!common::Qrmrdr(rt, form).saved()) return 0;
    return answer[0];
}

// A note at row 15 column 13 and a key; false on Esc.
bool Confirm(common::Runtime& rt, const std::string& cp852) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(kNoteRow, kLeft + 1, kNoteRow, kRight - 1, plain);
    s.Write(kNoteRow, kNoteCol, cp852, plain);
    return common::Qrminkey(rt) != key::kEsc;
}

// Runs the block; a block that abandons leaves no half print file behind.
void RunBlock(const PrintBlock& block, PrintOutput& out, const std::string& path) {
    try {
        block(out);
    } catch (...) {
        (void)out.Close();
        (void)DeleteUnheld(path);
        throw;
    }
}

// Runs the block into a print file and hands the file on.
void PrintDirect(common::Runtime& rt, const std::string& title, const PrintBlock& block,
                 const PrinterHooks& hooks) {
    const DuplexResets duplex(rt.config());
    PrintOutput out;
    const std::string path = hooks.open_print_file(rt, &out);
    // The print program takes the print-out's title from its job header.
    if (rt.config().Text("NAGLTDR") == "V") {
        out.Control(JobHeader(rt.config(), title));
        out.SetPosition(0, 0);
    }
    RunBlock(block, out, path);
    if (!out.Close().ok()) {
        (void)DeleteUnheld(path);
        throw common::Abandon(common::ShortenMessage(rt.Text("Błąd zapisu ") + path));
    }
    hooks.deliver(rt, path);
}

enum class Way { kCancel, kDirect, kSpool };

// The frame with the definition in force until the operator goes on. F1
// and F3 are the frame's, whatever hot keys the program holds on them.
Way ChooseWithDefinitions(common::Runtime& rt, const PrinterHooks& hooks, PortFor* port) {
    const common::HotKeysAside aside(rt, {key::kF1, key::F(3)});
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    for (;;) {
        const char type = Type(rt);
        const bool own_port = type != 'V' && type != '0';
        s.Clear(kTop, kLeft, kBottom, kRight, plain);
        s.Box(kTop, kLeft, kBottom, kRight, console::kFrameSingle, rt.Standard(rt.colours().ycowp));
        s.Write(kPrinterRow, kPrinterCol, rt.Text("Drukarka:"), plain);
        s.Write(kPrinterRow, kPrinterCol + 10, PrinterDescription(rt),
                rt.Standard(rt.colours().ycoi));
        common::WriteLegend(rt, kBottom - 1, 4, "<Esc>-Przerwanie");
        if (own_port) common::WriteLegend(rt, kBottom - 1, 26, "<F1>-Port LPT/do pliku");
        common::WriteLegend(rt, kBottom - 1, 54, "<F3>-Zmiana drukarki");
        const int k = common::Qrminkey(rt);
        if (k == key::kEsc) return Way::kCancel;
        if (k == key::F(3)) {
            hooks.choose_printer(rt);
            port->Keep();
            continue;
        }
        if (k == key::kF1) {
            if (!own_port) continue;
            if (Port(rt) != "0") {
                port->Set("0");
            } else {
                const std::string before = port->before().value_or("1");
                port->Set(before == "0" ? "1" : before);
            }
            continue;
        }
        const bool unusable =
            type == '?' ||
            (type == 'V' && base::Trim(rt.config().Text("NAGL0V")).empty() && !WindowsPrinter(rt));
        if (unusable) {
            common::ShowMessage(rt, rt.Text("Błędna definicja drukarki"));
            continue;
        }
        return Port(rt) == "0" || !own_port ? Way::kSpool : Way::kDirect;
    }
}

}  // namespace

std::string PrinterDescription(const common::Runtime& rt) {
    const std::string name = base::Trim(rt.config().Text("NAGLNAZDR"));
    const char type = Type(rt);
    std::string d = name + " (typ=\"";
    if (WindowsPrinter(rt)) return d + "W\")";
    d += std::string(1, type) + "\"";
    if (type != 'V' && type != '0') {
        const std::string port = Port(rt);
        d += port == "0" ? ",do pliku" : ",LPT" + port;
    }
    return d + ")";
}

SpoolOrPrintEnd SpoolOrPrint(common::Runtime& rt, const std::string& title, const PrintBlock& block,
                             const SpoolOrPrintOptions& options) {
    const PrinterHooks hooks = Completed(options.hooks);
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.SaveAll();
    struct Restore {
        console::Screen& s;
        const console::ScreenRegion& saved;
        ~Restore() { s.Restore(saved); }
    } restore{s, saved};
    PortFor port(rt);

    Way way = Way::kCancel;
    if (rt.config().Logical("NAGLCFGD", true)) {
        way = ChooseWithDefinitions(rt, hooks, &port);
    } else {
        const console::Attr plain = rt.Standard(rt.colours().ycow);
        s.Clear(kTop, kLeft, kBottom, kRight, plain);
        s.Box(kTop, kLeft, kBottom, kRight, console::kFrameSingle, rt.Standard(rt.colours().ycowp));
        const char answer =
            AskLetter(rt, kPrinterRow, kPrinterCol, "Sposób wydruku (D-drukarka, S-spool):", "DS");
        if (answer == 0) {
            common::ShowCancelled(rt);
            return SpoolOrPrintEnd::kCancelled;
        }
        way = answer == 'D' ? Way::kDirect : Way::kSpool;
        if (way == Way::kDirect) {
            char digit = Port(rt)[0];
            if (!AskPort(rt, kNoteRow - 1, kNoteCol, &digit)) return SpoolOrPrintEnd::kCancelled;
            port.Set(std::string(1, digit));
        }
    }
    if (way == Way::kCancel) return SpoolOrPrintEnd::kCancelled;

    const char type = Type(rt);
    if (way == Way::kDirect || type == 'V') {
        if (type == 'V' && !WindowsPrinter(rt) &&
            FirstMissing(rt.config().Text("NAGL0V"), SpoolNames(true)).empty()) {
            common::ShowMessage(rt, rt.Text("1000 zb.spooling. - skasuj zbędne"));
            return SpoolOrPrintEnd::kCancelled;
        }
        if (!Confirm(rt, rt.Text("Przygotuj drukarkę"))) {
            common::ShowCancelled(rt);
            return SpoolOrPrintEnd::kCancelled;
        }
        PrintDirect(rt, title, block, hooks);
        return SpoolOrPrintEnd::kPrinted;
    }

    const bool thousand = rt.config().Logical("NAGLSPOOL", false);
    PrintOutput out;
    std::string path;
    const base::Status opened =
        OpenFirstFree(rt.data_dir(), SpoolNames(thousand), &out, &path, hooks.converter(rt));
    if (opened.IsBusy()) {
        common::ShowMessage(rt, rt.Text(thousand ? "1000 zb.spooling. - skasuj zbędne"
                                                 : "10 zb.spooling. - skasuj zbędne"));
        return SpoolOrPrintEnd::kCancelled;
    }
    if (!opened.ok())
        throw common::Abandon(common::ShortenMessage(rt.Text("Błąd ") + rt.data_dir()));
    const std::string file = path.substr(path.find_last_of('/') + 1);
    if (!Confirm(rt, rt.Text("Wydruk zapisywany będzie do zbioru: ") + file)) {
        (void)out.Close();
        (void)DeleteUnheld(path);
        return SpoolOrPrintEnd::kCancelled;
    }
    {
        const DuplexResets duplex(rt.config());
        RunBlock(block, out, path);
    }
    if (!out.Close().ok()) {
        (void)DeleteUnheld(path);
        throw common::Abandon(common::ShortenMessage(rt.Text("Błąd zapisu ") + path));
    }
    {
        common::Tables tables(rt);
        RegisterSpoolFile(tables, DescribeSpoolFile(path, rt.clock().Now(), type, title));
    }
    if (options.show_spool) SpoolScreen(rt, hooks, file);
    return SpoolOrPrintEnd::kSpooled;
}

}  // namespace kestrel::printing
