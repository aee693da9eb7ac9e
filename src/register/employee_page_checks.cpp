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
    if (name == "DATA_Z_PIT" && !ctx_.update) {
        // In registration: preset to the employment date whenever entered.
        auto it = by_name_.find("DATA_Z_PIT");
        if (it != by_name_.end()) it->second->date = base::DateOfDbfText(Value("DATA_ZATR"));
        return true;
    }
    EmployeeRecord probe = work_;
    StoreAll(&probe);
    return FieldAsked(
        name, probe,
        rt_.config().Logical("NAGLXSDML") || !Trim(rt_.config().Text("NAGLXSDML")).empty());
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
    if (check == Check::kNone) return true;
    EmployeeRecord probe = work_;
    StoreAll(&probe);
    FieldValue value;
    switch (v.kind) {
        case Kind::kNumber:
            value.kind = FieldValue::Kind::kNumber;
            break;
        case Kind::kDate:
            value.kind = FieldValue::Kind::kDate;
            break;
        case Kind::kLogical:
            value.kind = FieldValue::Kind::kLogical;
            break;
        default:
            break;
    }
    value.text = v.text;
    value.number = v.number;
    value.date = base::DbfDateText(v.date);
    value.logical = v.logical;
    const FieldCheckScope scope{ctx_.tables, rt_.letters(), ctx_.prac,     ctx_.recno,
                                ctx_.update, ctx_.ref_year, ctx_.ref_month};
    verdict =
        CheckFieldValue(scope, check, name, v.spec->choices, probe, &value, &shown, &territory_);
    v.text = value.text;
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
