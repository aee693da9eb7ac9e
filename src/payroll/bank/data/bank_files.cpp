#include "payroll/bank/data/bank_files.h"

#include <cstdio>

namespace kestrel::payroll::bank {

PendingFiles::~PendingFiles() {
    if (!committed_) Discard();
}

bool PendingFiles::Create(const std::string& name) {
    const std::string path = dir_ + TemporaryName(name);
    std::remove(path.c_str());
    std::FILE* f = std::fopen(path.c_str(), "wbx");
    if (f == nullptr) return false;
    std::setvbuf(f, nullptr, _IOFBF, 1 << 16);
    files_.push_back({name, f, false});
    return true;
}

void PendingFiles::WriteLine(size_t i, std::string_view text) {
    std::FILE* f = files_[i].stream;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fwrite("\r\n", 1, 2, f);
}

bool PendingFiles::Commit(std::string* failed) {
    for (File& f : files_) {
        const bool bad = std::ferror(f.stream) != 0;
        const bool closed = std::fclose(f.stream) == 0;
        f.stream = nullptr;
        if (bad || !closed) {
            *failed = f.name;
            Discard();
            return false;
        }
    }
    for (File& f : files_) {
        const std::string from = dir_ + TemporaryName(f.name), to = dir_ + f.name;
        if (std::rename(from.c_str(), to.c_str()) != 0) {
            *failed = f.name;
            Discard();
            return false;
        }
        f.renamed = true;
    }
    committed_ = true;
    return true;
}

void PendingFiles::Discard() {
    for (File& f : files_) {
        if (f.stream != nullptr) std::fclose(f.stream);
        f.stream = nullptr;
        const std::string path = dir_ + (f.renamed ? f.name : TemporaryName(f.name));
        std::remove(path.c_str());
        f.renamed = false;
    }
}

}  // namespace kestrel::payroll::bank
