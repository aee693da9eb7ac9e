// Helpers shared by the table-engine tests: scratch directories and fixtures.
#pragma once

#include <string>

namespace kestrel::dbf::testing {

/// A fresh empty directory under the system's temporary directory, removed
/// with its contents when the object goes away.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

/// The folder of the reference xBase files written by other programs.
std::string FixtureDir();

/// Copies a file; false on failure.
bool CopyFile(const std::string& from, const std::string& to);
std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);

/// True when running under AddressSanitizer (loop counts are scaled down).
bool UnderSanitizer();

}  // namespace kestrel::dbf::testing
