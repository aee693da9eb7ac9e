#include "payroll/data/function_help.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace kestrel::payroll {
namespace {

// Characters of a UTF-8 text.
int Width(std::string_view utf8) {
    int n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

TEST(FunctionHelp, EveryPayrollFunctionIsListedOnceWithALineThatFits) {
    // The payroll library's functions, as formulas call them.
    const char* const library[] = {
        "SUMASKLAD", "SUMASKLDTW", "SUMABIEZ",  "SXSKLNP",   "SKLBIEZPES", "SUMAPES",   "STATUS",
        "DATALST",   "ZUSLIMIT",   "ZUSLIMIT2", "SUMADOCH",  "SUMADOCH2",  "SXDOCH2",   "SXPRZY2",
        "SUMAKOSZT", "SUMAKOSZT2", "SXKOSZT2",  "SUMAPOD",   "SUMAULG",    "SUMAKONZW", "SUMAPRZZW",
        "SUMALIMIT", "STAWKAPOD",  "ULGAKS",    "SUMPODEMR", "WYNAGR",     "DNIPRACY",  "GODZHARM",
        "DNOMPR",    "DNROK",      "MCZATR",    "DNIPFR",    "DNIPFR2",    "NBDTBMC",   "X3MC",
        "ILMCWZMET", "SYMPAKTLP",  "RATA",      "WKLADY",    "ZADLUZ",     "ZAPRSTR",   "PSPZ0",
        "PSDZ0",     "PSPP0",      "PSPP1",     "PSDP0",     "YROUND",
    };
    std::set<std::string> names;
    for (const FunctionHelp& f : PayrollFunctionHelp()) {
        EXPECT_TRUE(names.insert(f.name).second) << "twice: " << f.name;
        EXPECT_LE(std::string_view(f.name).size(), 10u) << f.name;  // the window's column
        for (unsigned char c : std::string_view(f.name))
            EXPECT_TRUE(std::isupper(c) || std::isdigit(c)) << f.name;
        EXPECT_GT(Width(f.description), 0) << f.name;
        EXPECT_LE(Width(f.description), kHelpWidth) << f.name << ": " << f.description;
        EXPECT_LE(Width(f.arguments), 45) << f.name;  // "Argumenty: " + this fits the row
    }
    for (const char* name : library) EXPECT_EQ(names.count(name), 1u) << "missing: " << name;
    // The library comes first, in its own order.
    EXPECT_STREQ(PayrollFunctionHelp().front().name, "SUMASKLAD");
}

}  // namespace
}  // namespace kestrel::payroll
