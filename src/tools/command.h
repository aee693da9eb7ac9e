// kestrel-tool subcommands. Each subcommand lives in its own source file and
// registers itself with a static KESTREL_TOOL_COMMAND(...) object; main()
// dispatches on the first argument.
#pragma once

#include <string>
#include <vector>

namespace kestrel::tools {

/// Runs a subcommand with the arguments after its name; returns the exit status.
using CommandFn = int (*)(const std::vector<std::string>& args);

struct CommandRegistration {
    CommandRegistration(const char* name, const char* usage, CommandFn fn);
};

/// Dispatches argv[1] to its subcommand; prints the list of commands and
/// returns 2 when there is no such command.
int RunTool(int argc, char** argv);

}  // namespace kestrel::tools

#define KESTREL_TOOL_COMMAND(ident, name, usage, fn) \
    static ::kestrel::tools::CommandRegistration ident(name, usage, fn)
