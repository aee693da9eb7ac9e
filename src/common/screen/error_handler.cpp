#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>

#include "common/screen/error_screen.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"

namespace kestrel::common {
namespace {

bool IsPrinterPort(std::string_view file) {
    // The name alone counts ("LPT1", "/dev/LPT1" is not a port name).
    return file.size() >= 3 && (file[0] == 'L' || file[0] == 'l') &&
           (file[1] == 'P' || file[1] == 'p') && (file[2] == 'T' || file[2] == 't');
}

bool IsOpenFilesLimit(int code) {
    return code == EMFILE || code == ENFILE;
}

// The screens of the known cases; false for everything else.
bool KnownCase(Runtime& rt, const RunError& e) {
    if (IsOpenFilesLimit(e.os_code)) {
        ShowTooManyOpenFiles(rt, e.file);
        return true;
    }
    if (e.os_code == ENOMEM) {
        ShowOutOfMemory(rt);
        return true;
    }
    if (IsPrinterPort(e.file)) {
        ShowPrinterPortError(rt, e.file);
        return true;
    }
    return false;
}

void Report(Runtime& rt, RunError e) {
    if (KnownCase(rt, e)) return;
    // The operation that failed is gone: neither retry nor default is possible.
    e.can_retry = e.can_default = false;
    ErrorAlert(rt, e);
}

}  // namespace

void HandleEscapedError(Runtime& rt, std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Abandon& a) {
        if (*a.message()) ShowMessage(rt, a.message());
    } catch (const RunTimeError& e) {
        Report(rt, e.error());
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(rt);
    } catch (const std::filesystem::filesystem_error& e) {
        RunError r;
        r.subsystem = "FILE";
        r.description = e.code().message();
        r.file = e.path1().string();
        r.os_code = e.code().category() == std::generic_category() ||
                            e.code().category() == std::system_category()
                        ? e.code().value()
                        : 0;
        Report(rt, r);
    } catch (const std::system_error& e) {
        RunError r;
        r.subsystem = "SYSTEM";
        r.description = e.what();
        r.os_code = e.code().value();
        Report(rt, r);
    } catch (const std::exception& e) {
        RunError r;
        r.description = e.what();
        Report(rt, r);
    }
    rt.call_chain().ForgetFailure();
}

}  // namespace kestrel::common
