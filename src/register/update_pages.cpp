#include "register/update_pages.h"

#include "common/pick/pick_window.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "platform/console/keys.h"
#include "register/allowances.h"
#include "register/data/employee_checks.h"
#include "register/data/employee_registration.h"
#include "register/field_history_window.h"
#include "register/insurance_titles.h"
#include "register/leading_record.h"
#include "register/number_entry.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;

constexpr int kPeselHintRow = 22;
constexpr std::string_view kTitle = "2.4. Aktualizacja zawartych informacji";

dbf::WorkArea& OpenOnce(common::Tables& tables, const char* table,
                        const std::vector<std::string>& indexes) {
    dbf::WorkArea* open = tables.workspace().Select(table);
    return open != nullptr ? *open : tables.Open(table, indexes);
}

// The register's areas, reusing those open in `tables` already.
RegisterAreas Areas(common::Tables& tables) {
    RegisterAreas a;
    a.ktyub = &OpenOnce(tables, "PKKTYUB", {"PKKTYUB1", "PKKTYUB2"});
    a.dod = &OpenOnce(tables, "PKDOD", {"PKDOD1", "PKDOD2"});
    a.zmprc = &OpenOnce(tables, "PKZMPRC", {"PKZMPRC1"});
    a.ekprc = &OpenOnce(tables, "PKEKPRC", {"PKEKPRC1", "PKEKPRC2"});
    a.uprc = &OpenOnce(tables, "PKUPRC", {"PKUPRC1", "PKUPRC2"});
    a.prac = &OpenOnce(tables, "PKPRAC", EmployeeIndexes());
    return a;
}

// The stored name of a field of the pages.
std::string StoredField(const std::string& field) {
    if (field == "NAZWISKO") return "NAZWX_";
    if (field == "IMIONA") return "IMIEX_";
    if (field == "PESEL") return "PESELX_";
    return field;
}

}  // namespace

UpdateDialog::UpdateDialog(common::Runtime& rt, common::Tables& tables)
    : rt_(rt), tables_(tables), areas_(Areas(tables)) {
    ster_ = &OpenOnce(tables_, "PKSTER", {});
    ReferenceMonth(ster_, WorkingDay(rt_), &ref_year_, &ref_month_);
}

void UpdateDialog::DrawTitle() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(5, 1, 22, 77, plain);
    s.Write(5, 22, rt_.Text(kTitle), plain);
}

void UpdateDialog::Run() {
    for (;;) {
        DrawTitle();
        const std::string number = AskEmployeeNumber(rt_, tables_);
        if (number.empty()) return;
        if (!SeekEmployee(*areas_.prac, number)) {
            common::ShowMessage(rt_, rt_.Text("Brak pracownika o tym numerze"));
            continue;
        }
        UpdateOne(areas_.prac->recno());
    }
}

void UpdateDialog::UpdateOne(uint32_t recno) {
    dbf::WorkArea& prac = *areas_.prac;
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    const EmployeeRecord shown = ReadEmployee(prac);
    s.Write(kNumberRow, 56, rt_.Text(KindCaption(shown.kind())), plain);

    PageContext ctx{rt_, tables_};
    ctx.prac = &prac;
    ctx.ktyub = areas_.ktyub;
    ctx.dod = areas_.dod;
    ctx.recno = recno;
    ctx.update = true;
    ctx.short_card = rt_.config().Logical("NAGLKTSNE");
    ctx.ref_year = ref_year_;
    ctx.ref_month = ref_month_;

    {
        // Records of one person: F2 opens the leading-record window while
        // the record is only shown. Once the update holds the record's lock
        // the window's writing (which locks other records of PKPRAC) would
        // take that lock away, so F2 ends with the question.
        common::HotKeysAside aside(rt_, {key::F(2)});
        const std::string pesel = shown.pesel();
        if (!pesel.empty() && PeselRecords(prac, pesel).size() >= 2) {
            common::WriteLegend(rt_, kPeselHintRow, 1,
                                " <F2>-Identyfikacja pracowników z identycznym PESEL-em ");
            rt_.console().keyboard().Bind(key::F(2), [this, pesel] {
                LeadingRecordWindow(rt_, tables_, *areas_.prac, pesel);
            });
        }
        ShowEmployee(ctx, shown, kTitle);
        const bool update =
            common::IsYes(common::Question(rt_, rt_.Text("Aktualizować dane?"), "tn", 'T'));
        s.Clear(kPeselHintRow, 1, kPeselHintRow, 77, plain);
        if (!update) {
            common::ShowMessage(rt_, rt_.Text("Dane pozostają bez zmian"));
            return;
        }
    }

    UpdateSession session(rt_, tables_, areas_, recno);
    confirmed_surname_.clear();
    EditPages(session, ctx);
}

