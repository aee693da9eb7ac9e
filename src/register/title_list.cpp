#include "register/title_list.h"

#include <chrono>
#include <cstdio>
#include <vector>

#include "common/form.h"
#include "common/messages.h"
#include "common/pick_window.h"
#include "platform/console/keys.h"
#include "register/dictionary_fields.h"
#include "register/employee_lookup.h"

namespace kestrel::registry {

namespace key = console::key;

namespace {

constexpr int kBottomRow = 20;
// Columns of the list: "Lp", "Tytuł", "Nazwa", "Okres od ÷ do".
constexpr int kLineCol = 2, kTitleCol = 6, kNameCol = 13, kNameWidth = 36, kFromCol = 51,
              kToCol = 64;

std::string DayAfter(const std::string& yyyymmdd) {
    using namespace std::chrono;
    const year_month_day d{year{std::stoi(yyyymmdd.substr(0, 4))},
                           month{static_cast<unsigned>(std::stoi(yyyymmdd.substr(4, 2)))},
                           day{static_cast<unsigned>(std::stoi(yyyymmdd.substr(6, 2)))}};
    const year_month_day next{sys_days{d} + days{1}};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02u%02u", static_cast<int>(next.year()),
                  static_cast<unsigned>(next.month()), static_cast<unsigned>(next.day()));
    return buf;
}

picture::Date ToDate(const std::string& yyyymmdd) {
    picture::Date d;
    if (yyyymmdd.size() == 8) {
        d.year = std::stoi(yyyymmdd.substr(0, 4));
        d.month = std::stoi(yyyymmdd.substr(4, 2));
        d.day = std::stoi(yyyymmdd.substr(6, 2));
    }
    return d;
}

std::string FromDate(const picture::Date& d) {
    if (d.empty()) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
    return buf;
}

std::string Shown(const std::string& yyyymmdd) {
    if (yyyymmdd.size() != 8) return std::string(10, ' ');
    return yyyymmdd.substr(0, 4) + "-" + yyyymmdd.substr(4, 2) + "-" + yyyymmdd.substr(6, 2);
}

std::string Trimmed(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

class TitleList {
  public:
    TitleList(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& ktyub,
              const EmployeeRecord& employee, int top_row,
              const std::function<void(uint32_t)>& written)
        : rt_(rt),
          tables_(tables),
          ktyub_(ktyub),
          number_(employee.number()),
          top_(top_row),
          written_(written) {
        listed_.push_back(MainTitleOf(employee));
        stored_ = ReadTitles(ktyub_, number_);
    }

    ListEnd Run() {
        auto& s = rt_.screen();
        const console::Attr plain = rt_.Standard(rt_.colours().ycow);
        s.Clear(top_ - 2, 1, kBottomRow, 77, plain);
        s.Write(top_ - 2, 2, rt_.Text("Dodatkowe tytuły ubezpieczenia"), plain);
        s.Write(top_ - 1, kLineCol, rt_.Text("Lp"), plain);
        s.Write(top_ - 1, kTitleCol, rt_.Text("Tytuł"), plain);
        s.Write(top_ - 1, kNameCol, rt_.Text("Nazwa"), plain);
        s.Write(top_ - 1, kFromCol, rt_.Text("Okres od ÷ do"), plain);
        for (int line = 1;; ++line) {
            InsuranceTitle t = Default(line);
            for (;;) {
                const int row = RowForNext();
                DrawList(row);
                const int got = AskLine(row, line, &t);
                if (got < 0) return ListEnd::kEscape;
                if (got == 0) {
                    DeleteTitlesFrom(tables_, ktyub_, number_, line);
                    return ListEnd::kDone;
                }
                const std::string dup = DuplicateTitleMessage(listed_, t);
                if (dup.empty()) break;
                common::ShowMessage(rt_, rt_.Text(dup));
            }
            t.recno = WriteTitle(tables_, ktyub_, number_, t);
            if (written_) written_(t.recno);
            listed_.push_back(t);
        }
    }

  private:
    InsuranceTitle Default(int line) const {
        for (const InsuranceTitle& t : stored_) {
            if (t.line == line) return t;
        }
        InsuranceTitle t;
        t.line = line;
        return t;
    }

    // The row of the line being typed: after the listed lines, the list
    // moved up once the rows are full.
    int RowForNext() const {
        const int capacity = kBottomRow - top_ + 1;
        const int used = static_cast<int>(listed_.size());
        return used < capacity ? top_ + used : kBottomRow;
    }

    void DrawList(int entry_row) {
        auto& s = rt_.screen();
        const console::Attr plain = rt_.Standard(rt_.colours().ycow);
        s.Clear(top_, 1, kBottomRow, 77, plain);
        // The last lines that fit above the entry row.
        const int room = entry_row - top_;
        const int first = static_cast<int>(listed_.size()) - room;
        for (int i = first < 0 ? 0 : first, row = top_; i < static_cast<int>(listed_.size());
             ++i, ++row) {
            const InsuranceTitle& t = listed_[static_cast<size_t>(i)];
            char lp[16];
            std::snprintf(lp, sizeof lp, "%2d", t.line);
            s.Write(row, kLineCol, t.line == 0 ? std::string("  ") : std::string(lp), plain);
            s.Write(row, kTitleCol, t.title, plain);
            s.Write(row, kNameCol, NameOf(t.title), plain);
            s.Write(row, kFromCol, Shown(t.from) + rt_.Text(" ÷ ") + Shown(t.to), plain);
        }
    }

    std::string NameOf(const std::string& title) {
        std::string name;
        if (Trimmed(title).empty()) return {};
        CheckCode(tables_, "TYTUL_PODM", title, &name);
        return Trimmed(name).substr(0, kNameWidth);
    }

    // 1 accepted, 0 an empty title (the end), -1 Esc.
    int AskLine(int row, int line, InsuranceTitle* t) {
        auto& s = rt_.screen();
        const console::Attr plain = rt_.Standard(rt_.colours().ycow);
        char lp[16];
        std::snprintf(lp, sizeof lp, "%2d", line);
        s.Write(row, kLineCol, lp, plain);
        s.Write(row, kFromCol + 11, rt_.Text("÷"), plain);
        std::string title = t->title;
        title.resize(4, ' ');
        picture::Date from = ToDate(t->from), to = ToDate(t->to);
        common::Form form(rt_);
        auto empty_title = [&title] { return Trimmed(title).empty(); };
        form.Get(row, kTitleCol, &title, "9999").Valid([&] {
            s.Clear(row, kNameCol, row, kNameCol + kNameWidth - 1, plain);
            // An empty title ends the list: the period is not asked.
            if (empty_title()) return true;
            std::string name;
            const Verdict v = CheckCode(tables_, "TYTUL_PODM", title, &name);
            if (!v.accepted) {
                common::ShowMessage(rt_, rt_.Text(v.message));
                return false;
            }
            s.Write(row, kNameCol, Trimmed(name).substr(0, kNameWidth), plain);
            return true;
        });
        form.Get(row, kFromCol, &from).When([&] { return !empty_title(); }).Valid([&] {
            return !from.empty();
        });
        form.Get(row, kToCol, &to).When([&] { return !empty_title(); }).Valid([&] {
            return PeriodValid(FromDate(from), FromDate(to));
        });
        common::WriteLegend(rt_, 21, 40, "<F3>-Tytuły ubezpieczenia");
        auto& kb = rt_.console().keyboard();
        const CodeField dict = CodeFieldOf("2.8.2");
        auto old = kb.Bind(key::F(3), [&] {
            if (form.current() == 0) PickCode(rt_, tables_, dict, form.Typed());
        });
        const common::ReadResult r = form.Read();
        kb.Bind(key::F(3), old);
        s.Clear(21, 40, 21, 77, plain);
        if (!r.saved()) return -1;
        if (empty_title()) return 0;
        // A start left empty by a read cut short is still required.
        if (from.empty() || !PeriodValid(FromDate(from), FromDate(to))) {
            rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
            return AskLine(row, line, t);
        }
        t->line = line;
        t->title = title;
        t->from = FromDate(from);
        t->to = FromDate(to);
        return 1;
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    dbf::WorkArea& ktyub_;
    std::string number_;
    int top_;
    const std::function<void(uint32_t)>& written_;
    std::vector<InsuranceTitle> listed_;
    std::vector<InsuranceTitle> stored_;
};

}  // namespace

InsuranceTitle MainTitleOf(const EmployeeRecord& employee) {
    InsuranceTitle t;
    t.line = 0;
    t.title = employee.Text("TYTUL_PODM");
    t.from = employee.Date("DATA_ZATR");
    const std::string dismissed = employee.Date("DATA_ZWOLN");
    t.to = dismissed.empty() ? std::string() : DayAfter(dismissed);
    return t;
}

ListEnd EditTitles(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& ktyub,
                   const EmployeeRecord& employee, int top_row,
                   const std::function<void(uint32_t)>& written) {
    TitleList list(rt, tables, ktyub, employee, top_row, written);
    return list.Run();
}

}  // namespace kestrel::registry
