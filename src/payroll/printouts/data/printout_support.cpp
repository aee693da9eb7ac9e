#include "payroll/printouts/data/printout_support.h"

#include "common/checks/scramble.h"
#include "payroll/data/payroll_records.h"
#include "platform/base/text.h"
#include "platform/picture/picture.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {

std::string Amount(double value, bool blank_zero) {
    static const picture::Picture picture = picture::Parse("@E 9,999,999.99");
    if (blank_zero && value == 0) return std::string(12, ' ');
    return picture::FormatNumber(value, picture, 12, 2);
}

std::string Fit(std::string_view text, size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

EmployeeNames::EmployeeNames(common::Tables& tables) {
    if (CompanyHas(tables, "PKPRAC")) area_ = &worktime::OpenOnce(tables, "PKPRAC", {"PKPRAC1"});
}

bool EmployeeNames::Seek(std::string_view number) {
    if (area_ == nullptr) return false;
    worktime::OrderBy(*area_, "PKPRAC1");
    return area_->Seek(number).ok() && !area_->eof();
}

std::string EmployeeNames::Of(std::string_view number) {
    if (!Seek(number)) return {};
    const dbf::Record& r = area_->record();
    const std::string surname = base::Trim(
        common::Unscramble(common::ScrambleKind::kName, r.GetString(area_->FieldIndex("NAZWX_"))));
    const int f = area_->FieldIndex("IMIEX_");
    const std::string first =
        f < 0 ? std::string()
              : base::Trim(common::Unscramble(common::ScrambleKind::kName, r.GetString(f)));
    return first.empty() ? surname : surname + " " + first;
}

std::string EmployeeNames::Department(std::string_view number) {
    if (!Seek(number)) return {};
    const int f = area_->FieldIndex("DZIAL_");
    return f < 0 ? std::string() : base::Trim(area_->record().GetString(f));
}

}  // namespace kestrel::payroll
