#include "platform/dbf/formula_key.h"

#include "platform/dbf/formula_value.h"

#include <cctype>
#include <memory>

#include "platform/codepage/cp852.h"
#include "platform/formula/date.h"

namespace kestrel::dbf {

namespace {

using formula::Value;

// A table host over the one record being indexed.
class RecordHost : public formula::TableHost {
  public:
    explicit RecordHost(const std::vector<Field>* fields) : fields_(fields) {}
    void set_record(const Record* rec) { rec_ = rec; }

    bool ResolveField(std::string_view alias, std::string_view field, formula::FieldRef* ref,
                      bool* alias_open) override {
        *alias_open = alias.empty();
        if (!alias.empty()) return false;
        for (size_t i = 0; i < fields_->size(); ++i) {
            const std::string& name = (*fields_)[i].name;
            if (name.size() != field.size()) continue;
            bool same = true;
            for (size_t k = 0; k < name.size() && same; ++k) {
                same = std::toupper(static_cast<unsigned char>(field[k])) ==
                       static_cast<unsigned char>(name[k]);
            }
            if (same) {
                ref->area = 1;
                ref->field = static_cast<int>(i);
                return true;
            }
        }
        return false;
    }

    bool ReadField(const formula::FieldRef& ref, Value* out, formula::Error*) override {
        *out = FieldValue((*fields_)[ref.field], rec_, ref.field);
        return true;
    }

    bool Eof() override { return false; }
    bool Bof() override { return false; }
    int64_t RecNo() override { return 0; }
    int64_t RecCount() override { return 0; }
    bool Deleted() override { return rec_ && rec_->deleted(); }
    bool Found() override { return false; }
    int Select(std::string_view alias) override { return alias.empty() ? 1 : 0; }
    std::string Alias(int area) override { return area <= 1 ? "" : ""; }
    bool Seek(const Value&, bool, bool, bool*, formula::Error* error) override {
        *error = formula::Error::Host("no seek inside an index key");
        return false;
    }

  private:
    const std::vector<Field>* fields_;
    const Record* rec_ = nullptr;
};

struct Compiled {
    explicit Compiled(const std::vector<Field>* fields) : host(fields), rt(&host) {}
    RecordHost host;
    formula::Runtime rt;
    formula::Program program;
};

Status Compile(const std::vector<Field>* fields, std::string_view text, const RuntimeSetup& setup,
               std::shared_ptr<Compiled>* out) {
    auto c = std::make_shared<Compiled>(fields);
    if (setup) setup(c->rt);
    formula::Error error;
    if (!c->rt.Compile(text, &c->program, &error)) {
        return Status::InvalidArgument("\"" + codepage::ToUtf8(text) +
                                       "\": " + codepage::ToUtf8(error.Message()));
    }
    *out = std::move(c);
    return Status::Ok();
}


}  // namespace

Status CompileFormulaKey(const std::vector<Field>* fields, std::string_view text, KeyFunction* out,
                         const RuntimeSetup& setup) {
    std::shared_ptr<Compiled> c;
    Status s = Compile(fields, text, setup, &c);
    if (!s.ok()) return s;
    *out = [c](const Record& rec, std::string* key) {
        c->host.set_record(&rec);
        Value v;
        formula::Error error;
        if (c->rt.Evaluate(c->program, &v, &error)) AppendKeyText(v, key);
        c->host.set_record(nullptr);
    };
    return Status::Ok();
}

Status CompileFormulaCondition(const std::vector<Field>* fields, std::string_view text,
                               ForFunction* out, const RuntimeSetup& setup) {
    *out = nullptr;
    if (text.find_first_not_of(' ') == std::string_view::npos) return Status::Ok();
    std::shared_ptr<Compiled> c;
    Status s = Compile(fields, text, setup, &c);
    if (!s.ok()) return s;
    *out = [c](const Record& rec) {
        c->host.set_record(&rec);
        Value v;
        formula::Error error;
        bool ok = c->rt.Evaluate(c->program, &v, &error);
        c->host.set_record(nullptr);
        return ok && v.type() == formula::Type::kLogical && v.logical();
    };
    return Status::Ok();
}

}  // namespace kestrel::dbf
