#include "printing/data/print_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "common/session/abandon.h"
#include "common/session/letter_conversions.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "printing/data/printer_letters.h"
#include "printing/pdf/pdf_render.h"

namespace kestrel::printing {
namespace {

constexpr int kPrintFiles = 99;

// Deletes the print files of `dir` that no process holds; how many are
// free afterwards.
int DeleteLeftovers(const std::string& dir) {
    int deleted = 0;
    for (int n = 1; n <= kPrintFiles; ++n)
        if (DeleteUnheld(PrintFileName(dir, n)).ok()) ++deleted;
    return deleted;
}

// The exit code in a failure of PrintSystem::Submit ("exit 1: ...").
int ExitCodeOf(const base::Status& s) {
    int code = 0;
    if (std::sscanf(s.message().c_str(), "exit %d", &code) != 1) code = 99;
    return code;
}

[[noreturn]] void PrintFailed(common::Runtime& rt, const base::Status& s) {
    char code[8];
    std::snprintf(code, sizeof code, "%2d", ExitCodeOf(s) % 100);
    throw common::Abandon(rt.Text("Błąd drukowania - kod:") + code);
}

// The title in letters a file name keeps everywhere.
std::string FileStem(std::string_view cp852) {
    std::string stem;
    const std::string plain = common::Translate(cp852, common::kPolishCp852, common::kPolishPlain);
    for (char ch : plain) {
        const unsigned char u = static_cast<unsigned char>(ch);
        if (std::isalnum(u) && u < 0x80) {
            stem += ch;
        } else if (!stem.empty() && stem.back() != '_') {
            stem += '_';
        }
        if (stem.size() >= 40) break;
    }
    while (!stem.empty() && stem.back() == '_') stem.pop_back();
    return stem.empty() ? "wydruk" : stem;
}

}  // namespace

std::string PrintFileName(const std::string& dir, int n) {
    char name[16];
    std::snprintf(name, sizeof name, "TEMP%02d.PRT", n);
    return dir + name;
}

base::Status CreatePrintFile(const std::string& dir, PrintOutput* out,
                             PrintOutput::Converter convert, int* lock_fd) {
    for (int round = 0; round < 2; ++round) {
        for (int n = 1; n <= kPrintFiles; ++n) {
            const std::string path = PrintFileName(dir, n);
            // The output itself creates the file exclusively and holds
            // its lock while it is open.
            const base::Status s = out->OpenNew(path, convert);
            if (s.IsBusy()) continue;
            if (!s.ok()) return s;
            *lock_fd = -1;
            return base::Status::Ok();
        }
        if (round == 0 && DeleteLeftovers(dir) == 0) break;
    }
    return base::Status::Busy(dir + "TEMP*.PRT");
}

PrintFile::~PrintFile() {
    if (!path_.empty()) {
        (void)out_.Close();
        ::unlink(path_.c_str());
    }
    Release();
}

void PrintFile::Release() {
    if (lock_fd_ >= 0) ::close(lock_fd_);
    lock_fd_ = -1;
    path_.clear();
}

std::string JobHeader(const common::Configuration& config, std::string_view title) {
    std::string header(title);
    for (char& ch : header)
        if (ch == '}') ch = ')';
    return config.Text("YPRVD") + header + "}" + config.Text("YPRRS");
}

void PrintFile::Open(std::string_view title) {
    if (!path_.empty()) {
        (void)out_.Close();
        ::unlink(path_.c_str());
        Release();
    }
    const common::Configuration& c = rt_.config();
    const base::Status s = CreatePrintFile(
        rt_.data_dir(), &out_, MakeConverter(LettersInForce(c, rt_.letters())), &lock_fd_);
    if (s.IsBusy()) throw common::Abandon(rt_.Text("Błąd kasowania TEMP*.PRT"));
    if (!s.ok()) throw common::Abandon(rt_.Text("Błąd w trakcie tworzenia wydruku"));
    path_ = out_.path();
    title_ = std::string(title);
    if (c.Text("NAGLTDR") == "V") out_.Control(JobHeader(c, title_));
    out_.SetPosition(0, 0);
}

void PrintFile::Deliver(PrintSystem& printers) {
    if (path_.empty()) return;
    const base::Status closed = out_.Close();
    if (!closed.ok()) throw common::Abandon(rt_.Text("Błąd w trakcie tworzenia wydruku"));
    // Held while the printer reads it: clearing leftovers elsewhere leaves it.
    ReadHold hold;
    (void)hold.Open(path_);
    struct stat st {};
    const bool printable = ::stat(path_.c_str(), &st) == 0 && st.st_size >= 2;
    // The file goes whatever happens to its delivery.
    struct Remove {
        PrintFile& f;
        ~Remove() {
            ::unlink(f.path_.c_str());
            f.Release();
        }
    } remove{*this};
    if (printable) SendToPrinter(rt_, printers, path_, title_);
}

base::Status ReservePdfPath(const common::Runtime& rt, std::string_view title, std::string* path) {
    const std::string dir = rt.data_dir() + "WYDRUKI/";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return base::Status::IOError(dir + ": " + ec.message());
    const base::LocalTime t = rt.clock().Now();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "_%04d%02d%02d_%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    const std::string base_name = dir + FileStem(title) + stamp;
    for (int n = 1; n < 1000; ++n) {
        const std::string candidate =
            base_name + (n == 1 ? std::string() : "_" + std::to_string(n)) + ".pdf";
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            *path = candidate;
            return base::Status::Ok();
        }
        if (errno != EEXIST) return base::Status::FromErrno(candidate, errno);
    }
    return base::Status::Busy(base_name);
}

void SendToPrinter(common::Runtime& rt, PrintSystem& printers, const std::string& file,
                   std::string_view title) {
    const common::Configuration& c = rt.config();
    const std::string type = c.Text("NAGLTDR");
    if (type == "?") throw common::Abandon(rt.Text("Błędna definicja drukarki"));
    std::string job;
    if (type == "V") {
        const std::string queue =
            !c.Text("NAGLNAZDRW").empty() ? c.Text("NAGLNAZDRW") : c.Text("NAGLKOLDR");
        if (queue.empty()) throw common::Abandon(rt.Text("Błędna definicja drukarki"));
        std::string contents, pdf;
        if (!base::ReadFile(file, &contents).ok())
            throw common::Abandon(rt.Text("Błąd odczytu ") + "\"" + file + "\"");
        if (!ReservePdfPath(rt, title, &pdf).ok())
            throw common::Abandon(rt.Text("Błąd zapisu: WYDRUKI"));
        PdfOptions options;
        options.printer_type = 'V';
        options.letter_set = StandardOfLetters(c.Text("NAGLPRTPL", rt.letters().pl));
        options.title = codepage::ToUtf8(title);
        const base::Status rendered = RenderPdf(contents, options, pdf);
        if (!rendered.ok()) {
            ::unlink(pdf.c_str());
            throw common::Abandon(rt.Text("Błąd tworzenia pliku PDF"));
        }
        const base::Status sent = printers.Submit(queue, pdf, false, &job);
        if (!sent.ok()) PrintFailed(rt, sent);
        return;
    }
    std::string queue = c.Text("NAGLKOLDR");
    if (queue.empty()) queue = "LPT" + c.Text("NAGLNDR", "1").substr(0, 1);
    const base::Status sent = printers.Submit(queue, file, true, &job);
    if (!sent.ok()) PrintFailed(rt, sent);
}

}  // namespace kestrel::printing
