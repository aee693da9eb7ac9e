#include "printing/spool_pdf.h"

#include <gtest/gtest.h>

#include "platform/codepage/cp852.h"

namespace kestrel::printing {
namespace {

TEST(PdfName, TitleAndTimeMakeAFileName) {
    const base::LocalTime at{2026, 12, 8, 9, 5, 7};
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Lista obecności 12/2026", "Lista_obecności_12_2026_20261208_090507.pdf"},
        {"  ../..  ", "WYDRUK_20261208_090507.pdf"},
        {"", "WYDRUK_20261208_090507.pdf"},
        // Cut at 40 bytes, never inside a letter: "ś" would be split.
        {std::string(39, 'a') + "ś", std::string(39, 'a') + "_20261208_090507.pdf"},
    };
    for (const auto& [title, name] : cases)
        EXPECT_EQ(PdfName(codepage::FromUtf8(title), at), name) << title;
}

}  // namespace
}  // namespace kestrel::printing
