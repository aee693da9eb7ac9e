// QRMRDM: notices that another workstation changed the configuration file.
#pragma once

#include <string>

#include "common/session/runtime.h"

namespace kestrel::common {

class ConfigWatch {
  public:
    /// Watches `path` (the company's QRM.MEM).
    explicit ConfigWatch(std::string path) : path_(std::move(path)) {}

    /// The first call remembers the file's modification time. A later call
    /// that finds another time remembers it and, unless a restart is already
    /// pending, shows "Zmiana zawartości QRM.MEM", requests the restart and
    /// returns false. Otherwise (and for a missing file) returns true.
    bool Check(Runtime& rt);

    /// Takes the file's present time as known, without announcing anything
    /// (after the program itself rewrote the file).
    void Remember();

    const std::string& path() const { return path_; }

  private:
    std::string path_;
    bool known_ = false;
    long long seconds_ = 0;
    long long nanoseconds_ = 0;
};

}  // namespace kestrel::common