bool UpdateDialog::ConfirmSurname(const std::string& before, const std::string& after) {
    if (!confirmed_surname_.empty() && after == confirmed_surname_) return true;
    auto& s = rt_.screen();
    constexpr int kTop = 9, kLeft = 16, kBottom = 15, kRight = 63;
    const console::ScreenRegion under = s.Save(kTop, kLeft, kBottom, kRight);
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(kTop, kLeft, kBottom, kRight, plain);
    s.Box(kTop, kLeft, kBottom, kRight, std::string(console::kFrameDouble) + " ", plain);
    const std::string title = rt_.Text("Zmiana pola \"NAZWISKO\"");
    s.Write(kTop, kLeft + (kRight - kLeft + 1 - static_cast<int>(title.size())) / 2, title,
            rt_.Standard(rt_.colours().ycobp));
    s.Write(kTop + 2, kLeft + 2, rt_.Text("Przed korektą:"), plain);
    s.Write(kTop + 2, kLeft + 17, before, rt_.Standard(rt_.colours().ycowp));
    s.Write(kTop + 3, kLeft + 2, rt_.Text("Po korekcie:"), plain);
    s.Write(kTop + 3, kLeft + 17, after, rt_.Standard(rt_.colours().ycowp));
    common::WriteLegend(rt_, kBottom - 1, kLeft + 2, "<F5>-Potwierdzenie   <Esc>-Rezygnacja");
    bool confirmed = false;
    {
        common::HotKeysAside aside(
            rt_, {key::F(1), key::F(2), key::F(3), key::F(5), key::F(10), key::F(11), key::F(12)});
        for (;;) {
            const int k = common::Qrminkey(rt_);
            if (k == key::F(5)) {
                confirmed = true;
                break;
            }
            if (k == key::kEsc) break;
            rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
        }
    }
    s.Restore(under);
    if (confirmed) confirmed_surname_ = after;
    return confirmed;
}

void UpdateDialog::EditPages(UpdateSession& session, PageContext& ctx) {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    auto& kb = rt_.console().keyboard();
    ctx.confirm_surname = [this](const std::string& before, const std::string& after) {
        return ConfirmSurname(before, after);
    };
    ctx.field_history = [this, &session](const std::string& field) {
        FieldHistoryWindow(rt_, tables_, areas_, session.before().record, session.record(),
                           StoredField(field));
    };
    size_t i = 0;
    for (;;) {
        // Page 10, the extended structure, follows the allowances for an
        // operator with rights mask 16 when PKUMTR has a definition, once
        // its editor exists.
        const std::vector<Page> pages = PagesOf(session.record().kind(), ctx.short_card);
        if (i >= pages.size()) i = pages.size() - 1;
        PageHeader(rt_, kTitle, i, pages.size());
        bool change_kind = false;
        PageExit exit;
        {
            common::HotKeysAside aside(rt_, {key::F(1), key::F(2), key::F(11)});
            if (i == 0) {
                kb.Bind(key::F(1), [&] {
                    change_kind = true;
                    kb.Push(key::kCtrlEnd);
                });
            }
            // The page clears its rows; the legends of the update go below.
            s.Clear(22, 1, 22, 77, plain);
            if (i == 0) common::WriteLegend(rt_, 22, 1, "<F1>-Zmiana typu");
            if (pages[i] != Page::kAllowances)
                common::WriteLegend(rt_, 22, 58, "<F11>-Historia pola");
            // Page 1 covers the row of the number: it stays in sight here.
            s.Write(22, 30, rt_.Text("Nr pracownika: " + session.record().number()), plain);
            std::vector<uint32_t> written;
            if (pages[i] == Page::kAllowances) {
                // The allowances page is its list; F10 on the line number
                // leaves it forward.
                auto& screen = rt_.screen();
                screen.Clear(6, 1, 21, 77, plain);
                exit = EnterAllowances(ctx, *areas_.dod, session.record(), false, &written)
                           ? PageExit::kNext
                           : PageExit::kEscape;
            } else {
                exit = EnterPage(ctx, pages[i], &session.record());
                // The additional titles follow the fields of the title page.
                if (pages[i] == Page::kTitle && exit == PageExit::kNext && !change_kind) {
                    session.Save();
                    if (!EnterTitles(ctx, *areas_.ktyub, session.record(), &written))
                        exit = PageExit::kEscape;
                }
            }
            s.Clear(22, 1, 22, 77, plain);
        }
        if (exit == PageExit::kEscape) {
            Escape(session);
            return;
        }
        session.Save();
        if (change_kind) {
            session.record().set_kind(NextKind(session.record().kind()));
            session.Save();
            s.Clear(kNumberRow, 56, kNumberRow, 77, plain);
            i = 0;
            continue;
        }
        switch (exit) {
            case PageExit::kSwitchCard:
                ctx.short_card = !ctx.short_card;
                break;
            case PageExit::kPrevious:
                if (i > 0) --i;
                break;
            default:
                if (i + 1 < pages.size()) {
                    ++i;
                    break;
                }
                if (session.Commit() == UpdateSession::Outcome::kConfirmed) {
                    // The insurance documents: with a dismissal
                    // (PRZYCZ_ZW) and any insurance flag "Generować dokument
                    // ZUS ZWUA ?", else with a social insurance "Generować
                    // dokument ZUS ZUA ?", else with health insurance
                    // "Generować dokument ZUS ZZA ?" — asked here when the
                    // document generators exist.
                    //
                    // The capital-plan refresh of the PESEL (NAGLPPK20 set
                    // and the settlement year 2000 or later) is called here
                    // when the PPK module exists.
                }
                return;
        }
    }
}

void UpdateDialog::Escape(UpdateSession& session) {
    if (!session.Differs()) {
        session.Release();
        return;
    }
    common::WriteMessage(rt_, rt_.Text("UWAGA! - korygowano pola"),
                         rt_.Enhanced(rt_.colours().ycow));
    const bool keep =
        common::IsYes(common::Question(rt_, rt_.Text("Zatwierdzić zmiany ?"), "tn", 'T'));
    common::ClearMessageRow(rt_);
    if (keep) {
        session.Confirm();
    } else {
        session.Undo();
        session.Release();
    }
}

}  // namespace kestrel::registry
