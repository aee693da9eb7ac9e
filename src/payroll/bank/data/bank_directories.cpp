#include "payroll/bank/data/bank_directories.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/memfile/mem_file.h"

namespace kestrel::payroll::bank {

namespace fs = std::filesystem;

std::string SaveOutputDirectory(common::Runtime& rt, const std::string& dir) {
    std::string d = base::Trim(dir);
    std::error_code ec;
    if (d.empty() || !fs::is_directory(d, ec)) return rt.Text("Brak katalogu: ") + d;
    if (d.back() != '/') d += '/';
    const std::string path = base::FindNoCase(rt.data_dir(), "QRM.MEM");
    std::vector<memfile::MemEntry> entries;
    if (base::Exists(path) && !memfile::ReadMemFile(path, &entries).ok())
        return rt.Text("Błąd zapisu QRM.MEM");
    bool found = false;
    for (memfile::MemEntry& e : entries) {
        if (base::AsciiUpper(e.name) != "NAGLRORPLI") continue;
        e.value = memfile::MemValue::Char(d);
        found = true;
    }
    if (!found) entries.push_back({"NAGLRORPLI", memfile::MemValue::Char(d)});
    const std::string target = base::Exists(path) ? path : rt.data_dir() + "QRM.MEM";
    if (!memfile::WriteMemFile(target, entries).ok()) return rt.Text("Błąd zapisu QRM.MEM");
    rt.config().Set("NAGLRORPLI", memfile::MemValue::Char(d));
    return {};
}

std::vector<FileEntry> ListFiles(const std::string& dir) {
    std::vector<FileEntry> out;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
        std::error_code fe;
        if (!e.is_regular_file(fe)) continue;
        const std::string name = e.path().filename().string();
        if (!name.empty() && name[0] == '~') continue;
        FileEntry f;
        f.name = name;
        f.size = e.file_size(fe);
        const auto t = e.last_write_time(fe);
        const auto sys = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
            t - fs::file_time_type::clock::now() + std::chrono::system_clock::now());
        const std::time_t tt = std::chrono::system_clock::to_time_t(sys);
        std::tm tm{};
        localtime_r(&tt, &tm);
        char buf[32];
        std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M", &tm);
        f.when = buf;
        out.push_back(std::move(f));
    }
    std::sort(out.begin(), out.end(),
              [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
    return out;
}

std::string CopyFileTo(common::Runtime& rt, const std::string& from, const std::string& name,
                       const std::string& to) {
    std::string contents;
    if (!base::ReadFile(from + name, &contents).ok() ||
        !base::WriteFileAtomically(to + name, contents).ok())
        return rt.Text("Błąd kopiowania pliku: ") + name;
    return {};
}

std::string DeleteFileIn(common::Runtime& rt, const std::string& dir, const std::string& name) {
    std::error_code ec;
    fs::remove(dir + name, ec);
    if (fs::exists(dir + name, ec)) return rt.Text("Błąd kasowania pliku: ") + name;
    return {};
}

}  // namespace kestrel::payroll::bank
