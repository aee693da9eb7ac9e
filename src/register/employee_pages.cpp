#include "register/employee_pages.h"

#include <cstdio>
#include <deque>
#include <functional>
#include <map>

#include "common/form.h"
#include "common/messages.h"
#include "common/pick_window.h"
#include "common/tax_office_pick.h"
#include "platform/console/keys.h"
#include "register/employee_checks.h"
#include "register/employee_lookup.h"
#include "register/employee_page_layouts.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using picture::Kind;

constexpr int kFirstRow = 6;
constexpr int kLastRow = 20;
constexpr int kHintRow = 21;

std::string TrimRight(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

std::string Trim(std::string_view s) {
    const size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
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

// Checks that show a name or a warning beside their field.
bool Displays(Check c) {
    switch (c) {
        case Check::kNone:
        case Check::kNotEmpty:
        case Check::kBirth:
        case Check::kNotNegative:
        case Check::kPositive:
        case Check::kMonths:
        case Check::kDays:
        case Check::kReliefSize:
        case Check::kSex:
        case Check::kChoice:
        case Check::kPeriodEnd:
        case Check::kDismissal:
            return false;
        default:
            return true;
    }
}

// One field of a page with the variable the form edits.
struct Var {
    const PageField* spec = nullptr;
    Kind kind = Kind::kText;
    std::string text;
    double number = 0;
    picture::Date date;
    bool logical = false;
    int row = 0, col = 0, width = 0;  // where the value stands
};

class PageRun {
  public:
    PageRun(PageContext& ctx, Page page, const EmployeeRecord& employee)
        : ctx_(ctx), rt_(ctx.rt), page_(page), work_(employee) {}

    PageExit Enter(EmployeeRecord* out);
    PageExit Show();

  private:
    void DrawFrame();
    void Declare(common::Form& form, bool entry);
    void Load(Var& v);
    void Store(const Var& v, EmployeeRecord* rec) const;
    void StoreAll(EmployeeRecord* rec) const;
    bool Enabled(const std::string& name);
    bool Validate(Var& v);
    void ShowBeside(const Var& v, const std::string& cp852);
    void ShowNames();
    void AfterAccept(EmployeeRecord* rec);
    /// Row 21 names the picker of the field being entered (F3).
    void ShowPickHint(const std::string& name);
    void Pick(common::Form& form);

    // Values of the page's variables (or the record's where the page has
    // no such field), for the conditions of the fields.
    std::string Value(const std::string& name) const;
    bool Flag(const std::string& name) const;

    PageContext& ctx_;
    common::Runtime& rt_;
    Page page_;
    EmployeeRecord work_;
    std::vector<PageField> fields_;
    std::deque<Var> vars_;
    std::map<std::string, Var*> by_name_;
    TerritoryChoice territory_;
    bool switch_card_ = false;
    bool display_ = false;  // read-only: names only, no warnings
};

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
            v.date = ToDate(work_.Date(name));
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
            rec->SetDate(name, FromDate(v.date));
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
            return FromDate(v.date);
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

bool PageRun::Enabled(const std::string& name) {
    const bool legal = work_.kind() == EmployeeKind::kLegalPerson;
    const std::string degree = Trim(Value("TYTUL_STNP"));
    const bool certified = degree == "1" || degree == "2" || degree == "3";
    if (name == "DATA_INW" || name == "DAT_INW_DO" || name == "SZCZEG_SCH") return certified;
    if (name == "EF_ZACH") return certified && (rt_.config().Logical("NAGLXSDML") ||
                                                   !Trim(rt_.config().Text("NAGLXSDML")).empty());
    if (name == "Z_NR_ID" || name == "Z_KRAJ_ID" || name == "Z_KOD_ID")
        return legal || Flag("IFT_1") || Flag("NIE_REZYD");
    if (name == "WIE_ULG_PD") return Flag("ULGA_P_D");
    if (name == "PROC_POD") return !Flag("POD_WG_TAB");
    if (name == "FORMA_OPOD") return Value("TYTUL_PODM").rfind("05", 0) == 0;
    if (name == "DATA_OB_UB")
        return Flag("CZY_OB_UE") || Flag("CZY_OB_UR") || Flag("CZY_OB_UC") || Flag("CZY_OB_UW");
    if (name == "DATA_OB_UZ" || name == "KOD_KASY" || name == "DATA_KASY")
        return Flag("CZY_OB_UZ");
    if (name == "DATA_DO_UE") return Flag("CZY_DO_UE");
    if (name == "DATA_DO_UR") return Flag("CZY_DO_UR");
    if (name == "DATA_DO_UC") return Flag("CZY_DO_UC");
    if (name == "DATA_DO_UZ" || name == "KOD_NFZ_D" || name == "KWO_DO_UZ")
        return Flag("CZY_DO_UZ");
    if (name == "KOD_FUND" || name == "DATA_OT_FE") return Flag("CZY_OT_FE");
    if (name == "DATA_N_OD" || name == "DATA_N_DO") {
        const std::string s = Trim(Value("STOP_NIEZD"));
        return !s.empty() && s != "01";
    }
    if (name == "DATA_PR_OD" || name == "DATA_PR_DO") return !Trim(Value("KOD_PRACY")).empty();
    if (name == "PODST_PR") return Trim(Value("KOD_POD_PR")) == "550";
    if (name == "DATA_Z_PIT" && !ctx_.update && Value("DATA_Z_PIT").empty()) {
        // Preset to the employment date whenever the field is entered.
        auto it = by_name_.find("DATA_Z_PIT");
        if (it != by_name_.end()) it->second->date = ToDate(Value("DATA_ZATR"));
    }
    return true;
}

void PageRun::ShowBeside(const Var& v, const std::string& cp852) {
    auto& s = rt_.screen();
    const int col = v.col + v.width + 1;
    if (col > 77) return;
    if (v.spec->field == "KZIS_") {
        // The occupation's name over two rows, cut at a word boundary.
        std::string first, second;
        SplitName(cp852, 43, &first, &second);
        const console::Attr plain = rt_.Standard(rt_.colours().ycow);
        s.Clear(v.row, col, v.row + 1, 77, plain);
        s.Write(v.row, col, first.substr(0, static_cast<size_t>(78 - col)), plain);
        s.Write(v.row + 1, col, second.substr(0, static_cast<size_t>(78 - col)), plain);
        return;
    }
    const int room = std::min(78 - col, v.spec->beside > 0 ? v.spec->beside : 21);
    s.Write(v.row, col, std::string(static_cast<size_t>(room), ' '),
            rt_.Standard(rt_.colours().ycow));
    s.Write(v.row, col, cp852.substr(0, static_cast<size_t>(room)),
            rt_.Standard(rt_.colours().ycow));
}

// Checks of one field. Refusals beep and keep the cursor; warnings are
// shown beside the field.
bool PageRun::Validate(Var& v) {
    const std::string& name = v.spec->field;
    Verdict verdict;
    std::string shown;
    const Check check = v.spec->check;
    switch (check) {
        case Check::kNone:
            return true;
        case Check::kNotEmpty:
            if (Trim(v.text).empty() && v.kind == Kind::kText) verdict = Verdict::Refuse("");
            if (v.kind == Kind::kDate && v.date.empty()) verdict = Verdict::Refuse("");
            break;
        case Check::kBirth:
            if (ctx_.update && work_.kind() != EmployeeKind::kLegalPerson && v.date.empty())
                verdict = Verdict::Refuse("");
            break;
        case Check::kNotNegative:
            if (v.number < 0) verdict = Verdict::Refuse("");
            break;
        case Check::kPositive:
            if (v.number <= 0) verdict = Verdict::Refuse("");
            break;
        case Check::kMonths:
            if (v.number < 0 || v.number > 11) verdict = Verdict::Refuse("");
            break;
        case Check::kDays:
            if (v.number < 0 || v.number > 30) verdict = Verdict::Refuse("");
            break;
        case Check::kReliefSize:
            if (v.number < 1 || v.number > 4) verdict = Verdict::Refuse("");
            break;
        case Check::kSex:
            if (!SexValid(v.text)) verdict = Verdict::Refuse("");
            break;
        case Check::kChoice: {
            const std::string allowed = v.spec->choices;
            if (v.text.empty() || allowed.find(v.text[0]) == std::string::npos)
                verdict = Verdict::Refuse("");
            break;
        }
        case Check::kIdentityDocument:
            if (Trim(v.text).empty()) break;
            shown = std::string(IdentityDocumentName(v.text));
            if (shown.empty()) verdict = Verdict::Refuse("Błędny kod");
            break;
        case Check::kForeignKind:
            if (work_.kind() == EmployeeKind::kLegalPerson) {
                if (std::string(" 12").find(v.text.empty() ? ' ' : v.text[0]) == std::string::npos)
                    verdict = Verdict::Refuse("Błędny kod");
            } else {
                verdict = CheckForeignIdKind(v.text, Flag("NIE_REZYD"));
                if (verdict.accepted) shown = std::string(ForeignIdKindName(v.text));
            }
            break;
        case Check::kPensionRight:
            verdict = CheckPensionRight(v.text);
            if (verdict.accepted && verdict.message.empty())
                shown = std::string(PensionRightName(v.text));
            break;
        case Check::kDisability:
            verdict = CheckDisability(v.text);
            if (verdict.accepted && verdict.message.empty())
                shown = std::string(DisabilityName(v.text));
            break;
        case Check::kTaxForm:
            verdict = std::string("123456").find(v.text.empty() ? ' ' : v.text[0]) ==
                              std::string::npos
                          ? Verdict::Refuse("")
                          : Verdict::Ok();
            if (verdict.accepted) shown = std::string(TaxFormName(v.text));
            break;
        case Check::kHealthFund:
            verdict = CheckHealthFund(v.text);
            break;
        case Check::kPesel: {
            EmployeeRecord probe = work_;
            StoreAll(&probe);
            if (ctx_.prac) {
                verdict = CheckPesel(*ctx_.prac, probe, ctx_.recno);
            } else {
                verdict = CheckPeselOf(probe.pesel(), probe.Date("DATA_URODZ"), probe.Text("PLEC_"));
            }
            break;
        }
        case Check::kNip:
            verdict = CheckNipField(Trim(v.text));
            break;
        case Check::kAccount:
            verdict = CheckAccountField(Trim(v.text));
            break;
        case Check::kDictionary:
            verdict = CheckCode(ctx_.tables, name, Trim(v.text), &shown);
            break;
        case Check::kRegistrationCountry:
            verdict = CheckRegistrationCountry(ctx_.tables, Trim(v.text), &shown);
            break;
        case Check::kCountry:
            if (Trim(v.text).empty()) break;
            verdict = CheckCode(ctx_.tables, name, Trim(v.text), &shown);
            break;
        case Check::kPeriodEnd: {
            const std::string from = Value(v.spec->choices);
            const std::string to = FromDate(v.date);
            if (!to.empty() && !from.empty() && to < from) verdict = Verdict::Refuse("");
            break;
        }
        case Check::kDismissal:
            if (!DismissalValid(Trim(Value("PRZYCZ_ZW")), FromDate(v.date),
                                work_.Date("DATA_ZATR")))
                verdict = Verdict::Refuse("");
            break;
        case Check::kSeniority: {
            const Seniority s = SeniorityAt(FromDate(v.date), ctx_.ref_year, ctx_.ref_month);
            if (v.date.empty()) {
                verdict = Verdict::Refuse("");
            } else {
                shown = SeniorityText(s);
            }
            break;
        }
        case Check::kVoivodeship:
        case Check::kDistrict:
        case Check::kCommune: {
            const std::string country =
                Trim(Value(v.spec->choices.empty() ? "KOD_KRAJU" : v.spec->choices));
            if (country != "PL") break;
            dbf::WorkArea& gminy = OpenTerritory(ctx_.tables);
            if (check == Check::kVoivodeship)
                verdict = LookupVoivodeship(gminy, rt_.letters(), &v.text, &territory_);
            else if (check == Check::kDistrict)
                verdict = LookupDistrict(gminy, rt_.letters(), &v.text, &territory_);
            else
                verdict = LookupCommune(gminy, rt_.letters(), &v.text, territory_);
            break;
        }
    }
    if (display_) {
        // The read-only pages name the codes they know and say nothing else.
        const bool from_table = check == Check::kDictionary || check == Check::kCountry ||
                                check == Check::kRegistrationCountry;
        if (verdict.accepted && !shown.empty()) ShowBeside(v, from_table ? shown : rt_.Text(shown));
        return true;
    }
    const std::string message = verdict.message.empty() ? shown : verdict.message;
    if (!verdict.message.empty()) {
        ShowBeside(v, rt_.Text(verdict.message));
    } else if (!shown.empty()) {
        // Dictionary names come from the tables (CP852); built-in names and
        // the seniority are ours (UTF-8).
        const bool from_table = check == Check::kDictionary || check == Check::kCountry ||
                                check == Check::kRegistrationCountry;
        ShowBeside(v, from_table ? shown : rt_.Text(shown));
    } else if (Displays(check)) {
        ShowBeside(v, "");
    }
    (void)message;
    if (verdict.beep) rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
    return verdict.accepted;
}

void PageRun::Declare(common::Form& form, bool entry) {
    const bool legal = work_.kind() == EmployeeKind::kLegalPerson;
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
        (void)legal;
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

// The names of the codes beside the fields, as the checks show them.
void PageRun::ShowNames() {
    for (Var& v : vars_) {
        switch (v.spec->check) {
            case Check::kDictionary:
            case Check::kCountry:
            case Check::kRegistrationCountry:
            case Check::kIdentityDocument:
            case Check::kPensionRight:
            case Check::kDisability:
            case Check::kTaxForm:
            case Check::kSeniority:
                if (v.kind == Kind::kText && Trim(v.text).empty()) break;
                if (v.kind == Kind::kDate && v.date.empty()) break;
                Validate(v);
                break;
            default:
                break;
        }
    }
}

void PageRun::ShowPickHint(const std::string& name) {
    auto& s = rt_.screen();
    s.Clear(kHintRow, 40, kHintRow, 77, rt_.Standard(rt_.colours().ycow));
    if (name == "URZ_SKARB") common::WriteLegend(rt_, kHintRow, 40, "<F3>-Urzędy skarbowe");
}

void PageRun::Pick(common::Form& form) {
    const int i = form.current();
    if (i < 0 || i >= static_cast<int>(vars_.size())) return;
    if (vars_[static_cast<size_t>(i)].spec->field == "URZ_SKARB") {
        common::PickTaxOffice(rt_, ctx_.tables, form.Typed());
    } else {
        rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
    }
}

void PageRun::AfterAccept(EmployeeRecord* rec) {
    if (page_ == Page::kIdentity && work_.kind() == EmployeeKind::kStaff) NormaliseWorkingTime(rec);
    if (page_ == Page::kIdentity || page_ == Page::kLegalPerson) {
        if (Trim(rec->Text("KOD_KRAJU")) == "PL" || page_ == Page::kIdentity) {
            dbf::WorkArea& gminy = OpenTerritory(ctx_.tables);
            rec->SetText("KOD_WOJEW", VoivodeshipCode(gminy, rt_.letters(), Trim(rec->Text("WOJEW_"))));
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
    const common::ReadResult r = form.Read();
    kb.Bind(key::F(3), old_f3);
    kb.Bind(key::F(12), old);
    if (!r.saved()) return PageExit::kEscape;
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
    for (;;) {
        const int k = common::Qrminkey(rt_);
        if (k == key::kEsc) return PageExit::kEscape;
        if (k == key::kPgUp || k == key::kUp) return PageExit::kPrevious;
        if (k == key::kPgDn || k == key::kEnter || k == key::kDown) return PageExit::kNext;
    }
}

}  // namespace

std::vector<Page> PagesOf(EmployeeKind kind, bool short_card) {
    if (kind == EmployeeKind::kLegalPerson) return {Page::kLegalPerson};
    if (short_card && kind == EmployeeKind::kNonStaff)
        return {Page::kIdentity, Page::kAddresses, Page::kEmployment};
    return {Page::kIdentity, Page::kAddresses,  Page::kEmployment, Page::kTax,
            Page::kTitle,    Page::kInsurance,  Page::kIncapacity, Page::kReport};
}

PageExit EnterPage(PageContext& ctx, Page page, EmployeeRecord* employee) {
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
