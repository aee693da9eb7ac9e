// A company for the printouts' tests: the payroll company with matrices,
// denominations and list symbols, and the text of a print file.
#pragma once

#include <string>
#include <vector>

#include "payroll/printouts/data/matrix_print.h"
#include "payroll_company.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"

namespace kestrel::payroll::testing {

using worktime::testing::Row;

struct PrintCompany : PayCompany {
    PrintCompany() {
        for (const char* t : {"PKNTBW", "PKTBW", "PKNOM", "PKDZIAL"}) Make(t);
        Add("PKSLST", {{"TYP_LST", "A"}, {"NAZWA_LST", "Lista płac etatowych"}, {"TBW_", "LP"}});
        Add("PKSLST", {{"TYP_LST", "Z"}, {"NAZWA_LST", "Umowy zlecenia"}});
    }

    /// A matrix header; `fields` adds or replaces header fields.
    void Matrix(const std::string& symbol, const std::string& type, const Row& fields = {}) {
        Row row{
            {"TBW_", symbol}, {"TYP_", type}, {"NAZWA_", "Lista płac " + symbol}, {"NR_IND", "1"}};
        for (const auto& f : fields) row.push_back(f);
        Add("PKNTBW", row);
    }
    /// A numeric cell totalled; `more` adds fields (MASKA_, WZOR_SUMY...).
    void Cell(const std::string& symbol, int row, int column, const std::string& content,
              const std::string& heading = "", int width = 12, const Row& more = {}) {
        Row r{{"TBW_", symbol},
              {"WIERSZ_", std::to_string(row)},
              {"NR_KOL", std::to_string(column)},
              {"SZER_KOL", std::to_string(width)},
              {"OPIS_", heading.empty() ? content : heading},
              {"ZAWARTOSC_", content},
              {"TYP_POLA", "N"},
              {"SUMA_", "T"}};
        for (const auto& f : more) r.push_back(f);
        Add("PKTBW", r);
    }
    void Department(const std::string& number, const std::string& surname,
                    const std::string& department) {
        Add("PKPRAC", {{"NR_PRAC", number}, {"NAZWX_", surname}, {"DZIAL_", department}});
    }
};

/// The lines of a print file as UTF-8, control bytes and trailing blanks
/// dropped, form feeds kept as lines of their own ("\f").
inline std::vector<std::string> PrintedLines(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(base::ReadFile(path, &bytes).ok());
    std::vector<std::string> lines;
    std::string line;
    auto flush = [&] {
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(codepage::ToUtf8(line));
        line.clear();
    };
    for (char ch : bytes) {
        if (ch == '\n') {
            flush();
        } else if (ch == '\f') {
            flush();
            lines.push_back("\f");
        } else if (static_cast<unsigned char>(ch) >= 32) {
            line += ch;
        }
    }
    flush();
    return lines;
}

/// The lines holding `text`.
inline std::vector<std::string> With(const std::vector<std::string>& lines,
                                     const std::string& text) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if (l.find(text) != std::string::npos) out.push_back(l);
    return out;
}

}  // namespace kestrel::payroll::testing
