#include "tools/command.h"

#include <cstdio>
#include <map>

namespace kestrel::tools {
namespace {

struct Entry {
    const char* usage;
    CommandFn fn;
};

std::map<std::string, Entry>& Registry() {
    static std::map<std::string, Entry> registry;
    return registry;
}

}  // namespace

CommandRegistration::CommandRegistration(const char* name, const char* usage, CommandFn fn) {
    Registry()[name] = Entry{usage, fn};
}

int RunTool(int argc, char** argv) {
    if (argc < 2 || Registry().find(argv[1]) == Registry().end()) {
        std::fprintf(stderr, "usage: kestrel-tool <command> ...\ncommands:\n");
        for (const auto& [name, entry] : Registry()) std::fprintf(stderr, "  %s\n", entry.usage);
        return 2;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    return Registry()[argv[1]].fn(args);
}

}  // namespace kestrel::tools
