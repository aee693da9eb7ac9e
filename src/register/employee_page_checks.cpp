// The conditions and checks of the fields of a page, and the names and
// warnings they show beside the fields.
#include "common/screen/messages.h"
#include "platform/base/dates.h"
#include "register/employee_page_run.h"

namespace kestrel::registry::pages {
namespace {

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

}  // namespace

bool PageRun::Enabled(const std::string& name) {
    const bool legal = work_.kind() == EmployeeKind::kLegalPerson;
    const std::string degree = Trim(Value("TYTUL_STNP"));
    const bool certified = degree == "1" || degree == "2" || degree == "3";
    if (name == "DATA_INW" || name == "DAT_INW_DO" || name == "SZCZEG_SCH") return certified;
    if (name == "EF_ZACH")
        return certified &&
               (rt_.config().Logical("NAGLXSDML") || !Trim(rt_.config().Text("NAGLXSDML")).empty());
    if (name == "Z_NR_ID" || name == "Z_KRAJ_ID" || name == "Z_KOD_ID")
        return legal || Flag("IFT_1") || Flag("NIE_REZYD");
    if (name == "WIE_ULG_PD") return Flag("ULGA_P_D");
    if (name == "PROC_POD") return !Flag("POD_WG_TAB");
    if (name == "FORMA_OPOD") return Value("TYTUL_PODM").rfind("05", 0) == 0;
    if (name == "DATA_OB_UB")
        return Flag("CZY_OB_UE") || Flag("CZY_OB_UR") || Flag("CZY_OB_UC") || Flag("CZY_OB_UW");
    if (name == "DATA_OB_UZ" || name == "KOD_KASY" || name == "DATA_KASY") return Flag("CZY_OB_UZ");
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
    if (name == "DATA_Z_PIT" && !ctx_.update) {
        // In registration: preset to the employment date whenever entered.
        auto it = by_name_.find("DATA_Z_PIT");
        if (it != by_name_.end()) it->second->date = base::DateOfDbfText(Value("DATA_ZATR"));
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
    if (name == "NAZWISKO" && ctx_.confirm_surname && !Trim(v.text).empty() &&
        TrimRight(v.text) != work_.surname() &&
        !ctx_.confirm_surname(work_.surname(), TrimRight(v.text))) {
        v.text = work_.surname();
        v.text.resize(kSurnameWidth, ' ');
    }
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
            verdict =
                std::string("123456").find(v.text.empty() ? ' ' : v.text[0]) == std::string::npos
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
                verdict =
                    CheckPeselOf(probe.pesel(), probe.Date("DATA_URODZ"), probe.Text("PLEC_"));
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
            const std::string to = base::DbfDateText(v.date);
            if (!to.empty() && !from.empty() && to < from) verdict = Verdict::Refuse("");
            break;
        }
        case Check::kDismissal:
            if (!DismissalValid(Trim(Value("PRZYCZ_ZW")), base::DbfDateText(v.date),
                                work_.Date("DATA_ZATR")))
                verdict = Verdict::Refuse("");
            break;
        case Check::kSeniority: {
            const Seniority s =
                SeniorityAt(base::DbfDateText(v.date), ctx_.ref_year, ctx_.ref_month);
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
    if (verdict.beep) rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
    return verdict.accepted;
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

}  // namespace kestrel::registry::pages
