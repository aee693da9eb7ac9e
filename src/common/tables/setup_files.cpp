#include "common/tables/setup_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/tables/table_catalogue.h"
#include "platform/base/dates.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"

namespace kestrel::common {
namespace {

using base::Trim;
using base::TrimRight;

bool Indented(std::string_view line) {
    return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

bool Blank(std::string_view line) {
    return base::TrimWhitespace(line).empty();
}

// "YYYY-MM-DD" of a real day as "YYYYMMDD"; "" for an empty value.
bool DateOf(std::string_view v, std::string* out) {
    out->clear();
    if (v.empty()) return true;
    if (v.size() != 10 || v[4] != '-' || v[7] != '-') return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (v[i] < '0' || v[i] > '9') return false;
    const int y = std::atoi(std::string(v.substr(0, 4)).c_str());
    const int m = std::atoi(std::string(v.substr(5, 2)).c_str());
    const int d = std::atoi(std::string(v.substr(8, 2)).c_str());
    if (!base::IsValidDate(y, m, d)) return false;
    *out = std::string(v.substr(0, 4)) + std::string(v.substr(5, 2)) + std::string(v.substr(8, 2));
    return true;
}

// A number of the form -123.45: its value and count of decimals.
bool NumberOf(std::string_view v, double* value, int* decimals) {
    size_t i = 0;
    if (i < v.size() && v[i] == '-') ++i;
    const size_t digits = i;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') ++i;
    if (i == digits) return false;
    *decimals = 0;
    if (i < v.size() && v[i] == '.') {
        const size_t start = ++i;
        while (i < v.size() && v[i] >= '0' && v[i] <= '9') ++i;
        if (i == start) return false;
        *decimals = static_cast<int>(i - start);
    }
    if (i != v.size()) return false;
    *value = std::strtod(std::string(v).c_str(), nullptr);
    return true;
}

bool LogicalOf(std::string_view v, bool* value) {
    const std::string u = base::AsciiUpper(v);
    if (u == "T" || u == "Y") {
        *value = true;
        return true;
    }
    if (u == "F" || u == "N") {
        *value = false;
        return true;
    }
    return false;
}

// UTF-8 text that CP852 holds letter for letter.
bool Cp852Text(std::string_view utf8, std::string* cp852) {
    *cp852 = codepage::FromUtf8(utf8);
    return codepage::ToUtf8(*cp852) == utf8;
}

// Checks a value against its catalogue field; "" when it is right.
std::string ValueFault(const CatalogueField& f, const std::string& v) {
    std::string cp;
    switch (f.type) {
        case 'N': {
            if (v.empty()) return "";
            double d = 0;
            int decimals = 0;
            if (!NumberOf(v, &d, &decimals)) return "not a number: " + v;
            if (decimals > f.decimals)
                return "more than " + std::to_string(f.decimals) + " decimals: " + v;
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.*f", f.decimals, d);
            if (std::string_view(buf).size() > f.length)
                return v + " does not fit N" + std::to_string(f.length) + "." +
                       std::to_string(f.decimals);
            return "";
        }
        case 'L': {
            bool b = false;
            return v.empty() || LogicalOf(v, &b) ? "" : "not T or F: " + v;
        }
        case 'D':
            return DateOf(v, &cp) ? "" : "not a date YYYY-MM-DD: " + v;
        case 'M':
            return Cp852Text(v, &cp) ? "" : "a letter outside the letter set";
        default:
            if (!Cp852Text(v, &cp)) return "a letter outside the letter set";
            if (cp.size() > f.length)
                return "longer than " + std::to_string(f.length) + " characters";
            return "";
    }
}

class Parser {
  public:
    Parser(std::string_view text, std::string_view source) : source_(source) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        size_t pos = 0;
        while (pos <= text.size()) {
            size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(pos, end - pos);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines_.push_back(line);
            pos = end + 1;
        }
    }

    base::Status Run(std::vector<SetupRecord>* out) {
        std::vector<SetupRecord> records;
        const TableLayout* layout = nullptr;
        for (size_t i = 0; i < lines_.size(); ++i) {
            const int no = static_cast<int>(i) + 1;
            const std::string_view line = lines_[i];
            if (Blank(line) || base::TrimWhitespace(line)[0] == '#') continue;
            if (Indented(line)) return Fault(no, "an indented line outside a memo text");
            if (line[0] == '[') {
                const std::string t = TrimRight(line);
                if (t.back() != ']') return Fault(no, "expected [TABLE]");
                const std::string name = base::AsciiUpper(Trim(t.substr(1, t.size() - 2)));
                layout = FindTable(name);
                if (layout == nullptr) return Fault(no, "unknown table " + name);
                records.push_back({name, std::string(source_), no, {}});
                continue;
            }
            const size_t colon = line.find(':');
            if (colon == std::string_view::npos) return Fault(no, "expected FIELD: value");
            const std::string name = base::AsciiUpper(Trim(line.substr(0, colon)));
            if (layout == nullptr) return Fault(no, "a field before the first [TABLE] line");
            SetupRecord& rec = records.back();
            const int f = layout->FieldIndex(name);
            if (f < 0) return Fault(no, "table " + rec.table + " has no field " + name);
            if (rec.Find(name) != nullptr) return Fault(no, "field " + name + " given twice");
            const CatalogueField& field = layout->fields[static_cast<size_t>(f)];
            std::string value(Trim(line.substr(colon + 1)));
            if (value.empty() && i + 1 < lines_.size() && Indented(lines_[i + 1])) {
                if (field.type != 'M')
                    return Fault(no + 1, "field " + name + " is not a memo field");
                base::Status s = Memo(&i, &value);
                if (!s.ok()) return s;
            }
            const std::string fault = ValueFault(field, value);
            if (!fault.empty()) return Fault(no, name + ": " + fault);
            rec.fields.push_back({name, value, no});
        }
        out->insert(out->end(), records.begin(), records.end());
        return base::Status::Ok();
    }

  private:
    // The indented lines after line *i: *i is left on the last of them.
    base::Status Memo(size_t* i, std::string* text) {
        const std::string_view first = lines_[*i + 1];
        const std::string_view indent = first.substr(0, first.find_first_not_of(" \t"));
        std::vector<std::string_view> body;
        size_t j = *i + 1;
        for (; j < lines_.size(); ++j) {
            const std::string_view line = lines_[j];
            if (Blank(line)) {
                body.push_back("");
                continue;
            }
            if (!Indented(line)) break;
            if (line.substr(0, indent.size()) != indent)
                return Fault(static_cast<int>(j) + 1,
                             "indented less than the first line of the text");
            body.push_back(line.substr(indent.size()));
        }
        while (!body.empty() && body.back().empty()) body.pop_back();
        // The text ends at its last line: blank lines after it belong to
        // the file.
        size_t last = *i + 1;
        for (size_t k = *i + 1; k < j; ++k)
            if (!Blank(lines_[k])) last = k;
        *i = last;
        text->clear();
        for (size_t k = 0; k < body.size(); ++k) {
            if (k > 0) *text += "\r\n";
            *text += TrimRight(body[k]);
        }
        return base::Status::Ok();
    }

    base::Status Fault(int line, const std::string& what) const {
        return base::Status::InvalidArgument(std::string(source_) + ":" + std::to_string(line) +
                                             ": " + what);
    }

    std::string_view source_;
    std::vector<std::string_view> lines_;
};

}  // namespace

const SetupField* SetupRecord::Find(std::string_view name) const {
    for (const SetupField& f : fields)
        if (f.name == name) return &f;
    return nullptr;
}

base::Status ParseSetup(std::string_view text, std::string_view source,
                        std::vector<SetupRecord>* out) {
    return Parser(text, source).Run(out);
}

base::Status ReadSetupDir(const std::string& dir, std::vector<SetupRecord>* out) {
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) return base::Status::Ok();
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
        if (entry.path().extension() == ".setup") files.push_back(entry.path());
    if (ec) return base::Status::IOError(dir + ": " + ec.message());
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& p : files) {
        std::string text;
        base::Status s = base::ReadFile(p.string(), &text);
        if (s.ok()) s = ParseSetup(text, p.filename().string(), out);
        if (!s.ok()) return s;
    }
    return base::Status::Ok();
}

