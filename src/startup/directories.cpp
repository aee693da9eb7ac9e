#include "startup/directories.h"

#include <sys/stat.h>
#include <cctype>

#include "platform/base/files.h"
#include "platform/base/text.h"

namespace kestrel::startup {
namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string WithoutTrailingSlash(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

bool SingleName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos && name.find("..") == std::string::npos &&
           name.find(':') == std::string::npos;
}

}  // namespace

Directories ResolveDirectories(const std::string& cwd, const std::string& company,
                               const char* qrmakord) {
    Directories d;
    std::string current = WithoutTrailingSlash(cwd);
    d.program = current;
    if (company.empty()) {
        size_t slash = current.rfind('/');
        std::string last = slash == std::string::npos ? current : current.substr(slash + 1);
        if (base::AsciiUpper(last).find(".PK") != std::string::npos && slash != std::string::npos) {
            d.program = slash == 0 ? "/" : current.substr(0, slash);
            d.company = last;
        }
    } else {
        std::string name = base::AsciiUpper(company);
        if (name.find('.') == std::string::npos) name += ".PK";
        if (EndsWith(name, ".PK") && SingleName(name)) {
            std::string found = base::FindNoCase(d.program, name);
            if (IsDirectory(found)) d.company = found.substr(found.rfind('/') + 1);
        }
    }
    const std::string root = d.program == "/" ? "" : d.program;
    d.data = d.company.empty() ? root + "/" : root + "/" + d.company + "/";
    if (qrmakord != nullptr && *qrmakord != '\0') {
        d.akord = qrmakord;
        if (d.akord.back() != '/') d.akord += '/';
    } else {
        d.akord = root + "/";
    }
    return d;
}

}  // namespace kestrel::startup
