// 4.A.3 "Zarządzanie plikami typu ROR", a two-panel list of the output
// directory and a second directory the operator chooses (the medium the
// files travel on), with copying and deleting; and 4.A.8 "Konfiguracja
// katalogów z plikami ROR", the output directory itself.
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "payroll/bank/data/bank_directories.h"
#include "payroll/bank/data/bank_parameters.h"
#include "payroll/bank/menu4a.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr unsigned kRightsPayroll = 4;
constexpr int kTitleRow = 5, kTitleCol = 22, kAskRow = 7, kLabelCol = 2;
constexpr int kTop = 7, kBottom = 20, kLegendRow = 21;
constexpr int kWidth = 38;  // a panel's columns, frame included
constexpr int kLines = kBottom - kTop - 2;

std::string Fit(std::string_view text, size_t width) {
    std::string t(text.substr(text.size() > width ? text.size() - width : 0));
    t.resize(width, ' ');
    return t;
}

std::string WithSlash(std::string dir) {
    dir = base::Trim(dir);
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

struct Panel {
    std::string dir;
    std::vector<bank::FileEntry> files;
    int current = 0;
    int first = 0;

    void Reload() {
        files = bank::ListFiles(dir);
        current = std::clamp(current, 0, std::max(0, static_cast<int>(files.size()) - 1));
        first = std::clamp(first, 0, current);
        if (current >= first + kLines) first = current - kLines + 1;
    }
    void Move(int by) {
        current = std::clamp(current + by, 0, std::max(0, static_cast<int>(files.size()) - 1));
        if (current < first) first = current;
        if (current >= first + kLines) first = current - kLines + 1;
    }
};

void Draw(common::Runtime& rt, const Panel& p, int left, bool active) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    const console::Attr bright = rt.Enhanced(rt.colours().ycow);
    s.Box(kTop, left, kBottom, left + kWidth - 1,
          active ? console::kFrameDouble : console::kFrameSingle, plain);
    s.Write(kTop, left + 1, Fit(p.dir, kWidth - 2), plain);
    for (int i = 0; i < kLines; ++i) {
        const int at = p.first + i;
        std::string line(kWidth - 2, ' ');
        if (at < static_cast<int>(p.files.size())) {
            const bank::FileEntry& f = p.files[static_cast<size_t>(at)];
            char size[16];
            std::snprintf(size, sizeof size, "%8ju", f.size);
            line = Fit(f.name, 12) + size + " " + f.when.substr(0, 10) + "     ";
            line.resize(kWidth - 2, ' ');
        }
        s.Write(kTop + 1 + i, left + 1, line, active && at == p.current ? bright : plain);
    }
    char count[40];
    std::snprintf(count, sizeof count, " %zu ", p.files.size());
    s.Write(kBottom - 1, left + 1, Fit(rt.Text("Plików:") + count, kWidth - 2), plain);
}

bool Ask(common::Runtime& rt, const std::string& question) {
    return common::IsYes(common::Question(rt, question, "tn", 'n'));
}

// Copies the current file of `from` to `to`, a file there of that name
// replaced only when the operator agrees.
void Copy(common::Runtime& rt, Panel& from, Panel& to) {
    if (from.files.empty()) return;
    const std::string name = from.files[static_cast<size_t>(from.current)].name;
    if (from.dir == to.dir) return;
    if (!Ask(rt, rt.Text("Kopiować plik ") + name + "?")) return;
    for (const bank::FileEntry& f : to.files) {
        if (f.name != name) continue;
        common::WriteMessage(rt, rt.Text("Istnieje plik: ") + name, rt.Enhanced(rt.colours().ycow));
        const bool replace = Ask(rt, rt.Text("Zastąpić?"));
        common::ClearMessageRow(rt);
        if (!replace) return;
    }
    if (const std::string m = bank::CopyFileTo(rt, from.dir, name, to.dir); !m.empty())
        common::ShowMessage(rt, m);
    to.Reload();
}

void Delete(common::Runtime& rt, Panel& p) {
    if (p.files.empty()) return;
    const std::string name = p.files[static_cast<size_t>(p.current)].name;
    if (!Ask(rt, rt.Text("Kasować plik ") + name + "?")) return;
    if (const std::string m = bank::DeleteFileIn(rt, p.dir, name); !m.empty())
        common::ShowMessage(rt, m);
    p.Reload();
}

}  // namespace

void Qrm4A3(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsPayroll)) return;
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    s.Write(kTitleRow, kTitleCol, rt.Text("4.A.3. Zarządzanie plikami typu ROR"), plain);
    const std::string label = rt.Text("Drugi katalog:");
    s.Write(kAskRow, kLabelCol, label, plain);
    std::string second = rt.data_dir();
    second.resize(std::max<size_t>(second.size(), 80), ' ');
    {
        common::Form form(rt);
        form.Get(kAskRow, kLabelCol + static_cast<int>(label.size()) + 1, &second, "@S50");
        if (!form.Read().saved()) return;
    }
    std::array<Panel, 2> panels;
    panels[0].dir = bank::OutputDirectory(rt);
    panels[1].dir = WithSlash(second);
    for (Panel& p : panels) p.Reload();
    s.Clear(kAskRow, 1, kAskRow, 77, plain);
    common::WriteLegend(rt, kLegendRow, kLabelCol,
                        "<Tab>-Zmiana okna  <F5>-Kopiowanie  <F8>-Kasowanie  <Esc>-Wyjście");
    int active = 0;
    for (;;) {
        Draw(rt, panels[0], 1, active == 0);
        Draw(rt, panels[1], 1 + kWidth + 1, active == 1);
        rt.console().Refresh();
        const int k = rt.console().WaitKey();
        Panel& here = panels[static_cast<size_t>(active)];
        Panel& there = panels[static_cast<size_t>(1 - active)];
        if (k == key::kEsc) break;
        if (k == key::kTab || k == key::kLeft || k == key::kRight) active = 1 - active;
        if (k == key::kUp) here.Move(-1);
        if (k == key::kDown) here.Move(1);
        if (k == key::kPgUp) here.Move(-kLines);
        if (k == key::kPgDn) here.Move(kLines);
        if (k == key::F(5)) Copy(rt, here, there);
        if (k == key::F(8) || k == key::kDel) Delete(rt, here);
    }
    s.Clear(4, 1, 22, 77, plain);
}

void Qrm4A8(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsPayroll)) return;
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    s.Write(kTitleRow, kTitleCol, rt.Text("4.A.8. Konfiguracja katalogów z plikami ROR"), plain);
    const std::string label = rt.Text("Katalog plików ROR:");
    s.Write(kAskRow + 1, kLabelCol, label, plain);
    std::string dir = bank::OutputDirectory(rt);
    dir.resize(std::max<size_t>(dir.size(), 80), ' ');
    common::Form form(rt);
    form.Get(kAskRow + 1, kLabelCol + static_cast<int>(label.size()) + 1, &dir, "@S50").Valid([&] {
        const std::string m = bank::SaveOutputDirectory(rt, dir);
        if (m.empty()) return true;
        common::ShowMessage(rt, m);
        return false;
    });
    if (form.Read().saved()) common::ShowMessage(rt, rt.Text("Koniec procedury"));
    s.Clear(4, 1, 22, 77, plain);
}

}  // namespace kestrel::payroll
