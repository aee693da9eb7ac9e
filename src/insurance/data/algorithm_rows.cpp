// The algorithm tables of the insurance records: their rows read once per
// run, each formula compiled on first use over the payroll namespace, and
// the values put into the fields of the target records by type.
#include <cstdio>

#include "insurance/data/transfer_state.h"
#include "platform/base/dates.h"
#include "platform/base/files.h"
#include "platform/base/fixed_width.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::insurance {
namespace {

std::string WithoutLineBreaks(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '\r' && c != '\n' && static_cast<unsigned char>(c) != 141) out += c;
    return out;
}

std::string Shown(const formula::Value& v) {
    char buf[64];
    switch (v.type()) {
        case formula::Type::kString:
            return "\"" + v.str() + "\"";
        case formula::Type::kNumber:
            std::snprintf(buf, sizeof buf, "%.2f", v.number());
            return buf;
        case formula::Type::kDate:
            return v.julian() == 0 ? std::string("    -  -  ")
                                   : base::DateText(base::DateOfJulianDay(v.julian()));
        case formula::Type::kLogical:
            return v.logical() ? ".T." : ".F.";
        default:
            return "NIL";
    }
}

}  // namespace

bool AlgorithmRow::Empty(const std::string& field) const {
    auto it = texts.find(field);
    return it == texts.end() || base::IsBlank(it->second);
}

std::vector<std::unique_ptr<AlgorithmRow>> ReadAlgorithms(common::Runtime& rt,
                                                          common::Tables& tables,
                                                          const std::string& table) {
    std::vector<std::unique_ptr<AlgorithmRow>> out;
    if (tables.workspace().Find(table) == nullptr &&
        !base::Exists(base::FindNoCase(rt.data_dir(), table + ".DBF")))
        return out;
    dbf::WorkArea& a = table == "PKAWYNG" ? worktime::OpenOnce(tables, table)
                                          : worktime::OpenOnce(tables, table, {table + "1"});
    const dbf::KeepPosition keep(a);
    const auto& fields = a.table().fields();
    auto text = [&](const char* name) {
        const int f = a.FieldIndex(name);
        return f < 0 ? std::string() : a.record().GetString(f);
    };
    auto logical = [&](const char* name) {
        const int f = a.FieldIndex(name);
        return f >= 0 && a.record().GetLogical(f);
    };
    for (base::Status st = a.GoTop(); st.ok() && !a.eof(); st = a.Skip(1)) {
        if (a.deleted()) continue;
        auto row = std::make_unique<AlgorithmRow>();
        row->table = table;
        row->group = base::Padded(text("TYT_PODM_P"), 2);
        row->absence = base::Padded(base::AsciiUpper(text("KOD_NIEOB")), 4);
        row->substitute = base::Padded(base::AsciiUpper(text("ZAST_NIEOB")), 4);
        row->component = base::Padded(text("SKLADN_PL"), 4);
        row->code = base::Padded(text("KOD_WYNAGR"), 2);
        row->once_a_month = logical("RAZ_NA_MC");
        row->whole_month = logical("GENER_DNI");
        for (size_t f = 0; f < fields.size(); ++f) {
            if (fields[f].type != dbf::FieldType::kMemo) continue;
            std::string body;
            a.ReadMemo(static_cast<int>(f), &body);
            row->texts[fields[f].name] = WithoutLineBreaks(body);
        }
        out.push_back(std::move(row));
    }
    return out;
}

bool EvaluateFormula(TransferState& s, AlgorithmRow& row, const std::string& field,
                     formula::Value* value, std::string* message) {
    std::unique_ptr<formula::Program>& p = row.programs[field];
    formula::Error error;
    if (p == nullptr) {
        auto compiled = std::make_unique<formula::Program>();
        if (!s.host.engine().Compile(row.texts[field], compiled.get(), &error)) {
            *message = error.Message();
            return false;
        }
        p = std::move(compiled);
    }
    if (!s.host.engine().Evaluate(*p, value, &error)) {
        *message = error.Message();
        return false;
    }
    return true;
}

bool Condition(TransferState& s, AlgorithmRow& row, bool empty, bool* holds, std::string* message) {
    if (row.Empty("WARUNEK_")) {
        *holds = empty;
        return true;
    }
    formula::Value v;
    if (!EvaluateFormula(s, row, "WARUNEK_", &v, message)) return false;
    if (!v.IsLogical()) {
        *message = s.rt.Text("Błędny warunek ") + row.table;
        return false;
    }
    *holds = v.logical();
    return true;
}

bool FillFields(TransferState& s, AlgorithmRow& row, const std::vector<std::string>& fields,
                dbf::WorkArea& area, bool add, std::string* message) {
    dbf::Record& r = area.record();
    for (const std::string& name : fields) {
        const int f = area.FieldIndex(name);
        if (f < 0) continue;
        const dbf::Field& spec = area.table().fields()[static_cast<size_t>(f)];
        formula::Value v;
        const bool empty = row.Empty(name);
        // A function that reads the target table itself (SUMPODEMR reads
        // PKSKLAD) moves its area and back, which reads the claimed record
        // again as it is stored: the record being built is put back.
        const dbf::Record built = r;
        if (!empty && !EvaluateFormula(s, row, name, &v, message)) return false;
        r = built;
        bool ok = true;
        switch (spec.type) {
            case dbf::FieldType::kNumeric: {
                if (!empty && !v.IsNumber()) {
                    ok = false;
                    break;
                }
                double x = empty ? 0 : base::YRound(v.number(), spec.decimals);
                if (add) x = base::YRound(x + r.GetNumber(f), spec.decimals);
                ok = r.SetNumber(f, x).ok();
                break;
            }
            case dbf::FieldType::kLogical:
                ok = empty || v.IsLogical();
                if (ok) r.SetLogical(f, !empty && v.logical());
                break;
            case dbf::FieldType::kDate:
                ok = empty || v.IsDate();
                if (ok)
                    r.SetDate(f, empty || v.julian() == 0
                                     ? std::string()
                                     : base::DbfDateText(base::DateOfJulianDay(v.julian())));
                break;
            default:
                ok = empty || v.IsString();
                if (ok) r.SetString(f, empty ? std::string() : v.str());
        }
        if (!ok) {
            *message = s.rt.Text("Błąd: ") + name + "=" + Shown(v);
            return false;
        }
    }
    return true;
}

}  // namespace kestrel::insurance
