// payroll_output_bench: what the payroll list of January 2027 gives out in
// the payroll benchmarks' company of 10,000 employees (see
// payroll_bench_company.h and bank_bench_company.h): the payroll list 4.8.3
// of layout Z by a matrix of two rows (the number, the name, ten entered
// components and the net pay) into a print file, every employee's payslip
// as its own PDF, and the Elixir-O bank file of the shipped setup.
//
// Times reading the list's positions alone (the reference: what any output
// of the list must do) and each output, and reports each one's ratio to the
// reference (targets: the print file and the bank file within 5, the PDF
// payslips within 50). With --encrypt the payslips are protected with the
// employees' PESEL through qpdf as well.
//
// The company is built once into cache/ beside the program and copied to
// work/ for every run.
//
// Usage: payroll_output_bench [--employees N] [--encrypt]
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
#include "payroll/printouts/data/payroll_list_print.h"
#include "payroll/printouts/data/payslip_pdf.h"
#include "payroll_bench_company.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"

namespace {

using namespace kestrel;

constexpr int kVersion = 1;  // of the output part below

// The list symbol A printed by matrix LP.
void MakeMatrix(const std::string& dir) {
    std::filesystem::remove(dir + "PKSLST.DBF");
    bench::Make(dir, "PKSLST", [](auto add) {
        add({{"TYP_LST", "A"}, {"NAZWA_LST", "Etaty"}, {"TBW_", "LP"}});
    });
    bench::Make(dir, "PKNTBW", [](auto add) {
        add({{"TBW_", "LP"},
             {"TYP_", "1"},
             {"NAZWA_", codepage::FromUtf8("Lista płac")},
             {"NR_IND", "1"}});
    });
    bench::Make(dir, "PKTBW", [](auto add) {
        auto cell = [&](int row, int column, int width, const std::string& heading,
                        const std::string& content, const char* type) {
            add({{"TBW_", "LP"},
                 {"WIERSZ_", std::to_string(row)},
                 {"NR_KOL", std::to_string(column)},
                 {"SZER_KOL", std::to_string(width)},
                 {"OPIS_", codepage::FromUtf8(heading)},
                 {"ZAWARTOSC_", codepage::FromUtf8(content)},
                 {"TYP_POLA", type},
                 {"MASKA_", *type == 'N' ? "@E 9,999,999.99" : ""},
                 {"SUMA_", *type == 'N' ? "T" : "F"}});
        };
        cell(1, 1, 6, "Numer", "pkprac->nr_prac", "C");
        cell(1, 2, 20, "Nazwisko i imię", "trim(dky(pkprac->nazwx_))", "C");
        for (int k = 0; k < 10; ++k)
            cell(k < 4 ? 1 : 2, k < 4 ? 3 + k : k - 3, 12, bench::Symbol(k), bench::Symbol(k), "N");
        cell(2, 7, 12, "Do wypłaty", "DOWY", "N");
    });
}

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

// A runtime over company `dir` for one timed step.
struct Step {
    explicit Step(const std::string& dir) {
        h.rt.set_data_dir(dir);
        h.rt.config().Set("NAGL73", memfile::MemValue::Char("Firma Testowa Sp. z o.o."));
        h.rt.config().Set("NAGL74", memfile::MemValue::Char("61109010140000071219812874"));
        h.rt.config().Set("NAGLRORPLI", memfile::MemValue::Char(dir + "ROR/"));
        h.rt.config().Set("NAGLPSHAS", memfile::MemValue::Char("P"));
        list = OpenList(h.rt, tables);
    }
    testing::HeadlessRuntime h;
    common::Tables tables{h.rt};
    payroll::PayrollList list;
};

double ReadPositions(const std::string& dir, size_t* count) {
    Step s(dir);
    const auto start = std::chrono::steady_clock::now();
    payroll::Positions positions(s.h.rt, s.tables);
    *count = positions.OfList(s.list).size();
    return Seconds(start);
}

double PrintList(const std::string& dir, int* employees) {
    Step s(dir);
    const auto start = std::chrono::steady_clock::now();
    payroll::PayrollListRequest r;
    r.list = s.list;
    r.layout = 'Z';
    printing::PrintOutput out;
    bench::Check(out.Open(dir + "LISTA.PRT"), "LISTA.PRT");
    const payroll::PayrollListOutcome done =
        payroll::PrintPayrollList(s.h.rt, s.tables, r, out, nullptr);
    bench::Check(out.Close(), "LISTA.PRT");
    const double t = Seconds(start);
    if (!done.message.empty()) Fail(done.message);
    *employees = done.employees;
    return t;
}

double Payslips(const std::string& dir, bool encrypt, int* written) {
    Step s(dir);
    const auto start = std::chrono::steady_clock::now();
    payroll::PayslipPdfRequest r;
    r.list = s.list;
    r.encrypt = encrypt;
    const payroll::PayslipPdfOutcome done = payroll::WritePayslipPdfs(s.h.rt, s.tables, r, nullptr);
    const double t = Seconds(start);
    if (!done.message.empty()) Fail(done.message);
    if (!done.failures.empty()) Fail(done.failures.front());
    *written = done.written;
    return t;
}

double BankFile(const std::string& dir, int* lines) {
    Step s(dir);
    std::filesystem::create_directories(dir + "ROR/");
    const auto start = std::chrono::steady_clock::now();
    payroll::bank::BankRun run(s.h.rt, s.tables, s.list, nullptr);
    if (std::string m = run.Check(); !m.empty()) Fail(m);
    const payroll::bank::BankOutcome done = run.Run();
    const double t = Seconds(start);
    if (!done.completed) Fail(done.message);
    *lines = done.files.front().lines;
    return t;
}

void Build(const std::string& cache, int employees) {
    std::filesystem::remove_all(cache);
    std::filesystem::create_directories(cache);
    bench::MakeCompany(cache, employees);
    bench::SetAccounts(cache);
    bench::MakeBank(cache, employees);
    MakeMatrix(cache);
    // The index files are built by the first open; the bank from the
    // shipped setup.
    testing::HeadlessRuntime h;
    h.rt.set_data_dir(cache);
    common::Tables tables(h.rt);
    payroll::Positions positions(h.rt, tables);
    std::string text;
    bench::Check(base::ReadFile(std::string(KESTREL_DATA_DIR) + "payroll/PKWROR.setup", &text),
                 "PKWROR.setup");
    std::vector<common::SetupRecord> setup;
    bench::Check(common::ParseSetup(text, "PKWROR.setup", &setup), "PKWROR.setup");
    payroll::InstallSetup(tables, setup);
    for (const char* t : {"PKPRAC", "PKLISTY", "PKSLST", "PKNTBW", "PKTBW", "PKSPL"})
        tables.Open(t, common::IndexFiles(t));
}

}  // namespace

