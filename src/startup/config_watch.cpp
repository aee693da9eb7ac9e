#include "startup/config_watch.h"

#include <sys/stat.h>

#include "common/screen/messages.h"

namespace kestrel::common {

void ConfigWatch::Remember() {
    struct stat st;
    known_ = ::stat(path_.c_str(), &st) == 0;
    if (!known_) return;
    seconds_ = st.st_mtim.tv_sec;
    nanoseconds_ = st.st_mtim.tv_nsec;
}

bool ConfigWatch::Check(Runtime& rt) {
    struct stat st;
    if (::stat(path_.c_str(), &st) != 0) return true;
    const long long sec = st.st_mtim.tv_sec;
    const long long nsec = st.st_mtim.tv_nsec;
    if (!known_) {
        known_ = true;
        seconds_ = sec;
        nanoseconds_ = nsec;
        return true;
    }
    if (sec == seconds_ && nsec == nanoseconds_) return true;
    seconds_ = sec;
    nanoseconds_ = nsec;
    if (rt.restart_requested()) return true;
    ShowMessage(rt, rt.Text("Zmiana zawartości QRM.MEM"), false);
    rt.set_restart_requested(true);
    return false;
}

}  // namespace kestrel::common
