// The company and the scripted dialog of the month-close tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "payroll/data/month_close.h"
#include "payroll_company.h"

namespace kestrel::payroll::testing {

/// Answers every question yes unless told otherwise, and records what the
/// close showed: "? question", "note", "! warning", "= stage", "# count".
struct ScriptedDialog : MonthCloseDialog {
    std::map<std::string, bool> answers;  // UTF-8 question -> answer
    bool out_of_sequence = true;
    std::vector<std::string> seen;
    std::vector<std::string> report;

    static std::string U(std::string_view cp852) { return codepage::ToUtf8(std::string(cp852)); }
    bool Ask(std::string_view question, std::string_view note) override {
        if (!note.empty()) seen.push_back(U(note));
        seen.push_back("? " + U(question));
        const auto it = answers.find(U(question));
        return it == answers.end() || it->second;
    }
    void Warn(std::string_view message) override { seen.push_back("! " + U(message)); }
    bool ConfirmOutOfSequence(const std::vector<std::string>& lines) override {
        for (const std::string& l : lines) seen.push_back("! " + U(l));
        return out_of_sequence;
    }
    void Stage(std::string_view heading) override { seen.push_back("= " + U(heading)); }
    void SeniorityDone(std::string_view count, const std::vector<std::string>& lines) override {
        seen.push_back("# " + U(count));
        for (const std::string& l : lines) report.push_back(U(l));
    }
};

/// A payroll company whose control record stands on `year`.`month` with the
/// insurance data up to date and the given further fields.
struct CloseCompany : PayCompany {
    CloseCompany(int year, int month, const worktime::testing::Row& more = {}) {
        worktime::testing::Row row{{"ROK_", std::to_string(year)},
                                   {"MC_", std::to_string(month)},
                                   {"AKT_ZUS", "T"},
                                   {"KWOTA_BAZ", "30.50"}};
        row.insert(row.end(), more.begin(), more.end());
        tables.CloseAll();
        Make("PKSTER", {row});
        Make("PKZAW");
        Make("PKSPZAW");
    }

    /// Sets AKT_ZUS of the control record again, as the insurance module
    /// does once the month's records are made.
    void InsuranceDone() {
        tables.CloseAll();
        dbf::WorkArea& a = tables.Open("PKSTER");
        tables.RLock(a);
        ASSERT_TRUE(a.record().SetLogical(a.FieldIndex("AKT_ZUS"), true).ok());
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
        tables.CloseAll();
    }

    /// ROK_.MC_ of the control record as stored.
    std::string Month() {
        tables.CloseAll();
        return base::Trim(Records("PKSTER", "ROK_")[0]) + "." +
               base::Trim(Records("PKSTER", "MC_")[0]);
    }
    std::string Field(const std::string& field) {
        tables.CloseAll();
        return base::Trim(Records("PKSTER", field)[0]);
    }
};

}  // namespace kestrel::payroll::testing
