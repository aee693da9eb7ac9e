// KESTREL — program entry.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/screen/error_screen.h"
#include "common/session/runtime.h"
#include "platform/base/clock.h"
#include "platform/codepage/cp852.h"
#include "platform/console/console.h"
#include "platform/console/headless_backend.h"
#include "platform/console/terminal_backend.h"
#include "startup/command_line.h"
#include "startup/directories.h"
#include "startup/program.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitScriptEnded = 3;

void Usage() {
    std::fprintf(stderr,
                 "użycie: kestrel [katalog_firmy] [/D:drukarka] [--script PLIK] [--screens KATALOG]"
                 " [--now \"RRRR-MM-DD GG:MM\"]\n");
}

// The error text and the calling routines, one line each.
void PrintQuitLines(const kestrel::common::ProgramQuit& quit) {
    for (const std::string& line : quit.lines)
        std::printf("%s\n", kestrel::codepage::ToUtf8(line).c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kestrel;
    startup::CommandLine cl;
    std::string error;
    if (!startup::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), &cl, &error)) {
        std::fprintf(stderr, "kestrel: %s\n", error.c_str());
        Usage();
        return kExitUsage;
    }

    std::error_code cwd_error;
    const std::string cwd = std::filesystem::current_path(cwd_error).string();
    startup::StartOptions start;
    start.dirs = startup::ResolveDirectories(cwd, cl.company, std::getenv("QRMAKORD"));
    start.printer = cl.printer;
    start.company_param = cl.company;

    std::unique_ptr<base::Clock> clock;
    if (cl.now)
        clock = std::make_unique<base::FixedClock>(*cl.now);
    else
        clock = std::make_unique<base::SystemClock>();

    if (!cl.script.empty()) {
        std::ifstream in(cl.script, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "kestrel: nie można otworzyć skryptu %s\n", cl.script.c_str());
            return kExitUsage;
        }
        std::stringstream text;
        text << in.rdbuf();
        console::HeadlessBackend backend;
        base::Status s = backend.AddScript(text.str());
        if (!s.ok()) {
            std::fprintf(stderr, "kestrel: %s\n", s.message().c_str());
            return kExitUsage;
        }
        if (!cl.screens.empty()) {
            std::error_code ec;
            std::filesystem::create_directories(cl.screens, ec);
            if (ec) {
                std::fprintf(stderr, "kestrel: nie można utworzyć katalogu %s\n",
                             cl.screens.c_str());
                return kExitUsage;
            }
            backend.set_screens_dir(cl.screens);
        }
        console::Console con(backend);
        common::Runtime rt(con, *clock);
        try {
            return startup::RunProgram(rt, start);
        } catch (const console::ScriptEnded&) {
            backend.WriteScreen("final");
            return kExitScriptEnded;
        } catch (const common::ProgramQuit& quit) {
            backend.WriteScreen("final");
            PrintQuitLines(quit);
            return quit.status;
        }
    }

    std::unique_ptr<console::TerminalBackend> terminal;
    base::Status s = console::TerminalBackend::Open(&terminal);
    if (!s.ok()) {
        std::fprintf(stderr, "kestrel: %s\n", s.message().c_str());
        return 1;
    }
    int status;
    common::ProgramQuit quit;
    {
        console::Console con(*terminal);
        common::Runtime rt(con, *clock);
        try {
            status = startup::RunProgram(rt, start);
        } catch (common::ProgramQuit& q) {
            quit = std::move(q);
            status = quit.status;
        }
    }
    // The error screen's Quit prints on the plain console, after the terminal is back.
    terminal.reset();
    PrintQuitLines(quit);
    return status;
}
