// The register printout run as the operator runs it: menu 2, entry 6, the
// choices, an Epson printer on port 0 (the spool) with the Mazovia letters;
// the spool file is then rendered into a PDF, which pdftotext reads back
// with its Polish letters and pdfinfo counts the pages of.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "employee_test_support.h"
#include "platform/base/files.h"
#include "platform/console/keys.h"
#include "printing/data/definitions.h"
#include "printing/data/spool_pages.h"
#include "printing/pdf/pdf_render.h"
#include "register/menu2.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
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

bool HaveTools() {
    for (const char* tool : {"pdftotext", "pdfinfo"})
        if (Shell(std::string("command -v ") + tool).empty()) return false;
    return true;
}

int PdfPages(const std::string& pdf) {
    std::istringstream in(Shell("pdfinfo '" + pdf + "'"));
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Pages:", 0) == 0) return std::stoi(line.substr(6));
    return -1;
}

TEST(RegisterPrintPdf, TheScriptedPrintoutReadsBackFromItsPdf) {
    if (!HaveTools()) GTEST_SKIP() << "pdftotext or pdfinfo missing (Debian poppler-utils)";
    testing::Company c({"PKLWYD", "PKSTAN"});
    auto& cfg = c.h.rt.config();
    cfg.Set("NAGL2", MemValue::Char(testing::Cp("Spółdzielnia Pracy \"Łąka\"")));
    cfg.Set("NAGLTDR", MemValue::Char("E"));
    cfg.Set("NAGLNDR", MemValue::Char("0"));
    cfg.Set("NAGLPRTPL", MemValue::Char(std::string(common::kPolishMazovia)));
    printing::ApplyControlCodes(c.h.rt);
    // Thirty current employees fill three pages; one former is left out.
    c.Register("000001", "Żółkiewska-Ślązak", "Łucja");
    for (int i = 2; i <= 30; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%06d", i);
        c.Register(number, "Nowak", "Jan");
    }
    c.Register("000031", "Gęślarz", "Józef", EmployeeKind::kStaff, "", "20251130");

    // 2.6; current employees by number, no range; the date as offered;
    // the printer; the spool file's name; Esc on the spool screen and in
    // the menu.
    c.h.backend.AddKeys(
        {'6', '1', '1', key::kEnter, key::kEnter, key::kEnter, key::kEnter, key::kEnter});
    ASSERT_TRUE(c.h.backend.AddScript("{screen printing}").ok());
    c.h.backend.AddKeys({key::kEsc, key::kEsc});
    Qrm2(c.h.rt);
    EXPECT_TRUE(c.h.backend.exhausted());

    std::string bytes;
    ASSERT_TRUE(base::ReadFile(c.dir.File("0.PRT"), &bytes).ok());
    // The letters went to the file in the printer's set: Mazovia "Ż" is A1.
    EXPECT_NE(bytes.find("\xA1\xA2\x92kiewska"), std::string::npos);
    EXPECT_EQ(printing::CountPages(c.dir.File("0.PRT")), 3);

    const std::string pdf = c.dir.File("kartoteka.pdf");
    printing::PdfOptions options;
    options.printer_type = 'E';
    options.letter_set = '2';
    options.title = "Kartoteka pracowników";
    const base::Status rendered = printing::RenderPdf(bytes, options, pdf);
    ASSERT_TRUE(rendered.ok()) << rendered.ToString();
    EXPECT_EQ(PdfPages(pdf), 3);
    const std::string text = Shell("pdftotext -layout '" + pdf + "' -");
    EXPECT_NE(text.find("000001 E Żółkiewska-Ślązak Łucja"), std::string::npos) << text;
    EXPECT_NE(text.find("Spółdzielnia Pracy \"Łąka\""), std::string::npos);
    EXPECT_NE(text.find("Kartoteka pracowników - pracownicy zatrudnieni"), std::string::npos);
    EXPECT_NE(text.find("Razem pracowników: 30"), std::string::npos);
    EXPECT_EQ(text.find("Gęślarz"), std::string::npos);
    // Every page has its number.
    for (const char* page : {"Str.   1", "Str.   2", "Str.   3"})
        EXPECT_NE(text.find(page), std::string::npos) << page;
}

}  // namespace
}  // namespace kestrel::registry
