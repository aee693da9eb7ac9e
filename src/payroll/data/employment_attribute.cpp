// ZAPRSTR(naz, wrt): writes an extended attribute of the current employee
// (PKUPRC) from a formula.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "payroll/data/employment_support.h"
#include "platform/base/text.h"
#include "platform/formula/number_format.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll::employment {
namespace {

using formula::Call;
using formula::Value;

constexpr size_t kTextWidth = 40;  // TRESC_

struct Attribute {
    std::string key;  // nine characters, upper case
    char type = 'C';  // N, D, L or C (a dictionary code is text)
    int width = 0;
    int decimals = 0;
    bool repeating = false;
};

// Whether `v` has the attribute's type.
bool HasType(const Attribute& a, const Value& v) {
    switch (a.type) {
        case 'N':
            return v.IsNumber();
        case 'D':
            return v.IsDate();
        case 'L':
            return v.IsLogical();
        default:
            return v.IsString();
    }
}

// The stored text of `v`, "" for an empty value; false when the value does
// not fit the attribute (the field would show asterisks or cut the text).
bool StoredText(const Attribute& a, const Value& v, std::string* out) {
    out->clear();
    switch (a.type) {
        case 'N': {
            if (v.number() == 0) return true;
            const std::string s = formula::FormatNumber(v.number(), a.width, a.decimals);
            if (s.find('*') != std::string::npos || s.size() > kTextWidth) return false;
            *out = s;
            return true;
        }
        case 'D':
            if (v.julian() != 0) *out = base::DbfDateText(base::DateOfJulianDay(v.julian()));
            return true;
        case 'L':
            if (v.logical()) *out = "T";
            return true;
        default: {
            const std::string s = base::TrimRight(v.str());
            const size_t limit = a.width > 0 && static_cast<size_t>(a.width) < kTextWidth
                                     ? static_cast<size_t>(a.width)
                                     : kTextWidth;
            if (s.size() > limit) return false;
            *out = s;
            return true;
        }
    }
}

// Deleted records stay visible while the function looks for a row to recall.
class ShowDeleted {
  public:
    explicit ShowDeleted(dbf::WorkArea& a) : a_(a), hide_(a.hide_deleted()) {
        a.set_hide_deleted(false);
    }
    ~ShowDeleted() { a_.set_hide_deleted(hide_); }
    ShowDeleted(const ShowDeleted&) = delete;
    ShowDeleted& operator=(const ShowDeleted&) = delete;

  private:
    dbf::WorkArea& a_;
    bool hide_;
};

class Rows {
  public:
    Rows(PayrollHost& host, dbf::WorkArea& uprc, const Attribute& attr)
        : host_(host),
          a_(uprc),
          head_(host.employee() + attr.key),
          f_nr_(uprc.FieldIndex("NR_PRAC")),
          f_key_(uprc.FieldIndex("KLUCZ_")),
          f_lp_(uprc.FieldIndex("LP_")),
          f_text_(uprc.FieldIndex("TRESC_")) {}

    // Row `lp` takes `text`; an empty text deletes it.
    void Set(int lp, const std::string& text) {
        uint32_t live = 0, deleted = 0;
        char key[64];
        std::snprintf(key, sizeof key, "%s%2d", head_.c_str(), lp);
        for (base::Status s = a_.Seek(key); s.ok() && !a_.eof() && Head() && Lp() == lp;
             s = a_.Skip(1)) {
            if (!a_.deleted() && live == 0) live = a_.recno();
            if (a_.deleted() && deleted == 0) deleted = a_.recno();
        }
        if (text.empty()) {
            if (live != 0) Delete(live);
            return;
        }
        if (live != 0 || deleted != 0) {
            Check(a_.Goto(live != 0 ? live : deleted));
            host_.tables().RLock(a_);
            if (a_.deleted()) Check(a_.Recall());
        } else {
            host_.tables().Append(a_);
            Check(a_.record().SetString(f_nr_, host_.employee()));
            Check(a_.record().SetString(f_key_, head_.substr(6)));
            Check(a_.record().SetNumber(f_lp_, lp));
        }
        Check(a_.record().SetString(f_text_, text));
        Check(a_.Commit());
        a_.Unlock();
    }