int main(int argc, char** argv) {
    int employees = 10000;
    bool encrypt = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--employees") == 0 && i + 1 < argc)
            employees = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--encrypt") == 0)
            encrypt = true;
    }
    const std::filesystem::path here =
        std::filesystem::absolute(std::filesystem::path(argv[0])).parent_path();
    const std::string cache = (here / "cache" / std::to_string(employees)).string() + "/";
    const std::string ready =
        cache + "READY" + std::to_string(bench::kCompanyVersion) + "." + std::to_string(kVersion);
    if (!std::filesystem::exists(ready)) {
        std::fprintf(stderr, "building the company of %d employees in %s ...\n", employees,
                     cache.c_str());
        Build(cache, employees);
        if (std::FILE* f = std::fopen(ready.c_str(), "w")) std::fclose(f);
    }
    const std::string work = (here / "work").string() + "/";
    std::filesystem::remove_all(work);
    std::filesystem::copy(cache, work, std::filesystem::copy_options::recursive);

    size_t positions = 0;
    int printed = 0, written = 0, lines = 0;
    const double read = ReadPositions(work, &positions);
    const double list = PrintList(work, &printed);
    const double pdf = Payslips(work, encrypt, &written);
    const double bank = BankFile(work, &lines);
    std::printf("payroll output of %d employees (%zu positions on the list)\n", employees,
                positions);
    std::printf("reading the positions      %8.3f s\n", read);
    std::printf("4.8.3 layout Z, print file %8.3f s  %d employees  ratio %6.2f (target 5)\n", list,
                printed, list / read);
    std::printf("payslips to PDF%s %8.3f s  %d files      ratio %6.2f (target 50)\n",
                encrypt ? ", qpdf " : "       ", pdf, written, pdf / read);
    std::printf("the bank file              %8.3f s  %d lines      ratio %6.2f (target 5)\n", bank,
                lines, bank / read);
    std::filesystem::remove_all(work);
    return 0;
}
