// Two workstations (processes) registering at the same time.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>

#include "common/session/abandon.h"
#include "employee_test_support.h"

namespace kestrel::registry {
namespace {

using testing::Company;

constexpr int kEach = 20;

// Registers kEach people with proposed numbers, writing each number taken
// to `out`; exits 0 when every registration went through.
[[noreturn]] void Workstation(const std::string& dir, int go, int out, char tag) {
    int status = 1;
    try {
        kestrel::testing::HeadlessRuntime h;
        h.rt.set_data_dir(dir + "/");
        // Short pauses, but patient: a loaded machine may hold a lock longer
        // than a few retries, and a workstation must not ask the operator.
        common::RetryPolicy quick;
        quick.pause_ms = 1;
        quick.silent_locks = quick.silent_appends = quick.silent_opens = 20000;
        common::Tables tables(h.rt, quick);
        const RegisterAreas areas = OpenRegister(tables);
        char c = 0;
        if (::read(go, &c, 1) != 1) ::_exit(3);
        status = 0;
        for (int i = 0; i < kEach; ++i) {
            Registration reg(h.rt, tables, areas);
            const std::string number = reg.ReserveNext(EmployeeKind::kStaff);
            if (number.empty()) {
                status = 2;
                break;
            }
            reg.ApplyDefaults(EmployeeKind::kStaff);
            reg.record().set_surname(std::string("PROCES ") + tag + std::to_string(i));
            reg.Confirm();
            const std::string line = number + "\n";
            if (::write(out, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
                status = 4;
            }
        }
    } catch (const common::Abandon&) {
        status = 5;
    }
    ::_exit(status);
}

TEST(RegistrationProcesses, TwoWorkstationsNeverGetOneNumber) {
    Company c;
    c.Register("000001", "Pierwszy", "Jan");
    c.tables.reset();  // the children work alone on the directory
    int go[2], out[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(out), 0);
    pid_t pids[2];
    for (int i = 0; i < 2; ++i) {
        pids[i] = ::fork();
        if (pids[i] == 0) {
            ::close(go[1]);
            ::close(out[0]);
            Workstation(c.dir.path(), go[0], out[1], static_cast<char>('A' + i));
        }
    }
    ::close(go[0]);
    ::close(out[1]);
    ASSERT_EQ(::write(go[1], "xx", 2), 2);  // both start at once
    ::close(go[1]);
    std::string taken;
    char buf[256];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) taken.append(buf, n);
    ::close(out[0]);
    for (pid_t pid : pids) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }

    std::multiset<std::string> numbers;
    for (size_t at = 0; at + 7 <= taken.size(); at += 7) numbers.insert(taken.substr(at, 6));
    EXPECT_EQ(numbers.size(), 2u * kEach);
    const std::set<std::string> distinct(numbers.begin(), numbers.end());
    EXPECT_EQ(distinct.size(), numbers.size());

    c.Reopen();
    const std::vector<std::string> live = c.NumbersIn(kByNumber);
    EXPECT_EQ(live.size(), 2u * kEach + 1);
    EXPECT_EQ(std::set<std::string>(live.begin(), live.end()).size(), live.size());
    c.ExpectIndexesRight(c.prac());
    c.ExpectIndexesRight(*c.areas.ekprc);
}

}  // namespace
}  // namespace kestrel::registry
