#include "payroll/printouts/data/payslip_pdf.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>

#include "payroll/printouts/data/payroll_list_print.h"
#include "platform/base/files.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "printing/data/printer_letters.h"
#include "printing/pdf/pdf_render.h"
#include "register/data/employee_record.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

namespace fs = std::filesystem;

// The file name of an employee: his number, letters and digits only.
std::string FileStem(const std::string& number) {
    std::string out;
    for (char c : base::Trim(number))
        if (std::isalnum(static_cast<unsigned char>(c))) out += c;
    return out.empty() ? std::string("_") : out;
}

// The clear PESEL of employee `number`, "" when he has none.
std::string PeselOf(common::Tables& tables, const std::string& number) {
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKPRAC", {"PKPRAC1"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKPRAC1");
    const std::string key = base::Padded(number, 6);
    for (base::Status s = a.Seek(key); s.ok() && a.found() && !a.eof(); s = a.Skip()) {
        if (a.record().GetString(a.FieldIndex("NR_PRAC")) != key) break;
        if (a.deleted()) continue;
        return base::Trim(registry::ReadEmployee(a).pesel());
    }
    return "";
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Temporary files of an earlier run that stopped half-way.
bool Leftover(const std::string& name) {
    return EndsWith(name, ".prt") || EndsWith(name, ".part") || name.rfind(".qpdf_args_", 0) == 0 ||
           name.find(".pdf.") != std::string::npos;
}

class Writer {
  public:
    Writer(common::Runtime& rt, common::Tables& tables, const PayslipPdfRequest& request,
           MatrixObserver* observer, PayslipPdfOutcome* done)
        : rt_(rt), tables_(tables), request_(request), watch_(observer), done_(*done) {
        const common::Configuration& c = rt.config();
        const std::string type = c.Text("NAGLTDR");
        options_.printer_type = type.size() == 1 && type != "?" ? type[0] : '0';
        options_.letter_set = printing::StandardOfLetters(c.Text("NAGLPRTPL", rt.letters().pl));
        convert_ = printing::MakeConverter(printing::LettersInForce(c, rt.letters()));
        // One sync of the file system after the last document instead of
        // one for every document.
        options_.sync = false;
    }

    // The password of the run's rule, for the refusal before any work.
    std::string CheckPassword() {
        if (!request_.encrypt) return "";
        rule_ = PayslipPasswordRule(rt_.config());
        if (rule_ == PayslipPassword::kNone)
            return rt_.Text("Nie określono hasła pasków PDF (NAGLPSHAS)");
        if (rule_ == PayslipPassword::kCompany) {
            company_password_ = base::Trim(rt_.config().Text("NAGLPSHSL"));
            if (company_password_.empty()) return rt_.Text("Brak hasła pasków PDF (NAGLPSHSL)");
        }
        if (!EncryptionAvailable(request_.encryption))
            return rt_.Text("Brak programu qpdf - paski nie mogą być zaszyfrowane");
        return "";
    }

