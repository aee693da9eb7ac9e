#include "test_util.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrel::dbf::testing {

ScratchDir::ScratchDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "kestrel-dbf-XXXXXX").string();
    char* p = mkdtemp(templ.data());
    path_ = p ? p : "";
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::string FixtureDir() {
    if (const char* env = std::getenv("KESTREL_XBASE_FIXTURES")) return env;
    return KESTREL_XBASE_FIXTURES;
}

bool CopyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
    if (!ec)
        std::filesystem::permissions(to, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ec);
    return !ec;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool UnderSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#else
    return false;
#endif
}

}  // namespace kestrel::dbf::testing
