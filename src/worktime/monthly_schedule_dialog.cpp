#include "worktime/monthly_schedule_dialog.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "register/data/employee_record.h"
#include "worktime/data/monthly_schedule.h"
#include "worktime/schedule_day_box.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;

constexpr int kTitleRow = 4;
constexpr int kAskRow = 5;
constexpr int kMonthCol = 9;      // after "Rok.mc: "
constexpr int kEmployeeCol = 29;  // after "Pracownik: "
constexpr int kGroupRow = 6;
constexpr int kListTop = 7, kListLeft = 1, kListBottom = 21, kListRight = 27;
constexpr const char* kWeekdays[7] = {"Pn", "Wt", "Śr", "Cz", "Pt", "So", "Nd"};

// One day of the month as the list and the box show it.
struct Day {
    std::string date;     // YYYYMMDD
    char calendar = ' ';  // the calendar's day code: ' ' a working day
    char shift = ' ';     // PKHARZM, a variable-time group only
    std::optional<IndividualDay> own;
    std::optional<SegmentRecord> pattern;  // the template shift of the day
};

enum class Next { kEmployee, kMonth };

class Dialog {
  public:
    Dialog(common::Runtime& rt, common::Tables& tables)
        : rt_(rt),
          tables_(tables),
          st_(tables),
          prac_(tables.Open("PKPRAC", {"PKPRAC1", "PKPRAC2"})) {
        const base::LocalTime& today = rt.working_date();
        year_ = today.year < 2001 || today.year > 2049 ? 2001 : today.year;
        month_ = today.month;
    }

    void Run() {
        for (;;) {
            Frame();
            if (!AskMonth()) return;
            for (;;) {
                Frame();
                if (!AskEmployee()) break;
                if (Month() == Next::kMonth) break;
            }
        }
    }

  private:
    console::Attr Plain() const { return rt_.Standard(rt_.colours().ycow); }

    void Frame() {
        auto& s = rt_.screen();
        s.Clear(kTitleRow, 1, 21, 77, Plain());
        s.Write(kTitleRow, 22, rt_.Text("3.A. Miesięczny harmonogram czasu pracy"), Plain());
        s.Write(kAskRow, 1, "Rok.mc:", Plain());
        s.Write(kAskRow, kMonthCol, MonthText(), Plain());
    }

    std::string MonthText() const {
        char text[16];
        std::snprintf(text, sizeof text, "%04d.%02d", year_, month_);
        return text;
    }

    bool AskMonth() {
        char text[16];
        std::snprintf(text, sizeof text, "%04d", year_);
        std::string year = text;
        std::snprintf(text, sizeof text, "%02d", month_);
        std::string month = text;
        common::Form form(rt_);
        form.Get(kAskRow, kMonthCol, &year, "9999").Valid([&] {
            const int n = std::atoi(year.c_str());
            if (n >= 2001 && n <= 2049) return true;
            common::ShowMessage(rt_, rt_.Text("Błędny rok (2001-2049)"));
            return false;
        });
        form.Get(kAskRow, kMonthCol + 5, &month, "99").Valid([&] {
            const int n = std::atoi(month.c_str());
            if (n >= 1 && n <= 12) return true;
            common::ShowMessage(rt_, rt_.Text("Błędny miesiąc (1-12)"));
            return false;
        });
        if (!common::Qrmrdr(rt_, form).saved()) return false;
        year_ = std::atoi(year.c_str());
        month_ = std::atoi(month.c_str());
        rt_.screen().Write(kAskRow, kMonthCol, MonthText(), Plain());
        return true;
    }

    bool AskEmployee() {
        auto& s = rt_.screen();
        s.Write(kAskRow, kEmployeeCol - 11, "Pracownik:", Plain());
        common::WriteLegend(rt_, 21, 1, "<F3>-Kartoteka pracowników");
        std::string typed = number_.empty() ? std::string(6, ' ') : number_;
        for (;;) {
            common::Form form(rt_);
            form.Get(kAskRow, kEmployeeCol, &typed, "999999").Valid([&] {
                std::string n;
                if (registry::NormaliseNumber(typed, &n)) {
                    typed = n;
                    return true;
                }
                rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
                return false;
            });
            common::ReadResult r;
            {
                common::HotKeysAside aside(rt_, {key::F(3)});
                rt_.console().keyboard().Bind(
                    key::F(3), [&] { common::PickEmployee(rt_, tables_, form.Typed()); });
                r = common::Qrmrdr(rt_, form);
            }
            if (!r.saved()) return false;
            if (Employee(typed)) break;
        }
        s.Clear(21, 1, 21, 77, Plain());
        return true;
    }

