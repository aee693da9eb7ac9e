#include "common/session/temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace kestrel::common {

std::string TempFile(const std::string& dir, const base::Clock& clock) {
    static int counter = 0;
    const base::LocalTime now = clock.Now();
    const long hundredths = ((now.hour * 60L + now.minute) * 60L + now.second) * 100L;
    std::string prefix = dir.empty() ? "./" : dir;
    if (prefix.back() != '/') prefix += '/';
    for (int tries = 0; tries < 100; ++tries) {
        counter = (counter + 1) % 100;
        char name[16];
        std::snprintf(name, sizeof name, "%06ld%02d.", hundredths % 1000000, counter);
        const std::string path = prefix + name;
        const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(path.c_str());
            return path;
        }
        if (errno != EEXIST) return "";
    }
    return "";
}

}  // namespace kestrel::common
