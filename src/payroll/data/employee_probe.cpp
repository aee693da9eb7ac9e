#include "payroll/data/employee_probe.h"

#include <cctype>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

// "2024A 1" -> "2024A    1": the year, the symbol padded to 2, the number
// right-aligned in 4. A key that is not of that form stays as it is.
std::string StoredKey(std::string_view key) {
    if (key.size() < 6) return std::string(key);
    size_t end = key.size();
    while (end > 4 && std::isdigit(static_cast<unsigned char>(key[end - 1]))) --end;
    if (end == key.size()) return std::string(key);
    std::string symbol = base::TrimRight(key.substr(4, end - 4));
    if (symbol.size() > 2) return std::string(key);
    symbol.resize(2, ' ');
    return std::string(key.substr(0, 4)) + symbol +
           StrN(std::atoi(std::string(key.substr(end)).c_str()), 4);
}

bool HasTable(common::Tables& tables, std::string_view table) {
    return tables.workspace().Find(table) != nullptr ||
           base::Exists(base::FindNoCase(tables.rt().data_dir(), std::string(table) + ".DBF"));
}

}  // namespace

bool FindProbeList(common::Tables& tables, std::string_view key, PayrollList* out) {
    if (!HasTable(tables, "PKLISTY")) return false;
    dbf::WorkArea& lists = worktime::OpenOnce(tables, "PKLISTY", {"PKLISTY1", "PKLISTY2"});
    if (key.empty()) {
        worktime::OrderBy(lists, "PKLISTY2");
        if (!lists.GoTop().ok() || lists.eof()) return false;
        *out = ReadList(lists);
        return out->open;
    }
    worktime::OrderBy(lists, "PKLISTY1");
    if (!lists.Seek(StoredKey(key)).ok() || !lists.found()) return false;
    *out = ReadList(lists);
    return true;
}

bool LoadForProbe(PayrollHost& host, std::string_view number, std::string_view key,
                  std::vector<std::string>* messages, std::string* message) {
    common::Runtime& rt = host.rt();
    *messages = host.PrepareRun();
    PayrollList list;
    if (!FindProbeList(host.tables(), key, &list)) {
        *message =
            key.empty() ? rt.Text("Brak aktywnej listy plac") : "no list " + std::string(key);
        return false;
    }
    std::string nr(number);
    if (nr.size() < 6 && !nr.empty()) nr.insert(0, 6 - nr.size(), '0');
    bool known = false;
    if (HasTable(host.tables(), "PKPRAC")) {
        dbf::WorkArea& prac = worktime::OpenOnce(host.tables(), "PKPRAC", {"PKPRAC1"});
        worktime::OrderBy(prac, "PKPRAC1");
        known = prac.Seek(nr).ok() && prac.found();
    }
    if (!known) {
        *message = "no employee " + nr;
        return false;
    }
    host.SetList(list);
    host.LoadEmployee(nr);
    return true;
}

}  // namespace kestrel::payroll
