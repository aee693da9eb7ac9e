#include "payroll/data/setup_install.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"

namespace kestrel::payroll {
namespace {

const std::map<std::string, std::vector<std::string>, std::less<>>& Keys() {
    static const std::map<std::string, std::vector<std::string>, std::less<>> keys = {
        {"PKSPL", {"SKLADN_PL"}},
        {"PKOSPL", {"SKLADN_PL"}},
        {"PKFUNC", {"FUN_"}},
        {"PKRDOCH", {"TYTUL_WYP"}},
        {"PKSLST", {"TYP_LST"}},
        {"PKWROR", {"BANK_"}},
        {"PKAPDST", {"TYT_PODM_P"}},
        {"PKTAB", {"ROK_", "MC_DO", "PONAD_KW"}},
        {"PKASKLD", {"TYT_PODM_P"}},
        {"PKAZASL", {"TYT_PODM_P", "KOD_NIEOB", "SKLADN_PL"}},
        {"PKASKWN", {"TYT_PODM_P", "KOD_WYNAGR"}},
        {"PKASPRZ", {"SYMB_ALG"}},
        {"PKAOKRN", {"TYT_PODM_P"}},
        {"PKAWYNG", {}},
        {"PKTYTUB", {"TYTUL_PODM"}},
        {"PKSWYN", {"KOD_WYNAGR"}},
        {"PKSTER", {}},
        {"PKNTBW", {"TBW_"}},
        {"PKTBW", {"TBW_"}},
    };
    return keys;
}

// Tables whose records belong together under one key: the cells of a print
// matrix are added only to a company that has no cell of that matrix, never
// mixed into a matrix the company has laid out itself.
bool Grouped(std::string_view table) {
    return table == "PKTBW";
}

// One part of a key from its text (CP852) and the field's type.
std::string KeyPart(const std::string& field, char type, const std::string& text) {
    if (type == 'N') {
        char buf[48];
        std::snprintf(buf, sizeof buf, "%.2f", std::strtod(text.c_str(), nullptr));
        return buf;
    }
    std::string v = base::TrimWhitespace(text);
    if (field == "FUN_") v = base::AsciiUpper(v);
    return v;
}

char TypeOf(const common::TableLayout& layout, const std::string& field) {
    const int i = layout.FieldIndex(field);
    return i < 0 ? 'C' : layout.fields[static_cast<size_t>(i)].type;
}

std::string StoredKey(const common::TableLayout& layout, const dbf::Record& rec,
                      const std::vector<std::string>& fields) {
    std::string key;
    for (const std::string& f : fields) {
        if (!key.empty()) key += "/";
        key += KeyPart(f, TypeOf(layout, f), rec.GetString(rec.FieldIndex(f)));
    }
    return key;
}

// A field of the control record that the company has not filled.
bool Empty(const dbf::Table& table, const dbf::Record& rec, int field) {
    switch (table.fields()[static_cast<size_t>(field)].type) {
        case dbf::FieldType::kNumeric:
            return rec.GetNumber(field) == 0;
        case dbf::FieldType::kLogical:
            return !rec.GetLogical(field);
        case dbf::FieldType::kMemo:
            return rec.GetMemoBlock(field) == 0;
        default:
            return rec.IsBlank(field);
    }
}

class Installer {
  public:
    Installer(common::Tables& tables, SetupInstallOutcome* out) : tables_(tables), out_(out) {}

    void Table(const std::string& name, const std::vector<const common::SetupRecord*>& records) {
        const bool was_open = tables_.workspace().Find(name) != nullptr;
        dbf::WorkArea& area = tables_.Open(name, common::IndexFiles(name));
        if (name == "PKSTER")
            Control(area, records);
        else
            Keyed(area, name, records);
        if (!was_open) (void)tables_.workspace().Close(area.number());
    }

  private:
    void Check(const base::Status& s) {
        if (!s.ok()) throw common::Abandon(tables_.rt().Text("Błąd zapisu: ") + s.message());
    }

