#include "tax/records/income_sorts.h"

#include <cstdio>

#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"

namespace kestrel::tax {
namespace {

std::string Digits(int value, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", width, value);
    return buf;
}

// str(n,4): right-aligned in four characters.
std::string Str4(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%4d", value);
    return buf;
}

std::string Employee(std::string_view typed) {
    std::string n = base::Trim(typed);
    if (n.empty()) return n;
    if (n.size() < 6) n.insert(0, 6 - n.size(), '0');
    return n;
}

std::string Kind(std::string_view typed) {
    std::string k = base::TrimRight(typed);
    if (k.empty()) return k;
    k.resize(4, ' ');
    return k;
}

// The parts in key order; the first empty one ends the key.
std::string Join(const std::vector<std::string>& parts) {
    std::string key;
    for (const std::string& p : parts) {
        if (p.empty()) break;
        key += p;
    }
    return key;
}

}  // namespace

std::string SortIndex(IncomeSort sort) {
    switch (sort) {
        case IncomeSort::kByMonth:
            return "PKDOCH4";
        case IncomeSort::kByEmployee:
            return "PKDOCH3";
        case IncomeSort::kByList:
            break;
    }
    return "PKDOCH1";
}

std::vector<std::string> SortIndexes() {
    return {"PKDOCH4", "PKDOCH3", "PKDOCH1"};
}

std::string SeekKey(IncomeSort sort, const IncomeSeek& f) {
    const std::string year = f.year > 0 ? Digits(f.year, 4) : "";
    const std::string month = f.year > 0 && f.month >= 1 && f.month <= 12 ? Digits(f.month, 2) : "";
    switch (sort) {
        case IncomeSort::kByMonth:
            return Join({year, month, Kind(f.kind), Employee(f.employee)});
        case IncomeSort::kByEmployee:
            return Join({Employee(f.employee), year, month, Kind(f.kind)});
        case IncomeSort::kByList:
            break;
    }
    return Join({year, f.year > 0 && f.list_number > 0 ? Str4(f.list_number) : "",
                 Employee(f.employee), Kind(f.kind)});
}

SeekOutcome SeekIncome(dbf::WorkArea& area, std::string_view key) {
    const uint32_t was = area.recno();
    base::Status s = area.Seek(key, true);
    if (s.ok() && area.found()) return SeekOutcome::kFound;
    if (s.ok() && !area.eof()) return SeekOutcome::kNextRecord;
    if (s.ok()) s = area.Goto(was);
    if (!s.ok()) throw common::Abandon(codepage::FromUtf8("Błąd odczytu: PKDOCH"));
    return SeekOutcome::kEndOfFile;
}

std::string SeekMessage(SeekOutcome outcome) {
    switch (outcome) {
        case SeekOutcome::kFound:
            return "";
        case SeekOutcome::kNextRecord:
            return "Brak klucza - następny rekord";
        case SeekOutcome::kEndOfFile:
            break;
    }
    return "Brak klucza - koniec zbioru";
}

}  // namespace kestrel::tax
