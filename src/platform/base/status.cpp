#include "platform/base/status.h"

#include <cerrno>
#include <cstring>

namespace kestrel::base {

Status Status::FromErrno(const std::string& context, int err) {
    Code code = Code::kIOError;
    if (err == ENOENT || err == ENOTDIR) code = Code::kNotFound;
    if (err == EAGAIN || err == EWOULDBLOCK) code = Code::kBusy;
    return Status(code, context + ": " + std::strerror(err));
}

std::string Status::ToString() const {
    const char* name = "OK";
    switch (code_) {
        case Code::kOk:
            return "OK";
        case Code::kNotFound:
            name = "NotFound";
            break;
        case Code::kCorruption:
            name = "Corruption";
            break;
        case Code::kIOError:
            name = "IOError";
            break;
        case Code::kInvalidArgument:
            name = "InvalidArgument";
            break;
        case Code::kBusy:
            name = "Busy";
            break;
        case Code::kNotSupported:
            name = "NotSupported";
            break;
    }
    return std::string(name) + ": " + message_;
}

}  // namespace kestrel::base
