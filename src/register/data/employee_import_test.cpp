#include "register/data/employee_import.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"

namespace kestrel::registry {
namespace {

using testing::Company;
using testing::Cp;
using testing::Utf;

const std::vector<std::string> kDictionaries = {
    "PKURZ",   "PKSTAN",  "PKDZIAL", "PKSKSZT", "PKRUM",   "PKRPL",   "PKSZATR",
    "PKGRUPY", "PKGRALG", "PKSSTPO", "PKZWZ",   "PKTYTUB", "PKSGRIN", "PKKOFE",
    "PKSNIEZ", "PKKPSW",  "PKEKD",   "PKKZIS",  "PKWYKSZ", "PKWYRUB", "PKPRZ",
    "PKKROZ",  "PKKPOD",  "PKSKODK", "PKGMINY"};

TEST(ReadCsv, QuotingSeparatorsAndLineNumbers) {
    CsvTable t;
    // A byte-order mark, semicolons, a quoted separator, a doubled quote and
    // a line break inside quotes, which moves the next row's line number.
    ASSERT_TRUE(ReadCsv("\xEF\xBB\xBFNAZWISKO;IMIONA\r\n"
                        "\"Kowal; senior\";\"Jan \"\"Janek\"\"\"\r\n"
                        "\r\n"
                        "\"Nowak\nmłodszy\";\r\n"
                        "Zięba;Anna",
                        &t)
                    .ok());
    EXPECT_EQ(t.header, (std::vector<std::string>{"NAZWISKO", "IMIONA"}));
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0], (std::vector<std::string>{"Kowal; senior", "Jan \"Janek\""}));
    EXPECT_EQ(t.rows[1], (std::vector<std::string>{"Nowak\nmłodszy", ""}));
    EXPECT_EQ(t.rows[2], (std::vector<std::string>{"Zięba", "Anna"}));
    EXPECT_EQ(t.lines, (std::vector<int>{1, 2, 4, 6}));

    // Commas when the header has more of them; a semicolon is then text.
    ASSERT_TRUE(ReadCsv("A,B\n1;2,3\n", &t).ok());
    EXPECT_EQ(t.rows[0], (std::vector<std::string>{"1;2", "3"}));

    const struct {
        const char* text;
        const char* error;
    } bad[] = {
        {"A,B\n1,2\n\"open,3\n", "line 3: a quote is not closed"},
        {"A,B\n\"x\"y,2\n", "line 2: text after a closing quote"},
    };
    for (const auto& b : bad) {
        const base::Status s = ReadCsv(b.text, &t);
        EXPECT_FALSE(s.ok()) << b.text;
        EXPECT_NE(s.message().find(b.error), std::string::npos) << s.message();
    }
}

struct ImportCompany : Company {
    ImportCompany() : Company(kDictionaries) {}

    ImportOutcome Import(std::string_view csv, base::Status* status = nullptr) {
        ImportOutcome out;
        const base::Status s = ImportEmployees(h.rt, *tables, csv, &out);
        // The import opens the register again in the same tables, which
        // replaces the work areas the test holds.
        areas = OpenRegister(*tables);
        if (status != nullptr) *status = s;
        EXPECT_TRUE(status != nullptr || s.ok()) << s.ToString();
        return out;
    }
    EmployeeRecord Employee(const std::string& number) {
        EXPECT_TRUE(SeekEmployee(prac(), number)) << number;
        return ReadEmployee(prac());
    }
};

std::string Refusals(const ImportOutcome& out) {
    std::string all;
    for (const ImportNote& n : out.refused) all += std::to_string(n.line) + " " + n.text + "\n";
    return all;
}

// A staff row must give what the registration makes the operator type:
// the employment date, the dates the insurances arose and, with the tax
// relief (the default), its size.
const std::string kHeader =
    "NAZWISKO,IMIONA,PESEL,DATA_URODZ,PLEC_,DATA_ZATR,DATA_OB_UB,DATA_OB_UZ,WIE_ULG_PD,ST_PODST,"
    "URZ_SKARB\n";

