// The transfer to the income records killed at different moments and run
// again gives the records of one uninterrupted run: never an amount counted
// twice or lost.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "headless_runtime.h"
#include "tax/records/tax_transfer.h"
#include "tax_company.h"

namespace kestrel::tax {
namespace {

namespace fs = std::filesystem;
using testing::TaxCompany;

constexpr int kEmployees = 120;

// PKDOCH's visible records, sorted: what the forms are built from.
std::vector<std::string> Visible(TaxCompany& c) {
    std::vector<std::string> out;
    for (const std::string& r : c.Doch())
        if (r.back() != '*') out.push_back(r);
    std::sort(out.begin(), out.end());
    return out;
}

// The record count of the header, read without opening the table (an open
// would take the locks the transfer waits for).
uint32_t RecordCount(const std::string& dbf) {
    std::FILE* f = std::fopen(dbf.c_str(), "rb");
    if (f == nullptr) return 0;
    unsigned char head[8] = {};
    const size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    if (got != sizeof head) return 0;
    return head[4] | head[5] << 8 | head[6] << 16 | static_cast<uint32_t>(head[7]) << 24;
}

void CopyCompany(const std::string& from, const std::string& to) {
    fs::remove_all(to);
    fs::copy(from, to, fs::copy_options::recursive);
}

TEST(TaxTransferKilled, RunAgainAfterAKillGivesTheRecordsOfOneRun) {
    TaxCompany pristine;
    const payroll::PayrollList a = pristine.List("2026", "A", 1, "03", "20260310", false);
    for (int i = 1; i <= kEmployees; ++i) {
        char nr[8];
        std::snprintf(nr, sizeof nr, "%06d", i);
        pristine.Position(a, nr, "ZASA", 4000 + i);
        pristine.Position(a, nr, "KOSZ", 250);
        pristine.Position(a, nr, "ZALI", 300 + i);
    }
    pristine.tables.CloseAll();
    const std::string source = pristine.dir.path();

    TaxCompany whole;
    CopyCompany(source, whole.dir.path());
    ASSERT_EQ(Transfer(whole.h.rt, whole.tables).message, "");
    const std::vector<std::string> expected = Visible(whole);
    ASSERT_EQ(expected.size(), static_cast<size_t>(kEmployees));

    for (uint32_t kill_at : {1u, 7u, 30u, 77u}) {
        TaxCompany c;
        CopyCompany(source, c.dir.path());
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            kestrel::testing::HeadlessRuntime h;
            h.rt.set_data_dir(c.dir.path() + "/");
            try {
                common::Tables tables(h.rt);
                Transfer(h.rt, tables);
            } catch (...) {
                _exit(3);
            }
            // Done before the kill: wait for it, so that every run is killed.
            for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
        }
        const std::string doch = c.dir.File("PKDOCH.DBF");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (RecordCount(doch) < kill_at && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status));
        TransferOutcome again;
        try {
            again = Transfer(c.h.rt, c.tables);
        } catch (const console::ScriptEnded&) {
            FAIL() << "asked after the kill at " << kill_at << ": " << c.h.ShownRow(23);
        }
        EXPECT_EQ(again.message, "") << kill_at;
        EXPECT_EQ(Visible(c), expected) << "killed at record " << kill_at;
        std::vector<std::string> marks = c.Marks();
        EXPECT_EQ(std::count(marks.begin(), marks.end(), "T"), 3 * kEmployees) << kill_at;
    }
}

}  // namespace
}  // namespace kestrel::tax
