#include "printing/data/print_output.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace kestrel::printing {
namespace {

// True while `path` still names the file open as `fd` (nobody deleted it
// or put another file in its place).
bool StillNamed(int fd, const std::string& path) {
    struct stat open_st {
    }, named_st{};
    if (::fstat(fd, &open_st) != 0 || ::stat(path.c_str(), &named_st) != 0) return false;
    return open_st.st_dev == named_st.st_dev && open_st.st_ino == named_st.st_ino;
}

}  // namespace

PrintOutput::~PrintOutput() {
    if (file_ != nullptr) std::fclose(file_);
    std::free(memory_buffer_);
}

base::Status PrintOutput::OpenMemory(Converter convert) {
    if (file_ != nullptr) (void)Close();
    memory_.clear();
    file_ = ::open_memstream(&memory_buffer_, &memory_size_);
    if (file_ == nullptr) return base::Status::FromErrno("(memory)", errno);
    path_.clear();
    convert_ = std::move(convert);
    row_ = col_ = 0;
    bytes_ = 0;
    error_ = 0;
    return base::Status::Ok();
}

base::Status PrintOutput::Open(const std::string& path, Converter convert) {
    return OpenWith(path, std::move(convert), false);
}

base::Status PrintOutput::OpenNew(const std::string& path, Converter convert) {
    return OpenWith(path, std::move(convert), true);
}

base::Status PrintOutput::OpenWith(const std::string& path, Converter convert, bool exclusive) {
    if (file_ != nullptr) (void)Close();
    // Truncation waits for the lock: a file another process holds stays.
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : 0);
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        if (errno == EEXIST) return base::Status::Busy(path + ": exists");
        return base::Status::FromErrno(path, errno);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !StillNamed(fd, path)) {
        ::close(fd);
        return base::Status::Busy(path + ": in use");
    }
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!exclusive && regular && ::ftruncate(fd, 0) != 0) {
        const int err = errno;
        ::close(fd);
        return base::Status::FromErrno(path, err);
    }
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        const int err = errno;
        ::close(fd);
        return base::Status::FromErrno(path, err);
    }
    path_ = path;
    convert_ = std::move(convert);
    row_ = col_ = 0;
    bytes_ = 0;
    error_ = 0;
    return base::Status::Ok();
}

void PrintOutput::Put(std::string_view bytes) {
    if (file_ == nullptr || bytes.empty()) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() && error_ == 0)
        error_ = errno != 0 ? errno : EIO;
    bytes_ += static_cast<long>(bytes.size());
}

void PrintOutput::MoveTo(int row, int col) {
    if (row < row_) Eject();
    while (row_ < row) NewLine();
    if (col < col_) {
        // Back on the same row: the head cannot return, a new line does.
        NewLine();
    }
    if (col > col_) {
        Put(std::string(static_cast<size_t>(col - col_), ' '));
        col_ = col;
    }
}

void PrintOutput::Say(int row, int col, std::string_view text) {
    MoveTo(row, col);
    Text(text);
}

void PrintOutput::Text(std::string_view text) {
    if (convert_) {
        Put(convert_(text));
    } else {
        Put(text);
    }
    col_ += static_cast<int>(text.size());
}

void PrintOutput::Control(std::string_view sequence) {
    Put(sequence);
}

void PrintOutput::NewLine() {
    Put("\r\n");
    ++row_;
    col_ = 0;
}

void PrintOutput::Eject() {
    Put("\f");
    row_ = col_ = 0;
}

void PrintOutput::SetPosition(int row, int col) {
    row_ = row;
    col_ = col;
}

base::Status PrintOutput::Close() {
    if (file_ == nullptr) return base::Status::Ok();
    if (std::fflush(file_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
    if (std::fclose(file_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
    file_ = nullptr;
    if (memory_buffer_ != nullptr) {
        memory_.assign(memory_buffer_, memory_size_);
        std::free(memory_buffer_);
        memory_buffer_ = nullptr;
        memory_size_ = 0;
    }
    if (error_ != 0) return base::Status::FromErrno(path_, error_);
    return base::Status::Ok();
}

ReadHold::~ReadHold() {
    Close();
}

base::Status ReadHold::Open(const std::string& path) {
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return base::Status::NotFound(path);
        return base::Status::FromErrno(path, errno);
    }
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        ::close(fd);
        return base::Status::Busy(path + ": in use");
    }
    fd_ = fd;
    return base::Status::Ok();
}

long ReadHold::Read(char* buffer, size_t size) {
    if (fd_ < 0) return -1;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n < 0 && errno == EINTR) continue;
        return static_cast<long>(n);
    }
}

void ReadHold::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

base::Status DeleteUnheld(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return base::Status::Ok();
        return base::Status::FromErrno(path, errno);
    }
    base::Status result = base::Status::Ok();
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        result = base::Status::Busy(path + ": in use");
    } else if (StillNamed(fd, path) && ::unlink(path.c_str()) != 0 && errno != ENOENT) {
        // Deleted while the lock is held: a writer that created the name
        // meanwhile finds its file gone when it takes the lock and moves on.
        result = base::Status::FromErrno(path, errno);
    }
    ::close(fd);
    return result;
}

}  // namespace kestrel::printing
