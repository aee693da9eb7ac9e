#include "payroll/data/payroll_parameters.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "platform/base/files.h"
#include "platform/base/rounding.h"
#include "platform/dbf/index.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

[[noreturn]] void WriteFailed(common::Runtime& rt, std::string_view table) {
    throw common::Abandon(common::ShortenMessage(rt.Text("Błąd zapisu: ") + std::string(table)));
}

// An index expression as written, without blanks and in capitals.
std::string Canonical(std::string_view expression) {
    std::string out;
    for (char c : expression)
        if (c != ' ') out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

void Commit(common::Runtime& rt, dbf::WorkArea& a) {
    const base::Status s = a.Commit();
    a.Unlock();
    if (!s.ok()) WriteFailed(rt, a.alias());
}

}  // namespace

bool ReadControl(common::Tables& tables, const std::vector<std::string>& numbers,
                 const std::vector<std::string>& texts, ControlValues* out) {
    dbf::WorkArea& ster = worktime::OpenOnce(tables, "PKSTER");
    const dbf::KeepPosition keep(ster);
    if (!ster.GoTop().ok() || ster.eof()) return false;
    for (const std::string& f : numbers) {
        const int i = ster.FieldIndex(f);
        out->numbers[f] = i < 0 ? 0 : ster.record().GetNumber(i);
    }
    for (const std::string& f : texts) {
        const int i = ster.FieldIndex(f);
        out->texts[f] = i < 0 ? std::string() : ster.record().GetString(i);
    }
    return true;
}

void WriteControl(common::Runtime& rt, common::Tables& tables, const ControlValues& values) {
    dbf::WorkArea& ster = worktime::OpenOnce(tables, "PKSTER");
    const dbf::KeepPosition keep(ster);
    if (!ster.GoTop().ok() || ster.eof()) WriteFailed(rt, ster.alias());
    tables.RLock(ster);
    dbf::Record& r = ster.record();
    for (const auto& [field, value] : values.numbers) {
        const int i = ster.FieldIndex(field);
        if (i >= 0) r.SetNumber(i, value);
    }
    for (const auto& [field, value] : values.texts) {
        const int i = ster.FieldIndex(field);
        if (i >= 0) r.SetString(i, value);
    }
    Commit(rt, ster);
}

std::string ValorisationKey(int year, int month) {
    char key[16];
    std::snprintf(key, sizeof key, "%4d%02d", year, month);
    return key;
}

bool ValorisationIndexOutdated(const std::string& data_dir) {
    const std::string path = base::FindNoCase(data_dir, "PKWALOR1.NTX");
    if (!base::Exists(path)) return false;
    const common::CatalogueIndex* def = common::IndexDefinitionOf("PKWALOR", "PKWALOR1");
    std::unique_ptr<dbf::Index> index;
    // A damaged file is the table layer's to rebuild, not outdated.
    if (def == nullptr || !dbf::Index::Open(path, false, true, &index).ok()) return false;
    const bool outdated = Canonical(index->key_expression()) != Canonical(def->key);
    (void)index->Close();
    return outdated;
}

dbf::WorkArea& OpenValorisation(common::Tables& tables) {
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKWALOR", {"PKWALOR1"});
    worktime::OrderBy(a, "PKWALOR1");
    return a;
}

Valorisation ReadValorisation(dbf::WorkArea& walor) {
    const dbf::Record& r = walor.record();
    Valorisation v;
    v.year = static_cast<int>(r.GetNumber(walor.FieldIndex("ROK_")));
    v.month = static_cast<int>(r.GetNumber(walor.FieldIndex("MIESIAC_")));
    v.percent = r.GetNumber(walor.FieldIndex("PR_WALOR"));
    v.recno = walor.recno();
    return v;
}

std::string AddValorisation(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& walor,
                            const Valorisation& row) {
    if (row.year < 1900 || row.year > 2099) return rt.Text("Błędny rok");
    if (row.month < 1 || row.month > 12) return rt.Text("Błędny miesiąc");
    const std::string key = ValorisationKey(row.year, row.month);
    worktime::OrderBy(walor, "PKWALOR1");
    const uint32_t was = walor.recno();
    if (walor.Seek(key).ok() && walor.found()) return rt.Text("Istnieje rekord o takim kluczu");
    (void)walor.Goto(was);
    tables.Reserve(walor, key);
    dbf::Record& r = walor.record();
    r.SetNumber(walor.FieldIndex("ROK_"), row.year);
    r.SetNumber(walor.FieldIndex("MIESIAC_"), row.month);
    r.SetNumber(walor.FieldIndex("PR_WALOR"), base::YRound(row.percent, 2));
    try {
        tables.Confirm(walor);
    } catch (...) {
        walor.Unlock();
        throw;
    }
    walor.Unlock();
    return "";
}

void ChangeValorisation(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& walor,
                        double percent) {
    if (walor.eof()) return;
    tables.RLock(walor);
    walor.record().SetNumber(walor.FieldIndex("PR_WALOR"), base::YRound(percent, 2));
    Commit(rt, walor);
}

void DeleteValorisation(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& walor) {
    if (walor.eof()) return;
    tables.RLock(walor);
    const base::Status s = walor.Delete();
    walor.Unlock();
    if (!s.ok()) WriteFailed(rt, walor.alias());
}

}  // namespace kestrel::payroll
