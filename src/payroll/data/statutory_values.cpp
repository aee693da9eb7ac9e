#include "payroll/data/statutory_values.h"

#include <cstdlib>
#include <sstream>

namespace kestrel::payroll {

extern const char* const kStatutoryValuesText;

namespace {

bool ReadInt(const std::string& word, int low, int high, int* out) {
    if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos) return false;
    *out = std::atoi(word.c_str());
    return *out >= low && *out <= high;
}

}  // namespace

bool ParseStatutoryValues(std::string_view text, std::vector<StatutoryRow>* out,
                          std::string* error) {
    out->clear();
    std::istringstream in{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream words(line);
        std::string field, year, first, last, value, extra;
        words >> field;
        if (field.empty() || field[0] == '#') continue;
        words >> year >> first >> last >> value >> extra;
        const auto fail = [&](const char* reason) {
            *error = "line " + std::to_string(number) + ": " + reason;
            out->clear();
            return false;
        };
        StatutoryRow row;
        row.field = field;
        if (value.empty() || !extra.empty()) return fail("five words expected");
        if (!ReadInt(year, 1900, 9999, &row.year)) return fail("bad year");
        if (!ReadInt(first, 1, 12, &row.first) || !ReadInt(last, 1, 12, &row.last) ||
            row.first > row.last)
            return fail("bad months");
        char* end = nullptr;
        row.value = std::strtod(value.c_str(), &end);
        if (end == value.c_str() || *end != '\0') return fail("bad value");
        out->push_back(row);
    }
    return true;
}

std::vector<StatutoryRow> ShippedStatutoryValues() {
    std::vector<StatutoryRow> rows;
    std::string error;
    if (!ParseStatutoryValues(kStatutoryValuesText, &rows, &error)) rows.clear();
    return rows;
}

std::vector<std::pair<std::string, double>> StatutoryValuesFor(
    const std::vector<StatutoryRow>& rows, base::YearMonth m) {
    std::vector<std::pair<std::string, double>> out;
    for (const StatutoryRow& r : rows) {
        if (r.year != m.year || m.month < r.first || m.month > r.last) continue;
        bool known = false;
        for (auto& [field, value] : out)
            if (field == r.field) {
                value = r.value;
                known = true;
            }
        if (!known) out.emplace_back(r.field, r.value);
    }
    return out;
}

}  // namespace kestrel::payroll
