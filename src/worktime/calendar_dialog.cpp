#include "worktime/calendar_dialog.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/working_date.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "worktime/calendar_grid.h"
#include "worktime/data/calendar_hours_line.h"
#include "worktime/data/calendar_table.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;
using common::Runtime;

constexpr unsigned kRightsDialog = 34;  // kind 2 or kind 6
constexpr unsigned kRightsEdit = 2;     // kind 2
constexpr int kTitleRow = 4, kYearRow = 6, kGroupRow = 7, kStateCol = 60;

common::PickDictionary GroupPick() {
    common::PickDictionary p;
    p.table = "PKGRUPY";
    p.indexes = {"PKGRUPY1"};
    p.code_field = "GRUPA_";
    p.name_field = "NAZWA_";
    p.can_insert = false;
    p.columns = [](Runtime& rt, dbf::WorkArea& a) {
        return std::vector<common::BrowseColumn>{common::FieldColumn(rt, a, "GRUPA_", "GR"),
                                                 common::FieldColumn(rt, a, "NAZWA_", "NAZWA")};
    };
    return p;
}

class CalendarDialog {
  public:
    CalendarDialog(Runtime& rt, common::Tables& tables)
        : rt_(rt), tables_(tables), can_edit_(common::RightsAllow(rt.operators(), kRightsEdit)) {
        kalen_ = &OpenCalendars(tables);
    }

    void Run() {
        DrawTitle();
        while (AskYearAndGroup()) {
            if (SeekCalendar(*kalen_, year_, group_->code)) {
                cal_ = ReadCalendar(*kalen_);
                is_new_ = false;
                ShowState("Istniejący rekord");
            } else if (can_edit_) {
                cal_ = PresetCalendar(year_, group_->code);
                is_new_ = true;
                ShowState("NOWY REKORD");
            } else {
                common::ShowMessage(rt_, rt_.Text("Brak takiego kalendarza"));
                continue;
            }
            hours_ = HoursLine(*group_, ReadGroupShifts(tables_, group_->code));
            EditGrid();
            ClearBelowQuestions();
        }
    }

  private:
    void DrawTitle() {
        auto& s = rt_.screen();
        const console::Attr plain = rt_.Standard(rt_.colours().ycow);
        s.Clear(4, 1, 21, 77, plain);
        s.Write(kTitleRow, 22, rt_.Text("3.2. Rejestracja/korekta kalendarza"), plain);
        s.Write(kYearRow, 2, rt_.Text("Rok:"), plain);
        s.Write(kGroupRow, 2, rt_.Text("Grupa kalendarzowa:"), plain);
        frame_row_ = s.Save(kHoursRow, 1, kHoursRow, 77);
    }

    void ShowState(const char* text) {
        rt_.screen().Write(kYearRow, kStateCol, rt_.Text(text), rt_.Standard(rt_.colours().ycoi));
    }

    void ClearBelowQuestions() {
        auto& s = rt_.screen();
        s.Clear(kYearRow, kStateCol, kYearRow, 77, rt_.Standard(rt_.colours().ycow));
        s.Clear(8, 1, 21, 77, rt_.Standard(rt_.colours().ycow));
        s.Restore(frame_row_);
    }

    // False on Esc.
    bool AskYearAndGroup() {
        auto& s = rt_.screen();
        const console::Attr plain = rt_.Standard(rt_.colours().ycow);
        if (year_text_.empty()) {
            char y[8];
            std::snprintf(y, sizeof y, "%4d", common::Qrmdate(rt_).year);
            year_text_ = y;
        }
        common::Form form(rt_);
        form.Get(kYearRow, 7, &year_text_, "9999").Valid([&] {
            const int year = std::atoi(base::Trim(year_text_).c_str());
            if (IsCalendarYear(year)) return true;
            rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
            return false;
        });
        form.Get(kGroupRow, 22, &group_text_, "@!").Valid([&] {
            group_ = FindCalendarGroup(tables_, group_text_);
            if (group_) return true;
            common::ShowMessage(rt_, rt_.Text("Brak takiej grupy"));
            return false;
        });
        common::ReadResult r;
        {
            common::HotKeysAside aside(rt_, {key::F(3)});
            rt_.console().keyboard().Bind(key::F(3), [&] {
                if (form.current() == 1) common::Pick(rt_, tables_, GroupPick(), form.Typed());
            });
            common::WriteLegend(rt_, kGroupRow, kStateCol, "<F3>-Grupy kalend.");
            r = common::Qrmrdr(rt_, form);
        }
        s.Clear(kGroupRow, 25, kGroupRow, 77, plain);
        if (!r.saved() || !group_) return false;
        year_ = std::atoi(base::Trim(year_text_).c_str());
        s.Write(kGroupRow, 25, group_->name, plain);
        return true;
    }

