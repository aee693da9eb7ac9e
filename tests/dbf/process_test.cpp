// Several processes on one table: record locks with index updates, and
// processes killed in the middle of appends and of a pack.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/dbf/formula_key.h"
#include "platform/dbf/table_ops.h"
#include "platform/dbf/work_area.h"
#include "test_util.h"

namespace kestrel::dbf {
namespace {

using testing::ScratchDir;

const std::vector<FieldSpec> kFields = {{"ID", FieldType::kNumeric, 6, 0},
                                        {"CNT", FieldType::kNumeric, 8, 0},
                                        {"WHO", FieldType::kCharacter, 2, 0},
                                        {"NOTE", FieldType::kMemo, 10, 0}};
const char* kKeys[] = {"str(cnt,8)+str(id,6)", "who+str(id,6)"};

Status BuildIndexes(const std::string& dir, Table* t) {
    for (int i = 0; i < 2; ++i) {
        IndexDefinition def;
        def.key_expression = kKeys[i];
        Status s = CompileFormulaKey(&t->fields(), def.key_expression, &def.key);
        if (s.ok()) s = Index::Create(dir + "/PKL" + std::to_string(i + 1) + ".NTX", t, def);
        if (!s.ok()) return s;
    }
    return Status::Ok();
}

Status OpenWithIndexes(Workspace* ws, const std::string& dir, bool exclusive, WorkArea** area) {
    Status s = ws->Use(dir + "/PKL.DBF", "", {.exclusive = exclusive}, area);
    for (int i = 0; s.ok() && i < 2; ++i) {
        std::unique_ptr<Index> idx;
        s = Index::Open(dir + "/PKL" + std::to_string(i + 1) + ".NTX", exclusive, false, &idx);
        KeyFunction key;
        if (s.ok()) s = CompileFormulaKey(&(*area)->table().fields(), idx->key_expression(), &key);
        if (s.ok()) {
            idx->Bind(key, nullptr);
            s = (*area)->AddIndex(std::move(idx));
        }
    }
    return s;
}

// Makes the table with `counters` records whose counters are 0.
void MakeTable(const std::string& dir, int counters) {
    std::string path = dir + "/PKL.DBF";
    ASSERT_TRUE(Table::Create(path, kFields).ok());
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::Open(path, {.exclusive = true}, &t).ok());
    for (int i = 1; i <= counters; ++i) {
        Record r = t->NewRecord();
        r.SetNumber(0, i);
        r.SetNumber(1, 0);
        uint32_t n;
        ASSERT_TRUE(t->Append(r, &n).ok());
    }
    ASSERT_TRUE(BuildIndexes(dir, t.get()).ok());
}

// Retries a lock the way an operator's routine would (without the question).
template <typename Fn>
Status Retry(Fn fn) {
    for (;;) {
        Status s = fn();
        if (!s.IsBusy()) return s;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

int Worker(const std::string& dir, int who, int rounds, int counters) {
    Workspace ws;
    WorkArea* a = nullptr;
    if (!OpenWithIndexes(&ws, dir, false, &a).ok()) return 10;
    for (int i = 0; i < rounds; ++i) {
        uint32_t r = static_cast<uint32_t>((i * 7 + who) % counters + 1);
        if (!a->Goto(r).ok()) return 11;
        if (!Retry([&] { return a->RLock(); }).ok()) return 12;
        if (!a->record().SetNumber(1, a->record().GetNumber(1) + 1).ok()) return 13;
        if (!a->Commit().ok()) return 14;
        if (!a->Unlock().ok()) return 15;
        if (i % 20 == 0) {
            if (!Retry([&] { return a->Append(); }).ok()) return 16;
            a->record().SetNumber(0, 1000 * who + i / 20);
            char tag[3] = {'W', static_cast<char>('0' + who), 0};
            a->record().SetString(2, tag);
            // Memo blocks are allocated under the memo lock: texts of
            // several blocks from four writers must not overlap.
            std::string note(600 + i % 700, static_cast<char>('a' + who));
            note += std::to_string(i);
            if (!a->WriteMemo(3, note).ok()) return 20;
            if (!a->Commit().ok()) return 17;
            if (!a->Unlock().ok()) return 18;
        }
    }
    return ws.CloseAll().ok() ? 0 : 19;
}

TEST(ProcessTest, FourProcessesCountUnderRecordLocksAndAppend) {
    ScratchDir dir;
    const int counters = 5, workers = 4;
    const int rounds = 2000;
    MakeTable(dir.path(), counters);
    std::vector<pid_t> pids;
    for (int w = 0; w < workers; ++w) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) _exit(Worker(dir.path(), w + 1, rounds, counters));
        pids.push_back(pid);
    }
    for (pid_t pid : pids) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    Workspace ws;
    WorkArea* a = nullptr;
    ASSERT_TRUE(OpenWithIndexes(&ws, dir.path(), true, &a).ok());
    const uint32_t appended = workers * ((rounds + 19) / 20);
    EXPECT_EQ(a->table().record_count(), counters + appended);
    double total = 0;
    for (uint32_t r = 1; r <= static_cast<uint32_t>(counters); ++r) {
        ASSERT_TRUE(a->Goto(r).ok());
        total += a->record().GetNumber(1);
    }
    EXPECT_EQ(total, workers * rounds);  // no lost update
    std::string note;
    for (uint32_t r = counters + 1; r <= a->table().record_count(); ++r) {
        ASSERT_TRUE(a->Goto(r).ok());
        ASSERT_TRUE(a->ReadMemo(3, &note).ok());
        int who = a->record().GetString(2)[1] - '0';
        int i = 20 * static_cast<int>(a->record().GetNumber(0) - 1000 * who);
        std::string want(600 + i % 700, static_cast<char>('a' + who));
        want += std::to_string(i);
        ASSERT_EQ(note, want) << "record " << r;
    }
    for (size_t i = 0; i < a->index_count(); ++i) {
        Status s = a->index(i).Check(&a->table());
        EXPECT_TRUE(s.ok()) << s.ToString();
    }
}

TEST(ProcessTest, OpeningModesAndLocksBetweenProcesses) {
    ScratchDir dir;
    MakeTable(dir.path(), 3);
    const std::string path = dir.File("PKL.DBF");
    for (bool child_exclusive : {false, true}) {
        int ready[2], done[2];
        ASSERT_EQ(pipe(ready), 0);
        ASSERT_EQ(pipe(done), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::unique_ptr<Table> t;
            if (!Table::Open(path, {.exclusive = child_exclusive}, &t).ok()) _exit(1);
            if (!child_exclusive && !t->LockRecord(2).ok()) _exit(2);
            char c = 1;
            if (write(ready[1], &c, 1) != 1) _exit(3);
            if (read(done[0], &c, 1) != 1) _exit(4);
            _exit(0);
        }
        char c;
        ASSERT_EQ(read(ready[0], &c, 1), 1);
        std::unique_ptr<Table> t;
        EXPECT_TRUE(Table::Open(path, {.exclusive = true}, &t).IsBusy());
        Status shared = Table::Open(path, {}, &t);
        if (child_exclusive) {
            EXPECT_TRUE(shared.IsBusy()) << shared.ToString();
        } else {
            ASSERT_TRUE(shared.ok()) << shared.ToString();
            EXPECT_TRUE(t->LockRecord(2).IsBusy());
            EXPECT_TRUE(t->LockFile().IsBusy());
            EXPECT_TRUE(t->LockRecord(3).ok());
            t.reset();
        }
        ASSERT_EQ(write(done[1], &c, 1), 1);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        for (int fd : {ready[0], ready[1], done[0], done[1]}) close(fd);
        // The child's locks went with it.
        ASSERT_TRUE(Table::Open(path, {.exclusive = true}, &t).ok());
    }
}

// Waits until the table holds at least `n` records (or a few seconds passed).
void WaitForRecords(const std::string& path, uint32_t n) {
    for (int i = 0; i < 500; ++i) {
        std::unique_ptr<Table> t;
        if (Table::Open(path, {.read_only = true}, &t).ok() && t->record_count() >= n) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// After a crash: the table opens, its size is whole records, and every index
// either checks clean or rebuilds clean.
void ExpectRecoverable(const std::string& dir) {
    std::string path = dir + "/PKL.DBF";
    std::unique_ptr<Table> t;
    Status s = Table::Open(path, {.exclusive = true}, &t);
    ASSERT_TRUE(s.ok()) << s.ToString();
    std::string bytes = testing::ReadAll(path);
    uint64_t data = bytes.size() - t->header().header_length;
    EXPECT_TRUE(data % t->record_length() == 0 ||
                (data % t->record_length() == 1 && bytes.back() == 0x1A));
    EXPECT_EQ(t->record_count(), data / t->record_length());
    EXPECT_LE(t->header().record_count, t->record_count());
    for (int i = 0; i < 2; ++i) {
        std::string ntx = dir + "/PKL" + std::to_string(i + 1) + ".NTX";
        std::unique_ptr<Index> idx;
        KeyFunction key;
        ASSERT_TRUE(CompileFormulaKey(&t->fields(), kKeys[i], &key).ok());
        s = Index::Open(ntx, true, false, &idx);
        if (s.ok()) {
            idx->Bind(key, nullptr);
            s = idx->Check(t.get());
        }
        if (!s.ok()) {
            idx.reset();
            IndexDefinition def;
            def.key_expression = kKeys[i];
            def.key = key;
            ASSERT_TRUE(Index::Create(ntx, t.get(), def).ok());
            ASSERT_TRUE(Index::Open(ntx, true, false, &idx).ok());
            idx->Bind(key, nullptr);
            s = idx->Check(t.get());
            EXPECT_TRUE(s.ok()) << s.ToString();
        }
    }
}

TEST(ProcessTest, KilledDuringAppendsLeavesAUsableTable) {
    ScratchDir dir;
    MakeTable(dir.path(), 3);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        Workspace ws;
        WorkArea* a = nullptr;
        if (!OpenWithIndexes(&ws, dir.path(), false, &a).ok()) _exit(1);
        for (int i = 0;; ++i) {
            if (!a->Append().ok()) _exit(2);
            a->record().SetNumber(0, i % 1000);
            if (!a->Commit().ok() || !a->Unlock().ok()) _exit(3);
        }
    }
    WaitForRecords(dir.File("PKL.DBF"), 300);
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the appender stopped by itself: " << status;
    ExpectRecoverable(dir.path());
}

TEST(ProcessTest, KilledDuringPackLeavesOldOrNewTable) {
    ScratchDir dir;
    MakeTable(dir.path(), 2000);
    {
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::Open(dir.File("PKL.DBF"), {.exclusive = true}, &t).ok());
        Record r;
        for (uint32_t n = 2; n <= 2000; n += 2) {
            ASSERT_TRUE(t->Read(n, &r).ok());
            r.set_deleted(true);
            ASSERT_TRUE(t->Write(n, r).ok());
        }
    }
    for (int delay_ms : {1, 3, 7}) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // Pack over and over: the table alternates between the old
            // content (first pass) and the packed one, never anything else.
            for (;;) {
                if (!PackTable(dir.File("PKL.DBF")).ok()) _exit(1);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
        kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ExpectRecoverable(dir.path());
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::Open(dir.File("PKL.DBF"), {}, &t).ok());
        EXPECT_TRUE(t->record_count() == 2000 || t->record_count() == 1000) << t->record_count();
        Record r;
        ASSERT_TRUE(t->Read(t->record_count(), &r).ok());
        EXPECT_EQ(r.GetNumber(0), 1999 + (t->record_count() == 2000 ? 1 : 0));
    }
}

}  // namespace
}  // namespace kestrel::dbf
