#include "printing/pdf/pdf_render.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>

namespace kestrel::printing {
namespace {

namespace fs = std::filesystem;

#define ESC "\x1b"

// The output of a shell command.
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
    for (const char* tool : {"pdftotext", "pdfinfo", "pdffonts"})
        if (Shell(std::string("command -v ") + tool).empty()) return false;
    return true;
}

class PdfRender : public testing::Test {
  protected:
    void SetUp() override {
        if (!HaveTools())
            GTEST_SKIP() << "pdftotext, pdfinfo or pdffonts missing (Debian poppler-utils)";
        std::string t = (fs::temp_directory_path() / "kestrel-pdf-XXXXXX").string();
        ASSERT_NE(mkdtemp(t.data()), nullptr);
        dir_ = t;
    }
    void TearDown() override {
        if (!dir_.empty()) fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (fs::path(dir_) / name).string(); }
    std::string Render(const std::string& bytes, char type, const std::string& title = "") {
        const std::string out = Path("out.pdf");
        const base::Status s = RenderPdf(bytes, PdfOptions{type, '1', title}, out);
        EXPECT_TRUE(s.ok()) << s.ToString();
        return out;
    }
    static std::string Info(const std::string& pdf, const std::string& field) {
        std::istringstream in(Shell("pdfinfo -f 1 -l 999 '" + pdf + "'"));
        std::string line, value;
        for (; std::getline(in, line);) {
            if (line.rfind(field + ":", 0) == 0) {
                value = line.substr(field.size() + 1);
                value.erase(0, value.find_first_not_of(' '));
            }
        }
        return value;
    }
    // The width (points) of the first word `word` on the first page.
    static double WordWidth(const std::string& pdf, const std::string& word) {
        const std::string boxes = Shell("pdftotext -bbox -f 1 -l 1 '" + pdf + "' -");
        const std::regex re("xMin=\"([0-9.]+)\"[^>]*xMax=\"([0-9.]+)\"[^>]*>" + word + "<");
        std::smatch m;
        if (!std::regex_search(boxes, m, re)) return -1;
        return std::stod(m[2]) - std::stod(m[1]);
    }
    std::string dir_;
};

// A 9-pin print-out in CP852: a bold title at 10 cpi, Polish letters at 17
// cpi, three pages.
TEST_F(PdfRender, BoldCondensedPolishPrintOut) {
    const std::string file =
        ESC "@" ESC "P\x12" ESC "W0" ESC "T" ESC "2" ESC
            "GLISTA P\x9d"
            "AC" ESC "H\r\n" ESC "P\x0f" ESC "W0" ESC
            "T\xa5\x86\xa9\x88\xe4\xa2\x98\xab\xbe "
            "\xa4\x8f\xa8\x9d\xe3\xe0\x97\x8d\xbd 12,50\r\n"
            "\x0c" ESC "P\x12" ESC "W0" ESC "TStrona 2\r\n\x0cStrona 3\r\n\x0c";
    const std::string pdf = Render(file, 'E', "Lista płac 12/2026");
    EXPECT_EQ(Info(pdf, "Pages"), "3");
    EXPECT_EQ(Info(pdf, "Title"), "Lista płac 12/2026");
    EXPECT_NE(Info(pdf, "Page    1 size").find("595.276 x 841.89"), std::string::npos);
    const std::string text = Shell("pdftotext -layout '" + pdf + "' -");
    EXPECT_NE(text.find("LISTA PŁAC"), std::string::npos) << text;
    EXPECT_NE(text.find("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ 12,50"), std::string::npos) << text;
    EXPECT_NE(text.find("Strona 3"), std::string::npos) << text;
    EXPECT_NE(Shell("pdffonts '" + pdf + "'").find("DejaVuSansMono-Bold"), std::string::npos);
    // 10 cpi: 7.2 points a character; 17 cpi: 72 / (120 / 7).
    EXPECT_NEAR(WordWidth(pdf, "LISTA"), 5 * 7.2, 0.3);
    EXPECT_NEAR(WordWidth(pdf, "ąćęłńóśźż"), 9 * 72 / (120.0 / 7), 0.3);
}

TEST_F(PdfRender, PlainAndSymbolicFiles) {
    std::string pdf = Render(
        "Bez znak\xa2w\r\n\x0c"
        "Druga strona\x0c",
        '0');
    EXPECT_EQ(Info(pdf, "Pages"), "2");
    std::string text = Shell("pdftotext '" + pdf + "' -");
    EXPECT_NE(text.find("Bez znaków"), std::string::npos) << text;
    EXPECT_NE(text.find("Druga strona"), std::string::npos) << text;

    // The job header gives the title; the names in braces never print; the
    // landscape reset turns the second sheet.
    pdf = Render(
        "{VDOSPRT:Lista obecno\x98"
        "ci}{YPRRS}{YPRPB}Tytu\x88{YPRKB} {YPR17}drobny\r\n"
        "\x0c{YPRLS}{YPR10}Poziomo\r\n\x0c",
        'V');
    EXPECT_EQ(Info(pdf, "Title"), "Lista obecności");
    EXPECT_EQ(Info(pdf, "Pages"), "2");
    EXPECT_NE(Info(pdf, "Page    1 size").find("595.276 x 841.89"), std::string::npos);
    EXPECT_NE(Info(pdf, "Page    2 size").find("841.89 x 595.276"), std::string::npos);
    text = Shell("pdftotext '" + pdf + "' -");
    EXPECT_NE(text.find("Tytuł drobny"), std::string::npos) << text;
    EXPECT_NE(text.find("Poziomo"), std::string::npos) << text;
    EXPECT_EQ(text.find("YPR"), std::string::npos) << text;
}

TEST_F(PdfRender, ReplacesTheOldDocumentWhole) {
    const std::string out = Path("out.pdf");
    std::ofstream(out) << "an older document";
    std::mt19937 rng(7);
    std::string noise(5000, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    ASSERT_TRUE(RenderPdf(noise, PdfOptions{'E', '2', ""}, out).ok());
    EXPECT_EQ(Shell("head -c 5 '" + out + "'"), "%PDF-");
    EXPECT_NE(Info(out, "Pages"), "");
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir_)) files += e.is_regular_file();
    EXPECT_EQ(files, 1) << "a working copy was left behind";

    // A directory that does not exist: an error, and nothing written.
    const base::Status s = RenderPdf("x", PdfOptions{}, Path("none/out.pdf"));
    EXPECT_FALSE(s.ok());
    EXPECT_NE(s.message().find("none/out.pdf"), std::string::npos) << s.ToString();
    EXPECT_FALSE(fs::exists(Path("none")));
}

}  // namespace
}  // namespace kestrel::printing
