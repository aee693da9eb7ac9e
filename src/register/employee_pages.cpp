#include "register/employee_pages.h"

#include "common/pick/pick_window.h"
#include "common/screen/messages.h"
#include "platform/base/dates.h"
#include "platform/console/keys.h"
#include "register/allowances.h"
#include "register/employee_page_run.h"
#include "register/insurance_titles.h"

namespace kestrel::registry::pages {

namespace key = console::key;

void PageRun::DrawFrame() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(kFirstRow, 1, kHintRow, 77, plain);
    for (const PageLabel& l : LabelsOf(page_, work_.kind(), ctx_)) {
        s.Write(l.row, l.col, rt_.Text(l.text), plain);
    }
}

void PageRun::Load(Var& v) {
    const std::string& name = v.spec->field;
    if (name == "NAZWISKO") {
        v.text = work_.surname();
        v.text.resize(kSurnameWidth, ' ');
        return;
    }
    if (name == "IMIONA") {
        v.text = work_.first_names();
        v.text.resize(kFirstNamesWidth, ' ');
        return;
    }
    if (name == "PESEL") {
        v.text = work_.pesel();
        v.text.resize(kPeselWidth, ' ');
        return;
    }
    const int i = work_.FieldIndex(name);
    if (i < 0) return;
    const dbf::Field& f = work_.stored().fields()[static_cast<size_t>(i)];
    switch (f.type) {
        case dbf::FieldType::kNumeric:
            v.kind = Kind::kNumber;
            v.number = work_.Number(name);
            break;
        case dbf::FieldType::kDate:
            v.kind = Kind::kDate;
            v.date = base::DateOfDbfText(work_.Date(name));
            break;
        case dbf::FieldType::kLogical:
            v.kind = Kind::kLogical;
            v.logical = work_.Logical(name);
            break;
        default:
            v.text = work_.Text(name);
            break;
    }
}

void PageRun::Store(const Var& v, EmployeeRecord* rec) const {
    const std::string& name = v.spec->field;
    if (name == "NAZWISKO") return rec->set_surname(TrimRight(v.text));
    if (name == "IMIONA") return rec->set_first_names(TrimRight(v.text));
    if (name == "PESEL") return rec->set_pesel(Trim(v.text));
    switch (v.kind) {
        case Kind::kNumber:
            rec->SetNumber(name, v.number);
            break;
        case Kind::kDate:
            rec->SetDate(name, base::DbfDateText(v.date));
            break;
        case Kind::kLogical:
            rec->SetLogical(name, v.logical);
            break;
        default:
            rec->SetText(name, v.text);
            break;
    }
}

void PageRun::StoreAll(EmployeeRecord* rec) const {
    for (const Var& v : vars_) Store(v, rec);
}

std::string PageRun::Value(const std::string& name) const {
    auto it = by_name_.find(name);
    if (it == by_name_.end()) return work_.Text(name);
    const Var& v = *it->second;
    switch (v.kind) {
        case Kind::kDate:
            return base::DbfDateText(v.date);
        case Kind::kLogical:
            return v.logical ? "T" : "F";
        case Kind::kNumber:
            return std::to_string(v.number);
        default:
            return v.text;
    }
}

bool PageRun::Flag(const std::string& name) const {
    auto it = by_name_.find(name);
    if (it == by_name_.end()) return work_.Logical(name);
    return it->second->logical;
}

void PageRun::Declare(common::Form& form, bool entry) {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    fields_ = FieldsOf(page_, work_.kind(), ctx_, ctx_.update || work_.former());
    for (const PageField& f : fields_) {
        Var& v = vars_.emplace_back();
        v.spec = &f;
        Load(v);
        const std::string label = rt_.Text(f.label);
        if (!label.empty()) s.Write(f.row, f.col, label, plain);
        v.row = f.row;
        v.col = f.value_col > 0 ? f.value_col
                                : f.col + static_cast<int>(label.size()) + (label.empty() ? 0 : 1);
        by_name_[f.field] = &v;
        const std::string pic = f.picture;
        common::Field* field = nullptr;
        switch (v.kind) {
            case Kind::kNumber: {
                const int i = work_.FieldIndex(f.field);
                const dbf::Field& spec = work_.stored().fields()[static_cast<size_t>(i)];
                v.width = spec.length;
                field = &form.Get(v.row, v.col, &v.number, spec.length, spec.decimals, pic);
                break;
            }
            case Kind::kDate:
                v.width = 10;
                field = &form.Get(v.row, v.col, &v.date, pic);
                break;
            case Kind::kLogical:
                v.width = 1;
                field = &form.Get(v.row, v.col, &v.logical, pic);
                break;
            default:
                v.width = f.width > 0 ? f.width : static_cast<int>(v.text.size());
                field = &form.Get(v.row, v.col, &v.text, pic);
                break;
        }
        if (!entry) continue;
        const std::string name = f.field;
        field->When([this, name] {
            const bool on = Enabled(name);
            if (on) ShowPickHint(name);
            return on;
        });
        Var* pv = &v;
        field->Valid([this, pv] { return Validate(*pv); });
    }
}

