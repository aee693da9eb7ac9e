#include "register/data/employee_import.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>

#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "register/data/employee_field_checks.h"
#include "register/data/employee_registration.h"

namespace kestrel::registry {
namespace {

using base::Trim;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string LineError(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

// The separator of the header line: a semicolon when it has more of them
// than commas outside quotes.
char SeparatorOf(std::string_view text) {
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n') break;
        if (c == ',') ++commas;
        if (c == ';') ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

bool ClearField(std::string_view name) {
    return name == "NAZWISKO" || name == "IMIONA" || name == "PESEL";
}

// Fields a registration never writes from outside.
bool NotImported(std::string_view name) {
    return name == "NAZWX_" || name == "IMIEX_" || name == "PESELX_" || name == "MASTER_" ||
           name == "DATA_ZWOLN" || name == "PRZYCZ_ZW";
}

std::optional<bool> ParseLogical(std::string_view cell) {
    const std::string v = base::AsciiUpper(Trim(cell));
    if (v == "T" || v == "Y" || v == "1" || v == "TAK") return true;
    if (v == "N" || v == "F" || v == "0" || v == "NIE") return false;
    return std::nullopt;
}

std::optional<double> ParseNumber(std::string_view cell) {
    std::string v(Trim(cell));
    for (char& c : v)
        if (c == ',') c = '.';
    if (v.empty()) return std::nullopt;
    char* end = nullptr;
    const double d = std::strtod(v.c_str(), &end);
    if (end == nullptr || *end != '\0' || !std::isfinite(d)) return std::nullopt;
    return d;
}

// "YYYY-MM-DD" or "YYYYMMDD" of a real day, as "YYYYMMDD".
std::optional<std::string> ParseDate(std::string_view cell) {
    std::string v(Trim(cell));
    if (v.size() == 10 && v[4] == '-' && v[7] == '-')
        v = v.substr(0, 4) + v.substr(5, 2) + v.substr(8, 2);
    if (v.size() != 8) return std::nullopt;
    for (char c : v)
        if (c < '0' || c > '9') return std::nullopt;
    const int y = std::atoi(v.substr(0, 4).c_str());
    const int m = std::atoi(v.substr(4, 2).c_str());
    const int d = std::atoi(v.substr(6, 2).c_str());
    if (!base::IsValidDate(y, m, d)) return std::nullopt;
    return v;
}

struct Column {
    std::string name;
    int field = -1;  // in PKPRAC; -1 for the clear identity
    bool upper = false;
};

class Importer {
  public:
    Importer(common::Runtime& rt, common::Tables& tables, ImportOutcome* out)
        : rt_(rt), tables_(tables), out_(out), areas_(OpenRegister(tables)) {
        encouragement_ =
            rt.config().Logical("NAGLXSDML") || !Trim(rt.config().Text("NAGLXSDML")).empty();
    }

    base::Status Header(const CsvTable& t) {
        const EmployeeRecord blank = EmployeeRecord::Blank(*areas_.prac);
        std::map<std::string, bool> upper;
        for (EmployeeKind k :
             {EmployeeKind::kStaff, EmployeeKind::kNonStaff, EmployeeKind::kLegalPerson})
            for (const RegistrationField& f : RegistrationFields(k)) upper[f.field] = f.upper;
        const int line = t.lines.empty() ? 1 : t.lines.front();
        for (const std::string& cell : t.header) {
            Column c;
            c.name = base::AsciiUpper(Trim(cell));
            if (!ClearField(c.name)) {
                c.field = blank.FieldIndex(c.name);
                if (c.field < 0)
                    return base::Status::InvalidArgument(
                        LineError(line, "unknown field " + c.name));
                if (NotImported(c.name) ||
                    blank.stored().fields()[static_cast<size_t>(c.field)].type ==
                        dbf::FieldType::kMemo)
                    return base::Status::InvalidArgument(
                        LineError(line, "field " + c.name + " is not imported"));
            }
            for (const Column& other : columns_)
                if (other.name == c.name)
                    return base::Status::InvalidArgument(
                        LineError(line, "field " + c.name + " named twice"));
            c.upper = upper[c.name];
            columns_.push_back(c);
        }
        return base::Status::Ok();
    }

    void Row(const std::vector<std::string>& cells, int line) {
        line_ = line;
        if (cells.size() != columns_.size()) {
            Refuse("expected " + std::to_string(columns_.size()) + " values, found " +
                   std::to_string(cells.size()));
            return;
        }
        const EmployeeKind kind = KindOf(cells);
        EmployeeRecord rec = EmployeeRecord::Blank(*areas_.prac);
        std::string number;
        ApplyRegistrationDefaults(kind, &rec);
        for (size_t i = 0; i < cells.size(); ++i) {
            if (columns_[i].name == "NR_PRAC") {
                if (Trim(cells[i]).empty()) continue;
                if (!NormaliseNumber(Trim(cells[i]), &number)) {
                    Refuse("NR_PRAC: not an employee number");
                    return;
                }
                continue;
            }
            if (!Set(columns_[i], cells[i], &rec)) return;
        }
        if (!Check(kind, &rec)) return;
        SettleRecord(tables_, rt_.letters(), &rec);

        Registration reg(rt_, tables_, areas_);
        if (number.empty()) {
            number = reg.ReserveNext(kind);
            if (number.empty()) {
                Refuse("no free employee number left");
                return;
            }
        } else if (reg.Reserve(number) == ReserveResult::kExists) {
            Refuse("Istnieje pracownik o tym numerze");
            return;
        }
        rec.set_number(number);
        reg.record() = rec;
        reg.Confirm();
        out_->registered.push_back(number);
    }

  private:
    EmployeeKind KindOf(const std::vector<std::string>& cells) const {
        bool non_staff = false, legal = false;
        for (size_t i = 0; i < columns_.size() && i < cells.size(); ++i) {
            const std::optional<bool> v = ParseLogical(cells[i]);
            if (columns_[i].name == "NIE_PRAC" && v) non_staff = *v;
            if (columns_[i].name == "OS_PRAWNA" && v) legal = *v;
        }
        if (legal) return EmployeeKind::kLegalPerson;
        return non_staff ? EmployeeKind::kNonStaff : EmployeeKind::kStaff;
    }

    void Refuse(const std::string& text) { out_->refused.push_back({line_, text}); }

    bool Bad(const Column& c, const std::string& what) {
        Refuse(c.name + ": " + what);
        return false;
    }

    // One cell into the record; false (with the row refused) when it cannot
    // be read or does not fit.
    bool Set(const Column& c, const std::string& cell, EmployeeRecord* rec) {
        if (Trim(cell).empty()) return true;
        if (c.field < 0) {
            std::string v = codepage::FromUtf8(c.name == "PESEL" ? Trim(cell) : cell);
            const size_t width = c.name == "NAZWISKO" ? kSurnameWidth
                                 : c.name == "IMIONA" ? kFirstNamesWidth
                                                      : kPeselWidth;
            if (base::TrimRight(v).size() > width)
                return Bad(c, "longer than " + std::to_string(width) + " characters");
            v = base::TrimRight(v);
            if (c.name == "NAZWISKO") rec->set_surname(v);
            if (c.name == "IMIONA") rec->set_first_names(v);
            if (c.name == "PESEL") rec->set_pesel(v);
            return true;
        }
        const dbf::Field& f = rec->stored().fields()[static_cast<size_t>(c.field)];
        base::Status s = base::Status::Ok();
        switch (f.type) {
            case dbf::FieldType::kNumeric: {
                const std::optional<double> v = ParseNumber(cell);
                if (!v) return Bad(c, "not a number");
                s = rec->SetNumber(c.name, *v);
                break;
            }
            case dbf::FieldType::kDate: {
                const std::optional<std::string> v = ParseDate(cell);
                if (!v) return Bad(c, "not a date (YYYY-MM-DD)");
                s = rec->SetDate(c.name, *v);
                break;
            }
            case dbf::FieldType::kLogical: {
                const std::optional<bool> v = ParseLogical(cell);
                if (!v) return Bad(c, "not T or N");
                s = rec->SetLogical(c.name, *v);
                break;
            }
            default: {
                std::string v = base::TrimRight(codepage::FromUtf8(cell));
                if (c.upper) v = base::Cp852Upper(v);
                if (v.size() > f.length)
                    return Bad(c, "longer than " + std::to_string(f.length) + " characters");
                s = rec->SetText(c.name, v);
                break;
            }
        }
        if (!s.ok()) return Bad(c, "does not fit the field");
        return true;
    }

    FieldValue ValueOf(const std::string& field, const EmployeeRecord& rec) const {
        FieldValue v;
        if (field == "NAZWISKO") v.text = rec.surname();
        if (field == "IMIONA") v.text = rec.first_names();
        if (field == "PESEL") v.text = rec.pesel();
        if (ClearField(field)) return v;
        const int i = rec.FieldIndex(field);
        if (i < 0) return v;
        switch (rec.stored().fields()[static_cast<size_t>(i)].type) {
            case dbf::FieldType::kNumeric:
                v.kind = FieldValue::Kind::kNumber;
                v.number = rec.Number(field);
                break;
            case dbf::FieldType::kDate:
                v.kind = FieldValue::Kind::kDate;
                v.date = rec.Date(field);
                break;
            case dbf::FieldType::kLogical:
                v.kind = FieldValue::Kind::kLogical;
                v.logical = rec.Logical(field);
                break;
            default:
                v.text = rec.Text(field);
                break;
        }
        return v;
    }

    // The checks of the registration's fields over the whole record, in the
    // order the registration asks them; false (with the row refused) at the
    // first refusal.
    bool Check(EmployeeKind kind, EmployeeRecord* rec) {
        const FieldCheckScope scope{tables_, rt_.letters(), areas_.prac, 0, false, 0, 0};
        TerritoryChoice territory;
        for (const RegistrationField& f : RegistrationFields(kind)) {
            if (f.check == FieldCheck::kNone || !FieldAsked(f.field, *rec, encouragement_))
                continue;
            FieldValue value = ValueOf(f.field, *rec);
            std::string shown;
            const Verdict v = CheckFieldValue(scope, f.check, f.field, f.choices, *rec, &value,
                                              &shown, &territory);
            if (!v.accepted) {
                Refuse(f.field + ": " + (v.message.empty() ? "value refused" : v.message));
                return false;
            }
            if (value.kind == FieldValue::Kind::kText && !ClearField(f.field))
                rec->SetText(f.field, value.text);
            if (!v.message.empty() && !Trim(value.text + value.date).empty() &&
                f.check != FieldCheck::kPesel)
                out_->warnings.push_back({line_, f.field + ": " + v.message});
            if (f.check == FieldCheck::kPesel && !rec->pesel().empty()) {
                const Verdict own =
                    CheckPeselOf(rec->pesel(), rec->Date("DATA_URODZ"), rec->Text("PLEC_"));
                if (!own.message.empty())
                    out_->warnings.push_back({line_, "PESEL: " + own.message});
                const std::vector<std::string> others =
                    RecordsWithPesel(*areas_.prac, rec->pesel());
                if (!others.empty()) {
                    Refuse("PESEL: " + SharedPeselText(others));
                    return false;
                }
            }
        }
        return true;
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    ImportOutcome* out_;
    RegisterAreas areas_;
    std::vector<Column> columns_;
    bool encouragement_ = false;
    int line_ = 0;
};

}  // namespace

base::Status ReadCsv(std::string_view text, CsvTable* out) {
    *out = CsvTable{};
    if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
    const char sep = SeparatorOf(text);
    size_t i = 0;
    int line = 1;
    const size_t n = text.size();
    auto end_of_line = [&] {
        if (i < n && text[i] == '\r') ++i;
        if (i < n && text[i] == '\n') ++i;
        ++line;
    };
    while (i < n) {
        if (text[i] == '\n' || text[i] == '\r') {  // a blank line
            end_of_line();
            continue;
        }
        const int start = line;
        std::vector<std::string> row;
        for (;;) {
            std::string cell;
            if (i < n && text[i] == '"') {
                ++i;
                for (;;) {
                    if (i >= n)
                        return base::Status::InvalidArgument(
                            LineError(start, "a quote is not closed"));
                    const char c = text[i];
                    if (c == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            cell += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == '\n') ++line;
                    cell += c;
                    ++i;
                }
                if (i < n && text[i] != sep && text[i] != '\r' && text[i] != '\n')
                    return base::Status::InvalidArgument(
                        LineError(line, "text after a closing quote"));
            } else {
                while (i < n && text[i] != sep && text[i] != '\r' && text[i] != '\n')
                    cell += text[i++];
            }
            row.push_back(std::move(cell));
            if (i < n && text[i] == sep) {
                ++i;
                continue;
            }
            break;
        }
        end_of_line();
        if (out->header.empty() && out->lines.empty()) {
            out->header = std::move(row);
            out->lines.push_back(start);
        } else {
            out->rows.push_back(std::move(row));
            out->lines.push_back(start);
        }
    }
    // lines[0] is the header's; the rows' follow.
    return base::Status::Ok();
}

base::Status ImportEmployees(common::Runtime& rt, common::Tables& tables, std::string_view csv,
                             ImportOutcome* out) {
    *out = ImportOutcome{};
    CsvTable t;
    base::Status s = ReadCsv(csv, &t);
    if (!s.ok()) return s;
    if (t.header.empty()) return base::Status::InvalidArgument("the file has no header line");
    Importer importer(rt, tables, out);
    s = importer.Header(t);
    if (!s.ok()) return s;
    for (size_t r = 0; r < t.rows.size(); ++r) importer.Row(t.rows[r], t.lines[r + 1]);
    return base::Status::Ok();
}

}  // namespace kestrel::registry
