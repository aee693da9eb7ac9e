#include "payroll/printouts/data/pdf_encryption.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "platform/base/text.h"
#include "printing/data/print_system.h"

namespace kestrel::payroll {
namespace {

std::string RandomPassword() {
    std::random_device device;
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (int i = 0; i < 32; ++i) out += kHex[device() % 16];
    return out;
}

std::string Directory(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The first line of what qpdf said, for the operator's message.
std::string FirstLine(const std::string& text) {
    const std::string line = text.substr(0, text.find('\n'));
    return base::TrimWhitespace(line);
}

}  // namespace

bool EncryptionAvailable(const PdfEncryption& e) {
    const printing::CommandResult r =
        printing::RunCommand({e.program, "--version"}, e.timeout_seconds);
    return r.started && !r.timed_out && r.exit_code == 0;
}

EncryptResult EncryptPdf(const PdfEncryption& e, const std::string& in, const std::string& out,
                         const std::string& password) {
    EncryptResult result;
    result.failure = EncryptResult::Failure::kFailed;
    ::unlink(out.c_str());
    if (password.empty() || password.find_first_of("\r\n") != std::string::npos) {
        result.detail = "the password is empty or holds a line break";
        return result;
    }
    // Arguments that begin with "-" would be taken for options: the paths
    // are made to start with a directory.
    auto path = [](const std::string& p) { return p.empty() || p[0] == '/' ? p : "./" + p; };
    std::string args_path = Directory(out) + ".qpdf_args_XXXXXX";
    const int fd = ::mkstemp(args_path.data());
    if (fd < 0) {
        result.detail = std::strerror(errno);
        return result;
    }
    ::fchmod(fd, 0600);
    const std::string args = path(in) + "\n" + path(out) + "\n--encrypt\n" + password + "\n" +
                             RandomPassword() + "\n256\n--\n";
    const bool written = WriteAll(fd, args);
    ::close(fd);
    if (!written) {
        ::unlink(args_path.c_str());
        result.detail = "cannot write " + args_path;
        return result;
    }
    const printing::CommandResult r =
        printing::RunCommand({e.program, "@" + args_path}, e.timeout_seconds);
    ::unlink(args_path.c_str());
    // Exit 3: written, with warnings about the input.
    if (r.started && !r.timed_out && (r.exit_code == 0 || r.exit_code == 3)) {
        struct stat st;
        if (::stat(out.c_str(), &st) == 0 && st.st_size > 0) {
            result.failure = EncryptResult::Failure::kNone;
            return result;
        }
        result.detail = "no output";
    } else if (!r.started) {
        result.failure = EncryptResult::Failure::kNoProgram;
        result.detail = e.program + " cannot be run";
    } else if (r.timed_out) {
        result.detail = e.program + " gave no answer in time";
    } else {
        result.detail = FirstLine(r.err.empty() ? r.out : r.err);
    }
    ::unlink(out.c_str());
    return result;
}

}  // namespace kestrel::payroll
