// A print-out written into a scratch file and read back as pages of lines,
// for the tests of the register's printouts.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"
#include "printing/data/print_output.h"
#include "printing/data/printer_letters.h"

namespace kestrel::registry::testing {

using Page = std::vector<std::string>;  // lines without CR LF, UTF-8 for CP852 text

/// The stamp and company lines every header prints, and control variables
/// shown as their names in angle brackets, so that a test sees where they go.
inline void SetUpPrinter(common::Runtime& rt) {
    auto& c = rt.config();
    c.Set("NAGL1", memfile::MemValue::Char("FIRMA"));
    c.Set("NAGL2", memfile::MemValue::Char("Firma Sp. z o.o."));
    c.Set("NAGL3", memfile::MemValue::Char("Kraków"));
    for (const char* name : {"YPRRS", "YPR10", "YPRW6", "YPRPB", "YPRKB", "YPRPU", "YPRKU"})
        c.Set(name, memfile::MemValue::Char(""));
}

/// The file's bytes split into pages at form feeds (a last empty page
/// dropped) and lines at CR LF; `utf8` converts CP852 text for reading.
inline std::vector<Page> Pages(const std::string& bytes, bool utf8 = true) {
    std::vector<Page> pages(1);
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char ch = bytes[i];
        if (ch == '\f' || (ch == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
            pages.back().push_back(utf8 ? codepage::ToUtf8(line) : line);
            line.clear();
            if (ch == '\f')
                pages.emplace_back();
            else
                ++i;
        } else {
            line += ch;
        }
    }
    if (!line.empty()) pages.back().push_back(utf8 ? codepage::ToUtf8(line) : line);
    if (pages.back().empty()) pages.pop_back();
    return pages;
}

/// Runs `write` into a print file and returns its bytes.
template <typename Write>
std::string Printed(const std::string& path, Write write,
                    printing::PrintOutput::Converter convert = {}) {
    printing::PrintOutput out;
    EXPECT_TRUE(out.Open(path, std::move(convert)).ok());
    write(out);
    EXPECT_TRUE(out.Close().ok());
    std::string bytes;
    EXPECT_TRUE(base::ReadFile(path, &bytes).ok());
    return bytes;
}

/// The index of the first line of `page` beginning with `prefix`; -1 when none.
inline int LineOf(const Page& page, const std::string& prefix) {
    for (size_t i = 0; i < page.size(); ++i)
        if (page[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    return -1;
}

}  // namespace kestrel::registry::testing
