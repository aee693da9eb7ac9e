#include "payroll/printouts/data/payslip_pdf.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "common/checks/scramble.h"
#include "matrix_test_support.h"

namespace kestrel::payroll {
namespace {

namespace fs = std::filesystem;
using memfile::MemValue;

std::string Shell(const std::string& command) {
    std::string out;
    std::FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

bool Have(const char* program) {
    return !Shell(std::string("command -v ") + program).empty();
}

// The exit status of `qpdf --check` on `pdf` with `password` (none when "").
int Check(const std::string& pdf, const std::string& password) {
    std::string command = "qpdf --check ";
    if (!password.empty()) command += "--password='" + password + "' ";
    return std::system((command + "'" + pdf + "' > /dev/null 2>&1").c_str());
}

void Touch(const std::string& path, const std::string& text = "old") {
    std::ofstream(path) << text;
}

std::set<std::string> Names(const std::string& dir) {
    std::set<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) out.insert(e.path().filename().string());
    return out;
}

// A fake qpdf: answers --version, records its arguments (and the argument
// file's lines) in `log`, then exits with `status` writing nothing.
std::string FakeQpdf(const std::string& dir, int status) {
    const std::string path = dir + "/fake-qpdf";
    std::ofstream(path) << "#!/bin/sh\n"
                        << "[ \"$1\" = --version ] && exit 0\n"
                        << "echo \"$@\" > '" << dir << "/argv'\n"
                        << "cat \"${1#@}\" > '" << dir << "/argfile'\n"
                        << "echo 'qpdf: broken' >&2\n"
                        << "exit " << status << "\n";
    ::chmod(path.c_str(), 0755);
    return path;
}

// Three employees on the list: Nowak and Kowal without a PESEL, Zieliński
// with one (stored scrambled, as the register stores it).
struct SlipCompany : testing::PrintCompany {
    PayrollList list = List("2026", "A", 1, "12", "20261210");
    static constexpr const char* kPesel = "78041221409";

