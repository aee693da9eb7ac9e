#include "printing/data/spool_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "platform/base/files.h"
#include "test_util.h"

namespace kestrel::printing {
namespace {

TEST(SpoolFiles, TheDirectoryGetsExactlyOneSeparatorBeforeTheName) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/firma.pk", "/firma.pk/000.PRT"},
        {"/firma.pk/", "/firma.pk/000.PRT"},
        {"/firma.pk//", "/firma.pk/000.PRT"},
        {"/spool\\", "/spool/000.PRT"},
        {"spool", "spool/000.PRT"},
        {"/", "/000.PRT"},
        {"", "000.PRT"},
    };
    for (const auto& [dir, path] : cases) EXPECT_EQ(JoinPath(dir, "000.PRT"), path) << dir;
}

TEST(SpoolFiles, SeriesOfTenAndOfAThousand) {
    const std::vector<std::string> ten = SpoolNames(false);
    ASSERT_EQ(ten.size(), 10u);
    EXPECT_EQ(ten.front(), "0.PRT");
    EXPECT_EQ(ten.back(), "9.PRT");
    const std::vector<std::string> thousand = SpoolNames(true);
    ASSERT_EQ(thousand.size(), 1000u);
    EXPECT_EQ(thousand[7], "007.PRT");
    EXPECT_EQ(thousand.back(), "999.PRT");
}

TEST(SpoolFiles, TakesTheNextNameOnExistsAndReportsAFullSeries) {
    dbf::testing::ScratchDir dir;
    ASSERT_TRUE(base::WriteFileAtomically(dir.File("0.PRT"), "old").ok());
    PrintOutput out;
    std::string path;
    ASSERT_TRUE(OpenFirstFree(dir.path() + "/", SpoolNames(false), &out, &path).ok());
    EXPECT_EQ(path, dir.File("1.PRT"));
    EXPECT_EQ(FirstMissing(dir.path(), SpoolNames(false)), dir.File("2.PRT"));
    ASSERT_TRUE(out.Close().ok());

    for (int i = 2; i < 10; ++i)
        ASSERT_TRUE(base::WriteFileAtomically(dir.File(std::to_string(i) + ".PRT"), "x").ok());
    PrintOutput more;
    EXPECT_TRUE(OpenFirstFree(dir.path(), SpoolNames(false), &more, &path).IsBusy());
    EXPECT_EQ(FirstMissing(dir.path(), SpoolNames(false)), "");
    // A directory that is not there is an error, not a full series.
    const base::Status missing =
        OpenFirstFree(dir.File("missing"), SpoolNames(false), &more, &path);
    EXPECT_FALSE(missing.ok() || missing.IsBusy());
}

TEST(SpoolFiles, TwoProcessesNeverGetOneName) {
    dbf::testing::ScratchDir dir;
    int ready[2], go[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(go), 0);
    constexpr int kEach = 20;
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            char c = 0;
            (void)!::write(ready[1], "r", 1);
            (void)!::read(go[0], &c, 1);
            // Each takes kEach names and keeps them open; a name taken
            // twice would show as a file written by both.
            std::vector<std::unique_ptr<PrintOutput>> held;
            for (int i = 0; i < kEach; ++i) {
                auto out = std::make_unique<PrintOutput>();
                std::string path;
                if (!OpenFirstFree(dir.path(), SpoolNames(true), out.get(), &path).ok()) _exit(2);
                out->Text(std::string(1, static_cast<char>('a' + child)));
                held.push_back(std::move(out));
            }
            for (auto& out : held)
                if (!out->Close().ok()) _exit(3);
            _exit(0);
        }
        children.push_back(pid);
    }
    for (size_t i = 0; i < children.size(); ++i) {
        char c = 0;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
    }
    ASSERT_EQ(::write(go[1], "gg", 2), 2);
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    int files = 0;
    for (const std::string& name : SpoolNames(true)) {
        std::string text;
        if (!base::ReadFile(dir.File(name), &text).ok()) continue;
        ++files;
        EXPECT_EQ(text.size(), 1u) << name << " written by both: " << text;
    }
    EXPECT_EQ(files, 2 * kEach);
}

TEST(SpoolFiles, DeletesOnlyFilesNobodyHolds) {
    dbf::testing::ScratchDir dir;
    const std::string written = dir.File("TEMP01.PRT"), read = dir.File("TEMP02.PRT"),
                      idle = dir.File("TEMP03.PRT");
    PrintOutput writer;
    ASSERT_TRUE(writer.OpenNew(written).ok());
    ASSERT_TRUE(base::WriteFileAtomically(read, "page").ok());
    ReadHold reader;
    ASSERT_TRUE(reader.Open(read).ok());
    ASSERT_TRUE(base::WriteFileAtomically(idle, "page").ok());

    EXPECT_TRUE(DeleteUnheld(written).IsBusy());
    EXPECT_TRUE(DeleteUnheld(read).IsBusy());
    EXPECT_TRUE(DeleteUnheld(idle).ok());
    EXPECT_TRUE(base::Exists(written));
    EXPECT_TRUE(base::Exists(read));
    EXPECT_FALSE(base::Exists(idle));
    EXPECT_TRUE(DeleteUnheld(idle).ok());  // gone already

    // Truncating a file in use leaves it as it is.
    PrintOutput again;
    EXPECT_TRUE(again.Open(read).IsBusy());
    std::string text;
    ASSERT_TRUE(base::ReadFile(read, &text).ok());
    EXPECT_EQ(text, "page");

    ASSERT_TRUE(writer.Close().ok());
    reader.Close();
    EXPECT_TRUE(DeleteUnheld(written).ok());
    EXPECT_TRUE(DeleteUnheld(read).ok());
    EXPECT_FALSE(base::Exists(written));
    EXPECT_FALSE(base::Exists(read));
}

TEST(SpoolFiles, AHeldFileIsNotDeletedInAnotherProcess) {
    dbf::testing::ScratchDir dir;
    const std::string path = dir.File("TEMP05.PRT");
    PrintOutput writer;
    ASSERT_TRUE(writer.OpenNew(path).ok());
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) _exit(DeleteUnheld(path).IsBusy() ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(base::Exists(path));
}

}  // namespace
}  // namespace kestrel::printing
