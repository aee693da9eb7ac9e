#include "printing/data/print_output.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace kestrel::printing {

PrintOutput::~PrintOutput() {
    if (file_ != nullptr) std::fclose(file_);
}

base::Status PrintOutput::Open(const std::string& path, Converter convert) {
    return OpenWith(path, std::move(convert), false);
}

base::Status PrintOutput::OpenNew(const std::string& path, Converter convert) {
    return OpenWith(path, std::move(convert), true);
}

base::Status PrintOutput::OpenWith(const std::string& path, Converter convert, bool exclusive) {
    if (file_ != nullptr) (void)Close();
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        if (errno == EEXIST) return base::Status::Busy(path + ": exists");
        return base::Status::FromErrno(path, errno);
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
    if (error_ != 0) return base::Status::FromErrno(path_, error_);
    return base::Status::Ok();
}

}  // namespace kestrel::printing
