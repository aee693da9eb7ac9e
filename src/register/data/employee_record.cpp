#include "register/data/employee_record.h"

#include "common/checks/scramble.h"
#include "platform/base/text.h"
#include "platform/formula/date.h"

namespace kestrel::registry {
namespace {

using common::ScrambleKind;

constexpr std::string_view kSurnameField = "NAZWX_";
constexpr std::string_view kNamesField = "IMIEX_";
constexpr std::string_view kPeselField = "PESELX_";

bool IsScrambled(std::string_view field) {
    const std::string name = base::AsciiUpper(field);
    return name == kSurnameField || name == kNamesField || name == kPeselField;
}

std::string Cut(std::string_view s, size_t width) {
    return base::TrimPadding(std::string(s.substr(0, std::min(s.size(), width))));
}

}  // namespace

char CardLetter(EmployeeKind kind) {
    switch (kind) {
        case EmployeeKind::kStaff:
            return 'E';
        case EmployeeKind::kNonStaff:
            return 'N';
        case EmployeeKind::kLegalPerson:
            return 'P';
    }
    return 'E';
}

EmployeeKind KindFromLetter(char letter) {
    if (letter == 'N' || letter == 'n') return EmployeeKind::kNonStaff;
    if (letter == 'P' || letter == 'p') return EmployeeKind::kLegalPerson;
    return EmployeeKind::kStaff;
}

EmployeeKind NextKind(EmployeeKind kind) {
    switch (kind) {
        case EmployeeKind::kStaff:
            return EmployeeKind::kNonStaff;
        case EmployeeKind::kNonStaff:
            return EmployeeKind::kLegalPerson;
        case EmployeeKind::kLegalPerson:
            return EmployeeKind::kStaff;
    }
    return EmployeeKind::kStaff;
}

std::string_view KindCaption(EmployeeKind kind) {
    switch (kind) {
        case EmployeeKind::kStaff:
            return "   Pracownik \"etatowy\"";
        case EmployeeKind::kNonStaff:
            return "\"Nieetatowy\" pracownik";
        case EmployeeKind::kLegalPerson:
            return "          Osoba prawna";
    }
    return "";
}

std::string_view NumberLabel(EmployeeKind kind) {
    return kind == EmployeeKind::kLegalPerson ? "ID osoby prawnej:" : "     Nr pracown.:";
}

const std::vector<std::string>& EmployeeIndexes() {
    static const std::vector<std::string> names = {
        "PKPRAC1", "PKPRAC2", "PKPRAC3", "PKPRAC4", "PKPRAC5", "PKPRAC6", "PKPRAC7",
        "PKPRAC8", "PKPRAC9", "PKPRACA", "PKPRACB", "PKPRACC", "PKPRACD", "PKPRACE",
    };
    return names;
}

bool NormaliseNumber(std::string_view typed, std::string* number, bool allow_empty) {
    size_t b = 0, e = typed.size();
    while (b < e && typed[b] == ' ') ++b;
    while (e > b && typed[e - 1] == ' ') --e;
    const std::string_view digits = typed.substr(b, e - b);
    if (digits.empty()) {
        number->clear();
        return allow_empty;
    }
    // The numeric value of the text, as val() reads it: leading digits.
    long value = 0;
    size_t i = 0;
    for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
        value = value * 10 + (digits[i] - '0');
        if (value > 999999) return false;
    }
    if (i == 0) return false;
    char buf[24];
    std::snprintf(buf, sizeof buf, "%06ld", value);
    *number = buf;
    return value != 0;
}

EmployeeRecord EmployeeRecord::FromStored(const dbf::Record& stored) {
    EmployeeRecord e;
    e.rec_ = stored;
    auto clear = [&](std::string_view field, ScrambleKind kind) {
        const int i = stored.FieldIndex(field);
        return i < 0 ? std::string() : base::TrimPadding(common::Unscramble(kind, stored.Raw(i)));
    };
    e.surname_ = clear(kSurnameField, ScrambleKind::kName);
    e.first_names_ = clear(kNamesField, ScrambleKind::kName);
    e.pesel_ = clear(kPeselField, ScrambleKind::kIdentity);
    e.Rescramble();
    return e;
}

EmployeeRecord EmployeeRecord::Blank(dbf::WorkArea& prac) {
    dbf::Record blank = prac.table().NewRecord();
    return FromStored(blank);
}

void EmployeeRecord::Rescramble() {
    auto put = [&](std::string_view field, ScrambleKind kind, const std::string& clear) {
        const int i = rec_.FieldIndex(field);
        if (i < 0) return;
        rec_.SetRaw(i, common::Scramble(kind, clear, rec_.fields()[i].length));
    };
    put(kSurnameField, ScrambleKind::kName, surname_);
    put(kNamesField, ScrambleKind::kName, first_names_);
    put(kPeselField, ScrambleKind::kIdentity, pesel_);
}

