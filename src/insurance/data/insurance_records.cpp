#include "insurance/data/insurance_records.h"

#include <cstdio>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::insurance {
namespace {

std::string ValueOf(const dbf::Record& r, const dbf::Field& f, int i) {
    switch (f.type) {
        case dbf::FieldType::kNumeric: {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(f.decimals), r.GetNumber(i));
            return buf;
        }
        case dbf::FieldType::kLogical:
            return r.GetLogical(i) ? "T" : "F";
        case dbf::FieldType::kDate:
            return r.GetDate(i);
        default:
            return base::TrimRight(r.GetString(i));
    }
}

}  // namespace

const std::vector<std::string>& RecordTables() {
    static const std::vector<std::string> t = {"PKSKLAD", "PKZASIL", "PKKSKWN",
                                               "PKWYNAG", "PKPODST", "PKOKRES"};
    return t;
}

std::vector<RecordSection> ReadMonthRecords(common::Runtime& rt, common::Tables& tables, int year,
                                            int month) {
    std::vector<RecordSection> out;
    char key[16];
    std::snprintf(key, sizeof key, "%4d%02d", year, month);
    for (const std::string& table : RecordTables()) {
        RecordSection section;
        section.table = table;
        if (tables.workspace().Find(table) == nullptr &&
            !base::Exists(base::FindNoCase(rt.data_dir(), table + ".DBF"))) {
            out.push_back(std::move(section));
            continue;
        }
        dbf::WorkArea& a = worktime::OpenOnce(tables, table, {table + "1"});
        const dbf::KeepPosition keep(a);
        worktime::OrderBy(a, table + "1");
        const auto& fields = a.table().fields();
        for (const dbf::Field& f : fields) section.fields.push_back(f.name);
        dbf::Index& index = a.index(static_cast<size_t>(a.order() - 1));
        for (base::Status st = a.Seek(key, true); st.ok() && !a.eof(); st = a.Skip(1)) {
            std::string k;
            bool included = false;
            index.KeyOf(a.record(), &k, &included);
            if (k.compare(0, 6, key) != 0) break;
            if (a.deleted()) continue;
            std::vector<std::string> row;
            for (size_t i = 0; i < fields.size(); ++i)
                row.push_back(ValueOf(a.record(), fields[i], static_cast<int>(i)));
            section.rows.push_back(std::move(row));
        }
        out.push_back(std::move(section));
    }
    return out;
}

}  // namespace kestrel::insurance
