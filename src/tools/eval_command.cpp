// kestrel-tool eval: how an administrator tries a formula.
//
//   kestrel-tool eval [--var NAME=VALUE]... [--table ALIAS=PATH.DBF]...
//                     [--func NAME(PARAMS)=BODY]...
//                     [--company DIR.PK --employee NR [--list KEY]]
//                     (EXPRESSION | --file PATH)
//
// With --company the formula runs as a recalculation of that employee on the
// list (the open one, or the one of KEY) sees it before his first component:
// the company's namespace, his values in the context A0, the user functions
// of the company's PKFUNC, his register record and the list current.
// Arguments and output are UTF-8; the formula runs on CP852 text as inside
// the program. Each --table opens a dBASE III table (with its .DBT memo file)
// read-only in a new work area positioned on its first record; the last one
// given is the current work area. User functions come from an opened PKFUNC table and
// from --func. Prints the value in canonical form, or the operator's error
// text; exit status 0, 1 on a formula error, 2 on a usage error.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "common/session/runtime.h"
#include "payroll/data/employee_probe.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/dbf/formula_host.h"
#include "platform/dbf/work_area.h"
#include "platform/formula/date.h"
#include "platform/formula/number_format.h"
#include "platform/formula/runtime.h"
#include "tools/command.h"
#include "tools/company_session.h"

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

// Binds the user functions: those of an opened PKFUNC table (FUN_, PAR_,
// WZOR_), as payroll does (`from_pkfunc`: a company's host bound them
// already), then those given with --func NAME(params)=body. False after a
// usage error; a definition that does not compile is reported with the
// program's message and skipped.
bool DefineFunctions(dbf::Workspace& ws, const std::vector<std::string>& funcs,
                     formula::Runtime& rt, bool from_pkfunc) {
    std::vector<std::array<std::string, 3>> defs;
    if (dbf::WorkArea* pkfunc = from_pkfunc ? ws.Find("PKFUNC") : nullptr) {
        const int fun = pkfunc->FieldIndex("FUN_");
        const int par = pkfunc->FieldIndex("PAR_");
        const int wzor = pkfunc->FieldIndex("WZOR_");
        if (fun >= 0 && par >= 0 && wzor >= 0) {
            for (pkfunc->GoTop(); !pkfunc->eof(); pkfunc->Skip(1)) {
                const std::string name = base::TrimRight(pkfunc->record().GetString(fun));
                std::string params = pkfunc->record().GetString(par);
                std::string body;
                if (pkfunc->table().fields()[static_cast<size_t>(wzor)].type ==
                    dbf::FieldType::kMemo)
                    pkfunc->ReadMemo(wzor, &body);
                else
                    body = pkfunc->record().GetString(wzor);
                defs.push_back({name, params, body});
            }
            pkfunc->GoTop();
        }
    }
    for (const std::string& f : funcs) {
        const size_t open = f.find('('), close = f.find(')'), eq = f.find('=', close);
        if (open == std::string::npos || close == std::string::npos || eq == std::string::npos) {
            std::fprintf(stderr, "kestrel-tool eval: --func wants NAME(params)=body\n");
            return false;
        }
        defs.push_back({f.substr(0, open), f.substr(open + 1, close - open - 1),
                        codepage::FromUtf8(f.substr(eq + 1))});
    }
    for (const auto& [name, params, body] : defs) {
        formula::Error error;
        if (rt.DefineFunction(name, params, body, &error) != formula::DefineResult::kOk) {
            // CP852: "Błędna definicja funkcji "
            std::printf("%s\"%s\"\n",
                        codepage::ToUtf8("B\x88\xA9"
                                         "dna definicja funkcji ")
                            .c_str(),
                        codepage::ToUtf8(name).c_str());
        }
    }
    return true;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrel-tool eval [--var NAME=VALUE]... [--table ALIAS=PATH.DBF]... "
                 "[--func NAME(PARAMS)=BODY]... [--company DIR.PK --employee NR [--list KEY]] "
                 "(EXPRESSION | --file PATH)\n");
    return 2;
}

struct Options {
    std::vector<std::pair<std::string, std::string>> vars;    // NAME, VALUE
    std::vector<std::pair<std::string, std::string>> tables;  // ALIAS, PATH
    std::vector<std::string> funcs;                           // NAME(params)=body
    std::string company, employee, list;
    std::string text;
    bool have_text = false;
};

