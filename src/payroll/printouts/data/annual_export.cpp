#include "payroll/printouts/data/annual_export.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/dbf/table.h"

namespace kestrel::payroll {
namespace {

std::vector<dbf::FieldSpec> Fields() {
    std::vector<dbf::FieldSpec> f = {
        {"NR_PRAC", dbf::FieldType::kCharacter, 6, 0},
        {"NAZWISKO", dbf::FieldType::kCharacter, 51, 0},
        {"DZIAL_", dbf::FieldType::kCharacter, 4, 0},
        {"SKLADN_PL", dbf::FieldType::kCharacter, 4, 0},
        {"NAZWA_", dbf::FieldType::kCharacter, 50, 0},
    };
    for (int m = 1; m <= 12; ++m) {
        char name[8];
        std::snprintf(name, sizeof name, "M%02d", m);
        f.push_back({name, dbf::FieldType::kNumeric, 13, 2});
    }
    f.push_back({"ROK", dbf::FieldType::kNumeric, 14, 2});
    return f;
}

bool Write(dbf::Table& t, const AnnualSummary& summary) {
    for (const AnnualEmployee& e : summary.employees) {
        for (const AnnualRow& row : e.rows) {
            dbf::Record r = t.NewRecord();
            bool ok = r.SetString(0, e.number).ok() && r.SetString(1, e.name).ok() &&
                      r.SetString(2, e.department).ok() && r.SetString(3, row.symbol).ok() &&
                      r.SetString(4, row.name).ok();
            for (int m = 0; m < 12 && ok; ++m)
                ok = r.SetNumber(5 + m, row.months[static_cast<size_t>(m)]).ok();
            ok = ok && r.SetNumber(17, row.year).ok();
            uint32_t recno = 0;
            if (!ok || !t.Append(r, &recno).ok()) return false;
        }
    }
    return true;
}

}  // namespace

std::string AnnualExportName(int year) {
    char name[16];
    std::snprintf(name, sizeof name, "ROCZ%04d.DBF", year);
    return name;
}

bool ExportAnnual(common::Runtime& rt, const AnnualSummary& summary, int year,
                  const std::string& dir, std::string* path, std::string* message) {
    const std::string name = AnnualExportName(year);
    *path = dir + name;
    const std::string work = dir + name.substr(0, name.size() - 4) + ".TMP";
    std::error_code ec;
    std::filesystem::remove(work, ec);
    std::unique_ptr<dbf::Table> t;
    if (!dbf::Table::Create(work, Fields()).ok() || !dbf::Table::Open(work, {}, &t).ok()) {
        std::filesystem::remove(work, ec);
        *message = rt.Text("Błąd tworzenia pliku ") + name;
        return false;
    }
    const bool written = Write(*t, summary);
    const bool closed = t->Close().ok();
    t.reset();
    if (!written || !closed) {
        std::filesystem::remove(work, ec);
        *message = rt.Text("Błąd zapisu pliku ") + name;
        return false;
    }
    std::filesystem::rename(work, *path, ec);
    if (ec) {
        std::filesystem::remove(work, ec);
        *message = rt.Text("Błąd zapisu pliku ") + name;
        return false;
    }
    return true;
}

}  // namespace kestrel::payroll
