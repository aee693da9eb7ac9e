#include "platform/dbf/formula_key.h"

#include "platform/dbf/formula_value.h"
#include "platform/dbf/record_host.h"

#include <cctype>
#include <memory>

#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/formula/date.h"

namespace kestrel::dbf {

namespace {

using formula::Value;

struct Compiled {
    explicit Compiled(const std::vector<Field>* fields) : host(*fields), rt(&host) {}
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
    if (base::IsBlank(text)) return Status::Ok();
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
