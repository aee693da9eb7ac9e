#include "register/strike_off_dialog.h"

#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "register/data/employee_checks.h"
#include "register/data/employee_registration.h"
#include "register/data/employee_update.h"
#include "register/employee_pages.h"
#include "register/number_entry.h"

namespace kestrel::registry {
namespace {

constexpr unsigned kRightsStrikeOff = 17;
constexpr std::string_view kTitle = "2.3. Skreślenie";

dbf::WorkArea& OpenOnce(common::Tables& tables, const char* table,
                        const std::vector<std::string>& indexes) {
    dbf::WorkArea* open = tables.workspace().Select(table);
    return open != nullptr ? *open : tables.Open(table, indexes);
}

// The box " UWAGA!!! " with its lines, centred on the screen.
void Warning(common::Runtime& rt, const std::vector<const char*>& lines) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    const int top = 9, left = 18, right = 61;
    const int bottom = top + static_cast<int>(lines.size()) + 3;
    s.Clear(top, left, bottom, right, plain);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", plain);
    const std::string title = rt.Text(" UWAGA!!! ");
    s.Write(top, left + (right - left + 1 - static_cast<int>(title.size())) / 2, title,
            rt.Enhanced(rt.colours().ycow));
    int row = top + 2;
    for (const char* line : lines) {
        const std::string text = rt.Text(line);
        s.Write(row++, left + (right - left + 1 - static_cast<int>(text.size())) / 2, text, plain);
    }
}

class StrikeOffDialog {
  public:
    StrikeOffDialog(common::Runtime& rt, common::Tables& tables) : rt_(rt), tables_(tables) {
        areas_.ktyub = &OpenOnce(tables, "PKKTYUB", {"PKKTYUB1", "PKKTYUB2"});
        areas_.dod = &OpenOnce(tables, "PKDOD", {"PKDOD1", "PKDOD2"});
        areas_.zmprc = &OpenOnce(tables, "PKZMPRC", {"PKZMPRC1"});
        areas_.ekprc = &OpenOnce(tables, "PKEKPRC", {"PKEKPRC1", "PKEKPRC2"});
        areas_.uprc = &OpenOnce(tables, "PKUPRC", {"PKUPRC1", "PKUPRC2"});
        areas_.prac = &OpenOnce(tables, "PKPRAC", EmployeeIndexes());
        doch_ = &OpenOnce(tables, "PKDOCH", {"PKDOCH3"});
        dbf::WorkArea& ster = OpenOnce(tables, "PKSTER", {});
        ReferenceMonth(&ster, WorkingDay(rt_), &ref_year_, &ref_month_);
    }

    void Run() {
        auto& s = rt_.screen();
        const console::Attr plain = rt_.Standard(rt_.colours().ycow);
        for (;;) {
            s.Clear(5, 1, 22, 77, plain);
            s.Write(5, 22, rt_.Text(kTitle), plain);
            const std::string number = AskEmployeeNumber(rt_, tables_);
            if (number.empty()) return;
            if (!SeekEmployee(*areas_.prac, number)) {
                common::ShowMessage(rt_, rt_.Text("Brak pracownika o tym numerze"));
                continue;
            }
            StrikeOffOne(areas_.prac->recno());
        }
    }

  private:
    void StrikeOffOne(uint32_t recno) {
        dbf::WorkArea& prac = *areas_.prac;
        const EmployeeRecord shown = ReadEmployee(prac);
        const std::string number = shown.number();
        rt_.screen().Write(kNumberRow, 56, rt_.Text(KindCaption(shown.kind())),
                           rt_.Standard(rt_.colours().ycow));
        PageContext ctx{rt_, tables_};
        ctx.prac = &prac;
        ctx.ktyub = areas_.ktyub;
        ctx.dod = areas_.dod;
        ctx.recno = recno;
        ctx.short_card = rt_.config().Logical("NAGLKTSNE");
        ctx.ref_year = ref_year_;
        ctx.ref_month = ref_month_;
        if (!ShowEmployee(ctx, shown, kTitle)) {
            rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
            return;
        }
        if (!common::IsYes(
                common::Question(rt_, rt_.Text("Kasować kartotekę pracownika?"), "tn", 'N'))) {
            common::ShowMessage(rt_, rt_.Text("Pracownik pozostaje w kartotece"));
            return;
        }
        const TaxRecords tax = TaxRecordsOf(*doch_, number, ref_year_);
        if (tax.this_year) {
            Warning(rt_, {"Wybrany pracownik posiada rekordy",
                          "w kartotece podatkowej (plik PKDOCH),", "które dotyczą bieżącego roku.",
                          "W takiej sytuacji", "kasowanie pracownika nie jest możliwe."});
            common::Qrmndk(rt_);
            return;
        }
        if (tax.other_years) {
            Warning(rt_,
                    {"Wybrany pracownik posiada rekordy", "w kartotece podatkowej (plik PKDOCH).",
                     "Skasowanie pracownika, skutkować będzie",
                     "bezpowrotną utratą danych podatkowych", "tego pracownika."});
            if (!common::IsYes(
                    common::Question(rt_, rt_.Text("Kasować pracown.z PKDOCH?"), "tn", 'N'))) {
                common::ShowMessage(rt_, rt_.Text("Pracownik pozostaje w kartotece"));
                return;
            }
            for (uint32_t r : tax.recnos) DeleteRow(tables_, *doch_, r);
        }
        StrikeOff(rt_, tables_, areas_, recno);
        common::ShowMessage(rt_, rt_.Text("Pracownik skasowany"));
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    RegisterAreas areas_;
    dbf::WorkArea* doch_ = nullptr;
    int ref_year_ = 0, ref_month_ = 0;
};

}  // namespace

void StrikeOffEmployees(common::Runtime& rt, common::Tables& tables) {
    StrikeOffDialog dialog(rt, tables);
    dialog.Run();
}

void Qrm23(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsStrikeOff)) return;
    common::Tables tables(rt);
    StrikeOffEmployees(rt, tables);
}

}  // namespace kestrel::registry
