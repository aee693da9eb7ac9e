// register_bench: the employee register at two sizes (1,000 and 100,000
// employees by default). For each size it prints
//   open   opening PKPRAC with its 14 index files and going to the last
//          record in surname order;
//   seek   a soft seek of a surname in surname order (mean of 2,000);
//   update saving an update of one employee (surname and rate changed, so
//          that most of the 14 indexes move a key; mean of 300);
// and the ratio of the large register's times to the small one's.
//
// Usage: register_bench [small] [large] [directory]   (default /tmp)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "common/tables/index_functions.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/dbf/table.h"
#include "register/data/employee.h"

namespace {

using namespace kestrel;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void Check(const base::Status& s, const char* what) {
    if (!s.ok()) {
        std::fprintf(stderr, "%s: %s\n", what, s.ToString().c_str());
        std::exit(1);
    }
}

const char* kSurnames[] = {"Nowak",
                           "Kowalski",
                           "Wi\x98niewski",
                           "W\xA2jcik",
                           "Kowalczyk",
                           "Lis",
                           "Madej",
                           "Zaj\xA5"
                           "c",
                           "\x9Dukasik",
                           "\xBE"
                           "ak"};

std::string Surname(std::mt19937& rng) {
    return std::string(kSurnames[rng() % 10]) + std::to_string(rng() % 10000);
}

void Fill(const std::string& path, int n) {
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    Check(dbf::Table::Open(path, exclusive, &t), "open PKPRAC");
    std::mt19937 rng(20261208);
    dbf::Record rec = t->NewRecord();
    for (int i = 1; i <= n; ++i) {
        registry::EmployeeRecord e = registry::EmployeeRecord::FromStored(t->NewRecord());
        char nr[16];
        std::snprintf(nr, sizeof nr, "%06d", i);
        e.set_number(nr);
        e.set_surname(Surname(rng));
        e.set_first_names("JAN");
        e.set_pesel(registry::MakePesel("19800101", i % 1000, 'M'));
        e.set_kind(i % 10 == 0 ? registry::EmployeeKind::kNonStaff
                               : registry::EmployeeKind::kStaff);
        e.SetText("DZIAL_", i % 3 == 0 ? "PROD" : "ADM");
        e.SetText("URZ_SKARB", "01");
        if (i % 7 == 0) {
            e.SetText("PRZYCZ_ZW", "01");
            e.SetDate("DATA_ZWOLN", "20241231");
        }
        e.StoreInto(&rec);
        uint32_t recno = 0;
        Check(t->Append(rec, &recno), "append");
    }
    Check(t->Close(), "close");
}

struct Times {
    double open = 0, seek = 0, update = 0;
};

Times Run(const std::string& root, int n) {
    const std::string dir =
        root + "/kestrel_register_bench_" + std::to_string(::getpid()) + "_" + std::to_string(n);
    std::filesystem::create_directories(dir);
    for (const char* table : {"PKPRAC", "PKKTYUB", "PKDOD", "PKZMPRC", "PKEKPRC", "PKUPRC"}) {
        Check(dbf::Table::Create(dir + "/" + table + ".DBF", common::FindTable(table)->Specs()),
              table);
    }
    Fill(dir + "/PKPRAC.DBF", n);
    testing::HeadlessRuntime h;
    h.rt.set_data_dir(dir + "/");
    {
        common::Tables build(h.rt);
        registry::OpenRegister(build);
    }  // index files, not timed

    Times t;
    common::Tables tables(h.rt);
    auto start = Clock::now();
    const registry::RegisterAreas areas = registry::OpenRegister(tables);
    dbf::WorkArea& prac = *areas.prac;
    Check(prac.SetOrder(registry::kBySurname), "order");
    Check(prac.GoBottom(), "bottom");
    t.open = Seconds(start);

    std::mt19937 rng(7);
    constexpr int kSeeks = 2000;
    start = Clock::now();
    for (int i = 0; i < kSeeks; ++i) {
        std::string key = common::SortKey(h.rt.letters(), Surname(rng));
        Check(prac.Seek(key, true), "seek");
    }
    t.seek = Seconds(start) / kSeeks;

    constexpr int kUpdates = 300;
    Check(prac.SetOrder(registry::kByNumber), "order");
    start = Clock::now();
    for (int i = 0; i < kUpdates; ++i) {
        char nr[16];
        std::snprintf(nr, sizeof nr, "%06d", 1 + static_cast<int>(rng() % n));
        // Every update is made and timed: a number not found would make the
        // mean cover fewer saves than it is divided by.
        if (!registry::SeekEmployee(prac, nr)) {
            std::fprintf(stderr, "employee %s not found\n", nr);
            std::exit(1);
        }
        tables.RLock(prac);
        registry::EmployeeRecord e = registry::ReadEmployee(prac);
        e.set_surname(Surname(rng));
        e.SetNumber("ST_PODST", 4000 + i);
        Check(registry::WriteEmployee(prac, e), "write");
        Check(prac.Unlock(), "unlock");
    }
    t.update = Seconds(start) / kUpdates;
    tables.CloseAll();
    std::filesystem::remove_all(dir);
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    const int small = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int large = argc > 2 ? std::atoi(argv[2]) : 100000;
    const std::string root = argc > 3 ? argv[3] : "/tmp";
    (void)Run(root, small);  // warms the file system and the code up
    const Times a = Run(root, small);
    const Times b = Run(root, large);
    std::printf("%-8s %14s %14s %8s\n", "", (std::to_string(small) + " empl.").c_str(),
                (std::to_string(large) + " empl.").c_str(), "ratio");
    auto row = [](const char* name, double x, double y) {
        std::printf("%-8s %12.3f ms %12.3f ms %8.2f\n", name, x * 1e3, y * 1e3, x > 0 ? y / x : 0);
    };
    row("open", a.open, b.open);
    row("seek", a.seek, b.seek);
    row("update", a.update, b.update);
    return 0;
}
