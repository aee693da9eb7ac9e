// printing_bench: the PDF of a wide print-out, a 500-page, 136-column list
// for a 9-pin printer in CP852 (a bold title line at 10 cpi, then 64 lines
// at 17 cpi with Polish letters and amounts on each page), against
// pdftotext reading the PDF back:
//
//   render     RenderPdf of the whole file;
//   read_back  pdftotext of the result, run as a child process;
//
// and the pages rendered per second and the ratio render / read_back
// (target 3), both by the clock on the wall (the child's time is not the
// benchmark's process time).
//
// Usage: printing_bench [benchmark flags]   (the files are made in /tmp)
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "printing/pdf/pdf_render.h"
#include "times_reporter.h"

namespace {

using namespace kestrel;

constexpr int kPages = 500;
constexpr int kLines = 64;
constexpr int kColumns = 136;

std::string PrintFile() {
    std::mt19937 rng(20261209);
    std::string f;
    const std::string polish = "\xa5\x86\xa9\x88\xe4\xa2\x98\xab\xbe";  // ąćęłńóśźż
    for (int p = 0; p < kPages; ++p) {
        f += "\x1b@\x1bP\x12\x1bW0\x1bT\x1b"
             "0\x1bG";
        char title[80];
        std::snprintf(title, sizeof title,
                      "LISTA P\x9d"
                      "AC 12/2026            Str. %4d",
                      p + 1);
        f += title;
        f += "\x1bH\r\n\x1bP\x0f\x1bW0\x1bT";
        for (int l = 0; l < kLines; ++l) {
            char line[200];
            int n = std::snprintf(line, sizeof line, "%06d Kowalska-Wi%s ", p * kLines + l + 1,
                                  polish.c_str());
            std::string s(line, n);
            while (s.size() + 12 <= kColumns) {
                std::snprintf(line, sizeof line, "%12.2f", (rng() % 1000000) / 100.0);
                s += line;
            }
            s.resize(kColumns, ' ');
            f += s + "\r\n";
        }
        f += "\x0c";
    }
    return f;
}

struct Files {
    std::string dir, pdf, bytes;
};
Files* g_files = nullptr;

void Render(benchmark::State& state) {
    for (auto _ : state) {
        const base::Status s =
            printing::RenderPdf(g_files->bytes, {'E', '1', "Lista"}, g_files->pdf);
        if (!s.ok()) state.SkipWithError(s.ToString().c_str());
    }
    state.counters["pages/s"] =
        benchmark::Counter(kPages, benchmark::Counter::kIsIterationInvariantRate);
}

void ReadBack(benchmark::State& state) {
    const std::string command = "pdftotext '" + g_files->pdf + "' /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("pdftotext failed");
    }
}

}  // namespace

int main(int argc, char** argv) {
    Files files;
    std::string dir = (std::filesystem::temp_directory_path() / "printing-bench-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) return 1;
    files.dir = dir;
    files.pdf = dir + "/list.pdf";
    files.bytes = PrintFile();
    g_files = &files;
    benchmark::RegisterBenchmark("printing/render", Render)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3)
        ->UseRealTime();
    benchmark::RegisterBenchmark("printing/read_back", ReadBack)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    bench::TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double render = reporter.ns["printing/render/iterations:3/real_time"];
    const double read = reporter.ns["printing/read_back/iterations:3/real_time"];
    if (render > 0)
        std::printf("%d pages (%zu bytes): %.0f pages per second rendered", kPages,
                    files.bytes.size(), kPages / (render / 1e3));
    if (render > 0 && read > 0)
        std::printf(", ratio to pdftotext reading it back %.2f (target 3)", render / read);
    std::printf("\n");
    std::filesystem::remove_all(dir);
    return 0;
}
