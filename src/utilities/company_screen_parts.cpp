#include "utilities/company_screen_parts.h"

#include <algorithm>

#include "common/screen/choice.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "platform/base/text.h"

namespace kestrel::utilities {

void CompanyTitle(common::Runtime& rt, const char* utf8_title) {
    auto& s = rt.screen();
    s.Clear(4, 1, 21, 77, rt.Standard(rt.colours().ycow));
    s.Write(4, 22, rt.Text(utf8_title), rt.Standard(rt.colours().ycob));
}

void ShowCompanyNames(common::Runtime& rt, const std::vector<CompanyEntry>& list) {
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    s.Clear(9, 1, 20, 77, normal);
    s.Write(9, 14, rt.Text("Istniejące katalogi firm:"), rt.Standard(rt.colours().ycob));
    if (list.empty()) {
        s.Write(10, 14, rt.Text("Brak katalogów firm"), normal);
        return;
    }
    constexpr int kFirstRow = 10, kLastRow = 20, kPerRow = 4;
    const int rows = (static_cast<int>(list.size()) + kPerRow - 1) / kPerRow;
    // When the rows run out the area has scrolled up: the last rows show.
    const int skipped = std::max(0, rows - (kLastRow - kFirstRow + 1));
    for (size_t i = static_cast<size_t>(skipped * kPerRow); i < list.size(); ++i) {
        const int row = kFirstRow + static_cast<int>(i) / kPerRow - skipped;
        const int col = 14 + 13 * (static_cast<int>(i) % kPerRow);
        s.Write(row, col, base::AsciiUpper(list[i].name), normal);
    }
}

bool AskCompanyName(common::Runtime& rt, int row, const char* utf8_label, int width,
                    NameWanted wanted, const std::vector<CompanyEntry>& list, std::string* name) {
    auto& s = rt.screen();
    const std::string label = rt.Text(utf8_label);
    s.Write(row, 14, label, rt.Standard(rt.colours().ycow));
    std::string typed(static_cast<size_t>(width), ' ');
    for (;;) {
        common::Form form(rt);
        form.Get(row, 14 + static_cast<int>(label.size()) + 1, &typed, "@!", width);
        if (!common::Qrmrdr(rt, form).saved()) return false;
        if (base::Trim(typed).empty()) continue;
        const NameCheck check = CheckCompanyName(typed, name);
        if (check != NameCheck::kOk) {
            common::ShowMessage(rt, rt.Text(NameCheckMessage(check)));
            continue;
        }
        const CompanyEntry* listed = FindCompany(list, *name);
        if (wanted == NameWanted::kNew) {
            if (listed != nullptr) {
                common::ShowMessage(rt, rt.Text("Istnieje taki katalog"));
                continue;
            }
            return true;
        }
        if (listed == nullptr) {
            common::ShowMessage(rt, rt.Text("Brak takiego katalogu"));
            continue;
        }
        if (!listed->usable) {
            common::ShowMessage(rt, rt.Text("Brak QRM.MEM w tym katalogu"));
            continue;
        }
        *name = listed->name;
        return true;
    }
}

void MakeCurrent(common::Runtime& rt, const CompanyHooks& hooks, const std::string& company) {
    if (hooks.make_current) {
        hooks.make_current(rt, company);
        return;
    }
    const std::string root = Root(rt);
    const std::string base = root == "/" ? "" : root;
    rt.set_data_dir(company.empty() ? base + "/" : base + "/" + company + "/");
    rt.set_program_dir(root, company);
    rt.set_restart_requested(true);
}

void ForgetOperator(common::Runtime& rt) {
    rt.operators().ident = "    ";
    rt.operators().rights = 0;
    rt.config().Set("YIDENT", memfile::MemValue::Char("    "));
    rt.config().Set("YHASUZ", memfile::MemValue::Char(""));
    rt.config().Set("YUPRUZ", memfile::MemValue::Numeric(0, 10, 0));
}

bool IsCurrent(const common::Runtime& rt, const std::string& name) {
    return !rt.company().empty() && base::AsciiUpper(rt.company()) == base::AsciiUpper(name);
}

std::string Root(const common::Runtime& rt) {
    return rt.program_dir();
}

std::vector<CompanyChoice> CompanyChoices(const common::Runtime& rt,
                                          const std::vector<CompanyEntry>& list) {
    std::vector<CompanyChoice> rows;
    rows.push_back({"", RootLabel(Root(rt)), true});
    for (const CompanyEntry& c : list) rows.push_back({c.name, base::AsciiUpper(c.name), c.usable});
    return rows;
}

int ChooseCompany(common::Runtime& rt, const std::vector<CompanyChoice>& rows, int initial) {
    auto& s = rt.screen();
    const int width = std::max(static_cast<int>(rows.front().text.size()) + 3, 11);
    const int top = 7, left = 32;
    const int bottom = std::min(top + static_cast<int>(rows.size()) + 1, 21);
    const int right = left + width + 1;
    const console::ScreenRegion saved = s.Save(top, left, bottom, right);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ",
          rt.Standard(rt.colours().ycow));
    std::vector<std::string> texts;
    std::vector<bool> selectable;
    for (const CompanyChoice& r : rows) {
        texts.push_back(r.text);
        selectable.push_back(r.selectable);
    }
    const int chosen = common::Qrmach(rt, top + 1, left + 1, bottom - 1, right - 1, texts,
                                      selectable, initial + 1);
    s.Restore(saved);
    return chosen - 1;
}

}  // namespace kestrel::utilities