    // Takes the employee `number`: name, group and calendar; false (after
    // the message) when the schedule cannot be shown.
    bool Employee(const std::string& number) {
        if (!prac_.SetOrder(1).ok() || !prac_.Seek(number).ok() || !prac_.found()) {
            common::ShowMessage(rt_, rt_.Text("Brak pracownika o tym numerze"));
            return false;
        }
        number_ = number;
        const std::string name = common::EmployeeName(prac_);
        const std::string group = prac_.record().GetString(prac_.FieldIndex("GRUPA_KAL"));
        auto& s = rt_.screen();
        s.Clear(kAskRow, kEmployeeCol + 7, kAskRow, 77, Plain());
        s.Write(kAskRow, kEmployeeCol + 7, name.substr(0, 77 - kEmployeeCol - 7), Plain());
        s.Clear(kGroupRow, 1, kGroupRow, 77, Plain());
        group_ = FindGroup(st_, group);
        if (!group_) {
            common::ShowMessage(rt_, rt_.Text("Błędna grupa \"kalendarzowa\""));
            return false;
        }
        if (!CalendarDays(st_, year_, group_->code, month_)) {
            char key[8];
            std::snprintf(key, sizeof key, "%4d", year_);
            common::ShowMessage(rt_, rt_.Text("Brak kalendarza \"") + key + group_->code + "\"");
            return false;
        }
        s.Write(kGroupRow, 1,
                rt_.Text("Grupa kalendarzowa: ") + group_->code +
                    rt_.Text(group_->variable_time ? "  (praca zmianowa)" : ""),
                Plain());
        return true;
    }

    void Load() {
        const std::string codes = *CalendarDays(st_, year_, group_->code, month_);
        days_.clear();
        for (int d = 1; d <= static_cast<int>(codes.size()); ++d) {
            Day day;
            day.date = base::DbfDateText({year_, month_, d});
            day.calendar = codes[static_cast<size_t>(d - 1)];
            days_.push_back(day);
            Reload(days_.size() - 1);
        }
    }

    void Reload(size_t i) {
        Day& d = days_[i];
        d.shift = group_->variable_time ? ShiftOf(st_, number_, d.date) : ' ';
        d.own = ReadIndividualDay(st_, number_, d.date);
        d.pattern = TemplateShift(st_, group_->code, d.shift);
    }

    static std::string Weekday(const std::string& date) {
        const int32_t j = base::JulianDay(base::DateOfDbfText(date));
        return kWeekdays[(j % 7 + 7) % 7];  // Julian day 0 fell on a Monday
    }

    std::string FreeText(const Day& d) const {
        if (d.own) return d.own->free ? "<dzień wolny od pracy (indywidualny)>" : "";
        return d.calendar != ' ' ? "<dzień wolny od pracy (wg kalendarza)>" : "";
    }

    const SegmentRecord* Hours(const Day& d) const {
        if (d.own) return &d.own->segments;
        return d.pattern ? &*d.pattern : nullptr;
    }

    std::string TimeCell(const Day& d) const {
        if (!FreeText(d).empty()) return rt_.Text("wolny");
        const SegmentRecord* h = Hours(d);
        return h == nullptr ? "-----" : TotalText(MeasureSegments(*h));
    }

    void ShowDay(const Day& d) {
        DayBox box;
        box.individual = d.own.has_value();
        box.shift_shown = group_->variable_time && !d.own && d.calendar == ' ';
        box.shift = d.shift;
        box.free_text = FreeText(d);
        if (const SegmentRecord* h = Hours(d)) box.segments = *h;
        DrawDayBox(rt_, box);
        auto& s = rt_.screen();
        s.Clear(19, kBoxLeft, 21, 77, Plain());
        common::WriteLegend(
            rt_, 19, kBoxLeft,
            d.own ? "<F1>-Czas pracy wg wzorca" : "<F1>-Idywidualny harmonogram czasu pracy");
        common::WriteLegend(rt_, 20, kBoxLeft, "<F8>-Dzień wolny/pracy  <Ctrl+Del>-Kasowanie");
        common::WriteLegend(rt_, 21, kBoxLeft, "<F11>-Inny pracownik  <F12>-Inny miesiąc");
    }

