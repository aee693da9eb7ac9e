// Screen output cost: full repaints against one-row updates, rendered by the
// terminal backend into a file standing in for an xterm.
//
// Reports bytes sent to the terminal per operation and the ratio of a
// one-row update to a full repaint (the aim: under a tenth).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/console/console.h"
#include "platform/console/terminal_backend.h"

namespace {

using kestrel::console::Console;
using kestrel::console::MakeAttr;
using kestrel::console::TerminalBackend;

struct Stand_in {
    std::FILE* out = std::tmpfile();
    std::FILE* in = std::fopen("/dev/null", "r");
    std::unique_ptr<TerminalBackend> backend;

    Stand_in() {
        kestrel::console::TerminalOptions options;
        options.output = out;
        options.input = in;
        options.type = "xterm-256color";
        auto status = TerminalBackend::Open(&backend, options);
        if (!status.ok()) {
            std::fprintf(stderr, "%s\n", status.ToString().c_str());
            std::exit(1);
        }
    }
    ~Stand_in() {
        backend.reset();
        std::fclose(out);
        std::fclose(in);
    }
    long Written() const {
        std::fflush(out);
        return lseek(fileno(out), 0, SEEK_CUR);
    }
    void Rewind() {
        std::fflush(out);
        (void)ftruncate(fileno(out), 0);
        lseek(fileno(out), 0, SEEK_SET);
    }
};

Stand_in& Terminal() {
    static Stand_in terminal;
    return terminal;
}

double g_full_bytes = 0;
double g_row_bytes = 0;

// A full screen of text, different from the previous one in every cell:
// a browse window page being replaced, colours changing with the rows.
void FillScreen(Console& con, int generation) {
    auto& s = con.screen();
    for (int r = 0; r < kestrel::console::kRows; ++r) {
        std::string line(kestrel::console::kCols, ' ');
        for (int c = 0; c < kestrel::console::kCols; ++c)
            line[c] = static_cast<char>(
                'A' +
                (r * 31 + c * 17 + generation * 101 + (c * c + r) * (generation + 1) % 7) % 26);
        // No row repeats another of the previous screen, so the terminal
        // library cannot save bytes by scrolling.
        s.Write(r, 0, line, MakeAttr((r * 5 + generation * 3) % 16, (r * 3 + generation) % 8));
    }
}

void BM_FullRepaint(benchmark::State& state) {
    auto& term = Terminal();
    Console con(*term.backend);
    FillScreen(con, 0);
    con.Refresh();
    term.Rewind();
    int generation = 1;
    long bytes = 0;
    for (auto _ : state) {
        FillScreen(con, generation++);
        con.Refresh();
        bytes += term.Written();
        term.Rewind();
    }
    g_full_bytes = static_cast<double>(bytes) / static_cast<double>(state.iterations());
    state.counters["bytes_per_repaint"] = g_full_bytes;
}

void BM_OneRowUpdate(benchmark::State& state) {
    auto& term = Terminal();
    Console con(*term.backend);
    FillScreen(con, 0);
    con.Refresh();
    term.Rewind();
    long bytes = 0;
    long n = 0;
    for (auto _ : state) {
        // The highlighted bar of a browse moving down one row: one row changes.
        char text[96];
        std::snprintf(text, sizeof text, " %06ld  KOWALSKI JAN            12 345,67", n % 1000000);
        con.screen().Write(4 + static_cast<int>(n % 18), 1, text, MakeAttr(14, 3));
        con.Refresh();
        bytes += term.Written();
        term.Rewind();
        ++n;
    }
    g_row_bytes = static_cast<double>(bytes) / static_cast<double>(state.iterations());
    state.counters["bytes_per_update"] = g_row_bytes;
}

BENCHMARK(BM_FullRepaint)->Iterations(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneRowUpdate)->Iterations(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_full_bytes > 0)
        std::printf("one-row update / full repaint, bytes: %.1f / %.1f = %.3f (target < 0.100)\n",
                    g_row_bytes, g_full_bytes, g_row_bytes / g_full_bytes);
    return 0;
}
