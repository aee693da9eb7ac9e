// kestrel-tool eval: how an administrator tries a formula.
//
//   kestrel-tool eval [--var NAME=VALUE]... [--table ALIAS=PATH.DBF]...
//                     (EXPRESSION | --file PATH)
//
// Arguments and output are UTF-8; the formula runs on CP852 text as inside
// the program. Each --table opens a dBASE III table (with its .DBT memo file)
// in a new work area positioned on its first record; the last one given is
// the current work area. Prints the value in canonical form, or the operator's error
// text; exit status 0, 1 on a formula error, 2 on a usage error.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/codepage/cp852.h"
#include "platform/formula/date.h"
#include "platform/formula/memory_host.h"
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

uint32_t Le(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

bool ReadFile(const std::string& path, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    *out = ss.str();
    return true;
}

// The memo text of block `block` of a .DBT file: up to the first 0x1A.
std::string MemoText(const std::string& dbt, long block) {
    if (block <= 0 || static_cast<size_t>(block) * 512 >= dbt.size()) return std::string();
    const size_t start = static_cast<size_t>(block) * 512;
    const size_t end = dbt.find('\x1a', start);
    return dbt.substr(start, (end == std::string::npos ? dbt.size() : end) - start);
}

// Loads a dBASE III table (and its .DBT memo file when there is one) into
// memory, read-only. Returns an error text, or "" on success. The table
// engine replaces this once it is merged.
std::string LoadDbf(const std::string& alias, const std::string& path,
                    formula::MemoryTableHost::Table* table) {
    std::string b;
    if (!ReadFile(path, &b)) return "cannot read " + path;
    if (b.size() < 32) return path + ": not a DBF file";
    const uint32_t count = Le(b, 4, 4), header = Le(b, 8, 2), reclen = Le(b, 10, 2);
    if (header < 33 || header > b.size() || reclen == 0) return path + ": not a DBF file";
    std::string dbt;
    const std::string base = path.substr(0, path.size() - (path.size() >= 4 ? 4 : 0));
    if (!ReadFile(base + ".DBT", &dbt)) ReadFile(base + ".dbt", &dbt);
    table->alias = alias;
    std::vector<size_t> offsets;
    size_t offset = 1;
    for (size_t at = 32; at + 32 <= header && b[at] != '\x0d'; at += 32) {
        formula::MemoryTableHost::Field f;
        f.name = std::string(b.c_str() + at, strnlen(b.c_str() + at, 11));
        f.type = b[at + 11];
        f.length = static_cast<unsigned char>(b[at + 16]);
        f.decimals = static_cast<unsigned char>(b[at + 17]);
        table->fields.push_back(f);
        offsets.push_back(offset);
        offset += f.length;
    }
    for (uint32_t r = 0; r < count; ++r) {
        const size_t at = header + static_cast<size_t>(r) * reclen;
        if (at + reclen > b.size()) break;
        std::vector<Value> record;
        for (size_t i = 0; i < table->fields.size(); ++i) {
            const auto& f = table->fields[i];
            const std::string raw = b.substr(at + offsets[i], f.length);
            switch (f.type) {
                case 'N':
                    record.push_back(Value::Number(std::strtod(raw.c_str(), nullptr), f.decimals,
                                                   f.length - (f.decimals ? f.decimals + 1 : 0)));
                    break;
                case 'D':
                    record.push_back(Value::Date(formula::Stod(raw)));
                    break;
                case 'L':
                    record.push_back(Value::Logical(raw.find_first_of("TtYy") == 0));
                    break;
                case 'M':
                    record.push_back(Value::String(MemoText(dbt, std::atol(raw.c_str()))));
                    break;
                default:
                    record.push_back(Value::String(raw));
                    break;
            }
        }
        table->records.push_back(std::move(record));
        table->deleted.push_back(b[at] == '*');
    }
    return std::string();
}

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrel-tool eval [--var NAME=VALUE]... [--table ALIAS=PATH.DBF]... "
                 "(EXPRESSION | --file PATH)\n");
    return 2;
}

int Eval(const std::vector<std::string>& args) {
    formula::MemoryTableHost tables;
    formula::Runtime rt(&tables);
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
            const std::string& kv = args[++i];
            const size_t eq = kv.find('=');
            if (eq == std::string::npos || eq == 0) return Usage();
            formula::MemoryTableHost::Table table;
            const std::string err = LoadDbf(kv.substr(0, eq), kv.substr(eq + 1), &table);
            if (!err.empty()) {
                std::fprintf(stderr, "kestrel-tool eval: %s\n", err.c_str());
                return 2;
            }
            tables.AddTable(std::move(table));
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
