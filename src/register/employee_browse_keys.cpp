// The searches, the full information and the correction of a cell of the
// register browse.
#include "common/checks/scramble.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "common/tables/index_functions.h"
#include "platform/base/dates.h"
#include "platform/console/keys.h"
#include "register/data/employee_checks.h"
#include "register/data/employee_lookup.h"
#include "register/data/employee_registration.h"
#include "register/employee_browse_run.h"
#include "register/employee_pages.h"

namespace kestrel::registry::browse {

int RegisterBrowse::Search() {
    auto& s = rt_.screen();
    const console::ScreenRegion under = s.Save(12, 18, 15, 62);
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(12, 18, 15, 62, std::string(console::kFrameDouble) + " ", frame);
    std::string number(6, ' '), year(4, ' '), surname(30, ' ');
    common::Form form(rt_);
    if (sort_ == Sort::kNumber) {
        s.Write(13, 20, "Nr pracownika:", frame);
        form.Get(13, 35, &number, "999999");
    } else {
        if (sort_ == Sort::kYear) {
            s.Write(13, 20, "Rok zwolnienia:", frame);
            form.Get(13, 36, &year, "9999");
        }
        s.Write(14, 20, "Nazwisko:", frame);
        form.Get(14, 30, &surname, "@!");
    }
    const bool ok = form.Read().saved();
    s.Restore(under);
    if (!ok) return common::kBrowseRedrawRow;
    std::string wanted;
    if (sort_ == Sort::kNumber) {
        wanted = Trim(number);
        if (wanted.empty()) return common::kBrowseRedrawRow;
        if (wanted.size() < 6) wanted.insert(0, 6 - wanted.size(), '0');
    } else {
        if (sort_ == Sort::kYear) wanted = year;
        wanted += SortKey(rt_.letters(), Trim(surname));
        if (Trim(wanted).empty()) return common::kBrowseRedrawRow;
    }
    // Trailing blanks of a prefix would not match a longer key.
    while (!wanted.empty() && wanted.back() == ' ') wanted.pop_back();
    Check(prac_.Seek(wanted, true));
    if (prac_.eof()) {
        common::ShowMessage(rt_, rt_.Text("Brak klucza - koniec zbioru"));
        Check(prac_.GoBottom());
    } else if (!prac_.found()) {
        common::ShowMessage(rt_, rt_.Text("Brak klucza - następny rekord"));
    }
    return common::kBrowseRedrawAll;
}

int RegisterBrowse::SearchPesel() {
    auto& s = rt_.screen();
    const console::ScreenRegion under = s.Save(12, 18, 14, 50);
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(12, 18, 14, 50, std::string(console::kFrameDouble) + " ", frame);
    s.Write(13, 20, "PESEL:", frame);
    std::string typed(kPeselWidth, ' ');
    common::Form form(rt_);
    form.Get(13, 27, &typed, "99999999999");
    const bool ok = form.Read().saved();
    s.Restore(under);
    const std::string wanted = Trim(typed);
    if (!ok || wanted.empty()) return common::kBrowseRedrawRow;
    const uint32_t was = prac_.recno();
    const int pesel = prac_.FieldIndex("PESELX_");
    for (base::Status st = prac_.GoTop(); st.ok() && !prac_.eof(); st = prac_.Skip(1)) {
        const std::string clear =
            common::Unscramble(common::ScrambleKind::kIdentity, prac_.record().GetString(pesel));
        if (clear.compare(0, wanted.size(), wanted) == 0) return common::kBrowseRedrawAll;
    }
    common::ShowMessage(rt_, rt_.Text("Brak takiego klucza"));
    if (was != 0) Check(prac_.Goto(was));
    return common::kBrowseRedrawAll;
}

void RegisterBrowse::FullInformation() {
    auto& s = rt_.screen();
    const console::ScreenRegion under = s.Save(5, 1, 21, 77);
    PageContext ctx{rt_, tables_};
    ctx.prac = &prac_;
    ctx.recno = prac_.recno();
    ctx.update = true;
    dbf::WorkArea* ktyub = tables_.workspace().Select("PKKTYUB");
    ctx.ktyub = ktyub ? ktyub : &tables_.Open("PKKTYUB", {"PKKTYUB1", "PKKTYUB2"});
    dbf::WorkArea* dod = tables_.workspace().Select("PKDOD");
    ctx.dod = dod ? dod : &tables_.Open("PKDOD", {"PKDOD1", "PKDOD2"});
    ReferenceMonth(tables_.workspace().Select("PKSTER"), WorkingDay(rt_), &ctx.ref_year,
                   &ctx.ref_month);
    const uint32_t was = prac_.recno();
    const int order = prac_.order();
    ShowRecord(ctx, ReadEmployee(prac_));
    Check(prac_.SetOrder(order));
    Check(prac_.Goto(was));
    s.Restore(under);
}

// Correction of one cell, committed at once; the change log is not written.
int RegisterBrowse::Correct(common::Browse& browse) {
    const int column = browse.column();
    if (column < kFirstEditable || column == kPeselColumn) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    const std::string field = kColumns[column].field;
    const bool former = !Trim(prac_.record().GetString(prac_.FieldIndex("PRZYCZ_ZW"))).empty();
    if (field == "DATA_ZWOLN" && !former) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    if (!common::CheckRights(rt_, kRightsCorrect)) return common::kBrowseRedrawRow;
    int width = 0;
    const int row = browse.current_row();
    const int col = browse.ColumnX(column, &width);
    if (col < 0 || width <= 0) return common::kBrowseRedrawRow;

    const int i = prac_.FieldIndex(field);
    const dbf::Field& f = prac_.record().fields()[static_cast<size_t>(i)];
    EmployeeRecord e = ReadEmployee(prac_);
    std::string text = e.Text(field);
    double number = e.Number(field);
    picture::Date date = base::DateOfDbfText(e.Date(field));
    bool logical = e.Logical(field);
    common::Form form(rt_);
    common::Field* get = nullptr;
    switch (f.type) {
        case dbf::FieldType::kNumeric:
            get = &form.Get(row, col + width - f.length, &number, f.length, f.decimals);
            get->Valid([this, &number] {
                if (number >= 0) return true;
                Beep();
                return false;
            });
            break;
        case dbf::FieldType::kDate:
            get = &form.Get(row, col, &date);
            get->Valid([this, &date, &e] {
                if (DismissalValid(Trim(e.Text("PRZYCZ_ZW")), base::DbfDateText(date),
                                   e.Date("DATA_ZATR")))
                    return true;
                Beep();
                return false;
            });
            break;
        case dbf::FieldType::kLogical:
            get = &form.Get(row, col, &logical);
            break;
        default:
            if (field == "KONTO_KOSZ") {
                get = &form.Get(row, col, &text, "999999999999");
                get->Valid([this, &text] {
                    for (char c : Trim(text)) {
                        if (c < '0' || c > '9') {
                            Beep();
                            return false;
                        }
                    }
                    return true;
                });
            } else {
                get = &form.Get(row, col, &text, "@!");
                get->Valid([this, &text, field] {
                    const Verdict v = CheckCode(tables_, field, Trim(text));
                    if (!v.accepted) {
                        common::ShowMessage(rt_,
                                            rt_.Text(v.message.empty() ? "Błędny kod" : v.message));
                        return false;
                    }
                    return true;
                });
            }
            break;
    }
    const common::ReadResult r = form.Read();
    if (!r.saved() || !r.updated) return common::kBrowseRedrawRow;
    // The lock reads the record again: only the corrected field is taken
    // over what another workstation may have written meanwhile.
    const uint32_t recno = prac_.recno();
    tables_.RLock(prac_);
    EmployeeRecord fresh = ReadEmployee(prac_);
    base::Status st;
    switch (f.type) {
        case dbf::FieldType::kNumeric:
            st = fresh.SetNumber(field, number);
            break;
        case dbf::FieldType::kDate:
            st = fresh.SetDate(field, base::DbfDateText(date));
            break;
        case dbf::FieldType::kLogical:
            st = fresh.SetLogical(field, logical);
            break;
        default:
            st = fresh.SetText(field, text);
            break;
    }
    if (st.ok()) st = WriteEmployee(prac_, fresh);
    prac_.Unlock();
    if (!st.ok()) throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd zapisu: PKPRAC")));
    // A changed key may move the record within the order.
    Check(prac_.Goto(recno));
    return common::kBrowseRedrawAll;
}

}  // namespace kestrel::registry::browse
