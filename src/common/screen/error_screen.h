// The error screen: what the program does with a run-time error that the
// function meeting it does not handle.
//
// Code that meets an unexpected failure either calls ErrorAlert itself,
// where a retry or a soft failure is possible, or throws RunTimeError (or
// lets a standard exception escape); the main loop's recoverable block
// hands whatever escaped a menu function to HandleEscapedError. Nothing
// here ends the process: Quit throws ProgramQuit, which the program's entry
// catches to restore the terminal, print the lines and exit with 1.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/session/call_chain.h"
#include "common/session/runtime.h"

namespace kestrel::common {

/// What is known of a run-time error.
struct RunError {
    std::string subsystem;    // "" prints as "???"
    int subcode = 0;          // 0 prints as "???"
    std::string description;  // CP852
    std::string file;         // the file the operation was on, "" = none
    std::string operation;    // the operation, printed when there is no file
    int os_code = 0;          // the operating system's error number, 0 = none
    bool warning = false;     // low severity: "Warning " instead of "Error "
    bool can_retry = false;
    bool can_default = false;
};

/// An unexpected failure left to the error screen.
class RunTimeError : public std::runtime_error {
  public:
    explicit RunTimeError(RunError e) : std::runtime_error(e.description), error_(std::move(e)) {}
    const RunError& error() const { return error_; }

  private:
    RunError error_;
};

/// The operator chose Quit: the entry point restores the plain console,
/// prints `lines` (CP852) and ends with `status`. Not a std::exception, so
/// that no recoverable block takes it.
struct ProgramQuit {
    int status = 1;
    std::vector<std::string> lines;
};

enum class ErrorChoice { kRetry, kDefault, kBreak };

/// "Error BASE/1001  Opis: PLIK.DBF;(DOS Error 2)": severity, subsystem,
/// sub-code, description, then the file (or the operation) and the
/// operating system's code.
std::string ErrorText(const RunError& e);

/// What Quit prints: the text with " (DOS Error n) " instead of the
/// ";(DOS Error n)" part, then "Called from NAME(LINE)" from the innermost
/// routine out.
std::vector<std::string> QuitLines(const RunError& e, const std::vector<CallFrame>& chain);

/// The alert: after a tone, the text and the choices Quit, Retry (when the
/// error allows it), Default (when it allows it) and Break, until one is
/// chosen (Left/Right and Enter, or the first letter). Saves and puts back
/// the cursor and row 0 columns 60-69. Quit stops the clock and throws
/// ProgramQuit with QuitLines of the chain at the failure.
ErrorChoice ErrorAlert(Runtime& rt, const RunError& e);

/// The printer is not ready: "Drukarka niegotowa", the status bits of
/// `status` from the highest, and "Esc - przerwanie, Inny klawisz - druk"
/// on the message row; waits for a key. True (the screen put back) means
/// print again; false means Esc: the caller closes its tables and abandons.
bool PrinterNotReady(Runtime& rt, unsigned char status);

/// An error on a printer port ("LPT…"): "Błędny port drukarki: LPTn", a
/// tone and a wait; the printer port NAGLNDR becomes "1". The caller abandons.
void ShowPrinterPortError(Runtime& rt, std::string_view file);

/// Out of memory: "Za malo pamieci operacyjnej", a tone and a wait.
void ShowOutOfMemory(Runtime& rt);

/// Too many open files: the box telling how to raise the limit, the file's
/// name, a wait.
void ShowTooManyOpenFiles(Runtime& rt, std::string_view file);

/// The main loop's handler of an exception that escaped a menu function:
/// out of memory, too many open files and printer ports get their
/// screens; everything else the alert (without Retry and Default: the
/// operation is gone), where Break returns to the main loop. An Abandon
/// shows its message. ProgramQuit, and anything that is not a
/// std::exception, is thrown on.
void HandleEscapedError(Runtime& rt, std::exception_ptr error);

}  // namespace kestrel::common
