#include <vector>

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/messages.h"
#include "payroll/component_entry_parts.h"
#include "payroll/data/payroll_month.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "platform/picture/picture.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr int kTop = 8, kLeft = 8, kBottom = 22, kRight = 72;
constexpr int kAmountWidth = 13;

std::string Cut(std::string_view s, size_t width) {
    std::string out(s.substr(0, std::min(s.size(), width)));
    out.resize(width, ' ');
    return out;
}

struct Row {
    std::string code;  // what Enter types into the field
    std::string name;
    std::string kind;
};

// A list window over `rows` with `title` on its top frame; Enter types the
// row's code into the calling field.
void PickRow(common::Runtime& rt, common::Tables& tables, const std::vector<Row>& rows,
             const std::string& title, const char* code_heading, int code_width,
             const char* kind_heading) {
    std::string chosen;
    {
        common::WindowState keep(rt, tables.workspace());
        common::HotKeysAside aside(
            rt, {key::F(3), key::F(4), key::F(5), key::F(6), key::F(9), key::F(10), key::F(12)});
        auto& s = rt.screen();
        const console::Attr plain = rt.Standard(rt.colours().ycow);
        s.Clear(kTop, kLeft, kBottom, kRight, plain);
        s.Box(kTop, kLeft, kBottom, kRight, console::kFrameDouble, plain);
        const int width = static_cast<int>(title.size());
        s.Write(kTop, kLeft + (kRight - kLeft + 1 - width) / 2, title, plain);
        common::WriteLegend(rt, kTop + 1, kLeft + 14, "<Esc>-Wyjście      <Enter>-Akceptacja");
        int current = 1;
        auto at = [&]() -> const Row& { return rows[static_cast<size_t>(current - 1)]; };
        auto cell = [&](auto fn) {
            return [&, fn]() -> std::string { return rows.empty() ? std::string() : fn(at()); };
        };
        const int name_width = kRight - kLeft - 8 - code_width - (kind_heading ? 4 : 0);
        std::vector<common::BrowseColumn> columns = {
            {rt.Text(code_heading), code_width, cell([](const Row& r) { return r.code; })},
            {rt.Text("NAZWA"), name_width,
             cell([name_width](const Row& r) { return Cut(r.name, name_width); })},
        };
        if (kind_heading != nullptr)
            columns.push_back(
                {rt.Text(kind_heading), 3, cell([](const Row& r) { return r.kind; })});
        common::BrowseList(
            rt, kTop + 2, kLeft + 1, kBottom - 1, kRight - 1, std::move(columns),
            [&](int mode, int, common::Browse&) {
                if (mode == common::kBrowseIdle) return static_cast<int>(common::kBrowseRedrawRow);
                const int k = rt.console().LastKey();
                if (k == key::kEsc) return static_cast<int>(common::kBrowseClose);
                if (k != key::kEnter) return static_cast<int>(common::kBrowseRedrawRow);
                if (rows.empty()) {
                    rt.console().Tone(common::kToneFrequency, common::kToneTicks);
                    return static_cast<int>(common::kBrowseRedrawRow);
                }
                chosen = at().code;
                return static_cast<int>(common::kBrowseClose);
            },
            &current, static_cast<int>(rows.size()));
    }
    if (!chosen.empty()) common::TypeIntoField(rt, base::TrimRight(chosen));
}

}  // namespace

std::string AmountPicture(const Component& c) {
    if (c.off_list && !base::IsBlank(c.mask)) return base::TrimRight(c.mask);
    return "@E 99,999,999.99";
}

std::string AmountText(const Component& c, double amount) {
    std::string s =
        picture::FormatNumber(amount, picture::Parse(AmountPicture(c)), kAmountWidth, 2);
    if (s.size() < kAmountWidth) s.insert(0, kAmountWidth - s.size(), ' ');
    if (s.size() > kAmountWidth + 2) s.resize(kAmountWidth + 2);
    return s;
}

void PickListEmployee(common::Runtime& rt, common::Tables& tables, PositionEntry& entry,
                      bool without_dismissed) {
    std::vector<Row> rows;
    dbf::WorkArea& prac = entry.register_area();
    {
        const dbf::KeepPosition keep(prac);
        worktime::OrderBy(prac, "PKPRAC1");
        for (const std::string& number : entry.EmployeesOfList(without_dismissed)) {
            std::string name;
            if (prac.Seek(number).ok() && prac.found()) name = common::EmployeeName(prac);
            rows.push_back({number, name, ""});
        }
    }
    const std::string title = without_dismissed ? rt.Text(" Bez pracowników zwolnionych ")
                                                : " " + ListCaption(entry.list()) + " ";
    PickRow(rt, tables, rows, title, "NR PRAC", 7, nullptr);
}

void PickComponent(common::Runtime& rt, common::Tables& tables, PositionEntry& entry,
                   ComponentList which) {
    std::vector<Row> rows;
    for (const Component* c : entry.Listed(which))
        rows.push_back({c->symbol, c->name, std::string(1, c->kind)});
    PickRow(rt, tables, rows, " " + rt.Text(ComponentListTitle(which)) + " ", "SYMB.", 5, "TYP");
}

}  // namespace kestrel::payroll
