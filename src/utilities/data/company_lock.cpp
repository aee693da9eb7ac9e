#include "utilities/data/company_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/base/text.h"
#include "platform/dbf/table.h"

namespace kestrel::utilities {
namespace {

struct flock OpenModeByte(short type) {
    struct flock l {};
    l.l_type = type;
    l.l_whence = SEEK_SET;
    l.l_start = static_cast<off_t>(dbf::kOpenModeLock);
    l.l_len = 1;
    l.l_pid = 0;
    return l;
}

std::string LockPath(const std::string& dir) {
    std::string path = dir;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + kCompanyLockFile;
}

bool SameDirectory(const std::string& a, const std::string& b) {
    std::error_code ec1, ec2;
    return std::filesystem::equivalent(a, b, ec1) && !ec1 && !ec2;
}

}  // namespace

base::Status CompanyLock::Take(const std::string& dir, bool exclusive) {
    Release();
    const std::string path = LockPath(dir);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return base::Status::FromErrno(path, errno);
    struct flock l = OpenModeByte(exclusive ? F_WRLCK : F_RDLCK);
    if (::fcntl(fd, F_OFD_SETLK, &l) != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EAGAIN || err == EACCES) return base::Status::Busy(dir);
        return base::Status::FromErrno(path, err);
    }
    if (exclusive && AnyTableOpen(dir)) {
        ::close(fd);
        return base::Status::Busy(dir);
    }
    fd_ = fd;
    dir_ = dir;
    return base::Status::Ok();
}

base::Status CompanyLock::Share(const std::string& dir) {
    return Take(dir, false);
}

base::Status CompanyLock::Exclusive(const std::string& dir) {
    return Take(dir, true);
}

void CompanyLock::Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    dir_.clear();
}

bool TableOpenElsewhere(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock l = OpenModeByte(F_WRLCK);
    const bool open = ::fcntl(fd, F_OFD_GETLK, &l) == 0 && l.l_type != F_UNLCK;
    ::close(fd);
    return open;
}

bool AnyTableOpen(const std::string& dir) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::string upper = base::AsciiUpper(entry.path().filename().string());
        if (upper.size() < 4 || upper.compare(upper.size() - 4, 4, ".DBF") != 0) continue;
        if (TableOpenElsewhere(entry.path().string())) return true;
    }
    return false;
}

base::Status TakeExclusive(const std::string& dir, CompanyLock* own, CompanyLock* exclusive) {
    const bool own_hold = own != nullptr && own->held() && SameDirectory(own->dir(), dir);
    std::string own_dir;
    if (own_hold) {
        own_dir = own->dir();
        own->Release();
    }
    base::Status s = exclusive->Exclusive(dir);
    if (!s.ok() && own_hold) own->Share(own_dir);
    return s;
}

}  // namespace kestrel::utilities
