#include "register/register_printout_dialog.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "register/data/printout_test_support.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::Page;
using testing::Pages;
using V = std::vector<std::string>;

// A register printing to spool files (type "0": no control sequences).
struct PrintingRegister : testing::Company {
    V messages;  // UTF-8, trimmed

    PrintingRegister() : Company({"PKLWYD", "PKSTAN"}) {
        testing::SetUpPrinter(h.rt);
        h.rt.config().Set("NAGLTDR", memfile::MemValue::Char("0"));
        h.con.keyboard().Bind(
            key::F(12), [this] { messages.push_back(base::TrimRight(h.Row(23).substr(1, 38))); });
        Register("000001", "Wiśniewska", "Zofia");
        Register("000002", "Nowak", "Jan", EmployeeKind::kStaff, "", "20251130");
        Register("000003", "Żak", "Łukasz");
    }
    void Keys(const std::vector<int>& keys) { h.backend.AddKeys(keys); }
    void Type(std::string_view utf8) {
        for (unsigned char c : testing::Cp(utf8)) h.backend.AddKeys({c});
    }
    // Nothing typed ahead while the print-out runs.
    void Printing() { ASSERT_TRUE(h.backend.AddScript("{screen printing}").ok()); }
    std::vector<Page> Spooled() {
        std::string bytes;
        if (!base::ReadFile(dir.File("0.PRT"), &bytes).ok()) return {};
        return Pages(bytes);
    }
    // The titles registered in PKLWYD.
    V SpoolTitles() {
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File("PKLWYD.DBF"), {}, &t).ok());
        V out;
        const int f = t->FieldIndex("TYTUL_");
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            out.push_back(testing::Utf(base::TrimRight(r.GetString(f))));
            return base::Status::Ok();
        });
        return out;
    }
    // The employee numbers printed, in order.
    V Numbers() {
        V numbers;
        for (const Page& p : Spooled())
            for (const std::string& l : p)
                if (l.size() > 8 && l.find_first_not_of("0123456789") == 6 && l[7] != ' ')
                    numbers.push_back(l.substr(0, 6));
        return numbers;
    }
};

TEST(RegisterPrintoutDialog, TheChoicesAndTheDateReachThePrintout) {
    struct Case {
        std::string group, order;
        V want;
        std::string title;
    };
    const Case cases[] = {
        {"1", "1", {"000001", "000003"}, "Kartoteka pracowników - pracownicy zatrudnieni"},
        {"2", "1", {"000002"}, "Kartoteka pracowników - pracownicy zwolnieni"},
        {"3", "2", {"000002", "000001", "000003"}, "Kartoteka pracowników"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.group + k.order);
        PrintingRegister c;
        // Group and order (one digit each: typed out), the open range, the
        // date typed out; any key at the printer, Enter at the spool file.
        c.Type(k.group + k.order);
        c.Keys({key::kEnter, key::kEnter});
        c.Type("20261231");
        c.Keys({key::kEnter, key::kEnter});
        c.Printing();
        c.Keys({key::kEsc});
        Qrm26(c.h.rt);
        EXPECT_EQ(c.Numbers(), k.want);
        const std::vector<Page> pages = c.Spooled();
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_NE(pages[0][2].find("Data wydruku: 2026-12-31"), std::string::npos);
        EXPECT_EQ(base::Trim(pages[0][3]), k.title);
        EXPECT_EQ(c.SpoolTitles(), V{k.title});
        EXPECT_EQ(c.h.rt.working_date().DateText(), "2026-12-08");
        EXPECT_TRUE(c.h.backend.exhausted());
    }
}

TEST(RegisterPrintoutDialog, ABackwardRangeIsRefusedAndAnEmptyOneReportsNoData) {
    PrintingRegister c;
    c.Type("11");
    c.Type("000005");  // typed out: on to "Do:"
    c.Type("000003");  // below the beginning: refused, the cursor stays
    c.Keys({key::Ctrl('y')});
    c.Type("000009");
    c.Keys({key::kEnter, key::F(12), key::kEnter});
    Qrm26(c.h.rt);
    EXPECT_EQ(c.h.backend.tones().size(), 2u);  // the refusal and the message
    EXPECT_EQ(c.messages, V{"Brak danych do wydruku"});
    EXPECT_TRUE(c.Spooled().empty());
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(RegisterPrintoutDialog, ARangePrintsItsEmployeesOnly) {
    PrintingRegister c;
    c.Type("31");
    c.Type("2");  // "2" becomes 000002
    c.Keys({key::kEnter});
    c.Type("3");
    c.Keys({key::kEnter, key::kEnter, key::kEnter, key::kEnter});
    c.Printing();
    c.Keys({key::kEsc});
    Qrm26(c.h.rt);
    EXPECT_EQ(c.Numbers(), (V{"000002", "000003"}));
}

TEST(RegisterPrintoutDialog, EscLeavesWithoutPrinting) {
    for (const std::vector<int>& keys :
         {std::vector<int>{key::kEsc},
          std::vector<int>{'1', '1', key::kEnter, key::kEnter, key::kEsc},
          std::vector<int>{'1', '1', key::kEnter, key::kEnter, key::kEnter, key::kEsc}}) {
        PrintingRegister c;
        c.Keys(keys);
        Qrm26(c.h.rt);
        EXPECT_TRUE(c.Spooled().empty());
        EXPECT_TRUE(c.SpoolTitles().empty());
        EXPECT_TRUE(c.h.backend.exhausted());
    }
}

}  // namespace
}  // namespace kestrel::registry
