// The register browse (menu 2.5) over a big register: the cost of opening
// it and jumping to the last employee by surname, and of a search by
// surname, must not grow much with the register. 100,000 employees against
// 1,000 (headless, the register's 14 index files built beforehand).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "platform/console/headless_backend.h"
#include "platform/console/keys.h"
#include "platform/dbf/table.h"
#include "register/data/employee_record.h"
#include "register/employee_browse.h"

namespace {

namespace key = kestrel::console::key;
using namespace kestrel;

void Check(const base::Status& s, const char* what) {
    if (!s.ok()) {
        std::fprintf(stderr, "%s: %s\n", what, s.ToString().c_str());
        std::exit(1);
    }
}

// A surname of six letters from a number: distinct, spread over the alphabet.
std::string Surname(uint32_t n) {
    std::string s = "K";
    for (int i = 0; i < 6; ++i) {
        s += static_cast<char>('a' + n % 26);
        n /= 26;
    }
    return s;
}

struct Station {
    console::HeadlessBackend backend;
    console::Console con{backend};
    base::FixedClock clock{base::LocalTime{2026, 12, 8, 9, 30, 0}};
    common::Runtime rt{con, clock};
    explicit Station(const std::string& dir) { rt.set_data_dir(dir + "/"); }
};

// PKPRAC of `n` employees (and its index files, built by the first open).
void Build(const std::string& dir, uint32_t n) {
    const common::TableLayout* layout = common::FindTable("PKPRAC");
    const std::string path = dir + "/PKPRAC.DBF";
    Check(dbf::Table::Create(path, layout->Specs()), "create");
    std::unique_ptr<dbf::Table> table;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    Check(dbf::Table::Open(path, exclusive, &table), "open");
    dbf::Record r = table->NewRecord();
    std::mt19937 rng(7);
    for (uint32_t i = 1; i <= n; ++i) {
        registry::EmployeeRecord e = registry::EmployeeRecord::FromStored(r);
        char nr[8];
        std::snprintf(nr, sizeof nr, "%06u", i);
        e.set_number(nr);
        e.set_surname(Surname(rng()));
        e.set_first_names("Jan");
        char pesel[16];
        std::snprintf(pesel, sizeof pesel, "%011u", static_cast<unsigned>(rng() % 2000000000u));
        e.set_pesel(pesel);
        e.SetNumber("ST_PODST", 4000 + i % 3000);
        if (i % 10 == 0) {
            e.SetText("PRZYCZ_ZW", "01");
            e.SetDate("DATA_ZWOLN", "20241231");
        }
        dbf::Record out = r;
        e.StoreInto(&out);
        uint32_t recno;
        Check(table->Append(out, &recno), "append");
    }
    Check(table->Close(), "close");
    Station st(dir);
    common::Tables tables(st.rt);
    dbf::WorkArea& prac = tables.Open("PKPRAC", registry::EmployeeIndexes());
    if (prac.table().record_count() != n || prac.index_count() != 14) {
        std::fprintf(stderr, "register of %u employees not built\n", n);
        std::exit(1);
    }
}

double Micros(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Opening 2.5 (the register with its indexes) and Ctrl+PgDn in surname order.
double OpenAndLast(const std::string& dir, int runs) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        Station st(dir);
        st.backend.AddKeys({key::F(7), key::kCtrlPgDn, key::kEsc});
        const auto start = std::chrono::steady_clock::now();
        common::Tables tables(st.rt);
        registry::BrowseRegister(st.rt, tables);
        t.push_back(Micros(start));
        // The browse ends on the last surname of the register.
        dbf::WorkArea& prac = *tables.workspace().Select("PKPRAC");
        if (prac.order() != registry::kBySurname || prac.Skip(1).ok() == false || !prac.eof()) {
            std::fprintf(stderr, "not on the last record\n");
            std::exit(1);
        }
    }
    return Median(t);
}

// The browse over the open register with an F2 search by surname.
double SearchSurname(const std::string& dir, int runs) {
    Station st(dir);
    common::Tables tables(st.rt);
    tables.Open("PKPRAC", registry::EmployeeIndexes());
    std::mt19937 rng(11);
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        std::vector<int> keys = {key::F(7), key::F(2)};
        for (char c : Surname(rng()).substr(0, 4)) keys.push_back(static_cast<unsigned char>(c));
        keys.push_back(key::kEnter);
        st.backend.AddKeys(keys);
        // A miss shows its message and waits for a key; after a hit the
        // Enter beeps on the number column.
        st.backend.AddKeys({key::kEnter, key::kEsc});
        const auto start = std::chrono::steady_clock::now();
        registry::BrowseRegister(st.rt, tables);
        t.push_back(Micros(start));
    }
    return Median(t);
}

}  // namespace

int main() {
    const auto root = std::filesystem::temp_directory_path() /
                      ("kestrel_register_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "big");
    std::filesystem::create_directories(root / "small");
    Build((root / "big").string(), 100000);
    Build((root / "small").string(), 1000);

    const double open_big = OpenAndLast((root / "big").string(), 15);
    const double open_small = OpenAndLast((root / "small").string(), 15);
    const double seek_big = SearchSurname((root / "big").string(), 31);
    const double seek_small = SearchSurname((root / "small").string(), 31);
    std::printf(
        "2.5 open + last by surname: 100,000 employees %.0f us, 1,000 employees %.0f us, "
        "ratio %.2f\n",
        open_big, open_small, open_big / open_small);
    std::printf(
        "2.5 F2 search by surname:   100,000 employees %.0f us, 1,000 employees %.0f us, "
        "ratio %.2f\n",
        seek_big, seek_small, seek_big / seek_small);
    std::printf("(target: ratio within 3)\n");
    std::filesystem::remove_all(root);
    return 0;
}
