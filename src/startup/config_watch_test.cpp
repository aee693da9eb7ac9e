#include "startup/config_watch.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <filesystem>
#include <fstream>

#include "headless_runtime.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

void Touch(const std::string& path, long seconds) {
    struct timeval times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimes(path.c_str(), times), 0);
}

TEST(ConfigWatch, AnotherWriterIsNoticedOnceAndRequestsARestart) {
    auto path = (std::filesystem::temp_directory_path() /
                 ("kestrel_watch_" + std::to_string(::getpid()) + ".MEM"))
                    .string();
    testing::HeadlessRuntime h({console::key::kEnter});
    ConfigWatch watch(path);
    EXPECT_TRUE(watch.Check(h.rt));  // missing file
    std::ofstream(path) << "x";
    Touch(path, 1000000);
    EXPECT_TRUE(watch.Check(h.rt));  // first sight: remembered
    EXPECT_TRUE(watch.Check(h.rt));
    Touch(path, 1000060);
    EXPECT_FALSE(watch.Check(h.rt));
    EXPECT_TRUE(h.rt.restart_requested());
    EXPECT_EQ(h.ShownRow(23).substr(1, 26), "Zmiana zawartości QRM.MEM");
    EXPECT_EQ(h.backend.tones().size(), 1u);
    EXPECT_TRUE(watch.Check(h.rt));  // the new time is remembered
    // A further change while the restart is pending is not announced again.
    Touch(path, 1000120);
    EXPECT_TRUE(watch.Check(h.rt));
    EXPECT_EQ(h.backend.tones().size(), 1u);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace kestrel::common
