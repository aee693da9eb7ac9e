#include "register/insurance_titles.h"

#include <cstdio>

#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "register/data/employee_lookup.h"

namespace kestrel::registry {
namespace {

constexpr int kHeadingRow = 14;
constexpr int kFirstLine = 16, kLastLine = 20;
constexpr int kLineCol = 2, kTitleCol = 6, kNameCol = 12, kFromCol = 49, kToCol = 62;
constexpr int kNameWidth = 35;
constexpr int kMaxLine = 99;

std::string DateText(const std::string& yyyymmdd) {
    if (yyyymmdd.size() != 8) return std::string(10, ' ');
    return base::DateText(base::DateOfDbfText(yyyymmdd));
}

using base::Trim;

class TitleList {
  public:
    TitleList(PageContext& ctx, const EmployeeRecord& employee)
        : ctx_(ctx), rt_(ctx.rt), listed_{MainTitle(employee)} {}

    void DrawHeading();
    /// Redraws the listed lines so that `free_rows` rows stay free below them.
    void DrawList(int free_rows);
    void DrawLine(int row, const InsuranceTitle& t);
    std::string Name(const std::string& title);

    std::vector<InsuranceTitle>& listed() { return listed_; }

  private:
    PageContext& ctx_;
    common::Runtime& rt_;
    std::vector<InsuranceTitle> listed_;
};

void TitleList::DrawHeading() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(kHeadingRow, 1, kLastLine, 77, plain);
    s.Write(kHeadingRow, kLineCol, rt_.Text("Dodatkowe tytuły ubezpieczenia"), plain);
    s.Write(kHeadingRow + 1, kLineCol, "Lp", plain);
    s.Write(kHeadingRow + 1, kTitleCol, rt_.Text("Tytuł"), plain);
    s.Write(kHeadingRow + 1, kNameCol, "Nazwa", plain);
    s.Write(kHeadingRow + 1, kFromCol, rt_.Text("Okres od ÷ do"), plain);
}

std::string TitleList::Name(const std::string& title) {
    std::string name;
    if (!Trim(title).empty()) CheckCode(ctx_.tables, "TYTUL_PODM", title, &name);
    return Trim(name).substr(0, kNameWidth);
}

void TitleList::DrawLine(int row, const InsuranceTitle& t) {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(row, 1, row, 77, plain);
    if (t.line > 0) {
        char lp[4];
        std::snprintf(lp, sizeof lp, "%2d", t.line);
        s.Write(row, kLineCol, lp, plain);
    }
    s.Write(row, kTitleCol, t.title, plain);
    s.Write(row, kNameCol, Name(t.title), plain);
    s.Write(row, kFromCol, DateText(t.from), plain);
    s.Write(row, kToCol - 2, rt_.Text("÷"), plain);
    s.Write(row, kToCol, DateText(t.to), plain);
}

void TitleList::DrawList(int free_rows) {
    const int room = kLastLine - kFirstLine + 1 - free_rows;
    const int shown = std::min(room, static_cast<int>(listed_.size()));
    auto& s = rt_.screen();
    s.Clear(kFirstLine, 1, kLastLine, 77, rt_.Standard(rt_.colours().ycow));
    for (int i = 0; i < shown; ++i) {
        DrawLine(kFirstLine + i, listed_[listed_.size() - static_cast<size_t>(shown - i)]);
    }
}

}  // namespace

InsuranceTitle MainTitle(const EmployeeRecord& employee) {
    InsuranceTitle t;
    t.title = employee.Text("TYTUL_PODM");
    t.from = employee.Date("DATA_ZATR");
    const std::string dismissed = employee.Date("DATA_ZWOLN");
    t.to = dismissed.empty() ? std::string()
                             : base::DbfDateText(base::AddDays(base::DateOfDbfText(dismissed), 1));
    return t;
}

bool EnterTitles(PageContext& ctx, dbf::WorkArea& ktyub, const EmployeeRecord& employee,
                 std::vector<uint32_t>* written) {
    common::Runtime& rt = ctx.rt;
    const std::string number = employee.number();
    const std::vector<InsuranceTitle> stored = ReadTitles(ktyub, number);
    TitleList list(ctx, employee);
    list.DrawHeading();
    for (int line = 1; line <= kMaxLine; ++line) {
        InsuranceTitle t;
        t.line = line;
        for (const InsuranceTitle& s : stored) {
            if (s.line == line) t = s;
        }
        t.title.resize(4, ' ');
        list.DrawList(1);
        const int row =
            kFirstLine + std::min(static_cast<int>(list.listed().size()), kLastLine - kFirstLine);
        for (;;) {
            list.DrawLine(row, t);
            std::string title = t.title;
            picture::Date from = base::DateOfDbfText(t.from), to = base::DateOfDbfText(t.to);
            common::Form form(rt);
            form.Get(row, kTitleCol, &title, "9999").Valid([&] {
                if (Trim(title).empty()) return true;
                std::string name;
                const Verdict v = CheckCode(ctx.tables, "TYTUL_PODM", title, &name);
                if (!v.accepted) {
                    rt.console().Tone(common::kToneFrequency, common::kToneTicks);
                    rt.screen().Write(row, kNameCol, rt.Text(v.message),
                                      rt.Standard(rt.colours().ycow));
                    return false;
                }
                rt.screen().Write(row, kNameCol, list.Name(title), rt.Standard(rt.colours().ycow));
                return true;
            });
            form.Get(row, kFromCol, &from).When([&] { return !Trim(title).empty(); }).Valid([&] {
                if (!from.empty()) return true;
                rt.console().Tone(common::kToneFrequency, common::kToneTicks);
                return false;
            });
            form.Get(row, kToCol, &to).When([&] { return !Trim(title).empty(); }).Valid([&] {
                if (PeriodValid(base::DbfDateText(from), base::DbfDateText(to))) return true;
                rt.console().Tone(common::kToneFrequency, common::kToneTicks);
                return false;
            });
            if (!form.Read().saved()) return false;
            if (Trim(title).empty()) {
                DeleteTitlesFrom(ctx.tables, ktyub, number, line);
                return true;
            }
            t.title = title;
            t.from = base::DbfDateText(from);
            t.to = base::DbfDateText(to);
            const std::string duplicate = DuplicateTitleMessage(list.listed(), t);
            if (!duplicate.empty()) {
                common::ShowMessage(rt, rt.Text(duplicate));
                continue;
            }
            break;
        }
        const uint32_t recno = WriteTitle(ctx.tables, ktyub, number, t);
        if (written) written->push_back(recno);
        t.recno = recno;
        list.listed().push_back(t);
    }
    return true;
}

void ShowTitles(PageContext& ctx, dbf::WorkArea& ktyub, const EmployeeRecord& employee) {
    TitleList list(ctx, employee);
    for (const InsuranceTitle& t : ReadTitles(ktyub, employee.number())) {
        list.listed().push_back(t);
    }
    list.DrawHeading();
    // The first lines of the list (the main title first).
    const int room = kLastLine - kFirstLine + 1;
    for (int i = 0; i < room && i < static_cast<int>(list.listed().size()); ++i) {
        list.DrawLine(kFirstLine + i, list.listed()[static_cast<size_t>(i)]);
    }
}

}  // namespace kestrel::registry
