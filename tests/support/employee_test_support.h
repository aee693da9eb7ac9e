// A company directory for the tests of the employee layer: every table of
// the catalogue created empty (or with the shipped code dictionaries), a
// headless runtime over it and helpers to register people.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/tables/shipped_content.h"
#include "common/tables/table_catalogue.h"
#include "headless_runtime.h"
#include "platform/codepage/cp852.h"
#include "platform/dbf/table.h"
#include "register/data/employee.h"
#include "test_util.h"

namespace kestrel::registry::testing {

inline std::string Cp(std::string_view utf8) {
    return codepage::FromUtf8(utf8);
}

inline std::string Utf(std::string_view cp852) {
    return codepage::ToUtf8(cp852);
}

struct Company {
    dbf::testing::ScratchDir dir;
    kestrel::testing::HeadlessRuntime h;
    std::unique_ptr<common::Tables> tables;
    RegisterAreas areas;

    /// The register, its companions and PKSTER, and the tables `more`
    /// (filled from the shipped data where it has them).
    explicit Company(const std::vector<std::string>& more = {}) {
        h.rt.set_data_dir(dir.path() + "/");
        for (const char* t :
             {"PKPRAC", "PKKTYUB", "PKDOD", "PKZMPRC", "PKEKPRC", "PKUPRC", "PKSTER"}) {
            Create(t);
        }
        for (const std::string& t : more) Create(t);
        Reopen();
    }
    void Create(const std::string& table) {
        const common::TableLayout* layout = common::FindTable(table);
        ASSERT_NE(layout, nullptr) << table;
        const std::vector<dbf::FieldSpec> specs = layout->Specs();
        const std::string path = dir.File(table + ".DBF");
        ASSERT_TRUE(dbf::Table::Create(path, specs).ok()) << table;
        std::unique_ptr<dbf::Table> t;
        dbf::OpenOptions exclusive;
        exclusive.exclusive = true;
        ASSERT_TRUE(dbf::Table::Open(path, exclusive, &t).ok());
        ASSERT_TRUE(common::ShippedContent(KESTREL_DATA_DIR)(table, *t).ok()) << table;
        ASSERT_TRUE(t->Close().ok());
    }
    void Reopen() {
        tables.reset();
        common::RetryPolicy quick;
        quick.pause_ms = 1;
        tables = std::make_unique<common::Tables>(h.rt, quick);
        areas = OpenRegister(*tables);
    }
    dbf::WorkArea& prac() { return *areas.prac; }

    /// Another workstation on the same company directory (its own opens of
    /// the files, so its locks are another user's).
    struct Workstation {
        kestrel::testing::HeadlessRuntime h;
        std::unique_ptr<common::Tables> t;
        RegisterAreas areas;
        explicit Workstation(Company& c) {
            h.rt.set_data_dir(c.dir.path() + "/");
            common::RetryPolicy quick;
            quick.pause_ms = 1;
            t = std::make_unique<common::Tables>(h.rt, quick);
            areas = OpenRegister(*t);
        }
        common::Runtime& rt() { return h.rt; }
        common::Tables& tables() { return *t; }
    };

    /// Registers a person through the registration and returns the record number.
    uint32_t Register(const std::string& number, std::string_view surname_utf8,
                      std::string_view names_utf8, EmployeeKind kind = EmployeeKind::kStaff,
                      const std::string& pesel = "", const std::string& dismissal = "") {
        Registration reg(h.rt, *tables, areas);
        EXPECT_EQ(reg.Reserve(number), ReserveResult::kReserved);
        reg.ApplyDefaults(kind);
        reg.record().set_surname(Cp(surname_utf8));
        reg.record().set_first_names(Cp(names_utf8));
        reg.record().set_pesel(pesel);
        reg.record().SetDate("DATA_ZATR", "20200101");
        if (!dismissal.empty()) {
            reg.record().SetText("PRZYCZ_ZW", "01");
            reg.record().SetDate("DATA_ZWOLN", dismissal);
        }
        const uint32_t recno = reg.recno();
        reg.Confirm();
        return recno;
    }

    /// Every index of `area` agrees with its table.
    void ExpectIndexesRight(dbf::WorkArea& area) {
        for (size_t i = 0; i < area.index_count(); ++i) {
            const base::Status s = area.index(i).Check(&area.table());
            EXPECT_TRUE(s.ok()) << area.index(i).path() << ": " << s.ToString();
        }
    }

    /// Employee numbers in the order of index `order`.
    std::vector<std::string> NumbersIn(int order) {
        std::vector<std::string> out;
        dbf::WorkArea& p = prac();
        EXPECT_TRUE(p.SetOrder(order).ok());
        for (base::Status s = p.GoTop(); s.ok() && !p.eof(); s = p.Skip(1)) {
            out.push_back(p.record().GetString(p.FieldIndex("NR_PRAC")));
        }
        EXPECT_TRUE(p.SetOrder(kByNumber).ok());
        return out;
    }
};

}  // namespace kestrel::registry::testing