// False after a usage error (reported).
bool Parse(const std::vector<std::string>& args, Options* o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takes_value = a == "--var" || a == "--table" || a == "--file" || a == "--func" ||
                                 a == "--company" || a == "--employee" || a == "--list";
        if (takes_value && i + 1 >= args.size()) return false;
        if (a == "--func") {
            o->funcs.push_back(args[++i]);
        } else if (a == "--company") {
            o->company = args[++i];
        } else if (a == "--employee") {
            o->employee = args[++i];
        } else if (a == "--list") {
            o->list = args[++i];
        } else if (a == "--var" || a == "--table") {
            const std::string& kv = args[++i];
            const size_t eq = kv.find('=');
            if (eq == std::string::npos || eq == 0) return false;
            (a == "--var" ? o->vars : o->tables).push_back({kv.substr(0, eq), kv.substr(eq + 1)});
        } else if (a == "--file") {
            std::ifstream in(args[++i], std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "kestrel-tool eval: cannot read %s\n", args[i].c_str());
                return false;
            }
            std::ostringstream ss;
            ss << in.rdbuf();
            o->text = ss.str();
            o->have_text = true;
        } else if (!o->have_text && !(a.size() > 2 && a[0] == '-' && a[1] == '-')) {
            o->text = a;
            o->have_text = true;
        } else {
            return false;
        }
    }
    // An employee belongs to a company, a list to an employee's run.
    if (o->company.empty() != o->employee.empty()) return false;
    if (!o->list.empty() && o->company.empty()) return false;
    return o->have_text;
}

bool OpenTables(dbf::Workspace& ws, const Options& o) {
    for (const auto& [alias, path] : o.tables) {
        dbf::OpenOptions options;
        options.read_only = true;
        dbf::WorkArea* area = nullptr;
        const dbf::Status st = ws.Use(path, alias, options, &area);
        if (!st.ok()) {
            std::fprintf(stderr, "kestrel-tool eval: %s\n", st.ToString().c_str());
            return false;
        }
        area->GoTop();
    }
    return true;
}

// Compiles and evaluates; prints the value or the operator's text.
int Run(formula::Runtime& rt, const std::string& text) {
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

// The formula over one employee of a company, as the recalculation sees it.
int EvalInCompany(const Options& o) {
    std::string dir = o.company;
    if (!base::Exists(dir) && base::Exists(dir + ".PK")) dir += ".PK";
    if (!base::Exists(dir)) {
        std::fprintf(stderr, "kestrel-tool eval: no directory %s\n", o.company.c_str());
        return 2;
    }
    if (dir.back() != '/') dir += '/';
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        common::Tables tables(rt);
        payroll::PayrollHost host(rt, tables);
        std::vector<std::string> messages;
        std::string message;
        const bool loaded = payroll::LoadForProbe(host, o.employee, o.list, &messages, &message);
        for (const std::string& m : messages) std::printf("%s\n", codepage::ToUtf8(m).c_str());
        if (!loaded) {
            std::fprintf(stderr, "kestrel-tool eval: %s\n", codepage::ToUtf8(message).c_str());
            return 1;
        }
        for (const auto& [name, value] : o.vars)
            host.engine().publics().Set(name, ParseVarValue(value));
        if (!OpenTables(tables.workspace(), o)) return 2;
        if (!DefineFunctions(tables.workspace(), o.funcs, host.engine(), false)) return 2;
        return Run(host.engine(), o.text);
    } catch (const common::Abandon& e) {
        std::fprintf(stderr, "kestrel-tool eval: %s\n", codepage::ToUtf8(e.message()).c_str());
        return 1;
    }
}

int Eval(const std::vector<std::string>& args) {
    Options o;
    if (!Parse(args, &o)) return Usage();
    if (!o.company.empty()) return EvalInCompany(o);
    dbf::Workspace ws;
    dbf::WorkspaceHost tables(ws);
    formula::Runtime rt(&tables);
    for (const auto& [name, value] : o.vars) rt.publics().Set(name, ParseVarValue(value));
    if (!OpenTables(ws, o)) return 2;
    if (!DefineFunctions(ws, o.funcs, rt, true)) return 2;
    return Run(rt, o.text);
}

}  // namespace

KESTREL_TOOL_COMMAND(
    eval_command, "eval",
    "eval [--var NAME=VALUE]... [--table ALIAS=PATH.DBF]... [--func NAME(PARAMS)=BODY]... "
    "[--company DIR.PK --employee NR [--list KEY]] (EXPRESSION | --file PATH)",
    Eval);

}  // namespace kestrel::tools
