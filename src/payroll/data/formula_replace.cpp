#include "payroll/data/formula_replace.h"

#include <vector>

#include "platform/formula/lexer.h"

namespace kestrel::payroll {
namespace {

bool IsBreak(char c) {
    return c == '\r' || c == '\n' || static_cast<unsigned char>(c) == 141;
}

// A character that would make a match part of a longer token: a digit, the
// decimal point, a letter (Polish letters above 127 included) or "_".
bool JoinsToken(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (c >= '0' && c <= '9') || c == '.' || c == '_' || (c >= 'a' && c <= 'z') ||
           (c >= 'A' && c <= 'Z') || u >= 128;
}

// Which bytes of `text` lie inside a string literal, delimiters included.
// The literals are found by the formula lexer on the text without line
// breaks (as it is compiled), then marked back on the stored text; a
// literal left open runs to the end.
std::vector<bool> StringBytes(std::string_view text) {
    std::string stripped;
    std::vector<size_t> origin;  // position in `text` of each byte of `stripped`
    stripped.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsBreak(text[i])) continue;
        stripped.push_back(text[i]);
        origin.push_back(i);
    }
    std::vector<bool> inside(text.size(), false);
    auto mark = [&](size_t from, size_t to) {  // [from, to) of `stripped`
        if (from >= to) return;
        for (size_t i = origin[from]; i <= origin[to - 1]; ++i) inside[i] = true;
    };
    formula::Lexer lexer(stripped);
    for (formula::Token t = lexer.Next(); t.kind != formula::Tok::kEnd; t = lexer.Next()) {
        const size_t pos = static_cast<size_t>(t.pos);
        if (t.kind == formula::Tok::kString) {
            mark(pos, pos + t.text.size() + 2);
        } else if (t.kind == formula::Tok::kError && pos < stripped.size() &&
                   (stripped[pos] == '"' || stripped[pos] == '\'' || stripped[pos] == '[')) {
            mark(pos, stripped.size());
            break;
        }
    }
    return inside;
}

}  // namespace

std::string ReplaceWholeTokens(std::string_view formula, std::string_view old_text,
                               std::string_view new_text, int* count) {
    int found = 0;
    std::string out;
    if (old_text.empty()) {
        if (count != nullptr) *count = 0;
        return std::string(formula);
    }
    const std::vector<bool> literal = StringBytes(formula);
    out.reserve(formula.size());
    size_t p = 0;
    while (p < formula.size()) {
        bool match = formula.compare(p, old_text.size(), old_text) == 0;
        const size_t end = p + old_text.size();
        if (match) {
            for (size_t i = p; i < end && match; ++i) match = !literal[i];
        }
        if (match) {
            size_t before = p;
            while (before > 0 && IsBreak(formula[before - 1])) --before;
            if (before > 0 && JoinsToken(formula[before - 1])) match = false;
            size_t after = end;
            while (after < formula.size() && IsBreak(formula[after])) ++after;
            if (after < formula.size() && JoinsToken(formula[after])) match = false;
        }
        if (match) {
            out.append(new_text);
            ++found;
            p = end;
        } else {
            out.push_back(formula[p]);
            ++p;
        }
    }
    if (count != nullptr) *count = found;
    return out;
}

std::string Qrmrpzn(std::string_view old_text, std::string_view formula, std::string_view new_text,
                    int* count) {
    int as_stored = 0, joined = 0;
    std::string first = ReplaceWholeTokens(formula, old_text, new_text, &as_stored);
    std::string second =
        ReplaceWholeTokens(formula::StripLineBreaks(formula), old_text, new_text, &joined);
    if (joined > as_stored) {
        if (count != nullptr) *count = joined;
        return second;
    }
    if (count != nullptr) *count = as_stored;
    return first;
}

}  // namespace kestrel::payroll