    SlipCompany() {
        Add("PKPRAC",
            {{"NR_PRAC", "000004"},
             {"NAZWX_", codepage::FromUtf8("Zieliński")},
             {"GRUPA_KAL", "01"},
             {"PESELX_", common::Scramble(common::ScrambleKind::kIdentity, kPesel, 34)}},
            false);
        Add("PKSPL", {{"SKLADN_PL", "ZASD"}, {"NAZWA_", "Płaca"}, {"TYP_", "K"}});
        Pay("000001", 3000);
        Pay("000002", 2000);
        Pay("000004", 4321.5);
        Matrix("LP", "1");
        Cell("LP", 1, 1, "trim(dky(pkprac->nazwx_))", "Nazwisko", 20, {{"TYP_POLA", "C"}});
        Cell("LP", 1, 2, "ZASD", "Płaca", 12, {{"MASKA_", "@E 9,999,999.99"}});
    }
    void Pay(const std::string& number, double amount) {
        Add("PKPLACE", {{"ROK_LST", list.year},
                        {"TYP_LST", list.symbol},
                        {"NR_LST", "1"},
                        {"MC_LST", list.month},
                        {"DATA_WYP", list.paid},
                        {"NR_PRAC", number},
                        {"SKLADN_PL", "ZASD"},
                        {"KWOTA_", std::to_string(amount)}});
    }
    void Param(const char* name, const std::string& value) {
        h.rt.config().Set(name, MemValue::Char(value));
    }
    PayslipPdfOutcome Write(bool encrypt, const std::string& qpdf = "qpdf",
                            MatrixObserver* observer = nullptr) {
        PayslipPdfRequest r;
        r.list = list;
        r.encrypt = encrypt;
        r.encryption.program = qpdf;
        return WritePayslipPdfs(h.rt, tables, r, observer);
    }
    std::string Dir() { return PayslipDirectory(h.rt, list); }
};

std::vector<std::string> Utf8(const std::vector<std::string>& cp852) {
    std::vector<std::string> out;
    for (const std::string& s : cp852) out.push_back(codepage::ToUtf8(s));
    return out;
}

TEST(PayslipPdf, DirectoryAndPasswordRule) {
    PayrollList l;
    l.year = "2026";
    l.month = "03";
    l.number = 12;
    for (const auto& [symbol, name] : std::vector<std::pair<std::string, std::string>>{
             {"A ", "2026_03_A_12"}, {"Z/", "2026_03_Z-_12"}, {"..", "2026_03_--_12"}}) {
        l.symbol = symbol;
        EXPECT_EQ(PayslipDirectoryName(l), name) << symbol;
    }
}

TEST(PayslipPdf, PasswordRuleOfTheCompanyParameter) {
    SlipCompany c;
    for (const auto& [value, rule] :
         std::vector<std::pair<std::string, PayslipPassword>>{{"", PayslipPassword::kNone},
                                                              {"N", PayslipPassword::kNone},
                                                              {"X", PayslipPassword::kNone},
                                                              {"P", PayslipPassword::kPesel},
                                                              {"p", PayslipPassword::kPesel},
                                                              {"F", PayslipPassword::kCompany}}) {
        c.Param("NAGLPSHAS", value);
        EXPECT_EQ(PayslipPasswordRule(c.h.rt.config()), rule) << value;
    }
}

TEST(PayslipPdf, OnePdfPerEmployeeHoldingHisPayslipOnly) {
    if (!Have("pdftotext")) GTEST_SKIP() << "pdftotext missing (poppler-utils)";
    SlipCompany c;
    // What an earlier run left: a payslip of an employee no longer on the
    // list and a print file it did not finish.
    fs::create_directories(c.Dir());
    Touch(c.Dir() + "000009.pdf");
    Touch(c.Dir() + "000001.prt");
    const PayslipPdfOutcome done = c.Write(false);
    ASSERT_EQ(codepage::ToUtf8(done.message), "");
    EXPECT_TRUE(done.failures.empty());
    EXPECT_EQ(done.employees, 3);
    EXPECT_EQ(done.written, 3);
    EXPECT_EQ(done.directory, c.dir.File("WYDRUKI/PASKI/2026_12_A_1/"));
    EXPECT_EQ(Names(c.Dir()), (std::set<std::string>{"000001.pdf", "000002.pdf", "000004.pdf"}));
    const struct {
        const char* file;
        const char* name;
        const char* amount;
    } want[] = {{"000001.pdf", "Nowak", "3.000,00"},
                {"000002.pdf", "Kowal", "2.000,00"},
                {"000004.pdf", "Zieliński", "4.321,50"}};
    for (const auto& w : want) {
        const std::string text = Shell("pdftotext -layout '" + c.Dir() + w.file + "' -");
        EXPECT_NE(text.find(w.name), std::string::npos) << w.file << "\n" << text;
        EXPECT_NE(text.find(w.amount), std::string::npos) << w.file << "\n" << text;
        EXPECT_NE(text.find("Lista płac: 1/A /12/2026"), std::string::npos) << text;
        // Nobody else's pay in his document.
        for (const auto& other : want)
            if (&other != &w) EXPECT_EQ(text.find(other.amount), std::string::npos) << w.file;
    }
}

TEST(PayslipPdf, RefusalsBeforeAnyFileIsWritten) {
    SlipCompany c;
    struct Case {
        const char* rule;
        const char* password;
        const char* program;
        const char* message;
    };
    for (const Case& k : {Case{"N", "", "qpdf", "Nie określono hasła pasków PDF (NAGLPSHAS)"},
                          Case{"F", " ", "qpdf", "Brak hasła pasków PDF (NAGLPSHSL)"},
                          Case{"P", "", "/nonexistent/qpdf",
                               "Brak programu qpdf - paski nie mogą być zaszyfrowane"}}) {
        c.Param("NAGLPSHAS", k.rule);
        c.Param("NAGLPSHSL", k.password);
        const PayslipPdfOutcome done = c.Write(true, k.program);
        EXPECT_EQ(codepage::ToUtf8(done.message), k.message) << k.rule;
        EXPECT_EQ(done.written, 0);
        EXPECT_TRUE(Names(c.Dir()).empty()) << k.rule;
    }
    c.list.symbol = "Q ";
    EXPECT_EQ(codepage::ToUtf8(c.Write(false).message), "Błędny symbol listy płac");
}

TEST(PayslipPdf, PeselOpensTheEmployeesPayslipAndAnEmployeeWithoutOneIsNamed) {
    if (!Have("qpdf")) GTEST_SKIP() << "qpdf missing";
    SlipCompany c;
    c.Param("NAGLPSHAS", "P");
    // An unprotected payslip of an earlier run must not stay behind.
    fs::create_directories(c.Dir());
    Touch(c.Dir() + "000001.pdf");
    const PayslipPdfOutcome done = c.Write(true);
    EXPECT_EQ(codepage::ToUtf8(done.message), "");
    EXPECT_EQ(done.written, 1);
    EXPECT_EQ(Utf8(done.failures),
              (std::vector<std::string>{"Brak numeru PESEL - pasek nie zapisany: 000001 Nowak",
                                        "Brak numeru PESEL - pasek nie zapisany: 000002 Kowal"}));
    EXPECT_EQ(Names(c.Dir()), std::set<std::string>{"000004.pdf"});
    const std::string pdf = c.Dir() + "000004.pdf";
    EXPECT_NE(Check(pdf, ""), 0);
    EXPECT_NE(Check(pdf, "78041221408"), 0);
    EXPECT_EQ(Check(pdf, SlipCompany::kPesel), 0);
}

TEST(PayslipPdf, CompanyPasswordOpensEveryPayslip) {
    if (!Have("qpdf")) GTEST_SKIP() << "qpdf missing";
    SlipCompany c;
    c.Param("NAGLPSHAS", "F");
    c.Param("NAGLPSHSL", "Tajne 123 ");
    const PayslipPdfOutcome done = c.Write(true);
    EXPECT_EQ(codepage::ToUtf8(done.message), "");
    EXPECT_EQ(done.written, 3);
    for (const char* f : {"000001.pdf", "000002.pdf", "000004.pdf"}) {
        EXPECT_NE(Check(c.Dir() + f, ""), 0) << f;
        EXPECT_EQ(Check(c.Dir() + f, "Tajne 123"), 0) << f;
    }
}

TEST(PayslipPdf, FailedEncryptionLeavesNoFileAndNoPasswordOnTheCommandLine) {
    SlipCompany c;
    c.Param("NAGLPSHAS", "F");
    c.Param("NAGLPSHSL", "Sekret7");
    fs::create_directories(c.Dir());
    Touch(c.Dir() + "000002.pdf");
    const std::string fake = FakeQpdf(c.dir.File(""), 2);
    const PayslipPdfOutcome done = c.Write(true, fake);
    EXPECT_EQ(codepage::ToUtf8(done.message), "");
    EXPECT_EQ(done.written, 0);
    ASSERT_EQ(done.failures.size(), 3U);
    EXPECT_EQ(codepage::ToUtf8(done.failures[1]), "Błąd szyfrowania pliku PDF: 000002 Kowal");
    // Neither the unprotected PDF nor one of an earlier run, nor any
    // temporary file.
    EXPECT_TRUE(Names(c.Dir()).empty());
    std::string argv, argfile;
    ASSERT_TRUE(base::ReadFile(c.dir.File("argv"), &argv).ok());
    ASSERT_TRUE(base::ReadFile(c.dir.File("argfile"), &argfile).ok());
    EXPECT_EQ(argv.find("Sekret7"), std::string::npos) << argv;
    EXPECT_EQ(argv.rfind("@", 0), 0U) << argv;
    EXPECT_NE(argfile.find("\n--encrypt\nSekret7\n"), std::string::npos) << argfile;
    EXPECT_NE(argfile.find("\n256\n--\n"), std::string::npos) << argfile;
}

TEST(PayslipPdf, PasswordWithALineBreakIsRefused) {
    SlipCompany c;
    const std::string fake = FakeQpdf(c.dir.File(""), 0);
    Touch(c.dir.File("in.pdf"));
    Touch(c.dir.File("out.pdf"));
    PdfEncryption e;
    e.program = fake;
    const EncryptResult r = EncryptPdf(e, c.dir.File("in.pdf"), c.dir.File("out.pdf"), "a\n--x");
    EXPECT_EQ(r.failure, EncryptResult::Failure::kFailed);
    EXPECT_FALSE(fs::exists(c.dir.File("out.pdf")));
    EXPECT_FALSE(fs::exists(c.dir.File("argv")));  // qpdf never ran
    // A qpdf that says it succeeded but wrote nothing is a failure too.
    EXPECT_EQ(EncryptPdf(e, c.dir.File("in.pdf"), c.dir.File("out.pdf"), "abc").failure,
              EncryptResult::Failure::kFailed);
}

// The operator's stop once the first payslip is there.
class StopAfterOne : public MatrixObserver {
  public:
    explicit StopAfterOne(std::string first) : first_(std::move(first)) {}
    bool Interrupted() override { return fs::exists(first_); }

  private:
    std::string first_;
};

TEST(PayslipPdf, InterruptedRunKeepsWhatItWroteAndTouchesNothingElse) {
    SlipCompany c;
    fs::create_directories(c.Dir());
    Touch(c.Dir() + "000009.pdf");
    StopAfterOne stop(c.Dir() + "000001.pdf");
    const PayslipPdfOutcome done = c.Write(false, "qpdf", &stop);
    EXPECT_TRUE(done.interrupted);
    EXPECT_EQ(done.written, 1);
    EXPECT_EQ(Names(c.Dir()), (std::set<std::string>{"000001.pdf", "000009.pdf"}));
}

}  // namespace
}  // namespace kestrel::payroll
