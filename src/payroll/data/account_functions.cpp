#include "payroll/data/account_functions.h"

#include "common/checks/identifiers.h"
#include "common/checks/scramble.h"
#include "platform/base/text.h"
#include "platform/formula/runtime.h"

namespace kestrel::payroll {
namespace {

using formula::Call;
using formula::Value;

bool TextArgument(Call& c, std::string_view* out) {
    const Value& v = c.Arg(0);
    if (!v.IsString()) return c.ArgError(1);
    *out = v.str();
    return true;
}

}  // namespace

std::string NrbDigits(std::string_view text) {
    std::string digits;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '-')) ++i;
    if (i + 1 < text.size() && (text[i] == 'P' || text[i] == 'p') &&
        (text[i + 1] == 'L' || text[i + 1] == 'l'))
        i += 2;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == ' ' || ch == '-') continue;
        if (ch < '0' || ch > '9') return {};
        digits += ch;
    }
    if (digits.size() != 26 || !common::CheckIban(digits)) return {};
    return digits;
}

std::string BankText(std::string_view text, int lines) {
    std::string t = base::Trim(text);
    for (char& c : t)
        if (c == '"') c = '\'';
    std::string out;
    for (int i = 0; i < lines && static_cast<size_t>(i) * 35 < t.size(); ++i) {
        if (i > 0) out += '|';
        out += base::Trim(t.substr(static_cast<size_t>(i) * 35, 35));
    }
    return out;
}

void RegisterAccountFunctions(formula::Runtime& engine) {
    engine.RegisterFunction("ROR_TEKST", [](Call& c) {
        std::string_view text;
        if (!TextArgument(c, &text)) return false;
        const Value& n = c.Arg(1);
        if (!n.IsNil() && (!n.IsNumber() || n.number() < 1 || n.number() > 4)) return c.ArgError(2);
        c.result = Value::String(BankText(text, n.IsNil() ? 4 : static_cast<int>(n.number())));
        return true;
    });
    engine.RegisterFunction("NRB_OK", [](Call& c) {
        const Value& v = c.Arg(0);
        c.result = Value::Logical(v.IsString() && !NrbDigits(v.str()).empty());
        return true;
    });
    engine.RegisterFunction("NRB", [](Call& c) {
        std::string_view text;
        if (!TextArgument(c, &text)) return false;
        c.result = Value::String(NrbDigits(text));
        return true;
    });
    engine.RegisterFunction("PRZERWIJ", [](Call& c) {
        std::string_view text;
        if (!TextArgument(c, &text)) return false;
        return c.Fail(formula::Error::Host(std::string(text)));
    });
    struct Clear {
        const char* name;
        common::ScrambleKind kind;
    };
    for (const Clear& s : {Clear{"DKY", common::ScrambleKind::kName},
                           Clear{"DKZ", common::ScrambleKind::kIdentity}}) {
        if (engine.HasFunction(s.name)) continue;
        const common::ScrambleKind kind = s.kind;
        engine.RegisterFunction(s.name, [kind](Call& c) {
            std::string_view text;
            if (!TextArgument(c, &text)) return false;
            c.result = Value::String(common::Unscramble(kind, text));
            return true;
        });
    }
}

}  // namespace kestrel::payroll
