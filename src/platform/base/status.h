// Status: the result of a platform operation that can fail.
//
// Platform code (files, tables, console backends) never throws for expected
// conditions; it returns a Status. ok() is the only success; every failure
// carries a code and a message that names what failed (a file, a record).
#pragma once

#include <string>
#include <utility>

namespace kestrel::base {

class Status {
  public:
    enum class Code {
        kOk = 0,
        kNotFound,    // file, record or key does not exist
        kCorruption,  // a file's contents contradict its format
        kIOError,     // the operating system refused a read, write, rename ...
        kInvalidArgument,
        kBusy,  // a lock is held by someone else; try again later
        kNotSupported,
    };

    Status() = default;

    static Status Ok() { return Status(); }
    static Status NotFound(std::string msg) { return Status(Code::kNotFound, std::move(msg)); }
    static Status Corruption(std::string msg) { return Status(Code::kCorruption, std::move(msg)); }
    static Status IOError(std::string msg) { return Status(Code::kIOError, std::move(msg)); }
    static Status InvalidArgument(std::string msg) {
        return Status(Code::kInvalidArgument, std::move(msg));
    }
    static Status Busy(std::string msg) { return Status(Code::kBusy, std::move(msg)); }
    static Status NotSupported(std::string msg) {
        return Status(Code::kNotSupported, std::move(msg));
    }
    /// An IOError whose message is `context` followed by the text of `err` (an errno value).
    static Status FromErrno(const std::string& context, int err);

    bool ok() const { return code_ == Code::kOk; }
    bool IsNotFound() const { return code_ == Code::kNotFound; }
    bool IsCorruption() const { return code_ == Code::kCorruption; }
    bool IsIOError() const { return code_ == Code::kIOError; }
    bool IsBusy() const { return code_ == Code::kBusy; }
    bool IsInvalidArgument() const { return code_ == Code::kInvalidArgument; }

    Code code() const { return code_; }
    const std::string& message() const { return message_; }
    /// "Corruption: PKPLACE.DBF: ..." — for logs and tools, not for the operator's screen.
    std::string ToString() const;

  private:
    Status(Code code, std::string msg) : code_(code), message_(std::move(msg)) {}

    Code code_ = Code::kOk;
    std::string message_;
};

}  // namespace kestrel::base
