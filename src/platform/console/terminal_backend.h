// The terminal backend, on ncursesw.
//
// CP852 cells are shown as their Unicode glyphs (the terminal must use a
// UTF-8 locale), the PC attributes as curses colours. Keys are read as raw
// bytes and decoded by DecodeKey. Only one terminal backend may exist at a
// time; the terminal is restored when it is destroyed, at exit, on a fatal
// signal and on std::terminate.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/base/status.h"
#include "platform/console/backend.h"

namespace kestrel::console {

struct TerminalOptions {
    /// Where output goes and keys come from; null = standard output and
    /// input, which must then be a terminal. Other streams (a file standing
    /// in for a terminal, in benchmarks) are used as they are.
    std::FILE* output = nullptr;
    std::FILE* input = nullptr;
    /// Terminal type for other streams (e.g. "xterm-256color").
    const char* type = nullptr;
};

class TerminalBackend : public Backend {
  public:
    /// Takes over the terminal. Fails when stdin/stdout is not a terminal.
    static base::Status Open(std::unique_ptr<TerminalBackend>* out,
                             const TerminalOptions& options = {});
    ~TerminalBackend() override;

    TerminalBackend(const TerminalBackend&) = delete;
    TerminalBackend& operator=(const TerminalBackend&) = delete;

    void Present(const Screen& screen) override;
    int ReadKey(int timeout_ms) override;
    void Tone(int frequency, int ticks) override;
    void Sleep(int milliseconds) override;
    bool HasColour() const override { return colour_; }

  private:
    TerminalBackend() = default;
    void SetUpColours();
    void DrawRow(const Screen& screen, int row);
    void DrawAll();
    bool CheckSize();  // false (and the message shown) when the terminal is too small
    int ReadByte(int timeout_ms);

    struct ScreenHandle;
    ScreenHandle* screen_ = nullptr;
    Screen shown_;
    std::string pending_;
    bool colour_ = false;
    bool many_colours_ = false;
    bool too_small_ = false;
};

}  // namespace kestrel::console
