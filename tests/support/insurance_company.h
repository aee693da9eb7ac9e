// A company for the tests of the insurance transfer: the recalculation's
// company (list 2026/A/1 of March, paid 2026-03-10) with the insurance
// tables, the title dictionary, insured employees and a fixture set of
// algorithms; the month's records read back as text.
#pragma once

#include <string>
#include <vector>

#include "insurance/data/insurance_records.h"
#include "insurance/data/insurance_transfer.h"
#include "recalc_company.h"

namespace kestrel::insurance::testing {

using registry::testing::Row;

struct InsCompany : payroll::testing::RecalcCompany {
    InsCompany() {
        for (const char* t : {"PKSKLAD", "PKZASIL", "PKKSKWN", "PKWYNAG", "PKPODST", "PKOKRES",
                              "PKASKLD", "PKAPDST", "PKAOKRN", "PKAZASL", "PKASKWN", "PKAWYNG",
                              "PKTYTUB", "PKKTYUB", "PKSWYN", "PKZMPRC", "PKASPRZ", "PKSSWPR"})
            Make(t);
        for (const char* code : {"0110", "0411"})
            Add("PKTYTUB", {{"TYTUL_PODM", code}, {"NAZWA_", std::string("Tytuł ") + code}});
        Add("PKSWYN", {{"KOD_WYNAGR", "01"}, {"NAZWA_", "Wynagrodzenie zasadnicze"}});
        Change("PKPRAC", "000001",
               {{"TYTUL_PODM", "0110"},
                {"TYTUL_EMER", "0"},
                {"TYTUL_STNP", "0"},
                {"DATA_ZATR", "20200101"},
                {"ETAT_L", "1"},
                {"ETAT_M", "1"}});
        Change("PKPRAC", "000002",
               {{"TYTUL_PODM", "0110"},
                {"TYTUL_EMER", "0"},
                {"TYTUL_STNP", "1"},
                {"DATA_ZATR", "20250601"},
                {"ETAT_L", "1"},
                {"ETAT_M", "1"}});
        Comp("ZASD", "K", 10, "");
        Comp("ZCHO", "K", 20, "");
        Comp("ZLEC", "K", 30, "");
    }

    /// The fixture's algorithms: contributions of groups 01 and 04, a
    /// base per year, periods interrupted by unpaid leave "BZ", the sick
    /// benefit of absence "CH", the base salary as remuneration code "01"
    /// and the totals in two passes.
    void Algorithms() {
        Add("PKASKLD", {{"TYT_PODM_P", "01"},
                        {"WARUNEK_", "ZASD+ZCHO>0"},
                        {"UMOWA_DEKL", "\"U\""},
                        {"POD_EM_REN", "ZASD"},
                        {"KWO_E_PRAC", "yround(ZASD*0.0976,2)"},
                        {"POD_ZDROW", "ZASD+ZCHO"}});
        Add("PKASKLD", {{"TYT_PODM_P", "04"},
                        {"WARUNEK_", "ZLEC>0"},
                        {"UMOWA_DEKL", "\"D\""},
                        {"POD_EM_REN", "ZLEC"}});
        Add("PKAPDST", {{"TYT_PODM_P", "01"}, {"POD_EM_REN", "ZASD"}, {"NIE_SKLADK", "ZCHO"}});
        Add("PKAOKRN", {{"TYT_PODM_P", "01"}, {"WARUNEK_", ".T."}, {"LISTA_NB", "bz,\r\nUB"}});
        Add("PKAZASL", {{"TYT_PODM_P", "01"},
                        {"KOD_NIEOB", "CH"},
                        {"ZASILEK_", "ZCHO"},
                        {"KOD_SW_PRZ", "\"331\""}});
        Add("PKASKWN", {{"TYT_PODM_P", "01"}, {"KOD_WYNAGR", "01"}, {"KWOTA_", "ZASD"}});
        Add("PKAWYNG", {{"WYNAGR_", "ZASD+ZCHO"},
                        {"DN_PRZEPR", "21"},
                        {"AKTYWN_", ".T."},
                        {"PRZEL_WYN", "ZASD"}});
        Add("PKRNB", {{"KOD_NIEOB", "CH"}, {"NAZWA_", "Choroba"}, {"DEKL_ZUS", "T"}});
        Add("PKRNB", {{"KOD_NIEOB", "BZ"}, {"NAZWA_", "Urlop bezpłatny"}});
    }

