// Other processes: a second workstation holding a table or a record, and a
// process killed in the middle of an upgrade or a pack.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/base/files.h"
#include "platform/console/keys.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

using dbf::testing::ScratchDir;
namespace key = console::key;

// A child process that holds a table (exclusively, or one record locked)
// until the parent closes the pipe.
class Holder {
  public:
    Holder(const std::string& path, bool exclusive, uint32_t record) {
        int ready[2], done[2];
        EXPECT_EQ(::pipe(ready), 0);
        EXPECT_EQ(::pipe(done), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(done[1]);
            std::unique_ptr<dbf::Table> t;
            dbf::OpenOptions options;
            options.exclusive = exclusive;
            bool ok = dbf::Table::Open(path, options, &t).ok();
            if (ok && record > 0) ok = t->LockRecord(record).ok();
            char c = ok ? 'y' : 'n';
            (void)!::write(ready[1], &c, 1);
            (void)!::read(done[0], &c, 1);  // until the parent closes its end
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(done[0]);
        done_ = done[1];
        char c = 0;
        EXPECT_EQ(::read(ready[0], &c, 1), 1);
        EXPECT_EQ(c, 'y');
        ::close(ready[0]);
    }
    ~Holder() { Release(); }
    void Release() {
        if (pid_ <= 0) return;
        ::close(done_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = 0;
    }

  private:
    pid_t pid_ = 0;
    int done_ = -1;
};

struct Company {
    ScratchDir dir;
    testing::HeadlessRuntime h;
    Company() { h.rt.set_data_dir(dir.path() + "/"); }
    std::string File(const std::string& n) const { return dir.File(n); }
};

void AddRecords(const std::string& path, int n, int deleted_every = 0) {
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    ASSERT_TRUE(dbf::Table::Open(path, exclusive, &t).ok());
    dbf::Record rec = t->NewRecord();
    for (int i = 1; i <= n; ++i) {
        ASSERT_TRUE(rec.SetNumber(0, 1990 + i % 30).ok());
        ASSERT_TRUE(rec.SetNumber(1, i % 12 + 1).ok());
        rec.set_deleted(deleted_every > 0 && i % deleted_every == 0);
        uint32_t recno = 0;
        ASSERT_TRUE(t->Append(rec, &recno).ok());
    }
    ASSERT_TRUE(t->Close().ok());
}

TEST(TableProcesses, AnotherProcessHoldingTheTableOrARecord) {
    Company c;
    ASSERT_TRUE(dbf::Table::Create(c.File("PKSTER.DBF"), FindTable("PKSTER")->Specs()).ok());
    AddRecords(c.File("PKSTER.DBF"), 3);
    {
        Holder other(c.File("PKSTER.DBF"), true, 0);
        c.h.backend.AddKeys({'t', key::kEsc, ' '});
        Tables tables(c.h.rt);
        EXPECT_THROW(tables.Open("PKSTER"), Abandon);
        EXPECT_NE(c.h.ShownRow(23).find("Operacja skasowana"), std::string::npos);
    }
    Holder other(c.File("PKSTER.DBF"), false, 2);
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKSTER");
    ASSERT_TRUE(area.Goto(2).ok());
    c.h.backend.AddKeys({'n', ' '});
    EXPECT_THROW(tables.RLock(area), Abandon);
    ASSERT_TRUE(area.Goto(3).ok());
    tables.RLock(area);  // another record is free
    ASSERT_TRUE(area.record().SetNumber(1, 9).ok());
    ASSERT_TRUE(area.Commit().ok());
    ASSERT_TRUE(area.Unlock().ok());
    other.Release();
    ASSERT_TRUE(area.Goto(2).ok());
    tables.RLock(area);
    EXPECT_EQ(area.table().record_count(), 3u);
}

// Runs `work` in a child process and kills it once `marker` exists (or lets
// it finish). Returns whether it was killed before finishing.
template <typename Work>
bool KillDuring(const std::string& marker, Work work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (base::Exists(marker)) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return true;
        }
    }
    return false;
}

TEST(TableProcesses, KilledUpgradeLeavesEveryRecord) {
    Company c;
    auto specs = FindTable("PKSTER")->Specs();
    specs.pop_back();  // an old layout without MIN_WYN_G
    ASSERT_TRUE(dbf::Table::Create(c.File("PKSTER.DBF"), specs).ok());
    const int records = dbf::testing::UnderSanitizer() ? 3000 : 20000;
    AddRecords(c.File("PKSTER.DBF"), records);
    KillDuring(c.File("PKSTER@.DBF"), [&] {
        testing::HeadlessRuntime child({'t'});
        child.rt.set_data_dir(c.dir.path() + "/");
        Tables tables(child.rt);
        try {
            tables.Open("PKSTER");
        } catch (...) {
        }
    });
    // Whatever the moment, the next open finds every record (and finishes
    // or repeats the upgrade).
    c.h.backend.AddKeys({'t'});
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKSTER");
    EXPECT_EQ(area.table().record_count(), static_cast<uint32_t>(records));
    EXPECT_EQ(area.table().fields().size(), 57u);
    ASSERT_TRUE(area.Goto(static_cast<uint32_t>(records)).ok());
    EXPECT_EQ(area.record().GetNumber(0), 1990 + records % 30);
}

TEST(TableProcesses, KilledPackLeavesEveryLiveRecord) {
    Company c;
    for (const char* t : {"PKETYK", "PKWALOR"})
        ASSERT_TRUE(
            dbf::Table::Create(c.File(std::string(t) + ".DBF"), FindTable(t)->Specs()).ok());
    const int records = dbf::testing::UnderSanitizer() ? 3000 : 20000;
    AddRecords(c.File("PKWALOR.DBF"), records, 4);
    KillDuring(c.File("PKWALOR@.DBF"), [&] {
        testing::HeadlessRuntime child;
        child.rt.set_data_dir(c.dir.path() + "/");
        Tables tables(child.rt);
        try {
            tables.Pack("PKWALOR", {"PKWALOR1"});
        } catch (...) {
        }
    });
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKWALOR", {"PKWALOR1"});
    uint32_t live = 0;
    ASSERT_TRUE(area.GoTop().ok());
    while (!area.eof()) {
        ++live;
        ASSERT_TRUE(area.Skip(1).ok());
    }
    EXPECT_EQ(live, static_cast<uint32_t>(records - records / 4));
    EXPECT_TRUE(area.index(0).Check(&area.table()).ok());
}

}  // namespace
}  // namespace kestrel::common

namespace kestrel::common {
namespace {

TEST(TableProcesses, IndexesAreRebuiltOnlyWhileNobodyElseHasTheTable) {
    Company c;
    ASSERT_TRUE(dbf::Table::Create(c.File("PKWALOR.DBF"), FindTable("PKWALOR")->Specs()).ok());
    AddRecords(c.File("PKWALOR.DBF"), 5);
    {
        Holder other(c.File("PKWALOR.DBF"), false, 0);
        c.h.backend.AddKeys({'n', ' '});
        Tables tables(c.h.rt);
        EXPECT_THROW(tables.Open("PKWALOR", {"PKWALOR1"}), Abandon);
        EXPECT_FALSE(base::Exists(c.File("PKWALOR1.NTX")));
    }
    Tables tables(c.h.rt);
    dbf::WorkArea& area = tables.Open("PKWALOR", {"PKWALOR1"});
    EXPECT_TRUE(area.index(0).Check(&area.table()).ok());
}

}  // namespace
}  // namespace kestrel::common
