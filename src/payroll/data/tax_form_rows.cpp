#include "payroll/data/tax_form_rows.h"

#include <sstream>

namespace kestrel::payroll {

extern const char* const kTaxFormRowsText;

namespace {

// `line` without its first word and the blanks around the rest.
std::string Rest(const std::string& line, const std::string& first) {
    std::string rest = line.substr(line.find(first) + first.size());
    const auto begin = rest.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    const auto end = rest.find_last_not_of(" \t\r");
    return rest.substr(begin, end - begin + 1);
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

bool ParseTaxFormRows(std::string_view text, std::vector<TaxFormRows>* out, std::string* error) {
    out->clear();
    std::istringstream in{std::string(text)};
    std::string line;
    int block_line = 0;
    const auto fail = [&](int number, const char* reason) {
        *error = "line " + std::to_string(number) + ": " + reason;
        out->clear();
        return false;
    };
    int number = 1;
    for (; std::getline(in, line); ++number) {
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword.empty() || keyword[0] == '#') continue;
        if (keyword == "FIELD") {
            if (!out->empty() && out->back().rows.empty()) return fail(block_line, "no rows");
            TaxFormRows block;
            words >> block.field;
            block.form = Rest(Rest(line, keyword), block.field);
            if (block.field.empty() || block.form.empty())
                return fail(number, "field and form expected");
            if (FindTaxFormRows(*out, block.field)) return fail(number, "field listed twice");
            out->push_back(block);
            block_line = number;
            continue;
        }
        if (keyword != "SOURCE" && keyword != "ROW") return fail(number, "unknown line");
        if (out->empty()) return fail(number, "outside a block");
        TaxFormRows& block = out->back();
        if (keyword == "SOURCE") {
            if (!block.source.empty()) return fail(number, "second source");
            block.source = Rest(line, keyword);
            if (block.source.empty()) return fail(number, "source expected");
            continue;
        }
        if (block.source.empty()) return fail(number, "row before the source");
        std::string value;
        words >> value;
        const std::string label = value.empty() ? "" : Rest(Rest(line, keyword), value);
        if (value.empty() || label.empty()) return fail(number, "value and label expected");
        if (value.size() > 3) return fail(number, "value longer than three characters");
        for (const auto& row : block.rows)
            if (row.first == value) return fail(number, "value listed twice");
        block.rows.emplace_back(value, label);
    }
    if (!out->empty() && out->back().rows.empty()) return fail(block_line, "no rows");
    return true;
}

std::string_view ShippedTaxFormRowsText() {
    return kTaxFormRowsText;
}

const std::vector<TaxFormRows>& ShippedTaxFormRows() {
    static const std::vector<TaxFormRows> all = [] {
        std::vector<TaxFormRows> blocks;
        std::string error;
        if (!ParseTaxFormRows(kTaxFormRowsText, &blocks, &error)) blocks.clear();
        return blocks;
    }();
    return all;
}

const TaxFormRows* FindTaxFormRows(const std::vector<TaxFormRows>& all, std::string_view field) {
    for (const TaxFormRows& block : all)
        if (block.field == field) return &block;
    return nullptr;
}

bool TaxFormRowAllowed(const TaxFormRows& rows, std::string_view value) {
    value = Trimmed(value);
    if (value.empty()) return true;
    for (const auto& row : rows.rows)
        if (row.first == value) return true;
    return false;
}

std::vector<std::string> TaxFormRowValues(const TaxFormRows& rows) {
    std::vector<std::string> values = {""};
    for (const auto& row : rows.rows) values.push_back(row.first);
    return values;
}

}  // namespace kestrel::payroll