    void ShowHours(GridCursor c) {
        auto& s = rt_.screen();
        s.Restore(frame_row_);
        if (cal_.Day(c.month, c.day) == kWorkingDay)
            s.Write(kHoursRow, 1, hours_.substr(0, 77), rt_.Standard(rt_.colours().ycow));
    }

    void EditGrid() {
        DrawGrid(rt_, cal_);
        // The grid waits for keys: no "CZEKAJ..." meanwhile.
        rt_.screen().Clear(0, 60, 0, 68, rt_.Standard(rt_.colours().ycow));
        GridCursor c;
        bool changed = false;
        for (;;) {
            DrawCursor(rt_, cal_, c, true);
            ShowHours(c);
            const int k = common::Qrminkey(rt_);
            DrawCursor(rt_, cal_, c, false);
            char code = 0;
            switch (k) {
                case key::kEsc:
                    Finish(changed);
                    return;
                case key::kCtrlDel:
                    if (Delete()) return;
                    continue;
                case key::kEnter:
                    c = NextDay(c, year_);
                    continue;
                case key::kDel:
                    code = kWorkingDay;
                    break;
                default:
                    if (k >= 0 && k < 256) code = base::AsciiUpper(static_cast<char>(k));
                    break;
            }
            if (code == 0 || !IsDayCode(code)) {
                c = MoveCursor(c, k, year_);
                continue;
            }
            if (!can_edit_) continue;
            if (cal_.Day(c.month, c.day) != code) {
                cal_.SetDay(c.month, c.day, code);
                changed = true;
                DrawMonth(rt_, cal_, c.month);
            }
            c = NextDay(c, year_);
        }
    }

    // Ctrl+Del: true when the calendar went.
    bool Delete() {
        if (is_new_) return false;
        if (!common::CheckRights(rt_, kRightsEdit)) return false;
        if (!common::IsYes(common::Question(rt_, rt_.Text("Kasować kalendarz?"), "tn", 'N')))
            return false;
        DeleteCalendar(tables_, *kalen_, year_, group_->code);
        common::ShowMessage(rt_, rt_.Text("Kalendarz skasowany"));
        return true;
    }

    void Finish(bool changed) {
        if (!can_edit_ || (!is_new_ && !changed)) return;
        const char* question = is_new_ ? "Wprowadzić kalendarz?" : "Akceptujesz poprawki?";
        if (!common::IsYes(common::Question(rt_, rt_.Text(question), "tn", 'T'))) {
            common::ShowMessage(rt_, rt_.Text("Dane anulowane"));
            return;
        }
        WriteCalendar(tables_, *kalen_, cal_);
        common::ShowMessage(rt_, rt_.Text("Kalendarz wprowadzony"));
    }

    Runtime& rt_;
    common::Tables& tables_;
    const bool can_edit_;
    dbf::WorkArea* kalen_ = nullptr;
    std::string year_text_;
    std::string group_text_ = std::string(2, ' ');
    int year_ = 0;
    std::optional<CalendarGroup> group_;
    Calendar cal_;
    bool is_new_ = false;
    std::string hours_;
    console::ScreenRegion frame_row_;
};

}  // namespace

void EditCalendars(Runtime& rt, common::Tables& tables) {
    CalendarDialog dialog(rt, tables);
    dialog.Run();
}

void Qrm32(Runtime& rt) {
    if (!common::CheckRights(rt, kRightsDialog)) return;
    common::Tables tables(rt);
    EditCalendars(rt, tables);
}

}  // namespace kestrel::worktime
