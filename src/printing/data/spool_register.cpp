#include "printing/data/spool_register.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "printing/data/spool_pages.h"

namespace kestrel::printing {
namespace {

std::string Number(long value, int width) {
    char t[32];
    std::snprintf(t, sizeof t, "%*ld", width, value);
    std::string s = t;
    // A number wider than its field keeps its last digits' width.
    if (static_cast<int>(s.size()) > width) s = std::string(static_cast<size_t>(width), '9');
    return s;
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

dbf::WorkArea& OpenDirectory(common::Tables& tables) {
    dbf::WorkArea& area = tables.Open("PKLWYD");
    (void)area.SetOrder(0);
    return area;
}

void Check(common::Tables& tables, const base::Status& s) {
    if (!s.ok()) throw common::Abandon(tables.rt().Text("Błąd PKLWYD: ") + s.message());
}

}  // namespace

SpoolEntry DescribeSpoolFile(const std::string& path, const base::LocalTime& now, char type,
                             const std::string& title) {
    SpoolEntry e;
    e.file = BaseName(path);
    e.date = now.DateText();
    e.time = now.TimeText();
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) e.size = static_cast<long>(st.st_size);
    e.pages = CountPages(path);
    e.type = type;
    e.title = title;
    return e;
}

void RegisterSpoolFile(common::Tables& tables, const SpoolEntry& entry) {
    dbf::WorkArea& area = OpenDirectory(tables);
    const int name_f = area.FieldIndex("NAZWA_ZB");
    const std::string key = base::AsciiUpper(entry.file);
    area.set_hide_deleted(false);
    std::vector<uint32_t> visible, deleted;
    Check(tables, area.GoTop());
    while (!area.eof()) {
        if (base::AsciiUpper(base::Trim(area.record().GetString(name_f))) == key)
            (area.deleted() ? deleted : visible).push_back(area.recno());
        Check(tables, area.Skip(1));
    }
    // The visible record of the name, else a deleted one; further visible
    // ones are duplicates.
    uint32_t reuse = !visible.empty() ? visible[0] : !deleted.empty() ? deleted[0] : 0;
    std::vector<uint32_t> duplicates(visible.size() > 1 ? visible.begin() + 1 : visible.end(),
                                     visible.end());
    for (uint32_t recno : duplicates) {
        Check(tables, area.Goto(recno));
        tables.RLock(area);
        Check(tables, area.Delete());
        Check(tables, area.Unlock());
    }
    if (reuse != 0) {
        Check(tables, area.Goto(reuse));
        tables.RLock(area);
    } else {
        tables.Append(area);
    }
    dbf::Record& r = area.record();
    auto set = [&](const char* field, const std::string& value) {
        Check(tables, r.SetString(area.FieldIndex(field), value));
    };
    set("NAZWA_ZB", entry.file);
    set("DATA_", entry.date);
    set("CZAS_", entry.time);
    set("WIELKOSC_", Number(entry.size, 9));
    set("IL_STRON", Number(entry.pages, 4));
    set("TYP_DRUK", std::string(1, entry.type));
    set("TYTUL_", entry.title.substr(0, 60));
    Check(tables, area.Commit());
    if (area.deleted()) Check(tables, area.Recall());
    Check(tables, area.Unlock());
    area.set_hide_deleted(true);
}

std::vector<SpoolEntry> ReadSpoolEntries(common::Tables& tables) {
    dbf::WorkArea& area = OpenDirectory(tables);
    std::vector<SpoolEntry> entries;
    auto text = [&](const char* field) {
        return base::Trim(area.record().GetString(area.FieldIndex(field)));
    };
    Check(tables, area.GoTop());
    while (!area.eof()) {
        SpoolEntry e;
        e.file = text("NAZWA_ZB");
        e.date = text("DATA_");
        e.time = text("CZAS_");
        e.size = std::atol(text("WIELKOSC_").c_str());
        e.pages = std::atoi(text("IL_STRON").c_str());
        const std::string type = text("TYP_DRUK");
        e.type = type.empty() ? ' ' : type[0];
        e.title = text("TYTUL_");
        if (!e.file.empty()) entries.push_back(std::move(e));
        Check(tables, area.Skip(1));
    }
    std::stable_sort(entries.begin(), entries.end(), [](const SpoolEntry& a, const SpoolEntry& b) {
        if (a.date != b.date) return a.date < b.date;
        if (a.time != b.time) return a.time < b.time;
        return a.file < b.file;
    });
    return entries;
}

void ForgetSpoolFile(common::Tables& tables, const std::string& file) {
    dbf::WorkArea& area = OpenDirectory(tables);
    const int name_f = area.FieldIndex("NAZWA_ZB");
    const std::string key = base::AsciiUpper(file);
    Check(tables, area.GoTop());
    while (!area.eof()) {
        if (base::AsciiUpper(base::Trim(area.record().GetString(name_f))) == key) {
            tables.RLock(area);
            Check(tables, area.Delete());
            Check(tables, area.Unlock());
        }
        Check(tables, area.Skip(1));
    }
}

}  // namespace kestrel::printing
