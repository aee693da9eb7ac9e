// Start-up time: from exec to the first key wait of the main menu, headless.
//
// The program is started 100 times on the demo company with an empty key
// script: it loads the configuration, draws the main screen and the main
// menu, finds no key and ends. The baseline is a C++ program that only
// prints, started the same way.
//
//   startup_bench KESTREL KESTREL-TOOL TRIVIAL
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

double RunOnce(const std::vector<std::string>& argv, const std::string& cwd) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string here = std::filesystem::current_path().string();
    std::filesystem::current_path(cwd);
    auto start = std::chrono::steady_clock::now();
    pid_t pid;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    auto end = std::chrono::steady_clock::now();
    std::filesystem::current_path(here);
    posix_spawn_file_actions_destroy(&actions);
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_bench KESTREL KESTREL-TOOL TRIVIAL\n");
        return 2;
    }
    const auto root = std::filesystem::temp_directory_path() /
                      ("kestrel_startup_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(root);
    const std::string tool = std::filesystem::absolute(argv[2]).string();
    RunOnce({tool, "demo", root.string()}, root.string());
    const std::string script = (root / "empty.keys").string();
    std::ofstream(script).close();

    const std::string kestrel = std::filesystem::absolute(argv[1]).string();
    const std::string trivial = std::filesystem::absolute(argv[3]).string();
    const int kRuns = 100;
    std::vector<double> ours, base;
    for (int i = 0; i < kRuns; ++i) {
        ours.push_back(RunOnce({kestrel, "DEMO", "--script", script, "--now", "2026-12-08 09:30"},
                               root.string()));
        base.push_back(RunOnce({trivial}, root.string()));
    }
    const double m = Median(ours);
    const double b = Median(base);
    std::printf("start-up to the first key wait, median of %d runs: %.2f ms\n", kRuns, m);
    std::printf("trivial C++ program, median of %d runs:            %.2f ms\n", kRuns, b);
    std::printf("ratio: %.2f (targets: under 20 ms and under 10 times the trivial program)\n",
                m / b);
    std::filesystem::remove_all(root);
    return 0;
}
