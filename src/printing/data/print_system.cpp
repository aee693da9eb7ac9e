#include "printing/data/print_system.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "platform/base/text.h"

extern char** environ;

namespace kestrel::printing {
namespace {

// The environment of a child: ours with the C locale, so the commands
// answer in the words the parsers expect.
std::vector<std::string> ChildEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        const std::string_view v(*e);
        if (v.rfind("LC_", 0) == 0 || v.rfind("LANG=", 0) == 0 || v.rfind("LANGUAGE=", 0) == 0)
            continue;
        env.emplace_back(v);
    }
    env.emplace_back("LC_ALL=C");
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (std::string& s : strings) p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& argv_in, int timeout_seconds) {
    CommandResult r;
    if (argv_in.empty()) return r;
    std::vector<std::string> argv = argv_in;
    std::vector<std::string> env = ChildEnvironment();
    std::vector<char*> args = Pointers(argv);
    std::vector<char*> envp = Pointers(env);
    int out_pipe[2], err_pipe[2], exec_pipe[2];
    if (::pipe2(out_pipe, O_CLOEXEC) != 0) return r;
    if (::pipe2(err_pipe, O_CLOEXEC) != 0) {
        ::close(out_pipe[0]), ::close(out_pipe[1]);
        return r;
    }
    if (::pipe2(exec_pipe, O_CLOEXEC) != 0) {
        ::close(out_pipe[0]), ::close(out_pipe[1]), ::close(err_pipe[0]), ::close(err_pipe[1]);
        return r;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        // The child: only async-signal-safe calls until exec.
        const int null = ::open("/dev/null", O_RDONLY);
        if (null >= 0) ::dup2(null, 0);
        ::dup2(out_pipe[1], 1);
        ::dup2(err_pipe[1], 2);
        ::setpgid(0, 0);
        ::execvpe(args[0], args.data(), envp.data());
        const int e = errno;
        ssize_t ignored = ::write(exec_pipe[1], &e, sizeof e);
        (void)ignored;
        ::_exit(127);
    }
    ::close(out_pipe[1]);
    ::close(err_pipe[1]);
    ::close(exec_pipe[1]);
    if (pid < 0) {
        ::close(out_pipe[0]), ::close(err_pipe[0]), ::close(exec_pipe[0]);
        return r;
    }
    int exec_errno = 0;
    const bool exec_failed = ::read(exec_pipe[0], &exec_errno, sizeof exec_errno) ==
                             static_cast<ssize_t>(sizeof exec_errno);
    ::close(exec_pipe[0]);
    r.started = !exec_failed;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
    pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
    int open_fds = 2;
    char buf[4096];
    while (open_fds > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            r.timed_out = true;
            break;
        }
        const int n = ::poll(fds, 2, static_cast<int>(left.count()));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            const ssize_t got = ::read(fds[i].fd, buf, sizeof buf);
            if (got > 0) {
                (i == 0 ? r.out : r.err).append(buf, static_cast<size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open_fds;
            }
        }
    }
    if (r.timed_out) {
        ::kill(-pid, SIGKILL);
        ::kill(pid, SIGKILL);
    }
    for (pollfd& f : fds)
        if (f.fd >= 0) ::close(f.fd);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!r.timed_out && WIFEXITED(status)) r.exit_code = WEXITSTATUS(status);
    return r;
}

std::string ParseDefaultQueue(const std::string& text) {
    const std::string marker = "system default destination:";
    const size_t at = text.find(marker);
    if (at == std::string::npos) return "";
    std::string rest = text.substr(at + marker.size());
    const size_t eol = rest.find('\n');
    if (eol != std::string::npos) rest.resize(eol);
    return base::TrimWhitespace(rest);
}

std::string ParseJobId(const std::string& text) {
    const std::string marker = "request id is ";
    const size_t at = text.find(marker);
    if (at == std::string::npos) return "";
    const size_t from = at + marker.size();
    size_t to = from;
    while (to < text.size() && text[to] != ' ' && text[to] != '\n') ++to;
    return text.substr(from, to - from);
}

PrintSystem& LocalPrinters() {
    static CupsPrintSystem cups;
    return cups;
}

bool CupsPrintSystem::Queues(std::vector<std::string>* queues) {
    queues->clear();
    const CommandResult r = RunCommand({"lpstat", "-e"}, timeout_);
    if (!r.started || r.timed_out || r.exit_code != 0) return false;
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
        line = base::TrimWhitespace(line);
        if (!line.empty()) queues->push_back(line);
    }
    return true;
}

std::string CupsPrintSystem::DefaultQueue() {
    const CommandResult r = RunCommand({"lpstat", "-d"}, timeout_);
    if (!r.started || r.timed_out || r.exit_code != 0) return "";
    return ParseDefaultQueue(r.out);
}

base::Status CupsPrintSystem::Submit(const std::string& queue, const std::string& file, bool raw,
                                     std::string* job) {
    std::vector<std::string> argv = {"lp", "-d", queue};
    if (raw) {
        argv.push_back("-o");
        argv.push_back("raw");
    }
    // An absolute path: never taken for an option, and right whatever the
    // child's directory.
    argv.push_back(std::filesystem::absolute(file).string());
    const CommandResult r = RunCommand(argv, timeout_);
    if (!r.started) return base::Status::NotSupported("exit 127: lp cannot be run");
    if (r.timed_out) return base::Status::IOError("exit 99: lp gave no answer in time");
    if (r.exit_code != 0)
        return base::Status::IOError("exit " + std::to_string(r.exit_code) + ": " +
                                     base::TrimWhitespace(r.err));
    if (job != nullptr) *job = ParseJobId(r.out);
    return base::Status::Ok();
}

}  // namespace kestrel::printing