void EmployeeRecord::StoreInto(dbf::Record* target) const {
    const bool deleted = target->deleted();
    target->mutable_bytes() = rec_.bytes();
    target->set_deleted(deleted);
}

std::string EmployeeRecord::number() const {
    return Text("NR_PRAC");
}

void EmployeeRecord::set_number(std::string_view number) {
    SetText("NR_PRAC", number);
}

void EmployeeRecord::set_surname(std::string_view cp852) {
    surname_ = Cut(cp852, kSurnameWidth);
    Rescramble();
}

void EmployeeRecord::set_first_names(std::string_view cp852) {
    first_names_ = Cut(cp852, kFirstNamesWidth);
    Rescramble();
}

void EmployeeRecord::set_pesel(std::string_view digits) {
    pesel_ = Cut(digits, kPeselWidth);
    Rescramble();
}

EmployeeKind EmployeeRecord::kind() const {
    if (Logical("OS_PRAWNA")) return EmployeeKind::kLegalPerson;
    return Logical("NIE_PRAC") ? EmployeeKind::kNonStaff : EmployeeKind::kStaff;
}

void EmployeeRecord::set_kind(EmployeeKind kind) {
    SetLogical("NIE_PRAC", kind != EmployeeKind::kStaff);
    SetLogical("OS_PRAWNA", kind == EmployeeKind::kLegalPerson);
}

bool EmployeeRecord::former() const {
    const int i = FieldIndex("PRZYCZ_ZW");
    return i >= 0 && !rec_.IsBlank(i);
}

std::string EmployeeRecord::Text(std::string_view field) const {
    const int i = FieldIndex(field);
    return i < 0 ? std::string() : rec_.GetString(i);
}

double EmployeeRecord::Number(std::string_view field) const {
    const int i = FieldIndex(field);
    return i < 0 ? 0 : rec_.GetNumber(i);
}

std::string EmployeeRecord::Date(std::string_view field) const {
    const int i = FieldIndex(field);
    return i < 0 ? std::string() : rec_.GetDate(i);
}

bool EmployeeRecord::Logical(std::string_view field) const {
    const int i = FieldIndex(field);
    return i >= 0 && rec_.GetLogical(i);
}

int EmployeeRecord::Require(std::string_view field) const {
    if (IsScrambled(field)) return -1;
    return FieldIndex(field);
}

base::Status EmployeeRecord::SetText(std::string_view field, std::string_view cp852) {
    const int i = Require(field);
    if (i < 0) return base::Status::InvalidArgument(std::string(field));
    return rec_.SetString(i, cp852);
}

base::Status EmployeeRecord::SetNumber(std::string_view field, double value) {
    const int i = Require(field);
    if (i < 0) return base::Status::InvalidArgument(std::string(field));
    return rec_.SetNumber(i, value);
}

base::Status EmployeeRecord::SetDate(std::string_view field, std::string_view yyyymmdd) {
    const int i = Require(field);
    if (i < 0) return base::Status::InvalidArgument(std::string(field));
    return rec_.SetDate(i, yyyymmdd);
}

base::Status EmployeeRecord::SetLogical(std::string_view field, bool value) {
    const int i = Require(field);
    if (i < 0) return base::Status::InvalidArgument(std::string(field));
    return rec_.SetLogical(i, value);
}

std::vector<std::string> EmployeeRecord::ChangedFields(const EmployeeRecord& before) const {
    std::vector<std::string> changed;
    const auto& fields = rec_.fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == "NR_PRAC") continue;
        const int j = before.FieldIndex(fields[i].name);
        // By value: a blank number is 0 and a blank logical false, as a
        // record never written through the pages holds them.
        if (j < 0 || FieldText(before.rec_, j) != FieldText(rec_, static_cast<int>(i))) {
            changed.push_back(fields[i].name);
        }
    }
    return changed;
}

std::string FieldText(const dbf::Record& rec, int field) {
    const dbf::Field& f = rec.fields()[field];
    switch (f.type) {
        case dbf::FieldType::kNumeric: {
            std::string out;
            if (!dbf::FormatNumber(rec.GetNumber(field), f.length, f.decimals, &out)) {
                out = std::string(f.length, '*');
            }
            return out;
        }
        case dbf::FieldType::kDate:
            return formula::Dtoc(formula::Stod(rec.GetDate(field)));
        case dbf::FieldType::kLogical:
            return rec.GetLogical(field) ? "T" : "F";
        default:
            return rec.GetString(field);
    }
}

EmployeeRecord ReadEmployee(dbf::WorkArea& prac) {
    return EmployeeRecord::FromStored(prac.record());
}

base::Status WriteEmployee(dbf::WorkArea& prac, const EmployeeRecord& employee) {
    employee.StoreInto(&prac.record());
    return prac.Commit();
}

}  // namespace kestrel::registry