    void Keyed(dbf::WorkArea& area, const std::string& name,
               const std::vector<const common::SetupRecord*>& records) {
        const common::TableLayout& layout = *common::FindTable(name);
        const std::vector<std::string>& fields = Keys().find(name)->second;
        // The company's records by key; the first of each key.
        std::map<std::string, uint32_t> stored;
        Check(area.SetOrder(0));
        for (Check(area.GoTop()); !area.eof(); Check(area.Skip())) {
            if (area.deleted()) continue;
            stored.emplace(StoredKey(layout, area.record(), fields), area.recno());
        }
        const bool keyless = fields.empty();
        const bool empty = stored.empty();
        for (const common::SetupRecord* r : records) {
            const std::string key = SetupKey(*r);
            const auto it = stored.find(key);
            if (keyless ? !empty : it != stored.end()) {
                if (Grouped(name)) {  // part of the company's own whole
                    ++out_->unchanged;
                    continue;
                }
                if (!keyless) Check(area.Goto(it->second));
                if (!keyless && common::SetupRecordMatches(*r, area.table(), area.record()))
                    ++out_->unchanged;
                else
                    out_->kept.push_back(name + (keyless ? "" : " " + codepage::ToUtf8(key)));
                continue;
            }
            tables_.Append(area);
            base::Status s = common::FillSetupRecord(*r, area.table(), &area.record());
            if (s.ok()) s = area.Commit();
            area.Unlock();
            Check(s);
            if (!keyless && !Grouped(name)) stored.emplace(key, area.recno());
            ++out_->installed;
        }
    }

    void Control(dbf::WorkArea& area, const std::vector<const common::SetupRecord*>& records) {
        Check(area.GoTop());
        if (area.eof()) return;
        tables_.RLock(area);
        base::Status s = base::Status::Ok();
        for (const common::SetupRecord* r : records) {
            for (const common::SetupField& f : r->fields) {
                const int i = area.FieldIndex(f.name);
                if (!Empty(area.table(), area.record(), i)) {
                    out_->kept.push_back("PKSTER " + f.name);
                    continue;
                }
                common::SetupRecord one{r->table, r->source, r->line, {f}};
                s = common::FillSetupRecord(one, area.table(), &area.record());
                if (!s.ok()) break;
                ++out_->installed;
            }
            if (!s.ok()) break;
        }
        if (s.ok()) s = area.Commit();
        area.Unlock();
        Check(s);
    }

    common::Tables& tables_;
    SetupInstallOutcome* out_;
};

}  // namespace

bool InstallableTable(std::string_view table) {
    return Keys().find(base::AsciiUpper(table)) != Keys().end();
}

std::string SetupKey(const common::SetupRecord& record) {
    const auto it = Keys().find(record.table);
    if (it == Keys().end()) return {};
    const common::TableLayout& layout = *common::FindTable(record.table);
    std::string key;
    for (const std::string& f : it->second) {
        if (!key.empty()) key += "/";
        const common::SetupField* given = record.Find(f);
        key += KeyPart(f, TypeOf(layout, f),
                       given == nullptr ? std::string() : codepage::FromUtf8(given->value));
    }
    return key;
}

SetupInstallOutcome InstallSetup(common::Tables& tables,
                                 const std::vector<common::SetupRecord>& setup) {
    std::vector<std::string> order;
    std::map<std::string, std::vector<const common::SetupRecord*>> by_table;
    for (const common::SetupRecord& r : setup) {
        if (!InstallableTable(r.table))
            throw common::Abandon(tables.rt().Text(r.source + ":" + std::to_string(r.line) +
                                                   ": the updater does not install " + r.table));
        if (by_table.count(r.table) == 0) order.push_back(r.table);
        by_table[r.table].push_back(&r);
    }
    SetupInstallOutcome out;
    Installer installer(tables, &out);
    for (const std::string& t : order) installer.Table(t, by_table[t]);
    return out;
}

}  // namespace kestrel::payroll
