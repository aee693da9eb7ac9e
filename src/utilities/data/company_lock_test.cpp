#include "utilities/data/company_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::utilities {
namespace {

namespace fs = std::filesystem;
using dbf::testing::ScratchDir;

// Another program holding company `dir` open until it is told to stop.
class OtherProgram {
  public:
    explicit OtherProgram(const std::string& dir) {
        int ready[2], stop[2];
        if (::pipe(ready) != 0 || ::pipe(stop) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(stop[1]);
            CompanyLock hold;
            const char held = hold.Share(dir).ok() ? 'y' : 'n';
            (void)!::write(ready[1], &held, 1);
            char c;
            (void)!::read(stop[0], &c, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(stop[0]);
        stop_ = stop[1];
        char held = 'n';
        if (::read(ready[0], &held, 1) == 1) held_ = held == 'y';
        ::close(ready[0]);
    }
    ~OtherProgram() { Stop(); }
    bool held() const { return held_; }
    void Stop() {
        if (pid_ <= 0) return;
        ::close(stop_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    int stop_ = -1;
    bool held_ = false;
};

TEST(CompanyLock, AnotherProgramsHoldRefusesTheExclusiveOne) {
    ScratchDir root;
    const std::string dir = root.File("ABC.PK");
    fs::create_directory(dir);
    OtherProgram other(dir);
    ASSERT_TRUE(other.held());
    CompanyLock exclusive;
    EXPECT_TRUE(TakeExclusive(dir, nullptr, &exclusive).IsBusy());
    EXPECT_FALSE(exclusive.held());
    // Two programs may share it.
    CompanyLock shared;
    EXPECT_TRUE(shared.Share(dir).ok());
    shared.Release();
    other.Stop();
    EXPECT_TRUE(TakeExclusive(dir, nullptr, &exclusive).ok());
    EXPECT_TRUE(exclusive.held());
}

TEST(CompanyLock, TheProgramsOwnHoldStepsAsideAndComesBack) {
    ScratchDir root;
    const std::string dir = root.File("ABC.PK");
    const std::string other_dir = root.File("XYZ.PK");
    fs::create_directory(dir);
    fs::create_directory(other_dir);
    CompanyLock own;
    ASSERT_TRUE(own.Share(dir).ok());
    {
        CompanyLock exclusive;
        EXPECT_TRUE(TakeExclusive(dir, &own, &exclusive).ok());
        EXPECT_FALSE(own.held());
    }
    ASSERT_TRUE(own.Share(dir).ok());
    {
        // Refused because of someone else: the own hold is taken again.
        OtherProgram other(dir);
        ASSERT_TRUE(other.held());
        CompanyLock exclusive;
        EXPECT_TRUE(TakeExclusive(dir, &own, &exclusive).IsBusy());
        EXPECT_TRUE(own.held());
        EXPECT_EQ(own.dir(), dir);
    }
    // Probing another company leaves the own hold alone.
    CompanyLock exclusive;
    EXPECT_TRUE(TakeExclusive(other_dir, &own, &exclusive).ok());
    EXPECT_TRUE(own.held());
}

TEST(CompanyLock, AnOpenTableCountsAsTheCompanyInUse) {
    ScratchDir root;
    const std::string dir = root.File("ABC.PK");
    fs::create_directory(dir);
    const std::vector<dbf::FieldSpec> fields = {{"KOD", dbf::FieldType::kCharacter, 4, 0}};
    ASSERT_TRUE(dbf::Table::Create(dir + "/PKURZ.DBF", fields).ok());
    std::unique_ptr<dbf::Table> table;
    ASSERT_TRUE(dbf::Table::Open(dir + "/PKURZ.DBF", {}, &table).ok());
    EXPECT_TRUE(AnyTableOpen(dir));
    CompanyLock exclusive;
    EXPECT_TRUE(exclusive.Exclusive(dir).IsBusy());
    table->Close();
    EXPECT_FALSE(AnyTableOpen(dir));
    EXPECT_TRUE(exclusive.Exclusive(dir).ok());
}

}  // namespace
}  // namespace kestrel::utilities
