#include "worktime/data/computed_codes.h"

#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "platform/formula/number_format.h"
#include "worktime/data/open_once.h"

namespace kestrel::worktime {

using formula::Value;

WorkCodes::WorkCodes(common::Tables& tables) {
    dbf::WorkArea& rob = OpenOnce(tables, "PKROB", {"PKROB1", "PKROB2"});
    OrderBy(rob, "PKROB2");
    const int f_code = rob.FieldIndex("KOD_OB");
    const int f_name = rob.FieldIndex("NAZWA_");
    const int f_type = rob.FieldIndex("TYP_");
    for (base::Status s = rob.GoTop(); s.ok() && !rob.eof(); s = rob.Skip(1)) {
        WorkCode c;
        c.code = base::TrimRight(rob.record().GetString(f_code));
        c.name = rob.record().GetString(f_name);
        const std::string type = rob.record().GetString(f_type);
        c.type = base::AsciiUpper(type.empty() ? ' ' : type[0]);
        if (index_.count(c.code) > 0) continue;
        index_[c.code] = codes_.size();
        codes_.push_back(std::move(c));
    }
    OrderBy(rob, "PKROB1");
}

const WorkCode* WorkCodes::Find(std::string_view code) const {
    auto it = index_.find(base::TrimRight(code));
    return it == index_.end() ? nullptr : &codes_[it->second];
}

ComputedCodes::ComputedCodes(FormulaHost& host, common::Tables& tables)
    : rt_(host.rt()), host_(host), codes_(tables) {
    dbf::WorkArea& rob = OpenOnce(tables, "PKROB", {"PKROB1", "PKROB2"});
    OrderBy(rob, "PKROB1");
    const int f_formula = rob.FieldIndex("ALGORYTM_");
    for (WorkCode& c : codes_.all()) {
        c.slot = host_.Find(c.code);
        if (c.type != 'A') continue;
        Computed k;
        k.code = &c;
        std::string key = c.code;
        key.resize(kCodeWidth, ' ');
        std::string text;
        if (rob.Seek(key).ok() && rob.found()) rob.ReadMemo(f_formula, &text);
        k.compiled = host_.engine().Compile(text, &k.program, &k.error);
        computed_.push_back(std::move(k));
    }
}

std::string ComputedCodes::Run(TimeLines& lines, std::string_view number, std::string_view group) {
    host_.LoadEmployee(number, lines.month());
    std::vector<TimeLine> month_lines = lines.LinesOf(number);
    return RunLoaded(lines, number, group, &month_lines);
}

std::string ComputedCodes::RunLoaded(TimeLines& lines, std::string_view number,
                                     std::string_view group, std::vector<TimeLine>* month_lines) {
    host_.Reset();
    // The code of each line, looked up once.
    line_codes_.clear();
    for (const TimeLine& line : *month_lines) {
        const WorkCode* c = codes_.Find(line.code);
        line_codes_.push_back(c);
        if (c == nullptr || c->type == 'A' || c->slot < 0) continue;
        Value& v = host_.value(c->slot);
        v.SetNumber((v.IsNumber() ? v.number() : 0) + line.hours, 2);
    }
    for (Computed& k : computed_) {
        const std::string& code = k.code->code;
        if (!k.compiled) return k.error.Message();
        Value result;
        formula::Error error;
        if (!host_.engine().Evaluate(k.program, &result, &error)) return error.Message();
        if (!result.IsNumber()) return rt_.Text("Błędna wartość: ") + code;
        const double raw = result.number();
        if (raw < -99 || raw > 999)
            return rt_.Text("Błąd!  ") + code + "=" + base::Trim(formula::StrDefault(result));
        const double hours = base::YRound(raw, 2);
        if (k.code->slot >= 0) host_.value(k.code->slot).SetNumber(hours, 2);
        // A line that would not change is left as it is.
        int count = 0;
        bool same = false;
        for (size_t i = 0; i < line_codes_.size(); ++i) {
            if (line_codes_[i] != k.code) continue;
            const TimeLine& line = (*month_lines)[i];
            ++count;
            same = line.hours == hours && base::IsBlank(line.account);
        }
        if (hours == 0 ? count == 0 : (count == 1 && same)) continue;
        for (size_t i = line_codes_.size(); i-- > 0;) {
            if (line_codes_[i] != k.code) continue;
            month_lines->erase(month_lines->begin() + static_cast<std::ptrdiff_t>(i));
            line_codes_.erase(line_codes_.begin() + static_cast<std::ptrdiff_t>(i));
        }
        if (hours != 0) {
            const uint32_t recno = lines.Write(number, code, "", group, hours, true);
            month_lines->push_back({code, std::string(kAccountWidth, ' '), hours, recno});
            line_codes_.push_back(k.code);
        } else {
            lines.DeleteCode(number, code);
        }
    }
    return {};
}

}  // namespace kestrel::worktime