    // Deletes the live rows after row `last`.
    void DeleteAfter(int last) {
        std::vector<uint32_t> beyond;
        for (base::Status s = a_.Seek(head_); s.ok() && !a_.eof() && Head(); s = a_.Skip(1))
            if (!a_.deleted() && Lp() > last) beyond.push_back(a_.recno());
        for (uint32_t recno : beyond) Delete(recno);
    }

  private:
    bool Head() const {
        const dbf::Record& r = a_.record();
        return std::string(r.Raw(f_nr_)) + base::Cp852Upper(r.Raw(f_key_)) == head_;
    }
    int Lp() const { return static_cast<int>(a_.record().GetNumber(f_lp_)); }
    void Delete(uint32_t recno) {
        Check(a_.Goto(recno));
        host_.tables().RLock(a_);
        Check(a_.Delete());
        a_.Unlock();
    }
    void Check(const base::Status& s) {
        if (!s.ok()) throw common::Abandon(host_.rt().Text("Błąd zapisu: ") + "PKUPRC");
    }

    PayrollHost& host_;
    dbf::WorkArea& a_;
    std::string head_;  // employee + key
    int f_nr_, f_key_, f_lp_, f_text_;
};

}  // namespace

bool WriteAttribute(PayrollHost& host, Call& c) {
    c.result = Value::Logical(false);
    if (!HasTable(host, "PKUMTR") || !HasTable(host, "PKUPRC") ||
        !host.rt().config().Logical("NAGLBLK"))
        return true;
    const Value& naz = c.Arg(0);
    const Value& wrt = c.Arg(1);
    if (!naz.IsString() || base::Trim(naz.str()).empty())
        return Fail(host, c, "Błędny argument 1 funkcji ZAPRSTR()");
    if (wrt.IsNil()) return Fail(host, c, "Błędny argument 2 funkcji ZAPRSTR()");
    Attribute attr;
    attr.key = base::Cp852Upper(base::Trim(naz.str()));
    attr.key.resize(9, ' ');
    AreasAsFound keep(host.tables().workspace());
    {
        dbf::WorkArea& umtr = keep.Touch(worktime::OpenOnce(host.tables(), "PKUMTR", {"PKUMTR2"}));
        worktime::OrderBy(umtr, "PKUMTR2");
        const dbf::Record& r = umtr.record();
        const bool found = umtr.Seek(attr.key).ok() && umtr.found() && !umtr.eof();
        const std::string type = found ? base::Trim(r.GetString(umtr.FieldIndex("TYP_"))) : "";
        if (type.empty() || type == "K" || type == "O")
            return Fail(host, c, "Błędna wart. arg. 1 funkcji ZAPRSTR()");
        attr.type = type[0] == 'S' ? 'C' : type[0];
        attr.width = static_cast<int>(r.GetNumber(umtr.FieldIndex("SZER_")));
        attr.decimals = static_cast<int>(r.GetNumber(umtr.FieldIndex("DEC_")));
        attr.repeating = r.GetLogical(umtr.FieldIndex("SUB_POLE"));
    }
    // Every value is checked before anything is written.
    std::vector<std::string> texts;
    const bool fits_shape = attr.repeating ? wrt.IsArray() : HasType(attr, wrt);
    if (!fits_shape) return Fail(host, c, "Błędna wart. arg. 2 funkcji ZAPRSTR()");
    const std::vector<Value> values =
        attr.repeating ? std::vector<Value>(wrt.items()) : std::vector<Value>{wrt};
    for (const Value& v : values) {
        std::string text;
        if (!HasType(attr, v) || !StoredText(attr, v, &text))
            return Fail(host, c, "Błędna wart. arg. 2 funkcji ZAPRSTR()");
        texts.push_back(text);
    }
    dbf::WorkArea& uprc = keep.Touch(worktime::OpenOnce(host.tables(), "PKUPRC", {"PKUPRC1"}));
    worktime::OrderBy(uprc, "PKUPRC1");
    const ShowDeleted show(uprc);
    Rows rows(host, uprc, attr);
    if (attr.repeating) {
        for (size_t i = 0; i < texts.size(); ++i) rows.Set(static_cast<int>(i) + 1, texts[i]);
        rows.DeleteAfter(static_cast<int>(texts.size()));
    } else {
        rows.Set(0, texts[0]);
    }
    c.result = Value::Logical(true);
    return true;
}

}  // namespace kestrel::payroll::employment
