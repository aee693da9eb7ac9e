// kestrel-tool eval: how an administrator tries a formula.
//
//   kestrel-tool eval [--var NAME=VALUE]... [--table ALIAS=PATH.DBF]...
//                     (EXPRESSION | --file PATH)
//
// Arguments and output are UTF-8; the formula runs on CP852 text as inside
// the program. Prints the value in canonical form, or the operator's error
// text; exit status 0, 1 on a formula error, 2 on a usage error.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/codepage/cp852.h"
#include "platform/formula/date.h"
#include "platform/formula/number_format.h"
#include "platform/formula/runtime.h"
#include "tools/command.h"

namespace kestrel::tools {
namespace {

using formula::Value;

// A --var value: a number, a date YYYY-MM-DD, .T./.F., NIL, or else text
// (surrounding double quotes are dropped).
Value ParseVarValue(const std::string& text) {
    if (text == "NIL" || text == "nil") return Value();
    if (text == ".T." || text == ".t." || text == ".Y." || text == ".y.")
        return Value::Logical(true);
    if (text == ".F." || text == ".f." || text == ".N." || text == ".n.")
        return Value::Logical(false);
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        const int32_t j = formula::Ctod(text);
        if (j != 0) return Value::Date(j);
    }
    if (!text.empty()) {
        size_t p = (text[0] == '-' || text[0] == '+') ? 1 : 0;
        size_t digits = 0, dot = std::string::npos;
        for (; p < text.size(); ++p) {
            if (text[p] >= '0' && text[p] <= '9')
                ++digits;
            else if (text[p] == '.' && dot == std::string::npos)
                dot = p;
            else
                break;
        }
        if (p == text.size() && digits > 0) {
            const int dec = dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
            return Value::Number(std::strtod(text.c_str(), nullptr), dec);
        }
    }
    std::string s = text;
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
    return Value::String(codepage::FromUtf8(s));
}

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrel-tool eval [--var NAME=VALUE]... [--table ALIAS=PATH.DBF]... "
                 "(EXPRESSION | --file PATH)\n");
    return 2;
}

int Eval(const std::vector<std::string>& args) {
    formula::Runtime rt;
    std::string text;
    bool have_text = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--var" || a == "--table" || a == "--file") && i + 1 >= args.size())
            return Usage();
        if (a == "--var") {
            const std::string& kv = args[++i];
            const size_t eq = kv.find('=');
            if (eq == std::string::npos || eq == 0) return Usage();
            rt.publics().Set(kv.substr(0, eq), ParseVarValue(kv.substr(eq + 1)));
        } else if (a == "--table") {
            std::fprintf(stderr,
                         "kestrel-tool eval: --table needs the table engine, "
                         "which this build does not have yet\n");
            return 2;
        } else if (a == "--file") {
            std::ifstream in(args[++i], std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "kestrel-tool eval: cannot read %s\n", args[i].c_str());
                return 2;
            }
            std::ostringstream ss;
            ss << in.rdbuf();
            text = ss.str();
            have_text = true;
        } else if (!have_text && !(a.size() > 2 && a[0] == '-' && a[1] == '-')) {
            text = a;
            have_text = true;
        } else {
            return Usage();
        }
    }
    if (!have_text) return Usage();
    formula::Program program;
    formula::Error error;
    Value result;
    if (!rt.Compile(codepage::FromUtf8(text), &program, &error) ||
        !rt.Evaluate(program, &result, &error)) {
        std::printf("%s\n", codepage::ToUtf8(error.Message()).c_str());
        return 1;
    }
    std::printf("%s\n", codepage::ToUtf8(formula::Canonical(result)).c_str());
    return 0;
}

}  // namespace

KESTREL_TOOL_COMMAND(
    eval_command, "eval",
    "eval [--var NAME=VALUE]... [--table ALIAS=PATH.DBF]... (EXPRESSION | --file PATH)", Eval);

}  // namespace kestrel::tools
