#include "common/screen/too_many_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/console/keys.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

TEST(TooManyFiles, PagesTurnBothWaysAndWrap) {
    testing::HeadlessRuntime h({key::kRight, key::kLeft, key::kLeft, key::kEsc});
    h.rt.screen().Write(10, 10, "pod spodem", h.rt.Standard(h.rt.colours().ycow));
    ShowTooManyFiles(h.rt, "/dane/FIRMA.PK/PKPRAC.DBF");
    // The last page shown: one step right, two left = the last tab (wrapped).
    EXPECT_NE(h.ShownRow(5).find("Plik: /dane/FIRMA.PK/PKPRAC.DBF"), std::string::npos);
    EXPECT_NE(h.ShownRow(7).find("UWAGA! - Komputer skonfigurowany jest tak"), std::string::npos);
    EXPECT_NE(h.ShownRow(13).find("CONFIG.NT"), std::string::npos);
    EXPECT_EQ(h.At(10, 10, 10), "pod spodem");  // restored
}

TEST(TooManyFiles, TheOpenerShowsTheBoxAndAbandons) {
#ifdef __SANITIZE_ADDRESS__
    // The sanitizers' own checks of memory open a pipe; with every file
    // descriptor taken they report sound objects as broken. The Release
    // suite runs this test.
    GTEST_SKIP() << "needs file descriptors the sanitizers use";
#endif
    dbf::testing::ScratchDir dir;
    ASSERT_TRUE(dbf::Table::Create(dir.File("PKURZ.DBF"), FindTable("PKURZ")->Specs()).ok());
    const pid_t pid = ::fork();
    if (pid == 0) {
        testing::HeadlessRuntime h({key::kEsc});
        h.rt.set_data_dir(dir.path() + "/");
        // Use up the descriptors, leaving none for the table.
        struct rlimit limit {
            64, 64
        };
        ::setrlimit(RLIMIT_NOFILE, &limit);
        while (::dup(0) >= 0) {
        }
        Tables tables(h.rt);
        try {
            tables.Open("PKURZ");
        } catch (const Abandon&) {
            const bool shown = h.ShownRow(7).find("UWAGA!") != std::string::npos;
            ::_exit(shown ? 0 : 2);
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace kestrel::common
