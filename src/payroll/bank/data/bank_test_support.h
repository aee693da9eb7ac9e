// A company for the tests of the bank files: the payroll company with the
// bank parameters (PKWROR), an output directory of its own and the files
// found there.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "payroll_company.h"
#include "platform/base/files.h"

namespace kestrel::payroll::bank::testing {

using Row = registry::testing::Row;

struct BankCompany : payroll::testing::PayCompany {
    std::string out;  // the output directory, with "/"

    BankCompany() {
        Make("PKWROR");
        out = dir.path() + "/ROR/";
        std::filesystem::create_directories(out);
        h.rt.config().Set("NAGLRORPLI", memfile::MemValue::Char(out));
        h.rt.config().Set("NAGLSLROR", memfile::MemValue::Logical(true));
        Component("DOWY", "A", 90);
        Component("PREM", "K", 20);
    }

    /// A bank that gets a file; `more` adds or replaces fields.
    void Bank(const std::string& name, const std::string& prefix, const std::string& ext,
              const std::string& line, const Row& more = {}) {
        Row row{{"BANK_", name}, {"SKLADN_PL", "DOWY"}, {"PREFIX_", prefix},
                {"EXT_", ext},   {"WZOR_", line},       {"WARUNEK_", ".T."}};
        for (const auto& [field, value] : more) {
            auto same = [&](const auto& p) { return p.first == field; };
            row.erase(std::remove_if(row.begin(), row.end(), same), row.end());
            row.push_back({field, value});
        }
        Add("PKWROR", row);
    }

    /// Deletes every bank, and the files written so far.
    void ClearBanks() {
        dbf::WorkArea* open = tables.workspace().Find("PKWROR");
        dbf::WorkArea& a = open != nullptr ? *open : tables.Open("PKWROR");
        a.set_hide_deleted(false);
        for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip()) {
            if (a.deleted()) continue;
            ASSERT_TRUE(a.RLock().ok());
            ASSERT_TRUE(a.Delete().ok());
            a.Unlock();
        }
        for (const std::string& name : Files()) std::filesystem::remove(out + name);
    }

    /// The names of the files in the output directory, sorted.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(out))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    /// The lines of file `name` of the output directory (CR LF cut; a
    /// line without its CR keeps a mark).
    std::vector<std::string> Lines(const std::string& name) const {
        std::string text;
        EXPECT_TRUE(base::ReadFile(out + name, &text).ok()) << name;
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < text.size()) {
            const size_t lf = text.find('\n', start);
            std::string l = text.substr(start, lf == std::string::npos ? lf : lf - start);
            if (!l.empty() && l.back() == '\r')
                l.pop_back();
            else
                l += "<no CR LF>";
            lines.push_back(codepage::ToUtf8(l));
            if (lf == std::string::npos) break;
            start = lf + 1;
        }
        return lines;
    }
};

}  // namespace kestrel::payroll::bank::testing
