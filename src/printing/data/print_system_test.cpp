#include "printing/data/print_system.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kestrel::printing {
namespace {

TEST(PrintSystem, ChildProcessesWithoutAShell) {
    // The arguments reach the program as they are: no shell splits them.
    const CommandResult r =
        RunCommand({"sh", "-c", "echo \"$0|$LC_ALL\"; echo err >&2; exit 3", "a b;c"}, 10);
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.exit_code, 3);
    EXPECT_EQ(r.out, "a b;c|C\n");
    EXPECT_EQ(r.err, "err\n");

    const CommandResult missing = RunCommand({"kestrel-no-such-program-here"}, 10);
    EXPECT_FALSE(missing.started);
}

TEST(PrintSystem, WithoutCommandsThereAreNoQueues) {
    // A machine without the CUPS commands: an answer, not a stop.
    const char* path = std::getenv("PATH");
    const std::string saved = path != nullptr ? path : "";
    setenv("PATH", "/nonexistent", 1);
    CupsPrintSystem cups(5);
    std::vector<std::string> queues = {"stale"};
    const bool listed = cups.Queues(&queues);
    const std::string default_queue = cups.DefaultQueue();
    std::string job;
    const base::Status sent = cups.Submit("LPT1", "/etc/hostname", true, &job);
    setenv("PATH", saved.c_str(), 1);
    EXPECT_FALSE(listed);
    EXPECT_TRUE(queues.empty());
    EXPECT_EQ(default_queue, "");
    EXPECT_FALSE(sent.ok());
    EXPECT_EQ(sent.message().substr(0, 8), "exit 127");
}

TEST(PrintSystem, AnswersOfTheCommands) {
    EXPECT_EQ(ParseDefaultQueue("system default destination: LASER\n"), "LASER");
    EXPECT_EQ(ParseDefaultQueue("no system default destination\n"), "");
    EXPECT_EQ(ParseJobId("request id is LASER-12 (1 file(s))\n"), "LASER-12");
    EXPECT_EQ(ParseJobId("lp: The printer or class does not exist.\n"), "");
}

}  // namespace
}  // namespace kestrel::printing
