#include "payroll/review_windows.h"

#include <algorithm>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/messages.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "platform/picture/picture.h"

namespace kestrel::payroll {
namespace {

constexpr int kTop = 5, kBottom = 21, kLeft = 1, kRight = 77;

std::string Cut(std::string_view s, size_t width) {
    std::string out(s.substr(0, std::min(s.size(), width)));
    out.resize(width, ' ');
    return out;
}

// "SYMB Name         amount" with the mark after it; `name` columns of name.
std::string Cell(const SummaryLine& l, size_t name, const std::string& mark) {
    return Cut(l.symbol, 4) + " " + Cut(l.name, name) + " " + AmountText(l.amount) + " " + mark;
}

}  // namespace

std::string AmountText(double amount) {
    static const picture::Picture p = picture::Parse("@E 99999999999.99");
    return picture::FormatNumber(amount, p, 14, 2);
}

void ShowSummary(common::Runtime& rt, SummaryKind kind, const std::string& caption,
                 const Summary& summary) {
    std::vector<std::string> rows;
    std::string heading, total;
    if (kind == SummaryKind::kAllOfList) {
        heading = rt.Text("Wszystkie składniki z listy płac");
        total = rt.Text("KWOTA WYPŁATY:");
        for (size_t i = 0; i < summary.lines.size(); i += 2) {
            auto cell = [&](const SummaryLine& l) {
                return Cell(l, 13, l.off_list || l.deduction ? "##" : "  ");
            };
            std::string row = cell(summary.lines[i]);
            if (i + 1 < summary.lines.size()) row += " " + cell(summary.lines[i + 1]);
            rows.push_back(row);
        }
    } else {
        heading =
            rt.Text(kind == SummaryKind::kPayableOfList ? "Składniki \"do wypłaty\" z listy płac"
                                                        : "Składniki \"do wypłaty\" za miesiąc");
        total = rt.Text("RAZEM:");
        for (const SummaryLine& l : summary.lines)
            rows.push_back(Cell(l, 40, l.deduction ? "###" : "   "));
    }

    auto& s = rt.screen();
    const console::ScreenRegion under = s.Save(kTop, kLeft, kBottom, kRight);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(kTop, kLeft, kBottom, kRight, std::string(console::kFrameDouble) + " ", frame);
    s.Write(kTop, kLeft + 3, " " + heading + " ", rt.Standard(rt.colours().ycobp));
    const std::string sum = total + " " + AmountText(summary.total);
    s.Write(kBottom - 1, kRight - 2 - static_cast<int>(sum.size()), sum, frame);
    common::WriteLegend(rt, kBottom - 1, kLeft + 2, "<Esc>-Wyjście");
    int current = 1;
    std::vector<common::BrowseColumn> columns = {
        {caption, kRight - kLeft - 3, [&rows, &current]() -> std::string {
             return rows.empty() ? std::string() : rows[static_cast<size_t>(current - 1)];
         }}};
    common::BrowseList(
        rt, kTop + 1, kLeft + 1, kBottom - 2, kRight - 1, std::move(columns),
        [&rt](int mode, int, common::Browse&) {
            if (mode == common::kBrowseIdle) return static_cast<int>(common::kBrowseRedrawRow);
            return rt.console().LastKey() == console::key::kEsc
                       ? static_cast<int>(common::kBrowseClose)
                       : static_cast<int>(common::kBrowseRedrawRow);
        },
        &current, static_cast<int>(rows.size()));
    s.Restore(under);
}

}  // namespace kestrel::payroll
