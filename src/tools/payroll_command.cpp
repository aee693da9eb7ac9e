#include "tools/payroll_command.h"

#include "platform/codepage/cp852.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/base/files.h"

namespace kestrel::tools {
namespace {

struct Action {
    const char* usage;
    CommandFn fn;
};

std::map<std::string, Action>& Actions() {
    static std::map<std::string, Action> actions;
    return actions;
}

int Payroll(const std::vector<std::string>& args) {
    if (args.empty() || Actions().find(args[0]) == Actions().end()) {
        std::fprintf(stderr, "usage: kestrel-tool payroll <action> DIR.PK ...\nactions:\n");
        for (const auto& [name, action] : Actions())
            std::fprintf(stderr, "  kestrel-tool payroll %s\n", action.usage);
        return 2;
    }
    return Actions()[args[0]].fn(std::vector<std::string>(args.begin() + 1, args.end()));
}

KESTREL_TOOL_COMMAND(payroll_command, "payroll", "payroll <action> DIR.PK ...", Payroll);

}  // namespace

PayrollActionRegistration::PayrollActionRegistration(const char* name, const char* usage,
                                                     CommandFn fn) {
    Actions()[name] = Action{usage, fn};
}

int Refuse(const std::string& cp852) {
    std::fprintf(stderr, "%s\n", codepage::ToUtf8(cp852).c_str());
    return 1;
}

std::string PayrollCompanyDir(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fprintf(stderr, "kestrel-tool payroll: no company directory\n");
        return "";
    }
    std::string dir = args[0];
    if (!base::Exists(dir)) {
        std::fprintf(stderr, "kestrel-tool payroll: no directory %s\n", dir.c_str());
        return "";
    }
    if (dir.back() != '/') dir += '/';
    return dir;
}

bool TakeFlag(std::vector<std::string>* args, const std::string& flag) {
    const auto it = std::find(args->begin(), args->end(), flag);
    if (it == args->end()) return false;
    args->erase(it);
    return true;
}

bool TakeOption(std::vector<std::string>* args, const std::string& flag, std::string* value) {
    const auto it = std::find(args->begin(), args->end(), flag);
    if (it == args->end()) {
        value->clear();
        return false;
    }
    auto end = it + 1;
    if (end != args->end()) {
        *value = *end;
        ++end;
    } else {
        value->clear();
    }
    args->erase(it, end);
    return true;
}

}  // namespace kestrel::tools
