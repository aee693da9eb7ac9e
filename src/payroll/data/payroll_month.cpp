#include "payroll/data/payroll_month.h"

#include <cctype>
#include <cstdio>

#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {

OpenLists FindOpenLists(common::Runtime& rt, common::Tables& tables) {
    OpenLists out;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKLISTY", {"PKLISTY2"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKLISTY2");
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip()) {
        if (a.deleted()) continue;
        PayrollList l = ReadList(a);
        if (!l.open) break;
        out.lists.push_back(std::move(l));
    }
    if (out.lists.empty()) {
        out.refusal = rt.Text("Brak aktywnej listy plac");
    } else if (out.lists.size() > 1 && !rt.config().Logical("NAGLALP")) {
        out.lists.clear();
        out.refusal = rt.Text("Sprzeczne informacje w zb.: PKLISTY");
    }
    return out;
}

bool FindList(common::Tables& tables, std::string_view key, PayrollList* out) {
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKLISTY", {"PKLISTY1"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKLISTY1");
    for (base::Status s = a.Seek(key); s.ok() && a.found() && !a.eof(); s = a.Skip()) {
        if (a.deleted()) continue;
        PayrollList l = ReadList(a);
        if (l.Key() != key) break;
        *out = std::move(l);
        return true;
    }
    return false;
}

std::string ListKeyFromText(std::string_view text) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == '/')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    if (parts.size() == 3) {
        const std::string& year = parts[0];
        std::string symbol = base::AsciiUpper(parts[1]);
        const std::string& number = parts[2];
        const bool digits = !number.empty() && number.size() <= 4 &&
                            number.find_first_not_of("0123456789") == std::string::npos;
        if (year.size() != 4 || year.find_first_not_of("0123456789") != std::string::npos ||
            symbol.empty() || symbol.size() > 2 || !digits || std::stoi(number) == 0)
            return "";
        symbol.resize(2, ' ');
        return year + symbol + StrN(std::stoi(number), 4);
    }
    // The key itself: year, symbol in two characters, number in four.
    if (text.size() == 10 && std::isdigit(static_cast<unsigned char>(text[0])) &&
        base::Trim(text.substr(6)).find_first_not_of("0123456789") == std::string::npos &&
        !base::IsBlank(text.substr(6)))
        return std::string(text);
    return "";
}

std::string ListCaption(const PayrollList& l) {
    const base::Date paid = base::DateOfDbfText(l.paid);
    char date[16] = "  .  .    ";
    if (!paid.empty())
        std::snprintf(date, sizeof date, "%02d.%02d.%04d", paid.day, paid.month, paid.year);
    return StrN(l.number, 4) + "/" + l.symbol + "/" + l.month + "/" + l.year + " (" + date + ")";
}

void ClearMonthFlags(common::Runtime& rt, common::Tables& tables) {
    dbf::WorkArea& ster = worktime::OpenOnce(tables, "PKSTER");
    const dbf::KeepPosition keep(ster);
    if (!ster.GoTop().ok() || ster.eof()) return;
    tables.RLock(ster);
    for (const char* f : {"AKT_ZUS", "AKT_KZP", "AKT_PPK"}) {
        const int i = ster.FieldIndex(f);
        if (i >= 0) ster.record().SetLogical(i, false);
    }
    const base::Status s = ster.Commit();
    ster.Unlock();
    if (!s.ok())
        throw common::Abandon(common::ShortenMessage(rt.Text("Błąd zapisu: ") + ster.alias()));
}

}  // namespace kestrel::payroll