TEST(EmployeeImport, RegistersRowsAndReportsRefusedOnes) {
    ImportCompany c;
    const std::string pesel = MakePesel("19900115", 123, 'K');
    const ImportOutcome out = c.Import(
        kHeader + "Łęcka-Żółwińska,Jadwiga Ósma," + pesel +
        ",1990-01-15,k,2024-03-01,2024-03-01,20240301,1,\"5200,50\",\n" +
        "Nowak,Jan,,,X,2024-03-01,2024-03-01,2024-03-01,1,4806,\n" +    // sex refused
        "Wrona,Piotr,,,M,,2024-03-01,2024-03-01,1,4806,\n" +            // no employment date
        "Sroka,Ewa,,,K,2024-03-01,2024-03-01,2024-03-01,1,-1,\n" +      // negative rate
        "Kos,Adam,,,M,2024-13-01,2024-03-01,2024-03-01,1,4806,\n" +     // no such date
        "Dudek,Ewa,,,K,2024-03-01,2024-03-01,2024-03-01,1,4806,ZZ\n" +  // unknown tax office
        "Sikora,Ola,,,K,2024-03-01,2024-03-01,2024-03-01\n" +           // a value short
        "Gil,Ewa,,,K,2024-03-01,2024-03-01,2024-03-01,1,4806,\n");
    EXPECT_EQ(out.registered, (std::vector<std::string>{"000001", "000002"}));
    EXPECT_EQ(Refusals(out),
              "3 PLEC_: value refused\n"
              "4 DATA_ZATR: value refused\n"
              "5 ST_PODST: value refused\n"
              "6 DATA_ZATR: not a date (YYYY-MM-DD)\n"
              "7 URZ_SKARB: Błędny kod\n"
              "8 expected 11 values, found 8\n");

    // The identity in clear through the scrambling, Polish letters kept,
    // upper case where the registration enters it so.
    const EmployeeRecord e = c.Employee("000001");
    EXPECT_EQ(Utf(e.surname()), "Łęcka-Żółwińska");
    EXPECT_EQ(Utf(e.first_names()), "Jadwiga Ósma");
    EXPECT_EQ(e.pesel(), pesel);
    EXPECT_EQ(e.Text("PLEC_"), "K");
    EXPECT_DOUBLE_EQ(e.Number("ST_PODST"), 5200.50);
    EXPECT_EQ(e.Date("DATA_OB_UZ"), "20240301");
    // The registration's defaults where the row says nothing.
    EXPECT_TRUE(e.Logical("ULGA_P_D"));
    EXPECT_TRUE(e.Logical("CZY_OB_UE"));
    EXPECT_EQ(e.kind(), EmployeeKind::kStaff);
    // The working-time fraction settled as the identity page settles it.
    EXPECT_DOUBLE_EQ(e.Number("ETAT_L"), 1);
    EXPECT_DOUBLE_EQ(e.Number("ETAT_M"), 1);
    // A refused row leaves nothing: not even a deleted record.
    EXPECT_EQ(c.prac().table().record_count(), 2u);
    c.ExpectIndexesRight(c.prac());
    EXPECT_EQ(c.NumbersIn(kByPesel).front(), "000002");  // empty PESEL sorts first
}

TEST(EmployeeImport, NumbersGivenOrProposedByKind) {
    ImportCompany c;
    c.Register("000041", "Stary", "Jan");
    const ImportOutcome out = c.Import(
        "NR_PRAC;NIE_PRAC;NAZWISKO;IMIONA;DATA_ZATR;DATA_OB_UB;DATA_OB_UZ;ULGA_P_D;PLEC_\n"
        ";N;Nowy;Jan;2024-03-01;2024-03-01;2024-03-01;N;M\n"
        "7;N;Siódmy;Jan;2024-03-01;2024-03-01;2024-03-01;N;M\n"
        ";T;Zleceniobiorca;Ewa;2024-03-01;;;N;K\n"
        "41;N;Drugi;Jan;2024-03-01;2024-03-01;2024-03-01;N;M\n"
        "000000;N;Zero;Jan;2024-03-01;2024-03-01;2024-03-01;N;M\n");
    EXPECT_EQ(out.registered, (std::vector<std::string>{"000042", "000007", "000001"}));
    EXPECT_EQ(Refusals(out),
              "5 Istnieje pracownik o tym numerze\n"
              "6 NR_PRAC: not an employee number\n");
    EXPECT_EQ(c.Employee("000001").kind(), EmployeeKind::kNonStaff);
    // A non-staff person is not compulsorily insured by default, so the
    // insurance dates are not asked.
    EXPECT_FALSE(c.Employee("000001").Logical("CZY_OB_UE"));
}

TEST(EmployeeImport, ASecondImportOfTheSamePeopleIsRefused) {
    ImportCompany c;
    const std::string pesel = MakePesel("19851102", 77, 'M');
    const std::string file =
        kHeader + "Nowak,Jan," + pesel + ",1985-11-02,M,2024-03-01,2024-03-01,2024-03-01,1,4806,\n";
    EXPECT_EQ(c.Import(file).registered, (std::vector<std::string>{"000001"}));
    const ImportOutcome again = c.Import(file);
    EXPECT_TRUE(again.registered.empty());
    EXPECT_EQ(Refusals(again), "2 PESEL: Ident.PESEL:000001\n");
    // Two rows of one person in one file: the second is refused the same way.
    const std::string other = MakePesel("19700305", 5, 'K');
    const std::string row =
        "Kos,Ewa," + other + ",1970-03-05,K,2024-03-01,2024-03-01,2024-03-01,1,4806,\n";
    const ImportOutcome twice = c.Import(kHeader + row + row);
    EXPECT_EQ(twice.registered, (std::vector<std::string>{"000002"}));
    EXPECT_EQ(Refusals(twice), "3 PESEL: Ident.PESEL:000002\n");
}

TEST(EmployeeImport, AFileThatCannotBeTakenWritesNothing) {
    ImportCompany c;
    const struct {
        std::string csv, error;
    } cases[] = {
        {"NAZWISKO,STAWKA\nNowak,4806\n", "line 1: unknown field STAWKA"},
        {"NAZWISKO,PESELX_\nNowak,1\n", "line 1: field PESELX_ is not imported"},
        {"NAZWISKO,MASTER_\nNowak,T\n", "line 1: field MASTER_ is not imported"},
        {"NAZWISKO,nazwisko\nNowak,Nowak\n", "line 1: field NAZWISKO named twice"},
        {"NAZWISKO,IMIONA\nNowak,\"Jan\n", "line 2: a quote is not closed"},
        {"", "no header"},
    };
    for (const auto& k : cases) {
        base::Status s;
        const ImportOutcome out = c.Import(k.csv, &s);
        EXPECT_FALSE(s.ok()) << k.csv;
        EXPECT_NE(s.message().find(k.error), std::string::npos) << s.message();
        EXPECT_TRUE(out.registered.empty());
    }
    EXPECT_EQ(c.prac().table().record_count(), 0u);
}

}  // namespace
}  // namespace kestrel::registry
