// Annual archives for the tests: a year of the payroll lists moved out of
// the working tables into ARCH<yyyy> as the annual archiving does it (the
// tables copied, the year's records kept on one side and removed from the
// other, both packed and their indexes rebuilt through the table layer).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "payroll/data/payroll_records.h"

namespace kestrel::payroll::testing {

/// Moves the lists and positions of `year` from the company of `tables`
/// (directory `data_dir`, ending with "/") into `data_dir` + "ARCH<year>/".
/// The lists whose keys (PayrollList::Key) are in `also_in_working` stay
/// in the working tables as well, as an interrupted archiving could leave
/// them. `tables` is left with nothing open.
inline void MoveYearToArchive(common::Tables& tables, const std::string& data_dir, int year,
                              const std::vector<std::string>& also_in_working = {},
                              const std::vector<std::string>& moved = {"PKLISTY", "PKPLACE"}) {
    tables.CloseAll();
    const std::string archive = data_dir + "ARCH" + std::to_string(year) + "/";
    std::filesystem::create_directories(archive);
    const std::string y = std::to_string(year);
    for (const std::string& t : moved) {
        std::filesystem::copy_file(data_dir + t + ".DBF", archive + t + ".DBF",
                                   std::filesystem::copy_options::overwrite_existing);
        for (const bool in_archive : {true, false}) {
            dbf::WorkArea& a = in_archive ? tables.OpenIn(archive, "A" + t, t) : tables.Open(t);
            const int f_year = a.FieldIndex("ROK_LST"), f_type = a.FieldIndex("TYP_LST"),
                      f_number = a.FieldIndex("NR_LST");
            for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip()) {
                const bool of_year = a.record().GetString(f_year) == y;
                const std::string key = a.record().GetString(f_year) +
                                        a.record().GetString(f_type) +
                                        StrN(static_cast<int>(a.record().GetNumber(f_number)), 4);
                const bool kept = std::find(also_in_working.begin(), also_in_working.end(), key) !=
                                  also_in_working.end();
                if (in_archive ? of_year : (!of_year || kept)) continue;
                tables.RLock(a);
                ASSERT_TRUE(a.Delete().ok());
                a.Unlock();
            }
            tables.CloseAll();
            if (in_archive)
                tables.PackIn(archive, t, common::IndexFiles(t), true);
            else
                tables.Pack(t, common::IndexFiles(t));
        }
    }
    tables.CloseAll();
}

}  // namespace kestrel::payroll::testing
