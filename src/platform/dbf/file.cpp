#include "platform/dbf/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>

namespace kestrel::dbf {

namespace {

Status SetLock(int fd, const std::string& path, uint64_t offset, uint64_t length, short type) {
    struct flock fl = {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(length);
    fl.l_pid = 0;
    if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return Status::Ok();
    int err = errno;
    if (err == EAGAIN || err == EACCES) {
        return Status::Busy(path + ": locked by another user (offset " + std::to_string(offset) +
                            ")");
    }
    return Status::FromErrno(path, err);
}

class PosixFile : public File {
  public:
    PosixFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }

    const std::string& path() const override { return path_; }

    Status Read(uint64_t offset, size_t n, char* buf, size_t* got) const override {
        size_t done = 0;
        while (done < n) {
            ssize_t r = ::pread(fd_, buf + done, n - done, static_cast<off_t>(offset + done));
            if (r < 0) {
                if (errno == EINTR) continue;
                return Status::FromErrno(path_, errno);
            }
            if (r == 0) break;
            done += static_cast<size_t>(r);
        }
        *got = done;
        return Status::Ok();
    }

    Status Write(uint64_t offset, std::string_view data) override {
        size_t done = 0;
        while (done < data.size()) {
            ssize_t r = ::pwrite(fd_, data.data() + done, data.size() - done,
                                 static_cast<off_t>(offset + done));
            if (r < 0) {
                if (errno == EINTR) continue;
                return Status::FromErrno(path_, errno);
            }
            done += static_cast<size_t>(r);
        }
        return Status::Ok();
    }

    Status Size(uint64_t* size) const override {
        struct stat st;
        if (::fstat(fd_, &st) != 0) return Status::FromErrno(path_, errno);
        *size = static_cast<uint64_t>(st.st_size);
        return Status::Ok();
    }

    Status Truncate(uint64_t size) override {
        if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
            return Status::FromErrno(path_, errno);
        }
        return Status::Ok();
    }

    Status Sync() override {
        if (::fdatasync(fd_) != 0) return Status::FromErrno(path_, errno);
        return Status::Ok();
    }

    Status TryLock(uint64_t offset, uint64_t length, LockType type) override {
        return SetLock(fd_, path_, offset, length, type == LockType::kRead ? F_RDLCK : F_WRLCK);
    }

    Status Unlock(uint64_t offset, uint64_t length) override {
        return SetLock(fd_, path_, offset, length, F_UNLCK);
    }

  private:
    std::string path_;
    int fd_;
};

class PosixFileSystem : public FileSystem {
  public:
    Status Open(const std::string& path, bool read_only, std::unique_ptr<File>* out) override {
        int fd = ::open(path.c_str(), (read_only ? O_RDONLY : O_RDWR) | O_CLOEXEC);
        if (fd < 0) return Status::FromErrno(path, errno);
        *out = std::make_unique<PosixFile>(path, fd);
        return Status::Ok();
    }

    Status Create(const std::string& path, std::unique_ptr<File>* out) override {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0) return Status::FromErrno(path, errno);
        *out = std::make_unique<PosixFile>(path, fd);
        return Status::Ok();
    }

    bool Exists(const std::string& path) override {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    }

    Status Rename(const std::string& from, const std::string& to) override {
        if (std::rename(from.c_str(), to.c_str()) != 0) return Status::FromErrno(to, errno);
        return Status::Ok();
    }

    Status Remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) return Status::FromErrno(path, errno);
        return Status::Ok();
    }
};

}  // namespace

FileSystem* FileSystem::Default() {
    static PosixFileSystem fs;
    return &fs;
}

Status File::Open(const std::string& path, bool read_only, std::unique_ptr<File>* out) {
    return FileSystem::Default()->Open(path, read_only, out);
}

Status File::Create(const std::string& path, std::unique_ptr<File>* out) {
    return FileSystem::Default()->Create(path, out);
}

Status File::ReadExact(uint64_t offset, size_t n, char* buf) const {
    size_t got = 0;
    Status s = Read(offset, n, buf, &got);
    if (!s.ok()) return s;
    if (got != n) {
        return Status::Corruption(path() + ": file ends at byte " + std::to_string(offset + got) +
                                  ", expected " + std::to_string(n) + " bytes at " +
                                  std::to_string(offset));
    }
    return Status::Ok();
}

bool FileExists(const std::string& path) {
    return FileSystem::Default()->Exists(path);
}

Status RenameFile(const std::string& from, const std::string& to) {
    return FileSystem::Default()->Rename(from, to);
}

Status RemoveFile(const std::string& path) {
    return FileSystem::Default()->Remove(path);
}

Status IsNetworkFileSystem(const std::string& path, bool* network) {
    struct statfs fs;
    if (::statfs(path.c_str(), &fs) != 0) return Status::FromErrno(path, errno);
    // Magic numbers of statfs(2): NFS, SMB, CIFS, SMB2, Coda, AFS, 9P.
    const unsigned long kNetwork[] = {0x6969,     0x517B,     0xFF534D42, 0xFE534D42,
                                      0x73757245, 0x5346414F, 0x01021997};
    *network = false;
    for (unsigned long magic : kNetwork) {
        if (static_cast<unsigned long>(fs.f_type) == magic) *network = true;
    }
    return Status::Ok();
}

std::string ReplaceExtension(const std::string& path, std::string_view upper_ext) {
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    bool lower = false;
    std::string base = path;
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        if (dot + 1 < path.size()) lower = std::islower(static_cast<unsigned char>(path[dot + 1]));
        base = path.substr(0, dot);
    }
    std::string ext(upper_ext);
    if (lower) {
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return base + "." + ext;
}

}  // namespace kestrel::dbf
