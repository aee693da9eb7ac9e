// bank_bench: the bank file (4.A.2) of January 2027 in the payroll
// benchmarks' company of 10,000 employees (see payroll_bench_company.h),
// every employee with an account and a net pay DOWY on the open list, with
// the shipped Elixir-O bank of data/payroll/PKWROR.setup (the NRB check of
// both accounts and the name and address fields in every line).
//
// Times reading the list's positions alone (the reference: what any
// output of the list must do) and the whole run writing the file, and
// reports their ratio (target: within 5).
//
// The company is built once into cache/ beside the program and copied to
// work/ for every run.
//
// Usage: bank_bench [--employees N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "bank_bench_company.h"
#include "common/tables/setup_files.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "payroll/bank/data/bank_run.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/positions.h"
#include "payroll/data/setup_install.h"
#include "payroll_bench_company.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"

namespace {

using namespace kestrel;

constexpr int kVersion = 1;  // of the bank part below

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", codepage::ToUtf8(what).c_str());
    std::exit(1);
}

payroll::PayrollList OpenList(common::Runtime& rt, common::Tables& tables) {
    const payroll::OpenLists open = payroll::FindOpenLists(rt, tables);
    if (open.lists.empty()) Fail("no open list");
    return open.lists.front();
}

void Configure(common::Runtime& rt, const std::string& out) {
    rt.config().Set("NAGL73", memfile::MemValue::Char("Firma Testowa Sp. z o.o."));
    rt.config().Set("NAGL74", memfile::MemValue::Char("61109010140000071219812874"));
    rt.config().Set("NAGLRORPLI", memfile::MemValue::Char(out));
}

double ReadPositions(const std::string& dir, size_t* count) {
    testing::HeadlessRuntime h;
    h.rt.set_data_dir(dir);
    common::Tables tables(h.rt);
    const payroll::PayrollList list = OpenList(h.rt, tables);
    const auto start = std::chrono::steady_clock::now();
    payroll::Positions positions(h.rt, tables);
    *count = positions.OfList(list).size();
    return Seconds(start);
}

double WriteFile(const std::string& dir, const std::string& out, payroll::bank::BankOutcome* done) {
    testing::HeadlessRuntime h;
    h.rt.set_data_dir(dir);
    Configure(h.rt, out);
    common::Tables tables(h.rt);
    const payroll::PayrollList list = OpenList(h.rt, tables);
    const auto start = std::chrono::steady_clock::now();
    payroll::bank::BankRun run(h.rt, tables, list, nullptr);
    if (std::string m = run.Check(); !m.empty()) Fail(m);
    *done = run.Run();
    const double s = Seconds(start);
    if (!done->completed) Fail(done->message);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    int employees = 10000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--employees") == 0) employees = std::atoi(argv[i + 1]);
    const std::filesystem::path here =
        std::filesystem::absolute(std::filesystem::path(argv[0])).parent_path();
    const std::string cache = (here / "cache" / std::to_string(employees)).string() + "/";
    const std::string ready =
        cache + "READY" + std::to_string(bench::kCompanyVersion) + "." + std::to_string(kVersion);
    if (!std::filesystem::exists(ready)) {
        std::fprintf(stderr, "building the company of %d employees in %s ...\n", employees,
                     cache.c_str());
        std::filesystem::remove_all(cache);
        std::filesystem::create_directories(cache);
        bench::MakeCompany(cache, employees);
        bench::SetAccounts(cache);
        bench::MakeBank(cache, employees);
        {
            // The index files are built by the first open; the bank from the
            // shipped setup.
            testing::HeadlessRuntime h;
            h.rt.set_data_dir(cache);
            common::Tables tables(h.rt);
            payroll::Positions positions(h.rt, tables);
            std::string text;
            bench::Check(
                base::ReadFile(std::string(KESTREL_DATA_DIR) + "payroll/PKWROR.setup", &text),
                "PKWROR.setup");
            std::vector<common::SetupRecord> setup;
            bench::Check(common::ParseSetup(text, "PKWROR.setup", &setup), "PKWROR.setup");
            payroll::InstallSetup(tables, setup);
            tables.Open("PKPRAC", common::IndexFiles("PKPRAC"));
            tables.Open("PKLISTY", common::IndexFiles("PKLISTY"));
        }
        if (std::FILE* f = std::fopen(ready.c_str(), "w")) std::fclose(f);
    }
    const std::string work = (here / "work").string() + "/";
    std::filesystem::remove_all(work);
    std::filesystem::copy(cache, work, std::filesystem::copy_options::recursive);
    const std::string out = work + "ROR/";
    std::filesystem::create_directories(out);

    size_t positions = 0;
    const double read = ReadPositions(work, &positions);
    payroll::bank::BankOutcome done;
    const double file = WriteFile(work, out, &done);
    std::printf("bank file of %d employees (%zu positions on the list)\n", employees, positions);
    std::printf("reading the positions %7.3f s\n", read);
    std::printf("the bank file         %7.3f s  %d lines  ratio %.2f (target 5)\n", file,
                done.files.front().lines, file / read);
    std::filesystem::remove_all(work);
    return 0;
}
