// A PDF protected by a password: qpdf (the Debian package "qpdf") rewrites
// the document encrypted with AES-256.
//
// qpdf runs as a child process (no shell) with a time limit. The passwords
// never appear on its command line, where every user of the machine could
// read them: its arguments are handed over in an argument file ("@FILE")
// readable by the owner only, made beside the output and deleted as soon as
// qpdf has ended. The user password opens the document; the owner password
// is random and known to nobody, so the protection cannot be lifted with it.
#pragma once

#include <string>

namespace kestrel::payroll {

struct PdfEncryption {
    std::string program = "qpdf";  // found through PATH unless it holds a "/"
    int timeout_seconds = 60;
};

struct EncryptResult {
    enum class Failure { kNone, kNoProgram, kFailed };
    Failure failure = Failure::kNone;
    std::string detail;  // qpdf's own words (or the system's) on a failure, UTF-8
    bool ok() const { return failure == Failure::kNone; }
};

/// Whether the program of `e` can be run (it answers --version in time).
bool EncryptionAvailable(const PdfEncryption& e);

/// Writes `out` as `in` encrypted for user password `password` (UTF-8,
/// not empty, no line break). `out` is replaced when it exists; on a
/// failure nothing is left under `out`. kNoProgram when qpdf cannot be run,
/// kFailed for any other failure (a refused password among them).
EncryptResult EncryptPdf(const PdfEncryption& e, const std::string& in, const std::string& out,
                         const std::string& password);

}  // namespace kestrel::payroll
