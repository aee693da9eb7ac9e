#include "payroll/bank/data/bank_parameters.h"

#include <set>

#include "payroll/data/payroll_records.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll::bank {
namespace {

std::string Memo(dbf::WorkArea& a, int field) {
    std::string text;
    if (field >= 0) (void)a.ReadMemo(field, &text);
    return text;
}

std::string Field(dbf::WorkArea& a, const char* name) {
    const int f = a.FieldIndex(name);
    return f < 0 ? std::string() : base::TrimRight(a.record().GetString(f));
}

bool Flag(dbf::WorkArea& a, const char* name) {
    const int f = a.FieldIndex(name);
    return f >= 0 && a.record().GetLogical(f);
}

bool NameCharacter(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 128) return false;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    return std::string_view("_-$~!#%&@^()'{}`").find(c) != std::string_view::npos;
}

bool ValidPart(std::string_view part, size_t longest) {
    if (part.empty() || part.size() > longest) return false;
    for (char c : part)
        if (!NameCharacter(c)) return false;
    return true;
}

bool ProgramExtension(const std::string& upper) {
    static const std::set<std::string, std::less<>> own = {"EXE", "COM", "BAT", "DBF", "DBT",
                                                           "NTX", "MEM", "PRT", "161"};
    return own.count(upper) != 0;
}

}  // namespace

std::vector<BankParameters> ReadBanks(common::Tables& tables) {
    std::vector<BankParameters> out;
    if (!CompanyHas(tables, "PKWROR")) return out;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKWROR", {"PKWROR1"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKWROR1");
    const int f_cond = a.FieldIndex("WARUNEK_"), f_line = a.FieldIndex("WZOR_"),
              f_head = a.FieldIndex("NAGLOWEK_"), f_end = a.FieldIndex("KONIEC_");
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip()) {
        if (a.deleted()) continue;
        BankParameters b;
        b.bank = Field(a, "BANK_");
        b.condition = Memo(a, f_cond);
        b.component = base::Padded(Field(a, "SKLADN_PL"), 4);
        b.extension = base::Trim(Field(a, "EXT_"));
        b.line = Memo(a, f_line);
        b.orders = Flag(a, "PRZELEW_");
        b.header = Memo(a, f_head);
        b.trailer = Memo(a, f_end);
        b.title = Field(a, "TYTUL_TBW");
        b.collective = Flag(a, "ZB_PRZEL");
        b.recipient = Field(a, "NAZWA_PRZ");
        b.recipient_bank = Field(a, "BANK_PRZ");
        b.recipient_account = Field(a, "KONTO_PRZ");
        b.ordering = Field(a, "NAZ_PRZEL");
        b.ordering_account = Field(a, "KON_PRZEL");
        b.prefix = base::Trim(Field(a, "PREFIX_"));
        b.recno = a.recno();
        out.push_back(std::move(b));
    }
    return out;
}

std::string OutputDirectory(common::Runtime& rt) {
    std::string dir = base::Trim(rt.config().Text("NAGLRORPLI"));
    if (dir.empty()) dir = rt.data_dir();
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

std::string FileName(const BankParameters& bank, std::string_view paid) {
    const std::string date = paid.size() == 8 ? std::string(paid.substr(2)) : std::string();
    return bank.prefix + date + "." + bank.extension;
}

bool ValidFileName(std::string_view name) {
    const size_t dot = name.find('.');
    if (dot == std::string_view::npos) return ValidPart(name, 8);
    return ValidPart(name.substr(0, dot), 8) && ValidPart(name.substr(dot + 1), 3);
}

std::string CheckFileBanks(common::Runtime& rt, common::Tables& tables,
                           const std::vector<BankParameters>& banks, std::string_view paid,
                           std::vector<BankParameters>* files) {
    files->clear();
    std::set<std::string> components;
    for (const Component& c : ReadComponents(tables)) components.insert(c.symbol);
    std::set<std::string> seen;  // prefix+extension, upper case
    for (const BankParameters& b : banks) {
        if (b.orders) continue;
        if (components.count(b.component) == 0 || base::Trim(b.component).empty())
            return rt.Text("Błędny składnik \"") + base::TrimRight(b.component) +
                   rt.Text("\" w PKWROR");
        const std::string ext = base::AsciiUpper(b.extension);
        if (ProgramExtension(ext) || !ValidPart(b.extension, 3))
            return rt.Text("Nieprawidłowe rozszerzenie \"") + b.extension + "\"";
        if (!seen.insert(base::AsciiUpper(b.prefix) + "+" + ext).second)
            return rt.Text("Powtórzony \"Prefiks+Rozszerz.\" ") + b.prefix + "+" + b.extension;
        const std::string name = FileName(b, paid);
        if (!ValidFileName(name)) return rt.Text("Błędna nazwa plku \"") + name + "\"";
        files->push_back(b);
    }
    if (files->empty()) return rt.Text("Brak parametrów połączenia");
    return {};
}

}  // namespace kestrel::payroll::bank