    Next Month() {
        Load();
        int current = 1;
        Next next = Next::kEmployee;
        std::vector<common::BrowseColumn> columns = {
            {rt_.Text("Dzień"), 5,
             [&] {
                 const Day& d = days_[static_cast<size_t>(current - 1)];
                 return d.date.substr(6, 2) + " " + rt_.Text(Weekday(d.date));
             }},
            {"Zm", 2,
             [&] {
                 const Day& d = days_[static_cast<size_t>(current - 1)];
                 return std::string(1, group_->variable_time && !d.own ? d.shift : ' ');
             }},
            {"Wg", 4,
             [&] {
                 return rt_.Text(days_[static_cast<size_t>(current - 1)].own ? "ind." : "wzór");
             }},
            {"Czas", 5, [&] { return TimeCell(days_[static_cast<size_t>(current - 1)]); }},
        };
        ShowDay(days_[0]);
        common::HotKeysAside aside(rt_, {key::F(1), key::F(8), key::F(11), key::F(12)});
        common::BrowseList(
            rt_, kListTop, kListLeft, kListBottom, kListRight, std::move(columns),
            [&](int mode, int, common::Browse&) -> int {
                const size_t i = static_cast<size_t>(current - 1);
                int result = common::kBrowseRedrawRow;
                if (mode != common::kBrowseIdle) {
                    switch (rt_.console().LastKey()) {
                        case key::kEsc:
                        case key::F(11):
                            return common::kBrowseClose;
                        case key::F(12):
                            next = Next::kMonth;
                            return common::kBrowseClose;
                        case key::kEnter:
                            Edit(i);
                            break;
                        case key::F(1):
                            SwitchIndividual(i);
                            break;
                        case key::F(8):
                            SwitchFree(i);
                            break;
                        case key::kCtrlDel:
                            if (DeleteOwn()) result = common::kBrowseRedrawAll;
                            break;
                        default:
                            break;
                    }
                }
                ShowDay(days_[static_cast<size_t>(current - 1)]);
                return result;
            },
            &current, static_cast<int>(days_.size()));
        return next;
    }

    // Enter: the shift letter of a template working day of a variable-time
    // group, the hours of an individual working day.
    void Edit(size_t i) {
        Day& d = days_[i];
        if (d.own && !d.own->free) {
            IndividualDay own = *d.own;
            if (ReadDayHours(rt_, tables_, &own.segments))
                WriteIndividualDay(st_, number_, d.date, own);
        } else if (!d.own && group_->variable_time && d.calendar == ' ') {
            ShowDay(d);
            char shift = d.shift;
            if (ReadShift(rt_, &shift, [&](char c) {
                    return c == ' ' || TemplateShift(st_, group_->code, c).has_value();
                }))
                SetShift(st_, number_, d.date, group_->code, shift);
        } else {
            rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
        }
        Reload(i);
    }

    // F1: individual hours from the template's, or back to the template.
    void SwitchIndividual(size_t i) {
        Day& d = days_[i];
        if (d.own) {
            DeleteIndividualDay(st_, number_, d.date);
        } else {
            IndividualDay own;
            if (d.pattern) own.segments = *d.pattern;
            DayBox box;
            box.individual = true;
            box.segments = own.segments;
            DrawDayBox(rt_, box);
            if (ReadDayHours(rt_, tables_, &own.segments))
                WriteIndividualDay(st_, number_, d.date, own);
        }
        Reload(i);
    }

    // F8: a working day becomes an individual free day; a free day (by the
    // calendar or individually) a working day, with its hours read.
    void SwitchFree(size_t i) {
        Day& d = days_[i];
        IndividualDay own;
        if (d.own)
            own = *d.own;
        else if (d.pattern)
            own.segments = *d.pattern;
        const bool free = d.own ? d.own->free : d.calendar != ' ';
        if (free) {
            own.free = false;
            DayBox box;
            box.individual = true;
            box.segments = own.segments;
            DrawDayBox(rt_, box);
            if (ReadDayHours(rt_, tables_, &own.segments))
                WriteIndividualDay(st_, number_, d.date, own);
        } else {
            own.free = true;
            WriteIndividualDay(st_, number_, d.date, own);
        }
        Reload(i);
    }

    bool DeleteOwn() {
        if (!common::IsYes(
                common::Question(rt_, rt_.Text("Kasować własny harmonogram?"), "tn", 'N')))
            return false;
        const int deleted = DeleteIndividualMonth(st_, number_, year_, month_);
        common::ShowMessage(rt_, rt_.Text(deleted > 0 ? "Własny harmonogram skasowany"
                                                      : "Brak własnego harmonogramu"));
        for (size_t i = 0; i < days_.size(); ++i) Reload(i);
        return true;
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    ScheduleTables st_;
    dbf::WorkArea& prac_;
    int year_ = 2001, month_ = 1;
    std::string number_;
    std::optional<CalendarGroup> group_;
    std::vector<Day> days_;
};

}  // namespace

void MonthlySchedule(common::Runtime& rt, common::Tables& tables) {
    Dialog dialog(rt, tables);
    dialog.Run();
}

void Qrm3A(common::Runtime& rt) {
    if (!rt.config().Logical("NAGLHARMON")) {
        common::ShowMessage(rt, rt.Text("Harmonogramy nie są prowadzone"));
        return;
    }
    common::Tables tables(rt);
    MonthlySchedule(rt, tables);
}

}  // namespace kestrel::worktime
