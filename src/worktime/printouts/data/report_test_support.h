// A company with a month of working time, absences and calendars for the
// working-time print-outs' tests, and the print-out read back as pages of
// lines (UTF-8).
#pragma once

#include <string>
#include <vector>

#include "common/checks/scramble.h"
#include "platform/base/files.h"
#include "printing/data/control_codes.h"
#include "printing/data/print_output.h"
#include "worktime/data/calendar_rules.h"
#include "worktime/data/calendar_table.h"
#include "worktime/printouts/data/month_report.h"
#include "worktime_company.h"

namespace kestrel::worktime::testing {

struct ReportCompany : WorkCompany {
    ReportCompany() : WorkCompany({"PKNIEOB", "PKDZIAL", "PKZAW", "PKSPZAW"}) {
        Add("PKDZIAL", {{"DZIAL_", "PROD"}, {"NAZWA_", "Produkcja"}});
        Add("PKDZIAL", {{"DZIAL_", "ADM"}, {"NAZWA_", "Administracja"}});
        WriteCalendar(tables, OpenCalendars(tables), PresetCalendar(2026, "01"));
        Code("NORM", "E", 0, "", "Godziny normalne");
        Code("N50", "N", 0, "", "Nadgodziny 50%");
        Code("GNOC", "D", 0, "", "Godziny nocne");
        AbsenceCode("UW", "U", "Urlop wypoczynkowy");
        AbsenceCode("CH", "Z", "Zwolnienie chorobowe");
        AbsenceCode("NG", "P", "Nieobecność godzinowa", true);
        Person("000001", "Żółkiewski", "Stanisław", "PROD");
        Person("000002", "Nowak", "Anna", "ADM");
        Person("000003", "Zleceniobiorca", "Jan", "PROD", {{"NIE_PRAC", "T"}});
        Person("000004", "Odszedł", "Piotr", "PROD", {{"DATA_ZWOLN", "20260227"}});
        Person("000005", "Przyszły", "Adam", "PROD", {{"DATA_ZATR", "20260401"}});
        Person("000006", "Odchodzi", "Ewa", "ADM", {{"DATA_ZWOLN", "20260315"}});
        Person("000007", "Firma", "", "ADM", {{"OS_PRAWNA", "T"}});
        Line("000001", "NORM", 160);
        Line("000001", "N50", 8);
        Line("000001", "GNOC", 12);
        Line("000002", "NORM", 176);
        Absence("000001", 1, "UW", 2026, 3, 2, 3, 2);
        Absence("000001", 2, "CH", 2026, 3, 16, 20, 5, 2026, 4);  // entered a month later
        Absence("000001", 3, "UW", 2026, 2, 9, 9, 1, 2026, 2);    // another month
        Absence("000002", 1, "NG", 2026, 3, 4, 4, 3.5);
        tables.CloseAll();
    }

    void AbsenceCode(const std::string& code, const std::string& type, const std::string& name,
                     bool hours = false) {
        Add("PKRNB", {{"KOD_NIEOB", code},
                      {"NAZWA_", name},
                      {"TYP_", type},
                      {"GODZ_DNI", hours ? "T" : "F"}});
    }
    void Person(const std::string& number, const std::string& surname, const std::string& first,
                const std::string& department, const Row& more = {}) {
        Row row{{"NR_PRAC", number},    {"NAZWX_", ""},  {"IMIEX_", ""}, {"GRUPA_KAL", "01"},
                {"DZIAL_", department}, {"ETAT_L", "1"}, {"ETAT_M", "1"}};
        row.insert(row.end(), more.begin(), more.end());
        Add("PKPRAC", row);
        // The names go in scrambled, as the register stores them.
        dbf::WorkArea& a = *tables.workspace().Find("PKPRAC");
        tables.RLock(a);
        a.record().SetString(a.FieldIndex("NAZWX_"),
                             common::Scramble(common::ScrambleKind::kName, Cp(surname), 72));
        a.record().SetString(a.FieldIndex("IMIEX_"),
                             common::Scramble(common::ScrambleKind::kName, Cp(first), 52));
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
    }
    void Absence(const std::string& number, int lp, const std::string& code, int cal_year,
                 int cal_month, int from, int to, double quantity, int year = 2026, int month = 3) {
        Add("PKNIEOB", {{"ROK_", std::to_string(year)},
                        {"MIESIAC_", std::to_string(month)},
                        {"LP_", std::to_string(lp)},
                        {"NR_PRAC", number},
                        {"KOD_NIEOB", code},
                        {"ROK_KAL", std::to_string(cal_year)},
                        {"MC_KAL", std::to_string(cal_month)},
                        {"DZ_ROZP", std::to_string(from)},
                        {"DZ_ZAK", std::to_string(to)},
                        {"ILOSC_", std::to_string(quantity)}});
    }

    MonthReport Read(const ReportOptions& o) {
        MonthReport r = ReadMonthReport(h.rt, tables, o);
        tables.CloseAll();
        return r;
    }
    static ReportOptions March() {
        ReportOptions o;
        o.year = 2026;
        o.month = 3;
        return o;
    }

    /// The control variables of printer type `type`.
    void Printer(char type) { printing::SetControlVariables(&h.rt.config(), type, {}); }

    /// What `block` writes, as bytes.
    template <typename Block>
    std::string Bytes(Block block, printing::PrintOutput::Converter convert = {}) {
        const std::string path = dir.File("OUT.PRT");
        printing::PrintOutput out;
        EXPECT_TRUE(out.Open(path, convert).ok());
        block(out);
        EXPECT_TRUE(out.Close().ok());
        std::string bytes;
        EXPECT_TRUE(base::ReadFile(path, &bytes).ok());
        return bytes;
    }
    /// The pages of a type "0" print-out, each as its lines (UTF-8, blanks
    /// cut on the right).
    template <typename Block>
    std::vector<std::vector<std::string>> Pages(Block block) {
        Printer('0');
        const std::string bytes = Bytes(block);
        std::vector<std::vector<std::string>> pages(1);
        std::string line;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const char ch = bytes[i];
            if (ch == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                pages.back().push_back(base::TrimRight(codepage::ToUtf8(line)));
                line.clear();
                ++i;
            } else if (ch == '\f') {
                pages.back().push_back(base::TrimRight(codepage::ToUtf8(line)));
                line.clear();
                pages.emplace_back();
            } else {
                line += ch;
            }
        }
        if (!line.empty()) pages.back().push_back(base::TrimRight(codepage::ToUtf8(line)));
        if (pages.back().empty()) pages.pop_back();
        return pages;
    }
};

/// The line of `page` that starts with `head`, "" when there is none.
inline std::string LineStarting(const std::vector<std::string>& page, const std::string& head) {
    for (const std::string& l : page)
        if (l.rfind(head, 0) == 0) return l;
    return "";
}

/// Whether some line of `page` contains `text`.
inline bool Contains(const std::vector<std::string>& page, const std::string& text) {
    for (const std::string& l : page)
        if (l.find(text) != std::string::npos) return true;
    return false;
}

}  // namespace kestrel::worktime::testing