std::vector<const SetupRecord*> RecordsOf(const std::vector<SetupRecord>& records,
                                          std::string_view table) {
    const std::string name = base::AsciiUpper(table);
    std::vector<const SetupRecord*> out;
    for (const SetupRecord& r : records)
        if (r.table == name) out.push_back(&r);
    return out;
}

base::Status FillSetupRecord(const SetupRecord& record, dbf::Table& table, dbf::Record* rec) {
    for (const SetupField& f : record.fields) {
        const int i = table.FieldIndex(f.name);
        auto fault = [&](const std::string& what) {
            return base::Status::InvalidArgument(record.source + ":" + std::to_string(f.line) +
                                                 ": " + f.name + ": " + what);
        };
        if (i < 0) return fault("no such field in " + record.table);
        base::Status s = base::Status::Ok();
        switch (table.fields()[static_cast<size_t>(i)].type) {
            case dbf::FieldType::kNumeric:
                s = rec->SetNumber(i, std::strtod(f.value.c_str(), nullptr));
                break;
            case dbf::FieldType::kLogical: {
                bool b = false;
                LogicalOf(f.value, &b);
                s = rec->SetLogical(i, b);
                break;
            }
            case dbf::FieldType::kDate: {
                std::string d;
                if (!DateOf(f.value, &d)) return fault("not a date YYYY-MM-DD");
                s = rec->SetDate(i, d);
                break;
            }
            case dbf::FieldType::kMemo:
                s = table.WriteMemo(rec, i, codepage::FromUtf8(f.value));
                break;
            default:
                s = rec->SetString(i, codepage::FromUtf8(f.value));
                break;
        }
        if (!s.ok()) return fault(s.message());
    }
    return base::Status::Ok();
}

bool SetupRecordMatches(const SetupRecord& record, const dbf::Table& table,
                        const dbf::Record& rec) {
    for (const SetupField& f : record.fields) {
        const int i = table.FieldIndex(f.name);
        if (i < 0) return false;
        switch (table.fields()[static_cast<size_t>(i)].type) {
            case dbf::FieldType::kNumeric:
                if (std::fabs(rec.GetNumber(i) - std::strtod(f.value.c_str(), nullptr)) > 1e-9)
                    return false;
                break;
            case dbf::FieldType::kLogical: {
                bool b = false;
                LogicalOf(f.value, &b);
                if (rec.GetLogical(i) != b) return false;
                break;
            }
            case dbf::FieldType::kDate: {
                std::string d;
                DateOf(f.value, &d);
                if (rec.GetDate(i) != d) return false;
                break;
            }
            case dbf::FieldType::kMemo: {
                std::string text;
                if (!table.ReadMemo(rec, i, &text).ok()) return false;
                if (TrimRight(text) != TrimRight(codepage::FromUtf8(f.value))) return false;
                break;
            }
            default:
                if (TrimRight(rec.GetString(i)) != TrimRight(codepage::FromUtf8(f.value)))
                    return false;
                break;
        }
    }
    return true;
}

}  // namespace kestrel::common