    void Run(MatrixRun& run, const std::string& title) {
        title_ = title;
        std::set<std::string> kept;
        for (size_t i = 0; i < run.employees().size(); ++i) {
            if (watch_ != nullptr && watch_->Interrupted()) {
                done_.interrupted = true;
                return;
            }
            const MatrixEmployee& e = run.employees()[i];
            const std::string stem = FileStem(e.number);
            kept.insert(stem + ".pdf");
            const std::string failure = One(run, i, stem);
            if (failure.empty()) {
                ++done_.written;
                continue;
            }
            ::unlink((done_.directory + stem + ".pdf").c_str());
            done_.failures.push_back(failure + " " + base::Trim(e.number) + " " + e.name);
            if (!done_.message.empty()) return;
        }
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(done_.directory, ec)) {
            const std::string name = entry.path().filename().string();
            if (EndsWith(name, ".pdf") && kept.count(name) == 0) fs::remove(entry.path(), ec);
        }
    }

  private:
    // Writes one employee's PDF; "" when done, else the failure's words.
    std::string One(MatrixRun& run, size_t index, const std::string& stem) {
        const MatrixEmployee& e = run.employees()[index];
        std::string password;
        if (request_.encrypt) {
            password =
                rule_ == PayslipPassword::kPesel ? PeselOf(tables_, e.number) : company_password_;
            if (password.empty()) return rt_.Text("Brak numeru PESEL - pasek nie zapisany:");
        }
        const std::string dir = done_.directory;
        const std::string final_path = dir + stem + ".pdf";
        // The payslip's print output stays in memory: a print file made,
        // read back and emptied by the thousand would cost the file system
        // more than the documents themselves.
        printing::PrintOutput out;
        if (!out.OpenMemory(convert_).ok()) return rt_.Text("Błąd zapisu wydruku:");
        run.PrintPayslip(index, out);
        if (!out.Close().ok()) return rt_.Text("Błąd zapisu wydruku:");
        const std::string& bytes = out.memory();
        printing::PdfOptions options = options_;
        options.title = codepage::ToUtf8(title_ + " " + base::Trim(e.number) + " " + e.name);
        if (!request_.encrypt) {
            if (!printing::RenderPdf(bytes, options, final_path).ok())
                return rt_.Text("Błąd tworzenia pliku PDF:");
            return "";
        }
        const std::string plain = dir + stem + ".pdf.plain";
        const std::string locked = dir + stem + ".pdf.locked";
        if (!printing::RenderPdf(bytes, options, plain).ok()) {
            ::unlink(plain.c_str());
            return rt_.Text("Błąd tworzenia pliku PDF:");
        }
        const EncryptResult r =
            EncryptPdf(request_.encryption, plain, locked, codepage::ToUtf8(password));
        ::unlink(plain.c_str());
        if (r.failure == EncryptResult::Failure::kNoProgram)
            done_.message = rt_.Text("Brak programu qpdf - paski nie mogą być zaszyfrowane");
        if (!r.ok()) return rt_.Text("Błąd szyfrowania pliku PDF:");
        if (std::rename(locked.c_str(), final_path.c_str()) != 0) {
            ::unlink(locked.c_str());
            return rt_.Text("Błąd zapisu pliku PDF:");
        }
        return "";
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    const PayslipPdfRequest& request_;
    MatrixObserver* watch_;
    PayslipPdfOutcome& done_;
    PayslipPassword rule_ = PayslipPassword::kNone;
    std::string company_password_;
    std::string title_;
    printing::PdfOptions options_;
    printing::PrintOutput::Converter convert_;
};

}  // namespace

PayslipPassword PayslipPasswordRule(const common::Configuration& config) {
    const std::string v = base::AsciiUpper(base::Trim(config.Text("NAGLPSHAS")));
    if (v == "P") return PayslipPassword::kPesel;
    if (v == "F") return PayslipPassword::kCompany;
    return PayslipPassword::kNone;
}

std::string PayslipDirectoryName(const PayrollList& list) {
    std::string symbol;
    for (char c : base::Trim(list.symbol))
        symbol += std::isalnum(static_cast<unsigned char>(c)) ? c : '-';
    return base::Trim(list.year) + "_" + base::Trim(list.month) + "_" + symbol + "_" +
           std::to_string(list.number);
}

std::string PayslipDirectory(const common::Runtime& rt, const PayrollList& list) {
    return rt.data_dir() + "WYDRUKI/PASKI/" + PayslipDirectoryName(list) + "/";
}

PayslipPdfOutcome WritePayslipPdfs(common::Runtime& rt, common::Tables& tables,
                                   const PayslipPdfRequest& request, MatrixObserver* observer) {
    PayslipPdfOutcome done;
    PayrollListRequest list_request;
    list_request.list = request.list;
    list_request.layout = 'P';
    list_request.sort = request.sort;
    list_request.matrix = request.matrix;
    MatrixRequest r;
    MatrixDefinition made;
    done.message = ListMatrixRequest(rt, tables, list_request, &r, &made);
    if (!done.message.empty()) return done;
    Writer writer(rt, tables, request, observer, &done);
    done.message = writer.CheckPassword();
    if (!done.message.empty()) return done;
    MatrixRun run(rt, tables, observer);
    done.message = run.Prepare(r);
    done.interrupted = run.interrupted();
    if (!done.message.empty() || done.interrupted) return done;
    done.employees = static_cast<int>(run.employees().size());

    done.directory = PayslipDirectory(rt, request.list);
    std::error_code ec;
    fs::create_directories(done.directory, ec);
    if (ec) {
        done.message = rt.Text("Błąd zapisu: ") + done.directory;
        return done;
    }
    for (const auto& entry : fs::directory_iterator(done.directory, ec))
        if (Leftover(entry.path().filename().string())) fs::remove(entry.path(), ec);
    writer.Run(run, run.matrix().title);
    const int fd = ::open(done.directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
    return done;
}

}  // namespace kestrel::payroll