void PageRun::AfterAccept(EmployeeRecord* rec) {
    if (page_ == Page::kIdentity && work_.kind() == EmployeeKind::kStaff) NormaliseWorkingTime(rec);
    if (page_ == Page::kIdentity || page_ == Page::kLegalPerson) {
        if (Trim(rec->Text("KOD_KRAJU")) == "PL" || page_ == Page::kIdentity) {
            dbf::WorkArea& gminy = OpenTerritory(ctx_.tables);
            rec->SetText("KOD_WOJEW",
                         VoivodeshipCode(gminy, rt_.letters(), Trim(rec->Text("WOJEW_"))));
        }
    }
    if (page_ == Page::kAddresses && Trim(rec->Text("KOD_KRAJ_Z")).empty())
        rec->SetText("KRAJ_Z", "");
    if (page_ == Page::kTax && rec->Logical("POD_WG_TAB")) rec->SetNumber("PROC_POD", 0);
    if (page_ == Page::kInsurance) ClearUnchosenInsurance(rec);
    if (work_.kind() == EmployeeKind::kLegalPerson) {
        rec->SetText("DZIAL_", "");
        rec->SetText("GRUPA_ALG", "");
    }
}

PageExit PageRun::Enter(EmployeeRecord* out) {
    DrawFrame();
    common::Form form(rt_);
    Declare(form, true);
    form.Display();
    display_ = true;
    ShowNames();
    display_ = false;
    auto& kb = rt_.console().keyboard();
    const bool offers_switch = page_ == Page::kEmployment && work_.kind() != EmployeeKind::kStaff;
    if (offers_switch) {
        common::WriteLegend(rt_, kHintRow, 1,
                            ctx_.short_card ? "<F12>-Pełna kartoteka" : "<F12>-Kartoteka skrócona");
    }
    auto old = kb.Bind(key::F(12), [this, offers_switch, &kb] {
        if (!offers_switch) return;
        switch_card_ = true;
        kb.Push(key::kCtrlEnd);
    });
    auto old_f3 = kb.Bind(key::F(3), [this, &form] { Pick(form); });
    const console::HotKeyAction* bound = kb.Find(key::F(11));
    const console::HotKeyAction old_f11 = bound != nullptr ? *bound : nullptr;
    if (ctx_.field_history) {
        kb.Bind(key::F(11), [this, &form] {
            const int i = form.current();
            if (i >= 0 && i < static_cast<int>(vars_.size()))
                ctx_.field_history(vars_[static_cast<size_t>(i)].spec->field);
        });
    }
    const common::ReadResult r = form.Read();
    if (ctx_.field_history) kb.Bind(key::F(11), old_f11);
    kb.Bind(key::F(3), old_f3);
    kb.Bind(key::F(12), old);
    // No picker is named once the page is left.
    rt_.screen().Clear(kHintRow, 40, kHintRow, 77, rt_.Standard(rt_.colours().ycow));
    if (!r.saved()) {
        // A registration given up on its first screen keeps the clear
        // identity typed so far in the reserved record: the next
        // registration under the number starts from it.
        if (page_ == Page::kIdentity && !ctx_.update) {
            for (const Var& v : vars_) {
                const std::string& name = v.spec->field;
                if (name == "NAZWISKO" || name == "IMIONA" || name == "PESEL") Store(v, out);
            }
        }
        return PageExit::kEscape;
    }
    StoreAll(&work_);
    AfterAccept(&work_);
    *out = work_;
    if (switch_card_) return PageExit::kSwitchCard;
    return r.last_key == key::kPgUp ? PageExit::kPrevious : PageExit::kNext;
}

PageExit PageRun::Show() {
    display_ = true;
    DrawFrame();
    common::Form form(rt_);
    Declare(form, false);
    form.Display();
    ShowNames();
    if (page_ == Page::kTitle && ctx_.ktyub) ShowTitles(ctx_, *ctx_.ktyub, work_);
    if (page_ == Page::kAllowances && ctx_.dod) ShowAllowances(ctx_, *ctx_.dod, work_);
    for (;;) {
        const int k = common::Qrminkey(rt_);
        if (k == key::kEsc) return PageExit::kEscape;
        if (k == key::kPgUp || k == key::kUp) return PageExit::kPrevious;
        if (k == key::kPgDn || k == key::kEnter || k == key::kDown) return PageExit::kNext;
    }
}

}  // namespace kestrel::registry::pages

namespace kestrel::registry {

using pages::PageRun;

std::vector<Page> PagesOf(EmployeeKind kind, bool short_card) {
    if (kind == EmployeeKind::kLegalPerson) return {Page::kLegalPerson};
    if (short_card && kind == EmployeeKind::kNonStaff)
        return {Page::kIdentity, Page::kAddresses, Page::kEmployment};
    return {Page::kIdentity,  Page::kAddresses,  Page::kEmployment, Page::kTax,       Page::kTitle,
            Page::kInsurance, Page::kIncapacity, Page::kReport,     Page::kAllowances};
}

PageExit EnterPage(PageContext& ctx, Page page, EmployeeRecord* employee) {
    if (page == Page::kAllowances) return PageExit::kNext;
    PageRun run(ctx, page, *employee);
    return run.Enter(employee);
}

PageExit ShowPage(PageContext& ctx, Page page, const EmployeeRecord& employee) {
    PageRun run(ctx, page, employee);
    return run.Show();
}

bool ShowRecord(PageContext& ctx, const EmployeeRecord& employee) {
    const std::vector<Page> pages = PagesOf(employee.kind(), ctx.short_card);
    size_t i = 0;
    while (i < pages.size()) {
        auto& s = ctx.rt.screen();
        const console::Attr plain = ctx.rt.Standard(ctx.rt.colours().ycow);
        s.Clear(5, 49, 5, 77, plain);
        s.Write(5, 69, ctx.rt.Text("Strona: " + std::to_string(i + 1)), plain);
        switch (ShowPage(ctx, pages[i], employee)) {
            case PageExit::kEscape:
                return false;
            case PageExit::kPrevious:
                if (i > 0) --i;
                break;
            default:
                ++i;
                break;
        }
    }
    return true;
}

}  // namespace kestrel::registry