    /// An absence line of the month (days `first`..`last`).
    void Away(const std::string& number, int lp, const std::string& code, int first, int last) {
        tables.Open("PKNIEOB", {"PKNIEOB1", "PKNIEOB2", "PKNIEOB3", "PKNIEOB4", "PKNIEOB5"});
        Add("PKNIEOB", {{"ROK_", "2026"},
                        {"MIESIAC_", "3"},
                        {"LP_", std::to_string(lp)},
                        {"NR_PRAC", number},
                        {"KOD_NIEOB", code},
                        {"ILOSC_", std::to_string(last - first + 1)},
                        {"DZ_ROZP", std::to_string(first)},
                        {"DZ_ZAK", std::to_string(last)},
                        {"ROK_KAL", "2026"},
                        {"MC_KAL", "3"}});
    }

    TransferOutcome Run(TransferObserver* watch = nullptr) {
        TransferOutcome out = Transfer(h.rt, tables, watch);
        tables.CloseAll();
        message = codepage::ToUtf8(out.message);
        return out;
    }
    std::string message;  // UTF-8

    /// The visible records of `table` of the month (March 2026 unless
    /// told), each as the given fields joined by blanks.
    std::vector<std::string> Dump(const std::string& table, const std::vector<std::string>& fields,
                                  int year = 2026, int month = 3) {
        std::vector<std::string> out;
        for (const RecordSection& s : ReadMonthRecords(h.rt, tables, year, month)) {
            if (s.table != table) continue;
            for (const auto& row : s.rows) {
                std::string line;
                for (const std::string& f : fields)
                    for (size_t i = 0; i < s.fields.size(); ++i)
                        if (s.fields[i] == f) line += (line.empty() ? "" : " ") + row[i];
                out.push_back(codepage::ToUtf8(line));
            }
        }
        tables.CloseAll();
        return out;
    }

    /// A logical field of the control record.
    bool Flag(const std::string& field) {
        const std::vector<std::string> v = Records("PKSTER", field);
        return !v.empty() && v[0] == "T";
    }
    void SetFlag(const std::string& field, bool on) {
        dbf::WorkArea& a = tables.Open("PKSTER");
        a.GoTop();
        a.RLock();
        a.record().SetLogical(a.FieldIndex(field), on);
        EXPECT_TRUE(a.Commit().ok());
        a.Unlock();
        tables.CloseAll();
    }

    /// Sets fields of the records of `table` whose NR_PRAC is `number`.
    void Change(const std::string& table, const std::string& number, const Row& fields) {
        dbf::WorkArea& a = tables.Open(table);
        for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip(1)) {
            if (a.record().GetString(a.FieldIndex("NR_PRAC")) != number) continue;
            a.RLock();
            for (const auto& [field, value] : fields) {
                const int f = a.FieldIndex(field);
                ASSERT_GE(f, 0) << field;
                switch (a.table().fields()[static_cast<size_t>(f)].type) {
                    case dbf::FieldType::kLogical:
                        a.record().SetLogical(f, value == "T");
                        break;
                    case dbf::FieldType::kNumeric:
                        a.record().SetNumber(f, std::strtod(value.c_str(), nullptr));
                        break;
                    case dbf::FieldType::kDate:
                        a.record().SetDate(f, value);
                        break;
                    default:
                        a.record().SetString(f, registry::testing::Cp(value));
                }
            }
            EXPECT_TRUE(a.Commit().ok());
            a.Unlock();
        }
        tables.CloseAll();
    }
};

}  // namespace kestrel::insurance::testing
