// The shipped bank layout (data/payroll/PKWROR.setup) as a new company and
// an existing one get it, and the Elixir-O file it writes, field by field.
#include <gtest/gtest.h>

#include <memory>

#include "bank_test_support.h"
#include "common/checks/identifiers.h"
#include "common/tables/shipped_content.h"
#include "payroll/bank/data/bank_run.h"
#include "payroll/data/setup_install.h"

namespace kestrel::payroll::bank {
namespace {

using testing::BankCompany;
using testing::Row;
using Texts = std::vector<std::string>;

const char kCompanyAccount[] = "PL61 1090 1014 0000 0712 1981 2874";

std::vector<common::SetupRecord> ShippedBanks() {
    std::string text;
    EXPECT_TRUE(base::ReadFile(std::string(KESTREL_DATA_DIR) + "payroll/PKWROR.setup", &text).ok());
    std::vector<common::SetupRecord> records;
    const base::Status s = common::ParseSetup(text, "PKWROR.setup", &records);
    EXPECT_TRUE(s.ok()) << s.message();
    return records;
}

// The fields of one line: commas outside double quotes separate them; the
// quotes are taken off.
Texts Fields(const std::string& line) {
    Texts out(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

struct Payee {
    const char* number;
    const char* surname;
    const char* account;
    double net;
};

// Employees paid on list 2026/A/1 of March 2026, paid on 2026-03-10.
struct ElixirCompany : BankCompany {
    PayrollList list;

    explicit ElixirCompany(const std::vector<Payee>& payees) {
        h.rt.config().Set("NAGL73", memfile::MemValue::Char(
                                        registry::testing::Cp("\"Zakład Testowy\" Sp. z o.o.")));
        h.rt.config().Set("NAGL74", memfile::MemValue::Char(kCompanyAccount));
        list = List("2026", "A", 1, "03", "20260310");
        for (const Payee& p : payees) {
            Add("PKPRAC", {{"NR_PRAC", p.number},
                           {"NAZWX_", p.surname},
                           {"IMIEX_", "Anna"},
                           {"ULICA_", "Polna"},
                           {"NR_DOMU", "7"},
                           {"KOD_POCZT", "00-950"},
                           {"MIEJSCOW_", "Warszawa"},
                           {"NR_KONT", p.account}});
            Position(list, p.number, "DOWY", p.net);
        }
        const SetupInstallOutcome installed = InstallSetup(tables, ShippedBanks());
        EXPECT_EQ(installed.installed, 1);
    }

    BankOutcome Write() {
        BankRun run(h.rt, tables, list, nullptr);
        BankOutcome out;
        out.message = run.Check();
        if (out.message.empty()) out = run.Run();
        out.message = codepage::ToUtf8(out.message);
        return out;
    }
};

TEST(ElixirLayout, ANewCompanyGetsTheShippedBank) {
    BankCompany c;
    std::unique_ptr<dbf::Table> t;
    const std::string path = c.dir.File("NEW.DBF");
    ASSERT_TRUE(dbf::Table::Create(path, common::FindTable("PKWROR")->Specs()).ok());
    ASSERT_TRUE(dbf::Table::Open(path, {}, &t).ok());
    uint32_t loaded = 0;
    ASSERT_TRUE(common::LoadSetupRecords(ShippedBanks(), "PKWROR", *t, &loaded).ok());
    EXPECT_EQ(loaded, 1u);
    EXPECT_TRUE(common::HasInitialContent("PKWROR"));
    // An existing company gets it once, by the bank's name.
    EXPECT_EQ(InstallSetup(c.tables, ShippedBanks()).installed, 1);
    EXPECT_EQ(InstallSetup(c.tables, ShippedBanks()).installed, 0);
    EXPECT_EQ(c.Records("PKWROR", "BANK_"), Texts{"Przelewy Elixir-O"});
}

TEST(ElixirLayout, OneLinePerPaymentFieldByField) {
    const std::vector<Payee> payees = {
        {"000011", "Adamska", "92 1020 4055 0000 1234 5678 9012", 4321.09},
        {"000012", "Bielska", "", 2500.00},  // no account: paid in cash
        {"000013", "Cicha", "PL63114020040000361234567890", 0.05},
        {"000014", "Dudek", "91-1050-1445-0000-0022-1101-4512", 3000.00},
    };
    ElixirCompany c(payees);
    const BankOutcome out = c.Write();
    ASSERT_TRUE(out.completed) << out.message;
    EXPECT_EQ(c.Files(), Texts{"EL260310.PLI"});
    const Texts lines = c.Lines("EL260310.PLI");
    // Three payments, no header and no trailer. (Employees 000001 and
    // 000002 of the company have no account and no amount.)
    ASSERT_EQ(lines.size(), 3u);
    const Payee* paid[] = {&payees[0], &payees[2], &payees[3]};
    for (size_t i = 0; i < lines.size(); ++i) {
        const Payee& p = *paid[i];
        const Texts f = Fields(lines[i]);
        ASSERT_EQ(f.size(), 16u) << lines[i];
        EXPECT_EQ(f[0], "110");
        EXPECT_EQ(f[1], "20260310");
        EXPECT_EQ(f[2], std::to_string(Grosze(p.net))) << p.number;
        EXPECT_EQ(f[3], "10901014");
        EXPECT_EQ(f[4], "0");
        EXPECT_EQ(f[5], "61109010140000071219812874");
        EXPECT_EQ(f[6].size(), 26u);
        EXPECT_TRUE(common::CheckIban(f[6])) << f[6];
        // A double quote of the name would end the field: an apostrophe.
        EXPECT_EQ(f[7], "'Zakład Testowy' Sp. z o.o.");
        EXPECT_EQ(f[8], std::string(p.surname) + " Anna|Polna 7|00-950 Warszawa");
        EXPECT_EQ(f[9], "0");
        EXPECT_EQ(f[10], f[6].substr(2, 8));
        EXPECT_EQ(f[11], "Wynagrodzenie 03/2026");
        EXPECT_EQ(f[12], "");
        EXPECT_EQ(f[13], "");
        EXPECT_EQ(f[14], "51");
        EXPECT_EQ(f[15], "");
    }
    EXPECT_EQ(Fields(lines[0])[6], "92102040550000123456789012");
    ASSERT_EQ(out.files.size(), 1u);
    EXPECT_EQ(out.files[0].total, 432109 + 5 + 300000);
}

TEST(ElixirLayout, ABadAccountStopsTheFileNamingTheEmployee) {
    ElixirCompany c({{"000011", "Adamska", "92 1020 4055 0000 1234 5678 9012", 100},
                     {"000012", "Bielska", "92 1020 4055 0000 1234 5678 9021", 200}});
    const BankOutcome out = c.Write();
    EXPECT_FALSE(out.completed);
    EXPECT_EQ(out.message, "Błędny Nr rachunku pracownika 000012");
    EXPECT_EQ(c.Files(), Texts{});
}

TEST(ElixirLayout, ACompanyWithoutItsAccountWritesNothing) {
    ElixirCompany c({{"000011", "Adamska", "92 1020 4055 0000 1234 5678 9012", 100}});
    c.h.rt.config().Set("NAGL74", memfile::MemValue::Char(""));
    const BankOutcome out = c.Write();
    EXPECT_EQ(out.message, "Błędny Nr rachunku firmy (NAGL74)");
    EXPECT_EQ(c.Files(), Texts{});
}

}  // namespace
}  // namespace kestrel::payroll::bank
