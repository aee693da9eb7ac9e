#include "register/data/register_printout.h"

#include <cstdio>
#include <vector>

#include "common/session/abandon.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "register/data/employee_lookup.h"
#include "register/data/employee_record.h"
#include "register/data/paged_printout.h"

namespace kestrel::registry {
namespace {

using base::Trim;

// Columns of the three lines.
constexpr size_t kNumber = 6, kName = 40, kPesel = 11, kDate = 10, kAddress = 52, kPhone = 12,
                 kDepartment = 5, kPosition = 24, kFraction = 7, kRate = 9;

std::string Line(const std::vector<std::pair<std::string, size_t>>& cells) {
    std::string line;
    for (const auto& [text, width] : cells) line += Fit(text, width) + " ";
    return line;
}

std::string DateOf(const EmployeeRecord& e, const char* field) {
    const std::string stored = e.Date(field);
    return stored.empty() ? "" : base::DateText(base::DateOfDbfText(stored));
}

std::string Name(const EmployeeRecord& e) {
    if (e.kind() == EmployeeKind::kLegalPerson) {
        const std::string full = Trim(e.Text("PEL_NAZWA"));
        return full.empty() ? e.first_names() : full;
    }
    return Trim(e.surname() + " " + e.first_names());
}

std::string Address(const EmployeeRecord& e) {
    std::string street = Trim(e.Text("ULICA_"));
    const std::string house = Trim(e.Text("NR_DOMU"));
    const std::string flat = Trim(e.Text("NR_MIESZK"));
    if (!house.empty()) street += (street.empty() ? "" : " ") + house;
    if (!flat.empty()) street += "/" + flat;
    std::string town = Trim(Trim(e.Text("KOD_POCZT")) + " " + Trim(e.Text("MIEJSCOW_")));
    if (!town.empty() && !street.empty()) town += ", ";
    return town + street;
}

std::string Fraction(const EmployeeRecord& e) {
    if (e.kind() != EmployeeKind::kStaff) return "";
    const int l = static_cast<int>(e.Number("ETAT_L"));
    const int m = static_cast<int>(e.Number("ETAT_M"));
    if (l <= 0 || m <= 0) return "";
    return std::to_string(l) + "/" + std::to_string(m);
}

// The base rate with a decimal comma, right-aligned.
std::string Rate(double rate) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%*.2f", static_cast<int>(kRate), rate);
    std::string s = buf;
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

std::vector<std::string> Headings(const common::Runtime& rt) {
    return {
        Line({{"Nr", kNumber},
              {"R", 1},
              {rt.Text("Nazwisko i imiona (nazwa)"), kName},
              {"PESEL", kPesel},
              {"Data ur.", kDate}}),
        Line({{"", kNumber + 2}, {rt.Text("Adres zameldowania"), kAddress}, {"Telefon", kPhone}}),
        Line({{"", kNumber + 2},
              {rt.Text("Dział"), kDepartment},
              {"Stanowisko", kPosition},
              {"Zatrudn.", kDate},
              {"Zwoln.", kDate},
              {"Etat", kFraction},
              {std::string(kRate - 6, ' ') + "Stawka", kRate}}),
    };
}

std::vector<std::string> Block(common::Tables& tables, const EmployeeRecord& e) {
    const std::string kind(1, CardLetter(e.kind()));
    const std::string position_code = Trim(e.Text("STANOW_"));
    std::string position;
    if (!position_code.empty()) {
        if (!CheckCode(tables, "STANOW_", position_code, &position).accepted ||
            Trim(position).empty())
            position = position_code;
    }
    const double rate = e.Number("ST_PODST");
    return {
        // A long name (a firm's) takes the room of a PESEL it does not have.
        e.pesel().empty() ? Line({{e.number(), kNumber},
                                  {kind, 1},
                                  {Name(e), kName + 1 + kPesel},
                                  {DateOf(e, "DATA_URODZ"), kDate}})
                          : Line({{e.number(), kNumber},
                                  {kind, 1},
                                  {Name(e), kName},
                                  {e.pesel(), kPesel},
                                  {DateOf(e, "DATA_URODZ"), kDate}}),
        Line({{"", kNumber + 2}, {Address(e), kAddress}, {Trim(e.Text("TELEFON_")), kPhone}}),
        Line({{"", kNumber + 2},
              {Trim(e.Text("DZIAL_")), kDepartment},
              {Trim(position), kPosition},
              {DateOf(e, "DATA_ZATR"), kDate},
              {DateOf(e, "DATA_ZWOLN"), kDate},
              {Fraction(e), kFraction},
              {rate != 0 ? Rate(rate) : "", kRate}}),
    };
}

int OrderOf(const RegisterPrintOptions& o) {
    const bool by_number = o.order == RegisterOrder::kByNumber;
    switch (o.group) {
        case RegisterGroup::kCurrent:
            return by_number ? kCurrentByNumber : kCurrentBySurname;
        case RegisterGroup::kFormer:
            return by_number ? kFormerByNumber : kFormerBySurname;
        case RegisterGroup::kAll:
            break;
    }
    return by_number ? kByNumber : kBySurname;
}

// Calls `each` with the employees of `options` in its order until it
// returns false or the register ends.
template <typename Each>
void ForEachEmployee(common::Runtime& rt, common::Tables& tables,
                     const RegisterPrintOptions& options, Each each) {
    dbf::WorkArea& prac = tables.Open("PKPRAC", EmployeeIndexes());
    auto check = [&](const base::Status& s) {
        if (!s.ok()) throw common::Abandon(rt.Text("Błąd odczytu: ") + prac.alias());
    };
    check(prac.SetOrder(OrderOf(options)));
    for (check(prac.GoTop()); !prac.eof(); check(prac.Skip(1))) {
        const std::string number = prac.record().GetString(prac.FieldIndex("NR_PRAC"));
        if (!options.from.empty() && number < options.from) continue;
        if (!options.to.empty() && number > options.to) continue;
        if (!each(prac)) break;
    }
}

}  // namespace

int CountEmployees(common::Runtime& rt, common::Tables& tables,
                   const RegisterPrintOptions& options) {
    int count = 0;
    ForEachEmployee(rt, tables, options, [&](dbf::WorkArea&) { return ++count > 0; });
    return count;
}

std::string RegisterPrintTitle(const common::Runtime& rt, RegisterGroup group) {
    std::string title = "Kartoteka pracowników";
    if (group == RegisterGroup::kCurrent) title += " - pracownicy zatrudnieni";
    if (group == RegisterGroup::kFormer) title += " - pracownicy zwolnieni";
    return rt.Text(title);
}

int WriteRegister(common::Runtime& rt, common::Tables& tables, printing::PrintOutput& out,
                  const RegisterPrintOptions& options) {
    PagedPrintout pages(rt, out, RegisterPrintTitle(rt, options.group), false, Headings(rt));
    int count = 0;
    ForEachEmployee(rt, tables, options, [&](dbf::WorkArea& prac) {
        if (options.interrupted && options.interrupted()) return false;
        const EmployeeRecord e = ReadEmployee(prac);
        if (options.on_employee) options.on_employee(e.number(), Name(e));
        pages.Gap();
        pages.Block(Block(tables, e));
        ++count;
        return true;
    });
    pages.Gap();
    pages.Block({rt.Text("Razem pracowników: ") + std::to_string(count)});
    pages.Finish();
    return count;
}

}  // namespace kestrel::registry
