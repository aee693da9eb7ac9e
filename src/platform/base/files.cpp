#include "platform/base/files.h"

#include <strings.h>
#include <cerrno>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrel::base {

Status ReadFile(const std::string& path, std::string* contents) {
    contents->clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Status::FromErrno(path, errno);
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            return Status::FromErrno(path, err);
        }
        if (n == 0) break;
        contents->append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return Status::Ok();
}

Status WriteFileAtomically(const std::string& path, std::string_view contents) {
    const std::string work = path + ".$$$";
    int fd = ::open(work.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return Status::FromErrno(work, errno);
    size_t done = 0;
    while (done < contents.size()) {
        ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            ::unlink(work.c_str());
            return Status::FromErrno(work, err);
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        int err = errno;
        ::unlink(work.c_str());
        return Status::FromErrno(work, err);
    }
    if (::rename(work.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(work.c_str());
        return Status::FromErrno(path, err);
    }
    return Status::Ok();
}

std::string FindNoCase(const std::string& dir, const std::string& name) {
    std::string base = dir.empty() ? "." : dir;
    std::string prefix = dir.empty() ? "" : (dir.back() == '/' ? dir : dir + "/");
    struct stat st;
    if (::stat((prefix + name).c_str(), &st) == 0) return prefix + name;
    if (DIR* d = ::opendir(base.c_str())) {
        while (dirent* e = ::readdir(d)) {
            if (::strcasecmp(e->d_name, name.c_str()) == 0) {
                std::string found = prefix + e->d_name;
                ::closedir(d);
                return found;
            }
        }
        ::closedir(d);
    }
    return prefix + name;
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace kestrel::base
